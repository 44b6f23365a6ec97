#pragma once

#include <QByteArray>
#include <QCache>
#include <QFont>
#include <QStaticText>
#include <QString>
#include <QTextOption>
#include <string_view>

namespace scorvane {

// The grid's cell texts laid out once in one font: the glyphs of a text, its width and its line
// height, and the text shortened with "…" to the width of its column. The texts painted most recently
// are kept (at most `capacity` of them), so that painting the grid again shapes no text it showed
// before; a 20,000-row table costs no more than the texts on screen.
class CellTextCache {
  public:
    struct Text {
        QString string;
        QStaticText glyphs;
        qreal width = 0;  // the natural width, without trailing spaces
        int height = 0;   // the line's height, rounded up to whole pixels
        // The text shortened to fit `elidedTo` pixels, kept for the last width asked.
        int elidedTo = 0;
        bool hasElided = false;
        QStaticText elided;
    };

    explicit CellTextCache(int capacity);

    // The font and text option every text is laid out in; a change forgets every text.
    void setFont(const QFont& font, const QTextOption& option);
    const QFont& font() const { return font_; }

    // The UTF-8 text laid out, from the cache or laid out now. The reference holds until the next call.
    Text& text(std::string_view utf8);
    // `text` shortened at its end with "…" to fit `width` pixels, as item views shorten a cell's text.
    const QStaticText& elided(Text& text, int width);

    int count() const { return static_cast<int>(texts_.count()); }
    void clear() { texts_.clear(); }

  private:
    QStaticText prepared(const QString& string) const;

    QCache<QByteArray, Text> texts_;
    QFont font_;
    QTextOption option_;
};

}  // namespace scorvane
