// Undo and redo in a map window of 100 000 stops (a grid, each stop joined by roads to its right
// and lower neighbours): one stop deleted and brought back, a road added and taken away, a drag of
// one stop. Each iteration is an undo and a redo (half its time is one of them); the goal is
// under 50 ms each. The counter
// "command_bytes" is what the command holds: the stop and the links it took out, or the links it
// changed, as values.
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.

#include "app/mainwindow.h"
#include "app/mapwindow.h"
#include "app/recovery.h"

#include "document/edits.h"
#include "platform/messages.h"

#include <QApplication>
#include <QUndoStack>

#include <benchmark/benchmark.h>

namespace {

using namespace lirsk;

constexpr int kColumns = 400;
constexpr int kStops = 100000;

MapWindow& window() {
    static MainWindow* frame = new MainWindow;
    static MapWindow* w = [] {
        MapWindow* made = frame->CreateMapWindow(QStringLiteral("Город"));
        GraphMap& map = made->Map();
        map.Settings.UserWeights = false;
        for (int i = 0; i < kStops; ++i)
            map.stop(map.AddStop((i % kColumns) * 30, (i / kColumns) * 30, false)).Id = i;
        for (int i = 0; i < kStops; ++i) {
            for (int next : {i + 1, i + kColumns}) {
                if (next >= kStops || (next == i + 1 && next % kColumns == 0))
                    continue;
                const double length = map.cornerDistance(i, next);
                map.AddLink(i, next, {0, length, 0});
                map.AddLink(next, i, {0, length, 0});
            }
        }
        map.MaxStopId = kStops - 1;
        made->document().markReloaded();
        // The editor changes a map only in its editor mode.
        made->SetEditorMode(true);
        return made;
    }();
    return *w;
}

// Undoes and redoes the last command, timing both, and reports what the command holds.
void undoAndRedo(benchmark::State& state, std::size_t commandBytes) {
    MapEditor& editor = window().editor();
    for (auto _ : state) {
        editor.Undo();
        editor.Redo();
    }
    state.counters["command_bytes"] = double(commandBytes);
    // The edit is taken back, so that the next run (or benchmark) finds the map as it was.
    editor.Undo();
    editor.undoStack()->clear();
}

// What a command object holds beside its own data: Qt's command and the document it names.
constexpr std::size_t kCommandBytes = sizeof(QUndoCommand) + sizeof(void*) * 2;

void BM_DeleteStop(benchmark::State& state) {
    MapEditor& editor = window().editor();
    const StopIndex stop = kStops / 2 + kColumns / 2;
    std::size_t incoming = 0;
    for (const Stop& other : window().Map().stops())
        for (const Link& link : other.Links)
            incoming += link.To == stop;
    const std::size_t bytes = kCommandBytes + sizeof(std::vector<StopIndex>) + sizeof(StopIndex) +
                              sizeof(TakenStops) + sizeof(std::pair<StopIndex, Stop>) +
                              window().Map().stop(stop).Links.size() * sizeof(Link) +
                              incoming * sizeof(TakenStops::IncomingLink);
    editor.DeleteStop(stop);
    undoAndRedo(state, bytes);
}

void BM_AddRoad(benchmark::State& state) {
    MapEditor& editor = window().editor();
    const StopIndex a = kStops / 3;
    const StopIndex b = kStops / 3 + 2 * kColumns;
    editor.AddRoad(a, b);
    undoAndRedo(state, kCommandBytes + 2 * sizeof(StopIndex) + sizeof(RoadWeight) + sizeof(bool));
}

void BM_MoveStop(benchmark::State& state) {
    MapEditor& editor = window().editor();
    const StopIndex stop = kStops / 4;
    const QPoint from(window().Map().stop(stop).centreX(), window().Map().stop(stop).centreY());
    const QPoint to = from + QPoint(7, 5);
    editor.pressed({MapHit::Stop, stop}, {from, Qt::LeftButton, Qt::LeftButton, {}, {}});
    editor.moved({MapHit::Stop, stop}, {to, Qt::NoButton, Qt::LeftButton, {}, {}});
    editor.released({MapHit::Stop, stop}, {to, Qt::LeftButton, Qt::NoButton, {}, {}});
    undoAndRedo(state, kCommandBytes + 3 * sizeof(std::vector<StopIndex>) + sizeof(StopIndex) +
                           2 * sizeof(StopPlace));
}

// The crash copy as the program's thread pays for it: the map taken, the writing handed to a
// thread of its own (waited for outside the timing).
void BM_CrashCopy(benchmark::State& state) {
    RecoveryKeeper keeper(&window());
    for (auto _ : state) {
        if (!keeper.write())
            state.SkipWithError("the copy cannot be written");
        state.PauseTiming();
        keeper.finishWriting();
        state.ResumeTiming();
    }
    keeper.discard();
}

} // namespace

// The writing waited for between copies takes far longer than the timed part: a fixed count.
BENCHMARK(BM_CrashCopy)->Iterations(40)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteStop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddRoad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MoveStop)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    lirsk::setMessageHandler([](const lirsk::MessageRequest&) { return QMessageBox::Ok; });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
