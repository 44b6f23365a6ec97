#include "designer/line_editing.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "common/utf8.h"

namespace scorvane::designer {
namespace {

constexpr long long kCoordinateMin = std::numeric_limits<int32_t>::min();
constexpr long long kCoordinateMax = std::numeric_limits<int32_t>::max();

bool fits(long long v) {
    return v >= kCoordinateMin && v <= kCoordinateMax;
}

bool fits(const TemplateLine& l) {
    return fits(l.x1) && fits(l.y1) && fits(l.x2) && fits(l.y2);
}

// The selected line, parsed; nullopt when there is none or its record does not parse.
std::optional<TemplateLine> selectedLine(const TemplateDocument& doc) {
    if (!doc.lines.hasSelection()) {
        return std::nullopt;
    }
    return ParseLineRecord(doc.lines.record(static_cast<size_t>(doc.lines.selected())));
}

bool commit(TemplateDocument& doc, TemplateLine line) {
    if (!fits(line)) {
        return false;
    }
    line.kind = 2;
    doc.lines.setRecord(static_cast<size_t>(doc.lines.selected()), EncodeLineRecord(line));
    doc.markChanged();
    return true;
}

// ⌊a / b⌋ for b > 0.
long long floorDiv(__int128 a, __int128 b) {
    __int128 q = a / b;
    if (a % b != 0 && a < 0) {
        --q;
    }
    if (q < kCoordinateMin || q > kCoordinateMax) {
        return std::numeric_limits<long long>::max();  // out of a record's range: refused by fits()
    }
    return static_cast<long long>(q);
}

// ⌊end + step·|a − b| / length⌋, exactly.
long long stepped(long long end, long long step, long long a, long long b, long long length) {
    const __int128 distance = a < b ? static_cast<__int128>(b) - a : static_cast<__int128>(a) - b;
    return floorDiv(static_cast<__int128>(end) * length + static_cast<__int128>(step) * distance, length);
}

}  // namespace

LineCoordinates GetLineXY(std::string_view record) {
    LineCoordinates out;
    size_t start = 0;
    for (size_t i = 0; i < out.size(); ++i) {
        const size_t comma = record.find(',', start);
        const std::string_view field =
            record.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        long long v = 0;
        if (!ParseWholeNumber(TrimSpaces(field), kCoordinateMin, kCoordinateMax, v)) {
            break;
        }
        out[i] = v;
        if (comma == std::string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    return out;
}

long long GetLineLen(const TemplateLine& line) {
    const long double dx = static_cast<long double>(line.x1 - line.x2);
    const long double dy = static_cast<long double>(line.y1 - line.y2);
    long long length = static_cast<long long>(std::floor(std::sqrt(dx * dx + dy * dy)));
    // The square root of a whole number rounds to the right whole part in long double for every
    // coordinate a record holds; this corrects a last-bit error either way.
    const auto square = [](long long v) { return static_cast<__int128>(v) * v; };
    const __int128 sum = square(line.x1 - line.x2) + square(line.y1 - line.y2);
    while (length > 0 && square(length) > sum) {
        --length;
    }
    while (square(length + 1) <= sum) {
        ++length;
    }
    return length;
}

bool CommitCoordinates(TemplateDocument& doc, const std::array<std::string, 4>& boxes) {
    if (!doc.lines.hasSelection()) {
        return false;
    }
    long long v[4];
    for (size_t i = 0; i < 4; ++i) {
        if (!ParseWholeNumber(TrimSpaces(boxes[i]), kCoordinateMin, kCoordinateMax, v[i])) {
            return false;
        }
    }
    return commit(doc, {v[0], v[1], v[2], v[3], 2});
}

bool MoveSelectedLine(TemplateDocument& doc, Axis axis, long long value) {
    auto line = selectedLine(doc);
    if (!line) {
        return false;
    }
    if (axis == Axis::Horizontal) {
        line->x2 += value - line->x1;
        line->x1 = value;
    } else {
        line->y2 += value - line->y1;
        line->y1 = value;
    }
    return commit(doc, *line);
}

bool ChangeSelectedLineLength(TemplateDocument& doc, long long step) {
    auto line = selectedLine(doc);
    if (!line) {
        return false;
    }
    const long long length = GetLineLen(*line);
    if (length == 0) {
        return false;
    }
    if (line->x1 < line->x2) {
        line->x2 = stepped(line->x2, step, line->x1, line->x2, length);
    } else {
        line->x1 = stepped(line->x1, step, line->x1, line->x2, length);
    }
    if (!fits(*line)) {
        return false;
    }
    // The y change is measured on the line with its new x; a line that shrank to nothing keeps its y.
    const long long newLength = GetLineLen(*line);
    if (newLength > 0) {
        if (line->y1 < line->y2) {
            line->y2 = stepped(line->y2, step, line->y1, line->y2, newLength);
        } else {
            line->y1 = stepped(line->y1, step, line->y1, line->y2, newLength);
        }
    }
    return commit(doc, *line);
}

bool CopyLastLine(TemplateDocument& doc) {
    if (doc.lines.empty()) {
        return false;
    }
    auto last = ParseLineRecord(doc.lines.record(doc.lines.size() - 1));
    if (!last) {
        return false;
    }
    TemplateLine copy{last->x1 + kCopyOffset, last->y1 + kCopyOffset, last->x2 + kCopyOffset,
                      last->y2 + kCopyOffset, 1};
    if (!fits(copy)) {
        return false;
    }
    doc.lines.append(EncodeLineRecord(copy), LineStore::DrawnName(doc.lines.size()));
    doc.lines.selectLast();
    doc.markChanged();
    return true;
}

bool DeleteSelectedLine(TemplateDocument& doc) {
    if (!doc.lines.hasSelection()) {
        return false;
    }
    doc.lines.remove(static_cast<size_t>(doc.lines.selected()));
    doc.lines.selectLast();
    doc.markChanged();
    return true;
}

void MoveWholeTable(TemplateDocument& doc, TableMove direction) {
    long long dx = 0;
    long long dy = 0;
    switch (direction) {
        case TableMove::Up:
            dy = -kTableMoveStep;
            break;
        case TableMove::Down:
            dy = kTableMoveStep;
            break;
        case TableMove::Left:
            dx = -kTableMoveStep;
            break;
        case TableMove::Right:
            dx = kTableMoveStep;
            break;
    }
    doc.markChanged();
    for (size_t i = 0; i < doc.lines.size(); ++i) {
        auto line = ParseLineRecord(doc.lines.record(i));
        if (!line) {
            continue;  // a record that does not parse stays as it is
        }
        TemplateLine moved{line->x1 + dx, line->y1 + dy, line->x2 + dx, line->y2 + dy, line->kind};
        if (fits(moved)) {
            doc.lines.setRecord(i, EncodeLineRecord(moved));
        }
    }
    for (size_t i = 0; i < doc.labels.size(); ++i) {
        TemplateLabel& label = doc.labels.label(i);
        label.left += static_cast<double>(dx);
        label.top += static_cast<double>(dy);
        KeepOnPage(doc, label);
    }
}

BoxKeyEffect TypeIntoCoordinateBox(TemplateDocument& doc, BoxKey key, std::string_view typed, bool ctrl) {
    if (key == BoxKey::Other && (typed.empty() || ctrl)) {
        return BoxKeyEffect::Pass;
    }
    doc.markChanged();
    if (key == BoxKey::Enter) {
        return BoxKeyEffect::Commit;
    }
    if (key == BoxKey::Erase) {
        return BoxKeyEffect::Pass;
    }
    const bool digits = std::all_of(typed.begin(), typed.end(), [](char c) { return c >= '0' && c <= '9'; });
    return digits ? BoxKeyEffect::Pass : BoxKeyEffect::Drop;
}

}  // namespace scorvane::designer
