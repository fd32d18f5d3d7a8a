#pragma once

#include <QString>

namespace FileTypes {

// Makes .dsc and .nfo files open in the program `executable`, show their icons and appear in the
// desktop's "New" menu, with the icons and the companion found in `programFolder`: the class
// registry rows on Windows; elsewhere the same rows in a per-user mirror, then turned into the
// desktop's own associations. False, with what failed, when any step could not be done (the rest is
// still attempted).
bool registerFileTypes(const QString &programFolder, const QString &executable, QString *failure);

// Where the mirror of the class registry is kept on desktops without one.
QString classStorePath();

} // namespace FileTypes
