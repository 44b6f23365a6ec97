#include "main/analysis/field_across_tables.h"

#include <algorithm>

#include "main/analysis/field_derivation.h"
#include "main/analysis/result_table.h"

namespace scorvane {
namespace {

constexpr std::string_view kFullStop = "。";

std::vector<std::string> sorted(std::vector<std::string> titles) {
    std::sort(titles.begin(), titles.end());
    return titles;
}

// Those of `titles` that `other` lacks, in the order of `titles`.
std::vector<std::string> without(const std::vector<std::string>& titles, const std::vector<std::string>& other) {
    std::vector<std::string> out;
    for (const std::string& t : titles) {
        if (std::find(other.begin(), other.end(), t) == other.end()) {
            out.push_back(t);
        }
    }
    return out;
}

bool isAverageTitle(std::string_view title) {
    return title == "平均" || title == "平均分";
}

}  // namespace

TableGroup GroupOfClasses(const std::vector<ClassTable>& classes) {
    TableGroup group;
    for (const ClassTable& c : classes) {
        if (c.table) {
            group.push_back({c.name, &*c.table});
        }
    }
    return group;
}

TableGroup GroupOfExams(const std::vector<NamedTable>& exams) {
    TableGroup group;
    for (const NamedTable& e : exams) {
        group.push_back({e.name, &e.table});
    }
    return group;
}

std::string NoMarksInFieldMessage(std::string_view field) {
    return "所选字段“" + std::string(field) + "”在这些表格中没有成绩。";
}

FieldMarks GroupFieldMarks(const TableGroup& group, std::string_view field) {
    FieldMarks all;
    for (const TableInGroup& t : group) {
        all.add(CollectFieldMarks(*t.table, FieldColumn(*t.table, field)),
                group.size() > 1 ? std::string_view(t.name) : std::string_view());
    }
    return all;
}

std::string MismatchedTotalsMessage(const TableGroup& group, std::string_view field, std::string_view others) {
    struct Made {
        const TableInGroup* table;
        FieldDerivation derivation;
        std::vector<std::string> set;  // its titles, sorted
    };
    std::vector<Made> made;
    for (const TableInGroup& t : group) {
        FieldDerivation d = DeriveField(*t.table, FieldColumn(*t.table, field));
        if (d.kind != FieldDerivation::Kind::None) {
            std::vector<std::string> set = sorted(d.fields);
            made.push_back({&t, std::move(d), std::move(set)});
        }
    }
    // The titles most tables take; on a tie the most titles (a subject left out is the usual fault), then
    // those of the first such table.
    const Made* reference = nullptr;
    long best = 0;
    for (const Made& m : made) {
        const long count = std::count_if(made.begin(), made.end(), [&m](const Made& o) { return o.set == m.set; });
        if (count > best || (count == best && m.set.size() > reference->set.size())) {
            best = count;
            reference = &m;
        }
    }
    std::string out;
    for (const Made& m : made) {
        if (m.set == reference->set) {
            continue;
        }
        const std::vector<std::string> missing = without(reference->derivation.fields, m.derivation.fields);
        const std::vector<std::string> extra = without(m.derivation.fields, reference->derivation.fields);
        const bool average = m.derivation.kind == FieldDerivation::Kind::Average;
        std::string verb = average ? "平均了" : "加了";
        if (extra.empty()) {
            verb = "只" + verb;
        }
        std::string aside;
        if (!missing.empty()) {
            aside += "没有 " + JoinNames(missing);
        }
        if (!extra.empty()) {
            aside += (aside.empty() ? "" : "，") + std::string("多了 ") + JoinNames(extra);
        }
        // A total of other subjects cannot be compared at all; an average keeps its scale, but stands for
        // other subjects.
        const std::string verdict = average ? "所含科目与其他" + std::string(others) + "不同"
                                            : "与其他" + std::string(others) + "不可比";
        out += m.table->name + "的" + std::string(field) + verb + " " + JoinNames(m.derivation.fields) + "（" +
               aside + "），" + verdict + std::string(kFullStop);
    }
    return out;
}

std::string ComparableAverageField(const TableGroup& group, std::string_view field) {
    if (group.empty() || isAverageTitle(field)) {
        return {};
    }
    const int col = FieldColumn(*group.front().table, field);
    if (col > 0 && DeriveField(*group.front().table, col).kind == FieldDerivation::Kind::Average) {
        return {};
    }
    for (const std::string& title : group.front().table->fieldTitles()) {
        if (title == field) {
            continue;
        }
        const bool everywhere = std::all_of(group.begin(), group.end(), [&title](const TableInGroup& t) {
            const int col = FieldColumn(*t.table, title);
            return col > 0 && (isAverageTitle(title) ||
                               DeriveField(*t.table, col).kind == FieldDerivation::Kind::Average);
        });
        if (everywhere) {
            return title;
        }
    }
    return {};
}

void AppendNote(std::string& classInfo, std::string_view note) {
    if (note.empty()) {
        return;
    }
    const bool stopped = classInfo.size() >= kFullStop.size() &&
                         std::string_view(classInfo).substr(classInfo.size() - kFullStop.size()) == kFullStop;
    if (!classInfo.empty() && !stopped) {
        classInfo += "；";
    }
    classInfo += note;
}

std::string FieldNotes(const TableGroup& group, std::string_view field, std::string_view others) {
    std::string notes = MismatchedTotalsMessage(group, field, others);
    AppendNote(notes, TextMarksNote(field, GroupFieldMarks(group, field)));
    return notes;
}

}  // namespace scorvane
