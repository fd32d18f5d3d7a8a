#include "editor/livecheck.h"

#include "core/settings.h"
#include "editor/documentpanel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSet>

LiveCheck::LiveCheck(std::function<Subject()> subject, QObject *parent)
    : QObject(parent), m_subject(std::move(subject))
{
    m_pause.setSingleShot(true);
    m_pause.setInterval(PauseMs);
    connect(&m_pause, &QTimer::timeout, this, &LiveCheck::run);
}

LiveCheck::~LiveCheck() { stop(); }

void LiveCheck::schedule()
{
    if (m_stopped)
        return;
    ++m_generation;
    m_pause.start();
}

void LiveCheck::stop()
{
    m_stopped = true;
    m_pause.stop();
}

void LiveCheck::run()
{
    const Subject subject = m_subject();
    if (m_running || m_stopped || !subject.panel)
        return;
    if (subject.panel->isFilling()) {  // a long description is still coming in: check it once whole
        m_pause.start();
        return;
    }
    m_running = true;
    const quint64 generation = m_generation;
    const DocumentPanel::Output output = subject.panel->output();
    const QByteArray bytes = output.bytes();
    // The window answers every 50 ms of a long check; a change meanwhile makes this one moot.
    QElapsedTimer slice;
    slice.start();
    const ModCheck::KeepGoing keepGoing = [&] {
        if (slice.elapsed() >= 50) {
            QCoreApplication::processEvents();
            slice.restart();
        }
        return generation == m_generation && !m_stopped;
    };
    const QList<ModCheck::Finding> found =
        ModCheck::checkBytes(bytes, subject.kind, subject.path, Settings::gameFolderIfSet(), keepGoing);
    m_running = false;
    if (m_stopped)
        return;
    if (generation != m_generation) {
        m_pause.start();
        return;
    }
    // A value Save refuses is one finding; what the check makes of the value as it would be
    // written is beside the point.
    QList<ModCheck::Finding> findings;
    QSet<QString> refused;
    for (const Nfo::UnstorableValue &value : output.unstorable) {
        findings.append({subject.path, value.error.line, ModCheck::Severity::Error, value.error.description, value.key});
        refused.insert(value.key);
    }
    for (const ModCheck::Finding &finding : found) {
        if (finding.key.isEmpty() || !refused.contains(finding.key))
            findings.append(finding);
    }
    emit checked(findings);
}
