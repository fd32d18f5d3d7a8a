#include "ui/modcheckpane.h"

#include "core/documentfile.h"
#include "core/settings.h"
#include "ui/plaintext.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
enum Shown { AllFindings, ErrorsOnly, WarningsOnly };  // the filter's entries, in its order
enum Role { PathRole = Qt::UserRole, KeyRole, ShownRole };
} // namespace

ModCheckPane::ModCheckPane(QWidget *parent)
    : QDockWidget(QStringLiteral("Mod check"), parent)
    , m_steps(new QTimer(this))
    , m_summary(new QLabel)
    , m_progress(new QProgressBar)
    , m_filter(new QComboBox)
    , m_stop(new QPushButton(QStringLiteral("&Stop")))
    , m_again(new QPushButton(QStringLiteral("Check &Again")))
    , m_findings(new QTreeWidget)
{
    setObjectName(QStringLiteral("modCheckPane"));
    m_summary->setObjectName(QStringLiteral("summaryLabel"));
    m_summary->setTextFormat(Qt::PlainText);
    m_progress->setObjectName(QStringLiteral("progressBar"));
    m_filter->setObjectName(QStringLiteral("severityFilter"));
    m_filter->setAccessibleName(QStringLiteral("Show"));
    m_filter->addItems({QStringLiteral("All findings"), QStringLiteral("Errors"), QStringLiteral("Warnings")});
    m_stop->setObjectName(QStringLiteral("stopButton"));
    m_again->setObjectName(QStringLiteral("checkAgainButton"));
    m_findings->setObjectName(QStringLiteral("findingsList"));
    m_findings->setHeaderLabels({QStringLiteral("File"), QStringLiteral("Line"), QStringLiteral("Severity"),
                                 QStringLiteral("Finding")});
    m_findings->setRootIsDecorated(false);
    m_findings->setAlternatingRowColors(true);
    m_findings->setAccessibleName(QStringLiteral("Findings"));
    m_findings->header()->setStretchLastSection(true);

    auto *top = new QHBoxLayout;
    top->addWidget(m_summary, 1);
    top->addWidget(m_progress);
    top->addWidget(m_filter);
    top->addWidget(m_stop);
    top->addWidget(m_again);
    auto *holder = new QWidget;
    auto *layout = new QVBoxLayout(holder);
    layout->setContentsMargins(4, 2, 4, 4);
    layout->addLayout(top);
    layout->addWidget(m_findings, 1);
    setWidget(holder);

    connect(m_stop, &QPushButton::clicked, this, &ModCheckPane::stop);
    connect(m_again, &QPushButton::clicked, this, [this] { check(m_folder); });
    connect(m_filter, &QComboBox::currentIndexChanged, this, &ModCheckPane::showFindings);
    connect(m_findings, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *item) {
        emit openRequested(item->data(0, PathRole).toString(), item->data(0, KeyRole).toString(),
                           item->data(0, ShownRole).toString());
    });
    m_steps->setInterval(0);
    connect(m_steps, &QTimer::timeout, this, &ModCheckPane::checkSomeFiles);
    m_stop->setEnabled(false);
    m_again->setEnabled(false);
    m_progress->hide();
}

void ModCheckPane::check(const QString &folder)
{
    if (m_inStep) {  // a file is being checked below this call: it stops, then this check starts
        m_stopRequested = true;
        QTimer::singleShot(0, this, [this, folder] { check(folder); });
        return;
    }
    m_folder = folder;
    m_gameFolder = Settings::gameFolderIfSet();
    m_files = ModCheck::filesToCheck({folder}, nullptr);
    m_report = {};
    m_stopRequested = false;
    m_findings->clear();
    m_summary->setText(QStringLiteral("Checking '%1'...").arg(QDir::toNativeSeparators(folder)));
    m_progress->setMaximum(int(m_files.size()));
    m_progress->setValue(0);
    m_progress->show();
    m_stop->setEnabled(true);
    m_again->setEnabled(false);
    show();
    raise();
    m_steps->start();
}

bool ModCheckPane::isChecking() const { return m_steps->isActive(); }

void ModCheckPane::stop()
{
    if (!isChecking())
        return;
    // Inside a file the check stops at its next question whether to go on.
    m_stopRequested = true;
    if (!m_inStep)
        showReport(true);
}

void ModCheckPane::checkSomeFiles()
{
    // A few milliseconds of checking at a time: the window answers between them.
    if (m_inStep)
        return;
    m_inStep = true;
    QElapsedTimer slice;
    slice.start();
    // A large file takes a while: the window answers now and then while it is checked, so that
    // Stop stops it there.
    const ModCheck::KeepGoing keepGoing = [this, &slice] {
        if (slice.elapsed() > 50) {
            QCoreApplication::processEvents();
            slice.restart();
        }
        return !m_stopRequested;
    };
    while (!m_stopRequested && m_report.files < m_files.size() && slice.elapsed() < 20) {
        const QList<ModCheck::Finding> found = ModCheck::checkFile(m_files.at(m_report.files), m_gameFolder, keepGoing);
        if (m_stopRequested)
            break;  // a file checked in part is not counted
        m_report.findings += found;
        ++m_report.files;
    }
    m_inStep = false;
    m_progress->setValue(m_report.files);
    if (m_stopRequested || m_report.files == m_files.size())
        showReport(m_stopRequested);
}

void ModCheckPane::showReport(bool stopped)
{
    m_steps->stop();
    m_stopped = stopped;
    m_progress->hide();
    m_stop->setEnabled(false);
    m_again->setEnabled(true);
    showFindings();
    emit checked();
}

void ModCheckPane::showFindings()
{
    if (isChecking())
        return;
    m_findings->clear();
    const int shown = m_filter->currentIndex();
    QList<QTreeWidgetItem *> items;
    for (const ModCheck::Finding &finding : m_report.findings) {
        const bool error = finding.severity == ModCheck::Severity::Error;
        if ((shown == ErrorsOnly && !error) || (shown == WarningsOnly && error))
            continue;
        auto *item = new QTreeWidgetItem;
        // Within the folder checked, a file is known by its place in it.
        item->setText(0, PlainText::shown(ModCheck::shownPath(QDir(m_folder).relativeFilePath(finding.path))));
        item->setToolTip(0, PlainText::toolTip(ModCheck::shownPath(finding.path)));
        // The file is opened by its bytes, never by how it prints: a name that is not valid text
        // prints like a file named with its escapes. A name no path can spell cannot be opened.
        const QString path = DocumentFile::pathOf(finding.name);
        const bool spelt = !finding.name.isEmpty() && DocumentFile::nameOf(path) == finding.name;
        item->setData(0, PathRole, spelt ? QDir::toNativeSeparators(path) : QString());
        item->setData(0, ShownRole, ModCheck::shownPath(finding.path));
        item->setData(0, KeyRole, finding.key);
        item->setText(1, QString::number(finding.line));
        item->setText(2, error ? QStringLiteral("error") : QStringLiteral("warning"));
        const QString text = PlainText::shownFinding(finding.text, PlainText::MostInToolTip);
        item->setText(3, PlainText::shown(text));
        item->setToolTip(3, PlainText::toolTip(text));
        items.append(item);
    }
    m_findings->addTopLevelItems(items);
    // Every column as wide as its text: a finding wider than the pane scrolls, it is not cut.
    for (int column = 0; column < 4; ++column)
        m_findings->resizeColumnToContents(column);
    m_summary->setText((m_stopped ? QStringLiteral("Stopped: ") : QString()) + ModCheck::summary(m_report)
                       + (m_report.findings.isEmpty() ? QString() : QStringLiteral(". Double-click a finding to open its file.")));
}
