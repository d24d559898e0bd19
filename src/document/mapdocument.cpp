#include "document/mapdocument.h"

#include <QUndoStack>

namespace lirsk {

MapDocument::MapDocument() : undoStack_(new QUndoStack(this)) {
    connect(undoStack_, &QUndoStack::cleanChanged, this, &MapDocument::updateModified);
}

MapDocument::~MapDocument() {
    // The commands go before the map they name.
    undoStack_->disconnect(this);
    delete undoStack_;
}

bool MapDocument::undoStackClean() const {
    return undoStack_->isClean();
}

void MapDocument::updateModified() {
    if (isModified() == modified_)
        return;
    modified_ = isModified();
    emit modifiedChanged(modified_);
}

void MapDocument::setModified(bool modified) {
    gestureChange_ = false;
    if (modified)
        undoStack_->resetClean();
    else
        undoStack_->setClean();
    updateModified();
}

void MapDocument::setGestureChange(bool changing) {
    gestureChange_ = changing;
    updateModified();
}

void MapDocument::announce(MapChanges what, const std::vector<StopIndex>& stops) {
    ++revision_;
    if (what & MapChange::Stops)
        ++stopsRevision_;
    clearFoundWay();
    emit changed(what, stops);
}

void MapDocument::markReloaded() {
    undoStack_->clear();
    selection_.clear();
    announce(EveryChange);
}

TakenStops MapDocument::takeStops(const std::vector<StopIndex>& stops) {
    selection_.stopsTaken(stops);
    return map_.takeStops(stops);
}

void MapDocument::restoreStops(TakenStops taken) {
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
