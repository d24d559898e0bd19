#include "countryfeed.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <random>

namespace bench {

namespace {

constexpr int kTowns = 400;
constexpr int kStops = 60000;
constexpr double kHalfWidth = 115000; // metres
constexpr double kLat0 = 52.2, kLon0 = 5.3;
constexpr double kMetresPerDegree = 111195.08;
const char* const kDayTypes[] = {"wd", "sa", "su"};

QByteArray clock(int s) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", s / 3600, s / 60 % 60, s % 60);
    return QByteArray(text);
}

// A file read from text that is made as it is read: `more` appends the next piece, or says
// there is none.
class MadeStream : public lirsk::FeedStream {
public:
    MadeStream(QByteArray text, std::function<bool(QByteArray&)> more)
        : pending_(std::move(text)), more_(std::move(more)) {}
    qint64 read(char* buffer, qint64 size) override {
        while (qint64(pending_.size()) - at_ < size) {
            pending_.remove(0, at_);
            at_ = 0;
            if (!more_ || !more_(pending_))
                break;
        }
        const qint64 n = std::min(size, qint64(pending_.size()) - at_);
        std::memcpy(buffer, pending_.constData() + at_, std::size_t(n));
        at_ += n;
        return n;
    }
    QString error() const override { return QString(); }

private:
    QByteArray pending_;
    qint64 at_ = 0;
    std::function<bool(QByteArray&)> more_;
};

// The rows of stop_times.txt, one trip at a time, lines by day type, direction and departure.
class StopTimeRows {
public:
    explicit StopTimeRows(const CountryFeed& feed) : feed_(feed) {}
    bool operator()(QByteArray& text) {
        const auto& lines = feed_.lines();
        while (line_ < lines.size()) {
            const CountryFeed::Line& l = lines[line_];
            const int start = l.first + trip_ * l.headway[std::size_t(type_)];
            if (start <= l.last) {
                const QByteArray id = QByteArray("l") + QByteArray::number(qulonglong(line_)) +
                                      "abc"[direction_] + QByteArray::number(type_) + '_' +
                                      QByteArray::number(trip_);
                const std::size_t n = l.stops.size();
                for (std::size_t k = 0; k < n; ++k) {
                    const std::size_t at = direction_ ? n - 1 - k : k;
                    const int t =
                        start + (direction_ ? l.seconds.back() - l.seconds[at] : l.seconds[at]);
                    const QByteArray time = clock(t);
                    text += id + ',' + time + ',' + time + ",s" + QByteArray::number(l.stops[at]) +
                            ',' + QByteArray::number(qulonglong(k + 1)) + '\n';
                }
                ++trip_;
                return true;
            }
            trip_ = 0;
            if (++direction_ < 2)
                continue;
            direction_ = 0;
            if (++type_ < 3)
                continue;
            type_ = 0;
            ++line_;
        }
        return false;
    }

private:
    const CountryFeed& feed_;
    std::size_t line_ = 0;
    int type_ = 0, direction_ = 0, trip_ = 0;
};

std::mt19937_64& random() {
    static std::mt19937_64 generator(20260602);
    return generator;
}

double uniform(double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(random());
}

int pick(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random());
}

std::pair<double, double> metres(const CountryFeed::Stop& s) {
    return {(s.lon - kLon0) * kMetresPerDegree * std::cos(kLat0 * M_PI / 180),
            (s.lat - kLat0) * kMetresPerDegree};
}

} // namespace

CountryFeed::CountryFeed() {
    makeTowns();
    makeTownLines();
    makeRegionalLines();
    makeTrains();
    for (const Line& l : lines_)
        for (const int h : l.headway) {
            const qint64 trips = 2 * ((l.last - l.first) / h + 1);
            tripCount_ += trips;
            stopTimeCount_ += trips * qint64(l.stops.size());
        }
}

void CountryFeed::makeTowns() {
    std::vector<double> weights;
    double total = 0;
    for (int t = 0; t < kTowns; ++t)
        total += weights.emplace_back(1 / std::pow(t + 1, 0.7));
    townStops_.resize(kTowns);
    for (int t = 0; t < kTowns; ++t) {
        const double cx = uniform(-kHalfWidth, kHalfWidth), cy = uniform(-kHalfWidth, kHalfWidth);
        townCentres_.emplace_back(cx, cy);
        const int count = std::max(5, int(std::lround(kStops * weights[std::size_t(t)] / total)));
        std::normal_distribution<double> spread(0, 300 * std::sqrt(count / 20.0));
        for (int k = 0; k < count; ++k) {
            const double x = cx + spread(random()), y = cy + spread(random());
            townStops_[std::size_t(t)].push_back(int(stops_.size()));
            served_.push_back(false);
            stops_.push_back({kLat0 + y / kMetresPerDegree,
                              kLon0 + x / (kMetresPerDegree * std::cos(kLat0 * M_PI / 180)), t});
        }
    }
}

// Each town line goes from a stop to the nearest stops ahead of it, turning a little.
void CountryFeed::makeTownLines() {
    for (const std::vector<int>& town : townStops_) {
        for (int n = std::max(1, int(town.size()) / 11); n > 0; --n) {
            Line line;
            // From a stop no line serves yet, where there is one.
            std::vector<int> unserved;
            for (const int s : town)
                if (!served_[std::size_t(s)])
                    unserved.push_back(s);
            const std::vector<int>& starts = unserved.empty() ? town : unserved;
            line.stops.push_back(starts[std::size_t(pick(0, int(starts.size()) - 1))]);
            double heading = uniform(0, 2 * M_PI);
            while (line.stops.size() < std::min<std::size_t>(20, town.size())) {
                const auto [x, y] = metres(stops_[std::size_t(line.stops.back())]);
                int best = -1;
                double bestCost = 0;
                for (const int s : town) {
                    if (std::find(line.stops.begin(), line.stops.end(), s) != line.stops.end())
                        continue;
                    const auto [sx, sy] = metres(stops_[std::size_t(s)]);
                    const double d = std::hypot(sx - x, sy - y);
                    const double ahead =
                        d > 0 ? ((sx - x) * std::cos(heading) + (sy - y) * std::sin(heading)) / d
                              : 0;
                    const double cost =
                        std::max(d, 150.0) * (2.2 - ahead) * (served_[std::size_t(s)] ? 1.0 : 0.6);
                    if (best < 0 || cost < bestCost) {
                        best = s;
                        bestCost = cost;
                    }
                }
                const auto [bx, by] = metres(stops_[std::size_t(best)]);
                if (bx != x || by != y)
                    heading = std::atan2(by - y, bx - x) + uniform(-0.3, 0.3);
                line.stops.push_back(best);
            }
            if (line.stops.size() < 2)
                continue;
            for (const int s : line.stops)
                served_[std::size_t(s)] = true;
            const int headways[] = {20, 30, 45, 45, 60, 90};
            const int h = headways[pick(0, 5)] * 60;
            line.headway = {h, h * 3 / 2, h * 2};
            line.kind = pick(0, 9) == 0 ? 0 : 3;
            time(line, 7, 20);
            lines_.push_back(line);
        }
    }
}

// Regional lines call at three stops of each town of a chain of neighbouring towns.
void CountryFeed::makeRegionalLines() {
    for (int n = 0; n < 500; ++n) {
        Line line;
        int town = pick(0, kTowns - 1);
        double heading = uniform(0, 2 * M_PI);
        std::vector<int> visited;
        while (town >= 0 && line.stops.size() < 20) {
            visited.push_back(town);
            const std::vector<int>& stops = townStops_[std::size_t(town)];
            for (int k = 0; k < 3 && k < int(stops.size()); ++k)
                line.stops.push_back(stops[std::size_t(k)]);
            const auto [cx, cy] = townCentres_[std::size_t(town)];
            town = -1;
            double nearest = 25000;
            for (int t = 0; t < kTowns; ++t) {
                const auto [tx, ty] = townCentres_[std::size_t(t)];
                const double d = std::hypot(tx - cx, ty - cy);
                if (d < nearest && d > 0 &&
                    ((tx - cx) * std::cos(heading) + (ty - cy) * std::sin(heading)) > 0.5 * d &&
                    std::find(visited.begin(), visited.end(), t) == visited.end()) {
                    nearest = d;
                    town = t;
                }
            }
        }
        if (line.stops.size() < 4)
            continue;
        line.headway = {30 * 60, 60 * 60, 60 * 60};
        time(line, 12, 20);
        lines_.push_back(line);
    }
}

// Trains call at one station in each of the 100 largest towns of a chain.
void CountryFeed::makeTrains() {
    for (int n = 0; n < 150; ++n) {
        Line line;
        int town = pick(0, 99);
        const double heading = uniform(0, 2 * M_PI);
        while (town >= 0 && line.stops.size() < 12) {
            line.stops.push_back(townStops_[std::size_t(town)].front());
            const auto [cx, cy] = townCentres_[std::size_t(town)];
            town = -1;
            double nearest = 60000;
            for (int t = 0; t < 100; ++t) {
                const auto [tx, ty] = townCentres_[std::size_t(t)];
                const double d = std::hypot(tx - cx, ty - cy);
                if (d < nearest && d > 0 &&
                    ((tx - cx) * std::cos(heading) + (ty - cy) * std::sin(heading)) > 0.5 * d &&
                    std::find(line.stops.begin(), line.stops.end(),
                              townStops_[std::size_t(t)].front()) == line.stops.end()) {
                    nearest = d;
                    town = t;
                }
            }
        }
        if (line.stops.size() < 2)
            continue;
        line.headway = {30 * 60, 30 * 60, 60 * 60};
        line.kind = 2;
        time(line, 25, 60);
        lines_.push_back(line);
    }
}

// Running times at the line's speed with a dwell at each call, to the half minute; the first
// departure at 05:30 plus up to a headway, the last by 00:30.
void CountryFeed::time(Line& line, double speed, int dwell) {
    line.seconds = {0};
    for (std::size_t k = 1; k < line.stops.size(); ++k) {
        const auto [x1, y1] = metres(stops_[std::size_t(line.stops[k - 1])]);
        const auto [x2, y2] = metres(stops_[std::size_t(line.stops[k])]);
        const int ride = int(std::lround(std::hypot(x2 - x1, y2 - y1) / speed + dwell));
        line.seconds.push_back(line.seconds.back() + std::max(30, (ride + 15) / 30 * 30));
    }
    line.first = 5 * 3600 + 1800 + pick(0, line.headway[0] / 60) * 60;
    line.last = 24 * 3600 + 1800;
}

bool CountryFeed::has(const QString& name) const {
    static const QStringList files{"agency.txt",        "stops.txt",      "routes.txt",
                                   "trips.txt",         "stop_times.txt", "calendar.txt",
                                   "calendar_dates.txt"};
    return files.contains(name);
}

std::unique_ptr<lirsk::FeedStream> CountryFeed::open(const QString& name, QString*) const {
    if (name == QLatin1String("stop_times.txt"))
        return std::make_unique<MadeStream>(
            "trip_id,arrival_time,departure_time,stop_id,stop_sequence\n", StopTimeRows(*this));
    QByteArray text;
    if (name == QLatin1String("agency.txt")) {
        text = "agency_id,agency_name,agency_timezone\nNL,Land,Europe/Amsterdam\n";
    } else if (name == QLatin1String("stops.txt")) {
        text = "stop_id,stop_name,stop_lat,stop_lon\n";
        for (std::size_t s = 0; s < stops_.size(); ++s)
            text += "s" + QByteArray::number(qulonglong(s)) + ",Town " +
                    QByteArray::number(stops_[s].town) + " stop " +
                    QByteArray::number(qulonglong(s)) + ',' +
                    QByteArray::number(stops_[s].lat, 'f', 6) + ',' +
                    QByteArray::number(stops_[s].lon, 'f', 6) + '\n';
    } else if (name == QLatin1String("routes.txt")) {
        text = "route_id,route_short_name,route_type\n";
        for (std::size_t l = 0; l < lines_.size(); ++l)
            text += "r" + QByteArray::number(qulonglong(l)) + ',' +
                    QByteArray::number(qulonglong(l % 900 + 1)) + ',' +
                    QByteArray::number(lines_[l].kind) + '\n';
    } else if (name == QLatin1String("trips.txt")) {
        text = "route_id,service_id,trip_id\n";
        for (std::size_t l = 0; l < lines_.size(); ++l)
            for (int type = 0; type < 3; ++type)
                for (int direction = 0; direction < 2; ++direction)
                    for (int trip = 0;
                         lines_[l].first + trip * lines_[l].headway[std::size_t(type)] <=
                         lines_[l].last;
                         ++trip)
                        text += "r" + QByteArray::number(qulonglong(l)) + ',' + kDayTypes[type] +
                                ",l" + QByteArray::number(qulonglong(l)) + "abc"[direction] +
                                QByteArray::number(type) + '_' + QByteArray::number(trip) + '\n';
    } else if (name == QLatin1String("calendar.txt")) {
        text = "service_id,monday,tuesday,wednesday,thursday,friday,saturday,sunday,start_date,"
               "end_date\nwd,1,1,1,1,1,0,0,20260601,20260628\n"
               "sa,0,0,0,0,0,1,0,20260601,20260628\nsu,0,0,0,0,0,0,1,20260601,20260628\n";
    } else if (name == QLatin1String("calendar_dates.txt")) {
        text = "service_id,date,exception_type\nwd,20260615,2\nsu,20260615,1\n";
    }
    return std::make_unique<MadeStream>(text, nullptr);
}

} // namespace bench
