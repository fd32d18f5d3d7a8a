// The status row and the application log.

#include "core/applog.h"
#include "ui/statusreporter.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QWidget>

namespace {
struct StatusRow
{
    StatusRow() : log(folder.programFolder()), status(log, &label, &picture, &timer, nullptr)
    {
        log.clearLog();
        timer.setInterval(60000);
    }
    QByteArray logBytes() const { return readBytes(log.path()); }

    TestFolder folder;
    QLabel label;
    QLabel picture;
    QTimer timer;
    AppLog log;
    StatusReporter status;
};
} // namespace

class TestStatusLog : public QObject
{
    Q_OBJECT

private slots:
    void logEntries_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("Info") << "Info" << "m" << QByteArray("INF : m\r\n");
        QTest::newRow("Error") << "Error" << "m" << QByteArray("ERR : m\r\n");
        QTest::newRow("Warning") << "Warning" << "m" << QByteArray("WRN : m\r\n");
        QTest::newRow("Question") << "Question" << "m" << QByteArray("QSN : m\r\n");
        QTest::newRow("Misc") << "Misc" << "plain" << QByteArray("plain\r\n");
        QTest::newRow("Misc empty") << "Misc" << "" << QByteArray("\r\n");
        QTest::newRow("Line") << "Line" << "ignored" << QByteArray("\r\n\r\n");
        QTest::newRow("other kind") << "info" << "lost" << QByteArray("\r\n");
        QTest::newRow("message with line breaks") << "Info" << "a\r\nb" << QByteArray("INF : a\r\nb\r\n");
    }

    void logEntries()
    {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        QFETCH(QByteArray, written);
        StatusRow row;
        row.log.writeLog(kind, message);
        QCOMPARE(row.logBytes(), "\r\n" + written);
    }

    void clearLogStartsAfresh()
    {
        StatusRow row;
        row.log.writeLog("Info", "old run");
        row.log.clearLog();
        QCOMPARE(row.logBytes(), QByteArray("\r\n"));
        QCOMPARE(QDir::toNativeSeparators(row.log.path()), row.folder.logPath());
    }

    void reportShowsPictureOfExactKindOnly()
    {
        StatusRow row;
        // Each kind has a picture of its own.
        QList<QImage> pictures;
        for (const char *kind : {"Info", "Error", "Warning", "Question"}) {
            row.status.reportStatus("first", kind, false);
            const QImage shown = row.picture.pixmap().toImage();
            QCOMPARE(shown.size(), QSize(32, 32));
            QVERIFY2(!pictures.contains(shown), kind);
            pictures.append(shown);
        }
        row.status.reportStatus("first", "Warning", true);
        QCOMPARE(row.status.shownKind(), QString("Warning"));
        QCOMPARE(row.picture.pixmap().toImage(), pictures.at(2));
        row.status.reportStatus("second", "info", true);
        QCOMPARE(row.label.text(), QString("second"));
        QCOMPARE(row.status.shownKind(), QString("Warning"));
        QCOMPARE(row.picture.pixmap().toImage(), pictures.at(2));
        row.status.reportStatus("quiet", "Info", false);
        QCOMPARE(row.status.shownKind(), QString("Info"));
        QCOMPARE(row.logBytes(), QByteArray("\r\nWRN : first\r\n\r\n"));
    }
};

QTEST_MAIN(TestStatusLog)
#include "test_statuslog.moc"
