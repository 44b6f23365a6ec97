#include "main/analysis/grade_tables.h"

#include <algorithm>
#include <filesystem>

#include "common/file_io.h"
#include "common/gbk_order.h"
#include "common/utf8.h"
#include "main/document/data_file.h"
#include "main/workspace/class_folder.h"
#include "main/workspace/school_info.h"
#include "main/workspace/school_tree.h"

namespace scorvane {
namespace fs = std::filesystem;
namespace {

// Names in the order the class folders list tables: GBK order, Latin letters without regard to case.
void sortNames(std::vector<std::string>& names) {
    std::vector<std::pair<std::string, std::string>> keyed;
    for (std::string& name : names) {
        keyed.emplace_back(GbkOrderKey(ToLowerAscii(name)), std::move(name));
    }
    std::sort(keyed.begin(), keyed.end());
    names.clear();
    for (auto& [key, name] : keyed) {
        names.push_back(std::move(name));
    }
}

std::optional<std::vector<std::string>> classesInSchoolFile(const fs::path& grade) {
    const fs::path school = grade.parent_path();
    const fs::path data = school.parent_path();
    if (data.filename() != "表格数据") {
        return std::nullopt;
    }
    const std::optional<SchoolInfo> info = LoadSchoolInfo(data.parent_path().string() + "/");
    if (!info || info->name != school.filename().string()) {
        return std::nullopt;
    }
    for (const GradeEntry& entry : info->grades) {
        if (entry.name == grade.filename().string()) {
            return entry.classes;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<GradeFolder> ReadGradeFolder(const std::string& folder) {
    if (!DirectoryExists(folder)) {
        return std::nullopt;
    }
    std::error_code ec;
    fs::path grade = fs::absolute(fs::path(folder), ec).lexically_normal();
    if (grade.filename().empty()) {
        grade = grade.parent_path();
    }
    GradeFolder out;
    out.grade = grade.filename().string();
    std::optional<std::vector<std::string>> names = classesInSchoolFile(grade);
    if (!names) {
        names.emplace();
        for (fs::directory_iterator it(grade, ec), end; !ec && it != end; it.increment(ec)) {
            if (it->is_directory(ec)) {
                names->push_back(it->path().filename().string());
            }
        }
        sortNames(*names);
    }
    for (const std::string& name : *names) {
        out.classes.push_back({name, (grade / name).string() + "/"});
    }
    return out;
}

std::vector<GradeClass> GradeClassesOf(const SchoolTree& tree, const SchoolNode& grade) {
    std::vector<GradeClass> classes;
    for (const SchoolNode& node : tree.nodes) {
        if (node.parentKey == grade.key && IsClassNodeKey(node.key)) {
            classes.push_back({node.text, ClassFolder(node.fullPath)});
        }
    }
    return classes;
}

std::vector<std::string> GradeTableNames(const std::vector<GradeClass>& classes) {
    std::vector<std::string> names;
    for (const GradeClass& c : classes) {
        if (c.folder.empty()) {
            continue;
        }
        for (std::string& name : ListTables(c.folder)) {
            if (std::find(names.begin(), names.end(), name) == names.end()) {
                names.push_back(std::move(name));
            }
        }
    }
    sortNames(names);
    return names;
}

std::vector<ClassTable> LoadClassTables(const std::vector<GradeClass>& classes, std::string_view tableName) {
    std::vector<ClassTable> out;
    for (const GradeClass& c : classes) {
        ClassTable entry{c.name, std::nullopt, false};
        const std::string file =
            c.folder.empty() ? std::string() : DataFileOf(c.folder + std::string(tableName));
        if (!file.empty() && FileExists(file)) {
            GradeTable table;
            const std::optional<std::string> bytes = ReadWholeFile(file);
            if (bytes && ParseDataFile(*bytes, table)) {
                entry.table = std::move(table);
            } else {
                entry.unreadable = true;
            }
        }
        out.push_back(std::move(entry));
    }
    return out;
}

}  // namespace scorvane
