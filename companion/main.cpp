#include "companion/fennickwindow.h"
#include "companion/newfile.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Fennick"));
    QApplication::setApplicationDisplayName(QStringLiteral("New file command"));
    QApplication::setApplicationVersion(QStringLiteral("1.0.0.0"));
    return runFennick(NewFile::argumentText(QApplication::arguments()));
}
