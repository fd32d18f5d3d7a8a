#include "ui/problemspane.h"

#include "ui/findingslist.h"

#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
using Column = FindingsList::Column;

// A few rows high at first, and down to two when the window is short: the fields come first.
class ProblemList : public FindingsList
{
public:
    ProblemList()
        : FindingsList({Column::Severity, Column::Line, Column::Field, Column::Text},
                       {QStringLiteral("Severity"), QStringLiteral("Line"), QStringLiteral("Field"), QStringLiteral("Text")})
    {
    }
    QSize sizeHint() const override { return {FindingsList::sizeHint().width(), fontMetrics().height() * 5}; }
    QSize minimumSizeHint() const override
    {
        return {FindingsList::minimumSizeHint().width(), fontMetrics().height() * 2};
    }
};
} // namespace

ProblemsPane::ProblemsPane(QWidget *parent)
    : QDockWidget(QStringLiteral("Problems"), parent)
    , m_summary(new QLabel)
    , m_list(new ProblemList)
{
    setObjectName(QStringLiteral("problemsPane"));
    setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    m_summary->setObjectName(QStringLiteral("problemsSummary"));
    m_summary->setTextFormat(Qt::PlainText);
    m_list->setObjectName(QStringLiteral("problemsList"));
    m_list->setAccessibleName(QStringLiteral("Problems"));
    connect(m_list, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem *item) { emit fieldRequested(FindingsList::keyOf(item)); });
    auto *holder = new QWidget;
    auto *layout = new QVBoxLayout(holder);
    layout->setContentsMargins(4, 2, 4, 4);
    layout->addWidget(m_summary);
    layout->addWidget(m_list);
    setWidget(holder);
    showNoDocument();
}

void ProblemsPane::showProblems(const QList<Problem> &problems)
{
    QList<FindingsList::Row> rows;
    int errors = 0;
    for (const Problem &problem : problems) {
        errors += problem.finding.severity == ModCheck::Severity::Error ? 1 : 0;
        rows.append({problem.finding, problem.field, {}, {}, {}});
    }
    m_list->showRows(rows);
    const int warnings = int(problems.size()) - errors;
    m_summary->setText(problems.isEmpty() ? QStringLiteral("No problems in this document.")
                                          : QStringLiteral("%1 %2, %3 %4 in this document.")
                                                .arg(errors)
                                                .arg(errors == 1 ? QStringLiteral("error") : QStringLiteral("errors"))
                                                .arg(warnings)
                                                .arg(warnings == 1 ? QStringLiteral("warning")
                                                                   : QStringLiteral("warnings")));
}

void ProblemsPane::showNoDocument()
{
    m_list->clear();
    m_summary->setText(QStringLiteral("No document is open."));
}
