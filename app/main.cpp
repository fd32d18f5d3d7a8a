#include "editor/form1.h"
#include "platform/commandline.h"

#include <QApplication>

#include <csignal>

int main(int argc, char *argv[])
{
#ifdef SIGXFSZ
    // A write past the user's file size limit then fails and is reported like a full disk, instead
    // of ending the editor with the unsaved work.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brisquel"));
    QApplication::setOrganizationName(QStringLiteral("Brisquel"));
    QApplication::setApplicationVersion(QStringLiteral(BRISQUEL_VERSION_TEXT));

    Form1 window(QApplication::applicationDirPath());
    window.load(CommandLine::argumentText(QApplication::arguments()));
    window.show();
    return app.exec();
}
