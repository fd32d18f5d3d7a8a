#pragma once

#include "core/modcheck.h"

#include <QObject>
#include <QTimer>

#include <functional>

class DocumentPanel;

// Checks the open document with the mod check's rules as the user types: after a short pause, on
// what Save would write, so the findings are those `Brisquel --check` would print for the saved
// file. A value the file cannot hold at all is an error finding too. A large description is
// checked between the window's other work, and a change meanwhile starts the check again.
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
    // The document is gone (the window closes): no check runs or finishes.
    void stop();
    bool isPending() const { return m_pause.isActive() || m_running; }

    static constexpr int PauseMs = 80;

signals:
    void checked(const QList<ModCheck::Finding> &findings);

private:
    void run();

    std::function<Subject()> m_subject;
    QTimer m_pause;
    quint64 m_generation = 0;  // counts the changes, so a check can tell that it is out of date
    bool m_running = false;
    bool m_stopped = false;
};
