#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace scorvane::testing {

// Binary workbooks written by the tests themselves, record by record: a BIFF8 (or BIFF5) workbook
// stream in a compound file of 512-byte sectors.

// A record: its type, its length and its bytes.
std::string Biff(uint16_t type, std::string_view data);
// Little-endian numbers, to spell a record's fields.
std::string U8(uint8_t v);
std::string U16(uint16_t v);
std::string U32(uint32_t v);
std::string F64(double v);
// A BIFF8 string with a 16-bit count: UTF-16 characters, or (`narrow`) one byte each (Latin-1).
std::string Unicode(std::string_view utf8, bool narrow = false);
// Cells: the row, the column and the cell style, then what the kind of record holds.
std::string Cell(uint16_t type, uint16_t row, uint16_t col, uint16_t style, std::string_view rest);
std::string Label(uint16_t row, uint16_t col, std::string_view utf8);
std::string LabelSst(uint16_t row, uint16_t col, uint32_t index);
std::string Number(uint16_t row, uint16_t col, double value, uint16_t style = 0);
// A FORMULA record whose stored result is the 8 bytes `result` (a number, or a kind of result).
std::string Formula(uint16_t row, uint16_t col, std::string_view result, uint16_t style = 0);
std::string FormulaNumber(uint16_t row, uint16_t col, double value, uint16_t style = 0);
// The stored results that are no number: text (in the STRING record after it), TRUE or FALSE, an error.
std::string TextResult();
std::string BoolResult(bool value);
std::string ErrorResult(uint8_t code);
// Shared strings, all in the SST record (no CONTINUE).
std::string Sst(const std::vector<std::string>& utf8);
// A cell style (XF) with that number format.
std::string Xf(uint16_t format);
std::string Format(uint16_t id, std::string_view code);

struct XlsSheet {
    std::string name;
    std::string records;  // between its BOF and EOF
};
// A workbook stream: the globals' BOF, `globals` (16 cell styles of format 0 come first, then the
// records given), a BOUNDSHEET per sheet, EOF; then each sheet's BOF, records, EOF. BIFF5: names and
// strings the caller gives are bytes of the workbook's code page.
std::string XlsStream(std::string_view globals, const std::vector<XlsSheet>& sheets, bool biff8 = true);
// The stream as the only stream of a compound file ("Workbook", or "Book" for BIFF5).
std::string CompoundFile(std::string_view stream, std::string_view name = "Workbook");
std::string XlsBytes(std::string_view globals, const std::vector<XlsSheet>& sheets, bool biff8 = true);

}  // namespace scorvane::testing
