#include "core/checkcommand.h"

#include "core/commandline.h"
#include "core/modcheck.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QTextStream>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace CheckCommand {

bool isCommand(const QStringList &arguments)
{
    if (arguments.value(1) == CommandLine::NfoHandlerOption)
        return false;  // the desktop's .nfo handler: a file to open or hand on
    // As with every command-line tool, a word that starts with "-" is an option, never part of a
    // file name: a file named like one is given as "./--check". The desktop and Explorer give one
    // full path, which never starts with "-".
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments.at(i).size() > 1 && arguments.at(i).startsWith(QLatin1Char('-')))
            return true;
    }
    return false;
}

int run(const QStringList &arguments, const QString &version, const QString &gameFolder, QTextStream &out,
        QTextStream &err, const QList<QByteArray> &names)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Brisquel edits the NFO and description files of Serious Sam 2 mods.\n"
                       "With --check it checks them instead, without a window, and prints what the game would "
                       "trip over: one line a finding, as path:line: error|warning: text."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);  // "-reverse" is one option
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption checkOption(QStringLiteral("check"),
                                         QStringLiteral("Check the .nfo and .dsc files under each PATH (a file, or a "
                                                        "folder searched with its subfolders)."));
    const QCommandLineOption strictOption(QStringLiteral("strict"), QStringLiteral("Count warnings as errors."));
    const QCommandLineOption formatOption(QStringLiteral("format"),
                                          QStringLiteral("Print the findings as text (the default) or json."),
                                          QStringLiteral("text|json"), QStringLiteral("text"));
    parser.addOptions({checkOption, strictOption, formatOption});
    parser.addPositionalArgument(QStringLiteral("PATH"), QStringLiteral("A mod folder or file to check."),
                                 QStringLiteral("PATH..."));

    // What the user typed is echoed escaped, as findings are: no argument can forge a line or
    // reach the terminal as a command.
    const auto usageError = [&](const QString &message) {
        err << "Brisquel: " << ModCheck::escapedText(message) << "\n" << "Try 'Brisquel --help'.\n";
        err.flush();
        return 2;
    };
    // Output that did not reach its reader (a full disk, a closed output) is no success.
    const auto written = [&](int status) {
        out.flush();
        if (out.status() == QTextStream::Ok)
            return status;
        err << "Brisquel: cannot write the report: "
            << (out.device() ? out.device()->errorString() : QStringLiteral("the output failed")) << "\n";
        err.flush();
        return 2;
    };
    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    if (parser.isSet(help)) {
        out << parser.helpText();
        return written(0);
    }
    if (parser.isSet(versionOption)) {
        out << "Brisquel " << version << "\n";
        return written(0);
    }
    const QString format = parser.value(formatOption);
    if (format != QLatin1String("text") && format != QLatin1String("json"))
        return usageError(QStringLiteral("unknown format '%1': text or json").arg(format));
    const QStringList paths = parser.positionalArguments();
    if (!parser.isSet(checkOption)) {
        // The check's options, or any other, without --check: a usage error, not a file to open.
        return usageError(QStringLiteral("options without --check. To check: Brisquel --check [--strict] "
                                         "[--format text|json] PATH...; to open a file whose name starts with "
                                         "'-', give it as ./NAME"));
    }
    if (paths.isEmpty())
        return usageError(QStringLiteral("--check needs at least one PATH"));
    // Each path by the bytes it was given as, where known: a name that is not valid text is read
    // as the folder walk reads it.
    QList<ModFiles::Entry> given;
    qsizetype word = 1;
    for (const QString &path : paths) {
        while (word < arguments.size() && arguments.at(word) != path)
            ++word;
        if (word < names.size())
            given.append({ModFiles::shownName(names.at(word)), names.at(word), std::nullopt});
        else
            given.append(ModFiles::named(path));
        ++word;
    }
    QStringList missing;
    const QList<ModFiles::Entry> files = ModCheck::filesToCheck(given, &missing);
    if (!missing.isEmpty())
        return usageError(QStringLiteral("cannot read '%1'").arg(missing.join(QStringLiteral("', '"))));

    const ModCheck::Report report = ModCheck::checkFiles(files, gameFolder);
    if (format == QLatin1String("json")) {
        out << QString::fromUtf8(ModCheck::json(report));
    } else {
        for (const ModCheck::Finding &finding : report.findings)
            out << ModCheck::compilerLine(finding) << "\n";
        out << ModCheck::summary(report) << "\n";
    }
    const bool failed = report.errors() > 0 || (parser.isSet(strictOption) && report.warnings() > 0);
    return written(failed ? 1 : 0);
}

namespace {
#ifdef Q_OS_WIN
// The console behind a standard handle, or null when the handle goes to a file or a pipe.
HANDLE consoleOf(DWORD which)
{
    HANDLE handle = GetStdHandle(which);
    DWORD mode = 0;
    return handle && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) ? handle : nullptr;
}

bool writeConsole(HANDLE console, const QString &text)
{
    for (qsizetype done = 0; done < text.size();) {
        DWORD written = 0;
        const DWORD part = DWORD(qMin<qsizetype>(text.size() - done, 16384));
        if (!WriteConsoleW(console, reinterpret_cast<const wchar_t *>(text.utf16()) + done, part, &written, nullptr)
            || written == 0)
            return false;
        done += written;
    }
    return true;
}
#endif
} // namespace

int runOnStandardStreams(const QStringList &arguments, const QString &version, const QString &gameFolder,
                         const QList<QByteArray> &names)
{
    QTextStream fileOut(stdout), fileErr(stderr);
#ifdef Q_OS_WIN
    HANDLE consoleOut = consoleOf(STD_OUTPUT_HANDLE), consoleErr = consoleOf(STD_ERROR_HANDLE);
    QString outText, errText;
    QTextStream bufferOut(&outText), bufferErr(&errText);
    const int status = run(arguments, version, gameFolder, consoleOut ? bufferOut : fileOut,
                           consoleErr ? bufferErr : fileErr, names);
    if (consoleErr)
        writeConsole(consoleErr, errText);
    if (consoleOut && !writeConsole(consoleOut, outText)) {
        const QString failure = QStringLiteral("Brisquel: cannot write the report to the console\n");
        if (consoleErr)
            writeConsole(consoleErr, failure);
        else
            fileErr << failure;
        return 2;
    }
    return status;
#else
    return run(arguments, version, gameFolder, fileOut, fileErr, names);
#endif
}

} // namespace CheckCommand
