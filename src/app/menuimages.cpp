#include "app/menuimages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace {

const QColor kInk(40, 40, 40);
const QColor kStop(166, 202, 240);
const QColor kRoad(0, 102, 204);
const QColor kRed(200, 30, 30);

// Each picture is drawn anew at one, two and three times its size, so it stays sharp on screens
// that scale the desktop.
QIcon picture(const std::function<void(QPainter&)>& draw) {
    QIcon icon;
    for (int scale : {1, 2, 3}) {
        QPixmap pixmap(16 * scale, 16 * scale);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(scale, scale);
        draw(p);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

void page(QPainter& p) {
    p.setPen(kInk);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({{3.5, 1.5}, {10.5, 1.5}, {13.5, 4.5}, {13.5, 14.5}, {3.5, 14.5}}));
}

void stopAt(QPainter& p, double x, double y) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(kStop);
    p.drawEllipse(QPointF(x, y), 2.8, 2.8);
}

void arrowHead(QPainter& p, QPointF tip, QPointF from) {
    const QLineF shaft(tip, from);
    QLineF wing1 = shaft;
    wing1.setLength(5);
    wing1.setAngle(shaft.angle() + 28);
    QLineF wing2 = shaft;
    wing2.setLength(5);
    wing2.setAngle(shaft.angle() - 28);
    p.drawLine(wing1);
    p.drawLine(wing2);
}

void cross(QPainter& p, double x, double y) {
    p.setPen(QPen(kRed, 2));
    p.drawLine(QPointF(x - 3, y - 3), QPointF(x + 3, y + 3));
    p.drawLine(QPointF(x - 3, y + 3), QPointF(x + 3, y - 3));
}

void letterBadge(QPainter& p, const QColor& fill, const QString& letter) {
    p.setPen(QPen(fill.darker(140), 1));
    p.setBrush(fill);
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    QFont font = p.font();
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(1, 1, 14, 14), Qt::AlignCenter, letter);
}

void windows(QPainter& p, const QList<QRectF>& frames) {
    for (const QRectF& r : frames) {
        p.setPen(kInk);
        p.setBrush(Qt::white);
        p.drawRect(r);
        p.fillRect(QRectF(r.left() + 0.5, r.top() + 0.5, r.width() - 0.5, 2.5), kRoad);
    }
}

// The file commands' and the tools' images, 0 to 9.
void addToolImages(QList<QIcon>& images) {
    images << picture(page);            // 0 new map
    images << picture([](QPainter& p) { // 1 open
        p.setPen(QColor(150, 110, 20));
        p.setBrush(QColor(240, 200, 80));
        p.drawPolygon(QPolygonF(
            {{1.5, 4.5}, {6.5, 4.5}, {7.5, 5.5}, {14.5, 5.5}, {14.5, 13.5}, {1.5, 13.5}}));
        p.setBrush(QColor(250, 220, 120));
        p.drawPolygon(QPolygonF({{3.5, 8.5}, {15.5, 8.5}, {13.5, 13.5}, {1.5, 13.5}}));
    });
    images << picture([](QPainter& p) { // 2 save
        p.setPen(kInk);
        p.setBrush(QColor(60, 90, 170));
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(QRectF(3.5, 9.5, 9, 5));
    });
    images << picture([](QPainter& p) { letterBadge(p, QColor(30, 110, 200), "i"); }); // 3 about
    images << picture([](QPainter& p) {                                                // 4 add stop
        stopAt(p, 6, 10);
        p.setPen(QPen(QColor(0, 140, 0), 2));
        p.drawLine(QPointF(12, 2), QPointF(12, 8));
        p.drawLine(QPointF(9, 5), QPointF(15, 5));
    });
    images << picture([](QPainter& p) { // 5 add road
        p.setPen(QPen(kRoad, 2));
        p.drawLine(QPointF(3, 12), QPointF(13, 4));
        stopAt(p, 3.5, 12);
        stopAt(p, 12.5, 4);
    });
    images << picture([](QPainter& p) { // 6 delete road
        p.setPen(QPen(kRoad, 2));
        p.drawLine(QPointF(3, 12), QPointF(13, 4));
        stopAt(p, 3.5, 12);
        stopAt(p, 12.5, 4);
        cross(p, 8, 8);
    });
    images << picture([](QPainter& p) { // 7 road parameters
        p.setPen(QPen(kRoad, 2));
        p.drawLine(QPointF(2, 13), QPointF(14, 13));
        stopAt(p, 3, 13);
        stopAt(p, 13, 13);
        QFont font = p.font();
        font.setPixelSize(9);
        font.setBold(true);
        p.setFont(font);
        p.setPen(kInk);
        p.drawText(QRectF(0, 0, 16, 10), Qt::AlignCenter, "12");
    });
    images << picture([](QPainter& p) { // 8 pointer
        p.setPen(QPen(kInk, 1));
        p.setBrush(Qt::white);
        p.drawPolygon(
            QPolygonF({{4, 1}, {4, 13}, {7, 10}, {9.5, 15}, {11.5, 14}, {9, 9}, {13, 9}}));
    });
    images << picture([](QPainter& p) { // 9 find the way
        p.setPen(QPen(QColor(0, 0, 255), 2));
        QPainterPath path(QPointF(3, 13));
        path.cubicTo(QPointF(3, 5), QPointF(13, 11), QPointF(13, 3));
        p.drawPath(path);
        stopAt(p, 3, 13);
        stopAt(p, 13, 3);
    });
}

// The windows', help's, editor's and zoom's images, 10 to 20.
void addWindowImages(QList<QIcon>& images) {
    images << picture([](QPainter& p) { // 10 cascade
        windows(p, {QRectF(1.5, 1.5, 9, 8), QRectF(5.5, 6.5, 9, 8)});
    });
    images << picture([](QPainter& p) { // 11 tile horizontally
        windows(p, {QRectF(1.5, 1.5, 13, 6), QRectF(1.5, 8.5, 13, 6)});
    });
    images << picture([](QPainter& p) { // 12 tile vertically
        windows(p, {QRectF(1.5, 1.5, 6, 13), QRectF(8.5, 1.5, 6, 13)});
    });
    images << picture([](QPainter& p) { letterBadge(p, QColor(0, 130, 60), "?"); }); // 13 help
    images << picture([](QPainter& p) {                                              // 14 helper
        p.setPen(QColor(150, 120, 0));
        p.setBrush(QColor(255, 230, 90));
        p.drawEllipse(QRectF(3.5, 1.5, 9, 9));
        p.setBrush(QColor(160, 160, 160));
        p.drawRect(QRectF(5.5, 10.5, 5, 4));
    });
    images << picture([](QPainter& p) { // 15 editor
        p.setPen(kInk);
        p.setBrush(QColor(250, 200, 60));
        p.drawPolygon(QPolygonF({{2, 14}, {3, 10}, {11, 2}, {14, 5}, {6, 13}}));
        p.setBrush(QColor(240, 150, 150));
        p.drawPolygon(QPolygonF({{11, 2}, {14, 5}, {15, 4}, {12, 1}}));
    });
    images << picture([](QPainter& p) { // 16 add arc
        p.setPen(QPen(kRoad, 1.6));
        p.drawLine(QPointF(2, 14), QPointF(11, 5));
        arrowHead(p, QPointF(11, 5), QPointF(2, 14));
        p.setPen(QPen(QColor(0, 140, 0), 2));
        p.drawLine(QPointF(12, 10), QPointF(12, 15));
        p.drawLine(QPointF(9.5, 12.5), QPointF(14.5, 12.5));
    });
    images << picture([](QPainter& p) { // 17 delete arc
        p.setPen(QPen(kRoad, 1.6));
        p.drawLine(QPointF(2, 14), QPointF(13, 3));
        arrowHead(p, QPointF(13, 3), QPointF(2, 14));
        cross(p, 11, 12);
    });
    images << picture([](QPainter& p) { // 18 stop information
        stopAt(p, 5, 11);
        letterBadge(p, QColor(200, 120, 0), "i");
        stopAt(p, 4, 12);
    });
    images << picture([](QPainter& p) { // 19 fit the map in the window
        p.setPen(kInk);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.setPen(QPen(kRoad, 1.5));
        for (const QPointF& corner :
             {QPointF(4, 4), QPointF(12, 4), QPointF(4, 12), QPointF(12, 12)})
            p.drawLine(QPointF(8, 8) + (corner - QPointF(8, 8)) * 0.35, corner);
    });
    images << picture([](QPainter& p) { // 20 actual size
        QFont font = p.font();
        font.setPixelSize(9);
        font.setBold(true);
        p.setFont(font);
        p.setPen(kInk);
        p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, "1:1");
    });
}

} // namespace

QList<QIcon> makeMenuImages() {
    QList<QIcon> images;
    addToolImages(images);
    addWindowImages(images);
    return images;
}
