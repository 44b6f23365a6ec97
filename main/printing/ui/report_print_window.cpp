#include "main/printing/ui/report_print_window.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "common/qt/dialog_runner.h"
#include "common/file_io.h"
#include "common/qt/print_path.h"
#include "common/qt/qt_prompter.h"
#include "common/recorded_pages.h"
#include "common/status_sink.h"
#include "main/printing/report_files.h"
#include "main/printing/ui/scrolled_page.h"

namespace scorvane {
namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// A list entry shows a caption's line breaks as blanks.
QString oneLine(std::string_view s) {
    QString text = qs(s);
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(QChar('\n'), QChar(' '));
    text.replace(QChar('\r'), QChar(' '));
    return text;
}

constexpr std::string_view kNothingToPrint = "没有要打印的行。";
// The kind of file whose last folder the students' files start in.
constexpr std::string_view kPdfPattern = "*.pdf";

}  // namespace

ReportPrintWindow::ReportPrintWindow(ReportSource source, PrintPath& printPath, Prompter& prompter,
                                     QWidget* owner)
    : QDialog(owner),
      printing_(std::move(source)),
      printPath_(printPath),
      prompter_(prompter),
      metrics_(PaperMetrics()),
      page_(std::make_unique<RecordedPages>(RecordedPages::Kind::Picture, *metrics_)) {
    setObjectName("frmPrintBB");
    setWindowTitle(QStringLiteral("报表打印"));
    build();

    // Opening: an empty A4 page, the row choosers and the field list; nothing to print yet.
    QStringList rows;
    for (int r = 1; r <= printing_.rowCount(); ++r) {
        rows << QString::number(r);
    }
    for (QComboBox* box : {oneRowBox_, fromBox_, toBox_}) {
        box->addItems(rows);
        box->setCurrentIndex(rows.isEmpty() ? -1 : 0);
    }
    for (const std::string& field : printing_.fieldNames()) {
        fields_->addItem(oneLine(field));
    }
    fields_->setCurrentIndex(fields_->count() - 1);
    folderEdit_->setText(qs(LastDialogFolder(kPdfPattern)));
    patternEdit_->setText(qs(DefaultReportFilePattern(*printing_.source().table)));
    splitChosen();
    showTemplate();
}

ReportPrintWindow::~ReportPrintWindow() = default;

void ReportPrintWindow::build() {
    menuBar_ = new QMenuBar(this);
    openAction_ = menuBar_->addAction(QStringLiteral("打开报表模板(&O)"));
    openAction_->setObjectName("menuOpen");
    printAction_ = menuBar_->addAction(QStringLiteral("开始打印(&P)"));
    printAction_->setObjectName("menuPrint");
    printAction_->setEnabled(false);
    connect(openAction_, &QAction::triggered, this, &ReportPrintWindow::openTemplate);
    connect(printAction_, &QAction::triggered, this, &ReportPrintWindow::print);

    view_ = new ScrolledPage(this);

    labels_ = new QComboBox(this);
    labels_->setObjectName("Combo1");
    fields_ = new QComboBox(this);
    fields_->setObjectName("Combo2");
    bindButton_ = new QPushButton(QStringLiteral("绑定 &>>"), this);
    bindButton_->setObjectName("Command2");
    bindings_ = new QListWidget(this);
    bindings_->setObjectName("List1");
    unbindButton_ = new QPushButton(QStringLiteral("取消绑定"), this);
    unbindButton_->setObjectName("Command3");
    connect(bindButton_, &QPushButton::clicked, this, &ReportPrintWindow::bind);
    // The label chosen is framed on the page.
    connect(labels_, qOverload<int>(&QComboBox::currentIndexChanged), this, &ReportPrintWindow::showTemplate);
    connect(unbindButton_, &QPushButton::clicked, this, &ReportPrintWindow::unbind);

    auto* binding = new QGroupBox(QStringLiteral("绑定"), this);
    auto* bindingLayout = new QGridLayout(binding);
    bindingLayout->addWidget(new QLabel(QStringLiteral("标签："), binding), 0, 0);
    bindingLayout->addWidget(labels_, 0, 1);
    bindingLayout->addWidget(new QLabel(QStringLiteral("字段："), binding), 1, 0);
    bindingLayout->addWidget(fields_, 1, 1);
    bindingLayout->addWidget(bindButton_, 2, 1);
    bindingLayout->addWidget(bindings_, 3, 0, 1, 2);
    bindingLayout->addWidget(unbindButton_, 4, 1);

    oneRow_ = new QRadioButton(QStringLiteral("打印项目(&T)："), this);
    oneRow_->setObjectName("Option1");
    allRows_ = new QRadioButton(QStringLiteral("打印全部项目(&A)"), this);
    allRows_->setObjectName("Option2");
    fromTo_ = new QRadioButton(QStringLiteral("打印(&B)"), this);
    fromTo_->setObjectName("Option3");
    allRows_->setChecked(true);
    oneRowBox_ = new QComboBox(this);
    oneRowBox_->setObjectName("Combo3");
    fromBox_ = new QComboBox(this);
    fromBox_->setObjectName("Combo4");
    toBox_ = new QComboBox(this);
    toBox_->setObjectName("Combo5");
    for (QComboBox* box : {oneRowBox_, fromBox_, toBox_}) {
        box->setMinimumContentsLength(5);
        box->setMaxVisibleItems(20);
    }
    connect(fromBox_, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &ReportPrintWindow::rangeStartChanged);
    connect(toBox_, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &ReportPrintWindow::rangeEndChanged);

    auto* range = new QGroupBox(QStringLiteral("打印范围"), this);
    auto* rangeGroup = new QButtonGroup(range);
    rangeGroup->addButton(oneRow_);
    rangeGroup->addButton(allRows_);
    rangeGroup->addButton(fromTo_);
    auto* rangeLayout = new QGridLayout(range);
    rangeLayout->addWidget(oneRow_, 0, 0);
    rangeLayout->addWidget(oneRowBox_, 0, 1);
    rangeLayout->addWidget(allRows_, 1, 0, 1, 2);
    rangeLayout->addWidget(fromTo_, 2, 0);
    auto* fromTo = new QHBoxLayout;
    fromTo->addWidget(fromBox_);
    fromTo->addWidget(new QLabel(QStringLiteral("至"), range));
    fromTo->addWidget(toBox_);
    rangeLayout->addLayout(fromTo, 2, 1);

    portrait_ = new QRadioButton(QStringLiteral("纸张纵向"), this);
    portrait_->setObjectName("Option4");
    landscape_ = new QRadioButton(QStringLiteral("纸张横向"), this);
    landscape_->setObjectName("Option5");
    portrait_->setChecked(true);
    auto* paper = new QGroupBox(QStringLiteral("纸张"), this);
    auto* paperGroup = new QButtonGroup(paper);
    paperGroup->addButton(portrait_);
    paperGroup->addButton(landscape_);
    auto* paperLayout = new QHBoxLayout(paper);
    paperLayout->addWidget(portrait_);
    paperLayout->addWidget(landscape_);
    connect(portrait_, &QRadioButton::toggled, this, &ReportPrintWindow::orientationChosen);

    splitBox_ = new QCheckBox(QStringLiteral("每个学生一个PDF文件(&E)"), this);
    splitBox_->setObjectName("Check1");
    folderEdit_ = new QLineEdit(this);
    folderEdit_->setObjectName("Text1");
    browseButton_ = new QPushButton(QStringLiteral("浏览(&W)..."), this);
    browseButton_->setObjectName("Command4");
    patternEdit_ = new QLineEdit(this);
    patternEdit_->setObjectName("Text2");
    connect(splitBox_, &QCheckBox::toggled, this, &ReportPrintWindow::splitChosen);
    connect(browseButton_, &QPushButton::clicked, this, &ReportPrintWindow::chooseFolder);
    auto* files = new QGroupBox(QStringLiteral("分别保存"), this);
    auto* filesLayout = new QGridLayout(files);
    filesLayout->addWidget(splitBox_, 0, 0, 1, 3);
    auto* folderLabel = new QLabel(QStringLiteral("文件夹(&D)："), files);
    folderLabel->setBuddy(folderEdit_);
    filesLayout->addWidget(folderLabel, 1, 0);
    filesLayout->addWidget(folderEdit_, 1, 1);
    filesLayout->addWidget(browseButton_, 1, 2);
    auto* patternLabel = new QLabel(QStringLiteral("文件名(&N)："), files);
    patternLabel->setBuddy(patternEdit_);
    filesLayout->addWidget(patternLabel, 2, 0);
    filesLayout->addWidget(patternEdit_, 2, 1, 1, 2);

    auto* side = new QVBoxLayout;
    side->addWidget(binding, 1);
    side->addWidget(range);
    side->addWidget(paper);
    side->addWidget(files);

    auto* layout = new QHBoxLayout(this);
    layout->setMenuBar(menuBar_);
    layout->addWidget(view_, 1);
    layout->addLayout(side);

    ResizeWithinScreen(*this, 1100);
}

void ReportPrintWindow::showTemplate() {
    printing_.drawTemplate(*page_, labels_->currentIndex() + 1);
    view_->setPicture(page_.get());
}

void ReportPrintWindow::openTemplate() {
    if (!printing_.openTemplate(prompter_)) {
        return;
    }
    // Everything of the template before is gone: labels, bindings, preview.
    {
        const QSignalBlocker block(labels_);
        labels_->clear();
        for (const std::string& caption : printing_.labelCaptions()) {
            labels_->addItem(oneLine(caption));
        }
        labels_->setCurrentIndex(labels_->count() - 1);
    }
    bindings_->clear();
    {
        const QSignalBlocker block(portrait_);
        (printing_.landscape() ? landscape_ : portrait_)->setChecked(true);
    }
    printAction_->setEnabled(true);
    showTemplate();
}

void ReportPrintWindow::orientationChosen() {
    printing_.setLandscape(landscape_->isChecked());
    showTemplate();
}

void ReportPrintWindow::bind() {
    if (labels_->currentIndex() < 0 || fields_->currentIndex() < 0) {
        return;
    }
    if (printing_.bind(labels_->currentIndex() + 1, fields_->currentIndex() + 1)) {
        const ReportBindings& b = printing_.bindings();
        bindings_->addItem(oneLine(b.displayText(b.size() - 1)));
    }
}

void ReportPrintWindow::unbind() {
    const int index = bindings_->currentRow();
    if (index < 0) {
        return;
    }
    if (UnbindWithQuestion(printing_.bindings(), static_cast<size_t>(index), prompter_)) {
        delete bindings_->takeItem(index);
    }
}

void ReportPrintWindow::rangeStartChanged() {
    // The end follows a start moved beyond it, so that the range never runs backwards.
    if (fromBox_->currentIndex() > toBox_->currentIndex()) {
        toBox_->setCurrentIndex(KeptRangeEnd(fromBox_->currentIndex(), toBox_->currentIndex()));
    }
}

void ReportPrintWindow::rangeEndChanged() {
    if (toBox_->currentIndex() < fromBox_->currentIndex()) {
        toBox_->setCurrentIndex(KeptRangeEnd(fromBox_->currentIndex(), toBox_->currentIndex()));
    }
}

ReportRowRange ReportPrintWindow::chosenRows() const {
    ReportRangeChoice choice = ReportRangeChoice::AllRows;
    if (oneRow_->isChecked()) {
        choice = ReportRangeChoice::OneRow;
    } else if (fromTo_->isChecked()) {
        choice = ReportRangeChoice::FromTo;
    }
    return ChosenReportRows(choice, oneRowBox_->currentIndex() + 1, fromBox_->currentIndex() + 1,
                            toBox_->currentIndex() + 1, printing_.rowCount());
}

void ReportPrintWindow::print() {
    if (!printing_.hasTemplate()) {
        return;
    }
    const ReportRowRange rows = chosenRows();
    if (rows.first < 1 || rows.last < rows.first || rows.last > printing_.rowCount()) {
        prompter_.message(kNothingToPrint, "提示", Icon::Information);
        return;
    }
    if (splitBox_->isChecked()) {
        writeFiles(rows);
        return;
    }
    PrintJob job;
    job.name = "报表打印";
    job.drawPages = [&](DrawingSurface& printer) { printing_.drawPages(printer, rows); };
    printPath_.print(job);
}

void ReportPrintWindow::splitChosen() {
    const bool split = splitBox_->isChecked();
    folderEdit_->setEnabled(split);
    browseButton_->setEnabled(split);
    patternEdit_->setEnabled(split);
}

void ReportPrintWindow::chooseFolder() {
    QFileDialog dialog(this, QStringLiteral("选择保存PDF文件的文件夹"), folderEdit_->text());
    dialog.setObjectName(QStringLiteral("folderDialog"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    if ((runner_ ? *runner_ : DefaultDialogRunner()).run(dialog) == QDialog::Accepted &&
        !dialog.selectedFiles().isEmpty()) {
        folderEdit_->setText(dialog.selectedFiles().first());
    }
}

void ReportPrintWindow::writeFiles(ReportRowRange rows) {
    const std::string folder = folderEdit_->text().trimmed().toStdString();
    if (folder.empty()) {
        prompter_.message("请选择保存PDF文件的文件夹！", "提示", Icon::Information);
        return;
    }
    if (!DirectoryExists(folder)) {
        prompter_.message("找不到文件夹：" + folder, "提示", Icon::Information);
        return;
    }
    const ReportSource& source = printing_.source();
    std::vector<ReportFile> files;
    if (auto fault = ReportFileNames(*source.table, source.value, rows, patternEdit_->text().toStdString(), files)) {
        prompter_.message(*fault, "提示", Icon::Information);
        return;
    }
    if (files.empty()) {
        prompter_.message(kNothingToPrint, "提示", Icon::Information);
        return;
    }
    // One question before anything is written.
    const std::vector<std::string> existing = ExistingReportFiles(folder, files);
    if (!MayReplaceReportFiles(folder, existing, prompter_)) {
        return;
    }
    RememberDialogFolder(kPdfPattern, folder + "/" + files.front().name);

    StatusSink& status = printPath_.statusSink();
    std::unique_ptr<QProgressDialog> progress;
    if (files.size() > static_cast<size_t>(PrintPath::kProgressPages)) {
        progress = std::make_unique<QProgressDialog>(qs(ReportFilesProgressText(1, static_cast<int>(files.size()))),
                                                     QStringLiteral("取消"), 0, static_cast<int>(files.size()), this);
        progress->setObjectName(QStringLiteral("fileProgress"));
        progress->setWindowTitle(QStringLiteral("打印"));
        progress->setWindowModality(Qt::ApplicationModal);
        progress->setMinimumDuration(0);
        progress->setAutoClose(false);
        progress->setAutoReset(false);
        progress->show();
    } else {
        status.setBusy(true);
    }
    const ReportFilesOutcome outcome = WriteReportFiles(
        folder, files, existing,
        [&](const std::string& path, int row) {
            PrintJob job;
            job.name = source.table->title;
            job.drawPages = [&](DrawingSurface& printer) { printing_.drawPages(printer, {row, row}); };
            return printPath_.writePdf(job, path);
        },
        [&](int n, int count) {
            const std::string text = ReportFilesProgressText(n, count);
            status.setStatus(text);
            if (progress) {
                progress->setLabelText(qs(text));
                progress->setValue(n - 1);
                QApplication::processEvents();
                return !progress->wasCanceled();
            }
            return true;
        });
    progress.reset();
    status.setBusy(false);
    const std::string summary = ReportFilesSummary(outcome);
    status.setStatus(summary);
    if (!outcome.failed.empty()) {
        prompter_.message(summary, "错误", Icon::Error);
    } else if (!outcome.appeared.empty()) {
        prompter_.message(summary, "提示", Icon::Information);
    }
}

void RunReportPrinting(ReportSource source, PrintPath& printPath, Prompter& prompter, DialogRunner& runner,
                       QWidget* owner) {
    ReportPrintWindow window(std::move(source), printPath, prompter, owner);
    window.setDialogRunner(runner);
    runner.run(window);
}

}  // namespace scorvane
