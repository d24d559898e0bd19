#include "import/gtfsimport.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <sys/resource.h>

// Importing a city-sized feed: 15 000 stops on 300 routes of 50 stops, 100 000 trips and so
// 5 000 000 stop_times rows, every tenth time blank, the trips of a route in both directions.

namespace {

constexpr int kRoutes = 300;
constexpr int kStopsPerRoute = 50;
constexpr int kTripsPerRoute = 334;

bool writeFeed(const QString& dir) {
    const auto open = [&](const char* name) {
        return std::fopen(QString(dir + QLatin1Char('/') + QLatin1String(name)).toLocal8Bit(), "w");
    };
    FILE* stops = open("stops.txt");
    FILE* routes = open("routes.txt");
    FILE* trips = open("trips.txt");
    FILE* times = open("stop_times.txt");
    if (!stops || !routes || !trips || !times)
        return false;
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
        for (int t = 0; t < kTripsPerRoute; ++t) {
            std::fprintf(trips, "r%d,d,t%d_%d\n", r, r, t);
            int clock = 5 * 3600 + t * 300;
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
           std::fclose(times) == 0;
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

} // namespace

BENCHMARK_MAIN();
