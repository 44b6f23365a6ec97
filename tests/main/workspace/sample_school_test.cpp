#include <gtest/gtest.h>

#include "common/file_io.h"
#include "main/document/data_file.h"
#include "main/document/field_template.h"
#include "main/workspace/class_folder.h"
#include "main/workspace/school_tree.h"
#include "main/workspace/workspace_folder.h"
#include "support/scoped_program_folder.h"

namespace scorvane {
namespace {

// The sample school in examples/ must read with the system's own readers.
TEST(SampleSchoolTest, ThreeClassesTheFirstWithThreeTablesOf45StudentsAndATemplate) {
    testing::ScopedProgramFolder workspace(SCORVANE_SOURCE_DIR "/examples");
    std::vector<std::string> classes;
    for (const SchoolNode& node : AddDot().nodes) {
        if (IsClassNodeKey(node.key)) {
            classes.push_back(node.fullPath);
        }
    }
    EXPECT_EQ(classes, (std::vector<std::string>{"星河实验中学/高一/(1)班", "星河实验中学/高一/(2)班",
                                                 "星河实验中学/高二/(1)班"}));
    std::vector<std::string> tables = ListTables(ClassFolder(classes[0]));
    EXPECT_EQ(tables.size(), 3u);
    for (const std::string& name : tables) {
        GradeTable table;
        ASSERT_TRUE(
            ParseDataFile(ReadWholeFile(ClassTablePath(classes[0], name) + ".skv").value_or(""), table));
        EXPECT_EQ(table.rows(), 46);
        EXPECT_EQ(table.cell(45, 8), "！公式：cell(?,3)+cell(?,4)+cell(?,5)+cell(?,6)+cell(?,7)");
        EXPECT_EQ(table.cell(0, 10), "名次");
    }
    std::optional<FieldTemplate> fields = ReadFieldTemplate(TemplateFolder() + "考试成绩.templet");
    ASSERT_TRUE(fields.has_value());
    EXPECT_EQ(fields->titles.size(), 10u);
}

}  // namespace
}  // namespace scorvane
