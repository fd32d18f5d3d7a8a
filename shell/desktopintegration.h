#pragma once

#include "shell/classstore.h"

#include <QList>
#include <QString>
#include <QStringList>

// Turns the registered class rows into a freedesktop.org desktop's own mechanisms, all per user:
// a MIME type for description files, desktop entries for Brisquel, the default applications, the
// icons, and the "New" menu templates.
//
// Every .nfo is the desktop's text/x-nfo: the desktop tells types apart by name before content, and
// scene release notes are .nfo files too. So Brisquel's .nfo handler becomes the default for
// text/x-nfo, and hands a file that is no game NFO on to the application that was the default
// before (see NfoHandOff). The editor itself is offered under "Open With" for every .nfo.
namespace DesktopIntegration {

// Returns false, with what could not be done, when any step failed; later steps still run. A
// mimeapps.list that exists but cannot be read is left alone and reported.
bool apply(const QList<ClassStore::Value> &rows, const QString &executable, QString *failure);

extern const QString DescriptionType;   // "application/x-ss2-description"
extern const QString NfoType;           // "text/x-nfo", the desktop's own
extern const QString DesktopEntryName;  // "brisquel.desktop": the editor
extern const QString NfoHandlerName;    // "brisquel-nfo.desktop": the default for .nfo files

// A desktop entry's Exec value that runs `program` with `options` and the file (%f), quoted by the
// freedesktop.org rules for Exec keys. Empty when the path cannot be written there (a line break).
QString execLine(const QString &program, const QStringList &options = {});

// Where the pieces go.
QString dataFolder();        // XDG_DATA_HOME
QString templatesFolder();   // the user's Templates folder; empty when that is the home folder
QString mimeAppsListPath();  // XDG_CONFIG_HOME/mimeapps.list
// The desktop's default application for a MIME type (a desktop entry id), empty when none is set
// or it cannot be asked.
QString defaultApplication(const QString &type);

// The desktop entry that opened .nfo files before Brisquel's handler did (empty: none was set).
QString previousNfoDefaultPath();
// The application that had .nfo files before Brisquel, as remembered there: a valid desktop-file
// id of another application (never a path, never one of Brisquel's own), or empty.
QString previousNfoDefault();
// Whether `id` is a desktop-file id ("org.gnome.TextEditor.desktop") of an application that is not
// Brisquel's (Brisquel's own are "brisquel*.desktop" in any letter case).
bool isOtherApplicationId(const QString &id);
// The most a settings file of the desktop (mimeapps.list, the remembered default) is read to.
inline constexpr qint64 LargestDesktopFile = 1024 * 1024;

// The same pieces for every user of a system-wide install: the MIME package, both desktop entries
// (starting `executable`) and the file type's icon (from the folder of the program's icons), under `shareFolder`
// (/usr/share). A user's own registration later uses the same entry names, so it overrides these
// rather than adding a second "Open With" entry.
bool writeSystemFiles(const QString &shareFolder, const QString &executable, const QString &programFolder,
                      QString *failure);

} // namespace DesktopIntegration
