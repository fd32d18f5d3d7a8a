#pragma once

#include <QList>
#include <QString>
#include <QStringList>


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
};

struct Report
{
    QList<Finding> findings;  // file by file, in line order
    int files = 0;            // files checked
    int errors() const;
    int warnings() const;
};

// The .nfo and .dsc files under each path (a file, or a folder searched recursively), in name
// order; the paths that name nothing readable go to `unreadable`.
QStringList filesToCheck(const QStringList &paths, QStringList *unreadable);

// Checks one file. Asset values are looked for as files under the folder of the file and each
// folder above it (so under the mod folder, wherever in it the file lies), and under `gameFolder`
// (empty: none).
QList<Finding> checkFile(const QString &path, const QString &gameFolder);

// Checks every file under the paths.
Report check(const QStringList &paths, const QString &gameFolder);
// Checks the files that filesToCheck found.
Report checkFiles(const QStringList &files, const QString &gameFolder);

// "path:line: error: text", as compilers write it and editors read it.
QString compilerLine(const Finding &finding);
// "3 files checked, 1 error, 2 warnings"
QString summary(const Report &report);
// The report as one JSON document: files, errors, warnings and the findings.
QByteArray json(const Report &report);

} // namespace ModCheck
