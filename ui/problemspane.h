#pragma once

#include "core/finding.h"
#include "ui/findingslist.h"

#include <QDockWidget>

class QLabel;

// "Problems": the open document's findings at the bottom of the window, as the fields show them:
// severity, line, field and text. Activating one (double-click, Enter) asks for its field.
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

signals:
    // The key of the finding's field (empty for a finding of no one value).
    void fieldRequested(const QString &key);

private:
    QLabel *m_summary;
    FindingsList *m_list;
};
