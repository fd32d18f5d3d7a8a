#pragma once

// Where the per-user settings, data and desktop files go. Without HOME, Qt would take "/" as the
// home folder and write there; the user's home is then taken from the user database.
namespace UserHome {

// Sets HOME from the user database when it is unset or empty. When no home can be found, the
// per-user folders are pointed at a folder that does not exist, so nothing is written outside the
// user's space (settings then cannot be stored, which is reported).
void ensure();

} // namespace UserHome
