#pragma once

#include <QList>
#include <QMdiArea>
#include <string>

class QAction;
class QMdiSubWindow;
class QMenu;

namespace scorvane {

class TableWindow;

// The frame's document area (MDIArea), which holds the table windows. A closing window hands over to
// the one that was active before it. The table windows are tiled (those shown, neither minimised nor
// hidden) or, minimised, lined up as icons, and listed in the 窗口 menu.
class DocumentArea : public QMdiArea {
    Q_OBJECT
  public:
    explicit DocumentArea(QWidget* parent = nullptr);

    // The sub-windows that hold a table window, in the area's order.
    QList<QMdiSubWindow*> tableSubWindows() const;
    QList<TableWindow*> tableWindows() const;
    // The window that has the table file `pathWithoutExtension` open, made the active one; nullptr when
    // none has.
    TableWindow* bringForward(const std::string& pathWithoutExtension);

    void tileAboveEachOther();  // 纵向平铺
    void tileSideBySide();      // 横向平铺
    void arrangeIcons();        // 排列图标

    // Moves a window just shown off the places of the others, down the diagonal by a title bar's height
    // (CascadedPlace), so two windows never lie exactly over each other; one as large as the area is
    // made smaller to leave room for a few. A maximised window stays.
    void placeNewWindow(QMdiSubWindow* sub);
    // The same for a window that shows a command's result: first made as large as ResultWindowSize
    // says, `wholeTable` being the size of the sub-window's widget that shows the whole table.
    void placeResultWindow(QMdiSubWindow* sub, QSize wholeTable);

    // Lists the table windows at the end of `menu` in place of those listed there before, "&1 " and the
    // caption, …, the `active` one ticked; choosing one makes it the active window. Equal captions are
    // numbered in the list only ("期中 成绩统计 (2)").
    void listWindows(QMenu* menu, const TableWindow* active);

  private:
    QList<QAction*> listed_;
};

}  // namespace scorvane
