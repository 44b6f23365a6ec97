#include "main/printing/print_sections.h"

#include <algorithm>

namespace scorvane {
namespace {

int columnTitled(const GradeTable& table, const std::string& title) {
    for (int c = 1; c < table.cols(); ++c) {
        if (table.cell(0, c) == title) {
            return c;
        }
    }
    return -1;
}

}  // namespace

std::vector<std::vector<int>> PrintSections(const GradeTable& table, const std::vector<int>& widths,
                                            double fitWidth) {
    const int cols = std::max(1, table.cols());
    auto width = [&](int c) {
        return static_cast<size_t>(c) < widths.size() ? static_cast<double>(widths[static_cast<size_t>(c)]) : 0.0;
    };
    std::vector<int> all(static_cast<size_t>(cols));
    double total = 0;
    for (int c = 0; c < cols; ++c) {
        all[static_cast<size_t>(c)] = c;
        total += width(c);
    }
    std::vector<int> starts;
    for (const std::string& title : table.printPlan.columnGroups) {
        if (const int c = columnTitled(table, title); c > 0) {
            starts.push_back(c);
        }
    }
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    if (starts.empty() || fitWidth <= 0 || total <= fitWidth) {
        return {all};
    }

    const std::vector<int> repeated(all.begin(), all.begin() + starts.front());
    double repeatedWidth = 0;
    for (int c : repeated) {
        repeatedWidth += width(c);
    }
    std::vector<std::vector<int>> sections;
    std::vector<int> section = repeated;
    double sectionWidth = repeatedWidth;
    for (size_t g = 0; g < starts.size(); ++g) {
        const int end = g + 1 < starts.size() ? starts[g + 1] : cols;
        double groupWidth = 0;
        for (int c = starts[g]; c < end; ++c) {
            groupWidth += width(c);
        }
        if (section.size() > repeated.size() && sectionWidth + groupWidth > fitWidth) {
            sections.push_back(std::move(section));
            section = repeated;
            sectionWidth = repeatedWidth;
        }
        for (int c = starts[g]; c < end; ++c) {
            section.push_back(c);
        }
        sectionWidth += groupWidth;
    }
    sections.push_back(std::move(section));
    return sections;
}

int PageBreakColumn(const GradeTable& table) {
    return table.printPlan.pageBreakField.empty() ? -1 : columnTitled(table, table.printPlan.pageBreakField);
}

}  // namespace scorvane
