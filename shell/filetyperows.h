#pragma once

// The class registry rows that make .dsc and .nfo files openable in Brisquel, show their icons and
// offer them in the desktop's "New" menu. Plain C++, so that the Windows registry code builds
// without Qt.

#include <cstdint>
#include <string>
#include <vector>

namespace FileTypeRows {

enum class Type { String, Dword };

struct Row
{
    std::string key;   // below the classes root, "\" between key names
    std::string name;  // empty for the key's default value
    Type type;
    std::string text;  // String rows
    std::uint32_t number;  // Dword rows
};

// Where the program lives: its folder (no trailing separator), its file name without extension,
// the extension of program files on this platform (".exe" or empty) and the folder separator.
struct Program
{
    std::string folder;
    std::string name;
    std::string extension;
    char separator;
};

// The class names the rows give the two file types.
inline const char *const DescriptionClass = "SS2 Description Files";
inline const char *const NfoClass = "SS2 Information Files";

// The thirty rows, in the order they are written.
std::vector<Row> rows(const Program &program);

// The command that opens a file in Brisquel, the one for a .nfo (which hands a .nfo that is no
// game NFO on to the application it had before: "--open-nfo"), and the one that makes a new .nfo
// (Fennick).
std::string openCommand(const Program &program);
std::string nfoOpenCommand(const Program &program);
std::string newFileCommand(const Program &program);

} // namespace FileTypeRows
