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

namespace {
// Where the class .nfo had before is kept: beside the settings, per user.
const wchar_t *const RememberedKey = L"Software\\Brisquel\\Brisquel\\File Types";
const wchar_t *const RememberedValue = L"Nfo Before";
// Whether that class was the user's own row (1) or the machine's, seen through (0): only the
// user's own row is given back, so that uninstalling leaves the per-user rows as they were found.
const wchar_t *const RememberedOwnValue = L"Nfo Before Was Own";

std::wstring readText(HKEY root, const std::wstring &key, const wchar_t *name)
{
    wchar_t buffer[1024];
    DWORD size = sizeof buffer;
    if (RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
        return {};
    return buffer;
}

std::string keyPath(const std::string &classesPath, const std::string &key)
{
    return classesPath.empty() ? key : classesPath + "\\" + key;
}

// The class .nfo files open with now, as the user sees it (their own or the machine's).
std::wstring nfoClassNow(HKEY root, const std::string &classesPath)
{
    std::wstring now = readText(root, Utf8::toWide(keyPath(classesPath, ".nfo")), nullptr);
    if (now.empty())
        now = readText(HKEY_CLASSES_ROOT, L".nfo", nullptr);
    return now;
}

void rememberNfoClass(HKEY root, const std::string &classesPath)
{
    const std::wstring now = nfoClassNow(root, classesPath);
    // A registration over Brisquel's own rows keeps the class remembered the first time.
    if (now.empty() || now == Utf8::toWide(FileTypeRows::NfoClass))
        return;
    RegSetKeyValueW(HKEY_CURRENT_USER, RememberedKey, RememberedValue, REG_SZ, now.c_str(),
                    static_cast<DWORD>((now.size() + 1) * sizeof(wchar_t)));
    const DWORD own = readText(root, Utf8::toWide(keyPath(classesPath, ".nfo")), nullptr).empty() ? 0 : 1;
    RegSetKeyValueW(HKEY_CURRENT_USER, RememberedKey, RememberedOwnValue, REG_DWORD, &own, sizeof own);
}

// Whether the class remembered was the user's own row. Remembered by a version that did not say:
// when the machine gives .nfo that class anyway, the user needs no row of their own for it.
bool rememberedWasOwn(const std::wstring &before)
{
    DWORD own = 0;
    DWORD size = sizeof own;
    if (RegGetValueW(HKEY_CURRENT_USER, RememberedKey, RememberedOwnValue, RRF_RT_REG_DWORD, nullptr, &own, &size)
        == ERROR_SUCCESS)
        return own != 0;
    return readText(HKEY_CLASSES_ROOT, L".nfo", nullptr) != before;
}
} // namespace

std::string nfoClassBefore()
{
    const std::wstring before = readText(HKEY_CURRENT_USER, RememberedKey, RememberedValue);
    HKEY handle = nullptr;
    if (before.empty() || before == Utf8::toWide(FileTypeRows::NfoClass)
        || RegOpenKeyExW(HKEY_CLASSES_ROOT, before.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return {};
    RegCloseKey(handle);
    return Utf8::fromWide(before);
}

bool unregisterFileTypes(HKEY root, const std::string &classesPath, std::string *failure)
{
    const std::wstring before = Utf8::toWide(nfoClassBefore());
    bool removed = true;
    for (const char *key : {".dsc", ".nfo", FileTypeRows::DescriptionClass, FileTypeRows::NfoClass}) {
        const LONG result = RegDeleteTreeW(root, Utf8::toWide(keyPath(classesPath, key)).c_str());
        if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) {
            if (removed && failure)
                *failure = "cannot remove the key '" + keyPath(classesPath, key) + "'";
            removed = false;
        }
    }
    // .nfo goes back to the class it had before, if the user had one of their own; the machine's
    // shows through again by itself.
    if (!before.empty() && rememberedWasOwn(before)
        && !saveString(root, keyPath(classesPath, ".nfo"), "", Utf8::fromWide(before))) {
        if (removed && failure)
            *failure = "cannot give .nfo back to '" + Utf8::fromWide(before) + "'";
        removed = false;
    }
    RegDeleteKeyValueW(HKEY_CURRENT_USER, RememberedKey, RememberedValue);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, RememberedKey, RememberedOwnValue);
    RegDeleteKeyW(HKEY_CURRENT_USER, RememberedKey);
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    return removed;
}

bool registerFileTypes(HKEY root, const std::string &classesPath, std::string *failure)
{
    rememberNfoClass(root, classesPath);
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
