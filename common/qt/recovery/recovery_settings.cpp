#include "common/qt/recovery/recovery_settings.h"

#include <QSettings>
#include <QStandardPaths>
#include <optional>
#include <string>

#include "common/recovery/recovery_interval.h"

namespace scorvane {

QString RecoveryFolderPath() {
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
           QStringLiteral("/recovery");
}

int64_t RecoveryIntervalSetting() {
    std::optional<std::string> environment;
    const QByteArray name(kRecoveryIntervalVariable.data(),
                          static_cast<qsizetype>(kRecoveryIntervalVariable.size()));
    if (qEnvironmentVariableIsSet(name.constData())) {
        environment = qEnvironmentVariable(name.constData()).toStdString();
    }
    QSettings s(QSettings::UserScope, QStringLiteral("KVL'S Scorvane"), QStringLiteral("KVL'S Scorvane"));
    std::optional<std::string> setting;
    const QVariant stored = s.value(QStringLiteral("Recovery/IntervalSeconds"));
    if (stored.isValid()) {
        setting = stored.toString().toStdString();
    }
    return RecoveryIntervalMillis(environment, setting);
}

}  // namespace scorvane
