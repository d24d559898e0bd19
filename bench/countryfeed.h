#pragma once

#include "import/feedsource.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <vector>

// A transit feed the size of a small country's (the Netherlands: about 60 000 stops, 750 000
// trips, 15 million stop times), generated with a fixed seed and streamed: stop_times.txt is
// written row by row as it is read, never held whole.
//
// 400 towns over 230 × 230 km, town sizes falling as 1 / rank^0.7, stops spread around each
// town's centre; town lines (from a stop no line serves yet to the nearest stops ahead, about 20
// calls; one line for 11 stops of the town, every 20 to 90 minutes), regional lines through
// chains of neighbouring towns (3 calls in each, about 20 calls, half-hourly), and trains between
// the 100 largest towns (one station each, up to 12 calls, half-hourly). Every line runs both
// ways on weekdays, Saturdays (half as often again) and Sundays (half as often), from early
// morning to past midnight, over four weeks with one holiday Monday running the Sunday service.

namespace bench {

class CountryFeed : public lirsk::FeedSource {
public:
    CountryFeed();

    bool has(const QString& name) const override;
    qint64 size(const QString&) const override { return 0; }
    std::unique_ptr<lirsk::FeedStream> open(const QString& name, QString* error) const override;

    int stopCount() const { return int(stops_.size()); }
    QString stopId(int stop) const { return QStringLiteral("s%1").arg(stop); }
    qint64 tripCount() const { return tripCount_; }
    qint64 stopTimeCount() const { return stopTimeCount_; }

    struct Stop {
        double lat, lon;
        int town;
    };
    struct Line {
        std::vector<int> stops;
        std::vector<int> seconds;     // running time from the first call to each call
        std::array<int, 3> headway{}; // weekday, Saturday, Sunday
        int first = 0, last = 0;      // the first and last departures, seconds after midnight
        int kind = 3;                 // route_type
    };
    const std::vector<Stop>& stops() const { return stops_; }
    const std::vector<Line>& lines() const { return lines_; }

private:
    void makeTowns();
    void makeTownLines();
    void makeRegionalLines();
    void makeTrains();
    void time(Line& line, double speed, int dwell);

    std::vector<Stop> stops_;
    std::vector<std::vector<int>> townStops_;
    std::vector<std::pair<double, double>> townCentres_;
    std::vector<Line> lines_;
    std::vector<bool> served_; // by a town line
    qint64 tripCount_ = 0, stopTimeCount_ = 0;
};

} // namespace bench
