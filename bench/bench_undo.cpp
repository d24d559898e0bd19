// Undo and redo in a map window of 100 000 stops (a grid, each stop joined by roads to its right
// and lower neighbours): one stop deleted and brought back, a road added and taken away, a drag of
// one stop. Each iteration is an undo and a redo (half its time is one of them); the goal is
// under 50 ms each. The counter
// "command_bytes" is what the command holds: the stop and the links it took out, or the links it
// changed, as values.
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.

#include "app/mapwindow.h"

#include "edit/editcommands.h"
#include "platform/messages.h"

#include <QApplication>
#include <QUndoStack>

#include <benchmark/benchmark.h>

namespace {

using namespace lirsk;

constexpr int kColumns = 400;
constexpr int kStops = 100000;

MapWindow& window() {
    static MapWindow* w = [] {
        auto* made = new MapWindow(nullptr);
        GraphMap& map = made->Map();
        map.Ready = false;
        map.Settings.UserWeights = false;
        for (int i = 0; i < kStops; ++i) {
            StopRef stop = map.AddStop((i % kColumns) * 30, (i / kColumns) * 30, i, {}, false);
            stop->Id = i;
        }
        for (int i = 0; i < kStops; ++i) {
            StopRef stop = map.stops()[std::size_t(i)].get();
            for (int next : {i + 1, i + kColumns}) {
                if (next >= kStops || (next == i + 1 && next % kColumns == 0))
                    continue;
                StopRef other = map.stops()[std::size_t(next)].get();
                map.AddLink(stop, other);
                map.AddLink(other, stop);
            }
        }
        map.UpdateArcFlags();
        map.MaxStopId = kStops - 1;
        map.Ready = true;
        made->document().markReloaded();
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
    editor.undoStack()->clear();
}

std::size_t linkBytes(std::size_t links) {
    return links * (sizeof(Link) + sizeof(std::unique_ptr<Link>));
}

void BM_DeleteStop(benchmark::State& state) {
    MapEditor& editor = window().editor();
    StopRef stop = window().Map().stops()[kStops / 2 + kColumns / 2].get();
    std::size_t incoming = 0;
    for (const auto& other : window().Map().stops())
        for (const auto& link : other->Links)
            incoming += link->To == stop;
    const std::size_t bytes = sizeof(DeleteStopsCommand) + sizeof(TakenStop) + sizeof(Stop) +
                              linkBytes(stop->Links.size()) +
                              incoming * sizeof(TakenStop::IncomingLink) + linkBytes(incoming);
    editor.DeleteStop(stop);
    undoAndRedo(state, bytes);
    editor.Undo();
}

void BM_AddRoad(benchmark::State& state) {
    MapEditor& editor = window().editor();
    StopRef a = window().Map().stops()[kStops / 3].get();
    StopRef b = window().Map().stops()[kStops / 3 + 2 * kColumns].get();
    editor.AddRoad(a, b);
    undoAndRedo(state, sizeof(LinksCommand) + 2 * sizeof(Link) + 2 * 64);
    editor.Undo();
}

void BM_MoveStop(benchmark::State& state) {
    MapEditor& editor = window().editor();
    StopRef stop = window().Map().stops()[kStops / 4].get();
    const QPoint from(stop->centreX(), stop->centreY());
    const QPoint to = from + QPoint(7, 5);
    editor.pressed({MapHit::Stop, stop}, {from, Qt::LeftButton, Qt::LeftButton, {}, {}});
    editor.moved({MapHit::Stop, stop}, {to, Qt::NoButton, Qt::LeftButton, {}, {}});
    editor.released({MapHit::Stop, stop}, {to, Qt::LeftButton, Qt::NoButton, {}, {}});
    undoAndRedo(state, sizeof(MoveCommand) + sizeof(StopRef) + 2 * sizeof(StopPlace));
    editor.Undo();
}

} // namespace

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
