#include "literalsearch.h"
#include "mapbuild.h"

#include "route/findway.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>
#include <bit>
#include <climits>
#include <cstdint>
#include <limits>

using namespace lirsk;
using namespace lirsk::mapbuild;

Q_DECLARE_METATYPE(lirsk::SearchOutcome)

namespace {

// "0 1 5" stops in list order by id; links "0>1:5/60" (arc, length 5, time 60) and "0-1:5/60"
// (road), separated by blanks.
void buildMap(GraphMap& map, const QString& stops, const QString& links) {
    for (const QString& id : stops.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        addStop(map, id.toInt());
    static const QRegularExpression re(
        QStringLiteral("^(\\d+)([>-])(\\d+):([-\\d.]+)/([-\\d.]+)$"));
    for (const QString& text : links.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const auto m = re.match(text);
        QVERIFY2(m.hasMatch(), qPrintable(text));
        const StopIndex a = map.FindStopById(m.captured(1).toInt());
        const StopIndex b = map.FindStopById(m.captured(3).toInt());
        const double length = m.captured(4).toDouble(), time = m.captured(5).toDouble();
        if (m.captured(2) == QLatin1String(">"))
            addArc(map, a, b, length, time);
        else
            addRoad(map, a, b, length, time);
    }
}

QString wayIds(const GraphMap& map, const SearchResult& r) {
    QStringList ids;
    for (auto it = r.way.crbegin(); it != r.way.crend(); ++it)
        ids << QString::number(map.stop(*it).Id);
    return ids.join(QLatin1Char(' '));
}

std::uint64_t bits(double d) {
    return std::bit_cast<std::uint64_t>(d);
}

using Search = SearchResult (*)(const GraphMap&, StopIndex, StopIndex);

} // namespace

class TestFindWay : public QObject {
    Q_OBJECT

private slots:
    void handMaps_data();
    void handMaps();
    void scratchFieldsAfterSearch();
    void randomMapsAgreeWithLiteral();
    void brokenIdsEndInBounds_data();
    void brokenIdsEndInBounds();
    void indexReusedForManySearches();
};

void TestFindWay::handMaps_data() {
    QTest::addColumn<QString>("stops");
    QTest::addColumn<QString>("links");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<SearchOutcome>("outcome");
    QTest::addColumn<QString>("way"); // start first
    QTest::addColumn<double>("length");
    QTest::addColumn<double>("time");
    QTest::addColumn<bool>("capped");

    const auto F = SearchOutcome::Found;
    QTest::newRow("road between neighbours")
        << "0 1"
        << "0-1:350/40" << 0 << 1 << F << "0 1" << 350.0 << 40.0 << false;
    QTest::newRow("start with only incoming arcs says no way")
        << "0 1 2"
        << "1>0:5/1 2>0:5/1 1-2:1/1" << 0 << 1 << SearchOutcome::NoWayMessage << "" << 0.0 << 0.0
        << false;
    QTest::newRow("finish only against an arc is unreached")
        << "0 1 2"
        << "0-1:5/1 2>1:5/1" << 0 << 2 << SearchOutcome::Unreached << "" << 0.0 << 0.0 << false;
    QTest::newRow("shorter way with more stops wins")
        << "0 1 2 3"
        << "0>3:100/1 0>1:10/5 1>2:10/5 2>3:10/5" << 0 << 3 << F << "0 1 2 3" << 30.0 << 15.0
        << false;
    // Both feeders of 3 offer 20 in the first pass: the lower id (1) stands, whatever the time.
    QTest::newRow("tie within a pass: lower feeder id")
        << "0 1 2 3"
        << "0>1:10/900 0>2:10/1 1>3:10/900 2>3:10/1" << 0 << 3 << F << "0 1 3" << 20.0 << 1800.0
        << false;
    // 3 is reached with 30 in the first pass through 2; the way through 1, 4, 5 of the same
    // length arrives two passes later and does not replace it.
    QTest::newRow("tie across passes: earlier pass")
        << "0 1 2 3 4 5"
        << "0>2:20/50 2>3:10/50 0>1:5/1 1>4:5/1 4>5:5/1 5>3:15/1" << 0 << 3 << F << "0 2 3" << 30.0
        << 100.0 << false;
    // 2 is lowered from 10 to 2 at its turn in the first pass, and 3, examined later in the same
    // pass, takes 3 through it before its other feeder 4 offers the same 3.
    QTest::newRow("updates take effect within the pass")
        << "0 1 2 3 4"
        << "0>1:1/1 0>2:10/1 1>2:1/1 2>3:1/7 0>4:2/1 4>3:1/1" << 0 << 3 << F << "0 1 2 3" << 3.0
        << 9.0 << false;
    // The start's successors are set from their link even when a shorter way exists; the
    // shorter way then lowers them in a pass.
    QTest::newRow("seed lowered later")
        << "0 1 2"
        << "0>2:50/50 0>1:1/1 1>2:1/1" << 0 << 2 << F << "0 1 2" << 2.0 << 2.0 << false;
    QTest::newRow("sum reaching the unreached length is no way")
        << "0 1 2"
        << "0>1:200000/1 1>2:62136/1" << 0 << 2 << SearchOutcome::Unreached << "" << 0.0 << 0.0
        << false;
    QTest::newRow("sum just below the unreached length")
        << "0 1 2"
        << "0>1:200000/1 1>2:62135.5/1" << 0 << 2 << F << "0 1 2" << 262135.5 << 2.0 << false;
    QTest::newRow("direct link of exactly the unreached length is no way")
        << "0 1"
        << "0>1:262136/1" << 0 << 1 << SearchOutcome::Unreached << "" << 0.0 << 0.0 << false;
    // Only a PathLength of exactly 262136 means unreached: a longer direct link is a way.
    QTest::newRow("longer direct link is a way")
        << "0 1"
        << "0>1:300000/9" << 0 << 1 << F << "0 1" << 300000.0 << 9.0 << false;
    QTest::newRow("ids with gaps, out of list order")
        << "7 2 40 3"
        << "2>40:1/1 40>7:1/1 2>3:5/1 3>7:5/1" << 2 << 7 << F << "2 40 7" << 2.0 << 2.0 << false;
    QTest::newRow("negative length without a cycle")
        << "0 1 2 3"
        << "0>1:5/1 0>2:1/1 2>1:-3/1 1>3:1/1" << 0 << 3 << F << "0 2 1 3" << -1.0 << 3.0 << false;
    // The literal search runs to its cap here; the search ends as soon as it sees the cycle.
    QTest::newRow("negative cycle ends the search")
        << "0 1 2 3"
        << "0>1:1/1 1>2:-5/1 2>1:1/1 2>3:1/1" << 0 << 3 << SearchOutcome::NegativeCycle << "" << 0.0
        << 0.0 << false;
    QTest::newRow("zero lengths") << "0 1 2"
                                  << "0-1:0/0 1-2:0/3" << 0 << 2 << F << "0 1 2" << 0.0 << 3.0
                                  << false;
}

void TestFindWay::handMaps() {
    QFETCH(QString, stops);
    QFETCH(QString, links);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(SearchOutcome, outcome);
    QFETCH(QString, way);
    QFETCH(double, length);
    QFETCH(double, time);
    QFETCH(bool, capped);

    for (Search search : {Search(&lirsk::FindWay), Search(&lirsk::literal::FindWay)}) {
        GraphMap map;
        buildMap(map, stops, links);
        if (outcome == SearchOutcome::NegativeCycle && search == Search(&lirsk::literal::FindWay)) {
            QVERIFY(search(map, map.FindStopById(from), map.FindStopById(to)).passesCapped);
            continue;
        }
        const SearchResult r = search(map, map.FindStopById(from), map.FindStopById(to));
        QCOMPARE(r.outcome, outcome);
        QCOMPARE(r.passesCapped, capped);
        QCOMPARE(wayIds(map, r), way);
        QCOMPARE(r.length, length);
        QCOMPARE(r.time, time);
    }
}

void TestFindWay::scratchFieldsAfterSearch() {
    GraphMap map;
    buildMap(map, QStringLiteral("0 1 2 3 4"),
             QStringLiteral("0>1:4/40 1>2:3/30 0>2:9/90 3>0:1/1 1>4:262136/5"));
    const SearchResult r = FindWay(map, map.FindStopById(0), map.FindStopById(2));
    QCOMPARE(r.outcome, SearchOutcome::Found);

    struct Expect {
        int id;
        double length, time;
        int prev;
    };
    // 3 only leads to the start; 4 stays at exactly the unreached length; -1: no stop before,
    // where the search did not reach.
    const Expect expected[] = {{0, 0, 0, -1},
                               {1, 4, 40, 0},
                               {2, 7, 70, 1},
                               {3, UnreachedLength, UnreachedLength, -1},
                               {4, UnreachedLength, UnreachedLength, -1}};
    for (const Expect& e : expected) {
        const auto s = std::size_t(map.FindStopById(e.id));
        QCOMPARE(r.pathLength[s], e.length);
        QCOMPARE(r.pathTime[s], e.time);
        QCOMPARE(r.pathPrev[s], e.prev);
    }
    QCOMPARE(r.length, 7.0);
    QCOMPARE(r.time, 70.0);
}

namespace {

double pickLength(QRandomGenerator& rng, int style) {
    static const double smallTies[] = {0, 1, 1, 2, 2, 3, 4};
    static const double fractions[] = {0.1, 0.2, 0.3, 0.7, 1.1, 0.05, 2.675};
    static const double large[] = {131068, 131067.5, 262135, 262136, 262137, 100000, 1e-9};
    static const double odd[] = {-1,   -2,   -0.5, 3, std::numeric_limits<double>::infinity(),
                                 -0.0, 1e300};
    switch (style) {
    case 0:
        return smallTies[rng.bounded(int(std::size(smallTies)))];
    case 1:
        return fractions[rng.bounded(int(std::size(fractions)))];
    case 2:
        return large[rng.bounded(int(std::size(large)))];
    case 3:
        return rng.generateDouble() * 1000;
    default:
        return odd[rng.bounded(int(std::size(odd)))];
    }
}

// A small map of one of several kinds: ties, rounding, lengths near the unreached length,
// negative and odd lengths; ids with gaps, sparse ids, MaxStopId above every id, list order
// shuffled; roads, arcs, loops on one stop and now and then a second link for one pair.
void randomMap(QRandomGenerator& rng, GraphMap& map) {
    // Mostly small maps, where ties and odd lengths meet often; now and then a larger one.
    const int n = rng.bounded(8) == 0 ? 15 + rng.bounded(46) : 2 + rng.bounded(13);
    const bool sparse = rng.bounded(8) == 0;
    const int idRange = sparse ? 3000 : n + rng.bounded(2 * n);
    QList<int> ids;
    while (ids.size() < n) {
        const int id = rng.bounded(idRange);
        if (!ids.contains(id))
            ids << id;
    }
    for (int id : ids)
        addStop(map, id);
    map.MaxStopId += rng.bounded(4);

    const int lengthStyle = rng.bounded(5);
    const int linkCount = rng.bounded(3 * n + 1);
    for (int k = 0; k < linkCount; ++k) {
        const StopIndex a = rng.bounded(n);
        const StopIndex b = rng.bounded(n);
        if (a == b && rng.bounded(4) != 0)
            continue;
        if (map.FindLink(a, b) && rng.bounded(10) != 0)
            continue;
        const int style = rng.bounded(4) == 0 ? rng.bounded(5) : lengthStyle;
        const double length = pickLength(rng, style);
        const double time = rng.bounded(2) ? double(rng.bounded(100)) : rng.generateDouble();
        if (rng.bounded(2) && a != b)
            addRoad(map, a, b, length, time);
        else
            addArc(map, a, b, length, time);
    }
    map.UpdateArcFlags();
}

struct Snapshot {
    SearchResult result;
    std::vector<std::uint64_t> fields;
};

Snapshot runSearch(Search search, const GraphMap& map, StopIndex a, StopIndex b) {
    Snapshot s{search(map, a, b), {}};
    for (std::size_t k = 0; k < s.result.pathLength.size(); ++k) {
        s.fields.push_back(bits(s.result.pathLength[k]));
        s.fields.push_back(bits(s.result.pathTime[k]));
        s.fields.push_back(std::uint64_t(std::uint32_t(s.result.pathPrev[k])));
    }
    return s;
}

} // namespace

void TestFindWay::randomMapsAgreeWithLiteral() {
    QRandomGenerator rng(20261207);
    int found = 0, capped = 0, unreached = 0, negativeCycles = 0;
    for (int round = 0; round < 4000; ++round) {
        GraphMap map;
        randomMap(rng, map);
        const int n = map.stopCount();
        for (int q = 0; q < 3; ++q) {
            const StopIndex a = rng.bounded(n);
            const StopIndex b = rng.bounded(n);
            if (a == b)
                continue;
            const Snapshot lit = runSearch(&literal::FindWay, map, a, b);
            const Snapshot fast = runSearch(&lirsk::FindWay, map, a, b);
            const QByteArray where = QStringLiteral("round %1 query %2 from %3 to %4")
                                         .arg(round)
                                         .arg(q)
                                         .arg(map.stop(a).Id)
                                         .arg(map.stop(b).Id)
                                         .toUtf8();
            // A negative cycle ends the search early, where the literal search runs to its cap.
            if (fast.result.outcome == SearchOutcome::NegativeCycle) {
                QVERIFY2(lit.result.passesCapped, where.constData());
                ++negativeCycles;
                ++capped;
                continue;
            }
            QVERIFY2(fast.result.outcome == lit.result.outcome, where.constData());
            QVERIFY2(fast.result.passesCapped == lit.result.passesCapped, where.constData());
            QVERIFY2(fast.result.passes == lit.result.passes, where.constData());
            QVERIFY2(fast.result.lowerings == lit.result.lowerings, where.constData());
            QVERIFY2(fast.result.way == lit.result.way, where.constData());
            QVERIFY2(bits(fast.result.length) == bits(lit.result.length), where.constData());
            QVERIFY2(bits(fast.result.time) == bits(lit.result.time), where.constData());
            QVERIFY2(fast.fields == lit.fields, where.constData());
            found += lit.result.outcome == SearchOutcome::Found;
            capped += lit.result.passesCapped;
            unreached += lit.result.outcome == SearchOutcome::Unreached;
        }
    }
    // The generator must reach every kind of answer, or the agreement proves little.
    QVERIFY(found > 1000);
    QVERIFY(unreached > 500);
    QVERIFY(capped > 20);
    QVERIFY(negativeCycles > 20);
}

void TestFindWay::brokenIdsEndInBounds_data() {
    QTest::addColumn<QList<int>>("ids"); // in list order
    QTest::addColumn<int>("maxStopId");
    QTest::addColumn<int>("finishIndex"); // list position of the finish; the start is the first
    QTest::addColumn<SearchOutcome>("outcome");
    QTest::addColumn<double>("length");

    const auto F = SearchOutcome::Found;
    // Each map is a chain of roads of length 1 in list order.
    QTest::newRow("id above MaxStopId") << QList<int>{0, 5, 1000000} << 1 << 2 << F << 2.0;
    QTest::newRow("huge MaxStopId") << QList<int>{3, 1, 2} << INT_MAX << 2 << F << 2.0;
    QTest::newRow("ids near the int limits")
        << QList<int>{INT_MAX, INT_MIN, -1, 0} << 0 << 3 << F << 3.0;
    // The second stop with id 4 takes no part: the chain breaks there.
    QTest::newRow("duplicate id cuts the chain")
        << QList<int>{0, 4, 4, 9} << 9 << 3 << SearchOutcome::Unreached << 0.0;
    QTest::newRow("duplicate id as the finish")
        << QList<int>{0, 4, 4} << 4 << 2 << SearchOutcome::Unreached << 0.0;
}

void TestFindWay::brokenIdsEndInBounds() {
    QFETCH(QList<int>, ids);
    QFETCH(int, maxStopId);
    QFETCH(int, finishIndex);
    QFETCH(SearchOutcome, outcome);
    QFETCH(double, length);

    GraphMap map;
    for (int id : ids)
        addStop(map, id);
    map.MaxStopId = maxStopId;
    for (StopIndex k = 0; k + 1 < map.stopCount(); ++k)
        addRoad(map, k, k + 1, 1, 1);

    const SearchResult r = FindWay(map, 0, finishIndex);
    QCOMPARE(r.outcome, outcome);
    QCOMPARE(r.length, length);
    if (outcome == SearchOutcome::Found) {
        QCOMPARE(r.way.size(), std::size_t(finishIndex) + 1);
        QCOMPARE(r.way.back(), 0);
    }
}

void TestFindWay::indexReusedForManySearches() {
    // A grid of roads: one index answers every query as a fresh FindWay does.
    GraphMap map;
    const int side = 6;
    for (int k = 0; k < side * side; ++k)
        addStop(map, k);
    for (int r = 0; r < side; ++r)
        for (int c = 0; c < side; ++c) {
            const StopIndex s = map.FindStopById(r * side + c);
            if (c + 1 < side)
                addRoad(map, s, map.FindStopById(r * side + c + 1), 1 + (r * 7 + c) % 3, 10);
            if (r + 1 < side)
                addArc(map, s, map.FindStopById((r + 1) * side + c), 1 + (r + c * 5) % 4, 20);
        }
    RouteIndex index(map);
    QCOMPARE(index.stopsInSearch(), side * side);
    for (int a = 0; a < side * side; a += 5)
        for (int b = 0; b < side * side; b += 7) {
            if (a == b)
                continue;
            const SearchResult reused = index.search(map.FindStopById(a), map.FindStopById(b));
            const Snapshot lit =
                runSearch(&literal::FindWay, map, map.FindStopById(a), map.FindStopById(b));
            QCOMPARE(reused.outcome, lit.result.outcome);
            QCOMPARE(reused.way, lit.result.way);
            QCOMPARE(reused.length, lit.result.length);
        }
}

QTEST_GUILESS_MAIN(TestFindWay)
#include "tst_findway.moc"
