#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "main/workspace/school_info.h"

namespace scorvane {

// The pictures of the tree's nodes.
enum class SchoolNodeImage { School = 1, Grade = 2, Class = 3 };

// One node of the school tree as the main window shows it.
struct SchoolNode {
    std::string key;        // "School1", "Grade<i>", "Grade<i>Class<j>"
    std::string parentKey;  // "" for the school node
    std::string text;       // the school's, grade's or class's name
    SchoolNodeImage image = SchoolNodeImage::School;
    std::string fullPath;  // school, grade and class names joined by "/", as far as the node goes
    bool operator==(const SchoolNode&) const = default;
};

// The tree's nodes in the order they are added (a parent before its children, grades and classes in
// file order) and whether the tree is usable at all.
struct SchoolTree {
    bool enabled = false;
    std::vector<SchoolNode> nodes;

    // The node with that key, or nullptr.
    const SchoolNode* find(std::string_view key) const;
};

// A node is a class node exactly when its key contains "Class".
bool IsClassNodeKey(std::string_view key);

// The tree's nodes for a school structure (enabled).
SchoolTree BuildSchoolTree(const SchoolInfo& school);

// Builds the tree from the school file of the workspace folder (AddDot). Without a school file the
// tree has no nodes and is disabled.
SchoolTree AddDot();
// The same for any folder ending in "/".
SchoolTree AddDot(const std::string& folder);

}  // namespace scorvane
