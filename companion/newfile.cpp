#include "companion/newfile.h"

#include <QFile>
#include <QStringList>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace NewFile {

const QByteArray LevelTemplate =
    "LEVEL\r\nNAME=\"\"\r\nMAP_TYPE=\"SINGLE;\"\r\nTHUMBNAIL=\"\"\r\nETA=\"00:00:00\"\r\nLOCKED=\"NO\"\r\n";
const QByteArray EpisodeTemplate = "EPISODE\r\nNAME=\"\"\r\nTHUMBNAIL=\"\"\r\n";

QString argumentText(const QStringList &arguments)
{
#ifdef Q_OS_WIN
    Q_UNUSED(arguments);
    const QString line = QString::fromWCharArray(GetCommandLineW());
    qsizetype i = 0;
    if (line.startsWith(QLatin1Char('"'))) {
        i = line.indexOf(QLatin1Char('"'), 1);
        i = i < 0 ? line.size() : i + 1;
    } else {
        while (i < line.size() && line.at(i) != QLatin1Char(' ') && line.at(i) != QLatin1Char('\t'))
            ++i;
    }
    while (i < line.size() && (line.at(i) == QLatin1Char(' ') || line.at(i) == QLatin1Char('\t')))
        ++i;
    // A path with blanks typed or passed in double quotes: no Windows path holds a double quote,
    // so the quotes are not part of it.
    QString text = line.mid(i);
    if (text.size() >= 2 && text.startsWith(QLatin1Char('"')) && text.endsWith(QLatin1Char('"'))
        && text.count(QLatin1Char('"')) == 2)
        text = text.mid(1, text.size() - 2);
    return text;
#else
    return arguments.mid(1).join(QLatin1Char(' '));
#endif
}

QStringList givenArguments(int argc, char **argv, bool *readable)
{
    QStringList arguments;
    *readable = true;
    for (int i = 0; i < argc; ++i) {
        const QByteArray bytes(argv[i]);
        arguments.append(QFile::decodeName(bytes));
        if (QFile::encodeName(arguments.constLast()) != bytes)
            *readable = false;
    }
    return arguments;
}

namespace {
// Where the name in a start path begins: after its last separator ("\\" on Windows, where "/"
// separates too; "/" elsewhere), or at 0.
qsizetype nameStart(const QString &startPath)
{
#ifdef Q_OS_WIN
    return qMax(startPath.lastIndexOf(QLatin1Char('\\')), startPath.lastIndexOf(QLatin1Char('/'))) + 1;
#else
    return startPath.lastIndexOf(QLatin1Char('/')) + 1;
#endif
}
} // namespace

QString proposedName(const QString &startPath) { return startPath.mid(nameStart(startPath)); }

QString targetPath(const QString &startPath, const QString &typedName)
{
    return startPath.left(nameStart(startPath)) + typedName;
}

} // namespace NewFile
