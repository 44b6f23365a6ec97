#include "main/printing/table_print.h"

#include <gtest/gtest.h>

#include "main/document/grade_table.h"
#include "main/printing/load_grid_into_table_print.h"
#include "support/recording_surface.h"

namespace scorvane {
namespace {

using testing::RecordingSurface;
using Op = RecordingSurface::Op;

// With the recording metrics a "宋体" 9 line is 225 high; with the 30 padding above and below a row is 285.
constexpr double kRow = 285;

// A table of `rows` body rows laid out as the system prints: margins 567, header "H0 H1 H2".
clsTablePrint MakeTable(long rows, long cols = 3) {
    clsTablePrint tp;
    tp.setHasFooter(false);
    tp.setCols(cols);
    tp.setRows(rows);
    tp.CellXOffset = 60;
    tp.CellYOffset = 30;
    tp.MarginLeft = 567;
    tp.MarginTop = 567;
    tp.MarginBottom = 567;
    tp.PrintHeaderOnEveryPage = true;
    tp.setColWidth(-1, 1000);
    tp.setFontMatrix(-1, -1, PrintCellFont());
    tp.setHeaderFont(-1, -1, PrintCellFont());
    for (long c = 0; c < cols; ++c) {
        tp.setHeaderText(0, c, "H" + std::to_string(c));
        for (long r = 0; r < rows; ++r) {
            tp.setTextMatrix(r, c, "r" + std::to_string(r) + "c" + std::to_string(c));
        }
    }
    return tp;
}

std::vector<Op> TextsOnPage(const RecordingSurface& s, int page) {
    std::vector<Op> out;
    for (const Op& op : s.ops(Op::TextInRect)) {
        if (op.page == page) {
            out.push_back(op);
        }
    }
    return out;
}

TEST(TablePrint, CountsAndIndexesOutOfRangeAreRefused) {
    clsTablePrint tp;
    EXPECT_FALSE(tp.setRows(-1));
    EXPECT_FALSE(tp.setCols(0));
    EXPECT_FALSE(tp.setHeaderRows(0));
    EXPECT_EQ(tp.Rows(), 5);
    EXPECT_EQ(tp.Cols(), 2);
    EXPECT_TRUE(tp.setRows(0));  // no body rows is allowed

    tp.setRows(3);
    EXPECT_FALSE(tp.setTextMatrix(3, 0, "x"));
    EXPECT_FALSE(tp.setTextMatrix(0, 2, "x"));
    EXPECT_FALSE(tp.setColWidth(2, 100));
    EXPECT_TRUE(tp.setTextMatrix(-1, -1, "all"));
    EXPECT_EQ(tp.TextMatrix(2, 1), "all");
    EXPECT_TRUE(tp.setTextMatrix(1, -1, "row"));
    EXPECT_EQ(tp.TextMatrix(1, 0), "row");
    EXPECT_EQ(tp.TextMatrix(0, 0), "all");
    EXPECT_EQ(tp.TextMatrix(7, 7), "");

    // Setting a count empties the arrays and widths return to 15.
    tp.setColWidth(-1, 900);
    tp.setCols(3);
    EXPECT_EQ(tp.TextMatrix(2, 1), "");
    EXPECT_EQ(tp.ColWidth(0), 15);
}

TEST(TablePrint, GridColumnsFillTheFitWidthInProportion) {
    GradeTable table(3, 4);
    table.setHeaderLayout("  |姓名|语文|总分");
    PrintGrid grid;
    grid.table = &table;
    grid.columnWidths = {600, 1200, 1800, 2400};

    clsTablePrint fit;
    LoadGridIntoTablePrint(fit, grid, 10773);
    for (long c = 0; c < fit.Cols(); ++c) {
        EXPECT_DOUBLE_EQ(fit.ColWidth(c), 10773.0 * static_cast<double>(c + 1) / 10) << c;  // 600 of 6000 ...
    }

    clsTablePrint own;
    LoadGridIntoTablePrint(own, grid, -1);
    EXPECT_EQ(own.ColWidth(2), 1800);
}

TEST(TablePrint, LoadingCopiesValuesTitlesAndTheSystemsLayout) {
    GradeTable table(4, 3);
    table.setHeaderLayout("  |姓名|总分");
    table.renumber();
    table.setCell(2, 2, "！公式：[?,1]");
    PrintGrid grid;
    grid.table = &table;
    grid.value = [&](int r, int c) { return c == 2 && r > 0 ? "值" + std::to_string(r) : table.cell(r, c); };
    grid.columnWidths = {500, 500, 500};
    grid.alignments = {GridAlignment::General, GridAlignment::CenterCenter, GridAlignment::RightBottom};
    grid.firstRow = 2;
    grid.lastRow = 3;
    clsTablePrint tp;
    LoadGridIntoTablePrint(tp, grid, -1);

    EXPECT_EQ(tp.Rows(), 2);
    EXPECT_EQ(tp.Cols(), 3);
    EXPECT_FALSE(tp.HasFooter());
    EXPECT_EQ(tp.HeaderText(0, 1), "姓名");
    EXPECT_EQ(tp.TextMatrix(0, 0), "2");  // the row numbers of the rows chosen
    EXPECT_EQ(tp.TextMatrix(0, 2), "值2");
    EXPECT_EQ(tp.TextMatrix(1, 2), "值3");
    EXPECT_EQ((std::vector<int>{tp.ColAlignment(0), tp.ColAlignment(1), tp.ColAlignment(2)}),
              (std::vector<int>{0, 1, 2}));
    // The cell padding and the header on every page show in the page layout's positions.
    EXPECT_EQ(tp.HeaderLineThickness, 2);
    ASSERT_NE(tp.FontMatrix(1, 1), nullptr);
    EXPECT_EQ(*tp.FontMatrix(1, 1), PrintCellFont());
    EXPECT_EQ(*tp.HeaderFont(0, 0), PrintCellFont());
}

TEST(TablePrint, CellsAreDrawnInPaddedRectanglesCentredVertically) {
    clsTablePrint tp = MakeTable(1);
    tp.setTextMatrix(0, 1, "A&B");
    tp.setColAlignment(1, 2);
    RecordingSurface s;
    s.setCurrentY(567);
    tp.DrawTable(s, 0, 1);
    const Op& cell = s.textOp("A&B");  // the ampersand is kept, never a mnemonic
    EXPECT_EQ(cell.align, TextAlign::Right);
    EXPECT_EQ(cell.x1, 567 + 1000 + 60);
    EXPECT_EQ(cell.x2, 567 + 2000 - 60);
    EXPECT_EQ(cell.y1, 567 + kRow + 30);  // below the header row, centred in its own
    EXPECT_EQ(cell.y2, cell.y1 + 225);
    EXPECT_EQ(cell.font, PrintCellFont());
    EXPECT_EQ(s.textOp("H0").y1, 567 + 30);
}

TEST(TablePrint, TextWiderThanItsCellPrintsWholeInASmallerSizeNumbersAsMarks) {
    // Cells of 1000 less the padding: 880 twips of room. Recording metrics at 9 points: a digit 90 wide,
    // a Chinese character 180.
    clsTablePrint tp = MakeTable(1, 4);
    tp.setHeaderText(0, 3, "一个很长很长的字段标题");  // 10 characters: 880 / 10 / 20 = 4.4 points
    tp.setTextMatrix(0, 0, "欧阳文轩欧阳");            // 1080 wide: 7 points
    tp.setTextMatrix(0, 1, "123457900.1234567");       // 17 digits: 850 at 5 points
    tp.setTextMatrix(0, 2, "1234567890123456789");     // 19 digits: 950 even at 5 points
    tp.setTextMatrix(0, 3, "85");                      // fits: as it is
    RecordingSurface s;
    s.setCurrentY(567);
    tp.DrawTable(s, 0, 1);

    struct Printed {
        std::string text;
        double size;
    };
    std::vector<Printed> printed;
    RecordingSurface measure;
    for (const Op& op : s.ops(Op::TextInRect)) {
        printed.push_back({op.text, op.font.size});
        measure.setFont(op.font);
        EXPECT_LE(measure.textWidth(op.text), op.x2 - op.x1) << op.text;  // nothing is clipped
        EXPECT_EQ(op.font.name, "宋体");
    }
    const std::vector<Printed> expected = {{"H0", 9},           {"H1", 9},
                                           {"H2", 9},           {"一个很长很长的…", 5},
                                           {"欧阳文轩欧阳", 7}, {"123457900.1234567", 5},
                                           {"#########", 9},    {"85", 9}};
    ASSERT_EQ(printed.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(printed[i].text, expected[i].text) << i;
        EXPECT_EQ(printed[i].size, expected[i].size) << i;
    }
    // A shrunk text is still centred in its row.
    const Op& smaller = s.textOp("欧阳文轩欧阳");
    EXPECT_EQ((smaller.y1 + smaller.y2) / 2, 567 + kRow + kRow / 2);
}

TEST(TablePrint, OneTallCellRaisesEveryBodyRow) {
    clsTablePrint tp = MakeTable(3);
    tp.setTextMatrix(1, 2, "上\r\n下");
    RecordingSurface s;
    s.setCurrentY(567);
    tp.DrawTable(s, 0, 1);
    const double body = 2 * 225 + 60;
    EXPECT_EQ(s.textOp("r0c0").y1, 567 + kRow + (body - 225) / 2);
    EXPECT_EQ(s.textOp("r2c0").y1, 567 + kRow + 2 * body + (body - 225) / 2);
    EXPECT_EQ(s.textOp("上\r\n下").y1, 567 + kRow + body + 30);
    EXPECT_EQ(s.textOp("H0").y1, 567 + 30);  // the header keeps its own height
    EXPECT_EQ(s.currentY(), 567 + kRow + 3 * body);
}

TEST(TablePrint, RowHeightMinimumAndFooter) {
    clsTablePrint tp = MakeTable(2);
    tp.RowHeightMin = 400;
    tp.setHasFooter(true);
    tp.setFooterText(-1, "合计");
    tp.FooterLineThickness = 3;
    RecordingSurface s;
    auto h = tp.MeasureRowHeights(s);
    EXPECT_EQ(h.body, 400);
    EXPECT_EQ(h.header, kRow);
    EXPECT_EQ(h.footer, kRow);
    s.setCurrentY(0);
    tp.DrawTable(s, 0, 1);
    const Op& footer = s.textOp("合计");
    EXPECT_EQ(footer.y1, kRow + 2 * 400 + 30);
    auto lines = s.ops(Op::Line);
    EXPECT_EQ(lines.back().lineWidth, 3);
}

TEST(TablePrint, PagesSplitWhereTheHeightRunsOutAndRepeatTheHeader) {
    // (16840 - 567 - 567 - 285) / 285 = 54.1: 54 rows a page.
    clsTablePrint tp = MakeTable(129);
    std::vector<long> lastRows;
    tp.NewPage = [&](DrawingSurface& out, bool&, bool&, long lastPrintedRow) {
        lastRows.push_back(lastPrintedRow);
        out.newPage();
    };
    RecordingSurface s;
    s.setCurrentY(567);
    auto result = tp.DrawTable(s, 0, 1);
    EXPECT_TRUE(result.completed);
    EXPECT_EQ(result.lastPage, 3);
    EXPECT_EQ(result.lastPrintedRow, 128);
    EXPECT_EQ(lastRows, (std::vector<long>{53, 107}));
    EXPECT_EQ(tp.CalcNumRowsPerPage(s, true, false), 54);
    EXPECT_EQ(s.pages(), 3);
    for (int page = 0; page < 3; ++page) {
        auto texts = TextsOnPage(s, page);
        ASSERT_FALSE(texts.empty());
        EXPECT_EQ(texts[0].text, "H0");
        EXPECT_EQ(texts[0].y1, 567 + 30);  // at the top margin of every page
    }
    EXPECT_EQ(s.textOp("r54c0").page, 1);
    EXPECT_EQ(s.textOp("r53c0").page, 0);
    EXPECT_EQ(s.textOp("r108c2").page, 2);
    EXPECT_EQ(TextsOnPage(s, 2).size(), 3u * (1 + 21));
}

TEST(TablePrint, ARowWithAPageBreakBeforeItBeginsAPageOfItsOwn) {
    // Breaks before rows 3, 4 and 60; row 0's is meaningless. Rows 4 .. 57 fill a page (54 rows), so
    // 58 and 59 go on the next, and 60 begins one more.
    clsTablePrint tp = MakeTable(62);
    for (long r : {0, 3, 4, 60}) {
        EXPECT_TRUE(tp.setPageBreakBefore(r, true));
    }
    EXPECT_FALSE(tp.setPageBreakBefore(62, true));
    EXPECT_TRUE(tp.PageBreakBefore(3) && !tp.PageBreakBefore(5) && !tp.PageBreakBefore(62));
    RecordingSurface s;
    s.setCurrentY(567);
    auto result = tp.DrawTable(s, 0, 1);
    EXPECT_TRUE(result.completed);
    EXPECT_EQ(result.lastPage, 5);
    const std::vector<std::pair<std::string, int>> pages = {
        {"r0c0", 0}, {"r2c0", 0}, {"r3c0", 1}, {"r4c0", 2}, {"r57c0", 2}, {"r58c0", 3}, {"r59c0", 3}, {"r60c0", 4}, {"r61c0", 4}};
    for (const auto& [text, page] : pages) {
        EXPECT_EQ(s.textOp(text).page, page) << text;
    }
    EXPECT_EQ(s.textOp("r3c0").y1, 567 + kRow + 30);  // below the header at the top of its page
}

TEST(TablePrint, EmptyBodyDrawsTheHeaderAndStartsNoPage) {
    clsTablePrint tp = MakeTable(0);
    int newPages = 0;
    tp.NewPage = [&](DrawingSurface&, bool&, bool&, long) { ++newPages; };
    RecordingSurface s;
    s.setCurrentY(567);
    auto result = tp.DrawTable(s, 0, 1);
    EXPECT_TRUE(result.completed);
    EXPECT_EQ(newPages, 0);
    EXPECT_EQ(s.texts(), (std::vector<std::string>{"H0", "H1", "H2"}));
    EXPECT_EQ(s.currentY(), 567 + kRow);
}

TEST(TablePrint, CancelStopsAndTheHandlerMayPlaceThePosition) {
    clsTablePrint tp = MakeTable(200);
    int calls = 0;
    tp.NewPage = [&](DrawingSurface& out, bool& topSet, bool& cancel, long) {
        ++calls;
        out.newPage();
        out.setCurrentY(1000);
        topSet = true;
        cancel = calls == 2;
    };
    RecordingSurface s;
    s.setCurrentY(567);
    auto result = tp.DrawTable(s, 0, 1);
    EXPECT_FALSE(result.completed);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(TextsOnPage(s, 1).front().y1, 1000 + 30);
    EXPECT_FALSE(s.hasText("r199c0"));
}

TEST(TablePrint, ARowTallerThanAPageStillEndsOneRowAPage) {
    clsTablePrint tp = MakeTable(3);
    tp.RowHeightMin = 20000;
    RecordingSurface s;
    s.setCurrentY(567);
    auto result = tp.DrawTable(s, 0, 1);
    EXPECT_TRUE(result.completed);
    EXPECT_EQ(s.textOp("r0c0").page, 1);  // nothing fits below the header on the first page
    EXPECT_EQ(s.textOp("r1c0").page, 2);
    EXPECT_EQ(s.textOp("r2c0").page, 3);
}

TEST(TablePrint, RulesFrameEveryCellWithTheSectionsPen) {
    clsTablePrint tp = MakeTable(2, 2);
    tp.HeaderLineThickness = 2;
    RecordingSurface s;
    s.setCurrentY(567);
    tp.DrawTable(s, 0, 1);
    auto lines = s.ops(Op::Line);
    // Header: 2 horizontal + 3 vertical; body: 3 horizontal + 3 vertical.
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[0].lineWidth, 2);
    EXPECT_EQ(lines[0].y1, 567);
    EXPECT_EQ(lines[0].x2, 567 + 2000);
    EXPECT_EQ(lines[5].lineWidth, 1);
    EXPECT_EQ(lines[7].y1, 567 + kRow + 2 * kRow);  // the bottom rule of the body
    EXPECT_EQ(lines[10].x1, 567 + 2000);
    EXPECT_EQ(lines[10].y2, 567 + 3 * kRow);
    EXPECT_EQ(s.lineWidth(), 1);  // the output's pen is given back

    clsTablePrint bare = MakeTable(2, 2);
    bare.DrawRules = false;
    RecordingSurface t;
    bare.DrawTable(t, 0, 1);
    EXPECT_EQ(t.count(Op::Line), 0);
}

}  // namespace
}  // namespace scorvane
