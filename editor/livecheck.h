#pragma once

#include "core/modcheck.h"

#include <QObject>
#include <QTimer>

#include <atomic>
#include <functional>

class DocumentPanel;
class QThread;

// Checks the open document with the mod check's rules as the user types: after a short pause, on
// what Save would write, so the findings are those `Brisquel --check` would print for the saved
// file. A value the file cannot hold at all is an error finding too. An NFO document is small and
// is checked at once; a description may be megabytes (and an NFO file may bring a value of
// millions of characters): such a document is made and checked on a thread of its own while the
// window goes on; a change meanwhile starts the check again.
class LiveCheck : public QObject
{
    Q_OBJECT

public:
    // What is checked: the panel shown, whether it holds a description, and the document's file
    // (empty while it has none).
    struct Subject
    {
        DocumentPanel *panel = nullptr;
        ModCheck::FileKind kind = ModCheck::FileKind::Nfo;
        QString path;
    };
    explicit LiveCheck(std::function<Subject()> subject, QObject *parent = nullptr);
    ~LiveCheck() override;

    // The document changed: it is checked after the pause.
    void schedule();
    // Checks now, as at the end of the pause.
    void checkNow();
    // The document is gone (the window closes): no check runs or finishes; a running one is
    // waited for.
    void stop();
    bool isPending() const { return m_pause.isActive() || m_worker; }

    static constexpr int PauseMs = 80;

signals:
    void checked(const QList<ModCheck::Finding> &findings);

private:
    void workerFinished(QThread *worker);

    std::function<Subject()> m_subject;
    QTimer m_pause;
    std::atomic<quint64> m_generation{0};  // counts the changes, so a check can tell that it is out of date
    std::atomic<bool> m_stopped{false};
    QThread *m_worker = nullptr;           // the description's check, while it runs
    quint64 m_workerGeneration = 0;
    QList<ModCheck::Finding> m_workerFindings;  // written by the worker, read when it has finished
};
