#pragma once

#include <QFont>
#include <QList>
#include <QWidget>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "common/status_sink.h"
#include "main/document/cell_editing.h"
#include "main/document/data_file.h"
#include "main/document/document.h"
#include "main/document/grid_selection.h"
#include "main/document/ui/grade_table_view.h"
#include "main/document/ui/value_strip.h"
#include "main/formula/find_text.h"

class QAction;
class QCheckBox;
class QInputMethodEvent;
class QKeyEvent;
class QMouseEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableView;

namespace scorvane {

class CellEditor;
class GradeTableModel;
class TableWindowHost;

// One open grade table (Form1): the strip with the value box and the position box, the grid over the
// document's table, and the table's own menus, which the frame shows while the window is active.
// Everything the table holds lives in its Document; the window shows it and forwards commands to the
// core.
class TableWindow : public QWidget {
    Q_OBJECT
  public:
    explicit TableWindow(TableWindowHost& host, QWidget* parent = nullptr);
    ~TableWindow() override;

    // The design size of a window's client area, 7500 x 4305 twips: a new window opens at it.
    QSize sizeHint() const override;

    Document& document() { return document_; }
    const Document& document() const { return document_; }
    GradeTableModel& model() { return *model_; }
    QTableView* grid() const { return grid_; }
    TableWindowHost& host() { return host_; }

    // The strip.
    QLineEdit* valueBox() const { return strip_->valueBox(); }
    QLineEdit* positionBox() const { return strip_->positionBox(); }
    QCheckBox* formulaCheck() const { return strip_->formulaCheck(); }
    QLabel* valueLabel() const { return strip_->valueLabel(); }
    QPushButton* formulaEditorButton() const { return strip_->formulaEditorButton(); }
    QLabel* busyLabel() const { return busyLabel_; }
    QLineEdit* cellEditor() const;
    // The grid's context menu (menuPop1).
    QMenu* contextMenu() const { return contextMenu_; }

    // The window's menus in menu-bar order, and its actions by object name ("menuSave").
    const QList<QMenu*>& menus() const { return menus_; }
    QAction* action(const char* objectName) const;

    // The table's title, shown as the window caption, with "（只读）" after it for a read-only table.
    QString caption() const;

    // LoadData and SaveData as the window shows them: "文件读取中..." / "正在保存文件..." in the first
    // status panel, the busy pointer, the grid hidden over "表格处理中……" while the file is read or
    // written, then "就绪". After a load the grid shows the new table with the current column 0.
    LoadOutcome loadData(std::string_view name, bool fullname);
    // Opens the table file `path` (without ".skv") as the frame does (OpenTable): its lock looked at,
    // maybe read-only; shown as after loadData.
    LoadOutcome openTable(const std::string& path);
    SaveOutcome saveData(bool temporary, std::string_view path);

    // The table's commands.
    SaveOutcome save();         // 保存表格
    SaveOutcome saveAs();       // 表格另存为...
    void changeTitle();         // 更改表格标题
    void setupClassInfo();      // 设置班级信息 (also the toolbar's 成绩表属性)
    void importWholeTable();    // 导入整张表格: another table's rows appended below this one's
    void importSomeData();      // 导入选定数据到指定位置: the partial import dialog
    void exportSomeData();      // 导出部分表格: the partial export dialog
    void convertFoxPro();       // 导入FoxFro格式表格: the FoxPro converter
    void showStatistics();      // 成绩统计: the statistics window; its results open as new tables
    void showProgress();        // 进退步分析: this table against an earlier one, as a new table
    void showStandardScores();  // 标准分: this table's marks on one scale, as a new table
    void showScoreAssignment();  // 等级赋分: this table's rows as the cohort, as a new table
    void showMarkLevels();       // 成绩等级: this table's marks as levels and their distribution
    // 撤消. The undo item and the frame's undo button follow the document's own announcement of its
    // undo becoming available or not (Document::setUndoListener), whoever takes the snapshot.
    void undo();
    bool undoAvailable() const { return document_.undoAvailable(); }
    // The edit menu's clipboard commands: on the grid they act on the selection's far corner
    // (rowSel, colSel); in the value box or the cell editor on the box's selected text.
    void cut();
    void copy();
    void paste();
    void deleteSelection();  // 删除: every data cell of the selection; in a box its selected text only
    void selectAll();        // 全选: the current cell (1, 1), the far corner the last data cell

    // Find and replace: a search (the grid hidden while it runs) and the result menu "转到查找结果"
    // after it, a jump to a result row (whole row selected, scrolled to the top), clearing the marks,
    // and the replace dialog.
    void find(std::string_view text, const FindOptions& options);
    void showFindResult(const FindResult& result);
    void goToFindResult(int row);
    void clearFindMarks();
    void replace();
    QMenu* findResultMenu() const { return findResultMenu_; }

    // The caption after the table's title was set by a command from outside the window.
    // Workbooks: a sheet as a new table window, a sheet's rows appended here, the table as a workbook.
    void importWorkbookAsNewTable();
    void importWorkbookRows();
    void exportWorkbook();
    void refreshCaption();

    // A result a command made (an analysis, a statistics, a comparison): its print set-up starts with
    // 显示班级信息 ticked, since 班级信息 says how the table was made. The window keeps this while it is
    // open, saved or not; the saved file opened again is an ordinary table.
    void setResultTable(bool result) { resultTable_ = result; }
    bool resultTable() const { return resultTable_; }
    // The size that shows the whole table (every column and row, the strip above them) without
    // scrolling.
    QSize wholeTableSize() const;

    // The selection in table coordinates, as GridSelection defines it (column 0 is the row-number
    // column): the current cell (Row, Col) where it started, the far corner (RowSel, ColSel).
    GridSelection selection() const;
    int currentRow() const { return selection().row; }
    int currentCol() const { return selection().col; }
    // One cell selected and current.
    void setCurrentCell(int row, int col);
    // Selects the range from the current cell (row, col) to the far corner (rowSel, colSel).
    void setSelection(const GridSelection& selection);

    // ---- typing into cells
    // MSFlexGridEdit: takes the undo snapshot and opens `editor` exactly over `grid`'s current cell
    // (column 0 stands for the first field), holding what the key `key` gives (EditorTextForKey): the
    // space bar " " (also a double-click and 编辑选中单元格), Enter and Backspace keep the cell's own
    // text; a character or an input method's committed string replaces it. False when nothing opened.
    bool MSFlexGridEdit(QTableView& grid, QLineEdit& editor, const QString& key);
    // EditKeyCode: the keys pressed inside `editor`, each giving the focus back to `grid`: Enter
    // writes the entry and moves as the frame's direction buttons say, Esc hides the editor and keeps
    // the cell's old text, Up and Down move one row when they can (which writes the entry). True for
    // these keys; every other key (and any with Ctrl or Alt) is the editor's own.
    bool EditKeyCode(QTableView& grid, QLineEdit& editor, int keyCode, Qt::KeyboardModifiers shift);
    bool editing() const;
    // The cell the editor is open on.
    CellPosition editorCell() const { return editorCell_; }
    // The editor's text into its cell, the editor hidden (also when the cursor leaves the cell). Every
    // command that changes the table calls it first, so an entry is never lost nor written elsewhere.
    void commitEditor();

    // ---- the formula bar
    // The bar's text as if it was put there from outside (the formula editor's "确定"): when the
    // text turns into a formula or stops being one, it is written into the current cell at once;
    // otherwise it waits for Enter.
    void setFormulaBarText(const QString& text);
    // Enter in the bar: the undo snapshot, the bar's text into the current cell (and into the cell
    // editor when it is open).
    void commitFormulaBar();

    // ---- the context menu and the formula commands
    void showContextMenu(int row, int col, const QPoint& globalPos);
    void showContextMenuAtCurrentCell();
    void editSelectedCell();      // 编辑选中单元格
    void importCsvIntoColumn();   // 从CSV文件导入到该列
    void applyFormulaToColumn();  // 设置该公式为本列公式
    void checkAllFormulas();      // 检查所有公式有效性
    void computeAllFormulas();    // 计算所有公式
    void saveCsv();               // 保存为CVS文件

    // ---- printing
    void printView();    // 打印、预览[表格] (also toolbar 13): the print set-up and preview window
    void printReport();  // 打印报表: the report printing window
    void printChart();   // 打印图表: the chart dialog
    // The grid's width of every column (column 0 the row numbers), twips.
    std::vector<int> gridColumnWidths() const;

    // ---- the dialogs
    void setDataFormat();  // 设置数据格式 (also the new-table wizard's step)
    void manageFields();   // 表格字段管理
    // The new-table wizard's field step: the field manager on the list as its last use left it,
    // without a snapshot.
    void runFieldManagerForNewTable();
    void chooseFont();         // 字体...
    void setRowColumnSizes();  // 行高, 列宽
    // The formula bar's "…" and 公式编辑器: the undo snapshot, then the formula editor for the
    // current cell; what it accepts goes into the formula bar.
    void openFormulaEditor();

    // ---- the field menu
    void insertColumn();                               // 插入列[字段]
    void removeColumn();                               // 删除列
    void renameColumn();                               // 更改列标题[字段名称]
    void saveFieldTemplate();                          // 保存当前字段结构为模版
    void applyFieldTemplate(const QString& fileName);  // a template item
    // The template items after the field menu's second separator, one per template file.
    void rebuildTemplateMenu();
    QList<QAction*> templateItems() const { return templateItems_; }

    // The table font: applied on every activation; sizes the rows and the columns anew.
    void applyTableFont(const QFont& font);

    // After a command changed the table in bulk (counts, titles, many cells): the grid shows it anew.
    void tableReset();
    // After a command changed one cell.
    void cellChanged(int row, int col);
    // Sizes the columns (to their titles unless set explicitly) and the rows from the table font.
    void applyLayout();

    // Window state of the header test and the cell sizes recorded after a load, in twips.
    bool inHeader() const { return inHeader_; }
    int headerColWidth() const { return headerColWidth_; }
    int headerRowHeight() const { return headerRowHeight_; }

    // The status sink the window's file commands report to: the frame's, plus the hidden grid.
    StatusSink& windowStatus();
    // Hides the grid while `work` runs (the label "表格处理中……" shows) and shows it again, the focus
    // back on it when it had it.
    void runWithGridHidden(const std::function<void()>& work);

  signals:
    // The Undo command became available or unavailable (the document said so).
    void undoAvailabilityChanged();
    // The title (caption) changed.
    void captionChanged();
    // "查找单元格" was chosen: the frame shows its find window on this table.
    void findRequested();
    // The close check is about to run / decided to keep the window open.
    void closeCheckStarted();
    void closeKept();
    // The table was written to a file by 保存表格 or 表格另存为; the close check let the window close.
    void tableSaved();
    void closeAccepted();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    class WindowStatus;

    void buildBusyLabel();
    void buildGrid();
    void buildMenus();
    void buildEditing();
    void buildContextMenu();
    QMenu* buildFieldMenu();
    QMenu* buildFormatMenu();
    void keepShortcutInWindow(QAction* action);
    void layoutStrip();
    void gridSelectionChanged();
    void showPosition();
    void placeEditor(QTableView& grid, QLineEdit& editor);
    void hideEditor();
    void moveFromEditor(CellPosition to);
    void editorFocusGained();
    void editorFocusLost();
    void editorTextChanged(const QString& text);
    bool gridKeyPressed(QKeyEvent* event);
    bool gridInputMethod(QInputMethodEvent* event);
    bool gridRightPressed(QMouseEvent* event);
    // Ctrl+A, Ctrl+Z and Del in the value box are the edit menu's, not the box's own keys.
    bool isEditMenuKey(QKeyEvent* event) const;
    void setGridHidden(bool hidden);
    void formulaBarEdited(const QString& text);
    void formulaTickClicked(bool ticked);
    void showFormulaBarState();
    bool currentIsDataCell() const;
    // Moves the cursor from column 0 to the first field; false when the table has no data cell there.
    bool moveToEditTarget();
    void recordHeaderSizes();
    void showLoaded();
    void followUndo();
    QLineEdit* focusedTextBox() const;
    void closeWindow();

    TableWindowHost& host_;
    Document document_;
    std::unique_ptr<WindowStatus> status_;
    GradeTableModel* model_ = nullptr;

    ValueStrip* strip_ = nullptr;
    GradeTableView* grid_ = nullptr;
    QLabel* busyLabel_ = nullptr;
    CellEditor* cellEditor_ = nullptr;
    CellPosition editorCell_;
    bool editorFocused_ = false;
    // The current cell the strip shows; the editor is written when the current cell leaves it.
    CellPosition shownCell_{1, 0};
    bool gridHadFocus_ = false;
    bool resultTable_ = false;
    QMenu* contextMenu_ = nullptr;
    QAction* applyFormulaAction_ = nullptr;
    QMenu* fieldMenu_ = nullptr;
    QList<QAction*> templateItems_;

    QList<QMenu*> menus_;
    QAction* undoAction_ = nullptr;
    QAction* deleteAction_ = nullptr;
    QAction* selectAllAction_ = nullptr;
    QMenu* findResultMenu_ = nullptr;

    bool inHeader_ = false;
    int headerColWidth_ = 0;
    int headerRowHeight_ = 0;
};

}  // namespace scorvane
