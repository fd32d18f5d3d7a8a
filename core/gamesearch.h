#pragma once

#include <QString>
#include <QStringList>

// Where Serious Sam 2 is usually installed: in a Steam library. The first start and the Options
// dialog offer the folder found, so that a new user need not type it.
namespace GameSearch {

// The user's Steam folders: on Windows the one Steam keeps in
// HKCU\Software\Valve\Steam\SteamPath; elsewhere ~/.steam/steam and ~/.local/share/Steam.
QStringList steamFolders();

// The libraries a Steam folder has: itself, then those its steamapps/libraryfolders.vdf lists.
QStringList steamLibraries(const QString &steamFolder);

// The game's folder, with native separators and a trailing separator: the first library of the
// Steam folders that holds steamapps/common/Serious Sam 2, else `usualFolder` when it is a
// folder; empty when neither is there.
QString find(const QStringList &steamFolders, const QString &usualFolder);

} // namespace GameSearch
