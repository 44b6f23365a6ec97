#include "main/analysis/exam_order.h"

#include <algorithm>
#include <filesystem>
#include <map>

#include "common/gbk_order.h"
#include "common/ini_store.h"
#include "common/utf8.h"
#include "main/document/data_file.h"
#include "main/workspace/class_folder.h"

namespace scorvane {
namespace fs = std::filesystem;

std::string ExamOrderFile(const std::string& gradeFolder) {
    return gradeFolder + std::string(kExamOrderFileName);
}

std::vector<std::string> ReadExamOrder(const std::string& gradeFolder) {
    IniStore ini;
    if (gradeFolder.empty() || !ini.load(ExamOrderFile(gradeFolder))) {
        return {};
    }
    std::vector<std::string> names;
    for (auto& [key, name] : ini.entries(kExamOrderSection)) {
        if (!IsBlank(name) && std::find(names.begin(), names.end(), name) == names.end()) {
            names.push_back(std::move(name));
        }
    }
    return names;
}

bool WriteExamOrder(const std::string& gradeFolder, const std::vector<std::string>& names, FileState* written) {
    IniStore ini;
    ini.appendLine("; 本年级各次考试的先后顺序，成绩分析按此顺序列出考试");
    ini.appendSection(kExamOrderSection);
    for (size_t i = 0; i < names.size(); ++i) {
        ini.appendEntry(std::to_string(i + 1), names[i]);
    }
    return ini.save(ExamOrderFile(gradeFolder), written);
}

std::string GradeFolderOfClasses(const std::vector<GradeClass>& classes) {
    for (const GradeClass& c : classes) {
        if (!c.folder.empty()) {
            fs::path folder = fs::path(c.folder).lexically_normal();
            if (folder.filename().empty()) {
                folder = folder.parent_path();
            }
            return folder.parent_path().string() + "/";
        }
    }
    return {};
}

std::vector<std::string> GradeExamOrder(const std::vector<GradeClass>& classes, const std::string& gradeFolder) {
    // Each name with the oldest time of its files.
    std::map<std::string, fs::file_time_type> oldest;
    std::vector<std::string> names;
    for (const GradeClass& c : classes) {
        if (c.folder.empty()) {
            continue;
        }
        for (std::string& name : ListTables(c.folder)) {
            std::error_code ec;
            fs::file_time_type time = fs::last_write_time(DataFileOf(c.folder + name), ec);
            if (ec) {
                time = fs::file_time_type::max();
            }
            auto [at, added] = oldest.emplace(name, time);
            if (added) {
                names.push_back(std::move(name));
            } else {
                at->second = std::min(at->second, time);
            }
        }
    }
    // The tree's name order first, so that equal times keep it.
    std::vector<std::string> byName = names;
    std::stable_sort(byName.begin(), byName.end(), [](const std::string& a, const std::string& b) {
        return GbkOrderKey(ToLowerAscii(a)) < GbkOrderKey(ToLowerAscii(b));
    });
    std::stable_sort(byName.begin(), byName.end(),
                     [&oldest](const std::string& a, const std::string& b) { return oldest[a] < oldest[b]; });
    SortByExamOrder(byName, ReadExamOrder(gradeFolder));
    return byName;
}

std::vector<std::string> ClassExamOrder(const std::string& classFolder) {
    std::vector<std::string> own = ListTables(classFolder);
    const std::optional<GradeClass> self = ReadClassFolder(classFolder);
    if (!self) {
        return own;
    }
    std::vector<GradeClass> classes{*self};
    std::string gradeFolder;
    // A class of the data folder (表格数据/<school>/<grade>/<class>) is ordered as its grade; a folder
    // elsewhere by its own tables alone.
    const fs::path grade = fs::path(self->folder).parent_path().parent_path();
    if (grade.parent_path().parent_path().filename() == "表格数据") {
        gradeFolder = grade.string() + "/";
        if (const std::optional<GradeFolder> folder = ReadGradeFolder(gradeFolder)) {
            classes = folder->classes;
        }
        if (std::none_of(classes.begin(), classes.end(),
                         [&self](const GradeClass& c) { return c.name == self->name; })) {
            classes.push_back(*self);
        }
    }
    SortByExamOrder(own, GradeExamOrder(classes, gradeFolder));
    return own;
}

void SortByExamOrder(std::vector<std::string>& names, const std::vector<std::string>& order) {
    auto place = [&order](const std::string& name) {
        return static_cast<size_t>(std::find(order.begin(), order.end(), name) - order.begin());
    };
    std::stable_sort(names.begin(), names.end(),
                     [&place](const std::string& a, const std::string& b) { return place(a) < place(b); });
}

}  // namespace scorvane
