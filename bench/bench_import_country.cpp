// Importing the generated country-sized feed (countryfeed.h: 59 000 stops, 780 000 trips,
// 15 million stop times) with a fresh `gaftool import-gtfs`, as the program's import runs it:
// the wall-clock and CPU time of the process and its peak resident memory (from wait4). The
// feed is written to a folder first (LIRSK_COUNTRY_FEED names one to keep between runs).
// gaftool is looked for beside this program.

#include "countryfeed.h"
#include "processrun.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

bool writeFeed(const QString& dir) {
    const bench::CountryFeed feed;
    for (const char* name : {"agency.txt", "stops.txt", "routes.txt", "trips.txt", "stop_times.txt",
                             "calendar.txt", "calendar_dates.txt"}) {
        const QString file = QString::fromLatin1(name);
        if (!feed.has(file))
            continue;
        QString error;
        const std::unique_ptr<lirsk::FeedStream> in = feed.open(file, &error);
        QFile out(QDir(dir).filePath(file));
        if (!in || !out.open(QIODevice::WriteOnly))
            return false;
        std::vector<char> buffer(1 << 20);
        for (qint64 n; (n = in->read(buffer.data(), qint64(buffer.size()))) != 0;)
            if (n < 0 || out.write(buffer.data(), n) != n)
                return false;
    }
    return true;
}

void BM_ImportCountry(benchmark::State& state) {
    QTemporaryDir scratch;
    QString feedDir = qEnvironmentVariable("LIRSK_COUNTRY_FEED");
    if (feedDir.isEmpty())
        feedDir = scratch.filePath(QStringLiteral("feed"));
    if (!QFileInfo::exists(QDir(feedDir).filePath(QStringLiteral("stop_times.txt"))) &&
        !(QDir().mkpath(feedDir) && writeFeed(feedDir))) {
        state.SkipWithError("the feed was not written");
        return;
    }
    const std::string gaftool = bench::gaftoolBesideThisProgram();
    const std::string map = scratch.filePath(QStringLiteral("country.gaf")).toStdString();
    bench::ProcessRun run;
    for (auto _ : state) {
        run = bench::runProcess({gaftool, "import-gtfs", feedDir.toStdString(), map});
        state.SetIterationTime(run.wallSeconds);
    }
    if (!run.ok) {
        state.SkipWithError("gaftool import-gtfs failed");
        return;
    }
    state.counters["cpu_s"] = run.cpuSeconds;
    state.counters["peak_MB"] = run.peakMegabytes;
}

} // namespace

BENCHMARK(BM_ImportCountry)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
