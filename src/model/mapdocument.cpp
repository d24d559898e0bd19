#include "model/mapdocument.h"

namespace lirsk {

MapDocument::MapDocument() = default;

MapDocument::~MapDocument() = default;

void MapDocument::markChanged() {
    modified_ = true;
    ++revision_;
    clearFoundWay();
    emit changed();
}

void MapDocument::markStopsMoved(const std::vector<StopIndex>& stops) {
    modified_ = true;
    ++revision_;
    clearFoundWay();
    emit stopsMoved(stops);
}

void MapDocument::markReloaded() {
    ++revision_;
    ++stopsRevision_;
    selection_.clear();
    clearFoundWay();
    emit changed();
}

TakenStops MapDocument::takeStops(const std::vector<StopIndex>& stops) {
    ++stopsRevision_;
    selection_.stopsTaken(stops);
    return map_.takeStops(stops);
}

void MapDocument::restoreStops(TakenStops taken) {
    ++stopsRevision_;
    std::vector<StopIndex> indices;
    indices.reserve(taken.stops.size());
    for (const auto& [index, stop] : taken.stops)
        indices.push_back(index);
    selection_.stopsPutBack(indices);
    map_.restoreStops(std::move(taken));
}

void MapDocument::toggleSelected(StopIndex stop) {
    if (!selection_.insert(stop))
        selection_.erase(stop);
    emit selectionChanged({stop});
}

void MapDocument::clearSelection(int keepId) {
    if (selection_.isEmpty())
        return;
    std::vector<StopIndex> kept;
    for (const StopIndex stop : selection_.stops())
        if (map_.stop(stop).Id == keepId)
            kept.push_back(stop);
    selection_.assign(std::move(kept));
    emit selectionChanged({});
}

void MapDocument::selectAll() {
    std::vector<StopIndex> all(std::size_t(map_.stopCount()));
    for (StopIndex i = 0; i < map_.stopCount(); ++i)
        all[std::size_t(i)] = i;
    selection_.assign(std::move(all));
    emit selectionChanged({});
}

void MapDocument::setFoundWay(FoundWay way) {
    foundWay_ = std::move(way);
    emit foundWayChanged();
}

void MapDocument::clearFoundWay() {
    if (foundWay_.stops.empty())
        return;
    foundWay_ = {};
    emit foundWayChanged();
}

} // namespace lirsk
