#ifdef _WIN32
#include "shell/modfiletype_win.h"

#include "shell/filetyperows.h"

#include <shlobj.h>

namespace modFileType {

namespace {
bool setValue(HKEY root, const std::string &key, const std::string &name, DWORD type, const BYTE *data, DWORD size)
{
    HKEY handle = nullptr;
    if (RegCreateKeyA(root, key.c_str(), &handle) != ERROR_SUCCESS)
        return false;
    const LONG result = RegSetValueExA(handle, name.empty() ? nullptr : name.c_str(), 0, type, data, size);
    RegCloseKey(handle);
    return result == ERROR_SUCCESS;
}

std::string modulePath()
{
    char buffer[MAX_PATH * 4] = {};
    const DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    return std::string(buffer, length);
}
} // namespace

bool SaveString(HKEY root, const std::string &key, const std::string &name, const std::string &text)
{
    // The terminating zero is part of the data size.
    return setValue(root, key, name, REG_SZ, reinterpret_cast<const BYTE *>(text.c_str()),
                    static_cast<DWORD>(text.size() + 1));
}

bool SaveDword(HKEY root, const std::string &key, const std::string &name, DWORD value)
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

bool RegisterFileTypes(HKEY root, const std::string &classesPath, std::string *failure)
{
    std::string folder = programFolder();
    if (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    const FileTypeRows::Program program{folder, programName(), ".exe", '\\'};
    bool allWritten = true;
    for (const FileTypeRows::Row &row : FileTypeRows::rows(program)) {
        const std::string key = classesPath.empty() ? row.key : classesPath + "\\" + row.key;
        const bool written = row.type == FileTypeRows::Type::String ? SaveString(root, key, row.name, row.text)
                                                                    : SaveDword(root, key, row.name, row.number);
        if (!written && allWritten && failure)
            *failure = "cannot write the value '" + (row.name.empty() ? std::string("(default)") : row.name)
                       + "' of the key '" + key + "'";
        allWritten = allWritten && written;
    }
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    return allWritten;
}

} // namespace modFileType
#endif
