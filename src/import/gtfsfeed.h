#pragma once

#include "import/triprows.h"
#include "import/walkingneighbours.h"
#include "model/graphmap.h"

#include <QHash>
#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// The tables a map is built from, as the readers take them from the feed's files: rows kept in
// file order, found by their ids through hash maps.

namespace lirsk::gtfs {

struct ViewHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};
// An id of the feed -> its row.
using IdMap = std::unordered_map<std::string, int, ViewHash, std::equal_to<>>;

inline int lookup(const IdMap& ids, std::string_view id) {
    const auto it = ids.find(id);
    return it == ids.end() ? -1 : it->second;
}

// An ordered pair of rows (stations, usually) as one key.
inline std::uint64_t pairKey(int a, int b) {
    return (std::uint64_t(std::uint32_t(a)) << 32) | std::uint32_t(b);
}
inline int pairFirst(std::uint64_t key) {
    return int(key >> 32);
}
inline int pairSecond(std::uint64_t key) {
    return int(key & 0xFFFFFFFF);
}

struct AgencyInfo {
    std::string firstId;
    QString firstName;
    QString language; // the first agency's agency_lang ("ja")
    QString timeZone; // the first agency's agency_timezone ("Asia/Tokyo")
};

struct RouteRow {
    std::string id;
    QString shortName;
    QString longName;
    int type = 3; // the basic route type
    std::optional<Colour> color;
    std::optional<Colour> textColor;
    int trips = 0;      // trips that call somewhere
    bool calls = false; // some trip of it calls at a station
    QString code;       // the token in the stops' routes texts
};

struct RouteTable {
    std::vector<RouteRow> rows;
    IdMap ids;
};

struct TripRow {
    int route = 0;
    int shape = -1;
};

struct TripTable {
    std::vector<TripRow> rows;
    IdMap ids;
    IdMap shapeIds; // shape_id -> its shape, for the shapes the trips name
};

struct StopRow {
    std::string id;
    std::string parent;
    QString name;
    double lat = 0, lon = 0;
    bool located = false;
    int station = -1;
};

// A stop without a parent; its platforms, entrances and boarding areas are the same station.
struct Station {
    int stop = 0; // its row in stops.txt
    double lat = 0, lon = 0;
    double x = 0, y = 0;                         // metres east and north of the feed's centre
    std::vector<std::pair<int, int>> routeTrips; // route, trips calling
    bool served = false;
    int mapIndex = -1;
};

struct StopTable {
    std::vector<StopRow> rows;
    IdMap ids;
    std::vector<Station> stations;

    const Station& stationOf(int stop) const {
        return stations[std::size_t(rows[std::size_t(stop)].station)];
    }
    // Where a stop is: its own place, else its station's.
    std::pair<double, double> place(int stop) const {
        const StopRow& s = rows[std::size_t(stop)];
        const Station& st = stationOf(stop);
        return s.located ? std::pair(s.lat, s.lon) : std::pair(st.lat, st.lon);
    }
};

// One stop_times.txt row of a trip; the trip is known from where the row is kept.
struct StopTime {
    int sequence;
    int stop;
    int arrival; // seconds; -1 blank
    int departure;
};

// The same row as it is kept, in 12 bytes: the stop's row and the sequence in 30 bits each (no
// feed's stops.txt reaches 2^30 rows in memory; stop_sequence is read up to 10^9), each time
// plus one in 18 bits (blank, or below 72 h), their two highest bits above the stop and the
// sequence.
class PackedStopTime {
public:
    PackedStopTime() = default;
    explicit PackedStopTime(const StopTime& t)
        : m_stop(std::uint32_t(t.stop) | (std::uint32_t(t.arrival + 1) >> 16 << 30)),
          m_sequence(std::uint32_t(t.sequence) | (std::uint32_t(t.departure + 1) >> 16 << 30)),
          m_times((std::uint32_t(t.arrival + 1) & 0xFFFF) |
                  (std::uint32_t(t.departure + 1) & 0xFFFF) << 16) {}
    int sequence() const { return int(m_sequence & kLow30); }
    StopTime unpacked() const {
        return {sequence(), int(m_stop & kLow30),
                int((m_stop >> 30 << 16) | (m_times & 0xFFFF)) - 1,
                int((m_sequence >> 30 << 16) | (m_times >> 16)) - 1};
    }

private:
    static constexpr std::uint32_t kLow30 = (std::uint32_t(1) << 30) - 1;
    std::uint32_t m_stop = 0, m_sequence = 0, m_times = 0;
};
inline int sequenceOf(const PackedStopTime& row) {
    return row.sequence();
}
using StopTimeRows = TripRows<PackedStopTime>;

struct ShapePoint {
    double sequence, lat, lon;
};
using Shape = std::vector<ShapePoint>;

// The feed's own readings of its stop names (translations.txt rows for stops.stop_name): for each
// stop, and for each name the rows give by its value, the reading a map file reads best.
struct NameReadings {
    struct Reading {
        int rank = 0; // the lower, the better
        QString text;
    };
    std::unordered_map<std::string, Reading, ViewHash, std::equal_to<>> byStop;
    QHash<QString, Reading> byName;

    QString of(const std::string& stopId, const QString& name) const {
        const auto it = byStop.find(stopId);
        return it != byStop.end() ? it->second.text : byName.value(name).text;
    }
};

// The transfers.txt rows between different stations, one way each, from and to as stations.
struct TransferTable {
    std::vector<PlaceTransfer> rows;
};

// The fare rule the feed's fare_attributes.txt gives: its commonest price.
struct FareRule {
    double price = 0;
    bool noTransfers = false; // the price buys no transfer: each ride pays it again
    QString currency;
};

struct FareTable {
    std::optional<FareRule> commonest; // none when the file has no price a map can hold
    qint64 refused = 0;                // prices outside 0..kMaxImportedFare, left out
};

} // namespace lirsk::gtfs
