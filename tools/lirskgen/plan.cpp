#include "plan.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>

#include <cmath>
#include <optional>

namespace lirsk::city {

namespace {

const QColor kGround(0xF2, 0xEF, 0xE6);
const QColor kCasing(0xA8, 0xA2, 0x98);
const QColor kMajorFill(0xFF, 0xE4, 0x9A);
const QColor kMinorFill(0xFF, 0xFF, 0xFF);
const QColor kWater(0x9C, 0xC8, 0xEE);
const QColor kEmbankment(0x9A, 0x96, 0x90);
const QColor kStreetText(0x3A, 0x36, 0x30);

constexpr double kMajorWidth = 16;
constexpr double kMinorWidth = 10;

QPainterPath pathOf(const Polyline& line, bool closed) {
    QPainterPath path;
    if (line.isEmpty())
        return path;
    path.moveTo(line.front());
    for (qsizetype i = 1; i < line.size(); ++i)
        path.lineTo(line[i]);
    if (closed)
        path.closeSubpath();
    return path;
}

// A line through the points, rounded at the corners, so that the river bends softly.
QPainterPath smoothPathOf(const Polyline& line) {
    QPainterPath path;
    if (line.size() < 3)
        return pathOf(line, false);
    path.moveTo(line.front());
    for (qsizetype i = 1; i + 1 < line.size(); ++i) {
        const QPointF mid = (line[i] + line[i + 1]) / 2;
        path.quadTo(line[i], i + 2 < line.size() ? mid : line[i + 1]);
    }
    return path;
}

// Built-up land: rows of houses in the blocks; the streets are drawn over them later.
void drawHousing(QPainter& p, const Area& a) {
    const QPainterPath path = pathOf(a.points, true);
    p.save();
    p.setClipPath(path);
    p.fillPath(path, QColor(0xEE, 0xE9, 0xDD));
    QRandomGenerator rng(uint(a.points.size() * 104729));
    const QRectF box = path.boundingRect();
    p.setPen(QPen(QColor(0xCF, 0xC4, 0xB2), 1));
    p.setBrush(QColor(0xE2, 0xD9, 0xC8));
    for (double y = box.top() + 14; y < box.bottom(); y += 34) {
        for (double x = box.left() + 12; x < box.right(); x += 40) {
            if (rng.bounded(5) == 0)
                continue;
            const double w = 18 + rng.bounded(12);
            const double h = 12 + rng.bounded(8);
            p.drawRect(QRectF(x, y, w, h));
        }
    }
    p.restore();
}

void drawAreas(QPainter& p, const City& city) {
    for (const Area& a : city.areas) {
        if (a.kind == QLatin1String("housing"))
            drawHousing(p, a);
    }
    for (const Area& a : city.areas) {
        const QPainterPath path = pathOf(a.points, true);
        if (a.kind == QLatin1String("housing"))
            continue;
        if (a.kind == QLatin1String("forest")) {
            p.fillPath(path, QColor(0xA8, 0xCF, 0x8E));
            p.save();
            p.setClipPath(path);
            QRandomGenerator rng(uint(a.points.size() * 7919));
            const QRectF box = path.boundingRect();
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0x94, 0xC2, 0x7A));
            for (double y = box.top(); y < box.bottom(); y += 22) {
                for (double x = box.left(); x < box.right(); x += 22) {
                    const QPointF c(x + rng.bounded(10), y + rng.bounded(10));
                    p.drawEllipse(c, 4, 4);
                }
            }
            p.restore();
        } else if (a.kind == QLatin1String("park")) {
            p.fillPath(path, QColor(0xC4, 0xE3, 0xAA));
            p.setPen(QPen(QColor(0x9C, 0xC8, 0x84), 1.5));
            p.drawPath(path);
        } else if (a.kind == QLatin1String("industry")) {
            p.fillPath(path, QColor(0xE2, 0xDC, 0xE0));
        } else if (a.kind == QLatin1String("water")) {
            p.fillPath(path, kWater);
        } else {
            p.fillPath(path, QColor(0xEC, 0xE6, 0xDA));
        }
    }
}

void drawAreaNames(QPainter& p, const City& city) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(15);
    font.setItalic(true);
    p.setFont(font);
    for (const Area& a : city.areas) {
        if (a.name.isEmpty())
            continue;
        const QRectF box = pathOf(a.points, true).boundingRect();
        p.setPen(a.kind == QLatin1String("industry") ? QColor(0x80, 0x78, 0x80)
                                                     : QColor(0x3C, 0x6E, 0x2C));
        p.drawText(box, Qt::AlignCenter, a.name);
    }
}

void drawDistricts(QPainter& p, const City& city) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(44);
    font.setBold(true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 6);
    font.setCapitalization(QFont::AllUppercase);
    p.setFont(font);
    p.setPen(QColor(0xD4, 0xC8, 0xB4));
    for (const NamedPoint& d : city.districts) {
        QRectF box(d.at.x() - 600, d.at.y() - 40, 1200, 80);
        p.drawText(box, Qt::AlignCenter, d.name);
    }
}

void drawRiver(QPainter& p, const City& city) {
    const QPainterPath path = smoothPathOf(city.river);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kEmbankment, city.riverWidth + 8, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    p.drawPath(path);
    p.setPen(QPen(kWater, city.riverWidth, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    p.drawPath(path);
}

void drawRailway(QPainter& p, const City& city) {
    const QPainterPath path = pathOf(city.railway, false);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x50, 0x50, 0x50), 6, Qt::SolidLine, Qt::FlatCap));
    p.drawPath(path);
    QPen dash(Qt::white, 3, Qt::CustomDashLine, Qt::FlatCap);
    dash.setDashPattern({6, 6});
    p.setPen(dash);
    p.drawPath(path);

    const QRectF building(city.station.at.x() - 60, city.station.at.y() - 26, 120, 22);
    p.setPen(QPen(QColor(0x80, 0x60, 0x50), 1.5));
    p.setBrush(QColor(0xD8, 0xB8, 0xA8));
    p.drawRect(building);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(13);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(0x50, 0x30, 0x20));
    p.drawText(building, Qt::AlignCenter, city.station.name);
}

void drawStreets(QPainter& p, const City& city) {
    p.setBrush(Qt::NoBrush);
    auto stroke = [&](bool major, const QColor& colour, double extra) {
        for (const Street& s : city.streets) {
            if (s.major != major)
                continue;
            const double w = (major ? kMajorWidth : kMinorWidth) + extra;
            p.setPen(QPen(colour, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPath(pathOf(s.points, false));
        }
    };
    stroke(false, kCasing, 3);
    stroke(true, kCasing, 3);
    stroke(false, kMinorFill, 0);
    stroke(true, kMajorFill, 0);

    // One-way streets: small arrows along the way the traffic goes.
    p.setPen(QPen(QColor(0x70, 0x6A, 0x60), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const Street& s : city.streets) {
        if (!s.oneWay)
            continue;
        for (qsizetype i = 1; i < s.points.size(); ++i) {
            const QLineF line(s.points[i - 1], s.points[i]);
            for (double at = 45; at + 20 < line.length(); at += 90) {
                p.save();
                p.translate(line.pointAt(at / line.length()));
                p.rotate(-line.angle());
                p.drawLine(QPointF(-7, 0), QPointF(5, 0));
                p.drawPolyline(QPolygonF({QPointF(1, -3), QPointF(5, 0), QPointF(1, 3)}));
                p.restore();
            }
        }
    }

    for (const Bridge& b : city.bridges) {
        const QLineF line(b.from, b.to);
        p.setPen(QPen(QColor(0x60, 0x5C, 0x58), kMajorWidth + 9, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(line);
        p.setPen(QPen(kMajorFill, kMajorWidth, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(line);
    }
}

// The text's box when it is drawn centred on `at` and turned by `degrees`.
QRectF turnedBox(QPointF at, QSizeF text, double degrees) {
    QTransform t;
    t.translate(at.x(), at.y());
    t.rotate(degrees);
    return t.mapRect(QRectF(-text.width() / 2, -text.height() / 2, text.width(), text.height()));
}

bool clear(const QRectF& box, const QList<QRectF>& taken) {
    for (const QRectF& t : taken) {
        if (t.intersects(box))
            return false;
    }
    return true;
}

// The screen rotation of text along the line, turned so that it never reads upside down.
double uprightAngle(const QLineF& line) {
    double degrees = std::remainder(-line.angle(), 360.0);
    if (degrees > 90)
        degrees -= 180;
    if (degrees < -90)
        degrees += 180;
    return degrees;
}

struct Segment {
    QPointF a, b;
};

// Prints the names along each street: upright, on a straight stretch long enough for the text,
// away from everything already on the plan that must stay readable; long avenues repeat it.
void drawStreetNames(QPainter& p, const City& city, QList<QRectF> taken) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(12);
    p.setFont(font);
    const QFontMetricsF fm(font);

    auto place = [&](const QString& name, const QList<Segment>& segments, double repeat,
                     const QColor& colour, bool onStreet) {
        double sinceLast = repeat / 2;
        for (const Segment& s : segments) {
            const QLineF line(s.a, s.b);
            const double w = fm.horizontalAdvance(name) + 8;
            const double degrees = uprightAngle(line);
            for (double at = w / 2 + 6; at + w / 2 + 6 < line.length(); at += 12) {
                sinceLast += 12;
                if (sinceLast < repeat)
                    continue;
                const QPointF c = line.pointAt(at / line.length());
                const QRectF box =
                    turnedBox(c, QSizeF(w, fm.height()), degrees).adjusted(-2, -2, 2, 2);
                if (!clear(box, taken))
                    continue;
                p.save();
                p.translate(c);
                p.rotate(degrees);
                p.setPen(colour);
                const QRectF textBox(-w / 2, -fm.height() / 2 - (onStreet ? 1 : 0), w, fm.height());
                p.drawText(textBox, Qt::AlignCenter, name);
                p.restore();
                taken << box;
                sinceLast = 0;
            }
        }
    };

    for (const Bridge& b : city.bridges) {
        taken << QRectF(b.from, b.to).normalized().adjusted(-13, 0, 13, 0);
        const QPointF along = b.to - b.from;
        const QPointF side =
            QPointF(along.y(), -along.x()) / std::hypot(along.x(), along.y()) * (kMajorWidth + 8);
        place(b.name, {Segment{b.from + side, b.to + side}}, 0, QColor(0x40, 0x40, 0x40), false);
    }
    for (const Street& s : city.streets) {
        QList<Segment> segments;
        for (qsizetype i = 1; i < s.points.size(); ++i)
            segments << Segment{s.points[i - 1], s.points[i]};
        place(s.name, segments, s.major ? 500 : 700, kStreetText, true);
    }
    QFont riverFont = font;
    riverFont.setPixelSize(17);
    riverFont.setItalic(true);
    riverFont.setLetterSpacing(QFont::AbsoluteSpacing, 3);
    p.setFont(riverFont);
    QList<Segment> river;
    for (qsizetype i = 1; i < city.river.size(); ++i)
        river << Segment{city.river[i - 1], city.river[i]};
    const QFontMetricsF rfm(riverFont);
    std::optional<QPointF> last;
    for (const Segment& s : river) {
        const QLineF line(s.a, s.b);
        const double w = rfm.horizontalAdvance(city.riverName) + 10;
        if (line.length() < w + 40 || (last && QLineF(*last, line.pointAt(0.5)).length() < 700))
            continue;
        const double degrees = uprightAngle(line);
        const QPointF c = line.pointAt(0.5);
        const QRectF box = turnedBox(c, QSizeF(w, rfm.height()), degrees);
        if (!clear(box, taken))
            continue;
        p.save();
        p.translate(c);
        p.rotate(degrees);
        p.setPen(QColor(0x20, 0x50, 0x90));
        p.drawText(QRectF(-w / 2, -rfm.height() / 2, w, rfm.height()), Qt::AlignCenter,
                   city.riverName);
        p.restore();
        taken << box;
        last = c;
    }
}

} // namespace

QImage drawPlan(const City& city, const QList<QRect>& keepClear) {
    QImage image(city.size, QImage::Format_RGB32);
    image.fill(kGround);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    drawAreas(p, city);
    drawDistricts(p, city);
    drawRiver(p, city);
    drawRailway(p, city);
    drawStreets(p, city);
    drawAreaNames(p, city);

    QList<QRectF> taken;
    for (const QRect& r : keepClear)
        taken << QRectF(r);
    taken << QRectF(city.station.at.x() - 62, city.station.at.y() - 28, 124, 26);
    drawStreetNames(p, city, taken);
    return image;
}

} // namespace lirsk::city
