#include "core/settingsstore.h"

#include "core/apperror.h"
#include "core/documentfile.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QUuid>

#include <memory>

namespace SettingsStore {

QString address(const QString &section, const QString &key) { return section + QLatin1Char('/') + key; }

namespace {
// Whether the store is a file (an INI file; on Windows the native store is the registry).
bool isFileStore()
{
#ifdef Q_OS_WIN
    return QSettings::defaultFormat() != QSettings::NativeFormat;
#else
    return true;
#endif
}

// The user's settings file, where QSettings keeps it for the program title (a test may move its
// folder with QSettings::setPath), found without reading it: a store of a name no file has tells
// the folder.
QString userFile()
{
    const QString probe = QUuid::createUuid().toString(QUuid::WithoutBraces);
    const QFileInfo probeFile(QSettings(QSettings::defaultFormat(), QSettings::UserScope, probe, probe).fileName());
    return QDir::cleanPath(probeFile.absolutePath() + QStringLiteral("/../Brisquel/Brisquel.")
                           + probeFile.suffix());
}

// The per-user store under the program title, in the default format: the platform's own (the
// registry on Windows) unless a test has chosen files. A file store reads the user's file only
// (QSettings would read the files of other scopes too, each of which could hang it: a pipe), and
// only when it is a plain file: otherwise there is no store, and `notPlain` says what is there.
std::unique_ptr<QSettings> store(std::optional<QString> *notPlain = nullptr)
{
    if (!isFileStore()) {
        return std::make_unique<QSettings>(QSettings::defaultFormat(), QSettings::UserScope,
                                           QStringLiteral("Brisquel"), QStringLiteral("Brisquel"));
    }
    const QString file = userFile();
    if (auto what = DocumentFile::notPlainFile(file)) {
        if (notPlain)
            *notPlain = std::move(what);
        return nullptr;
    }
    return std::make_unique<QSettings>(file, QSettings::defaultFormat());
}

// What is at the settings file's place when it is no plain file: it is neither read nor written.
std::optional<QString> notPlainStore()
{
    return isFileStore() ? DocumentFile::notPlainFile(userFile()) : std::nullopt;
}

QString whyNotStored(const QSettings &settings)
{
    if (settings.status() == QSettings::FormatError)
        return QStringLiteral("the file is damaged");
    const QFileInfo file(settings.fileName());
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

std::optional<QString> unusable()
{
    if (const auto what = notPlainStore()) {
        return QStringLiteral("The settings file '%1' is %2, not a plain file: Brisquel uses the default settings "
                              "and cannot store changes")
            .arg(location(), *what);
    }
    return std::nullopt;
}

QString read(const QString &section, const QString &key, const QString &defaultValue)
{
    const auto settings = store();
    return settings ? settings->value(address(section, key), defaultValue).toString() : defaultValue;
}

namespace {
void writeValue(const QString &section, const QString &key, const QVariant &value)
{
    std::optional<QString> notPlain;
    const auto settings = store(&notPlain);
    if (!settings) {
        throw AppError{AppError::FileAccess, QStringLiteral("Cannot store the settings in '%1': it is %2, not a plain file")
                                                 .arg(location(), *notPlain)};
    }
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
    const auto settings = store();
    return settings ? settings->value(address(section, key)).toStringList() : QStringList();
}

void writeList(const QString &section, const QString &key, const QStringList &values)
{
    writeValue(section, key, values);
}

QString location()
{
    return QDir::toNativeSeparators(isFileStore() ? userFile() : store()->fileName());
}

} // namespace SettingsStore
