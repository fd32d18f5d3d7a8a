#pragma once

#include "shell/classstore.h"

#include <QList>
#include <QString>

// Turns the registered class rows into a freedesktop.org desktop's own mechanisms, all per user:
// MIME types for Level NFO, Episode NFO and description files, a desktop entry for Brisquel made
// their default application, their icons, and the "New" menu templates.
namespace DesktopIntegration {

// Returns false, with what could not be done, when any step failed; later steps still run.
bool apply(const QList<ClassStore::Value> &rows, QString *failure);

// The MIME types the rows define.
extern const QString LevelNfoType;
extern const QString EpisodeNfoType;
extern const QString DescriptionType;
extern const QString DesktopEntryName;  // "brisquel.desktop"

// The desktop entry's Exec line for the registered open command ("path" %1 -> "path" %f).
QString execLine(const QString &openCommand);

// Where the pieces go.
QString dataFolder();        // XDG_DATA_HOME
QString templatesFolder();   // the user's Templates folder
QString mimeAppsListPath();  // XDG_CONFIG_HOME/mimeapps.list

} // namespace DesktopIntegration
