// The journey panel on a city of 100 000 stops (citymap.h): both ends chosen until the first row
// of the ways found shows in the list (goal: under 150 ms), and until every row shows, with the
// map's view hidden and shown; a key typed into «Откуда» until its suggestions are shown (goal:
// under 20 ms).
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise, in a frame of
// 1200 × 900 pixels.

#include "citymap.h"

#include "app/journeypanel.h"
#include "app/mainwindow.h"
#include "app/mapwindow.h"
#include "platform/messages.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

using namespace lirsk;

constexpr int kStops = 100000;

void pump() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
}

// A shown frame with the city open in a map window.
struct OpenCity {
    QTemporaryDir dir;
    std::unique_ptr<MainWindow> frame = std::make_unique<MainWindow>();
    MapWindow* child = nullptr;
    JourneyPanel* panel = frame->journeyPanel;

    OpenCity() {
        const QString file = dir.filePath(QStringLiteral("city.gaf"));
        QString error;
        if (!bench::writeCityMap(kStops, file, &error)) {
            std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(file), qPrintable(error));
            std::exit(1);
        }
        frame->programDialogs().setRunner([](QDialog&) { return int(QDialog::Rejected); });
        frame->resize(1200, 900);
        frame->show();
        child = frame->OpenMap(file, QStringLiteral("Город"));
        if (!child) {
            std::fprintf(stderr, "the window did not open the map\n");
            std::exit(1);
        }
        pump();
    }
    ~OpenCity() {
        child->document().setModified(false);
        for (QMdiSubWindow* window : frame->MdiArea->subWindowList())
            window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

OpenCity& city() {
    static OpenCity open;
    return open;
}

// Waits, the events going on, until the list holds a row, or (every) until the search is over.
bool waitForRows(const JourneyPanel* panel, bool every) {
    QElapsedTimer waited;
    waited.start();
    while (panel->waysList()->count() == 0 ||
           (every && panel->stateLabel()->text().startsWith(QStringLiteral("Поиск")))) {
        if (waited.elapsed() > 60000)
            return false;
        pump();
        QThread::usleep(200);
    }
    return true;
}

// Notes when the list is first painted with a row in it.
class FirstRowPaint : public QObject {
public:
    explicit FirstRowPaint(QListWidget* list) : m_list(list) {
        list->viewport()->installEventFilter(this);
    }
    void start() {
        m_clock.start();
        m_painted = -1;
    }
    qint64 painted() const { return m_painted; }
    qint64 elapsed() const { return m_clock.nsecsElapsed(); }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && m_painted < 0 && m_list->count() > 0)
            m_painted = m_clock.nsecsElapsed();
        return false;
    }

private:
    QListWidget* m_list;
    QElapsedTimer m_clock;
    qint64 m_painted = -1;
};

// The far corners of the city chosen as both ends (a drag's), swapped every time; timed until the
// list is first painted with a row (range(0) = 0), or until the search is over and every row is
// painted (1); with the map's view hidden (range(1) = 0), or shown (1), when the way chosen is
// drawn on the map too.
void BM_WaysShown(benchmark::State& state) {
    OpenCity& open = city();
    const auto [start, finish] = bench::farApart(open.child->Map(), false);
    const bool every = state.range(0) == 1;
    open.child->view()->setVisible(state.range(1) == 1);
    QListWidget* list = open.panel->waysList();
    FirstRowPaint paint(list);
    bool forth = true;
    for (auto _ : state) {
        // The searches of the ways not yet listed end first: the planner's thread finishes the
        // criterion it is at before it takes a new search.
        waitForRows(open.panel, true);
        open.panel->setEnds(NoStop, NoStop);
        pump();
        paint.start();
        open.panel->setEnds(forth ? start : finish, forth ? finish : start);
        forth = !forth;
        if (!waitForRows(open.panel, every)) {
            state.SkipWithError("no row came");
            break;
        }
        while (!every && paint.painted() < 0)
            pump();
        if (every)
            list->viewport()->repaint();
        state.SetIterationTime(double(every ? paint.elapsed() : paint.painted()) / 1e9);
    }
    state.counters["rows"] = list->count();
    state.counters["stops"] = open.child->Map().stopCount();
}

// One key typed into «Откуда» (then taken back), until the suggestions are shown and painted.
void BM_FromKey(benchmark::State& state) {
    OpenCity& open = city();
    QLineEdit* edit = open.panel->fromEdit();
    QAbstractItemView* popup = open.panel->completer(true)->popup();
    const QString word = open.child->Map().stop(kStops / 2).Label.Caption;
    int typed = 0;
    for (auto _ : state) {
        if (typed == word.size()) {
            state.PauseTiming();
            edit->clear();
            typed = 0;
            state.ResumeTiming();
        }
        QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QString(word[typed++]));
        QCoreApplication::sendEvent(edit, &key);
        if (popup->isVisible())
            popup->viewport()->repaint();
    }
    state.counters["stops"] = open.child->Map().stopCount();
}

BENCHMARK(BM_WaysShown)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();
BENCHMARK(BM_FromKey)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    lirsk::setMessageHandler([](const lirsk::MessageRequest&) { return QMessageBox::Ok; });
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
