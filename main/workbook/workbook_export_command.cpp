#include "main/workbook/workbook_export_command.h"

#include "common/file_io.h"
#include "common/save_name.h"
#include "common/shared_write.h"
#include "common/utf8.h"
#include "main/document/status_scope.h"
#include "main/workbook/workbook_export.h"

namespace scorvane {

WorkbookExportOutcome ExportWorkbookCommand(const GradeTable& table, Prompter& prompter, StatusSink& status) {
    FileDialogSpec spec;
    spec.description = kWorkbookSaveFilterName;
    spec.pattern = kWorkbookSaveFilterPattern;
    spec.suggestedName = table.title;
    std::string path = prompter.chooseSaveFile(spec);
    if (path.empty()) {
        return WorkbookExportOutcome::Cancelled;
    }
    // A workbook opens in a spreadsheet program only under its own extension.
    if (path.size() < 5 || ToLowerAscii(path.substr(path.size() - 5)) != ".xlsx") {
        path += ".xlsx";
    }
    // The overwrite question, or, for a file another program has open, the question naming it.
    if (PrepareToWrite({.path = path, .mayReplace = [&] { return MayReplaceFile(path, prompter); }},
                       prompter) != BeforeWriting::Write) {
        return WorkbookExportOutcome::Cancelled;
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
