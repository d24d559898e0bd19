#include "view/maprenderer.h"

#include "view/nameplacer.h"
#include "view/pixelplot.h"
#include "view/shapedtext.h"

#include "model/numberformat.h"
#include "platform/colours.h"
#include "platform/fonts.h"

#include <QFontMetrics>
#include <QHash>

#include <cmath>
#include <memory>
#include <optional>

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
    drawPlainText(painter, QPoint(x, y), metrics.ascent(), text);
    painter.setPen(pen);
}

namespace {

// One link, given its opposite, the first link of its own pair and the colour of its source.
void drawLinkWith(QPainter& painter, const GraphMap& map, StopIndex from, const Link& link,
                  const Link* opposite, const Link* shown, Colour fromFill,
                  bool withLength = true) {
    const DisplaySettings& s = map.Settings;
    const MapPoint p1 = shownCentre(map.stop(from));
    const MapPoint p2 = shownCentre(map.stop(link.To));
    const int setback = shownSize(map.stop(link.To).Radius);
    const int arrowSize = shownSize(s.ArrowSize);
    if (s.AutoArcColor) {
        QPen pen = painter.pen();
        pen.setColor(toQColor(fromFill));
        painter.setPen(pen);
    }
    bool curved = false;
    if (link.IsArc) {
        if (opposite) {
            curved = true;
            DrawCurvedArc(painter, p1.x, p1.y, p2.x, p2.y, setback, s.ArrowType,
                          roundHalfEven(arrowSize * 1.5), s.ArrowAngle, link.Length,
                          withLength && s.ShowWeights);
        } else {
            DrawStraightArc(painter, p1.x, p1.y, p2.x, p2.y, setback, s.ArrowType, arrowSize,
                            s.ArrowAngle);
        }
    } else {
        painter.drawLine(p1.x, p1.y, p2.x, p2.y);
    }
    if (withLength && s.ShowWeights && !curved) {
        const MapPoint at = midpointLabel(p1, p2);
        drawTextAt(painter, at.x, at.y, formatNumber(shown ? shown->Length : link.Length));
    }
}

} // namespace

void DrawLink(QPainter& painter, const GraphMap& map, StopIndex from, const Link& link) {
    drawLinkWith(painter, map, from, link, map.FindLink(link.To, from), map.FindLink(from, link.To),
                 map.stop(from).FillColor);
}

Colour shownFill(const Stop& stop, bool selected) {
    return selected ? SelectionColor : stop.FillColor;
}

void DrawStop(QPainter& painter, const Stop& stop, bool selected, bool withName) {
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(toQColor(shownFill(stop, selected)));
    const int width = shownSize(stop.Width), height = shownSize(stop.Height);
    const QRectF rect(stop.Left + 0.5, stop.Top + 0.5, width - 1, height - 1);
    if (selected)
        painter.drawRoundedRect(rect, selectedCornerSize(width) / 2.0,
                                selectedCornerSize(height) / 2.0);
    else
        painter.drawEllipse(rect);
    if (withName && stop.Label.Visible)
        paintNameLabel(painter, stop);
}

void paintStopControl(QPainter& painter, const Stop& stop, bool selected) {
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(toQColor(shownFill(stop, selected)));
    painter.drawEllipse(QRectF(stop.Left + 0.5, stop.Top + 0.5, shownSize(stop.Width) - 1,
                               shownSize(stop.Height) - 1));
}

void paintNameLabel(QPainter& painter, const Stop& stop) {
    const FontEntry& entry = fontEntry(stop.Label.Font);
    painter.setFont(entry.font);
    painter.setPen(toQColor(stop.Label.Font.Color));
    drawPlainText(painter, QPoint(stop.Label.Left, stop.Label.Top), entry.ascent,
                  stop.Label.Caption);
}

void paintNameIn(QPainter& painter, const Stop& stop, const QRectF& box) {
    const int height = fontEntry(stop.Label.Font).height;
    painter.save();
    painter.translate(box.topLeft());
    if (height > 0)
        painter.scale(box.height() / height, box.height() / height);
    painter.translate(-stop.Label.Left, -stop.Label.Top);
    paintNameLabel(painter, stop);
    painter.restore();
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
    for (const Stop& stop : map.stops()) {
        size.width = std::max(size.width, qint64(stop.Left) + stop.Width);
        size.height = std::max(size.height, qint64(stop.Top) + stop.Height);
        if (stop.Label.Visible && !stop.Label.Caption.isEmpty()) {
            size.width = std::max(size.width, qint64(stop.Label.Left) +
                                                  nameWidth(stop.Label.Font, stop.Label.Caption));
            size.height =
                std::max(size.height, qint64(stop.Label.Top) + fontEntry(stop.Label.Font).height);
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

namespace {

// Room beside a link's line for its arrow head and its pen.
qint64 arrowAndPen(const DisplaySettings& s) {
    return qint64(shownSize(std::max(s.ArrowSize, 0))) * 2 +
           std::clamp(s.ArcWidth, 0, kMaxShownPenWidth);
}

// The widest length of a link drawn beside it.
constexpr int kLengthTextWidth = 64;

} // namespace

QRect linkBox(const GraphMap& map, StopIndex from, const Link& link) {
    const DisplaySettings& s = map.Settings;
    const qint64 margin = arrowAndPen(s) + kLengthTextWidth;
    const MapPoint p1 = shownCentre(map.stop(from)), p2 = shownCentre(map.stop(link.To));
    const qint64 x1 = p1.x, y1 = p1.y, x2 = p2.x, y2 = p2.y;
    // A curved pair bulges out by up to half the distance between its stops.
    const qint64 bulge = link.IsArc ? (std::abs(x2 - x1) + std::abs(y2 - y1)) / 2 : 0;
    const qint64 left = std::min(x1, x2) - bulge - margin;
    const qint64 top = std::min(y1, y2) - bulge - margin;
    return boundedRect(left, top, std::max(x1, x2) + bulge + margin - left + 1,
                       std::max(y1, y2) + bulge + margin - top + 1);
}

QRect straightLinkBox(const GraphMap& map, StopIndex from, const Link& link) {
    if (link.IsArc && map.FindLink(link.To, from))
        return linkBox(map, from, link);
    const DisplaySettings& s = map.Settings;
    const qint64 margin = arrowAndPen(s) + 2;
    const MapPoint p1 = shownCentre(map.stop(from)), p2 = shownCentre(map.stop(link.To));
    const qint64 left = std::min<qint64>(p1.x, p2.x) - margin;
    const qint64 top = std::min<qint64>(p1.y, p2.y) - margin;
    QRect box = boundedRect(left, top, std::max<qint64>(p1.x, p2.x) + margin - left + 1,
                            std::max<qint64>(p1.y, p2.y) + margin - top + 1);
    if (s.ShowWeights) {
        // The length is written from the middle of the line rightwards and down.
        const MapPoint at = midpointLabel(p1, p2);
        box = box.united(boundedRect(qint64(at.x) - 2, qint64(at.y) - 2, kLengthTextWidth + 4,
                                     QFontMetrics(QFont()).height() + 4));
    }
    return box;
}

QRect stopBox(const Stop& stop) {
    QRect box = boundedRect(qint64(stop.Left) - 2, qint64(stop.Top) - 2,
                            qint64(shownSize(stop.Width)) + 5, qint64(shownSize(stop.Height)) + 5);
    if (stop.Label.Visible && !stop.Label.Caption.isEmpty())
        box = box.united(nameLabelRect(stop).adjusted(-2, -2, 2, 2));
    return box;
}

double lineStrokeWidth(double zoom) {
    // Three pixels at 100 % and closer; farther out never thinner than a pixel and a half.
    return std::max(3.0, 1.5 / zoom);
}

namespace {

QPointF centreF(const GraphMap& map, StopIndex stop) {
    const MapPoint c = shownCentre(map.stop(stop));
    return QPointF(c.x, c.y);
}

// The unit vector from a to b and the one to its left on the screen (y downwards).
std::pair<QPointF, QPointF> directionOf(const QPointF& a, const QPointF& b) {
    const QPointF d = b - a;
    const double length = std::hypot(d.x(), d.y());
    if (length == 0)
        return {QPointF(1, 0), QPointF(0, -1)};
    const QPointF unit = d / length;
    return {unit, QPointF(unit.y(), -unit.x())};
}

} // namespace

void paintBundles(QPainter& painter, const GraphMap& map, const LineBundles& lines,
                  const std::vector<int>& bundles, double zoom) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const double width = lineStrokeWidth(zoom);
    QPen pen(Qt::black, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    for (const int k : bundles) {
        const LineBundle& bundle = lines.bundles()[std::size_t(k)];
        if (bundle.routes.empty()) // an express drawn along the stopping lines
            continue;
        const QPointF a = centreF(map, bundle.a), b = centreF(map, bundle.b);
        if (zoom < kOneLineBelow || bundle.routes.size() == 1) {
            pen.setColor(toQColor(lines.colour(bundle.routes.front())));
            pen.setWidthF(zoom < kOneLineBelow ? std::max(width, 2.0 / zoom) : width);
            painter.setPen(pen);
            painter.drawLine(a, b);
            continue;
        }
        pen.setWidthF(width);
        const QPointF left = directionOf(a, b).second;
        const double n = double(bundle.routes.size());
        for (std::size_t i = 0; i < bundle.routes.size(); ++i) {
            const QPointF offset = left * ((n - 1) / 2 - double(i)) * width;
            pen.setColor(toQColor(lines.colour(bundle.routes[i])));
            painter.setPen(pen);
            painter.drawLine(a + offset, b + offset);
        }
    }
    painter.restore();
}

void paintStationMark(QPainter& painter, const GraphMap& map, const LineBundles& lines,
                      StopIndex stop, bool selected, double zoom) {
    const double width = lineStrokeWidth(zoom);
    const int routes = zoom < kOneLineBelow ? 1 : lines.widthAt(stop);
    const QPointF at = centreF(map, stop);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, std::max(1.0, 1.0 / zoom)));
    painter.setBrush(selected ? toQColor(SelectionColor) : QColor(Qt::white));
    // Where every link leaves in one line (within 20 degrees), a bar across them.
    QPointF along;
    bool straight = true;
    for (const int k : lines.at(stop)) {
        const LineBundle& bundle = lines.bundles()[std::size_t(k)];
        QPointF d = directionOf(centreF(map, bundle.a), centreF(map, bundle.b)).first;
        if (along.isNull()) {
            along = d;
            continue;
        }
        const double dot = d.x() * along.x() + d.y() * along.y();
        straight = straight && std::abs(dot) > std::cos(M_PI / 9);
    }
    const double across = routes * width;
    if (routes >= 2 && straight) {
        const double angle = std::atan2(along.y(), along.x()) * 180 / M_PI;
        painter.translate(at);
        painter.rotate(angle);
        const double thick = width * 1.8;
        painter.drawRoundedRect(
            QRectF(-thick / 2, -across / 2 - width * 0.4, thick, across + width * 0.8), thick / 2,
            thick / 2);
    } else {
        const double radius = routes >= 2 ? across / 2 + width * 0.4 : width * 1.1;
        painter.drawEllipse(at, radius, radius);
    }
    painter.restore();
}

namespace {

// Each link's length on its own side (the left as it goes) beside its bundle, so that the two
// ways' figures stand apart; a figure that would overprint a name shown is left out.
void paintLengthsApart(QPainter& painter, const GraphMap& map, const LineBundles& lines,
                       const std::vector<LinkPlace>& links, const GraphDetail& detail) {
    painter.save();
    painter.setFont(QFont());
    const QFontMetricsF metrics(painter.font());
    const double width = lineStrokeWidth(detail.zoom);
    for (const LinkPlace& place : links) {
        const Link& link = map.stop(place.from).Links[std::size_t(place.at)];
        const QPointF a = centreF(map, place.from), b = centreF(map, link.To);
        const QPointF left = directionOf(a, b).second;
        const int k = lines.find(place.from, link.To);
        const double half = k < 0 ? 1 : lines.bundles()[std::size_t(k)].routes.size() * width / 2;
        const QString text = formatNumber(link.Length);
        const QSizeF size(metrics.horizontalAdvance(text), metrics.height());
        const double reach =
            std::abs(left.x()) * size.width() / 2 + std::abs(left.y()) * size.height() / 2;
        const QPointF centre = (a + b) / 2 + left * (half + 2 + reach);
        const QRectF box(centre - QPointF(size.width() / 2, size.height() / 2), size);
        if (detail.shownNames && detail.shownNames->meets(box.toAlignedRect()))
            continue;
        drawTextAt(painter, qRound(box.left()), qRound(box.top()), text);
    }
    painter.restore();
}

// Far out: every link a plain line, every stop a dot, no arrows or lengths; on a screen the
// lines and dots are plotted pixel by pixel. The bundles of a map with lines go between the two.
void paintFarItems(QPainter& painter, const GraphMap& map, const std::vector<LinkPlace>& links,
                   const std::vector<int>* bundles, const std::vector<StopIndex>& stops,
                   const GraphDetail& detail) {
    std::optional<PixelPlot> plot;
    if (detail.plotted)
        plot.emplace(painter);
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen pen = painter.pen();
    pen.setWidthF(std::max(1.0 / detail.zoom, 1.0));
    pen.setCapStyle(Qt::FlatCap);
    for (const LinkPlace& place : links) {
        const Link& link = map.stop(place.from).Links[std::size_t(place.at)];
        // With automatic colours a link takes its source's colour as drawn.
        if (map.Settings.AutoArcColor)
            pen.setColor(toQColor(shownFill(map.stop(place.from), detail.selected(place.from))));
        const MapPoint from = shownCentre(map.stop(place.from));
        const MapPoint to = shownCentre(map.stop(link.To));
        if (plot) {
            plot->line(QPointF(from.x, from.y), QPointF(to.x, to.y), pen.color().rgb());
            continue;
        }
        painter.setPen(pen);
        painter.drawLine(from.x, from.y, to.x, to.y);
    }
    if (bundles) {
        if (plot)
            plot->flush(painter);
        paintBundles(painter, map, *detail.lines, *bundles, detail.zoom);
    }
    const double dot = std::max(2.0 / detail.zoom, 1.0);
    std::vector<StopIndex> marked;
    for (const StopIndex index : stops) {
        const Stop& stop = map.stop(index);
        if (bundles && detail.lines->widthAt(index) > 0) {
            if (plot)
                marked.push_back(index);
            else
                paintStationMark(painter, map, *detail.lines, index, detail.selected(index),
                                 detail.zoom);
            continue;
        }
        const MapPoint at = shownCentre(stop);
        const double side = std::max(dot, double(shownSize(stop.Width)));
        const QColor fill = toQColor(shownFill(stop, detail.selected(index)));
        if (plot)
            plot->square(QPointF(at.x, at.y), side, fill.rgb());
        else
            painter.fillRect(QRectF(at.x - side / 2, at.y - side / 2, side, side), fill);
    }
    if (!plot)
        return;
    plot->flush(painter);
    for (const StopIndex index : marked)
        paintStationMark(painter, map, *detail.lines, index, detail.selected(index), detail.zoom);
}

} // namespace

void paintGraphItems(QPainter& painter, const GraphMap& map, const std::vector<LinkPlace>& allLinks,
                     const std::vector<StopIndex>& stops, const GraphDetail& detail) {
    // On a map with lines, the links they run over are drawn as their bundles, the rest as ever.
    std::vector<LinkPlace> plainLinks;
    std::vector<int> bundles;
    const LineBundles* lines = detail.lines && !detail.lines->empty() ? detail.lines : nullptr;
    if (lines) {
        for (const LinkPlace& place : allLinks) {
            const int k =
                lines->find(place.from, map.stop(place.from).Links[std::size_t(place.at)].To);
            if (k < 0)
                plainLinks.push_back(place);
            else
                bundles.push_back(k);
        }
        std::sort(bundles.begin(), bundles.end());
        bundles.erase(std::unique(bundles.begin(), bundles.end()), bundles.end());
    }
    const std::vector<LinkPlace>& links = lines ? plainLinks : allLinks;
    const auto onLine = [&](StopIndex stop) { return lines && lines->widthAt(stop) > 0; };
    setMapPen(painter, toQColor(map.Settings.ArcColor), map.Settings.ArcWidth, PenMode::Copy);
    painter.setFont(QFont());
    // With automatic colours a link takes its source's colour as drawn.
    const auto sourceFill = [&](StopIndex from) {
        return shownFill(map.stop(from), detail.selected(from));
    };
    if (detail.simplified) {
        paintFarItems(painter, map, links, lines ? &bundles : nullptr, stops, detail);
        return;
    }
    LinkLookup first(map);
    for (const LinkPlace& place : links) {
        const Link& link = map.stop(place.from).Links[std::size_t(place.at)];
        const int opposite = first.find(link.To, place.from);
        const int shown = first.find(place.from, link.To);
        drawLinkWith(painter, map, place.from, link,
                     opposite < 0 ? nullptr : &map.stop(link.To).Links[std::size_t(opposite)],
                     shown < 0 ? nullptr : &map.stop(place.from).Links[std::size_t(shown)],
                     sourceFill(place.from), !lines);
    }
    if (lines) {
        paintBundles(painter, map, *lines, bundles, detail.zoom);
        if (map.Settings.ShowWeights)
            paintLengthsApart(painter, map, *lines, allLinks, detail);
    }
    const bool storedNames = detail.names && !detail.namePlaces;
    for (const StopIndex index : stops) {
        const Stop& stop = map.stop(index);
        if (onLine(index))
            paintStationMark(painter, map, *lines, index, detail.selected(index), detail.zoom);
        else
            DrawStop(painter, stop, detail.selected(index), storedNames);
        if (onLine(index) && storedNames && stop.Label.Visible)
            paintNameLabel(painter, stop);
    }
    if (detail.names && detail.namePlaces)
        for (const StopIndex index : stops)
            if (!(*detail.namePlaces)[std::size_t(index)].isEmpty())
                paintNameIn(painter, map.stop(index), (*detail.namePlaces)[std::size_t(index)]);
}

void paintGraph(QPainter& painter, const GraphMap& map, const QRect& area,
                const GraphDetail& detail) {
    std::vector<LinkPlace> links;
    std::vector<StopIndex> stops;
    for (StopIndex i = 0; i < map.stopCount(); ++i) {
        const Stop& stop = map.stop(i);
        for (std::size_t k = 0; k < stop.Links.size(); ++k)
            if (linkBox(map, i, stop.Links[k]).intersects(area))
                links.push_back({i, int(k)});
        if (stopBox(stop).intersects(area))
            stops.push_back(i);
    }
    paintGraphItems(painter, map, links, stops, detail);
}

void RedrawGraph(GraphCanvas& canvas, const GraphMap& map, const StopSelection* selection,
                 const MapDescription* description) {
    canvas.penMode = PenMode::Copy;
    canvas.image.fill(windowColour());
    QPainter painter(&canvas.image);
    GraphDetail detail;
    detail.selection = selection;
    LineBundles lines;
    NamePlaces names;
    if (description) {
        lines = LineBundles(map, *description);
        detail.lines = &lines;
        names = placeDescribedNames(map, *description, lines, 1.0, QRectF(canvas.image.rect()));
        if (!names.boxes.empty()) {
            detail.namePlaces = &names.boxes;
            detail.shownNames = &names.shown;
        }
    }
    paintGraph(painter, map, canvas.image.rect(), detail);
}

} // namespace lirsk
