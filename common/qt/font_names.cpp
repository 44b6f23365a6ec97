#include "common/qt/font_names.h"

#include <QFont>
#include <QFontDatabase>

namespace scorvane {

QStringList SystemFontNames() {
    QStringList names;
    for (const char* mapped : {"宋体", "黑体"}) {
        const QString name = QString::fromUtf8(mapped);
        if (!QFont::substitutes(name).isEmpty()) {
            names << name;
        }
    }
    for (const QString& family : QFontDatabase::families()) {
        if (!family.trimmed().isEmpty() && !names.contains(family, Qt::CaseInsensitive)) {
            names << family;
        }
    }
    return names;
}

}  // namespace scorvane
