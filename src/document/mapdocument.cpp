#include "document/mapdocument.h"

#include <QUndoStack>

namespace lirsk {

MapDocument::MapDocument() : m_undoStack(new QUndoStack(this)) {
    connect(m_undoStack, &QUndoStack::cleanChanged, this, &MapDocument::updateModified);
}

MapDocument::~MapDocument() {
    // The commands go before the map they name.
    m_undoStack->disconnect(this);
    delete m_undoStack;
}

bool MapDocument::undoStackClean() const {
    return m_undoStack->isClean();
}

void MapDocument::updateModified() {
    if (isModified() == m_modified)
        return;
    m_modified = isModified();
    emit modifiedChanged(m_modified);
}

void MapDocument::setModified(bool modified) {
    m_gestureChange = false;
    if (modified)
        m_undoStack->resetClean();
    else
        m_undoStack->setClean();
    updateModified();
}

void MapDocument::setGestureChange(bool changing) {
    m_gestureChange = changing;
    updateModified();
}

void MapDocument::announce(MapChanges what, const std::vector<StopIndex>& stops) {
    ++m_revision;
    if (what & MapChange::Stops)
        ++m_stopsRevision;
    clearFoundWay();
    emit changed(what, stops);
}

void MapDocument::markReloaded() {
    m_undoStack->clear();
    m_selection.clear();
    announce(EveryChange);
}

TakenStops MapDocument::takeStops(const std::vector<StopIndex>& stops) {
    m_selection.stopsTaken(stops);
    return m_map.takeStops(stops);
}

void MapDocument::restoreStops(TakenStops taken) {
    std::vector<StopIndex> indices;
    indices.reserve(taken.stops.size());
    for (const auto& [index, stop] : taken.stops)
        indices.push_back(index);
    m_selection.stopsPutBack(indices);
    m_map.restoreStops(std::move(taken));
}

void MapDocument::toggleSelected(StopIndex stop) {
    if (!m_selection.insert(stop))
        m_selection.erase(stop);
    emit selectionChanged({stop});
}

void MapDocument::clearSelection(int keepId) {
    if (m_selection.isEmpty())
        return;
    std::vector<StopIndex> kept;
    for (const StopIndex stop : m_selection.stops())
        if (m_map.stop(stop).Id == keepId)
            kept.push_back(stop);
    m_selection.assign(std::move(kept));
    emit selectionChanged({});
}

void MapDocument::selectAll() {
    std::vector<StopIndex> all(std::size_t(m_map.stopCount()));
    for (StopIndex i = 0; i < m_map.stopCount(); ++i)
        all[std::size_t(i)] = i;
    m_selection.assign(std::move(all));
    emit selectionChanged({});
}

void MapDocument::setFoundWay(FoundWay way) {
    m_foundWay = std::move(way);
    emit foundWayChanged();
}

void MapDocument::clearFoundWay() {
    if (m_foundWay.stops.empty())
        return;
    m_foundWay = {};
    emit foundWayChanged();
}

} // namespace lirsk
