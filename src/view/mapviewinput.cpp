// The mouse on a map view: what a point hits, presses, moves and releases sent to the input
// handler in map coordinates, panning, the wheel's zoom and scrolling while a drag is held near
// the viewport's edge.

#include "view/mapview.h"

#include "view/maprenderer.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace lirsk {

namespace {

// A stop is never a smaller target than this many screen pixels.
constexpr int kMinimumTargetPixels = 8;
// How near the viewport's edge the pointer makes a held drag scroll.
constexpr int kAutoScrollMargin = 24;
// A left press on the empty map becomes a pan once the pointer has moved this far.
constexpr int kPanThreshold = 3;

} // namespace

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

StopIndex MapView::stopAt(const QPoint& p) const {
    const int reach = minimumTarget();
    for (const StopIndex stop : stopsIn(QRect(p, p).adjusted(-reach, -reach, reach, reach))) {
        const TargetBox b = targetBox(document_->map().stop(stop));
        if (p.x() >= b.left && p.x() <= b.left + b.width && p.y() >= b.top &&
            p.y() <= b.top + b.height)
            return stop;
    }
    return NoStop;
}

MapHit MapView::hitAt(const QPoint& p, bool withNames) const {
    const int reach = minimumTarget();
    const std::vector<StopIndex> near = stopsIn(QRect(p, p).adjusted(-reach, -reach, reach, reach));
    // A stop is in front of every name: far out the names spread over the dots, and a dot must
    // still be pressed.
    for (auto it = near.rbegin(); it != near.rend(); ++it) {
        const TargetBox b = targetBox(document_->map().stop(*it));
        if (p.x() >= b.left && p.x() < b.left + b.width && p.y() >= b.top &&
            p.y() < b.top + b.height)
            return {MapHit::Stop, *it};
    }
    if (withNames)
        for (auto it = near.rbegin(); it != near.rend(); ++it)
            if (document_->map().stop(*it).Label.Visible && nameShown(*it) &&
                shownNameRect(*it).contains(QPointF(p)))
                return {MapHit::Name, *it};
    return {};
}

bool MapView::capturedAlive() const {
    return captured_ &&
           (captured_->stop == NoStop || (document_->stopsRevision() == capturedStops_ &&
                                          document_->map().isStop(captured_->stop)));
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
        capturedStops_ = document_->stopsRevision();
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
        if (!capturedAlive()) {
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
    const bool alive = capturedAlive();
    if (event->buttons() == Qt::NoButton) {
        captured_.reset();
        autoScroll_->stop();
    }
    if (!target || !alive)
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
            setZoom(zoom_ * std::pow(ZoomStep, steps), event->position().toPoint());
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
    // The nearer the edge (or the further past it), the faster.
    const auto step = [](int pos, int low, int high) {
        if (pos < low + kAutoScrollMargin)
            return -std::min(8 + (low + kAutoScrollMargin - pos), 120);
        if (pos > high - kAutoScrollMargin)
            return std::min(8 + (pos - high + kAutoScrollMargin), 120);
        return 0;
    };
    const int dx = step(lastPointer_.x(), view.left(), view.right());
    const int dy = step(lastPointer_.y(), view.top(), view.bottom());
    if (dx == 0 && dy == 0)
        return;
    // Past the right or bottom edge the map grows with a stop dragged there.
    QScrollBar* h = horizontalScrollBar();
    QScrollBar* v = verticalScrollBar();
    const bool grows = handler_ && handler_->dragGrowsMap();
    if (grows && dx > 0 && h->value() + dx > h->maximum())
        h->setMaximum(h->value() + dx);
    if (grows && dy > 0 && v->value() + dy > v->maximum())
        v->setMaximum(v->value() + dy);
    h->setValue(h->value() + dx);
    v->setValue(v->value() + dy);
    if (handler_ && capturedAlive())
        handler_->moved(*captured_, mapEventAt(lastPointer_, Qt::NoButton));
}

} // namespace lirsk
