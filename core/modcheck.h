#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "core/modfiles.h"

#include <functional>

// The mod check: what the game would trip over in a mod's NFO and description files, found with
// the editor's own readers before the game finds it.
namespace ModCheck {

enum class Severity { Error, Warning };

struct Finding
{
    QString path;  // as the file was found under the path given
    int line;      // 1-based
    Severity severity;
    QString text;
    QString key;   // the NFO key of its line (NAME, ETA), empty when the finding is of no one value
    QString rule = {};  // the name of the rule that found it ("eta-range")
    QByteArray name = {};  // the file as the system knows it (its path need not be valid text)
};

struct Report
{
    QList<Finding> findings;  // file by file, in line order
    int files = 0;            // files checked
    int errors() const;
    int warnings() const;
};

// At most this many findings of one rule in one file are listed; one more finding counts the rest,
// so that a file of millions of bad lines gives a short report in little memory.
inline constexpr int MostFindingsPerRule = 20;

// Asked now and then while a large file is checked: false stops the check of the file.
using KeepGoing = std::function<bool()>;

// The .nfo and .dsc files under each path (a file, or a folder searched recursively), in name
// order, each once; the paths that name nothing go to `missing`.
QList<ModFiles::Entry> filesToCheck(const QStringList &paths, QStringList *missing);
QList<ModFiles::Entry> filesToCheck(const QList<ModFiles::Entry> &given, QStringList *missing);

// Checks one file. Asset values are looked for as files under the folder of the file and each
// folder above it (so under the mod folder, wherever in it the file lies), and under `gameFolder`
// (empty: none). A file that cannot be read is an error finding that says why.
QList<Finding> checkFile(const ModFiles::Entry &file, const QString &gameFolder, const KeepGoing &keepGoing = {});
QList<Finding> checkFile(const QString &path, const QString &gameFolder);
// Checks a document's bytes as the file `path` would be checked: what the editor is about to save.
// An empty path (a document not saved yet) looks for assets in the game folder only.
enum class FileKind { Nfo, Description };
QList<Finding> checkBytes(const QByteArray &bytes, FileKind kind, const QString &path, const QString &gameFolder,
                          const KeepGoing &keepGoing = {});

// Checks every file under the paths.
Report check(const QStringList &paths, const QString &gameFolder);
// Checks the files that filesToCheck found.
Report checkFiles(const QList<ModFiles::Entry> &files, const QString &gameFolder);

// "path:line: error: text", as compilers write it and editors read it: always one line, with the
// control characters of the path and the text written as escapes (\n, \x1b), so that no name or
// value can make a line of its own or reach a terminal as a command.
QString compilerLine(const Finding &finding);
// Any text as compilerLine writes it: control characters and the characters that reorder a line
// as escapes, so that it stays one line and reaches a terminal as text.
QString escapedText(const QString &text);
// A path as compilerLine writes it: native separators, control characters and the characters
// that reorder a line (right-to-left overrides) as escapes.
QString shownPath(const QString &path);
// The finding's text as compilerLine writes it after "error: " or "warning: ".
QString shownText(const Finding &finding);
// "3 files checked, 1 error, 2 warnings"
QString summary(const Report &report);
// The report as one JSON document: files, errors, warnings and the findings.
QByteArray json(const Report &report);

} // namespace ModCheck
