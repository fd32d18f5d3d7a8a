#include "platform/settingsstore.h"

#include <QSettings>

namespace SettingsStore {

namespace {
QString address(const QString &section, const QString &key) { return section + QLatin1Char('/') + key; }
}

QString read(const QString &section, const QString &key, const QString &defaultValue)
{
    QSettings settings(QStringLiteral("Brisquel"), QStringLiteral("Brisquel"));
    return settings.value(address(section, key), defaultValue).toString();
}

void write(const QString &section, const QString &key, const QString &value)
{
    QSettings settings(QStringLiteral("Brisquel"), QStringLiteral("Brisquel"));
    settings.setValue(address(section, key), value);
}

} // namespace SettingsStore
