#include "common/qt/pdf_text_map.h"

#include <QChar>
#include <QString>
#include <cstring>

#include "common/hex_digit.h"

namespace scorvane {
namespace {

// CJK Radicals Supplement that stand for a whole character, and that character.
struct RadicalPair {
    char16_t radical;
    char16_t character;
};
constexpr RadicalPair kSupplement[] = {
    {0x2E81, 0x5382}, {0x2E83, 0x4E5A}, {0x2E85, 0x4EBB}, {0x2E86, 0x5182}, {0x2E89, 0x5202},
    {0x2E8A, 0x535C}, {0x2E8B, 0x353E}, {0x2E8E, 0x5140}, {0x2E8F, 0x5C23}, {0x2E90, 0x5C22},
    {0x2E92, 0x5DF3}, {0x2E93, 0x5E7A}, {0x2E94, 0x5F51}, {0x2E95, 0x5F50}, {0x2E96, 0x5FC4},
    {0x2E98, 0x6263}, {0x2E99, 0x6535}, {0x2E9B, 0x65E1}, {0x2E9D, 0x6708}, {0x2E9E, 0x6B7A},
    {0x2E9F, 0x6BCD}, {0x2EA0, 0x6C11}, {0x2EA1, 0x6C35}, {0x2EA2, 0x6C3A}, {0x2EA3, 0x706C},
    {0x2EA4, 0x722B}, {0x2EA6, 0x4E2C}, {0x2EA8, 0x72AD}, {0x2EA9, 0x738B}, {0x2EAB, 0x7F52},
    {0x2EAC, 0x793A}, {0x2EAD, 0x793B}, {0x2EAF, 0x7CF9}, {0x2EB0, 0x7E9F}, {0x2EB1, 0x7F53},
    {0x2EB2, 0x7F52}, {0x2EB3, 0x34C1}, {0x2EB9, 0x8002}, {0x2EBA, 0x8080}, {0x2EBE, 0x8279},
    {0x2EC1, 0x864E}, {0x2EC2, 0x8864}, {0x2EC3, 0x8980}, {0x2EC4, 0x897F}, {0x2EC5, 0x89C1},
    {0x2EC6, 0x89D2}, {0x2EC8, 0x8BA0}, {0x2EC9, 0x8D1D}, {0x2ECB, 0x8F66}, {0x2ECC, 0x8FB6},
    {0x2ECF, 0x961D}, {0x2ED0, 0x9485}, {0x2ED1, 0x9577}, {0x2ED2, 0x9578}, {0x2ED3, 0x957F},
    {0x2ED4, 0x95E8}, {0x2ED6, 0x961D}, {0x2ED8, 0x9752}, {0x2ED9, 0x97E6}, {0x2EDA, 0x9875},
    {0x2EDB, 0x98CE}, {0x2EDC, 0x98DE}, {0x2EDD, 0x98DF}, {0x2EDF, 0x98E0}, {0x2EE0, 0x9963},
    {0x2EE2, 0x9A6C}, {0x2EE3, 0x9AA8}, {0x2EE4, 0x9B3C}, {0x2EE5, 0x9C7C}, {0x2EE6, 0x9E1F},
    {0x2EE7, 0x5364}, {0x2EE8, 0x9EA6}, {0x2EE9, 0x9EC4}, {0x2EEA, 0x9EFE}, {0x2EEB, 0x6589},
    {0x2EEC, 0x9F50}, {0x2EED, 0x6B6F}, {0x2EEE, 0x9F7F}, {0x2EEF, 0x7ADC}, {0x2EF0, 0x9F99},
    {0x2EF1, 0x9F9C}, {0x2EF2, 0x4E80}, {0x2EF3, 0x9F9F},
};

// The whole character a radical stands for, or 0.
char16_t characterOf(char16_t radical) {
    if (radical >= 0x2F00 && radical <= 0x2FDF) {  // Kangxi radicals decompose to their character
        const QString d = QChar(radical).decomposition();
        return d.size() == 1 ? d.at(0).unicode() : 0;
    }
    for (const RadicalPair& p : kSupplement) {
        if (p.radical == radical) {
            return p.character;
        }
    }
    return 0;
}

// Replaces the destination code points of one ToUnicode map, bytes [begin, end).
void fixMap(char* data, qsizetype begin, qsizetype end, const std::vector<bool>& drawn) {
    enum { None, Range, Char } section = None;
    qsizetype lineStart = begin;
    while (lineStart < end) {
        qsizetype lineEnd = lineStart;
        while (lineEnd < end && data[lineEnd] != '\n') {
            ++lineEnd;
        }
        const std::string_view line(data + lineStart, static_cast<size_t>(lineEnd - lineStart));
        if (line.find("beginbfrange") != std::string_view::npos) {
            section = Range;
        } else if (line.find("beginbfchar") != std::string_view::npos) {
            section = Char;
        } else if (line.find("endbfrange") != std::string_view::npos ||
                   line.find("endbfchar") != std::string_view::npos) {
            section = None;
        } else if (section != None) {
            // The first one (char) or two (range) codes of a line are glyphs; the rest are code points.
            int skip = section == Range ? 2 : 1;
            for (qsizetype i = lineStart; i < lineEnd; ++i) {
                if (data[i] != '<') {
                    continue;
                }
                qsizetype close = i + 1;
                while (close < lineEnd && data[close] != '>') {
                    ++close;
                }
                if (skip > 0) {
                    --skip;
                } else if (close - i == 5) {
                    int v = 0;
                    bool hex = true;
                    for (qsizetype k = i + 1; k < close; ++k) {
                        int h = HexDigitValue(data[k]);
                        hex = hex && h >= 0;
                        v = v * 16 + (h < 0 ? 0 : h);
                    }
                    if (hex && v >= 0x2E80 && v <= 0x2FDF && !drawn[static_cast<size_t>(v)]) {
                        const char16_t c = characterOf(static_cast<char16_t>(v));
                        if (c != 0 && drawn[c]) {
                            static const char digits[] = "0123456789ABCDEF";
                            for (int k = 0; k < 4; ++k) {
                                data[i + 1 + k] = digits[(c >> (12 - 4 * k)) & 0xF];
                            }
                        }
                    }
                }
                i = close;
            }
        }
        lineStart = lineEnd + 1;
    }
}

}  // namespace

void RestoreDrawnCharacters(QByteArray& pdf, const std::vector<bool>& drawn) {
    if (drawn.size() < 0x10000) {
        return;
    }
    char* data = pdf.data();
    const qsizetype size = pdf.size();
    qsizetype from = 0;
    while (true) {
        const qsizetype begin = pdf.indexOf("begincmap", from);
        if (begin < 0) {
            return;
        }
        qsizetype end = pdf.indexOf("endcmap", begin);
        if (end < 0) {
            end = size;
        }
        fixMap(data, begin, end, drawn);
        from = end;
    }
}

}  // namespace scorvane
