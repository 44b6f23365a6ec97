#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace scorvane {

// A text broken into lines no wider than `width` (as `measure` gives the width of a line), for a paragraph
// printed on paper (a table's class information). The text's own line ends stay. A line breaks between
// characters (Chinese has no spaces), but never inside a run of Latin letters and digits ("20240302",
// "534") nor before a closing mark ("，", "。", "）"), unless such a run is wider than the line itself.
// Spaces where a line breaks are dropped. A width not above 0 leaves the text as it is.
std::string WrapToWidth(std::string_view text, double width,
                        const std::function<double(std::string_view)>& measure);

}  // namespace scorvane
