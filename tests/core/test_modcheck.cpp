// The mod check: each rule on a fixture mod folder, and the command line's output and exit codes.

#include "core/checkcommand.h"
#include "core/modcheck.h"
#include "tests/support/testfiles.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>
#include <QTextStream>

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
        QCOMPARE(report.warnings(), 10);
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
        QTest::newRow("errors") << QStringList{"--check", Mod} << 1 << "8 files checked, 10 errors, 10 warnings";
        QTest::newRow("warnings only") << QStringList{"--check", Mod + "/Levels/warnings.nfo"} << 0
                                       << "1 file checked, 0 errors, 8 warnings";
        QTest::newRow("warnings, strict") << QStringList{"--strict", "--check", Mod + "/Levels/warnings.nfo"} << 1
                                          << "1 file checked, 0 errors, 8 warnings";
        QTest::newRow("a path that names nothing") << QStringList{"--check", Mod + "/nothing"} << 2
                                                   << "Brisquel: cannot read '" + Mod + "/nothing'";
        QTest::newRow("an unknown option") << QStringList{"--check", "--fast", Mod} << 2 << "Brisquel: Unknown option 'fast'.";
        QTest::newRow("no path") << QStringList{"--check"} << 2 << "Brisquel: --check needs at least one PATH";
        QTest::newRow("an unknown format") << QStringList{"--check", "--format", "xml", Mod} << 2
                                           << "Brisquel: unknown format 'xml'";
        QTest::newRow("version") << QStringList{"--version"} << 0 << "Brisquel 9.9.9";
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
        if (status == 2)
            QVERIFY(ran.out.isEmpty());
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
        QCOMPARE(document["warnings"].toInt(), 10);
        const QJsonArray findings = document["findings"].toArray();
        QCOMPARE(findings.size(), 20);
        const QJsonObject first = findings.first().toObject();
        QCOMPARE(first["path"].toString(), QDir(Mod).filePath("Levels/errors.nfo"));
        QCOMPARE(first["line"].toInt(), 2);
        QCOMPARE(first["severity"].toString(), QString("error"));
    }

    // A first argument that names an existing file opens it, whatever it looks like.
    void filesNamedLikeOptionsStayFiles()
    {
        TestFolder folder;
        QVERIFY(QDir::setCurrent(folder.path({})));
        QVERIFY(CheckCommand::isCommand({"Brisquel", "--check", "x"}));
        QVERIFY(!CheckCommand::isCommand({"Brisquel", "--open-nfo", "x"}));
        writeBytes(folder.path("--check"), "LEVEL\r\n");
        QVERIFY(!CheckCommand::isCommand({"Brisquel", "--check"}));
    }

#ifdef Q_OS_UNIX
    // The real program checks without a window: no display, no platform plugin.
    void runsWithoutADisplay()
    {
        QProcess brisquel;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
        environment.remove("QT_QPA_PLATFORM");
        brisquel.setProcessEnvironment(environment);
        brisquel.start(BRISQUEL_DIST_DIR "/Brisquel", {"--check", Mod + "/readme.nfo"});
        QVERIFY(brisquel.waitForFinished(30000));
        QCOMPARE(brisquel.exitCode(), 1);
        QCOMPARE(QString::fromUtf8(brisquel.readAllStandardOutput()),
                 Mod + "/readme.nfo:1: error: not a game NFO: the first line is neither LEVEL nor EPISODE\n"
                       "1 file checked, 1 error, 0 warnings\n");
        QCOMPARE(brisquel.readAllStandardError(), QByteArray());
    }
#endif
};

QTEST_GUILESS_MAIN(TestModCheck)
#include "test_modcheck.moc"
