#pragma once

#include <string>
#include <vector>

namespace scorvane {

// A field's marks in bands of `width` % of its full marks: element 0 counts the marks at or above
// the full marks, then one element per band from the highest down to the one starting at 0. Bands
// start at 0, width, 2 x width, ...; the highest ends at 100 % (narrower when width does not divide
// 100); each holds lower <= mark < upper, and a negative mark counts in the lowest.
int BandCount(double width);
std::vector<int> CountBands(const std::vector<double>& marks, double fullMarks, double width);
// The bands' column titles, highest first: "90%～100%", "80%～90%", ..., "0～10%".
std::vector<std::string> BandTitles(double width);

}  // namespace scorvane
