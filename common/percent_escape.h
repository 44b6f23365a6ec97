#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace scorvane {

// Values kept on one line of a small file of our own (the sidecars of recovery copies, lock files):
// '%', CR, LF and every character of `alsoEscaped` are written as '%' and two hexadecimal digits
// ("%25", "%0D", "%0A", "%2C" for a comma), so that no value breaks the line or its separators.
std::string PercentEscape(std::string_view value, std::string_view alsoEscaped = {});

// The value back; nothing when a '%' is not followed by two hexadecimal digits.
std::optional<std::string> PercentUnescape(std::string_view value);

}  // namespace scorvane
