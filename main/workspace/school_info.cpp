#include "main/workspace/school_info.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <system_error>

#include "common/file_io.h"
#include "common/ini_store.h"
#include "common/utf8.h"
#include "main/workspace/utilities.h"

namespace scorvane {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kCommentLine1 = ";KVL'S Scorvane 学校信息文档。由 Scorvane 班级编制生成。";
constexpr std::string_view kCommentLine2 = ";请使用“新建/编辑学校关系树”编辑本文件，手工修改前请先备份。";

// The case variants of the school file in the folder, the exact name first.
std::vector<std::string> schoolFileVariants(const std::string& folder) {
    std::vector<std::string> found;
    std::error_code ec;
    fs::directory_iterator it(fs::path(folder), ec);
    if (ec) {
        return found;
    }
    for (const auto& entry : it) {
        std::string name = entry.path().filename().string();
        if (EqualsIgnoreCaseAscii(name, kSchoolFileName) && entry.is_regular_file(ec)) {
            found.push_back(name);
        }
    }
    std::sort(found.begin(), found.end(), [](const std::string& a, const std::string& b) {
        bool aExact = a == kSchoolFileName;
        bool bExact = b == kSchoolFileName;
        return aExact != bExact ? aExact : a < b;
    });
    return found;
}

// A highest index as the system reads it: a whole number (blanks around it allowed). One beyond what
// the file could hold is taken as the most it could hold (`limit`): a damaged count neither makes the
// reader produce millions of entries nor drops the grades and classes the file does hold.
bool readCount(const IniStore& ini, std::string_view section, std::string_view key, long long limit,
               long long& count) {
    std::optional<std::string> text = ini.value(section, key);
    if (!text || !ParseWholeNumber(TrimBlanks(*text), std::numeric_limits<long long>::min(),
                                   std::numeric_limits<long long>::max(), count)) {
        return false;
    }
    count = std::min(count, limit);
    return true;
}

// The highest class index worth reading for a grade, whatever its count claims: no key beyond the
// largest "Class<j>" that the grade's section holds, and no more classes than twice the keys it
// holds (those present and as many missing ones, which read "Default"), but always one, as a grade
// whose section is missing has always shown one "Default" class. So the classes read from a file stay
// in proportion to its size, however many classes each grade claims.
long long highestClassToRead(const IniStore& ini, std::string_view section) {
    long long largest = -1;
    long long present = 0;
    for (const auto& [key, value] : ini.entries(section)) {
        long long j = 0;
        if (key.size() > 5 && EqualsIgnoreCaseAscii(std::string_view(key).substr(0, 5), "Class") &&
            ParseWholeNumber(std::string_view(key).substr(5), 0, 32766, j)) {
            largest = std::max(largest, j);
            ++present;
        }
    }
    return std::max(0LL, std::min(largest, 2 * present - 1));
}

}  // namespace

std::string FindSchoolFile(const std::string& folder) {
    std::vector<std::string> variants = schoolFileVariants(folder);
    return variants.empty() ? std::string() : folder + variants.front();
}

SchoolInfo ReadSchoolInfo(const IniStore& ini) {
    SchoolInfo school;
    school.name = ReadIniValue(ini, "School", "Name");
    // Every grade needs lines of its own, so no grade count can exceed the lines. (A grade count is
    // also never trusted past the grades whose class counts are present: a missing one ends the reading.)
    const long long lines = static_cast<long long>(ini.lineCount());
    long long highestGrade = 0;
    if (!readCount(ini, "School", "Grade", std::min<long long>(32767, lines), highestGrade)) {
        return school;
    }
    for (long long i = 0; i <= highestGrade; ++i) {
        const std::string gradeKey = "Grade" + std::to_string(i);
        GradeEntry& grade = school.grades.emplace_back();
        grade.name = ReadIniValue(ini, "School", gradeKey);
        long long highestClass = 0;
        if (!readCount(ini, "School", gradeKey + "Class", highestClassToRead(ini, gradeKey), highestClass)) {
            return school;
        }
        for (long long j = 0; j <= highestClass; ++j) {
            grade.classes.push_back(ReadIniValue(ini, gradeKey, "Class" + std::to_string(j)));
        }
    }
    return school;
}

std::optional<SchoolInfo> LoadSchoolInfo(const std::string& folder) {
    std::string path = FindSchoolFile(folder);
    IniStore ini;
    if (path.empty() || !ini.load(path)) {
        return std::nullopt;
    }
    return ReadSchoolInfo(ini);
}

IniStore SchoolInfoIni(const SchoolInfo& school) {
    IniStore ini;
    ini.appendLine(kCommentLine1);
    ini.appendLine(kCommentLine2);
    ini.appendSection("School");
    ini.appendEntry("Name", school.name);
    ini.appendEntry("Grade", std::to_string(static_cast<long long>(school.grades.size()) - 1));
    for (size_t i = 0; i < school.grades.size(); ++i) {
        const GradeEntry& grade = school.grades[i];
        const std::string gradeKey = "Grade" + std::to_string(i);
        ini.appendEntry(gradeKey, grade.name);
        ini.appendEntry(gradeKey + "Class", std::to_string(static_cast<long long>(grade.classes.size()) - 1));
    }
    for (size_t i = 0; i < school.grades.size(); ++i) {
        const GradeEntry& grade = school.grades[i];
        if (grade.classes.empty()) {
            continue;
        }
        ini.appendSection("Grade" + std::to_string(i));
        for (size_t j = 0; j < grade.classes.size(); ++j) {
            ini.appendEntry("Class" + std::to_string(j), grade.classes[j]);
        }
    }
    return ini;
}

bool SaveSchoolInfo(const SchoolInfo& school, const std::string& folder) {
    const std::string target = folder + std::string(kSchoolFileName);
    if (!SchoolInfoIni(school).save(target)) {
        return false;
    }
    for (const std::string& variant : schoolFileVariants(folder)) {
        std::error_code ec;
        // On a file system that ignores case the variant is the file just written.
        if (variant != kSchoolFileName && !fs::equivalent(fs::path(folder + variant), fs::path(target), ec)) {
            RemoveFile(folder + variant);
        }
    }
    return true;
}

}  // namespace scorvane
