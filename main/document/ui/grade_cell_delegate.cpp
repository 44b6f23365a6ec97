#include "main/document/ui/grade_cell_delegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QWidget>

#include "main/document/ui/grade_table_model.h"

namespace scorvane {
namespace {

// Enough for the cells of a maximised window in a small font, several times over.
constexpr int kKeptTexts = 4096;

// What the fast way paints: one line of left-aligned text, vertically centred, shortened at its end.
bool PlainLine(const QStyleOptionViewItem& option) {
    return option.direction == Qt::LeftToRight &&
           (option.displayAlignment & (Qt::AlignHorizontal_Mask | Qt::AlignVertical_Mask)) ==
               (Qt::AlignLeft | Qt::AlignVCenter) &&
           option.textElideMode == Qt::ElideRight && !(option.features & QStyleOptionViewItem::WrapText);
}

// A text the fast way lays out as the standard delegate does: no line breaks, nothing Qt's
// shortening treats specially.
bool OneLineText(std::string_view utf8) {
    return utf8.find('\n') == std::string_view::npos && utf8.find("\u2028") == std::string_view::npos &&
           utf8.find("\u009c") == std::string_view::npos;
}

QPalette::ColorGroup GroupOf(bool enabled, QStyle::State state) {
    if (!enabled) {
        return QPalette::Disabled;
    }
    return state & QStyle::State_Active ? QPalette::Normal : QPalette::Inactive;
}

}  // namespace

GradeCellDelegate::GradeCellDelegate(const GradeTableModel& model, QObject* parent)
    : QStyledItemDelegate(parent), model_(model), plain_(kKeptTexts), bold_(kKeptTexts) {}

void GradeCellDelegate::followFonts(const QStyleOptionViewItem& option) const {
    if (fontsSet_ && option.font == viewFont_ && model_.tableFont() == tableFont_) {
        return;
    }
    fontsSet_ = true;
    viewFont_ = option.font;
    tableFont_ = model_.tableFont();
    QTextOption textOption;
    textOption.setWrapMode(QTextOption::ManualWrap);
    textOption.setTextDirection(option.direction);
    textOption.setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    plain_.setFont(option.font, textOption);
    // As the model's font for a bold mark, completed by the view's font.
    bold_.setFont(model_.boldFont().resolve(option.font), textOption);
}

void GradeCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    GradeTableModel::CellLook look;
    if ((option.state & QStyle::State_HasFocus) || !PlainLine(option) || !model_.cellLook(index, look) ||
        !OneLineText(look.text)) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const QWidget* widget = option.widget;
    const bool selected = option.state & QStyle::State_Selected;
    if (selected) {
        const bool enabled = widget ? widget->isEnabled() : bool(option.state & QStyle::State_Enabled);
        painter->fillRect(option.rect,
                          option.palette.brush(GroupOf(enabled, option.state), QPalette::Highlight));
    }
    if (look.text.empty()) {
        return;
    }
    followFonts(option);
    CellTextCache& cache = look.mark.bold ? bold_ : plain_;
    CellTextCache::Text& text = cache.text(look.text);

    const QStyle* style = widget ? widget->style() : QApplication::style();
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QRect textRect = option.rect.adjusted(margin, 0, -margin, 0);
    // The line centred as QStyle::alignedRect centres it.
    const int top = textRect.y() + textRect.height() / 2 - text.height / 2;
    const bool shortened = text.width > textRect.width();
    const QStaticText& glyphs = shortened ? cache.elided(text, textRect.width()) : text.glyphs;

    const QPalette::ColorGroup group = GroupOf(option.state & QStyle::State_Enabled, option.state);
    QColor colour = option.palette.color(group, QPalette::Text);
    if (selected) {
        colour = option.palette.color(group, QPalette::HighlightedText);
    } else if (look.foreground.isValid()) {
        colour = look.foreground;
    }
    if (painter->pen().color() != colour || painter->pen().style() != Qt::SolidLine) {
        painter->setPen(colour);
    }
    if (painter->font() != cache.font()) {
        painter->setFont(cache.font());
    }
    // A line taller than its row, or a column too narrow even for "…", stays inside the cell.
    const bool clip = top < option.rect.top() || top + text.height > option.rect.bottom() + 1 ||
                      glyphs.size().width() > textRect.width();
    if (clip) {
        painter->save();
        painter->setClipRect(option.rect, Qt::IntersectClip);
    }
    painter->drawStaticText(QPointF(textRect.x(), top), glyphs);
    if (clip) {
        painter->restore();
    }
}

}  // namespace scorvane
