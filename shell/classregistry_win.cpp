#ifdef _WIN32
#include "shell/classregistry_win.h"

#include "core/utf8_win.h"
#include "shell/filetyperows.h"

#include <shlobj.h>

namespace ClassRegistry {

namespace {
bool setValue(HKEY root, const std::string &key, const std::string &name, DWORD type, const BYTE *data, DWORD size)
{
    HKEY handle = nullptr;
    if (RegCreateKeyExW(root, Utf8::toWide(key).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr) != ERROR_SUCCESS)
        return false;
    const std::wstring valueName = Utf8::toWide(name);
    const LONG result = RegSetValueExW(handle, name.empty() ? nullptr : valueName.c_str(), 0, type, data, size);
    RegCloseKey(handle);
    return result == ERROR_SUCCESS;
}

std::string modulePath()
{
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size()) {
            buffer.resize(length);
            return Utf8::fromWide(buffer);
        }
        buffer.resize(buffer.size() * 2);  // a long path: try again with more room
    }
}
} // namespace

bool saveString(HKEY root, const std::string &key, const std::string &name, const std::string &text)
{
    // Stored as UTF-16; the terminating zero is part of the data size.
    const std::wstring wide = Utf8::toWide(text);
    return setValue(root, key, name, REG_SZ, reinterpret_cast<const BYTE *>(wide.c_str()),
                    static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
}

bool saveDword(HKEY root, const std::string &key, const std::string &name, DWORD value)
{
    return setValue(root, key, name, REG_DWORD, reinterpret_cast<const BYTE *>(&value), sizeof value);
}

std::string programFolder()
{
    const std::string path = modulePath();
    const std::size_t slash = path.find_last_of('\\');
    std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash);
    if (folder.size() == 2 && folder[1] == ':')
        folder += '\\';  // a drive's root keeps its backslash
    return folder;
}

std::string programName()
{
    const std::string path = modulePath();
    const std::size_t slash = path.find_last_of('\\');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

bool registerFileTypes(HKEY root, const std::string &classesPath, std::string *failure)
{
    std::string folder = programFolder();
    if (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    const FileTypeRows::Program program{folder, programName(), ".exe", '\\'};
    bool allWritten = true;
    for (const FileTypeRows::Row &row : FileTypeRows::rows(program)) {
        const std::string key = classesPath.empty() ? row.key : classesPath + "\\" + row.key;
        const bool written = row.type == FileTypeRows::Type::String ? saveString(root, key, row.name, row.text)
                                                                    : saveDword(root, key, row.name, row.number);
        if (!written && allWritten && failure)
            *failure = "cannot write the value '" + (row.name.empty() ? std::string("(default)") : row.name)
                       + "' of the key '" + key + "'";
        allWritten = allWritten && written;
    }
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    return allWritten;
}

} // namespace ClassRegistry
#endif
