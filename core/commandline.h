#pragma once

#include <QString>
#include <QStringList>

namespace CommandLine {

// How the desktop's .nfo handler starts the editor: "--open-nfo PATH".
inline const QString NfoHandlerOption = QStringLiteral("--open-nfo");

#ifdef Q_OS_WIN
// The command line after the program's name, exactly as Windows gave it.
QString rawArgumentText();
#endif

// The whole argument text after the program name, unaltered. On Windows that is the raw command
// line; elsewhere the launcher has split it into words, which are joined again with single
// blanks, so a path with blanks passed unquoted arrives whole.
QString argumentText(const QStringList &arguments);

// Whether the argument text is one file for the window, whatever its words look like: on Windows
// when it is empty, the unexpanded "%1", or the path of an existing file, since Explorer passes a
// .dsc's path unquoted and a folder named "My -Mod" would otherwise read as an option. Elsewhere
// the words are always read as given.
bool isOneFile(const QString &argumentText);

// The program's arguments as given (the program first), taken before QApplication removes the
// options it knows: a file named "-style" is a file. `readable` is false when an argument is not
// valid in the system's encoding of file names, so that no path could name the file it meant.
struct Given
{
    QStringList arguments;
    bool readable = true;
    QList<QByteArray> bytes;  // each argument as given (on Windows, as UTF-8)
};
Given given(int argc, char **argv);

} // namespace CommandLine
