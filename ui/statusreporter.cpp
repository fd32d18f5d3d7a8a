#include "ui/statusreporter.h"

#include "ui/messagebox.h"
#include "core/applog.h"
#include "ui/statuspictures.h"

#include <QLabel>
#include <QTimer>

StatusReporter::StatusReporter(AppLog &log, QLabel *lblStatus, QLabel *imgStatus, QTimer *tipTimer,
                         QWidget *owner)
    : m_log(log), m_lblStatus(lblStatus), m_imgStatus(imgStatus), m_tipTimer(tipTimer), m_owner(owner)
{
}

void StatusReporter::reportStatus(const QString &message, const QString &kind, bool alsoLog)
{
    m_lblStatus->setText(message);
    m_lblStatus->setToolTip(message);
    const QPixmap picture = StatusPictures::picture(kind);
    if (!picture.isNull()) {
        m_imgStatus->setPixmap(picture);
        m_shownKind = kind;
    }
    if (alsoLog)
        m_log.writeLog(kind, message);
    m_tipTimer->stop();
    m_tipTimer->start();
}

void StatusReporter::writeLog(const QString &kind, const QString &message) { m_log.writeLog(kind, message); }

void StatusReporter::reportUnexpectedError(const AppError &error)
{
    if (error.isCancel()) {
        dialogCancelled = true;
        return;
    }
    MessageBox::show(m_owner, MessageBox::Icon::Critical, MessageBox::Buttons::Ok,
                     QStringLiteral("An error has occured! Error description : ") + error.description
                         + QStringLiteral("\r\n\r\nError Number :") + QString::number(error.number));
    reportStatus(error.description, QStringLiteral("Error"), true);
}
