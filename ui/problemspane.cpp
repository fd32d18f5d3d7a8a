#include "ui/problemspane.h"

#include "ui/plaintext.h"

#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
enum Column { SeverityColumn, LineColumn, FieldColumn, TextColumn };
constexpr int KeyRole = Qt::UserRole;

// A few rows high at first, and down to two when the window is short: the fields come first.
class ProblemList : public QTreeWidget
{
public:
    QSize sizeHint() const override { return {QTreeWidget::sizeHint().width(), fontMetrics().height() * 5}; }
    QSize minimumSizeHint() const override
    {
        return {QTreeWidget::minimumSizeHint().width(), fontMetrics().height() * 2};
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
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setHeaderLabels({QStringLiteral("Severity"), QStringLiteral("Line"), QStringLiteral("Field"),
                             QStringLiteral("Text")});
    m_list->header()->setStretchLastSection(true);
    connect(m_list, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem *item) { emit fieldRequested(item->data(0, KeyRole).toString()); });
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
    m_list->clear();
    int errors = 0;
    QList<QTreeWidgetItem *> items;
    for (const Problem &problem : problems) {
        const ModCheck::Finding &finding = problem.finding;
        const bool error = finding.severity == ModCheck::Severity::Error;
        errors += error ? 1 : 0;
        const QString text = PlainText::shownFinding(finding.text, PlainText::MostInToolTip);
        auto *item = new QTreeWidgetItem({error ? QStringLiteral("Error") : QStringLiteral("Warning"),
                                          finding.line > 0 ? QString::number(finding.line) : QString(), problem.field,
                                          PlainText::shown(text)});
        item->setToolTip(TextColumn, PlainText::toolTip(text));
        item->setIcon(SeverityColumn,
                      style()->standardIcon(error ? QStyle::SP_MessageBoxCritical : QStyle::SP_MessageBoxWarning));
        item->setData(0, KeyRole, finding.key);
        items.append(item);
    }
    m_list->addTopLevelItems(items);
    for (int column : {SeverityColumn, LineColumn, FieldColumn})
        m_list->resizeColumnToContents(column);
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
