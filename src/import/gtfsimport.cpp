#include "import/gtfsimport.h"

#include "import/csvreader.h"
#include "import/feedsource.h"
#include "import/transliterate.h"

#include <QHash>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>
#include <string>
#include <unordered_map>

namespace lirsk {

namespace {

constexpr double kEarthRadius = 6371000;
// A way longer than this is "unreached" to the route search.
constexpr double kSearchLimit = 262136;
// Stations of different routes closer than this get a walking road.
constexpr double kWalkingDistance = 250;
constexpr double kWalkingSpeed = 1; // metres a second
// The estimated size of a name in the map's default font (8-point MS Sans Serif): the core has
// no font metrics, so a character counts as 6 pixels.
constexpr int kCharWidth = 6;
constexpr int kLabelHeight = 13;
constexpr int kMargin = 40;

struct ViewHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};
using IdMap = std::unordered_map<std::string, int, ViewHash, std::equal_to<>>;

int lookup(const IdMap& ids, std::string_view id) {
    const auto it = ids.find(id);
    return it == ids.end() ? -1 : it->second;
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

QString text(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

double radians(double degrees) {
    return degrees * std::numbers::pi / 180;
}

double greatCircle(double lat1, double lon1, double lat2, double lon2) {
    const double dLat = radians(lat2 - lat1);
    const double dLon = radians(lon2 - lon1);
    const double a =
        std::sin(dLat / 2) * std::sin(dLat / 2) +
        std::cos(radians(lat1)) * std::cos(radians(lat2)) * std::sin(dLon / 2) * std::sin(dLon / 2);
    return 2 * kEarthRadius * std::asin(std::min(1.0, std::sqrt(a)));
}

// A feed file being read: its records, and errors that name it and the line.
class FeedFile {
public:
    FeedFile(const FeedSource& source, const char* name, const GtfsProgress& progress,
             const QString& stage)
        : source_(source), name_(QLatin1String(name)), progress_(progress), stage_(stage) {}

    // Opens the file and reads its header; false with error set when it cannot.
    bool open(QString* error) {
        error_ = error;
        QString reason;
        stream_ = source_.open(name_, &reason);
        if (!stream_)
            return fail(reason);
        size_ = source_.size(name_);
        if (progress_ && !progress_(stage_, 0)) {
            failed_ = true;
            *error_ = QStringLiteral("импорт прерван");
            return false;
        }
        reader_ = std::make_unique<CsvReader>(*stream_);
        if (!reader_->next(fields_)) {
            if (!reader_->error().isEmpty())
                return fail(reader_->error());
            return fail(QStringLiteral("файл пуст, нет даже заголовка"));
        }
        header_.set(fields_);
        return true;
    }
    // The column of a required name, or -1 with the error set.
    int required(const char* column) {
        const int at = header_.column(column);
        if (at < 0)
            fail(QStringLiteral("нет столбца %1").arg(QLatin1String(column)));
        return at;
    }
    int optional(const char* column) const { return header_.column(column); }

    // The next record; false at the end, or on an error or cancellation (failed() then).
    bool next() {
        if (!reader_->next(fields_)) {
            if (!reader_->error().isEmpty())
                failAtLine(reader_->error());
            return false;
        }
        if (progress_ && (++rows_ & 0xFFFF) == 0 &&
            !progress_(stage_, size_ > 0 ? double(reader_->position()) / double(size_) : 0)) {
            failed_ = true;
            *error_ = QStringLiteral("импорт прерван");
            return false;
        }
        return true;
    }
    bool failed() const { return failed_; }
    std::string_view operator[](int column) const { return trimmed(field(fields_, column)); }

    bool fail(const QString& reason) {
        failed_ = true;
        *error_ = QStringLiteral("%1: %2").arg(name_, reason);
        return false;
    }
    bool failAtLine(const QString& reason) {
        failed_ = true;
        *error_ = QStringLiteral("%1: строка %2: %3").arg(name_).arg(reader_->line()).arg(reason);
        return false;
    }
    // A number in the column, or nothing with the error set; blank gives fallback.
    std::optional<double> number(int column, const char* what, std::optional<double> fallback) {
        const std::string_view s = (*this)[column];
        if (s.empty()) {
            if (!fallback)
                failAtLine(QStringLiteral("%1 пусто").arg(QLatin1String(what)));
            return fallback;
        }
        double value = 0;
        const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
        if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(value)) {
            failAtLine(QStringLiteral("%1 — не число: «%2»").arg(QLatin1String(what), text(s)));
            return std::nullopt;
        }
        return value;
    }
    // A time "H:MM:SS" in seconds (hours may pass 24); -1 for blank, -2 with the error set.
    int time(int column, const char* what) {
        const std::string_view s = (*this)[column];
        if (s.empty())
            return -1;
        int parts[3] = {0, 0, 0};
        int part = 0;
        int digits = 0;
        for (const char c : s) {
            if (c == ':' && part < 2 && digits > 0) {
                ++part;
                digits = 0;
            } else if (c >= '0' && c <= '9' && digits < 6) {
                parts[part] = parts[part] * 10 + (c - '0');
                ++digits;
            } else {
                part = -1;
                break;
            }
        }
        if (part != 2 || digits == 0 || parts[1] > 59 || parts[2] > 59) {
            failAtLine(
                QStringLiteral("%1 — не время Ч:ММ:СС: «%2»").arg(QLatin1String(what), text(s)));
            return -2;
        }
        return parts[0] * 3600 + parts[1] * 60 + parts[2];
    }

private:
    const FeedSource& source_;
    QString name_;
    const GtfsProgress& progress_;
    QString stage_;
    QString* error_ = nullptr;
    std::unique_ptr<FeedStream> stream_;
    std::unique_ptr<CsvReader> reader_;
    CsvHeader header_;
    std::vector<std::string_view> fields_;
    qint64 size_ = 0;
    qint64 rows_ = 0;
    bool failed_ = false;
};

struct RouteRow {
    std::string id;
    QString shortName;
    QString longName;
    int type = 3;
    std::optional<Colour> color;
    int trips = 0;
    bool calls = false;
    QString code;
};

struct TripRow {
    int route = 0;
    int shape = -1;
};

struct StopRow {
    std::string id;
    std::string parent;
    QString name;
    double lat = 0, lon = 0;
    bool located = false;
    int station = -1;
};

struct Station {
    int stop = 0; // the stops.txt row
    double lat = 0, lon = 0;
    double x = 0, y = 0;                         // metres east and north of the feed's centre
    std::vector<std::pair<int, int>> routeTrips; // route, trips calling
    bool served = false;
    int mapIndex = -1;
};

struct StopTime {
    int trip;
    int sequence;
    int stop;
    int arrival;
    int departure;
};

struct ShapePoint {
    double sequence, lat, lon;
};

struct PairData {
    std::vector<int> times;
    double shapeLength = 0;
    int shapeCount = 0;
};

std::uint64_t pairKey(int a, int b) {
    return (std::uint64_t(std::uint32_t(a)) << 32) | std::uint32_t(b);
}

std::optional<Colour> colourOf(std::string_view hex) {
    if (hex.size() != 6)
        return std::nullopt;
    unsigned rgb = 0;
    const auto [end, ec] = std::from_chars(hex.data(), hex.data() + 6, rgb, 16);
    if (ec != std::errc() || end != hex.data() + 6)
        return std::nullopt;
    return Colour(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
}

QString typeName(int basicType) {
    switch (basicType) {
    case 0:
        return QStringLiteral("tram");
    case 1:
        return QStringLiteral("metro");
    case 2:
        return QStringLiteral("rail");
    case 4:
        return QStringLiteral("ferry");
    case 5:
        return QStringLiteral("cablecar");
    case 6:
        return QStringLiteral("gondola");
    case 7:
        return QStringLiteral("funicular");
    case 11:
        return QStringLiteral("trolleybus");
    case 12:
        return QStringLiteral("monorail");
    default:
        return QStringLiteral("bus");
    }
}

QString unitOf(const QString& currency) {
    if (currency == QLatin1String("RUB"))
        return QStringLiteral("руб.");
    if (currency == QLatin1String("EUR"))
        return QStringLiteral("€");
    if (currency == QLatin1String("USD"))
        return QStringLiteral("$");
    if (currency == QLatin1String("GBP"))
        return QStringLiteral("£");
    return currency;
}

// Positions along a shape (metres from its start) of the stops of one trip, each at or after the
// one before, so that a loop's last stop lands at its end and not back at its start.
std::vector<double> positionsOnShape(const std::vector<ShapePoint>& shape,
                                     const std::vector<double>& cumulative,
                                     const std::vector<std::pair<double, double>>& stops) {
    std::vector<double> result;
    std::size_t segment = 0;
    double along = 0;
    for (const auto& [lat, lon] : stops) {
        double best = -1, bestDistance = 0;
        std::size_t bestSegment = segment;
        for (std::size_t k = segment; k + 1 < shape.size(); ++k) {
            const ShapePoint& p = shape[k];
            const ShapePoint& q = shape[k + 1];
            const double c = std::cos(radians((p.lat + q.lat) / 2));
            const double qx = radians(q.lon - p.lon) * c * kEarthRadius;
            const double qy = radians(q.lat - p.lat) * kEarthRadius;
            const double sx = radians(lon - p.lon) * c * kEarthRadius;
            const double sy = radians(lat - p.lat) * kEarthRadius;
            const double len2 = qx * qx + qy * qy;
            double t = len2 > 0 ? std::clamp((sx * qx + sy * qy) / len2, 0.0, 1.0) : 0;
            const double segmentLength = cumulative[k + 1] - cumulative[k];
            if (k == segment && cumulative[k] + t * segmentLength < along)
                t = segmentLength > 0 ? (along - cumulative[k]) / segmentLength : 0;
            const double dx = sx - t * qx, dy = sy - t * qy;
            const double distance = std::sqrt(dx * dx + dy * dy);
            // The earliest of nearly equal candidates wins; past a close one found, a few
            // kilometres more of shape cannot hold the stop.
            if (best < 0 || distance + 10 < bestDistance) {
                best = cumulative[k] + t * segmentLength;
                bestDistance = distance;
                bestSegment = k;
            }
            if (bestDistance < 150 && cumulative[k] - best > 3000)
                break;
        }
        if (best < 0)
            best = along;
        along = best;
        segment = bestSegment;
        result.push_back(best);
    }
    return result;
}

int median(std::vector<int>& values) {
    const std::size_t mid = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + std::ptrdiff_t(mid), values.end());
    if (values.size() % 2)
        return values[mid];
    const int upper = values[mid];
    const int lower = *std::max_element(values.begin(), values.begin() + std::ptrdiff_t(mid));
    return int(std::lround((double(lower) + upper) / 2));
}

struct Rect {
    int left, top, right, bottom;
    bool overlaps(const Rect& o) const {
        return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
};

// Rectangles already on the map, bucketed by 64-pixel cells.
class Occupied {
public:
    void add(const Rect& r) {
        const int index = int(rects_.size());
        rects_.push_back(r);
        forCells(r, [&](std::uint64_t cell) {
            cells_[cell].push_back(index);
            return true;
        });
    }
    bool free(const Rect& r) const {
        return forCells(r, [&](std::uint64_t cell) {
            const auto it = cells_.find(cell);
            if (it == cells_.end())
                return true;
            for (const int k : it->second)
                if (rects_[std::size_t(k)].overlaps(r))
                    return false;
            return true;
        });
    }

private:
    template <class F> static bool forCells(const Rect& r, F f) {
        for (int cx = r.left >> 6; cx <= (r.right - 1) >> 6; ++cx)
            for (int cy = r.top >> 6; cy <= (r.bottom - 1) >> 6; ++cy)
                if (!f((std::uint64_t(std::uint32_t(cx)) << 32) | std::uint32_t(cy)))
                    return false;
        return true;
    }
    std::vector<Rect> rects_;
    std::unordered_map<std::uint64_t, std::vector<int>> cells_;
};

class Importer {
public:
    Importer(const FeedSource& source, const GtfsImportOptions& options,
             const GtfsProgress& progress, QString* error)
        : source_(source), options_(options), progress_(progress), error_(error) {}

    bool run(GraphMap& map, GtfsImportResult& result);

private:
    bool required(const char* name) {
        if (source_.has(QLatin1String(name)))
            return true;
        *error_ = QStringLiteral("%1: нет такого файла в источнике").arg(QLatin1String(name));
        return false;
    }
    bool step(const QString& stage) {
        if (progress_ && !progress_(stage, 0)) {
            *error_ = QStringLiteral("импорт прерван");
            return false;
        }
        return true;
    }
    bool readAgencies();
    bool readRoutes();
    bool readTrips();
    bool readStops();
    bool readStopTimes();
    bool readShapes();
    bool readTransfers();
    bool readFares(GtfsImportResult& result);
    void buildTrips();
    void nameRoutes();
    void build(GraphMap& map, GtfsImportResult& result);

    const FeedSource& source_;
    const GtfsImportOptions& options_;
    const GtfsProgress& progress_;
    QString* error_;

    QString firstAgencyName;
    std::string firstAgencyId;
    std::vector<RouteRow> routes;
    IdMap routeIds;
    std::vector<TripRow> trips;
    IdMap tripIds;
    IdMap shapeIds;
    std::vector<StopRow> stops;
    IdMap stopIds;
    std::vector<Station> stations;
    std::vector<StopTime> stopTimes;
    std::vector<std::vector<ShapePoint>> shapes;
    std::unordered_map<std::uint64_t, PairData> pairs;
    // Transfers by unordered station pair: whether listed, and the walking time if a road.
    std::unordered_map<std::uint64_t, std::optional<int>> listed;
    std::unordered_map<std::uint64_t, bool> refused;
};

bool Importer::readAgencies() {
    if (!source_.has(QStringLiteral("agency.txt")))
        return true;
    FeedFile f(source_, "agency.txt", progress_, QStringLiteral("agency.txt"));
    if (!f.open(error_))
        return false;
    const int id = f.optional("agency_id"), name = f.optional("agency_name");
    if (f.next()) {
        firstAgencyId = std::string(f[id]);
        firstAgencyName = text(f[name]);
    }
    return !f.failed();
}

bool Importer::readRoutes() {
    FeedFile f(source_, "routes.txt", progress_, QStringLiteral("routes.txt"));
    if (!f.open(error_))
        return false;
    const int id = f.required("route_id");
    const int type = f.required("route_type");
    if (id < 0 || type < 0)
        return false;
    const int shortName = f.optional("route_short_name"), longName = f.optional("route_long_name");
    const int color = f.optional("route_color"), agency = f.optional("agency_id");
    while (f.next()) {
        RouteRow r;
        r.id = std::string(f[id]);
        const std::optional<double> rawType = f.number(type, "route_type", std::nullopt);
        if (!rawType)
            return false;
        r.type = basicRouteType(int(*rawType));
        if (r.type < 0)
            r.type = 3;
        r.shortName = text(f[shortName]);
        r.longName = text(f[longName]);
        r.color = colourOf(f[color]);
        if (!options_.routeTypes.isEmpty() && !options_.routeTypes.contains(r.type))
            continue;
        if (!options_.routes.isEmpty() && !options_.routes.contains(text(f[id])) &&
            !(!r.shortName.isEmpty() && options_.routes.contains(r.shortName)))
            continue;
        if (!options_.agency.isEmpty()) {
            const std::string_view a =
                agency >= 0 && !f[agency].empty() ? f[agency] : std::string_view(firstAgencyId);
            if (text(a) != options_.agency)
                continue;
        }
        if (routeIds.count(r.id))
            return f.failAtLine(QStringLiteral("route_id «%1» уже был").arg(text(f[id])));
        routeIds.emplace(r.id, int(routes.size()));
        routes.push_back(std::move(r));
    }
    if (f.failed())
        return false;
    if (routes.empty()) {
        *error_ = QStringLiteral("routes.txt: выбору не отвечает ни один маршрут");
        return false;
    }
    return true;
}

bool Importer::readTrips() {
    FeedFile f(source_, "trips.txt", progress_, QStringLiteral("trips.txt"));
    if (!f.open(error_))
        return false;
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
        if (!f[shape].empty()) {
            const auto [it, added] = shapeIds.emplace(std::string(f[shape]), int(shapes.size()));
            if (added)
                shapes.emplace_back();
            t.shape = it->second;
        }
        if (!tripIds.emplace(std::string(f[id]), int(trips.size())).second)
            return f.failAtLine(QStringLiteral("trip_id «%1» уже был").arg(text(f[id])));
        trips.push_back(t);
    }
    if (f.failed())
        return false;
    if (trips.empty()) {
        *error_ = QStringLiteral("trips.txt: у выбранных маршрутов нет ни одного рейса");
        return false;
    }
    return true;
}

bool Importer::readStops() {
    FeedFile f(source_, "stops.txt", progress_, QStringLiteral("stops.txt"));
    if (!f.open(error_))
        return false;
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
            const std::optional<double> la = f.number(lat, "stop_lat", std::nullopt);
            const std::optional<double> lo =
                la ? f.number(lon, "stop_lon", std::nullopt) : std::nullopt;
            if (!lo)
                return false;
            if (std::abs(*la) > 90 || std::abs(*lo) > 180)
                return f.failAtLine(QStringLiteral("координаты вне земного шара"));
            s.lat = *la;
            s.lon = *lo;
            s.located = true;
        }
        if (!stopIds.emplace(s.id, int(stops.size())).second)
            return f.failAtLine(QStringLiteral("stop_id «%1» уже был").arg(text(f[id])));
        stops.push_back(std::move(s));
    }
    if (f.failed())
        return false;
    // A station is a stop without a parent; platforms, entrances and boarding areas belong to
    // the station at the top of their parents (a boarding area's parent is a platform).
    for (std::size_t k = 0; k < stops.size(); ++k) {
        int top = int(k);
        for (int depth = 0; depth < 4; ++depth) {
            const int up = stops[std::size_t(top)].parent.empty()
                               ? -1
                               : lookup(stopIds, stops[std::size_t(top)].parent);
            if (up < 0 || up == top)
                break;
            top = up;
        }
        StopRow& station = stops[std::size_t(top)];
        if (station.station < 0) {
            station.station = int(stations.size());
            Station s;
            s.stop = top;
            stations.push_back(s);
        }
        stops[k].station = station.station;
        Station& st = stations[std::size_t(station.station)];
        if (!station.located && stops[k].located) {
            // A station given without coordinates takes those of its first located part.
            station.located = true;
            station.lat = stops[k].lat;
            station.lon = stops[k].lon;
        }
        st.lat = station.lat;
        st.lon = station.lon;
    }
    return true;
}

bool Importer::readStopTimes() {
    FeedFile f(source_, "stop_times.txt", progress_, QStringLiteral("stop_times.txt"));
    if (!f.open(error_))
        return false;
    const int trip = f.required("trip_id");
    const int stop = f.required("stop_id");
    const int sequence = f.required("stop_sequence");
    const int arrival = f.required("arrival_time");
    const int departure = f.required("departure_time");
    if (trip < 0 || stop < 0 || sequence < 0 || arrival < 0 || departure < 0)
        return false;
    std::string lastTrip;
    int lastTripIndex = -1;
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
        row.trip = lastTripIndex;
        row.stop = lookup(stopIds, f[stop]);
        if (row.stop < 0)
            return f.failAtLine(
                QStringLiteral("нет остановки «%1» в stops.txt").arg(text(f[stop])));
        if (!stops[std::size_t(row.stop)].located &&
            !stops[std::size_t(stations[std::size_t(stops[std::size_t(row.stop)].station)].stop)]
                 .located)
            return f.failAtLine(
                QStringLiteral("у остановки «%1» нет координат").arg(text(f[stop])));
        const std::optional<double> seq = f.number(sequence, "stop_sequence", std::nullopt);
        if (!seq)
            return false;
        if (*seq < 0 || *seq > 1e9)
            return f.failAtLine(QStringLiteral("stop_sequence вне 0..10⁹"));
        row.sequence = int(*seq);
        row.arrival = f.time(arrival, "arrival_time");
        row.departure = f.time(departure, "departure_time");
        if (row.arrival < -1 || row.departure < -1)
            return false;
        stopTimes.push_back(row);
    }
    return !f.failed();
}

bool Importer::readShapes() {
    if (shapes.empty() || !source_.has(QStringLiteral("shapes.txt")))
        return true;
    FeedFile f(source_, "shapes.txt", progress_, QStringLiteral("shapes.txt"));
    if (!f.open(error_))
        return false;
    const int id = f.required("shape_id");
    const int lat = f.required("shape_pt_lat");
    const int lon = f.required("shape_pt_lon");
    const int sequence = f.required("shape_pt_sequence");
    if (id < 0 || lat < 0 || lon < 0 || sequence < 0)
        return false;
    while (f.next()) {
        const int shape = lookup(shapeIds, f[id]);
        if (shape < 0)
            continue;
        const std::optional<double> la = f.number(lat, "shape_pt_lat", std::nullopt);
        const std::optional<double> lo =
            la ? f.number(lon, "shape_pt_lon", std::nullopt) : std::nullopt;
        const std::optional<double> seq =
            lo ? f.number(sequence, "shape_pt_sequence", std::nullopt) : std::nullopt;
        if (!seq)
            return false;
        shapes[std::size_t(shape)].push_back({*seq, *la, *lo});
    }
    if (f.failed())
        return false;
    for (auto& shape : shapes)
        std::stable_sort(shape.begin(), shape.end(), [](const ShapePoint& a, const ShapePoint& b) {
            return a.sequence < b.sequence;
        });
    return true;
}

bool Importer::readTransfers() {
    if (!source_.has(QStringLiteral("transfers.txt")))
        return true;
    FeedFile f(source_, "transfers.txt", progress_, QStringLiteral("transfers.txt"));
    if (!f.open(error_))
        return false;
    const int from = f.required("from_stop_id");
    const int to = f.required("to_stop_id");
    if (from < 0 || to < 0)
        return false;
    const int type = f.optional("transfer_type"), minTime = f.optional("min_transfer_time");
    while (f.next()) {
        const int a = lookup(stopIds, f[from]), b = lookup(stopIds, f[to]);
        if (a < 0 || b < 0)
            continue;
        const int sa = stops[std::size_t(a)].station, sb = stops[std::size_t(b)].station;
        if (sa == sb)
            continue;
        const std::optional<double> kind = f.number(type, "transfer_type", 0);
        const std::optional<double> seconds =
            kind ? f.number(minTime, "min_transfer_time", -1) : std::nullopt;
        if (!seconds)
            return false;
        const std::uint64_t key = pairKey(std::min(sa, sb), std::max(sa, sb));
        std::optional<int>& time = listed[key];
        if (*kind >= 3) {
            refused[key] = true;
        } else if (*seconds >= 0) {
            time = std::max(time.value_or(0), int(*seconds));
        }
    }
    return !f.failed();
}

bool Importer::readFares(GtfsImportResult& result) {
    MapDescription& d = result.description;
    bool feedFares = false;
    if (source_.has(QStringLiteral("fare_attributes.txt"))) {
        FeedFile f(source_, "fare_attributes.txt", progress_,
                   QStringLiteral("fare_attributes.txt"));
        if (!f.open(error_))
            return false;
        const int price = f.required("price");
        if (price < 0)
            return false;
        const int currency = f.optional("currency_type"), transfers = f.optional("transfers");
        // The most common price, the first of equally common ones.
        struct Seen {
            double price;
            int count;
            bool noTransfers;
            QString currency;
        };
        std::vector<Seen> seen;
        while (f.next()) {
            const std::optional<double> p = f.number(price, "price", std::nullopt);
            if (!p)
                return false;
            const auto it = std::find_if(seen.begin(), seen.end(),
                                         [&](const Seen& s) { return s.price == *p; });
            if (it != seen.end())
                ++it->count;
            else
                seen.push_back({*p, 1, f[transfers] == "0", text(f[currency])});
        }
        if (f.failed())
            return false;
        if (!seen.empty()) {
            const Seen& common =
                *std::max_element(seen.begin(), seen.end(),
                                  [](const Seen& a, const Seen& b) { return a.count < b.count; });
            d.baseFare = common.price;
            d.transferFare = common.noTransfers ? common.price : 0;
            if (!common.currency.isEmpty())
                d.fareUnit = unitOf(common.currency);
            feedFares = true;
        }
    }
    if (options_.baseFare)
        d.baseFare = *options_.baseFare;
    if (options_.transferFare)
        d.transferFare = *options_.transferFare;
    if (!feedFares && !options_.baseFare)
        result.notes << QStringLiteral("в источнике нет тарифов (fare_attributes.txt): "
                                       "стоимость проезда 0, задайте её ключом --fare");
    return true;
}

// Every trip in stop order: its links' times and shape lengths, and its route at its stations.
void Importer::buildTrips() {
    std::sort(stopTimes.begin(), stopTimes.end(), [](const StopTime& a, const StopTime& b) {
        return a.trip != b.trip ? a.trip < b.trip : a.sequence < b.sequence;
    });
    std::unordered_map<std::string, std::vector<double>> patterns;
    std::vector<std::vector<double>> shapeLengths(shapes.size());
    std::vector<StopTime> calls;
    std::string patternKey;
    for (std::size_t begin = 0; begin < stopTimes.size();) {
        std::size_t end = begin;
        while (end < stopTimes.size() && stopTimes[end].trip == stopTimes[begin].trip)
            ++end;
        const TripRow& trip = trips[std::size_t(stopTimes[begin].trip)];
        calls.assign(stopTimes.begin() + std::ptrdiff_t(begin),
                     stopTimes.begin() + std::ptrdiff_t(end));
        begin = end;

        const auto position = [&](const StopTime& c) {
            const StopRow& s = stops[std::size_t(c.stop)];
            const Station& st = stations[std::size_t(s.station)];
            return s.located ? std::pair(s.lat, s.lon) : std::pair(st.lat, st.lon);
        };
        // Blank times of stops that are not timepoints: one given time serves both, the rest
        // are spread by distance between the nearest given ones.
        for (StopTime& c : calls) {
            if (c.arrival < 0)
                c.arrival = c.departure;
            if (c.departure < 0)
                c.departure = c.arrival;
        }
        for (std::size_t k = 0; k < calls.size();) {
            if (calls[k].arrival >= 0) {
                ++k;
                continue;
            }
            std::size_t j = k;
            while (j < calls.size() && calls[j].arrival < 0)
                ++j;
            if (k > 0 && j < calls.size()) {
                std::vector<double> along{0};
                for (std::size_t m = k; m <= j; ++m) {
                    const auto [la1, lo1] = position(calls[m - 1]);
                    const auto [la2, lo2] = position(calls[m]);
                    along.push_back(along.back() + greatCircle(la1, lo1, la2, lo2));
                }
                const double from = calls[k - 1].departure, span = calls[j].arrival - from;
                for (std::size_t m = k; m < j; ++m) {
                    const double share = along.back() > 0 ? along[m - k + 1] / along.back()
                                                          : double(m - k + 1) / double(j - k + 1);
                    calls[m].arrival = calls[m].departure = int(std::lround(from + span * share));
                }
            }
            k = j;
        }
        // Platforms of one station in a row are one call at the station.
        std::size_t kept = 0;
        for (std::size_t k = 0; k < calls.size(); ++k) {
            if (kept > 0 && stops[std::size_t(calls[kept - 1].stop)].station ==
                                stops[std::size_t(calls[k].stop)].station) {
                calls[kept - 1].departure = calls[k].departure;
                continue;
            }
            calls[kept++] = calls[k];
        }
        calls.resize(kept);

        for (const StopTime& c : calls) {
            Station& st = stations[std::size_t(stops[std::size_t(c.stop)].station)];
            st.served = true;
            auto it = std::find_if(st.routeTrips.begin(), st.routeTrips.end(),
                                   [&](const auto& rt) { return rt.first == trip.route; });
            if (it == st.routeTrips.end())
                st.routeTrips.emplace_back(trip.route, 1);
            else
                ++it->second;
        }
        if (!calls.empty()) {
            routes[std::size_t(trip.route)].calls = true;
            ++routes[std::size_t(trip.route)].trips;
        }

        const std::vector<double>* along = nullptr;
        if (trip.shape >= 0 && shapes[std::size_t(trip.shape)].size() >= 2) {
            patternKey.assign(reinterpret_cast<const char*>(&trip.shape), sizeof(int));
            for (const StopTime& c : calls)
                patternKey.append(reinterpret_cast<const char*>(&c.stop), sizeof(int));
            auto found = patterns.find(patternKey);
            if (found == patterns.end()) {
                const auto& shape = shapes[std::size_t(trip.shape)];
                std::vector<double>& cumulative = shapeLengths[std::size_t(trip.shape)];
                if (cumulative.empty()) {
                    cumulative.push_back(0);
                    for (std::size_t k = 1; k < shape.size(); ++k)
                        cumulative.push_back(cumulative.back() +
                                             greatCircle(shape[k - 1].lat, shape[k - 1].lon,
                                                         shape[k].lat, shape[k].lon));
                }
                std::vector<std::pair<double, double>> points;
                for (const StopTime& c : calls)
                    points.push_back(position(c));
                found =
                    patterns.emplace(patternKey, positionsOnShape(shape, cumulative, points)).first;
            }
            along = &found->second;
        }

        for (std::size_t k = 0; k + 1 < calls.size(); ++k) {
            const int a = stops[std::size_t(calls[k].stop)].station;
            const int b = stops[std::size_t(calls[k + 1].stop)].station;
            PairData& p = pairs[pairKey(a, b)];
            if (calls[k].departure >= 0 && calls[k + 1].arrival >= calls[k].departure)
                p.times.push_back(calls[k + 1].arrival - calls[k].departure);
            if (along) {
                const auto [la1, lo1] = position(calls[k]);
                const auto [la2, lo2] = position(calls[k + 1]);
                const double straight = greatCircle(la1, lo1, la2, lo2);
                const double onShape = (*along)[k + 1] - (*along)[k];
                // A shape that runs shorter than the straight line missed the stops.
                if (onShape >= straight * 0.9) {
                    p.shapeLength += onShape;
                    ++p.shapeCount;
                }
            }
        }
    }
    std::vector<StopTime>().swap(stopTimes);
}

// Codes: the map's letter and the short name without spaces; a short name that several routes
// share gets the route type, and the route_id where even that is shared.
void Importer::nameRoutes() {
    QHash<QString, int> shortNames, typed;
    for (const RouteRow& r : routes)
        if (r.calls && !r.shortName.isEmpty()) {
            ++shortNames[r.shortName];
            ++typed[r.shortName + QLatin1Char('-') + typeName(r.type)];
        }
    Cp1251Fitter fitter;
    QSet<QString> used;
    for (RouteRow& r : routes) {
        if (!r.calls)
            continue;
        QString base = r.shortName;
        if (base.isEmpty())
            base = text(r.id);
        else if (shortNames.value(r.shortName) > 1) {
            base += QLatin1Char('-') + typeName(r.type);
            if (typed.value(base) > 1)
                base += QLatin1Char('-') + text(r.id);
        }
        base = fitter.fit(base);
        base.remove(QLatin1Char(' '));
        QString code = kImportedMapCode + base;
        for (int n = 2; used.contains(code); ++n)
            code = kImportedMapCode + base + QLatin1Char('-') + QString::number(n);
        used.insert(code);
        r.code = code;
    }
}

void Importer::build(GraphMap& map, GtfsImportResult& result) {
    std::vector<int> served;
    for (std::size_t k = 0; k < stations.size(); ++k)
        if (stations[k].served)
            served.push_back(int(k));

    // One projection for the whole feed: metres east and north of the centre of its extent.
    double minLat = 90, maxLat = -90, minLon = 180, maxLon = -180;
    for (const int k : served) {
        minLat = std::min(minLat, stations[std::size_t(k)].lat);
        maxLat = std::max(maxLat, stations[std::size_t(k)].lat);
        minLon = std::min(minLon, stations[std::size_t(k)].lon);
        maxLon = std::max(maxLon, stations[std::size_t(k)].lon);
    }
    const double lat0 = (minLat + maxLat) / 2, lon0 = (minLon + maxLon) / 2;
    const double cosLat = std::cos(radians(lat0));
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    for (const int k : served) {
        Station& s = stations[std::size_t(k)];
        s.x = radians(s.lon - lon0) * cosLat * kEarthRadius;
        s.y = radians(s.lat - lat0) * kEarthRadius;
        minX = std::min(minX, s.x);
        maxX = std::max(maxX, s.x);
        minY = std::min(minY, s.y);
        maxY = std::max(maxY, s.y);
    }
    result.extentMetres = greatCircle(minLat, minLon, maxLat, maxLon);
    if (result.extentMetres > kSearchLimit)
        result.notes << QStringLiteral(
                            "сеть протянулась на %1 км, а путь длиннее 262 136 м поиск считает "
                            "недостижимым: сузьте выбор ключами --routes, --route-types или "
                            "--agency")
                            .arg(qRound(result.extentMetres / 1000));
    const double span = std::max(maxX - minX, maxY - minY);
    const double scale = options_.metresPerPixel > 0 ? options_.metresPerPixel
                         : span > 0                  ? span / kDefaultMapPixels
                                                     : 1;
    const auto pixel = [](double v) { return int(std::clamp(v, 0.0, 1e9)); };

    map.clearStops();
    map.Settings.AutoArcColor = true;
    map.MapCode = kImportedMapCode;
    Cp1251Fitter fitter;
    Occupied occupied;
    std::vector<StopIndex> made;
    for (const int k : served) {
        Station& s = stations[std::size_t(k)];
        const StopRow& row = stops[std::size_t(s.stop)];
        QString name = row.name.isEmpty() ? text(row.id) : row.name;
        const QString fitted = fitter.fit(name);
        if (fitted != name)
            ++result.renamedNames;
        const int id = int(made.size());
        const int cx = pixel(kMargin + (s.x - minX) / scale);
        const int cy = pixel(kMargin + (maxY - s.y) / scale);
        const StopIndex index = map.AddStop(cx, cy, false);
        Stop& stop = map.stop(index);
        stop.Id = id;
        stop.Left = cx - stop.Radius;
        stop.Top = cy - stop.Radius;
        stop.Label.Caption = fitted;
        std::sort(s.routeTrips.begin(), s.routeTrips.end());
        QStringList codes;
        int most = 0;
        for (const auto& [route, count] : s.routeTrips) {
            const RouteRow& r = routes[std::size_t(route)];
            codes << r.code;
            if (count > most) {
                most = count;
                stop.FillColor = r.color.value_or(DefaultStopFill);
            }
        }
        stop.Routes = codes.join(QLatin1Char(' '));
        occupied.add({stop.Left, stop.Top, stop.Left + stop.Width, stop.Top + stop.Height});
        s.mapIndex = id;
        made.push_back(index);
    }
    map.MaxStopId = std::max(0, int(made.size()) - 1);

    // Names beside their stops: right, left, above, below, then the corners; where every place
    // is taken the name goes to the right.
    for (const StopIndex index : made) {
        Stop& stop = map.stop(index);
        const int w = kCharWidth * int(stop.Label.Caption.size()) + 2;
        const int cx = stop.centreX(), cy = stop.centreY(), r = stop.Width / 2 + 2;
        const Rect candidates[] = {
            {cx + r, cy - kLabelHeight / 2, cx + r + w, cy + kLabelHeight - kLabelHeight / 2},
            {cx - r - w, cy - kLabelHeight / 2, cx - r, cy + kLabelHeight - kLabelHeight / 2},
            {cx - w / 2, cy - r - kLabelHeight, cx + w - w / 2, cy - r},
            {cx - w / 2, cy + r, cx + w - w / 2, cy + r + kLabelHeight},
            {cx + r, cy - r - kLabelHeight, cx + r + w, cy - r},
            {cx + r, cy + r, cx + r + w, cy + r + kLabelHeight},
            {cx - r - w, cy - r - kLabelHeight, cx - r, cy - r},
            {cx - r - w, cy + r, cx - r, cy + r + kLabelHeight},
        };
        Rect chosen = candidates[0];
        for (const Rect& c : candidates)
            if (occupied.free(c)) {
                chosen = c;
                break;
            }
        occupied.add(chosen);
        stop.Label.Left = chosen.left;
        stop.Label.Top = chosen.top;
    }

    // Rides: the mean of both directions' lengths where both exist, so that the pair is a road.
    const auto stationLength = [&](int a, int b) {
        const Station& p = stations[std::size_t(a)];
        const Station& q = stations[std::size_t(b)];
        return greatCircle(p.lat, p.lon, q.lat, q.lon);
    };
    const auto rideLength = [&](std::uint64_t key, const PairData& p) {
        return p.shapeCount > 0 ? p.shapeLength / p.shapeCount
                                : stationLength(int(key >> 32), int(key & 0xFFFFFFFF));
    };
    std::vector<std::pair<std::uint64_t, PairData*>> ordered;
    ordered.reserve(pairs.size());
    for (auto& [key, data] : pairs)
        ordered.emplace_back(key, &data);
    std::sort(ordered.begin(), ordered.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [key, data] : ordered) {
        const int a = int(key >> 32), b = int(key & 0xFFFFFFFF);
        double length = rideLength(key, *data);
        const auto back = pairs.find(pairKey(b, a));
        if (back != pairs.end())
            length = (length + rideLength(back->first, back->second)) / 2;
        Link link;
        link.To = made[std::size_t(stations[std::size_t(b)].mapIndex)];
        link.Length = std::round(length);
        link.Time = data->times.empty() ? 0 : median(data->times);
        map.appendLink(made[std::size_t(stations[std::size_t(a)].mapIndex)], link);
    }

    // Walking roads: the transfers listed, and stations of routes with none in common closer
    // than the walking distance that the list leaves out.
    std::vector<std::pair<std::uint64_t, std::optional<int>>> walks;
    for (const auto& [key, time] : listed)
        if (!refused.count(key) && stations[std::size_t(key >> 32)].served &&
            stations[std::size_t(key & 0xFFFFFFFF)].served)
            walks.emplace_back(key, time);
    std::unordered_map<std::uint64_t, std::vector<int>> cells;
    const auto cellOf = [](double v) { return std::int32_t(std::floor(v / kWalkingDistance)); };
    for (const int k : served)
        cells[pairKey(cellOf(stations[std::size_t(k)].x), cellOf(stations[std::size_t(k)].y))]
            .push_back(k);
    const auto shareRoute = [&](const Station& p, const Station& q) {
        for (const auto& [route, count] : p.routeTrips)
            for (const auto& [other, n] : q.routeTrips)
                if (route == other)
                    return true;
        return false;
    };
    for (const int a : served) {
        const Station& p = stations[std::size_t(a)];
        const int cx = cellOf(p.x), cy = cellOf(p.y);
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy) {
                const auto it = cells.find(pairKey(cx + dx, cy + dy));
                if (it == cells.end())
                    continue;
                for (const int b : it->second) {
                    if (b <= a || listed.count(pairKey(a, b)) ||
                        shareRoute(p, stations[std::size_t(b)]))
                        continue;
                    if (stationLength(a, b) < kWalkingDistance)
                        walks.emplace_back(pairKey(a, b), std::nullopt);
                }
            }
    }
    std::sort(walks.begin(), walks.end(),
              [](const auto& x, const auto& y) { return x.first < y.first; });
    for (const auto& [key, time] : walks) {
        const int a = int(key >> 32), b = int(key & 0xFFFFFFFF);
        const double length = std::round(stationLength(a, b));
        const double seconds = time ? *time : std::round(length / kWalkingSpeed);
        for (const auto& [from, to] : {std::pair(a, b), std::pair(b, a)}) {
            if (pairs.count(pairKey(from, to)))
                continue;
            Link link;
            link.To = made[std::size_t(stations[std::size_t(to)].mapIndex)];
            link.Length = length;
            link.Time = seconds;
            map.appendLink(made[std::size_t(stations[std::size_t(from)].mapIndex)], link);
        }
    }
    map.UpdateArcFlags();

    MapDescription& d = result.description;
    d.mapCode = kImportedMapCode;
    d.title = !options_.title.isEmpty() ? options_.title : firstAgencyName;
    for (const RouteRow& r : routes) {
        if (!r.calls)
            continue;
        DescribedRoute row;
        row.code = r.code;
        row.number = r.shortName.isEmpty() ? text(r.id) : r.shortName;
        row.name = r.longName;
        row.color = r.color;
        d.routes.append(row);
    }
    if (result.renamedNames > 0)
        result.notes << QStringLiteral("названий с буквами вне Windows-1251, записанных "
                                       "латиницей: %1")
                            .arg(result.renamedNames);
}

bool Importer::run(GraphMap& map, GtfsImportResult& result) {
    for (const char* name : {"stops.txt", "routes.txt", "trips.txt", "stop_times.txt"})
        if (!required(name))
            return false;
    if (!readAgencies() || !readRoutes() || !readTrips() || !readStops() || !readStopTimes() ||
        !readShapes() || !readTransfers() || !readFares(result))
        return false;
    if (!step(QStringLiteral("рейсы")))
        return false;
    buildTrips();
    if (std::none_of(stations.begin(), stations.end(), [](const Station& s) { return s.served; })) {
        *error_ = QStringLiteral("stop_times.txt: выбранные рейсы не заходят ни на одну остановку");
        return false;
    }
    nameRoutes();
    if (!step(QStringLiteral("карта")))
        return false;
    build(map, result);
    return true;
}

} // namespace

int basicRouteType(int type) {
    if ((type >= 0 && type <= 7) || type == 11 || type == 12)
        return type;
    if (type >= 100 && type < 200)
        return 2;
    if (type >= 200 && type < 300)
        return 3;
    if (type >= 300 && type < 400)
        return 2;
    if (type == 405)
        return 12;
    if (type >= 400 && type < 500)
        return 1;
    if (type >= 500 && type < 700)
        return 1;
    if (type >= 700 && type < 800)
        return 3;
    if (type >= 800 && type < 900)
        return 11;
    if (type >= 900 && type < 1000)
        return 0;
    if (type >= 1100 && type < 1200)
        return 3; // air services: nothing closer among the basic types
    if (type >= 1000 && type < 1300)
        return 4;
    if (type >= 1300 && type < 1400)
        return 6;
    if (type >= 1400 && type < 1500)
        return 7;
    if (type >= 1500 && type < 1800)
        return 3;
    return -1;
}

bool summarizeGtfsFeed(const QString& feedPath, GtfsFeedSummary* summary, QString* error) {
    const std::unique_ptr<FeedSource> source = openFeed(feedPath, error);
    if (!source)
        return false;
    GtfsFeedSummary local;
    const GtfsProgress silent;
    if (source->has(QStringLiteral("agency.txt"))) {
        FeedFile agencies(*source, "agency.txt", silent, QString());
        if (!agencies.open(error))
            return false;
        const int name = agencies.optional("agency_name");
        if (agencies.next())
            local.agencyName = text(agencies[name]);
        if (agencies.failed())
            return false;
    }
    FeedFile routes(*source, "routes.txt", silent, QString());
    if (!routes.open(error))
        return false;
    const int type = routes.required("route_type");
    if (type < 0)
        return false;
    while (routes.next()) {
        const std::optional<double> raw = routes.number(type, "route_type", std::nullopt);
        if (!raw)
            return false;
        const int basic = basicRouteType(int(*raw));
        ++local.routeTypes[basic < 0 ? 3 : basic];
    }
    if (routes.failed())
        return false;
    *summary = std::move(local);
    return true;
}

bool importGtfs(const QString& feedPath, const GtfsImportOptions& options, GraphMap& map,
                GtfsImportResult* result, QString* error, const GtfsProgress& progress) {
    const std::unique_ptr<FeedSource> source = openFeed(feedPath, error);
    if (!source)
        return false;
    GtfsImportResult local;
    Importer importer(*source, options, progress, error);
    if (!importer.run(map, local))
        return false;
    *result = std::move(local);
    return true;
}

} // namespace lirsk
