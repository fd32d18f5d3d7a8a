// The Level NFO text: what is written for each field, and how a file's lines are read back.

#include "core/levelnfo.h"
#include "tests/support/testfiles.h"

#include <QTest>

namespace {

const QByteArray NewDocumentText = "LEVEL\r\nNAME=\"\"\r\nMAP_TYPE=\"\"\r\nLOADING_MODEL=\"\"\r\n"
                                   "MODEL_ANIMATION=\"\"\r\nMODEL_ROTATE=\"YES\"\r\nMODEL_DISTANCE=\"\"\r\n"
                                   "MODEL_NAME=\"\"\r\nLOADING_SCREEN=\"\"\r\nTHUMBNAIL=\"\"\r\n"
                                   "ETA=\"00:00:00\"\r\nEPISODE_MOVIE=\"\"\r\nINTRO_MOVIE=\"\"\r\n"
                                   "OUTRO_MOVIE=\"\"\r\nLOCKED=\"YES\"";

QString generateText(const LevelFields &fields, QStringList *logged = nullptr)
{
    return LevelNfo::generate(fields, [logged](const QString &key) {
        if (logged)
            logged->append(key);
    });
}

} // namespace

class TestLevelFormat : public QObject
{
    Q_OBJECT

private slots:
    void newDocumentIsFifteenLinesWithKeysLogged()
    {
        for (int i = 0; i < LevelRowCount; ++i)
            QCOMPARE(int(LevelNfo::rows()[size_t(i)].row), i);
        QStringList logged;
        QCOMPARE(generateText(LevelFields::newDocument(), &logged).toLatin1(), NewDocumentText);
        QCOMPARE(logged, QStringList({"LEVEL", "MAP_TYPE", "LOADING_MODEL", "MODEL_ANIMATION",
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

    void excludedFieldsAreLeftOutButStillLogged()
    {
        LevelFields f = LevelFields::newDocument();
        f.included.fill(false);
        f.modelAnimation = "kept but not written";
        QStringList logged;
        QCOMPARE(generateText(f, &logged).toLatin1(),
                 QByteArray("LEVEL\r\nNAME=\"\"\r\nMAP_TYPE=\"\"\r\nTHUMBNAIL=\"\"\r\n"
                            "ETA=\"00:00:00\"\r\nLOCKED=\"YES\""));
        QCOMPARE(logged.size(), 13);
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

    void companionTemplateReadsSilently()
    {
        LevelFields f;  // as the loader leaves it: reset, optional rows excluded
        const auto outcome = LevelNfo::parse(QString::fromLatin1(readBytes(testData("new_level.nfo"))), f);
        QVERIFY(outcome.notices.isEmpty());
        QVERIFY(!outcome.error);
        QCOMPARE(f.name, QString());
        QCOMPARE(f.mapType, (std::array<bool, 3>{true, false, false}));
        QCOMPARE(f.eta, (std::array<QString, 3>{"00", "00", "00"}));
        QVERIFY(!f.locked);
        QVERIFY(f.rotate);  // kept from the reset, though not included
        QCOMPARE(f.included, (std::array<bool, 14>{}));
        QCOMPARE(generateText(f).toLatin1() + "\r\n\r\n", readBytes(testData("new_level.nfo")));
    }

    void linesReadBack_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("invalidLines");
        QTest::addColumn<int>("wrongKind");
        QTest::addColumn<int>("errorNumber");  // 0: no error

        QTest::newRow("value with equals reads whole") << "LEVEL\r\nNAME=\"a=b\"" << "a=b" << QStringList() << 0 << 0;
        QTest::newRow("text after closing quote ignored") << "NAME=\"Keep\" junk\"x\"" << "Keep" << QStringList() << 0 << 0;
        QTest::newRow("blanks before opening quote") << "NAME=  \"Keep\"" << "Keep" << QStringList() << 0 << 0;
        QTest::newRow("no closing quote reads to end") << "NAME=\"Open end" << "Open end" << QStringList() << 0 << 0;
        QTest::newRow("later line wins") << "NAME=\"one\"\r\nNAME=\"two\"" << "two" << QStringList() << 0 << 0;
        QTest::newRow("lower-case key is invalid") << "name=\"x\"" << "" << QStringList{"name=\"x\""} << 0 << 0;
        QTest::newRow("blank before key is invalid") << " NAME=\"x\"" << "" << QStringList{" NAME=\"x\""} << 0 << 0;
        QTest::newRow("blank before equals is invalid") << "NAME =\"x\"" << "" << QStringList{"NAME =\"x\""} << 0 << 0;
        QTest::newRow("line of blanks is invalid") << "LEVEL\r\n  \r\nNAME=\"n\"" << "n" << QStringList{"  "} << 0 << 0;
        QTest::newRow("empty lines are silent") << "LEVEL\r\n\r\n\r\nNAME=\"n\"\r\n" << "n" << QStringList() << 0 << 0;
        QTest::newRow("LF-only file reads its values")
            << "LEVEL\nNAME=\"n\"\n" << "n" << QStringList() << 0 << 0;
        QTest::newRow("mixed CR LF and LF line ends")
            << "LEVEL\r\nMODEL_NAME=\"m\"\nNAME=\"n\"\r\n" << "n" << QStringList() << 0 << 0;
        QTest::newRow("CR-only file is one invalid line")
            << "LEVEL\rNAME=\"n\"\r" << "" << QStringList{"LEVEL\rNAME=\"n\"\r"} << 0 << 0;
        QTest::newRow("episode word is the wrong kind, reading goes on")
            << "EPISODE\r\nNAME=\"ep\"\r\nTHUMBNAIL=\"t\"" << "ep" << QStringList() << 1 << 0;
        QTest::newRow("NAME without value ends reading")
            << "NAME=\"first\"\r\nNAME\r\nNAME=\"never\"" << "first" << QStringList() << 0 << 9;
        QTest::newRow("NAME without quotes ends reading")
            << "NAME=\"first\"\r\nNAME=bare\r\nNAME=\"never\"" << "first" << QStringList() << 0 << 9;
        QTest::newRow("beyond 32,768 lines all are read")
            << QString("LEVEL\r\n") + QString("\r\n").repeated(40000) + "NAME=\"deep\"" << "deep" << QStringList() << 0 << 0;
    }

    void linesReadBack()
    {
        QFETCH(QString, text);
        QFETCH(QString, name);
        QFETCH(QStringList, invalidLines);
        QFETCH(int, wrongKind);
        QFETCH(int, errorNumber);
        LevelFields f;
        const auto outcome = LevelNfo::parse(text, f);
        QCOMPARE(f.name, name);
        QStringList invalid;
        int wrong = 0;
        for (const auto &notice : outcome.notices) {
            if (notice.kind == Nfo::Notice::InvalidLine)
                invalid.append(notice.line);
            else
                ++wrong;
        }
        QCOMPARE(invalid, invalidLines);
        QCOMPARE(wrong, wrongKind);
        QCOMPARE(outcome.error ? outcome.error->number : 0, errorNumber);
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
        QVERIFY(outcome.error->description.contains("line 1"));
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
        const auto error = LevelNfo::checkStorable(f);
        if (expected.isEmpty()) {
            QVERIFY(!error);
        } else {
            QVERIFY(error);
            QVERIFY2(error->description.contains(expected), qPrintable(error->description));
        }
    }
};

QTEST_GUILESS_MAIN(TestLevelFormat)
#include "test_levelformat.moc"
