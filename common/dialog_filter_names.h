#pragma once

#include <string>
#include <string_view>

namespace scorvane {

// What a file dialog's type box calls the files of a pattern that came without a description of its
// own: "成绩表格 (*.skv)" rather than "*.skv (*.skv)". A pattern the programs do not use keeps itself
// as its name.
std::string DialogFilterName(std::string_view pattern);

}  // namespace scorvane
