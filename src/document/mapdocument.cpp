#include "document/mapdocument.h"

#include <QDateTime>
#include <QUndoStack>

#include <algorithm>

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
    checkTimetable(what, stops);
    emit changed(what, stops);
}

void MapDocument::setTimetable(Timetable timetable, const QString& file) {
    m_journeySearch.reset();
    m_timetable = std::move(timetable);
    m_timetableFile = file;
    m_stationOfStopId.clear();
    for (std::size_t s = 0; s < m_timetable.stations().size(); ++s)
        m_stationOfStopId.insert(m_timetable.stations()[s].mapStop, int(s));
    m_timetableMismatch =
        m_timetable.isEmpty()
            ? QString()
            : mapMismatch(m_timetable, m_map, m_description ? &*m_description : nullptr);
    emit timetableChanged();
}

void MapDocument::checkTimetable(MapChanges what, const std::vector<StopIndex>& stops) {
    if (m_timetable.isEmpty() || !(what & (MapChange::Place | MapChange::Stops)))
        return;
    // While the map matches, a move of some stops only needs those stops looked at.
    if (m_timetableMismatch.isEmpty() && !(what & MapChange::Stops) && !stops.empty() &&
        std::none_of(stops.begin(), stops.end(), [this](StopIndex index) {
            const Stop& stop = m_map.stop(index);
            const int station = m_stationOfStopId.value(stop.Id, -1);
            return station >= 0 &&
                   (m_timetable.stations()[std::size_t(station)].mapLeft != stop.Left ||
                    m_timetable.stations()[std::size_t(station)].mapTop != stop.Top);
        }))
        return;
    const QString mismatch =
        mapMismatch(m_timetable, m_map, m_description ? &*m_description : nullptr);
    if (mismatch.isEmpty() == m_timetableMismatch.isEmpty()) {
        m_timetableMismatch = mismatch;
        return;
    }
    m_timetableMismatch = mismatch;
    emit timetableChanged();
}

qint64 MapDocument::departure() const {
    if (m_departure)
        return *m_departure;
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    return m_timetable.isEmpty() ? now : departureInPeriod(m_timetable, now);
}

void MapDocument::setDeparture(qint64 utc) {
    m_departure = utc;
    emit departureChanged(utc);
}

int MapDocument::stationOf(StopIndex stop) const {
    return stop >= 0 && stop < m_map.stopCount() ? m_stationOfStopId.value(m_map.stop(stop).Id, -1)
                                                 : -1;
}

std::vector<Journey> MapDocument::findJourneys(StopIndex from, StopIndex to, int windowMinutes) {
    const int start = stationOf(from), finish = stationOf(to);
    if (!hasMatchingTimetable() || start < 0 || finish < 0 || start == finish)
        return {};
    if (!m_journeySearch)
        m_journeySearch = std::make_unique<JourneySearch>(m_timetable);
    JourneyQuery query;
    query.from = {start};
    query.to = {finish};
    query.departure = departure();
    query.windowMinutes = windowMinutes;
    return m_journeySearch->search(query);
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
