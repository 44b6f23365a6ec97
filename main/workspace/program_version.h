#pragma once

#include <string>
#include <string_view>

namespace scorvane {

// The splash window's version line: "V " major "." minor "." and the revision with at least four
// digits, so version 1.1 revision 0 reads "V 1.1.0000".
std::string SplashVersionLine(int major, int minor, int revision);

// The same from a "major.minor.revision" text as the build gives it ("1.1.0"); missing or unreadable
// parts count as 0.
std::string SplashVersionLine(std::string_view version);

}  // namespace scorvane
