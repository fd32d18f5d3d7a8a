#include "core/gamesearch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace GameSearch {

namespace {

QString asFolder(const QString &path)
{
    const QString native = QDir::toNativeSeparators(QDir::cleanPath(path));
    return native.endsWith(QDir::separator()) ? native : native + QDir::separator();
}

// The quoted strings of a line of Steam's VDF text, their escapes ("\\") undone.
QStringList quoted(const QString &line)
{
    QStringList found;
    for (qsizetype at = line.indexOf(QLatin1Char('"')); at >= 0;) {
        QString text;
        qsizetype i = at + 1;
        for (; i < line.size() && line.at(i) != QLatin1Char('"'); ++i) {
            if (line.at(i) == QLatin1Char('\\') && i + 1 < line.size())
                ++i;
            text += line.at(i);
        }
        if (i >= line.size())
            break;
        found.append(text);
        at = line.indexOf(QLatin1Char('"'), i + 1);
    }
    return found;
}

} // namespace

QStringList steamFolders()
{
#ifdef Q_OS_WIN
    const QSettings steam(QStringLiteral("HKEY_CURRENT_USER\\Software\\Valve\\Steam"), QSettings::NativeFormat);
    const QString path = steam.value(QStringLiteral("SteamPath")).toString();
    return path.isEmpty() ? QStringList() : QStringList{path};
#else
    return {QDir::homePath() + QStringLiteral("/.steam/steam"), QDir::homePath() + QStringLiteral("/.local/share/Steam")};
#endif
}

QStringList steamLibraries(const QString &steamFolder)
{
    QStringList libraries{steamFolder};
    QFile list(QDir(steamFolder).filePath(QStringLiteral("steamapps/libraryfolders.vdf")));
    if (!list.open(QIODevice::ReadOnly | QIODevice::Text))
        return libraries;
    // Each library is a "path" entry (older files: an entry named by its number).
    for (const QString &line : QString::fromUtf8(list.read(1 << 20)).split(QLatin1Char('\n'))) {
        const QStringList pair = quoted(line);
        if (pair.size() != 2)
            continue;
        bool number = false;
        pair.at(0).toInt(&number);
        if ((pair.at(0) == QLatin1String("path") || number) && QDir::isAbsolutePath(QDir::fromNativeSeparators(pair.at(1))))
            libraries.append(QDir::fromNativeSeparators(pair.at(1)));
    }
    return libraries;
}

QString find(const QStringList &steamFolders, const QString &usualFolder)
{
    for (const QString &steam : steamFolders) {
        for (const QString &library : steamLibraries(steam)) {
            const QString game = QDir(library).filePath(QStringLiteral("steamapps/common/Serious Sam 2"));
            if (QFileInfo(game).isDir())
                return asFolder(game);
        }
    }
    if (!usualFolder.isEmpty() && QFileInfo(usualFolder).isDir())
        return asFolder(usualFolder);
    return {};
}

} // namespace GameSearch
