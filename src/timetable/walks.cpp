#include "timetable/feeddata.h"

#include "import/importprogress.h"
#include "import/walkingneighbours.h"

#include <numeric>

namespace lirsk {

void addWalks(const std::vector<FeedStation>& stations, const std::vector<FeedStop>& stops,
              const std::vector<FeedTransfer>& transfers, TimetableParts& parts) {
    const std::vector<Timetable::Station>& placed = parts.stations;
    std::vector<WalkingPlace> places(placed.size());
    for (const FeedStation& s : stations)
        if (s.index >= 0) {
            const QByteArray& id = stops[std::size_t(s.stop)].id;
            const Timetable::Station& station = placed[std::size_t(s.index)];
            places[std::size_t(s.index)] = {
                station.lat, station.lon, std::string_view(id.constData(), std::size_t(id.size()))};
        }
    std::vector<PlaceTransfer> rows;
    for (const FeedTransfer& t : transfers) {
        const int a = stations[std::size_t(t.from)].index, b = stations[std::size_t(t.to)].index;
        if (a >= 0 && b >= 0)
            rows.push_back({a, b, t.type, t.minTime});
    }
    ImportProgress unreported;
    parts.walkFirst.assign(placed.size() + 1, 0);
    for (const PlaceWalk& w : placeWalks(places, rows, unreported)) {
        // A walk of three days or more is no walk.
        if (w.seconds >= kMaxStopTime)
            continue;
        ++parts.walkFirst[std::size_t(w.from) + 1];
        parts.walks.push_back({std::uint32_t(w.to), w.seconds});
    }
    std::partial_sum(parts.walkFirst.begin(), parts.walkFirst.end(), parts.walkFirst.begin());
}

} // namespace lirsk
