#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/file_lock.h"
#include "common/file_state.h"
#include "common/prompter.h"
#include "common/status_sink.h"
#include "main/analysis/grade_tables.h"
#include "main/workbook/grade_source.h"
#include "main/workspace/class_value_match.h"

namespace scorvane {

struct FieldTemplate;

// 导入全年级成绩: the whole grade's marks (a GradeSource) put into a new table of each class. The rows
// go to the classes their class column names (MatchClassValue), in the file's order; each class's
// table holds the file's columns but the class column, in order, titled "<class><table name>", with
// the formula fields of a field template added when asked (SplitLayout). Nothing is written before the
// teacher has answered, once for all, what becomes of the classes that already hold a table of that
// name; a table that a program has open (a live lock file) is never written over; every table is
// written whole (through a temporary file), each only when it is on disk as it was when the teacher
// chose.

// The grade the tables go to.
struct SplitGrade {
    std::string grade;   // its name
    std::string folder;  // its folder, ending in "/"
    std::vector<GradeClass> classes;
    // Where the school file lists the grade: the workspace folder (ending in "/") and the school's name,
    // with the file's state taken before it was read; empty when no school file lists it (its classes
    // are then its folder's sub-folders).
    std::string workspace;
    std::string school;
    FileState schoolState;
};
// The grade of a folder under the data folder (表格数据/<school>/<grade>), read as ReadGradeFolder reads
// it; nothing when the folder does not exist.
std::optional<SplitGrade> ReadSplitGrade(const std::string& gradeFolder);

// The field titles a class column is chosen by at first, in this order.
inline constexpr std::string_view kClassColumnTitles[] = {"班级", "班别", "班"};
// The class column chosen at first: the first field titled 班级, else 班别, else 班 (blanks in the title
// do not count); -1 when there is none.
int DefaultClassColumn(const GradeTable& source);

// A class of the grade with its students: the source's rows (from 1), in the source's order.
struct SplitClass {
    std::string name;
    std::string folder;  // ending in "/"
    std::vector<int> rows;
    bool added = false;  // a class the grade does not have yet, to be added to the school tree
};

// Rows whose class value names no class of the grade, grouped: a class of the grade by its number that the
// grade lacks (`newClass` is the name it would take), or a value that names no class of it (`newClass`
// empty). `value` is the first row's value as written.
struct UnmatchedRows {
    std::string value;
    std::vector<int> lines;  // the rows as the file shows them (GradeSource::lines)
    std::vector<int> rows;   // the same rows of the source (from 1)
    int number = 0;
    std::string newClass;
};

struct SplitPlan {
    int classColumn = -1;
    std::vector<SplitClass> classes;       // the grade's classes that have students, in the grade's order
    std::vector<UnmatchedRows> unmatched;  // in the order of their first row
    int students() const;
    // Whether some unmatched rows name classes that could be added.
    bool canAddClasses() const;
};

// Matches every student's class value (column `classColumn` of the source) to the grade's classes.
// With `addClasses`, the rows of classes the grade lacks go to those classes (added after the grade's own,
// by number) instead of being left out.
SplitPlan PlanGradeSplit(const GradeSource& source, int classColumn, const SplitGrade& grade,
                         bool addClasses);

// What the preview and the closing message say of unmatched rows: "第 37、52 行的班级“高一(13)班”在学校
// 关系树中不存在", "第 5 行的班级“高二(1)班”不是高一的班级", "第 8 行没有班级"; at most five rows are named
// ("第 3、4、5、6、7 行等 60 行…").
std::string UnmatchedRowsText(const UnmatchedRows& rows, std::string_view grade);

// The columns of the classes' tables, worked out once for the whole source.
struct SplitLayout {
    std::vector<int> columns;  // the source's columns that the tables keep, in order
    // Formula fields added after them: the title, and whether it averages (else adds) the subjects.
    struct FormulaField {
        std::string title;
        bool average = false;
    };
    std::vector<FormulaField> formulas;
    std::vector<int> subjects;  // the tables' columns (from 1) the formulas add
};
// The titles of a field template that are formula fields: 总分 adds the subjects, 平均 and 平均分 average
// them.
bool IsTemplateSumTitle(std::string_view title);
bool IsTemplateAverageTitle(std::string_view title);
// Every column but the class column; with a field template, its formula fields that the source lacks, in
// the template's order, over the subjects: the fields of marks that are not computed from others
// (SubjectFieldsOfTables over the whole source), so that every class's total adds the same subjects. No
// formula field when there is no subject.
SplitLayout LayOutSplit(const GradeSource& source, int classColumn, const FieldTemplate* fieldTemplate);

// The table of one class: title "<class><table name>", the layout's columns with the class's rows, and
// in the formula fields "！公式：cell(?,a)+cell(?,b)…" (an average "(…)/n"), except in a row whose
// subjects hold no mark but an absence: that row's formula fields repeat its absence ("缺考").
GradeTable SplitClassTable(const GradeSource& source, const SplitLayout& layout, const SplitClass& c,
                           std::string_view tableName);

// What stands where a class's table is to go, looked at before the teacher is asked.
struct SplitTarget {
    std::string file;  // the data file (its whole name)
    bool exists = false;
    bool locked =
        false;        // a program holds its lock, this one included (or something unreadable stands there)
    LockOwner owner;  // who, when locked
    FileState state;  // the file as it is now
};
std::vector<SplitTarget> InspectSplitTargets(const SplitPlan& plan, std::string_view tableName,
                                             const LockIdentity& identity);

// The classes that already hold the table and are not locked, in order.
std::vector<std::string> ExistingTableClasses(const SplitPlan& plan, const std::vector<SplitTarget>& targets);

enum class ExistingAnswer { Overwrite, Skip, Cancel };
// "以下班级已有表格“期中考试”：(1)班、(2)班" with 覆盖(&O), 跳过这些班级(&S) (the default) and 取消
// (Escape).
Question ExistingTablesQuestion(std::string_view tableName, const std::vector<std::string>& classes);
// Asks it when there are such classes; Overwrite (nothing to ask) when there are none.
ExistingAnswer AskAboutExistingTables(std::string_view tableName, const std::vector<std::string>& classes,
                                      Prompter& prompter);

// What the split did.
struct SplitReport {
    std::string tableName;
    int classes = 0;                   // tables written
    int students = 0;                  // their students
    std::vector<std::string> written;  // the data files written, in order
    std::vector<std::string> skipped;  // classes skipped because they hold the table (answer 跳过)
    std::vector<std::string> locked;   // "(2)班（王老师，办公室-1）": open elsewhere, not written
    std::vector<std::string> changed;  // changed (or made) by someone else after the teacher chose
    std::vector<std::string> failed;   // could not be written
    std::vector<std::string> leftOut;  // UnmatchedRowsText of the rows no table took
};

// Writes every class's table by the answer (Overwrite writes over the existing ones, Skip leaves them):
// each takes the table's lock while it is written (a table open elsewhere is skipped), is written only
// when its file is as `targets` found it, and is written atomically.
SplitReport WriteSplitTables(const GradeSource& source, const SplitLayout& layout, const SplitPlan& plan,
                             const SplitGrade& grade, std::string_view tableName,
                             const std::vector<SplitTarget>& targets, ExistingAnswer answer,
                             const LockIdentity& identity);

// "已为 12 个班级建立表格“期中考试”，共 612 名学生；跳过 1 个班级", then a line for each group of classes
// skipped or not written and for each group of rows left out.
std::string SplitSummary(const SplitReport& report);
// Its first line only, for the status bar.
std::string SplitStatusText(const SplitReport& report);

// The whole import after the teacher's choices: the question about existing tables, the new classes
// added to the school tree (AddNewClasses) when the plan holds any, the tables written, the status
// panel saying what was made; nothing when the teacher cancelled or the classes could not be added
// (nothing is written then).
std::optional<SplitReport> RunGradeSplit(const GradeSource& source, const SplitLayout& layout,
                                         const SplitPlan& plan, const SplitGrade& grade,
                                         std::string_view tableName, const LockIdentity& identity,
                                         Prompter& prompter, StatusSink& status);

}  // namespace scorvane
