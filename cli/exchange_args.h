#pragma once

#include <optional>
#include <string>
#include <vector>

#include "main/document/grade_table.h"
#include "main/exchange/partial_import.h"

namespace scorvane::cli {

// The arguments of the exchange commands. Each parser prints the reason on stderr and returns false
// (or nullopt) when the argument is not sound.

// A list of row numbers like "2,5,9-12" (blanks allowed around items; an empty text is an empty list):
// every number a data row 1 .. Rows-1.
bool ParseRowList(const GradeTable& table, const std::string& text, std::vector<int>& rows);

// A list of fields: items separated by commas, each a field title, a column number or a range of
// column numbers like "3-5".
bool ParseFieldList(const GradeTable& table, const std::string& text, std::vector<int>& fields);

// "FIELD=FIELD": the target table's key field and the source table's.
std::optional<KeyFields> ParseKeyFields(const GradeTable& target, const GradeTable& source,
                                        const std::string& text);

}  // namespace scorvane::cli
