#include "main/analysis/ui/line_memory.h"

#include <QSettings>
#include <QStringList>
#include <QUrl>

#include "common/utf8.h"

namespace scorvane {
namespace {

QSettings settings() {
    return QSettings(QSettings::UserScope, QStringLiteral("KVL'S Scorvane"), QStringLiteral("KVL'S Scorvane"));
}

// The grade's group: its folder with every separator escaped, so that the path stays one key.
QString groupOf(const std::string& gradeFolder) {
    return QStringLiteral("TierLines/") +
           QString::fromLatin1(QUrl::toPercentEncoding(QString::fromStdString(gradeFolder)));
}

}  // namespace

std::vector<LineText> RememberedTierLines(const std::string& gradeFolder) {
    std::vector<LineText> lines;
    for (const QString& entry : settings().value(groupOf(gradeFolder) + QStringLiteral("/Lines")).toStringList()) {
        if (std::optional<LineText> line = ReadLineArgument(entry.toStdString())) {
            lines.push_back(std::move(*line));
        }
    }
    return lines;
}

void RememberTierLines(const std::string& gradeFolder, const std::vector<LineText>& lines) {
    QStringList entries;
    for (const LineText& line : lines) {
        if (!TrimSpaces(line.name).empty()) {
            entries << QString::fromStdString(LineArgument(line));
        }
    }
    settings().setValue(groupOf(gradeFolder) + QStringLiteral("/Lines"), entries);
}

BorderRange RememberedBorderRange(const std::string& gradeFolder) {
    QSettings s = settings();
    BorderRange range;
    range.below = s.value(groupOf(gradeFolder) + QStringLiteral("/Below"), QString::fromStdString(range.below))
                      .toString()
                      .toStdString();
    range.above = s.value(groupOf(gradeFolder) + QStringLiteral("/Above"), QString::fromStdString(range.above))
                      .toString()
                      .toStdString();
    return range;
}

void RememberBorderRange(const std::string& gradeFolder, const BorderRange& range) {
    QSettings s = settings();
    s.setValue(groupOf(gradeFolder) + QStringLiteral("/Below"), QString::fromStdString(range.below));
    s.setValue(groupOf(gradeFolder) + QStringLiteral("/Above"), QString::fromStdString(range.above));
}

}  // namespace scorvane
