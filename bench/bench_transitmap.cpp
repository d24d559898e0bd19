// Real feeds drawn as transit maps (each skipped when its feed is not there): the routes of each
// link ordered, the names placed at a zoom, the whole map drawn; with the share of names shown,
// names overprinting another name or a stop, and names outside the map, as counters.

#include "import/gtfsimport.h"
#include "layout/schematicmap.h"
#include "view/maprenderer.h"
#include "view/nameplacer.h"

#include <QFileInfo>
#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <map>

using namespace lirsk;

namespace {

const QString kFeeds = QStringLiteral("/work/shared/data/gtfs/");

struct ImportedMap {
    GraphMap map;
    MapDescription description;
    bool ok = false;
};

const ImportedMap& imported(const QString& feed) {
    static std::map<QString, ImportedMap> maps;
    auto [it, added] = maps.try_emplace(feed);
    if (added && QFileInfo::exists(kFeeds + feed)) {
        GtfsImportResult result;
        QString error;
        it->second.ok = importGtfs(kFeeds + feed, {}, it->second.map, &result, &error);
        it->second.description = result.description;
    }
    return it->second;
}

const char* const kFeedNames[] = {"nyc_subway.zip", "lirr.zip", "mta_bus_si.zip",
                                  "utsunomiya_lrt.zip"};

// The names placed at a zoom (timed when the state runs), counted: the share shown, those
// overprinting another name or a stop, those outside the map.
void countNames(benchmark::State& state, const GraphMap& map, const MapDescription& description,
                double zoom) {
    const LineBundles lines(map, description);
    const QRectF bounds(QPointF(0, 0), QSizeF(mapExtent(map).size()));
    NamePlaces places;
    for (auto _ : state)
        places = placeDescribedNames(map, description, lines, zoom, bounds);

    int shown = 0, named = 0, overprinting = 0, outside = 0;
    for (StopIndex i = 0; i < map.stopCount(); ++i) {
        named += map.stop(i).Label.Visible;
        const QRectF box = places.boxes[std::size_t(i)];
        if (box.isEmpty())
            continue;
        ++shown;
        outside += !bounds.contains(box);
        for (StopIndex j = 0; j < map.stopCount(); ++j) {
            const Stop& other = map.stop(j);
            if (j != i &&
                (box.intersects(places.boxes[std::size_t(j)]) ||
                 box.intersects(QRectF(other.Left, other.Top, other.Width, other.Height)))) {
                ++overprinting;
                break;
            }
        }
    }
    state.counters["names"] = named;
    state.counters["shown_pct"] = named ? 100.0 * shown / named : 0;
    state.counters["overprinting"] = overprinting;
    state.counters["outside"] = outside;
}

void BM_OrderLines(benchmark::State& state) {
    const ImportedMap& m = imported(QLatin1String(kFeedNames[state.range(0)]));
    if (!m.ok) {
        state.SkipWithError("feed not there");
        return;
    }
    state.SetLabel(kFeedNames[state.range(0)]);
    for (auto _ : state)
        benchmark::DoNotOptimize(LineBundles(m.map, m.description));
}

// Zoom in hundredths.
void BM_PlaceNames(benchmark::State& state) {
    const ImportedMap& m = imported(QLatin1String(kFeedNames[state.range(0)]));
    if (!m.ok) {
        state.SkipWithError("feed not there");
        return;
    }
    const double zoom = state.range(1) / 100.0;
    state.SetLabel(QStringLiteral("%1 at %2 %")
                       .arg(QLatin1String(kFeedNames[state.range(0)]))
                       .arg(state.range(1))
                       .toStdString());
    countNames(state, m.map, m.description, zoom);
}

// The whole map drawn at 100 % as gaftool render draws it.
void BM_DrawWholeMap(benchmark::State& state) {
    const ImportedMap& m = imported(QLatin1String(kFeedNames[state.range(0)]));
    if (!m.ok) {
        state.SkipWithError("feed not there");
        return;
    }
    state.SetLabel(kFeedNames[state.range(0)]);
    GraphCanvas canvas;
    const QRect extent = mapExtent(m.map);
    canvas.resize(extent.width() + 10, extent.height() + 10);
    for (auto _ : state)
        RedrawGraph(canvas, m.map, nullptr, &m.description);
}

// The schematic layout (goal for the New York subway: < 1 s), with its figures and the names
// placed on it at 100 %.
void BM_SchematicLayout(benchmark::State& state) {
    const ImportedMap& m = imported(QLatin1String(kFeedNames[state.range(0)]));
    if (!m.ok) {
        state.SkipWithError("feed not there");
        return;
    }
    state.SetLabel(kFeedNames[state.range(0)]);
    QList<LaidOutStop> places;
    SchematicFigures figures;
    QString error;
    for (auto _ : state)
        if (!schematicPlaces(m.map, &m.description, &places, &figures, &error)) {
            state.SkipWithError(error.toStdString().c_str());
            return;
        }
    state.counters["links"] = figures.links;
    state.counters["octilinear_pct"] = 100.0 * figures.octilinearLinks / figures.links;
    state.counters["new_crossings"] = figures.newCrossings;
}

// The names placed on the schematic at a zoom in hundredths, counted as on the map as imported.
void BM_PlaceNamesOnSchematic(benchmark::State& state) {
    const ImportedMap& m = imported(QLatin1String(kFeedNames[state.range(0)]));
    QList<LaidOutStop> places;
    SchematicFigures figures;
    QString error;
    if (!m.ok || !schematicPlaces(m.map, &m.description, &places, &figures, &error)) {
        state.SkipWithError("feed not there, or no schematic for it");
        return;
    }
    state.SetLabel(QStringLiteral("%1 at %2 %")
                       .arg(QLatin1String(kFeedNames[state.range(0)]))
                       .arg(state.range(1))
                       .toStdString());
    GraphMap schematic = m.map;
    moveToLayout(schematic, places);
    countNames(state, schematic, m.description, state.range(1) / 100.0);
}

void zoomSteps(benchmark::internal::Benchmark* b) {
    for (int feed = 0; feed < int(std::size(kFeedNames)); ++feed)
        // The view's zoom steps from 26 % to 381 %, and 200 %.
        for (const int zoom : {26, 33, 41, 51, 64, 80, 100, 125, 156, 195, 200, 244, 305, 381})
            b->Args({feed, zoom});
}

BENCHMARK(BM_OrderLines)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlaceNames)->Apply(zoomSteps)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawWholeMap)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SchematicLayout)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlaceNamesOnSchematic)
    ->ArgsProduct({{0, 1, 3}, {51, 100, 200}})
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
