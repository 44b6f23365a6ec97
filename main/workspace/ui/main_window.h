#pragma once

#include <QFont>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <string>
#include <vector>

#include "common/status_sink.h"
#include "main/document/table_font.h"
#include "main/document/ui/table_window_host.h"
#include "main/workspace/school_tree.h"
#include "main/workspace/ui/document_area.h"
#include "main/workspace/ui/frame_status_bar.h"
#include "main/workspace/ui/frame_toolbar.h"
#include "main/workspace/ui/school_tree_panel.h"

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace scorvane {

class Prompter;
class DialogRunner;
class FindWindow;
class RecoveryStore;
class TableWindow;

// The frame of the program (MDIForm1): the school tree on the left, the toolbar of 24 buttons, the
// table windows in the document area and the status bar with its two panels. It is the host of every
// table window: their prompts, status texts, busy pointer and modal dialogs go through it.
class MainWindow : public QMainWindow, public TableWindowHost {
    Q_OBJECT
  public:
    // Toolbar positions (separators count, as on the toolbar itself).
    using Button = FrameToolbar::Button;
    using enum FrameToolbar::Button;
    static constexpr int kButtonCount = FrameToolbar::kButtonCount;

    MainWindow(Prompter& prompter, DialogRunner& dialogs, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Loading the main window: builds the tree from the workspace's school file and reads the table
    // font from the per-user settings.
    void loadWorkspace();
    // Clears the tree and builds it again from the school file (AddDot).
    void rebuildTree();

    // TableWindowHost
    Prompter& prompter() override { return prompter_; }
    StatusSink& statusSink() override { return *statusBar_; }
    DialogRunner& dialogRunner() override { return dialogs_; }
    QWidget* dialogOwner() override { return this; }
    EnterDirection enterDirection() const override;
    TableFont currentTableFont() const override { return tableFont_; }
    void tableFontChosen(const TableFont& font) override { setTableFont(font); }
    void openDataFile(const std::string& pathWithoutExtension) override { openTable(pathWithoutExtension); }
    void openNewTable(GradeTable table, NewTableKind kind) override;
    std::string chosenClassFolder() const override;

    // Parts of the frame, for the windows and dialogs that work with it.
    QTreeWidget* tree() const { return treePanel_->tree(); }
    QMenu* treePopup() const { return treePanel_->popup(); }
    QMdiArea* documentArea() const { return area_; }
    QToolBar* toolbar() const { return toolbar_; }
    // The toolbar's button at `position` (1 .. 24; separators included).
    QAction* toolbarButton(int position) const;
    // The text of status panel 1 or 2.
    QString statusText(int panel) const;
    // The frame's own menus (shown while no table window is active) and the menus every table window
    // shows beside its own.
    QAction* action(const char* objectName) const;

    // The table font that table windows take on activation.
    const TableFont& tableFont() const { return tableFont_; }
    void setTableFont(const TableFont& font);
    QFont tableQFont() const;

    // Which way Enter moves in a table: along the row (button 16 down) or down the column (17 down).
    bool enterMovesAlongRow() const;
    bool enterMovesDownColumn() const;

    // The table windows, and the active one (nullptr when none).
    TableWindow* activeTable() const;
    QList<TableWindow*> tables() const;

    // The selected node of the tree (nullptr when none) and its full path.
    const SchoolNode* selectedNode() const;
    // The table names listed for the class node in the pop-up menu.
    const std::vector<std::string>& listedTables() const { return treePanel_->listedTables(); }

    // Commands.
    TableWindow* newTableWindow();                                    // a new, empty table window, shown
    TableWindow* openTable(const std::string& pathWithoutExtension);  // nullptr when the load closed it
    void openCommand();                                               // 打开(&O)... and toolbar 3
    void saveCommand();                                               // toolbar 4
    void convertFoxPro();                                             // 转换FoxPro格式表格
    void importWorkbook();        // 导入电子表格: a workbook's sheet as a new, unsaved table window
    void editSchool();            // 新建/编辑学校关系树
    void newTableOutsideClass();  // 新建一张不棣属任何班级的表格
    void newTableDirectly();      // 直接新建表格
    void newTableWizard();        // 新建表格向导
    void compareGrade();          // 年级成绩对比: the selected grade's classes compared in one exam
    void rankGrade();             // 年级排名: every student of the selected grade ranked in one exam
    void orderExams();            // 考试顺序: the order of the selected grade's exams
    void analyseLines();          // 上线分析: the selected grade's classes against tier lines
    void findBorderline();        // 临界生: the selected grade's students near a line
    void importGradeMarks();      // 导入全年级成绩: a whole grade's marks into each class's new table
    void openTeacherTable();      // 任课表: the selected grade's subject teachers, made the first time
    void evaluateTeaching();      // 教学评价: the selected grade's classes and teachers by subject
    void classHistory();          // 历次成绩: the selected class's exams side by side
    void assignGradeScores();     // 等级赋分: the selected grade's elective subjects converted
    void showFind();              // 查找单元格 and toolbar 11: the find window on the active table
    void sortActiveTable(bool descending);  // toolbar 19 and 20
    FindWindow* findWindow() const;         // nullptr while not shown
    void openFormulaEditor();               // 工具 → 公式编辑器: on the active table
    void showFormulaHelp();                 // 工具 → 公式说明
    void showHelp();                        // 帮助主题 and toolbar 24
    void showAbout();                       // 关于
    void startDesigner();                   // 工具 → 报表编辑器
    void cascade();                         // 层叠
    void tileAboveEachOther();              // 纵向平铺
    void tileSideBySide();                  // 横向平铺
    void arrangeIcons();                    // 排列图标
    // Closes every table window, each with its close check, in order; stops at the first that stays
    // open. True when none is left.
    bool closeAllTables();

    // The tree's mouse handling: a right press on `item` (which becomes the selected node) fills the
    // pop-up menu with the class's tables and shows it at `globalPos`; toolbar 2 shows it without tables.
    void treeRightPressed(QTreeWidgetItem* item, const QPoint& globalPos);
    void treeDoubleClicked(QTreeWidgetItem* item, const QPoint& globalPos);
    void showSchoolPopup(const QPoint& globalPos);
    // Fills the pop-up menu for the selected node; with `listTables` a class node's folder is made and its
    // tables become the menu's table entries.
    void preparePopup(bool listTables);
    // The pop-up menu's table entries.
    QList<QAction*> tableEntries() const;

    // The folder holding the designer program (the folder of this program unless set).
    void setDesignerFolder(const QString& folder) { designerFolder_ = folder; }
    // The version line of the about box ("V 1.1.0000").
    void setVersionLine(const QString& line) { versionLine_ = line; }

    // The dialogs of the new-table wizard's data-format and field steps, each shown modally on the new
    // table (the table window's own dialogs unless set otherwise); a step left empty is passed over.
    struct WizardDialogs {
        std::function<void(TableWindow&)> dataFormat;
        std::function<void(TableWindow&)> fieldManager;
    };
    void setWizardDialogs(WizardDialogs dialogs) { wizardDialogs_ = std::move(dialogs); }

    // The recovery copies every table window of the frame keeps while it has unsaved changes (none
    // unless set).
    void setRecoveryStore(RecoveryStore* store) { recovery_ = store; }
    RecoveryStore* recoveryStore() const { return recovery_; }

  signals:
    // The active table window changed (also to none).
    void activeTableChanged(TableWindow* table);

  protected:
    void closeEvent(QCloseEvent* event) override;
    // Coming forward, the frame reads the school tree again when the school file changed meanwhile.
    void changeEvent(QEvent* event) override;

  private:
    void buildPanels();
    void buildMenus();
    void addTableWindow(TableWindow* window);
    void subWindowActivated(QMdiSubWindow* sub);
    void setActive(TableWindow* table);
    void showTableState(TableWindow* table);
    void updateMenuBar();
    void runToolbarButton(int position);
    // The class node selected in the tree and the number of tables listed in its folder.
    const SchoolNode* selectedClass(int& listedTables) const;

    Prompter& prompter_;
    DialogRunner& dialogs_;
    TableFont tableFont_;
    QString designerFolder_;
    QString versionLine_;
    WizardDialogs wizardDialogs_;

    SchoolTreePanel* treePanel_ = nullptr;
    DocumentArea* area_ = nullptr;
    FrameToolbar* toolbar_ = nullptr;
    FrameStatusBar* statusBar_ = nullptr;

    QMenu* fileMenu_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    QMenu* windowMenu_ = nullptr;
    QMenu* toolsMenu_ = nullptr;
    QMenu* tableHelpMenu_ = nullptr;

    QPointer<TableWindow> active_;
    QPointer<FindWindow> find_;
    RecoveryStore* recovery_ = nullptr;
};

}  // namespace scorvane
