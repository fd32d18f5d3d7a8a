#include "core/checkcommand.h"

#include "core/commandline.h"
#include "core/checkfix.h"
#include "core/checkoutput.h"
#include "core/documentfile.h"
#include "core/modcheck.h"

#include <QCommandLineParser>
#include <QDir>
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
#ifdef Q_OS_WIN
    // "/?" asks a Windows program for its usage; no file is named "?".
    if (arguments.mid(1).contains(QLatin1String("/?")))
        return true;
#endif
    // As with every command-line tool, a word that starts with "-" is an option, never part of a
    // file name: a file named like one is given as "./--check". The desktop and Explorer give one
    // full path, which never starts with "-".
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments.at(i).size() > 1 && arguments.at(i).startsWith(QLatin1Char('-')))
            return true;
    }
    return false;
}

namespace {

const char *const Description =
    "Brisquel edits the NFO and description files of Serious Sam 2 mods.\n"
    "With --check it checks them instead, without a window, and prints what the game would trip over: one line a "
    "finding, as path:line: error|warning: text [rule-id].";

// The options of the command line, for the parser and the manual page alike.
struct OptionRow
{
    const char *name;
    const char *description;
    const char *valueName;     // empty: a switch
    const char *defaultValue;
};

const OptionRow Options[] = {
    {"check", "Check the .nfo and .dsc files under each PATH (a file, or a folder searched with its subfolders).", "", ""},
    {"strict", "Count warnings as errors.", "", ""},
    {"format",
     "Print the findings as text (the default: path:line: severity: text [rule-id]), json, sarif (SARIF 2.1.0, for "
     "code scanning) or github (workflow commands that annotate the files).",
     "text|json|sarif|github", "text"},
    {"ignore", "Leave out the rules of these ids (comma-separated; --list-rules lists them).", "ID[,ID...]", ""},
    {"list-rules", "List the rules of the check: id, severity and summary, one a line.", "", ""},
    {"fix",
     "Mend in place what is certain (fixed: lines say what), then report what is left. Only the bytes of the values "
     "and line ends mended change.", "", ""},
    {"suggestions", "With --fix or --diff: apply the fixes that need an author's eye too (a file found elsewhere, an "
                    "ETA carried over, a missing line).", "", ""},
    {"diff", "Print what --fix would change as a unified diff (for git apply or patch -p1), and write nothing: 1 when "
             "it would change something, 0 when not.", "", ""},
};

QCommandLineOption optionOf(const OptionRow &row)
{
    return QCommandLineOption(QLatin1String(row.name), QLatin1String(row.description), QLatin1String(row.valueName),
                              QLatin1String(row.defaultValue));
}

// A file as a diff names it: from the current folder when it lies under it, with "/" separators;
// by the bytes of its name where they are no text.
QByteArray diffName(const ModFiles::Entry &file)
{
    const QString path = DocumentFile::pathOf(file.name);
    if (DocumentFile::nameOf(path) != file.name)
        return file.name;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const QString relative = QDir::current().relativeFilePath(absolute);
    return DocumentFile::nameOf(relative.startsWith(QLatin1String("..")) || QDir::isAbsolutePath(relative) ? absolute : relative);
}

const QStringList Formats{QStringLiteral("text"), QStringLiteral("json"), QStringLiteral("sarif"), QStringLiteral("github")};

} // namespace

int run(const QStringList &arguments, const QString &version, const QString &gameFolder, QTextStream &out,
        QTextStream &err, const QList<QByteArray> &names)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QLatin1String(Description));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);  // "-reverse" is one option
    // Help as Windows tools take it too ("-?", and "/?" on Windows), and only Brisquel's own
    // options: Qt's --help-all would list options that mean nothing to the check.
    const QCommandLineOption help({QStringLiteral("?"), QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays help on commandline options."));
    parser.addOption(help);
    const QCommandLineOption versionOption = parser.addVersionOption();
    for (const OptionRow &row : Options)
        parser.addOption(optionOf(row));
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
    QStringList words = arguments;
#ifdef Q_OS_WIN
    for (qsizetype i = 1; i < words.size(); ++i) {
        if (words.at(i) == QLatin1String("/?"))
            words[i] = QStringLiteral("-?");
    }
#endif
    if (!parser.parse(words))
        return usageError(parser.errorText());
    if (parser.isSet(help)) {
        // The usage line names the program as users type it, not the path it was started from.
        QString text = parser.helpText();
        const qsizetype options = text.indexOf(QLatin1String(" [options]"));
        if (text.startsWith(QLatin1String("Usage: ")) && options > 0 && options < text.indexOf(QLatin1Char('\n')))
            text.replace(0, options, QStringLiteral("Usage: Brisquel"));
        out << text;
        return written(0);
    }
    if (parser.isSet(versionOption)) {
        out << "Brisquel " << version << "\n";
        return written(0);
    }
    const QString format = parser.value(QStringLiteral("format"));
    if (!Formats.contains(format))
        return usageError(QStringLiteral("unknown format '%1': text, json, sarif or github").arg(format));
    ModCheck::Options options{gameFolder, {}};
    for (const QString &id : parser.values(QStringLiteral("ignore")).join(QLatin1Char(',')).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        if (!ModCheck::ruleById(id.trimmed()))
            return usageError(QStringLiteral("unknown rule '%1' for --ignore: 'Brisquel --check --list-rules' lists them").arg(id));
        options.ignored.insert(id.trimmed());
    }
    // Fixes are made for what applies or shows them.
    options.fixes = format == QLatin1String("json") || format == QLatin1String("sarif") || parser.isSet(QStringLiteral("fix"))
                    || parser.isSet(QStringLiteral("diff"));
    const QStringList paths = parser.positionalArguments();
    if (!parser.isSet(QStringLiteral("check"))) {
        // The check's options, or any other, without --check: a usage error, not a file to open.
        return usageError(QStringLiteral("options without --check. To check: Brisquel --check [--strict] "
                                         "[--format text|json|sarif|github] [--ignore ID,...] [--fix|--diff] PATH...; to open a file "
                                         "whose name starts with '-', give it as ./NAME"));
    }
    if (parser.isSet(QStringLiteral("list-rules"))) {
        out << ModCheck::ruleList();
        return written(0);
    }
    if (paths.isEmpty())
        return usageError(QStringLiteral("--check needs at least one PATH"));
    const bool fix = parser.isSet(QStringLiteral("fix")), diff = parser.isSet(QStringLiteral("diff"));
    if (fix && diff)
        return usageError(QStringLiteral("--fix and --diff: --diff shows what --fix would change, without writing it"));
    if (parser.isSet(QStringLiteral("suggestions")) && !fix && !diff)
        return usageError(QStringLiteral("--suggestions goes with --fix or --diff"));
    const ModCheck::FixLevel level = parser.isSet(QStringLiteral("suggestions")) ? ModCheck::FixLevel::Suggestions
                                                                                 : ModCheck::FixLevel::Safe;
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

    if (diff) {
        // The diff alone, as its bytes: a patch's lines are the file's, in its code page.
        QByteArray patch;
        ModCheck::Checker checker(options);
        for (const ModFiles::Entry &file : files) {
            const ModCheck::FixedFile fixed = ModCheck::fixFile(checker, file, level);
            patch += ModCheck::unifiedDiff(diffName(file), fixed.before, fixed.after);
        }
        out.setEncoding(QStringConverter::Latin1);
        out << QString::fromLatin1(patch);
        return written(patch.isEmpty() ? 0 : 1);
    }
    ModCheck::Report report;
    if (fix) {
        ModCheck::Checker checker(options);
        for (const ModFiles::Entry &file : files) {
            ModCheck::FixedFile fixed = ModCheck::fixFile(checker, file, level);
            ModCheck::writeFixed(fixed, file, options.ignored);
            report.fixed += fixed.fixed;
            report.fixes += fixed.fixes;
            report.findings += fixed.left;
            ++report.files;
        }
    } else {
        report = ModCheck::checkFiles(files, options);
    }
    if (format == QLatin1String("json")) {
        out << QString::fromUtf8(ModCheck::json(report));
    } else if (format == QLatin1String("sarif")) {
        // Files are named from the one folder checked, else from the current folder.
        const QString base = paths.size() == 1 && QFileInfo(paths.first()).isDir() ? paths.first() : QDir::currentPath();
        out << QString::fromUtf8(ModCheck::sarif(report, version, base));
    } else if (format == QLatin1String("github")) {
        out << ModCheck::githubCommands(report);
    } else {
        for (const ModCheck::Finding &finding : report.fixed)
            out << ModCheck::fixedLine(finding) << "\n";
        for (const ModCheck::Finding &finding : report.findings)
            out << ModCheck::compilerLine(finding) << "\n";
        out << ModCheck::summary(report) << "\n";
    }
    const bool failed = report.errors() > 0 || (parser.isSet(QStringLiteral("strict")) && report.warnings() > 0);
    return written(failed ? 1 : 0);
}

QString manPage(const QString &version)
{
    // roff: a backslash starts an escape, and a "-" alone is a hyphen, not the minus of an option.
    const auto text = [](const QString &plain) {
        QString out = QString(plain).replace(QLatin1Char('\\'), QLatin1String("\\e")).replace(QLatin1Char('-'), QLatin1String("\\-"));
        return out;
    };
    QString page;
    QTextStream man(&page);
    man << ".TH BRISQUEL 1 \"\" \"Brisquel " << version << "\" \"User Commands\"\n"
        << ".SH NAME\nbrisquel \\- edit and check the NFO and description files of Serious Sam 2 mods\n"
        << ".SH SYNOPSIS\n.B brisquel\n.RI [ FILE ]\n.br\n.B brisquel \\-\\-check\n.RI [ OPTION ...]\n.IR PATH ...\n"
        << ".SH DESCRIPTION\n" << text(QString::fromLatin1(Description).replace(QLatin1Char('\n'), QLatin1Char(' '))) << "\n"
        << ".PP\nWithout options, brisquel opens its window, with FILE when one is given.\n"
        << ".SH OPTIONS\n";
    for (const OptionRow &row : Options) {
        man << ".TP\n\\fB\\-\\-" << text(QLatin1String(row.name)) << "\\fR";
        if (*row.valueName)
            man << " \\fI" << text(QLatin1String(row.valueName)) << "\\fR";
        man << "\n" << text(QLatin1String(row.description)) << "\n";
    }
    man << ".TP\n.B \\-\\-help\nShow the options.\n.TP\n.B \\-\\-version\nShow the version.\n"
        << ".SH RULES\nEach finding names its rule; \\-\\-ignore leaves rules out.\n";
    for (const ModCheck::Rule &rule : ModCheck::rules()) {
        man << ".TP\n.B " << text(QLatin1String(rule.id)) << "\n"
            << (rule.severity == ModCheck::Severity::Error ? "Error. " : "Warning. ") << text(QLatin1String(rule.summary))
            << (rule.fixes == ModCheck::FixKind::Safe ? " Safe fix." : rule.fixes == ModCheck::FixKind::Suggestion ? " Suggested fix." : "")
            << "\n";
    }
    man << ".SH EXIT STATUS\n0: no errors; 1: errors (or warnings, with \\-\\-strict); 2: the command could not be "
           "carried out (an unknown option or rule, a path that names nothing, output that cannot be written). With "
           "\\-\\-fix, the status is that of what is left; with \\-\\-diff, 1 when it would change something, 0 when not.\n"
        << ".SH SEE ALSO\nThe help pages installed with Brisquel, and " << text(QLatin1String(ModCheck::RulesHelpAddress)) << "\n";
    man.flush();
    return page;
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
