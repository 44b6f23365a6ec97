#include <gtest/gtest.h>
#include <zip.h>

#include <cstring>

#include "main/workbook/workbook_import.h"
#include "main/workbook/xml_stream.h"
#include "support/temp_dir.h"
#include "support/workbook_builder.h"

namespace scorvane {
namespace {

using testing::XlsxBook;

// The sheet's cells as rows of texts (the stored rows only).
std::vector<std::vector<std::string>> cells(const SheetGrid& g) {
    std::vector<std::vector<std::string>> out;
    for (const SheetRow& r : g.rows) {
        out.push_back(g.texts(r));
    }
    return out;
}

SheetError read(const std::string& bytes, SheetGrid& g, SheetChoice choice = {}) {
    return ReadZipWorkbook(bytes, choice, g);
}

std::string c(const std::string& ref, const std::string& attrs, const std::string& inner) {
    return "<c r=\"" + ref + "\" " + attrs + ">" + inner + "</c>";
}

// Every kind of value, in the cells of one row each.
XlsxBook everyKind() {
    XlsxBook b;
    b.shared = {"姓名", "007", "第一行\n第二行", "_x000D_x"};
    b.numFmts = "<numFmt numFmtId=\"164\" formatCode=\"yyyy&quot;年&quot;m&quot;月&quot;d&quot;日&quot;\"/>";
    b.cellXfs = {0, 14, 22, 164, 2};
    b.sheets = {
        {"其它", testing::SheetData({c("A1", "t=\"s\"", "<v>0</v>")})},
        {"成绩",
         "<sheetData>"
         "<row r=\"1\">" +
             c("A1", "t=\"s\"", "<v>0</v>") + c("B1", "t=\"s\"", "<v>1</v>") +
             "</row>"
             "<row r=\"2\">" +
             c("A2", "", "<v>2024000001</v>") + c("B2", "", "<v>85.5</v>") +
             c("C2", "", "<v>0.33333333333333331</v>") + c("D2", "s=\"4\"", "<v>3</v>") +
             "</row>"
             "<row r=\"3\">" +
             c("A3", "s=\"1\"", "<v>45536</v>") + c("B3", "s=\"2\"", "<v>45536.5</v>") +
             c("C3", "s=\"3\"", "<v>45536</v>") + c("D3", "t=\"d\"", "<v>2024-09-01T08:30:00</v>") +
             "</row>"
             "<row r=\"4\">" +
             c("A4", "t=\"b\"", "<v>1</v>") + c("B4", "t=\"b\"", "<v>0</v>") +
             c("C4", "t=\"e\"", "<f>1/0</f><v>#DIV/0!</v>") +
             c("D4", "", "<f>SUM(A2:B2)</f><v>2024000086.5</v>") +
             c("E4", "t=\"str\"", "<f>A1</f><v>姓名</v>") + c("F4", "", "<f>A1+1</f>") +
             "</row>"
             "<row r=\"6\">" +
             c("A6", "t=\"s\"", "<v>2</v>") +
             c("B6", "t=\"inlineStr\"", "<is><r><t>加</t></r><r><t>粗</t></r><rPh><t>ピン</t></rPh></is>") +
             c("C6", "t=\"s\"", "<v>3</v>") +
             "</row>"
             "<row r=\"7\">" +
             c("A7", "", "<v>1</v>") + c("B7", "", "<v>2</v>") + c("C7", "", "<v>3</v>") +
             "</row></sheetData><mergeCells count=\"1\"><mergeCell ref=\"A7:B8\"/></mergeCells>"}};
    return b;
}

TEST(XlsxReader, EveryKindOfValueAsAReaderSeesIt) {
    SheetGrid g;
    ASSERT_EQ(read(testing::XlsxBytes(everyKind()), g, SheetChoice{"成绩", 0}), SheetError::None);
    EXPECT_EQ(g.sheetNames, (std::vector<std::string>{"其它", "成绩"}));
    EXPECT_EQ(g.sheet, 1);
    using Rows = std::vector<std::vector<std::string>>;
    EXPECT_EQ(cells(g), (Rows{{"姓名", "007"},
                              {"2024000001", "85.5", "0.333333333333333", "3"},
                              {"2024-09-01", "2024-09-01 12:00:00", "2024-09-01", "2024-09-01 08:30:00"},
                              {"TRUE", "FALSE", "#DIV/0!", "2024000086.5", "姓名"},
                              {"第一行\r\n第二行", "加粗", "\r\nx"},
                              {"1", "", "3"}}));
    EXPECT_EQ(g.rows[4].index, 5);  // the empty row 5 is not stored
}

TEST(XlsxReader, DateSystemOf1904) {
    // The workbook's flag is an XML boolean: "1" or "true" count from 1904, 1462 days later than 1900.
    const std::pair<std::string, std::string> cases[] = {
        {"1", "2024-09-01"}, {"true", "2024-09-01"}, {"0", "2020-08-31"}, {"false", "2020-08-31"}};
    for (const auto& [flag, date] : cases) {
        XlsxBook b;
        b.date1904 = true;
        b.cellXfs = {0, 14};
        b.sheets = {{"S", testing::SheetData({c("A1", "s=\"1\"", "<v>44074</v>")})}};
        testing::ZipMembers parts = testing::XlsxParts(b);
        for (auto& [name, bytes] : parts) {
            const std::string set = "date1904=\"1\"";
            if (const size_t at = bytes.find(set); at != std::string::npos) {
                bytes.replace(at, set.size(), "date1904=\"" + flag + "\"");
            }
        }
        SheetGrid g;
        ASSERT_EQ(read(testing::ZipBytes(parts), g), SheetError::None) << flag;
        EXPECT_EQ(g.cell(g.rows[0], 0), date) << flag;
    }
}

TEST(XlsxReader, SheetsByNameAndNumber) {
    const std::string bytes = testing::XlsxBytes(everyKind());
    SheetGrid g;
    EXPECT_EQ(read(bytes, g, SheetChoice{"", 0}), SheetError::None);
    EXPECT_EQ(g.sheet, 0);
    EXPECT_EQ(read(bytes, g, SheetChoice{"", 2}), SheetError::MissingSheet);
    EXPECT_EQ(read(bytes, g, SheetChoice{"期末", 0}), SheetError::MissingSheet);
    EXPECT_EQ(g.sheetNames.size(), 2u);
}

// A workbook with one part replaced (or removed, when `bytes` is empty).
std::string changed(const std::string& part, const std::string& bytes) {
    testing::ZipMembers parts = testing::XlsxParts(everyKind());
    for (auto it = parts.begin(); it != parts.end(); ++it) {
        if (it->first == part) {
            if (bytes.empty()) {
                parts.erase(it);
            } else {
                it->second = bytes;
            }
            break;
        }
    }
    return testing::ZipBytes(parts);
}

TEST(XlsxReader, HostileWorkbooksAreRefused) {
    const std::string sheet =
        "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";
    std::string wide = sheet + "<sheetData>";
    for (int r = 1; r <= 62; ++r) {
        wide +=
            "<row r=\"" + std::to_string(r) + "\"><c r=\"XFD" + std::to_string(r) + "\"><v>1</v></c></row>";
    }
    const std::string good = testing::XlsxBytes(everyKind());
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"entity declarations", changed("xl/worksheets/sheet2.xml",
                                        "<?xml version=\"1.0\"?><!DOCTYPE w [<!ENTITY a \"aaaa\">]>" + sheet +
                                            "<sheetData><row><c t=\"inlineStr\"><is><t>&a;</t></is></c></row>"
                                            "</sheetData></worksheet>")},
        {"shared string out of range",
         changed("xl/worksheets/sheet2.xml",
                 sheet + "<sheetData><row><c t=\"s\"><v>4</v></c></row></sheetData></worksheet>")},
        {"shared string one past the last",
         changed(
             "xl/worksheets/sheet2.xml",
             sheet +
                 "<sheetData><row r=\"1\"><c r=\"A1\" t=\"s\"><v>4</v></c></row></sheetData></worksheet>")},
        {"missing sheet part", changed("xl/worksheets/sheet2.xml", "")},
        {"more than a million cells", changed("xl/worksheets/sheet2.xml", wide + "</sheetData></worksheet>")},
        {"malformed XML", changed("xl/worksheets/sheet2.xml", sheet + "<sheetData><row>")},
        {"truncated", good.substr(0, good.size() / 2)},
        {"not a zip", "PK\x03\x04 nothing else"},
    };
    for (const auto& k : cases) {
        SheetGrid g;
        EXPECT_EQ(read(k.bytes, g, SheetChoice{"成绩", 0}), SheetError::Format) << k.what;
    }
    // The last shared string itself is read.
    SheetGrid last;
    ASSERT_EQ(
        read(
            changed(
                "xl/worksheets/sheet2.xml",
                sheet +
                    "<sheetData><row r=\"1\"><c r=\"A1\" t=\"s\"><v>3</v></c></row></sheetData></worksheet>"),
            last, SheetChoice{"成绩", 0}),
        SheetError::None);
    EXPECT_EQ(last.cell(last.rows[0], 0), "\r\nx");
}

TEST(ZipArchive, MembersClaimingOrReachingTooMuchAreRefused) {
    // Members that claim more than the budget (256 MB) unpacked, alone or together (the sizes patched
    // in the central directory).
    const struct {
        std::vector<uint32_t> claims;  // MB
        bool opens;
    } cases[] = {{{300}, false}, {{150, 150}, false}, {{150}, true}, {{150, 100}, true}, {{256}, true}};
    for (const auto& k : cases) {
        testing::ZipMembers members;
        for (size_t i = 0; i < k.claims.size(); ++i) {
            members.emplace_back("m" + std::to_string(i) + ".xml", std::string(1000, 'a'));
        }
        std::string claimed = testing::ZipBytes(members, true);
        size_t i = 0;
        for (size_t at = claimed.find("PK\x01\x02", 0, 4); at != std::string::npos;
             at = claimed.find("PK\x01\x02", at + 4, 4)) {
            const uint32_t size = k.claims[i++] << 20;
            std::memcpy(&claimed[at + 24], &size, 4);
        }
        ASSERT_EQ(i, k.claims.size());
        ZipArchive archive;
        EXPECT_EQ(archive.openBytes(claimed), k.opens)
            << k.claims.size() << " members, the first " << k.claims[0];
    }

    // A member that unpacks to more than the budget lets go once the budget is spent, whatever it claims.
    ZipArchive archive;
    const std::string zeros = testing::ZipBytes({{"a.xml", std::string(1 << 20, '0')}});
    ASSERT_TRUE(archive.openBytes(zeros));
    archive.setBudget(1 << 16);
    size_t seen = 0;
    EXPECT_FALSE(archive.read(archive.find("A.XML"), [&seen](std::string_view b) {
        seen += b.size();
        return true;
    }));
    EXPECT_LE(seen, size_t{1 << 16});
}

TEST(ZipArchive, EncryptedMembersAreRefused) {
    ASSERT_TRUE(zip_encryption_method_supported(ZIP_EM_TRAD_PKWARE, 1) ||
                zip_encryption_method_supported(ZIP_EM_AES_256, 1));
    const int method =
        zip_encryption_method_supported(ZIP_EM_AES_256, 1) ? ZIP_EM_AES_256 : ZIP_EM_TRAD_PKWARE;
    testing::TempDir dir;
    const std::string path = dir.file("secret.xlsx");
    int error = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_CREATE, &error);
    const std::string text = "<x/>";
    const zip_int64_t i =
        zip_file_add(z, "xl/workbook.xml", zip_source_buffer(z, text.data(), text.size(), 0), 0);
    zip_file_set_encryption(z, static_cast<zip_uint64_t>(i), static_cast<zip_uint16_t>(method), "pw");
    ASSERT_EQ(zip_close(z), 0);
    ZipArchive archive;
    EXPECT_FALSE(archive.openFile(path));
}

TEST(OdsReader, ValuesRepeatsAndCoveredCells) {
    const std::string cell = "<table:table-cell office:value-type=";
    const std::string rows =
        "<table:table-row><table:table-cell table:number-columns-spanned=\"3\"><text:p>期中成绩</text:p>"
        "</table:table-cell><table:covered-table-cell table:number-columns-repeated=\"2\"><text:p>x</text:p>"
        "</table:covered-table-cell></table:table-row>"
        "<table:table-row table:number-rows-repeated=\"3\"><table:table-cell "
        "table:number-columns-repeated=\"5\"/>"
        "</table:table-row>"
        "<table:table-row>" +
        cell + "\"string\"><text:p>007</text:p></table:table-cell>" + cell +
        "\"float\" office:value=\"85.5\"><text:p>85.50</text:p></table:table-cell>" + cell +
        "\"percentage\" office:value=\"0.33333333333333331\"><text:p>33%</text:p></table:table-cell>" + cell +
        "\"date\" office:date-value=\"2024-09-01\"><text:p>2024/9/1</text:p></table:table-cell>" + cell +
        "\"date\" office:date-value=\"2024-09-01T12:00:00\"/>" + cell +
        "\"time\" office:time-value=\"PT08H30M00S\"/>" + cell +
        "\"boolean\" office:boolean-value=\"true\"/>" +
        "<table:table-cell table:formula=\"of:=1/0\" office:value-type=\"string\" office:string-value=\"\">"
        "<text:p>#DIV/0!</text:p></table:table-cell>"
        "<table:table-cell table:formula=\"of:=SUM([.B3])\"/>"
        "<table:table-cell><text:p>一<text:s text:c=\"2\"/>二</text:p><text:p>三<text:line-break/>四</text:p>"
        "<office:annotation><text:p>批注</text:p></office:annotation></table:table-cell></table:table-row>"
        "<table:table-row table:number-rows-repeated=\"2\">" +
        cell +
        "\"float\" office:value=\"1\" table:number-columns-repeated=\"2\"/></table:table-row>"
        "<table:table-row table:number-rows-repeated=\"1048000\"><table:table-cell/></table:table-row>";
    SheetGrid g;
    ASSERT_EQ(read(testing::OdsBytes({{"封面", ""}, {"成绩", rows}}), g, SheetChoice{"成绩", 0}),
              SheetError::None);
    using Rows = std::vector<std::vector<std::string>>;
    EXPECT_EQ(cells(g), (Rows{{"期中成绩"},
                              {"007", "85.5", "0.333333333333333", "2024-09-01", "2024-09-01 12:00:00",
                               "08:30:00", "TRUE", "#DIV/0!", "", "一  二\r\n三\r\n四"},
                              {"1", "1"},
                              {"1", "1"}}));
    EXPECT_EQ(g.rows[1].index, 4);
    EXPECT_EQ(g.rows[3].index, 6);
    EXPECT_EQ(g.sheetNames, (std::vector<std::string>{"封面", "成绩"}));
    EXPECT_EQ(read(testing::OdsBytes({{"封面", ""}}), g, SheetChoice{"", 1}), SheetError::MissingSheet);
}

TEST(OdsReader, HostileSpreadsheetsAreRefused) {
    const std::string many =
        "<table:table-row table:number-rows-repeated=\"1001\"><table:table-cell "
        "table:number-columns-repeated=\"1000\"><text:p>1</text:p></table:table-cell>"
        "</table:table-row>";
    const std::string doctype = testing::ZipBytes(
        {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
         {"content.xml", "<?xml version=\"1.0\"?><!DOCTYPE d [<!ENTITY e \"x\">]><d>&e;</d>"}});
    SheetGrid g;
    EXPECT_EQ(read(testing::OdsBytes({{"S", many}}), g), SheetError::Format);
    EXPECT_EQ(read(doctype, g), SheetError::Format);
    EXPECT_EQ(read(testing::ZipBytes({{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"}}), g),
              SheetError::Format);
}

TEST(OdsReader, ASpreadsheetWithoutItsMimetypeMemberIsStillRead) {
    testing::ZipMembers parts = testing::OdsParts(
        {{"成绩",
          "<table:table-row><table:table-cell office:value-type=\"float\" office:value=\"85\"/>"
          "</table:table-row>"}});
    ASSERT_EQ(parts.front().first, "mimetype");
    parts.erase(parts.begin());
    SheetGrid g;
    ASSERT_EQ(read(testing::ZipBytes(parts), g), SheetError::None);
    EXPECT_EQ(cells(g), (std::vector<std::vector<std::string>>{{"85"}}));
    EXPECT_EQ(g.sheetNames, (std::vector<std::string>{"成绩"}));
}

// A first look (SheetChoice::rowLimit) stops after that many rows that hold something and says so.
TEST(WorkbookReaders, AFirstLookReadsOnlyTheRowsAskedFor) {
    std::vector<std::string> xlsxRows;
    std::string odsRows;
    for (int r = 1; r <= 5; ++r) {
        xlsxRows.push_back(c("A" + std::to_string(r), "", "<v>" + std::to_string(r) + "</v>"));
        odsRows += "<table:table-row><table:table-cell office:value-type=\"float\" office:value=\"" +
                   std::to_string(r) + "\"/></table:table-row>";
    }
    XlsxBook book;
    book.sheets = {{"成绩", testing::SheetData(xlsxRows)}};
    const std::vector<std::pair<std::string, std::string>> books = {
        {"xlsx", testing::XlsxBytes(book)}, {"ods", testing::OdsBytes({{"成绩", odsRows}, {"其它", ""}})}};
    for (const auto& [kind, bytes] : books) {
        SheetGrid first;
        ASSERT_EQ(read(bytes, first, SheetChoice{{}, 0, 2}), SheetError::None) << kind;
        EXPECT_EQ(cells(first), (std::vector<std::vector<std::string>>{{"1"}, {"2"}})) << kind;
        EXPECT_TRUE(first.partial) << kind;
        SheetGrid whole;
        ASSERT_EQ(read(bytes, whole), SheetError::None) << kind;
        EXPECT_EQ(whole.rows.size(), 5u) << kind;
        EXPECT_FALSE(whole.partial) << kind;
        // A read stopped from elsewhere ends at the next row.
        const std::atomic<bool> stop = true;
        SheetGrid stopped;
        ASSERT_EQ(read(bytes, stopped, SheetChoice{{}, 0, 0, &stop}), SheetError::None) << kind;
        EXPECT_TRUE(stopped.rows.empty() && stopped.partial) << kind;
    }
}

TEST(WorkbookImport, MessagesInTheSystemsStyle) {
    testing::TempDir dir;
    testing::WriteBytes(dir.file("book.xlsx"), testing::XlsxBytes(everyKind()));
    testing::WriteBytes(dir.file("text.xlsx"), "姓名,语文\n");
    SheetGrid g;
    EXPECT_EQ(ImportWorkbook(dir.file("none.xlsx"), {}, -1, g).message,
              "找不到文件：" + dir.file("none.xlsx"));
    EXPECT_EQ(ImportWorkbook(dir.file("text.xlsx"), {}, -1, g).message, "文件格式不正确!");
    EXPECT_EQ(ImportWorkbook(dir.file("book.xlsx"), {"期末", 0}, -1, g).message, "找不到工作表：期末");
    EXPECT_EQ(ImportWorkbook(dir.file("book.xlsx"), {"", 4}, -1, g).message, "找不到工作表：5");
    const SheetTable s = ImportWorkbook(dir.file("book.xlsx"), {"成绩", 0}, -1, g);
    EXPECT_EQ(s.message, "");
    EXPECT_EQ(s.table.title, "成绩");
    EXPECT_EQ(s.table.cell(0, 2), "007");
}

}  // namespace
}  // namespace scorvane
