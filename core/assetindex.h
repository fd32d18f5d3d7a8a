#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <atomic>

// The files under the folders a check looks for assets in, known by their names in any letter
// case, as the game finds them (on Windows, and under Proton, its file system is case-blind). A
// folder is listed once, when a value first points into it; every lookup after that is a hash
// lookup. One check's own: it is not shared between threads, and it goes with its check, so a
// file added meanwhile is found by the next one.
class AssetIndex
{
public:
    // Whether `relative` ("Models\Ship.mdl", with "\" or "/" separators) names a file under one
    // of the folders `bases` (absolute, "/" separators), in any letter case.
    bool hasFile(const QStringList &bases, const QString &relative);

    // The files under `base` (absolute, "/" separators) whose names end in `extension` (".mdl",
    // any letter case), as paths relative to it with "\" separators, spelt as the folders spell
    // them: at most `most` of them, and no more once `stop` is set. Links to folders above are
    // not followed round: the walk goes `MostDepth` folders down at most.
    QStringList filesEndingIn(const QString &base, QStringView extension, qsizetype most, const std::atomic<bool> &stop);
    static constexpr int MostDepth = 24;

    // The mod a document in `documentFolder` belongs to: the nearest folder at or up to three
    // above it that holds Models, Textures or Movies; else its own folder.
    static QString modFolderOf(const QString &documentFolder);

    // How many folders have been listed (for the tests: each at most once).
    int listedFolders() const { return int(m_folders.size()); }

private:
    struct Entry
    {
        QString name;  // as the folder holds it
        bool folder = false;
    };
    using Folder = QHash<QString, Entry>;  // by the name case-folded
    const Folder &listed(const QString &path);
    bool hasFileUnder(QString folder, const QList<QStringView> &parts, const QStringList &folded);

    QHash<QString, Folder> m_folders;  // by path
};
