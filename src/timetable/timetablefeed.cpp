#include "timetable/feeddata.h"

#include <QCoreApplication>

#include <charconv>
#include <cmath>
#include <string>

namespace lirsk {

namespace {

using Ids = QHash<QByteArray, std::uint32_t>;

// The index of a key, given the next free index when it is new; whether it was new.
std::pair<std::uint32_t, bool> intern(Ids& ids, const QByteArray& key, std::size_t next) {
    const auto it = ids.constFind(key);
    if (it != ids.cend())
        return {*it, false};
    ids.insert(key, std::uint32_t(next));
    return {std::uint32_t(next), true};
}

QByteArray bytes(std::string_view s) {
    return QByteArray(s.data(), qsizetype(s.size()));
}

std::optional<Colour> colourOf(std::string_view hex) {
    unsigned rgb = 0;
    const auto [end, ec] = std::from_chars(hex.data(), hex.data() + hex.size(), rgb, 16);
    if (hex.size() != 6 || ec != std::errc() || end != hex.data() + 6)
        return std::nullopt;
    return Colour(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
}

class FeedReader {
public:
    FeedReader(const FeedSource& source, const GtfsImportOptions& options, FeedData& data,
               QString* error, const GtfsProgress& progress)
        : source_(source), options_(options), data_(data), error_(error), progress_(progress) {}

    bool run() {
        for (const char* name :
             {"agency.txt", "stops.txt", "routes.txt", "trips.txt", "stop_times.txt"})
            if (!source_.has(QLatin1String(name))) {
                *error_ =
                    Timetable::tr("%1: нет такого файла в источнике").arg(QLatin1String(name));
                return false;
            }
        if (!source_.has(QStringLiteral("calendar.txt")) &&
            !source_.has(QStringLiteral("calendar_dates.txt"))) {
            *error_ = Timetable::tr(
                "calendar.txt: нет ни его, ни calendar_dates.txt: дни движения неизвестны");
            return false;
        }
        return readAgency() && readRoutes() && readTrips() && readCalendar() &&
               readCalendarDates() && readStops() && readStopTimes() && readFrequencies() &&
               readTransfers();
    }

private:
    FeedTable table(const char* name) { return FeedTable(source_, name, progress_, error_); }
    bool optionalFile(const char* name) const { return source_.has(QLatin1String(name)); }

    bool readAgency();
    bool readRoutes();
    bool readTrips();
    bool readCalendar();
    bool readCalendarDates();
    bool readStops();
    bool readStopTimes();
    bool readFrequencies();
    bool readTransfers();
    bool takesRoute(FeedTable& f, int type, int shortName, int agency, int id);
    int serviceIndex(std::string_view id);

    const FeedSource& source_;
    const GtfsImportOptions& options_;
    FeedData& data_;
    QString* error_;
    const GtfsProgress& progress_;
    QByteArray firstAgency_;
    Ids routeIds_, tripIds_, serviceIds_, stopIds_;
};

bool FeedReader::readAgency() {
    FeedTable f = table("agency.txt");
    if (!f.open())
        return false;
    const int id = f.column("agency_id"), zone = f.required("agency_timezone");
    if (zone < 0)
        return false;
    if (f.next()) {
        firstAgency_ = bytes(f[id]);
        data_.timeZone = f.text(zone);
        if (!QTimeZone(data_.timeZone.toUtf8()).isValid())
            return f.fail(Timetable::tr("неизвестный часовой пояс «%1»").arg(data_.timeZone));
        return true;
    }
    if (!f.failed())
        *error_ = Timetable::tr("agency.txt: нет ни одного перевозчика, часовой пояс неизвестен");
    return false;
}

// The routes the import takes: by basic route type, route_id or short name, and agency.
bool FeedReader::takesRoute(FeedTable& f, int type, int shortName, int agency, int id) {
    const std::optional<double> raw = f.number(type, "route_type");
    if (!raw)
        return false;
    const int basic = std::abs(*raw) < 1e6 ? basicRouteType(int(*raw)) : -1;
    if (!options_.routeTypes.isEmpty() && !options_.routeTypes.contains(basic < 0 ? 3 : basic))
        return false;
    const QString name = f.text(shortName);
    if (!options_.routes.isEmpty() && !options_.routes.contains(f.text(id)) &&
        !(!name.isEmpty() && options_.routes.contains(name)))
        return false;
    const QByteArray owner = agency >= 0 && !f[agency].empty() ? bytes(f[agency]) : firstAgency_;
    return options_.agency.isEmpty() || QString::fromUtf8(owner) == options_.agency;
}

bool FeedReader::readRoutes() {
    FeedTable f = table("routes.txt");
    if (!f.open())
        return false;
    const int id = f.required("route_id"), type = f.required("route_type");
    if (id < 0 || type < 0)
        return false;
    const int shortName = f.column("route_short_name"), longName = f.column("route_long_name");
    const int colour = f.column("route_color"), agency = f.column("agency_id");
    while (f.next()) {
        if (!takesRoute(f, type, shortName, agency, id)) {
            if (f.failed())
                return false;
            continue;
        }
        FeedRoute r;
        // A route without a short name goes by its long name («Oyster Bay Branch»), else its id.
        r.shortName = data_.strings.add(bytes(!f[shortName].empty()  ? f[shortName]
                                              : !f[longName].empty() ? f[longName]
                                                                     : f[id]));
        r.longName = data_.strings.add(bytes(f[longName]));
        r.colour = colourOf(f[colour]);
        if (!intern(routeIds_, bytes(f[id]), data_.routes.size()).second)
            return f.fail(Timetable::tr("route_id «%1» уже был").arg(f.text(id)));
        data_.routes.push_back(r);
    }
    return !f.failed();
}

int FeedReader::serviceIndex(std::string_view id) {
    const auto [index, added] = intern(serviceIds_, bytes(id), data_.services.size());
    if (added)
        data_.services.emplace_back();
    return int(index);
}

bool FeedReader::readTrips() {
    FeedTable f = table("trips.txt");
    if (!f.open())
        return false;
    const int route = f.required("route_id"), id = f.required("trip_id");
    const int service = f.required("service_id");
    if (route < 0 || id < 0 || service < 0)
        return false;
    const int headsign = f.column("trip_headsign");
    while (f.next()) {
        const auto r = routeIds_.constFind(bytes(f[route]));
        if (r == routeIds_.cend())
            continue;
        FeedTrip t;
        t.route = *r;
        t.service = std::uint32_t(serviceIndex(f[service]));
        t.headsign = data_.strings.add(bytes(f[headsign]));
        t.tripId = data_.strings.add(bytes(f[id]));
        if (!intern(tripIds_, bytes(f[id]), data_.trips.size()).second)
            return f.fail(Timetable::tr("trip_id «%1» уже был").arg(f.text(id)));
        data_.trips.push_back(t);
    }
    return !f.failed();
}

bool FeedReader::readCalendar() {
    if (!optionalFile("calendar.txt"))
        return true;
    FeedTable f = table("calendar.txt");
    if (!f.open())
        return false;
    const char* const dayNames[] = {"monday", "tuesday",  "wednesday", "thursday",
                                    "friday", "saturday", "sunday"};
    int days[7];
    for (int d = 0; d < 7; ++d)
        if ((days[d] = f.required(dayNames[d])) < 0)
            return false;
    const int id = f.required("service_id"), start = f.required("start_date"),
              end = f.required("end_date");
    if (id < 0 || start < 0 || end < 0)
        return false;
    while (f.next()) {
        const auto known = serviceIds_.constFind(bytes(f[id]));
        if (known == serviceIds_.cend())
            continue;
        FeedService& s = data_.services[*known];
        s.weekdays = 0;
        for (int d = 0; d < 7; ++d) {
            const std::optional<qint64> runs = f.integer(days[d], dayNames[d], 0, 1);
            if (!runs)
                return false;
            s.weekdays |= int(*runs) << d;
        }
        s.start = f.date(start, "start_date");
        s.end = f.date(end, "end_date");
        if (f.failed())
            return false;
    }
    return !f.failed();
}

bool FeedReader::readCalendarDates() {
    if (!optionalFile("calendar_dates.txt"))
        return true;
    FeedTable f = table("calendar_dates.txt");
    if (!f.open())
        return false;
    const int id = f.required("service_id"), date = f.required("date"),
              type = f.required("exception_type");
    if (id < 0 || date < 0 || type < 0)
        return false;
    while (f.next()) {
        const auto known = serviceIds_.constFind(bytes(f[id]));
        if (known == serviceIds_.cend())
            continue;
        const QDate day = f.date(date, "date");
        const std::optional<qint64> kind =
            day.isValid() ? f.integer(type, "exception_type", 1, 2) : std::nullopt;
        if (!kind)
            return false;
        data_.services[*known].exceptions.emplace_back(day, *kind == 1);
    }
    return !f.failed();
}

bool FeedReader::readStops() {
    FeedTable f = table("stops.txt");
    if (!f.open())
        return false;
    const int id = f.required("stop_id"), lat = f.required("stop_lat"),
              lon = f.required("stop_lon");
    if (id < 0 || lat < 0 || lon < 0)
        return false;
    const int name = f.column("stop_name"), parent = f.column("parent_station");
    std::vector<FeedStop>& stops = data_.stops;
    while (f.next()) {
        FeedStop s;
        s.id = bytes(f[id]);
        s.parent = bytes(f[parent]);
        s.name = f.text(name);
        if (!f[lat].empty() || !f[lon].empty()) {
            const std::optional<double> la = f.number(lat, "stop_lat");
            const std::optional<double> lo = la ? f.number(lon, "stop_lon") : std::nullopt;
            if (!lo)
                return false;
            if (std::abs(*la) > 90 || std::abs(*lo) > 180)
                return f.fail(Timetable::tr("координаты вне земного шара"));
            s.lat = *la;
            s.lon = *lo;
            s.located = true;
        }
        if (!intern(stopIds_, s.id, stops.size()).second)
            return f.fail(Timetable::tr("stop_id «%1» уже был").arg(f.text(id)));
        stops.push_back(std::move(s));
    }
    if (f.failed())
        return false;
    // A station is a stop without a parent; platforms, entrances and boarding areas belong to
    // the station at the top of their parents (at most four levels up).
    for (std::size_t k = 0; k < stops.size(); ++k) {
        std::size_t top = k;
        for (int depth = 0; depth < 4 && !stops[top].parent.isEmpty(); ++depth) {
            const auto up = stopIds_.constFind(stops[top].parent);
            if (up == stopIds_.cend() || *up == top)
                break;
            top = *up;
        }
        FeedStop& station = stops[top];
        if (station.station < 0) {
            station.station = int(data_.stations.size());
            data_.stations.push_back(FeedStation{int(top)});
        }
        stops[k].station = station.station;
        if (!station.located && stops[k].located) {
            // A station given without coordinates takes those of its first located part.
            station.located = true;
            station.lat = stops[k].lat;
            station.lon = stops[k].lon;
        }
        FeedStation& st = data_.stations[std::size_t(station.station)];
        st.lat = station.lat;
        st.lon = station.lon;
    }
    return true;
}

bool FeedReader::readStopTimes() {
    FeedTable f = table("stop_times.txt");
    if (!f.open())
        return false;
    const int trip = f.required("trip_id"), stop = f.required("stop_id");
    const int sequence = f.required("stop_sequence"), arrival = f.required("arrival_time");
    const int departure = f.required("departure_time");
    if (trip < 0 || stop < 0 || sequence < 0 || arrival < 0 || departure < 0)
        return false;
    const int pickup = f.column("pickup_type"), dropOff = f.column("drop_off_type");
    const int distance = f.column("shape_dist_traveled");
    QByteArray lastTrip;
    qint64 lastIndex = -1;
    bool started = false;
    while (f.next()) {
        // Rows come mostly grouped by trip: the last trip's lookup serves its next rows.
        if (!started || f[trip] != std::string_view(lastTrip.constData(), lastTrip.size())) {
            started = true;
            lastTrip = bytes(f[trip]);
            const auto known = tripIds_.constFind(lastTrip);
            lastIndex = known == tripIds_.cend() ? -1 : qint64(*known);
        }
        if (lastIndex < 0)
            continue;
        const auto s = stopIds_.constFind(bytes(f[stop]));
        if (s == stopIds_.cend())
            return f.fail(Timetable::tr("нет остановки «%1» в stops.txt").arg(f.text(stop)));
        const FeedStop& row = data_.stops[*s];
        if (!row.located &&
            !data_.stops[std::size_t(data_.stations[std::size_t(row.station)].stop)].located)
            return f.fail(Timetable::tr("у остановки «%1» нет координат").arg(f.text(stop)));
        const std::optional<qint64> seq = f.integer(sequence, "stop_sequence", 0, 1 << 30);
        const std::optional<qint64> up = seq ? f.integer(pickup, "pickup_type", 0, 3, 0) : seq;
        const std::optional<qint64> down = up ? f.integer(dropOff, "drop_off_type", 0, 3, 0) : up;
        if (!down)
            return false;
        FeedCall call;
        call.sequence = std::uint32_t(*seq);
        call.stopAndRules = *s | (*up != 1 ? Timetable::PatternStop::kBoard : 0) |
                            (*down != 1 ? Timetable::PatternStop::kAlight : 0);
        call.arrival = f.time(arrival, "arrival_time");
        call.departure = call.arrival < -1 ? -2 : f.time(departure, "departure_time");
        if (call.arrival < -1 || call.departure < -1)
            return false;
        data_.calls.add(std::uint32_t(lastIndex), call);
        if (distance >= 0) {
            const std::optional<double> d = f[distance].empty()
                                                ? std::optional<double>(-1)
                                                : f.number(distance, "shape_dist_traveled");
            if (!d)
                return false;
            data_.distances.push_back(float(*d));
        }
    }
    return !f.failed();
}

bool FeedReader::readFrequencies() {
    if (!optionalFile("frequencies.txt"))
        return true;
    FeedTable f = table("frequencies.txt");
    if (!f.open())
        return false;
    const int trip = f.required("trip_id"), start = f.required("start_time"),
              end = f.required("end_time"), headway = f.required("headway_secs");
    if (trip < 0 || start < 0 || end < 0 || headway < 0)
        return false;
    while (f.next()) {
        const auto t = tripIds_.constFind(bytes(f[trip]));
        if (t == tripIds_.cend())
            continue;
        FeedFrequency run{*t, f.time(start, "start_time"), f.time(end, "end_time"), 0};
        const std::optional<qint64> every = run.start >= 0 && run.end >= 0
                                                ? f.integer(headway, "headway_secs", 1, 86400)
                                                : std::nullopt;
        if (!every)
            return f.failed() ? false : f.fail(Timetable::tr("start_time и end_time нужны оба"));
        run.headway = int(*every);
        data_.frequencies.push_back(run);
    }
    return !f.failed();
}

bool FeedReader::readTransfers() {
    if (!optionalFile("transfers.txt"))
        return true;
    FeedTable f = table("transfers.txt");
    if (!f.open())
        return false;
    const int from = f.required("from_stop_id"), to = f.required("to_stop_id");
    if (from < 0 || to < 0)
        return false;
    const int type = f.column("transfer_type"), minTime = f.column("min_transfer_time");
    const int narrowing[] = {f.column("from_trip_id"), f.column("to_trip_id"),
                             f.column("from_route_id"), f.column("to_route_id")};
    while (f.next()) {
        // Rows that name a trip or a route say nothing about stations.
        if (std::any_of(std::begin(narrowing), std::end(narrowing),
                        [&](int c) { return !f[c].empty(); }))
            continue;
        const auto a = stopIds_.constFind(bytes(f[from]));
        const auto b = stopIds_.constFind(bytes(f[to]));
        if (a == stopIds_.cend() || b == stopIds_.cend())
            continue;
        const std::optional<qint64> kind = f.integer(type, "transfer_type", 0, 5, 0);
        const std::optional<qint64> seconds =
            kind ? f.integer(minTime, "min_transfer_time", 0, kMaxStopTime - 1, -1) : kind;
        if (!seconds)
            return false;
        data_.transfers.push_back(
            {data_.stops[*a].station, data_.stops[*b].station, int(*kind), int(*seconds)});
    }
    return !f.failed();
}

} // namespace

bool readFeedData(const FeedSource& source, const GtfsImportOptions& routes, FeedData& data,
                  QString* error, const GtfsProgress& progress) {
    return FeedReader(source, routes, data, error, progress).run();
}

} // namespace lirsk
