#include "editor/assetpath.h"

#include "platform/settingsstore.h"
#include "settings/settingskeys.h"

namespace AssetPath {

QString gameFolderSetting()
{
    return SettingsStore::read(Settings::GameFolderSection, Settings::GameFolderKey, QStringLiteral("NIL"));
}

QString relativeToGameFolder(const QString &fullPath, const QString &gameFolder)
{
    if (gameFolder == QLatin1String("NIL"))
        return fullPath;
    if (fullPath.left(gameFolder.size()) == gameFolder)
        return fullPath.mid(gameFolder.size());
    return fullPath;
}

} // namespace AssetPath
