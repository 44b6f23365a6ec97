#include "main/analysis/grade_tables.h"

#include <algorithm>
#include <filesystem>

#include "common/file_io.h"
#include "common/gbk_order.h"
#include "common/utf8.h"
#include "main/analysis/exam_order.h"
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

// The folder as an absolute path without a trailing separator.
fs::path normalFolder(const std::string& folder) {
    std::error_code ec;
    fs::path path = fs::absolute(fs::path(folder), ec).lexically_normal();
    return path.filename().empty() ? path.parent_path() : path;
}

}  // namespace

std::optional<GradeClass> ReadClassFolder(const std::string& folder) {
    if (!DirectoryExists(folder)) {
        return std::nullopt;
    }
    const fs::path path = normalFolder(folder);
    return GradeClass{path.filename().string(), path.string() + "/"};
}

std::optional<GradeFolder> ReadGradeFolder(const std::string& folder) {
    if (!DirectoryExists(folder)) {
        return std::nullopt;
    }
    std::error_code ec;
    const fs::path grade = normalFolder(folder);
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

namespace {

// Every table name the classes hold with the number of classes holding it, in name order.
std::vector<GradeTableCount> tableCounts(const std::vector<GradeClass>& classes) {
    std::vector<std::string> names;
    std::vector<int> counts;
    for (const GradeClass& c : classes) {
        if (c.folder.empty()) {
            continue;
        }
        for (std::string& name : ListTables(c.folder)) {
            const auto at = std::find(names.begin(), names.end(), name);
            if (at == names.end()) {
                names.push_back(std::move(name));
                counts.push_back(1);
            } else {
                ++counts[static_cast<size_t>(at - names.begin())];
            }
        }
    }
    std::vector<std::string> sorted = names;
    sortNames(sorted);
    std::vector<GradeTableCount> out;
    for (std::string& name : sorted) {
        const auto at = std::find(names.begin(), names.end(), name);
        out.push_back({std::move(name), counts[static_cast<size_t>(at - names.begin())]});
    }
    return out;
}

}  // namespace

std::vector<std::string> GradeTableNames(const std::vector<GradeClass>& classes) {
    std::vector<std::string> names;
    for (GradeTableCount& entry : tableCounts(classes)) {
        names.push_back(std::move(entry.name));
    }
    return names;
}

std::vector<GradeTableCount> GradeTablesByClassCount(const std::vector<GradeClass>& classes) {
    std::vector<GradeTableCount> out = tableCounts(classes);
    const std::vector<std::string> order = GradeExamOrder(classes, GradeFolderOfClasses(classes));
    auto place = [&order](const GradeTableCount& entry) {
        return std::find(order.begin(), order.end(), entry.name) - order.begin();
    };
    std::stable_sort(out.begin(), out.end(), [&place](const GradeTableCount& a, const GradeTableCount& b) {
        return a.classes != b.classes ? a.classes > b.classes : place(a) > place(b);
    });
    return out;
}

std::string GradeTableCountText(const GradeTableCount& entry) {
    return entry.name + "（" + std::to_string(entry.classes) + " 个班）";
}

std::optional<GradeTable> ReadTableInFolder(const std::string& folder, std::string_view name,
                                            bool& unreadable) {
    unreadable = false;
    const std::string file = folder.empty() ? std::string() : DataFileOf(folder + std::string(name));
    if (file.empty() || !FileExists(file)) {
        return std::nullopt;
    }
    GradeTable table;
    const std::optional<std::string> bytes = ReadWholeFile(file);
    if (bytes && ParseDataFile(*bytes, table)) {
        return table;
    }
    unreadable = true;
    return std::nullopt;
}

std::vector<ClassTable> LoadClassTables(const std::vector<GradeClass>& classes, std::string_view tableName) {
    std::vector<ClassTable> out;
    for (const GradeClass& c : classes) {
        ClassTable entry{c.name, std::nullopt, false};
        entry.table = ReadTableInFolder(c.folder, tableName, entry.unreadable);
        out.push_back(std::move(entry));
    }
    return out;
}

std::string ClassOfTableFile(const std::string& path) {
    if (path.empty()) {
        return {};
    }
    std::error_code ec;
    const fs::path file = fs::absolute(fs::path(path), ec).lexically_normal();
    const fs::path classFolder = file.parent_path();
    const fs::path data = classFolder.parent_path().parent_path().parent_path();
    if (ec || data.filename() != "表格数据" || classFolder.filename().empty()) {
        return {};
    }
    return classFolder.filename().string();
}

}  // namespace scorvane
