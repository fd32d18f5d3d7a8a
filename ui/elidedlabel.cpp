#include "ui/elidedlabel.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

QString ElidedLabel::shownText() const
{
    const QString whole = text();
    const int width = contentsRect().width();
    const QFontMetrics metrics = fontMetrics();
    if (metrics.horizontalAdvance(whole) <= width)
        return whole;
    const qsizetype separator = qMax(whole.lastIndexOf(QLatin1Char('/')), whole.lastIndexOf(QLatin1Char('\\')));
    if (separator < 0)
        return metrics.elidedText(whole, Qt::ElideRight, width);
    // A path: its folders are cut in the middle, so that its start and its file name (with what
    // follows it) stay in view while they fit.
    const QString tail = whole.mid(separator);
    const int tailWidth = metrics.horizontalAdvance(tail);
    if (tailWidth < width / 2)
        return metrics.elidedText(whole.left(separator), Qt::ElideMiddle, width - tailWidth) + tail;
    return metrics.elidedText(whole, Qt::ElideMiddle, width);
}

void ElidedLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect(), int(alignment()) | Qt::TextSingleLine, palette(), isEnabled(),
                          shownText(), foregroundRole());
}

void ElidedLabel::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    update();
}

bool ElidedLabel::event(QEvent *event)
{
    // The whole text as a tooltip, only where some of it is hidden.
    if (event->type() == QEvent::ToolTip && shownText() == text()) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    return QLabel::event(event);
}
