#include "view/mapview.h"

#include "platform/colours.h"
#include "view/maprenderer.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace lirsk {

namespace {

// Each zoom step multiplies or divides the zoom by this.
constexpr double kZoomStep = 1.25;
// A stop is never a smaller target than this many screen pixels.
constexpr int kMinimumTargetPixels = 8;
// How near the viewport's edge the pointer makes a held drag scroll, and how fast.
constexpr int kAutoScrollMargin = 24;
constexpr int kAutoScrollInterval = 30;
// A left press on the empty map becomes a pan once the pointer has moved this far.
constexpr int kPanThreshold = 3;

QRect clampedRect(qint64 left, qint64 top, qint64 width, qint64 height) {
    const auto clamp = [](qint64 v) { return int(std::clamp<qint64>(v, -(1 << 28), 1 << 28)); };
    return QRect(QPoint(clamp(left), clamp(top)),
                 QPoint(clamp(left + width - 1), clamp(top + height - 1)));
}

} // namespace

MapView::MapView(MapDocument* document, QWidget* parent)
    : QAbstractScrollArea(parent), document_(document) {
    setFrameShape(QFrame::NoFrame);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(true);
    autoScroll_ = new QTimer(this);
    autoScroll_->setInterval(kAutoScrollInterval);
    connect(autoScroll_, &QTimer::timeout, this, &MapView::autoScroll);
    connect(document_, &MapDocument::changed, this, [this] {
        updateMapSize();
        repaintMap();
    });
    connect(document_, &MapDocument::foundWayChanged, this, qOverload<>(&MapView::repaintMap));
    connect(document_, &MapDocument::selectionChanged, this,
            [this](const std::vector<StopRef>& stops) {
                if (stops.empty()) {
                    repaintMap();
                    return;
                }
                for (StopRef stop : stops)
                    repaintMap(stopArea(*stop));
            });
    updateMapSize();
}

MapView::~MapView() = default;

void MapView::setPicture(const QImage& picture) {
    picture_ = picture;
    updateMapSize();
    repaintMap();
}

void MapView::setPictureVisible(bool visible) {
    pictureVisible_ = visible;
    repaintMap();
}

void MapView::setDrawnMapVisible(bool visible) {
    drawnMapVisible_ = visible;
    repaintMap();
}

void MapView::setRubberBand(const std::optional<RubberBand>& band) {
    const auto areaOf = [this](const RubberBand& b) {
        const int pad = std::max(document_->map().Settings.ArrowSize, 0) + 8;
        return QRect(b.from, b.to).normalized().adjusted(-pad, -pad, pad, pad);
    };
    if (band_)
        repaintMap(areaOf(*band_));
    band_ = band;
    if (band_)
        repaintMap(areaOf(*band_));
}

void MapView::setSelectionRect(const std::optional<QRect>& rect) {
    if (selectionRect_)
        repaintMap(selectionRect_->normalized().adjusted(-2, -2, 2, 2));
    selectionRect_ = rect;
    if (selectionRect_)
        repaintMap(selectionRect_->normalized().adjusted(-2, -2, 2, 2));
}

// --- Zoom and scrolling ---------------------------------------------------------------------

double MapView::fitZoom() const {
    const QSize view = viewport()->size();
    if (mapSize_.isEmpty() || view.isEmpty())
        return 1.0;
    return std::min(double(view.width()) / mapSize_.width(),
                    double(view.height()) / mapSize_.height());
}

double MapView::minimumZoom() const {
    return std::min(0.1, fitZoom());
}

void MapView::setZoom(double zoom, const QPoint& anchor) {
    zoom = std::clamp(zoom, minimumZoom(), MaximumZoom);
    if (zoom == zoom_)
        return;
    const QPointF under = viewportToMap(QPointF(anchor));
    zoom_ = zoom;
    updateScrollBars();
    horizontalScrollBar()->setValue(int(std::lround(under.x() * zoom_ - anchor.x())));
    verticalScrollBar()->setValue(int(std::lround(under.y() * zoom_ - anchor.y())));
    viewport()->update();
    emit zoomChanged(zoom_);
}

void MapView::zoomIn() {
    setZoom(zoom_ * kZoomStep);
}

void MapView::zoomOut() {
    setZoom(zoom_ / kZoomStep);
}

void MapView::zoomToFit() {
    setZoom(fitZoom(), QPoint(0, 0));
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
}

QPointF MapView::viewportToMap(const QPointF& point) const {
    return QPointF((point.x() + horizontalScrollBar()->value()) / zoom_,
                   (point.y() + verticalScrollBar()->value()) / zoom_);
}

QPoint MapView::viewportToMap(const QPoint& point) const {
    const QPointF p = viewportToMap(QPointF(point));
    return QPoint(int(std::floor(p.x())), int(std::floor(p.y())));
}

QPointF MapView::mapToViewport(const QPointF& point) const {
    return QPointF(point.x() * zoom_ - horizontalScrollBar()->value(),
                   point.y() * zoom_ - verticalScrollBar()->value());
}

QRect MapView::visibleMapRect() const {
    const QPointF topLeft = viewportToMap(QPointF(0, 0));
    const QPointF bottomRight = viewportToMap(QPointF(viewport()->width(), viewport()->height()));
    return QRectF(topLeft, bottomRight).toAlignedRect();
}

void MapView::centreOn(const QPoint& mapPoint) {
    horizontalScrollBar()->setValue(
        int(std::lround(mapPoint.x() * zoom_ - viewport()->width() / 2.0)));
    verticalScrollBar()->setValue(
        int(std::lround(mapPoint.y() * zoom_ - viewport()->height() / 2.0)));
}

void MapView::showMapRect(const QRect& mapRect) {
    const QSize view = viewport()->size();
    if (mapRect.width() * zoom_ > view.width() || mapRect.height() * zoom_ > view.height()) {
        const double fit = std::min(double(view.width()) / std::max(mapRect.width(), 1),
                                    double(view.height()) / std::max(mapRect.height(), 1));
        setZoom(fit * 0.9);
    }
    if (!visibleMapRect().contains(mapRect))
        centreOn(mapRect.center());
}

void MapView::updateMapSize() {
    const QRect extent = mapExtent(document_->map());
    mapSize_ = extent.size().expandedTo(picture_.size());
    updateScrollBars();
}

void MapView::updateScrollBars() {
    const QSize view = viewport()->size();
    const qint64 width = std::llround(mapSize_.width() * zoom_);
    const qint64 height = std::llround(mapSize_.height() * zoom_);
    horizontalScrollBar()->setRange(0, int(std::clamp<qint64>(width - view.width(), 0, INT_MAX)));
    verticalScrollBar()->setRange(0, int(std::clamp<qint64>(height - view.height(), 0, INT_MAX)));
    horizontalScrollBar()->setPageStep(view.width());
    verticalScrollBar()->setPageStep(view.height());
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setSingleStep(20);
}

void MapView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    if (zoom_ < minimumZoom())
        zoom_ = minimumZoom();
    updateScrollBars();
}

void MapView::scrollContentsBy(int, int) {
    viewport()->update();
}

// --- Painting ---------------------------------------------------------------------------------

QRect MapView::nameRect(const Stop& stop) const {
    if (nameRectsRevision_ != document_->revision()) {
        nameRects_.clear();
        nameRectsRevision_ = document_->revision();
    }
    auto it = nameRects_.find(const_cast<StopRef>(&stop));
    if (it == nameRects_.end())
        it = nameRects_.insert(const_cast<StopRef>(&stop), nameLabelRect(stop));
    return it->isEmpty() ? QRect()
                         : it->translated(stop.Label.Left - it->left(), stop.Label.Top - it->top());
}

QRect MapView::stopArea(const Stop& stop) const {
    QRect area = clampedRect(stop.Left, stop.Top, stop.Width, stop.Height);
    if (stop.Label.Visible)
        area = area.united(nameRect(stop));
    return area.adjusted(-2, -2, 2, 2);
}

void MapView::repaintMap(const QRect& mapRect) {
    const QRectF screen(mapToViewport(QPointF(mapRect.topLeft())),
                        mapToViewport(QPointF(mapRect.bottomRight() + QPoint(1, 1))));
    viewport()->update(screen.toAlignedRect().adjusted(-1, -1, 1, 1));
}

void MapView::repaintMap() {
    viewport()->update();
}

void MapView::paintMap(QPainter& painter, const QRect& area) const {
    const GraphMap& map = document_->map();
    painter.save();
    if (drawnMapVisible_) {
        painter.fillRect(area, windowColour());
        paintGraph(painter, map, area);
    } else {
        painter.fillRect(area, palette().color(QPalette::Window));
        if (pictureVisible_ && !picture_.isNull()) {
            const QRect part = area.intersected(picture_.rect());
            if (zoom_ != 1.0)
                painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(part, picture_, part);
        }
    }

    const DisplaySettings& s = map.Settings;
    const std::vector<StopRef>& way = document_->foundWay().stops;
    if (!way.empty()) {
        setMapPen(painter, toQColor(s.TreeColor), s.ArcWidth, PenMode::Copy);
        for (std::size_t k = 0; k + 1 < way.size(); ++k) {
            const MapPoint later = shownCentre(*way[k]);
            const MapPoint earlier = shownCentre(*way[k + 1]);
            DrawStraightArc(painter, earlier.x, earlier.y, later.x, later.y, way[k]->Radius,
                            s.ArrowType, s.ArrowSize, s.ArrowAngle);
        }
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

    // The stops and their names, each name above its stop, later stops above earlier.
    painter.setRenderHint(QPainter::Antialiasing);
    for (const auto& stop : map.stops()) {
        if (clampedRect(stop->Left, stop->Top, stop->Width, stop->Height)
                .adjusted(-1, -1, 1, 1)
                .intersects(area))
            paintStopControl(painter, *stop);
        if (stop->Label.Visible && nameRect(*stop).adjusted(-2, -2, 2, 2).intersects(area))
            paintNameLabel(painter, *stop);
    }
    painter.restore();
}

QImage MapView::renderMap(const QRect& mapRect) const {
    QImage image(mapRect.size(), QImage::Format_RGB32);
    QPainter painter(&image);
    painter.translate(-mapRect.topLeft());
    paintMap(painter, mapRect);
    return image;
}

void MapView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRect exposed = event->rect();
    // Outside the map the viewport shows the window's background.
    painter.fillRect(exposed, palette().color(QPalette::Window));
    painter.translate(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    painter.scale(zoom_, zoom_);
    const QRect area = QRectF(viewportToMap(QPointF(exposed.topLeft())),
                              viewportToMap(QPointF(exposed.bottomRight() + QPoint(1, 1))))
                           .toAlignedRect()
                           .adjusted(-1, -1, 1, 1);
    const QRect shown =
        area.intersected(QRect(QPoint(0, 0), mapSize_.expandedTo(viewport()->size() / zoom_)));
    paintMap(painter, shown);
}

// --- Hit tests --------------------------------------------------------------------------------

int MapView::minimumTarget() const {
    return int(std::ceil(kMinimumTargetPixels / zoom_));
}

MapView::TargetBox MapView::targetBox(const Stop& stop) const {
    const int minimum = minimumTarget();
    TargetBox box{stop.Left, stop.Top, stop.Width, stop.Height};
    if (box.width < minimum) {
        box.left -= (minimum - box.width) / 2;
        box.width = minimum;
    }
    if (box.height < minimum) {
        box.top -= (minimum - box.height) / 2;
        box.height = minimum;
    }
    return box;
}

StopRef MapView::stopAt(const QPoint& p) const {
    for (const auto& stop : document_->map().stops()) {
        const TargetBox b = targetBox(*stop);
        if (p.x() >= b.left && p.x() <= b.left + b.width && p.y() >= b.top &&
            p.y() <= b.top + b.height)
            return stop.get();
    }
    return nullptr;
}

MapHit MapView::hitAt(const QPoint& p, bool withNames) const {
    const auto& stops = document_->map().stops();
    for (auto it = stops.rbegin(); it != stops.rend(); ++it) {
        const Stop& stop = **it;
        if (withNames && stop.Label.Visible && nameRect(stop).contains(p))
            return {MapHit::Name, it->get()};
        const TargetBox b = targetBox(stop);
        if (p.x() >= b.left && p.x() < b.left + b.width && p.y() >= b.top &&
            p.y() < b.top + b.height)
            return {MapHit::Stop, it->get()};
    }
    return {};
}

bool MapView::alive(StopRef stop) const {
    return !stop || document_->map().indexOf(stop) >= 0;
}

// --- The mouse --------------------------------------------------------------------------------

MapMouseEvent MapView::mapEvent(const QMouseEvent* event) const {
    MapMouseEvent e;
    e.pos = viewportToMap(event->position().toPoint());
    e.button = event->button();
    e.buttons = event->buttons();
    e.modifiers = event->modifiers();
    e.globalPos = event->globalPosition().toPoint();
    return e;
}

MapMouseEvent MapView::mapEventAt(const QPoint& viewportPos, Qt::MouseButton button) const {
    MapMouseEvent e;
    e.pos = viewportToMap(viewportPos);
    e.button = button;
    e.buttons = heldButtons_;
    e.modifiers = heldModifiers_;
    e.globalPos = viewport()->mapToGlobal(viewportPos);
    return e;
}

void MapView::mousePressEvent(QMouseEvent* event) {
    lastPointer_ = event->position().toPoint();
    heldButtons_ = event->buttons();
    heldModifiers_ = event->modifiers();
    if (!handler_ || panning_)
        return;
    const MapMouseEvent e = mapEvent(event);
    if (!captured_) {
        const MapHit hit = hitAt(e.pos, true);
        if (hit.kind == MapHit::Empty && event->button() == Qt::MiddleButton) {
            panning_ = true;
            panFrom_ = lastPointer_;
            viewport()->setCursor(Qt::ClosedHandCursor);
            return;
        }
        if (hit.kind == MapHit::Empty && event->button() == Qt::LeftButton &&
            handler_->leftDragPans()) {
            pendingPress_ = e;
            pendingAt_ = lastPointer_;
            return;
        }
        captured_ = hit;
    }
    const MapHit target = *captured_;
    // A right press on a stop opens its menu, which takes the release: it captures nothing.
    if (target.kind == MapHit::Stop && event->button() == Qt::RightButton &&
        !(event->buttons() & ~Qt::RightButton))
        captured_.reset();
    handler_->pressed(target, e);
    if (captured_)
        autoScroll_->start();
}

void MapView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    heldButtons_ = event->buttons();
    heldModifiers_ = event->modifiers();
    if (panning_) {
        const QPoint delta = at - panFrom_;
        panFrom_ = at;
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - delta.x());
        verticalScrollBar()->setValue(verticalScrollBar()->value() - delta.y());
        return;
    }
    if (pendingPress_) {
        if ((at - pendingAt_).manhattanLength() < kPanThreshold)
            return;
        pendingPress_.reset();
        panning_ = true;
        panFrom_ = pendingAt_;
        viewport()->setCursor(Qt::ClosedHandCursor);
        mouseMoveEvent(event);
        return;
    }
    lastPointer_ = at;
    if (!handler_)
        return;
    const MapMouseEvent e = mapEvent(event);
    if (captured_) {
        if (!alive(captured_->stop)) {
            captured_.reset();
            return;
        }
        handler_->moved(*captured_, e);
        return;
    }
    // Without a held button only the stops and the empty map hear the pointer.
    handler_->moved(hitAt(e.pos, false), e);
}

void MapView::mouseReleaseEvent(QMouseEvent* event) {
    heldButtons_ = event->buttons();
    heldModifiers_ = event->modifiers();
    if (panning_) {
        if (event->buttons() == Qt::NoButton) {
            panning_ = false;
            viewport()->unsetCursor();
        }
        return;
    }
    if (!handler_)
        return;
    const MapMouseEvent e = mapEvent(event);
    if (pendingPress_) {
        // A click on the empty map: pressed and released where the press was.
        const MapMouseEvent press = *pendingPress_;
        pendingPress_.reset();
        handler_->pressed({}, press);
        MapMouseEvent release = e;
        release.pos = press.pos;
        handler_->released({}, release);
        return;
    }
    const std::optional<MapHit> target = captured_;
    if (event->buttons() == Qt::NoButton) {
        captured_.reset();
        autoScroll_->stop();
    }
    if (!target || !alive(target->stop))
        return;
    handler_->released(*target, e);
}

void MapView::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click is a press like the first.
    mousePressEvent(event);
}

void MapView::wheelEvent(QWheelEvent* event) {
    if (event->modifiers() & Qt::ControlModifier) {
        const int steps = event->angleDelta().y() / 120;
        if (steps != 0)
            setZoom(zoom_ * std::pow(kZoomStep, steps), event->position().toPoint());
        event->accept();
        return;
    }
    QAbstractScrollArea::wheelEvent(event);
}

void MapView::autoScroll() {
    if (!captured_ || heldButtons_ == Qt::NoButton) {
        autoScroll_->stop();
        return;
    }
    const QRect view = viewport()->rect();
    const auto step = [](int pos, int low, int high) {
        if (pos < low + kAutoScrollMargin)
            return -std::max(4, (low + kAutoScrollMargin - pos) / 2);
        if (pos > high - kAutoScrollMargin)
            return std::max(4, (pos - high + kAutoScrollMargin) / 2);
        return 0;
    };
    const int dx = step(lastPointer_.x(), view.left(), view.right());
    const int dy = step(lastPointer_.y(), view.top(), view.bottom());
    if (dx == 0 && dy == 0)
        return;
    // Past the right or bottom edge the map grows with what is dragged there.
    QScrollBar* h = horizontalScrollBar();
    QScrollBar* v = verticalScrollBar();
    if (dx > 0 && h->value() + dx > h->maximum())
        h->setMaximum(h->value() + dx);
    if (dy > 0 && v->value() + dy > v->maximum())
        v->setMaximum(v->value() + dy);
    h->setValue(h->value() + dx);
    v->setValue(v->value() + dy);
    if (handler_ && captured_ && alive(captured_->stop))
        handler_->moved(*captured_, mapEventAt(lastPointer_, Qt::NoButton));
}

} // namespace lirsk
