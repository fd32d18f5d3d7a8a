#include "ui/statuspictures.h"

#include <QFont>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

namespace StatusPictures {

namespace {

QPixmap draw(const StatusKinds::Look &look, int size)
{
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(QSize(size, size) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF circle(1, 1, size - 4, size - 4);
    const QColor disc(QRgb(look.disc)), mark(QRgb(look.mark));
    if (look.shadow) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(128, 128, 128));
        p.drawEllipse(circle.translated(2, 2));
    }
    p.setPen(QPen(disc.darker(140), 1));
    p.setBrush(disc);
    p.drawEllipse(circle);
    if (!*look.glyph) {
        const qreal m = size * 0.32;
        p.setPen(QPen(mark, size / 8.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(m, m), QPointF(size - 3 - m, size - 3 - m));
        p.drawLine(QPointF(size - 3 - m, m), QPointF(m, size - 3 - m));
    } else {
        QFont font;
        font.setBold(true);
        font.setPixelSize(int(size * 0.62));
        p.setFont(font);
        p.setPen(mark);
        p.drawText(circle, Qt::AlignCenter, QString::fromLatin1(look.glyph));
    }
    return pixmap;
}

} // namespace

QPixmap picture(StatusKind kind, int size)
{
    const StatusKinds::Look &look = StatusKinds::of(kind);
    if (!look.hasPicture)
        return QPixmap();
    static QHash<int, QPixmap> cache;
    const int cacheKey = static_cast<int>(kind) * 1000 + size;
    if (auto it = cache.constFind(cacheKey); it != cache.constEnd())
        return *it;
    const QPixmap pixmap = draw(look, size);
    cache.insert(cacheKey, pixmap);
    return pixmap;
}

} // namespace StatusPictures
