#include "view/maprenderer.h"

#include "model/numberformat.h"
#include "platform/colours.h"
#include "platform/fonts.h"

#include <QFontMetrics>
#include <QHash>

#include <algorithm>

namespace lirsk {

namespace {

QString fontKey(const FontSpec& spec) {
    return QStringLiteral("%1|%2|%3%4%5%6")
        .arg(spec.Name)
        .arg(spec.Size)
        .arg(int(spec.Bold))
        .arg(int(spec.Italic))
        .arg(int(spec.Underline))
        .arg(int(spec.StrikeOut));
}

struct FontEntry {
    QFont font;
    int ascent = 0;
    int height = 0;
};

const FontEntry& fontEntry(const FontSpec& spec) {
    static QHash<QString, FontEntry> cache;
    const QString key = fontKey(spec);
    auto it = cache.find(key);
    if (it == cache.end()) {
        FontEntry entry;
        entry.font = toQFont(spec);
        const QFontMetrics metrics(entry.font);
        entry.ascent = metrics.ascent();
        entry.height = metrics.height();
        it = cache.insert(key, entry);
    }
    return *it;
}

void drawStrokes(QPainter& painter, const std::vector<Stroke>& strokes) {
    for (const Stroke& stroke : strokes) {
        if (stroke.size() < 2)
            continue;
        std::vector<QPoint> points;
        points.reserve(stroke.size());
        for (const MapPoint& p : stroke)
            points.emplace_back(p.x, p.y);
        painter.drawPolyline(points.data(), int(points.size()));
    }
}

QPen penOf(const QColor& colour, int width) {
    QPen pen(colour, std::max(width, 0));
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

} // namespace

void GraphCanvas::resize(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (image.width() == width && image.height() == height)
        return;
    image = QImage(width, height, QImage::Format_RGB32);
    image.fill(windowColour());
}

void beginPainting(QPainter& painter, GraphCanvas& canvas) {
    painter.begin(&canvas.image);
    painter.setPen(penOf(canvas.penColor, canvas.penWidth));
    painter.setBrush(Qt::NoBrush);
    painter.setFont(canvas.font);
    if (canvas.penMode == PenMode::NotXor) {
        // Drawing the same figure twice must give back the image exactly: no smoothing.
        painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    } else {
        painter.setRenderHint(QPainter::Antialiasing);
    }
}

void DrawStraightArc(QPainter& painter, int x1, int y1, int x2, int y2, int setback, int arrowType,
                     int arrowSize, double arrowAngle) {
    const StraightArcShape shape =
        straightArc(x1, y1, x2, y2, setback, arrowType, arrowSize, arrowAngle);
    if (shape.drawn)
        drawStrokes(painter, shape.strokes);
}

void DrawCurvedArc(QPainter& painter, int x1, int y1, int x2, int y2, int setback, int arrowType,
                   int arrowSize, double arrowAngle, double length, bool showWeights) {
    const CurvedArcShape shape =
        curvedArc(x1, y1, x2, y2, setback, arrowType, arrowSize, arrowAngle);
    if (!shape.drawn)
        return;
    const QRect square(shape.centre.x - shape.radius, shape.centre.y - shape.radius,
                       2 * shape.radius, 2 * shape.radius);
    painter.drawArc(square, qRound(shape.startAngle * 16), qRound(shape.spanAngle * 16));
    if (showWeights)
        drawTextAt(painter, shape.labelAt.x, shape.labelAt.y, formatNumber(length));
    drawStrokes(painter, shape.head);
}

void drawTextAt(QPainter& painter, int x, int y, const QString& text) {
    // Text takes the colour of the canvas's font (window text), not the pen's.
    const QPen pen = painter.pen();
    painter.setPen(toQColor(WindowTextColor));
    const QFontMetrics metrics(painter.font());
    painter.drawText(QPoint(x, y + metrics.ascent()), text);
    painter.setPen(pen);
}

void DrawLink(QPainter& painter, const GraphMap& map, const Link& link) {
    const DisplaySettings& s = map.Settings;
    const MapPoint p1{link.From->centreX(), link.From->centreY()};
    const MapPoint p2{link.To->centreX(), link.To->centreY()};
    if (s.AutoArcColor) {
        QPen pen = painter.pen();
        pen.setColor(toQColor(link.From->FillColor));
        painter.setPen(pen);
    }
    bool curved = false;
    if (link.IsArc) {
        if (GraphMap::FindLink(link.To, link.From)) {
            curved = true;
            DrawCurvedArc(painter, p1.x, p1.y, p2.x, p2.y, link.To->Radius, s.ArrowType,
                          roundHalfEven(s.ArrowSize * 1.5), s.ArrowAngle, link.Length,
                          s.ShowWeights);
        } else {
            DrawStraightArc(painter, p1.x, p1.y, p2.x, p2.y, link.To->Radius, s.ArrowType,
                            s.ArrowSize, s.ArrowAngle);
        }
    } else {
        painter.drawLine(p1.x, p1.y, p2.x, p2.y);
    }
    if (s.ShowWeights && !curved) {
        const Link* shown = GraphMap::FindLink(link.From, link.To);
        const MapPoint at = midpointLabel(p1, p2);
        drawTextAt(painter, at.x, at.y, formatNumber(shown ? shown->Length : link.Length));
    }
}

void DrawStop(QPainter& painter, const Stop& stop) {
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(toQColor(stop.FillColor));
    const QRectF rect(stop.Left + 0.5, stop.Top + 0.5, stop.Width - 1, stop.Height - 1);
    if (stop.Selected)
        painter.drawRoundedRect(rect, selectedCornerSize(stop.Width) / 2.0,
                                selectedCornerSize(stop.Height) / 2.0);
    else
        painter.drawEllipse(rect);
    if (stop.Label.Visible)
        paintNameLabel(painter, stop);
}

void paintStopControl(QPainter& painter, const Stop& stop) {
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(toQColor(stop.FillColor));
    painter.drawEllipse(QRectF(stop.Left + 0.5, stop.Top + 0.5, stop.Width - 1, stop.Height - 1));
}

void paintNameLabel(QPainter& painter, const Stop& stop) {
    const FontEntry& entry = fontEntry(stop.Label.Font);
    painter.setFont(entry.font);
    painter.setPen(toQColor(stop.Label.Font.Color));
    painter.drawText(QPoint(stop.Label.Left, stop.Label.Top + entry.ascent), stop.Label.Caption);
}

QRect nameLabelRect(const Stop& stop) {
    if (stop.Label.Caption.isEmpty())
        return {};
    const FontEntry& entry = fontEntry(stop.Label.Font);
    const QFontMetrics metrics(entry.font);
    return QRect(stop.Label.Left, stop.Label.Top, metrics.horizontalAdvance(stop.Label.Caption),
                 entry.height);
}

QRect mapExtent(const GraphMap& map) {
    // Sums in 64 bits: a damaged file may hold positions near the ends of the int range.
    qint64 right = 0, bottom = 0;
    for (const auto& stop : map.stops()) {
        right = std::max(right, qint64(stop->Left) + stop->Width);
        bottom = std::max(bottom, qint64(stop->Top) + stop->Height);
        if (stop->Label.Visible && !stop->Label.Caption.isEmpty()) {
            const FontEntry& entry = fontEntry(stop->Label.Font);
            const QFontMetrics metrics(entry.font);
            right = std::max(right, qint64(stop->Label.Left) +
                                        metrics.horizontalAdvance(stop->Label.Caption));
            bottom = std::max(bottom, qint64(stop->Label.Top) + entry.height);
        }
    }
    constexpr qint64 kLimit = (1 << 24) - 1; // the largest widget size
    return QRect(0, 0, int(std::min(right, kLimit)), int(std::min(bottom, kLimit)));
}

void setMapPen(QPainter& painter, const QColor& colour, int width, PenMode mode) {
    painter.setPen(penOf(colour, width));
    painter.setBrush(Qt::NoBrush);
    if (mode == PenMode::NotXor) {
        // Drawing the same figure twice must give back the image exactly: no smoothing.
        painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
        painter.setRenderHint(QPainter::Antialiasing, false);
    } else {
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.setRenderHint(QPainter::Antialiasing);
    }
}

void paintGraph(QPainter& painter, const GraphMap& map, const QRect& area) {
    setMapPen(painter, toQColor(map.Settings.ArcColor), map.Settings.ArcWidth, PenMode::Copy);
    painter.setFont(QFont());
    // A link is drawn when the box of its two centres, widened by what is drawn around the line
    // (arrow heads, a curve's bulge, the length), meets the area.
    const DisplaySettings& s = map.Settings;
    const qint64 margin = qint64(std::max(s.ArrowSize, 0)) * 2 + std::max(s.ArcWidth, 0) + 64;
    const qint64 left = area.left() - margin, right = qint64(area.right()) + margin;
    const qint64 top = area.top() - margin, bottom = qint64(area.bottom()) + margin;
    for (const auto& stop : map.stops()) {
        for (const auto& link : stop->Links) {
            const qint64 x1 = link->From->centreX(), y1 = link->From->centreY();
            const qint64 x2 = link->To->centreX(), y2 = link->To->centreY();
            // A curved pair bulges out by up to half the distance between its stops.
            const qint64 bulge = link->IsArc ? (std::abs(x2 - x1) + std::abs(y2 - y1)) / 2 : 0;
            if (std::max(x1, x2) + bulge < left || std::min(x1, x2) - bulge > right ||
                std::max(y1, y2) + bulge < top || std::min(y1, y2) - bulge > bottom)
                continue;
            DrawLink(painter, map, *link);
        }
    }
    for (const auto& stop : map.stops()) {
        const QRect box(stop->Left, stop->Top, stop->Width, stop->Height);
        if (box.intersects(area) || (stop->Label.Visible && nameLabelRect(*stop).intersects(area)))
            DrawStop(painter, *stop);
    }
}

void RedrawGraph(GraphCanvas& canvas, const GraphMap& map) {
    canvas.penMode = PenMode::Copy;
    canvas.image.fill(windowColour());
    QPainter painter(&canvas.image);
    paintGraph(painter, map, canvas.image.rect());
}

} // namespace lirsk
