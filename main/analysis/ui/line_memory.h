#pragma once

#include <string>
#include <vector>

#include "main/analysis/borderline_students.h"
#include "main/analysis/tier_lines.h"

namespace scorvane {

// What the line windows (上线分析, 临界生) remember in the user's settings (application "KVL'S Scorvane",
// group "TierLines"), per grade, by the grade's folder: the lines last used, each as the command line
// writes it (LineArgument: "一本=前150"), and the range of 临界生.

// Nothing when the grade has none yet.
std::vector<LineText> RememberedTierLines(const std::string& gradeFolder);
// Keeps the lines that have a name (blank rows are left out), replacing those remembered for the grade.
void RememberTierLines(const std::string& gradeFolder, const std::vector<LineText>& lines);

// The defaults (20 below, 10 above) when the grade has none yet.
BorderRange RememberedBorderRange(const std::string& gradeFolder);
void RememberBorderRange(const std::string& gradeFolder, const BorderRange& range);

}  // namespace scorvane
