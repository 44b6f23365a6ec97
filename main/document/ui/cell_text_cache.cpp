#include "main/document/ui/cell_text_cache.h"

#include <QFontMetrics>
#include <QTextLayout>
#include <cmath>

namespace scorvane {

CellTextCache::CellTextCache(int capacity) : texts_(capacity) {}

void CellTextCache::setFont(const QFont& font, const QTextOption& option) {
    font_ = font;
    option_ = option;
    texts_.clear();
}

QStaticText CellTextCache::prepared(const QString& string) const {
    QStaticText glyphs(string);
    glyphs.setTextFormat(Qt::PlainText);
    glyphs.setTextOption(option_);
    glyphs.prepare(QTransform(), font_);
    return glyphs;
}

CellTextCache::Text& CellTextCache::text(std::string_view utf8) {
    const QByteArray key = QByteArray::fromRawData(utf8.data(), static_cast<qsizetype>(utf8.size()));
    if (Text* found = texts_.object(key)) {
        return *found;
    }
    auto* text = new Text;
    text->string = QString::fromUtf8(key);
    // The line as an item view lays it out: its natural width decides whether the text is shortened,
    // its height where the line stands in the cell.
    QTextLayout layout(text->string, font_);
    layout.setTextOption(option_);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid()) {
        line.setLineWidth(0x7fffff);
        text->width = line.naturalTextWidth();
    }
    layout.endLayout();
    text->height = layout.boundingRect().size().toSize().height();
    text->glyphs = prepared(text->string);
    // The key holds its own bytes: the table's may move once it changes.
    Text* kept = text;
    texts_.insert(QByteArray(key.constData(), key.size()), text);
    return *kept;
}

const QStaticText& CellTextCache::elided(Text& text, int width) {
    if (!text.hasElided || text.elidedTo != width) {
        text.elided = prepared(QFontMetrics(font_).elidedText(text.string, Qt::ElideRight, width));
        text.elidedTo = width;
        text.hasElided = true;
    }
    return text.elided;
}

}  // namespace scorvane
