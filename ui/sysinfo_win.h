#pragma once

// Finding and starting the Windows System Information tool (Win32 API, no Qt).

#ifdef _WIN32
#include <windows.h>
// windows.h names MessageBoxA/W through a MessageBox macro, which would rename the editor's own
// MessageBox seam in every file that includes this one.
#undef MessageBox

#include <string>

namespace SysInfo {

// Reads one string value (at most 1024 characters) of a key opened for reading only; false when
// the key or value is missing, too long or not a string. Names and text are UTF-8.
bool readString(HKEY root, const std::string &keyPath, const std::string &valueName, std::string &value);

// The tool's full path: the MSINFO "PATH" value when present, otherwise MSINFO32.EXE in the
// "Shared Tools Location" folder when that file exists; empty when neither gives one.
std::string findTool();

// Starts the tool with a normal, focused window without waiting; false when it cannot be found
// or started.
bool startTool();

} // namespace SysInfo
#endif
