#include "document/edits.h"

#include <QCoreApplication>
#include <QUndoCommand>
#include <QUndoStack>

#include <algorithm>

namespace lirsk {

StopPlace placeOf(const Stop& stop) {
    return {stop.Left, stop.Top, stop.Label.Left, stop.Label.Top};
}

StopLook lookOf(const Stop& stop) {
    return {stop.Label.Caption, stop.Width,     stop.Height, stop.Radius,
            stop.Label.Visible, stop.FillColor, stop.Routes, stop.Label.Font};
}

namespace {

// A command on one document; each edit below is one. Its text names it in the undo menu.
class MapCommand : public QUndoCommand {
public:
    MapCommand(MapDocument& document, const QString& text)
        : QUndoCommand(text), document_(document) {}
    MapCommand(MapDocument& document, const char* text)
        : MapCommand(document, QCoreApplication::translate("MapEdits", text)) {}

protected:
    GraphMap& map() { return document_.map(); }
    MapDocument& document_;
};

class AddStopCommand : public MapCommand {
public:
    AddStopCommand(MapDocument& document, int x, int y)
        : MapCommand(document, QT_TRANSLATE_NOOP("MapEdits", "добавление остановки")), x_(x),
          y_(y) {}

    void redo() override {
        maxIdBefore_ = map().MaxStopId;
        stop_ = map().AddStop(x_, y_, true);
        document_.announce(MapChange::Stops, {stop_});
    }
    void undo() override {
        document_.takeStops({stop_});
        map().MaxStopId = maxIdBefore_;
        document_.announce(MapChange::Stops, {stop_});
    }

private:
    int x_, y_;
    StopIndex stop_ = NoStop;
    int maxIdBefore_ = 0;
};

class DeleteStopsCommand : public MapCommand {
public:
    DeleteStopsCommand(MapDocument& document, std::vector<StopIndex> stops)
        : MapCommand(document, QT_TRANSLATE_NOOP("MapEdits", "удаление остановок")),
          stops_(std::move(stops)) {
        std::sort(stops_.begin(), stops_.end());
        stops_.erase(std::unique(stops_.begin(), stops_.end()), stops_.end());
    }

    void redo() override {
        if (stops_.empty()) {
            setObsolete(true);
            return;
        }
        taken_ = document_.takeStops(stops_);
        document_.announce(MapChange::Stops | MapChange::Links, stops_);
    }
    void undo() override {
        document_.restoreStops(std::move(taken_));
        taken_ = {};
        document_.announce(MapChange::Stops | MapChange::Links, stops_);
    }

private:
    std::vector<StopIndex> stops_; // ascending
    TakenStops taken_;             // while the stops are out
};

// An arc, or both halves of a road, appended to their stops' lists.
class AddLinksCommand : public MapCommand {
public:
    AddLinksCommand(MapDocument& document, StopIndex a, StopIndex b, const RoadWeight& weight,
                    bool road)
        : MapCommand(document, road ? QT_TRANSLATE_NOOP("MapEdits", "добавление дороги")
                                    : QT_TRANSLATE_NOOP("MapEdits", "добавление дуги")),
          a_(a), b_(b), weight_(weight), road_(road) {}

    void redo() override {
        if (a_ == b_ || map().FindLink(a_, b_) || (road_ && map().FindLink(b_, a_))) {
            setObsolete(true);
            return;
        }
        Link& there = map().AddLink(a_, b_, weight_);
        if (road_) {
            there.IsArc = false;
            map().AddLink(b_, a_, weight_).IsArc = false;
        }
        document_.announce(MapChange::Links, {a_, b_});
    }
    void undo() override {
        map().stop(a_).Links.pop_back();
        if (road_)
            map().stop(b_).Links.pop_back();
        map().updateArcFlags(a_, b_);
        document_.announce(MapChange::Links, {a_, b_});
    }

private:
    StopIndex a_, b_;
    RoadWeight weight_;
    bool road_;
};

// The first link a -> b, and for a road the first link b -> a too, each taken from its place.
class DeleteLinksCommand : public MapCommand {
public:
    DeleteLinksCommand(MapDocument& document, StopIndex a, StopIndex b, bool road)
        : MapCommand(document, road ? QT_TRANSLATE_NOOP("MapEdits", "удаление дороги")
                                    : QT_TRANSLATE_NOOP("MapEdits", "удаление дуги")),
          a_(a), b_(b), road_(road) {}

    void redo() override {
        removed_.clear();
        take(a_, b_);
        if (road_)
            take(b_, a_);
        if (removed_.empty()) {
            setObsolete(true);
            return;
        }
        map().updateArcFlags(a_, b_);
        document_.announce(MapChange::Links, {a_, b_});
    }
    void undo() override {
        for (auto it = removed_.rbegin(); it != removed_.rend(); ++it) {
            std::vector<Link>& links = map().stop(it->from).Links;
            links.insert(links.begin() + it->at, it->link);
        }
        map().updateArcFlags(a_, b_);
        document_.announce(MapChange::Links, {a_, b_});
    }

private:
    void take(StopIndex from, StopIndex to) {
        std::vector<Link>& links = map().stop(from).Links;
        const auto it = std::find_if(links.begin(), links.end(),
                                     [to](const Link& link) { return link.To == to; });
        if (it == links.end())
            return;
        removed_.push_back({from, int(it - links.begin()), *it});
        links.erase(it);
    }

    struct Removed {
        StopIndex from;
        int at;
        Link link;
    };
    StopIndex a_, b_;
    bool road_;
    std::vector<Removed> removed_;
};

class ChangeRoadCommand : public MapCommand {
public:
    ChangeRoadCommand(MapDocument& document, StopIndex a, StopIndex b, const RoadWeight& weight)
        : MapCommand(document, QT_TRANSLATE_NOOP("MapEdits", "изменение параметров дороги")), a_(a),
          b_(b), weight_(weight) {}

    void redo() override {
        Link* there = map().FindLink(a_, b_);
        Link* back = map().FindLink(b_, a_);
        if (!there || (there->weight() == weight_ && (!back || back->weight() == weight_))) {
            setObsolete(true);
            return;
        }
        thereBefore_ = there->weight();
        there->setWeight(weight_);
        if (back) {
            backBefore_ = back->weight();
            back->setWeight(weight_);
        }
        map().updateArcFlags(a_, b_);
        document_.announce(MapChange::Links, {a_, b_});
    }
    void undo() override {
        map().FindLink(a_, b_)->setWeight(thereBefore_);
        if (Link* back = map().FindLink(b_, a_))
            back->setWeight(backBefore_);
        map().updateArcFlags(a_, b_);
        document_.announce(MapChange::Links, {a_, b_});
    }

private:
    StopIndex a_, b_;
    RoadWeight weight_, thereBefore_, backBefore_;
};

class MoveCommand : public MapCommand {
public:
    MoveCommand(MapDocument& document, const QString& text, std::vector<StopIndex> stops,
                std::vector<StopPlace> from, std::vector<StopPlace> to)
        : MapCommand(document, text), stops_(std::move(stops)), from_(std::move(from)),
          to_(std::move(to)) {}

    void redo() override {
        if (from_ == to_) {
            setObsolete(true);
            return;
        }
        put(to_);
    }
    void undo() override { put(from_); }

private:
    void put(const std::vector<StopPlace>& places) {
        for (std::size_t i = 0; i < stops_.size(); ++i) {
            Stop& stop = map().stop(stops_[i]);
            stop.Left = places[i].left;
            stop.Top = places[i].top;
            stop.Label.Left = places[i].labelLeft;
            stop.Label.Top = places[i].labelTop;
        }
        document_.announce(MapChange::Place, stops_);
    }

    std::vector<StopIndex> stops_;
    std::vector<StopPlace> from_, to_;
};

class StopLooksCommand : public MapCommand {
public:
    StopLooksCommand(MapDocument& document, std::vector<StopIndex> stops,
                     std::vector<StopLook> looks)
        : MapCommand(document, QT_TRANSLATE_NOOP("MapEdits", "свойства остановок")),
          stops_(std::move(stops)), after_(std::move(looks)) {}

    void redo() override {
        before_.clear();
        MapChanges what;
        for (std::size_t i = 0; i < stops_.size(); ++i) {
            const StopLook now = lookOf(map().stop(stops_[i]));
            if (now.caption != after_[i].caption)
                what |= MapChange::Name;
            if (now.routes != after_[i].routes)
                what |= MapChange::Routes;
            if (!(now == after_[i]))
                what |= MapChange::Look;
            before_.push_back(now);
        }
        if (before_ == after_) {
            setObsolete(true);
            return;
        }
        changed_ = what;
        put(after_);
    }
    void undo() override { put(before_); }

private:
    void put(const std::vector<StopLook>& looks) {
        for (std::size_t i = 0; i < stops_.size(); ++i) {
            Stop& stop = map().stop(stops_[i]);
            const StopLook& look = looks[i];
            stop.Label.Caption = look.caption;
            stop.Width = look.width;
            stop.Height = look.height;
            stop.Radius = look.radius;
            stop.Label.Visible = look.nameVisible;
            stop.FillColor = look.colour;
            stop.Routes = look.routes;
            stop.Label.Font = look.font;
        }
        document_.announce(changed_, stops_);
    }

    std::vector<StopIndex> stops_;
    std::vector<StopLook> before_, after_;
    MapChanges changed_;
};

class SettingsCommand : public MapCommand {
public:
    SettingsCommand(MapDocument& document, const DisplaySettings& settings)
        : MapCommand(document, QT_TRANSLATE_NOOP("MapEdits", "настройки карты")), after_(settings) {
    }

    void redo() override {
        before_ = map().Settings;
        if (before_ == after_) {
            setObsolete(true);
            return;
        }
        put(after_);
    }
    void undo() override { put(before_); }

private:
    void put(const DisplaySettings& settings) {
        map().Settings = settings;
        document_.announce(MapChange::Settings);
    }

    DisplaySettings before_, after_;
};

} // namespace

namespace edit {

StopIndex addStop(MapDocument& document, int x, int y) {
    document.undoStack()->push(new AddStopCommand(document, x, y));
    return document.map().stopCount() - 1;
}

void deleteStops(MapDocument& document, std::vector<StopIndex> stops) {
    document.undoStack()->push(new DeleteStopsCommand(document, std::move(stops)));
}

void addArc(MapDocument& document, StopIndex a, StopIndex b, const RoadWeight& weight) {
    document.undoStack()->push(new AddLinksCommand(document, a, b, weight, false));
}

void deleteArc(MapDocument& document, StopIndex a, StopIndex b) {
    document.undoStack()->push(new DeleteLinksCommand(document, a, b, false));
}

void addRoad(MapDocument& document, StopIndex a, StopIndex b, const RoadWeight& weight) {
    document.undoStack()->push(new AddLinksCommand(document, a, b, weight, true));
}

void deleteRoad(MapDocument& document, StopIndex a, StopIndex b) {
    document.undoStack()->push(new DeleteLinksCommand(document, a, b, true));
}

void changeRoad(MapDocument& document, StopIndex a, StopIndex b, const RoadWeight& weight) {
    document.undoStack()->push(new ChangeRoadCommand(document, a, b, weight));
}

void moveStops(MapDocument& document, const QString& text, std::vector<StopIndex> stops,
               std::vector<StopPlace> from, std::vector<StopPlace> to) {
    document.undoStack()->push(
        new MoveCommand(document, text, std::move(stops), std::move(from), std::move(to)));
}

void setStopLooks(MapDocument& document, std::vector<StopIndex> stops,
                  std::vector<StopLook> looks) {
    document.undoStack()->push(new StopLooksCommand(document, std::move(stops), std::move(looks)));
}

void changeSettings(MapDocument& document, const DisplaySettings& settings) {
    document.undoStack()->push(new SettingsCommand(document, settings));
}

} // namespace edit

} // namespace lirsk
