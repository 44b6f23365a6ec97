#pragma once

#include "main/analysis/assignment_bands.h"
#include "main/analysis/level_scheme.h"

namespace scorvane {

// What the 等级赋分 and 成绩等级 windows remember in the user's settings (application "KVL'S Scorvane", group
// "Grading"): the band table (key "AssignmentBands", as AssignmentBandsText writes it) and the level
// scheme last used (key "LevelScheme", as LevelSchemeText writes it). A remembered text that no longer
// reads sound gives the default.

AssignmentBands RememberedAssignmentBands();
void RememberAssignmentBands(const AssignmentBands& bands);

LevelScheme RememberedLevelScheme();
void RememberLevelScheme(const LevelScheme& scheme);

}  // namespace scorvane
