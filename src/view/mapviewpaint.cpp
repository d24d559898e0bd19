// Painting a map view: the plan and the drawn map, the editor's overlays, the stops and their
// names, the found way above them all; far out the first two kept as pictures of the viewport.

#include "view/mapview.h"

#include "platform/colours.h"
#include "view/maprenderer.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>

#include <algorithm>
#include <cmath>
#include <optional>

namespace lirsk {

namespace {

// Below 100 % a name reaches at most this many pixels to the right of its place.
constexpr double kLegibleNameReach = 200;

} // namespace

void MapView::paintName(QPainter& painter, int number) const {
    const Stop& stop = document_->map().stop(number);
    const double grow = nameGrowth(number);
    const QPointF at = programNames_ ? namePlaces_.boxes[std::size_t(number)].topLeft()
                                     : QPointF(stop.Label.Left, stop.Label.Top);
    if (grow == 1.0 && at == QPointF(stop.Label.Left, stop.Label.Top)) {
        paintNameLabel(painter, stop);
        return;
    }
    painter.save();
    painter.translate(at);
    painter.scale(grow, grow);
    painter.translate(-stop.Label.Left, -stop.Label.Top);
    paintNameLabel(painter, stop);
    painter.restore();
}

void MapView::repaintMap(const QRect& mapRect) {
    const QRectF screen(mapToViewport(QPointF(mapRect.topLeft())),
                        mapToViewport(QPointF(mapRect.bottomRight() + QPoint(1, 1))));
    viewport()->update(screen.toAlignedRect().adjusted(-1, -1, 1, 1));
}

void MapView::repaintMap() {
    viewport()->update();
}

void MapView::paintLayers(QPainter& painter, const QRect& area, Layers layers) const {
    ensureIndex();
    // Below 100 % a name may be drawn larger than its place on the map: stops whose names can
    // reach into the area from the left or from above are drawn too.
    // Names the program places may lie on any side of their stops.
    const int reach = zoom_ < 1.0 || programNames_ ? int(std::ceil(kLegibleNameReach / zoom_)) : 0;
    const int after = programNames_ ? reach : 0;
    const std::vector<StopIndex> stops =
        (layers & (Base | Stops)) ? stopsIn(area.adjusted(-reach, -reach / 8, after, after / 8))
                                  : std::vector<StopIndex>();
    const GraphDetail detail = graphDetail(layers);
    painter.save();
    if (layers & Base)
        paintBase(painter, area, (layers & Printed) ? std::vector<StopIndex>() : stops, detail);
    if ((layers & Overlays) && !(layers & Printed))
        paintEditorOverlays(painter, area);
    if (layers & Overlays)
        paintChosenEnd(painter);
    paintStops(painter, stops, layers, detail);
    if (layers & Way)
        paintFoundWay(painter);
    painter.restore();
}

GraphDetail MapView::graphDetail(Layers layers) const {
    GraphDetail detail;
    detail.simplified = zoom_ < SimplifiedBelow;
    detail.plotted = !(layers & Printed);
    detail.zoom = zoom_;
    detail.selection = &document_->selection();
    detail.lines = &lines_;
    if (programNames_) {
        placeNames();
        detail.shownNames = &namePlaces_.shown;
    }
    if (zoom_ < 1.0 || programNames_)
        // Below 100 % the names are drawn once, above the stops, at a size that can be read
        // (and so are the names the program places, wherever it places them).
        detail.names = false;
    return detail;
}

void MapView::paintBase(QPainter& painter, const QRect& area, const std::vector<StopIndex>& stops,
                        const GraphDetail& detail) const {
    if (picture_.isNull()) {
        painter.fillRect(area, windowColour());
    } else {
        painter.fillRect(area, palette().color(QPalette::Window));
        const QRect part = area.intersected(picture_.rect());
        if (zoom_ != 1.0)
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(part, picture_, part);
    }
    std::vector<LinkPlace> links;
    for (const int number : linkGrid_.query(area))
        links.push_back(indexedLinks_[std::size_t(number)]);
    paintGraphItems(painter, document_->map(), links, stops, detail);
}

void MapView::paintEditorOverlays(QPainter& painter, const QRect& area) const {
    const DisplaySettings& s = document_->map().Settings;
    // The grid shows only while its lines are at least a few screen pixels apart.
    if (gridStep_ >= 2 && gridStep_ * zoom_ >= 4) {
        QPen pen(QColor(0, 0, 0, 48));
        pen.setCosmetic(true);
        painter.setPen(pen);
        const int step = gridStep_;
        for (int x = area.left() / step * step; x <= area.right(); x += step)
            painter.drawLine(x, area.top(), x, area.bottom());
        for (int y = area.top() / step * step; y <= area.bottom(); y += step)
            painter.drawLine(area.left(), y, area.right(), y);
    }
    if (band_) {
        setMapPen(painter, band_->colour, s.ArcWidth, PenMode::NotXor);
        if (band_->arrow)
            DrawStraightArc(painter, band_->from.x(), band_->from.y(), band_->to.x(), band_->to.y(),
                            band_->setback, s.ArrowType, s.ArrowSize, s.ArrowAngle);
        else
            painter.drawLine(band_->from, band_->to);
    }
    if (selectionRect_) {
        setMapPen(painter, Qt::black, 1, PenMode::NotXor);
        const QRect& r = *selectionRect_;
        const QPoint corners[] = {r.topLeft(), QPoint(r.left(), r.bottom()), r.bottomRight(),
                                  QPoint(r.right(), r.top()), r.topLeft()};
        painter.drawPolyline(corners, 5);
    }
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void MapView::paintChosenEnd(QPainter& painter) const {
    const GraphMap& map = document_->map();
    if (!chosenEnd_ || !map.isStop(chosenEnd_->stop))
        return;
    const Stop& stop = map.stop(chosenEnd_->stop);
    const MapPoint at = shownCentre(stop);
    const double radius = shownSize(stop.Radius) + 4 / std::min(zoom_, 1.0);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(chosenEnd_->isStart ? QColor(0, 160, 0) : QColor(210, 0, 0),
                        3 / std::min(zoom_, 1.0)));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(at.x, at.y), radius, radius);
}

void MapView::paintStops(QPainter& painter, const std::vector<StopIndex>& stops, Layers layers,
                         const GraphDetail& detail) const {
    const GraphMap& map = document_->map();
    const bool simplified = detail.simplified;
    // Far out each stop is a dot, drawn with the drawn map (under the found way; printed, here,
    // since the drawn map's stops are left to this layer); otherwise a circle above it all.
    const bool dots = simplified && (layers & Base) && (layers & Printed);
    if (!dots && !(layers & Stops))
        return;
    // The stops and their names, each name above its stop, later stops above earlier.
    painter.setRenderHint(QPainter::Antialiasing, !simplified);
    const double dot = std::max(2.0 / zoom_, 1.0);
    // Printed, the names of the found way's stops are drawn once, above the way.
    std::vector<bool> namedAbove;
    if ((layers & Printed) && (layers & Way) && document_->foundWay().stops.size() >= 2) {
        namedAbove.assign(std::size_t(map.stopCount()), false);
        for (const StopIndex stop : document_->foundWay().stops)
            if (map.isStop(stop))
                namedAbove[std::size_t(stop)] = true;
    }
    for (const StopIndex number : stops) {
        const Stop& stop = map.stop(number);
        const bool selected = detail.selected(number);
        const bool onLine = lines_.widthAt(number) > 0;
        if (dots && !onLine) {
            const MapPoint at = shownCentre(stop);
            const double side = std::max(dot, double(shownSize(stop.Width)));
            painter.fillRect(QRectF(at.x - side / 2, at.y - side / 2, side, side),
                             toQColor(shownFill(stop, selected)));
        }
        if (!(layers & Stops))
            continue;
        if (onLine)
            paintStationMark(painter, map, lines_, number, selected, zoom_);
        else if (!simplified)
            paintStopControl(painter, stop, selected);
        if (stop.Label.Visible && nameShown(number) &&
            (namedAbove.empty() || !namedAbove[std::size_t(number)]))
            paintName(painter, number);
    }
}

void MapView::paintFoundWay(QPainter& painter) const {
    const GraphMap& map = document_->map();
    const std::vector<StopIndex>& way = document_->foundWay().stops;
    if (way.size() < 2)
        return;
    const DisplaySettings& s = map.Settings;
    // Widths in screen pixels, whatever the zoom.
    const double pixel = 1 / zoom_;
    const double width = std::max(4.0, double(s.ArcWidth)) * pixel;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath line;
    const MapPoint start = shownCentre(map.stop(way.back()));
    line.moveTo(start.x, start.y);
    for (auto it = way.rbegin() + 1; it != way.rend(); ++it) {
        // An express goes where its strokes are drawn, beside the stopping lines.
        for (const StopIndex passed : lines_.drawnThrough(*(it - 1), *it)) {
            const MapPoint at = shownCentre(map.stop(passed));
            line.lineTo(at.x, at.y);
        }
        const MapPoint at = shownCentre(map.stop(*it));
        line.lineTo(at.x, at.y);
    }
    // A dark rim and a white halo under the way's own colour read on any plan and line colour.
    const QColor colour = toQColor(s.TreeColor);
    for (const auto& [pen, extra] : {std::pair{QColor(0, 0, 0, 150), 10.0},
                                     std::pair{QColor(255, 255, 255), 7.0}, std::pair{colour, 0.0}})
        painter.strokePath(
            line, QPen(pen, width + extra * pixel, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPen arrows(colour, width / 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(arrows);
    painter.setBrush(colour);
    // Far out, where the way's stops lie closer on the screen than an arrow head is long, an
    // arrow is drawn once the way has gone that far from the last one drawn.
    const double arrowLength = std::max<double>(s.ArrowSize, 12);
    std::optional<MapPoint> lastTip;
    for (std::size_t k = 0; k + 1 < way.size(); ++k) {
        const MapPoint later = shownCentre(map.stop(way[k]));
        if (lastTip &&
            std::hypot(double(later.x) - lastTip->x, double(later.y) - lastTip->y) * zoom_ <
                arrowLength)
            continue;
        lastTip = later;
        const std::vector<StopIndex> passed = lines_.drawnThrough(way[k + 1], way[k]);
        const MapPoint earlier = shownCentre(map.stop(passed.empty() ? way[k + 1] : passed.back()));
        DrawStraightArc(painter, earlier.x, earlier.y, later.x, later.y,
                        int(std::lround(map.stop(way[k]).Radius + 3 * pixel)), s.ArrowType,
                        int(std::lround(std::max<double>(s.ArrowSize, 12) * pixel)), s.ArrowAngle);
    }
    // The start in green, the finish in red, each a disc with a white rim.
    for (const auto& [stop, fill] :
         {std::pair{way.back(), QColor(0, 150, 0)}, std::pair{way.front(), QColor(200, 0, 0)}}) {
        const MapPoint at = shownCentre(map.stop(stop));
        const double radius = std::max<double>(shownSize(map.stop(stop).Radius), 7 * pixel);
        painter.setPen(QPen(Qt::white, 2.5 * pixel));
        painter.setBrush(fill);
        painter.drawEllipse(QPointF(at.x, at.y), radius, radius);
    }
    // Their names above it, where the names were given a place (first of all).
    for (const StopIndex stop : way)
        if (map.stop(stop).Label.Visible && nameShown(stop))
            paintName(painter, stop);
    painter.restore();
}

void MapView::paintMap(QPainter& painter, const QRect& area) const {
    paintLayers(painter, area, Layers(Base | Overlays | Stops | Way));
}

QImage MapView::renderMap(const QRect& mapRect) {
    // Drawn at 100 %, whatever the view's own zoom.
    const double shownZoom = std::exchange(zoom_, 1.0);
    QImage image(mapRect.size(), QImage::Format_RGB32);
    QPainter painter(&image);
    painter.translate(-mapRect.topLeft());
    paintMap(painter, mapRect);
    zoom_ = shownZoom;
    namesStale_ = true;
    return image;
}

void MapView::paintMapAt(QPainter& painter, const QRect& mapRect, double zoom) {
    const double shownZoom = std::exchange(zoom_, zoom);
    namesStale_ = true;
    painter.save();
    painter.scale(zoom, zoom);
    painter.translate(-mapRect.topLeft());
    painter.setClipRect(mapRect);
    paintLayers(painter, mapRect, Layers(Base | Overlays | Stops | Way | Printed));
    painter.restore();
    zoom_ = shownZoom;
    namesStale_ = true;
}

QRect MapView::exposedMapArea(const QRect& exposed) const {
    // Beside a centred map the viewport shows the window's background.
    const QPointF corner = centring();
    const QSize shownSize = mapSize_.expandedTo(
        (QSizeF(viewport()->size()) - QSizeF(2 * corner.x(), 2 * corner.y())).toSize() / zoom_);
    const QRect area = QRectF(viewportToMap(QPointF(exposed.topLeft())),
                              viewportToMap(QPointF(exposed.bottomRight() + QPoint(1, 1))))
                           .toAlignedRect()
                           .adjusted(-1, -1, 1, 1);
    return area.intersected(QRect(QPoint(0, 0), shownSize));
}

void MapView::paintExposed(QPainter& painter, const QRect& exposed, Layers layers) const {
    painter.save();
    painter.setClipRect(exposed);
    const QPointF corner = centring();
    painter.translate(corner.x() - horizontalScrollBar()->value(),
                      corner.y() - verticalScrollBar()->value());
    painter.scale(zoom_, zoom_);
    const QRect area = exposedMapArea(exposed);
    if (!area.isEmpty())
        paintLayers(painter, area, layers);
    painter.restore();
}

bool MapView::layerCacheValid() const {
    return cacheGeneration_ == contentGeneration_ && cacheNamesGeneration_ == namesGeneration_ &&
           cacheZoom_ == zoom_ &&
           cacheScroll_ == QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value()) &&
           baseLayer_.size() == viewport()->size();
}

void MapView::renderLayerCache() {
    const QRect all = viewport()->rect();
    if (cacheGeneration_ != contentGeneration_ || cacheZoom_ != zoom_ ||
        cacheScroll_ != QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value()) ||
        baseLayer_.size() != all.size()) {
        baseLayer_ = QImage(all.size(), QImage::Format_RGB32);
        baseLayer_.fill(palette().color(QPalette::Window));
        QPainter base(&baseLayer_);
        paintExposed(base, all, Base);
    }
    stopsLayer_ = QImage(all.size(), QImage::Format_ARGB32_Premultiplied);
    stopsLayer_.fill(Qt::transparent);
    QPainter stops(&stopsLayer_);
    paintExposed(stops, all, Stops);
    cacheGeneration_ = contentGeneration_;
    cacheNamesGeneration_ = namesGeneration_;
    cacheZoom_ = zoom_;
    cacheScroll_ = QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

void MapView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRegion& region = event->region();
    // Far out, where a map can be all in view, what lies under the found way, the rubber band
    // and the marks is kept as two pictures of the viewport: a repaint that changes only those
    // (a way found, a band moved, the same view shown again) draws them over the pictures.
    const bool cached =
        zoom_ < 1.0 && (layerCacheValid() || region.boundingRect().contains(viewport()->rect()));
    if (cached && !layerCacheValid())
        renderLayerCache();
    if (!cached) {
        baseLayer_ = QImage();
        stopsLayer_ = QImage();
    }
    // A few separate parts (the old and new places of dragged stops) are painted each alone.
    constexpr int kMostParts = 32;
    std::vector<QRect> parts;
    if (region.rectCount() <= kMostParts)
        parts.assign(region.begin(), region.end());
    else
        parts.push_back(region.boundingRect());
    for (const QRect& exposed : parts) {
        if (cached) {
            painter.drawImage(exposed.topLeft(), baseLayer_, exposed);
            paintExposed(painter, exposed, Overlays);
            painter.drawImage(exposed.topLeft(), stopsLayer_, exposed);
            paintExposed(painter, exposed, Way);
            continue;
        }
        // Outside the map the viewport shows the window's background.
        painter.fillRect(exposed, palette().color(QPalette::Window));
        paintExposed(painter, exposed, Layers(Base | Overlays | Stops | Way));
    }
}

} // namespace lirsk
