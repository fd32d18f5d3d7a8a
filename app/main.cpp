#include "editor/form1.h"
#include "platform/commandline.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brisquel"));
    QApplication::setOrganizationName(QStringLiteral("Brisquel"));
    QApplication::setApplicationVersion(QStringLiteral(BRISQUEL_VERSION_TEXT));

    Form1 window(QApplication::applicationDirPath());
    window.load(CommandLine::argumentText(QApplication::arguments()));
    window.show();
    return app.exec();
}
