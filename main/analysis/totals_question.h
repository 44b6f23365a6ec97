#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/prompter.h"
#include "main/analysis/field_across_tables.h"

namespace scorvane {

// Before an analysis by a total over several tables: when the tables' totals add different subjects
// (MismatchedTotalsMessage), the user is told so before the result opens.

inline constexpr std::string_view kUseAverageCaption = "使用平均(&A)";

// With `offerAverage` and an average that every table has (ComparableAverageField), asks (询问) the
// sentences followed by what the answers do, with 使用平均(&A) (the default), "仍然使用<field>" and 取消
// (Escape); otherwise tells them (提示). The field to go on with: the average, `field`, or nothing when
// the user cancelled. `field` itself when the totals agree; nothing is asked then.
std::optional<std::string> ConfirmComparableTotals(const TableGroup& group, const std::string& field,
                                                   std::string_view others, bool offerAverage,
                                                   Prompter& prompter);

}  // namespace scorvane
