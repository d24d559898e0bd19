#include "model/mapdocument.h"

namespace lirsk {

MapDocument::MapDocument() = default;

MapDocument::~MapDocument() {
    map_.setHooks(nullptr);
    map_.FreeStops();
}

void MapDocument::markChanged() {
    setModified(true);
    ++revision_;
    clearFoundWay();
    emit changed();
}

void MapDocument::markStopsMoved(const std::vector<StopRef>& stops) {
    setModified(true);
    ++revision_;
    clearFoundWay();
    emit stopsMoved(stops);
}

void MapDocument::markReloaded() {
    ++revision_;
    clearFoundWay();
    emit changed();
}

void MapDocument::toggleSelected(StopRef stop) {
    if (!stop->Selected) {
        stop->Color = stop->FillColor;
        stop->FillColor = SelectionColor;
        stop->Selected = true;
        ++map_.SelectedCount;
    } else {
        stop->FillColor = stop->Color;
        stop->Selected = false;
        --map_.SelectedCount;
    }
    emit selectionChanged({stop});
}

void MapDocument::clearSelection(int keepId) {
    if (map_.SelectedCount <= 0)
        return;
    // Counted again, so that stops sharing an id in a damaged file cannot skew the count.
    int kept = 0;
    for (const auto& stop : map_.stops()) {
        if (!stop->Selected)
            continue;
        if (stop->Id == keepId) {
            ++kept;
            continue;
        }
        stop->FillColor = stop->Color;
        stop->Selected = false;
    }
    map_.SelectedCount = kept;
    emit selectionChanged({});
}

void MapDocument::selectAll() {
    for (const auto& stop : map_.stops()) {
        if (stop->Selected)
            continue;
        stop->Color = stop->FillColor;
        stop->FillColor = SelectionColor;
        stop->Selected = true;
        ++map_.SelectedCount;
    }
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
