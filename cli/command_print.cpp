#include <iostream>

#include "cli/cli_command.h"
#include "cli/drawing_commands.h"
#include "cli/gui_session.h"
#include "cli/table_io.h"
#include "common/qt/qt_surface.h"
#include "common/utf8.h"
#include "main/printing/table_page_layout.h"

namespace scorvane::cli {
namespace {

constexpr const char* kUsage = kPrintUsage;

int runPrint(const CliArgs& args) {
    if (args.positional.size() != 1 || !args.has("-o") || (args.has("--page") && args.has("--row"))) {
        return UsageError(kUsage);
    }
    ConsolePrompter prompter;
    Document document;
    if (!LoadTable(args.positional[0], document, prompter)) {
        return 1;
    }
    const GradeTable& table = document.table;
    const int dataRows = table.rows() - 1;

    TablePrintSettings settings;
    settings.title = args.has("--title") ? args.value("--title") : table.title;
    settings.footer = args.value("--footer");
    settings.showTeacher = !args.has("--no-teacher");
    settings.showClassInfo = args.has("--class-info");
    settings.fitToPaper = !args.has("--no-fit");
    settings.drawRules = !args.has("--no-rules");
    settings.printTime = TodayPrintTimeText();
    long long n = 0;
    if (args.has("--page")) {
        const int pages = PrintPageCount(dataRows);
        if (!ParseWholeNumber(args.value("--page"), 1, pages, n)) {
            std::cerr << "没有第 " << args.value("--page") << " 页（每页 " << kRowsPerPrintPage << " 行，共 "
                      << pages << " 页）。\n";
            return 1;
        }
        settings.page = static_cast<int>(n);
    }
    if (args.has("--row") && !ParseDataRow(args.value("--row"), dataRows, settings.row)) {
        return 1;
    }

    EnsureGuiSession();
    auto pdf = QtSurface::ForPdfFile(args.value("-o"), settings.title);
    SilentStatusSink status;
    return PrintTable(*pdf, TablePrintSourceFor(table, *pdf), settings, prompter, status) ? 0 : 1;
}

DrawingRun run("print", runPrint);

}  // namespace
}  // namespace scorvane::cli
