#include "core/assetpath.h"

#include "core/settings.h"

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

} // namespace AssetPath
