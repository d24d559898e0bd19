// Importing the generated country-sized feed (countryfeed.h: 59 000 stops, 780 000 trips,
// 15 million stop times) with a fresh `gaftool import-gtfs`, as the program's import runs it:
// the wall-clock and CPU time of the process and its peak resident memory (from wait4). The
// feed is written to a folder first (LIRSK_COUNTRY_FEED names one to keep between runs).
// gaftool is looked for beside this program.

#include "countryfeed.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

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

struct Run {
    double wallSeconds = -1, cpuSeconds = 0, peakMegabytes = 0;
};

Run runGaftool(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    QElapsedTimer clock;
    clock.start();
    pid_t pid = 0;
    const bool spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    Run run;
    int status = 0;
    rusage usage{};
    if (!spawned || wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return run;
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    run.wallSeconds = clock.nsecsElapsed() / 1e9;
    run.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    run.peakMegabytes = usage.ru_maxrss / 1024.0;
    return run;
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
    const std::string gaftool = QDir(QCoreApplication::applicationDirPath())
                                    .filePath(QStringLiteral("gaftool"))
                                    .toStdString();
    const std::string map = scratch.filePath(QStringLiteral("country.gaf")).toStdString();
    Run run;
    for (auto _ : state) {
        run = runGaftool({gaftool, "import-gtfs", feedDir.toStdString(), map});
        state.SetIterationTime(std::max(run.wallSeconds, 0.0));
    }
    if (run.wallSeconds < 0) {
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
