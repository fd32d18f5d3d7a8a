#pragma once

#include <QString>

// Asset paths are entered relative to the game folder when they lie inside it.
namespace AssetPath {

// `fullPath` without the leading `gameFolder` text when it starts with it (a plain, case-sensitive
// text prefix test), with "\" separators as the game reads them; otherwise `fullPath` unchanged.
// "NIL", and a folder that is only a separator, mean "not set" and never match.
QString relativeToGameFolder(const QString &fullPath, const QString &gameFolder);

// The file a field's value names: itself when absolute, else under the game folder (empty when
// the value is empty, or relative with no game folder set). Native separators.
QString resolved(const QString &value, const QString &gameFolder);

} // namespace AssetPath
