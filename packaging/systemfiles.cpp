// Writes the desktop's files for a system-wide install (desktop entries, MIME package, icons)
// into a staging folder at build time, from the same code as a user's own registration.
//   brisquel-systemfiles SHARE_FOLDER EXECUTABLE PROGRAM_FOLDER_WITH_ICONS
#include "shell/desktopintegration.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    QTextStream err(stderr);
    if (arguments.size() != 4) {
        err << "usage: brisquel-systemfiles SHARE_FOLDER EXECUTABLE ICON_FOLDER\n";
        return 2;
    }
    QString failure;
    if (!DesktopIntegration::writeSystemFiles(arguments.at(1), arguments.at(2), arguments.at(3), &failure)) {
        err << "brisquel-systemfiles: " << failure << "\n";
        return 1;
    }
    return 0;
}
