#pragma once

#include <string>
#include <vector>

#include "common/drawing_surface.h"
#include "common/prompter.h"
#include "common/report_template.h"
#include "main/printing/report_bindings.h"
#include "main/printing/report_pages.h"

namespace scorvane {

// What the report printing window (报表打印) holds and does, apart from its widgets: the open template,
// the field list, the bindings and the rows to print, for one grade table.
class ReportPrinting {
  public:
    explicit ReportPrinting(ReportSource source);

    // The table printed and how its cells show.
    const ReportSource& source() const { return source_; }

    // 字段: the field titles (columns 1 .. Cols - 1, blanks around them removed).
    const std::vector<std::string>& fieldNames() const { return fieldNames_; }
    // The entries "1" .. of the row choosers: one per data row.
    int rowCount() const;

    // 打开报表模板(&O): the open dialog ("*.rvx", title "打开"); a cancelled dialog changes nothing.
    // A template that is read replaces the one before completely (lines, labels, bindings) and sets the
    // orientation as the file says. A file that cannot be read gives "文件读取失败！" (错误), one that is
    // no template "文件格式不正确!" (提示); nothing changes then. Records that do not parse are passed
    // over, as the designer and the command-line tool pass them over, and a message (提示) says how
    // many. True when a template was opened.
    bool openTemplate(Prompter& prompter);
    bool openTemplateFile(const std::string& path, Prompter& prompter);

    bool hasTemplate() const { return hasTemplate_; }
    const PrintableTemplate& report() const { return report_; }
    // 标签: the labels' captions, label 1 first.
    std::vector<std::string> labelCaptions() const;

    // 纸张纵向 / 纸张横向.
    bool landscape() const { return report_.landscape; }
    void setLandscape(bool landscape) { report_.landscape = landscape; }

    // 绑定 &>>: label `label` (1 = the first) prints field `field` (1 = the first); nothing when either
    // is out of range or the pair is bound already. True when an entry was added.
    bool bind(int label, int field);
    ReportBindings& bindings() { return bindings_; }
    const ReportBindings& bindings() const { return bindings_; }

    // The template page as the window previews it: its lines and its labels' captions, on a picture of
    // the page's size (A4, turned as chosen). Label `marked` (1 = the first; 0 none), the one chosen for
    // binding, is framed in red, so that labels of the same caption can be told apart.
    void drawTemplate(DrawingSurface& picture, int marked = 0) const;
    // 开始打印(&P): the pages of the rows, one a row.
    void drawPages(DrawingSurface& printer, ReportRowRange rows) const;

  private:
    ReportSource source_;
    std::vector<std::string> fieldNames_;
    PrintableTemplate report_;
    bool hasTemplate_ = false;
    ReportBindings bindings_;
};

// The rows the window's options choose: 打印项目(&T)： one row, 打印全部项目(&A) every row, 打印(&B) from
// one row to another. Row numbers are data rows, from 1.
enum class ReportRangeChoice { OneRow, AllRows, FromTo };
ReportRowRange ChosenReportRows(ReportRangeChoice choice, int oneRow, int fromRow, int toRow, int rowCount);

// The end of the 打印(&B) range never stands before its start: the end row to show after either box
// changed.
int KeptRangeEnd(int fromRow, int toRow);

}  // namespace scorvane
