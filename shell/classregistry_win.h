#pragma once

// Writing the file type rows into the Windows class registry (Win32 API, no Qt).

#ifdef _WIN32
#include <windows.h>
// windows.h names MessageBoxA/W through a MessageBox macro, which would rename the editor's own
// MessageBox seam in every file that includes this one.
#undef MessageBox

#include <string>

namespace ClassRegistry {

// One create-or-open / set / close cycle per value; false when any step failed. Keys, names and
// texts are UTF-8 and are stored as the registry's UTF-16.
bool saveString(HKEY root, const std::string &key, const std::string &name, const std::string &text);
bool saveDword(HKEY root, const std::string &key, const std::string &name, DWORD value);

// The running program's folder (no trailing backslash, except at a drive's root) and its file
// name without extension, read afresh, in UTF-8.
std::string programFolder();
std::string programName();

// Writes the thirty rows below `root`\`classesPath` and tells the shell that associations changed.
// Returns whether every value was written; the remaining rows are written even after a failure.
// The class .nfo files had before (System Information's, a text editor's) is remembered first.
bool registerFileTypes(HKEY root, const std::string &classesPath, std::string *failure);

// Takes the rows away again and gives .nfo back to the class it had before; false when a key
// could not be removed.
bool unregisterFileTypes(HKEY root, const std::string &classesPath, std::string *failure);

// The class .nfo files had before the registration (empty: none, or none that is still there).
std::string nfoClassBefore();

} // namespace ClassRegistry
#endif
