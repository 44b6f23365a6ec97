#include <gtest/gtest.h>

#include "common/file_io.h"
#include "main/document/data_file.h"
#include "main/document/field_template.h"
#include "main/workspace/class_folder.h"
#include "main/workspace/school_tree.h"
#include "main/workspace/workspace_folder.h"

namespace scorvane {
namespace {

// The sample school shipped in examples/ must read with the system's own readers.
class SampleSchoolTest : public ::testing::Test {
  protected:
    SampleSchoolTest() : saved_(ProgramFolder()) { SetProgramFolder(SCORVANE_SOURCE_DIR "/examples"); }
    ~SampleSchoolTest() override { SetProgramFolder(saved_); }

  private:
    std::string saved_;
};

TEST_F(SampleSchoolTest, TheTreeHasTwoGradesAndThreeClasses) {
    SchoolTree tree = AddDot();
    ASSERT_TRUE(tree.enabled);
    int grades = 0;
    std::vector<std::string> classes;
    for (const SchoolNode& node : tree.nodes) {
        grades += node.image == SchoolNodeImage::Grade;
        if (IsClassNodeKey(node.key)) {
            classes.push_back(node.fullPath);
        }
    }
    EXPECT_EQ(grades, 2);
    EXPECT_EQ(classes, (std::vector<std::string>{"星河实验中学/高一/(1)班", "星河实验中学/高一/(2)班",
                                                 "星河实验中学/高二/(1)班"}));
}

TEST_F(SampleSchoolTest, TheFirstClassHoldsThreeTablesOf45StudentsWithFormulas) {
    std::vector<std::string> tables = ListTables(ClassFolder("星河实验中学/高一/(1)班"));
    ASSERT_EQ(tables, (std::vector<std::string>{"期中考试", "期末考试", "第一次月考"}));
    for (const std::string& name : tables) {
        std::optional<std::string> bytes =
            ReadWholeFile(ClassTablePath("星河实验中学/高一/(1)班", name) + ".skv");
        ASSERT_TRUE(bytes.has_value()) << name;
        GradeTable table;
        ASSERT_TRUE(ParseDataFile(*bytes, table)) << name;
        EXPECT_EQ(table.rows(), 46);
        EXPECT_EQ(table.fieldTitles(), (std::vector<std::string>{"姓名", "学号", "语文", "数学", "英语",
                                                                 "物理", "化学", "总分", "平均", "名次"}));
        EXPECT_EQ(table.cell(45, 8), "！公式：cell(?,3)+cell(?,4)+cell(?,5)+cell(?,6)+cell(?,7)");
        EXPECT_TRUE(table.cell(1, 9).starts_with("！公式：("));
    }
}

TEST_F(SampleSchoolTest, TheFieldTemplateMatchesTheTables) {
    std::vector<std::string> templates = ListFieldTemplates(TemplateFolder());
    ASSERT_EQ(templates, std::vector<std::string>{"考试成绩.templet"});
    std::optional<FieldTemplate> fields = ReadFieldTemplate(TemplateFolder() + templates[0]);
    ASSERT_TRUE(fields.has_value());
    EXPECT_EQ(fields->columnCount(), 11);
    EXPECT_EQ(fields->titles.back(), "名次");
}

}  // namespace
}  // namespace scorvane
