#pragma once

#include <QFont>

#include "main/document/table_font.h"

namespace scorvane {

// The table font in the per-user settings (application "KVL'S Scorvane", group "Font", keys "Name" and
// "Size"). Reading keeps `current`'s name or size where the stored one is missing or empty.
TableFont ReadTableFontSetting(const TableFont& current);
void WriteTableFontSetting(const TableFont& font);

// The table font as the grid and the cell editor take it.
QFont TableQFont(const TableFont& font);

}  // namespace scorvane
