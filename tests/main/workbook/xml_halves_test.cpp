#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "main/workbook/workbook_import.h"
#include "main/workbook/xml_stream.h"
#include "support/workbook_builder.h"

namespace scorvane {
namespace {

// Writes down every event; the rows' parent is <rows>. A continuation leaves out the start tags of the
// ancestors it is handed before the rows.
struct Recorder : XmlEvents {
    std::vector<std::string> log;
    bool continuation = false;
    bool inRows = false;
    int slow = 0;  // sleeps a millisecond at every slow-th start tag
    int starts = 0;
    bool start(const char* name, const char** a) override {
        if (slow > 0 && ++starts % slow == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        const std::string n(name);
        if (n == "rows") {
            rowsHere = "row";
            inRows = true;
            if (continuation) {
                return true;
            }
        }
        if (!continuation || inRows) {
            log.push_back("<" + n + (a[0] ? std::string(" ") + a[0] + "=" + a[1] : ""));
        }
        return !(a[0] && std::string(a[0]) == "refuse");
    }
    bool end(const char* name) override {
        log.push_back(std::string("/") + name);
        return true;
    }
    bool text(std::string_view t) override {
        log.emplace_back(t);
        return true;
    }
};

struct RecorderHalves : XmlHalves {
    Recorder one;
    std::vector<Recorder> pieces;
    int slowPieces = 0;
    bool joinable = true;
    bool joined = false;
    size_t joins = 0;
    XmlEvents& first() override { return one; }
    XmlEvents& piece(size_t k) override {
        if (pieces.size() <= k) {
            pieces.resize(k + 1);
        }
        pieces[k].continuation = true;
        pieces[k].slow = slowPieces;
        return pieces[k];
    }
    bool join(size_t k) override {
        if (!joinable) {
            return false;
        }
        one.log.insert(one.log.end(), pieces[k].log.begin(), pieces[k].log.end());
        joined = true;
        ++joins;
        return true;
    }
    void restart() override { one = Recorder(); }
};

// `rows` rows of the form <row n="i"><v>i</v></row>, each given to `row` to change.
std::string document(const std::string& before, int count, const std::string& after,
                     std::string (*row)(int) = nullptr) {
    std::string d = "<?xml version=\"1.0\"?><d a=\"1\"><head><x/></head>" + before;
    for (int i = 0; i < count; ++i) {
        d += row ? row(i) : "<row n=\"" + std::to_string(i) + "\"><v>" + std::to_string(i) + "</v></row>";
    }
    return d + after + "<tail>t</tail></d>";
}

// A long document comes out of a first part and pieces as out of one piece, whichever reader is the
// quicker, or is read again in one piece where a cut is no row of the rows' parent, or a piece refused,
// or the pieces cannot be joined.
TEST(XmlStream, ALongDocumentReadInPiecesComesOutAsInOnePiece) {
    constexpr int n = 40000;
    struct Case {
        const char* what;
        std::string xml;
        bool joinable;
        bool read;
        std::optional<bool> joined;  // unknown where it depends on which reader reaches the cuts first
        int slowFirst = 0;
        int slowPieces = 0;
    };
    std::string commentedRows = "<!--";
    for (int k = 0; k < 200000; ++k) {
        commentedRows += "<row ";
    }
    commentedRows += "-->";
    const std::vector<Case> cases = {
        {"rows", document("<rows>", n, "</rows>"), true, true, true},
        {"empty rows",
         document("<rows>", n, "</rows>", [](int i) { return "<row n=\"" + std::to_string(i) + "\"/>"; }),
         true, true, true},
        {"rows in groups", document("<rows><g>", n, "</g></rows>"), true, true, false},
        {"a row's start in a comment across the middle",
         document("<rows>", n, "</rows>",
                  [](int i) {
                      std::string row = "<row n=\"" + std::to_string(i) + "\"/>";
                      if (i == n / 2) {
                          std::string comment = "<!--";
                          for (int k = 0; k < 200000; ++k) {
                              comment += "<row ";
                          }
                          row = comment + "-->" + row;
                      }
                      return row;
                  }),
         true, true, std::nullopt},
        {"a row's start in a comment at the end", document("<rows>", n, commentedRows + "</rows>"), true,
         true, false},
        {"a first reader slower than the pieces", document("<rows>", n, "</rows>"), true, true, true, 100, 0},
        {"pieces slower than the first reader", document("<rows>", n, "</rows>"), true, true, true, 0, 5},
        {"halves that do not join", document("<rows>", n, "</rows>"), false, true, false},
        {"refused late",
         document("<rows>", n, "</rows>",
                  [](int i) { return std::string(i == 39000 ? "<row refuse=\"1\"/>" : "<row/>"); }),
         true, false, false},
        {"damaged late",
         document("<rows>", n, "</rows>",
                  [](int i) { return std::string(i == 39000 ? "<row></v>" : "<row/>"); }),
         true, false, false},
        {"damaged early",
         document("<rows>", n, "</rows>",
                  [](int i) { return std::string(i == 1000 ? "<row></v>" : "<row/>"); }),
         true, false, false},
    };
    for (const Case& c : cases) {
        Recorder whole;
        EXPECT_EQ(ParseXmlBytes(c.xml, whole, false), c.read) << c.what;
        RecorderHalves halves;
        halves.joinable = c.joinable;
        halves.one.slow = c.slowFirst;
        halves.slowPieces = c.slowPieces;
        EXPECT_EQ(ParseXmlBytesInHalves(c.xml, halves), c.read) << c.what;
        if (c.joined) {
            EXPECT_EQ(halves.joined, *c.joined) << c.what;
        }
        if (c.slowFirst > 0) {
            EXPECT_GE(halves.joins, 2u) << c.what;  // the quicker reader took more than the last piece
        }
        if (c.slowPieces > 0) {
            EXPECT_LE(halves.joins * 2, halves.pieces.size()) << c.what;  // the first reader went on
        }
        if (c.read) {
            EXPECT_EQ(halves.one.log, whole.log) << c.what;
        }
    }
}

// The readers' halves join as one read would have read the sheet, limits across the halves included.
TEST(WorkbookReaders, ALongSheetReadInTwoHalvesComesOutAsInOnePiece) {
    constexpr int n = 30000;
    auto odsRows = [](const std::string& row) {
        std::string rows;
        for (int i = 0; i < n; ++i) {
            rows += row;
        }
        return rows;
    };
    const std::string number =
        "<table:table-row><table:table-cell office:value-type=\"float\" "
        "office:value=\"7\"/></table:table-row>";
    std::vector<std::string> xlsxRows, unnumbered;
    for (int i = 1; i <= n; ++i) {
        const std::string r = std::to_string(i);
        xlsxRows.push_back("<c r=\"A" + r + "\" t=\"s\"><v>" + std::to_string(i % 2) + "</v></c><c r=\"B" +
                           r + "\"><v>" + r + "</v></c>");
        unnumbered.push_back("<row><c><v>" + r + "</v></c><c><v>" + r + "</v></c></row>");
    }
    testing::XlsxBook numbered;
    numbered.shared = {"甲", "乙"};
    numbered.sheets = {
        {"成绩", testing::SheetData(xlsxRows) +
                     "<mergeCells count=\"1\"><mergeCell ref=\"A29000:B29001\"/></mergeCells>"}};
    testing::XlsxBook plain;
    std::string plainRows = "<sheetData>";
    for (const std::string& r : unnumbered) {
        plainRows += r;
    }
    plain.sheets = {{"成绩", plainRows + "</sheetData>"}};
    // The sheet's member claims less than it unpacks to: the room made for it is outgrown.
    std::string understated = testing::OdsBytes({{"成绩", odsRows(number)}});
    for (size_t at = understated.find("PK\x01\x02", 0, 4); at != std::string::npos;
         at = understated.find("PK\x01\x02", at + 4, 4)) {
        if (understated.compare(at + 46, 11, "content.xml") == 0) {
            const uint32_t size = 1u << 20;
            std::memcpy(&understated[at + 24], &size, 4);
        }
    }
    struct Case {
        const char* what;
        std::string bytes;
        SheetError error;
    };
    const std::vector<Case> cases = {
        {"xlsx", testing::XlsxBytes(numbered), SheetError::None},
        {"ods larger than it claims", understated, SheetError::None},
        {"xlsx rows without numbers", testing::XlsxBytes(plain), SheetError::None},
        {"ods",
         testing::OdsBytes({{"成绩", odsRows("<table:table-row table:number-rows-repeated=\"2\"/>" + number)},
                            {"其它", ""}}),
         SheetError::None},
        {"ods over the cells",
         testing::OdsBytes(
             {{"成绩", odsRows("<table:table-row><table:table-cell table:number-columns-repeated=\"40\" "
                               "office:value-type=\"float\" "
                               "office:value=\"1\"/></table:table-row>")}}),
         SheetError::Format},
        {"ods past the last row",
         testing::OdsBytes(
             {{"成绩", odsRows("<table:table-row table:number-rows-repeated=\"35\"/>" + number)}}),
         SheetError::Format},
    };
    for (const Case& c : cases) {
        SheetGrid halves, whole;
        EXPECT_EQ(ReadZipWorkbook(c.bytes, SheetChoice{}, halves), c.error) << c.what;
        EXPECT_EQ(ReadZipWorkbook(c.bytes, SheetChoice{{}, 0, 1 << 30}, whole), c.error) << c.what;
        EXPECT_EQ(halves.sheetNames, whole.sheetNames) << c.what;
        EXPECT_TRUE(std::equal(halves.rows.begin(), halves.rows.end(), whole.rows.begin(), whole.rows.end(),
                               [&](const SheetRow& a, const SheetRow& b) {
                                   return a.index == b.index && halves.texts(a) == whole.texts(b);
                               }))
            << c.what;
        EXPECT_EQ(halves.partial, whole.partial) << c.what;
    }
}

}  // namespace
}  // namespace scorvane
