#pragma once

#include "import/triprows.h"
#include "timetable/feedtable.h"
#include "timetable/timetablefile.h"

#include <QHash>

#include <optional>

// What the timetable takes from a feed's files, read once each, before it is put together.

namespace lirsk {

struct FeedRoute {
    std::uint32_t shortName = 0, longName = 0; // string indices
    std::optional<Colour> colour;
};

struct FeedTrip {
    std::uint32_t route = 0;
    std::uint32_t service = 0;
    std::uint32_t headsign = 0; // string index; the empty string when the feed gives none
    std::uint32_t tripId = 0;   // string index
};

struct FeedStop {
    QByteArray id;
    QByteArray parent;
    QString name;
    double lat = 0, lon = 0;
    bool located = false;
    int station = -1; // index in FeedData::stations
};

struct FeedStation {
    int stop = 0; // the stops.txt row of the station itself
    double lat = 0, lon = 0;
    bool served = false;
    int index = -1; // the station's index in the timetable
};

// One stop_times.txt row of a trip taken; the trip is known from where the row is kept.
struct FeedCall {
    std::uint32_t sequence = 0;
    std::uint32_t stopAndRules = 0;            // the stops.txt row with PatternStop's boarding bits
    std::int32_t arrival = -1, departure = -1; // -1: blank
};
inline std::uint32_t sequenceOf(const FeedCall& call) {
    return call.sequence;
}

struct FeedService {
    int weekdays = 0; // bit 0 Monday .. bit 6 Sunday
    QDate start, end; // calendar.txt's range; invalid when the service is not there
    std::vector<std::pair<QDate, bool>> exceptions; // calendar_dates.txt: date, runs
};

struct FeedFrequency {
    std::uint32_t trip = 0;
    int start = 0, end = 0, headway = 0;
};

struct FeedTransfer {
    int from = 0, to = 0; // stations
    int type = 0;
    int minTime = -1; // -1: not given
};

struct FeedData {
    QString timeZone;
    StringTable& strings;
    std::vector<FeedRoute> routes;
    std::vector<FeedTrip> trips;
    std::vector<FeedService> services;
    std::vector<FeedStop> stops;
    std::vector<FeedStation> stations;
    TripRows<FeedCall> calls;
    ChunkedArray<float> distances; // shape_dist_traveled of each call, when the feed gives it
    std::vector<FeedFrequency> frequencies;
    std::vector<FeedTransfer> transfers;
};

// Reads the files the timetable needs; false with one line naming the file in error.
bool readFeedData(const FeedSource& source, const GtfsImportOptions& routes, FeedData& data,
                  QString* error, const GtfsProgress& progress);

// The walks between the timetable's stations, the list the map's walking roads are made from
// (import/walkingneighbours.h).
void addWalks(const std::vector<FeedStation>& stations, const std::vector<FeedStop>& stops,
              const std::vector<FeedTransfer>& transfers, TimetableParts& parts);

} // namespace lirsk
