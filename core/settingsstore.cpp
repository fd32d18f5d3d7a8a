#include "core/settingsstore.h"

#include "core/apperror.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <memory>

namespace SettingsStore {

QString address(const QString &section, const QString &key) { return section + QLatin1Char('/') + key; }

namespace {
// The per-user store under the program title, in the default format: the platform's own (the
// registry on Windows) unless a test has chosen files.
std::unique_ptr<QSettings> store()
{
    return std::make_unique<QSettings>(QSettings::defaultFormat(), QSettings::UserScope, QStringLiteral("Brisquel"),
                                       QStringLiteral("Brisquel"));
}

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
    return store()->value(address(section, key), defaultValue).toString();
}

namespace {
void writeValue(const QString &section, const QString &key, const QVariant &value)
{
    const auto settings = store();
    settings->setValue(address(section, key), value);
    settings->sync();
    if (settings->status() != QSettings::NoError) {
        throw AppError{AppError::FileAccess, QStringLiteral("Cannot store the settings in '%1': %2")
                                                 .arg(QDir::toNativeSeparators(settings->fileName()),
                                                      whyNotStored(*settings))};
    }
}
} // namespace

void write(const QString &section, const QString &key, const QString &value) { writeValue(section, key, value); }

QStringList readList(const QString &section, const QString &key)
{
    return store()->value(address(section, key)).toStringList();
}

void writeList(const QString &section, const QString &key, const QStringList &values)
{
    writeValue(section, key, values);
}

QString location() { return QDir::toNativeSeparators(store()->fileName()); }

} // namespace SettingsStore
