#pragma once

#include <QList>
#include <QWidget>
#include <string>
#include <vector>

#include "main/workspace/school_file_watch.h"
#include "main/workspace/school_tree.h"

class QAction;
class QLabel;
class QMenu;
class QTreeWidget;
class QTreeWidgetItem;

namespace scorvane {

// The school tree on the frame's left (Picture1): the hint above the tree of the school, its grades and
// their classes (TreeView1), and the tree's pop-up menu (menuPop1). A right press on a node, a
// double-click on a class, or the Menu key or Shift+F10 on the current node selects the node and opens
// the menu, which lists the class's tables; the frame's button 2 opens it without them. The panel only
// shows the tree and the menu: the frame gives the entries their work through the signals.
class SchoolTreePanel : public QWidget {
    Q_OBJECT
  public:
    explicit SchoolTreePanel(QWidget* parent = nullptr);

    QTreeWidget* tree() const { return tree_; }
    QMenu* popup() const { return popup_; }
    // The pop-up's "新建表格(&N)" submenu.
    QMenu* newFileMenu() const { return newFileMenu_; }
    const SchoolTree& school() const { return school_; }

    // Clears the tree and builds it again from the workspace's school file (AddDot).
    void rebuild();
    // Whether the school file has changed (been saved by another computer, made or removed) since the
    // tree was built from it.
    bool schoolFileChanged() const { return watch_.changedSinceRead(); }
    // The selected node (nullptr when none).
    const SchoolNode* selectedNode() const;

    // A right press on `item` (which becomes the selected node) fills the menu with the class's tables
    // and shows it at `globalPos`; a double-click does the same on a class node only.
    void rightPressed(QTreeWidgetItem* item, const QPoint& globalPos);
    void doubleClicked(QTreeWidgetItem* item, const QPoint& globalPos);
    // The menu without table entries (the frame's button 2).
    void showPopup(const QPoint& globalPos);
    // Fills the menu for the selected node; with `listTables` a class node's folder is made and its
    // tables become the menu's table entries.
    void preparePopup(bool listTables);
    // The menu's table entries, and the table names they list.
    QList<QAction*> tableEntries() const { return tableEntries_; }
    const std::vector<std::string>& listedTables() const { return listedTables_; }

  signals:
    void editSchoolRequested();         // 新建/编辑学校关系树
    void tableOutsideClassRequested();  // 新建一张不棣属任何班级的表格
    void tableWizardRequested();        // 新建表格向导
    void tableDirectlyRequested();      // 直接新建表格
    void gradeComparisonRequested();    // 年级成绩对比
    void gradeRankingRequested();       // 年级排名
    void examOrderRequested();          // 考试顺序 (of a grade)
    void lineAnalysisRequested();       // 上线分析 (of a grade)
    void borderlineRequested();         // 临界生 (of a grade)
    void gradeImportRequested();        // 导入全年级成绩
    void teacherTableRequested();       // 任课表
    void teachingEvaluationRequested(); // 教学评价
    void examHistoryRequested();        // 历次成绩 (of a class)
    void gradeScoreAssignmentRequested();  // 等级赋分 (of a grade)
    // A table entry was chosen: the table's path in the selected class's folder, without ".skv".
    void tableChosen(const std::string& pathWithoutExtension);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildPopup();
    // An entry of the pop-up menu for a grade node that emits `requested`.
    void addGradeEntry(const QString& caption, const char* objectName, void (SchoolTreePanel::*requested)());
    void chooseListedTable(const QString& name);

    SchoolTree school_;
    SchoolFileWatch watch_;
    QLabel* hint_ = nullptr;
    QTreeWidget* tree_ = nullptr;
    QMenu* popup_ = nullptr;
    QMenu* newFileMenu_ = nullptr;
    QAction* openHere_ = nullptr;
    QList<QAction*> gradeEntries_;  // enabled on a grade node only
    QAction* classHistory_ = nullptr;
    QList<QAction*> tableEntries_;
    std::vector<std::string> listedTables_;
};

}  // namespace scorvane
