#include "main/workspace/school_tree.h"

#include <optional>

#include "main/workspace/workspace_folder.h"

namespace scorvane {

const SchoolNode* SchoolTree::find(std::string_view key) const {
    for (const SchoolNode& node : nodes) {
        if (node.key == key) {
            return &node;
        }
    }
    return nullptr;
}

bool IsClassNodeKey(std::string_view key) {
    return key.find("Class") != std::string_view::npos;
}

SchoolTree BuildSchoolTree(const SchoolInfo& school) {
    SchoolTree tree;
    tree.enabled = true;
    size_t count = 1;
    for (const GradeEntry& grade : school.grades) {
        count += 1 + grade.classes.size();
    }
    tree.nodes.reserve(count);
    tree.nodes.push_back({"School1", "", school.name, SchoolNodeImage::School, school.name});
    for (size_t i = 0; i < school.grades.size(); ++i) {
        const GradeEntry& grade = school.grades[i];
        const std::string gradeKey = "Grade" + std::to_string(i);
        const std::string gradePath = school.name + "/" + grade.name;
        tree.nodes.push_back({gradeKey, "School1", grade.name, SchoolNodeImage::Grade, gradePath});
        for (size_t j = 0; j < grade.classes.size(); ++j) {
            const std::string& name = grade.classes[j];
            tree.nodes.push_back({gradeKey + "Class" + std::to_string(j), gradeKey, name,
                                  SchoolNodeImage::Class, gradePath + "/" + name});
        }
    }
    return tree;
}

SchoolTree AddDot() {
    return AddDot(ProgramFolder());
}

SchoolTree AddDot(const std::string& folder) {
    std::optional<SchoolInfo> school = LoadSchoolInfo(folder);
    if (!school) {
        return SchoolTree();
    }
    return BuildSchoolTree(*school);
}

}  // namespace scorvane
