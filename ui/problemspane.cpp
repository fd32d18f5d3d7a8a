#include "ui/problemspane.h"

#include "core/checkoutput.h"
#include "ui/findingslist.h"
#include "ui/plaintext.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
using Column = FindingsList::Column;

// A few rows high at first, and down to two when the window is short: the fields come first.
class ProblemList : public FindingsList
{
public:
    ProblemList()
        : FindingsList({Column::Severity, Column::Line, Column::Field, Column::Fix, Column::Text},
                       {QStringLiteral("Severity"), QStringLiteral("Line"), QStringLiteral("Field"), QStringLiteral("Fix"),
                        QStringLiteral("Text")})
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
    , m_fix(new QPushButton(QStringLiteral("Fix")))
    , m_fixAll(new QPushButton(QStringLiteral("Fix All")))
{
    setObjectName(QStringLiteral("problemsPane"));
    setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    m_summary->setObjectName(QStringLiteral("problemsSummary"));
    m_summary->setTextFormat(Qt::PlainText);
    m_list->setObjectName(QStringLiteral("problemsList"));
    m_list->setAccessibleName(QStringLiteral("Problems"));
    connect(m_list, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem *item) { emit fieldRequested(FindingsList::keyOf(item)); });
    m_fix->setObjectName(QStringLiteral("fixButton"));
    m_fix->setToolTip(QStringLiteral("Apply the fix of the chosen finding (%1)").arg(FindingsList::FixKey.toString(QKeySequence::NativeText)));
    m_fix->setAccessibleDescription(m_fix->toolTip());
    m_fixAll->setObjectName(QStringLiteral("fixAllButton"));
    m_fixAll->setToolTip(QStringLiteral("Apply every safe fix of the document"));
    m_fixAll->setAccessibleDescription(m_fixAll->toolTip());
    const auto fixChosen = [this] {
        if (const ModCheck::Finding *finding = chosenFix())
            emit fixRequested(*finding);
    };
    connect(m_fix, &QPushButton::clicked, this, fixChosen);
    connect(m_fixAll, &QPushButton::clicked, this, &ProblemsPane::fixAllRequested);
    auto *fixKey = new QShortcut(FindingsList::FixKey, m_list, fixChosen, Qt::WidgetShortcut);
    fixKey->setObjectName(QStringLiteral("fixShortcut"));
    connect(m_list, &QTreeWidget::currentItemChanged, this, &ProblemsPane::updateButtons);
    // A row's context menu: its fix, and its field.
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_list, &QWidget::customContextMenuRequested, this, [this, fixChosen](const QPoint &at) {
        QTreeWidgetItem *item = m_list->itemAt(at);
        if (!item)
            return;
        m_list->setCurrentItem(item);
        QMenu menu;
        if (const ModCheck::Finding *finding = chosenFix()) {
            QAction *fix = menu.addAction(QStringLiteral("Fix: ") + PlainText::menuText(finding->fix.what), fixChosen);
            fix->setShortcut(FindingsList::FixKey);
        }
        menu.addAction(QStringLiteral("Go to Field"), this, [this, item] { emit fieldRequested(FindingsList::keyOf(item)); });
        menu.exec(m_list->viewport()->mapToGlobal(at));
    });
    auto *holder = new QWidget;
    auto *layout = new QVBoxLayout(holder);
    layout->setContentsMargins(4, 2, 4, 4);
    // The buttons' row is higher than the summary alone: it takes no more of the window's height
    // than the summary did, so that a window sized for the fields keeps its size.
    layout->setSpacing(2);
    auto *top = new QHBoxLayout;
    // The summary takes the room the buttons leave, and wraps rather than widen the window.
    m_summary->setWordWrap(true);
    m_summary->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    top->addWidget(m_summary, 1);
    top->addWidget(m_fix);
    top->addWidget(m_fixAll);
    layout->addLayout(top);
    layout->addWidget(m_list);
    setWidget(holder);
    showNoDocument();
}

const ModCheck::Finding *ProblemsPane::chosenFix() const
{
    const int row = m_list->currentItem() ? m_list->indexOfTopLevelItem(m_list->currentItem()) : -1;
    if (row < 0 || row >= m_problems.size() || m_problems.at(row).finding.fix.isNone())
        return nullptr;
    return &m_problems.at(row).finding;
}

void ProblemsPane::updateButtons()
{
    m_fix->setEnabled(chosenFix() != nullptr);
    m_fixAll->setEnabled(std::any_of(m_problems.cbegin(), m_problems.cend(), [](const Problem &p) {
        return p.finding.fix.kind == ModCheck::FixKind::Safe;
    }));
}

void ProblemsPane::showProblems(const QList<Problem> &problems)
{
    // The row chosen stays chosen (by its rule and field) when the findings are made again.
    const int wasRow = m_list->currentItem() ? m_list->indexOfTopLevelItem(m_list->currentItem()) : -1;
    const QString wasRule = wasRow >= 0 ? m_problems.value(wasRow).finding.rule : QString();
    const QString wasKey = wasRow >= 0 ? m_problems.value(wasRow).finding.key : QString();
    m_problems = problems;
    QList<FindingsList::Row> rows;
    int errors = 0;
    for (const Problem &problem : problems) {
        errors += problem.finding.severity == ModCheck::Severity::Error ? 1 : 0;
        rows.append({problem.finding, problem.field, {}, {}, {}});
    }
    m_list->showRows(rows);
    for (qsizetype i = 0; i < problems.size() && !wasRule.isEmpty(); ++i) {
        if (problems.at(i).finding.rule == wasRule && problems.at(i).finding.key == wasKey) {
            m_list->setCurrentItem(m_list->topLevelItem(int(i)));
            break;
        }
    }
    updateButtons();
    const int warnings = int(problems.size()) - errors;
    m_summary->setText(problems.isEmpty() ? QStringLiteral("No problems in this document.")
                                          : QStringLiteral("%1, %2 in this document.")
                                                .arg(ModCheck::counted(errors, "error", "errors"),
                                                     ModCheck::counted(warnings, "warning", "warnings")));
}

void ProblemsPane::showNoDocument()
{
    m_problems.clear();
    m_list->clear();
    updateButtons();
    m_summary->setText(QStringLiteral("No document is open."));
}
