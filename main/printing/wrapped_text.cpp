#include "main/printing/wrapped_text.h"

#include <vector>

#include "common/text_lines.h"

namespace scorvane {
namespace {

// The length of the UTF-8 character starting at `at`.
size_t characterLength(std::string_view text, size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    return std::min(length, text.size() - at);
}

bool isWordByte(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '.' ||
           c == '%' || c == '+' || c == '-';
}

// Marks that close what stands before them and never begin a line.
bool closesBefore(std::string_view character) {
    static const std::string_view kClosing[] = {"，", "。", "；", "：", "、", "）", "”", "！",
                                                "？", ",",  ".",  ";",  ":",  ")",  "%"};
    for (std::string_view mark : kClosing) {
        if (character == mark) {
            return true;
        }
    }
    return false;
}

// The pieces a line may break between: a run of Latin letters and digits, a space, or another character,
// each with the closing marks that follow it.
std::vector<std::string_view> piecesOf(std::string_view line) {
    std::vector<std::string_view> pieces;
    size_t at = 0;
    while (at < line.size()) {
        size_t end = at;
        if (isWordByte(line[at])) {
            while (end < line.size() && isWordByte(line[end])) {
                ++end;
            }
        } else {
            end += characterLength(line, at);
        }
        if (line[at] != ' ') {
            while (end < line.size() && closesBefore(line.substr(end, characterLength(line, end)))) {
                end += characterLength(line, end);
            }
        }
        pieces.push_back(line.substr(at, end - at));
        at = end;
    }
    return pieces;
}

// Splits a piece wider than the line between its characters.
void breakPiece(std::string_view piece, double width, const std::function<double(std::string_view)>& measure,
                std::string& out, std::string& current) {
    for (size_t at = 0; at < piece.size();) {
        const std::string_view character = piece.substr(at, characterLength(piece, at));
        if (!current.empty() && measure(current + std::string(character)) > width) {
            out += current + "\n";
            current.clear();
        }
        current += character;
        at += character.size();
    }
}

void wrapLine(std::string_view line, double width, const std::function<double(std::string_view)>& measure,
              std::string& out) {
    std::string current;
    for (std::string_view piece : piecesOf(line)) {
        if (current.empty() && piece == " ") {
            continue;  // a line does not begin with the space it broke at
        }
        if (measure(current + std::string(piece)) <= width) {
            current += piece;
            continue;
        }
        while (!current.empty() && current.back() == ' ') {
            current.pop_back();
        }
        if (!current.empty()) {
            out += current + "\n";
            current.clear();
        }
        if (piece == " ") {
            continue;
        }
        if (measure(piece) <= width) {
            current = std::string(piece);
        } else {
            breakPiece(piece, width, measure, out, current);
        }
    }
    out += current;
}

}  // namespace

std::string WrapToWidth(std::string_view text, double width,
                        const std::function<double(std::string_view)>& measure) {
    if (width <= 0) {
        return std::string(text);
    }
    std::string out;
    bool first = true;
    for (std::string_view line : SplitTextLines(text)) {
        if (!first) {
            out += "\n";
        }
        first = false;
        wrapLine(line, width, measure, out);
    }
    return out;
}

}  // namespace scorvane
