#include "countryfeed.h"

#include "import/gtfsimport.h"
#include "timetable/journeysearch.h"
#include "timetable/timetablebuilder.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <time.h>

// Journeys by the timetable on the New York subway (its timetable built at run time from
// /work/shared/data/gtfs/nyc_subway.zip, skipped when the feed is not there) and on a generated
// country-sized feed (countryfeed.h): single searches at random times of a weekday between
// random stations (p50, p99 of the thread's CPU time), 2-hour windows, opening the timetable
// file, its size.

namespace {

const QString kNycFeed = QStringLiteral("/work/shared/data/gtfs/nyc_subway.zip");

double megabytes(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qsizetype(std::strlen(field))).trimmed().split(' ').front().toDouble() /
                   1024;
    return 0;
}

// This thread's CPU time: the machine is shared, and a search is single-threaded.
double cpuMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

struct Network {
    lirsk::Timetable timetable;
    QString error;
    double buildSeconds = 0;
    double buildPeakMb = 0;
    QTemporaryDir dir;
    QString file;
};

void finish(Network& n, const lirsk::TimetableBuildResult& result, const QElapsedTimer& clock) {
    n.buildSeconds = double(clock.nsecsElapsed()) / 1e9;
    n.buildPeakMb = megabytes("VmHWM:");
    n.file = n.dir.filePath(QStringLiteral("city.gaft"));
    QFile f(n.file);
    if (!n.timetable.load(result.file, &n.error) || !f.open(QIODevice::WriteOnly) ||
        f.write(result.file) != result.file.size())
        n.error = n.error.isEmpty() ? f.errorString() : n.error;
}

Network& nyc() {
    static Network n;
    static bool made = false;
    if (made)
        return n;
    made = true;
    if (!QFile::exists(kNycFeed)) {
        n.error = kNycFeed + QStringLiteral(" is not there");
        return n;
    }
    QElapsedTimer clock;
    clock.start();
    lirsk::GraphMap map;
    lirsk::GtfsImportResult imported;
    lirsk::TimetableBuildResult result;
    if (lirsk::importGtfs(kNycFeed, {}, map, &imported, &n.error) &&
        lirsk::buildTimetable(kNycFeed, {}, map, &result, &n.error))
        finish(n, result, clock);
    return n;
}

// LIRSK_COUNTRY_TIMETABLE names a file to keep the country's timetable in between runs: read
// when it is there (the build's figures are then not measured), else written once built.
Network& country() {
    static Network n;
    static bool made = false;
    if (made)
        return n;
    made = true;
    const QString kept = qEnvironmentVariable("LIRSK_COUNTRY_TIMETABLE");
    if (!kept.isEmpty() && QFile::exists(kept)) {
        n.file = kept;
        n.timetable.read(kept, &n.error);
        return n;
    }
    QElapsedTimer clock;
    clock.start();
    const bench::CountryFeed feed;
    lirsk::GraphMap map;
    lirsk::TimetableBuild build;
    for (int s = 0; s < feed.stopCount(); ++s) {
        map.AddStop(s % 1000 * 10, s / 1000 * 10, s, QString(), false)->Id = s;
        build.mapStops.insert(feed.stopId(s), s);
    }
    lirsk::TimetableBuildResult result;
    if (lirsk::buildTimetable(feed, build, map, &result, &n.error))
        finish(n, result, clock);
    if (!kept.isEmpty() && n.error.isEmpty())
        QFile::copy(n.file, kept);
    return n;
}

// Random stations and times of Tuesday 2 June 2026 between 06:00 and 20:00, the same each run;
// every query is asked `passes` times and its least time counts (the machine is shared).
void search(benchmark::State& state, Network& n, int count, int window, int passes) {
    if (!n.error.isEmpty()) {
        state.SkipWithError(n.error.toUtf8().constData());
        return;
    }
    const lirsk::Timetable& t = n.timetable;
    lirsk::JourneySearch journeys(t);
    std::mt19937 random(7);
    const int stations = int(t.stations().size());
    const qint64 day = QDateTime(QDate(2026, 6, 2), QTime(0, 0), t.timeZone()).toSecsSinceEpoch();
    std::vector<lirsk::JourneyQuery> queries;
    while (int(queries.size()) < count) {
        lirsk::JourneyQuery query;
        query.from = {int(random() % unsigned(stations))};
        query.to = {int(random() % unsigned(stations))};
        query.departure = day + 6 * 3600 + random() % (14 * 3600);
        query.windowMinutes = window;
        if (query.from != query.to)
            queries.push_back(query);
    }
    std::vector<double> ms(queries.size(), 1e9);
    int answered = 0, found = 0;
    for (auto _ : state)
        for (int pass = 0; pass < passes; ++pass)
            for (std::size_t q = 0; q < queries.size(); ++q) {
                const double before = cpuMilliseconds();
                const std::vector<lirsk::Journey> result = journeys.search(queries[q]);
                ms[q] = std::min(ms[q], cpuMilliseconds() - before);
                if (pass == 0) {
                    answered += !result.empty();
                    found += int(result.size());
                }
            }
    std::sort(ms.begin(), ms.end());
    state.counters["p50_ms"] = ms[ms.size() / 2];
    state.counters["p99_ms"] = ms[ms.size() * 99 / 100];
    state.counters["max_ms"] = ms.back();
    state.counters["answered"] = double(answered) / double(ms.size());
    state.counters["journeys"] = double(found) / double(ms.size());
}

// Reading the file back, and what the timetable takes in memory.
void open(benchmark::State& state, Network& n) {
    if (!n.error.isEmpty()) {
        state.SkipWithError(n.error.toUtf8().constData());
        return;
    }
    double resident = 0;
    for (auto _ : state) {
        const double before = megabytes("VmRSS:");
        lirsk::Timetable t;
        QString error;
        if (!t.read(n.file, &error)) {
            state.SkipWithError(error.toUtf8().constData());
            return;
        }
        resident = megabytes("VmRSS:") - before;
    }
    const lirsk::Timetable& t = n.timetable;
    state.counters["stations"] = double(t.stations().size());
    state.counters["trips"] = double(t.trips().size());
    state.counters["stop_times"] = double(t.stopTimeCount());
    state.counters["patterns"] = double(t.patterns().size());
    state.counters["walks"] = double(t.walkCount());
    state.counters["file_mb"] = double(t.bytes().size()) / 1048576;
    state.counters["bytes_per_stop_time"] = double(t.bytes().size()) / double(t.stopTimeCount());
    state.counters["resident_mb"] = resident;
    state.counters["build_s"] = n.buildSeconds;
    state.counters["build_peak_mb"] = n.buildPeakMb;
}

void BM_NycSearch(benchmark::State& state) {
    search(state, nyc(), 1000, 0, 5);
}
void BM_NycWindow2h(benchmark::State& state) {
    search(state, nyc(), 200, 120, 3);
}
void BM_NycOpen(benchmark::State& state) {
    open(state, nyc());
}
void BM_CountrySearch(benchmark::State& state) {
    search(state, country(), 300, 0, 3);
}
void BM_CountryWindow2h(benchmark::State& state) {
    search(state, country(), 50, 120, 2);
}
void BM_CountryOpen(benchmark::State& state) {
    open(state, country());
}

BENCHMARK(BM_NycSearch)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_NycWindow2h)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_NycOpen)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_CountryOpen)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_CountrySearch)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_CountryWindow2h)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
