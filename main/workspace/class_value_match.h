#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scorvane {

// How a value written in a 班级 column (a marking system's export, a teachers' list) names one of a
// grade's classes. Values are read by the class's number: "1班", "(1)班", "（1）班", "高一(1)班",
// "高一1班", "高一年级1班", "01" and "1" all name the class "(1)班" of 高一 (or of a grade named
// 高一年级), as they do a class "1班" or "高一(1)班" of that grade. A value that begins with another
// grade's name ("高二(1)班") names no class of 高一. A class without a number ("实验班") is named by its
// own name only, with or without the grade's name before it. Blanks around the value and full-width
// digits are allowed.

// The number a class value (or a class's name) gives within `grade`: the grade's name (optionally
// followed by "年级") may come first, then the number, bare or in brackets (half or full width), then
// "班" or nothing. Nothing when the value is not of that form.
std::optional<int> ClassNumberOf(std::string_view value, std::string_view grade);

// What a value names among the grade's classes.
struct ClassValue {
    enum class Kind {
        Class,     // `index` is the class's place in `classes`
        NewClass,  // a class of the grade by its number (`number`) that the grade does not have
        Foreign,   // no class of this grade (another grade's, or no class value at all)
        Empty,     // nothing written
    };
    Kind kind = Kind::Empty;
    int index = -1;
    int number = 0;
};

// Exact names first (the class's name, or the grade's name followed by it), then the number (the first
// class of that number, in order).
ClassValue MatchClassValue(std::string_view value, std::string_view grade,
                           const std::vector<std::string>& classes);

// The name a new class of the grade takes, written as the grade's classes are: its first class that
// has a number, with that number replaced ("(1)班" gives "(13)班", "1班" gives "13班"); "(N)班" when
// no class has one.
std::string NewClassName(int number, std::string_view grade, const std::vector<std::string>& classes);

}  // namespace scorvane
