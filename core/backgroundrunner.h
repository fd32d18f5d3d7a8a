#pragma once

#include <QObject>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

// Work behind the window: one job at a time on a thread of the runner's own, so that the window
// never waits for a check or a walk of folders. A job is told to stop through a flag it asks now
// and then; a newer job replaces an older one, whose result is out of date and dropped. The hand
// over between the threads is by the standard library's mutex, so that what a job reads and what
// it leaves is never written by both threads at once. A job keeps off what Qt keeps per thread
// (QRegularExpression, QDirIterator's name filters): on Windows, the end of the runner's plain
// thread tore that storage down into a crash.
class BackgroundRunner : public QObject
{
    Q_OBJECT

public:
    // What a job asks now and then: true when it is to stop (stopped, replaced, or the window closes).
    using StopFlag = std::atomic<bool>;
    using Work = std::function<void(const StopFlag &stop)>;

    explicit BackgroundRunner(QObject *parent = nullptr);
    ~BackgroundRunner() override;  // stops the job and waits for it

    // Runs `work` behind the window. `done` runs on the window's thread when the work has ended
    // of itself: never for a job that was stopped or replaced. A job still running is told to stop.
    void start(Work work, std::function<void()> done);
    // Tells the job to stop and waits until it has ended; its `done` never runs.
    void stop();
    // Tells the job to stop without waiting for it: its result is out of date and never arrives.
    void drop();
    // A job has been started whose `done` has neither run nor been dropped.
    bool isRunning() const { return m_pending != 0; }

private:
    Q_INVOKABLE void deliver();
    void loop();

    struct Job
    {
        quint64 id;
        Work work;
    };
    // The window's thread only.
    quint64 m_latest = 0;
    quint64 m_pending = 0;
    std::function<void()> m_done;
    // Shared with the runner's thread, under the mutex.
    std::mutex m_mutex;
    std::condition_variable m_wake;  // a job to run, or the end
    std::condition_variable m_idle;  // a job has ended
    std::optional<Job> m_next;
    quint64 m_running = 0;
    StopFlag *m_runningStop = nullptr;
    quint64 m_finished = 0;  // the last job that ended of itself
    bool m_quit = false;
    std::thread m_thread;    // started with the first job
};
