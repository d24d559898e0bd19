#include "model/mapfile.h"
#include "route/findway.h"
#include "view/maprenderer.h"

#include <QFile>
#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <functional>

// Maps changed on purpose to be slow: one field of a shipped map made extreme (drawn as gaftool
// render draws it), many duplicate links (loaded from their file), and a cycle of negative
// length with many branches (one search). Each should take well under a second.

namespace {

using namespace lirsk;

QByteArray shippedMap() {
    QFile file(QStringLiteral(LIRSK_TOOLBOX_MAPS "/MEkater.gaf"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void drawCrafted(benchmark::State& state, const std::function<void(GraphMap&)>& craft) {
    GraphMap map;
    if (!readMap(shippedMap(), map, nullptr)) {
        state.SkipWithError("the shipped map does not read");
        return;
    }
    craft(map);
    const QRect extent = mapExtent(map);
    GraphCanvas canvas;
    canvas.resize(std::min(extent.width(), 16000) + 10, std::min(extent.height(), 16000) + 10);
    for (auto _ : state)
        RedrawGraph(canvas, map);
}

// From stop 0, the first of 100 000 links 0 -> 1 and as many 1 -> 2.
QByteArray duplicateLinks(int count) {
    GraphMap map;
    for (int k = 0; k < 3; ++k)
        map.stop(map.AddStop(10 * k, 0, false)).Id = k;
    map.MaxStopId = 2;
    for (int k = 0; k < count / 2; ++k) {
        map.appendLink(0, {0, 10, 0, 1, true});
        map.appendLink(1, {0, 10, 0, 2, true});
    }
    map.UpdateArcFlags();
    return writeMap(map, false, nullptr).value_or(QByteArray());
}

void BM_DrawRadius(benchmark::State& state) {
    drawCrafted(state, [](GraphMap& map) { map.stop(1).Radius = 8323077; });
}
void BM_DrawArrowSize(benchmark::State& state) {
    drawCrafted(state, [](GraphMap& map) { map.Settings.ArrowSize = 6000000; });
}
void BM_DrawArcWidth(benchmark::State& state) {
    drawCrafted(state, [](GraphMap& map) { map.Settings.ArcWidth = 1000000; });
}

void BM_LoadDuplicateLinks(benchmark::State& state) {
    const QByteArray bytes = duplicateLinks(100000);
    for (auto _ : state) {
        GraphMap map;
        benchmark::DoNotOptimize(readMap(bytes, map, nullptr));
    }
}

// Start -> a <-> b with a negative round, and b feeding 50 000 branch stops.
void BM_SearchNegativeCycle(benchmark::State& state) {
    GraphMap map;
    const int branches = 50000;
    for (int k = 0; k < branches + 4; ++k)
        map.stop(map.AddStop(k % 1000, k / 1000, false)).Id = k;
    map.MaxStopId = branches + 3;
    map.appendLink(0, {0, 10, 0, 1, true});
    map.appendLink(1, {0, -5, 0, 2, true});
    map.appendLink(2, {0, 1, 0, 1, true});
    for (int k = 0; k < branches; ++k)
        map.appendLink(2, {0, 7, 0, 4 + k, true});
    map.UpdateArcFlags();
    for (auto _ : state) {
        const SearchResult r = FindWay(map, 0, 3);
        if (r.outcome != SearchOutcome::NegativeCycle)
            state.SkipWithError("the negative cycle went unseen");
    }
}

} // namespace

BENCHMARK(BM_DrawRadius)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawArrowSize)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawArcWidth)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadDuplicateLinks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchNegativeCycle)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
