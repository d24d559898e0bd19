#include "citymap.h"

#include "app/mainwindow.h"
#include "app/mapwindow.h"
#include "model/mapfile.h"
#include "platform/messages.h"
#include "route/findway.h"
#include "view/maprenderer.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>

// Times what a user of a city-sized map waits for in a map window, on grid cities of 2 000,
// 20 000 and 100 000 stops (about three links a stop, see citymap.h) and on a radial network of
// 100 000 stops: reading the file, opening it until it is painted (and how often the map is
// painted meanwhile), one step of dragging a stop or a marked group, one step of panning, one
// step of zooming, the release that finds a way until the report is shown and the way painted,
// a press on a stop or on a name, and the window's search; the press, a zoom step and a pan step
// on a grid city of 1 000 000 stops too. Every step that changes what is shown includes painting
// what it made out of date, as the event loop paints it. Peak memory is measured in a child
// process per map (this program run with --peak FILE).
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise, in a frame of
// 1200 × 900 pixels.

namespace {

using namespace lirsk;

enum Network { Grid, Radial };

QTemporaryDir* mapDir() {
    static QTemporaryDir dir;
    return &dir;
}

// The map file of a network and size, written once.
QString mapFile(int stops, Network network) {
    static std::map<std::pair<int, Network>, QString> files;
    auto [it, added] = files.try_emplace({stops, network});
    if (added) {
        it->second = mapDir()->filePath(
            QStringLiteral("%1%2.gaf").arg(network == Radial ? "radial" : "city").arg(stops));
        QString error;
        const bool written = network == Radial ? bench::writeRadialMap(stops, it->second, &error)
                                               : bench::writeCityMap(stops, it->second, &error);
        if (!written) {
            std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(it->second),
                         qPrintable(error));
            std::exit(1);
        }
    }
    return it->second;
}

Network networkOf(const benchmark::State& state) {
    return state.range(1) == Radial ? Radial : Grid;
}

void pump() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
}

// Counts the paint events of map views' viewports: of one view, or of every view.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(MapView* view = nullptr) : view_(view) {
        if (view_)
            view_->viewport()->installEventFilter(this);
        else
            qApp->installEventFilter(this);
    }
    ~PaintCounter() override {
        if (!view_)
            qApp->removeEventFilter(this);
    }
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            const auto* view = qobject_cast<MapView*>(watched->parent());
            if (view && view->viewport() == watched && (!view_ || view == view_))
                ++count;
        }
        return false;
    }

private:
    MapView* view_;
};

// A shown frame of 1200 × 900.
std::unique_ptr<MainWindow> shownFrame() {
    auto frame = std::make_unique<MainWindow>();
    // The report is answered at once.
    frame->programDialogs().setRunner([](QDialog&) { return int(QDialog::Rejected); });
    frame->resize(1200, 900);
    frame->show();
    pump();
    return frame;
}

void closeMaps(MainWindow& frame) {
    for (QMdiSubWindow* window : frame.MdiArea->subWindowList()) {
        if (auto* map = qobject_cast<MapWindow*>(window->widget()))
            map->document().setModified(false);
        window->close();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A frame with one open map window, shown, the map painted.
struct OpenWindow {
    std::unique_ptr<MainWindow> frame = shownFrame();
    MapWindow* child = nullptr;

    OpenWindow(int stops, Network network) {
        child = frame->OpenMap(mapFile(stops, network), QStringLiteral("Город"));
        if (!child) {
            std::fprintf(stderr, "the window did not open the map\n");
            std::exit(1);
        }
        pump();
    }
    ~OpenWindow() { closeMaps(*frame); }

    MapView* view() const { return child->view(); }
    QWidget* viewport() const { return child->view()->viewport(); }
    // Shows the drawn map and takes the pointer mode, as a map maker does.
    void editMap() {
        child->SetEditorMode(true);
        child->editor().SetPointerMode();
        pump();
    }
    // Sets the zoom and shows the map point in the middle of the viewport.
    void showAt(double zoom, const QPoint& mapPoint) {
        view()->setZoom(zoom);
        view()->centreOn(mapPoint);
        pump();
    }
    // Where a map point is in the viewport.
    QPoint onScreen(const QPoint& mapPoint) const {
        return view()->mapToViewport(QPointF(mapPoint)).toPoint();
    }
};

QPoint centreOf(const Stop& stop) {
    return QPoint(stop.Left + stop.Width / 2, stop.Top + stop.Height / 2);
}

QPoint middleOf(const GraphMap& map) {
    const QRect extent = mapExtent(map);
    return extent.center();
}

void setCounters(benchmark::State& state, const OpenWindow& window) {
    const GraphMap& map = window.child->Map();
    state.counters["stops"] = map.stopCount();
    state.counters["links"] = map.linkCount();
    state.counters["zoom"] = window.view()->zoom();
}

// Paints per timed step, so a step that painted nothing shows.
void setPaints(benchmark::State& state, const PaintCounter& paints) {
    state.counters["paints"] = benchmark::Counter(paints.count, benchmark::Counter::kAvgIterations);
}

void sendMouse(QWidget* to, QEvent::Type type, const QPoint& at, Qt::MouseButton button,
               Qt::MouseButtons held) {
    QMouseEvent event(type, at, to->mapToGlobal(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(to, &event);
}

void press(QWidget* to, const QPoint& at) {
    sendMouse(to, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
}

void moveHeld(QWidget* to, const QPoint& at) {
    sendMouse(to, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
}

void release(QWidget* to, const QPoint& at) {
    sendMouse(to, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
}

// What a press at a viewport point hits.
MapHit hitOn(const OpenWindow& window, const QPoint& at) {
    return window.view()->hitAt(window.view()->viewportToMap(at), true);
}

// The stop in the middle of the map.
StopIndex middleStop(const GraphMap& map, Network network) {
    if (network == Radial)
        return 0;
    const int side = int(std::ceil(std::sqrt(double(map.stopCount()))));
    return side * (side / 2) + side / 2;
}

void BM_ReadFile(benchmark::State& state) {
    const QString file = mapFile(int(state.range(0)), networkOf(state));
    for (auto _ : state) {
        GraphMap map;
        QString error;
        if (!readMapFile(file, map, &error))
            state.SkipWithError(qPrintable(error));
        map.UpdateArcFlags();
        benchmark::DoNotOptimize(map.linkCount());
        state.PauseTiming();
        state.counters["stops"] = map.stopCount();
        state.counters["links"] = map.linkCount();
        map.clearStops();
        state.ResumeTiming();
    }
}

// OpenMap in a shown frame until the map is painted; "paints" counts the paints of the map's
// viewport until the event loop is idle again.
void BM_OpenWindow(benchmark::State& state) {
    const QString file = mapFile(int(state.range(0)), networkOf(state));
    int paints = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto frame = shownFrame();
        PaintCounter counter;
        state.ResumeTiming();
        MapWindow* child = frame->OpenMap(file, QStringLiteral("Город"));
        for (int round = 0; child && counter.count == 0 && round < 100; ++round)
            pump();
        state.PauseTiming();
        if (!child || counter.count == 0) {
            state.SkipWithError("the map was not opened and painted");
            break;
        }
        pump();
        pump();
        paints += counter.count;
        state.counters["stops"] = child->Map().stopCount();
        state.counters["links"] = child->Map().linkCount();
        closeMaps(*frame);
        frame.reset();
        state.ResumeTiming();
    }
    state.counters["paints"] = benchmark::Counter(paints, benchmark::Counter::kAvgIterations);
}

// One move of a held stop in the editor's pointer mode at 100 %, painted; with range(1) the
// stop is one of a marked group of 100 stops that moves with it.
void BM_DragStep(benchmark::State& state) {
    OpenWindow window(int(state.range(0)), Grid);
    window.editMap();
    const GraphMap& map = window.child->Map();
    const StopIndex stop = middleStop(map, Grid);
    // With a group, another marked stop must move as the held one does.
    StopIndex follower = stop;
    if (state.range(1) != 0) {
        const int first = stop - 50;
        for (int k = first; k < first + 100; ++k)
            window.child->editor().ToggleSelected(k);
        follower = first;
    }
    window.showAt(1.0, centreOf(map.stop(stop)));
    const QPoint grip = window.onScreen(centreOf(map.stop(stop)));
    const MapHit hit = hitOn(window, grip);
    if (hit.kind != MapHit::Stop || hit.stop != stop) {
        state.SkipWithError("the press does not hit the stop");
        return;
    }
    QWidget* viewport = window.viewport();
    press(viewport, grip);
    pump();
    const QPoint held = centreOf(map.stop(stop)), followed = centreOf(map.stop(follower));
    PaintCounter paints(window.view());
    QPoint pointer = grip;
    for (auto _ : state) {
        pointer = pointer == grip ? grip + QPoint(3, 2) : grip;
        moveHeld(viewport, pointer);
        pump();
    }
    state.counters["marked"] = window.child->editor().SelectedCount();
    const bool moved = centreOf(map.stop(stop)) == window.view()->viewportToMap(pointer) &&
                       centreOf(map.stop(follower)) - followed == centreOf(map.stop(stop)) - held;
    release(viewport, pointer);
    pump();
    if (!moved)
        state.SkipWithError("the stops did not follow the pointer");
    setCounters(state, window);
    setPaints(state, paints);
}

// The zooms of the pan and zoom steps.
enum ZoomAt { Full, Quarter, Fit };

double zoomOf(const OpenWindow& window, int at) {
    switch (at) {
    case Quarter:
        return 0.25;
    case Fit:
        return window.view()->fitZoom();
    default:
        return 1.0;
    }
}

// One step of panning by 40 pixels across the drawn map, painted, at 100 %, 25 % or the fit zoom
// (range(1)). The map fits the viewport at the fit zoom, where nothing can scroll: there the
// step repaints the whole viewport as a scroll does ("panned" 0).
void BM_PanStep(benchmark::State& state) {
    OpenWindow window(int(state.range(0)), Grid);
    window.editMap();
    const GraphMap& map = window.child->Map();
    window.showAt(zoomOf(window, int(state.range(1))), middleOf(map));
    QScrollBar* bar = window.view()->horizontalScrollBar();
    const int from = bar->value();
    const bool scrolls = bar->maximum() - bar->minimum() >= 40;
    const int to = from + 40 <= bar->maximum() ? from + 40 : from - 40;
    PaintCounter paints(window.view());
    int step = 0;
    for (auto _ : state) {
        if (scrolls)
            bar->setValue(step % 2 ? from : to);
        else
            window.viewport()->update();
        pump();
        ++step;
    }
    state.counters["panned"] = scrolls ? 40 : 0;
    setCounters(state, window);
    setPaints(state, paints);
}

// One zoom step by 1.25 about the middle of the viewport, painted: in and out again alternately,
// from the fit zoom or from 100 % (range(1)), on the drawn map.
void BM_ZoomStep(benchmark::State& state) {
    OpenWindow window(int(state.range(0)), Grid);
    window.editMap();
    const GraphMap& map = window.child->Map();
    const double base = zoomOf(window, int(state.range(1)));
    window.showAt(base, middleOf(map));
    PaintCounter paints(window.view());
    int step = 0;
    for (auto _ : state) {
        window.view()->setZoom(step % 2 ? base : base * 1.25);
        pump();
        ++step;
    }
    setCounters(state, window);
    setPaints(state, paints);
}

// In the find-way mode the window opens in, at the fit zoom: a press on a stop in one corner (or
// at the end of a line), a move to the opposite one, then the timed release: the search, the way
// drawn, the report shown (the dialog answered at once) and the map painted. The index kept
// between searches is built by the first release, timed apart ("first_ms").
void BM_FindWayRelease(benchmark::State& state) {
    const Network network = networkOf(state);
    OpenWindow window(int(state.range(0)), network);
    window.view()->zoomToFit();
    pump();
    const GraphMap& map = window.child->Map();
    const auto [start, finish] = bench::farApart(map, network == Radial);
    const QPoint to = window.onScreen(centreOf(map.stop(finish)));
    // At a low zoom a pixel spans many map pixels and the stop's name begins right of its centre:
    // the press goes to the nearest pixel that hits a stop.
    QPoint from = window.onScreen(centreOf(map.stop(start)));
    MapHit pressed = hitOn(window, from);
    for (int d = 1; d <= 2 && pressed.kind != MapHit::Stop; ++d) {
        for (const QPoint side : {QPoint(-d, 0), QPoint(0, -d), QPoint(0, d), QPoint(d, 0)}) {
            pressed = hitOn(window, from + side);
            if (pressed.kind == MapHit::Stop) {
                from += side;
                break;
            }
        }
    }
    const StopIndex reached = window.view()->stopAt(window.view()->viewportToMap(to));
    if (pressed.kind != MapHit::Stop || reached == NoStop) {
        state.SkipWithError("the press or the release does not fall on a stop");
        return;
    }
    QWidget* viewport = window.viewport();
    const auto search = [&] {
        release(viewport, to);
        pump();
    };
    const auto prepare = [&] {
        press(viewport, from);
        moveHeld(viewport, to);
        pump();
    };
    prepare();
    QElapsedTimer first;
    first.start();
    search();
    state.counters["first_ms"] = double(first.nsecsElapsed()) / 1e6;
    PaintCounter paints(window.view());
    int preparing = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const int before = paints.count;
        prepare();
        preparing += paints.count - before;
        state.ResumeTiming();
        search();
    }
    const FoundWay& way = window.child->document().foundWay();
    if (way.stops.empty() || way.stops.front() != reached || way.stops.back() != pressed.stop)
        state.SkipWithError("no way between the pressed and the released stop");
    state.counters["way_stops"] = double(way.stops.size());
    setCounters(state, window);
    state.counters["paints"] =
        benchmark::Counter(paints.count - preparing, benchmark::Counter::kAvgIterations);
}

// A press and its release on a stop, or on a stop's name (range(1)), in the middle of the map at
// 100 % in the find-way mode; the repaints they ask for are left out.
void BM_Press(benchmark::State& state) {
    OpenWindow window(int(state.range(0)), Grid);
    const GraphMap& map = window.child->Map();
    const StopIndex stop = middleStop(map, Grid);
    const Stop& pressed = map.stop(stop);
    const bool onName = state.range(1) != 0;
    window.showAt(1.0, centreOf(pressed));
    const QPoint at = window.onScreen(onName ? QPoint(pressed.Label.Left + 3, pressed.Label.Top + 4)
                                             : centreOf(pressed));
    const MapHit hit = hitOn(window, at);
    if (hit.kind != (onName ? MapHit::Name : MapHit::Stop) || hit.stop != stop) {
        state.SkipWithError("the press does not hit what it should");
        return;
    }
    QWidget* viewport = window.viewport();
    for (auto _ : state) {
        press(viewport, at);
        release(viewport, at);
        state.PauseTiming();
        pump();
        state.ResumeTiming();
    }
    setCounters(state, window);
}

// The search alone, between the stops farthest apart.
void BM_Search(benchmark::State& state) {
    const Network network = networkOf(state);
    const int stops = int(state.range(0));
    auto map = network == Radial ? bench::radialCityMap(stops) : bench::cityMap(stops);
    const auto [start, finish] = bench::farApart(*map, network == Radial);
    for (auto _ : state) {
        const SearchResult found = lirsk::FindWay(*map, start, finish);
        if (found.outcome != SearchOutcome::Found)
            state.SkipWithError("no way between the stops");
        benchmark::DoNotOptimize(found.length);
    }
    state.counters["stops"] = map->stopCount();
    state.counters["links"] = map->linkCount();
}

// The window's search between the same stops (index kept, way drawn, report shown), painted, at
// the zoom the window opens with.
void BM_WindowSearch(benchmark::State& state) {
    const Network network = networkOf(state);
    OpenWindow window(int(state.range(0)), network);
    const auto [start, finish] = bench::farApart(window.child->Map(), network == Radial);
    for (auto _ : state) {
        window.child->editor().FindWay(start, finish);
        pump();
    }
    setCounters(state, window);
}

constexpr int Small = 2000;
constexpr int Large = 20000;
constexpr int Huge = 100000;
constexpr int Giant = 1000000;

// Fixed iteration counts, so each case opens its window once.
int iterations(int stops, int small) {
    if (stops == Giant)
        return std::max(small / 100, 3);
    return stops == Huge ? std::max(small / 10, 3) : stops == Large ? small / 2 : small;
}

void registerAll() {
    const auto add = [](const char* name, void (*fn)(benchmark::State&), int stops, int variant,
                        int count) {
        benchmark::RegisterBenchmark(name, fn)
            ->Args({stops, variant})
            ->Iterations(iterations(stops, count))
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    };
    for (int stops : {Small, Large, Huge}) {
        add("read_file", BM_ReadFile, stops, Grid, 40);
        add("open_window", BM_OpenWindow, stops, Grid, 10);
        add("drag_step", BM_DragStep, stops, 0, 40);
        add("drag_step_group", BM_DragStep, stops, 1, 40);
        add("pan_step_100", BM_PanStep, stops, Full, 40);
        add("pan_step_25", BM_PanStep, stops, Quarter, 40);
        add("pan_step_fit", BM_PanStep, stops, Fit, 40);
        add("zoom_step_fit", BM_ZoomStep, stops, Fit, 40);
        add("zoom_step_100", BM_ZoomStep, stops, Full, 40);
        add("findway_release", BM_FindWayRelease, stops, Grid, 40);
        add("press_stop", BM_Press, stops, 0, 100);
        add("press_name", BM_Press, stops, 1, 100);
        add("search", BM_Search, stops, Grid, 40);
        add("window_search", BM_WindowSearch, stops, Grid, 40);
    }
    // A press must not walk the map, nor a zoom or pan step: at 1 000 000 stops too.
    add("press_stop", BM_Press, Giant, 0, 1000);
    add("press_name", BM_Press, Giant, 1, 1000);
    add("zoom_step_fit", BM_ZoomStep, Giant, Fit, 600);
    add("zoom_step_25", BM_ZoomStep, Giant, Quarter, 600);
    add("zoom_step_100", BM_ZoomStep, Giant, Full, 600);
    add("pan_step_fit", BM_PanStep, Giant, Fit, 600);
    add("pan_step_25", BM_PanStep, Giant, Quarter, 600);
    add("pan_step_100", BM_PanStep, Giant, Full, 600);
    add("read_file_radial", BM_ReadFile, Huge, Radial, 40);
    add("open_window_radial", BM_OpenWindow, Huge, Radial, 10);
    add("findway_release_radial", BM_FindWayRelease, Huge, Radial, 40);
    add("search_radial", BM_Search, Huge, Radial, 40);
    add("window_search_radial", BM_WindowSearch, Huge, Radial, 40);
}

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

// The child's part: the peak before any window, with the frame shown, after opening the file in
// a window until painted, and after a search between its stops farthest apart, painted.
int measurePeak(const QString& file, bool radial) {
    const long before = peakKilobytes();
    auto frame = shownFrame();
    const long frameOnly = peakKilobytes();
    MapWindow* child = frame->OpenMap(file, file);
    if (!child)
        return 1;
    pump();
    const long opened = peakKilobytes();
    const auto [start, finish] = bench::farApart(child->Map(), radial);
    child->editor().FindWay(start, finish);
    pump();
    std::printf("%ld %ld %ld %ld\n", before, frameOnly, opened, peakKilobytes());
    return 0;
}

void reportPeaks(const char* self) {
    struct Case {
        int stops;
        Network network;
    };
    for (const Case& c :
         {Case{Small, Grid}, Case{Large, Grid}, Case{Huge, Grid}, Case{Huge, Radial}}) {
        const char* kind = c.network == Radial ? "radial network" : "grid city";
        QProcess child;
        child.start(QString::fromLocal8Bit(self),
                    {QString::fromLatin1(c.network == Radial ? "--peak-radial" : "--peak"),
                     mapFile(c.stops, c.network)});
        child.waitForFinished(-1);
        const QList<QByteArray> kb = child.readAllStandardOutput().simplified().split(' ');
        if (child.exitCode() != 0 || kb.size() != 4) {
            std::fprintf(stderr, "peak memory, %s of %d stops: not measured\n", kind, c.stops);
            continue;
        }
        std::printf("peak memory, %s of %d stops: %.0f MB opened, %.0f MB after a search (a "
                    "shown frame without a map: %.0f MB, the process before any window: %.0f "
                    "MB)\n",
                    kind, c.stops, kb[2].toDouble() / 1024, kb[3].toDouble() / 1024,
                    kb[1].toDouble() / 1024, kb[0].toDouble() / 1024);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    lirsk::setMessageHandler([](const lirsk::MessageRequest&) { return QMessageBox::Ok; });
    if (argc == 3 && std::strcmp(argv[1], "--peak") == 0)
        return measurePeak(QString::fromLocal8Bit(argv[2]), false);
    if (argc == 3 && std::strcmp(argv[1], "--peak-radial") == 0)
        return measurePeak(QString::fromLocal8Bit(argv[2]), true);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    registerAll();
    benchmark::RunSpecifiedBenchmarks();
    reportPeaks(argv[0]);
    benchmark::Shutdown();
    return 0;
}
