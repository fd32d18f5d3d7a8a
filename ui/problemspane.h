#pragma once

#include "core/finding.h"
#include "ui/findingslist.h"

#include <QDockWidget>

class QLabel;
class QPushButton;

// "Problems": the open document's findings at the bottom of the window, as the fields show them:
// severity, line, field, text and the fix it has. Activating one (double-click, Enter) asks for
// its field; Fix (or Ctrl+., or its context menu) asks for its fix, Fix All for every safe one.
class ProblemsPane : public QDockWidget
{
    Q_OBJECT

public:
    explicit ProblemsPane(QWidget *parent = nullptr);

    struct Problem
    {
        ModCheck::Finding finding;
        QString field;  // the caption of the field it marks (empty: none)
    };
    void showProblems(const QList<Problem> &problems);
    // No document is open.
    void showNoDocument();

    FindingsList *list() const { return m_list; }
    QLabel *summary() const { return m_summary; }

    QPushButton *fixButton() const { return m_fix; }
    QPushButton *fixAllButton() const { return m_fixAll; }

signals:
    // The key of the finding's field (empty for a finding of no one value).
    void fieldRequested(const QString &key);
    void fixRequested(const ModCheck::Finding &finding);
    void fixAllRequested();

private:
    // The finding of the row chosen, when it has a fix.
    const ModCheck::Finding *chosenFix() const;
    void updateButtons();

    QList<Problem> m_problems;  // in the list's order
    QLabel *m_summary;
    FindingsList *m_list;
    QPushButton *m_fix;
    QPushButton *m_fixAll;
};
