#include "main/workbook/workbook_export_command.h"

#include "common/file_io.h"
#include "common/utf8.h"
#include "main/document/status_scope.h"
#include "main/workbook/workbook_export.h"

namespace scorvane {

WorkbookExportOutcome ExportWorkbookCommand(const GradeTable& table, Prompter& prompter, StatusSink& status) {
    FileDialogSpec spec;
    spec.description = kWorkbookSaveFilterName;
    spec.pattern = kWorkbookSaveFilterPattern;
    std::string path = prompter.chooseSaveFile(spec);
    if (path.empty()) {
        return WorkbookExportOutcome::Cancelled;
    }
    // A workbook opens in a spreadsheet program only under its own extension.
    if (path.size() < 5 || ToLowerAscii(path.substr(path.size() - 5)) != ".xlsx") {
        path += ".xlsx";
    }
    if (FileExists(path)) {
        const size_t slash = path.find_last_of('/');
        const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
        if (prompter.ask(name + " 已存在。\n要替换它吗？", "确认另存为", Buttons::YesNo, Icon::Warning, Answer::No) !=
            Answer::Yes) {
            return WorkbookExportOutcome::Cancelled;
        }
    }
    bool written = false;
    {
        StatusScope busy(status, kStatusSaving);
        written = ExportWorkbook(table, path);
    }
    if (!written) {
        prompter.message(kSaveFailedMessage, "错误", Icon::Error);
        return WorkbookExportOutcome::Failed;
    }
    return WorkbookExportOutcome::Written;
}

}  // namespace scorvane
