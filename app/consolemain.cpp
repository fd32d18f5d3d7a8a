// Brisquel.com, the console entry beside Brisquel.exe on Windows. A prompt runs a .com before an
// .exe of the same name, and waits for a console program: so "Brisquel --check Mods\Karnak" typed
// at a prompt prints there, waits and sets %ERRORLEVEL%. Any other command line goes on to
// Brisquel.exe, the window, and the prompt comes back at once.
#include "core/checkcommand.h"
#include "core/commandline.h"
#include "core/settings.h"
#include "version.h"

#include <QCoreApplication>

#include <windows.h>

namespace {

int startEditor()
{
    wchar_t own[32768];
    const DWORD length = GetModuleFileNameW(nullptr, own, DWORD(std::size(own)));
    if (length == 0 || length >= std::size(own))
        return 2;
    QString editor = QString::fromWCharArray(own, int(length));
    editor = editor.left(editor.lastIndexOf(QLatin1Char('.'))) + QStringLiteral(".exe");
    QString commandLine = QLatin1Char('"') + editor + QLatin1Char('"');
    const QString arguments = CommandLine::rawArgumentText();
    if (!arguments.isEmpty())
        commandLine += QLatin1Char(' ') + arguments;
    std::wstring writable = commandLine.toStdWString();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(reinterpret_cast<const wchar_t *>(editor.utf16()), writable.data(), nullptr, nullptr, FALSE,
                        0, nullptr, nullptr, &startup, &process)) {
        const QString failure = QStringLiteral("Brisquel: cannot start '%1' (error %2)\n").arg(editor).arg(GetLastError());
        DWORD written = 0;
        WriteConsoleW(GetStdHandle(STD_ERROR_HANDLE), failure.utf16(), DWORD(failure.size()), &written, nullptr);
        return 2;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    const CommandLine::Given given = CommandLine::given(argc, argv);
    if (CommandLine::isOneFile(CommandLine::argumentText(given.arguments)) || !CheckCommand::isCommand(given.arguments))
        return startEditor();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Brisquel"));
    QCoreApplication::setOrganizationName(QStringLiteral("Brisquel"));
    return CheckCommand::runOnStandardStreams(given.arguments, QStringLiteral(BRISQUEL_VERSION_TEXT),
                                              Settings::gameFolderIfSet());
}
