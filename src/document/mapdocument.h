#pragma once

#include "model/graphmap.h"
#include "model/mapdescription.h"
#include "model/stopselection.h"
#include "timetable/journeysearch.h"

#include <QFlags>
#include <QObject>

#include <memory>
#include <optional>
#include <vector>

class QUndoStack;

namespace lirsk {

// A way found between two stops, as the map shows it until the map is edited.
struct FoundWay {
    std::vector<StopIndex> stops; // finish first, start last
    double length = 0;            // metres
    double time = 0;              // seconds
};

// What a change of the map touched.
enum class MapChange {
    Place = 0x01,    // where stops or their names are
    Look = 0x02,     // a stop's size, colours, fonts, whether its name shows
    Name = 0x04,     // a stop's name
    Routes = 0x08,   // a stop's routes text
    Links = 0x10,    // links added, removed or weighed anew
    Settings = 0x20, // the map's display settings
    Stops = 0x40,    // stops added or taken out: later stops may have moved to other indices
};
Q_DECLARE_FLAGS(MapChanges, MapChange)
constexpr MapChanges EveryChange = MapChanges(0x7F);

// One open map as a document: the graph, the file it came from, the marked stops and the way
// found on it, and its undo stack. Every edit is a command on that stack (document/edits.h);
// the stack's clean state is the saved one, so undoing back to it leaves the map unmodified.
//
// The stack is Qt's QUndoStack, which makes this a library of its own on QtGui (the core stays
// on QtCore): it brings what a hand-made stack would repeat (clean state, command texts, commands
// that find nothing to do dropped when pushed), and nothing below the program needs a document.
class MapDocument : public QObject {
    Q_OBJECT
public:
    MapDocument();
    ~MapDocument() override;

    GraphMap& map() { return m_map; }
    const GraphMap& map() const { return m_map; }

    // Where the map's file was found (its FileName may be a built-in path).
    QString filePath() const { return m_filePath; }
    void setFilePath(const QString& path) { m_filePath = path; }

    // The map's own description (code letter, route table, fares, picture, title), when it came
    // with one; a built-in map has none and goes by the built-in table.
    const std::optional<MapDescription>& description() const { return m_description; }
    void setDescription(std::optional<MapDescription> description) {
        m_description = std::move(description);
    }

    // The timetable kept beside the map (its .gaft), when it has one, and the file it was read
    // from: empty for one that came with an import and has no file of its own yet.
    const Timetable& timetable() const { return m_timetable; }
    const QString& timetableFile() const { return m_timetableFile; }
    void setTimetable(Timetable timetable, const QString& file);
    // What differs between the map and its timetable (a station's stop gone or moved since the
    // timetable was made); empty while they match.
    const QString& timetableMismatch() const { return m_timetableMismatch; }
    // Whether journeys may go by the timetable: the map has one and still matches it.
    bool hasMatchingTimetable() const {
        return !m_timetable.isEmpty() && m_timetableMismatch.isEmpty();
    }
    // The moment journeys by the timetable leave at or after (seconds since the epoch): until
    // set, the present moment moved into the timetable's period.
    qint64 departure() const;
    void setDeparture(qint64 utc);
    // The timetable's station of a stop of the map, or -1.
    int stationOf(StopIndex stop) const;
    // The journeys by the timetable from one stop to another, leaving at or after the departure
    // (within windowMinutes of it, when given), earliest departure first; none when the map has
    // no matching timetable, a stop is no station, or the two are one.
    std::vector<Journey> findJourneys(StopIndex from, StopIndex to, int windowMinutes = 0);

    QUndoStack* undoStack() const { return m_undoStack; }
    // Whether the map differs from its file: the undo stack is not at its clean state, or a
    // gesture under way has changed the map.
    bool isModified() const { return m_gestureChange || !undoStackClean(); }
    // A gesture (a drag) has changed the map and makes its edit when it ends: until then the
    // map counts as modified.
    void setGestureChange(bool changing);
    // Marks the map as saved (the stack's present state becomes clean), or as changed with no
    // state of the stack clean (a recovered or imported map, which no undo makes saved).
    void setModified(bool modified);

    // Counts the changes made to the map since the document was created; caches of the map
    // (the route index, the spatial index of the view) are kept while it stays the same.
    quint64 revision() const { return m_revision; }
    // Counts the changes that moved stops to other indices, so that whoever keeps a stop's index
    // across events can tell whether it still names that stop.
    quint64 stopsRevision() const { return m_stopsRevision; }

    // Tells everyone that the map changed (the stops concerned, or none for all of them): the
    // found way is forgotten, caches are renewed. The edits call it; so does a drag while it
    // moves stops, before its command is pushed.
    void announce(MapChanges what, const std::vector<StopIndex>& stops = {});
    // The map was read anew (or set up by the window): nothing to undo, saved as it is.
    void markReloaded();

    // Takes stops (ascending) out of the map and puts them back, with their marks following.
    TakenStops takeStops(const std::vector<StopIndex>& stops);
    void restoreStops(TakenStops taken);

    const StopSelection& selection() const { return m_selection; }
    bool isSelected(StopIndex stop) const { return m_selection.contains(stop); }
    void toggleSelected(StopIndex stop);
    // Unmarks every stop but those with keepId (-1 keeps none).
    void clearSelection(int keepId);
    void selectAll();
    int selectedCount() const { return m_selection.count(); }

    const FoundWay& foundWay() const { return m_foundWay; }
    void setFoundWay(FoundWay way);
    void clearFoundWay();

signals:
    // The map changed: what, and the stops concerned (empty: any stop may have).
    void changed(lirsk::MapChanges what, const std::vector<lirsk::StopIndex>& stops);
    void modifiedChanged(bool modified);
    // The marks of these stops changed (all stops when the list is empty).
    void selectionChanged(const std::vector<lirsk::StopIndex>& stops);
    void foundWayChanged();
    // The map got a timetable, or matches its timetable again, or no longer does.
    void timetableChanged();
    void departureChanged(qint64 utc);
    // The description was edited (its title, picture and route table show anew).
    void descriptionChanged();

private:
    bool undoStackClean() const;
    void updateModified();
    // Whether the change makes the map match its timetable, or no longer.
    void checkTimetable(MapChanges what, const std::vector<StopIndex>& stops);

    GraphMap m_map;
    QString m_filePath;
    std::optional<MapDescription> m_description;
    QUndoStack* m_undoStack;
    bool m_gestureChange = false;
    bool m_modified = false; // as last announced
    quint64 m_revision = 0;
    quint64 m_stopsRevision = 0;
    StopSelection m_selection;
    FoundWay m_foundWay;
    Timetable m_timetable;
    QString m_timetableFile;
    QString m_timetableMismatch;
    QHash<int, int> m_stationOfStopId;
    std::unique_ptr<JourneySearch> m_journeySearch;
    std::optional<qint64> m_departure;
};

} // namespace lirsk

Q_DECLARE_OPERATORS_FOR_FLAGS(lirsk::MapChanges)
