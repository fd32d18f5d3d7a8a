#include "companion/fennickwindow.h"
#include "companion/newfile.h"

#include <QApplication>

#include <csignal>

int main(int argc, char *argv[])
{
#ifdef SIGXFSZ
    // A write past the user's file size limit fails and is reported instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Fennick"));
    QApplication::setApplicationDisplayName(QStringLiteral("New file command"));
    QApplication::setApplicationVersion(QStringLiteral("1.0.0.0"));
    return runFennick(NewFile::argumentText(QApplication::arguments()));
}
