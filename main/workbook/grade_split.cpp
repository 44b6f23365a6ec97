#include "main/workbook/grade_split.h"

#include <algorithm>
#include <filesystem>

#include "common/file_io.h"
#include "common/file_sharing.h"
#include "common/utf8.h"
#include "main/analysis/analysis_fields.h"
#include "main/analysis/field_marks.h"
#include "main/analysis/result_table.h"
#include "main/document/data_file.h"
#include "main/document/field_template.h"
#include "main/formula/formula_cell.h"
#include "main/workspace/new_classes.h"
#include "main/workspace/school_file_watch.h"
#include "main/workspace/school_info.h"
#include "main/workspace/utilities.h"

namespace scorvane {
namespace fs = std::filesystem;
namespace {

constexpr size_t kNamedRows = 5;

std::string inQuotes(std::string_view text) {
    return "“" + std::string(text) + "”";
}

}  // namespace

std::optional<SplitGrade> ReadSplitGrade(const std::string& gradeFolder) {
    if (!DirectoryExists(gradeFolder)) {
        return std::nullopt;
    }
    std::error_code ec;
    fs::path path = fs::absolute(fs::path(gradeFolder), ec).lexically_normal();
    if (path.filename().empty()) {
        path = path.parent_path();
    }
    SplitGrade out;
    out.grade = path.filename().string();
    out.folder = path.string() + "/";
    const fs::path school = path.parent_path();
    const fs::path data = school.parent_path();
    if (data.filename() == "表格数据") {
        const std::string workspace = data.parent_path().string() + "/";
        const FileState state = TakeSchoolFileState(workspace);
        const std::optional<SchoolInfo> info = LoadSchoolInfo(workspace);
        if (info && info->name == school.filename().string() &&
            std::any_of(info->grades.begin(), info->grades.end(),
                        [&out](const GradeEntry& g) { return g.name == out.grade; })) {
            out.workspace = workspace;
            out.school = info->name;
            out.schoolState = state;
        }
    }
    std::optional<GradeFolder> folder = ReadGradeFolder(out.folder);
    if (!folder) {
        return std::nullopt;
    }
    out.classes = std::move(folder->classes);
    return out;
}

int DefaultClassColumn(const GradeTable& source) {
    // Titles spaced out to fill their cells ("班  级") count as written together.
    auto closed = [](std::string_view title) {
        return ReplaceAll(ReplaceAll(ReplaceAll(title, " ", ""), "\t", ""), "\xE3\x80\x80", "");
    };
    for (const std::string_view title : kClassColumnTitles) {
        for (int c = 1; c < source.cols(); ++c) {
            if (closed(source.cell(0, c)) == title) {
                return c;
            }
        }
    }
    return -1;
}

int SplitPlan::students() const {
    int n = 0;
    for (const SplitClass& c : classes) {
        n += static_cast<int>(c.rows.size());
    }
    return n;
}

bool SplitPlan::canAddClasses() const {
    return std::any_of(unmatched.begin(), unmatched.end(),
                       [](const UnmatchedRows& rows) { return !rows.newClass.empty(); });
}

SplitPlan PlanGradeSplit(const GradeSource& source, int classColumn, const SplitGrade& grade,
                         bool addClasses) {
    SplitPlan plan;
    plan.classColumn = classColumn;
    const GradeTable& table = source.table;
    if (classColumn < 1 || classColumn >= table.cols()) {
        return plan;
    }
    std::vector<std::string> names;
    for (const GradeClass& c : grade.classes) {
        names.push_back(c.name);
    }
    std::vector<SplitClass> own(grade.classes.size());
    for (size_t i = 0; i < grade.classes.size(); ++i) {
        own[i].name = grade.classes[i].name;
        own[i].folder = grade.classes[i].folder;
    }
    auto lineOf = [&source](int row) {
        return static_cast<size_t>(row - 1) < source.lines.size() ? source.lines[static_cast<size_t>(row - 1)]
                                                                  : row;
    };
    for (int r = 1; r < table.rows(); ++r) {
        const CellText value = table.cell(r, classColumn);
        const ClassValue match = MatchClassValue(value, grade.grade, names);
        if (match.kind == ClassValue::Kind::Class) {
            own[static_cast<size_t>(match.index)].rows.push_back(r);
            continue;
        }
        const bool isNew = match.kind == ClassValue::Kind::NewClass;
        const std::string_view trimmed = TrimBlanks(value);
        auto group = std::find_if(plan.unmatched.begin(), plan.unmatched.end(), [&](const UnmatchedRows& u) {
            return isNew ? u.number == match.number : u.number == 0 && u.value == trimmed;
        });
        if (group == plan.unmatched.end()) {
            UnmatchedRows rows;
            rows.value = std::string(trimmed);
            if (isNew) {
                rows.number = match.number;
                rows.newClass = NewClassName(match.number, grade.grade, names);
            }
            plan.unmatched.push_back(std::move(rows));
            group = plan.unmatched.end() - 1;
        }
        group->rows.push_back(r);
        group->lines.push_back(lineOf(r));
    }
    for (SplitClass& c : own) {
        if (!c.rows.empty()) {
            plan.classes.push_back(std::move(c));
        }
    }
    if (addClasses) {
        std::vector<UnmatchedRows> added;
        std::vector<UnmatchedRows> kept;
        for (UnmatchedRows& rows : plan.unmatched) {
            (rows.newClass.empty() ? kept : added).push_back(std::move(rows));
        }
        std::stable_sort(added.begin(), added.end(),
                         [](const UnmatchedRows& a, const UnmatchedRows& b) { return a.number < b.number; });
        for (UnmatchedRows& rows : added) {
            SplitClass c;
            c.name = rows.newClass;
            c.folder = grade.folder + c.name + "/";
            c.rows = std::move(rows.rows);
            c.added = true;
            plan.classes.push_back(std::move(c));
        }
        plan.unmatched = std::move(kept);
    }
    return plan;
}

std::string UnmatchedRowsText(const UnmatchedRows& rows, std::string_view grade) {
    std::vector<std::string> named;
    for (size_t i = 0; i < rows.lines.size() && i < kNamedRows; ++i) {
        named.push_back(std::to_string(rows.lines[i]));
    }
    std::string text = "第 ";
    for (size_t i = 0; i < named.size(); ++i) {
        text += (i ? "、" : "") + named[i];
    }
    text += " 行";
    if (rows.lines.size() > kNamedRows) {
        text += "等 " + std::to_string(rows.lines.size()) + " 行";
    }
    if (rows.value.empty()) {
        return text + "没有班级";
    }
    text += "的班级" + inQuotes(rows.value);
    if (!rows.newClass.empty()) {
        return text + "在学校关系树中不存在";
    }
    return text + "不是" + std::string(grade) + "的班级";
}

bool IsTemplateSumTitle(std::string_view title) {
    return title == kTotalField;
}

bool IsTemplateAverageTitle(std::string_view title) {
    return title == "平均" || title == "平均分";
}

SplitLayout LayOutSplit(const GradeSource& source, int classColumn, const FieldTemplate* fieldTemplate) {
    SplitLayout layout;
    const GradeTable& table = source.table;
    for (int c = 1; c < table.cols(); ++c) {
        if (c != classColumn) {
            layout.columns.push_back(c);
        }
    }
    if (!fieldTemplate) {
        return layout;
    }
    for (const std::string& subject : SubjectFieldsOfTables({&table})) {
        const auto at = std::find_if(layout.columns.begin(), layout.columns.end(),
                                     [&table, &subject](int col) { return table.cell(0, col) == subject; });
        if (at != layout.columns.end()) {  // the class column is never a subject
            layout.subjects.push_back(static_cast<int>(at - layout.columns.begin()) + 1);
        }
    }
    if (layout.subjects.empty()) {
        return layout;
    }
    const std::vector<std::string> titles = table.fieldTitles();
    for (const std::string& title : fieldTemplate->titles) {
        const bool sum = IsTemplateSumTitle(title);
        if ((!sum && !IsTemplateAverageTitle(title)) ||
            std::find(titles.begin(), titles.end(), title) != titles.end() ||
            std::any_of(layout.formulas.begin(), layout.formulas.end(),
                        [&title](const SplitLayout::FormulaField& f) { return f.title == title; })) {
            continue;
        }
        layout.formulas.push_back({title, !sum});
    }
    return layout;
}

GradeTable SplitClassTable(const GradeSource& source, const SplitLayout& layout, const SplitClass& c,
                           std::string_view tableName) {
    const GradeTable& from = source.table;
    const int kept = static_cast<int>(layout.columns.size());
    GradeTable table(static_cast<int>(c.rows.size()) + 1,
                     kept + static_cast<int>(layout.formulas.size()) + 1);
    table.title = c.name + std::string(tableName);
    table.setCell(0, 0, "  ");
    for (int k = 0; k < kept; ++k) {
        table.setCell(0, k + 1, from.cell(0, layout.columns[static_cast<size_t>(k)]));
    }
    std::string refs;
    for (const int s : layout.subjects) {
        refs += (refs.empty() ? "cell(?," : "+cell(?,") + std::to_string(s) + ")";
    }
    const std::string sum = std::string(kFormulaMarker) + refs;
    const std::string average =
        std::string(kFormulaMarker) + "(" + refs + ")/" + std::to_string(layout.subjects.size());
    for (size_t f = 0; f < layout.formulas.size(); ++f) {
        table.setCell(0, kept + static_cast<int>(f) + 1, layout.formulas[f].title);
    }
    for (size_t i = 0; i < c.rows.size(); ++i) {
        const int r = static_cast<int>(i) + 1;
        const int row = c.rows[i];
        for (int k = 0; k < kept; ++k) {
            table.setCell(r, k + 1, from.cell(row, layout.columns[static_cast<size_t>(k)]));
        }
        if (layout.formulas.empty()) {
            continue;
        }
        // A student who sat none of the subjects: the formulas would compute nothing, the absence says why.
        std::string absence;
        bool marked = false;
        for (const int s : layout.subjects) {
            const std::string_view text = table.cell(r, s);
            double value = 0;
            marked = marked || ReadMark(text, value);
            if (absence.empty() && IsAbsenceMark(text)) {
                absence = std::string(TrimBlanks(text));
            }
        }
        for (size_t f = 0; f < layout.formulas.size(); ++f) {
            const std::string& cell = !marked && !absence.empty()  ? absence
                                      : layout.formulas[f].average ? average
                                                                   : sum;
            table.setCell(r, kept + static_cast<int>(f) + 1, cell);
        }
    }
    table.renumber();
    table.setHeaderLayout(table.composeHeaderLayout(false));
    return table;
}

std::vector<SplitTarget> InspectSplitTargets(const SplitPlan& plan, std::string_view tableName,
                                             const LockIdentity& identity) {
    std::vector<SplitTarget> targets;
    for (const SplitClass& c : plan.classes) {
        SplitTarget target;
        target.file = DataFileOf(c.folder + std::string(tableName));
        target.exists = FileExists(target.file);
        const LockInspection lock = InspectLock(target.file, identity);
        // A lock of this very program (a window of it has the table open) is ours however the system
        // names the program.
        const bool ours = lock.state == LockState::Stale && lock.owner.pid == identity.pid &&
                          EqualsIgnoreCaseAscii(lock.owner.host, identity.host);
        target.locked = lock.state == LockState::Live || lock.state == LockState::Unreadable || ours;
        target.owner = lock.owner;
        target.state = TakeFileState(target.file);
        targets.push_back(std::move(target));
    }
    return targets;
}

std::vector<std::string> ExistingTableClasses(const SplitPlan& plan,
                                              const std::vector<SplitTarget>& targets) {
    std::vector<std::string> names;
    for (size_t i = 0; i < plan.classes.size() && i < targets.size(); ++i) {
        if (targets[i].exists && !targets[i].locked) {
            names.push_back(plan.classes[i].name);
        }
    }
    return names;
}

Question ExistingTablesQuestion(std::string_view tableName, const std::vector<std::string>& classes) {
    Question question;
    question.text =
        "以下班级已有表格" + inQuotes(tableName) + "：" + JoinNames(classes) +
        "\n\n覆盖：用导入的成绩替换这些表格。\n跳过这些班级：保留这些表格，只为其他班级建立表格。";
    question.title = std::string(kSharingTitle);
    question.icon = Icon::Question;
    question.buttons = {
        {"覆盖(&O)", Answer::Yes}, {"跳过这些班级(&S)", Answer::No}, {"取消", Answer::Cancel}};
    question.defaultAnswer = Answer::No;
    question.escapeAnswer = Answer::Cancel;
    return question;
}

ExistingAnswer AskAboutExistingTables(std::string_view tableName, const std::vector<std::string>& classes,
                                      Prompter& prompter) {
    if (classes.empty()) {
        return ExistingAnswer::Overwrite;
    }
    switch (prompter.askQuestion(ExistingTablesQuestion(tableName, classes))) {
        case Answer::Yes:
            return ExistingAnswer::Overwrite;
        case Answer::No:
            return ExistingAnswer::Skip;
        default:
            return ExistingAnswer::Cancel;
    }
}

namespace {

std::string holderText(std::string_view name, const LockOwner& owner) {
    return std::string(name) + "（" + owner.user + "，" + owner.host + "）";
}

}  // namespace

SplitReport WriteSplitTables(const GradeSource& source, const SplitLayout& layout, const SplitPlan& plan,
                             const SplitGrade& grade, std::string_view tableName,
                             const std::vector<SplitTarget>& targets, ExistingAnswer answer,
                             const LockIdentity& identity) {
    SplitReport report;
    report.tableName = std::string(tableName);
    for (size_t i = 0; i < plan.classes.size() && i < targets.size(); ++i) {
        const SplitClass& c = plan.classes[i];
        const SplitTarget& target = targets[i];
        if (target.locked) {
            report.locked.push_back(holderText(c.name, target.owner));
            continue;
        }
        if (target.exists && answer != ExistingAnswer::Overwrite) {
            report.skipped.push_back(c.name);
            continue;
        }
        if (!MakeDirectories(c.folder)) {
            report.failed.push_back(c.name);
            continue;
        }
        // The table's lock is held while it is written, so that nobody opens it half-way.
        LockAttempt attempt = TakeLock(target.file, identity);
        if (attempt.result == LockAttempt::Result::Busy) {
            report.locked.push_back(holderText(c.name, attempt.holder.owner));
            continue;
        }
        if (CompareWithDisk(target.state, target.file) != DiskChange::Unchanged) {
            report.changed.push_back(c.name);
            continue;
        }
        const GradeTable table = SplitClassTable(source, layout, c, tableName);
        if (!WriteDataFileTo(table, target.file)) {
            report.failed.push_back(c.name);
            continue;
        }
        report.written.push_back(target.file);
        ++report.classes;
        report.students += table.rows() - 1;
    }
    for (const UnmatchedRows& rows : plan.unmatched) {
        report.leftOut.push_back(UnmatchedRowsText(rows, grade.grade));
    }
    return report;
}

std::string SplitStatusText(const SplitReport& report) {
    std::string text = "已为 " + std::to_string(report.classes) + " 个班级建立表格" +
                       inQuotes(report.tableName) + "，共 " + std::to_string(report.students) + " 名学生";
    const size_t skipped =
        report.skipped.size() + report.locked.size() + report.changed.size() + report.failed.size();
    if (skipped > 0) {
        text += "；跳过 " + std::to_string(skipped) + " 个班级";
    }
    return text;
}

std::string SplitSummary(const SplitReport& report) {
    std::string text = SplitStatusText(report);
    const std::string table = "表格" + inQuotes(report.tableName);
    auto line = [&text](const std::vector<std::string>& names, const std::string& sentence) {
        if (!names.empty()) {
            text += "\n" + sentence + JoinNames(names);
        }
    };
    line(report.skipped, "以下班级已有" + table + "，已跳过：");
    line(report.locked, "以下班级的" + table + "已被打开，未覆盖：");
    line(report.changed, "以下班级的" + table + "在此期间已被其他人修改，未覆盖：");
    line(report.failed, "以下班级的" + table + "保存失败：");
    for (const std::string& rows : report.leftOut) {
        text += "\n" + rows + "，未导入";
    }
    return text;
}

std::optional<SplitReport> RunGradeSplit(const GradeSource& source, const SplitLayout& layout,
                                         const SplitPlan& plan, const SplitGrade& grade,
                                         std::string_view tableName, const LockIdentity& identity,
                                         Prompter& prompter, StatusSink& status) {
    const std::vector<SplitTarget> targets = InspectSplitTargets(plan, tableName, identity);
    const ExistingAnswer answer =
        AskAboutExistingTables(tableName, ExistingTableClasses(plan, targets), prompter);
    if (answer == ExistingAnswer::Cancel) {
        return std::nullopt;
    }
    std::vector<std::string> added;
    for (const SplitClass& c : plan.classes) {
        if (c.added) {
            added.push_back(c.name);
        }
    }
    if (!added.empty() && !grade.workspace.empty() &&
        AddNewClasses(grade.workspace, grade.school, grade.grade, added, grade.schoolState, prompter) !=
            NewClassesOutcome::Added) {
        return std::nullopt;
    }
    status.setStatus(kStatusImporting);
    status.setBusy(true);
    SplitReport report = WriteSplitTables(source, layout, plan, grade, tableName, targets, answer, identity);
    status.setBusy(false);
    status.setStatus(SplitStatusText(report));
    return report;
}

}  // namespace scorvane
