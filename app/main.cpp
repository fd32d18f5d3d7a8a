#include "editor/mainwindow.h"
#include "core/checkcommand.h"
#include "core/commandline.h"
#include "core/settings.h"
#include "core/userhome.h"
#include "shell/desktopintegration.h"
#include "shell/nfohandoff.h"
#include "version.h"

#include <QApplication>
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
    // Started by the desktop for a .nfo: a file that is no game NFO goes where it opened before,
    // without a window of ours.
    const bool fromDesktop = given.arguments.value(1) == DesktopIntegration::NfoHandlerOption;
    if (fromDesktop) {
        given.arguments.removeAt(1);
        if (given.readable && NfoHandOff::passOn(CommandLine::argumentText(given.arguments)))
            return 0;
    }
    // The mod check, the help and the version run without a window (and without a display).
    if (!fromDesktop && CheckCommand::isCommand(given.arguments)) {
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
        QTextStream out(stdout);
        QTextStream err(stderr);
        return CheckCommand::run(given.arguments, QStringLiteral(BRISQUEL_VERSION_TEXT), Settings::gameFolderIfSet(),
                                 out, err);
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brisquel"));
    QApplication::setOrganizationName(QStringLiteral("Brisquel"));
    QApplication::setApplicationVersion(QStringLiteral(BRISQUEL_VERSION_TEXT));

    MainWindow window(QApplication::applicationDirPath());
    window.load(CommandLine::argumentText(given.arguments), given.readable);
    window.show();
    return app.exec();
}
