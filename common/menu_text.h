#pragma once

#include <string>
#include <string_view>

namespace scorvane {

// A name shown as a menu entry (a table, a field template, a find result, a window): every "&"
// doubled, so the name shows as it is instead of marking a letter as the entry's mnemonic.
std::string MenuEntryText(std::string_view name);

}  // namespace scorvane
