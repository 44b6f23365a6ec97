#include "main/workbook/sheet_value_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace scorvane {
namespace {

// Days from 0000-03-01 style civil calendar (proleptic Gregorian) to a date.
void civilFromDays(long long z, int& y, int& m, int& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
}

long long daysFromCivil(int y, int m, int d) {
    y -= m <= 2 ? 1 : 0;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * static_cast<unsigned>(m > 2 ? m - 3 : m + 9) + 2) / 5 + static_cast<unsigned>(d) - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

std::string timeText(long long seconds) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return buffer;
}

bool digitsAt(std::string_view s, size_t at, size_t count, int& value) {
    if (at + count > s.size()) {
        return false;
    }
    value = 0;
    for (size_t i = at; i < at + count; ++i) {
        if (s[i] < '0' || s[i] > '9') {
            return false;
        }
        value = value * 10 + (s[i] - '0');
    }
    return true;
}

}  // namespace

std::string SheetNumberText(double value) {
    if (!std::isfinite(value)) {
        return "#NUM!";
    }
    if (value == 0) {
        return "0";
    }
    // Whole numbers, the most common cells, without a detour through the digits of a double.
    if (value == std::trunc(value) && std::fabs(value) < 1e15) {
        char whole[24];
        const auto end = std::to_chars(whole, whole + sizeof whole, static_cast<long long>(value)).ptr;
        return std::string(whole, end);
    }
    // The shortest digits that give the same double back, unless that takes more than 15 significant
    // digits; then 15, rounded.
    char buffer[64];
    auto written = std::to_chars(buffer, buffer + sizeof buffer - 1, value, std::chars_format::scientific);
    size_t significant = 0;
    for (const char* p = buffer; p < written.ptr && *p != 'e'; ++p) {
        significant += (*p >= '0' && *p <= '9') ? 1 : 0;
    }
    if (significant > 15) {
        written = std::to_chars(buffer, buffer + sizeof buffer - 1, value, std::chars_format::scientific, 14);
    }
    *written.ptr = '\0';
    // buffer holds [-]d[.ddd]e[+-]xx: spell it out without the exponent where that reads well.
    std::string text(buffer);
    const size_t e = text.find('e');
    const int exponent = std::atoi(text.c_str() + e + 1);
    std::string mantissa = text.substr(0, e);
    const bool negative = mantissa[0] == '-';
    if (negative) {
        mantissa.erase(0, 1);
    }
    std::string digits;
    for (char c : mantissa) {
        if (c != '.') {
            digits += c;
        }
    }
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }
    std::string out;
    if (exponent >= 15 || exponent < -9) {
        out = digits.substr(0, 1);
        if (digits.size() > 1) {
            out += "." + digits.substr(1);
        }
        char exp[16];
        std::snprintf(exp, sizeof exp, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
        out += exp;
    } else if (exponent < 0) {
        out = "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
    } else {
        const auto whole = static_cast<size_t>(exponent) + 1;
        if (digits.size() <= whole) {
            out = digits + std::string(whole - digits.size(), '0');
        } else {
            out = digits.substr(0, whole) + "." + digits.substr(whole);
        }
    }
    return negative ? "-" + out : out;
}

DateKind DateKindOfFormat(std::string_view code) {
    bool date = false;
    bool time = false;
    bool elapsed = false;
    // Only the first section (positive numbers) decides.
    for (size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        if (c == '"') {
            const size_t end = code.find('"', i + 1);
            if (end == std::string_view::npos) {
                break;
            }
            i = end;
        } else if (c == '[') {
            const size_t end = code.find(']', i + 1);
            if (end == std::string_view::npos) {
                break;
            }
            // [h], [mm], [ss]: elapsed time (and not a colour such as [Magenta]).
            const std::string_view inside = code.substr(i + 1, end - i - 1);
            const char unit = inside.empty() ? '\0' : static_cast<char>(inside[0] | 0x20);
            if ((unit == 'h' || unit == 'm' || unit == 's') &&
                inside.find_first_not_of(std::string{unit, static_cast<char>(unit & ~0x20)}) == std::string_view::npos) {
                elapsed = true;
            }
            i = end;
        } else if (c == '\\' || c == '_' || c == '*') {
            ++i;
        } else if (c == ';') {
            break;
        } else {
            switch (c) {
                case 'y': case 'Y': case 'd': case 'D':
                    date = true;
                    break;
                case 'h': case 'H': case 's': case 'S':
                    time = true;
                    break;
                case 'm': case 'M':
                    break;  // months or minutes: the letters around decide
                case 'g': case 'G':
                    // "General" is no date.
                    if (code.substr(i).size() >= 7 && (code.substr(i, 7) == "General" || code.substr(i, 7) == "GENERAL" ||
                                                        code.substr(i, 7) == "general")) {
                        i += 6;
                    }
                    break;
                default:
                    break;
            }
        }
    }
    if (date) {
        return time || elapsed ? DateKind::DateTime : DateKind::Date;
    }
    if (elapsed) {
        return DateKind::Elapsed;
    }
    if (time) {
        return DateKind::Time;
    }
    // "mm" alone, or "m/yyyy"-less month formats, are months of a date.
    for (size_t i = 0; i < code.size() && code[i] != ';'; ++i) {
        if (code[i] == '"') {
            const size_t end = code.find('"', i + 1);
            if (end == std::string_view::npos) {
                break;
            }
            i = end;
        } else if (code[i] == '[') {
            const size_t end = code.find(']', i + 1);
            if (end == std::string_view::npos) {
                break;
            }
            i = end;
        } else if (code[i] == 'm' || code[i] == 'M') {
            return DateKind::Date;
        }
    }
    return DateKind::None;
}

DateKind DateKindOfBuiltinFormat(int id) {
    if ((id >= 14 && id <= 17) || (id >= 27 && id <= 31) || (id >= 34 && id <= 36) || (id >= 50 && id <= 58)) {
        return DateKind::Date;
    }
    if (id == 22) {
        return DateKind::DateTime;
    }
    if (id == 46) {
        return DateKind::Elapsed;  // [h]:mm:ss
    }
    if ((id >= 18 && id <= 21) || id == 32 || id == 33 || id == 45 || id == 47) {
        return DateKind::Time;
    }
    return DateKind::None;
}

std::string SheetDateText(double serial, bool date1904, DateKind kind) {
    if (kind == DateKind::None || !std::isfinite(serial) || serial < 0 || serial >= 2958466) {
        return SheetNumberText(serial);
    }
    // Whole seconds, rounded, carrying into the day.
    const auto totalSeconds = static_cast<long long>(std::llround(serial * 86400.0));
    long long day = totalSeconds / 86400;
    const long long seconds = totalSeconds % 86400;
    if (kind == DateKind::Time) {
        return timeText(seconds);
    }
    if (kind == DateKind::Elapsed) {
        return timeText(totalSeconds);
    }
    int y = 0;
    int m = 0;
    int d = 0;
    if (date1904) {
        civilFromDays(daysFromCivil(1904, 1, 1) + day, y, m, d);
    } else if (day == 60) {
        // The 1900 date system counts a 29 February 1900 that the calendar never had.
        y = 1900, m = 2, d = 29;
    } else {
        if (day == 0) {
            // The day before 1900-01-01, as the spreadsheet shows it.
            y = 1900, m = 1, d = 0;
        } else {
            civilFromDays(daysFromCivil(1899, 12, 31) + day - (day > 60 ? 1 : 0), y, m, d);
        }
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", y, m, d);
    std::string text(buffer);
    if (kind == DateKind::DateTime) {
        text += " " + timeText(seconds);
    }
    return text;
}

std::string IsoDateText(std::string_view iso) {
    int y = 0;
    int m = 0;
    int d = 0;
    if (iso.size() < 10 || !digitsAt(iso, 0, 4, y) || iso[4] != '-' || !digitsAt(iso, 5, 2, m) || iso[7] != '-' ||
        !digitsAt(iso, 8, 2, d)) {
        return std::string(iso);
    }
    std::string text(iso.substr(0, 10));
    int hh = 0;
    int mm = 0;
    int ss = 0;
    if (iso.size() >= 19 && iso[10] == 'T' && digitsAt(iso, 11, 2, hh) && iso[13] == ':' && digitsAt(iso, 14, 2, mm) &&
        iso[16] == ':' && digitsAt(iso, 17, 2, ss)) {
        text += " " + std::string(iso.substr(11, 8));
    }
    return text;
}

std::string IsoDurationText(std::string_view iso) {
    // [-]PnDTnHnMn[.n]S
    size_t i = 0;
    const bool negative = i < iso.size() && iso[i] == '-';
    i += negative ? 1 : 0;
    if (i >= iso.size() || iso[i] != 'P') {
        return std::string(iso);
    }
    ++i;
    double seconds = 0;
    bool inTime = false;
    while (i < iso.size()) {
        if (iso[i] == 'T') {
            inTime = true;
            ++i;
            continue;
        }
        const size_t start = i;
        while (i < iso.size() && ((iso[i] >= '0' && iso[i] <= '9') || iso[i] == '.')) {
            ++i;
        }
        if (start == i || i >= iso.size()) {
            return std::string(iso);
        }
        const double n = std::strtod(std::string(iso.substr(start, i - start)).c_str(), nullptr);
        switch (iso[i]) {
            case 'D': seconds += n * 86400; break;
            case 'H': seconds += n * 3600; break;
            case 'M': seconds += inTime ? n * 60 : n * 30 * 86400; break;
            case 'S': seconds += n; break;
            default: return std::string(iso);
        }
        ++i;
    }
    if (seconds > 1e12) {
        return std::string(iso);
    }
    const std::string text = timeText(std::llround(seconds));
    return negative ? "-" + text : text;
}

std::string TableLineBreaks(std::string text) {
    if (text.find_first_of("\r\n") == std::string::npos) {
        return text;
    }
    std::string out;
    out.reserve(text.size() + 8);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else if (text[i] == '\n') {
            out += "\r\n";
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace scorvane
