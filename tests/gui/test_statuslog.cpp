// The status row and the application log.

#include "core/applog.h"
#include "core/statuskind.h"
#include "ui/statusreporter.h"
#include "tests/support/testsupport.h"

#include <QDir>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QWidget>

Q_DECLARE_METATYPE(StatusKind)

namespace {
struct StatusRow
{
    StatusRow() : log(folder.programFolder()), status(log, &label, &picture, nullptr) { log.clearLog(); }
    QByteArray logBytes() const { return readBytes(log.path()); }

    TestFolder folder;
    QLabel label;
    QLabel picture;
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
        QTest::addColumn<StatusKind>("kind");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("Info") << StatusKind::Info << "m" << QByteArray("INF : m\r\n");
        QTest::newRow("Error") << StatusKind::Error << "m" << QByteArray("ERR : m\r\n");
        QTest::newRow("Warning") << StatusKind::Warning << "m" << QByteArray("WRN : m\r\n");
        QTest::newRow("Question") << StatusKind::Question << "m" << QByteArray("QSN : m\r\n");
        QTest::newRow("Misc") << StatusKind::Misc << "plain" << QByteArray("plain\r\n");
        QTest::newRow("Misc empty") << StatusKind::Misc << "" << QByteArray("\r\n");
        QTest::newRow("message with line breaks") << StatusKind::Info << "a\r\nb" << QByteArray("INF : a\r\nb\r\n");
    }

    void logEntries()
    {
        QFETCH(StatusKind, kind);
        QFETCH(QString, message);
        QFETCH(QByteArray, written);
        StatusRow row;
        row.log.writeLog(kind, message);
        QCOMPARE(row.logBytes(), "\r\n" + written);
    }

    void clearLogStartsAfresh()
    {
        StatusRow row;
        row.log.writeLog(StatusKind::Info, "old run");
        row.log.clearLog();
        QCOMPARE(row.logBytes(), QByteArray("\r\n"));
        QCOMPARE(QDir::toNativeSeparators(row.log.path()), row.folder.logPath());
    }

    void reportShowsThePictureOfItsKind()
    {
        StatusRow row;
        // Each kind has a picture of its own, named for screen readers.
        QList<QImage> pictures;
        for (StatusKind kind : {StatusKind::Info, StatusKind::Error, StatusKind::Warning, StatusKind::Question}) {
            row.status.reportStatus("first", kind);
            const QImage shown = row.picture.pixmap().toImage();
            QCOMPARE(shown.size(), QSize(32, 32));
            QVERIFY(!pictures.contains(shown));
            pictures.append(shown);
        }
        QCOMPARE(row.picture.accessibleName(), QString("Question"));
        row.status.reportStatus("second", StatusKind::Warning);
        QCOMPARE(row.status.shownKind(), std::optional(StatusKind::Warning));
        QCOMPARE(row.picture.pixmap().toImage(), pictures.at(2));
        // A kind without a picture keeps the one shown.
        row.status.reportStatus("third", StatusKind::Misc);
        QCOMPARE(row.label.text(), QString("third"));
        QCOMPARE(row.status.shownKind(), std::optional(StatusKind::Warning));
        QCOMPARE(row.picture.pixmap().toImage(), pictures.at(2));
        QVERIFY(row.logBytes().endsWith("QSN : first\r\nWRN : second\r\nthird\r\n"));
    }
};

QTEST_MAIN(TestStatusLog)
#include "test_statuslog.moc"
