#include "core/checkcommand.h"

#include "core/modcheck.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QTextStream>

namespace CheckCommand {

namespace {
const QStringList Commands{QStringLiteral("--check"), QStringLiteral("--help"), QStringLiteral("-h"),
                           QStringLiteral("--version"), QStringLiteral("-v")};
} // namespace

bool isCommand(const QStringList &arguments)
{
    return arguments.size() > 1 && Commands.contains(arguments.at(1)) && !QFileInfo(arguments.at(1)).isFile();
}

int run(const QStringList &arguments, const QString &version, const QString &gameFolder, QTextStream &out,
        QTextStream &err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Brisquel edits the NFO and description files of Serious Sam 2 mods.\n"
                       "With --check it checks them instead, without a window, and prints what the game would "
                       "trip over: one line a finding, as path:line: error|warning: text."));
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

    const auto usageError = [&](const QString &message) {
        err << "Brisquel: " << message << "\n" << "Try 'Brisquel --help'.\n";
        err.flush();
        return 2;
    };
    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    if (parser.isSet(help)) {
        out << parser.helpText();
        out.flush();
        return 0;
    }
    if (parser.isSet(versionOption)) {
        out << "Brisquel " << version << "\n";
        out.flush();
        return 0;
    }
    const QString format = parser.value(formatOption);
    if (format != QLatin1String("text") && format != QLatin1String("json"))
        return usageError(QStringLiteral("unknown format '%1': text or json").arg(format));
    const QStringList paths = parser.positionalArguments();
    if (!parser.isSet(checkOption) || paths.isEmpty())
        return usageError(QStringLiteral("--check needs at least one PATH"));
    QStringList unreadable;
    const QStringList files = ModCheck::filesToCheck(paths, &unreadable);
    if (!unreadable.isEmpty())
        return usageError(QStringLiteral("cannot read '%1'").arg(unreadable.join(QStringLiteral("', '"))));

    const ModCheck::Report report = ModCheck::checkFiles(files, gameFolder);
    if (format == QLatin1String("json")) {
        out << QString::fromUtf8(ModCheck::json(report));
    } else {
        for (const ModCheck::Finding &finding : report.findings)
            out << ModCheck::compilerLine(finding) << "\n";
        out << ModCheck::summary(report) << "\n";
    }
    out.flush();
    const bool failed = report.errors() > 0 || (parser.isSet(strictOption) && report.warnings() > 0);
    return failed ? 1 : 0;
}

} // namespace CheckCommand
