#include "import/gtfsreaders.h"

#include "import/importtext.h"

#include <algorithm>
#include <charconv>

namespace lirsk::gtfs {

namespace {

std::optional<Colour> colourOf(std::string_view hex) {
    if (hex.size() != 6)
        return std::nullopt;
    unsigned rgb = 0;
    const auto [end, ec] = std::from_chars(hex.data(), hex.data() + 6, rgb, 16);
    if (ec != std::errc() || end != hex.data() + 6)
        return std::nullopt;
    return Colour(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
}

// The basic type of the route_type in the column, a type it does not know counting as a bus; -1
// with the error set when it is no number.
int routeType(FeedFile& f, int column) {
    const std::optional<double> raw = f.number(column, "route_type", std::nullopt);
    if (!raw)
        return -1;
    const int basic = *raw >= 0 && *raw < 10000 ? basicRouteType(int(*raw)) : -1;
    return basic < 0 ? 3 : basic;
}

bool keepsRoute(const GtfsImportOptions& options, const RouteRow& r, std::string_view agency) {
    if (!options.routeTypes.isEmpty() && !options.routeTypes.contains(r.type))
        return false;
    if (!options.routes.isEmpty() && !options.routes.contains(text(r.id)) &&
        !(!r.shortName.isEmpty() && options.routes.contains(r.shortName)))
        return false;
    return options.agency.isEmpty() || text(agency) == options.agency;
}

// A station is a stop without a parent; platforms, entrances and boarding areas belong to the
// station at the top of their parents (a boarding area's parent is a platform).
void groupStations(StopTable& t, ImportProgress& progress) {
    std::vector<StopRow>& stops = t.rows;
    for (std::size_t k = 0; k < stops.size(); ++k) {
        int top = int(k);
        for (int depth = 0; depth < 4; ++depth) {
            const StopRow& s = stops[std::size_t(top)];
            const int up = s.parent.empty() ? -1 : lookup(t.ids, s.parent);
            if (up < 0 || up == top)
                break;
            top = up;
        }
        StopRow& station = stops[std::size_t(top)];
        if (station.station < 0) {
            station.station = int(t.stations.size());
            Station s;
            s.stop = top;
            t.stations.push_back(s);
        }
        stops[k].station = station.station;
        Station& st = t.stations[std::size_t(station.station)];
        if (!station.located && stops[k].located) {
            // A station given without coordinates takes those of its first located part.
            station.located = true;
            station.lat = stops[k].lat;
            station.lon = stops[k].lon;
        }
        st.lat = station.lat;
        st.lon = station.lon;
        progress.tick(double(k) / double(stops.size()));
    }
}

} // namespace

bool readAgencies(FeedFile& f, AgencyInfo* agency) {
    const int id = f.optional("agency_id"), name = f.optional("agency_name");
    const int language = f.optional("agency_lang"), timeZone = f.optional("agency_timezone");
    if (f.next()) {
        agency->firstId = std::string(f[id]);
        agency->firstName = text(f[name]);
        agency->language = text(f[language]).trimmed();
        agency->timeZone = text(f[timeZone]).trimmed();
    }
    return !f.failed();
}

namespace {

// How well a translation serves as a name in the map file, the lower the better: Russian, then
// a romanisation ("ja-Latn"), then a reading in kana, then English; -1 for none of them.
int readingRank(QStringView language) {
    if (language.compare(u"ru", Qt::CaseInsensitive) == 0)
        return 0;
    if (language.endsWith(u"-Latn", Qt::CaseInsensitive))
        return 1;
    if (language.endsWith(u"-Hrkt", Qt::CaseInsensitive) ||
        language.endsWith(u"-Hira", Qt::CaseInsensitive) ||
        language.endsWith(u"-Kana", Qt::CaseInsensitive))
        return 2;
    if (language.compare(u"en", Qt::CaseInsensitive) == 0 ||
        language.startsWith(u"en-", Qt::CaseInsensitive))
        return 3;
    return -1;
}

} // namespace

bool readTranslations(FeedFile& f, NameReadings* readings) {
    const int table = f.required("table_name"), field = f.required("field_name");
    const int language = f.required("language"), translation = f.required("translation");
    if (table < 0 || field < 0 || language < 0 || translation < 0)
        return false;
    const int record = f.optional("record_id"), value = f.optional("field_value");
    const auto keep = [](NameReadings::Reading& kept, int rank, QString text) {
        if (kept.text.isEmpty() || rank < kept.rank)
            kept = {rank, std::move(text)};
    };
    while (f.next()) {
        if (f[table] != "stops" || f[field] != "stop_name")
            continue;
        const int rank = readingRank(text(f[language]).trimmed());
        QString reading = text(f[translation]).trimmed();
        if (rank < 0 || reading.isEmpty())
            continue;
        if (!f[record].empty())
            keep(readings->byStop[std::string(f[record])], rank, std::move(reading));
        else if (!f[value].empty())
            keep(readings->byName[text(f[value])], rank, std::move(reading));
    }
    return !f.failed();
}

bool readRoutes(FeedFile& f, const GtfsImportOptions& options, std::string_view firstAgencyId,
                RouteTable* routes) {
    const int id = f.required("route_id");
    const int type = f.required("route_type");
    if (id < 0 || type < 0)
        return false;
    const int shortName = f.optional("route_short_name"), longName = f.optional("route_long_name");
    const int color = f.optional("route_color"), agency = f.optional("agency_id");
    const int textColor = f.optional("route_text_color");
    while (f.next()) {
        RouteRow r;
        r.id = std::string(f[id]);
        r.type = routeType(f, type);
        if (r.type < 0)
            return false;
        r.shortName = text(f[shortName]);
        r.longName = text(f[longName]);
        r.color = colourOf(f[color]);
        r.textColor = colourOf(f[textColor]);
        if (!keepsRoute(options, r, agency >= 0 && !f[agency].empty() ? f[agency] : firstAgencyId))
            continue;
        if (!routes->ids.emplace(r.id, int(routes->rows.size())).second)
            return f.failAtLine(ImportText::tr("route_id «%1» уже был").arg(text(f[id])));
        f.progress().grow(routes->rows);
        routes->rows.push_back(std::move(r));
    }
    if (f.failed())
        return false;
    if (routes->rows.empty())
        return f.fail(ImportText::tr("выбору не отвечает ни один маршрут"));
    return true;
}

bool countRouteTypes(FeedFile& f, QMap<int, int>* types) {
    const int type = f.required("route_type");
    if (type < 0)
        return false;
    while (f.next()) {
        const int basic = routeType(f, type);
        if (basic < 0)
            return false;
        ++(*types)[basic];
    }
    return !f.failed();
}

bool readTrips(FeedFile& f, const IdMap& routeIds, TripTable* trips) {
    const int route = f.required("route_id");
    const int id = f.required("trip_id");
    if (route < 0 || id < 0)
        return false;
    const int shape = f.optional("shape_id");
    while (f.next()) {
        const int r = lookup(routeIds, f[route]);
        if (r < 0)
            continue;
        TripRow t;
        t.route = r;
        if (!f[shape].empty())
            t.shape = trips->shapeIds.emplace(std::string(f[shape]), int(trips->shapeIds.size()))
                          .first->second;
        if (!trips->ids.emplace(std::string(f[id]), int(trips->rows.size())).second)
            return f.failAtLine(ImportText::tr("trip_id «%1» уже был").arg(text(f[id])));
        f.progress().grow(trips->rows);
        trips->rows.push_back(t);
    }
    if (f.failed())
        return false;
    if (trips->rows.empty())
        return f.fail(ImportText::tr("у выбранных маршрутов нет ни одного рейса"));
    return true;
}

bool readStops(FeedFile& f, StopTable* stops) {
    const int id = f.required("stop_id");
    const int lat = f.required("stop_lat");
    const int lon = f.required("stop_lon");
    if (id < 0 || lat < 0 || lon < 0)
        return false;
    const int name = f.optional("stop_name"), parent = f.optional("parent_station");
    while (f.next()) {
        StopRow s;
        s.id = std::string(f[id]);
        s.parent = std::string(f[parent]);
        s.name = text(f[name]);
        if (!f[lat].empty() || !f[lon].empty()) {
            const auto place = f.position(lat, lon, "stop_lat", "stop_lon");
            if (!place)
                return false;
            std::tie(s.lat, s.lon) = *place;
            s.located = true;
        }
        if (!stops->ids.emplace(s.id, int(stops->rows.size())).second)
            return f.failAtLine(ImportText::tr("stop_id «%1» уже был").arg(text(f[id])));
        f.progress().grow(stops->rows);
        stops->rows.push_back(std::move(s));
    }
    if (f.failed())
        return false;
    groupStations(*stops, f.progress());
    return true;
}

bool readStopTimes(FeedFile& f, const IdMap& tripIds, const StopTable& stops, StopTimeRows* times) {
    const int trip = f.required("trip_id");
    const int stop = f.required("stop_id");
    const int sequence = f.required("stop_sequence");
    const int arrival = f.required("arrival_time");
    const int departure = f.required("departure_time");
    if (trip < 0 || stop < 0 || sequence < 0 || arrival < 0 || departure < 0)
        return false;
    std::string lastTrip;
    int lastTripIndex = -2;
    while (f.next()) {
        // Rows come mostly grouped by trip: the last trip's lookup serves its next rows.
        const std::string_view tripId = f[trip];
        if (lastTripIndex < -1 || tripId != lastTrip) {
            lastTrip = std::string(tripId);
            lastTripIndex = lookup(tripIds, tripId);
        }
        if (lastTripIndex < 0)
            continue;
        StopTime row;
        row.stop = lookup(stops.ids, f[stop]);
        if (row.stop < 0)
            return f.failAtLine(
                ImportText::tr("нет остановки «%1» в stops.txt").arg(text(f[stop])));
        if (!stops.rows[std::size_t(row.stop)].located &&
            !stops.rows[std::size_t(stops.stationOf(row.stop).stop)].located)
            return f.failAtLine(
                ImportText::tr("у остановки «%1» нет координат").arg(text(f[stop])));
        const std::optional<qint64> seq =
            f.whole(sequence, "stop_sequence", 0, 1000000000, std::nullopt);
        if (!seq)
            return false;
        row.sequence = int(*seq);
        row.arrival = f.time(arrival, "arrival_time");
        row.departure = row.arrival < -1 ? -2 : f.time(departure, "departure_time");
        if (row.arrival < -1 || row.departure < -1)
            return false;
        times->add(std::uint32_t(lastTripIndex), PackedStopTime(row), &f.progress());
    }
    return !f.failed();
}

bool readShapes(FeedFile& f, const IdMap& shapeIds, std::vector<Shape>* shapes) {
    const int id = f.required("shape_id");
    const int lat = f.required("shape_pt_lat");
    const int lon = f.required("shape_pt_lon");
    const int sequence = f.required("shape_pt_sequence");
    if (id < 0 || lat < 0 || lon < 0 || sequence < 0)
        return false;
    shapes->resize(shapeIds.size());
    while (f.next()) {
        const int shape = lookup(shapeIds, f[id]);
        if (shape < 0)
            continue;
        const auto place = f.position(lat, lon, "shape_pt_lat", "shape_pt_lon");
        const std::optional<double> seq =
            place ? f.number(sequence, "shape_pt_sequence", std::nullopt) : std::nullopt;
        if (!seq)
            return false;
        Shape& points = (*shapes)[std::size_t(shape)];
        f.progress().grow(points);
        points.push_back({*seq, place->first, place->second});
    }
    if (f.failed())
        return false;
    for (Shape& shape : *shapes)
        std::stable_sort(shape.begin(), shape.end(), [&](const ShapePoint& a, const ShapePoint& b) {
            f.progress().tick(0);
            return a.sequence < b.sequence;
        });
    return true;
}

bool readTransfers(FeedFile& f, const StopTable& stops, TransferTable* transfers) {
    const int from = f.required("from_stop_id");
    const int to = f.required("to_stop_id");
    if (from < 0 || to < 0)
        return false;
    const int type = f.optional("transfer_type"), minTime = f.optional("min_transfer_time");
    while (f.next()) {
        const int a = lookup(stops.ids, f[from]), b = lookup(stops.ids, f[to]);
        if (a < 0 || b < 0)
            continue;
        const int sa = stops.rows[std::size_t(a)].station, sb = stops.rows[std::size_t(b)].station;
        if (sa == sb)
            continue;
        const std::optional<qint64> kind = f.whole(type, "transfer_type", 0, 5, 0);
        const std::optional<qint64> seconds =
            kind ? f.whole(minTime, "min_transfer_time", 0, 86400, -1) : std::nullopt;
        if (!seconds)
            return false;
        f.progress().grow(transfers->rows);
        transfers->rows.push_back({sa, sb, int(*kind), int(*seconds)});
    }
    return !f.failed();
}

bool readFareAttributes(FeedFile& f, FareTable* fares) {
    const int price = f.required("price");
    if (price < 0)
        return false;
    const int currency = f.optional("currency_type"), transfers = f.optional("transfers");
    struct Seen {
        FareRule rule;
        int count;
    };
    std::vector<Seen> seen;
    std::unordered_map<double, std::size_t> byPrice;
    while (f.next()) {
        const std::optional<double> p = f.number(price, "price", std::nullopt);
        if (!p)
            return false;
        if (*p < 0 || *p >= kMaxImportedFare) {
            ++fares->refused;
            continue;
        }
        const auto [it, added] = byPrice.emplace(*p, seen.size());
        if (added)
            seen.push_back({{*p, f[transfers] == "0", text(f[currency])}, 0});
        ++seen[it->second].count;
    }
    if (f.failed())
        return false;
    if (!seen.empty())
        fares->commonest =
            std::max_element(seen.begin(), seen.end(), [](const Seen& a, const Seen& b) {
                return a.count < b.count;
            })->rule;
    return true;
}

} // namespace lirsk::gtfs
