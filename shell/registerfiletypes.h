#pragma once

#include <QString>

namespace FileTypes {

// Makes .dsc and .nfo files open in the program `executable`, show their icons and appear in the
// desktop's "New" menu, with the icons and the companion found in `programFolder`: the class
// registry rows on Windows; elsewhere the same rows in a per-user mirror, then turned into the
// desktop's own associations. False, with what failed, when any step could not be done (the rest is
// still attempted).
bool registerFileTypes(const QString &programFolder, const QString &executable, QString *failure);

#ifdef Q_OS_WIN
// Takes the file types away again (the uninstaller asks for it: "Brisquel --uninstall"), giving
// .nfo back to the class it had before.
bool unregisterFileTypes(QString *failure);
#endif

// Where the mirror of the class registry is kept on desktops without one.
QString classStorePath();

} // namespace FileTypes
