#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace scorvane {

// The one table font of all table windows: a font name and a point size. The program starts with
// "宋体" 12 points and then takes what the user stored last (the per-user settings, group "Font").
struct TableFont {
    std::string name = "宋体";
    double pointSize = 12;
    bool operator==(const TableFont&) const = default;
};

// The smallest and largest point sizes a stored setting may give the table.
inline constexpr double kMinTableFontSize = 1;
inline constexpr double kMaxTableFontSize = 400;

// The font after reading the stored "Name" and "Size" (nullopt when the key is missing): a value that
// is missing or empty after trimming spaces keeps `current`'s; the size is read as a decimal number,
// and one that is not a number or lies outside the sizes above keeps `current`'s too.
TableFont ResolveStoredTableFont(const TableFont& current, const std::optional<std::string>& storedName,
                                 const std::optional<std::string>& storedSize);

// The size as it is stored: "12", "10.5".
std::string FormatTableFontSize(double pointSize);

}  // namespace scorvane
