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
    map.Settings.UserWeights = false;
    map.Ready = false;
    for (int k = 0; k < 3; ++k)
        map.AddStop(10 * k, 0, k, QString(), false)->Id = k;
    map.MaxStopId = 2;
    for (int k = 0; k < count / 2; ++k) {
        map.AddLink(map.stops()[0].get(), map.stops()[1].get());
        map.AddLink(map.stops()[1].get(), map.stops()[2].get());
    }
    map.UpdateArcFlags();
    map.Ready = true;
    return writeMap(map, false, nullptr).value_or(QByteArray());
}

void BM_DrawRadius(benchmark::State& state) {
    drawCrafted(state, [](GraphMap& map) { map.stops()[1]->Radius = 8323077; });
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
    map.Settings.UserWeights = false;
    map.Ready = false;
    const int branches = 50000;
    for (int k = 0; k < branches + 4; ++k)
        map.AddStop(k % 1000, k / 1000, k, QString(), false)->Id = k;
    map.MaxStopId = branches + 3;
    const auto stop = [&](int k) { return map.stops()[std::size_t(k)].get(); };
    map.AddLink(stop(0), stop(1))->Length = 10;
    map.AddLink(stop(1), stop(2))->Length = -5;
    map.AddLink(stop(2), stop(1))->Length = 1;
    for (int k = 0; k < branches; ++k)
        map.AddLink(stop(2), stop(4 + k))->Length = 7;
    map.UpdateArcFlags();
    map.Ready = true;
    for (auto _ : state) {
        const SearchResult r = FindWay(map, stop(0), stop(3));
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
