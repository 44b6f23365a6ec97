#include "main/workbook/ui/sheet_import_dialog.h"

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
#include <memory>

#include "common/qt/dialog_runner.h"
#include "main/document/status_scope.h"
#include "main/exchange/ui/table_grid_model.h"

namespace scorvane {
namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

constexpr std::string_view kDialogTitle = "导入电子表格";
constexpr std::string_view kAppendTitle = "从电子表格追加学生";

}  // namespace

SheetImportDialog::SheetImportDialog(std::string path, SheetGrid grid, QWidget* parent,
                                     const GradeTable* appendTo)
    : QDialog(parent), path_(std::move(path)), grid_data_(std::move(grid)), appendTo_(appendTo) {
    setObjectName("frmSheetImport");
    setWindowTitle(qs(appendTo_ ? kAppendTitle : kDialogTitle) + QStringLiteral(" - ") +
                   QFileInfo(qs(path_)).fileName());

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
    if (appendTo_) {
        columns_ = new QLabel(this);
        columns_->setObjectName("lblColumns");
        columns_->setWordWrap(true);
    }

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
    if (columns_) {
        form->addWidget(new QLabel(QStringLiteral("导入的列："), this), 2, 0, Qt::AlignTop);
        form->addWidget(columns_, 2, 1, 1, 3);
    }
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

    if (grid_data_.partial) {
        readWholeSheet();
    }
    present(SheetToGradeTable(grid_data_));
    connect(sheets_, &QComboBox::currentIndexChanged, this, &SheetImportDialog::sheetChosen);
    connect(headerRow_, &QSpinBox::valueChanged, this, &SheetImportDialog::headerRowChanged);
    connect(ok_, &QPushButton::clicked, this, &SheetImportDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

SheetImportDialog::~SheetImportDialog() {
    stopReading();
    // The grid is hidden after the members are gone: it must not look at the preview then.
    model_->setTable(nullptr);
}

void SheetImportDialog::readWholeSheet() {
    reading_ = true;
    const int generation = ++generation_;
    stop_ = false;
    const SheetChoice choice{{}, grid_data_.sheet, 0, &stop_};
    reader_ = std::thread([this, choice, generation] {
        whole_ = SheetGrid();
        wholeMessage_ = LoadWorkbookSheet(path_, choice, whole_);
        QMetaObject::invokeMethod(
            this, [this, generation] { sheetRead(generation); }, Qt::QueuedConnection);
    });
}

void SheetImportDialog::joinReader() {
    if (reader_.joinable()) {
        reader_.join();
    }
    reading_ = false;
}

void SheetImportDialog::stopReading() {
    stop_ = true;
    joinReader();
}

void SheetImportDialog::sheetRead(int generation) {
    if (generation == generation_ && reading_) {
        waitForSheet();
    }
}

void SheetImportDialog::waitForSheet() {
    if (!reading_) {
        return;
    }
    joinReader();
    if (!wholeMessage_.empty()) {
        readMessage_ = wholeMessage_;
        SheetTable failed;
        failed.message = wholeMessage_;
        present(std::move(failed));
        return;
    }
    grid_data_ = std::move(whole_);
    whole_ = SheetGrid();
    // The first look at an OpenDocument sheet may not have reached the names of the sheets after it.
    QStringList names;
    for (const std::string& name : grid_data_.sheetNames) {
        names << qs(name);
    }
    QStringList shown;
    for (int i = 0; i < sheets_->count(); ++i) {
        shown << sheets_->itemText(i);
    }
    if (names != shown) {
        const QSignalBlocker block(sheets_);
        sheets_->clear();
        sheets_->addItems(names);
        sheets_->setCurrentIndex(grid_data_.sheet);
    }
    present(SheetToGradeTable(grid_data_, headerChosen_));
}

void SheetImportDialog::sheetChosen(int index) {
    stopReading();
    SheetGrid grid;
    const std::string message = LoadWorkbookSheet(path_, SheetChoice{{}, index, kFirstLookRows}, grid);
    // A sheet that could not be read keeps its message whatever header row is chosen.
    readMessage_ = grid.sheetNames.empty() ? message : std::string();
    grid_data_ = std::move(grid);
    headerChosen_ = -1;
    if (!message.empty()) {
        SheetTable failed;
        failed.message = message;
        present(std::move(failed));
        return;
    }
    if (grid_data_.partial) {
        readWholeSheet();
    }
    present(SheetToGradeTable(grid_data_));
}

void SheetImportDialog::headerRowChanged(int row) {
    if (!readMessage_.empty()) {
        return;
    }
    headerChosen_ = row - 1;
    present(SheetToGradeTable(grid_data_, headerChosen_));
}

void SheetImportDialog::present(SheetTable sheet) {
    sheet_ = std::move(sheet);
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
    if (columns_) {
        columns_->clear();
    }
    if (!sheet_.message.empty()) {
        title_->clear();
        count_->setText(qs(sheet_.message));
        ok_->setEnabled(false);
        return;
    }
    title_->setText(qs(t.title));
    // A header row past the sheet's end gives no field: there is nothing to take.
    bool usable = t.cols() > 1;
    if (columns_ && usable) {
        const SheetColumnMatch match = MatchSheetColumns(*appendTo_, t);
        QStringList lines;
        for (const std::string& line : match.lines) {
            lines << qs(line);
        }
        columns_->setText(match.matched > 0 ? lines.join(QStringLiteral("；")) : qs(kNoCommonFieldMessage));
        usable = match.matched > 0;
    }
    ok_->setEnabled(usable);
    if (reading_) {
        count_->setText(QStringLiteral("正在读取整张工作表……"));
        return;
    }
    count_->setText(QStringLiteral("共 %1 名学生，%2 个字段%3")
                        .arg(t.rows() - 1)
                        .arg(t.cols() - 1)
                        .arg(sheet_.rowNumbers ? QStringLiteral("（第一列为序号，不作为字段）") : QString()));
}

void SheetImportDialog::accept() {
    waitForSheet();
    if (!sheet_.message.empty() || !ok_->isEnabled()) {
        return;
    }
    result_ = std::move(sheet_.table);
    sheet_.table = GradeTable();
    taken_ = sheet_;
    QDialog::accept();
}

namespace {

// The open dialog and the first look at the workbook's first sheet: the dialog over it, or nothing when
// the file dialog was cancelled or the workbook cannot be read (its message was shown).
std::unique_ptr<SheetImportDialog> sheetDialog(Prompter& prompter, StatusSink& status, QWidget* owner,
                                               const GradeTable* appendTo) {
    FileDialogSpec spec;
    spec.description = kWorkbookFilterName;
    spec.pattern = kWorkbookFilterPattern;
    spec.title = appendTo ? kAppendTitle : kDialogTitle;
    const std::string path = prompter.chooseOpenFile(spec);
    if (path.empty()) {
        return nullptr;
    }
    // The first rows only, so that the window shows at once; it reads the rest itself.
    SheetGrid grid;
    std::string message;
    {
        StatusScope busy(status, kStatusReading);
        message = LoadWorkbookSheet(path, SheetChoice{{}, 0, SheetImportDialog::kFirstLookRows}, grid);
    }
    if (!message.empty() && grid.sheetNames.empty()) {
        prompter.message(message, "提示", Icon::Information);
        return nullptr;
    }
    return std::make_unique<SheetImportDialog>(path, std::move(grid), owner, appendTo);
}

}  // namespace

std::optional<GradeTable> RunSheetImportDialog(Prompter& prompter, StatusSink& status, DialogRunner& runner,
                                               QWidget* owner) {
    std::unique_ptr<SheetImportDialog> dialog = sheetDialog(prompter, status, owner, nullptr);
    if (!dialog || runner.run(*dialog) != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog->result();
}

bool RunSheetAppendDialog(Document& document, Prompter& prompter, StatusSink& status, DialogRunner& runner,
                          QWidget* owner) {
    std::unique_ptr<SheetImportDialog> dialog = sheetDialog(prompter, status, owner, &document.table);
    if (!dialog || runner.run(*dialog) != QDialog::Accepted || !dialog->result()) {
        return false;
    }
    return AppendSheetTable(document, *dialog->result(), prompter);
}

}  // namespace scorvane
