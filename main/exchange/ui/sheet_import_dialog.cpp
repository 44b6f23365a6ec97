#include "main/exchange/ui/sheet_import_dialog.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "common/qt/dialog_runner.h"
#include "main/document/status_scope.h"
#include "main/exchange/ui/table_grid_model.h"

namespace scorvane {
namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

constexpr std::string_view kDialogTitle = "导入电子表格";

}  // namespace

SheetImportDialog::SheetImportDialog(std::string path, SheetGrid grid, QWidget* parent)
    : QDialog(parent), path_(std::move(path)), grid_data_(std::move(grid)) {
    setObjectName("frmSheetImport");
    setWindowTitle(qs(kDialogTitle) + QStringLiteral(" - ") + QFileInfo(qs(path_)).fileName());

    sheets_ = new QComboBox(this);
    sheets_->setObjectName("cboSheet");
    for (const std::string& name : grid_data_.sheetNames) {
        sheets_->addItem(qs(name));
    }
    sheets_->setCurrentIndex(grid_data_.sheet);
    auto* sheetLabel = new QLabel(QStringLiteral("工作表(&S)："), this);
    sheetLabel->setBuddy(sheets_);

    headerRow_ = new QSpinBox(this);
    headerRow_->setObjectName("txtHeaderRow");
    headerRow_->setRange(1, 1048576);
    headerRow_->setToolTip(QStringLiteral("字段名称所在的行，按电子表格中的行号，从 1 起"));
    auto* headerLabel = new QLabel(QStringLiteral("字段行(&H)："), this);
    headerLabel->setBuddy(headerRow_);

    title_ = new QLabel(this);
    title_->setObjectName("lblTitle");
    count_ = new QLabel(this);
    count_->setObjectName("lblCount");

    model_ = new TableGridModel(&preview_, this);
    grid_ = NewTableGrid(model_, this);
    grid_->setObjectName("grdPreview");
    grid_->setTabKeyNavigation(false);

    ok_ = new QPushButton(QStringLiteral("确定(&O)"), this);
    ok_->setObjectName("Command1");
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("取消"), this);
    cancel_->setObjectName("Command2");

    auto* form = new QGridLayout;
    form->addWidget(sheetLabel, 0, 0);
    form->addWidget(sheets_, 0, 1);
    form->addWidget(headerLabel, 0, 2);
    form->addWidget(headerRow_, 0, 3);
    form->addWidget(new QLabel(QStringLiteral("表格标题："), this), 1, 0);
    form->addWidget(title_, 1, 1, 1, 3);
    form->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(count_, 1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(grid_, 1);
    layout->addLayout(buttons);
    setTabOrder(sheets_, headerRow_);
    setTabOrder(headerRow_, grid_);
    setTabOrder(grid_, ok_);
    setTabOrder(ok_, cancel_);
    resize(720, 480);

    present(SheetToGradeTable(grid_data_));
    connect(sheets_, &QComboBox::currentIndexChanged, this, &SheetImportDialog::sheetChosen);
    connect(headerRow_, &QSpinBox::valueChanged, this, &SheetImportDialog::headerRowChanged);
    connect(ok_, &QPushButton::clicked, this, &SheetImportDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

SheetImportDialog::~SheetImportDialog() = default;

void SheetImportDialog::sheetChosen(int index) {
    SheetGrid grid;
    const SheetTable sheet = ImportWorkbook(path_, SheetChoice{{}, index}, -1, grid);
    // A sheet that could not be read keeps its message whatever header row is chosen.
    readMessage_ = grid.sheetNames.empty() ? sheet.message : std::string();
    grid_data_ = std::move(grid);
    present(sheet);
}

void SheetImportDialog::headerRowChanged(int row) {
    if (!readMessage_.empty()) {
        return;
    }
    present(SheetToGradeTable(grid_data_, row - 1));
}

void SheetImportDialog::present(const SheetTable& sheet) {
    sheet_ = sheet;
    const GradeTable& t = sheet_.table;
    // The preview holds the field row and the first rows only, so a large sheet shows at once.
    preview_ = GradeTable(std::min(t.rows(), kPreviewRows + 1), t.cols());
    for (int r = 0; r < preview_.rows(); ++r) {
        for (int c = 0; c < t.cols(); ++c) {
            preview_.setCell(r, c, t.cell(r, c));
        }
    }
    preview_.setHeaderLayout(preview_.composeHeaderLayout(false));
    model_->setTable(&preview_);
    SizeGridColumns(grid_);
    {
        const QSignalBlocker block(headerRow_);
        headerRow_->setValue(std::max(sheet_.headerRow, 0) + 1);
    }
    if (!sheet_.message.empty()) {
        title_->clear();
        count_->setText(qs(sheet_.message));
        ok_->setEnabled(false);
        return;
    }
    title_->setText(qs(t.title));
    count_->setText(QStringLiteral("共 %1 名学生，%2 个字段%3")
                        .arg(t.rows() - 1)
                        .arg(t.cols() - 1)
                        .arg(sheet_.rowNumbers ? QStringLiteral("（第一列为序号，不作为字段）") : QString()));
    ok_->setEnabled(true);
}

void SheetImportDialog::accept() {
    if (!sheet_.message.empty()) {
        return;
    }
    result_ = std::move(sheet_.table);
    sheet_.table = GradeTable();
    QDialog::accept();
}

std::optional<GradeTable> RunSheetImportDialog(Prompter& prompter, StatusSink& status, DialogRunner& runner,
                                               QWidget* owner) {
    FileDialogSpec spec;
    spec.description = kWorkbookFilterName;
    spec.pattern = kWorkbookFilterPattern;
    spec.title = kDialogTitle;
    const std::string path = prompter.chooseOpenFile(spec);
    if (path.empty()) {
        return std::nullopt;
    }
    SheetGrid grid;
    SheetTable first;
    {
        StatusScope busy(status, kStatusReading);
        first = ImportWorkbook(path, SheetChoice{}, -1, grid);
    }
    if (!first.message.empty() && grid.sheetNames.empty()) {
        prompter.message(first.message, "提示", Icon::Information);
        return std::nullopt;
    }
    SheetImportDialog dialog(path, std::move(grid), owner);
    if (runner.run(dialog) != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.result();
}

}  // namespace scorvane
