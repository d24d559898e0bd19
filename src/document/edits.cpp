#include "document/edits.h"

#include "layout/schematicmap.h"

#include <QCoreApplication>
#include <QUndoCommand>
#include <QUndoStack>

#include <algorithm>
#include <numeric>

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
        : QUndoCommand(text), m_document(document) {}
    MapCommand(MapDocument& document, const char* text)
        : MapCommand(document, QCoreApplication::translate("MapEdits", text)) {}

protected:
    GraphMap& map() { return m_document.map(); }
    MapDocument& m_document;
};

class AddStopCommand : public MapCommand {
public:
    AddStopCommand(MapDocument& document, int x, int y)
        : MapCommand(document, QT_TRANSLATE_NOOP("MapEdits", "добавление остановки")), m_x(x),
          m_y(y) {}

    void redo() override {
        m_maxIdBefore = map().MaxStopId;
        m_stop = map().AddStop(m_x, m_y, true);
        m_document.announce(MapChange::Stops, {m_stop});
    }
    void undo() override {
        m_document.takeStops({m_stop});
        map().MaxStopId = m_maxIdBefore;
        m_document.announce(MapChange::Stops, {m_stop});
    }

private:
    int m_x, m_y;
    StopIndex m_stop = NoStop;
    int m_maxIdBefore = 0;
};

class AddStopsCommand : public MapCommand {
public:
    AddStopsCommand(MapDocument& document, const QString& text, std::vector<Stop> stops)
        : MapCommand(document, text), m_stops(std::move(stops)) {}

    void redo() override {
        if (m_stops.empty()) {
            setObsolete(true);
            return;
        }
        m_maxIdBefore = map().MaxStopId;
        const StopIndex first = map().stopCount();
        // The lowest ids no stop holds, found in one pass over the ids in use.
        std::vector<int> used;
        used.reserve(std::size_t(first));
        for (const Stop& stop : map().stops())
            if (stop.Id >= 0)
                used.push_back(stop.Id);
        std::sort(used.begin(), used.end());
        auto next = used.begin();
        int candidate = 0;
        m_indices.clear();
        for (Stop stop : m_stops) {
            while (next != used.end() && *next <= candidate)
                candidate = std::max(candidate, *next++ + 1);
            stop.Id = candidate++;
            map().MaxStopId = std::max(map().MaxStopId, stop.Id);
            for (Link& link : stop.Links)
                link.To += first;
            m_indices.push_back(map().appendStop(std::move(stop)));
        }
        m_document.announce(MapChange::Stops | MapChange::Links, m_indices);
    }
    void undo() override {
        m_document.takeStops(m_indices);
        map().MaxStopId = m_maxIdBefore;
        m_document.announce(MapChange::Stops | MapChange::Links, m_indices);
    }

private:
    std::vector<Stop> m_stops;
    std::vector<StopIndex> m_indices;
    int m_maxIdBefore = 0;
};

class DeleteStopsCommand : public MapCommand {
public:
    DeleteStopsCommand(MapDocument& document, const QString& text, std::vector<StopIndex> stops)
        : MapCommand(document, text), m_stops(std::move(stops)) {
        std::sort(m_stops.begin(), m_stops.end());
        m_stops.erase(std::unique(m_stops.begin(), m_stops.end()), m_stops.end());
    }
    DeleteStopsCommand(MapDocument& document, std::vector<StopIndex> stops)
        : MapCommand(document, QT_TRANSLATE_NOOP("MapEdits", "удаление остановок")),
          m_stops(std::move(stops)) {
        std::sort(m_stops.begin(), m_stops.end());
        m_stops.erase(std::unique(m_stops.begin(), m_stops.end()), m_stops.end());
    }

    void redo() override {
        if (m_stops.empty()) {
            setObsolete(true);
            return;
        }
        m_taken = m_document.takeStops(m_stops);
        m_document.announce(MapChange::Stops | MapChange::Links, m_stops);
    }
    void undo() override {
        m_document.restoreStops(std::move(m_taken));
        m_taken = {};
        m_document.announce(MapChange::Stops | MapChange::Links, m_stops);
    }

private:
    std::vector<StopIndex> m_stops; // ascending
    TakenStops m_taken;             // while the stops are out
};

// An arc, or both halves of a road, appended to their stops' lists.
class AddLinksCommand : public MapCommand {
public:
    AddLinksCommand(MapDocument& document, StopIndex a, StopIndex b, const RoadWeight& weight,
                    bool road)
        : MapCommand(document, road ? QT_TRANSLATE_NOOP("MapEdits", "добавление дороги")
                                    : QT_TRANSLATE_NOOP("MapEdits", "добавление дуги")),
          m_a(a), m_b(b), m_weight(weight), m_road(road) {}

    void redo() override {
        if (m_a == m_b || map().FindLink(m_a, m_b) || (m_road && map().FindLink(m_b, m_a))) {
            setObsolete(true);
            return;
        }
        Link& there = map().AddLink(m_a, m_b, m_weight);
        if (m_road) {
            there.IsArc = false;
            map().AddLink(m_b, m_a, m_weight).IsArc = false;
        }
        m_document.announce(MapChange::Links, {m_a, m_b});
    }
    void undo() override {
        map().stop(m_a).Links.pop_back();
        if (m_road)
            map().stop(m_b).Links.pop_back();
        map().updateArcFlags(m_a, m_b);
        m_document.announce(MapChange::Links, {m_a, m_b});
    }

private:
    StopIndex m_a, m_b;
    RoadWeight m_weight;
    bool m_road;
};

// The first link a -> b, and for a road the first link b -> a too, each taken from its place.
class DeleteLinksCommand : public MapCommand {
public:
    DeleteLinksCommand(MapDocument& document, StopIndex a, StopIndex b, bool road)
        : MapCommand(document, road ? QT_TRANSLATE_NOOP("MapEdits", "удаление дороги")
                                    : QT_TRANSLATE_NOOP("MapEdits", "удаление дуги")),
          m_a(a), m_b(b), m_road(road) {}

    void redo() override {
        m_removed.clear();
        take(m_a, m_b);
        if (m_road)
            take(m_b, m_a);
        if (m_removed.empty()) {
            setObsolete(true);
            return;
        }
        map().updateArcFlags(m_a, m_b);
        m_document.announce(MapChange::Links, {m_a, m_b});
    }
    void undo() override {
        for (auto it = m_removed.rbegin(); it != m_removed.rend(); ++it) {
            std::vector<Link>& links = map().stop(it->from).Links;
            links.insert(links.begin() + it->at, it->link);
        }
        map().updateArcFlags(m_a, m_b);
        m_document.announce(MapChange::Links, {m_a, m_b});
    }

private:
    void take(StopIndex from, StopIndex to) {
        std::vector<Link>& links = map().stop(from).Links;
        const auto it = std::find_if(links.begin(), links.end(),
                                     [to](const Link& link) { return link.To == to; });
        if (it == links.end())
            return;
        m_removed.push_back({from, int(it - links.begin()), *it});
        links.erase(it);
    }

    struct Removed {
        StopIndex from;
        int at;
        Link link;
    };
    StopIndex m_a, m_b;
    bool m_road;
    std::vector<Removed> m_removed;
};

class ChangeRoadCommand : public MapCommand {
public:
    ChangeRoadCommand(MapDocument& document, StopIndex a, StopIndex b, const RoadWeight& weight)
        : MapCommand(document, QT_TRANSLATE_NOOP("MapEdits", "изменение параметров дороги")),
          m_a(a), m_b(b), m_weight(weight) {}

    void redo() override {
        Link* there = map().FindLink(m_a, m_b);
        Link* back = map().FindLink(m_b, m_a);
        if (!there || (there->weight() == m_weight && (!back || back->weight() == m_weight))) {
            setObsolete(true);
            return;
        }
        m_thereBefore = there->weight();
        there->setWeight(m_weight);
        if (back) {
            m_backBefore = back->weight();
            back->setWeight(m_weight);
        }
        map().updateArcFlags(m_a, m_b);
        m_document.announce(MapChange::Links, {m_a, m_b});
    }
    void undo() override {
        map().FindLink(m_a, m_b)->setWeight(m_thereBefore);
        if (Link* back = map().FindLink(m_b, m_a))
            back->setWeight(m_backBefore);
        map().updateArcFlags(m_a, m_b);
        m_document.announce(MapChange::Links, {m_a, m_b});
    }

private:
    StopIndex m_a, m_b;
    RoadWeight m_weight, m_thereBefore, m_backBefore;
};

class MoveCommand : public MapCommand {
public:
    MoveCommand(MapDocument& document, const QString& text, std::vector<StopIndex> stops,
                std::vector<StopPlace> from, std::vector<StopPlace> to, int run = -1)
        : MapCommand(document, text), m_stops(std::move(stops)), m_from(std::move(from)),
          m_to(std::move(to)), m_run(run) {}

    // The moves of one run (the presses of an arrow key) are one command.
    int id() const override { return m_run < 0 ? -1 : 0x4d6f7665; }
    bool mergeWith(const QUndoCommand* other) override {
        const auto* next = static_cast<const MoveCommand*>(other);
        if (next->m_run != m_run || next->m_stops != m_stops)
            return false;
        m_to = next->m_to;
        setObsolete(m_from == m_to);
        return true;
    }

    void redo() override {
        if (m_from == m_to) {
            setObsolete(true);
            return;
        }
        put(m_to);
    }
    void undo() override { put(m_from); }

private:
    void put(const std::vector<StopPlace>& places) {
        for (std::size_t i = 0; i < m_stops.size(); ++i) {
            Stop& stop = map().stop(m_stops[i]);
            stop.Left = places[i].left;
            stop.Top = places[i].top;
            stop.Label.Left = places[i].labelLeft;
            stop.Label.Top = places[i].labelTop;
        }
        m_document.announce(MapChange::Place, m_stops);
    }

    std::vector<StopIndex> m_stops;
    std::vector<StopPlace> m_from, m_to;
    int m_run;
};

class StopLooksCommand : public MapCommand {
public:
    StopLooksCommand(MapDocument& document, std::vector<StopIndex> stops,
                     std::vector<StopLook> looks)
        : MapCommand(document, QT_TRANSLATE_NOOP("MapEdits", "свойства остановок")),
          m_stops(std::move(stops)), m_after(std::move(looks)) {}

    void redo() override {
        m_before.clear();
        MapChanges what;
        for (std::size_t i = 0; i < m_stops.size(); ++i) {
            const StopLook now = lookOf(map().stop(m_stops[i]));
            if (now.caption != m_after[i].caption)
                what |= MapChange::Name;
            if (now.routes != m_after[i].routes)
                what |= MapChange::Routes;
            if (!(now == m_after[i]))
                what |= MapChange::Look;
            m_before.push_back(now);
        }
        if (m_before == m_after) {
            setObsolete(true);
            return;
        }
        m_changed = what;
        put(m_after);
    }
    void undo() override { put(m_before); }

private:
    void put(const std::vector<StopLook>& looks) {
        for (std::size_t i = 0; i < m_stops.size(); ++i) {
            Stop& stop = map().stop(m_stops[i]);
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
        m_document.announce(m_changed, m_stops);
    }

    std::vector<StopIndex> m_stops;
    std::vector<StopLook> m_before, m_after;
    MapChanges m_changed;
};

class SettingsCommand : public MapCommand {
public:
    SettingsCommand(MapDocument& document, const DisplaySettings& settings)
        : MapCommand(document, QT_TRANSLATE_NOOP("MapEdits", "настройки карты")),
          m_after(settings) {}

    void redo() override {
        m_before = map().Settings;
        if (m_before == m_after) {
            setObsolete(true);
            return;
        }
        put(m_after);
    }
    void undo() override { put(m_before); }

private:
    void put(const DisplaySettings& settings) {
        map().Settings = settings;
        m_document.announce(MapChange::Settings);
    }

    DisplaySettings m_before, m_after;
};

class DescriptionCommand : public MapCommand {
public:
    DescriptionCommand(MapDocument& document, std::optional<MapDescription> description)
        : MapCommand(document, QT_TRANSLATE_NOOP("MapEdits", "описание карты")),
          m_after(std::move(description)) {}

    void redo() override {
        m_before = m_document.description();
        m_codeBefore = map().MapCode;
        if (m_before == m_after) {
            setObsolete(true);
            return;
        }
        put(m_after, m_after ? m_after->mapCode : m_codeBefore);
    }
    void undo() override { put(m_before, m_codeBefore); }

private:
    void put(const std::optional<MapDescription>& description, const QString& code) {
        m_document.setDescription(description);
        map().MapCode = code;
        m_document.announce(MapChange::Settings);
        emit m_document.descriptionChanged();
    }

    std::optional<MapDescription> m_before, m_after;
    QString m_codeBefore;
};

class LayoutCommand : public MapCommand {
public:
    LayoutCommand(MapDocument& document, bool schematic)
        : MapCommand(document, schematic ? QT_TRANSLATE_NOOP("MapEdits", "схема")
                                         : QT_TRANSLATE_NOOP("MapEdits", "география")),
          m_schematic(schematic) {}

    void redo() override {
        const std::optional<MapDescription>& d = m_document.description();
        if (!d || !d->layouts || d->layouts->schematicShown == m_schematic) {
            setObsolete(true);
            return;
        }
        m_before.clear();
        for (const Stop& stop : map().stops())
            m_before.push_back(placeOf(stop));
        put(m_schematic ? d->layouts->schematic : d->layouts->geographic, m_schematic);
    }
    void undo() override {
        for (StopIndex i = 0; i < map().stopCount(); ++i) {
            Stop& stop = map().stop(i);
            stop.Left = m_before[std::size_t(i)].left;
            stop.Top = m_before[std::size_t(i)].top;
            stop.Label.Left = m_before[std::size_t(i)].labelLeft;
            stop.Label.Top = m_before[std::size_t(i)].labelTop;
        }
        setShown(!m_schematic);
    }

private:
    void put(const QList<LaidOutStop>& places, bool schematic) {
        moveToLayout(map(), places);
        setShown(schematic);
    }
    void setShown(bool schematic) {
        std::optional<MapDescription> d = m_document.description();
        d->layouts->schematicShown = schematic;
        m_document.setDescription(std::move(d));
        m_document.announce(MapChange::Place, {});
    }

    bool m_schematic;
    std::vector<StopPlace> m_before;
};

} // namespace

namespace edit {

StopIndex addStop(MapDocument& document, int x, int y) {
    document.undoStack()->push(new AddStopCommand(document, x, y));
    return document.map().stopCount() - 1;
}

std::vector<StopIndex> addStops(MapDocument& document, const QString& text,
                                std::vector<Stop> stops) {
    std::vector<StopIndex> indices(stops.size());
    std::iota(indices.begin(), indices.end(), document.map().stopCount());
    document.undoStack()->push(new AddStopsCommand(document, text, std::move(stops)));
    return indices;
}

void deleteStops(MapDocument& document, std::vector<StopIndex> stops) {
    document.undoStack()->push(new DeleteStopsCommand(document, std::move(stops)));
}

void deleteStops(MapDocument& document, const QString& text, std::vector<StopIndex> stops) {
    document.undoStack()->push(new DeleteStopsCommand(document, text, std::move(stops)));
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

void nudgeStops(MapDocument& document, const QString& text, int run, std::vector<StopIndex> stops,
                std::vector<StopPlace> to) {
    std::vector<StopPlace> from;
    for (const StopIndex stop : stops)
        from.push_back(placeOf(document.map().stop(stop)));
    document.undoStack()->push(
        new MoveCommand(document, text, std::move(stops), std::move(from), std::move(to), run));
}

void setStopLooks(MapDocument& document, std::vector<StopIndex> stops,
                  std::vector<StopLook> looks) {
    document.undoStack()->push(new StopLooksCommand(document, std::move(stops), std::move(looks)));
}

void changeSettings(MapDocument& document, const DisplaySettings& settings) {
    document.undoStack()->push(new SettingsCommand(document, settings));
}

void setDescription(MapDocument& document, std::optional<MapDescription> description) {
    document.undoStack()->push(new DescriptionCommand(document, std::move(description)));
}

void showLayout(MapDocument& document, bool schematic) {
    document.undoStack()->push(new LayoutCommand(document, schematic));
}

} // namespace edit

} // namespace lirsk
