#include "main/formula/ui/formula_editor_dialog.h"

#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "common/qt/dialog_runner.h"
#include "common/qt/screen_twips.h"
#include "main/document/column_widths.h"
#include "main/document/ui/grade_table_model.h"
#include "main/formula/formula_generator.h"

namespace scorvane {
namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// A formula over a whole column of a large table is long; the box keeps all of it.
constexpr int kLongestFormula = 1 << 22;

}  // namespace

FormulaEditorDialog::FormulaEditorDialog(const GradeTable& table, CellAddress target, Prompter& prompter,
                                         QWidget* parent)
    : QDialog(parent), target_(target), prompter_(prompter) {
    setObjectName(QStringLiteral("frm公式编辑"));
    setWindowTitle(QStringLiteral("公式编辑器"));
    setModal(true);

    copy_.table = table;
    copy_.table.clearMarks();

    auto* instruction = new QLabel(qs(kFormulaEditorInstruction), this);
    instruction->setObjectName("Label1");
    instruction->setWordWrap(true);

    grid_ = new QTableView(this);
    grid_->setObjectName("MSFlexGrid1");
    model_ = new GradeTableModel(copy_, this);
    grid_->setModel(model_);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    grid_->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid_->setWordWrap(false);
    grid_->setCornerButtonEnabled(false);
    grid_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grid_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grid_->verticalHeader()->setHighlightSections(false);
    grid_->horizontalHeader()->setHighlightSections(false);
    // The columns fit their titles as in the table window; no cell is measured.
    {
        const QFontMetrics metrics(grid_->font());
        const double twipsPerPixel = TwipsPerPixelX(*this);
        const std::vector<int> widths = GridColumnWidths(copy_.table, [&](std::string_view text) {
            return metrics.horizontalAdvance(qs(text)) * twipsPerPixel;
        });
        for (int c = 1; c < copy_.table.cols(); ++c) {
            grid_->setColumnWidth(c - 1, TwipsToPixelsX(widths[static_cast<size_t>(c)], *this));
        }
        grid_->verticalHeader()->setDefaultSectionSize(metrics.height() + 4);
    }
    QPalette palette = grid_->palette();
    palette.setColor(QPalette::Highlight, QColor(0xDB, 0xD9, 0xF2));
    palette.setColor(QPalette::HighlightedText, QColor(0, 0, 255));
    palette.setColor(QPalette::Inactive, QPalette::Highlight, QColor(0xDB, 0xD9, 0xF2));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText, QColor(0, 0, 255));
    grid_->setPalette(palette);

    operation_ = new QComboBox(this);
    operation_->setObjectName("Combo1");
    for (std::string_view name : kFormulaOperationNames) {
        operation_->addItem(qs(name));
    }
    formula_ = new QLineEdit(this);
    formula_->setObjectName("Text1");
    formula_->setMaxLength(kLongestFormula);
    targetBox_ = new QLineEdit(this);
    targetBox_->setObjectName("Text2");
    targetBox_->setReadOnly(true);
    targetBox_->setFocusPolicy(Qt::NoFocus);
    targetBox_->setMaximumWidth(120);
    value_ = new QLineEdit(this);
    value_->setObjectName("Text3");
    value_->setReadOnly(true);
    value_->setToolTip(QStringLiteral("此处的数据格式可以在菜单项\"设置数据格式\"中更改"));
    ok_ = new QPushButton(QStringLiteral("确定(&O)"), this);
    ok_->setObjectName("Command1");
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("取消"), this);
    cancel_->setObjectName("Command2");
    cancel_->setAutoDefault(false);

    auto* controls = new QGridLayout;
    controls->addWidget(new QLabel(QStringLiteral("选择运算符："), this), 0, 0);
    controls->addWidget(operation_, 0, 1);
    auto* targetRow = new QHBoxLayout;
    targetRow->addStretch();
    targetRow->addWidget(new QLabel(QStringLiteral("公式应用于："), this));
    targetRow->addWidget(targetBox_);
    targetRow->addWidget(new QLabel(QStringLiteral("单元格"), this));
    controls->addLayout(targetRow, 0, 2, 1, 2);
    controls->addWidget(new QLabel(QStringLiteral("生成的公式："), this), 1, 0);
    controls->addWidget(formula_, 1, 1, 1, 3);
    controls->addWidget(new QLabel(QStringLiteral("值："), this), 2, 0);
    controls->addWidget(value_, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    controls->addLayout(buttons, 2, 2, 1, 2);
    controls->setColumnStretch(1, 1);
    controls->setColumnStretch(2, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(instruction);
    layout->addWidget(grid_, 1);
    layout->addLayout(controls);
    resize(680, 480);

    // Opening: "求和", the target shown, the cursor on the target with nothing selected yet.
    operation_->setCurrentIndex(0);
    targetBox_->setText(qs(TargetCellText(target_)));
    ok_->setEnabled(false);
    if (target_.row >= 1 && target_.col >= 1 && copy_.table.contains(target_.row, target_.col)) {
        grid_->selectionModel()->setCurrentIndex(model_->indexOf(target_.row, target_.col),
                                                 QItemSelectionModel::NoUpdate);
    }

    grid_->installEventFilter(this);
    grid_->viewport()->installEventFilter(this);
    grid_->horizontalHeader()->viewport()->installEventFilter(this);
    grid_->verticalHeader()->viewport()->installEventFilter(this);
    connect(grid_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &FormulaEditorDialog::selectionChanged);
    connect(operation_, &QComboBox::currentIndexChanged, this, &FormulaEditorDialog::generate);
    connect(formula_, &QLineEdit::textChanged, this, &FormulaEditorDialog::check);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

FormulaEditorDialog::~FormulaEditorDialog() {
    // The grid and its model read the copy, which goes before the widgets the base class deletes.
    delete grid_;
    delete model_;
}

std::string FormulaEditorDialog::公式2值b(std::string_view formula) const {
    return scorvane::公式2值b(copy_.table, formula, target_);
}

std::string FormulaEditorDialog::formula() const {
    return formula_->text().toStdString();
}

std::string FormulaEditorDialog::acceptedText() const {
    return AcceptedFormulaText(formula());
}

void FormulaEditorDialog::selectCells(CellAddress from, CellAddress to) {
    const GradeTable& t = copy_.table;
    if (from.row < 1 || from.col < 1 || to.row < 1 || to.col < 1 || !t.contains(from.row, from.col) ||
        !t.contains(to.row, to.col)) {
        return;
    }
    selectedByHeader_ = false;
    QItemSelectionModel* selection = grid_->selectionModel();
    const QModelIndex end = model_->indexOf(to.row, to.col);
    selection->setCurrentIndex(end, QItemSelectionModel::NoUpdate);
    selection->select(QItemSelection(model_->indexOf(from.row, from.col), end),
                      QItemSelectionModel::ClearAndSelect);
}

void FormulaEditorDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The target's row in the middle of the grid, once the grid has its size.
    if (!shownOnce_ && grid_->currentIndex().isValid()) {
        grid_->scrollTo(grid_->currentIndex(), QAbstractItemView::PositionAtCenter);
    }
    shownOnce_ = true;
}

bool FormulaEditorDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == grid_->viewport()) {
            selectedByHeader_ = false;
        } else if (watched == grid_->horizontalHeader()->viewport() ||
                   watched == grid_->verticalHeader()->viewport()) {
            selectedByHeader_ = true;
        }
    } else if (event->type() == QEvent::KeyPress) {
        selectedByHeader_ = false;
    }
    if (event->type() == QEvent::MouseButtonRelease && selectionPending_) {
        selectionPending_ = false;
        generate();
    }
    return QDialog::eventFilter(watched, event);
}

void FormulaEditorDialog::selectionChanged() {
    // While the mouse drags a block the formula waits for the button to be let go: the block is the
    // user's choice only then, and a refusal must not interrupt the drag.
    if (QGuiApplication::mouseButtons() != Qt::NoButton) {
        selectionPending_ = true;
        return;
    }
    generate();
}

void FormulaEditorDialog::generate() {
    const QItemSelection ranges = grid_->selectionModel()->selection();
    if (ranges.isEmpty()) {
        return;
    }
    // The block runs from where the selection started to the cell the cursor stands on; whole rows or
    // columns selected through their headers run from the top left.
    const QItemSelectionRange& range = ranges.first();
    QModelIndex first = range.topLeft();
    QModelIndex last = range.bottomRight();
    const QModelIndex current = grid_->currentIndex();
    if (!selectedByHeader_ && current.isValid() && range.contains(current) &&
        (current.row() == range.top() || current.row() == range.bottom()) &&
        (current.column() == range.left() || current.column() == range.right())) {
        last = current;
        first = model_->index(current.row() == range.top() ? range.bottom() : range.top(),
                              current.column() == range.left() ? range.right() : range.left());
    }
    const CellAddress from{GradeTableModel::tableRow(first), GradeTableModel::tableCol(first)};
    const CellAddress to{GradeTableModel::tableRow(last), GradeTableModel::tableCol(last)};
    const auto operation = static_cast<FormulaOperation>(std::max(0, operation_->currentIndex()));
    const QString generated = qs(GenerateFormula(operation, from, to, target_));
    if (generated == formula_->text()) {
        return;
    }
    generating_ = true;
    formula_->setText(generated);
    generating_ = false;
    formula_->setCursorPosition(0);
}

void FormulaEditorDialog::check() {
    const FormulaCheck result = boxCheck_.check(copy_.table, formula(), target_, generating_, prompter_);
    if (result.value) {
        value_->setText(qs(*result.value));
    }
    ok_->setEnabled(result.acceptEnabled);
}

std::optional<std::string> RunFormulaEditor(const GradeTable& table, CellAddress target, Prompter& prompter,
                                            DialogRunner& runner, QWidget* owner) {
    FormulaEditorDialog dialog(table, target, prompter, owner);
    if (runner.run(dialog) != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.acceptedText();
}

}  // namespace scorvane
