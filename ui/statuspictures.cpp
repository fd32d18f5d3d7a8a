#include "ui/statuspictures.h"

#include <QFont>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

namespace StatusPictures {

namespace {

struct Look
{
    QColor disc;
    QColor mark;
    QString glyph;  // empty: the Error cross, drawn with lines
    bool shadow;
};

QPixmap draw(const Look &look, int size)
{
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(QSize(size, size) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF disc(1, 1, size - 4, size - 4);
    if (look.shadow) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(128, 128, 128));
        p.drawEllipse(disc.translated(2, 2));
    }
    p.setPen(QPen(look.disc.darker(140), 1));
    p.setBrush(look.disc);
    p.drawEllipse(disc);
    if (look.glyph.isEmpty()) {
        const qreal m = size * 0.32;
        p.setPen(QPen(look.mark, size / 8.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(m, m), QPointF(size - 3 - m, size - 3 - m));
        p.drawLine(QPointF(size - 3 - m, m), QPointF(m, size - 3 - m));
    } else {
        QFont font;
        font.setBold(true);
        font.setPixelSize(int(size * 0.62));
        p.setFont(font);
        p.setPen(look.mark);
        p.drawText(disc, Qt::AlignCenter, look.glyph);
    }
    return pixmap;
}

} // namespace

QPixmap picture(const QString &kind, int size)
{
    static QHash<QString, QPixmap> cache;
    const QString cacheKey = kind + QString::number(size);
    if (auto it = cache.constFind(cacheKey); it != cache.constEnd())
        return *it;

    Look look;
    if (kind == QLatin1String("Info"))
        look = {QColor(0, 0, 128), Qt::white, QStringLiteral("i"), false};
    else if (kind == QLatin1String("Error"))
        look = {QColor(204, 0, 0), Qt::white, QString(), true};
    else if (kind == QLatin1String("Warning"))
        look = {QColor(255, 215, 0), Qt::black, QStringLiteral("!"), false};
    else if (kind == QLatin1String("Question"))
        look = {QColor(0, 150, 0), Qt::white, QStringLiteral("?"), false};
    else
        return QPixmap();
    const QPixmap pixmap = draw(look, size);
    cache.insert(cacheKey, pixmap);
    return pixmap;
}

} // namespace StatusPictures
