#include "timetable/timetablebuilder.h"

#include "import/geo.h"
#include "timetable/feeddata.h"

#include <QCoreApplication>
#include <QTimeZone>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <unordered_map>

namespace lirsk {

namespace {

// Trips of one pattern are split so that none overtakes another; where a trip of one service
// day would overtake one of another day, so that the times of all of them at any call lie within
// this much (a day is at least 22 h long even where the clocks change by two hours).
constexpr std::uint32_t kPatternSpan = 22 * 3600;

// The trips of one route pattern before they are ordered and split: the runs of each trip, the
// times of a run as arrival and departure at each call.
struct Candidate {
    std::uint32_t route = 0;
    std::vector<Timetable::PatternStop> calls;
    std::vector<std::uint32_t> trips; // FeedTrip of each run
    std::vector<std::uint32_t> times; // 2 × calls a run
};

class Assembler {
public:
    Assembler(FeedData& feed, const TimetableBuild& build, const GraphMap& map,
              TimetableParts& parts, QStringList& notes, QString* error,
              const GtfsProgress& progress)
        : feed_(feed), build_(build), map_(map), parts_(parts), notes_(notes), error_(error),
          progress_(progress) {}

    bool run() {
        if (!placeStations() || !placeServices() || !collectTrips())
            return false;
        feed_.calls = TripRows<FeedCall>();
        feed_.distances = ChunkedArray<float>();
        emitPatterns();
        addHops();
        addWalks(feed_.stations, feed_.stops, feed_.transfers, parts_);
        for (const FeedRoute& r : feed_.routes)
            parts_.routes.push_back(
                {r.shortName, r.longName, r.colour.value_or(0), r.colour.has_value()});
        parts_.timeZone = feed_.timeZone;
        return true;
    }

private:
    bool placeStations();
    std::vector<std::vector<qint64>> serviceDates(bool* clipped) const;
    bool placeServices();
    bool collectTrips();
    bool fillTimes(std::vector<FeedCall>& calls, const std::vector<double>& along) const;
    bool addTrip(std::uint32_t tripIndex, const std::vector<std::uint32_t>& rows,
                 const std::vector<FeedFrequency>& runs);
    void emitPatterns();
    void addHops();
    // Units of work are done (a stop time gone through): every so many the progress callback
    // hears the part of the work done.
    void step(double done, std::size_t units) {
        steps_ += units;
        if (progress_ && steps_ >= 4096) {
            steps_ = 0;
            progress_(Timetable::tr("расписание"), done);
        }
    }
    std::vector<std::vector<std::uint32_t>>
    split(const Candidate& c, const std::vector<std::uint32_t>& runs, bool spanning) const;
    bool keepsOrderAcrossDays(const Candidate& c, const std::vector<std::uint32_t>& part) const;
    void emitPattern(const Candidate& c, const std::vector<std::uint32_t>& runs);
    const FeedStop& stopOf(const FeedCall& call) const {
        return feed_.stops[call.stopAndRules &
                           ~(Timetable::PatternStop::kBoard | Timetable::PatternStop::kAlight)];
    }
    int stationOf(const FeedCall& call) const {
        return feed_.stations[std::size_t(stopOf(call).station)].index;
    }

    FeedData& feed_;
    const TimetableBuild& build_;
    const GraphMap& map_;
    TimetableParts& parts_;
    QStringList& notes_;
    QString* error_;
    const GtfsProgress& progress_;
    std::size_t steps_ = 0;
    std::vector<int> serviceOf_; // the timetable's day set of each feed service, or -1
    std::vector<Candidate> candidates_;
    std::unordered_map<std::string, std::uint32_t> candidateOf_;
    int withoutDays_ = 0, badTimes_ = 0;
    std::vector<std::int64_t> dayShifts_; // how far one service day's start is from a later one's
    std::unordered_map<std::uint64_t, std::uint32_t> hops_; // to << 32 | from: the least time
};

// The stations some trip taken calls at, numbered as the map numbers them, where the map has
// them, with their change times.
bool Assembler::placeStations() {
    for (std::size_t k = 0; k < feed_.calls.size(); ++k)
        feed_.stations[std::size_t(stopOf(feed_.calls[k]).station)].served = true;
    const QHash<int, StopIndex> onMap = map_.stopsById();
    std::vector<std::int32_t> change;
    for (FeedStation& s : feed_.stations) {
        if (!s.served)
            continue;
        const FeedStop& row = feed_.stops[std::size_t(s.stop)];
        const QString id = QString::fromUtf8(row.id);
        s.index = int(parts_.stations.size());
        Timetable::Station placed;
        placed.mapStop = build_.mapStops.isEmpty() ? s.index : build_.mapStops.value(id, -1);
        const StopIndex index = onMap.value(placed.mapStop, NoStop);
        if (index == NoStop) {
            *error_ = Timetable::tr(
                          "на карте нет остановки для станции «%1» (stop_id %2): карта сделана не "
                          "из этого источника или не с этим выбором маршрутов")
                          .arg(row.name, id);
            return false;
        }
        placed.mapLeft = map_.stop(index).Left;
        placed.mapTop = map_.stop(index).Top;
        placed.name = parts_.strings.add(row.name.isEmpty() ? id : row.name);
        placed.stopId = parts_.strings.add(row.id);
        placed.lat = s.lat;
        placed.lon = s.lon;
        parts_.stations.push_back(placed);
    }
    if (parts_.stations.empty()) {
        *error_ = Timetable::tr("stop_times.txt: выбранные рейсы не заходят ни на одну остановку");
        return false;
    }
    // A change inside a station takes the longest time of its own transfers, or is forbidden.
    for (const FeedTransfer& t : feed_.transfers) {
        const int s = feed_.stations[std::size_t(t.from)].index;
        if (t.from != t.to || s < 0)
            continue;
        std::int32_t& time = parts_.stations[std::size_t(s)].changeTime;
        if (t.type == 3)
            time = Timetable::Station::kChangeForbidden;
        else if (t.type == 2 && t.minTime >= 0 && time != Timetable::Station::kChangeForbidden)
            time = std::max(time, std::int32_t(t.minTime));
    }
    return true;
}

// The days each service runs over the feed's period, as bit sets shared by equal services.
// The dates each service taken runs on, from its first date on for at most the longest period
// kept; whether some were left out.
std::vector<std::vector<qint64>> Assembler::serviceDates(bool* clipped) const {
    std::vector<bool> used(feed_.services.size());
    feed_.calls.forEachRun([&](std::uint32_t trip) { used[feed_.trips[trip].service] = true; });
    qint64 first = std::numeric_limits<qint64>::max();
    for (std::size_t k = 0; k < feed_.services.size(); ++k) {
        const FeedService& s = feed_.services[k];
        if (used[k] && s.start.isValid())
            first = std::min(first, s.start.toJulianDay());
        for (const auto& [date, runs] : s.exceptions)
            if (used[k] && runs)
                first = std::min(first, date.toJulianDay());
    }
    const qint64 limit =
        first == std::numeric_limits<qint64>::max() ? first : first + kMaxServiceDays - 1;
    std::vector<std::vector<qint64>> days(feed_.services.size());
    for (std::size_t k = 0; k < feed_.services.size(); ++k) {
        const FeedService& s = feed_.services[k];
        std::vector<qint64>& on = days[k];
        for (qint64 d = s.start.toJulianDay();
             used[k] && s.start.isValid() && d <= s.end.toJulianDay(); ++d) {
            if (d > limit) {
                *clipped = true;
                break;
            }
            if (s.weekdays & (1 << (QDate::fromJulianDay(d).dayOfWeek() - 1)))
                on.push_back(d);
        }
        // calendar_dates.txt overrides the weekdays.
        for (const auto& [date, runs] : s.exceptions) {
            const qint64 d = date.toJulianDay();
            if (!used[k] || d > limit) {
                *clipped = *clipped || (used[k] && runs);
                continue;
            }
            const auto at = std::lower_bound(on.begin(), on.end(), d);
            if (runs && (at == on.end() || *at != d))
                on.insert(at, d);
            else if (!runs && at != on.end() && *at == d)
                on.erase(at);
        }
    }
    return days;
}

// The period from the first day a trip runs to the last, how far apart its days start (a day is
// not 24 h long where the clocks change), and each service's days as a bit set shared by equal
// services.
bool Assembler::placeServices() {
    bool clipped = false;
    const std::vector<std::vector<qint64>> days = serviceDates(&clipped);
    qint64 first = std::numeric_limits<qint64>::max(), last = std::numeric_limits<qint64>::min();
    for (const std::vector<qint64>& on : days)
        if (!on.empty()) {
            first = std::min(first, on.front());
            last = std::max(last, on.back());
        }
    if (last < first) {
        *error_ = Timetable::tr("calendar.txt: ни один выбранный рейс не ходит ни в один день");
        return false;
    }
    if (clipped)
        notes_ << Timetable::tr("период расписания длиннее %1 дней: взяты первые %1")
                      .arg(kMaxServiceDays);
    parts_.firstDay = QDate::fromJulianDay(first);
    parts_.dayCount = int(last - first + 1);
    // Stop times run up to 72 h: a day's trips meet those of the next three days.
    const QTimeZone zone(feed_.timeZone.toUtf8());
    std::vector<std::int64_t> starts;
    for (int d = 0; d < parts_.dayCount; ++d)
        starts.push_back(
            QDateTime(parts_.firstDay.addDays(d), QTime(12, 0), zone).toSecsSinceEpoch());
    for (std::size_t k = 1; k <= 3; ++k)
        for (std::size_t d = 0; d + k < starts.size(); ++d)
            dayShifts_.push_back(starts[d + k] - starts[d]);
    std::sort(dayShifts_.begin(), dayShifts_.end());
    dayShifts_.erase(std::unique(dayShifts_.begin(), dayShifts_.end()), dayShifts_.end());
    parts_.wordsPerService = (parts_.dayCount + 63) / 64;
    QHash<QByteArray, int> shared;
    serviceOf_.assign(feed_.services.size(), -1);
    std::vector<std::uint64_t> words(std::size_t(parts_.wordsPerService));
    for (std::size_t k = 0; k < days.size(); ++k) {
        if (days[k].empty())
            continue;
        std::fill(words.begin(), words.end(), 0);
        for (const qint64 d : days[k])
            words[std::size_t(d - first) >> 6] |= std::uint64_t(1) << ((d - first) & 63);
        const QByteArray key(reinterpret_cast<const char*>(words.data()),
                             qsizetype(words.size() * 8));
        const auto it = shared.constFind(key);
        serviceOf_[k] = it != shared.cend() ? *it : parts_.serviceCount;
        if (it == shared.cend()) {
            shared.insert(key, parts_.serviceCount++);
            parts_.serviceDays.insert(parts_.serviceDays.end(), words.begin(), words.end());
        }
    }
    return true;
}

bool Assembler::collectTrips() {
    std::vector<FeedFrequency>& frequencies = feed_.frequencies;
    std::stable_sort(frequencies.begin(), frequencies.end(),
                     [](const auto& a, const auto& b) { return a.trip < b.trip; });
    std::size_t done = 0;
    const bool added =
        feed_.calls.forEachTrip([&](std::uint32_t trip, const std::vector<std::uint32_t>& rows) {
            step(0.5 * double(done) / double(feed_.calls.size()), rows.size());
            done += rows.size();
            const auto runs = std::equal_range(
                frequencies.begin(), frequencies.end(), FeedFrequency{trip, 0, 0, 0},
                [](const auto& a, const auto& b) { return a.trip < b.trip; });
            return addTrip(trip, rows, std::vector<FeedFrequency>(runs.first, runs.second));
        });
    if (!added)
        return false;
    if (withoutDays_ > 0)
        notes_ << Timetable::tr("рейсов без дней движения в calendar.txt и calendar_dates.txt: %1")
                      .arg(withoutDays_);
    if (badTimes_ > 0)
        notes_ << Timetable::tr(
                      "рейсов без времени на первой или последней остановке, с временами, идущими "
                      "назад, или с повторённым stop_sequence, оставлено без внимания: %1")
                      .arg(badTimes_);
    return true;
}

// Blank times between two given ones, spread by shape_dist_traveled where every call between
// has it, else by straight-line distance, rounded down; false when the times cannot be had or
// go back.
bool Assembler::fillTimes(std::vector<FeedCall>& calls, const std::vector<double>& along) const {
    const std::size_t n = calls.size();
    const auto position = [&](std::size_t k) {
        const FeedStop& s = stopOf(calls[k]);
        const FeedStation& st = feed_.stations[std::size_t(s.station)];
        return s.located ? std::pair(s.lat, s.lon) : std::pair(st.lat, st.lon);
    };
    if (n < 2 || calls.front().arrival < 0 || calls.back().arrival < 0)
        return false;
    for (std::size_t k = 1; k < n; ++k)
        if (calls[k].sequence == calls[k - 1].sequence)
            return false;
    for (std::size_t k = 1; k < n;) {
        if (calls[k].arrival >= 0) {
            ++k;
            continue;
        }
        std::size_t j = k;
        while (calls[j].arrival < 0)
            ++j;
        const bool shaped =
            std::all_of(along.begin() + std::ptrdiff_t(k - 1),
                        along.begin() + std::ptrdiff_t(j + 1), [](double d) { return d >= 0; });
        std::vector<double> at{0};
        for (std::size_t m = k; m <= j; ++m) {
            const auto [la1, lo1] = position(m - 1);
            const auto [la2, lo2] = position(m);
            at.push_back(shaped ? along[m] - along[k - 1]
                                : at.back() + greatCircle(la1, lo1, la2, lo2));
        }
        const double from = calls[k - 1].departure, span = calls[j].arrival - from;
        for (std::size_t m = k; m < j; ++m) {
            const double share =
                at.back() > 0 ? at[m - k + 1] / at.back() : double(m - k + 1) / double(j - k + 1);
            calls[m].arrival = calls[m].departure =
                std::int32_t(std::floor(from + span * std::clamp(share, 0.0, 1.0)));
        }
        k = j;
    }
    for (std::size_t k = 0; k < n; ++k)
        if (calls[k].arrival > calls[k].departure ||
            (k > 0 && calls[k - 1].departure > calls[k].arrival))
            return false;
    return true;
}

// One trip: its blank times filled in, checked, then each of its runs into its pattern.
bool Assembler::addTrip(std::uint32_t tripIndex, const std::vector<std::uint32_t>& rows,
                        const std::vector<FeedFrequency>& runs) {
    const FeedTrip& trip = feed_.trips[tripIndex];
    if (serviceOf_[trip.service] < 0) {
        ++withoutDays_;
        return true;
    }
    const std::size_t n = rows.size();
    std::vector<FeedCall> calls(n);
    std::vector<double> along(n, -1);
    for (std::size_t k = 0; k < n; ++k) {
        calls[k] = feed_.calls[rows[k]];
        if (!feed_.distances.empty())
            along[k] = feed_.distances[rows[k]];
        if (calls[k].arrival < 0)
            calls[k].arrival = calls[k].departure;
        if (calls[k].departure < 0)
            calls[k].departure = calls[k].arrival;
    }
    if (!fillTimes(calls, along)) {
        ++badTimes_;
        return true;
    }
    // A pattern's trips share their route, calls and service days.
    const std::uint32_t route[2] = {trip.route, std::uint32_t(serviceOf_[trip.service])};
    std::string key(reinterpret_cast<const char*>(route), sizeof route);
    std::vector<Timetable::PatternStop> stops(n);
    for (std::size_t k = 0; k < n; ++k) {
        const std::uint32_t rules = calls[k].stopAndRules & (Timetable::PatternStop::kBoard |
                                                             Timetable::PatternStop::kAlight);
        stops[k] = {std::uint32_t(stationOf(calls[k])) | rules, calls[k].sequence};
        key.append(reinterpret_cast<const char*>(&stops[k]), sizeof stops[k]);
    }
    const auto [found, added] = candidateOf_.emplace(key, std::uint32_t(candidates_.size()));
    if (added)
        candidates_.push_back({trip.route, stops, {}, {}});
    Candidate& c = candidates_[found->second];
    const auto addRun = [&](std::int64_t shift) {
        if (calls.back().departure + shift >= std::int64_t(kMaxStopTime))
            return false;
        c.trips.push_back(tripIndex);
        for (const FeedCall& call : calls) {
            c.times.push_back(std::uint32_t(call.arrival + shift));
            c.times.push_back(std::uint32_t(call.departure + shift));
        }
        return true;
    };
    if (runs.empty())
        return addRun(0);
    for (const FeedFrequency& f : runs)
        for (std::int64_t start = f.start; start < f.end; start += f.headway)
            if (!addRun(start - calls.front().departure)) {
                *error_ =
                    Timetable::tr("frequencies.txt: рейс «%1» доходит до 72 часов от начала дня")
                        .arg(QString::fromUtf8(parts_.strings.strings()[trip.tripId]));
                return false;
            }
    return true;
}

void Assembler::emitPatterns() {
    std::vector<std::uint32_t> runs;
    for (Candidate& c : candidates_) {
        step(0.5 + 0.5 * double(&c - candidates_.data()) / double(candidates_.size()),
             c.times.size());
        const std::size_t width = 2 * c.calls.size();
        runs.resize(c.trips.size());
        std::iota(runs.begin(), runs.end(), 0);
        const auto& strings = parts_.strings.strings();
        std::sort(runs.begin(), runs.end(), [&](std::uint32_t a, std::uint32_t b) {
            const auto x = c.times.begin() + std::ptrdiff_t(a * width);
            const auto y = c.times.begin() + std::ptrdiff_t(b * width);
            if (x[1] != y[1])
                return x[1] < y[1];
            if (!std::equal(x, x + std::ptrdiff_t(width), y))
                return std::lexicographical_compare(x, x + std::ptrdiff_t(width), y,
                                                    y + std::ptrdiff_t(width));
            return strings[feed_.trips[c.trips[a]].tripId] <
                   strings[feed_.trips[c.trips[b]].tripId];
        });
        for (const std::vector<std::uint32_t>& part : split(c, runs, false)) {
            if (keepsOrderAcrossDays(c, part)) {
                emitPattern(c, part);
                continue;
            }
            for (const std::vector<std::uint32_t>& shorter : split(c, part, true))
                emitPattern(c, shorter);
        }
        c = Candidate();
    }
    // Each trip's place in the byte order of the trip ids, for telling equal journeys apart.
    std::vector<std::uint32_t> ids;
    for (const Timetable::Trip& t : parts_.trips)
        ids.push_back(t.tripId);
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    const auto& strings = parts_.strings.strings();
    std::vector<std::uint32_t> byText = ids;
    std::sort(byText.begin(), byText.end(),
              [&](std::uint32_t a, std::uint32_t b) { return strings[a] < strings[b]; });
    std::unordered_map<std::uint32_t, std::uint32_t> rank;
    for (std::uint32_t k = 0; k < byText.size(); ++k)
        rank[byText[k]] = k;
    for (Timetable::Trip& t : parts_.trips)
        t.idRank = rank[t.tripId];
}

// Each run goes to the first part whose last run it does not overtake (and, spanning, whose
// first run is less than the span earlier at every call).
std::vector<std::vector<std::uint32_t>>
Assembler::split(const Candidate& c, const std::vector<std::uint32_t>& runs, bool spanning) const {
    const std::size_t width = 2 * c.calls.size();
    std::vector<std::vector<std::uint32_t>> parts;
    for (const std::uint32_t run : runs) {
        const auto fits = [&](const std::vector<std::uint32_t>& part) {
            const std::uint32_t* t = &c.times[run * width];
            const std::uint32_t* last = &c.times[part.back() * width];
            const std::uint32_t* first = &c.times[part.front() * width];
            for (std::size_t k = 0; k < width; ++k)
                if (t[k] < last[k] || (spanning && t[k] - first[k] >= kPatternSpan))
                    return false;
            return true;
        };
        const auto part = std::find_if(parts.begin(), parts.end(), fits);
        if (part == parts.end())
            parts.push_back({run});
        else
            part->push_back(run);
    }
    return parts;
}

// Whether the runs of the part, none overtaking another, also keep their order against the runs
// of the other days: at every call a run shifted by some days comes after the same runs (after
// those it meets exactly, too, as the search orders runs of equal times by day).
bool Assembler::keepsOrderAcrossDays(const Candidate& c,
                                     const std::vector<std::uint32_t>& part) const {
    const std::size_t width = 2 * c.calls.size(), n = part.size();
    const auto at = [&](std::size_t k, std::size_t column) {
        return std::int64_t(c.times[part[k] * width + column]);
    };
    for (const std::int64_t shift : dayShifts_)
        for (std::size_t b = 0; b < n; ++b) {
            std::size_t place = n + 1; // how many runs come first, the same at every call
            for (std::size_t column = 0; column < width; ++column) {
                const std::int64_t t = at(b, column) + shift;
                std::size_t low = 0, high = n;
                while (low < high) {
                    const std::size_t middle = (low + high) / 2;
                    if (at(middle, column) <= t)
                        low = middle + 1;
                    else
                        high = middle;
                }
                if (place <= n && low != place)
                    return false;
                place = low;
            }
        }
    return true;
}

void Assembler::addHops() {
    std::vector<std::pair<std::uint64_t, std::uint32_t>> sorted(hops_.begin(), hops_.end());
    std::sort(sorted.begin(), sorted.end());
    parts_.hopFirst.assign(parts_.stations.size() + 1, 0);
    for (const auto& [key, seconds] : sorted) {
        ++parts_.hopFirst[std::size_t(key >> 32) + 1];
        parts_.hops.push_back({std::uint32_t(key & 0xFFFFFFFF), seconds});
    }
    std::partial_sum(parts_.hopFirst.begin(), parts_.hopFirst.end(), parts_.hopFirst.begin());
}

void Assembler::emitPattern(const Candidate& c, const std::vector<std::uint32_t>& runs) {
    Timetable::Pattern p;
    p.route = c.route;
    p.firstStop = std::uint32_t(parts_.patternStops.size());
    p.stopCount = std::uint32_t(c.calls.size());
    p.firstTrip = std::uint32_t(parts_.trips.size());
    p.tripCount = std::uint32_t(runs.size());
    p.firstTime = parts_.stopTimes.size();
    parts_.patterns.push_back(p);
    parts_.patternStops.insert(parts_.patternStops.end(), c.calls.begin(), c.calls.end());
    const std::uint32_t lastName = parts_.stations[c.calls.back().station()].name;
    for (const std::uint32_t run : runs) {
        const FeedTrip& t = feed_.trips[c.trips[run]];
        const bool named = !parts_.strings.strings()[t.headsign].isEmpty();
        parts_.trips.push_back(
            {std::uint32_t(serviceOf_[t.service]), named ? t.headsign : lastName, t.tripId, 0});
    }
    const std::size_t width = 2 * c.calls.size();
    for (std::size_t k = 0; k + 1 < c.calls.size(); ++k) {
        std::uint32_t least = std::numeric_limits<std::uint32_t>::max();
        for (const std::uint32_t run : runs)
            least = std::min(least,
                             c.times[run * width + 2 * k + 2] - c.times[run * width + 2 * k + 1]);
        const std::uint64_t key =
            (std::uint64_t(c.calls[k + 1].station()) << 32) | c.calls[k].station();
        const auto [it, added] = hops_.emplace(key, least);
        if (!added)
            it->second = std::min(it->second, least);
    }
    for (const std::uint32_t run : runs)
        for (std::size_t k = 0; k < c.calls.size(); ++k)
            parts_.stopTimes.push_back(
                {c.times[run * width + 2 * k], c.times[run * width + 2 * k + 1]});
    for (std::size_t k = 0; k < c.calls.size(); ++k)
        for (const std::uint32_t run : runs)
            parts_.departures.push_back(c.times[run * width + 2 * k + 1]);
}

} // namespace

bool buildTimetable(const FeedSource& feed, const TimetableBuild& build, const GraphMap& map,
                    TimetableBuildResult* result, QString* error, const GtfsProgress& progress) {
    TimetableParts parts;
    FeedData data{QString(), parts.strings, {}, {}, {}, {}, {}, {}, {}, {}, {}};
    if (!readFeedData(feed, build.routes, data, error, progress))
        return false;
    if (progress && !progress(Timetable::tr("расписание"), 0)) {
        *error = Timetable::tr("построение расписания прервано");
        return false;
    }
    TimetableBuildResult local;
    if (!Assembler(data, build, map, parts, local.notes, error, progress).run())
        return false;
    local.file = writeTimetable(std::move(parts));
    *result = std::move(local);
    return true;
}

bool buildTimetable(const QString& feedPath, const TimetableBuild& build, const GraphMap& map,
                    TimetableBuildResult* result, QString* error, const GtfsProgress& progress) {
    const std::unique_ptr<FeedSource> source = openFeed(feedPath, error);
    return source && buildTimetable(*source, build, map, result, error, progress);
}

} // namespace lirsk
