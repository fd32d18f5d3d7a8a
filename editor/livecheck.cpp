#include "editor/livecheck.h"

#include "core/settings.h"
#include "editor/documentpanel.h"

#include <QSet>

namespace {

// The line the key's value is written on (1-based), or 0.
int lineOf(const QByteArray &bytes, const QString &key)
{
    const QByteArray start = key.toLatin1() + '=';
    int line = 1;
    for (qsizetype at = 0; at < bytes.size(); ++line) {
        if (QByteArrayView(bytes).sliced(at).startsWith(start))
            return line;
        const qsizetype end = bytes.indexOf('\n', at);
        if (end < 0)
            break;
        at = end + 1;
    }
    return 0;
}

// The findings for what Save would write: a value Save refuses is one finding, and what the check
// makes of that value as it would be written is beside the point.
QList<ModCheck::Finding> findingsOf(const QByteArray &bytes, const DocumentPanel::Output &output,
                                    const LiveCheck::Subject &subject, const QString &gameFolder,
                                    const ModCheck::KeepGoing &keepGoing)
{
    const QList<ModCheck::Finding> found = ModCheck::checkBytes(bytes, subject.kind, subject.path, gameFolder, keepGoing);
    QList<ModCheck::Finding> findings;
    QSet<QString> refused;
    for (const Nfo::UnstorableValue &value : output.unstorable) {
        const int line = value.key.isEmpty() ? value.error.line : lineOf(bytes, value.key);
        findings.append({subject.path, line, ModCheck::Severity::Error, value.error.description, value.key});
        refused.insert(value.key);
    }
    for (const ModCheck::Finding &finding : found) {
        if (finding.key.isEmpty() || !refused.contains(finding.key))
            findings.append(finding);
    }
    return findings;
}

} // namespace

LiveCheck::LiveCheck(std::function<Subject()> subject, QObject *parent)
    : QObject(parent), m_subject(std::move(subject))
{
    m_pause.setSingleShot(true);
    m_pause.setInterval(PauseMs);
    connect(&m_pause, &QTimer::timeout, this, &LiveCheck::checkNow);
}

LiveCheck::~LiveCheck() { stop(); }

void LiveCheck::schedule()
{
    if (m_stopped)
        return;
    m_runner.drop();  // a check running now is of the text before this change
    m_pause.start();
}

void LiveCheck::cancel()
{
    m_pause.stop();
    m_runner.stop();
}

void LiveCheck::stop()
{
    m_stopped = true;
    cancel();
}

void LiveCheck::checkNow()
{
    if (m_stopped)
        return;
    const Subject subject = m_subject();
    if (!subject.panel)
        return;
    if (subject.panel->isFilling()) {  // a long description is still coming in: check it once whole
        m_pause.start();
        return;
    }
    const auto make = subject.panel->outputMaker();
    const QString gameFolder = Settings::gameFolderIfSet();
    struct Checked
    {
        QByteArray bytes;
        QList<ModCheck::Finding> findings;
    };
    auto done = std::make_shared<Checked>();
    m_runner.start(
        [make, subject = Subject{nullptr, subject.kind, subject.path}, gameFolder, done](const BackgroundRunner::StopFlag &stop) {
            const DocumentPanel::Output output = make();
            done->bytes = output.bytes();
            done->findings = findingsOf(done->bytes, output, subject, gameFolder, [&stop] { return !stop.load(); });
        },
        [this, done] { emit checked(done->findings, done->bytes); });
}
