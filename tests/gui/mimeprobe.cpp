// Prints the MIME type that the desktop's database gives each file named on the command line.
#include <QCoreApplication>
#include <QMimeDatabase>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QMimeDatabase database;
    for (const QString &path : app.arguments().mid(1))
        out << database.mimeTypeForFile(path).name() << '\n';
    return 0;
}
