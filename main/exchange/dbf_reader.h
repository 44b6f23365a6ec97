#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "main/document/grade_table.h"

namespace scorvane {

// A reader of dBASE III and FoxPro tables (.dbf), for the converter into grade tables.
//
// Version bytes read: 0x02 and 0xFB (FoxBASE), 0x03 (dBASE III, FoxPro without memo), 0x83 (dBASE III
// with a .dbt memo file), 0x8B, 0x8E, 0x43, 0x63, 0xCB (dBASE IV), 0xF5 (FoxPro 2 with a .fpt memo
// file), 0x30, 0x31, 0x32 (Visual FoxPro). Field types and how their values become text:
//   C  text, trailing blanks removed
//   N, F  the number as written, blanks around it removed
//   I  a four-byte integer, in decimal
//   B  an eight-byte floating-point number, to 15 significant digits
//   Y  an amount (eight-byte integer of ten-thousandths) with four decimals, trailing zeros removed
//   D  "YYYY-MM-DD" (empty when unset; any other text as it is)
//   T  "YYYY-MM-DD hh:mm:ss" from a day number and milliseconds (empty when unset)
//   L  "T" or "F" (T/t/Y/y and F/f/N/n); empty when unset
//   M  the memo text from the memo file beside the table (.fpt for FoxPro, .dbt for dBASE), trailing
//      blanks removed; empty when the memo file is missing or cannot be read there. Each memo block is
//      read once however many fields point to it.
// A field of any other type keeps its column with empty cells, and the read says so (DbfReadNotes).
// Hidden system fields of Visual FoxPro (such as the null flags) are left out. Records marked deleted
// are left out.
//
// Text is read in the code page the table's language driver byte (byte 29) names: 0x7A and 0x4D GBK,
// 0x78 and 0x4F Big5, 0x7B and 0x13 Shift-JIS, 0x79 and 0x4E Korean, 0x01 and 0x09 code page 437,
// 0x02 and 0x0A code page 850, 0x64 code page 852, 0x26 and 0x65 code page 866, 0xC8 code page 1250,
// 0xC9 code page 1251, 0x03, 0x57, 0x58 and 0x59 code page 1252. A table that names none (0, as
// other programs write UTF-8 tables, or a code page not listed) is read as UTF-8 when every text field
// of it is valid UTF-8 and some hold characters beyond ASCII, otherwise as GBK.
//
// Error numbers, shown after "数据库读取发生错误。错误代码：":
enum class DbfError : int {
    None = 0,
    CannotOpen = 1,       // the file cannot be opened or read
    NotDbf = 2,           // not a dBASE or FoxPro table: shorter than a header, or an unknown version byte
    BadHeader = 3,        // the header is damaged: no field, the field list runs past the header, a field
                          // of length 0 or of a length its type cannot have, record length too small
    Truncated = 4,        // the file is shorter than its header says: records are missing
    UnsupportedType = 5,  // no longer given: a field of an unknown type is read as empty (DbfReadNotes)
    TooLarge = 6,         // more records or fields than a grade table holds (32766)
    MemoDamaged = 7,      // the memo file is damaged: its memos overlap or run on past their end, so
                          // that the table's memo text would be longer than the memo file (more than
                          // a margin of 1 MB of shared memos)
};

// What a table that was read leaves unsaid in its grid: the fields of a type the reader does not know
// (their cells are empty), and the memo file that memo fields point to but that is not there (their
// cells are empty too).
struct DbfReadNotes {
    struct UnknownField {
        std::string name;
        char type = 0;
    };
    std::vector<UnknownField> unknownFields;
    std::string missingMemoFile;  // the memo file's name, without its folder

    bool empty() const { return unknownFields.empty() && missingMemoFile.empty(); }
};

inline constexpr std::string_view kDbfErrorMessage = "数据库读取发生错误。错误代码：";

// The grid of the table: cell (0, 0) holds two spaces, row 0 the field names, column 0 the record
// numbers 1, 2, ... and each further cell one value as text. `memo` is the memo file's bytes, if any
// (its kind is told by `memoIsFoxPro`: .fpt when true, .dbt otherwise). On an error `out` is unchanged.
DbfError ParseDbf(std::string_view dbf, std::optional<std::string_view> memo, bool memoIsFoxPro,
                  GradeTable& out, DbfReadNotes* notes = nullptr);

// Reads the table at `path`, with its memo file when it has memo fields: the file beside it with the
// same name and the extension .fpt or .dbt (in lower or upper case). A missing memo file is named in
// `notes` (as the table's name with the extension its version uses).
DbfError ReadDbfFile(const std::string& path, GradeTable& out, DbfReadNotes* notes = nullptr);

}  // namespace scorvane
