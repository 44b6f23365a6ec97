#include "main/workbook/xls_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "main/workbook/sheet_to_table.h"
#include "main/workbook/workbook_import.h"
#include "support/temp_dir.h"
#include "support/xls_builder.h"

namespace scorvane {
namespace {

using namespace testing;  // the workbook builder
using ::testing::Values;

std::string xls(const std::string& name) {
    return std::string(SCORVANE_SOURCE_DIR) + "/tests/main/workbook/xls/" + name;
}

// The rows of a grid as "row:cell|cell;..." (its row numbers from 0).
std::string shown(const SheetGrid& g) {
    std::string out;
    for (const SheetRow& row : g.rows) {
        out += std::to_string(row.index) + ":";
        for (int c = 0; c < row.width; ++c) {
            out += (c ? "|" : "") + std::string(g.cell(row, c));
        }
        out += ";";
    }
    return out;
}

SheetError readBytes(const std::string& bytes, SheetGrid& g, const SheetChoice& choice = {}) {
    TempDir dir;
    WriteBytes(dir.file("book.xls"), bytes);
    return ReadXls(dir.file("book.xls"), choice, g);
}

TEST(XlsReader, EveryKindOfValueAsAReaderSeesIt) {
    SheetGrid g;
    ASSERT_EQ(ReadXls(xls("values.xls"), SheetChoice{"成绩", 0}, g), SheetError::None);
    EXPECT_EQ(g.sheetNames, (std::vector<std::string>{"封面", "成绩"}));
    const SheetTable s = SheetToGradeTable(g);
    const GradeTable& t = s.table;
    EXPECT_EQ(t.title, "期中成绩");
    EXPECT_TRUE(s.rowNumbers);
    using Row = std::vector<std::string>;
    auto row = [&t](int r) {
        Row out;
        for (int c = 1; c < t.cols(); ++c) {
            out.push_back(t.cell(r, c));
        }
        return out;
    };
    EXPECT_EQ(row(0), (Row{"姓名", "学号", "语文", "出生", "字段6", "字段7"}));
    EXPECT_EQ(row(1), (Row{"张三", "007", "85.5", "2024-09-01", "2024-09-01 12:00:00", "2024-09-01"}));
    EXPECT_EQ(row(2), (Row{"李四", "2024000001", "0.333333333333333", "TRUE", "#DIV/0!", "90"}));
    EXPECT_EQ(row(3), (Row{"第一行\r\n第二行", "公式文字", "08:30:00", "", "", ""}));
}

TEST(XlsReader, DateSystemOf1904AndSheetsByNumber) {
    SheetGrid g;
    ASSERT_EQ(ReadXls(xls("date1904.xls"), SheetChoice{"", 0}, g), SheetError::None);
    // A date and a formula's date result both count from 1904.
    EXPECT_EQ(g.texts(g.rows.at(0)), (std::vector<std::string>{"2024-09-01", "1", "2024-09-01"}));
    EXPECT_EQ(ReadXls(xls("values.xls"), SheetChoice{"", 2}, g), SheetError::MissingSheet);
    EXPECT_EQ(g.sheetNames, (std::vector<std::string>{"封面", "成绩"}));
}

TEST(XlsReader, AFirstLookReadsOnlyTheRowsAskedFor) {
    SheetGrid whole;
    ASSERT_EQ(ReadXls(xls("values.xls"), SheetChoice{"成绩", 0}, whole), SheetError::None);
    SheetGrid first;
    ASSERT_EQ(ReadXls(xls("values.xls"), SheetChoice{"成绩", 0, 2}, first), SheetError::None);
    ASSERT_EQ(first.rows.size(), 2u);
    EXPECT_EQ(first.texts(first.rows[1]), whole.texts(whole.rows.at(1)));
    EXPECT_TRUE(first.partial);
    EXPECT_FALSE(whole.partial);
}

// Workbooks that LibreOffice and Gnumeric saved as .xls (BIFF8, and Gnumeric's BIFF5 in code page 936)
// read as the .xlsx copies the same program saved of the same workbook: every sheet, every cell.
TEST(XlsReader, WorkbooksOfOtherProgramsReadAsTheirXlsxCopies) {
    for (const char* name : {"libreoffice", "libreoffice_1904", "gnumeric", "gnumeric_biff7"}) {
        for (int sheet = 0; sheet < 8; ++sheet) {
            SheetGrid fromXls;
            SheetGrid fromXlsx;
            const SheetError error = ReadXls(xls(std::string(name) + ".xls"), SheetChoice{"", sheet}, fromXls);
            EXPECT_EQ(error, ReadWorkbook(xls(std::string(name) + ".xlsx"), SheetChoice{"", sheet}, fromXlsx));
            EXPECT_EQ(fromXls.sheetNames, fromXlsx.sheetNames) << name;
            EXPECT_EQ(shown(fromXls), shown(fromXlsx)) << name << " sheet " << sheet;
            if (sheet < 4) {
                EXPECT_EQ(error, SheetError::None) << name << " sheet " << sheet;
            }
        }
    }
    // What the copies agree on: names and marks, dates, a formula's text of 6,000 characters continued
    // in the next record (with flag bytes from LibreOffice, without from Gnumeric), text in code page 936.
    for (const char* name : {"libreoffice.xls", "gnumeric.xls", "gnumeric_biff7.xls"}) {
        SheetGrid g;
        ASSERT_EQ(ReadXls(xls(name), SheetChoice{"成绩", 0}, g), SheetError::None) << name;
        EXPECT_EQ(g.texts(g.rows.at(1)).at(1), "姓名") << name;
        EXPECT_EQ(g.rows.at(2).width, 9) << name;
        ASSERT_EQ(ReadXls(xls(name), SheetChoice{"公式", 0}, g), SheetError::None) << name;
        std::string longText;
        for (int i = 0; i < 3000; ++i) {
            longText += "很长";
        }
        const auto row = std::find_if(g.rows.begin(), g.rows.end(),
                                      [&g](const SheetRow& r) { return g.cell(r, 0) == "REPT(\"很长\",3000)"; });
        ASSERT_NE(row, g.rows.end()) << name;
        EXPECT_EQ(g.cell(*row, 1), longText) << name;
    }
}

struct Malformed {
    const char* what;
    std::string globals;
    std::string sheet;
    const char* rows;  // as shown(), or nullptr: the workbook is refused
};

class XlsRecords : public ::testing::TestWithParam<Malformed> {};

// Each record's lengths checked against the record, each index against its table: what is damaged
// refuses the workbook, what can be read soundly is.
TEST_P(XlsRecords, AreReadSoundlyOrRefused) {
    const Malformed& c = GetParam();
    SheetGrid g;
    const SheetError error = readBytes(XlsBytes(c.globals, {{"S", c.sheet}}), g);
    if (c.rows == nullptr) {
        EXPECT_EQ(error, SheetError::Format) << c.what;
    } else {
        ASSERT_EQ(error, SheetError::None) << c.what;
        EXPECT_EQ(shown(g), c.rows) << c.what;
    }
}

uint32_t rkInt(int32_t v, bool hundredths = false) {
    return (static_cast<uint32_t>(v) << 2) | 2 | (hundredths ? 1 : 0);
}

std::string bofOfChart() {
    return Biff(0x0809, U16(0x0600) + U16(0x0020) + U16(0) + U16(0) + U32(0) + U32(0));
}

INSTANTIATE_TEST_SUITE_P(
    Table, XlsRecords,
    Values(
        Malformed{"a LABEL whose string runs past its record", "", Cell(0x0204, 0, 0, 0, U16(10) + U8(1) + "ab"),
                  nullptr},
        Malformed{"a NUMBER shorter than its value", "", Biff(0x0203, U16(0) + U16(0) + U16(0) + "1234"), nullptr},
        Malformed{"a record running past the stream", "", Label(0, 0, "a") + U16(0x0204) + U16(0xFFFF) + "ab",
                  nullptr},
        Malformed{"an SST index past the table", Sst({"甲"}), LabelSst(0, 0, 0) + LabelSst(0, 1, 1), nullptr},
        Malformed{"a CONTINUE that cuts a character in two",
                  Biff(0x00FC, U32(1) + U32(1) + U16(3) + U8(1) + "A" + U8(0) + "B") + Biff(0x003C, U8(0) + "C"),
                  LabelSst(0, 0, 0), nullptr},
        Malformed{"a CONTINUE that goes on in wide characters",
                  Biff(0x00FC, U32(2) + U32(2) + U16(5) + U8(0) + "ab") +
                      Biff(0x003C, U8(1) + "\x2d\x4e\x87\x65\x57\x5b" + Unicode("丙")),
                  LabelSst(0, 0, 0) + LabelSst(0, 1, 1), "0:ab中文字|丙;"},
        Malformed{"shared strings with formatting runs and phonetic text",
                  Biff(0x00FC, U32(2) + U32(2) + U16(2) + U8(0x0C) + U16(1) + U32(3) + "hi" + U32(0) + "xyz" +
                                   Unicode("乙")),
                  LabelSst(0, 0, 0) + LabelSst(0, 1, 1), "0:hi|乙;"},
        Malformed{"a formula's text continued without flag bytes", "",
                  Formula(0, 0, TextResult()) + Biff(0x0207, U16(4) + U8(1) + "\x2d\x4e\x87") +
                      Biff(0x003C, "\x65" + std::string("a\0b\0", 4)),
                  "0:中文ab;"},
        Malformed{"a FORMAT index no FORMAT record defines", Xf(200), Number(0, 0, 45536, 16), "0:45536;"},
        Malformed{"a cell style past the styles", Xf(14), Number(0, 0, 45536, 99) + Number(0, 1, 45536, 16),
                  "0:45536|2024-09-01;"},
        Malformed{"RK and MULRK numbers", Xf(14),
                  Cell(0x027E, 0, 0, 0, U32(rkInt(-7))) + Cell(0x027E, 0, 1, 0, U32(rkInt(8550, true))) +
                      Cell(0x027E, 0, 2, 0, U32(0x40040001)) +
                      Biff(0x00BD, U16(1) + U16(0) + U16(0) + U32(rkInt(5)) + U16(16) + U32(rkInt(45536)) + U16(1)),
                  "0:-7|85.5|0.025;1:5|2024-09-01;"},
        Malformed{"a MULRK no whole number of values long", "",
                  Biff(0x00BD, U16(0) + U16(0) + U16(0) + U32(rkInt(5)) + U16(0) + "x"), nullptr},
        Malformed{"formula results of every kind", "",
                  Formula(0, 0, TextResult()) + Biff(0x04BC, std::string(10, '\0')) + Biff(0x0207, Unicode("共享")) +
                      Formula(0, 1, BoolResult(true)) + Formula(0, 2, ErrorResult(0x07)) +
                      Formula(0, 3, U8(3) + std::string(5, '\0') + U16(0xFFFF)) + FormulaNumber(0, 4, 0.1 + 0.2) +
                      Formula(0, 5, TextResult()) + Label(0, 6, "无文字") + Biff(0x0207, Unicode("孤")),
                  "0:共享|TRUE|#DIV/0!||0.3||无文字;"},
        Malformed{"booleans and errors", "",
                  Cell(0x0205, 0, 0, 0, U8(1) + U8(0)) + Cell(0x0205, 0, 1, 0, U8(0) + U8(0)) +
                      Cell(0x0205, 0, 2, 0, U8(0x2A) + U8(1)) + Cell(0x0205, 0, 3, 0, U8(0x99) + U8(1)) +
                      Cell(0x0205, 0, 4, 0, U8(0x1D) + U8(1)),
                  "0:TRUE|FALSE|#N/A|#N/A|#NAME?;"},
        Malformed{"cells out of order, one given twice", "",
                  Label(1, 0, "c") + Label(0, 1, "b") + Label(0, 0, "x") + Label(0, 0, "a"), "0:a|b;1:c;"},
        Malformed{"a chart inside the sheet", "",
                  Label(0, 0, "a") + bofOfChart() + Label(5, 0, "图") + Biff(0x000A, "") + Label(1, 0, "b"),
                  "0:a;1:b;"},
        Malformed{"a surrogate without its partner, and a pair", "",
                  Cell(0x0204, 0, 0, 0, U16(3) + U8(1) + "a" + U8(0) + U16(0xD800) + "b" + U8(0)) + Label(0, 1, "😀"),
                  "0:a\xEF\xBF\xBD" "b|😀;"},
        Malformed{"a DIMENSION shorter than its fields", "", Biff(0x0200, U32(0) + U32(1)) + Label(0, 0, "a"),
                  nullptr},
        Malformed{"cells beyond the declared dimensions", "",
                  Biff(0x0200, U32(0) + U32(1) + U16(0) + U16(1) + U16(0)) + Label(0, 0, "a") + Label(3, 2, "b"),
                  "0:a;3:||b;"}));

// BIFF5 text is in the workbook's code page: GBK above all, also when none is named; others through iconv.
TEST(XlsReader, Biff5TextInTheWorkbooksCodePage) {
    struct Case {
        std::string codePage;
        std::string name;
        std::string label;
        std::string formula;
        const char* sheetName;
        const char* rows;
    };
    for (const Case& c : std::vector<Case>{
             {Biff(0x0042, U16(936)), "\xb1\xed", "\xd5\xc5\xc8\xfd", "\xb9\xab\xca\xbd", "表", "0:张三|公式;"},
             {"", "\xb1\xed", "\xd5\xc5\xc8\xfd", "\xb9\xab\xca\xbd", "表", "0:张三|公式;"},
             {Biff(0x0042, U16(1252)), "\xc9t\xe9", "caf\xe9", "na\xefve", "Été", "0:café|naïve;"}}) {
        const std::string records =
            Cell(0x0204, 0, 0, 0, U16(static_cast<uint16_t>(c.label.size())) + c.label) + Formula(0, 1, TextResult()) +
            Biff(0x0207, U16(static_cast<uint16_t>(c.formula.size())) + c.formula);
        SheetGrid g;
        ASSERT_EQ(readBytes(CompoundFile(XlsStream(c.codePage, {{c.name, records}}, false), "Book"), g),
                  SheetError::None)
            << c.sheetName;
        EXPECT_EQ(g.sheetNames, std::vector<std::string>{c.sheetName});
        EXPECT_EQ(shown(g), c.rows) << c.sheetName;
    }
}

// The offsets of a stream's BOUNDSHEET records' sheet offsets.
std::vector<size_t> sheetOffsetFields(const std::string& stream) {
    std::vector<size_t> out;
    for (size_t at = 0; at + 4 <= stream.size();) {
        const auto type = static_cast<uint16_t>(static_cast<uint8_t>(stream[at]) | static_cast<uint8_t>(stream[at + 1]) << 8);
        const size_t length = static_cast<uint8_t>(stream[at + 2]) | static_cast<uint8_t>(stream[at + 3]) << 8;
        if (type == 0x0085) {
            out.push_back(at + 4);
        }
        if (type == 0x000A) {
            break;  // the globals' end
        }
        at += 4 + length;
    }
    return out;
}

TEST(XlsReader, SheetsThatShareTheirRecordsAreRefused) {
    std::string stream = XlsStream("", {{"一", Label(0, 0, "a")}, {"二", Label(0, 0, "b")}});
    const std::vector<size_t> fields = sheetOffsetFields(stream);
    ASSERT_EQ(fields.size(), 2u);
    SheetGrid g;
    ASSERT_EQ(readBytes(CompoundFile(stream), g, SheetChoice{"", 1}), SheetError::None);
    EXPECT_EQ(shown(g), "0:b;");
    // The second sheet's records are the first's; then they start at no BOF at all.
    stream.replace(fields[1], 4, stream.substr(fields[0], 4));
    EXPECT_EQ(readBytes(CompoundFile(stream), g), SheetError::Format);
    stream[fields[1]] = static_cast<char>(stream[fields[1]] + 4);
    EXPECT_EQ(readBytes(CompoundFile(stream), g), SheetError::Format);
}

TEST(XlsReader, HostileWorkbooksAreRefusedQuickly) {
    // One long shared string in every cell: more text than any sheet holds.
    std::string cells;
    for (uint16_t r = 0; r < 10000; ++r) {
        cells += LabelSst(r, 0, 0);
    }
    const std::string amplified = XlsStream(Sst({std::string(30000, 'x')}), {{"S", cells}});
    // Thousands of sheets, each of them the same large sheet.
    std::vector<XlsSheet> sheets(3000, XlsSheet{"e", ""});
    sheets[0].records = cells;
    std::string many = XlsStream(Sst({"x"}), sheets);
    const std::vector<size_t> fields = sheetOffsetFields(many);
    for (size_t field : fields) {
        many.replace(field, 4, many.substr(fields[0], 4));
    }
    TempDir dir;
    WriteBytes(dir.file("amplified.xls"), CompoundFile(amplified));
    WriteBytes(dir.file("many.xls"), CompoundFile(many));
    for (const std::string& path : {xls("encrypted.xls"), xls("huge_dimension.xls"), xls("truncated.xls"),
                                    xls("README.md"), dir.file("amplified.xls"), dir.file("many.xls")}) {
        const auto start = std::chrono::steady_clock::now();
        SheetGrid g;
        EXPECT_EQ(ReadXls(path, SheetChoice{}, g), SheetError::Format) << path;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500)) << path;
    }
}

}  // namespace
}  // namespace scorvane
