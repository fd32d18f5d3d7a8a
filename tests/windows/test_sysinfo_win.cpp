// Finding the System Information tool through the registry: the value present, the fallback
// folder with and without MSINFO32.EXE, and neither present. The tool itself is never started.

#include "ui/sysinfo_win.h"
#include "tests/windows/wincheck.h"

#include <windows.h>

#include <fstream>

namespace {

const char *const PathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const char *const FolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

void setString(const char *key, const char *name, const std::string &value)
{
    HKEY handle = nullptr;
    RegCreateKeyA(HKEY_LOCAL_MACHINE, key, &handle);
    RegSetValueExA(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(value.c_str()), DWORD(value.size() + 1));
    RegCloseKey(handle);
}

void remove(const char *key, const char *name)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_SET_VALUE, &handle) == ERROR_SUCCESS) {
        RegDeleteValueA(handle, name);
        RegCloseKey(handle);
    }
}

std::string tempFolder(const char *name)
{
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    std::string folder = std::string(base) + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

} // namespace

int main()
{
    remove(PathKey, "PATH");
    remove(FolderKey, "MSINFO");
    WinCheck::check(SysInfo::findTool().empty(), "neither value present: no tool");

    const std::string withTool = tempFolder("msinfo-with");
    std::ofstream(withTool + "\\MSINFO32.EXE") << "stand-in";
    setString(FolderKey, "MSINFO", withTool);
    WinCheck::check(SysInfo::findTool() == withTool + "\\MSINFO32.EXE", "fallback folder holding MSINFO32.EXE");

    const std::string without = tempFolder("msinfo-without");
    setString(FolderKey, "MSINFO", without);
    WinCheck::check(SysInfo::findTool().empty(), "fallback folder without MSINFO32.EXE: no tool");

    setString(PathKey, "PATH", "C:\\Missing\\msinfo32.exe");
    WinCheck::check(SysInfo::findTool() == "C:\\Missing\\msinfo32.exe",
                    "PATH value wins, even naming a missing file (the fallback is not tried)");

    std::string value;
    WinCheck::check(SysInfo::readString(HKEY_LOCAL_MACHINE, PathKey, "PATH", value) && value == "C:\\Missing\\msinfo32.exe",
                    "string value read without its terminating zero");
    setString(PathKey, "LONG", std::string(1100, 'x'));
    WinCheck::check(!SysInfo::readString(HKEY_LOCAL_MACHINE, PathKey, "LONG", value) && value.empty(),
                    "a value longer than 1024 characters is refused");
    HKEY handle = nullptr;
    const DWORD number = 7;
    RegCreateKeyA(HKEY_LOCAL_MACHINE, PathKey, &handle);
    RegSetValueExA(handle, "NUMBER", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&number), sizeof number);
    RegCloseKey(handle);
    WinCheck::check(!SysInfo::readString(HKEY_LOCAL_MACHINE, PathKey, "NUMBER", value), "a number value is refused");
    WinCheck::check(!SysInfo::readString(HKEY_LOCAL_MACHINE, "SOFTWARE\\No Such Key", "PATH", value),
                    "a missing key is refused");
    return WinCheck::finish();
}
