#include "main/workbook/ui/grade_split_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "common/file_io.h"
#include "common/qt/dialog_runner.h"
#include "common/utf8.h"
#include "main/document/data_file.h"
#include "main/document/new_table.h"
#include "main/document/status_scope.h"
#include "main/workbook/split_templates.h"
#include "main/workbook/ui/sheet_import_dialog.h"
#include "main/workbook/workbook_import.h"
#include "main/workspace/utilities.h"
#include "main/workspace/workspace_folder.h"

namespace scorvane {
namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

constexpr std::string_view kNoClassStudentsMessage = "没有属于本年级班级的学生，请检查班级列！";
constexpr std::string_view kNoClassColumnMessage = "请选择班级列！";

}  // namespace

GradeSplitDialog::GradeSplitDialog(SplitGrade grade, GradeSource source, std::string tableName,
                                   std::vector<OfferedTemplate> templates, Prompter& prompter,
                                   StatusSink& status, LockIdentity identity, QWidget* parent)
    : QDialog(parent),
      grade_(std::move(grade)),
      source_(std::move(source)),
      templates_(std::move(templates)),
      prompter_(prompter),
      status_(status),
      identity_(std::move(identity)) {
    setObjectName("frmGradeSplit");
    setWindowTitle(qs(kGradeSplitCaption) + QStringLiteral(" - ") + qs(grade_.grade));
    setModal(true);

    auto* explanation = new QLabel(QStringLiteral("全年级的成绩将按班级列分到各班级，每个班级建立一张新的表格"
                                                  "（班级列以外的各列，按文件中的次序）。"),
                                   this);
    explanation->setObjectName("Label1");
    explanation->setWordWrap(true);

    classColumn_ = new QComboBox(this);
    classColumn_->setObjectName("Combo1");
    for (int c = 1; c < source_.table.cols(); ++c) {
        classColumn_->addItem(qs(source_.table.cell(0, c)), c);
    }
    const int column = DefaultClassColumn(source_.table);
    classColumn_->setCurrentIndex(column > 0 ? column - 1 : -1);
    name_ = new QLineEdit(qs(tableName), this);
    name_->setObjectName("Text1");
    useTemplate_ = new QCheckBox(QStringLiteral("按字段模板添加总分、平均(&M)"), this);
    useTemplate_->setObjectName("Check1");
    template_ = new QComboBox(this);
    template_->setObjectName("Combo2");
    template_->setAccessibleName(QStringLiteral("字段模板"));
    for (const OfferedTemplate& t : templates_) {
        template_->addItem(qs(t.name));
    }
    const int chosen = DefaultTemplate(templates_, source_, column);
    template_->setCurrentIndex(chosen >= 0 ? chosen : (templates_.empty() ? -1 : 0));
    useTemplate_->setChecked(chosen >= 0);
    useTemplate_->setEnabled(!templates_.empty());
    template_->setEnabled(chosen >= 0);

    classes_ = new QListWidget(this);
    classes_->setObjectName("List1");
    addClasses_ = new QCheckBox(QStringLiteral("将学校关系树中没有的班级添加到本年级(&A)"), this);
    addClasses_->setObjectName("Check2");
    count_ = new QLabel(this);
    count_->setObjectName("lblCount");

    ok_ = new QPushButton(QStringLiteral("确定(&O)"), this);
    ok_->setObjectName("Command1");
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("取消"), this);
    cancel_->setObjectName("Command2");

    auto* form = new QGridLayout;
    auto* columnLabel = new QLabel(QStringLiteral("班级列(&C)："), this);
    columnLabel->setBuddy(classColumn_);
    auto* nameLabel = new QLabel(QStringLiteral("表格名称(&N)："), this);
    nameLabel->setBuddy(name_);
    form->addWidget(columnLabel, 0, 0);
    form->addWidget(classColumn_, 0, 1);
    form->addWidget(nameLabel, 1, 0);
    form->addWidget(name_, 1, 1);
    form->addWidget(useTemplate_, 2, 0);
    form->addWidget(template_, 2, 1);
    form->setColumnStretch(1, 1);
    auto* listLabel = new QLabel(QStringLiteral("各班级(&L)："), this);
    listLabel->setBuddy(classes_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(count_, 1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explanation);
    layout->addLayout(form);
    layout->addWidget(listLabel);
    layout->addWidget(classes_, 1);
    layout->addWidget(addClasses_);
    layout->addLayout(buttons);
    setTabOrder(classColumn_, name_);
    setTabOrder(name_, useTemplate_);
    setTabOrder(useTemplate_, template_);
    setTabOrder(template_, classes_);
    setTabOrder(classes_, addClasses_);
    setTabOrder(addClasses_, ok_);
    setTabOrder(ok_, cancel_);
    resize(560, 460);

    connect(classColumn_, &QComboBox::currentIndexChanged, this, &GradeSplitDialog::refresh);
    connect(name_, &QLineEdit::textChanged, this, &GradeSplitDialog::refresh);
    connect(useTemplate_, &QCheckBox::toggled, template_, &QWidget::setEnabled);
    connect(addClasses_, &QCheckBox::toggled, this, &GradeSplitDialog::refresh);
    connect(ok_, &QPushButton::clicked, this, &GradeSplitDialog::confirm);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    refresh();
}

GradeSplitDialog::~GradeSplitDialog() = default;

int GradeSplitDialog::chosenColumn() const {
    return classColumn_->currentIndex() < 0 ? -1 : classColumn_->currentData().toInt();
}

std::string GradeSplitDialog::chosenName() const {
    return std::string(TrimSpaces(name_->text().toStdString()));
}

const FieldTemplate* GradeSplitDialog::chosenTemplate() const {
    const int i = template_->currentIndex();
    return useTemplate_->isChecked() && i >= 0 ? &templates_[static_cast<size_t>(i)].fields : nullptr;
}

void GradeSplitDialog::refresh() {
    plan_ = PlanGradeSplit(source_, chosenColumn(), grade_, addClasses_->isChecked());
    const std::string name = chosenName();
    const std::vector<SplitTarget> targets = IsBlank(name) || !IsValidFileName(name)
                                                 ? std::vector<SplitTarget>(plan_.classes.size())
                                                 : InspectSplitTargets(plan_, name, identity_);
    classes_->clear();
    for (size_t i = 0; i < plan_.classes.size(); ++i) {
        const SplitClass& c = plan_.classes[i];
        QString line = qs(c.name) + QStringLiteral("　%1 名学生").arg(c.rows.size());
        if (c.added) {
            line += QStringLiteral("（学校关系树中没有，将添加）");
        }
        if (targets[i].locked) {
            line += QStringLiteral("（表格正由 %1（%2）打开，将跳过）")
                        .arg(qs(targets[i].owner.user), qs(targets[i].owner.host));
        } else if (targets[i].exists) {
            line += QStringLiteral("（已有表格“%1”）").arg(qs(name));
        }
        classes_->addItem(line);
    }
    for (const UnmatchedRows& rows : plan_.unmatched) {
        auto* item = new QListWidgetItem(qs(UnmatchedRowsText(rows, grade_.grade)), classes_);
        item->setForeground(Qt::darkRed);
    }
    if (classes_->count() > 0) {
        classes_->setCurrentRow(0);
    }
    addClasses_->setEnabled(addClasses_->isChecked() || plan_.canAddClasses());
    int leftOut = 0;
    for (const UnmatchedRows& rows : plan_.unmatched) {
        leftOut += static_cast<int>(rows.rows.size());
    }
    QString count = QStringLiteral("%1 个班级，共 %2 名学生").arg(plan_.classes.size()).arg(plan_.students());
    if (leftOut > 0) {
        count += QStringLiteral("；%1 行不属于本年级的班级").arg(leftOut);
    }
    count_->setText(count);
}

void GradeSplitDialog::confirm() {
    const std::string name = chosenName();
    if (IsBlank(name)) {
        prompter_.message(kEmptyFileNameMessage, "提示", Icon::Information);
        return;
    }
    if (!IsValidFileName(name)) {
        prompter_.message(kIllegalFileNameMessage, "提示", Icon::Information);
        return;
    }
    if (!FitsFileSystemName(name, kDataFileExtension)) {
        prompter_.message(kFileNameTooLongMessage, "提示", Icon::Information);
        return;
    }
    if (chosenColumn() < 0) {
        prompter_.message(kNoClassColumnMessage, "提示", Icon::Information);
        return;
    }
    refresh();
    if (plan_.classes.empty()) {
        prompter_.message(kNoClassStudentsMessage, "提示", Icon::Information);
        return;
    }
    const SplitLayout layout = LayOutSplit(source_, chosenColumn(), chosenTemplate());
    std::optional<SplitReport> report =
        RunGradeSplit(source_, layout, plan_, grade_, name, identity_, prompter_, status_);
    if (!report) {
        refresh();
        return;
    }
    report_ = std::move(report);
    prompter_.message(SplitSummary(*report_), "提示", Icon::Information);
    accept();
}

std::optional<SplitReport> RunGradeSplitDialog(const std::string& gradeFolder, Prompter& prompter,
                                               StatusSink& status, DialogRunner& runner, QWidget* owner) {
    MakeDirectories(gradeFolder);
    std::optional<SplitGrade> grade = ReadSplitGrade(gradeFolder);
    if (!grade) {
        prompter.message(std::string(kMissingFileMessage) + gradeFolder, "提示", Icon::Information);
        return std::nullopt;
    }
    FileDialogSpec spec;
    spec.description = kGradeSourceFilterName;
    spec.pattern = kGradeSourceFilterPattern;
    spec.title = kGradeSplitCaption;
    const std::string path = prompter.chooseOpenFile(spec);
    if (path.empty()) {
        return std::nullopt;
    }
    GradeSource source;
    if (GradeSourceKindOf(path) == GradeSourceKind::Workbook) {
        // The sheet, its header row and its first rows as 导入电子表格 shows them.
        SheetGrid grid;
        std::string message;
        {
            StatusScope busy(status, kStatusReading);
            message = LoadWorkbookSheet(path, SheetChoice{{}, 0, SheetImportDialog::kFirstLookRows}, grid);
        }
        if (!message.empty() && grid.sheetNames.empty()) {
            prompter.message(message, "提示", Icon::Information);
            return std::nullopt;
        }
        SheetImportDialog sheet(path, std::move(grid), owner);
        sheet.setWindowTitle(qs(kGradeSplitCaption) + QStringLiteral(" - ") + QFileInfo(qs(path)).fileName());
        if (runner.run(sheet) != QDialog::Accepted || !sheet.result()) {
            return std::nullopt;
        }
        SheetTable taken = sheet.taken();
        taken.table = *sheet.result();
        source = GradeSourceOfSheet(std::move(taken));
    } else {
        StatusScope busy(status, kStatusReading);
        source = ReadGradeSource(path);
    }
    if (!source.message.empty()) {
        prompter.message(source.message, "提示", Icon::Information);
        return std::nullopt;
    }
    if (source.table.rows() <= 1) {
        prompter.message(kNoGradeStudentsMessage, "提示", Icon::Information);
        return std::nullopt;
    }
    const std::string name = OfferedTableName(source, path, grade->grade);
    GradeSplitDialog dialog(std::move(*grade), std::move(source), name, OfferedTemplates(TemplateFolder()),
                            prompter, status, LockIdentity::ThisProgram(), owner);
    runner.run(dialog);
    return dialog.report();
}

}  // namespace scorvane
