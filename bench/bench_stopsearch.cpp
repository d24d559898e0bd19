// The stop list filtered as the user types into the search box, on a map of 100 000 stops: the
// model alone (StopListModel::setFilter), and a key in the box of a shown left panel until the
// list is painted. The goal is under 50 ms a key. The suggestions of the journey panel's
// «Откуда» field as one types (StopSuggestions::setTyped, the rows' texts read as the pop-up reads
// them): under 20 ms a key.
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.

#include "app/journeypanel.h"
#include "app/stoppanel.h"

#include "document/mapdocument.h"
#include "platform/messages.h"

#include <QApplication>
#include <QLineEdit>
#include <QListView>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace lirsk;

constexpr int kStops = 100000;

// A map of city-like stop names: "Улица Гагарина 17", "Чёрная речка 3", ...
std::unique_ptr<MapDocument> makeDocument() {
    static const char* kinds[] = {"Улица",   "Проспект",   "Площадь", "Переулок",
                                  "Бульвар", "Набережная", "Станция", "Рынок"};
    static const char* names[] = {"Гагарина",   "Ленина",  "Чёрная речка", "Пушкина",
                                  "Озёрная",    "Садовая", "Невская",      "Московская",
                                  "Вокзальная", "Лесная",  "Заводская",    "Ёлочная",
                                  "Кирова",     "Мира",    "Победы",       "Советская"};
    auto document = std::make_unique<MapDocument>();
    GraphMap& map = document->map();
    for (int i = 0; i < kStops; ++i) {
        const QString name =
            QStringLiteral("%1 %2 %3")
                .arg(QString::fromUtf8(kinds[i % 8]), QString::fromUtf8(names[(i / 8) % 16]))
                .arg(i / 128);
        // Ids given here: allocating them one by one would look through every stop each time.
        Stop& stop = map.stop(map.AddStop((i % 400) * 30, (i / 400) * 30, false));
        stop.Id = i;
        stop.Label.Caption = name;
    }
    map.MaxStopId = kStops - 1;
    return document;
}

MapDocument& document() {
    static std::unique_ptr<MapDocument> d = makeDocument();
    return *d;
}

// What a user types, key by key, then deletes again: prefixes of a name, and a miss.
const QStringList& keys() {
    static const QStringList k = [] {
        QStringList out;
        const QString word = QStringLiteral("черная речка 7");
        for (int n = 1; n <= word.size(); ++n)
            out << word.left(n);
        for (int n = word.size() - 1; n >= 0; --n)
            out << word.left(n);
        out << QStringLiteral("ы") << QString();
        return out;
    }();
    return k;
}

void BM_ModelFilter(benchmark::State& state) {
    StopListModel model(&document());
    const QStringList& typed = keys();
    qsizetype at = 0;
    qint64 rows = 0;
    for (auto _ : state) {
        model.setFilter(typed[at]);
        rows += model.rowCount();
        at = (at + 1) % typed.size();
    }
    benchmark::DoNotOptimize(rows);
    state.counters["stops"] = kStops;
}

void BM_PanelKey(benchmark::State& state) {
    StopPanel panel(&document(), nullptr);
    panel.resize(220, 800);
    panel.show();
    QApplication::processEvents();
    const QStringList& typed = keys();
    qsizetype at = 0;
    for (auto _ : state) {
        panel.searchBox()->setText(typed[at]);
        // The list painted as the event loop paints it.
        panel.stopList()->viewport()->repaint();
        QApplication::processEvents();
        at = (at + 1) % typed.size();
    }
    state.counters["stops"] = kStops;
}

void BM_SuggestionsKey(benchmark::State& state) {
    StopSuggestions suggestions;
    suggestions.setDocument(&document());
    suggestions.setTyped(QStringLiteral("а"));
    const QStringList& typed = keys();
    qsizetype at = 0;
    qint64 shown = 0;
    for (auto _ : state) {
        suggestions.setTyped(typed[at]);
        for (int row = 0; row < suggestions.rowCount(); ++row)
            shown += suggestions.index(row).data().toString().size();
        at = (at + 1) % typed.size();
    }
    benchmark::DoNotOptimize(shown);
    state.counters["stops"] = kStops;
}

} // namespace

BENCHMARK(BM_SuggestionsKey)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ModelFilter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PanelKey)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    lirsk::setMessageHandler([](const lirsk::MessageRequest&) { return QMessageBox::Ok; });
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    document();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
