#include "cli/exchange_args.h"

#include <climits>
#include <iostream>

#include "cli/table_io.h"
#include "common/utf8.h"

namespace scorvane::cli {
namespace {

std::vector<std::string> splitItems(const std::string& text) {
    std::vector<std::string> items;
    size_t start = 0;
    while (true) {
        size_t comma = text.find(',', start);
        items.emplace_back(TrimSpaces(std::string_view(text).substr(start, comma - start)));
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    if (items.size() == 1 && items[0].empty()) {
        items.clear();
    }
    return items;
}

// "n" or "a-b" within [min, max]; false when the item is neither.
bool parseRange(const std::string& item, int min, int max, std::vector<int>& out, bool& outOfRange) {
    outOfRange = false;
    size_t dash = item.find('-', 1);
    long long from = 0;
    long long to = 0;
    if (dash == std::string::npos) {
        if (!ParseWholeNumber(item, LLONG_MIN, LLONG_MAX, from)) {
            return false;
        }
        to = from;
    } else if (!ParseWholeNumber(TrimSpaces(std::string_view(item).substr(0, dash)), LLONG_MIN, LLONG_MAX,
                                 from) ||
               !ParseWholeNumber(TrimSpaces(std::string_view(item).substr(dash + 1)), LLONG_MIN, LLONG_MAX,
                                 to)) {
        return false;
    }
    if (from > to || from < min || to > max) {
        outOfRange = true;
        return true;
    }
    for (long long n = from; n <= to; ++n) {
        out.push_back(static_cast<int>(n));
    }
    return true;
}

}  // namespace

bool ParseRowList(const GradeTable& table, const std::string& text, std::vector<int>& rows) {
    for (const std::string& item : splitItems(text)) {
        bool outOfRange = false;
        if (!parseRange(item, 1, table.rows() - 1, rows, outOfRange)) {
            std::cerr << "行号列表不正确：" << text << "\n";
            return false;
        }
        if (outOfRange) {
            std::cerr << "行号超出范围（1-" << table.rows() - 1 << "）：" << item << "\n";
            return false;
        }
    }
    return true;
}

bool ParseFieldList(const GradeTable& table, const std::string& text, std::vector<int>& fields) {
    for (const std::string& item : splitItems(text)) {
        bool outOfRange = false;
        std::vector<int> range;
        if (parseRange(item, 1, table.cols() - 1, range, outOfRange) && !outOfRange &&
            item.find('-', 1) != item.npos) {
            fields.insert(fields.end(), range.begin(), range.end());
            continue;
        }
        int col = ResolveField(table, item);
        if (col < 0) {
            return false;
        }
        fields.push_back(col);
    }
    return true;
}

std::optional<KeyFields> ParseKeyFields(const GradeTable& target, const GradeTable& source,
                                        const std::string& text) {
    size_t eq = text.find('=');
    if (eq == std::string::npos) {
        std::cerr << "关键字段应写作 目标字段=来源字段：" << text << "\n";
        return std::nullopt;
    }
    int t = ResolveField(target, text.substr(0, eq));
    if (t < 0) {
        return std::nullopt;
    }
    int s = ResolveField(source, text.substr(eq + 1));
    if (s < 0) {
        return std::nullopt;
    }
    return KeyFields{t, s};
}

}  // namespace scorvane::cli
