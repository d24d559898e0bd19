#pragma once

#include "model/graphmap.h"

#include <QWidget>

class MapWindow;

// The scrollable surface of a map window, in map coordinates: it shows the background picture
// (Image1) or the graph image (ImgGraf), the overlay, and above them the stop controls with their
// name labels. A press on a stop or a name captures the mouse for it until the button goes up.
class MapArea : public QWidget {
    Q_OBJECT
public:
    explicit MapArea(MapWindow* owner);

    // Paints the area's content in a rectangle of map coordinates.
    void paintContent(QPainter& painter, const QRect& rect) const;

signals:
    // Mouse events on the images (not on a stop or a name), in map coordinates; the gestures and
    // panels of the map window take them.
    void DrawnMapPressed(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void DrawnMapMoved(Qt::KeyboardModifiers shift, int x, int y);
    void DrawnMapReleased(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void PicturePressed(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void PointerOverPicture(Qt::KeyboardModifiers shift, int x, int y);
    void PictureReleased(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    enum class Target { None, Stop, Label, Image };
    struct Hit {
        Target target = Target::None;
        lirsk::StopRef stop = nullptr;
    };
    // The topmost control under a point: later stops lie above earlier ones, each name above its
    // own stop.
    Hit hitAt(const QPoint& p, bool withLabels) const;
    bool alive(lirsk::StopRef stop) const;
    void dispatchMove(const Hit& hit, QMouseEvent* event);

    MapWindow* owner_;
    Hit captured_;
};
