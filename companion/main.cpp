#include "companion/fennickwindow.h"
#include "companion/newfile.h"
#include "version.h"

#include <QApplication>

#include <csignal>

int main(int argc, char *argv[])
{
#ifdef SIGXFSZ
    // A write past the user's file size limit fails and is reported instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    bool readable = true;
    const QStringList arguments = NewFile::givenArguments(argc, argv, &readable);
    QApplication app(argc, argv);
    // No display name: the window manager would add it to every caption.
    QApplication::setApplicationName(QStringLiteral("Fennick"));
    QApplication::setApplicationVersion(QStringLiteral(BRISQUEL_VERSION_TEXT));
    return runFennick(NewFile::argumentText(arguments), readable);
}
