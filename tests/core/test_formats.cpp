// The document formats: the Level and Episode NFO texts, the description text, the code page,
// and the rules that tell NFO kinds apart.

#include "core/codepage.h"
#include "core/documentfile.h"
#include "core/dsctext.h"
#include "core/episodenfo.h"
#include "core/levelnfo.h"
#include "core/nfokind.h"
#include "tests/support/testfiles.h"

#include <QFile>
#include <QTest>

namespace {

const QByteArray NewDocumentText = "LEVEL\r\nNAME=\"\"\r\nMAP_TYPE=\"\"\r\nLOADING_MODEL=\"\"\r\n"
                                   "MODEL_ANIMATION=\"\"\r\nMODEL_ROTATE=\"YES\"\r\nMODEL_DISTANCE=\"\"\r\n"
                                   "MODEL_NAME=\"\"\r\nLOADING_SCREEN=\"\"\r\nTHUMBNAIL=\"\"\r\n"
                                   "ETA=\"00:00:00\"\r\nEPISODE_MOVIE=\"\"\r\nINTRO_MOVIE=\"\"\r\n"
                                   "OUTRO_MOVIE=\"\"\r\nLOCKED=\"YES\"";

QString generateText(const LevelFields &fields) { return LevelNfo::generate(fields); }

} // namespace

class TestFormats : public QObject
{
    Q_OBJECT

private slots:
    void newDocumentIsFifteenLinesWithKeysLogged()
    {
        for (int i = 0; i < LevelRowCount; ++i)
            QCOMPARE(int(LevelNfo::rows()[size_t(i)].row), i);
        QCOMPARE(generateText(LevelFields::newDocument()).toLatin1(), NewDocumentText);
        QCOMPARE(LevelNfo::loggedKeys(), QStringList({"LEVEL", "MAP_TYPE", "LOADING_MODEL", "MODEL_ANIMATION",
                                      "MODEL_ROTATE", "MODEL_DISTANCE", "MODEL_NAME", "LOADING_SCREEN",
                                      "THUMBNAIL", "EPISODE_MOVIE", "INTRO_MOVIE", "OUTRO_MOVIE",
                                      "LOCKED"}));
    }

    void everyFieldWritten()
    {
        LevelFields f = LevelFields::newDocument();
        f.name = "Ruins";
        f.loadingModel = "Models\\Ship.mdl";
        f.modelAnimation = "Idle";
        f.modelDistance = "12.5";
        f.modelName = "Ship";
        f.loadingScreen = "Textures\\Load.tex";
        f.thumbnail = "Textures\\Thumb.tex";
        f.episodeMovie = "Movies\\Ep.ogv";
        f.introMovie = "Movies\\In.ogv";
        f.outroMovie = "Movies\\Out.ogv";
        f.mapType = {true, false, true};
        f.rotate = false;
        f.eta = {"1", "02", "30"};
        f.locked = false;
        QCOMPARE(generateText(f).toLatin1(),
                 QByteArray("LEVEL\r\nNAME=\"Ruins\"\r\nMAP_TYPE=\"SINGLE;DEATHMATCH;\"\r\n"
                            "LOADING_MODEL=\"Models\\Ship.mdl\"\r\nMODEL_ANIMATION=\"Idle\"\r\n"
                            "MODEL_ROTATE=\"NO\"\r\nMODEL_DISTANCE=\"12.5\"\r\nMODEL_NAME=\"Ship\"\r\n"
                            "LOADING_SCREEN=\"Textures\\Load.tex\"\r\nTHUMBNAIL=\"Textures\\Thumb.tex\"\r\n"
                            "ETA=\"1:02:30\"\r\nEPISODE_MOVIE=\"Movies\\Ep.ogv\"\r\n"
                            "INTRO_MOVIE=\"Movies\\In.ogv\"\r\nOUTRO_MOVIE=\"Movies\\Out.ogv\"\r\n"
                            "LOCKED=\"NO\""));
    }

    void excludedFieldsAreLeftOut()
    {
        LevelFields f = LevelFields::newDocument();
        f.included.fill(false);
        f.modelAnimation = "kept but not written";
        QCOMPARE(generateText(f).toLatin1(),
                 QByteArray("LEVEL\r\nNAME=\"\"\r\nMAP_TYPE=\"\"\r\nTHUMBNAIL=\"\"\r\n"
                            "ETA=\"00:00:00\"\r\nLOCKED=\"YES\""));
    }

    void mapTypeValues_data()
    {
        QTest::addColumn<bool>("single");
        QTest::addColumn<bool>("coop");
        QTest::addColumn<bool>("deathmatch");
        QTest::addColumn<QString>("value");
        QTest::newRow("none") << false << false << false << "";
        QTest::newRow("single") << true << false << false << "SINGLE;";
        QTest::newRow("coop") << false << true << false << "COOP; ";
        QTest::newRow("deathmatch") << false << false << true << "DEATHMATCH;";
        QTest::newRow("single+coop") << true << true << false << "SINGLE;COOP; ";
        QTest::newRow("single+deathmatch") << true << false << true << "SINGLE;DEATHMATCH;";
        QTest::newRow("coop+deathmatch") << false << true << true << "COOP; DEATHMATCH;";
        QTest::newRow("all") << true << true << true << "SINGLE;COOP; DEATHMATCH;";
    }

    void mapTypeValues()
    {
        QFETCH(bool, single);
        QFETCH(bool, coop);
        QFETCH(bool, deathmatch);
        QFETCH(QString, value);
        LevelFields f = LevelFields::newDocument();
        f.mapType = {single, coop, deathmatch};
        const QString text = generateText(f);
        QVERIFY2(text.contains("\r\nMAP_TYPE=\"" + value + "\"\r\n"), qPrintable(text));

        // ... and each combination reads back as it was.
        LevelFields read;
        const auto outcome = LevelNfo::parse(text, read);
        QVERIFY(outcome.notices.isEmpty() && !outcome.error);
        QCOMPARE(read.mapType, f.mapType);
    }

    void linesReadBack_data()
    {
        QTest::addColumn<bool>("episode");  // read as an Episode NFO, not a Level NFO
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("invalidLines");
        QTest::addColumn<int>("wrongKind");
        QTest::addColumn<int>("errorNumber");  // none: no error
        QTest::addColumn<int>("dropped");      // lines a save would not write back
        const int none = 0, stopped = AppError::BadFileLine;
        QTest::newRow("value with equals reads whole") << false << "LEVEL\r\nNAME=\"a=b\"" << "a=b" << QStringList() << 0 << none << 0;
        QTest::newRow("text after closing quote ignored") << false << "NAME=\"Keep\" junk\"x\"" << "Keep" << QStringList() << 0 << none << 0;
        QTest::newRow("blanks before opening quote") << false << "NAME=  \"Keep\"" << "Keep" << QStringList() << 0 << none << 0;
        QTest::newRow("no closing quote reads to end") << false << "NAME=\"Open end" << "Open end" << QStringList() << 0 << none << 0;
        QTest::newRow("later line wins") << false << "NAME=\"one\"\r\nNAME=\"two\"" << "two" << QStringList() << 0 << none << 0;
        QTest::newRow("lower-case key is invalid") << false << "name=\"x\"" << "" << QStringList{"name=\"x\""} << 0 << none << 1;
        QTest::newRow("blank before key is invalid") << false << " NAME=\"x\"" << "" << QStringList{" NAME=\"x\""} << 0 << none << 1;
        QTest::newRow("blank before equals is invalid") << false << "NAME =\"x\"" << "" << QStringList{"NAME =\"x\""} << 0 << none << 1;
        QTest::newRow("line of blanks is invalid") << false << "LEVEL\r\n  \r\nNAME=\"n\"" << "n" << QStringList{"  "} << 0 << none << 1;
        QTest::newRow("empty lines are silent") << false << "LEVEL\r\n\r\n\r\nNAME=\"n\"\r\n" << "n" << QStringList() << 0 << none << 0;
        QTest::newRow("LF-only file reads its values")
            << false << "LEVEL\nNAME=\"n\"\n" << "n" << QStringList() << 0 << none << 0;
        QTest::newRow("mixed CR LF and LF line ends")
            << false << "LEVEL\r\nMODEL_NAME=\"m\"\nNAME=\"n\"\r\n" << "n" << QStringList() << 0 << none << 0;
        QTest::newRow("CR-only file is one invalid line")
            << false << "LEVEL\rNAME=\"n\"\r" << "" << QStringList{"LEVEL\rNAME=\"n\"\r"} << 0 << none << 1;
        QTest::newRow("episode word is the wrong kind, reading goes on")
            << false << "EPISODE\r\nNAME=\"ep\"\r\nTHUMBNAIL=\"t\"" << "ep" << QStringList() << 1 << none << 1;
        QTest::newRow("NAME without value ends reading")
            << false << "NAME=\"first\"\r\nNAME\r\nNAME=\"never\"" << "first" << QStringList() << 0 << stopped << 2;
        QTest::newRow("NAME without quotes ends reading")
            << false << "NAME=\"first\"\r\nNAME=bare\r\nNAME=\"never\"" << "first" << QStringList() << 0 << stopped << 2;
        QTest::newRow("beyond 32,768 lines all are read")
            << false << QString("LEVEL\r\n") + QString("\r\n").repeated(40000) + "NAME=\"deep\"" << "deep" << QStringList() << 0 << none << 0;
        QTest::newRow("episode: quote cuts") << true << "NAME=\"a\"b\"" << "a" << QStringList() << 0 << none << 0;
        QTest::newRow("episode: lower-case kind word is invalid")
            << true << "episode\r\nNAME=\"n\"" << "n" << QStringList{"episode"} << 0 << none << 1;
        QTest::newRow("episode: level word is the wrong kind, reading goes on")
            << true << "EPISODE\r\nLEVEL\r\nNAME=\"n\"" << "n" << QStringList() << 1 << none << 1;
        QTest::newRow("episode: THUMBNAIL without value stops, keeps earlier")
            << true << "NAME=\"kept\"\r\nTHUMBNAIL\r\nNAME=\"lost\"" << "kept" << QStringList() << 0 << stopped << 2;
        QTest::newRow("release notes: the first notices kept, every line counted")
            << false << QString("x\r\n").repeated(25) << "" << QStringList(20, "x") << 0 << none << 25;
        QTest::newRow("lines after the stop are counted, blank ones are not")
            << false << "NAME=\"n\"\r\nETA=\"1:2\"\r\nNAME=\"a\"\r\n\r\nLOCKED=\"NO\"\r\n" << "n" << QStringList() << 0 << stopped << 3;
    }

    void linesReadBack()
    {
        QFETCH(bool, episode);
        QFETCH(QString, text);
        QFETCH(QString, name);
        QFETCH(QStringList, invalidLines);
        QFETCH(int, wrongKind);
        QFETCH(int, errorNumber);
        QFETCH(int, dropped);
        LevelFields level;
        EpisodeFields episodeFields;
        const auto outcome = episode ? EpisodeNfo::parse(text, episodeFields) : LevelNfo::parse(text, level);
        QCOMPARE(episode ? episodeFields.name : level.name, name);
        QStringList invalid;
        int wrong = 0;
        for (const auto &notice : outcome.notices)
            notice.kind == Nfo::Notice::InvalidLine ? void(invalid.append(notice.line)) : void(++wrong);
        QCOMPARE(invalid, invalidLines);
        QCOMPARE(wrong, wrongKind);
        QCOMPARE(outcome.error ? outcome.error->number : 0, errorNumber);
        QCOMPARE(outcome.droppedLines(), qsizetype(dropped));
    }

    void valueRules()
    {
        LevelFields f;
        const auto outcome = LevelNfo::parse(
            "MODEL_ROTATE=\"yes\"\r\nLOCKED=\"YES\"\r\nMAP_TYPE=\"SINGLE;COOP; DEATHMATCH;\"\r\n"
            "ETA=\"1:2:3:4\"\r\nOUTRO_MOVIE=\"o\"", f);
        QVERIFY(outcome.notices.isEmpty() && !outcome.error);
        QVERIFY(f.isIncluded(LevelRow::ModelRotate));
        QVERIFY(!f.rotate);  // "YES" is compared exactly
        QVERIFY(f.locked);
        QCOMPARE(f.mapType, (std::array<bool, 3>{true, true, true}));
        QCOMPARE(f.eta, (std::array<QString, 3>{"1", "2", "3"}));
        QCOMPARE(f.outroMovie, QString("o"));
        QVERIFY(f.isIncluded(LevelRow::OutroMovie));
    }

    void shortEtaSetsWhatItHasThenStops()
    {
        LevelFields f;
        const auto outcome = LevelNfo::parse("ETA=\"5:6\"\r\nNAME=\"after\"", f);
        QCOMPARE(f.eta, (std::array<QString, 3>{"5", "6", "00"}));
        QCOMPARE(f.name, QString());
        QVERIFY(outcome.error);
        QCOMPARE(outcome.error->line, 1);
        QCOMPARE(outcome.error->withLine(), QString("line 1: the ETA value '5:6' has fewer than three parts "
                                                    "(hours:minutes:seconds)"));
    }

    void unstorableValuesAreRefusedByName_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("included");
        QTest::addColumn<QString>("expected");  // empty: storable
        QTest::newRow("quote in name") << int(LevelRow::Name) << "say \"hi\"" << true << "'Name' contains a double quote";
        QTest::newRow("quote in excluded row") << int(LevelRow::ModelAnimation) << "a\"b" << false << "";
        QTest::newRow("quote in included row") << int(LevelRow::ModelAnimation) << "a\"b" << true << "'Model Anim' contains a double quote";
        QTest::newRow("outside code page") << int(LevelRow::Thumbnail) << QString::fromUtf8("Tex\u4e2d") << true
                                           << QString::fromUtf8("'Thumbnail' contains the character '\u4e2d'");
        QTest::newRow("euro sign is in the code page") << int(LevelRow::Name) << QString::fromUtf8("5\u20ac") << true << "";
    }

    void unstorableValuesAreRefusedByName()
    {
        QFETCH(int, row);
        QFETCH(QString, value);
        QFETCH(bool, included);
        QFETCH(QString, expected);
        LevelFields f = LevelFields::newDocument();
        f.included.fill(included);
        f.*LevelNfo::row(LevelRow(row)).text = value;
        const auto errors = LevelNfo::checkStorable(f);
        if (expected.isEmpty()) {
            QVERIFY(errors.isEmpty());
        } else {
            QCOMPARE(errors.size(), 1);
            QCOMPARE(errors[0].key, QString(LevelNfo::row(LevelRow(row)).key));
            const AppError *error = &errors[0].error;
            QVERIFY2(error->description.contains(expected), qPrintable(error->description));
        }
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

    // Large inputs are decoded whole, across the parts the converter is given.
    void largeBytesDecodeWhole()
    {
        QByteArray all;
        for (int i = 0; i < 256; ++i)
            all.append(char(i));
        const QByteArray bytes = all.repeated(33 * 4096).append("tail");
        const QString text = CodePage::decode(bytes);
        QCOMPARE(text.size(), bytes.size());
        QVERIFY(CodePage::encode(text) == bytes);
    }

    // Files up to the limit are read whole; a larger one is refused with its size, never read in
    // part (an empty or cut text could later be saved over it).
    void filesAtTheSizeLimit_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QString>("refusal");  // empty: read whole
        QTest::newRow("at the limit") << DocumentFile::LargestFile << "";
        QTest::newRow("one byte over") << DocumentFile::LargestFile + 1
                                       << "is 268,435,457 bytes, larger than the 268,435,456 bytes (256 MiB) that Brisquel opens";
        QTest::newRow("the 600 MB description") << qint64(600000000) << "is 600,000,000 bytes";
    }

    void filesAtTheSizeLimit()
    {
        QFETCH(qint64, size);
        QFETCH(QString, refusal);
        TestFolder folder;
        QFile file(folder.path("huge.dsc"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(size));  // sparse: no disk used
        file.close();
        try {
            QCOMPARE(DocumentFile::readBytes(file.fileName()).size(), size);
            QVERIFY(refusal.isEmpty());
        } catch (const AppError &error) {
            QVERIFY2(!refusal.isEmpty() && error.description.contains(refusal), qPrintable(error.description));
            QCOMPARE(error.number, int(AppError::FileTooLarge));
        }
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

    void nfoKindDecisions_data()
    {
        QTest::addColumn<QString>("firstLine");
        QTest::addColumn<int>("openDialog");   // the Open NFO dialog's decision
        QTest::addColumn<int>("commandLine");  // the command line's
        const int level = NfoKind::Level, episode = NfoKind::Episode;
        QTest::newRow("EPISODE") << "EPISODE" << episode << episode;
        QTest::newRow("lower case, blanks around") << "  Episode  " << episode << episode;
        QTest::newRow("LEVEL") << "LEVEL" << level << level;
        QTest::newRow("level and more") << "  level 2" << level << level;
        QTest::newRow("LEVELS starts with LEVEL") << "LEVELS" << level << level;
        QTest::newRow("EPISODES") << "EPISODES" << level << episode;
        QTest::newRow("empty first line") << "" << level << episode;
        QTest::newRow("anything else") << "LEVE" << level << episode;
    }

    void nfoKindDecisions()
    {
        QFETCH(QString, firstLine);
        QFETCH(int, openDialog);
        QFETCH(int, commandLine);
        QCOMPARE(int(NfoKind::byEpisodeWord(firstLine)), openDialog);
        QCOMPARE(int(NfoKind::byLevelPrefix(firstLine)), commandLine);
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
        QCOMPARE(NfoKind::isDescriptionName(path), dsc);
    }
};

QTEST_GUILESS_MAIN(TestFormats)
#include "test_formats.moc"
