#pragma once

#include <QString>

// Brisquel started by the desktop as the handler of every .nfo file (DesktopIntegration): a Level
// or Episode NFO is opened in the editor; any other .nfo (the release notes of a download, say)
// goes on to the application that opened .nfo files before Brisquel's handler, or to the one for
// plain text. Never back to Brisquel: that would be a loop.
namespace NfoHandOff {

// True when another application took the file, so the editor has nothing to show.
bool passOn(const QString &path);

} // namespace NfoHandOff
