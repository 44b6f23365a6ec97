#pragma once

#include <QByteArray>
#include <vector>

namespace scorvane {

// Qt writes the ToUnicode map of each font of a PDF by taking, for every glyph, the lowest code point
// that the font maps to it. Chinese fonts draw many characters with the glyph of a radical (页 and ⻚,
// 马 and ⻢, 一 and ⼀ share one), so the text that a reader copies or searches would hold radicals.
// This puts back, in every ToUnicode map of the PDF, the character that was really drawn for each such
// radical. `drawn` has one flag per code point below U+10000: true when some text drawn held it. The
// replacement keeps the file's length, so its cross-reference table stays valid.
void RestoreDrawnCharacters(QByteArray& pdf, const std::vector<bool>& drawn);

}  // namespace scorvane
