#include "main/printing/table_page_layout.h"

#include <algorithm>
#include <ctime>

#include "common/text_lines.h"
#include "common/utf8.h"
#include "main/document/column_widths.h"
#include "main/document/data_file.h"
#include "main/printing/load_grid_into_table_print.h"
#include "main/printing/print_sections.h"
#include "main/printing/table_print.h"

namespace scorvane {
namespace {

constexpr double kPreviewTitleTop = 50;
constexpr double kPreviewTeacherTop = 200;
constexpr double kPaperTeacherTop = 300;
constexpr double kClassInfoLeft = 600;
constexpr SurfaceColor kPageSeparatorColor = Rgb(128, 128, 128);

SurfaceFont Font(const char* name, double size, bool bold = false) {
    SurfaceFont f;
    f.name = name;
    f.size = size;
    f.bold = bold;
    return f;
}

// Each line of the text ends `margin` twips before the right edge.
void printRightAligned(DrawingSurface& surface, std::string_view text, double margin) {
    for (std::string_view line : SplitTextLines(text)) {
        surface.setCurrentX(surface.width() - margin - surface.textWidth(line));
        surface.printText(line);
    }
}

bool isBlank(std::string_view text) {
    return TrimSpaces(text).empty();
}

// The length in bytes of the UTF-8 character that starts with `lead`.
size_t characterLength(unsigned char lead) {
    return lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

bool breaksAfter(std::string_view character) {
    return character == "，" || character == "；" || character == "、" || character == "：" || character == " " ||
           character == "," || character == ";";
}

}  // namespace

std::string WrapToWidth(DrawingSurface& surface, std::string_view text, double width) {
    std::string wrapped;
    for (std::string_view line : SplitTextLines(text)) {
        if (!wrapped.empty()) {
            wrapped += '\n';
        }
        std::string current;
        size_t lastBreak = 0;  // the length of `current` up to its last break, 0 for none
        for (size_t at = 0; at < line.size();) {
            const size_t length = std::min(characterLength(static_cast<unsigned char>(line[at])), line.size() - at);
            const std::string_view character = line.substr(at, length);
            at += length;
            if (!current.empty() && surface.textWidth(current + std::string(character)) > width) {
                // The line ends at its last break (a comma, a semicolon, a blank), else before this character.
                const size_t end = lastBreak > 0 ? lastBreak : current.size();
                wrapped += current.substr(0, end) + '\n';
                current.erase(0, end);
                lastBreak = 0;
                if (!current.empty() && surface.textWidth(current + std::string(character)) > width) {
                    wrapped += current + '\n';  // what followed the break is still too wide with it
                    current.clear();
                }
            }
            current += character;
            if (breaksAfter(character)) {
                lastBreak = current.size();
            }
        }
        wrapped += current;
    }
    return wrapped;
}

int PrintPageCount(int dataRows) {
    return std::max(1, (std::max(0, dataRows) + kRowsPerPrintPage - 1) / kRowsPerPrintPage);
}

std::vector<std::string> PrintPageChoices(int dataRows) {
    std::vector<std::string> choices{std::string(kPrintAllPages)};
    const int pages = PrintPageCount(dataRows);
    for (int page = 1; page <= pages; ++page) {
        choices.push_back(std::to_string(page));
    }
    return choices;
}

std::vector<std::string> PrintRowChoices(int dataRows) {
    std::vector<std::string> choices{std::string(kPrintAnyRow)};
    for (int row = 1; row <= dataRows; ++row) {
        choices.push_back(std::to_string(row));
    }
    return choices;
}

PrintRowRange TablePrintRows(const GradeTable& table, const TablePrintSettings& settings) {
    const int dataRows = std::max(0, table.rows() - 1);
    if (settings.row > 0 && (settings.page <= 0 || settings.rowChosenLast)) {
        if (settings.row > dataRows) {
            return {1, 0};
        }
        return {settings.row, settings.row};
    }
    if (settings.page > 0) {
        return {(settings.page - 1) * kRowsPerPrintPage + 1,
                std::min(settings.page * kRowsPerPrintPage, dataRows)};
    }
    return {1, dataRows};
}

bool PrintsTitleBlock(const TablePrintSettings& settings) {
    return settings.page <= 0 || settings.page == 1;
}

bool PrintsTrailer(const TablePrintSettings& settings, int dataRows) {
    return settings.page <= 0 || settings.page == PrintPageCount(dataRows);
}

TablePrintSettings InitialTablePrintSettings(bool resultTable) {
    TablePrintSettings settings;
    settings.showClassInfo = resultTable;
    return settings;
}

std::string PrintTimeText(int year, int month, int day) {
    return "打印时间：" + std::to_string(year) + "/" + std::to_string(month) + "/" + std::to_string(day);
}

std::string TodayPrintTimeText() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return PrintTimeText(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

TablePrintSource TablePrintSourceFor(const GradeTable& table, DrawingSurface& surface) {
    SurfaceFont tableFont;
    tableFont.name = kTableFontName;
    tableFont.size = kTableFontSize;
    surface.setFont(tableFont);
    TablePrintSource source;
    source.table = &table;
    source.value = FormulaValues(table);
    source.columnWidths =
        GridColumnWidths(table, [&](std::string_view text) { return surface.textWidth(text); });
    return source;
}

TableLayoutResult LayOutTablePages(DrawingSurface& surface, PrintTarget target,
                                   const TablePrintSource& source, const TablePrintSettings& settings) {
    const GradeTable& table = *source.table;
    TableLayoutResult result;
    result.pages = 1;
    if (target == PrintTarget::Paper) {
        surface.setOrientation(PageOrientation::Portrait);
    }
    surface.setTextColor(kBlack);
    const SurfaceFont tableFont = PrintCellFont();

    // Starting the next page: a new sheet on paper; in the preview the picture grows by one page, with a
    // grey separator where the new page begins.
    auto startPage = [&](DrawingSurface& out, bool& topMarginAlreadySet, bool& cancel) {
        if (target == PrintTarget::Paper) {
            cancel = !out.newPage();
        } else {
            const double bottom = out.height();
            out.setSize(out.width(), bottom + kA4Height);
            if (settings.drawRules) {
                const int width = out.lineWidth();
                out.setLineWidth(1);
                out.drawLine(0, bottom, out.width(), bottom, kPageSeparatorColor);
                out.setLineWidth(width);
            }
            out.setCurrentX(0);
            out.setCurrentY(bottom + kPrintMargin);
            topMarginAlreadySet = true;
        }
        if (!cancel) {
            ++result.pages;
        }
    };

    // The title block; the table starts at the top margin, or below the block when that reaches lower.
    // The block stands a little higher in the preview than on paper, but the table starts below the block
    // as it stands on paper in both, so that the preview's pages break exactly where the printed ones do.
    double tableTop = kPrintMargin;
    if (PrintsTitleBlock(settings)) {
        surface.setFont(tableFont);
        const double paperTitleTop = surface.textHeight("");  // one empty line of the table font
        surface.setFont(Font("黑体", 14, true));
        surface.setCurrentY(target == PrintTarget::Paper ? paperTitleTop : kPreviewTitleTop);
        surface.setCurrentX((surface.width() - surface.textWidth(settings.title)) / 2);
        surface.printText(settings.title);
        tableTop = std::max(tableTop, paperTitleTop + surface.textHeight(settings.title));
        if (settings.showTeacher && !table.teacher.empty()) {
            const std::string teacherLine = "教师： " + table.teacher;
            surface.setFont(Font("宋体", 8));
            surface.setCurrentY(target == PrintTarget::Paper ? kPaperTeacherTop : kPreviewTeacherTop);
            printRightAligned(surface, teacherLine, kPrintMargin);
            tableTop = std::max(tableTop, kPaperTeacherTop + surface.textHeight(teacherLine));
        }
    }

    // The table: whole, or a wide one in sections one below the other, each with its own header. A
    // section starts on a new page when it would not fit on this one but would on a page of its own (a
    // longer one, when not even its header and first row would fit).
    const PrintRowRange rows = TablePrintRows(table, settings);
    const std::vector<std::vector<int>> sections =
        PrintSections(table, source.columnWidths, settings.fitToPaper ? kPrintFitWidth : -1);
    surface.setFont(tableFont);
    surface.setCurrentX(0);
    surface.setCurrentY(tableTop);
    for (size_t s = 0; s < sections.size(); ++s) {
        PrintGrid grid;
        grid.table = &table;
        grid.value = source.value;
        grid.columnWidths = source.columnWidths;
        grid.firstRow = rows.first;
        grid.lastRow = rows.last < rows.first ? 0 : rows.last;
        grid.columns = sections[s];
        grid.pageBreakColumn = PageBreakColumn(table);
        clsTablePrint tablePrint;
        LoadGridIntoTablePrint(tablePrint, grid, settings.fitToPaper ? kPrintFitWidth : -1);
        tablePrint.MarginLeft = kPrintMargin;
        tablePrint.MarginTop = kPrintMargin;
        tablePrint.MarginBottom = kPrintMargin;
        tablePrint.DrawRules = settings.drawRules;
        tablePrint.NewPage = [&](DrawingSurface& out, bool& topMarginAlreadySet, bool& cancel, long) {
            startPage(out, topMarginAlreadySet, cancel);
        };
        if (s > 0) {
            surface.setFont(tableFont);
            surface.setCurrentY(surface.currentY() + surface.textHeight(""));
            const clsTablePrint::RowHeights h = tablePrint.MeasureRowHeights(surface);
            const double whole = h.header + h.body * static_cast<double>(tablePrint.Rows());
            const double wanted = whole <= kA4Height - 2 * kPrintMargin ? whole : h.header + h.body;
            if (surface.currentY() + wanted > surface.height() - kPrintMargin) {
                bool topMarginAlreadySet = false;
                bool cancel = false;
                startPage(surface, topMarginAlreadySet, cancel);
                if (cancel) {
                    return result;
                }
                if (!topMarginAlreadySet) {
                    surface.setCurrentY(kPrintMargin);
                }
            }
            surface.setCurrentX(0);
        }
        if (!tablePrint.DrawTable(surface, 0, 1).completed) {
            return result;
        }
    }

    // The trailer, on a page of its own when it would run off the last one.
    if (PrintsTrailer(settings, table.rows() - 1)) {
        const std::string printTime = settings.printTime.empty() ? TodayPrintTimeText() : settings.printTime;
        const SurfaceFont smallFont = Font("宋体", 8);
        surface.setFont(tableFont);
        // The class information in lines that end before the right margin.
        const std::string classInfo =
            settings.showClassInfo
                ? WrapToWidth(surface, table.classInfo, surface.width() - kClassInfoLeft - kPrintMargin)
                : std::string();
        double needed = surface.textHeight("");
        if (settings.showClassInfo) {
            needed += surface.textHeight(classInfo) + surface.textHeight("");
        }
        surface.setFont(smallFont);
        if (!isBlank(settings.footer)) {
            needed += surface.textHeight(settings.footer);
        }
        needed += surface.textHeight(printTime);
        if (surface.currentY() + needed > surface.height()) {
            bool topMarginAlreadySet = false;
            bool cancel = false;
            startPage(surface, topMarginAlreadySet, cancel);
            if (cancel) {
                return result;
            }
            if (!topMarginAlreadySet) {
                surface.setCurrentY(kPrintMargin);
            }
        }

        surface.setFont(tableFont);
        surface.setCurrentX(0);
        surface.printText("");
        if (settings.showClassInfo) {
            surface.setCurrentX(kClassInfoLeft);
            surface.printText(classInfo);
            surface.printText("");
        }
        surface.setFont(smallFont);
        if (!isBlank(settings.footer)) {
            printRightAligned(surface, settings.footer, kPrintMargin);
        }
        printRightAligned(surface, printTime, kPrintMargin);
    }
    surface.setFont(tableFont);
    result.completed = true;
    return result;
}

TableLayoutResult PreviewTable(DrawingSurface& picture, const TablePrintSource& source,
                               const TablePrintSettings& settings, StatusSink& status) {
    status.setStatus(kStatusPreviewing);
    status.setBusy(true);
    picture.setSize(kA4Width, kA4Height);
    picture.clear();
    TableLayoutResult result = LayOutTablePages(picture, PrintTarget::Preview, source, settings);
    status.setBusy(false);
    status.setStatus(kStatusReady);
    return result;
}

bool PrintTable(DrawingSurface& printer, const TablePrintSource& source, const TablePrintSettings& settings,
                Prompter& prompter, StatusSink& status) {
    status.setStatus(kStatusPrinting);
    status.setBusy(true);
    const TableLayoutResult result = LayOutTablePages(printer, PrintTarget::Paper, source, settings);
    // The job is ended even after a failure, so that the pages already sent stay sent.
    const bool ended = printer.endJob();
    const bool ok = result.completed && ended && !printer.failed();
    status.setBusy(false);
    if (!ok) {
        prompter.message(kPrintErrorMessage, kPrintErrorTitle, Icon::Error);
    }
    status.setStatus(kStatusReady);
    return ok;
}

}  // namespace scorvane
