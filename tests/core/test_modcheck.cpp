// The mod check: each rule on a fixture mod folder, and the command line's output and exit codes.

#include "core/assetindex.h"
#include "core/checkcommand.h"
#include "core/checkfix.h"
#include "core/codepage.h"
#include "core/episodenfo.h"
#include "core/levelnfo.h"
#include "core/checkoutput.h"
#include "core/modcheck.h"
#include "tests/support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>
#include <QTextStream>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstdio>
#endif

namespace {

const QString Mod = testData("mod");

// A row's content that stands for no file at all.
const QByteArray NoFile = "(no file)";
// And for a description with LF line ends that --fix mends, writable or read-only.
const QByteArray MendedFile = "(a file to mend)";
const QByteArray ReadOnlyFile = "(a read-only file to mend)";

struct RuleCase
{
    const char *rule;
    const char *what;
    QByteArray content;
    QList<int> lines;  // of its findings; none: a good row
    bool description = false;
    const char *codePage = "";  // the converter of the system's code page, when not the default
};

const QList<RuleCase> &ruleCases()
{
    const QByteArray good = levelWith("NAME", "Temple");
    static const QList<RuleCase> cases{
        {"unreadable-file", "a file that reads", good, {}},
        {"unreadable-file", "a file that is not there", NoFile, {1}},
        {"unwritable-file", "a file mended", MendedFile, {}},
        {"unwritable-file", "a read-only file mended", ReadOnlyFile, {1}},
        {"not-game-nfo", "a Level NFO", good, {}},
        {"not-game-nfo", "an Episode NFO, any case and blanks", " episode \r\nNAME=\"x\"\r\nTHUMBNAIL=\"Textures\\Thumb.tex\"\r\n", {}},
        {"not-game-nfo", "release notes", "Release notes\r\nNAME=\"x\"\r\n", {1}},
        {"not-game-nfo", "an empty file", "", {1}},
        {"other-kind-word", "none", good, {}},
        {"other-kind-word", "EPISODE in a Level NFO", "LEVEL\r\nEPISODE\r\n" + good.mid(7), {2}},
        {"ignored-line", "only known keys and blank lines", good + "\r\n", {}},
        {"ignored-line", "a key in lower case", levelWith("name", "x"), {7}},
        {"reading-stops", "every value quoted", good, {}},
        {"reading-stops", "a NAME without a value", "LEVEL\r\nNAME\r\n", {2}},
        {"text-after-quote", "blanks after the quote", QByteArray(good).replace("\"Temple\"", "\"Temple\"  "), {}},
        {"text-after-quote", "a quote inside the value", levelWith("NAME", "cut\"short"), {2}},
        {"missing-line", "every line there", good, {}},
        {"missing-line", "no LOCKED, no ETA", "LEVEL\r\nNAME=\"x\"\r\nMAP_TYPE=\"SINGLE;\"\r\nTHUMBNAIL=\"\"\r\n", {1, 1}},
        {"absolute-path", "relative", levelWith("LOADING_MODEL", "Models\\Ship.mdl"), {}},
        {"absolute-path", "a drive", levelWith("LOADING_MODEL", "C:\\Games\\Ship.mdl"), {7}},
        {"absolute-path", "a root", levelWith("THUMBNAIL", "/home/me/Thumb.tex"), {4}},
        {"absolute-path", "a backslash root", levelWith("INTRO_MOVIE", "\\Movies\\Intro.ogv"), {7}},
        {"slash-separator", "backslashes", levelWith("LOADING_MODEL", "Models\\Ship.mdl"), {}},
        {"slash-separator", "slashes", levelWith("LOADING_MODEL", "Models/Ship.mdl"), {7}},
        {"asset-kind", "a texture in its field, upper case", levelWith("LOADING_SCREEN", "Textures\\Thumb.TEX"), {}},
        {"asset-kind", "a model where a texture belongs", levelWith("LOADING_SCREEN", "Models\\Ship.mdl"), {7}},
        {"asset-not-found", "found in other letter case", levelWith("LOADING_MODEL", "models\\SHIP.MDL"), {}},
        {"asset-not-found", "found up through the mod", levelWith("INTRO_MOVIE", "Movies\\Intro.ogv"), {}},
        {"asset-not-found", "not there", levelWith("THUMBNAIL", "Textures\\Gone.tex"), {4}},
        {"asset-not-found", "a folder, not a file", levelWith("LOADING_MODEL", "Models"), {7}},
        {"eta-format", "hours may be many digits", levelWith("ETA", "100:00:00"), {}},
        {"eta-format", "a word", levelWith("ETA", "1:2:soon"), {5}},
        {"eta-format", "two parts", levelWith("ETA", "10:00"), {}},  // the reader stops there
        {"eta-format", "four parts", levelWith("ETA", "0:10:00:00"), {5}},
        {"eta-range", "59 and 59", levelWith("ETA", "0:59:59"), {}},
        {"eta-range", "zeros before 59", levelWith("ETA", "0:0059:00"), {}},
        {"eta-range", "75 minutes", levelWith("ETA", "0:75:00"), {5}},
        {"eta-range", "60 seconds", levelWith("ETA", "0:00:60"), {5}},
        {"eta-range", "more digits than any number", levelWith("ETA", "0:99999999999999999999:00"), {5}},
        {"distance-number", "a decimal", levelWith("MODEL_DISTANCE", "12.5"), {}},
        {"distance-number", "a word", levelWith("MODEL_DISTANCE", "far"), {7}},
        {"distance-number", "a decimal comma", levelWith("MODEL_DISTANCE", "12,5"), {7}},
        {"game-mode", "three modes with blanks", levelWith("MAP_TYPE", "SINGLE;COOP; DEATHMATCH;"), {}},
        {"game-mode", "an unknown one", levelWith("MAP_TYPE", "SINGLE;ARENA;"), {3}},
        {"game-mode", "lower case", levelWith("MAP_TYPE", "coop"), {3}},
        {"no-game-mode", "one mode", levelWith("MAP_TYPE", "COOP"), {}},
        {"no-game-mode", "none", levelWith("MAP_TYPE", ""), {3}},
        {"no-game-mode", "separators only", levelWith("MAP_TYPE", " ; ;"), {3}},
        {"yes-no", "YES", levelWith("MODEL_ROTATE", "YES"), {}},
        {"yes-no", "lower case", levelWith("MODEL_ROTATE", "yes"), {7}},
        {"yes-no", "neither", levelWith("LOCKED", "MAYBE"), {6}},
        {"empty-name", "a name", good, {}},
        {"empty-name", "blanks", levelWith("NAME", " "), {2}},
        {"empty-name", "an Episode's", "EPISODE\r\nNAME=\"\"\r\nTHUMBNAIL=\"Textures\\Thumb.tex\"\r\n", {2}},
        {"empty-value", "an optional field with its value", levelWith("LOADING_MODEL", "Models\\Ship.mdl"), {}},
        {"empty-value", "a required field empty is not its business", levelWith("THUMBNAIL", ""), {}},
        {"empty-value", "an empty model", levelWith("LOADING_MODEL", ""), {7}},
        {"empty-value", "an empty distance", levelWith("MODEL_DISTANCE", ""), {7}},
        {"empty-thumbnail", "a thumbnail", good, {}},
        {"empty-thumbnail", "none", levelWith("THUMBNAIL", ""), {4}},
        {"empty-thumbnail", "an Episode's", "EPISODE\r\nNAME=\"Road\"\r\nTHUMBNAIL=\"\"\r\n", {3}},
        {"undecodable-bytes", "a Western letter, in the Western code page", levelWith("NAME", "Caf\xe9"), {}},
        {"undecodable-bytes", "Japanese text, in the Japanese code page", "\x93\xfa\x96\x7b\r\n", {}, true, "Shift_JIS"},
        {"undecodable-bytes", "a Western letter, in the Japanese code page", levelWith("NAME", "Caf\xe9"), {2}, false, "Shift_JIS"},
        {"undecodable-bytes", "a character split over two lines", "ok\r\n\x93\r\n\xfa\r\n", {2, 3}, true, "Shift_JIS"},
        {"utf8-text", "a single-byte letter", levelWith("MODEL_NAME", "Caf\xe9 Ship"), {}},
        {"utf8-text", "UTF-8", levelWith("MODEL_NAME", "Caf\xc3\xa9"), {7}},
        {"utf8-text", "UTF-8 in a description", "Caf\xc3\xa9\r\n", {1}, true},
        {"line-ends", "CR LF", good, {}},
        {"line-ends", "LF only", "LEVEL\nNAME=\"x\"\n", {1}},
        {"line-ends", "mixed, from the first odd one", "a\r\nb\nc\r\n", {2}, true},
        {"line-ends", "a lone CR in a description", "a\r\nb\rc\r\n", {2}, true},
        {"control-character", "a tab", "a\tb\r\n", {}, true},
        {"control-character", "0x01, once a line", "a\r\n\x01\x01\r\n\x7f\r\n", {2, 3}, true},
        {"control-character", "in an NFO it is no description's", levelWith("MODEL_NAME", "a\x01"), {}},
    };
    return cases;
}

} // namespace

class TestModCheck : public QObject
{
    Q_OBJECT

private slots:
    // Each rule's own table: files that it passes and files that it finds, with the lines of its
    // findings; only its own findings are compared. Every rule has both kinds of row.
    void eachRule_data()
    {
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("description");
        QTest::addColumn<QList<int>>("lines");
        QTest::addColumn<QByteArray>("codePage");
        for (const RuleCase &c : ruleCases())
            QTest::addRow("%s: %s", c.rule, c.what) << QString(c.rule) << c.content << c.description << c.lines
                                                    << QByteArray(c.codePage);
    }

    void eachRule()
    {
        QFETCH(QString, rule);
        QFETCH(QByteArray, content);
        QFETCH(bool, description);
        QFETCH(QList<int>, lines);
        QFETCH(QByteArray, codePage);
        QVERIFY2(ModCheck::ruleById(rule), qPrintable(rule));
        std::optional<CodePage::Override> system;
        if (!codePage.isEmpty()) {
            system.emplace(codePage, "the code page 932 (Japanese)");
            if (CodePage::isSingleByte())
                QSKIP("This system reads no other code page in its place: the Windows stage runs this in a Japanese prefix");
        }
        // Checked where the fixture mod keeps its levels: its models, textures and movies are found.
        const QString path = Mod + (description ? "/case.dsc" : "/Levels/case.nfo");
        TestFolder folder;
        const auto check = [&](ModCheck::Checker &checker) {
            if (content == NoFile)
                return checker.checkFile(ModFiles::named(Mod + "/Levels/gone.nfo"));
            if (content == MendedFile || content == ReadOnlyFile) {
                const QString mended = folder.path("case.dsc");
                writeBytes(mended, "a\nb\n");
                if (content == ReadOnlyFile)
                    QFile::setPermissions(mended, QFile::ReadOwner);
                ModCheck::FixedFile fixed = ModCheck::fixFile(checker, ModFiles::named(mended), ModCheck::FixLevel::Safe);
                ModCheck::writeFixed(fixed, ModFiles::named(mended), checker.options().ignored);
                return fixed.left;
            }
            return checker.checkBytes(content, description ? ModCheck::FileKind::Description : ModCheck::FileKind::Nfo, path);
        };
        ModCheck::Checker checker;
        const auto findings = check(checker);
        QList<int> found;
        for (const ModCheck::Finding &finding : findings) {
            if (finding.rule == rule) {
                found.append(finding.line);
                QCOMPARE(finding.severity, ModCheck::ruleById(rule)->severity);
                QVERIFY(finding.fix.isNone() || finding.fix.kind == ModCheck::ruleById(rule)->fixes);
                QVERIFY(!finding.text.contains('[' + rule + ']'));  // the id goes beside the text, not in it
            }
        }
        QCOMPARE(found, lines);
        // Left out, the rule finds nothing.
        ModCheck::Checker leftOut({{}, {rule}});
        const auto ignored = check(leftOut);
        QVERIFY(std::none_of(ignored.begin(), ignored.end(), [&](const ModCheck::Finding &f) { return f.rule == rule; }));
    }

    // Every rule has its rows in the table above, and its section in the help page (anchored by
    // its id, with its severity) and its row in the README.
    void everyRuleHasItsTableAndItsHelp()
    {
        const QString help = QString::fromUtf8(readBytes(BRISQUEL_SOURCE_DIR "/resources/help/check.htm"));
        const QString readme = QString::fromUtf8(readBytes(BRISQUEL_SOURCE_DIR "/README.md"));
        for (const ModCheck::Rule &rule : ModCheck::rules()) {
            const QString severity = rule.severity == ModCheck::Severity::Error ? "error" : "warning";
            QVERIFY2(help.contains(QString("<h3 id=\"%1\">%1 (%2)</h3>").arg(rule.id, severity)), rule.id);
            QVERIFY2(readme.contains(QString("| `%1` | %2 |").arg(rule.id, severity)), rule.id);
            bool good = false, bad = false;
            for (const RuleCase &c : ruleCases()) {
                if (QLatin1String(c.rule) == QLatin1String(rule.id))
                    (c.lines.isEmpty() ? good : bad) = true;
            }
            QVERIFY2(good && bad, rule.id);
            QVERIFY2(QString(rule.summary).endsWith('.') && !QString(rule.summary).contains('\n'), rule.id);
        }
    }

    // The fixture mod: its walk, each file once, and the totals; good files are silent.
    void fixtureMod()
    {
        const ModCheck::Report report = ModCheck::check({Mod}, {});
        QCOMPARE(report.files, 8);
        QCOMPARE(report.errors(), 10);
        QCOMPARE(report.warnings(), 15);
        QSet<QString> files;
        for (const ModCheck::Finding &finding : report.findings) {
            QVERIFY2(ModCheck::ruleById(finding.rule), qPrintable(finding.text));
            files.insert(QDir(Mod).relativeFilePath(finding.path));
        }
        QCOMPARE(files, (QSet<QString>{"readme.nfo", "odd.dsc", "Levels/errors.nfo", "Levels/missing.nfo", "Levels/warnings.nfo"}));
    }

    // A new file from the desktop's New menu has no error; its warnings ask for the name and the
    // thumbnail.
    void newFilesHaveNoErrors()
    {
        for (const QByteArray &bytes : {LevelNfo::newFileTemplate(), EpisodeNfo::newFileTemplate()}) {
            const auto findings = ModCheck::checkBytes(bytes, ModCheck::FileKind::Nfo, {}, {});
            QStringList lines;
            for (const ModCheck::Finding &finding : findings)
                lines.append(ModCheck::compilerLine(finding));
            QCOMPARE(lines, (QStringList{":2: warning: NAME is empty: the game lists it without a name [empty-name]",
                                         QString(":%1: warning: THUMBNAIL is empty: the game lists it without a picture "
                                                 "[empty-thumbnail]").arg(bytes.startsWith("LEVEL") ? 4 : 3)}));
        }
    }

    // Assets are found in any letter case, as the game finds them, and each folder is listed once
    // however many values point into it.
    void assetsAreFoundAsTheGameFindsThem()
    {
        TestFolder folder;
        QDir().mkpath(folder.path("mod/Levels"));
        QDir().mkpath(folder.path("mod/Models/Ships"));
        writeBytes(folder.path("mod/Models/Ships/Ra.MDL"), "");
        QDir().mkpath(folder.path("mod/Textures"));
        writeBytes(folder.path("mod/Textures/Thumb.tex"), "");
        ModCheck::Checker checker;
        for (int i = 0; i < 50; ++i) {
            const QByteArray value = QByteArray(i % 2 ? "models\\ships\\ra.mdl" : "MODELS/Ships/../Ships/RA.mdl");
            const auto findings = checker.checkBytes(levelWith("LOADING_MODEL", value), ModCheck::FileKind::Nfo,
                                                     folder.path("mod/Levels/l%1.nfo").arg(i));
            for (const ModCheck::Finding &finding : findings)
                QVERIFY2(finding.rule != "asset-not-found", qPrintable(ModCheck::compilerLine(finding)));
        }
        // The mod's Levels, the mod, Models, Ships, Textures, and the folders above the mod: each once.
        QVERIFY2(checker.assets().listedFolders() <= 5 + folder.path("mod").count('/'),
                 qPrintable(QString::number(checker.assets().listedFolders())));
    }

    // The files of a kind under a folder, for completing fields: any letter case of the ending,
    // spelt as the folders spell them; a folder linked into itself ends the walk at its depth,
    // and a stop ends it at once.
    void filesOfAKindAreListed()
    {
        TestFolder folder;
        for (const char *file : {"mod/Models/Ra.mdl", "mod/Models/Ships/Barge.MDL", "mod/Models/Ra.mdl.txt", "mod/Textures/Ra.tex"}) {
            QDir().mkpath(QFileInfo(folder.path(file)).absolutePath());
            writeBytes(folder.path(file), "");
        }
        std::atomic<bool> stop{false};
        QStringList files = AssetIndex().filesEndingIn(folder.path("mod"), u".mdl", 100, stop);
        files.sort();
        QCOMPARE(files, QStringList({"Models\\Ra.mdl", "Models\\Ships\\Barge.MDL"}));
        QCOMPARE(AssetIndex().filesEndingIn(folder.path("mod"), u".mdl", 1, stop).size(), 1);
#ifdef Q_OS_UNIX
        QCOMPARE(::symlink("..", QFile::encodeName(folder.path("mod/Models/Ships/loop")).constData()), 0);
        QCOMPARE(AssetIndex().filesEndingIn(folder.path("mod/Models"), u".mdl", 100000, stop).size(),
                 AssetIndex::MostDepth + 1);  // one file in each folder down to the deepest
#endif
        stop = true;
        QVERIFY(AssetIndex().filesEndingIn(folder.path("mod"), u".mdl", 100, stop).isEmpty());
    }

    void assetsAreFoundInTheGameFolderToo()
    {
        TestFolder game;
        QDir().mkpath(game.path("Textures"));
        writeBytes(game.path("Textures/Gone.tex"), "");
        const auto findings = ModCheck::checkFile(QDir(Mod).filePath("Levels/warnings.nfo"), game.path({}));
        for (const ModCheck::Finding &finding : findings)
            QVERIFY2(!finding.text.contains("Gone.tex"), qPrintable(finding.text));
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("lastLine");  // of the output, or the start of the error
        QTest::newRow("clean files") << QStringList{"--check", Mod + "/good.dsc", Mod + "/Levels/good.nfo"} << 0
                                     << "2 files checked, 0 errors, 0 warnings";
        QTest::newRow("errors") << QStringList{"--check", Mod} << 1 << "8 files checked, 10 errors, 15 warnings";
        QTest::newRow("warnings only") << QStringList{"--check", Mod + "/Levels/warnings.nfo"} << 0
                                       << "1 file checked, 0 errors, 13 warnings";
        QTest::newRow("warnings, strict") << QStringList{"--strict", "--check", Mod + "/Levels/warnings.nfo"} << 1
                                          << "1 file checked, 0 errors, 13 warnings";
        QTest::newRow("a path that names nothing") << QStringList{"--check", Mod + "/nothing"} << 2
                                                   << "Brisquel: cannot read '" + Mod + "/nothing'";
        QTest::newRow("an unknown option") << QStringList{"--check", "--fast", Mod} << 2 << "Brisquel: Unknown option 'fast'.";
        QTest::newRow("no path") << QStringList{"--check"} << 2 << "Brisquel: --check needs at least one PATH";
        QTest::newRow("an unknown format") << QStringList{"--check", "--format", "xml", Mod} << 2
                                           << "Brisquel: unknown format 'xml'";
        QTest::newRow("version") << QStringList{"--version"} << 0 << "Brisquel 9.9.9";
        QTest::newRow("rules left out") << QStringList{"--check", "--ignore", "ignored-line,other-kind-word", "--ignore",
                                                       "utf8-text", Mod} << 1 << "8 files checked, 8 errors, 14 warnings";
        QTest::newRow("an unknown rule to leave out") << QStringList{"--check", "--ignore", "absolute-path,speling", Mod} << 2
                                                      << "Brisquel: unknown rule 'speling' for --ignore";
        QTest::newRow("the rules, without --check") << QStringList{"--list-rules"} << 2 << "Brisquel: options without --check.";
        QTest::newRow("check options without --check") << QStringList{"--strict", Mod} << 2
                                                       << "Brisquel: options without --check.";
        QTest::newRow("a Qt option") << QStringList{"-reverse"} << 2 << "Brisquel: Unknown option 'reverse'.";
        // Arguments are echoed escaped: none clears the terminal or forges a finding line.
        QTest::newRow("a path with a terminal command and a forged finding")
            << QStringList{"--check", "nothere\x1b[2J\nmod.nfo:1: error: forged"} << 2
            << "Brisquel: cannot read 'nothere\\x1b[2J\\nmod.nfo:1: error: forged'";
        QTest::newRow("an unknown option with a line break") << QStringList{"--check", "--x\nmod.nfo:1: error: forged", Mod}
            << 2 << "Brisquel: Unknown option 'x\\nmod.nfo:1: error: forged'.";
        QTest::newRow("a right-to-left override") << QStringList{"--check", "readme\u202etxt.nfo"} << 2
            << "Brisquel: cannot read 'readme\\u202etxt.nfo'";
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, lastLine);
        const CheckRun ran = runCommand(arguments);
        QCOMPARE(ran.status, status);
        const QStringList lines = (status == 2 ? ran.err : ran.out).trimmed().split('\n');
        QVERIFY2(status == 2 ? lines.first().startsWith(lastLine) : lines.last() == lastLine, qPrintable(lines.join('|')));
        if (status == 2) {
            QVERIFY(ran.out.isEmpty());
            QCOMPARE(lines.size(), 2);  // the error and "Try 'Brisquel --help'."
        }
    }

    // The help and the manual page are made from one option table; the manual page names every
    // rule too.
    // Help however it is asked for, Windows' "/?" too: the usage line names the program as it is
    // typed, not the path it runs from, and only Brisquel's own options are listed.
    void helpAndManualPageNameTheOptions()
    {
        QStringList asks{"--help", "-h", "-?"};
#ifdef Q_OS_WIN
        asks << "/?";
#endif
        for (const QString &ask : asks) {
            QVERIFY2(CheckCommand::isCommand({"Brisquel", ask}), qPrintable(ask));
            const CheckRun asked = runCommand({ask});
            QCOMPARE(asked.status, 0);
            QVERIFY2(asked.out.startsWith("Usage: Brisquel [options] PATH...\n"), qPrintable(asked.out.left(200)));
            QVERIFY2(!asked.out.contains("help-all"), qPrintable(ask));
        }
        const CheckRun ran = runCommand({"--help"});
        const QString manual = CheckCommand::manPage("9.9.9");
        QVERIFY(manual.startsWith(".TH BRISQUEL 1 "));
        for (const char *option : {"--check", "--strict", "--format", "--ignore", "--list-rules", "--help", "--version"}) {
            QVERIFY2(ran.out.contains(option), option);
            QVERIFY2(manual.contains(QString(option).replace("-", "\\-")), option);
        }
        for (const ModCheck::Rule &rule : ModCheck::rules())
            QVERIFY2(manual.contains(".B " + QString(rule.id).replace("-", "\\-") + "\n"), rule.id);
    }

    void listRules()
    {
        const CheckRun ran = runCommand({"--check", "--list-rules"});
        QCOMPARE(ran.status, 0);
        const QStringList lines = ran.out.trimmed().split('\n');
        QCOMPARE(lines.size(), ModCheck::rules().size());
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const ModCheck::Rule &rule = ModCheck::rules().at(i);
            QCOMPARE(lines[i].simplified(), QString("%1 %2 %3").arg(rule.id, rule.severity == ModCheck::Severity::Error ? "error" : "warning",
                                                                    QString(rule.summary).simplified()));
        }
    }

    // What GitHub's runner reads as the end of a property or of the command is escaped as its
    // toolkit escapes it; a terminal's escape reaches the log as text.
    void githubCommands()
    {
        ModCheck::Report report;
        report.files = 1;
        report.findings.append({"/m/a,b:c%d.nfo", 3, ModCheck::Severity::Error, "100% \x1b[2J\nforged", "NAME", "empty-name"});
        report.findings.append({"/m/ok.dsc", 0, ModCheck::Severity::Warning, "x", {}, "line-ends"});
        QCOMPARE(ModCheck::githubCommands(report),
                 QString("::error file=/m/a%2Cb%3Ac%25d.nfo,line=3,title=empty-name::100%25 \\x1b[2J\\nforged\n"
                         "::warning file=/m/ok.dsc,line=1,title=line-ends::x\n"
                         "::notice title=Brisquel::1 file checked, 1 error, 1 warning\n"));
    }

    // SARIF names each file relative to the folder checked, by its bytes, and each result by its
    // rule, which the log describes.
    void sarifLog()
    {
        TestFolder folder;
        QDir().mkpath(folder.path("mod/Levels 100%"));
        writeBytes(folder.path("mod/Levels 100%/Temple #1.nfo"), "LEVEL\r\nNAME=\"\"\r\n");
        const CheckRun ran = runCommand({"--check", "--format", "sarif", folder.path("mod")});
        QCOMPARE(ran.status, 1);
        const QJsonObject log = QJsonDocument::fromJson(ran.out.toUtf8()).object();
        QCOMPARE(log["version"].toString(), QString("2.1.0"));
        const QJsonObject run = log["runs"].toArray().at(0).toObject();
        const QJsonObject driver = run["tool"].toObject()["driver"].toObject();
        QCOMPARE(driver["name"].toString(), QString("Brisquel"));
        QCOMPARE(driver["version"].toString(), QString("9.9.9"));
        const QJsonArray rules = driver["rules"].toArray();
        QCOMPARE(rules.size(), ModCheck::rules().size());
        QCOMPARE(rules.at(2).toObject()["name"].toString(), QString("OtherKindWord"));
        QVERIFY(run["originalUriBaseIds"].toObject()["CHECKED"].toObject()["uri"].toString().endsWith("/mod/"));
        const QJsonArray results = run["results"].toArray();
        QCOMPARE(results.size(), 5);  // four lines missing, an empty name
        for (const QJsonValue &value : results) {
            const QJsonObject result = value.toObject();
            const QJsonObject rule = rules.at(result["ruleIndex"].toInt()).toObject();
            QCOMPARE(result["ruleId"].toString(), rule["id"].toString());
            QCOMPARE(result["level"].toString(), rule["defaultConfiguration"].toObject()["level"].toString());
            const QJsonObject artifact = result["locations"][0]["physicalLocation"]["artifactLocation"].toObject();
            QCOMPARE(artifact["uri"].toString(), QString("Levels%20100%25/Temple%20%231.nfo"));
            QCOMPARE(artifact["uriBaseId"].toString(), QString("CHECKED"));
            QVERIFY(result["locations"][0]["physicalLocation"]["region"]["startLine"].toInt() >= 1);
        }
    }

    // A word that starts with "-" is an option, as with every command-line tool, even where a file
    // has that name ("./--check" opens it); one path, as the desktop gives it, is a file to open.
    void optionsAreNeverFileNames_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("command");
        QTest::newRow("--check and a path") << QStringList{"--check", "x"} << true;
        QTest::newRow("a file named --check") << QStringList{"--check"} << true;
        QTest::newRow("a check option without --check") << QStringList{"--strict", "Mods"} << true;
        QTest::newRow("an option after a file name") << QStringList{"level.nfo", "--format", "json"} << true;
        QTest::newRow("a Qt option") << QStringList{"-style"} << true;
        QTest::newRow("./--check") << QStringList{"./--check"} << false;
        QTest::newRow("the desktop's one full path") << QStringList{"/home/me/Mods/Level - 1.nfo"} << false;
        QTest::newRow("a path with blanks in words, one of them a dash") << QStringList{"My", "-", "Level.nfo"} << false;
    }

    void optionsAreNeverFileNames()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, command);
        TestFolder folder;
        writeBytes(folder.path("--check"), "LEVEL\r\n");
        QVERIFY(QDir::setCurrent(folder.path({})));
        QCOMPARE(CheckCommand::isCommand(QStringList{"Brisquel"} + arguments), command);
    }

    // Folders far deeper than Windows' classic 260-character paths are walked too.
    void deepFoldersAreWalked()
    {
        TestFolder folder;
        QString deep = folder.path("mod");
        for (int depth = 0; depth < 30; ++depth)
            deep += QDir::separator() + QString("Episode %1 part").arg(depth);
        QVERIFY(QDir().mkpath(deep));
        writeBytes(deep + QDir::separator() + "Deep.nfo", "EPISODE\r\nNAME=\"Deep\"\r\nTHUMBNAIL=\"\"\r\n");
        const CheckRun ran = runCommand({"--check", "--ignore", "empty-thumbnail", folder.path("mod")});
        QVERIFY2(ran.out.endsWith("1 file checked, 0 errors, 0 warnings\n"), qPrintable(ran.out));
        QCOMPARE(ran.status, 0);
    }

#ifdef Q_OS_UNIX
    // Files made to fool the check or to exhaust it: every file is checked once, by its bytes,
    // anything that cannot be read is an error that says why, each finding is one line, and a
    // rule that fires on every line lists a few and counts the rest.
    void hostileInput_data()
    {
        QTest::addColumn<QByteArray>("name");  // made in the folder checked; "/" makes a subfolder
        QTest::addColumn<QByteArray>("content");  // "fifo", "dangling", "device": made as such
        QTest::addColumn<int>("files");
        QTest::addColumn<QStringList>("lines");  // the text output's finding lines, the folder as "D"
        const QString more = "D/c.dsc:20: warning: 1,000 more control-character findings in this file, not listed [control-character]";
        QTest::newRow("a rule on every line: 20 listed, then a count") << QByteArray("c.dsc")
            << QByteArray("\x01\r\n").repeated(1020) << 1
            << (QStringList(20, "") << more);
        // Two rules that end on the same line: each count names its own.
        QTest::newRow("two rules on every line: each count names its rule") << QByteArray("two.dsc")
            << QByteArray("\x01 caf\xc3\xa9\r\n").repeated(30) << 1
            << (QStringList(40, "") << "D/two.dsc:20: warning: 10 more control-character findings in this file, not listed [control-character]"
                                    << "D/two.dsc:20: warning: 10 more utf8-text findings in this file, not listed [utf8-text]");
        QTest::newRow("a name with a line break cannot forge a finding") << QByteArray("b\nb.nfo:7: error: forged.nfo")
            << QByteArray("EPISODE\r\nNAME=\"\"\r\nTHUMBNAIL=\"\"\r\n") << 1 << QStringList();
        QTest::newRow("a name with %1 is not filled in") << QByteArray("100%1.nfo") << QByteArray("LEVEL\r\n") << 1
            << QStringList{"D/100%1.nfo:1: error: the NAME line is missing, and the game needs it [missing-line]",
                           "D/100%1.nfo:1: error: the MAP_TYPE line is missing, and the game needs it [missing-line]",
                           "D/100%1.nfo:1: error: the THUMBNAIL line is missing, and the game needs it [missing-line]",
                           "D/100%1.nfo:1: error: the ETA line is missing, and the game needs it [missing-line]",
                           "D/100%1.nfo:1: error: the LOCKED line is missing, and the game needs it [missing-line]"};
        QTest::newRow("escape sequences in a value reach no terminal") << QByteArray("e.nfo")
            << QByteArray("LEVEL\r\nNAME=\"x\"\r\nMAP_TYPE=\"\x1b[2J\x07\"\r\nTHUMBNAIL=\"\"\r\n"
                          "ETA=\"0:0:0\"\r\nLOCKED=\"NO\"\r\n") << 1
            << QStringList{"D/e.nfo:3: warning: unknown game mode '\\x1b[2J\\x07' in MAP_TYPE (SINGLE, COOP or DEATHMATCH) [game-mode]",
                           "D/e.nfo:3: warning: MAP_TYPE names no game mode: the game offers the level in none (SINGLE, COOP or "
                           "DEATHMATCH) [no-game-mode]",
                           "D/e.nfo:4: warning: THUMBNAIL is empty: the game lists it without a picture [empty-thumbnail]"};
        QTest::newRow("a name that is not UTF-8 is read by its bytes") << QByteArray("Sub/Bad\xff\xfe.dsc")
            << QByteArray("\x02\r\n") << 1
            << QStringList{"D/Sub/Bad\\xff\\xfe.dsc:1: warning: control character 0x02 in the text [control-character]"};
        QTest::newRow("a name holding \\x itself prints apart from a byte that is no text")
            << QByteArray("Sub/Bad\\xff\\xfe.dsc") << QByteArray("\x02\r\n") << 1
            << QStringList{"D/Sub/Bad\\\\xff\\\\xfe.dsc:1: warning: control character 0x02 in the text [control-character]"};
        QTest::newRow("a right-to-left override in a name prints as an escape")
            << QByteArray("readme\u202etxt.nfo") << QByteArray("EPISODE\r\nNAME=\"\"\r\nTHUMBNAIL=\"\"\r\n") << 1
            << QStringList{"D/readme\\u202etxt.nfo:2: warning: NAME is empty: the game lists it without a name [empty-name]",
                           "D/readme\\u202etxt.nfo:3: warning: THUMBNAIL is empty: the game lists it without a picture [empty-thumbnail]"};
        QTest::newRow("a pipe is an error, not a wait") << QByteArray("p.nfo") << QByteArray("fifo") << 1
            << QStringList{"D/p.nfo:1: error: 'D/p.nfo' is not a plain file: it is a pipe [unreadable-file]"};
        QTest::newRow("a link to a device") << QByteArray("d.dsc") << QByteArray("device") << 1
            << QStringList{"D/d.dsc:1: error: 'D/d.dsc' is not a plain file: it is a device [unreadable-file]"};
        QTest::newRow("a link to nothing") << QByteArray("gone.nfo") << QByteArray("dangling") << 1
            << QStringList{"D/gone.nfo:1: error: 'D/gone.nfo' is a link to 'D/nowhere', which does not exist [unreadable-file]"};
    }

    void hostileInput()
    {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, content);
        QFETCH(int, files);
        QFETCH(QStringList, lines);
        TestFolder folder;
        const QByteArray dir = QFile::encodeName(folder.path("mod"));
        QVERIFY(QDir().mkpath(folder.path("mod/Sub")));
        const QByteArray path = dir + "/" + name;
        if (content == "fifo") {
            QCOMPARE(mkfifo(path.constData(), 0600), 0);
        } else if (content == "device") {
            QCOMPARE(symlink("/dev/null", path.constData()), 0);
        } else if (content == "dangling") {
            QCOMPARE(symlink((dir + "/nowhere").constData(), path.constData()), 0);
        } else {
            FILE *file = fopen(path.constData(), "wb");
            QVERIFY(file);
            fwrite(content.constData(), 1, size_t(content.size()), file);
            fclose(file);
        }
        const CheckRun ran = runCommand({"--check", folder.path("mod")});
        QStringList out = QString(ran.out).replace(folder.path("mod"), "D").split('\n');
        QCOMPARE(out.takeLast(), QString());  // every line ends
        QVERIFY2(out.takeLast().startsWith(QString("%1 file").arg(files)), qPrintable(ran.out));
        if (lines.size() > 1 && lines.first().isEmpty()) {  // only the counts are compared
            QCOMPARE(out.size(), lines.size());
            QStringList counts = out.filter(" more ");
            counts.sort();
            QCOMPARE(counts, lines.filter(" more "));
        } else if (!lines.isEmpty()) {
            QCOMPARE(out, lines);
        }
        for (const QString &line : out)
            QVERIFY2(line.startsWith("D/"), qPrintable(line));
        // The JSON report holds the same findings, its text exactly as found.
        const CheckRun json = runCommand({"--check", "--format", "json", folder.path("mod")});
        QCOMPARE(QJsonDocument::fromJson(json.out.toUtf8()).object()["findings"].toArray().size(), out.size());
    }

    // One rule says what a description is, for the check as for opening: a name whose last three
    // letters are DSC. A folder's descriptions and NFO files are found by the same rule.
    void descriptionsByTheirName()
    {
        TestFolder folder;
        QDir().mkpath(folder.path("mod"));
        writeBytes(folder.path("mod/notesDSC"), "\x01\r\n");
        writeBytes(folder.path("mod/Temple.Nfo"), "not a game file\r\n");
        writeBytes(folder.path("mod/readme.txt"), "\x01\r\n");
        const CheckRun given = runCommand({"--check", folder.path("mod/notesDSC")});
        QVERIFY2(given.out.contains("notesDSC:1: warning: control character 0x01 in the text [control-character]"), qPrintable(given.out));
        const CheckRun walked = runCommand({"--check", folder.path("mod")});
        QVERIFY2(walked.out.endsWith("2 files checked, 1 error, 1 warning\n"), qPrintable(walked.out));
        QVERIFY(walked.out.contains("[control-character]") && walked.out.contains("[not-game-nfo]"));
    }

    // Each file once, however often it is reached.
    void eachFileOnce()
    {
        const QString file = Mod + "/Levels/warnings.nfo";
        const CheckRun ran = runCommand({"--check", file, file, Mod + "/Levels", Mod + "/Levels/../Levels/warnings.nfo"});
        QVERIFY2(ran.out.endsWith("4 files checked, 9 errors, 13 warnings\n"), qPrintable(ran.out));
    }

    // Folders deeper than a path can name are an error a strict check fails on, not silence.
    void folderDeeperThanThePathLimit()
    {
        TestFolder folder;
        int at = ::open(QFile::encodeName(folder.path({})).constData(), O_RDONLY | O_DIRECTORY);
        QVERIFY(at >= 0);
        QVERIFY(::mkdirat(at, "mod", 0700) == 0);
        for (int depth = 0; depth <= 2100; ++depth) {
            const char *name = depth == 0 ? "mod" : "d";
            if (depth > 0)
                QVERIFY(::mkdirat(at, name, 0700) == 0);
            const int next = ::openat(at, name, O_RDONLY | O_DIRECTORY);
            ::close(at);
            QVERIFY(next >= 0);
            at = next;
        }
        const int bad = ::openat(at, "bad.nfo", O_WRONLY | O_CREAT, 0600);
        QVERIFY(bad >= 0 && ::write(bad, "LEVEL\r\n", 7) == 7);
        ::close(bad);
        ::close(at);
        const CheckRun ran = runCommand({"--check", "--strict", folder.path("mod")});
        QCOMPARE(ran.status, 1);
        QVERIFY2(ran.out.contains(": error: Cannot reach '") && ran.out.contains("File name too long"), qPrintable(ran.out.left(300)));
        QVERIFY2(ran.out.endsWith("1 file checked, 1 error, 0 warnings\n"), qPrintable(ran.out.right(200)));
        // The folder goes as it came: a path-free removal.
        QProcess::execute("rm", {"-rf", folder.path("mod")});
    }

    // A folder the user cannot read is an error, not silence that a strict check passes.
    void unreadableFolder()
    {
        if (geteuid() == 0)
            QSKIP("the superuser reads every folder");
        TestFolder folder;
        QVERIFY(QDir().mkpath(folder.path("mod/Locked")));
        QFile::setPermissions(folder.path("mod/Locked"), {});
        const CheckRun ran = runCommand({"--check", "--strict", folder.path("mod")});
        QFile::setPermissions(folder.path("mod/Locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(ran.status, 1);
        QVERIFY2(ran.out.contains("error: Cannot read the folder"), qPrintable(ran.out));
    }

    // A report that does not reach its reader is a failure, for the program's own output too.
    // A path that is not valid text, given on the command line, is read by its bytes, as the
    // folder walk reads such names.
    void nameThatIsNotUtf8OnTheCommandLine()
    {
        TestFolder folder;
        const QByteArray name = QFile::encodeName(folder.path("Bad")) + "\xff.nfo";
        FILE *file = fopen(name.constData(), "wb");
        QVERIFY(file);
        fputs("EPISODE\r\nNAME=\"\"\r\nTHUMBNAIL=\"\"\r\n", file);
        fclose(file);
        QProcess brisquel;
        brisquel.setWorkingDirectory(folder.path({}));
        brisquel.start("/bin/sh", {"-c", "exec \"$0\" --check \"$1$(printf '\\377').nfo\"", BRISQUEL_DIST_DIR "/Brisquel",
                                   folder.path("Bad")});
        QVERIFY(brisquel.waitForFinished(30000));
        QCOMPARE(brisquel.readAllStandardError(), QByteArray());
        QCOMPARE(QString::fromUtf8(brisquel.readAllStandardOutput()),
                 folder.path("Bad") + "\\xff.nfo:2: warning: NAME is empty: the game lists it without a name [empty-name]\n"
                 + folder.path("Bad") + "\\xff.nfo:3: warning: THUMBNAIL is empty: the game lists it without a picture [empty-thumbnail]\n"
                                      "1 file checked, 0 errors, 2 warnings\n");
        QCOMPARE(brisquel.exitCode(), 0);
    }

    // The report, the help and the version alike: output that did not arrive is a failure.
    void reportThatCannotBeWritten_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("redirect");
        QTest::newRow("a full disk") << "--check \"$1\"" << ">/dev/full";
        QTest::newRow("a closed output") << "--check \"$1\"" << ">&-";
        QTest::newRow("the help on a full disk") << "--help" << ">/dev/full";
        QTest::newRow("the version to a closed output") << "--version" << ">&-";
    }

    void reportThatCannotBeWritten()
    {
        QFETCH(QString, command);
        QFETCH(QString, redirect);
        QProcess brisquel;
        brisquel.setWorkingDirectory(QDir::tempPath());
        brisquel.start("/bin/sh", {"-c", "exec \"$0\" " + command + " " + redirect, BRISQUEL_DIST_DIR "/Brisquel", Mod});
        QVERIFY(brisquel.waitForFinished(30000));
        const QByteArray err = brisquel.readAllStandardError();
        QCOMPARE(brisquel.exitCode(), 2);
        QVERIFY2(err.startsWith("Brisquel: cannot write the report: "), err.constData());
    }

    // The real program checks without a window: no display, no platform plugin; and it never
    // waits on a settings file that is no plain file (a pipe would wait for a writer forever).
    void runsWithoutADisplay_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("pipeForSettings");
        QTest::addColumn<QString>("output");
        const QString check = Mod + "/readme.nfo:1: error: not a game NFO: the first line is neither LEVEL nor "
                                    "EPISODE [not-game-nfo]\n1 file checked, 1 error, 0 warnings\n";
        QTest::newRow("check") << QStringList{"--check", Mod + "/readme.nfo"} << false << check;
        QTest::newRow("check, the settings file a pipe") << QStringList{"--check", Mod + "/readme.nfo"} << true << check;
        QTest::newRow("version, the settings file a pipe") << QStringList{"--version"} << true << "";
    }

    void runsWithoutADisplay()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, pipeForSettings);
        QFETCH(QString, output);
        TestFolder folder;
        QProcess brisquel;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
        environment.remove("QT_QPA_PLATFORM");
        if (pipeForSettings) {
            QDir().mkpath(folder.path("config/Brisquel"));
            QCOMPARE(::mkfifo(QFile::encodeName(folder.path("config/Brisquel/Brisquel.conf")).constData(), 0600), 0);
            environment.insert("XDG_CONFIG_HOME", folder.path("config"));
        }
        brisquel.setProcessEnvironment(environment);
        brisquel.start(BRISQUEL_DIST_DIR "/Brisquel", arguments);
        QVERIFY(brisquel.waitForFinished(10000));
        const QString out = QString::fromUtf8(brisquel.readAllStandardOutput());
        if (output.isEmpty()) {
            QCOMPARE(brisquel.exitCode(), 0);
            QVERIFY2(out.startsWith("Brisquel "), qPrintable(out));
        } else {
            QCOMPARE(brisquel.exitCode(), 1);
            QCOMPARE(out, output);
        }
        QCOMPARE(brisquel.readAllStandardError(), QByteArray());
    }
#endif
};

QTEST_GUILESS_MAIN(TestModCheck)
#include "test_modcheck.moc"
