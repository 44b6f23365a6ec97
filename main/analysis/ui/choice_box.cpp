#include "main/analysis/ui/choice_box.h"

#include <QComboBox>
#include <QSignalBlocker>

namespace scorvane {

void FillChoiceBox(QComboBox& box, const std::vector<std::string>& items, const std::string& chosen) {
    const QSignalBlocker quiet(box);
    box.clear();
    for (const std::string& item : items) {
        box.addItem(QString::fromStdString(item));
    }
    box.setCurrentIndex(box.findText(QString::fromStdString(chosen), Qt::MatchExactly));
}

}  // namespace scorvane
