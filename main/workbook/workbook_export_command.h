#pragma once

#include <string_view>

#include "common/prompter.h"
#include "common/status_sink.h"
#include "main/document/grade_table.h"

namespace scorvane {

inline constexpr std::string_view kWorkbookSaveFilterName = "Excel 工作簿";
inline constexpr std::string_view kWorkbookSaveFilterPattern = "*.xlsx";

enum class WorkbookExportOutcome { Written, Cancelled, Failed };

// "导出为电子表格(&L)...": the save dialog ("Excel 工作簿 (*.xlsx)"), ".xlsx" added to a name that does
// not end in it, the overwrite question for a file that exists, then the workbook ExportWorkbook
// writes ("正在保存文件..." meanwhile). A failed write says "文件保存失败！" and leaves any former file
// as it was.
WorkbookExportOutcome ExportWorkbookCommand(const GradeTable& table, Prompter& prompter, StatusSink& status);

}  // namespace scorvane
