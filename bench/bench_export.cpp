// Maps written as files and put on paper: the New York subway (from its feed, when it is there)
// to PDF and SVG, a 100 000-stop city to PDF, and the print preview of a page; each with the
// file's size as a counter.

#include "app/mapprinting.h"
#include "citymap.h"
#include "document/mapdocument.h"
#include "import/gtfsimport.h"
#include "view/mapexport.h"
#include "view/mapview.h"

#include <QApplication>
#include <QFileInfo>
#include <QPrintPreviewWidget>

#include <benchmark/benchmark.h>

using namespace lirsk;

namespace {

const QString kNycFeed = QStringLiteral("/work/shared/data/gtfs/nyc_subway.zip");

// An open map: its document and a view of it.
struct OpenMap {
    MapDocument document;
    std::unique_ptr<MapView> view;
};

// The New York subway as imported, or null when its feed is not there.
OpenMap* newYork() {
    static std::unique_ptr<OpenMap> map;
    if (!map && QFileInfo::exists(kNycFeed)) {
        map = std::make_unique<OpenMap>();
        GtfsImportResult result;
        QString error;
        if (!importGtfs(kNycFeed, {}, map->document.map(), &result, &error)) {
            map.reset();
            return nullptr;
        }
        map->document.setDescription(result.description);
        map->view = std::make_unique<MapView>(&map->document);
    }
    return map.get();
}

OpenMap* city() {
    static std::unique_ptr<OpenMap> map;
    if (!map) {
        map = std::make_unique<OpenMap>();
        map->document.map() = std::move(*bench::cityMap(100000));
        map->view = std::make_unique<MapView>(&map->document);
    }
    return map.get();
}

void exportWhole(benchmark::State& state, OpenMap* map, ExportFormat format) {
    if (!map) {
        state.SkipWithError("feed not there");
        return;
    }
    MapExport what;
    what.area = QRect(QPoint(0, 0), map->view->mapSize() + QSize(10, 10));
    QByteArray bytes;
    QString error;
    for (auto _ : state)
        bytes = exportMapBytes(*map->view, format, what, &error);
    if (bytes.isEmpty())
        state.SkipWithError(qPrintable(error));
    state.counters["MB"] = bytes.size() / 1e6;
}

void BM_NewYorkToPdf(benchmark::State& state) {
    exportWhole(state, newYork(), ExportFormat::Pdf);
}
void BM_NewYorkToSvg(benchmark::State& state) {
    exportWhole(state, newYork(), ExportFormat::Svg);
}
void BM_CityOf100000StopsToPdf(benchmark::State& state) {
    exportWhole(state, city(), ExportFormat::Pdf);
}

// The preview's pages made anew (as a change of the choices does) and the page shown drawn.
void BM_PrintPreviewOfAPage(benchmark::State& state) {
    OpenMap* map = newYork();
    if (!map) {
        state.SkipWithError("feed not there");
        return;
    }
    MapPrintDialog dialog(map->view.get(), QStringLiteral("New York"));
    dialog.resize(900, 700);
    dialog.show();
    for (auto _ : state) {
        dialog.preview()->updatePreview();
        benchmark::DoNotOptimize(dialog.preview()->grab());
    }
    state.counters["pages"] = dialog.preview()->pageCount();
}

} // namespace

BENCHMARK(BM_NewYorkToPdf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NewYorkToSvg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CityOf100000StopsToPdf)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_PrintPreviewOfAPage)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
