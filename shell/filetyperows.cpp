#include "shell/filetyperows.h"

namespace FileTypeRows {

namespace {
Row text(const std::string &key, const std::string &name, const std::string &value)
{
    return Row{key, name, Type::String, value, 0};
}
Row number(const std::string &key, const std::string &name, const std::string &digits)
{
    return Row{key, name, Type::Dword, std::string(), static_cast<std::uint32_t>(std::stoul(digits))};
}
std::string inFolder(const Program &program, const std::string &file)
{
    return program.folder + program.separator + file;
}
} // namespace

std::string openCommand(const Program &program)
{
    return "\"" + inFolder(program, program.name + program.extension) + "\" %1";
}

std::string nfoOpenCommand(const Program &program)
{
    return "\"" + inFolder(program, program.name + program.extension) + "\" --open-nfo \"%1\"";
}

std::string newFileCommand(const Program &program)
{
    return "\"" + inFolder(program, std::string("Fennick") + program.separator + "Fennick" + program.extension)
           + "\" %1";
}

std::vector<Row> rows(const Program &program)
{
    const std::string open = openCommand(program);
    const std::string nfoOpen = nfoOpenCommand(program);
    const std::string dscIcon = inFolder(program, "filedsc.ico");
    const std::string nfoIcon = inFolder(program, "filenfo.ico");
    const std::string dsc = DescriptionClass;
    const std::string nfo = NfoClass;
    return {
        text(".dsc", "", dsc),
        text(".dsc", "Content Type", "description for SS2"),
        text(".dsc\\DefaultIcon", "", dscIcon),
        text(".dsc\\Shell", "", ""),
        text(".dsc\\Shell\\Open", "", ""),
        text(".dsc\\Shell\\Open\\Command", "", open),
        text(".dsc\\ShellNew", "", ""),
        text(".dsc\\ShellNew", "NullFile", ""),
        text(".nfo", "", nfo),
        text(".nfo", "Content Type", "information for SS2"),
        text(".nfo\\DefaultIcon", "", nfoIcon),
        text(".nfo\\Shell", "", ""),
        text(".nfo\\Shell\\Open", "", ""),
        text(".nfo\\Shell\\Open\\Command", "", nfoOpen),
        text(".nfo\\ShellNew", "", ""),
        text(".nfo\\ShellNew", "Command", newFileCommand(program)),
        text(dsc, "", dsc),
        number(dsc, "EditFlags", "0000"),
        number(dsc, "BrowserFlags", "0008"),
        text(dsc + "\\DefaultIcon", "", dscIcon + ",0"),
        text(dsc + "\\shell", "", "open"),
        text(dsc + "\\shell\\open", "", ""),
        text(dsc + "\\shell\\open\\command", "", open),
        text(nfo, "", nfo),
        number(nfo, "EditFlags", "0000"),
        number(nfo, "BrowserFlags", "0008"),
        text(nfo + "\\DefaultIcon", "", nfoIcon + ",0"),
        text(nfo + "\\shell", "", "open"),
        text(nfo + "\\shell\\open", "", ""),
        text(nfo + "\\shell\\open\\command", "", nfoOpen),
    };
}

} // namespace FileTypeRows
