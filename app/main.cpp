#include "editor/mainwindow.h"
#include "core/checkcommand.h"
#include "core/commandline.h"
#include "core/settings.h"
#include "core/userhome.h"
#include "shell/desktopintegration.h"
#include "shell/nfohandoff.h"
#include "shell/registerfiletypes.h"
#include "version.h"

#include <QApplication>
#include <QFile>
#include <QTextStream>

#include <csignal>
#include <cstdio>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

int main(int argc, char *argv[])
{
#ifdef SIGXFSZ
    // A write past the user's file size limit then fails and is reported like a full disk, instead
    // of ending the editor with the unsaved work.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
#ifdef SIGPIPE
    // Started by a launcher whose output has gone, a warning written there must not end the editor.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    UserHome::ensure();
    CommandLine::Given given = CommandLine::given(argc, argv);
    QString file = CommandLine::argumentText(given.arguments);
    // Started by the desktop for a .nfo: a file that is no game NFO goes where it opened before,
    // without a window of ours. The desktop gives the one path after the option.
    if (given.arguments.value(1) == CommandLine::NfoHandlerOption) {
        file = given.arguments.mid(2).join(QLatin1Char(' '));
        if (given.readable && NfoHandOff::passOn(file))
            return 0;
    }
#ifdef Q_OS_WIN
    // The installer registers the file types for the installed program, and the uninstaller has
    // them taken away again: without a window.
    if (given.arguments.size() == 2 && given.arguments.at(1) == QLatin1String("--register")) {
        QCoreApplication app(argc, argv);
        return FileTypes::registerFileTypes(QCoreApplication::applicationDirPath(),
                                            QCoreApplication::applicationFilePath(), nullptr)
                   ? 0
                   : 1;
    }
    if (given.arguments.size() == 2 && given.arguments.at(1) == QLatin1String("--uninstall")) {
        // What the program wrote itself goes with it: the file types, and its log beside it.
        QCoreApplication app(argc, argv);
        QFile::remove(QCoreApplication::applicationDirPath() + QStringLiteral("/AppLog.log"));
        return FileTypes::unregisterFileTypes(nullptr) ? 0 : 1;
    }
#endif
    // The mod check, the help and the version run without a window (and without a display).
    if (!CommandLine::isOneFile(file) && CheckCommand::isCommand(given.arguments)) {
#ifdef Q_OS_WIN
        // A windowed program has no console of its own: write to the one it was started from,
        // unless its output already goes to a file or a pipe.
        if (!GetStdHandle(STD_OUTPUT_HANDLE) && AttachConsole(ATTACH_PARENT_PROCESS)) {
            std::freopen("CONOUT$", "w", stdout);
            std::freopen("CONOUT$", "w", stderr);
        }
#endif
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("Brisquel"));
        QCoreApplication::setOrganizationName(QStringLiteral("Brisquel"));
        return CheckCommand::runOnStandardStreams(given.arguments, QStringLiteral(BRISQUEL_VERSION_TEXT),
                                                  Settings::gameFolderIfSet(), given.bytes);
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brisquel"));
    QApplication::setOrganizationName(QStringLiteral("Brisquel"));
    QApplication::setApplicationVersion(QStringLiteral(BRISQUEL_VERSION_TEXT));

    MainWindow window(QApplication::applicationDirPath());
    window.runStartUp(file, given.readable);
    window.show();
    return app.exec();
}
