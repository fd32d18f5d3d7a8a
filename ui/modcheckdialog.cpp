#include "ui/modcheckdialog.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QElapsedTimer>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

ModCheckDialog::ModCheckDialog(const QString &folder, const QString &gameFolder, QWidget *parent)
    : QDialog(parent)
    , m_folder(folder)
    , m_gameFolder(gameFolder)
    , m_files(ModCheck::filesToCheck({folder}, nullptr))
    , m_steps(new QTimer(this))
    , m_summary(new QLabel(QStringLiteral("Checking '%1'...").arg(QDir::toNativeSeparators(folder)), this))
    , m_progress(new QProgressBar(this))
    , m_findings(new QTreeWidget(this))
    , m_buttons(new QDialogButtonBox(QDialogButtonBox::Cancel, this))
{
    setObjectName(QStringLiteral("modCheckDialog"));
    setWindowTitle(QStringLiteral("Check Mod Folder - Brisquel"));
    m_summary->setObjectName(QStringLiteral("summaryLabel"));
    m_summary->setTextFormat(Qt::PlainText);
    m_progress->setObjectName(QStringLiteral("progressBar"));
    m_findings->setObjectName(QStringLiteral("findingsList"));
    m_findings->setHeaderLabels({QStringLiteral("File"), QStringLiteral("Line"), QStringLiteral("Severity"),
                                 QStringLiteral("Finding")});
    m_findings->setRootIsDecorated(false);
    m_findings->setAlternatingRowColors(true);
    m_findings->setAccessibleName(QStringLiteral("Findings"));
    m_findings->header()->setStretchLastSection(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_progress);
    layout->addWidget(m_findings, 1);
    layout->addWidget(m_buttons);
    resize(fontMetrics().averageCharWidth() * 130, fontMetrics().height() * 24);

    connect(m_buttons, &QDialogButtonBox::rejected, this, [this] {
        if (!isChecking()) {
            reject();
            return;
        }
        // Inside a file the check stops at its next question whether to go on.
        m_stopRequested = true;
        if (!m_inStep)
            showReport(true);
    });
    connect(m_findings, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *item) {
        emit openRequested(item->data(0, Qt::UserRole).toString());
    });

    m_progress->setMaximum(int(m_files.size()));
    m_steps->setInterval(0);
    connect(m_steps, &QTimer::timeout, this, &ModCheckDialog::checkSomeFiles);
    m_steps->start();
}

bool ModCheckDialog::isChecking() const { return m_steps->isActive(); }

void ModCheckDialog::checkSomeFiles()
{
    // A few milliseconds of checking at a time: the window answers between them.
    if (m_inStep)
        return;
    m_inStep = true;
    QElapsedTimer slice;
    slice.start();
    // A large file takes a while: the window answers now and then while it is checked, so that
    // Cancel stops it there.
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

void ModCheckDialog::showReport(bool stopped)
{
    const ModCheck::Report &report = m_report;
    m_steps->stop();
    m_progress->hide();
    for (const ModCheck::Finding &finding : report.findings) {
        auto *item = new QTreeWidgetItem(m_findings);
        // Within the folder checked, a file is known by its place in it.
        item->setText(0, QDir::toNativeSeparators(QDir(m_folder).relativeFilePath(finding.path)));
        item->setToolTip(0, QDir::toNativeSeparators(finding.path));
        item->setData(0, Qt::UserRole, QDir::toNativeSeparators(finding.path));  // as a path the user gives
        item->setText(1, QString::number(finding.line));
        item->setText(2, finding.severity == ModCheck::Severity::Error ? QStringLiteral("error") : QStringLiteral("warning"));
        item->setText(3, finding.text);
        item->setToolTip(3, finding.text);
    }
    // Every column as wide as its text: a finding wider than the window scrolls, it is not cut.
    for (int column = 0; column < 4; ++column)
        m_findings->resizeColumnToContents(column);
    m_summary->setText((stopped ? QStringLiteral("Stopped: ") : QString()) + ModCheck::summary(report)
                       + (report.findings.isEmpty() ? QString() : QStringLiteral(". Double-click a finding to open its file.")));
    m_buttons->setStandardButtons(QDialogButtonBox::Close);
    emit checked();
}
