#include "companion/fennickwindow.h"
#include "core/commandline.h"
#include "version.h"

#include <QApplication>

#include <csignal>

int main(int argc, char *argv[])
{
#ifdef SIGXFSZ
    // A write past the user's file size limit fails and is reported instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    const CommandLine::Given given = CommandLine::given(argc, argv);
    QApplication app(argc, argv);
    // No display name: the window manager would add it to every caption.
    QApplication::setApplicationName(QStringLiteral("Fennick"));
    QApplication::setApplicationVersion(QStringLiteral(BRISQUEL_VERSION_TEXT));
    return runFennick(CommandLine::argumentText(given.arguments), given.readable);
}
