#pragma once

// UTF-8 text for the Win32 wide-character calls, and back. The plain Win32 modules keep their text
// in UTF-8 and call only the wide (W) functions: the ANSI ones lose every character that the
// system's code page cannot hold ("C:\Tools Ω" becomes "C:\Tools O").

#ifdef _WIN32
#include <windows.h>
#undef MessageBox

#include <string>

namespace Utf8 {

inline std::wstring toWide(const std::string &utf8)
{
    if (utf8.empty())
        return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
    return wide;
}

inline std::string fromWide(const std::wstring &wide)
{
    if (wide.empty())
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), size, nullptr, nullptr);
    return utf8;
}

} // namespace Utf8
#endif
