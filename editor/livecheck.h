#pragma once

#include "core/backgroundrunner.h"
#include "core/modcheck.h"

#include <QObject>
#include <QTimer>

#include <functional>

class DocumentPanel;

// Checks the open document with the mod check's rules as the user types: after a short pause, on
// what Save would write, so the findings are those `Brisquel --check` would print for the saved
// file. A value the file cannot hold at all is an error finding too. Only the copy of the values
// is made on the window's thread: the document's bytes are made and checked behind the window
// (a description may be megabytes, an NFO value millions of characters), and a change meanwhile
// starts the check again, dropping the one that is out of date.
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
    // The document is replaced (New, Open): a running check is stopped and waited for, and its
    // findings are dropped; a change after this schedules the next.
    void cancel();
    // The document is gone (the window closes): no check runs or finishes; a running one is
    // waited for.
    void stop();
    bool isPending() const { return m_pause.isActive() || m_runner.isRunning(); }

    static constexpr int PauseMs = 80;

signals:
    // The findings, and the bytes they are of (what Save would write then): a fix mends those.
    void checked(const QList<ModCheck::Finding> &findings, const QByteArray &bytes);

private:
    std::function<Subject()> m_subject;
    QTimer m_pause;
    bool m_stopped = false;
    BackgroundRunner m_runner;
};
