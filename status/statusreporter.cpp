#include "status/statusreporter.h"

#include "platform/messagebox.h"
#include "status/applog.h"
#include "status/statuspictures.h"

#include <QLabel>
#include <QTimer>

StatusReporter::StatusReporter(AppLog &log, QLabel *lblStatus, QLabel *imgStatus, QTimer *tipTimer,
                         QWidget *owner)
    : m_log(log), m_lblStatus(lblStatus), m_imgStatus(imgStatus), m_tipTimer(tipTimer), m_owner(owner)
{
}

void StatusReporter::ReportStatus(const QString &message, const QString &kind, bool alsoLog)
{
    m_lblStatus->setText(message);
    m_lblStatus->setToolTip(message);
    const QPixmap picture = StatusPictures::picture(kind);
    if (!picture.isNull()) {
        m_imgStatus->setPixmap(picture);
        m_shownKind = kind;
    }
    if (alsoLog)
        m_log.WriteLog(kind, message);
    m_tipTimer->stop();
    m_tipTimer->start();
}

void StatusReporter::WriteLog(const QString &kind, const QString &message) { m_log.WriteLog(kind, message); }

void StatusReporter::ReportUnexpectedError(const AppError &error)
{
    if (error.isCancel()) {
        DialogCancelled = true;
        return;
    }
    MessageBox::show(m_owner, MessageBox::Icon::Critical, MessageBox::Buttons::Ok,
                     QStringLiteral("An error has occured! Error description : ") + error.description
                         + QStringLiteral("\r\n\r\nError Number :") + QString::number(error.number));
    ReportStatus(error.description, QStringLiteral("Error"), true);
}
