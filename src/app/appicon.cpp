#include "app/appicon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>

QList<int> appIconSizes() {
    return {16, 32, 48, 64, 128, 256};
}

QImage drawAppIcon(int side) {
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Drawn on a 256-unit square; small sizes get slightly thicker strokes to stay readable.
    const double unit = side / 256.0;
    p.scale(unit, unit);
    const double thicken = side <= 32 ? 1.5 : 1.0;

    QLinearGradient sky(0, 0, 0, 256);
    sky.setColorAt(0, QColor(30, 70, 140));
    sky.setColorAt(1, QColor(80, 145, 215));
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    p.drawRoundedRect(QRectF(8, 8, 240, 240), 44, 44);

    const QPointF hub(128, 136);
    auto line = [&](const QColor& colour, const QList<QPointF>& points) {
        p.setPen(QPen(colour, 22 * thicken, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(points.data(), int(points.size()));
    };
    line(QColor(230, 60, 60), {{40, 200}, {90, 180}, hub, {176, 88}, {222, 70}});
    line(QColor(250, 200, 40), {{60, 52}, {96, 100}, hub, {170, 190}, {196, 220}});

    // The found way, a white dashed path from the first stop to the last over the lines; the
    // dashes would only blur the small pictures.
    if (side > 32) {
        p.setPen(QPen(Qt::white, 9, Qt::DashLine, Qt::RoundCap, Qt::RoundJoin));
        const QPointF way[] = {{60, 52}, {96, 100}, hub, {176, 88}, {222, 70}};
        p.drawPolyline(way, 5);
    }

    p.setPen(QPen(QColor(20, 30, 50), 7 * thicken));
    p.setBrush(QColor(166, 202, 240));
    // The end stops would only blur the smallest picture.
    if (side > 16)
        for (const QPointF& stop : {QPointF(60, 52), QPointF(222, 70)})
            p.drawEllipse(stop, 18, 18);
    p.setBrush(Qt::white);
    p.drawEllipse(hub, 28, 28);
    return image;
}

QIcon appIcon() {
    QIcon icon;
    for (int side : appIconSizes())
        icon.addPixmap(QPixmap::fromImage(drawAppIcon(side)));
    return icon;
}
