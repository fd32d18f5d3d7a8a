// Writes the manual page brisquel(1) at build time, from the command line's own option table.
//   brisquel-manpage OUTPUT
#include "core/checkcommand.h"

#include <QFile>
#include <QTextStream>

int main(int argc, char *argv[])
{
    if (argc != 2) {
        QTextStream(stderr) << "usage: brisquel-manpage OUTPUT\n";
        return 2;
    }
    QFile out(QFile::decodeName(argv[1]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(CheckCommand::manPage(QStringLiteral(BRISQUEL_VERSION)).toUtf8()) < 0
        || !out.flush()) {
        QTextStream(stderr) << "brisquel-manpage: cannot write " << out.fileName() << ": " << out.errorString() << "\n";
        return 1;
    }
    return 0;
}
