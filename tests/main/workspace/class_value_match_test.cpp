#include "main/workspace/class_value_match.h"

#include <gtest/gtest.h>

namespace scorvane {
namespace {

using Kind = ClassValue::Kind;
const std::vector<std::string> kClasses = {"(1)班", "(2)班", "实验班", "(12)班"};

TEST(ClassValueMatch, EverySpellingOfAClassNumberNamesThatClassOfTheGrade) {
    struct Case {
        const char* value;
        Kind kind;
        int index;
    };
    const Case cases[] = {
        {"1班", Kind::Class, 0},
        {"(1)班", Kind::Class, 0},
        {"（1）班", Kind::Class, 0},
        {"高一(1)班", Kind::Class, 0},
        {"高一1班", Kind::Class, 0},
        {"01", Kind::Class, 0},
        {"1", Kind::Class, 0},
        {" 2 ", Kind::Class, 1},
        {"\xE3\x80\x80高一（２）班", Kind::Class, 1},
        {"高一年级12班", Kind::Class, 3},
        {"高一 (12)", Kind::Class, 3},
        {"实验班", Kind::Class, 2},
        {"高一实验班", Kind::Class, 2},
        // Another grade's class, and values that are no class of it.
        {"高二(1)班", Kind::Foreign, -1},
        {"高二1班", Kind::Foreign, -1},
        {"(1班", Kind::Foreign, -1},
        {"1)班", Kind::Foreign, -1},
        {"一班", Kind::Foreign, -1},
        {"0", Kind::Foreign, -1},
        {"1班长", Kind::Foreign, -1},
        {"高一(1)（班", Kind::Foreign, -1},
        {"", Kind::Empty, -1},
        {"  ", Kind::Empty, -1},
    };
    for (const Case& c : cases) {
        const ClassValue match = MatchClassValue(c.value, "高一", kClasses);
        EXPECT_EQ(match.kind, c.kind) << c.value;
        EXPECT_EQ(match.index, c.index) << c.value;
    }
}

TEST(ClassValueMatch, ANumberTheGradeLacksIsANewClassWrittenAsItsClassesAre) {
    const ClassValue match = MatchClassValue("高一(13)班", "高一", kClasses);
    EXPECT_EQ(match.kind, Kind::NewClass);
    EXPECT_EQ(match.number, 13);
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {kClasses, "(13)班"}, {{"实验班", "1班"}, "13班"}, {{"高一（01）班"}, "高一（13）班"},
        {{"01班"}, "13班"},   {{"001班"}, "013班"},        {{"实验班"}, "(13)班"},
        {{}, "(13)班"},
    };
    for (const auto& [classes, name] : cases) {
        EXPECT_EQ(NewClassName(13, "高一", classes), name);
    }
    EXPECT_EQ(NewClassName(3, "高一", {"01班"}), "03班");
}

TEST(ClassValueMatch, TheNumberOfAClassValue) {
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"(1)班", 1},
        {"高一(7)", 7},
        {"高一年级 (7)班", 7},
        {"0012", 12},
        {"9班", 9},
        {"高一（19）班", 19},
        {"高一", std::nullopt},
        {"(1)", 1},
        {"（1)班", std::nullopt},
        {"99999", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [value, number] : cases) {
        EXPECT_EQ(ClassNumberOf(value, "高一"), number) << value;
    }
    // Without a grade's name nothing is taken as one; a grade named 高一年级 is also written 高一.
    EXPECT_EQ(ClassNumberOf("高一1班", ""), std::nullopt);
    for (const char* value : {"高一1班", "高一年级1班", "1班"}) {
        EXPECT_EQ(ClassNumberOf(value, "高一年级"), 1) << value;
    }
    EXPECT_EQ(ClassNumberOf("高二1班", "高一年级"), std::nullopt);
}

}  // namespace
}  // namespace scorvane
