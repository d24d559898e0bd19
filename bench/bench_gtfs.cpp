#include "import/gtfsimport.h"
#include "processrun.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <sys/resource.h>

// Importing a city-sized feed: 15 000 stops on 300 routes of 50 stops, 100 000 trips and so
// 5 000 000 stop_times rows, every tenth time blank, the trips of a route in both directions.
// Then what a stop_times row costs a fresh gaftool import-gtfs in resident memory: the peaks of
// two feeds alike but for their trips (400 and 1 200 a route: 6 and 18 million rows) apart, over
// the rows they differ by; for the map alone and for the map with its timetable.

namespace {

constexpr int kRoutes = 300;
constexpr int kStopsPerRoute = 50;
constexpr int kTripsPerRoute = 334;

bool writeFeed(const QString& dir, int tripsPerRoute = kTripsPerRoute) {
    const auto open = [&](const char* name) {
        return std::fopen(QString(dir + QLatin1Char('/') + QLatin1String(name)).toLocal8Bit(), "w");
    };
    FILE* stops = open("stops.txt");
    FILE* routes = open("routes.txt");
    FILE* trips = open("trips.txt");
    FILE* times = open("stop_times.txt");
    FILE* calendar = open("calendar.txt");
    FILE* agency = open("agency.txt");
    if (!stops || !routes || !trips || !times || !calendar || !agency)
        return false;
    std::fputs("agency_id,agency_name,agency_url,agency_timezone\n"
               "a,Город,https://example.org,Europe/Moscow\n",
               agency);
    std::fputs("service_id,monday,tuesday,wednesday,thursday,friday,saturday,sunday,start_date,"
               "end_date\nd,1,1,1,1,1,1,1,20260601,20260607\n",
               calendar);
    std::fputs("stop_id,stop_name,stop_lat,stop_lon\n", stops);
    std::fputs("route_id,route_short_name,route_type,route_color\n", routes);
    std::fputs("route_id,service_id,trip_id\n", trips);
    std::fputs("trip_id,arrival_time,departure_time,stop_id,stop_sequence\n", times);
    for (int r = 0; r < kRoutes; ++r) {
        std::fprintf(routes, "r%d,%d,%d,%06X\n", r, r + 1, r % 3 == 0 ? 0 : 3,
                     r * 40503 % 0xFFFFFF);
        // Routes run east-west and north-south across a 20 km city, 400 m between stops.
        for (int s = 0; s < kStopsPerRoute; ++s) {
            const double along = 0.0036 * s, across = 0.00066 * (r / 2);
            const double lat = 55.6 + (r % 2 ? along : across);
            const double lon = 37.4 + (r % 2 ? across : along);
            std::fprintf(stops, "s%d_%d,Остановка %d-%d,%.6f,%.6f\n", r, s, r, s, lat, lon);
        }
        for (int t = 0; t < tripsPerRoute; ++t) {
            std::fprintf(trips, "r%d,d,t%d_%d\n", r, r, t);
            int clock = 5 * 3600 + t * 300 % (60 * 3600); // under 72 h
            for (int k = 0; k < kStopsPerRoute; ++k) {
                const int s = t % 2 ? kStopsPerRoute - 1 - k : k;
                const int h = clock / 3600, m = clock / 60 % 60, sec = clock % 60;
                if (k % 10 == 5)
                    std::fprintf(times, "t%d_%d,,,s%d_%d,%d\n", r, t, r, s, k + 1);
                else
                    std::fprintf(times, "t%d_%d,%02d:%02d:%02d,%02d:%02d:%02d,s%d_%d,%d\n", r, t, h,
                                 m, sec, h, m, sec, r, s, k + 1);
                clock += 90 + (k * 7 + t) % 30;
            }
        }
    }
    return std::fclose(stops) == 0 && std::fclose(routes) == 0 && std::fclose(trips) == 0 &&
           std::fclose(times) == 0 && std::fclose(calendar) == 0 && std::fclose(agency) == 0;
}

void BM_ImportCityFeed(benchmark::State& state) {
    QTemporaryDir dir;
    if (!dir.isValid() || !writeFeed(dir.path())) {
        state.SkipWithError("cannot write the feed");
        return;
    }
    for (auto _ : state) {
        lirsk::GraphMap map;
        lirsk::GtfsImportResult result;
        QString error;
        if (!lirsk::importGtfs(dir.path(), {}, map, &result, &error)) {
            state.SkipWithError(error.toUtf8().constData());
            return;
        }
        state.counters["stops"] = map.stopCount();
        state.counters["links"] = map.linkCount();
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_mb"] = double(usage.ru_maxrss) / 1024;
}
BENCHMARK(BM_ImportCityFeed)->Unit(benchmark::kSecond)->Iterations(1);

void BM_ResidentPerStopTime(benchmark::State& state) {
    const std::string gaftool = bench::gaftoolBesideThisProgram();
    QTemporaryDir dir;
    const int trips[2] = {400, 1200};
    std::string feeds[2];
    for (int k = 0; k < 2; ++k) {
        const QString feed = dir.filePath(QString::number(trips[k]));
        feeds[k] = feed.toStdString();
        if (!QDir().mkpath(feed) || !writeFeed(feed, trips[k])) {
            state.SkipWithError("cannot write the feeds");
            return;
        }
    }
    const double rows = double(trips[1] - trips[0]) * kRoutes * kStopsPerRoute;
    const std::string map = dir.filePath(QStringLiteral("city.gaf")).toStdString();
    for (auto _ : state) {
        for (const bool timetable : {false, true}) {
            double peak[2];
            for (int k = 0; k < 2; ++k) {
                std::vector<std::string> args{gaftool, "import-gtfs", feeds[k], map, "--quiet"};
                if (!timetable)
                    args.push_back("--no-timetable");
                const bench::ProcessRun run = bench::runProcess(args);
                if (!run.ok) {
                    state.SkipWithError("gaftool import-gtfs failed");
                    return;
                }
                peak[k] = run.peakMegabytes;
            }
            state.counters[timetable ? "with_timetable_bytes_per_row" : "map_bytes_per_row"] =
                (peak[1] - peak[0]) * (1 << 20) / rows;
            state.counters[timetable ? "with_timetable_peak_mb" : "map_peak_mb"] = peak[1];
        }
    }
}
BENCHMARK(BM_ResidentPerStopTime)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
