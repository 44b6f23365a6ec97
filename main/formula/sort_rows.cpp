#include "main/formula/sort_rows.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "common/gbk_order.h"
#include "common/utf8.h"
#include "main/formula/formula_cell.h"

namespace scorvane {
namespace {

// How one key cell compares: numbers first, then other texts, blanks last.
struct SortKey {
    enum Kind : uint8_t { Number = 0, Text = 1, Blank = 2 } kind = Blank;
    double number = 0;
    std::string bytes;  // GbkOrderKey of a text
};

// "[spaces][+|-](digits[.digits]|.digits)[spaces]": the texts that sort as numbers.
bool readNumber(std::string_view text, double& value) {
    text = TrimSpaces(text);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    size_t i = 0;
    size_t digits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            ++i;
            ++digits;
        }
    }
    if (digits == 0 || i != text.size()) {
        return false;
    }
    double v = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v, std::chars_format::fixed);
    if (ec != std::errc() || end != text.data() + text.size()) {
        return false;
    }
    value = negative ? -v : v;
    return true;
}

SortKey makeKey(const GradeTable& table, int row, int col) {
    SortKey key;
    const std::string_view raw = table.cell(row, col);
    std::string shown;
    std::string_view text = raw;
    if (IsFormula(raw)) {
        shown = 公式2值(table, row, col);
        text = shown;
        // The data format shows a value that rounds to zero as nothing ("###.##"); it is still the
        // number 0, not an empty cell.
        if (shown.empty()) {
            key.kind = SortKey::Number;
            return key;
        }
    }
    if (TrimSpaces(text).empty()) {
        key.kind = SortKey::Blank;
    } else if (readNumber(text, key.number)) {
        key.kind = SortKey::Number;
    } else {
        key.kind = SortKey::Text;
        key.bytes = GbkOrderKey(text);
    }
    return key;
}

// <0, 0, >0 in ascending order, kinds apart.
int compareSameKind(const SortKey& a, const SortKey& b) {
    if (a.kind == SortKey::Number) {
        return a.number < b.number ? -1 : (b.number < a.number ? 1 : 0);
    }
    if (a.kind == SortKey::Text) {
        return a.bytes.compare(b.bytes);
    }
    return 0;
}

}  // namespace

std::vector<std::string> SortFieldList(const GradeTable& table) {
    return table.fieldTitles();
}

bool CheckSortable(const GradeTable& table, Prompter& prompter) {
    if (TrimSpaces(table.headerLayout()).empty() || table.cols() < 2) {
        prompter.message(kNoSortFieldsMessage, "提示", Icon::Information);
        return false;
    }
    return true;
}

SortChoice InitialSortChoice(const GradeTable& table, int currentCol, bool descending) {
    const int fields = std::max(table.cols() - 1, 0);
    SortChoice choice;
    choice.sortField = std::clamp(currentCol - 1, 0, std::max(fields - 1, 0));
    choice.descending = descending;
    choice.writeRanks = false;
    choice.rankField = std::max(fields - 1, 0);
    return choice;
}

bool KeepSortFieldsApart(SortChoice& choice, int fieldCount, Prompter& prompter) {
    if (!choice.writeRanks || choice.sortField != choice.rankField) {
        return false;
    }
    prompter.message(kRankIntoSortFieldMessage, "提示", Icon::Information);
    if (fieldCount < 2) {
        choice.writeRanks = false;
    } else if (choice.sortField >= fieldCount - 1) {
        choice.rankField = choice.sortField - 1;
    } else {
        choice.rankField = choice.sortField + 1;
    }
    return true;
}

bool SortRows(Document& document, int keyCol, bool descending, int rankCol) {
    GradeTable& t = document.table;
    const int rows = t.rows();
    const int cols = t.cols();
    if (keyCol < 1 || keyCol >= cols || rankCol >= cols || rankCol == 0 || rows < 1) {
        return false;
    }
    const int dataRows = rows - 1;
    std::vector<SortKey> keys(static_cast<size_t>(dataRows));
    std::vector<int> order(static_cast<size_t>(dataRows));
    for (int i = 0; i < dataRows; ++i) {
        keys[static_cast<size_t>(i)] = makeKey(t, i + 1, keyCol);
        order[static_cast<size_t>(i)] = i;
    }
    std::stable_sort(order.begin(), order.end(), [&](int x, int y) {
        const SortKey& a = keys[static_cast<size_t>(x)];
        const SortKey& b = keys[static_cast<size_t>(y)];
        if (a.kind != b.kind) {
            return a.kind < b.kind;  // numbers, texts, blanks: the same in both directions
        }
        int c = compareSameKind(a, b);
        return descending ? c > 0 : c < 0;
    });

    // Move whole rows into their new places, with their marks; row 0 stays.
    t.reorderDataRows(order);

    for (int r = 1; r < rows; ++r) {
        std::string number = std::to_string(r);
        if (rankCol > 0) {
            t.setCell(r, rankCol, number);
        }
        t.setCell(r, 0, number);
    }
    document.setModified();
    return true;
}

bool RunSort(Document& document, const SortChoice& choice) {
    return SortRows(document, choice.sortField + 1, choice.descending,
                    choice.writeRanks ? choice.rankField + 1 : -1);
}

}  // namespace scorvane
