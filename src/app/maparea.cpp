#include "app/maparea.h"

#include "app/mapwindow.h"
#include "platform/colours.h"
#include "view/maprenderer.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

MapArea::MapArea(MapWindow* owner) : QWidget(owner), owner_(owner) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void MapArea::paintContent(QPainter& painter, const QRect& rect) const {
    const MapWindow& w = *owner_;
    if (w.drawnMapVisible_) {
        painter.fillRect(rect, lirsk::windowColour());
        painter.drawImage(rect.topLeft(), w.drawnMap_.image, rect);
    } else {
        painter.fillRect(rect, palette().color(QPalette::Window));
        if (w.pictureVisible_) {
            if (w.overlayActive_)
                painter.drawImage(rect.topLeft(), w.overlay_.image, rect);
            else if (!w.picture_.isNull())
                painter.drawImage(rect.topLeft(), w.picture_, rect);
        }
    }

    // The stop controls and their names, each name above its stop, later stops above earlier.
    painter.setRenderHint(QPainter::Antialiasing);
    // Positions are summed in 64 bits: a damaged file may hold any int.
    const qint64 left = rect.left(), top = rect.top(), right = rect.right(), bottom = rect.bottom();
    for (const auto& stop : w.Map().stops()) {
        if (stop->Left <= right && qint64(stop->Left) + stop->Width >= left &&
            stop->Top <= bottom && qint64(stop->Top) + stop->Height >= top)
            lirsk::paintStopControl(painter, *stop);
        const lirsk::NameLabel& label = stop->Label;
        // A cheap bound first: no name is taller than 64 pixels here or wider than 2000.
        if (label.Visible && label.Top <= bottom && qint64(label.Top) + 64 >= top &&
            label.Left <= right && qint64(label.Left) + 2000 >= left)
            lirsk::paintNameLabel(painter, *stop);
    }
}

void MapArea::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    paintContent(painter, event->rect());
}

MapArea::Hit MapArea::hitAt(const QPoint& p, bool withLabels) const {
    const auto& stops = owner_->Map().stops();
    for (auto it = stops.rbegin(); it != stops.rend(); ++it) {
        const lirsk::Stop& stop = **it;
        if (withLabels && stop.Label.Visible && lirsk::nameLabelRect(stop).contains(p))
            return {Target::Label, it->get()};
        if (p.x() >= stop.Left && p.x() < qint64(stop.Left) + stop.Width && p.y() >= stop.Top &&
            p.y() < qint64(stop.Top) + stop.Height)
            return {Target::Stop, it->get()};
    }
    return {Target::Image, nullptr};
}

bool MapArea::alive(lirsk::StopRef stop) const {
    return owner_->Map().indexOf(stop) >= 0;
}

void MapArea::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (captured_.target == Target::None)
        captured_ = hitAt(p, true);
    const Hit hit = captured_;
    StopHandle vertex(owner_, hit.stop);
    switch (hit.target) {
    case Target::Stop:
        // A right press opens the stop's menu, which takes the release: it captures nothing.
        if (event->button() == Qt::RightButton && !(event->buttons() & ~Qt::RightButton))
            captured_ = {};
        vertex.MouseDown(event->button(), event->modifiers(), p.x() - hit.stop->Left,
                         p.y() - hit.stop->Top);
        break;
    case Target::Label:
        vertex.NameLabelMouseDown(event->button(), event->modifiers(), p.x() - hit.stop->Label.Left,
                                  p.y() - hit.stop->Label.Top);
        break;
    case Target::Image:
        if (owner_->drawnMapVisible_)
            emit DrawnMapPressed(event->button(), event->modifiers(), p.x(), p.y());
        else
            emit PicturePressed(event->button(), event->modifiers(), p.x(), p.y());
        break;
    case Target::None:
        break;
    }
}

void MapArea::dispatchMove(const Hit& hit, QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    StopHandle vertex(owner_, hit.stop);
    switch (hit.target) {
    case Target::Label:
        vertex.NameLabelMouseMove(event->modifiers(), p.x() - hit.stop->Label.Left,
                                  p.y() - hit.stop->Label.Top);
        break;
    case Target::Image:
        if (owner_->drawnMapVisible_)
            emit DrawnMapMoved(event->modifiers(), p.x(), p.y());
        else
            emit PointerOverPicture(event->modifiers(), p.x(), p.y());
        break;
    case Target::Stop:
        vertex.MouseMove(event->modifiers(), p.x() - hit.stop->Left, p.y() - hit.stop->Top);
        break;
    case Target::None:
        break;
    }
}

void MapArea::mouseMoveEvent(QMouseEvent* event) {
    if (captured_.target != Target::None) {
        if (captured_.stop && !alive(captured_.stop)) {
            captured_ = {};
            return;
        }
        dispatchMove(captured_, event);
        return;
    }
    // Without a pressed button only the stops and the images hear the pointer.
    dispatchMove(hitAt(event->position().toPoint(), false), event);
}

void MapArea::mouseReleaseEvent(QMouseEvent* event) {
    const Hit hit = captured_;
    if (event->buttons() == Qt::NoButton)
        captured_ = {};
    if (hit.stop && !alive(hit.stop))
        return;
    const QPoint p = event->position().toPoint();
    StopHandle vertex(owner_, hit.stop);
    switch (hit.target) {
    case Target::Stop:
        vertex.MouseUp(event->button(), event->modifiers(), p.x() - hit.stop->Left,
                       p.y() - hit.stop->Top);
        break;
    case Target::Label:
        vertex.NameLabelMouseUp(event->button(), event->modifiers(), p.x() - hit.stop->Label.Left,
                                p.y() - hit.stop->Label.Top);
        break;
    case Target::Image:
        if (owner_->drawnMapVisible_)
            emit DrawnMapReleased(event->button(), event->modifiers(), p.x(), p.y());
        else
            emit PictureReleased(event->button(), event->modifiers(), p.x(), p.y());
        break;
    case Target::None:
        break;
    }
}
