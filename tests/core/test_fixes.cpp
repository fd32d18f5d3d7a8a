// Mending what the check finds: each rule's fix on the bytes of a file, and --fix and --diff on
// the command line, which change only the bytes they mend and write a file whole or not at all.

#include "core/checkcommand.h"
#include "core/checkfix.h"
#include "core/checkrules.h"
#include "core/codepage.h"
#include "core/modcheck.h"
#include "core/nfoline.h"
#include "tests/support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTest>
#include <QTextStream>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

const QString Mod = testData("mod");

QByteArray without(QByteArray bytes, const QByteArray &line) { return bytes.replace(line + "\r\n", ""); }

struct FixCase
{
    const char *rule;
    const char *what;
    QByteArray before;
    QByteArray after;  // empty: the finding has no fix
    bool description = false;
};

const QList<FixCase> &fixCases()
{
    const QByteArray good = levelWith("NAME", "Temple");
    // The game folder of these rows is the fixture mod: its Models, Textures and Movies.
    const QByteArray game = QFile::encodeName(Mod);
    static const QList<FixCase> cases{
        {"slash-separator", "each '/' a '\\'", levelWith("LOADING_SCREEN", "Textures/Sub/Thumb.tex"),
         levelWith("LOADING_SCREEN", "Textures\\Sub\\Thumb.tex")},
        {"absolute-path", "under the game folder", levelWith("LOADING_MODEL", game + "/Models/Ship.mdl"),
         levelWith("LOADING_MODEL", "Models\\Ship.mdl")},
        {"absolute-path", "under it in other letters", levelWith("LOADING_MODEL", game.toUpper() + "/Models/Ship.mdl"),
         levelWith("LOADING_MODEL", "Models\\Ship.mdl")},
        {"absolute-path", "elsewhere", levelWith("LOADING_MODEL", "/elsewhere/Models/Ship.mdl"), {}},
        {"absolute-path", "a folder beside it that starts alike", levelWith("LOADING_MODEL", game + "2/Models/Ship.mdl"), {}},
        {"line-ends", "LF only", "LEVEL\nNAME=\"x\"\n", "LEVEL\r\nNAME=\"x\"\r\n"},
        {"line-ends", "a lone CR in a description", "a\r\nb\rc\n", "a\r\nb\r\nc\r\n", true},
        {"line-ends", "more than a fix lists one by one", "x\r\n" + QByteArray("a\n").repeated(10001) + "z",
         "x\r\n" + QByteArray("a\r\n").repeated(10001) + "z", true},
        {"utf8-text", "UTF-8 in a value", levelWith("NAME", "Caf\xc3\xa9 Oasis"), levelWith("NAME", "Caf\xe9 Oasis")},
        {"utf8-text", "two in a description line", "\xc3\xa9t\xc3\xa9\r\nok\r\n", "\xe9t\xe9\r\nok\r\n", true},
        {"utf8-text", "a character the code page lacks", levelWith("NAME", "Caf\xc3\xa9 \xe2\x86\x92"), {}},
        {"yes-no", "lower case", levelWith("LOCKED", "yes"), levelWith("LOCKED", "YES")},
        {"yes-no", "another word", levelWith("LOCKED", "MAYBE"), {}},
        // The reader stops at the ETA of two parts: what follows is never read, and stays.
        {"yes-no", "before the line that stops the reading", "LEVEL\r\nLOCKED=\"no\"\r\nETA=\"10:00\"\r\nMAP_TYPE=\"coop\"\nx",
         "LEVEL\r\nLOCKED=\"NO\"\r\nETA=\"10:00\"\r\nMAP_TYPE=\"coop\"\nx"},
        {"game-mode", "each word in other letters", levelWith("MAP_TYPE", "SINGLE;coop; Deathmatch;"),
         levelWith("MAP_TYPE", "SINGLE;COOP; DEATHMATCH;")},
        {"game-mode", "an unknown mode", levelWith("MAP_TYPE", "SINGLE;ARENA;"), {}},
        {"empty-value", "the line left out", levelWith("LOADING_MODEL", ""), good},
        {"empty-value", "the last line, without a line end", good + "INTRO_MOVIE=\"\"", good},
        {"control-character", "taken out", "a\x01" "b\r\n\x7f\r\nok\r\n", "ab\r\n\r\nok\r\n", true},
        {"asset-not-found", "the one file of its name", levelWith("THUMBNAIL", "Textures\\Old\\thumb.TEX"), good},
        {"asset-not-found", "a game file", levelWith("INTRO_MOVIE", "Movies\\Old\\Intro.ogv"), levelWith("INTRO_MOVIE", "Movies\\Intro.ogv")},
        {"asset-not-found", "no file of its name", levelWith("THUMBNAIL", "Textures\\Gone.tex"), {}},
        {"asset-kind", "the texture by the model's name", levelWith("LOADING_SCREEN", "Models\\Thumb.mdl"),
         levelWith("LOADING_SCREEN", "Textures\\Thumb.tex")},
        {"asset-kind", "no texture by that name", levelWith("LOADING_SCREEN", "Models\\Ship.mdl"), {}},
        {"eta-range", "minutes carried over", levelWith("ETA", "00:75:00"), levelWith("ETA", "01:15:00")},
        {"eta-range", "seconds carried over", levelWith("ETA", "0:59:60"), levelWith("ETA", "01:00:00")},
        {"missing-line", "the new document's line", without(good, "ETA=\"00:25:00\""), without(good, "ETA=\"00:25:00\"") + "ETA=\"00:00:00\"\r\n"},
        {"missing-line", "after a last line without its end", "EPISODE\r\nNAME=\"Road\"", "EPISODE\r\nNAME=\"Road\"\r\nTHUMBNAIL=\"\"\r\n"},
    };
    return cases;
}

// A mod to repair, as another editor left it: a value of each safe fix, a line the game does not
// know and one that stops the reading, which --fix leaves exactly as they are.
const QByteArray Broken = "LEVEL\r\nNAME=\"Caf\xc3\xa9 Oasis\"\r\nMAP_TYPE=\"single;\"\r\nTHUMBNAIL=\"Textures/Thumb.tex\"\r\n"
                          "ETA=\"00:75:00\"\r\nLOCKED=\"no\"\r\nMODEL_NAME=\"\"\r\nBOGUS=\"kept \xff\"\r\n";
const QByteArray Mended = "LEVEL\r\nNAME=\"Caf\xe9 Oasis\"\r\nMAP_TYPE=\"SINGLE;\"\r\nTHUMBNAIL=\"Textures\\Thumb.tex\"\r\n"
                          "ETA=\"00:75:00\"\r\nLOCKED=\"NO\"\r\nBOGUS=\"kept \xff\"\r\n";

} // namespace

class TestFixes : public QObject
{
    Q_OBJECT

private slots:
    // Each fix: the file's bytes before and after, every other byte as it was, and the mended
    // file passes the rule.
    void eachFix_data()
    {
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<bool>("description");
        for (const FixCase &c : fixCases())
            QTest::addRow("%s: %s", c.rule, c.what) << QString(c.rule) << c.before << c.after << c.description;
    }

    void eachFix()
    {
        QFETCH(QString, rule);
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QFETCH(bool, description);
        const ModCheck::Rule *known = ModCheck::ruleById(rule);
        QVERIFY(known);
        const auto kind = description ? ModCheck::FileKind::Description : ModCheck::FileKind::Nfo;
        const QString path = Mod + (description ? "/case.dsc" : "/Levels/case.nfo");
        QList<ModCheck::Finding> found;
        for (const ModCheck::Finding &finding : ModCheck::checkBytes(before, kind, path, Mod)) {
            if (finding.rule == rule)
                found.append(finding);
        }
        QVERIFY2(!found.isEmpty(), "the rule finds it");
        QList<ModCheck::Finding> applied;
        const QByteArray mended = ModCheck::applyFixes(before, found, ModCheck::FixLevel::Suggestions, &applied);
        if (after.isEmpty()) {
            QVERIFY(applied.isEmpty());
            QCOMPARE(mended, before);
            return;
        }
        QCOMPARE(mended, after);
        QCOMPARE(applied.size(), found.size());
        for (const ModCheck::Finding &finding : applied) {
            QCOMPARE(finding.fix.kind, known->fixes);
            QVERIFY(!finding.fix.what.isEmpty());
            // Safe fixes only: a suggestion is applied only when asked for.
            const QByteArray safe = ModCheck::applyFixes(before, {finding}, ModCheck::FixLevel::Safe, nullptr);
            QCOMPARE(safe == before, known->fixes == ModCheck::FixKind::Suggestion);
        }
        for (const ModCheck::Finding &finding : ModCheck::checkBytes(mended, kind, path, Mod))
            QVERIFY2(finding.rule != rule, qPrintable(finding.text));
    }

    // In a code page of more than one byte a character (a Japanese system), a fix edits the bytes
    // of its value, wherever the characters before it put them.
    void fixesInAMultiByteCodePage()
    {
        CodePage::Override japanese("Shift_JIS", "the code page 932 (Japanese)");
        if (CodePage::isSingleByte())
            QSKIP("This system reads no other code page in its place: the Windows stage runs this in a Japanese prefix");
        const QByteArray before = levelWith("NAME", "\x93\xfa\x96\x7b") + "LOADING_SCREEN=\"\x93\xfa/\x96\x7b.tex\"\r\nMODEL_ROTATE=\"yes\"\r\n";
        const QByteArray after = levelWith("NAME", "\x93\xfa\x96\x7b") + "LOADING_SCREEN=\"\x93\xfa\\\x96\x7b.tex\"\r\nMODEL_ROTATE=\"YES\"\r\n";
        const auto found = ModCheck::checkBytes(before, ModCheck::FileKind::Nfo, Mod + "/Levels/case.nfo", Mod);
        QCOMPARE(ModCheck::applyFixes(before, found, ModCheck::FixLevel::Safe, nullptr), after);
    }

    // Every rule that says it mends has rows above, every other rule never offers a fix, and the
    // help page says which kind of fix each has.
    void everyFixHasItsRowsAndItsHelp()
    {
        const QString help = QString::fromUtf8(readBytes(BRISQUEL_SOURCE_DIR "/resources/help/check.htm"));
        for (const ModCheck::Rule &rule : ModCheck::rules()) {
            const bool rows = std::any_of(fixCases().begin(), fixCases().end(), [&](const FixCase &c) {
                return QLatin1String(c.rule) == QLatin1String(rule.id) && !c.after.isEmpty();
            });
            QCOMPARE(rows, rule.fixes != ModCheck::FixKind::None);
            const qsizetype section = help.indexOf(QString("<h3 id=\"%1\">").arg(rule.id));
            QVERIFY2(section >= 0, rule.id);
            const QString text = help.mid(section, help.indexOf("<h3", section + 1) - section);
            const char *says = rule.fixes == ModCheck::FixKind::Safe ? "<p class=\"fix\">Safe fix: "
                               : rule.fixes == ModCheck::FixKind::Suggestion ? "<p class=\"fix\">Suggested fix: "
                                                                             : "<p class=\"fix\">No fix.";
            QVERIFY2(text.contains(says), rule.id);
        }
    }

    // --fix mends the file in place, says what it mended, reports what is left; the lines it does
    // not understand stay byte for byte, and the file keeps its permissions. A second run has
    // nothing left to mend.
    void fixInPlace()
    {
        TestFolder folder;
        const QString level = folder.path("Ra/Levels/Temple.nfo");
        QDir().mkpath(QFileInfo(level).path());
        QDir().mkpath(folder.path("Ra/Textures"));
        writeBytes(level, Broken);
        writeBytes(folder.path("Ra/Textures/Thumb.tex"), "");
        QFile::setPermissions(level, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
        const CheckRun ran = runCommand({"--check", "--fix", folder.path("Ra")});
        QCOMPARE(readBytes(level), Mended);
#ifdef Q_OS_UNIX
        QCOMPARE(QFileInfo(level).permissions() & 0x7077, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
#endif
        const QStringList lines = ran.out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.filter(": fixed: ").size(), 5);
        QVERIFY2(lines.contains(QDir::toNativeSeparators(level) + ":6: fixed: LOCKED 'no' becomes 'NO' [yes-no]"), qPrintable(ran.out));
        QVERIFY(lines.contains(QDir::toNativeSeparators(level) + ":5: warning: ETA '00:75:00' has minutes over 59 [eta-range]"));
        QCOMPARE(lines.last(), QString("1 file checked, 1 error, 1 warning, 5 fixed"));
        QCOMPARE(ran.status, 1);  // the line the game ignores is left, an error

        const CheckRun again = runCommand({"--check", "--fix", "--format", "json", folder.path("Ra")});
        QCOMPARE(readBytes(level), Mended);
        const QJsonObject report = QJsonDocument::fromJson(again.out.toUtf8()).object();
        QVERIFY(!report.contains("fixed"));
        // What is left offers its suggestion, with the bytes it would replace.
        const QJsonArray findings = report["findings"].toArray();
        const auto eta = std::find_if(findings.begin(), findings.end(), [](const QJsonValue &f) { return f["rule"] == "eta-range"; });
        QVERIFY(eta != findings.end());
        const QJsonObject fix = (*eta).toObject()["fix"].toObject();
        QCOMPARE(fix["kind"].toString(), QString("suggestion"));
        const QJsonObject replaced = fix["replacements"].toArray().at(0).toObject();
        QCOMPARE(Mended.mid(replaced["offset"].toInt(), replaced["length"].toInt()), QByteArray("00:75:00"));
        QCOMPARE(replaced["text"].toString(), QString("01:15:00"));

        QCOMPARE(runCommand({"--check", "--fix", "--suggestions", folder.path("Ra")}).status, 1);
        QCOMPARE(readBytes(level), QByteArray(Mended).replace("00:75:00", "01:15:00"));
    }

    // A file of more alike findings than a round makes is mended whole, in rounds; the fixes are
    // listed as findings are, the first few of a rule and a count of the rest.
    void manyAlikeFixes()
    {
        TestFolder folder;
        const QString notes = folder.path("notes.dsc");
        constexpr int Lines = ModCheck::MostFindingsPerMend + 5000;
        writeBytes(notes, QByteArray("a\x01\r\n").repeated(Lines));
        const CheckRun ran = runCommand({"--check", "--fix", notes});
        QCOMPARE(readBytes(notes), QByteArray("a\r\n").repeated(Lines));
        const QStringList lines = ran.out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), ModCheck::MostFindingsPerRule + 2);
        QVERIFY2(lines.at(ModCheck::MostFindingsPerRule).endsWith(": fixed: 104,980 more control-character fixes in this file, not listed [control-character]"),
                 qPrintable(lines.at(ModCheck::MostFindingsPerRule)));
        QCOMPARE(lines.last(), QString("1 file checked, 0 errors, 0 warnings, %1 fixed").arg(Lines));
        QCOMPARE(ran.status, 0);
    }

    // --diff writes nothing, and prints what --fix would change as a patch that git applies to
    // give the same bytes; 1 when it would change something, 0 when not.
    void diffWritesNothing()
    {
        TestFolder folder;
        const QString level = folder.path("Ra/Levels/Temple.nfo"), notes = folder.path("Ra/Ra.dsc");
        QDir().mkpath(QFileInfo(level).path());
        writeBytes(level, Broken);
        writeBytes(notes, "Welcome\x07 to the oasis.\r\n" + QByteArray("line\r\n").repeated(8) + "The\x01 end\r\n");
        const QDateTime modified = QFileInfo(level).lastModified();
        const QString current = QDir::currentPath();
        QDir::setCurrent(folder.path("."));
        const auto back = qScopeGuard([&current] { QDir::setCurrent(current); });
        const CheckRun ran = runCommand({"--check", "--diff", "Ra"});
        QCOMPARE(ran.status, 1);
        QCOMPARE(readBytes(level), Broken);
        QCOMPARE(QFileInfo(level).lastModified(), modified);
        QVERIFY2(ran.out.startsWith("--- a/Ra/Levels/Temple.nfo\n+++ b/Ra/Levels/Temple.nfo\n@@ -1,8 +1,7 @@\n LEVEL\r\n"),
                 qPrintable(ran.out));
        QVERIFY(ran.out.contains("\n-MODEL_NAME=\"\"\r\n"));
        // Two hunks in the description: its first line, and its last one, far below it.
        QCOMPARE(ran.out.count("\n@@ "), 3);

        const QString git = QStandardPaths::findExecutable("git");
        if (git.isEmpty())
            QSKIP("git is not installed");
        writeBytes(folder.path("fix.patch"), ran.out.toLatin1());
        QProcess apply;
        apply.setWorkingDirectory(folder.path("."));
        apply.start(git, {"apply", "--whitespace=nowarn", "fix.patch"});
        QVERIFY(apply.waitForFinished());
        QVERIFY2(apply.exitCode() == 0, apply.readAllStandardError().constData());
        QCOMPARE(readBytes(level), Mended);
        QCOMPARE(readBytes(notes), "Welcome to the oasis.\r\n" + QByteArray("line\r\n").repeated(8) + "The end\r\n");
        const CheckRun clean = runCommand({"--check", "--diff", "Ra"});
        QCOMPARE(clean.out, QString());
        QCOMPARE(clean.status, 0);
    }

    // A file that cannot be written is an error finding and stays as it was, whole.
    void fileThatCannotBeWritten_data()
    {
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("read-only") << true;
        QTest::newRow("a full disk") << false;
    }

    void fileThatCannotBeWritten()
    {
#ifndef Q_OS_UNIX
        QSKIP("The file size limit is a Unix one");
#else
        QFETCH(bool, readOnly);
        TestFolder folder;
        const QString level = folder.path("Temple.nfo");
        writeBytes(level, Broken);
        CheckRun ran{};
        if (readOnly) {
            QFile::setPermissions(level, QFile::ReadOwner | QFile::ReadGroup);
            ran = runCommand({"--check", "--fix", level});
        } else {
            FileSizeLimit limit(Broken.size() / 2);
            ran = runCommand({"--check", "--fix", level});
        }
        QCOMPARE(readBytes(level), Broken);
        QCOMPARE(ran.status, 1);
        QVERIFY2(!ran.out.contains(": fixed: "), qPrintable(ran.out));
        const QString first = ran.out.section('\n', 0, 0);
        QVERIFY2(first.startsWith(QDir::toNativeSeparators(level) + ":1: error: Cannot write '") && first.endsWith("[unwritable-file]"),
                 qPrintable(first));
        QVERIFY2(first.contains(readOnly ? "it is read-only" : "the file is too large"), qPrintable(first));
        QVERIFY(ran.out.contains("[yes-no]"));  // the findings are those of the file as it is
        QCOMPARE(QDir(folder.path(".")).entryList(QDir::Files | QDir::Hidden), QStringList{"Temple.nfo"});
#endif
    }

    // A file whose name is no text is mended by its bytes or not at all: never as another file.
    void nameThatIsNoText()
    {
#ifndef Q_OS_UNIX
        QSKIP("Windows names are always text");
#else
        TestFolder folder;
        const QByteArray name = QFile::encodeName(folder.path("notes")) + "\xff.dsc";
        const int file = ::open(name.constData(), O_WRONLY | O_CREAT, 0644);
        QVERIFY(file >= 0);
        QCOMPARE(::write(file, "a\nb\n", 4), 4);
        ::close(file);
        const CheckRun ran = runCommand({"--check", "--fix", folder.path(".")});
        QVERIFY2(ran.out.contains("its name holds bytes that are no text [unwritable-file]"), qPrintable(ran.out));
        char held[8] = {};
        const int again = ::open(name.constData(), O_RDONLY);
        QCOMPARE(::read(again, held, sizeof held), 4);
        ::close(again);
        QCOMPARE(QByteArray(held), QByteArray("a\nb\n"));
#endif
    }

    // The options that change files go with --check and not with each other.
    void fixOptions_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("error");
        QTest::newRow("both") << QStringList{"--check", "--fix", "--diff", "x"} << "--fix and --diff";
        QTest::newRow("suggestions alone") << QStringList{"--check", "--suggestions", "x"} << "--suggestions goes with";
        QTest::newRow("without --check") << QStringList{"--fix", "x"} << "options without --check";
    }

    void fixOptions()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, error);
        const CheckRun ran = runCommand(arguments);
        QCOMPARE(ran.status, 2);
        QVERIFY2(ran.err.contains(error), qPrintable(ran.err));
    }
};

QTEST_GUILESS_MAIN(TestFixes)
#include "test_fixes.moc"
