#include "ui/findingslist.h"

#include "ui/plaintext.h"

#include <QHeaderView>
#include <QStyle>

namespace {
enum Role { KeyRole = Qt::UserRole, PathRole, ShownRole };
} // namespace

FindingsList::FindingsList(const QList<Column> &columns, const QStringList &headers, QWidget *parent)
    : QTreeWidget(parent), m_columns(columns)
{
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAlternatingRowColors(true);
    setHeaderLabels(headers);
    header()->setStretchLastSection(true);
}

QString FindingsList::severityName(ModCheck::Severity severity)
{
    return severity == ModCheck::Severity::Error ? QStringLiteral("Error") : QStringLiteral("Warning");
}

QString FindingsList::fixName(ModCheck::FixKind kind)
{
    return kind == ModCheck::FixKind::Safe ? QStringLiteral("Safe")
           : kind == ModCheck::FixKind::Suggestion ? QStringLiteral("Suggestion") : QString();
}

void FindingsList::showRows(const QList<Row> &rows)
{
    clear();
    const QIcon errorIcon = style()->standardIcon(QStyle::SP_MessageBoxCritical);
    const QIcon warningIcon = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    const QIcon cleanIcon = style()->standardIcon(QStyle::SP_DialogApplyButton);
    QList<QTreeWidgetItem *> items;
    items.reserve(rows.size());
    for (const Row &row : rows) {
        const ModCheck::Finding &finding = row.finding;
        auto *item = new QTreeWidgetItem;
        item->setData(0, KeyRole, finding.key);
        item->setData(0, PathRole, row.opens);
        item->setData(0, ShownRole, row.fileTip);
        for (int column = 0; column < m_columns.size(); ++column) {
            switch (m_columns.at(column)) {
            case Column::File:
                item->setText(column, PlainText::shown(row.file));
                item->setToolTip(column, PlainText::toolTip(row.fileTip));
                break;
            case Column::Line:
                item->setText(column, finding.line > 0 && !row.clean ? QString::number(finding.line) : QString());
                break;
            case Column::Severity: {
                const bool error = finding.severity == ModCheck::Severity::Error;
                const QString name = row.clean ? CleanName : severityName(finding.severity);
                item->setText(column, name);
                item->setIcon(column, row.clean ? cleanIcon : error ? errorIcon : warningIcon);
                item->setData(column, Qt::AccessibleTextRole, name);
                break;
            }
            case Column::Field:
                item->setText(column, row.field);
                break;
            case Column::Fix:
                item->setText(column, fixName(finding.fix.kind));
                item->setData(column, Qt::AccessibleTextRole, fixName(finding.fix.kind));
                if (!finding.fix.isNone()) {
                    item->setToolTip(column, PlainText::toolTip(finding.fix.what));
                    item->setData(column, Qt::AccessibleDescriptionRole, PlainText::shownFinding(finding.fix.what));
                }
                break;
            case Column::Text: {
                const QString text = row.clean ? CleanText : PlainText::shownFinding(finding.text, PlainText::MostInToolTip);
                item->setText(column, PlainText::shown(text));
                item->setToolTip(column, PlainText::toolTip(text));
                break;
            }
            }
        }
        items.append(item);
    }
    addTopLevelItems(items);
    // Every column but the last as wide as its text: a finding wider than the pane scrolls.
    for (int column = 0; column + 1 < m_columns.size(); ++column)
        resizeColumnToContents(column);
}

QString FindingsList::keyOf(const QTreeWidgetItem *item) { return item->data(0, KeyRole).toString(); }

QString FindingsList::pathOf(const QTreeWidgetItem *item) { return item->data(0, PathRole).toString(); }

QString FindingsList::shownFileOf(const QTreeWidgetItem *item) { return item->data(0, ShownRole).toString(); }
