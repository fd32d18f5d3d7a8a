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

QChar separator()
{
#ifdef Q_OS_WIN
    return QLatin1Char('\\');
#else
    return QLatin1Char('/');
#endif
}

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
    return line.mid(i);
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

QString proposedName(const QString &startPath) { return startPath.split(separator()).constLast(); }

QString targetPath(const QString &startPath, const QString &typedName)
{
    const QStringList pieces = startPath.split(separator());
    QString path;
    for (qsizetype i = 0; i + 1 < pieces.size(); ++i)
        path += pieces.at(i) + separator();
    return path + typedName;
}

} // namespace NewFile
