#include "main/document/ui/table_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QTableView>
#include <algorithm>

#include "common/qt/dialog_runner.h"
#include "common/qt/screen_twips.h"
#include "main/document/class_info.h"
#include "main/document/document_life.h"
#include "main/document/edit_commands.h"
#include "main/document/open_table.h"
#include "main/document/ui/cell_editor.h"
#include "main/document/ui/class_info_dialog.h"
#include "main/document/ui/grade_table_model.h"
#include "main/document/ui/grade_table_view.h"
#include "main/document/ui/table_window_host.h"
#include "main/document/ui/value_strip.h"
#include "main/exchange/table_import.h"

namespace scorvane {
namespace {

QString qs(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

// The window's file commands report to the frame's status panel and busy pointer, and hide the grid
// while they work, which uncovers "表格处理中……".
class TableWindow::WindowStatus : public StatusSink {
  public:
    explicit WindowStatus(TableWindow& window) : window_(window) {}
    void setStatus(std::string_view text) override { window_.host_.statusSink().setStatus(text); }
    void setBusy(bool busy) override {
        window_.setGridHidden(busy);
        window_.host_.statusSink().setBusy(busy);
    }

  private:
    TableWindow& window_;
};

TableWindow::TableWindow(TableWindowHost& host, QWidget* parent)
    : QWidget(parent), host_(host), status_(std::make_unique<WindowStatus>(*this)) {
    setObjectName("Form1");
    setWindowTitle(qs(document_.table.title));
    strip_ = new ValueStrip(this);
    buildBusyLabel();
    buildGrid();
    buildMenus();
    // The undo item and the frame's button follow whatever makes the table's undo available or not.
    document_.setUndoListener([this](bool) { followUndo(); });
    setFocusProxy(grid_);
    resize(sizeHint());
    // Window load: the current column is 0; the header sizes are taken from there.
    setCurrentCell(1, 0);
    recordHeaderSizes();
    // Keys typed into a new window go to the grid.
    grid_->setFocus(Qt::OtherFocusReason);
}

TableWindow::~TableWindow() {
    document_.setUndoListener(nullptr);
    // The grid and its model read the document, which goes before the widgets the base class deletes.
    // Taken apart, the grid and its parts (the cell editor among them) no longer report to this window.
    QList<QObject*> parts = grid_->findChildren<QObject*>();
    parts << grid_ << grid_->selectionModel();
    for (QObject* part : parts) {
        part->removeEventFilter(this);
        part->disconnect(this);
    }
    delete grid_;
    delete model_;
}

StatusSink& TableWindow::windowStatus() {
    return *status_;
}

void TableWindow::setGridHidden(bool hidden) {
    // Hiding the grid sends the focus elsewhere; it comes back when the grid is shown again.
    if (hidden && !grid_->isHidden()) {
        gridHadFocus_ = grid_->hasFocus();
        // A focused widget that hides passes the focus on as Tab would, and the grid answers Tab by
        // moving its current cell: it lets go of the focus first.
        if (gridHadFocus_) {
            grid_->clearFocus();
        }
    }
    grid_->setVisible(!hidden);
    if (!hidden && gridHadFocus_) {
        grid_->setFocus(Qt::OtherFocusReason);
    }
    if (hidden && isVisible()) {
        busyLabel_->repaint();
    }
}

void TableWindow::runWithGridHidden(const std::function<void()>& work) {
    setGridHidden(true);
    work();
    setGridHidden(false);
}

void TableWindow::buildBusyLabel() {
    busyLabel_ = new QLabel(QStringLiteral("表格处理中……"), this);
    busyLabel_->setObjectName("Label3");
    QFont busyFont(QStringLiteral("宋体"));
    busyFont.setPointSizeF(14.25);
    busyFont.setBold(true);
    busyLabel_->setFont(busyFont);
    busyLabel_->adjustSize();
    busyLabel_->move(TwipsToPixelsX(1170, *this), TwipsToPixelsY(780, *this));
}

void TableWindow::buildGrid() {
    model_ = new GradeTableModel(document_, this);
    grid_ = new GradeTableView(*model_, this);
    grid_->setObjectName(QStringLiteral("成绩表"));
    // A width the user drags stays until the titles are set again.
    connect(grid_, &GradeTableView::columnWidthDragged, this,
            [this](int col, int twips) { document_.table.setColumnWidth(col, twips); });
    // The header test and the grid's keys.
    grid_->viewport()->installEventFilter(this);
    grid_->verticalHeader()->installEventFilter(this);
    grid_->horizontalHeader()->installEventFilter(this);
    grid_->installEventFilter(this);

    connect(grid_, &GradeTableView::gridSelectionChanged, this, &TableWindow::gridSelectionChanged);
    buildEditing();

    QFont font(QStringLiteral("宋体"));
    font.setPointSize(9);
    applyTableFont(font);
    grid_->raise();
}

void TableWindow::keepShortcutInWindow(QAction* action) {
    // The editing keys act only while the focus is in this window: Del or Ctrl+V pressed in the school
    // tree must not reach the active table's cells.
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(action);
}

void TableWindow::buildMenus() {
    auto add = [this](QMenu* menu, const char* name, const QString& text) {
        QAction* a = menu->addAction(text);
        a->setObjectName(name);
        return a;
    };

    QMenu* table = new QMenu(QStringLiteral("成绩表(&B)"), this);
    table->setObjectName("menuTable");
    connect(add(table, "menuChangTitile", QStringLiteral("更改表格标题(&T)")), &QAction::triggered, this,
            &TableWindow::changeTitle);
    connect(add(table, "menuClassSetup", QStringLiteral("设置班级信息(&S)")), &QAction::triggered, this,
            &TableWindow::setupClassInfo);
    connect(add(table, "menuSetdataFormat", QStringLiteral("设置数据格式(&D)")), &QAction::triggered, this,
            &TableWindow::setDataFormat);
    connect(add(table, "menuCheckGS", QStringLiteral("检查所有公式有效性(&C)")), &QAction::triggered, this,
            &TableWindow::checkAllFormulas);
    connect(add(table, "menuRun", QStringLiteral("计算所有公式(&R)")), &QAction::triggered, this,
            &TableWindow::computeAllFormulas);
    connect(add(table, "menuStatistics", QStringLiteral("成绩统计(&J)...")), &QAction::triggered, this,
            &TableWindow::showStatistics);
    connect(add(table, "menuProgress", QStringLiteral("进退步分析(&M)...")), &QAction::triggered, this,
            &TableWindow::showProgress);
    connect(add(table, "menuStandardScores", QStringLiteral("标准分(&Z)...")), &QAction::triggered, this,
            &TableWindow::showStandardScores);
    connect(add(table, "menuScoreAssignment", QStringLiteral("等级赋分(&F)...")), &QAction::triggered, this,
            &TableWindow::showScoreAssignment);
    connect(add(table, "menuMarkLevels", QStringLiteral("成绩等级(&G)...")), &QAction::triggered, this,
            &TableWindow::showMarkLevels);
    table->addSeparator();
    QAction* saveAction = add(table, "menuSave", QStringLiteral("保存表格"));
    saveAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(saveAction, &QAction::triggered, this, [this] { save(); });
    connect(add(table, "menuCopyTable", QStringLiteral("表格另存为...(&A)")), &QAction::triggered, this,
            [this] { saveAs(); });
    connect(add(table, "menuexptable", QStringLiteral("导出部分表格(&E)")), &QAction::triggered, this,
            &TableWindow::exportSomeData);
    connect(add(table, "menuSaveCVS", QStringLiteral("保存为C&VS文件(供其它程序调用)")), &QAction::triggered,
            this, &TableWindow::saveCsv);
    connect(add(table, "menuSaveXlsx", QStringLiteral("导出为电子表格(&L)...")), &QAction::triggered, this,
            &TableWindow::exportWorkbook);
    table->addSeparator();
    connect(add(table, "menuDRother", QStringLiteral("导入FoxFro格式表格(&I)")), &QAction::triggered, this,
            &TableWindow::convertFoxPro);
    QMenu* import = table->addMenu(QStringLiteral("导入另一张表格(&I)"));
    import->setObjectName("menuImport");
    connect(add(import, "menuImportAll", QStringLiteral("导入整张表格(&E)")), &QAction::triggered, this,
            &TableWindow::importWholeTable);
    connect(add(import, "menuImportSome", QStringLiteral("导入选定数据到指定位置(&S)")), &QAction::triggered,
            this, &TableWindow::importSomeData);
    connect(add(import, "menuImportSheet", QStringLiteral("从电子表格追加学生(&X)...")), &QAction::triggered,
            this, &TableWindow::importWorkbookRows);
    connect(add(table, "menuOpenSheet", QStringLiteral("导入电子表格(&N)...")), &QAction::triggered, this,
            &TableWindow::importWorkbookAsNewTable);
    connect(add(table, "menuPrintTB", QStringLiteral("打印图表(&H)")), &QAction::triggered, this,
            &TableWindow::printChart);
    connect(add(table, "menuPrintBB", QStringLiteral("打印报表(&B)")), &QAction::triggered, this,
            &TableWindow::printReport);
    QAction* printView = add(table, "menuPrintView", QStringLiteral("打印、预览[表格](&P)"));
    printView->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    connect(printView, &QAction::triggered, this, &TableWindow::printView);
    table->addSeparator();
    connect(add(table, "menuClose", QStringLiteral("关闭(&X)")), &QAction::triggered, this,
            &TableWindow::closeWindow);
    menus_ << table;

    QMenu* edit = new QMenu(QStringLiteral("编辑(&E)"), this);
    edit->setObjectName("menuEdit");
    undoAction_ = add(edit, "menuUndo", QStringLiteral("撤消(&U)"));
    undoAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    keepShortcutInWindow(undoAction_);
    undoAction_->setEnabled(document_.undoAvailable());
    connect(undoAction_, &QAction::triggered, this, &TableWindow::undo);
    edit->addSeparator();
    struct Item {
        const char* name;
        QString text;
        QKeySequence key;
        void (TableWindow::*command)();
    } items[] = {
        {"menuCut", QStringLiteral("剪切(&T)"), QKeySequence(Qt::CTRL | Qt::Key_X), &TableWindow::cut},
        {"menuCopy", QStringLiteral("复制(&C)"), QKeySequence(Qt::CTRL | Qt::Key_C), &TableWindow::copy},
        {"menuPaste", QStringLiteral("粘贴(&P)"), QKeySequence(Qt::CTRL | Qt::Key_V), &TableWindow::paste},
        {"menuDel", QStringLiteral("删除(&L)"), QKeySequence(Qt::Key_Delete), &TableWindow::deleteSelection},
    };
    for (const Item& item : items) {
        QAction* a = add(edit, item.name, item.text);
        a->setShortcut(item.key);
        keepShortcutInWindow(a);
        connect(a, &QAction::triggered, this, item.command);
        if (item.command == &TableWindow::deleteSelection) {
            deleteAction_ = a;
        }
    }
    edit->addSeparator();
    connect(add(edit, "menuFind", QStringLiteral("查找单元格(&F)")), &QAction::triggered, this,
            &TableWindow::findRequested);
    connect(add(edit, "menuChange", QStringLiteral("替换(&R)")), &QAction::triggered, this,
            &TableWindow::replace);
    findResultMenu_ = edit->addMenu(QStringLiteral("转到查找结果(&G)"));
    findResultMenu_->setObjectName("menuGoTo");
    showFindResult(FindResult());
    connect(add(edit, "menuMark", QStringLiteral("清除查找标记(&M)")), &QAction::triggered, this,
            &TableWindow::clearFindMarks);
    edit->addSeparator();
    selectAllAction_ = add(edit, "menuSelAll", QStringLiteral("全选(&A)"));
    selectAllAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    keepShortcutInWindow(selectAllAction_);
    connect(selectAllAction_, &QAction::triggered, this, &TableWindow::selectAll);
    menus_ << edit;

    menus_ << buildFieldMenu();
    menus_ << buildFormatMenu();
}

QAction* TableWindow::action(const char* objectName) const {
    for (QMenu* menu : menus_) {
        if (QAction* a = menu->findChild<QAction*>(QString::fromUtf8(objectName))) {
            return a;
        }
    }
    return nullptr;
}

QString TableWindow::caption() const {
    return qs(ReadOnlyCaption(document_.table.title, document_.file));
}

// ---- the strip and the grid's geometry

QSize TableWindow::sizeHint() const {
    return QSize(TwipsToPixelsX(7500, *this), TwipsToPixelsY(4305, *this));
}

void TableWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutStrip();
}

QSize TableWindow::wholeTableSize() const {
    // The headers as the view lays them out: their wanted size within their own limits.
    const QHeaderView* numbers = grid_->verticalHeader();
    const QHeaderView* titles = grid_->horizontalHeader();
    const int numbersWidth =
        std::clamp(numbers->sizeHint().width(), numbers->minimumWidth(), numbers->maximumWidth());
    const int titlesHeight =
        std::clamp(titles->sizeHint().height(), titles->minimumHeight(), titles->maximumHeight());
    const int frame = 2 * grid_->frameWidth();
    return {numbersWidth + titles->length() + frame,
            strip_->height() + titlesHeight + numbers->length() + frame};
}

void TableWindow::layoutStrip() {
    strip_->placeAcross(width());
    const int strip = strip_->height();
    grid_->setGeometry(0, strip, width(), std::max(0, height() - strip));
}

// ---- the current cell and the selection

GridSelection TableWindow::selection() const {
    return grid_->gridSelection();
}

void TableWindow::setCurrentCell(int row, int col) {
    grid_->setGridSelection(CellInTable(document_.table, row, col));
    // The cell may hold another text now (after a command), though the cursor stayed.
    showPosition();
}

void TableWindow::setSelection(const GridSelection& sel) {
    if (!SelectsDataCells(document_.table, sel)) {
        setCurrentCell(sel.row, sel.col);
        return;
    }
    grid_->setGridSelection(sel);
}

void TableWindow::gridSelectionChanged() {
    const CellPosition current{currentRow(), currentCol()};
    if (current == shownCell_) {
        // Only the far corner moved.
        return;
    }
    // The cursor leaves the cell: an open editor writes its text into the cell it was opened on.
    commitEditor();
    showPosition();
}

void TableWindow::showPosition() {
    const GradeTable& t = document_.table;
    const int row = currentRow();
    const int col = currentCol();
    shownCell_ = {row, col};
    // While the cell is being edited the value box shows the editor's text.
    if (editing() && editorCell_ == shownCell_) {
        valueBox()->setText(cellEditor_->text());
    } else {
        valueBox()->setText(t.contains(row, col) ? qs(t.cell(row, col)) : QString());
    }
    valueBox()->setCursorPosition(0);
    positionBox()->setText(qs(PositionText(row, col)));
    showFormulaBarState();
}

// ---- the header test

bool TableWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == cellEditor_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        return EditKeyCode(*grid_, *cellEditor_, key->key(), key->modifiers());
    }
    if (watched == valueBox() && event->type() == QEvent::ShortcutOverride &&
        isEditMenuKey(static_cast<QKeyEvent*>(event))) {
        // Left unaccepted, the key goes to the edit menu's shortcut instead of the box.
        return true;
    }
    if (watched == grid_) {
        if (event->type() == QEvent::KeyPress) {
            return gridKeyPressed(static_cast<QKeyEvent*>(event));
        }
        if (event->type() == QEvent::InputMethod) {
            return gridInputMethod(static_cast<QInputMethodEvent*>(event));
        }
        if (event->type() == QEvent::ContextMenu &&
            static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
            showContextMenuAtCurrentCell();
            return true;
        }
    } else if (watched == grid_->viewport() && event->type() == QEvent::MouseButtonPress) {
        if (gridRightPressed(static_cast<QMouseEvent*>(event))) {
            return true;
        }
    }
    if (event->type() == QEvent::MouseMove) {
        if (watched == grid_->viewport()) {
            inHeader_ = false;
        } else if (watched == grid_->verticalHeader() || watched == grid_->horizontalHeader()) {
            inHeader_ = true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool TableWindow::isEditMenuKey(QKeyEvent* event) const {
    const QKeySequence key(event->keyCombination());
    for (const QAction* a : {undoAction_, deleteAction_, selectAllAction_}) {
        if (a->shortcut() == key) {
            return true;
        }
    }
    return false;
}

void TableWindow::recordHeaderSizes() {
    const GradeTable& t = document_.table;
    int colWidth = t.columnWidth(0);
    if (colWidth == 0) {
        colWidth = PixelsToTwipsX(grid_->verticalHeader()->width(), *this);
    }
    headerColWidth_ = colWidth;
    int rowHeight = t.rowHeight(currentRow());
    headerRowHeight_ =
        rowHeight ? rowHeight : PixelsToTwipsY(grid_->verticalHeader()->defaultSectionSize(), *this);
}

// ---- fonts and sizes

void TableWindow::applyTableFont(const QFont& font) {
    grid_->setFont(font);
    grid_->horizontalHeader()->setFont(font);
    grid_->verticalHeader()->setFont(font);
    model_->setTableFont(font);
    QFont editorFont = cellEditor_->font();
    editorFont.setFamily(font.family());
    editorFont.setPointSizeF(font.pointSizeF());
    cellEditor_->setFont(editorFont);
    applyLayout();
}

void TableWindow::applyLayout() {
    grid_->applyLayout();
    if (editing()) {
        placeEditor(*grid_, *cellEditor_);
    }
}

void TableWindow::tableReset() {
    // The commands commit an open editor before they change the table; one still open here would
    // stand over a cell that may now hold another field.
    hideEditor();
    model_->tableReset();
    applyLayout();
    // The cursor stays where it was, as far as the table still reaches.
    setCurrentCell(currentRow(), currentCol());
}

void TableWindow::cellChanged(int row, int col) {
    model_->cellChanged(row, col);
    if (row == currentRow() && col == currentCol()) {
        showPosition();
    }
}

// ---- load and save

LoadOutcome TableWindow::loadData(std::string_view name, bool fullname) {
    LoadOutcome outcome = LoadData(document_, name, fullname, host_.prompter(), *status_);
    if (outcome == LoadOutcome::Loaded) {
        showLoaded();
    }
    return outcome;
}

LoadOutcome TableWindow::openTable(const std::string& path) {
    LoadOutcome outcome = OpenTable(document_, path, host_.prompter(), *status_);
    if (outcome == LoadOutcome::Loaded) {
        showLoaded();
    }
    return outcome;
}

void TableWindow::showLoaded() {
    model_->tableReset();
    applyLayout();
    refreshCaption();
    setCurrentCell(1, 0);
    grid_->scrollToTop();
    recordHeaderSizes();
}

SaveOutcome TableWindow::saveData(bool temporary, std::string_view path) {
    return SaveData(document_, temporary, path, host_.prompter(), *status_);
}

SaveOutcome TableWindow::save() {
    commitEditor();
    const SaveOutcome outcome = SaveTable(document_, host_.prompter(), *status_, host_.chosenClassFolder());
    if (outcome == SaveOutcome::Saved) {
        emit tableSaved();
    }
    return outcome;
}

SaveOutcome TableWindow::saveAs() {
    commitEditor();
    const SaveOutcome outcome = SaveTableAs(document_, host_.prompter(), *status_, host_.chosenClassFolder());
    if (outcome == SaveOutcome::Saved) {
        emit tableSaved();
    }
    return outcome;
}

// ---- the table's commands

void TableWindow::importWholeTable() {
    commitEditor();
    const ImportOutcome outcome = menuImportAll(document_, host_.prompter(), *status_);
    if (outcome != ImportOutcome::Cancelled) {
        tableReset();
    }
}

void TableWindow::changeTitle() {
    if (ChangeTableTitle(document_, host_.prompter())) {
        refreshCaption();
    }
}

void TableWindow::setupClassInfo() {
    commitEditor();
    OpenClassInfo(document_, SharedClassInfo());
    if (RunClassInfoDialog(document_, host_.dialogRunner(), host_.dialogOwner())) {
        tableReset();
    }
}

void TableWindow::undo() {
    // An entry still open is written first, so Undo takes back the whole edit.
    commitEditor();
    if (document_.undo()) {
        tableReset();
    }
}

QLineEdit* TableWindow::focusedTextBox() const {
    if (valueBox()->hasFocus()) {
        return valueBox();
    }
    if (cellEditor_->hasFocus()) {
        return cellEditor_;
    }
    return nullptr;
}

// The clipboard commands act on the text of the value box or of the cell editor while one of them
// holds the focus, and on the grid's cells otherwise.

void TableWindow::cut() {
    if (QLineEdit* box = focusedTextBox()) {
        box->cut();
        return;
    }
    commitEditor();
    GridSelection sel = selection();
    std::string text = CutCell(document_, sel);
    QApplication::clipboard()->setText(qs(text));
    cellChanged(sel.rowSel, sel.colSel);
}

void TableWindow::copy() {
    if (QLineEdit* box = focusedTextBox()) {
        box->copy();
        return;
    }
    QApplication::clipboard()->setText(qs(CopyCell(document_.table, selection())));
}

void TableWindow::paste() {
    if (QLineEdit* box = focusedTextBox()) {
        box->paste();
        return;
    }
    commitEditor();
    GridSelection sel = selection();
    PasteCell(document_, sel, QApplication::clipboard()->text().toStdString());
    cellChanged(sel.rowSel, sel.colSel);
}

void TableWindow::deleteSelection() {
    if (QLineEdit* box = focusedTextBox()) {
        // Only the selected text goes; with nothing selected nothing does.
        if (box->hasSelectedText()) {
            box->del();
        }
        return;
    }
    commitEditor();
    DeleteCells(document_, selection());
    grid_->viewport()->update();
    showPosition();
}

void TableWindow::selectAll() {
    commitEditor();
    if (auto all = SelectAll(document_.table)) {
        setSelection(*all);
    }
}

void TableWindow::refreshCaption() {
    setWindowTitle(caption());
    emit captionChanged();
}

void TableWindow::followUndo() {
    undoAction_->setEnabled(document_.undoAvailable());
    emit undoAvailabilityChanged();
}

// ---- closing

void TableWindow::closeWindow() {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        sub->close();
    } else {
        close();
    }
}

void TableWindow::closeEvent(QCloseEvent* event) {
    commitEditor();
    emit closeCheckStarted();
    if (CloseCheck(document_, host_.prompter(), *status_)) {
        // The lock goes with the window, before the window itself is taken apart.
        document_.file.release();
        emit closeAccepted();
        event->accept();
    } else {
        event->ignore();
        emit closeKept();
    }
}

}  // namespace scorvane
