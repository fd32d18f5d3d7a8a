#pragma once

#include "core/apperror.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The files a mod check reads: the .nfo and .dsc files under the paths it is given, each once,
// whatever their names hold, and what stands in the way of reading any of them.
namespace ModFiles {

struct Entry
{
    QString path;                    // as shown: under the path given; bytes that are no text as \xNN
    QByteArray name;                 // as the system knows it, to read it by
    std::optional<AppError> problem;  // why it cannot be read at all (a folder that cannot be listed)
    bool plain = false;               // the walk saw a plain file, no link
};

// A file given by a path that is valid text.
Entry named(const QString &path);

// The files under each path (a file of any name, or a folder searched with its subfolders, in name
// order), a file reached twice listed once; the paths that name nothing go to `missing`. The walk
// asks `keepGoing` at each entry: false stops it there, with what it has found.
QList<Entry> collect(const QStringList &paths, QStringList *missing, const std::function<bool()> &keepGoing = {});
// The same for paths given by the bytes the system knows them by (a command line's words, which
// need not be valid text), each with its shown form.
QList<Entry> collect(const QList<Entry> &given, QStringList *missing, const std::function<bool()> &keepGoing = {});

// A name as text: its UTF-8 read as such, any other byte as \xNN.
QString shownName(const QByteArray &name);

} // namespace ModFiles
