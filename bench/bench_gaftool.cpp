// A fresh `gaftool route` on a 12 000-stop map against a fresh `gaftool --help`: the CPU (user
// and system, from wait4) of each process, 15 runs of each interleaved, their medians and the
// ratio (goal: under 1.5×).
//
// The map: a 110 × 110 grid 30 pixels apart, rows one-way in alternating directions, every
// second column one-way too (about 18 000 links), lengths 80 to 200 m and times not proportional
// to them, two to three routes a stop. gaftool is looked for beside this program.

#include "model/graphmap.h"
#include "model/mapfile.h"
#include "processrun.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using namespace lirsk;

constexpr int kSide = 110;
constexpr int kRuns = 15;

bool writeGrid(const QString& path) {
    GraphMap map;
    QRandomGenerator rng(12000);
    for (int k = 0; k < kSide * kSide; ++k) {
        Stop& stop = map.stop(map.AddStop((k % kSide) * 30, (k / kSide) * 30, false));
        stop.Id = k;
        const int row = k / kSide, column = k % kSide;
        stop.Label.Caption = QStringLiteral("Улица %1, дом %2").arg(row + 1).arg(column + 1);
        stop.Routes = QStringLiteral("A%1 T%2").arg(row + 1).arg(column + 1);
        if (row % 4 == 0)
            stop.Routes += QStringLiteral(" E%1").arg(row + 1);
    }
    map.MaxStopId = kSide * kSide - 1;
    const auto link = [&](int from, int to) {
        const double length = 80 + rng.bounded(121);
        map.AddLink(from, to, {0, length, std::round(length / (3 + rng.bounded(13)))});
    };
    for (int row = 0; row < kSide; ++row)
        for (int column = 0; column + 1 < kSide; ++column) {
            const int k = row * kSide + column;
            if (row % 2 == 0)
                link(k, k + 1);
            else
                link(k + 1, k);
        }
    for (int column = 0; column < kSide; column += 2)
        for (int row = 0; row + 1 < kSide; ++row) {
            const int k = row * kSide + column;
            if (column % 4 == 0)
                link(k, k + kSide);
            else
                link(k + kSide, k);
        }
    return saveMapFile(path, map, false, nullptr);
}

// The CPU seconds of one run of gaftool with the arguments; -1 when it failed.
double cpuOf(const std::vector<std::string>& args) {
    const bench::ProcessRun run = bench::runProcess(args);
    return run.ok ? run.cpuSeconds : -1;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void BM_FreshRoute(benchmark::State& state) {
    const std::string gaftool = bench::gaftoolBesideThisProgram();
    QTemporaryDir dir;
    const QString map = dir.filePath(QStringLiteral("grid.gaf"));
    if (!writeGrid(map)) {
        state.SkipWithError("the map was not written");
        return;
    }
    std::vector<double> help, route;
    for (auto _ : state) {
        for (int run = 0; run < kRuns; ++run) {
            help.push_back(cpuOf({gaftool, "--help"}));
            route.push_back(cpuOf({gaftool, "route", map.toStdString(), "0", "5000"}));
        }
    }
    if (std::min(*std::min_element(help.begin(), help.end()),
                 *std::min_element(route.begin(), route.end())) < 0) {
        state.SkipWithError("gaftool did not run");
        return;
    }
    state.counters["help_ms"] = median(help) * 1e3;
    state.counters["route_ms"] = median(route) * 1e3;
    state.counters["route_per_help"] = median(route) / median(help);
}

} // namespace

BENCHMARK(BM_FreshRoute)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
