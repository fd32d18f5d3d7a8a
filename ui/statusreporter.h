#pragma once

#include "core/apperror.h"

#include <QString>

class AppLog;
class QLabel;
class QTimer;
class QWidget;

// The status row's report, the log writer and the common report of unexpected errors, shared by
// every part of the editor.
class StatusReporter
{
public:
    StatusReporter(AppLog &log, QLabel *label, QLabel *picture, QTimer *tipTimer, QWidget *owner);

    // Shows the message and the kind's picture, logs it when asked, and restarts the tip countdown
    // so that the next tip comes one full interval after this report.
    void reportStatus(const QString &message, const QString &kind, bool alsoLog);
    void writeLog(const QString &kind, const QString &message);

    // Shows the error in a critical box and reports it as an "Error" on the status row.
    void reportUnexpectedError(const AppError &error);

    // The exact kind whose picture the status row shows (empty before the first report).
    QString shownKind() const { return m_shownKind; }

private:
    AppLog &m_log;
    QLabel *m_label;
    QLabel *m_picture;
    QTimer *m_tipTimer;
    QWidget *m_owner;
    QString m_shownKind;
};
