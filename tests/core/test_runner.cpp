// Work behind the window: one job at a time, a newer one replacing an older one, whose result is
// dropped; stopping waits; the result comes back on the window's thread. The mod check itself runs
// through it as the window runs it.

#include "core/backgroundrunner.h"
#include "core/modcheck.h"
#include "tests/support/testfiles.h"

#include <QCoreApplication>
#include <QTest>
#include <QThread>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

// Waits without answering the window's events: what is posted meanwhile stays posted.
void waitFor(const std::atomic<bool> &flag)
{
    while (!flag.load())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

// A job that runs until it is told to stop, and says when it runs and when it has ended.
BackgroundRunner::Work untilStopped(std::atomic<bool> &runs, std::atomic<bool> &ended)
{
    return [&runs, &ended](const BackgroundRunner::StopFlag &stop) {
        runs = true;
        waitFor(stop);
        ended = true;
    };
}

} // namespace

class TestRunner : public QObject
{
    Q_OBJECT

private slots:
    void resultComesBackOnTheWindowThread()
    {
        BackgroundRunner runner;
        auto result = std::make_shared<int>(0);
        QThread *workedOn = nullptr;
        QThread *doneOn = nullptr;
        runner.start([result, &workedOn](const BackgroundRunner::StopFlag &) { *result = 42; workedOn = QThread::currentThread(); },
                     [&doneOn] { doneOn = QThread::currentThread(); });
        QVERIFY(runner.isRunning());
        QTRY_VERIFY(!runner.isRunning());
        QCOMPARE(*result, 42);
        QCOMPARE(doneOn, QThread::currentThread());
        QVERIFY(workedOn != QThread::currentThread());
    }

    // A job that ended of itself, its result still on its way, is out of date once a newer one
    // starts: only the newer one's result arrives.
    void outOfDateResultIsDropped()
    {
        BackgroundRunner runner;
        std::atomic<bool> firstEnded{false};
        QStringList done;
        runner.start([&firstEnded](const BackgroundRunner::StopFlag &) { firstEnded = true; }, [&done] { done << "first"; });
        waitFor(firstEnded);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));  // its result posted, not yet taken
        runner.start([](const BackgroundRunner::StopFlag &) {}, [&done] { done << "second"; });
        QTRY_VERIFY(!runner.isRunning());
        QTest::qWait(20);
        QCOMPARE(done, QStringList{"second"});
    }

    // A job replaced while it runs is told to stop; of those replaced, none delivers.
    void newerJobReplacesARunningOne()
    {
        BackgroundRunner runner;
        std::atomic<bool> firstRuns{false}, firstStopped{false};
        QStringList done;
        runner.start(untilStopped(firstRuns, firstStopped), [&done] { done << "first"; });
        waitFor(firstRuns);
        runner.start([](const BackgroundRunner::StopFlag &) {}, [&done] { done << "second"; });
        runner.start([](const BackgroundRunner::StopFlag &) {}, [&done] { done << "third"; });
        QTRY_VERIFY(!runner.isRunning());
        QVERIFY(firstStopped);
        QCOMPARE(done, QStringList{"third"});
    }

    // Stop returns once the job has ended; its result never arrives. The runner's end stops it too.
    void stopWaitsAndDrops()
    {
        std::atomic<bool> runs{false}, ended{false};
        bool delivered = false;
        {
            BackgroundRunner runner;
            runner.start(untilStopped(runs, ended), [&delivered] { delivered = true; });
            waitFor(runs);
            runner.stop();
            QVERIFY(ended);
            QVERIFY(!runner.isRunning());
            QTest::qWait(20);
            QVERIFY(!delivered);
            ended = false;
            runs = false;
            runner.start(untilStopped(runs, ended), [&delivered] { delivered = true; });
            waitFor(runs);
        }
        QVERIFY(ended);
        QVERIFY(!delivered);
    }

    // A result made out of date (the document changed) is dropped at once, without waiting for
    // the job, which is told to stop.
    void dropDoesNotWait()
    {
        BackgroundRunner runner;
        std::atomic<bool> runs{false}, ended{false}, release{false};
        bool delivered = false;
        runner.start([&](const BackgroundRunner::StopFlag &stop) {
            runs = true;
            waitFor(release);
            ended = stop.load();
        }, [&delivered] { delivered = true; });
        waitFor(runs);
        runner.drop();
        QVERIFY(!runner.isRunning());
        QVERIFY(!ended);  // still running: drop did not wait
        release = true;
        QTRY_VERIFY(ended);  // and it was told to stop
        QTest::qWait(20);
        QVERIFY(!delivered);
    }

    // The mod check behind the window, started again and again while it runs (as Check Again
    // does), and stopped at once: the last one's report is the one a check without a window gives.
    void modCheckBehindTheWindow()
    {
        const QString mod = testData("mod");
        const ModCheck::Report expected = ModCheck::check({mod}, {});
        BackgroundRunner runner;
        auto report = std::make_shared<ModCheck::Report>();
        auto progress = std::make_shared<std::atomic<int>>(0);
        const auto start = [&] {
            runner.start([report, progress, mod](const BackgroundRunner::StopFlag &stop) {
                const ModCheck::KeepGoing keepGoing = [&stop] { return !stop.load(); };
                *report = ModCheck::checkFiles(ModCheck::filesToCheck(QStringList{mod}, nullptr, keepGoing), {}, keepGoing,
                                               [progress](int files) { *progress = files; });
            }, [] {});
        };
        for (int i = 0; i < 20; ++i)
            start();
        QTRY_VERIFY(!runner.isRunning());
        QCOMPARE(report->files, expected.files);
        QCOMPARE(report->findings.size(), expected.findings.size());
        QCOMPARE(progress->load(), expected.files);
        start();
        runner.stop();
        QVERIFY(report->files <= expected.files);
    }
};

QTEST_GUILESS_MAIN(TestRunner)
#include "test_runner.moc"
