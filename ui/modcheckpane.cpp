#include "ui/modcheckpane.h"

#include "core/checkfix.h"
#include "core/checkoutput.h"
#include "core/documentfile.h"
#include "core/nfokind.h"
#include "core/settings.h"
#include "ui/findingslist.h"
#include "ui/messagebox.h"
#include "ui/plaintext.h"

#include <QComboBox>
#include <QDir>
#include <QHash>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
enum Shown { AllFindings, ErrorsOnly, WarningsOnly };  // the filter's entries, in its order
using Column = FindingsList::Column;
} // namespace

ModCheckPane::ModCheckPane(QWidget *parent)
    : QDockWidget(QStringLiteral("Mod check"), parent)
    , m_progressTimer(new QTimer(this))
    , m_summary(new QLabel)
    , m_progress(new QProgressBar)
    , m_filter(new QComboBox)
    , m_stop(new QPushButton(QStringLiteral("&Stop")))
    , m_again(new QPushButton(QStringLiteral("Check &Again")))
    , m_fixAll(new QPushButton(QStringLiteral("Fix All")))
    , m_findings(new FindingsList({Column::File, Column::Line, Column::Severity, Column::Text},
                                  {QStringLiteral("File"), QStringLiteral("Line"), QStringLiteral("Severity"),
                                   QStringLiteral("Finding")}))
{
    setObjectName(QStringLiteral("modCheckPane"));
    m_summary->setObjectName(QStringLiteral("summaryLabel"));
    m_summary->setTextFormat(Qt::PlainText);
    m_progress->setObjectName(QStringLiteral("progressBar"));
    m_progress->setAccessibleName(QStringLiteral("Progress"));
    // The bar takes the room its row has left: its own wish (a third of a screen in the Windows
    // style) would widen the window as a check starts.
    m_progress->setMinimumWidth(m_progress->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 8);
    m_filter->setObjectName(QStringLiteral("severityFilter"));
    m_filter->setAccessibleName(QStringLiteral("Show"));
    m_filter->addItems({QStringLiteral("All findings"), QStringLiteral("Errors"), QStringLiteral("Warnings")});
    m_stop->setObjectName(QStringLiteral("stopButton"));
    m_again->setObjectName(QStringLiteral("checkAgainButton"));
    m_fixAll->setObjectName(QStringLiteral("fixAllButton"));
    m_fixAll->setToolTip(QStringLiteral("Apply the safe fixes to every file listed"));
    m_fixAll->setAccessibleDescription(m_fixAll->toolTip());
    m_findings->setObjectName(QStringLiteral("findingsList"));
    m_findings->setAccessibleName(QStringLiteral("Findings"));

    // The summary on a line of its own, wrapped to the pane's width: the pane takes its room inside
    // the window and never widens it.
    m_summary->setWordWrap(true);
    m_summary->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto *top = new QHBoxLayout;
    top->addWidget(m_progress, 1);
    // The list's filter, named by its caption for a screen reader too (its own text is its choice).
    auto *showLabel = new QLabel(QStringLiteral("Sho&w:"));
    showLabel->setBuddy(m_filter);
    top->addStretch();
    top->addWidget(showLabel);
    top->addWidget(m_filter);
    top->addWidget(m_stop);
    top->addWidget(m_again);
    top->addWidget(m_fixAll);
    auto *holder = new QWidget;
    auto *layout = new QVBoxLayout(holder);
    layout->setContentsMargins(4, 2, 4, 4);
    layout->addWidget(m_summary);
    layout->addLayout(top);
    layout->addWidget(m_findings, 1);
    setWidget(holder);

    connect(m_stop, &QPushButton::clicked, this, &ModCheckPane::stop);
    connect(m_again, &QPushButton::clicked, this, [this] { check(m_folder); });
    connect(m_fixAll, &QPushButton::clicked, this, &ModCheckPane::fixAll);
    connect(m_filter, &QComboBox::currentIndexChanged, this, &ModCheckPane::showFindings);
    connect(m_findings, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *item) {
        emit openRequested(FindingsList::pathOf(item), FindingsList::keyOf(item), FindingsList::shownFileOf(item));
    });
    m_progressTimer->setInterval(100);
    connect(m_progressTimer, &QTimer::timeout, this, &ModCheckPane::showProgress);
    m_progress->hide();
    updateButtons();
}

void ModCheckPane::updateButtons()
{
    const bool busy = isChecking() || m_fixing;
    m_stop->setEnabled(isChecking());
    m_again->setEnabled(!busy && !m_folder.isEmpty());
    m_fixAll->setEnabled(!busy && std::any_of(m_report.findings.cbegin(), m_report.findings.cend(), [](const ModCheck::Finding &f) {
                             return f.fix.kind == ModCheck::FixKind::Safe;
                         }));
}

void ModCheckPane::fixAll()
{
    if (isChecking() || m_fixing)
        return;
    QHash<QByteArray, int> fixes;  // by file
    int count = 0;
    for (const ModCheck::Finding &finding : std::as_const(m_report.findings)) {
        if (finding.fix.kind == ModCheck::FixKind::Safe)
            ++fixes[finding.name], ++count;
    }
    if (!count)
        return;
    if (MessageBox::show(this, MessageBox::Icon::None, MessageBox::Buttons::YesNoDefaultNo,
                         QStringLiteral("Apply %1 in %2?\r\n\r\nThe file open in the editor is mended there, to be saved "
                                        "when you save it; the others are written now.")
                             .arg(ModCheck::counted(count, "safe fix", "safe fixes"), ModCheck::counted(fixes.size(), "file", "files")))
        != MessageBox::Answer::Yes)
        return;
    QList<ModFiles::Entry> onDisk;
    for (const ModFiles::Entry &file : std::as_const(m_files)) {
        if (!fixes.contains(file.name))
            continue;
        if (!m_fixOpenDocument || !m_fixOpenDocument(DocumentFile::pathOf(file.name)))
            onDisk.append(file);
    }
    m_fixing = true;
    updateButtons();
    m_summary->setText(QStringLiteral("Fixing %1...").arg(ModCheck::counted(onDisk.size(), "file", "files")));
    auto failed = std::make_shared<QStringList>();
    const ModCheck::Options options{m_gameFolder, {}};
    m_runner.start(
        [onDisk, options, failed](const BackgroundRunner::StopFlag &stop) {
            // Each file as it is now: one changed since the check is checked again first.
            ModCheck::Checker checker(options);
            for (const ModFiles::Entry &file : onDisk) {
                if (stop.load())
                    return;
                ModCheck::FixedFile fixed = ModCheck::fixFile(checker, file, ModCheck::FixLevel::Safe, [&stop] { return !stop.load(); });
                if (stop.load())
                    return;
                ModCheck::writeFixed(fixed, file, {});
                for (const ModCheck::Finding &finding : std::as_const(fixed.left)) {
                    if (finding.rule == QLatin1String("unwritable-file"))
                        failed->append(finding.text);
                }
            }
        },
        [this, failed] {
            m_fixing = false;
            if (!failed->isEmpty()) {
                MessageBox::show(this, MessageBox::Icon::Critical, MessageBox::Buttons::Ok,
                                 QStringLiteral("Some files could not be mended, and stay as they were:\r\n\r\n%1")
                                     .arg(PlainText::shown(failed->join(QStringLiteral("\r\n")), PlainText::MostInToolTip)));
            }
            check(m_folder);
        });
}

ModCheckPane::~ModCheckPane() { m_runner.stop(); }

void ModCheckPane::check(const QString &folder)
{
    m_runner.stop();
    m_folder = folder;
    m_gameFolder = Settings::gameFolderIfSet();
    m_findings->clear();
    m_summary->setText(QStringLiteral("Checking '%1'...").arg(QDir::toNativeSeparators(folder)));
    m_progress->setRange(0, 0);  // busy until the walk has found the files
    m_progress->show();
    show();
    raise();
    auto job = std::make_shared<Job>();
    m_job = job;
    updateButtons();
    const ModCheck::Options options{m_gameFolder, {}};
    m_runner.start(
        [job, folder, options](const BackgroundRunner::StopFlag &stop) {
            const ModCheck::KeepGoing keepGoing = [&stop] { return !stop.load(); };
            job->files = ModCheck::filesToCheck(QStringList{folder}, nullptr, keepGoing);
            job->total = int(job->files.size());
            job->report = ModCheck::checkFiles(job->files, options, keepGoing, [&job](int files) { job->done = files; });
            job->complete = !stop.load();
        },
        [this] { showReport(false); });
    m_progressTimer->start();
}

bool ModCheckPane::isChecking() const { return m_job != nullptr; }

void ModCheckPane::stop()
{
    if (!isChecking())
        return;
    m_runner.stop();  // at once: the walk and the check ask at each step
    showReport(!m_job->complete);
}

void ModCheckPane::showProgress()
{
    if (!m_job)
        return;
    if (const int total = m_job->total; total >= 0) {
        m_progress->setRange(0, total);
        m_progress->setValue(m_job->done);
    }
}

void ModCheckPane::showReport(bool stopped)
{
    // The job has ended: what it left is this thread's now.
    m_progressTimer->stop();
    m_report = std::move(m_job->report);
    m_files = std::move(m_job->files);
    m_files.resize(qMin<qsizetype>(m_files.size(), m_report.files));  // those checked, in the walk's order
    m_job.reset();
    m_stopped = stopped;
    m_progress->hide();
    showFindings();
    updateButtons();
    emit checked();
}

void ModCheckPane::refreshFile(const QString &path)
{
    if (isChecking() || m_fixing || m_folder.isEmpty() || !NfoKind::isDocumentName(path))
        return;  // a running check reads the file as it is now (and a Fix All checks again)
    const QString inFolder = QDir(m_folder).relativeFilePath(QDir::fromNativeSeparators(path));
    if (inFolder.startsWith(QLatin1String("..")) || QDir::isAbsolutePath(inFolder))
        return;
    // The file as the walk named it: the editor's path may spell it with other separators.
    const auto sameFile = [saved = QDir::cleanPath(QDir::fromNativeSeparators(path))](const ModFiles::Entry &e) {
        const QString walked = QDir::cleanPath(QDir::fromNativeSeparators(DocumentFile::pathOf(e.name)));
#ifdef Q_OS_WIN
        return walked.compare(saved, Qt::CaseInsensitive) == 0;
#else
        return walked == saved;
#endif
    };
    const auto known = std::find_if(m_files.cbegin(), m_files.cend(), sameFile);
    const ModFiles::Entry file = known != m_files.cend()
                                     ? *known
                                     : ModFiles::Entry{QDir(m_folder).filePath(inFolder),
                                                       DocumentFile::nameOf(QDir::fromNativeSeparators(path)), std::nullopt};
    auto found = std::make_shared<QList<ModCheck::Finding>>();
    const ModCheck::Options options{m_gameFolder, {}};
    m_runner.start(
        [file, options, found](const BackgroundRunner::StopFlag &stop) {
            *found = ModCheck::Checker(options).checkFile(file, [&stop] { return !stop.load(); });
        },
        [this, file, found, isNew = known == m_files.cend()] {
            QList<ModCheck::Finding> &findings = m_report.findings;
            const auto firstOfFile = std::find_if(findings.begin(), findings.end(),
                                                  [&file](const ModCheck::Finding &f) { return f.name == file.name; });
            qsizetype at = firstOfFile - findings.begin();
            findings.removeIf([&file](const ModCheck::Finding &f) { return f.name == file.name; });
            if (isNew) {
                m_files.append(file);
                ++m_report.files;
                at = findings.size();
            }
            for (const ModCheck::Finding &finding : *found)
                findings.insert(at++, finding);
            showFindings();
            updateButtons();
        });
}

void ModCheckPane::showFindings()
{
    if (isChecking())
        return;
    const int shown = m_filter->currentIndex();
    // File by file, as the walk found them: the mod's file list, each file with its findings, or
    // as clean.
    QHash<QByteArray, QList<const ModCheck::Finding *>> byFile;
    for (const ModCheck::Finding &finding : m_report.findings)
        byFile[finding.name].append(&finding);
    QList<FindingsList::Row> rows;
    const auto rowOf = [this](const ModCheck::Finding &finding, const QByteArray &name, bool clean) {
        // The file is opened by its bytes, never by how it prints: a name that is not valid text
        // prints like a file named with its escapes. A name no path can spell cannot be opened.
        const QString path = DocumentFile::pathOf(name);
        const bool spelt = !name.isEmpty() && DocumentFile::nameOf(path) == name;
        // Within the folder checked, a file is known by its place in it.
        return FindingsList::Row{finding, {}, ModCheck::shownPath(QDir(m_folder).relativeFilePath(finding.path)),
                                 ModCheck::shownPath(finding.path), spelt ? QDir::toNativeSeparators(path) : QString(), clean};
    };
    for (const ModFiles::Entry &file : std::as_const(m_files)) {
        const QList<const ModCheck::Finding *> found = byFile.value(file.name);
        if (found.isEmpty()) {
            if (shown == AllFindings)
                rows.append(rowOf({file.path, 0, ModCheck::Severity::Warning, {}, {}}, file.name, true));
            continue;
        }
        for (const ModCheck::Finding *finding : found) {
            const bool error = finding->severity == ModCheck::Severity::Error;
            if ((shown == ErrorsOnly && !error) || (shown == WarningsOnly && error))
                continue;
            rows.append(rowOf(*finding, finding->name, false));
        }
    }
    m_findings->showRows(rows);
    m_summary->setText((m_stopped ? QStringLiteral("Stopped: ") : QString()) + ModCheck::summary(m_report)
                       + (m_files.isEmpty() ? QString() : QStringLiteral(". Double-click a file to open it.")));
}
