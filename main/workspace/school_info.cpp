#include "main/workspace/school_info.h"

#include <algorithm>
#include <filesystem>
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

// A count as the system reads it: a whole number (blanks around it allowed). Counts beyond what the
// file could hold are refused, so a damaged count cannot make the reader produce millions of entries.
bool readCount(const IniStore& ini, std::string_view section, std::string_view key, long long limit,
               long long& count) {
    std::optional<std::string> text = ini.value(section, key);
    return text && ParseWholeNumber(TrimBlanks(*text), -32768, limit, count);
}

}  // namespace

std::string FindSchoolFile(const std::string& folder) {
    std::vector<std::string> variants = schoolFileVariants(folder);
    return variants.empty() ? std::string() : folder + variants.front();
}

SchoolInfo ReadSchoolInfo(const IniStore& ini) {
    SchoolInfo school;
    school.name = ReadIniValue(ini, "School", "Name");
    // Every grade and class needs at least one line of its own, so no count can exceed the lines.
    const std::string text = ini.text();
    const long long limit = std::min<long long>(32767, std::count(text.begin(), text.end(), '\n'));
    long long highestGrade = 0;
    if (!readCount(ini, "School", "Grade", limit, highestGrade)) {
        return school;
    }
    for (long long i = 0; i <= highestGrade; ++i) {
        const std::string gradeKey = "Grade" + std::to_string(i);
        GradeEntry& grade = school.grades.emplace_back();
        grade.name = ReadIniValue(ini, "School", gradeKey);
        long long highestClass = 0;
        if (!readCount(ini, "School", gradeKey + "Class", limit, highestClass)) {
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
    ini.setValue("School", "Name", school.name);
    ini.setValue("School", "Grade", std::to_string(static_cast<long long>(school.grades.size()) - 1));
    for (size_t i = 0; i < school.grades.size(); ++i) {
        const GradeEntry& grade = school.grades[i];
        const std::string gradeKey = "Grade" + std::to_string(i);
        ini.setValue("School", gradeKey, grade.name);
        ini.setValue("School", gradeKey + "Class",
                     std::to_string(static_cast<long long>(grade.classes.size()) - 1));
    }
    for (size_t i = 0; i < school.grades.size(); ++i) {
        const GradeEntry& grade = school.grades[i];
        const std::string gradeKey = "Grade" + std::to_string(i);
        for (size_t j = 0; j < grade.classes.size(); ++j) {
            ini.setValue(gradeKey, "Class" + std::to_string(j), grade.classes[j]);
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
