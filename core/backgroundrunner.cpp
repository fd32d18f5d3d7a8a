#include "core/backgroundrunner.h"

#include <QMetaObject>

BackgroundRunner::BackgroundRunner(QObject *parent) : QObject(parent) {}

BackgroundRunner::~BackgroundRunner()
{
    stop();
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void BackgroundRunner::start(Work work, std::function<void()> done)
{
    m_pending = ++m_latest;
    m_done = std::move(done);
    {
        std::lock_guard lock(m_mutex);
        if (m_runningStop)
            m_runningStop->store(true);
        m_next = Job{m_latest, std::move(work)};  // a job that never began is simply replaced
        if (!m_thread.joinable())
            m_thread = std::thread([this] { loop(); });
    }
    m_wake.notify_one();
}

void BackgroundRunner::stop()
{
    drop();
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return m_running == 0; });
}

void BackgroundRunner::drop()
{
    m_pending = 0;
    m_done = {};
    std::lock_guard lock(m_mutex);
    m_next.reset();
    if (m_runningStop)
        m_runningStop->store(true);
}

void BackgroundRunner::deliver()
{
    quint64 finished = 0;
    {
        std::lock_guard lock(m_mutex);
        finished = m_finished;
    }
    if (m_pending == 0 || finished != m_pending)
        return;  // stopped, or replaced by a job still running
    m_pending = 0;
    if (const auto done = std::exchange(m_done, {}))
        done();
}

void BackgroundRunner::loop()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_next || m_quit; });
        if (!m_next)
            return;
        Job job = std::move(*m_next);
        m_next.reset();
        StopFlag stop{false};
        m_running = job.id;
        m_runningStop = &stop;
        lock.unlock();
        job.work(stop);
        job.work = {};  // what it holds goes here, not on the window's thread
        lock.lock();
        m_running = 0;
        m_runningStop = nullptr;
        if (!stop.load()) {
            m_finished = job.id;
            // Asked for by name: the call carries nothing that both threads touch.
            QMetaObject::invokeMethod(this, "deliver", Qt::QueuedConnection);
        }
        m_idle.notify_all();
    }
}
