#pragma once

#include "import/chunkedarray.h"
#include "timetable/timetable.h"

#include <QHash>

// The parts of a timetable as its builder makes them, and the file they are written to.
//
// The file is little-endian: a 32-byte head ("LRSKGAFT", the format's version, the number of
// sections, the file's size, the 64-bit XXH3 hash of everything after the head), a table of the
// sections
// (offset and size in bytes of each), then the sections, each at a multiple of 8 bytes: the
// period and time zone, the strings, the stations, the walks, the shortest hops between
// stations, the routes, the patterns with
// their calls, the trips, the stop times (trip by trip), the departures (call by call), the
// service day sets.

namespace lirsk {

constexpr std::uint32_t kTimetableVersion = 1;

// Texts kept once each, by index.
class StringTable {
public:
    std::uint32_t add(const QByteArray& utf8);
    std::uint32_t add(const QString& text) { return add(text.toUtf8()); }
    const std::vector<QByteArray>& strings() const { return strings_; }

private:
    std::vector<QByteArray> strings_;
    QHash<QByteArray, std::uint32_t> indices_;
};

struct TimetableParts {
    QDate firstDay;
    int dayCount = 0;
    QString timeZone; // IANA id
    StringTable strings;
    std::vector<Timetable::Station> stations;
    std::vector<std::uint32_t> walkFirst; // stations + 1 entries
    std::vector<Timetable::Walk> walks;
    // Into each station: from where a ride's next call reaches it, in the least time any trip
    // takes (Walk::to is where it comes from).
    std::vector<std::uint32_t> hopFirst; // stations + 1 entries
    std::vector<Timetable::Walk> hops;
    std::vector<Timetable::Route> routes;
    std::vector<Timetable::Pattern> patterns;
    std::vector<Timetable::PatternStop> patternStops;
    std::vector<Timetable::Trip> trips;
    ChunkedArray<Timetable::StopTime> stopTimes;
    ChunkedArray<std::uint32_t> departures; // the same departures, call by call
    int serviceCount = 0;
    int wordsPerService = 0;
    std::vector<std::uint64_t> serviceDays;
};

// The file's bytes; each part is freed as soon as it is written.
QByteArray writeTimetable(TimetableParts&& parts);

} // namespace lirsk
