#pragma once

#include "core/assetindex.h"
#include "core/checkrules.h"
#include "core/finding.h"
#include "core/modfiles.h"

#include <QHash>
#include <QMultiHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

// The mod check: what the game would trip over in a mod's NFO and description files, found with
// the editor's own readers and value rules before the game finds it.
namespace ModCheck {

struct Options
{
    QString gameFolder;    // where assets are looked for besides the mod (empty: nowhere else)
    QSet<QString> ignored;  // the ids of rules left out
    // Whether findings carry their fixes: a report that shows none (the compiler format) is
    // spared making them (a large file's line ends, the files a suggestion looks among).
    bool fixes = true;
};

// The .nfo and .dsc files under each path (a file, or a folder searched recursively), in name
// order, each once; the paths that name nothing go to `missing`.
QList<ModFiles::Entry> filesToCheck(const QStringList &paths, QStringList *missing, const KeepGoing &keepGoing = {});
QList<ModFiles::Entry> filesToCheck(const QList<ModFiles::Entry> &given, QStringList *missing);

// One check, of one file or of many: its options, and the asset index its files share (each
// folder listed once). Asset values are looked for as files under the folder of the file and each
// folder above it (so under the mod folder, wherever in it the file lies), and under the game
// folder, in any letter case. Used by one thread at a time.
class Checker
{
public:
    explicit Checker(Options options = {});

    // A file that cannot be read is an error finding that says why.
    QList<Finding> checkFile(const ModFiles::Entry &file, const KeepGoing &keepGoing = {});
    // A document's bytes, checked as the file `path` would be: what the editor is about to save.
    // An empty path (a document not saved yet) looks for assets in the game folder only.
    QList<Finding> checkBytes(const QByteArray &bytes, FileKind kind, const QString &path, const KeepGoing &keepGoing = {});

    const AssetIndex &assets() const { return m_assets; }

    // The files of the kind named `fileName` (any letter case) under the mod of the file at
    // `path` and under the game folder, as a field names them.
    QStringList assetsNamed(const QString &path, AssetKind kind, const QString &fileName);
    // The game folder, absolute, with "/" separators (empty: none).
    QString gameFolder() const;
    const Options &options() const { return m_options; }
    // How many findings of a rule checkBytes lists a file (MostFindingsPerRule, or more while
    // mending).
    void setMostPerRule(int most) { m_mostPerRule = most; }

private:
    // The folders a file's asset values are looked for under: the game folder, then the file's
    // folder and each one above it.
    const QStringList &assetFolders(const QString &path);

    Options m_options;
    int m_mostPerRule = MostFindingsPerRule;
    AssetIndex m_assets;
    QHash<QString, QStringList> m_assetFolders;  // by the file's folder
    QHash<QString, QString> m_modFolders;         // by the file's folder
    using FilesByName = QMultiHash<QString, QString>;  // relative paths by their file names case-folded
    QHash<QString, FilesByName> m_filesOfKind;        // by folder and extension
};

// The finding that a file cannot be read (`unreadable`) or its mended bytes cannot be written
// (`unwritable`), unless its rule is left out.
QList<Finding> fileFindings(const QString &path, const QString &unreadable, const QString &unwritable,
                            const QSet<QString> &ignored);

// A file's kind, by its name.
FileKind kindOf(const QByteArray &name);

QList<Finding> checkFile(const QString &path, const QString &gameFolder);
QList<Finding> checkBytes(const QByteArray &bytes, FileKind kind, const QString &path, const QString &gameFolder,
                          const KeepGoing &keepGoing = {});

// Checks every file under the paths.
Report check(const QStringList &paths, const Options &options);
// Checks the files that filesToCheck found, until `keepGoing` says no (a file checked in part is
// not counted); `checked` is told the count after each file.
Report checkFiles(const QList<ModFiles::Entry> &files, const Options &options, const KeepGoing &keepGoing = {},
                  const std::function<void(int)> &checked = {});

} // namespace ModCheck
