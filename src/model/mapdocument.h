#pragma once

#include "model/graphmap.h"
#include "model/mapdescription.h"
#include "model/stopselection.h"

#include <QObject>

#include <optional>
#include <vector>

namespace lirsk {

// A way found between two stops, as the map shows it until the map is edited.
struct FoundWay {
    std::vector<StopIndex> stops; // finish first, start last
    double length = 0;            // metres
    double time = 0;              // seconds
};

// One open map as a document: the graph, the file it came from, whether it has unsaved changes,
// the marked stops and the way found on it. Every edit goes through markChanged(), which moves
// the change counter on; caches of the map (the route index, the spatial index of the view) are
// kept while the counter stays the same.
class MapDocument : public QObject {
    Q_OBJECT
public:
    MapDocument();
    ~MapDocument() override;

    GraphMap& map() { return map_; }
    const GraphMap& map() const { return map_; }

    // Where the map's file was found (its FileName may be a built-in path).
    QString filePath() const { return filePath_; }
    void setFilePath(const QString& path) { filePath_ = path; }

    // The map's own description (code letter, route table, fares, picture, title), when it came
    // with one; a built-in map has none and goes by the built-in table.
    const std::optional<MapDescription>& description() const { return description_; }
    void setDescription(std::optional<MapDescription> description) {
        description_ = std::move(description);
    }

    bool isModified() const { return modified_; }
    void setModified(bool modified) { modified_ = modified; }
    // Counts the changes made to the map since the document was created.
    quint64 revision() const { return revision_; }
    // Counts the changes that moved stops to other indices (stops taken out or put back), so that
    // whoever keeps a stop's index across events can tell whether it still names that stop.
    quint64 stopsRevision() const { return stopsRevision_; }
    // An edit of the map: the document becomes modified, the found way (which may name changed
    // stops) is forgotten and the change is announced.
    void markChanged();
    // An edit that moved stops or their names and changed nothing else: announced with the
    // stops, so that a view repaints only around them.
    void markStopsMoved(const std::vector<StopIndex>& stops);
    // A change made while a file is read or by the window's own set-up: caches are rebuilt, but
    // the document stays as saved.
    void markReloaded();

    // Takes stops (ascending) out of the map and puts them back, with their marks following.
    TakenStops takeStops(const std::vector<StopIndex>& stops);
    void restoreStops(TakenStops taken);

    const StopSelection& selection() const { return selection_; }
    bool isSelected(StopIndex stop) const { return selection_.contains(stop); }
    void toggleSelected(StopIndex stop);
    // Unmarks every stop but those with keepId (-1 keeps none).
    void clearSelection(int keepId);
    void selectAll();
    int selectedCount() const { return selection_.count(); }

    const FoundWay& foundWay() const { return foundWay_; }
    void setFoundWay(FoundWay way);
    void clearFoundWay();

signals:
    // The graph or the look of the map changed: everything drawn from it is out of date.
    void changed();
    void stopsMoved(const std::vector<lirsk::StopIndex>& stops);
    // The marks of these stops changed (all stops when the list is empty).
    void selectionChanged(const std::vector<lirsk::StopIndex>& stops);
    void foundWayChanged();

private:
    GraphMap map_;
    QString filePath_;
    std::optional<MapDescription> description_;
    bool modified_ = false;
    quint64 revision_ = 0;
    quint64 stopsRevision_ = 0;
    StopSelection selection_;
    FoundWay foundWay_;
};

} // namespace lirsk
