#pragma once

#include <QString>

// Where Fennick writes the new file.
namespace NewFile {

// The name the desktop proposed: the start path's last piece.
QString proposedName(const QString &startPath);

// The folder part of the start path (with its trailing separator, leading ones kept) joined with
// the name the user typed, used exactly as typed.
QString targetPath(const QString &startPath, const QString &typedName);

} // namespace NewFile
