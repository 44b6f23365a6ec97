#include "main/document/ui/table_font_setting.h"

#include <QSettings>

namespace scorvane {
namespace {

std::optional<std::string> stored(const QSettings& s, const QString& key) {
    QVariant value = s.value(key);
    if (!value.isValid()) {
        return std::nullopt;
    }
    return value.toString().toStdString();
}

}  // namespace

TableFont ReadTableFontSetting(const TableFont& current) {
    QSettings s(QSettings::UserScope, QStringLiteral("KVL'S Scorvane"), QStringLiteral("KVL'S Scorvane"));
    return ResolveStoredTableFont(current, stored(s, QStringLiteral("Font/Name")),
                                  stored(s, QStringLiteral("Font/Size")));
}

void WriteTableFontSetting(const TableFont& font) {
    QSettings s(QSettings::UserScope, QStringLiteral("KVL'S Scorvane"), QStringLiteral("KVL'S Scorvane"));
    s.setValue(QStringLiteral("Font/Name"), QString::fromStdString(font.name));
    s.setValue(QStringLiteral("Font/Size"), QString::fromStdString(FormatTableFontSize(font.pointSize)));
    s.sync();
}

QFont TableQFont(const TableFont& font) {
    QFont qfont(QString::fromStdString(font.name));
    qfont.setPointSizeF(font.pointSize);
    return qfont;
}

}  // namespace scorvane
