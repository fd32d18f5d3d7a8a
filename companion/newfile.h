#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// What Fennick writes and where.
namespace NewFile {

// The empty templates, each line ended by CR LF.
extern const QByteArray LevelTemplate;    // 79 bytes
extern const QByteArray EpisodeTemplate;  // 32 bytes

// The whole argument text after the program name, unaltered. On Windows the raw command line;
// elsewhere the launcher split it into words, which are joined again with single blanks.
QString argumentText(const QStringList &arguments);

// The program's arguments as given, taken before QApplication removes the options it knows.
// `readable` becomes false when one is not valid in the system's encoding of file names.
QStringList givenArguments(int argc, char **argv, bool *readable);

// The name the desktop proposed: the start path's last piece.
QString proposedName(const QString &startPath);

// The folder part of the start path (with its trailing separator, leading ones kept) joined with
// the name the user typed, used exactly as typed.
QString targetPath(const QString &startPath, const QString &typedName);

} // namespace NewFile
