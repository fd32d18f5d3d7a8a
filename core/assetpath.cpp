#include "core/assetpath.h"

#include "core/settings.h"

#include <QDir>

namespace AssetPath {

QString relativeToGameFolder(const QString &fullPath, const QString &gameFolder)
{
    // A folder stored from an emptied box is the separator alone: that is no folder at all, and as
    // a prefix it would cut the root off every path.
    if (gameFolder == QLatin1String(Settings::NeverSet) || gameFolder.isEmpty() || gameFolder == QLatin1String("/")
        || gameFolder == QLatin1String("\\"))
        return fullPath;
    if (fullPath.left(gameFolder.size()) != gameFolder)
        return fullPath;
    // The game reads its files on Windows: a path inside the game folder uses "\\" everywhere.
    QString relative = fullPath.mid(gameFolder.size());
    relative.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return relative;
}

QString resolved(const QString &value, const QString &gameFolder)
{
    if (value.isEmpty())
        return {};
    const QString path = QDir::fromNativeSeparators(QString(value).replace(QLatin1Char('\\'), QLatin1Char('/')));
    if (QDir::isAbsolutePath(path) || path.startsWith(QLatin1Char('/')))
        return QDir::toNativeSeparators(path);
    if (gameFolder.isEmpty())
        return {};
    return QDir::toNativeSeparators(QDir(gameFolder).filePath(path));
}

} // namespace AssetPath
