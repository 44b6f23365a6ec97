#include "main/document/ui/grade_table_view.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHeaderView>

#include "common/qt/screen_twips.h"
#include "main/document/column_widths.h"
#include "main/document/ui/grade_cell_delegate.h"
#include "main/document/ui/grade_table_model.h"
#include "main/document/ui/grid_scroll_bar.h"

namespace scorvane {
namespace {

// The grid's colours.
const QColor kSelectionBack(0xDB, 0xD9, 0xF2);
const QColor kSelectionText(0, 0, 255);
const QColor kGridLines(0xC0, 0xC0, 0xC0);

// Space above and below the text of a row, in pixels.
constexpr int kRowPadding = 2;

}  // namespace

GradeTableView::GradeTableView(GradeTableModel& model, QWidget* parent) : QTableView(parent), grades_(model) {
    setVerticalScrollBar(new GridScrollBar(Qt::Vertical, this));
    setHorizontalScrollBar(new GridScrollBar(Qt::Horizontal, this));
    setAttribute(Qt::WA_InputMethodEnabled, true);
    setModel(&grades_);
    setItemDelegate(new GradeCellDelegate(grades_, this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);

    // Every row has one height unless set explicitly: no row is ever measured by its contents.
    QHeaderView* rowsHeader = verticalHeader();
    rowsHeader->setSectionResizeMode(QHeaderView::Fixed);
    rowsHeader->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    rowsHeader->setHighlightSections(false);
    QHeaderView* colsHeader = horizontalHeader();
    colsHeader->setSectionResizeMode(QHeaderView::Interactive);
    colsHeader->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    colsHeader->setHighlightSections(false);
    colsHeader->setMinimumSectionSize(4);
    connect(colsHeader, &QHeaderView::sectionResized, this, [this](int section, int, int size) {
        if (!layingOut_ && QGuiApplication::mouseButtons() != Qt::NoButton) {
            emit columnWidthDragged(section + 1, PixelsToTwipsX(size, *this));
        }
    });

    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::Highlight, kSelectionBack);
    colours.setColor(QPalette::HighlightedText, kSelectionText);
    colours.setColor(QPalette::Inactive, QPalette::Highlight, kSelectionBack);
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText, kSelectionText);
    colours.setColor(QPalette::Mid, kGridLines);
    setPalette(colours);

    viewport()->setMouseTracking(true);
    rowsHeader->setMouseTracking(true);
    colsHeader->setMouseTracking(true);
}

void GradeTableView::applyLayout() {
    const GradeTable& t = grades_.table();
    QFontMetrics metrics(grades_.tableFont());
    const double twipsPerPixel = TwipsPerPixelX(*this);
    const std::vector<int> widths = GridColumnWidths(t, [&](std::string_view text) {
        return metrics.horizontalAdvance(
                   QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))) *
               twipsPerPixel;
    });

    QHeaderView* cols = horizontalHeader();
    // The view hears of every new width (it repaints and sizes its scroll bar); the widths set here are
    // not the user's own.
    layingOut_ = true;
    for (int c = 1; c < t.cols(); ++c) {
        cols->resizeSection(c - 1, TwipsToPixelsX(widths[static_cast<size_t>(c)], *this));
    }
    layingOut_ = false;

    const int numberTwips = t.cols() > 0 ? widths[0] : kMinColumnWidthTwips;
    QHeaderView* rows = verticalHeader();
    rows->setMinimumWidth(TwipsToPixelsX(numberTwips, *this));
    const int standardHeight = metrics.height() + kRowPadding;
    rows->setDefaultSectionSize(standardHeight);
    cols->setFixedHeight(standardHeight);
    // A row set to a height of its own keeps it; one given back its height 0 returns to the standard.
    for (int r = 1; r < t.rows(); ++r) {
        const int h = t.rowHeight(r);
        const int pixels = h ? TwipsToPixelsY(h, *this) : standardHeight;
        if (rows->sectionSize(r - 1) != pixels) {
            rows->resizeSection(r - 1, pixels);
        }
    }
}

std::vector<int> GradeTableView::columnWidthsTwips() const {
    const GradeTable& t = grades_.table();
    std::vector<int> widths(static_cast<size_t>(std::max(0, t.cols())), 0);
    if (widths.empty()) {
        return widths;
    }
    widths[0] = PixelsToTwipsX(verticalHeader()->width(), *this);
    for (int c = 1; c < t.cols(); ++c) {
        widths[static_cast<size_t>(c)] = PixelsToTwipsX(horizontalHeader()->sectionSize(c - 1), *this);
    }
    return widths;
}

void GradeTableView::setGridSelection(const GridSelection& selection) {
    const QModelIndex start = model()->index(selection.row - 1, selection.col - 1);
    const QModelIndex far = model()->index(selection.rowSel - 1, selection.colSel - 1);
    const bool scroll = hasAutoScroll();
    writing_ = true;
    // Qt would scroll to its current index, the far corner; the view shows the current cell.
    setAutoScroll(false);
    if (start.isValid() && far.isValid()) {
        startSelectionAt(start);
        selectionModel()->setCurrentIndex(far, QItemSelectionModel::NoUpdate);
        selectionModel()->select(QItemSelection(start, far), QItemSelectionModel::ClearAndSelect);
    } else {
        selectionModel()->clearCurrentIndex();
        selectionModel()->clearSelection();
    }
    setAutoScroll(scroll);
    writing_ = false;
    if (start.isValid()) {
        scrollTo(start);
    }
    if (selection != selection_) {
        selection_ = selection;
        emit gridSelectionChanged();
    }
}

void GradeTableView::startSelectionAt(const QModelIndex& start) {
    // With writing_ set the selection command is a plain one, so Qt takes the index as the start of
    // the next Shift selection, whatever keys are held at the moment.
    const bool wasWriting = writing_;
    writing_ = true;
    QAbstractItemView::setCurrentIndex(start);
    writing_ = wasWriting;
}

QItemSelectionModel::SelectionFlags GradeTableView::selectionCommand(const QModelIndex& index,
                                                                     const QEvent* event) const {
    if (writing_) {
        return QItemSelectionModel::ClearAndSelect;
    }
    return QTableView::selectionCommand(index, event);
}

QModelIndex GradeTableView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    // A move without Shift goes from the current cell, where the selection started, not from the
    // far corner where Qt keeps its current index.
    if (!(modifiers & Qt::ShiftModifier)) {
        const QModelIndex start = model()->index(selection_.row - 1, selection_.col - 1);
        if (start.isValid() && start != currentIndex()) {
            startSelectionAt(start);
        }
    }
    return QTableView::moveCursor(action, modifiers);
}

void GradeTableView::readSelection() {
    if (writing_ || userAction_ > 0) {
        return;
    }
    const QModelIndex current = currentIndex();
    if (!current.isValid()) {
        // The current cell stays where it was put (column 0, or a table without cells).
        return;
    }
    GridSelection read = GridSelection::cell(current.row() + 1, current.column() + 1);
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        if (range.contains(current)) {
            read.row = (current.row() == range.top() ? range.bottom() : range.top()) + 1;
            read.col = (current.column() == range.left() ? range.right() : range.left()) + 1;
            break;
        }
    }
    if (read != selection_) {
        selection_ = read;
        emit gridSelectionChanged();
    }
}

template <typename Handler>
void GradeTableView::asUserAction(Handler handler) {
    ++userAction_;
    handler();
    --userAction_;
    readSelection();
}

void GradeTableView::keyPressEvent(QKeyEvent* event) {
    asUserAction([&] { QTableView::keyPressEvent(event); });
}

void GradeTableView::mousePressEvent(QMouseEvent* event) {
    asUserAction([&] { QTableView::mousePressEvent(event); });
}

void GradeTableView::mouseMoveEvent(QMouseEvent* event) {
    asUserAction([&] { QTableView::mouseMoveEvent(event); });
}

void GradeTableView::mouseReleaseEvent(QMouseEvent* event) {
    asUserAction([&] { QTableView::mouseReleaseEvent(event); });
}

void GradeTableView::focusInEvent(QFocusEvent* event) {
    // The item view would make its first cell current here, and the widget would repaint itself
    // whole: frame, headers and scroll bars, on every key that opens or closes the cell editor. Only
    // the cells show the focus (the current cell's frame).
    event->accept();
    setAttribute(Qt::WA_InputMethodEnabled, true);
    viewport()->update();
}

void GradeTableView::focusOutEvent(QFocusEvent* event) {
    // As focusInEvent: the cells alone are painted again.
    event->accept();
    viewport()->update();
}

void GradeTableView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    // The item view takes the input method away from cells it cannot edit itself.
    setAttribute(Qt::WA_InputMethodEnabled, true);
    readSelection();
}

void GradeTableView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
    QTableView::selectionChanged(selected, deselected);
    readSelection();
}

}  // namespace scorvane
