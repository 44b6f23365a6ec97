#pragma once

#include <string>
#include <utility>
#include <vector>

namespace scorvane::testing {

// Workbooks written by the tests themselves: their XML parts zipped with libzip.

using ZipMembers = std::vector<std::pair<std::string, std::string>>;  // name, bytes

// The members as a zip archive (deflated, or stored).
std::string ZipBytes(const ZipMembers& members, bool stored = false);

struct XlsxBook {
    std::vector<std::pair<std::string, std::string>> sheets;  // name, the worksheet's inner XML
    std::vector<std::string> shared;                          // shared strings (XML text)
    std::string numFmts;                                      // <numFmt .../> elements
    std::vector<int> cellXfs = {0};                           // number format of each cell style
    bool date1904 = false;
};
// The parts of an .xlsx workbook, to zip as they are or after changing one.
ZipMembers XlsxParts(const XlsxBook& book);
std::string XlsxBytes(const XlsxBook& book);
// A worksheet's inner XML for rows of cells given as "<c ...>" texts: "<sheetData><row r=..>..</sheetData>".
std::string SheetData(const std::vector<std::string>& rows);

// An .ods workbook of tables (name, the table's inner XML: rows of cells), as its parts and zipped.
ZipMembers OdsParts(const std::vector<std::pair<std::string, std::string>>& tables);
std::string OdsBytes(const std::vector<std::pair<std::string, std::string>>& tables);

}  // namespace scorvane::testing
