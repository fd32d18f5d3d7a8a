#include "platform/settingsstore.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace SettingsStore {

namespace {
QString address(const QString &section, const QString &key) { return section + QLatin1Char('/') + key; }

QString whyNotStored(const QSettings &settings)
{
    if (settings.status() == QSettings::FormatError)
        return QStringLiteral("the file is damaged");
    const QFileInfo file(settings.fileName());
    if (file.isDir())
        return QStringLiteral("it is a folder, not a file");
    // The nearest existing folder on the way to the file says whether it can be created at all.
    QFileInfo folder(file.absolutePath());
    while (!folder.exists() && folder.absoluteFilePath() != folder.absolutePath())
        folder = QFileInfo(folder.absolutePath());
    if (folder.exists() && !folder.isDir())
        return QStringLiteral("'%1' is a file, not a folder").arg(QDir::toNativeSeparators(folder.absoluteFilePath()));
    if (file.exists() && !file.isWritable())
        return QStringLiteral("the file is read-only");
    return QStringLiteral("the file cannot be written");
}
}

QString read(const QString &section, const QString &key, const QString &defaultValue)
{
    QSettings settings(QStringLiteral("Brisquel"), QStringLiteral("Brisquel"));
    return settings.value(address(section, key), defaultValue).toString();
}

bool write(const QString &section, const QString &key, const QString &value, QString *failure)
{
    QSettings settings(QStringLiteral("Brisquel"), QStringLiteral("Brisquel"));
    settings.setValue(address(section, key), value);
    settings.sync();
    if (settings.status() == QSettings::NoError)
        return true;
    if (failure) {
        *failure = QStringLiteral("Cannot store the settings in '%1': %2")
                       .arg(QDir::toNativeSeparators(settings.fileName()), whyNotStored(settings));
    }
    return false;
}

} // namespace SettingsStore
