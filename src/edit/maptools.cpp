// One tool per mode: what a press, a move and a release on a stop or on the empty map do in it.

#include "edit/maptools.h"

#include <QCursor>

#include <algorithm>

namespace lirsk {

namespace {

// Integer halving that truncates toward zero.
int half(int value) {
    return value / 2;
}

// Pointer and add-stop modes drag the pressed stop, and the marked stops with it when it is
// marked; the stop's centre follows the pointer.
class MovingTool : public MapTool {
public:
    using MapTool::MapTool;
    bool dragGrowsMap() const override { return true; }

    void stopMoved(StopIndex index, const MapMouseEvent& event) override {
        if (editor_.press.stop != index)
            return;
        GraphMap& map = editor_.map();
        MapDocument& document = editor_.document();
        Stop& stop = map.stop(index);
        const int dx = event.pos.x() - stop.Left - half(stop.Width);
        const int dy = event.pos.y() - stop.Top - half(stop.Height);
        if (dx == 0 && dy == 0)
            return;
        std::vector<StopIndex> moved{index};
        if (document.isSelected(index)) {
            for (const StopIndex other : document.selection().stops())
                if (other != index)
                    moved.push_back(other);
        } else {
            editor_.ClearSelection(-1, false);
        }
        editor_.noteMove(moved);
        for (std::size_t i = 1; i < moved.size(); ++i) {
            Stop& other = map.stop(moved[i]);
            other.Left = std::max(0, other.Left + dx);
            other.Top = std::max(0, other.Top + dy);
            other.Label.Left = std::max(0, other.Label.Left + dx);
            other.Label.Top = std::max(0, other.Label.Top + dy);
        }
        if (stop.Left + dx >= 0) {
            stop.Left += dx;
            stop.Label.Left += dx;
        }
        if (stop.Top + dy >= 0) {
            stop.Top += dy;
            stop.Label.Top += dy;
        }
        document.announce(MapChange::Place, moved);
    }
};

// Marks stops by clicks and by a rectangle drawn on the empty drawn map.
class PointerTool : public MovingTool {
public:
    using MovingTool::MovingTool;

    void stopClicked(StopIndex stop) override {
        editor_.ToggleSelected(stop);
        editor_.RedrawMap(false);
    }

    void mapPressed(const MapMouseEvent& event) override {
        editor_.RedrawMap(false);
        start_ = event.pos;
        editor_.view().setSelectionRect(QRect(start_, start_));
    }

    void mapMoved(const MapMouseEvent& event) override {
        if (!editor_.view().selectionRect())
            return;
        editor_.view().setSelectionRect(QRect(start_, event.pos));
    }

    void mapReleased(const MapMouseEvent& event) override {
        if (!editor_.view().selectionRect())
            return;
        editor_.view().setSelectionRect(std::nullopt);
        editor_.ClearSelection(-1, true);
        const int x0 = std::min(start_.x(), event.pos.x()),
                  x1 = std::max(start_.x(), event.pos.x());
        const int y0 = std::min(start_.y(), event.pos.y()),
                  y1 = std::max(start_.y(), event.pos.y());
        const GraphMap& map = editor_.map();
        for (StopIndex i = 0; i < map.stopCount(); ++i) {
            const Stop& stop = map.stop(i);
            const qint64 left = stop.Left, top = stop.Top;
            if (left + stop.Width > x0 && top + stop.Height > y0 && left < x1 && top < y1)
                editor_.ToggleSelected(i);
        }
    }

private:
    QPoint start_;
};

// A press on the empty drawn map adds a stop there.
class AddStopTool : public MovingTool {
public:
    using MovingTool::MovingTool;

    void mapPressed(const MapMouseEvent& event) override {
        editor_.AddStopAt(event.pos.x(), event.pos.y());
    }
};

// Modes that join two stops: press on the first, drag (a rubber band follows the pointer and
// snaps red onto a stop the gesture can end on) and release on the second.
class TwoStopTool : public MapTool {
public:
    TwoStopTool(MapEditor& editor, bool arrow) : MapTool(editor), arrow_(arrow) {}

    void stopPressed(StopIndex stop, const MapMouseEvent&) override {
        if (editor_.PickedStop != NoStop)
            return;
        editor_.PickedStop = stop;
        colour_ = Qt::black;
        if (arrow_)
            showBand(stop);
    }

    void stopMoved(StopIndex index, const MapMouseEvent& event) override {
        if (editor_.PickedStop != index)
            return;
        const GraphMap& map = editor_.map();
        const Stop& stop = map.stop(index);
        const QPoint corner(stop.Left, stop.Top);
        const StopIndex target = targetAt(event.pos);
        if (target != NoStop && target != index && snaps(index, target)) {
            colour_ = QColor(0xFF, 0, 0);
            const Stop& to = map.stop(target);
            editor_.press.down = QPoint(to.centreX(), to.centreY()) - corner;
            editor_.press.bandSetback = to.Radius;
        } else {
            colour_ = Qt::black;
            editor_.press.down = event.pos - corner;
            editor_.press.bandSetback = 0;
        }
        showBand(index);
    }

    void stopReleased(StopIndex, const MapMouseEvent& event) override {
        if (event.button != Qt::LeftButton || editor_.PickedStop == NoStop)
            return;
        const StopIndex a = editor_.PickedStop;
        editor_.view().setRubberBand(std::nullopt);
        const StopIndex b = targetAt(event.pos);
        if (b != NoStop && b != a && snaps(a, b))
            complete(a, b);
        if (editor_.mode() != MapMode::FindWay)
            editor_.RedrawMap(false);
        editor_.PickedStop = NoStop;
    }

protected:
    virtual bool snaps(StopIndex from, StopIndex to) const = 0;
    virtual void complete(StopIndex from, StopIndex to) = 0;
    // The stop a gesture ends on at a point.
    virtual StopIndex targetAt(const QPoint& pos) const { return editor_.view().stopAt(pos); }
    const GraphMap& map() const { return editor_.map(); }

private:
    void showBand(StopIndex index) {
        const Stop& stop = editor_.map().stop(index);
        RubberBand band;
        band.from = QPoint(stop.centreX(), stop.centreY());
        band.to = QPoint(stop.Left, stop.Top) + editor_.press.down;
        band.setback = editor_.press.bandSetback;
        band.arrow = arrow_;
        band.colour = colour_;
        editor_.view().setRubberBand(band);
    }

    bool arrow_;
    QColor colour_ = Qt::black;
};

class AddArcTool : public TwoStopTool {
public:
    explicit AddArcTool(MapEditor& editor) : TwoStopTool(editor, true) {}

protected:
    bool snaps(StopIndex a, StopIndex b) const override { return !map().FindLink(a, b); }
    void complete(StopIndex a, StopIndex b) override { editor_.AddArc(a, b); }
};

class DeleteArcTool : public TwoStopTool {
public:
    explicit DeleteArcTool(MapEditor& editor) : TwoStopTool(editor, true) {}

protected:
    bool snaps(StopIndex a, StopIndex b) const override { return map().FindLink(a, b); }
    void complete(StopIndex a, StopIndex b) override { editor_.DeleteArc(a, b); }
};

class AddRoadTool : public TwoStopTool {
public:
    explicit AddRoadTool(MapEditor& editor) : TwoStopTool(editor, false) {}

protected:
    bool snaps(StopIndex a, StopIndex b) const override {
        return !map().FindLink(a, b) && !map().FindLink(b, a);
    }
    void complete(StopIndex a, StopIndex b) override { editor_.AddRoad(a, b); }
};

class DeleteRoadTool : public TwoStopTool {
public:
    explicit DeleteRoadTool(MapEditor& editor) : TwoStopTool(editor, false) {}

protected:
    bool snaps(StopIndex a, StopIndex b) const override { return map().IsRoad(a, b); }
    void complete(StopIndex a, StopIndex b) override { editor_.DeleteRoad(a, b); }
};

class ChangeRoadTool : public TwoStopTool {
public:
    explicit ChangeRoadTool(MapEditor& editor) : TwoStopTool(editor, false) {}

protected:
    bool snaps(StopIndex a, StopIndex b) const override { return map().IsRoad(a, b); }
    void complete(StopIndex a, StopIndex b) override { editor_.ChangeRoadWeight(a, b); }
};

class FindWayTool : public TwoStopTool {
public:
    explicit FindWayTool(MapEditor& editor) : TwoStopTool(editor, true) {}
    bool leftDragPans() const override { return true; }

protected:
    bool snaps(StopIndex, StopIndex) const override { return true; }
    void complete(StopIndex a, StopIndex b) override { editor_.FindWay(a, b); }
    // A way also ends on a stop's name.
    StopIndex targetAt(const QPoint& pos) const override {
        if (const StopIndex stop = TwoStopTool::targetAt(pos); stop != NoStop)
            return stop;
        const MapHit hit = editor_.view().hitAt(pos, true);
        return hit.kind == MapHit::Name ? hit.stop : NoStop;
    }
};

// Hovering over a stop shows its routes in the pop-up.
class InfoTool : public MapTool {
public:
    using MapTool::MapTool;
    bool leftDragPans() const override { return true; }

    void stopMoved(StopIndex stop, const MapMouseEvent& event) override {
        if (editor_.press.stop == stop)
            return;
        if (const StopIndex under = editor_.view().stopAt(event.pos); under != NoStop) {
            const Stop& stop = editor_.map().stop(under);
            editor_.dialogs().showStopRoutes(stop.Label.Caption, stop.Routes, QCursor::pos());
        }
    }
};

} // namespace

std::unique_ptr<MapTool> makeTool(MapMode mode, MapEditor& editor) {
    switch (mode) {
    case MapMode::AddStop:
        return std::make_unique<AddStopTool>(editor);
    case MapMode::AddArc:
        return std::make_unique<AddArcTool>(editor);
    case MapMode::DeleteArc:
        return std::make_unique<DeleteArcTool>(editor);
    case MapMode::AddRoad:
        return std::make_unique<AddRoadTool>(editor);
    case MapMode::DeleteRoad:
        return std::make_unique<DeleteRoadTool>(editor);
    case MapMode::ChangeRoad:
        return std::make_unique<ChangeRoadTool>(editor);
    case MapMode::FindWay:
        return std::make_unique<FindWayTool>(editor);
    case MapMode::Info:
        return std::make_unique<InfoTool>(editor);
    case MapMode::Pointer:
        break;
    }
    return std::make_unique<PointerTool>(editor);
}

} // namespace lirsk
