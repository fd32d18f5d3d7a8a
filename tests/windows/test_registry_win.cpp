// File type registration in the Windows class registry: every row's key, name, type and bytes,
// and registering twice leaves the same values. Run from a folder whose name the ANSI code page
// cannot spell, the commands stored must still name it exactly.

#include "core/utf8_win.h"
#include "shell/filetyperows.h"
#include "shell/classregistry_win.h"
#include "tests/windows/wincheck.h"

#include <windows.h>

#include <cstring>
#include <map>
#include <vector>

namespace {

const char *const Classes = "Software\\Classes";

struct Stored
{
    bool found = false;
    DWORD type = 0;
    std::vector<unsigned char> bytes;
};

Stored read(const std::string &key, const std::string &name)
{
    Stored stored;
    HKEY handle = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Utf8::toWide(std::string(Classes) + "\\" + key).c_str(), 0, KEY_READ, &handle)
        != ERROR_SUCCESS)
        return stored;
    DWORD size = 0;
    const std::wstring valueName = Utf8::toWide(name);
    const wchar_t *wideName = name.empty() ? nullptr : valueName.c_str();
    if (RegQueryValueExW(handle, wideName, nullptr, &stored.type, nullptr, &size) == ERROR_SUCCESS) {
        stored.bytes.resize(size);
        stored.found = RegQueryValueExW(handle, wideName, nullptr, &stored.type, stored.bytes.data(), &size) == ERROR_SUCCESS;
    }
    RegCloseKey(handle);
    return stored;
}

DWORD valueCount(const std::string &key)
{
    HKEY handle = nullptr;
    DWORD values = 0;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(Classes) + "\\" + key).c_str(), 0, KEY_READ, &handle) == ERROR_SUCCESS) {
        RegQueryInfoKeyA(handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr, nullptr);
        RegCloseKey(handle);
    }
    return values;
}

void checkRows(const char *round)
{
    std::string folder = ClassRegistry::programFolder();
    if (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    const auto rows = FileTypeRows::rows({folder, ClassRegistry::programName(), ".exe", '\\'});
    std::map<std::string, DWORD> perKey;
    for (const auto &row : rows) {
        ++perKey[row.key];
        const Stored stored = read(row.key, row.name);
        const std::string what = std::string(round) + " " + row.key + " [" + (row.name.empty() ? "(default)" : row.name) + "]";
        if (row.type == FileTypeRows::Type::String) {
            const std::wstring wide = Utf8::toWide(row.text);
            const auto *first = reinterpret_cast<const unsigned char *>(wide.c_str());
            // UTF-16, with its terminating zero.
            std::vector<unsigned char> expected(first, first + (wide.size() + 1) * sizeof(wchar_t));
            WinCheck::check(stored.found && stored.type == REG_SZ && stored.bytes == expected, what + " = \"" + row.text + "\"");
        } else {
            const unsigned char expected[4] = {static_cast<unsigned char>(row.number), 0, 0, 0};
            WinCheck::check(stored.found && stored.type == REG_DWORD && stored.bytes.size() == 4
                                && std::memcmp(stored.bytes.data(), expected, 4) == 0,
                            what + " = dword " + std::to_string(row.number));
        }
    }
    for (const auto &[key, count] : perKey)
        WinCheck::check(valueCount(key) == count, std::string(round) + " " + key + " holds " + std::to_string(count) + " values");
}

} // namespace

int main()
{
    std::string failure;
    // The user's .nfo files opened with a text editor before: remembered, and given back.
    WinCheck::check(ClassRegistry::saveString(HKEY_CURRENT_USER, std::string(Classes) + "\\.nfo", "", "txtfile"),
                    "an earlier .nfo handler");
    WinCheck::check(ClassRegistry::registerFileTypes(HKEY_CURRENT_USER, Classes, &failure), "first registration: " + failure);
    checkRows("first");
    WinCheck::check(ClassRegistry::registerFileTypes(HKEY_CURRENT_USER, Classes, &failure), "second registration: " + failure);
    checkRows("again");

    // The stored command names this very program, as the file system spells it.
    wchar_t module[MAX_PATH * 4] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH * 4);
    const Stored command = read(".nfo\\Shell\\Open\\Command", "");
    const std::wstring expected = L"\"" + std::wstring(module) + L"\" --open-nfo \"%1\"";
    const std::wstring stored(reinterpret_cast<const wchar_t *>(command.bytes.data()),
                              command.bytes.empty() ? 0 : command.bytes.size() / sizeof(wchar_t) - 1);
    WinCheck::check(stored == expected, "the open command names " + Utf8::fromWide(expected));

    const std::string open = FileTypeRows::openCommand({"C:\\Tools", "Brisquel", ".exe", '\\'});
    WinCheck::check(open == "\"C:\\Tools\\Brisquel.exe\" %1", "open command " + open);

    // Registered twice, the earlier handler is still the one remembered; unregistering gives it
    // back and leaves none of the rows.
    WinCheck::check(ClassRegistry::nfoClassBefore() == "txtfile", "remembered: " + ClassRegistry::nfoClassBefore());
    WinCheck::check(ClassRegistry::unregisterFileTypes(HKEY_CURRENT_USER, Classes, &failure), "unregistered: " + failure);
    const Stored back = read(".nfo", "");
    const std::wstring txtfile = L"txtfile";
    WinCheck::check(back.found && std::wstring(reinterpret_cast<const wchar_t *>(back.bytes.data())) == txtfile,
                    ".nfo is back with txtfile");
    WinCheck::check(!read(".nfo\\Shell\\Open\\Command", "").found && !read(FileTypeRows::NfoClass, "").found
                        && !read(".dsc", "").found && !read(FileTypeRows::DescriptionClass, "").found,
                    "no row is left");
    WinCheck::check(ClassRegistry::nfoClassBefore().empty(), "nothing remembered any more");

    // .nfo the machine's (no row of the user's own): still handed on to, and uninstalling leaves
    // no per-user row it did not find.
    const std::string nfoKey = std::string(Classes) + "\\.nfo";
    RegDeleteTreeA(HKEY_CURRENT_USER, nfoKey.c_str());
    WinCheck::check(ClassRegistry::saveString(HKEY_LOCAL_MACHINE, nfoKey, "", "txtfile"), "the machine's .nfo handler");
    WinCheck::check(ClassRegistry::registerFileTypes(HKEY_CURRENT_USER, Classes, &failure), "registered over the machine's: " + failure);
    WinCheck::check(ClassRegistry::nfoClassBefore() == "txtfile", "the machine's remembered: " + ClassRegistry::nfoClassBefore());
    WinCheck::check(ClassRegistry::unregisterFileTypes(HKEY_CURRENT_USER, Classes, &failure), "unregistered again: " + failure);
    WinCheck::check(!read(".nfo", "").found, "no per-user .nfo row left where there was none");
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, nfoKey.c_str());
    return WinCheck::finish();
}
