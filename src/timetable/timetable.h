#pragma once

#include "model/graphmap.h"
#include "model/mapdescription.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDate>
#include <QString>
#include <QTimeZone>

#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <span>
#include <vector>

// The timetable kept beside a map (city.gaf -> city.gaft): the stations of the map with their
// walks, the trips of the routes taken as route patterns (every trip of a pattern calls at the
// same stations with the same boarding rules, the trips side by side in departure order), their
// service days as shared bit sets over the feed's period, and the agency's time zone.
//
// A Timetable is a read-only view over the bytes of its file, whether built just now or read
// back; copies share the bytes.

namespace lirsk {

// Seconds from the start of the timetable's first service day (local noon - 12 h on that day).
using TimetableTime = std::int32_t;
// A time no journey reaches.
constexpr TimetableTime kNever = std::numeric_limits<std::int32_t>::max() / 4;
// Stop times are seconds from the start of their service day, below 72 h.
constexpr std::uint32_t kMaxStopTime = 72 * 3600;
// The longest period a timetable covers, in days.
constexpr int kMaxServiceDays = 1000;
// The largest timetable file read: 2 GiB.
constexpr qint64 kMaxTimetableFileSize = qint64(1) << 31;
// A station's change time when no transfers.txt row gives one.
constexpr int kDefaultChangeTime = 120;

class Timetable {
    Q_DECLARE_TR_FUNCTIONS(Timetable)

public:
    // One record a station: where it stands, and where the map had its stop when this timetable
    // was made.
    struct Station {
        std::uint32_t name = 0;   // string index
        std::uint32_t stopId = 0; // string index: stops.txt stop_id of the station
        std::int32_t mapStop = 0; // the map's stop id
        std::int32_t mapLeft = 0, mapTop = 0;
        std::int32_t changeTime = kChangeByDefault; // seconds, or one of the two values below
        double lat = 0, lon = 0;

        static constexpr std::int32_t kChangeByDefault = -1;
        static constexpr std::int32_t kChangeForbidden = -2;
    };
    struct Walk {
        std::uint32_t to = 0;
        std::uint32_t seconds = 0;
    };
    struct Route {
        std::uint32_t shortName = 0, longName = 0; // string indices
        std::uint32_t colour = 0;                  // 0x00BBGGRR
        std::uint32_t hasColour = 0;
    };
    // The trips of a pattern are firstTrip .. firstTrip + tripCount - 1; the times of its k-th
    // trip at its calls lie side by side from firstTime + k * stopCount, and again the
    // departures of all its trips from its call i from firstTime + i * tripCount.
    struct Pattern {
        std::uint32_t route = 0;
        std::uint32_t firstStop = 0, stopCount = 0;
        std::uint32_t firstTrip = 0, tripCount = 0;
        std::uint32_t reserved = 0;
        std::uint64_t firstTime = 0;
    };
    // A call of a pattern: the station in the low bits, whether one may board and alight there.
    struct PatternStop {
        std::uint32_t stationAndRules = 0;
        std::uint32_t sequence = 0; // stop_sequence of the call

        static constexpr std::uint32_t kBoard = 1u << 31;
        static constexpr std::uint32_t kAlight = 1u << 30;
        std::uint32_t station() const { return stationAndRules & ~(kBoard | kAlight); }
        bool canBoard() const { return stationAndRules & kBoard; }
        bool canAlight() const { return stationAndRules & kAlight; }
    };
    struct StopTime {
        std::uint32_t arrival = 0, departure = 0; // seconds from the start of the service day
    };
    struct Trip {
        std::uint32_t service = 0;  // index of its service day set
        std::uint32_t headsign = 0; // string index
        std::uint32_t tripId = 0;   // string index: trips.txt trip_id
        std::uint32_t idRank = 0;   // the place of trip_id in byte order among the trip ids
    };
    // A place where a pattern calls at a station: the pattern and the call's index in it.
    struct Call {
        std::uint32_t pattern = 0;
        std::uint32_t index = 0;
    };

    Timetable();
    ~Timetable();
    Timetable(const Timetable&);
    Timetable& operator=(const Timetable&);
    Timetable(Timetable&&) noexcept;
    Timetable& operator=(Timetable&&) noexcept;

    // Takes the bytes of a timetable file; false with the reason when they are not one (the
    // timetable stays as it was).
    bool load(QByteArray bytes, QString* error);
    // Reads a regular file of at most kMaxTimetableFileSize bytes, mapped into memory.
    bool read(const QString& path, QString* error);
    // The file's bytes, valid while the timetable (or a copy of it) lives.
    QByteArray bytes() const;
    // Whether the two are copies of one timetable (they share its bytes).
    bool sharesBytesWith(const Timetable& other) const { return bytes_ == other.bytes_; }
    bool isEmpty() const { return stations_.empty(); }

    // The feed's period and its time zone.
    QDate firstDay() const { return firstDay_; }
    int dayCount() const { return int(dayBases_.size()); }
    QDate lastDay() const { return firstDay_.addDays(dayCount() - 1); }
    const QTimeZone& timeZone() const { return timeZone_; }
    // The start of service day `day` (local noon - 12 h), and conversions to and from UTC.
    TimetableTime dayBase(int day) const { return dayBases_[std::size_t(day)]; }
    std::span<const TimetableTime> dayBases() const { return dayBases_; }
    qint64 toUtc(TimetableTime t) const { return epoch_ + t; }
    qint64 fromUtc(qint64 secondsSinceEpoch) const { return secondsSinceEpoch - epoch_; }

    QString text(std::uint32_t index) const;
    std::span<const Station> stations() const { return stations_; }
    QString stationName(int station) const { return text(stations_[std::size_t(station)].name); }
    // The change time at a station, or -1 where changes are forbidden.
    int changeTime(int station, int byDefault) const;
    std::span<const Walk> walksFrom(int station) const {
        const std::size_t s = std::size_t(station);
        return walks_.subspan(walkFirst_[s], walkFirst_[s + 1] - walkFirst_[s]);
    }
    std::span<const Walk> walksTo(int station) const {
        const std::size_t s = std::size_t(station);
        return std::span<const Walk>(walksTo_).subspan(walkToFirst_[s],
                                                       walkToFirst_[s + 1] - walkToFirst_[s]);
    }
    std::size_t walkCount() const { return walks_.size(); }
    // The stations a ride reaches this one from without calling between, each with the least
    // time any trip takes (a bound on how soon one gets anywhere).
    // The longest hop or walk, seconds.
    std::uint32_t longestHop() const { return longestHop_; }
    std::span<const Walk> hopsTo(int station) const {
        const std::size_t s = std::size_t(station);
        return hops_.subspan(hopFirst_[s], hopFirst_[s + 1] - hopFirst_[s]);
    }

    std::span<const Route> routes() const { return routes_; }
    std::span<const Pattern> patterns() const { return patterns_; }
    std::span<const PatternStop> stopsOf(const Pattern& p) const {
        return patternStops_.subspan(p.firstStop, p.stopCount);
    }
    std::span<const Trip> trips() const { return trips_; }
    // The times of a pattern's k-th trip (0 .. tripCount - 1) at its call.
    const StopTime& stopTime(const Pattern& p, std::uint32_t k, std::uint32_t call) const {
        return stopTimes_[p.firstTime + std::uint64_t(k) * p.stopCount + call];
    }
    // The departures of a pattern's trips from its call, side by side (for finding one by time).
    std::span<const std::uint32_t> departuresFrom(const Pattern& p, std::uint32_t call) const {
        return departures_.subspan(p.firstTime + std::uint64_t(call) * p.tripCount, p.tripCount);
    }
    std::size_t stopTimeCount() const { return stopTimes_.size(); }
    bool runsOn(std::uint32_t trip, int day) const {
        const std::uint64_t* words =
            serviceDays_.data() + std::size_t(trips_[trip].service) * std::size_t(wordsPerService_);
        return (words[day >> 6] >> (day & 63)) & 1;
    }
    int serviceCount() const { return serviceCount_; }
    // Whether the pattern calls at some station twice (a loop).
    bool revisits(std::size_t pattern) const { return patternFlags_[pattern] & kRevisits; }
    // The first departure and the last arrival of a pattern's trips, from their day's start.
    std::pair<TimetableTime, TimetableTime> span(std::size_t pattern) const {
        return spans_[pattern];
    }
    // Whether all the pattern's trips run on the same days.
    bool sharesDays(std::size_t pattern) const { return patternFlags_[pattern] & kSharesDays; }
    // The calls where one may board, and where one may alight, at each station.
    std::span<const Call> boardingsAt(int station) const {
        const std::size_t s = std::size_t(station);
        return std::span<const Call>(boardings_)
            .subspan(boardFirst_[s], boardFirst_[s + 1] - boardFirst_[s]);
    }
    std::span<const Call> alightingsAt(int station) const {
        const std::size_t s = std::size_t(station);
        return std::span<const Call>(alightings_)
            .subspan(alightFirst_[s], alightFirst_[s + 1] - alightFirst_[s]);
    }

private:
    struct Bytes;
    bool adopt(std::shared_ptr<const Bytes> bytes, QString* error);
    bool parse(QString* error);
    const char* inconsistency() const;
    void derive();

    std::shared_ptr<const Bytes> bytes_;
    QDate firstDay_;
    QTimeZone timeZone_;
    qint64 epoch_ = 0;
    std::vector<TimetableTime> dayBases_;
    std::span<const std::uint32_t> stringOffsets_;
    std::span<const char> stringBytes_;
    std::span<const Station> stations_;
    std::span<const std::uint32_t> walkFirst_;
    std::span<const Walk> walks_;
    std::span<const std::uint32_t> hopFirst_;
    std::span<const Walk> hops_;
    std::span<const Route> routes_;
    std::span<const Pattern> patterns_;
    std::span<const PatternStop> patternStops_;
    std::span<const Trip> trips_;
    std::span<const StopTime> stopTimes_;
    std::span<const std::uint32_t> departures_;
    std::span<const std::uint64_t> serviceDays_;
    int serviceCount_ = 0;
    int wordsPerService_ = 0;
    int dayCountInFile_ = 0;
    // Worked out on loading.
    static constexpr std::uint8_t kRevisits = 1, kSharesDays = 2;
    std::vector<std::uint8_t> patternFlags_;
    std::uint32_t longestHop_ = 0;
    std::vector<std::pair<TimetableTime, TimetableTime>> spans_;
    std::vector<std::uint32_t> boardFirst_, alightFirst_, walkToFirst_;
    std::vector<Call> boardings_, alightings_;
    std::vector<Walk> walksTo_;
};

// "city.gaf" -> "city.gaft"; a path without the .gaf extension gets ".gaft" added.
QString timetablePathFor(const QString& mapPath);

// A moment (seconds since the epoch) moved into the timetable's period by whole weeks, so that it
// keeps its weekday and its local clock time; the first day of a period shorter than a week at that
// clock time. A moment within the period is kept as it is.
qint64 departureInPeriod(const Timetable& timetable, qint64 utc);

// Whether the map still has every station's stop where the timetable has it: an empty text when
// it does, else what differs (the first stop gone or moved). A map whose description keeps two
// layouts has its stops where the timetable has them in either.
QString mapMismatch(const Timetable& timetable, const GraphMap& map,
                    const MapDescription* description = nullptr);

} // namespace lirsk
