#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class QTextStream;

// "Brisquel --check PATH...": the mod check from the command line, without a window, for scripts
// and CI. Findings go to `out` in the compiler format (or as JSON), problems with the command
// itself to `err`.
namespace CheckCommand {

// Whether the arguments (the program first) ask for the check, the help or the version rather
// than a file to edit: a first argument that names an existing file is always a file.
bool isCommand(const QStringList &arguments);

// 0: no errors; 1: errors (or warnings, with --strict); 2: the command could not be carried out.
// `names`: the arguments as the bytes they were given as (empty: as their text), so that a path
// that is not valid text is still read.
int run(const QStringList &arguments, const QString &version, const QString &gameFolder, QTextStream &out,
        QTextStream &err, const QList<QByteArray> &names = {});

// The manual page, brisquel(1), in roff: made from the same options as the help.
QString manPage(const QString &version);

// run() on the program's standard output and error: UTF-8 to a file or a pipe; on Windows, a
// console is written with its own wide-character call, so that every name shows as it is.
int runOnStandardStreams(const QStringList &arguments, const QString &version, const QString &gameFolder,
                         const QList<QByteArray> &names = {});

} // namespace CheckCommand
