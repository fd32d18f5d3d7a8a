#include "ui/statusreporter.h"

#include "core/applog.h"
#include "ui/messagebox.h"
#include "ui/plaintext.h"
#include "ui/statuspictures.h"

#include <QLabel>

StatusReporter::StatusReporter(AppLog &log, QLabel *label, QLabel *picture, QWidget *owner)
    : QObject(owner), m_log(log), m_label(label), m_picture(picture), m_owner(owner)
{
}

void StatusReporter::reportStatus(const QString &message, StatusKind kind)
{
    // The log keeps the whole message; the row shows what can be measured at once.
    m_label->setText(PlainText::shown(message, PlainText::MostInToolTip));
    m_label->setToolTip(PlainText::toolTip(message));
    const QPixmap picture = StatusPictures::picture(kind);
    if (!picture.isNull()) {
        m_picture->setPixmap(picture);
        m_picture->setAccessibleName(QLatin1String(StatusKinds::of(kind).accessibleName));
        m_shownKind = kind;
    }
    m_log.writeLog(kind, message);
    emit reported();
}

void StatusReporter::reportError(const AppError &error)
{
    MessageBox::show(m_owner, MessageBox::Icon::Critical, MessageBox::Buttons::Ok,
                     QStringLiteral("An error has occured! Error description : ") + error.description
                         + QStringLiteral("\r\n\r\nError Number :") + QString::number(error.number));
    reportStatus(error.description, StatusKind::Error);
}
