#include "main/analysis/ui/analysis_memory.h"

#include <QSettings>
#include <QStringList>

namespace scorvane {
namespace {

QSettings settings() {
    return QSettings(QSettings::UserScope, QStringLiteral("KVL'S Scorvane"),
                     QStringLiteral("KVL'S Scorvane"));
}

const QString kFullMarksKey = QStringLiteral("Statistics/FullMarks");
const QString kWeightsKey = QStringLiteral("Statistics/EvaluationWeights");

}  // namespace

std::vector<std::pair<std::string, std::string>> RememberedFullMarks() {
    std::vector<std::pair<std::string, std::string>> out;
    // A title may hold "=", the full marks never do.
    for (const QString& entry : settings().value(kFullMarksKey).toStringList()) {
        const qsizetype eq = entry.lastIndexOf('=');
        if (eq > 0) {
            out.emplace_back(entry.left(eq).toStdString(), entry.mid(eq + 1).toStdString());
        }
    }
    return out;
}

void RememberFullMarks(const std::vector<std::pair<std::string, std::string>>& typed) {
    if (typed.empty()) {
        return;
    }
    std::vector<std::pair<std::string, std::string>> all = RememberedFullMarks();
    for (const auto& [field, marks] : typed) {
        bool known = false;
        for (auto& entry : all) {
            if (entry.first == field) {
                entry.second = marks;
                known = true;
            }
        }
        if (!known) {
            all.emplace_back(field, marks);
        }
    }
    QStringList entries;
    for (const auto& [field, marks] : all) {
        entries << QString::fromStdString(field) + '=' + QString::fromStdString(marks);
    }
    settings().setValue(kFullMarksKey, entries);
}

std::string RememberedWeights() {
    return settings().value(kWeightsKey).toString().toStdString();
}

void RememberWeights(const std::string& weights) {
    settings().setValue(kWeightsKey, QString::fromStdString(weights));
}

}  // namespace scorvane
