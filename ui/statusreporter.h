#pragma once

#include "core/apperror.h"
#include "core/statuskind.h"

#include <QObject>
#include <QString>

#include <optional>

class AppLog;
class QLabel;
class QWidget;

// The status row's report, and the common report of errors, shared by every part of the editor:
// each report is shown with its kind's picture and written to the log.
class StatusReporter : public QObject
{
    Q_OBJECT

public:
    StatusReporter(AppLog &log, QLabel *label, QLabel *picture, QWidget *owner);

    // Shows the message and the kind's picture (a kind without one keeps the picture shown) and
    // logs it.
    void reportStatus(const QString &message, StatusKind kind);

    // Shows the error in a critical box with its number and reports it as an Error on the status
    // row: a failure the user asked to know of (a file that cannot be read) or did not expect.
    void reportError(const AppError &error);

    // The kind whose picture the status row shows (nothing before the first report).
    std::optional<StatusKind> shownKind() const { return m_shownKind; }

signals:
    // A report was shown (the tips wait a full interval after it).
    void reported();

private:
    AppLog &m_log;
    QLabel *m_label;
    QLabel *m_picture;
    QWidget *m_owner;
    std::optional<StatusKind> m_shownKind;
};
