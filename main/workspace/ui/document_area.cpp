#include "main/workspace/ui/document_area.h"

#include <QAction>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStyle>
#include <algorithm>

#include "common/numbered_repeats.h"
#include "main/document/ui/table_window.h"
#include "main/workspace/window_arrangement.h"

namespace scorvane {
namespace {

QString qs(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QList<QMdiSubWindow*> shownWindows(const QList<QMdiSubWindow*>& all) {
    QList<QMdiSubWindow*> shown;
    for (QMdiSubWindow* sub : all) {
        if (!sub->isMinimized() && sub->isVisible()) {
            shown << sub;
        }
    }
    return shown;
}

void place(const QList<QMdiSubWindow*>& windows, const std::vector<WindowRect>& rects) {
    for (int i = 0; i < windows.size() && static_cast<size_t>(i) < rects.size(); ++i) {
        const WindowRect& r = rects[static_cast<size_t>(i)];
        if (windows[i]->isMaximized()) {
            windows[i]->showNormal();
        }
        windows[i]->setGeometry(r.x, r.y, r.width, r.height);
    }
}

}  // namespace

DocumentArea::DocumentArea(QWidget* parent) : QMdiArea(parent) {
    setObjectName("MDIArea");
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setActivationOrder(QMdiArea::ActivationHistoryOrder);
}

QList<QMdiSubWindow*> DocumentArea::tableSubWindows() const {
    QList<QMdiSubWindow*> subs;
    for (QMdiSubWindow* sub : subWindowList()) {
        if (qobject_cast<TableWindow*>(sub->widget())) {
            subs << sub;
        }
    }
    return subs;
}

QList<TableWindow*> DocumentArea::tableWindows() const {
    QList<TableWindow*> list;
    for (QMdiSubWindow* sub : tableSubWindows()) {
        list << static_cast<TableWindow*>(sub->widget());
    }
    return list;
}

TableWindow* DocumentArea::bringForward(const std::string& pathWithoutExtension) {
    for (QMdiSubWindow* sub : tableSubWindows()) {
        auto* table = static_cast<TableWindow*>(sub->widget());
        if (table->document().table.filePath == pathWithoutExtension) {
            if (sub->isMinimized()) {
                sub->showNormal();
            }
            setActiveSubWindow(sub);
            return table;
        }
    }
    return nullptr;
}

void DocumentArea::tileAboveEachOther() {
    const QList<QMdiSubWindow*> windows = shownWindows(tableSubWindows());
    const QSize size = viewport()->size();
    place(windows, TileAboveEachOther(static_cast<int>(windows.size()), size.width(), size.height()));
}

void DocumentArea::tileSideBySide() {
    const QList<QMdiSubWindow*> windows = shownWindows(tableSubWindows());
    const QSize size = viewport()->size();
    place(windows, TileSideBySide(static_cast<int>(windows.size()), size.width(), size.height()));
}

void DocumentArea::arrangeIcons() {
    QList<QMdiSubWindow*> icons;
    for (QMdiSubWindow* sub : tableSubWindows()) {
        if (sub->isMinimized()) {
            icons << sub;
        }
    }
    if (icons.isEmpty()) {
        return;
    }
    const QSize icon = icons.first()->size();
    const QSize size = viewport()->size();
    const std::vector<WindowRect> rects = ArrangeIcons(static_cast<int>(icons.size()), icon.width(),
                                                       icon.height(), size.width(), size.height());
    for (int i = 0; i < icons.size(); ++i) {
        icons[i]->move(rects[static_cast<size_t>(i)].x, rects[static_cast<size_t>(i)].y);
    }
}

void DocumentArea::placeNewWindow(QMdiSubWindow* sub) {
    if (sub->isMaximized() || sub->isMinimized()) {
        return;
    }
    std::vector<WindowRect> open;
    for (QMdiSubWindow* other : shownWindows(subWindowList())) {
        if (other != sub && !other->isMaximized()) {
            const QRect g = other->geometry();
            open.push_back({g.x(), g.y(), g.width(), g.height()});
        }
    }
    const int metric = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub);
    const int step = metric > 0 ? metric : 24;
    const QSize area = viewport()->size();
    // A window as large as the area is made smaller, so a few windows find their places down the
    // diagonal; never below half the area.
    constexpr int kPlaces = 4;
    const int width = std::min(sub->width(), std::max(area.width() / 2, area.width() - kPlaces * step));
    const int height = std::min(sub->height(), std::max(area.height() / 2, area.height() - kPlaces * step));
    const WindowRect r = CascadedPlace(open, width, height, area.width(), area.height(), step);
    sub->setGeometry(r.x, r.y, r.width, r.height);
}

void DocumentArea::placeResultWindow(QMdiSubWindow* sub, QSize wholeTable) {
    if (sub->isMaximized() || sub->isMinimized()) {
        return;
    }
    // The sub-window's frame and title bar around its widget.
    const QSize frame = sub->size() - sub->widget()->size();
    const QSize area = viewport()->size();
    const QSize minimum = sub->minimumSizeHint().expandedTo(QSize(0, 0));
    const WindowSize size =
        ResultWindowSize({sub->width(), sub->height()},
                         {wholeTable.width() + frame.width(), wholeTable.height() + frame.height()},
                         {area.width(), area.height()}, {minimum.width(), minimum.height()},
                         style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, sub));
    sub->resize(size.width, size.height);
    placeNewWindow(sub);
}

void DocumentArea::listWindows(QMenu* menu, const TableWindow* active) {
    for (QAction* a : listed_) {
        menu->removeAction(a);
        delete a;
    }
    listed_.clear();
    const QList<QMdiSubWindow*> subs = tableSubWindows();
    std::vector<std::string> titles;
    for (QMdiSubWindow* sub : subs) {
        titles.push_back(static_cast<TableWindow*>(sub->widget())->caption().toStdString());
    }
    titles = NumberRepeats(titles);
    int n = 0;
    for (QMdiSubWindow* sub : subs) {
        auto* table = static_cast<TableWindow*>(sub->widget());
        QAction* a = menu->addAction(qs(WindowListEntry(n + 1, titles[static_cast<size_t>(n)])));
        ++n;
        a->setCheckable(true);
        a->setChecked(table == active);
        connect(a, &QAction::triggered, this, [this, sub] { setActiveSubWindow(sub); });
        listed_ << a;
    }
}

}  // namespace scorvane
