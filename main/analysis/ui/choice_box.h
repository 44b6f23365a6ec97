#pragma once

#include <string>
#include <vector>

class QComboBox;

namespace scorvane {

// Fills a box with `items` in order and chooses `chosen`; nothing is chosen when it is not among them
// (an empty choice, which the analysis refuses with its own message).
void FillChoiceBox(QComboBox& box, const std::vector<std::string>& items, const std::string& chosen);

}  // namespace scorvane
