#include "core/commandline.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#include <shellapi.h>
#endif

namespace CommandLine {

#ifdef Q_OS_WIN
QString rawArgumentText()
{
    const QString line = QString::fromWCharArray(GetCommandLineW());
    qsizetype i = 0;
    // The program name: up to the closing quote when quoted, otherwise up to the first blank.
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
}
#endif

QString argumentText(const QStringList &arguments)
{
#ifdef Q_OS_WIN
    Q_UNUSED(arguments);
    // A path with blanks typed or passed in double quotes: no Windows path holds a double quote,
    // so the quotes are not part of it.
    QString text = rawArgumentText();
    if (text.size() >= 2 && text.startsWith(QLatin1Char('"')) && text.endsWith(QLatin1Char('"'))
        && text.count(QLatin1Char('"')) == 2)
        text = text.mid(1, text.size() - 2);
    return text;
#else
    return arguments.mid(1).join(QLatin1Char(' '));
#endif
}

bool isOneFile(const QString &argumentText)
{
#ifdef Q_OS_WIN
    return argumentText.isEmpty() || argumentText == QLatin1String("%1") || QFileInfo(argumentText).isFile();
#else
    Q_UNUSED(argumentText);
    return false;
#endif
}

Given given(int argc, char **argv)
{
    Given result;
#ifdef Q_OS_WIN
    // The char arguments are in the ANSI code page, which cannot spell every name ("Ω" becomes
    // "O"): Windows' own wide-character command line holds them as typed.
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    int count = 0;
    if (wchar_t **words = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 0; i < count; ++i) {
            QString word = QString::fromWCharArray(words[i]);
            // Windows' own rule turns the \" that ends "C:\Mods\Good\" into a quote inside the
            // word, which then also takes the blanks after it up to the next word or a
            // redirection (C:\Mods\Good" ). No Windows path holds a quote or ends in a blank, so
            // both are left out, as other Windows tools do.
            qsizetype end = word.size();
            while (end > 0 && word.at(end - 1) == QLatin1Char(' '))
                --end;
            if (i > 0 && end > 0 && word.at(end - 1) == QLatin1Char('"'))
                word.truncate(end - 1);
            result.arguments.append(word);
            result.bytes.append(result.arguments.last().toUtf8());
        }
        LocalFree(words);
    }
#else
    for (int i = 0; i < argc; ++i) {
        const QByteArray bytes(argv[i]);
        const QString argument = QFile::decodeName(bytes);
        if (QFile::encodeName(argument) != bytes)
            result.readable = false;
        result.arguments.append(argument);
        result.bytes.append(bytes);
    }
#endif
    return result;
}

} // namespace CommandLine
