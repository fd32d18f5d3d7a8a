// Episode NFO and description texts, the code page, and the two rules that tell NFO kinds apart.

#include "core/codepage.h"
#include "core/dsctext.h"
#include "core/episodenfo.h"
#include "core/nfokind.h"
#include "tests/support/testfiles.h"

#include <QDir>
#include <QTest>

class TestEpisodeDscFormat : public QObject
{
    Q_OBJECT

private slots:
    void episodeBytesAndLog()
    {
        QStringList logged;
        const QString text = EpisodeNfo::generate({"My Episode", ""}, [&](const QString &k) { logged << k; });
        QCOMPARE(text.toLatin1(), QByteArray("EPISODE\r\nNAME=\"My Episode\"\r\nTHUMBNAIL=\"\""));
        QCOMPARE(logged, QStringList({"EPISODE", "NAME", "THUMBNAIL"}));
    }

    void episodeReading_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("thumbnail");
        QTest::addColumn<QStringList>("invalid");
        QTest::addColumn<int>("wrongKind");
        QTest::addColumn<bool>("stopped");
        QTest::newRow("companion template") << QString::fromLatin1(readBytes(testData("new_episode.nfo")))
                                            << "" << "" << QStringList() << 0 << false;
        QTest::newRow("values") << "EPISODE\r\nNAME=\"E1\"\r\nTHUMBNAIL=\"T\\x.tex\"\r\n"
                                << "E1" << "T\\x.tex" << QStringList() << 0 << false;
        QTest::newRow("equals kept whole") << "NAME=\"a=b\"" << "a=b" << "" << QStringList() << 0 << false;
        QTest::newRow("quote cuts") << "NAME=\"a\"b\"" << "a" << "" << QStringList() << 0 << false;
        QTest::newRow("lower-case kind word is invalid") << "episode\r\nNAME=\"n\"" << "n" << ""
                                                          << QStringList{"episode"} << 0 << false;
        QTest::newRow("LEVEL line is the wrong kind, reading goes on")
            << "EPISODE\r\nLEVEL\r\nTHUMBNAIL=\"t\"" << "" << "t" << QStringList() << 1 << false;
        QTest::newRow("blank line reported") << "NAME=\"n\"\r\n \r\n" << "n" << "" << QStringList{" "} << 0 << false;
        QTest::newRow("THUMBNAIL without value stops, keeps earlier")
            << "NAME=\"kept\"\r\nTHUMBNAIL\r\nNAME=\"lost\"" << "kept" << "" << QStringList() << 0 << true;
    }

    void episodeReading()
    {
        QFETCH(QString, text);
        QFETCH(QString, name);
        QFETCH(QString, thumbnail);
        QFETCH(QStringList, invalid);
        QFETCH(int, wrongKind);
        QFETCH(bool, stopped);
        EpisodeFields f;
        const auto outcome = EpisodeNfo::parse(text, f);
        QCOMPARE(f.name, name);
        QCOMPARE(f.thumbnail, thumbnail);
        QStringList lines;
        int wrong = 0;
        for (const auto &n : outcome.notices)
            n.kind == Nfo::Notice::InvalidLine ? void(lines << n.line) : void(++wrong);
        QCOMPARE(lines, invalid);
        QCOMPARE(wrong, wrongKind);
        QCOMPARE(bool(outcome.error), stopped);
    }

    void episodeRefusesWhatCannotBeStored()
    {
        QVERIFY(!EpisodeNfo::checkStorable({"fine", "Textures\\a.tex"}));
        const auto quote = EpisodeNfo::checkStorable({"ok", "bad\"path"});
        QVERIFY(quote && quote->description.contains("'Thumbnail'"));
        const auto foreign = EpisodeNfo::checkStorable({QString::fromUtf8("\u0416"), ""});
        QVERIFY(foreign && foreign->description.contains("'Name'"));
    }

    void dscFileText_data()
    {
        QTest::addColumn<QString>("editorText");
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("ab") << "ab" << QByteArray("ab\r\n");
        QTest::newRow("empty") << "" << QByteArray("\r\n");
        QTest::newRow("line breaks") << "one\ntwo\n\nfour" << QByteArray("one\r\ntwo\r\n\r\nfour\r\n");
        QTest::newRow("ends with a break") << "x\n" << QByteArray("x\r\n\r\n");
    }

    void dscFileText()
    {
        QFETCH(QString, editorText);
        QFETCH(QByteArray, file);
        QCOMPARE(CodePage::encode(DscText::toFile(editorText)), file);
        // Opening that file and saving it unchanged writes the same bytes.
        QCOMPARE(DscText::fromFile(CodePage::decode(file)), editorText);
    }

    void dscWithoutFinalBreakGainsOne()
    {
        QCOMPARE(DscText::fromFile("no break"), QString("no break"));
        QCOMPARE(DscText::toFile(DscText::fromFile("")), QString("\r\n"));
    }

    void everyByteRoundTrips()
    {
        QByteArray all;
        for (int i = 0; i < 256; ++i)
            all.append(char(i));
        const QString text = CodePage::decode(all);
        QCOMPARE(text.size(), 256);
        QCOMPARE(CodePage::firstUnstorable(text), QString());
        QCOMPARE(CodePage::encode(text), all);
    }

    void unstorableCharacterIsNamed_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("named");
        // Windows' own code page conversion writes "O" for an omega and "?" for CJK: those must be
        // caught all the same.
        QTest::newRow("omega, a near look-alike") << QString::fromUtf8("Level \u03a9") << QString::fromUtf8("\u03a9");
        QTest::newRow("CJK after storable accents") << QString::fromUtf8("ok \u00e9\u20ac then \u65e5") << QString::fromUtf8("\u65e5");
        QTest::newRow("emoji") << QString::fromUtf8("emoji \U0001F600") << QString::fromUtf8("\U0001F600");
        QTest::newRow("lone surrogate at the end") << QStringLiteral("k") + QChar(0xD96B) << QString(QChar(0xD96B));
        QTest::newRow("line separator") << QString::fromUtf8("a\u2028b") << QString::fromUtf8("\u2028");
    }

    void unstorableCharacterIsNamed()
    {
        QFETCH(QString, text);
        QFETCH(QString, named);
        QCOMPARE(CodePage::firstUnstorable(text), named);
        const auto error = DscText::checkStorable(text);
        QVERIFY(error && error->description.startsWith("The description contains the character '" + named + "'"));
    }

    void openDialogDecision_data()
    {
        QTest::addColumn<QString>("firstLine");
        QTest::addColumn<int>("kind");
        QTest::newRow("EPISODE") << "EPISODE" << int(NfoKind::Episode);
        QTest::newRow("lower case") << "episode" << int(NfoKind::Episode);
        QTest::newRow("blanks around") << "  Episode  " << int(NfoKind::Episode);
        QTest::newRow("LEVEL") << "LEVEL" << int(NfoKind::Level);
        QTest::newRow("anything else") << "EPISODES" << int(NfoKind::Level);
        QTest::newRow("empty first line") << "" << int(NfoKind::Level);
    }

    void openDialogDecision()
    {
        QFETCH(QString, firstLine);
        QFETCH(int, kind);
        QCOMPARE(int(NfoKind::fromOpenDialogFirstLine(firstLine)), kind);
    }

    void commandLineDecision_data()
    {
        QTest::addColumn<QString>("firstLine");
        QTest::addColumn<int>("kind");
        QTest::newRow("LEVEL") << "LEVEL" << int(NfoKind::Level);
        QTest::newRow("blanks and lower case") << "  level 2" << int(NfoKind::Level);
        QTest::newRow("LEVELS starts with LEVEL") << "LEVELS" << int(NfoKind::Level);
        QTest::newRow("EPISODE") << "EPISODE" << int(NfoKind::Episode);
        QTest::newRow("empty line") << "" << int(NfoKind::Episode);
        QTest::newRow("other") << "LEVE" << int(NfoKind::Episode);
    }

    void commandLineDecision()
    {
        QFETCH(QString, firstLine);
        QFETCH(int, kind);
        QCOMPARE(int(NfoKind::fromCommandLineFirstLine(firstLine)), kind);
    }

    void commandLineDsc_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("dsc");
        QTest::newRow(".dsc") << "/m/a.dsc" << true;
        QTest::newRow(".DSC") << "/m/a.DSC" << true;
        QTest::newRow("no dot") << "/m/mydsc" << true;
        QTest::newRow(".nfo") << "/m/a.nfo" << false;
        QTest::newRow("dsc folder") << "/dsc/a.nfo" << false;
    }

    void commandLineDsc()
    {
        QFETCH(QString, path);
        QFETCH(bool, dsc);
        QCOMPARE(NfoKind::commandLineNamesDsc(path), dsc);
    }

    void emptyFileHasNoFirstLine()
    {
        QCOMPARE(Nfo::firstLine("LEVEL\r\nNAME=\"\"", "x"), QString("LEVEL"));
        try {
            Nfo::firstLine("", "/m/empty.nfo");
            QFAIL("an empty file has no first line");
        } catch (const AppError &error) {
            QCOMPARE(error.number, int(AppError::EmptyFile));
            QVERIFY(error.description.contains(QDir::toNativeSeparators("/m/empty.nfo")));
        }
    }
};

QTEST_GUILESS_MAIN(TestEpisodeDscFormat)
#include "test_episodedscformat.moc"
