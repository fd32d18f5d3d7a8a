#pragma once

#include "core/finding.h"

#include <QKeySequence>
#include <QTreeWidget>

// The findings of a check as a list, for the Problems pane and the Mod check pane alike: one
// presentation of a finding's severity (its icon, its word, its accessible name), of its file and
// of its text, which is plain text cut to a cell's length with the whole in the tooltip.
class FindingsList : public QTreeWidget
{
public:
    enum class Column { File, Line, Severity, Field, Text, Fix };
    FindingsList(const QList<Column> &columns, const QStringList &headers, QWidget *parent = nullptr);

    struct Row
    {
        ModCheck::Finding finding;
        QString field;     // the caption of the field it marks (empty: none)
        QString file;      // the file as the list names it
        QString fileTip;   // and in full
        QString opens;     // the path that opening the finding opens (empty: none can name it)
        bool clean = false;  // no finding: the file was checked and found fine
    };
    void showRows(const QList<Row> &rows);

    // What a finding's item holds besides its texts.
    static QString keyOf(const QTreeWidgetItem *item);
    static QString pathOf(const QTreeWidgetItem *item);
    static QString shownFileOf(const QTreeWidgetItem *item);

    // The key that applies a finding's fix, in a field and in a list of findings.
    static inline const QKeySequence FixKey{Qt::CTRL | Qt::Key_Period};
    // How the Fix column names a finding's fix: "Safe", "Suggestion", or nothing.
    static QString fixName(ModCheck::FixKind kind);

    // "Error" or "Warning", as the list and screen readers name a severity.
    static QString severityName(ModCheck::Severity severity);
    // How a file without findings is listed.
    static inline const QString CleanName = QStringLiteral("Clean");
    static inline const QString CleanText = QStringLiteral("No findings");

private:
    QList<Column> m_columns;
};
