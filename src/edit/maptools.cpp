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
        if (!m_editor.editing() || m_editor.press.stop != index)
            return;
        GraphMap& map = m_editor.map();
        MapDocument& document = m_editor.document();
        Stop& stop = map.stop(index);
        // On the grid the stop's centre goes to the grid point nearest to the pointer.
        const QPoint to = m_editor.placePoint(event.pos, event.modifiers);
        const bool onGrid = m_editor.snapsToGrid(event.modifiers);
        const int dx =
            onGrid ? to.x() - stop.centreX() : event.pos.x() - stop.Left - half(stop.Width);
        const int dy =
            onGrid ? to.y() - stop.centreY() : event.pos.y() - stop.Top - half(stop.Height);
        if (dx == 0 && dy == 0)
            return;
        std::vector<StopIndex> moved{index};
        if (document.isSelected(index)) {
            for (const StopIndex other : document.selection().stops())
                if (other != index)
                    moved.push_back(other);
        } else {
            m_editor.ClearSelection(-1, false);
        }
        m_editor.noteMove(moved);
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
        m_editor.ToggleSelected(stop);
        m_editor.RedrawMap(false);
    }

    void mapPressed(const MapMouseEvent& event) override {
        m_editor.RedrawMap(false);
        m_start = event.pos;
        m_editor.view().setSelectionRect(QRect(m_start, m_start));
    }

    void mapMoved(const MapMouseEvent& event) override {
        if (!m_editor.view().selectionRect())
            return;
        m_editor.view().setSelectionRect(QRect(m_start, event.pos));
    }

    void mapReleased(const MapMouseEvent& event) override {
        if (!m_editor.view().selectionRect())
            return;
        m_editor.view().setSelectionRect(std::nullopt);
        // The rectangle replaces the marks; with Ctrl held it adds to them.
        if (!(event.modifiers & Qt::ControlModifier))
            m_editor.ClearSelection(-1, true);
        const int x0 = std::min(m_start.x(), event.pos.x()),
                  x1 = std::max(m_start.x(), event.pos.x());
        const int y0 = std::min(m_start.y(), event.pos.y()),
                  y1 = std::max(m_start.y(), event.pos.y());
        const GraphMap& map = m_editor.map();
        for (StopIndex i = 0; i < map.stopCount(); ++i) {
            const Stop& stop = map.stop(i);
            const qint64 left = stop.Left, top = stop.Top;
            if (left + stop.Width > x0 && top + stop.Height > y0 && left < x1 && top < y1 &&
                !m_editor.document().isSelected(i))
                m_editor.ToggleSelected(i);
        }
    }

private:
    QPoint m_start;
};

// A press on the empty drawn map adds a stop with its centre there.
class AddStopTool : public MovingTool {
public:
    using MovingTool::MovingTool;

    void mapPressed(const MapMouseEvent& event) override {
        const QPoint centre = m_editor.placePoint(event.pos, event.modifiers);
        const int radius = StopFields().Radius;
        m_editor.AddStopAt(std::max(0, centre.x() - radius), std::max(0, centre.y() - radius));
    }
};

// Modes that join two stops: press on the first, drag (a rubber band follows the pointer and
// snaps red onto a stop the gesture can end on) and release on the second.
class TwoStopTool : public MapTool {
public:
    TwoStopTool(MapEditor& editor, bool arrow) : MapTool(editor), m_arrow(arrow) {}

    void stopPressed(StopIndex stop, const MapMouseEvent&) override {
        if (m_editor.PickedStop != NoStop)
            return;
        m_editor.PickedStop = stop;
        m_colour = Qt::black;
        if (m_arrow)
            showBand(stop);
    }

    void stopMoved(StopIndex index, const MapMouseEvent& event) override {
        if (m_editor.PickedStop != index)
            return;
        const GraphMap& map = m_editor.map();
        const Stop& stop = map.stop(index);
        const QPoint corner(stop.Left, stop.Top);
        const StopIndex target = targetAt(event.pos);
        if (target != NoStop && target != index && snaps(index, target)) {
            m_colour = QColor(0xFF, 0, 0);
            const Stop& to = map.stop(target);
            m_editor.press.down = QPoint(to.centreX(), to.centreY()) - corner;
            m_editor.press.bandSetback = to.Radius;
        } else {
            m_colour = Qt::black;
            m_editor.press.down = event.pos - corner;
            m_editor.press.bandSetback = 0;
        }
        showBand(index);
    }

    void stopReleased(StopIndex, const MapMouseEvent& event) override {
        if (event.button != Qt::LeftButton || m_editor.PickedStop == NoStop)
            return;
        const StopIndex a = m_editor.PickedStop;
        m_editor.view().setRubberBand(std::nullopt);
        const StopIndex b = targetAt(event.pos);
        if (b != NoStop && b != a && snaps(a, b))
            complete(a, b);
        if (m_editor.mode() != MapMode::FindWay)
            m_editor.RedrawMap(false);
        m_editor.PickedStop = NoStop;
    }

protected:
    virtual bool snaps(StopIndex from, StopIndex to) const = 0;
    virtual void complete(StopIndex from, StopIndex to) = 0;
    // The stop a gesture ends on at a point.
    virtual StopIndex targetAt(const QPoint& pos) const { return m_editor.view().stopAt(pos); }
    const GraphMap& map() const { return m_editor.map(); }

private:
    void showBand(StopIndex index) {
        const Stop& stop = m_editor.map().stop(index);
        RubberBand band;
        band.from = QPoint(stop.centreX(), stop.centreY());
        band.to = QPoint(stop.Left, stop.Top) + m_editor.press.down;
        band.setback = m_editor.press.bandSetback;
        band.arrow = m_arrow;
        band.colour = m_colour;
        m_editor.view().setRubberBand(band);
    }

    bool m_arrow;
    QColor m_colour = Qt::black;
};

class AddArcTool : public TwoStopTool {
public:
    explicit AddArcTool(MapEditor& editor) : TwoStopTool(editor, true) {}

protected:
    bool snaps(StopIndex a, StopIndex b) const override { return !map().FindLink(a, b); }
    void complete(StopIndex a, StopIndex b) override { m_editor.AddArc(a, b); }
};

class DeleteArcTool : public TwoStopTool {
public:
    explicit DeleteArcTool(MapEditor& editor) : TwoStopTool(editor, true) {}

protected:
    bool snaps(StopIndex a, StopIndex b) const override { return map().FindLink(a, b); }
    void complete(StopIndex a, StopIndex b) override { m_editor.DeleteArc(a, b); }
};

class AddRoadTool : public TwoStopTool {
public:
    explicit AddRoadTool(MapEditor& editor) : TwoStopTool(editor, false) {}

protected:
    bool snaps(StopIndex a, StopIndex b) const override {
        return !map().FindLink(a, b) && !map().FindLink(b, a);
    }
    void complete(StopIndex a, StopIndex b) override { m_editor.AddRoad(a, b); }
};

class DeleteRoadTool : public TwoStopTool {
public:
    explicit DeleteRoadTool(MapEditor& editor) : TwoStopTool(editor, false) {}

protected:
    bool snaps(StopIndex a, StopIndex b) const override { return map().IsRoad(a, b); }
    void complete(StopIndex a, StopIndex b) override { m_editor.DeleteRoad(a, b); }
};

class ChangeRoadTool : public TwoStopTool {
public:
    explicit ChangeRoadTool(MapEditor& editor) : TwoStopTool(editor, false) {}

protected:
    bool snaps(StopIndex a, StopIndex b) const override { return map().IsRoad(a, b); }
    void complete(StopIndex a, StopIndex b) override { m_editor.ChangeRoadWeight(a, b); }
};

class FindWayTool : public TwoStopTool {
public:
    explicit FindWayTool(MapEditor& editor) : TwoStopTool(editor, true) {}
    bool leftDragPans() const override { return true; }

protected:
    bool snaps(StopIndex, StopIndex) const override { return true; }
    void complete(StopIndex a, StopIndex b) override { m_editor.FindWay(a, b); }
    // A way also ends on a stop's name.
    StopIndex targetAt(const QPoint& pos) const override {
        if (const StopIndex stop = TwoStopTool::targetAt(pos); stop != NoStop)
            return stop;
        const MapHit hit = m_editor.view().hitAt(pos, true);
        return hit.kind == MapHit::Name ? hit.stop : NoStop;
    }
};

// Hovering over a stop shows its routes in the pop-up.
class InfoTool : public MapTool {
public:
    using MapTool::MapTool;
    bool leftDragPans() const override { return true; }

    void stopMoved(StopIndex stop, const MapMouseEvent& event) override {
        if (m_editor.press.stop == stop)
            return;
        if (const StopIndex under = m_editor.view().stopAt(event.pos); under != NoStop) {
            const Stop& stop = m_editor.map().stop(under);
            m_editor.dialogs().showStopRoutes(stop.Label.Caption, stop.Routes, QCursor::pos());
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
