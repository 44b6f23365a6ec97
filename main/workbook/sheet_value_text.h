#pragma once

#include <string>
#include <string_view>

namespace scorvane {

// The text a reader of a workbook sees in a cell, the same for every kind of workbook.

// A number in the shortest form that reads back to the same double, with at most 15 significant
// digits: integers without a decimal point (2024000001), 85.5, 1/3 as 0.333333333333333. Very large
// or very small magnitudes take an exponent (1.5E+25, 1E-12).
std::string SheetNumberText(double value);

// How a cell's number format shows a serial date.
enum class DateKind {
    None,      // a plain number
    Date,      // yyyy-mm-dd
    DateTime,  // yyyy-mm-dd hh:mm:ss
    Time,      // hh:mm:ss, the time of day
    Elapsed,   // hh:mm:ss of a span of time ([h]:mm): hours beyond a day run on (36:00:00)
};

// The kind of a number format code ("yyyy/m/d", "h:mm", "0.00", "[$-804]yyyy\"年\"m\"月\"d\"日\""):
// letters of dates and times outside quotes, brackets and escapes.
DateKind DateKindOfFormat(std::string_view code);
// The kind of a built-in number format of the spreadsheet's own numbering (14 is a date, 22 a
// date-time, 18 to 21, 45 and 47 times, 46 a span of time; the East Asian date formats 27 to 36 and
// 50 to 58).
DateKind DateKindOfBuiltinFormat(int id);

// A serial date as text; `date1904` for workbooks that count from 1904-01-01. A serial outside the
// years 1900 to 9999 is shown as the number it is.
std::string SheetDateText(double serial, bool date1904, DateKind kind);

// An ISO 8601 date or date-time ("2024-09-01", "2024-09-01T08:30:00", with fractions of seconds or a
// zone, which are dropped) as yyyy-mm-dd or yyyy-mm-dd hh:mm:ss; other text as it stands.
std::string IsoDateText(std::string_view iso);
// An ISO 8601 duration of a time cell ("PT08H30M00S") as hh:mm:ss; other text as it stands.
std::string IsoDurationText(std::string_view iso);

// A cell's line breaks as the table holds them: every LF, CR or CR LF becomes CR LF.
std::string TableLineBreaks(std::string text);

}  // namespace scorvane
