#include "model/ownnames.h"

namespace lirsk {

namespace {

QHash<int, OwnName> byStopId(const QList<OwnName>& names) {
    QHash<int, OwnName> byId;
    for (const OwnName& name : names)
        byId.insert(name.stopId, name);
    return byId;
}

} // namespace

void showOwnNames(GraphMap& map, const MapDescription& description) {
    if (description.ownNames.isEmpty())
        return;
    const QHash<int, OwnName> byId = byStopId(description.ownNames);
    for (StopIndex k = 0; k < map.stopCount(); ++k) {
        const auto it = byId.constFind(map.stops()[std::size_t(k)].Id);
        if (it != byId.constEnd() && map.stops()[std::size_t(k)].Label.Caption == it->fileName)
            map.stop(k).Label.Caption = it->name;
    }
}

QList<OwnName> putFileNames(StopList& stops, const QList<OwnName>& names) {
    QList<OwnName> shown;
    if (names.isEmpty())
        return shown;
    const QHash<int, OwnName> byId = byStopId(names);
    for (std::size_t k = 0; k < stops.size(); ++k) {
        const auto it = byId.constFind(stops[k].Id);
        if (it == byId.constEnd() || stops[k].Label.Caption != it->name)
            continue;
        stops.mutableAt(k).Label.Caption = it->fileName;
        shown.append(*it);
    }
    return shown;
}

FileNames::FileNames(const MapDescription* description) {
    if (description)
        m_byId = byStopId(description->ownNames);
}

QString FileNames::of(const Stop& stop) const {
    const auto it = m_byId.constFind(stop.Id);
    return it != m_byId.constEnd() && it->name == stop.Label.Caption ? it->fileName : QString();
}

QString FileNames::searchedName(const Stop& stop) const {
    const QString file = of(stop);
    return file.isEmpty() ? stop.Label.Caption : stop.Label.Caption + QLatin1Char('\n') + file;
}

} // namespace lirsk
