#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scorvane {

class IniStore;

// The school structure: one school, its grades in order, each grade with its classes in order. A
// grade's position (from 0) is its number in the school file.
struct GradeEntry {
    std::string name;
    std::vector<std::string> classes;
    bool operator==(const GradeEntry&) const = default;
};

struct SchoolInfo {
    std::string name;
    std::vector<GradeEntry> grades;
    bool operator==(const SchoolInfo&) const = default;
};

// The school file's name as it is written.
inline constexpr std::string_view kSchoolFileName = "SchoolInfo.ini";

// The school file in `folder` (which ends in "/"): whichever case variant of "SchoolInfo.ini" exists
// there, the exact name first; "" when there is none.
std::string FindSchoolFile(const std::string& folder);

// Reads the school structure from the school file's INI text. A missing key reads as "Default"; a
// count (Grade, Grade<i>Class) that is missing or not a whole number ends the reading there, keeping
// what was read so far (a grade whose class count ends the reading stays, without classes). A count
// larger than the file could hold is capped: the grades by the file's lines, a grade's classes by the
// keys its section holds (up to its largest "Class<j>", at most twice the keys present, at least one),
// so reading takes time and memory in proportion to the file.
SchoolInfo ReadSchoolInfo(const IniStore& ini);

// The school file of `folder`, read; nullopt when the folder has none.
std::optional<SchoolInfo> LoadSchoolInfo(const std::string& folder);

// The school file's text (UTF-8): the two comment lines, [School] with Name, Grade, Grade<i> and
// Grade<i>Class, then a [Grade<i>] section with Class<j> for every grade that has classes.
IniStore SchoolInfoIni(const SchoolInfo& school);

// Writes `folder` + "SchoolInfo.ini" atomically (GBK, CR LF) and then removes any other case variant
// of the name, so the folder holds exactly one school file. False when the file could not be written;
// the old file is then whole.
bool SaveSchoolInfo(const SchoolInfo& school, const std::string& folder);

}  // namespace scorvane
