#include "main/printing/ui/print_setup_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStringList>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "common/qt/dialog_runner.h"
#include "common/qt/print_path.h"
#include "common/qt/screen_twips.h"
#include "common/recorded_pages.h"
#include "main/printing/ui/scrolled_page.h"

namespace scorvane {
namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

std::string utf8(const QString& s) {
    return s.toStdString();
}

QStringList choices(const std::vector<std::string>& entries) {
    QStringList list;
    list.reserve(static_cast<qsizetype>(entries.size()));
    for (const std::string& e : entries) {
        list << qs(e);
    }
    return list;
}

}  // namespace

PrintSetupWindow::PrintSetupWindow(TablePrintSource source, const TablePrintSettings& initial,
                                   PrintPath& printPath, StatusSink& status, QWidget* owner)
    : QDialog(owner),
      source_(std::move(source)),
      printPath_(printPath),
      status_(status),
      printTime_(TodayPrintTimeText()),
      metrics_(PaperMetrics()),
      preview_(std::make_unique<RecordedPages>(RecordedPages::Kind::Picture, *metrics_)) {
    setObjectName("frmPrintSetup");
    setWindowTitle(QStringLiteral("打印:"));
    build();

    // Opening: the pages and rows offered, the teacher line only when there is a teacher, the title, and
    // the preview.
    const GradeTable& table = *source_.table;
    const int dataRows = std::max(0, table.rows() - 1);
    page_->addItems(choices(PrintPageChoices(dataRows)));
    row_->addItems(choices(PrintRowChoices(dataRows)));
    page_->setCurrentIndex(0);
    row_->setCurrentIndex(0);
    classInfo_->setChecked(initial.showClassInfo);
    teacher_->setChecked(initial.showTeacher);
    fitWidth_->setChecked(initial.fitToPaper);
    rules_->setChecked(initial.drawRules);
    if (table.teacher.empty()) {
        teacher_->setChecked(false);
        teacher_->setEnabled(false);
    }
    title_->setText(qs(table.title));
    refresh();
}

PrintSetupWindow::~PrintSetupWindow() = default;

void PrintSetupWindow::build() {
    auto label = [this](const char* text) { return new QLabel(QString::fromUtf8(text), this); };
    title_ = new QLineEdit(this);
    title_->setObjectName("Text2");
    footer_ = new QLineEdit(this);
    footer_->setObjectName("Text1");
    classInfo_ = new QCheckBox(QStringLiteral("显示班级信息"), this);
    classInfo_->setObjectName("Check3");
    teacher_ = new QCheckBox(QStringLiteral("显示教师"), this);
    teacher_->setObjectName("Check2");
    teacher_->setChecked(true);
    fitWidth_ = new QCheckBox(QStringLiteral("适应纸张大小(A4纸张)"), this);
    fitWidth_->setObjectName("chkColWidth");
    fitWidth_->setChecked(true);
    rules_ = new QCheckBox(QStringLiteral("表格划线"), this);
    rules_->setObjectName("Check1");
    rules_->setChecked(true);
    page_ = new QComboBox(this);
    page_->setObjectName("Combo1");
    row_ = new QComboBox(this);
    row_->setObjectName("Combo2");
    for (QComboBox* box : {page_, row_}) {
        // Six characters hold every choice ("任意", a row number up to 32766), so the box is sized by them
        // instead of by measuring each of a long table's thousands of entries when the window shows.
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(6);
        box->setMaxVisibleItems(20);
    }
    refreshButton_ = new QPushButton(QStringLiteral("刷新(&R)"), this);
    refreshButton_->setObjectName("cmdRefresh");
    printButton_ = new QPushButton(QStringLiteral("打印(&P)"), this);
    printButton_->setObjectName("cmdPrint");
    refreshButton_->setDefault(true);
    view_ = new ScrolledPage(this);

    auto* texts = new QGridLayout;
    texts->addWidget(label("表格标题:"), 0, 0);
    texts->addWidget(title_, 0, 1);
    texts->addWidget(label("页脚文字:"), 1, 0);
    texts->addWidget(footer_, 1, 1);

    auto* checks = new QHBoxLayout;
    for (QCheckBox* box : {classInfo_, teacher_, fitWidth_, rules_}) {
        checks->addWidget(box);
    }
    checks->addStretch();

    auto* range = new QHBoxLayout;
    range->addWidget(label("打印第："));
    range->addWidget(page_);
    range->addWidget(label("页。或第"));
    range->addWidget(row_);
    range->addWidget(label("行。"));
    range->addStretch();
    range->addWidget(refreshButton_);
    range->addWidget(printButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(texts);
    layout->addLayout(checks);
    layout->addLayout(range);
    layout->addWidget(view_, 1);

    // One A4 page wide, as tall as the screen allows.
    const int bar = view_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    ResizeWithinScreen(*this,
                       TwipsToPixelsX(kA4Width, *this) + bar + 2 * layout->contentsMargins().left() + 4);

    // A choice of page or row is kept until 刷新 or 打印. Choosing one puts the other back to 全部 or 任意,
    // so that the window always shows what prints (and whether the title block and trailer come with it).
    connect(page_, qOverload<int>(&QComboBox::activated), this, [this](int index) {
        rowChosenLast_ = false;
        if (index > 0) {
            row_->setCurrentIndex(0);
        }
    });
    connect(row_, qOverload<int>(&QComboBox::activated), this, [this](int index) {
        rowChosenLast_ = true;
        if (index > 0) {
            page_->setCurrentIndex(0);
        }
    });
    connect(refreshButton_, &QPushButton::clicked, this, &PrintSetupWindow::refresh);
    connect(printButton_, &QPushButton::clicked, this, &PrintSetupWindow::print);
}

TablePrintSettings PrintSetupWindow::settings() const {
    TablePrintSettings s;
    s.title = utf8(title_->text());
    s.footer = utf8(footer_->text());
    s.showClassInfo = classInfo_->isChecked();
    s.showTeacher = teacher_->isChecked();
    s.fitToPaper = fitWidth_->isChecked();
    s.drawRules = rules_->isChecked();
    s.page = std::max(0, page_->currentIndex());
    s.row = std::max(0, row_->currentIndex());
    s.rowChosenLast = rowChosenLast_;
    s.printTime = printTime_;
    return s;
}

void PrintSetupWindow::refresh() {
    // The view keeps its place while the pages stay the same (a rule or a title changed); another
    // choice of pages starts at the top, rather than somewhere in the blank below a shorter preview.
    const int pagesBefore = previewPages_;
    if (source_.table) {
        // Per row: each cell's text and rule, the row's rule, and a change of size for a text fitted.
        const auto rows = static_cast<size_t>(source_.table->rows());
        const auto cols = static_cast<size_t>(source_.table->cols());
        preview_->reserve(rows * (3 * cols + 2), rows * cols * 8);
    }
    previewPages_ = PreviewTable(*preview_, source_, settings(), status_).pages;
    view_->setPicture(preview_.get());
    if (previewPages_ != pagesBefore) {
        view_->verticalBar()->setValue(0);
        view_->horizontalBar()->setValue(0);
    }
}

void PrintSetupWindow::print() {
    const TablePrintSettings chosen = settings();
    PrintJob job;
    job.name = chosen.title;
    job.drawPages = [&](DrawingSurface& printer) {
        LayOutTablePages(printer, PrintTarget::Paper, source_, chosen);
    };
    printPath_.print(job);
}

void RunPrintSetup(TablePrintSource source, const TablePrintSettings& initial, PrintPath& printPath,
                   StatusSink& status, DialogRunner& runner, QWidget* owner) {
    PrintSetupWindow window(std::move(source), initial, printPath, status, owner);
    runner.run(window);
}

}  // namespace scorvane
