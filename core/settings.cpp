#include "core/settings.h"

#include "core/gamesearch.h"
#include "core/settingsstore.h"

#include <QDir>
#include <QLocale>

#include <cmath>

namespace Settings {

QString read(const Key &key) { return read(key, QLatin1String(key.defaultValue)); }

QString read(const Key &key, const QString &defaultValue)
{
    return SettingsStore::read(QLatin1String(key.section), QLatin1String(key.name), defaultValue);
}

void write(const Key &key, const QString &value)
{
    SettingsStore::write(QLatin1String(key.section), QLatin1String(key.name), value);
}

QString address(const Key &key)
{
    return SettingsStore::address(QLatin1String(key.section), QLatin1String(key.name));
}

QString gameFolder() { return read(GameFolder); }

QString gameFolderIfSet()
{
    const QString folder = gameFolder();
    return folder == QLatin1String(NeverSet) ? QString() : folder;
}

QString gameFolderToEdit()
{
    // Never set: the folder where the game is found (a Steam library), else the usual folder's name.
    const QString stored = read(GameFolder, QString());
    if (!stored.isEmpty())
        return stored;
    const QString found = GameSearch::find(GameSearch::steamFolders(), defaultGameFolder());
    return found.isEmpty() ? defaultGameFolder() : found;
}

QStringList recentFiles()
{
    return SettingsStore::readList(QLatin1String(RecentFiles.section), QLatin1String(RecentFiles.name))
        .mid(0, MostRecentFiles);
}

void updateRecentFiles(const QString &path, bool keep)
{
    QStringList files = recentFiles();
    files.removeAll(path);
    if (keep)
        files.prepend(path);
    SettingsStore::writeList(QLatin1String(RecentFiles.section), QLatin1String(RecentFiles.name),
                             files.mid(0, MostRecentFiles));
}

void clearRecentFiles()
{
    SettingsStore::writeList(QLatin1String(RecentFiles.section), QLatin1String(RecentFiles.name), {});
}

bool isFirstStart() { return read(FirstStart) == QLatin1String("YES"); }

void markFirstStartDone() { write(FirstStart, QStringLiteral("NO")); }

std::optional<double> parseNumber(const QString &text)
{
    // A point always works; the user's own decimal separator too ("0,5").
    bool ok = false;
    double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok)
        value = QLocale().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

int tipIntervalMs(const QString &timeText)
{
    if (checkTipTime(timeText) != TipTimeProblem::None)
        return DefaultTipIntervalMs;
    return int(std::nearbyint(*parseNumber(timeText) * 1000));
}

TipTimeProblem checkTipTime(const QString &text)
{
    const auto seconds = parseNumber(text);
    if (!seconds)
        return TipTimeProblem::NotANumber;
    if (*seconds > 59)
        return TipTimeProblem::TooLong;
    if (*seconds < 0.1)
        return TipTimeProblem::TooShort;
    return TipTimeProblem::None;
}

QString defaultGameFolder()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\Program Files\\Serious Sam 2\\");
#else
    return QDir::toNativeSeparators(QDir::homePath()
                                    + QStringLiteral("/.local/share/Steam/steamapps/common/Serious Sam 2/"));
#endif
}

QString gameFolderToStore(const QString &typed)
{
    QString folder = QDir::toNativeSeparators(typed);
    if (!folder.endsWith(QDir::separator()))
        folder += QDir::separator();
    return folder;
}

QString tipTimeText() { return read(TipTime); }

int tipIntervalMs() { return tipIntervalMs(tipTimeText()); }

bool tipsShown(const QString &optionText)
{
    // A text this system never writes (not 0 or 1) leaves the tips on.
    bool ok = false;
    const int option = optionText.trimmed().toInt(&ok);
    return !ok || option != 0;
}

bool tipsShown() { return tipsShown(read(ShowTips)); }

bool savedBoxShown() { return read(ShowSavedBox) != QLatin1String("0"); }

} // namespace Settings
