#include "main/analysis/ui/grading_memory.h"

#include <QSettings>

namespace scorvane {
namespace {

QSettings settings() {
    return QSettings(QSettings::UserScope, QStringLiteral("KVL'S Scorvane"), QStringLiteral("KVL'S Scorvane"));
}

const QString kBandsKey = QStringLiteral("Grading/AssignmentBands");
const QString kSchemeKey = QStringLiteral("Grading/LevelScheme");

}  // namespace

AssignmentBands RememberedAssignmentBands() {
    AssignmentBands bands;
    const std::string text = settings().value(kBandsKey).toString().toStdString();
    if (text.empty() || ReadAssignmentBandsText(text, bands)) {
        return DefaultAssignmentBands();
    }
    return bands;
}

void RememberAssignmentBands(const AssignmentBands& bands) {
    settings().setValue(kBandsKey, QString::fromStdString(AssignmentBandsText(bands)));
}

LevelScheme RememberedLevelScheme() {
    LevelScheme scheme;
    const std::string text = settings().value(kSchemeKey).toString().toStdString();
    if (text.empty() || ReadLevelSchemeText(text, scheme)) {
        return DefaultLevelScheme();
    }
    return scheme;
}

void RememberLevelScheme(const LevelScheme& scheme) {
    settings().setValue(kSchemeKey, QString::fromStdString(LevelSchemeText(scheme)));
}

}  // namespace scorvane
