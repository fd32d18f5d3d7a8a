// File type registration in the Windows class registry: every row's key, name, type and bytes,
// and registering twice leaves the same values.

#include "shell/filetyperows.h"
#include "shell/modfiletype_win.h"
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
    if (RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(Classes) + "\\" + key).c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return stored;
    DWORD size = 0;
    if (RegQueryValueExA(handle, name.empty() ? nullptr : name.c_str(), nullptr, &stored.type, nullptr, &size) == ERROR_SUCCESS) {
        stored.bytes.resize(size);
        stored.found = RegQueryValueExA(handle, name.empty() ? nullptr : name.c_str(), nullptr, &stored.type,
                                        stored.bytes.data(), &size) == ERROR_SUCCESS;
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
    std::string folder = modFileType::programFolder();
    if (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    const auto rows = FileTypeRows::rows({folder, modFileType::programName(), ".exe", '\\'});
    std::map<std::string, DWORD> perKey;
    for (const auto &row : rows) {
        ++perKey[row.key];
        const Stored stored = read(row.key, row.name);
        const std::string what = std::string(round) + " " + row.key + " [" + (row.name.empty() ? "(default)" : row.name) + "]";
        if (row.type == FileTypeRows::Type::String) {
            std::vector<unsigned char> expected(row.text.begin(), row.text.end());
            expected.push_back(0);  // the terminating zero is stored
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
    WinCheck::check(modFileType::RegisterFileTypes(HKEY_CURRENT_USER, Classes, &failure), "first registration: " + failure);
    checkRows("first");
    WinCheck::check(modFileType::RegisterFileTypes(HKEY_CURRENT_USER, Classes, &failure), "second registration: " + failure);
    checkRows("again");

    const std::string open = FileTypeRows::openCommand({"C:\\Tools", "Brisquel", ".exe", '\\'});
    WinCheck::check(open == "\"C:\\Tools\\Brisquel.exe\" %1", "open command " + open);
    return WinCheck::finish();
}
