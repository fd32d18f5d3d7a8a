#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

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
