#include "main/printing/ui/chart_dialog.h"

#include <QClipboard>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QValidator>
#include <cmath>

#include "common/qt/dialog_runner.h"
#include "common/qt/print_path.h"
#include "common/qt/qt_surface.h"
#include "main/document/data_file.h"
#include "main/document/grade_table.h"
#include "main/printing/chart_axis.h"

namespace scorvane {
namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

std::string utf8(const QString& s) {
    return s.toStdString();
}

// Keeps only the digits of what enters the maximum and segment boxes (ChartBoxDigits), so that the
// editing keys (Delete, Ctrl+A, Ctrl+C, Ctrl+V, Ctrl+Z) keep their use. A change that brings no digit
// is refused whole, which leaves the box and its undo steps as they were.
class DigitsValidator : public QValidator {
  public:
    DigitsValidator(const QString& text, QObject* parent) : QValidator(parent), accepted_(text) {}

    State validate(QString& input, int& pos) const override {
        const QString digits = qs(ChartBoxDigits(utf8(input)));
        if (digits != input) {
            if (digits == accepted_) {
                return Invalid;
            }
            pos = static_cast<int>(qs(ChartBoxDigits(utf8(input.left(pos)))).size());
            input = digits;
        }
        accepted_ = input;
        return Acceptable;
    }

  private:
    mutable QString accepted_;  // the box's text after the last change let in
};

}  // namespace

ChartDialog::ChartDialog(const GradeTable& table, CellValueFn value, PrintPath& printPath, Prompter& prompter,
                         QWidget* owner)
    : QDialog(owner),
      table_(table),
      value_(std::move(value)),
      printPath_(printPath),
      prompter_(prompter),
      picture_(QtSurface::ForImage(kChartPreviewWidth, kChartPreviewHeight)) {
    setObjectName(QStringLiteral("frm图表"));
    setWindowTitle(QStringLiteral("图表（A4纵向，约半张）"));
    build();

    // Loading: the title, the fields (the last one current), the first field naming the rows.
    title_->setText(qs(table_.title));
    for (int c = 1; c < table_.cols(); ++c) {
        auto* item = new QListWidgetItem(qs(table_.cell(0, c)), fields_);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        displayField_->addItem(qs(table_.cell(0, c)));
    }
    fields_->setCurrentRow(fields_->count() - 1);
    displayField_->setCurrentIndex(displayField_->count() > 0 ? 0 : -1);
    displayFieldChosen();
    chartTypeChosen();
    showPicture();
    // From now on what is chosen may change the axis offered.
    connect(fields_, &QListWidget::itemChanged, this, &ChartDialog::offerAxis);
    connect(rows_, &QListWidget::itemSelectionChanged, this, &ChartDialog::offerAxis);
    connect(barChart_, &QRadioButton::toggled, this, &ChartDialog::offerAxis);
}

ChartDialog::~ChartDialog() = default;

void ChartDialog::build() {
    auto label = [this](const char* text) {
        auto* l = new QLabel(QString::fromUtf8(text), this);
        l->setWordWrap(true);
        return l;
    };
    title_ = new QLineEdit(this);
    title_->setObjectName("Text6");
    fields_ = new QListWidget(this);
    fields_->setObjectName("List1");
    displayField_ = new QComboBox(this);
    displayField_->setObjectName("Combo1");
    rows_ = new QListWidget(this);
    rows_->setObjectName("List2");
    rows_->setSelectionMode(QAbstractItemView::MultiSelection);

    lineChart_ = new QRadioButton(QStringLiteral("折线图"), this);
    lineChart_->setObjectName("Option1");
    barChart_ = new QRadioButton(QStringLiteral("柱形图"), this);
    barChart_->setObjectName("Option2");
    lineChart_->setChecked(true);
    orderPanel_ = new QFrame(this);
    orderPanel_->setObjectName("Frame1");
    descending_ = new QRadioButton(QStringLiteral("降序↑"), orderPanel_);
    descending_->setObjectName("Option4");
    ascending_ = new QRadioButton(QStringLiteral("升序↓"), orderPanel_);
    ascending_->setObjectName("Option3");
    descending_->setChecked(true);
    auto* order = new QHBoxLayout(orderPanel_);
    order->setContentsMargins(0, 0, 0, 0);
    order->addWidget(descending_);
    order->addWidget(ascending_);

    maximum_ = new QLineEdit(QStringLiteral("100"), this);
    maximum_->setObjectName("Text2");
    minimum_ = new QLineEdit(QStringLiteral("0"), this);
    minimum_->setObjectName("Text1");
    segments_ = new QLineEdit(QStringLiteral("5"), this);
    segments_->setObjectName("Text3");
    // More grid lines than this could not be told apart on the chart's 3500 twips.
    segments_->setMaxLength(3);
    for (QLineEdit* box : {maximum_, minimum_, segments_}) {
        box->setMaximumWidth(80);
    }
    for (QLineEdit* box : {maximum_, segments_}) {
        box->setValidator(new DigitsValidator(box->text(), box));
        box->installEventFilter(this);
    }

    pictureLabel_ = new QLabel(this);
    pictureLabel_->setObjectName("Picture1");
    pictureLabel_->setFixedSize(picture_->image() ? picture_->image()->size() : QSize(500, 320));
    pictureLabel_->setFrameStyle(QFrame::Box | QFrame::Plain);
    previewButton_ = new QPushButton(QStringLiteral("刷新预览"), this);
    previewButton_->setObjectName("Command4");
    printButton_ = new QPushButton(QStringLiteral("打印"), this);
    printButton_->setObjectName("Command5");
    saveLink_ = new QLabel(QStringLiteral("<a href=\"save\">保存图片</a>"), this);
    saveLink_->setObjectName("Label9");
    saveLink_->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    barHelp_ = label("柱形图：反映数名学生某一科分数的横向比较。");
    barHelp_->setObjectName("Label8");
    lineHelp_ = label("折线图：反映一个学生的名次/分数（各科或各次）变化");
    lineHelp_->setObjectName("Label7");
    barHelp_->hide();
    lineChart_->installEventFilter(this);
    barChart_->installEventFilter(this);

    auto* left = new QVBoxLayout;
    left->addWidget(label("图表标题："));
    left->addWidget(title_);
    left->addWidget(label("生成图表的数据(字段)：（在需要的字段上打勾）,所选字段必须是数字类型。"));
    left->addWidget(fields_, 1);
    auto* display = new QHBoxLayout;
    display->addWidget(label("显示字段："));
    display->addWidget(displayField_, 1);
    left->addLayout(display);
    left->addWidget(label("要做图的行：（选中需要的行）"));
    left->addWidget(rows_, 2);

    auto* type = new QHBoxLayout;
    type->addWidget(label("图表类型："));
    type->addWidget(lineChart_);
    type->addWidget(barChart_);
    type->addSpacing(24);
    type->addWidget(orderPanel_);
    type->addStretch();

    auto* axis = new QHBoxLayout;
    axis->addWidget(label("最大值："));
    axis->addWidget(maximum_);
    axis->addWidget(label("最小值："));
    axis->addWidget(minimum_);
    axis->addWidget(label("分："));
    axis->addWidget(segments_);
    axis->addWidget(label("个段。"));
    axis->addStretch();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(previewButton_);
    buttons->addWidget(printButton_);
    buttons->addWidget(saveLink_);
    buttons->addStretch();

    auto* right = new QVBoxLayout;
    right->addLayout(type);
    right->addWidget(lineHelp_);
    right->addWidget(barHelp_);
    right->addLayout(axis);
    right->addWidget(pictureLabel_);
    right->addLayout(buttons);
    right->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(right);
    resize(900, 560);

    connect(displayField_, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &ChartDialog::displayFieldChosen);
    connect(lineChart_, &QRadioButton::toggled, this, &ChartDialog::chartTypeChosen);
    connect(previewButton_, &QPushButton::clicked, this, &ChartDialog::preview);
    connect(printButton_, &QPushButton::clicked, this, &ChartDialog::print);
    connect(saveLink_, &QLabel::linkActivated, this, &ChartDialog::savePicture);
}

bool ChartDialog::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == maximum_ || watched == segments_) && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) {
        // The digits of the clipboard go in as one undoable step.
        const QString digits = qs(ChartBoxDigits(utf8(QGuiApplication::clipboard()->text())));
        if (!digits.isEmpty()) {
            static_cast<QLineEdit*>(watched)->insert(digits);
        }
        return true;
    }
    if (event->type() == QEvent::Enter && (watched == lineChart_ || watched == barChart_)) {
        lineHelp_->setVisible(watched == lineChart_);
        barHelp_->setVisible(watched == barChart_);
    }
    return QDialog::eventFilter(watched, event);
}

void ChartDialog::displayFieldChosen() {
    const int column = displayField_->currentIndex() + 1;
    // Each entry shows its row's value of the display field; the rows chosen stay chosen.
    QStringList texts;
    for (int r = 1; r < table_.rows(); ++r) {
        const bool valid = column >= 1 && column < table_.cols();
        texts << (valid ? qs(value_ ? value_(r, column) : table_.cell(r, column)) : QString());
    }
    if (rows_->count() != texts.size()) {
        rows_->clear();
        rows_->addItems(texts);
        return;
    }
    for (int i = 0; i < texts.size(); ++i) {
        rows_->item(i)->setText(texts[i]);
    }
}

void ChartDialog::chartTypeChosen() {
    orderPanel_->setVisible(lineChart_->isChecked());
}

void ChartDialog::offerAxis() {
    const ChartType type = chosenType();
    const ChartData data = chosenData();
    const ChartAxis axis = OfferedChartAxis(ChartedValues(data, type, value_), type);
    // A box the teacher has changed keeps what was typed.
    const auto number = [](double v) { return QString::number(static_cast<long long>(std::llround(v))); };
    if (maximum_->text() == number(offered_.maximum)) {
        maximum_->setText(number(axis.maximum));
    }
    if (minimum_->text() == number(offered_.minimum)) {
        minimum_->setText(number(axis.minimum));
    }
    offered_ = axis;
}

ChartType ChartDialog::chosenType() const {
    if (barChart_->isChecked()) {
        return ChartType::Bar;
    }
    return ascending_->isChecked() ? ChartType::LineDown : ChartType::LineUp;
}

ChartData ChartDialog::chosenData() const {
    ChartData data;
    for (int i = 0; i < rows_->count(); ++i) {
        if (rows_->item(i)->isSelected()) {
            data.rows.push_back(i + 1);
            data.rowLabels.push_back(utf8(rows_->item(i)->text()));
        }
    }
    for (int i = 0; i < fields_->count(); ++i) {
        if (fields_->item(i)->checkState() == Qt::Checked) {
            data.fields.push_back(i + 1);
            data.fieldNames.push_back(table_.cell(0, i + 1));
        }
    }
    data.maximum = ChartValue(utf8(maximum_->text()));
    data.minimum = ChartValue(utf8(minimum_->text()));
    data.segments = static_cast<int>(ChartValue(utf8(segments_->text())));
    data.title = utf8(title_->text());
    data.printTime = NowChartPrintTimeText();
    return data;
}

bool ChartDialog::checkedData(ChartData& data) {
    data = chosenData();
    if (!CheckChartChoice(data, chosenType(), prompter_)) {
        return false;
    }
    maximum_->setText(qs(ChartBoxText(utf8(maximum_->text()))));
    segments_->setText(qs(ChartBoxText(utf8(segments_->text()))));
    return true;
}

bool ChartDialog::preview() {
    ChartData data;
    if (!checkedData(data)) {
        return false;
    }
    DrawChart(*picture_, kChartPreviewScale, ChartOutput::Preview, chosenType(), data, value_);
    showPicture();
    return true;
}

void ChartDialog::print() {
    ChartData data;
    if (!checkedData(data)) {
        return;
    }
    const ChartType type = chosenType();
    PrintJob job;
    job.name = data.title.empty() ? std::string("图表") : data.title;
    job.drawPages = [&](DrawingSurface& printer) {
        DrawChart(printer, kChartPrintScale, ChartOutput::Printer, type, data, value_);
    };
    printPath_.print(job);
}

void ChartDialog::savePicture() {
    const std::string path = prompter_.saveFile("*.bmp");
    if (path.empty()) {
        return;
    }
    if (!picture_->saveImage(path)) {
        prompter_.message(kSaveFailedMessage, "错误", Icon::Error);
    }
}

void ChartDialog::showPicture() {
    if (const QImage* image = picture_->image()) {
        pictureLabel_->setPixmap(QPixmap::fromImage(*image));
    }
}

void RunChartDialog(const GradeTable& table, CellValueFn value, PrintPath& printPath, Prompter& prompter,
                    DialogRunner& runner, QWidget* owner) {
    ChartDialog dialog(table, std::move(value), printPath, prompter, owner);
    runner.run(dialog);
}

}  // namespace scorvane
