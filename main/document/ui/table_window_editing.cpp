// The table window's typing: the cell editor laid over the current cell, the keys that open it and
// those it answers, the formula bar beside it, and the grid's context menu.
#include <QAction>
#include <QCheckBox>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>

#include "main/document/ui/cell_editor.h"
#include "main/document/ui/grade_table_model.h"
#include "main/document/ui/table_window.h"
#include "main/document/ui/table_window_host.h"
#include "main/exchange/csv_import.h"
#include "main/formula/formula_bar.h"
#include "main/formula/formula_commands.h"

namespace scorvane {
namespace {

QString qs(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The editor's text colour (dark blue).
const QColor kEditorText(0, 0, 0xC0);

}  // namespace

QLineEdit* TableWindow::cellEditor() const {
    return cellEditor_;
}

void TableWindow::buildEditing() {
    // The editor lives in the grid's viewport: it scrolls with its cell and is clipped where the
    // viewport ends, so it never covers the titles or the row numbers.
    cellEditor_ = new CellEditor(grid_->viewport());
    QFont editorFont(QStringLiteral("宋体"));
    editorFont.setPointSize(12);
    editorFont.setBold(true);
    cellEditor_->setFont(editorFont);
    QPalette editorPalette = cellEditor_->palette();
    editorPalette.setColor(QPalette::Text, kEditorText);
    editorPalette.setColor(QPalette::Base, Qt::white);
    cellEditor_->setPalette(editorPalette);
    // The typed text starts where the cell's text stands: the grid leaves the style's focus margin
    // and one pixel before a cell's text, the box two pixels of its own.
    const int cellMargin = grid_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid_) + 1;
    cellEditor_->setTextMargins(std::max(0, cellMargin - 1), 0, 0, 0);
    cellEditor_->hide();

    // The editor's keys go to EditKeyCode first.
    cellEditor_->installEventFilter(this);
    connect(cellEditor_, &CellEditor::focusGained, this, &TableWindow::editorFocusGained);
    connect(cellEditor_, &CellEditor::focusLost, this, &TableWindow::editorFocusLost);
    connect(cellEditor_, &QLineEdit::textChanged, this, &TableWindow::editorTextChanged);
    // A key typed into the editor marks the table changed.
    connect(cellEditor_, &QLineEdit::textEdited, this, [this] { document_.setModified(); });

    // The editor follows its cell when the grid scrolls or a column or row changes size.
    auto follow = [this] {
        if (editing()) {
            placeEditor(*grid_, *cellEditor_);
        }
    };
    connect(grid_->horizontalScrollBar(), &QScrollBar::valueChanged, this, follow);
    connect(grid_->verticalScrollBar(), &QScrollBar::valueChanged, this, follow);
    connect(grid_->horizontalHeader(), &QHeaderView::sectionResized, this, follow);
    connect(grid_->verticalHeader(), &QHeaderView::sectionResized, this, follow);
    connect(grid_->horizontalHeader(), &QHeaderView::geometriesChanged, this, follow);

    // Double-click on a cell opens the editor on the cell's own text; the titles and the row numbers
    // are the grid's headers, where a double-click opens nothing.
    connect(grid_, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) {
            MSFlexGridEdit(*grid_, *cellEditor_, QStringLiteral(" "));
        }
    });

    // The formula bar. Its Ctrl+A, Ctrl+Z and Del are the edit menu's (isEditMenuKey).
    valueBox()->installEventFilter(this);
    connect(valueBox(), &QLineEdit::textEdited, this, &TableWindow::formulaBarEdited);
    connect(valueBox(), &QLineEdit::returnPressed, this, &TableWindow::commitFormulaBar);
    connect(formulaCheck(), &QCheckBox::clicked, this, &TableWindow::formulaTickClicked);
    connect(formulaEditorButton(), &QPushButton::clicked, this, &TableWindow::openFormulaEditor);

    buildContextMenu();
}

// ---- the cell editor

bool TableWindow::editing() const {
    return !cellEditor_->isHidden();
}

bool TableWindow::moveToEditTarget() {
    std::optional<CellPosition> target = EditTarget(document_.table, currentRow(), currentCol());
    if (!target) {
        return false;
    }
    if (target->row != currentRow() || target->col != currentCol()) {
        setCurrentCell(target->row, target->col);
    }
    return true;
}

bool TableWindow::MSFlexGridEdit(QTableView& grid, QLineEdit& editor, const QString& key) {
    std::optional<CellPosition> target = EditTarget(document_.table, currentRow(), currentCol());
    if (!target) {
        return false;
    }
    std::optional<std::string> text = EditorTextForKey(document_.table, *target, key.toStdString());
    if (!text) {
        return false;
    }
    moveToEditTarget();
    OpenCellEditor(document_);
    editorCell_ = *target;
    grid.scrollTo(grid.model()->index(target->row - 1, target->col - 1));
    placeEditor(grid, editor);
    editor.show();
    editor.raise();
    editor.setText(qs(*text));
    editor.setCursorPosition(static_cast<int>(editor.text().size()));
    editor.setFocus(Qt::OtherFocusReason);
    return true;
}

void TableWindow::placeEditor(QTableView& grid, QLineEdit& editor) {
    QRect cell = grid.visualRect(grid.model()->index(editorCell_.row - 1, editorCell_.col - 1));
    // The grid draws its lines on the last pixel row and column of every cell: the editor covers
    // the inside of the cell and leaves the lines around it standing.
    if (grid.showGrid()) {
        cell.adjust(0, 0, -1, -1);
    }
    editor.setGeometry(cell);
}

void TableWindow::commitEditor() {
    if (!editing()) {
        return;
    }
    const CellPosition cell = editorCell_;
    std::string text = cellEditor_->text().toStdString();
    hideEditor();
    CommitCellEditor(document_, cell, std::move(text));
    cellChanged(cell.row, cell.col);
}

void TableWindow::hideEditor() {
    if (!editing()) {
        return;
    }
    if (cellEditor_->hasFocus()) {
        grid_->setFocus(Qt::OtherFocusReason);
    }
    cellEditor_->hide();
    // The Undo command comes back whichever way the editor went.
    editorFocusLost();
}

bool TableWindow::EditKeyCode(QTableView& grid, QLineEdit& editor, int keyCode, Qt::KeyboardModifiers shift) {
    if (editor.isHidden() || (shift & (Qt::ControlModifier | Qt::AltModifier))) {
        return false;
    }
    const CellPosition from = editorCell_;
    switch (keyCode) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            grid.setFocus(Qt::OtherFocusReason);
            // The entry is written even when Enter finds no other cell to move to (a table of one
            // cell, or one row with the cursor moving down the column).
            commitEditor();
            moveFromEditor(CellAfterEnter(document_.table, from, host_.enterDirection()));
            return true;
        case Qt::Key_Escape:
            grid.setFocus(Qt::OtherFocusReason);
            hideEditor();
            showPosition();
            return true;
        case Qt::Key_Up:
            grid.setFocus(Qt::OtherFocusReason);
            moveFromEditor(CellAfterUp(document_.table, from));
            return true;
        case Qt::Key_Down:
            grid.setFocus(Qt::OtherFocusReason);
            moveFromEditor(CellAfterDown(document_.table, from));
            return true;
        default:
            return false;
    }
}

void TableWindow::moveFromEditor(CellPosition to) {
    // Leaving the cell writes the entry into it.
    if (to != CellPosition{currentRow(), currentCol()}) {
        setCurrentCell(to.row, to.col);
    }
}

void TableWindow::editorFocusGained() {
    if (!editorFocused_) {
        editorFocused_ = true;
        document_.editorGotFocus();
    }
}

void TableWindow::editorFocusLost() {
    if (editorFocused_) {
        editorFocused_ = false;
        document_.editorLostFocus();
    }
}

void TableWindow::editorTextChanged(const QString& text) {
    // The value box mirrors the editor; the formula bar's state follows without writing anything.
    if (editing()) {
        valueBox()->setText(text);
        valueBox()->setCursorPosition(0);
        showFormulaBarState();
    }
}

// ---- the grid's keys and mouse

bool TableWindow::gridKeyPressed(QKeyEvent* event) {
    // The Menu key and Shift+F10 open the cell menu at the current cell, as a right click does there.
    if (event->key() == Qt::Key_Menu ||
        (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier)) {
        showContextMenuAtCurrentCell();
        return true;
    }
    // Ctrl and Alt combinations are commands, not text (AltGr, which gives text, sends both).
    const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    const bool alt = event->modifiers().testFlag(Qt::AltModifier);
    if (ctrl != alt || event->text().isEmpty()) {
        return false;
    }
    return MSFlexGridEdit(*grid_, *cellEditor_, event->text());
}

bool TableWindow::gridInputMethod(QInputMethodEvent* event) {
    // Chinese characters arrive from the input method as a committed string: the editor opens
    // holding it, and the keys that follow go to the editor.
    if (event->commitString().isEmpty()) {
        return false;
    }
    return MSFlexGridEdit(*grid_, *cellEditor_, event->commitString());
}

bool TableWindow::gridRightPressed(QMouseEvent* event) {
    if (event->button() != Qt::RightButton) {
        return false;
    }
    QModelIndex index = grid_->indexAt(event->position().toPoint());
    if (!index.isValid()) {
        return true;
    }
    showContextMenu(GradeTableModel::tableRow(index), GradeTableModel::tableCol(index),
                    event->globalPosition().toPoint());
    return true;
}

// ---- the formula bar

bool TableWindow::currentIsDataCell() const {
    return IsDataCell(document_.table, currentRow(), currentCol());
}

void TableWindow::showFormulaBarState() {
    const FormulaBarView view =
        DescribeFormulaBar(document_.table, currentRow(), currentCol(), valueBox()->text().toStdString());
    formulaCheck()->setChecked(view.formulaTicked);
    valueLabel()->setEnabled(view.valueEnabled);
    valueLabel()->setText(qs(view.valueText));
    // Only a data cell takes text from the bar.
    const bool dataCell = currentIsDataCell();
    formulaCheck()->setEnabled(dataCell);
    valueBox()->setReadOnly(!dataCell);
}

void TableWindow::formulaBarEdited(const QString&) {
    document_.setModified();
    const bool wasTicked = formulaCheck()->isChecked();
    showFormulaBarState();
    // Text that turns into a formula, or stops being one, goes into the cell at once.
    if (formulaCheck()->isChecked() != wasTicked) {
        commitFormulaBar();
    }
}

void TableWindow::formulaTickClicked(bool ticked) {
    if (!currentIsDataCell()) {
        showFormulaBarState();
        return;
    }
    valueBox()->setText(qs(ApplyFormulaTick(valueBox()->text().toStdString(), ticked)));
    commitFormulaBar();
}

void TableWindow::setFormulaBarText(const QString& text) {
    const bool wasTicked = formulaCheck()->isChecked();
    valueBox()->setText(text);
    valueBox()->setCursorPosition(0);
    showFormulaBarState();
    if (formulaCheck()->isChecked() != wasTicked) {
        commitFormulaBar();
    }
}

void TableWindow::commitFormulaBar() {
    if (!currentIsDataCell()) {
        return;
    }
    const QString text = valueBox()->text();
    const CellPosition cell{currentRow(), currentCol()};
    CommitFormulaBar(document_, cell.row, cell.col, text.toStdString());
    if (editing() && editorCell_ == cell) {
        const QSignalBlocker quiet(cellEditor_);
        cellEditor_->setText(text);
    }
    cellChanged(cell.row, cell.col);
}

// ---- the context menu

void TableWindow::buildContextMenu() {
    contextMenu_ = new QMenu(QStringLiteral("右键菜单1"), this);
    contextMenu_->setObjectName("menuPop1");
    QAction* edit = contextMenu_->addAction(QStringLiteral("编辑选中单元格(&E)"));
    edit->setObjectName("menuEditit");
    connect(edit, &QAction::triggered, this, &TableWindow::editSelectedCell);
    QAction* import = contextMenu_->addAction(QStringLiteral("从CS&V文件导入到该列"));
    import->setObjectName("menuImportCVS");
    connect(import, &QAction::triggered, this, &TableWindow::importCsvIntoColumn);
    applyFormulaAction_ = contextMenu_->addAction(QStringLiteral("设置该公式为本列公式(&S)"));
    applyFormulaAction_->setObjectName("menuSetGStoLine");
    connect(applyFormulaAction_, &QAction::triggered, this, &TableWindow::applyFormulaToColumn);
}

void TableWindow::showContextMenu(int row, int col, const QPoint& globalPos) {
    if (!IsDataCell(document_.table, row, col)) {
        return;
    }
    // The cell under the pointer becomes the current cell (an open editor is committed on the way).
    setCurrentCell(row, col);
    applyFormulaAction_->setEnabled(CanApplyFormulaToColumn(document_.table, row, col));
    contextMenu_->popup(globalPos);
}

void TableWindow::showContextMenuAtCurrentCell() {
    if (contextMenu_->isVisible()) {  // the platform may send the Menu key as a menu request too
        return;
    }
    grid_->scrollTo(grid_->model()->index(currentRow() - 1, currentCol() - 1));
    const QRect cell = grid_->visualRect(grid_->model()->index(currentRow() - 1, currentCol() - 1));
    showContextMenu(currentRow(), currentCol(), grid_->viewport()->mapToGlobal(cell.center()));
}

void TableWindow::editSelectedCell() {
    MSFlexGridEdit(*grid_, *cellEditor_, QStringLiteral(" "));
}

void TableWindow::importCsvIntoColumn() {
    commitEditor();
    if (!currentIsDataCell()) {
        return;
    }
    const CsvImportOutcome outcome = menuImportCVS(document_, currentCol(), host_.prompter(), windowStatus());
    if (outcome == CsvImportOutcome::Imported) {
        model_->cellsChanged();
        showPosition();
    }
}

void TableWindow::applyFormulaToColumn() {
    commitEditor();
    if (ApplyFormulaToColumn(document_, currentRow(), currentCol(), host_.prompter())) {
        model_->cellsChanged();
    }
}

}  // namespace scorvane
