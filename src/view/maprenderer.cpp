#include "view/maprenderer.h"

#include "model/numberformat.h"
#include "platform/colours.h"
#include "platform/fonts.h"

#include <QFontMetrics>
#include <QHash>

#include <memory>

#include <algorithm>

namespace lirsk {

namespace {

// What makes two stored fonts draw alike (the colour does not).
struct FontKey {
    QString name;
    int size = 0;
    int style = 0;
    bool operator==(const FontKey&) const = default;
};

size_t qHash(const FontKey& key, size_t seed = 0) {
    return qHashMulti(seed, key.name, key.size, key.style);
}

FontKey keyOf(const FontSpec& spec) {
    return {spec.Name, spec.Size,
            int(spec.Bold) | int(spec.Italic) << 1 | int(spec.Underline) << 2 |
                int(spec.StrikeOut) << 3};
}

// A font as drawn, with the widths of the names measured in it.
struct FontEntry {
    explicit FontEntry(const FontSpec& spec) : font(toQFont(spec)), metrics(font) {
        ascent = metrics.ascent();
        height = metrics.height();
    }
    QFont font;
    QFontMetrics metrics;
    int ascent = 0;
    int height = 0;
    QHash<QString, int> widths;
};

const FontEntry& fontEntry(const FontSpec& spec) {
    static QHash<FontKey, std::shared_ptr<FontEntry>> cache;
    // Most stops of a map share one font.
    static FontKey lastKey;
    static FontEntry* last = nullptr;
    FontKey key = keyOf(spec);
    if (last && key == lastKey)
        return *last;
    auto it = cache.find(key);
    if (it == cache.end())
        it = cache.insert(key, std::make_shared<FontEntry>(spec));
    lastKey = std::move(key);
    last = it->get();
    return *last;
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
    QPen pen(colour, std::clamp(width, 0, kMaxShownPenWidth));
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

} // namespace

int shownSize(int stored) {
    return std::clamp(stored, -kMaxShownSize, kMaxShownSize);
}

MapPoint shownCentre(const Stop& stop) {
    const int radius = shownSize(stop.Radius);
    return {saturatedSum(stop.Left, radius), saturatedSum(stop.Top, radius)};
}

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
    const StraightArcShape shape = straightArc(x1, y1, x2, y2, shownSize(setback), arrowType,
                                               shownSize(arrowSize), arrowAngle);
    if (shape.drawn)
        drawStrokes(painter, shape.strokes);
}

void DrawCurvedArc(QPainter& painter, int x1, int y1, int x2, int y2, int setback, int arrowType,
                   int arrowSize, double arrowAngle, double length, bool showWeights) {
    // The curved arrow's head is half as large again as the straight one's.
    const int largestHead = kMaxShownSize * 3 / 2;
    const CurvedArcShape shape =
        curvedArc(x1, y1, x2, y2, shownSize(setback), arrowType,
                  std::clamp(arrowSize, -largestHead, largestHead), arrowAngle);
    if (!shape.drawn)
        return;
    const QRectF square(double(shape.centre.x) - shape.radius,
                        double(shape.centre.y) - shape.radius, 2.0 * shape.radius,
                        2.0 * shape.radius);
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

namespace {

// One link, given its opposite and the first link of its own pair.
void drawLinkWith(QPainter& painter, const GraphMap& map, const Link& link, const Link* opposite,
                  const Link* shown) {
    const DisplaySettings& s = map.Settings;
    const MapPoint p1 = shownCentre(*link.From);
    const MapPoint p2 = shownCentre(*link.To);
    const int setback = shownSize(link.To->Radius);
    const int arrowSize = shownSize(s.ArrowSize);
    if (s.AutoArcColor) {
        QPen pen = painter.pen();
        pen.setColor(toQColor(link.From->FillColor));
        painter.setPen(pen);
    }
    bool curved = false;
    if (link.IsArc) {
        if (opposite) {
            curved = true;
            DrawCurvedArc(painter, p1.x, p1.y, p2.x, p2.y, setback, s.ArrowType,
                          roundHalfEven(arrowSize * 1.5), s.ArrowAngle, link.Length, s.ShowWeights);
        } else {
            DrawStraightArc(painter, p1.x, p1.y, p2.x, p2.y, setback, s.ArrowType, arrowSize,
                            s.ArrowAngle);
        }
    } else {
        painter.drawLine(p1.x, p1.y, p2.x, p2.y);
    }
    if (s.ShowWeights && !curved) {
        const MapPoint at = midpointLabel(p1, p2);
        drawTextAt(painter, at.x, at.y, formatNumber(shown ? shown->Length : link.Length));
    }
}

} // namespace

void DrawLink(QPainter& painter, const GraphMap& map, const Link& link) {
    drawLinkWith(painter, map, link, GraphMap::FindLink(link.To, link.From),
                 GraphMap::FindLink(link.From, link.To));
}

void DrawStop(QPainter& painter, const Stop& stop, bool withName) {
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(toQColor(stop.FillColor));
    const int width = shownSize(stop.Width), height = shownSize(stop.Height);
    const QRectF rect(stop.Left + 0.5, stop.Top + 0.5, width - 1, height - 1);
    if (stop.Selected)
        painter.drawRoundedRect(rect, selectedCornerSize(width) / 2.0,
                                selectedCornerSize(height) / 2.0);
    else
        painter.drawEllipse(rect);
    if (withName && stop.Label.Visible)
        paintNameLabel(painter, stop);
}

void paintStopControl(QPainter& painter, const Stop& stop) {
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(toQColor(stop.FillColor));
    painter.drawEllipse(QRectF(stop.Left + 0.5, stop.Top + 0.5, shownSize(stop.Width) - 1,
                               shownSize(stop.Height) - 1));
}

void paintNameLabel(QPainter& painter, const Stop& stop) {
    const FontEntry& entry = fontEntry(stop.Label.Font);
    painter.setFont(entry.font);
    painter.setPen(toQColor(stop.Label.Font.Color));
    painter.drawText(QPoint(stop.Label.Left, stop.Label.Top + entry.ascent), stop.Label.Caption);
}

namespace {

// The width of a name in a font, measured once.
int nameWidth(const FontSpec& font, const QString& caption) {
    FontEntry& entry = const_cast<FontEntry&>(fontEntry(font));
    constexpr int kMostKept = 1 << 20;
    if (entry.widths.size() > kMostKept)
        entry.widths.clear();
    auto it = entry.widths.constFind(caption);
    if (it == entry.widths.cend())
        it = entry.widths.insert(caption, entry.metrics.horizontalAdvance(caption));
    return *it;
}

} // namespace

QRect boundedRect(qint64 left, qint64 top, qint64 width, qint64 height) {
    const auto clamp = [](qint64 v) {
        constexpr qint64 kFar = 1 << 28;
        return int(std::clamp(v, -kFar, kFar));
    };
    return QRect(QPoint(clamp(left), clamp(top)),
                 QPoint(clamp(left + width - 1), clamp(top + height - 1)));
}

QRect nameLabelRect(const Stop& stop) {
    if (stop.Label.Caption.isEmpty())
        return {};
    return boundedRect(stop.Label.Left, stop.Label.Top,
                       nameWidth(stop.Label.Font, stop.Label.Caption),
                       fontEntry(stop.Label.Font).height);
}

MapSize mapSize(const GraphMap& map) {
    // Sums in 64 bits: a damaged file may hold positions near the ends of the int range.
    MapSize size;
    for (const auto& stop : map.stops()) {
        size.width = std::max(size.width, qint64(stop->Left) + stop->Width);
        size.height = std::max(size.height, qint64(stop->Top) + stop->Height);
        if (stop->Label.Visible && !stop->Label.Caption.isEmpty()) {
            size.width = std::max(size.width, qint64(stop->Label.Left) +
                                                  nameWidth(stop->Label.Font, stop->Label.Caption));
            size.height =
                std::max(size.height, qint64(stop->Label.Top) + fontEntry(stop->Label.Font).height);
        }
    }
    return size;
}

QRect mapExtent(const GraphMap& map) {
    const MapSize size = mapSize(map);
    constexpr qint64 kLimit = (1 << 24) - 1; // the largest widget size
    return QRect(0, 0, int(std::min(size.width, kLimit)), int(std::min(size.height, kLimit)));
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

QRect linkBox(const GraphMap& map, const Link& link) {
    const DisplaySettings& s = map.Settings;
    const qint64 margin = qint64(shownSize(std::max(s.ArrowSize, 0))) * 2 +
                          std::clamp(s.ArcWidth, 0, kMaxShownPenWidth) + 64;
    const MapPoint from = shownCentre(*link.From), to = shownCentre(*link.To);
    const qint64 x1 = from.x, y1 = from.y, x2 = to.x, y2 = to.y;
    // A curved pair bulges out by up to half the distance between its stops.
    const qint64 bulge = link.IsArc ? (std::abs(x2 - x1) + std::abs(y2 - y1)) / 2 : 0;
    const qint64 left = std::min(x1, x2) - bulge - margin;
    const qint64 top = std::min(y1, y2) - bulge - margin;
    return boundedRect(left, top, std::max(x1, x2) + bulge + margin - left + 1,
                       std::max(y1, y2) + bulge + margin - top + 1);
}

QRect stopBox(const Stop& stop) {
    QRect box = boundedRect(qint64(stop.Left) - 2, qint64(stop.Top) - 2,
                            qint64(shownSize(stop.Width)) + 5, qint64(shownSize(stop.Height)) + 5);
    if (stop.Label.Visible && !stop.Label.Caption.isEmpty())
        box = box.united(nameLabelRect(stop).adjusted(-2, -2, 2, 2));
    return box;
}

void paintGraphItems(QPainter& painter, const GraphMap& map, const std::vector<const Link*>& links,
                     const std::vector<StopRef>& stops, const GraphDetail& detail) {
    setMapPen(painter, toQColor(map.Settings.ArcColor), map.Settings.ArcWidth, PenMode::Copy);
    painter.setFont(QFont());
    if (detail.simplified) {
        // Far out: every link a plain line, every stop a dot, no arrows or lengths.
        painter.setRenderHint(QPainter::Antialiasing, false);
        QPen pen = painter.pen();
        pen.setWidthF(std::max(1.0 / detail.zoom, 1.0));
        pen.setCapStyle(Qt::FlatCap);
        for (const Link* link : links) {
            if (map.Settings.AutoArcColor)
                pen.setColor(toQColor(link->From->FillColor));
            painter.setPen(pen);
            const MapPoint from = shownCentre(*link->From), to = shownCentre(*link->To);
            painter.drawLine(from.x, from.y, to.x, to.y);
        }
        const double dot = std::max(2.0 / detail.zoom, 1.0);
        for (StopRef stop : stops) {
            const MapPoint at = shownCentre(*stop);
            const double side = std::max(dot, double(shownSize(stop->Width)));
            painter.fillRect(QRectF(at.x - side / 2, at.y - side / 2, side, side),
                             toQColor(stop->FillColor));
        }
        return;
    }
    // Many links are drawn with one index of first links rather than a search of each stop's
    // list (a damaged map may give one stop many thousands).
    constexpr std::size_t kIndexFrom = 4096;
    if (links.size() >= kIndexFrom) {
        const LinkIndex first = map.firstLinks();
        for (const Link* link : links)
            drawLinkWith(painter, map, *link, first.value({link->To, link->From}, nullptr),
                         first.value({link->From, link->To}, nullptr));
    } else {
        for (const Link* link : links)
            DrawLink(painter, map, *link);
    }
    for (StopRef stop : stops) {
        DrawStop(painter, *stop, detail.names);
    }
}

void paintGraph(QPainter& painter, const GraphMap& map, const QRect& area) {
    std::vector<const Link*> links;
    std::vector<StopRef> stops;
    for (const auto& stop : map.stops()) {
        for (const auto& link : stop->Links)
            if (linkBox(map, *link).intersects(area))
                links.push_back(link.get());
        if (stopBox(*stop).intersects(area))
            stops.push_back(stop.get());
    }
    paintGraphItems(painter, map, links, stops, {});
}

void RedrawGraph(GraphCanvas& canvas, const GraphMap& map) {
    canvas.penMode = PenMode::Copy;
    canvas.image.fill(windowColour());
    QPainter painter(&canvas.image);
    paintGraph(painter, map, canvas.image.rect());
}

} // namespace lirsk
