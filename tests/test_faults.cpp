// Faults from outside: writes that fail part-way, folders that cannot be written, files that
// cannot be read, odd and huge files, a broken settings store. Each must give a clear message and
// lose nothing.

#include "editor/dscpanel.h"
#include "editor/form1.h"
#include "editor/levelpanel.h"
#include "settings/settingskeys.h"
#include "tests/testsupport.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QApplication>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>

namespace {
QStringList filesIn(const QString &folder) { return QDir(folder).entryList(QDir::Files | QDir::Hidden); }

} // namespace

class TestFaults : public QObject
{
    Q_OBJECT

private slots:
    void writeFailingPartWayKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("description") << "DSC";
        QTest::newRow("level") << "LvlNFO";
    }

    void writeFailingPartWayKeepsTheOldFile()
    {
        QFETCH(QString, kind);
        EditorWindow e;
        QDir().mkpath(e.file("mod"));
        const QString path = e.file(kind == "DSC" ? "mod/a.dsc" : "mod/a.nfo");
        e.form.newCommand(kind);
        e.script.choose(path);
        QCOMPARE(e.form.saveCommand(), Form1::SaveOutcome::Saved);
        e.script.takeBoxes();
        const QByteArray before = readBytes(path);

        const QString longText(5000, QLatin1Char('x'));
        if (kind == "DSC")
            e.form.dscPanel()->setText(longText);
        else
            e.form.levelPanel()->LvlTxtVal[0]->setText(longText);
        {
            FileSizeLimit limit(1024);
            QCOMPARE(e.form.saveCommand(), Form1::SaveOutcome::Failed);
        }
        const QStringList boxes = e.script.takeBoxTexts();
        QCOMPARE(boxes.size(), 1);
        QVERIFY2(boxes[0].contains("Cannot write '" + path + "'"), qPrintable(boxes[0]));
        QCOMPARE(readBytes(path), before);
        QVERIFY(e.form.document.Dirty);
        QCOMPARE(filesIn(e.file("mod")), QStringList{QFileInfo(path).fileName()});  // no half-written leftovers

        // Once there is room again, the same Save works.
        QCOMPARE(e.form.saveCommand(), Form1::SaveOutcome::Saved);
        e.script.takeBoxes();
        QVERIFY(readBytes(path).contains(longText.toLatin1()));
    }

    void savingWhereNothingCanBeWritten_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("message");
        QTest::newRow("folder under a file") << "plain-file/a.nfo" << "Cannot open '%1' for writing";
        QTest::newRow("a folder") << "a-folder" << "Cannot save to '%1': it is a folder";
    }

    void savingWhereNothingCanBeWritten()
    {
        QFETCH(QString, target);
        QFETCH(QString, message);
        EditorWindow e;
        writeBytes(e.file("plain-file"), "untouched");
        QDir().mkpath(e.file("a-folder"));
        e.form.newCommand("EpiNFO");
        e.form.episodePanel();
        e.script.choose(e.file(target));
        QCOMPARE(e.form.saveCommand(), Form1::SaveOutcome::Failed);
        const QStringList boxes = e.script.takeBoxTexts();
        QCOMPARE(boxes.size(), 1);
        QVERIFY2(boxes[0].contains(message.arg(e.file(target))), qPrintable(boxes[0]));
        QCOMPARE(readBytes(e.file("plain-file")), QByteArray("untouched"));
        QVERIFY(e.form.document.Dirty || e.form.document.Path == e.file(target));
        QCOMPARE(e.form.status.shownKind(), QString("Error"));
    }

    void filesThatCannotBeRead_data()
    {
        QTest::addColumn<QString>("path");  // "fifo" is made by the test
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("message");
        QTest::newRow("a pipe does not hang") << "fifo" << 75 << "is not a plain file";
        QTest::newRow("a device") << "/dev/zero" << 75 << "is not a plain file";
        QTest::newRow("a file whose reading fails") << "/proc/self/mem" << 57 << "Cannot read '/proc/self/mem'";
    }

    void filesThatCannotBeRead()
    {
        QFETCH(QString, path);
        QFETCH(int, number);
        QFETCH(QString, message);
        TestFolder files;
        if (path == "fifo") {
            path = files.path("pipe.nfo");
            QCOMPARE(mkfifo(qPrintable(path), 0600), 0);
        }
        EditorWindow e(path);
        const QStringList boxes = e.script.takeBoxTexts();
        QCOMPARE(boxes.size(), 1);
        QVERIFY2(boxes[0].contains(message), qPrintable(boxes[0]));
        QVERIFY(boxes[0].endsWith("Error Number :" + QString::number(number)));
        QCOMPARE(e.form.document.Kind, QString("None"));
    }

    void oddFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("boxes");
        QTest::addColumn<QString>("name");
        QTest::newRow("LF-only level is one invalid line") << QByteArray("LEVEL\nNAME=\"n\"\n") << "LvlNFO" << 1 << "";
        QTest::newRow("CR-only episode is one invalid line") << QByteArray("EPISODE\rNAME=\"n\"\r") << "EpiNFO" << 1 << "";
        QTest::newRow("UTF-8 byte-order mark before LEVEL") << QByteArray("\xEF\xBB\xBFLEVEL\r\nNAME=\"n\"\r\n") << "LvlNFO" << 0 << "n";
        QTest::newRow("binary with NUL bytes") << QByteArray("LEVEL\r\n\0\x01\xff=\"x\"\r\nNAME=\"a\0b\"\r\n", 27)
                                               << "LvlNFO" << 1 << QString::fromLatin1("a\0b", 3);
    }

    void oddFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, kind);
        QFETCH(int, boxes);
        QFETCH(QString, name);
        TestFolder files;
        writeBytes(files.path("odd.nfo"), content);
        EditorWindow e(files.path("odd.nfo"));
        QCOMPARE(e.script.takeBoxes().size(), boxes);
        QCOMPARE(e.form.document.Kind, kind);
        if (kind == "LvlNFO")
            QCOMPARE(e.form.levelPanel()->LvlTxtVal[0]->text(), name);
        QCOMPARE(e.form.LblStatus->text(), "'" + files.path("odd.nfo") + "' loaded");
    }

    void descriptionWithNulBytesRoundTrips()
    {
        TestFolder files;
        const char raw[] = "before\0after\r\n\x01\x7f\x81\x8d\xff\r\n";
        const QByteArray content(raw, sizeof raw - 1);
        writeBytes(files.path("nul.dsc"), content);
        EditorWindow e(files.path("nul.dsc"));
        QCOMPARE(e.form.saveCommand(), Form1::SaveOutcome::Saved);
        e.script.takeBoxes();
        QCOMPARE(readBytes(files.path("nul.dsc")), content);
    }

    void fiftyMegabyteDescription()
    {
        TestFolder files;
        QByteArray content;
        const QByteArray line = QByteArray(78, 'd') + "\r\n";
        content.reserve(50 * 1024 * 1024);
        while (content.size() < 50 * 1024 * 1024)
            content += line;
        writeBytes(files.path("big.dsc"), content);
        EditorWindow e(files.path("big.dsc"));
        QCOMPARE(e.form.document.Kind, QString("DSC"));
        QCOMPARE(e.form.saveCommand(), Form1::SaveOutcome::Saved);
        e.script.takeBoxes();
        QCOMPARE(readBytes(files.path("big.dsc")).size(), content.size());
        QVERIFY(readBytes(files.path("big.dsc")) == content);
    }

    void millionLineLevel()
    {
        TestFolder files;
        QByteArray content = "LEVEL\r\n";
        const QByteArray line = "MODEL_NAME=\"Ship\"\r\n";
        content.reserve(7 + 1000000 * line.size() + 16);
        for (int i = 0; i < 1000000; ++i)
            content += line;
        content += "NAME=\"Last\"\r\n";
        writeBytes(files.path("long.nfo"), content);
        EditorWindow e(files.path("long.nfo"));
        QVERIFY(e.script.takeBoxes().isEmpty());
        QCOMPARE(e.form.levelPanel()->LvlTxtVal[0]->text(), QString("Last"));
        QCOMPARE(e.form.levelPanel()->LvlTxtVal[4]->text(), QString("Ship"));
    }

    void unwritableProgramFolderStillEdits()
    {
        TestFolder outside;
        writeBytes(outside.path("program-file"), "x");
        EditorWindow e({}, outside.path("program-file"));
        QCOMPARE(e.form.LblStatus->text(), QString("Ready"));
        QVERIFY(!e.form.log.path().startsWith(outside.path("program-file")));
        QVERIFY(readBytes(e.form.log.path()).endsWith("INF : Ready\r\n"));
        e.form.newCommand("DSC");
        e.script.choose(e.file("works.dsc"));
        QCOMPARE(e.form.saveCommand(), Form1::SaveOutcome::Saved);
        e.script.takeBoxes();
    }

    void brokenSettingsStore_data()
    {
        QTest::addColumn<int>("damage");  // 0 garbage text, 1 a folder in its place
        QTest::newRow("garbage") << 0;
        QTest::newRow("unreadable") << 1;
    }

    void brokenSettingsStore()
    {
        QFETCH(int, damage);
        TestFolder folder;
        const QString store = QSettings("Brisquel", "Brisquel").fileName();
        QFile::remove(store);
        if (damage == 0)
            writeBytes(store, QByteArray("\0\xff[[[===\n[Show Tips]\nTime=\"\"\"\nShow Tips Option=@Invalid(\n", 56));
        else
            QDir().mkpath(store);
        QCOMPARE(Settings::tipIntervalMs(), 10000);
        QVERIFY(Settings::tipsShown());
        DialogScript script;
        script.allowRealDialogs = true;  // a broken store reads as a first start: the Options dialog
        QTimer::singleShot(0, [] {
            if (QWidget *modal = QApplication::activeModalWidget())
                modal->close();
        });
        Form1 form(folder.programFolder());
        form.load({});
        script.takeBoxes();
        QCOMPARE(form.form2.Timer1.interval(), 10000);
        QCOMPARE(form.LblStatus->text(), QString("Ready"));
    }
};

QTEST_MAIN(TestFaults)
#include "test_faults.moc"
