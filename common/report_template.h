#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/drawing_surface.h"

#include "common/file_state.h"

namespace scorvane {

// The report template file (".rvx"): one printed page of ruling lines and text labels on A4, stored as
// an INI text in GBK with CR LF line ends:
//
//   ;KVL'S Scorvane报表模板文件
//   ;(notice)
//   [Information]   LinesNum = lines - 1, LabelsNum = labels - 1, Page = -1 landscape / 0 portrait
//   [Lines]         0=x1,y1,x2,y2,k ...          (absent when there are no lines)
//   [Labels]        0=text Top Left FontName FontBold FontItalic FontSize FontStrikethru FontUnderline
//   ForeColor
//                                                (absent when there are no labels)
//
// Both programs share this codec: the designer writes and reads templates, report printing reads them.

inline constexpr std::string_view kTemplateMagicComment = ";KVL'S Scorvane报表模板文件";
inline constexpr std::string_view kTemplateExtension = ".rvx";

// The font sizes a label may have, in points, as the font dialog offers them; a size read from a file
// outside them is brought to the nearest.
inline constexpr double kMinLabelFontSize = 1;
inline constexpr double kMaxLabelFontSize = 1638;

// A text label of a template. Top, Left and FontSize are kept as the designer holds them (reals);
// reading a file gives whole numbers.
struct TemplateLabel {
    std::string caption;  // may hold CR LF line breaks
    double top = 0;
    double left = 0;
    std::string fontName = "宋体";
    bool fontBold = false;
    bool fontItalic = false;
    double fontSize = 9;
    bool fontStrikethru = false;
    bool fontUnderline = false;
    uint32_t foreColor = 0;  // 0x00BBGGRR

    bool operator==(const TemplateLabel&) const = default;
    SurfaceFont surfaceFont() const;
};

// A line record "x1,y1,x2,y2,k" parsed.
struct TemplateLine {
    long long x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    long long kind = 1;  // 1 drawn with the mouse or copied, 2 committed from the line editor

    bool operator==(const TemplateLine&) const = default;
};

// Every occurrence of `oldStr` replaced by `newStr` (used with CR LF <-> "[/]").
std::string ChangeText(std::string_view stringAll, std::string_view oldStr, std::string_view newStr);

// A real in its shortest decimal form: 1200, 1187.5, 10.5.
std::string FormatShortestReal(double value);

// The label record of a label: ten fields joined by single spaces; the caption's line breaks become
// "[/]" and the colour is written as a signed 32-bit number (system colours and -1 stay as they were
// read). Captions and font names are written as they are, spaces included, except that a font name
// whose spaces would make the record read back otherwise (one beginning with a number, "3270 Nerd
// Font") has them written as ideographic spaces, which the reader turns back into spaces.
std::string EncodeLabelRecord(const TemplateLabel& label);

// Parses a label record into `label`, setting in order the caption, Top, Left, FontName, FontBold,
// FontItalic, FontSize, FontStrikethru, FontUnderline and ForeColor; numbers are read as whole numbers
// (the nearest, halves to even), a flag is true when non-zero. A record of exactly ten fields is split
// at its spaces. A record with more (spaces in the caption or the font name) is read from the right:
// the last six fields are the flags, size and colour, and Top and Left are the last two numbers before
// the font name. Every line break of the caption comes out as CR LF, and a font size is kept within
// kMinLabelFontSize … kMaxLabelFontSize. When a field does not convert, parsing stops there, the fields
// already set stay set and false is returned.
bool SetLabel(std::string_view record, TemplateLabel& label);

// The line record "x1,y1,x2,y2,k".
std::string EncodeLineRecord(const TemplateLine& line);
// Parses a line record; nullopt when it is not five whole numbers joined by ",".
std::optional<TemplateLine> ParseLineRecord(std::string_view record);

// Parses the line record and draws it on the surface: red (255) when `red`, black otherwise, with the
// surface's current line width. False, with nothing drawn, when the record does not parse.
bool DrawLines(std::string_view record, bool red, DrawingSurface& surface);

// A template as held by the designer: line records as text, labels as labels.
struct ReportTemplate {
    bool landscape = false;
    std::vector<std::string> lineRecords;
    std::vector<TemplateLabel> labels;
};

// What a reader takes out of a template file, record by record.
struct ReportTemplateRecords {
    bool landscape = false;
    bool hasInformation = false;            // the file has an [Information] section
    std::vector<std::string> lineRecords;   // keys 0 .. LinesNum ("0" where a key is missing)
    std::vector<std::string> labelRecords;  // keys 0 .. LabelsNum ("0" where a key is missing)
};

// The file's text (UTF-8, CR LF after every line) for a template. A label record that begins with a
// blank (a caption indented with spaces or tabs, or an empty one) is written in double quotes, which
// the reader takes off again, so the blanks survive the file's trimming of values.
std::string SerializeReportTemplate(const ReportTemplate& report);
// Writes the template as GBK text, replacing the file atomically; false when it cannot be written.
// `written`, when given, receives the state of the file as written.
bool WriteReportTemplate(const ReportTemplate& report, const std::string& path, FileState* written = nullptr);

// Reads the records of a template text or file. LinesNum, LabelsNum and Page default to "0"; a count is
// never trusted further than the keys the section holds, so a huge count allocates nothing. Values are
// read whole; a label record in double quotes loses them. ReadReportTemplateFile returns false when
// the file cannot be read.
ReportTemplateRecords ParseReportTemplate(std::string_view utf8Text);
bool ReadReportTemplateFile(const std::string& path, ReportTemplateRecords& out);

// The template as every program reads it: the lines that parse and the labels whose records parse
// whole, in file order; records that do not parse are passed over and counted.
struct PrintableTemplate {
    bool landscape = false;
    std::vector<TemplateLine> lines;
    std::vector<TemplateLabel> labels;
    int skippedRecords = 0;
};
PrintableTemplate PrintableReportTemplate(const ReportTemplateRecords& records);

// Reading a template file, the one way the designer, report printing and the command-line tool read
// one: the file read (Unreadable when it cannot be), its [Information] section looked for
// (NotATemplate without one), then its records taken as PrintableReportTemplate takes them.
enum class TemplateFileStatus { Read, Unreadable, NotATemplate };
TemplateFileStatus ReadReportTemplate(const std::string& path, PrintableTemplate& out);

// What every program says when records were passed over: "模板中有 N 条记录格式不正确，已略过。"
std::string SkippedRecordsMessage(int count);

// A label's top-left corner kept on its page (0 … width, 0 … height, twips): a corner outside goes to
// the nearest point inside. True when the label moved.
bool KeepLabelOnPage(TemplateLabel& label, double pageWidth, double pageHeight);

// The template as the designer opens it: the lines written as their records and the labels as read,
// each kept on the page of the template's orientation; `moved`, when given, receives the indices of
// the labels that were moved onto it.
ReportTemplate OpenReportTemplate(const PrintableTemplate& report, std::vector<size_t>* moved = nullptr);

}  // namespace scorvane
