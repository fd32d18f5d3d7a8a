// The mod check: each rule on a fixture mod folder, and the command line's output and exit codes.

#include "core/checkcommand.h"
#include "core/episodenfo.h"
#include "core/levelnfo.h"
#include "core/modcheck.h"
#include "tests/support/testfiles.h"

#include <QDir>
#include <QFile>
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

struct Ran
{
    int status;
    QString out;
    QString err;
};

Ran runCommand(const QStringList &arguments)
{
    Ran ran{0, {}, {}};
    QTextStream out(&ran.out), err(&ran.err);
    ran.status = CheckCommand::run(QStringList{"Brisquel"} + arguments, "9.9.9", {}, out, err);
    return ran;
}

} // namespace

class TestModCheck : public QObject
{
    Q_OBJECT

private slots:
    void rules_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("line");
        QTest::addColumn<bool>("error");
        QTest::addColumn<QString>("text");
        QTest::newRow("not a game NFO, reported once") << "readme.nfo" << 1 << true << "not a game NFO";
        QTest::newRow("the other kind's word") << "Levels/errors.nfo" << 2 << true << "the other kind's word 'EPISODE'";
        QTest::newRow("an invalid line") << "Levels/errors.nfo" << 3 << true << "invalid line, which is ignored: 'name=";
        QTest::newRow("a value cut short by a double quote") << "Levels/errors.nfo" << 4 << true
                                                             << "the value ends at its second double quote; 'short\"'";
        QTest::newRow("an absolute Windows path") << "Levels/errors.nfo" << 6 << true << "'C:\\Games\\Ship.mdl' is an absolute path";
        QTest::newRow("an absolute path") << "Levels/errors.nfo" << 7 << true << "'/home/me/Thumb.tex' is an absolute path";
        QTest::newRow("a line the reader cannot take") << "Levels/errors.nfo" << 10 << true
                                                       << "the line has no value in double quotes: 'NAME': reading stops here";
        QTest::newRow("a required key missing") << "Levels/missing.nfo" << 1 << true << "the THUMBNAIL line is missing";
        QTest::newRow("LF-only line ends") << "Levels/warnings.nfo" << 1 << false << "LF-only line ends";
        QTest::newRow("an unknown game mode") << "Levels/warnings.nfo" << 3 << false << "unknown game mode 'ARENA'";
        QTest::newRow("'/' separators") << "Levels/warnings.nfo" << 4 << false << "'Models/Ship.mdl' has '/' separators";
        QTest::newRow("a distance that is no number") << "Levels/warnings.nfo" << 5 << false << "MODEL_DISTANCE 'far' is not a number";
        QTest::newRow("an extension that does not fit the field") << "Levels/warnings.nfo" << 6 << false
                                                                  << "'Textures\\Thumb.mdl' should be a texture, a .tex file";
        QTest::newRow("an asset not found as a file") << "Levels/warnings.nfo" << 7 << false
                                                      << "'Textures\\Gone.tex' not found as a file";
        QTest::newRow("an ETA that is not three numbers") << "Levels/warnings.nfo" << 8 << false << "ETA '1:2:soon'";
        QTest::newRow("minutes over 59") << "Levels/warnings.nfo" << 10 << false << "ETA '0:75:00' has minutes over 59";
        QTest::newRow("a yes-no value in lower case") << "Levels/warnings.nfo" << 11 << false
                                                      << "MODEL_ROTATE 'yes' is neither YES nor NO";
        QTest::newRow("a yes-no value that is neither") << "Levels/warnings.nfo" << 12 << false
                                                        << "LOCKED 'MAYBE' is neither YES nor NO";
        QTest::newRow("a name of blanks") << "Levels/warnings.nfo" << 13 << false << "NAME is empty";
        QTest::newRow("UTF-8 text in a single-byte file") << "Levels/warnings.nfo" << 14 << false
                                                          << QString::fromUtf8("'Ã©' looks like UTF-8 text");
        QTest::newRow("a description with CR-only line ends") << "odd.dsc" << 1 << false << "CR-only line ends";
        QTest::newRow("a control character in a description") << "odd.dsc" << 2 << false << "control character 0x01";
    }

    void rules()
    {
        QFETCH(QString, file);
        QFETCH(int, line);
        QFETCH(bool, error);
        QFETCH(QString, text);
        const ModCheck::Report report = ModCheck::check({Mod}, {});
        const QString path = QDir(Mod).filePath(file);
        const auto found = std::find_if(report.findings.begin(), report.findings.end(), [&](const ModCheck::Finding &f) {
            return f.path == path && f.line == line && f.text.startsWith(text);
        });
        QVERIFY2(found != report.findings.end(), qPrintable(path + ":" + QString::number(line) + ": " + text));
        QCOMPARE(found->severity, error ? ModCheck::Severity::Error : ModCheck::Severity::Warning);
        // Nothing more than the rules find: good files (their assets in the mod folder) are silent.
        QCOMPARE(report.files, 8);
        QCOMPARE(report.errors(), 10);
        QCOMPARE(report.warnings(), 15);
    }

    // A new file from the desktop's New menu has no error; its one warning asks for the name.
    void newFilesHaveNoErrors()
    {
        for (const QByteArray &bytes : {LevelNfo::newFileTemplate(), EpisodeNfo::newFileTemplate()}) {
            const auto findings = ModCheck::checkBytes(bytes, ModCheck::FileKind::Nfo, {}, {});
            QCOMPARE(findings.size(), 1);
            QCOMPARE(findings[0].key, QString("NAME"));
            QCOMPARE(ModCheck::compilerLine(findings[0]), QString(":2: warning: NAME is empty: the game lists it without a name"));
        }
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
        const Ran ran = runCommand(arguments);
        QCOMPARE(ran.status, status);
        const QStringList lines = (status == 2 ? ran.err : ran.out).trimmed().split('\n');
        QVERIFY2(status == 2 ? lines.first().startsWith(lastLine) : lines.last() == lastLine, qPrintable(lines.join('|')));
        if (status == 2) {
            QVERIFY(ran.out.isEmpty());
            QCOMPARE(lines.size(), 2);  // the error and "Try 'Brisquel --help'."
        }
    }

    void helpNamesTheOptions()
    {
        const Ran ran = runCommand({"--help"});
        QCOMPARE(ran.status, 0);
        for (const char *option : {"--check", "--strict", "--format"})
            QVERIFY2(ran.out.contains(option), option);
    }

    void jsonReadsBack()
    {
        const Ran ran = runCommand({"--check", "--format", "json", Mod});
        QCOMPARE(ran.status, 1);
        QJsonParseError parsed;
        const QJsonObject document = QJsonDocument::fromJson(ran.out.toUtf8(), &parsed).object();
        QCOMPARE(parsed.error, QJsonParseError::NoError);
        QCOMPARE(document["files"].toInt(), 8);
        QCOMPARE(document["errors"].toInt(), 10);
        QCOMPARE(document["warnings"].toInt(), 15);
        const QJsonArray findings = document["findings"].toArray();
        QCOMPARE(findings.size(), 25);
        const QJsonObject first = findings.first().toObject();
        QCOMPARE(first["path"].toString(), QDir::toNativeSeparators(QDir(Mod).filePath("Levels/errors.nfo")));  // as the window shows it
        QCOMPARE(first["line"].toInt(), 2);
        QCOMPARE(first["severity"].toString(), QString("error"));
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
        const Ran ran = runCommand({"--check", folder.path("mod")});
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
        const QString more = "D/c.dsc:20: warning: 1,000 more control-character findings in this file, not listed";
        QTest::newRow("a rule on every line: 20 listed, then a count") << QByteArray("c.dsc")
            << QByteArray("\x01\r\n").repeated(1020) << 1
            << (QStringList(20, "") << more);
        // Two rules that end on the same line: each count names its own.
        QTest::newRow("two rules on every line: each count names its rule") << QByteArray("two.dsc")
            << QByteArray("\x01 caf\xc3\xa9\r\n").repeated(30) << 1
            << (QStringList(40, "") << "D/two.dsc:20: warning: 10 more control-character findings in this file, not listed"
                                    << "D/two.dsc:20: warning: 10 more utf8-text findings in this file, not listed");
        QTest::newRow("a name with a line break cannot forge a finding") << QByteArray("b\nb.nfo:7: error: forged.nfo")
            << QByteArray("EPISODE\r\nNAME=\"\"\r\nTHUMBNAIL=\"\"\r\n") << 1 << QStringList();
        QTest::newRow("a name with %1 is not filled in") << QByteArray("100%1.nfo") << QByteArray("LEVEL\r\n") << 1
            << QStringList{"D/100%1.nfo:1: error: the NAME line is missing, and the game needs it",
                           "D/100%1.nfo:1: error: the MAP_TYPE line is missing, and the game needs it",
                           "D/100%1.nfo:1: error: the THUMBNAIL line is missing, and the game needs it",
                           "D/100%1.nfo:1: error: the ETA line is missing, and the game needs it",
                           "D/100%1.nfo:1: error: the LOCKED line is missing, and the game needs it"};
        QTest::newRow("escape sequences in a value reach no terminal") << QByteArray("e.nfo")
            << QByteArray("LEVEL\r\nNAME=\"x\"\r\nMAP_TYPE=\"\x1b[2J\x07\"\r\nLOADING_MODEL=\"\"\r\nTHUMBNAIL=\"\"\r\n"
                          "ETA=\"0:0:0\"\r\nLOCKED=\"NO\"\r\n") << 1
            << QStringList{"D/e.nfo:3: warning: unknown game mode '\\x1b[2J\\x07' in MAP_TYPE (SINGLE, COOP or DEATHMATCH)"};
        QTest::newRow("a name that is not UTF-8 is read by its bytes") << QByteArray("Sub/Bad\xff\xfe.dsc")
            << QByteArray("\x02\r\n") << 1
            << QStringList{"D/Sub/Bad\\xff\\xfe.dsc:1: warning: control character 0x02 in the text"};
        QTest::newRow("a name holding \\x itself prints apart from a byte that is no text")
            << QByteArray("Sub/Bad\\xff\\xfe.dsc") << QByteArray("\x02\r\n") << 1
            << QStringList{"D/Sub/Bad\\\\xff\\\\xfe.dsc:1: warning: control character 0x02 in the text"};
        QTest::newRow("a right-to-left override in a name prints as an escape")
            << QByteArray("readme\u202etxt.nfo") << QByteArray("EPISODE\r\nNAME=\"\"\r\nTHUMBNAIL=\"\"\r\n") << 1
            << QStringList{"D/readme\\u202etxt.nfo:2: warning: NAME is empty: the game lists it without a name"};
        QTest::newRow("a pipe is an error, not a wait") << QByteArray("p.nfo") << QByteArray("fifo") << 1
            << QStringList{"D/p.nfo:1: error: 'D/p.nfo' is not a plain file: it is a pipe"};
        QTest::newRow("a link to a device") << QByteArray("d.dsc") << QByteArray("device") << 1
            << QStringList{"D/d.dsc:1: error: 'D/d.dsc' is not a plain file: it is a device"};
        QTest::newRow("a link to nothing") << QByteArray("gone.nfo") << QByteArray("dangling") << 1
            << QStringList{"D/gone.nfo:1: error: 'D/gone.nfo' is a link to 'D/nowhere', which does not exist"};
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
        const Ran ran = runCommand({"--check", folder.path("mod")});
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
        const Ran json = runCommand({"--check", "--format", "json", folder.path("mod")});
        QCOMPARE(QJsonDocument::fromJson(json.out.toUtf8()).object()["findings"].toArray().size(), out.size());
    }

    // Each file once, however often it is reached.
    void eachFileOnce()
    {
        const QString file = Mod + "/Levels/warnings.nfo";
        const Ran ran = runCommand({"--check", file, file, Mod + "/Levels", Mod + "/Levels/../Levels/warnings.nfo"});
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
        const Ran ran = runCommand({"--check", "--strict", folder.path("mod")});
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
        const Ran ran = runCommand({"--check", "--strict", folder.path("mod")});
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
                 folder.path("Bad") + "\\xff.nfo:2: warning: NAME is empty: the game lists it without a name\n"
                                      "1 file checked, 0 errors, 1 warning\n");
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
                                    "EPISODE\n1 file checked, 1 error, 0 warnings\n";
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
