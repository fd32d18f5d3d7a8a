#ifdef _WIN32
#include "ui/sysinfo_win.h"

#include "core/utf8_win.h"

#include <shellapi.h>

namespace SysInfo {

bool readString(HKEY root, const std::string &keyPath, const std::string &valueName, std::string &value)
{
    value.clear();
    HKEY key = nullptr;
    // Read access is all a lookup needs; asking for more fails for ordinary users.
    if (RegOpenKeyExW(root, Utf8::toWide(keyPath).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    wchar_t buffer[1024];
    DWORD size = sizeof buffer;
    DWORD type = 0;
    const LONG result = RegQueryValueExW(key, Utf8::toWide(valueName).c_str(), nullptr, &type,
                                         reinterpret_cast<BYTE *>(buffer), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_SZ)
        return false;
    std::size_t length = size / sizeof(wchar_t);
    if (length > 0 && buffer[length - 1] == L'\0')
        --length;
    value = Utf8::fromWide(std::wstring(buffer, length));
    return true;
}

std::string findTool()
{
    std::string path;
    if (readString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", path))
        return path;
    std::string folder;
    if (!readString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", folder))
        return {};
    const std::string tool = folder + "\\MSINFO32.EXE";
    const DWORD attributes = GetFileAttributesW(Utf8::toWide(tool).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return {};
    return tool;
}

bool startTool()
{
    const std::string tool = findTool();
    if (tool.empty())
        return false;
    const HINSTANCE result = ShellExecuteW(nullptr, L"open", Utf8::toWide(tool).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

} // namespace SysInfo
#endif
