#include "common/qt/font_setup.h"

#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QStringList>

namespace scorvane {
namespace {

QStringList installed(const QStringList& wanted) {
    const QStringList families = QFontDatabase::families();
    QStringList found;
    for (const QString& w : wanted) {
        if (families.contains(w, Qt::CaseInsensitive)) {
            found << w;
        }
    }
    return found;
}

}  // namespace

void SetUpFonts() {
    const QStringList serif =
        installed({"Noto Serif CJK SC", "Noto Serif SC", "AR PL UMing CN", "Source Han Serif SC",
                   "Noto Sans CJK SC", "WenQuanYi Zen Hei", "Droid Sans Fallback"});
    const QStringList sans =
        installed({"Noto Sans CJK SC", "Noto Sans SC", "Source Han Sans SC", "WenQuanYi Zen Hei",
                   "WenQuanYi Micro Hei", "Droid Sans Fallback", "Noto Serif CJK SC"});
    for (const char* name : {"宋体", "SimSun", "新宋体", "NSimSun"}) {
        QFont::insertSubstitutions(QString::fromUtf8(name), serif);
    }
    for (const char* name : {"黑体", "SimHei", "微软雅黑", "Microsoft YaHei"}) {
        QFont::insertSubstitutions(QString::fromUtf8(name), sans);
    }
    // Latin fonts of the documents fall back to the Chinese fonts for the characters they lack.
    for (const char* name : {"Arial", "Arial Black", "Times New Roman", "Courier New"}) {
        QFont::insertSubstitutions(QString::fromUtf8(name), sans);
    }
    if (!sans.isEmpty()) {
        QFont ui(sans.first());
        ui.setPointSizeF(QGuiApplication::font().pointSizeF() > 0 ? QGuiApplication::font().pointSizeF() : 9);
        QGuiApplication::setFont(ui);
    }
}

}  // namespace scorvane
