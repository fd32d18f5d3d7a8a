#include "ui/statusreporter.h"

#include "ui/messagebox.h"
#include "core/applog.h"
#include "ui/statuspictures.h"

#include <QLabel>
#include <QTimer>

StatusReporter::StatusReporter(AppLog &log, QLabel *label, QLabel *picture, QTimer *tipTimer,
                         QWidget *owner)
    : m_log(log), m_label(label), m_picture(picture), m_tipTimer(tipTimer), m_owner(owner)
{
}

void StatusReporter::reportStatus(const QString &message, const QString &kind, bool alsoLog)
{
    m_label->setText(message);
    m_label->setToolTip(message);
    const QPixmap picture = StatusPictures::picture(kind);
    if (!picture.isNull()) {
        m_picture->setPixmap(picture);
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
    MessageBox::show(m_owner, MessageBox::Icon::Critical, MessageBox::Buttons::Ok,
                     QStringLiteral("An error has occured! Error description : ") + error.description
                         + QStringLiteral("\r\n\r\nError Number :") + QString::number(error.number));
    reportStatus(error.description, QStringLiteral("Error"), true);
}
