#include "citymap.h"

#include "app/mainwindow.h"
#include "app/mapwindow.h"
#include "edit/modal.h"
#include "model/mapfile.h"
#include "platform/messages.h"
#include "route/findway.h"
#include "view/maprenderer.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>

// Times what a user of a city-sized map waits for (2 000 stops / about 6 000 links and 20 000
// stops / about 60 000 links, see citymap.h): reading the file into the model, opening it in a
// map window until the first redraw is painted, one full RedrawMap, one step of dragging a stop,
// and a search between opposite corners of the city (the search alone and the window's whole
// search with its redraw and the drawn way). Peak memory is measured in a child process per size
// (this program run with --peak FILE), which opens the file in a window, searches once and prints
// its peak resident set; once more for the large map shown over a background picture.
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.

namespace {

using namespace lirsk;

QTemporaryDir* mapDir() {
    static QTemporaryDir dir;
    return &dir;
}

// The map file of a size, written once.
QString mapFile(int stops) {
    static std::map<int, QString> files;
    auto [it, added] = files.try_emplace(stops);
    if (added) {
        it->second = mapDir()->filePath(QStringLiteral("city%1.gaf").arg(stops));
        QString error;
        if (!bench::writeCityMap(stops, it->second, &error)) {
            std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(it->second),
                         qPrintable(error));
            std::exit(1);
        }
    }
    return it->second;
}

void pump() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
}

// A frame with one open map window, shown, its first redraw painted.
struct OpenWindow {
    std::unique_ptr<MainWindow> frame = std::make_unique<MainWindow>();
    MapWindow* child = nullptr;

    explicit OpenWindow(int stops) {
        frame->resize(1200, 900);
        frame->show();
        child = frame->OpenMap(mapFile(stops), QStringLiteral("Город"));
        if (!child) {
            std::fprintf(stderr, "the window did not open the map\n");
            std::exit(1);
        }
        pump();
    }
    ~OpenWindow() {
        for (QMdiSubWindow* window : frame->MdiArea->subWindowList()) {
            if (auto* map = qobject_cast<MapWindow*>(window->widget()))
                map->document().setModified(false);
            window->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

void setCounters(benchmark::State& state, const GraphMap& map) {
    state.counters["stops"] = map.stopCount();
    state.counters["links"] = map.linkCount();
}

void BM_ReadFile(benchmark::State& state) {
    const QString file = mapFile(int(state.range(0)));
    for (auto _ : state) {
        GraphMap map;
        QString error;
        if (!readMapFile(file, map, &error))
            state.SkipWithError(qPrintable(error));
        map.UpdateArcFlags();
        benchmark::DoNotOptimize(map.linkCount());
        state.PauseTiming();
        setCounters(state, map);
        map.FreeStops();
        state.ResumeTiming();
    }
}

void BM_OpenWindow(benchmark::State& state) {
    const int stops = int(state.range(0));
    mapFile(stops);
    for (auto _ : state) {
        auto window = std::make_unique<OpenWindow>(stops);
        state.PauseTiming();
        setCounters(state, window->child->Map());
        window.reset();
        state.ResumeTiming();
    }
}

void BM_RedrawMap(benchmark::State& state) {
    OpenWindow window(int(state.range(0)));
    for (auto _ : state) {
        window.child->RedrawMap(true);
        pump();
    }
    setCounters(state, window.child->Map());
}

// The graph image alone (what RedrawMap spends outside the widgets): every link, then every stop
// with its name, on a bitmap as large as the map.
void BM_RedrawGraph(benchmark::State& state) {
    auto map = bench::cityMap(int(state.range(0)));
    GraphCanvas canvas;
    const QRect extent = mapExtent(*map);
    canvas.resize(extent.width(), extent.height());
    for (auto _ : state) {
        RedrawGraph(canvas, *map);
        benchmark::DoNotOptimize(canvas.image.constBits());
    }
    state.counters["megapixels"] = double(extent.width()) * extent.height() / 1e6;
    setCounters(state, *map);
}

void sendMouse(QWidget* to, QEvent::Type type, const QPoint& at, Qt::MouseButtons held) {
    QMouseEvent event(type, at, to->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QCoreApplication::sendEvent(to, &event);
}

// One move of a stop held with the left button in the editor's pointer mode, painted.
void BM_DragStep(benchmark::State& state) {
    OpenWindow window(int(state.range(0)));
    MapWindow* child = window.child;
    child->SetEditorMode(true);
    child->editor().SetPointerMode();
    pump();
    const GraphMap& map = child->Map();
    const StopRef stop = map.stops()[std::size_t(map.stopCount() / 2)].get();
    const QPoint grip(stop->Left + stop->Width / 2, stop->Top + stop->Height / 2);
    sendMouse(child->view()->viewport(), QEvent::MouseButtonPress, grip, Qt::LeftButton);
    int step = 0;
    for (auto _ : state) {
        const QPoint at = grip + QPoint(step % 2 ? 0 : 3, step % 2 ? 0 : 2);
        sendMouse(child->view()->viewport(), QEvent::MouseMove, at, Qt::LeftButton);
        pump();
        ++step;
    }
    sendMouse(child->view()->viewport(), QEvent::MouseButtonRelease, grip, Qt::NoButton);
    pump();
    if (stop->Left + stop->Width / 2 != grip.x() && step > 0 && step % 2 == 0)
        state.SkipWithError("the stop did not follow the pointer");
    setCounters(state, map);
}

// The search alone, between the first and the last stop (opposite corners of the city).
void BM_Search(benchmark::State& state) {
    auto map = bench::cityMap(int(state.range(0)));
    StopRef start = map->stops().front().get();
    StopRef finish = map->stops().back().get();
    for (auto _ : state) {
        const SearchResult found = lirsk::FindWay(*map, start, finish);
        if (found.outcome != SearchOutcome::Found)
            state.SkipWithError("no way between the corners");
        benchmark::DoNotOptimize(found.length);
    }
    setCounters(state, *map);
}

// What the window does for a search: the search, a redraw, the way drawn and reported, painted.
void BM_WindowSearch(benchmark::State& state) {
    OpenWindow window(int(state.range(0)));
    const GraphMap& map = window.child->Map();
    StopRef start = map.stops().front().get();
    StopRef finish = map.stops().back().get();
    for (auto _ : state) {
        window.child->editor().FindWay(start, finish);
        pump();
    }
    setCounters(state, map);
}

constexpr int Small = 2000;
constexpr int Large = 20000;

BENCHMARK(BM_ReadFile)->Arg(Small)->Arg(Large)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenWindow)->Arg(Small)->Arg(Large)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawMap)->Arg(Small)->Arg(Large)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawGraph)->Arg(Small)->Arg(Large)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DragStep)->Arg(Small)->Arg(Large)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Search)->Arg(Small)->Arg(Large)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowSearch)->Arg(Small)->Arg(Large)->Unit(benchmark::kMillisecond);

// The peak resident set of this process (VmHWM; getrusage's ru_maxrss would count the parent's
// pages at the fork too).
long peakKilobytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// The child's part: the peak before and after opening the file in a window, and after a search
// between its first and last stop.
int measurePeak(const QString& file) {
    const long before = peakKilobytes();
    MainWindow frame;
    frame.resize(1200, 900);
    frame.show();
    pump();
    const long frameOnly = peakKilobytes();
    MapWindow* child = frame.OpenMap(file, file);
    if (!child)
        return 1;
    pump();
    const long opened = peakKilobytes();
    const GraphMap& map = child->Map();
    child->editor().FindWay(map.stops().front().get(), map.stops().back().get());
    pump();
    std::printf("%ld %ld %ld %ld\n", before, frameOnly, opened, peakKilobytes());
    return 0;
}

void reportPeaks(const char* self) {
    struct Case {
        int stops;
        QString city;
    };
    for (const Case& c : {Case{Small, {}}, Case{Large, {}}, Case{Large, QStringLiteral("Lirsk")}}) {
        QString file = mapFile(c.stops);
        if (!c.city.isEmpty()) {
            file = mapDir()->filePath(QStringLiteral("city%1-%2.gaf").arg(c.stops).arg(c.city));
            QString error;
            if (!bench::writeCityMap(c.stops, file, &error, c.city)) {
                std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(file), qPrintable(error));
                continue;
            }
        }
        QProcess child;
        child.start(QString::fromLocal8Bit(self), {QStringLiteral("--peak"), file});
        child.waitForFinished(-1);
        const QList<QByteArray> kb = child.readAllStandardOutput().simplified().split(' ');
        const QByteArray what = c.city.isEmpty() ? QByteArray("no picture")
                                                 : "the picture of " + c.city.toUtf8() + " shown";
        if (child.exitCode() != 0 || kb.size() != 4) {
            std::fprintf(stderr, "peak memory at %d stops, %s: not measured\n", c.stops,
                         what.constData());
            continue;
        }
        std::printf("peak memory at %d stops, %s: %.0f MB opened, %.0f MB after a search (a "
                    "shown frame without a map: %.0f MB, the process before any window: %.0f "
                    "MB)\n",
                    c.stops, what.constData(), kb[2].toDouble() / 1024, kb[3].toDouble() / 1024,
                    kb[1].toDouble() / 1024, kb[0].toDouble() / 1024);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    lirsk::setMessageHandler([](const lirsk::MessageRequest&) { return QMessageBox::Ok; });
    lirsk::setDialogRunner([](QDialog&) { return int(QDialog::Rejected); });
    if (argc == 3 && std::strcmp(argv[1], "--peak") == 0)
        return measurePeak(QString::fromLocal8Bit(argv[2]));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    reportPeaks(argv[0]);
    benchmark::Shutdown();
    return 0;
}
