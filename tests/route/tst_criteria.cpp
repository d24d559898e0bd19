#include "mapbuild.h"

#include "route/criteria.h"
#include "route/report.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <functional>
#include <limits>
#include <map>
#include <optional>
#include <set>

using namespace lirsk;
using namespace lirsk::mapbuild;

Q_DECLARE_METATYPE(lirsk::Criterion)
Q_DECLARE_METATYPE(lirsk::Refusal)
Q_DECLARE_METATYPE(lirsk::SearchOutcome)

namespace {

// A map of 2 to 9 stops whose stops carry 1 to 3 of 4 route codes, with random links of whole
// times (a few of them 0), now and then a second link for one pair.
void randomMap(QRandomGenerator& rng, GraphMap& map) {
    const int n = 2 + rng.bounded(8);
    for (int id = 0; id < n; ++id) {
        QStringList codes;
        for (int k = 1 + rng.bounded(3); k > 0; --k) {
            const QString code = QStringLiteral("A%1").arg(1 + rng.bounded(4));
            if (!codes.contains(code))
                codes << code;
        }
        addStop(map, id, QString(), codes.join(QLatin1Char(' ')));
    }
    for (int k = rng.bounded(3 * n + 1); k > 0; --k) {
        const StopIndex a = rng.bounded(n), b = rng.bounded(n);
        if (a == b)
            continue;
        const double length = 10 + rng.bounded(90);
        const double time = rng.bounded(6) == 0 ? 0 : double(1 + rng.bounded(30));
        if (rng.bounded(2))
            addRoad(map, a, b, length, time);
        else
            addArc(map, a, b, length, time);
    }
}

using Way = std::vector<StopIndex>;

// The links a way is made of: the first one from each stop to each other.
bool isFirstLink(const GraphMap& map, StopIndex from, const Link& link) {
    return map.FindLink(from, link.To) == &link;
}

// Calls visit with every simple way from `at` to the finish, finish first.
void simpleWays(const GraphMap& map, Way& travel, StopIndex finish,
                const std::function<void(const Way&)>& visit) {
    if (travel.back() == finish) {
        visit({travel.rbegin(), travel.rend()});
        return;
    }
    for (const Link& link : map.stop(travel.back()).Links) {
        if (!isFirstLink(map, travel.back(), link) ||
            std::find(travel.begin(), travel.end(), link.To) != travel.end())
            continue;
        travel.push_back(link.To);
        simpleWays(map, travel, finish, visit);
        travel.pop_back();
    }
}

double timeOf(const GraphMap& map, const Way& way) {
    double time = 0;
    for (std::size_t k = 0; k + 1 < way.size(); ++k)
        time += map.FindLink(way[k + 1], way[k])->Time;
    return time;
}

int transfersOf(const GraphMap& map, const Way& way) {
    return BuildRouteReport(map, way, 0, 0, QString(), QString(), QLatin1Char('.')).transfers;
}

// Plain Dijkstra from the start by (time, stops): the pair at the finish, or nothing.
std::optional<std::pair<double, int>> leastTime(const GraphMap& map, StopIndex start,
                                                StopIndex finish) {
    std::map<StopIndex, std::pair<double, int>> best{{start, {0, 0}}};
    std::set<StopIndex> settled;
    while (true) {
        StopIndex u = NoStop;
        for (const auto& [stop, cost] : best)
            if (!settled.count(stop) && (u == NoStop || cost < best[u]))
                u = stop;
        if (u == NoStop)
            break;
        settled.insert(u);
        for (const Link& link : map.stop(u).Links) {
            if (!isFirstLink(map, u, link))
                continue;
            const std::pair<double, int> reach{best[u].first + link.Time, best[u].second + 1};
            const auto it = best.find(link.To);
            if (it == best.end() || reach < it->second)
                best[link.To] = reach;
        }
    }
    const auto it = best.find(finish);
    return it == best.end() ? std::nullopt : std::optional(it->second);
}

} // namespace

class TestCriteria : public QObject {
    Q_OBJECT

private slots:
    void randomMapsAgreeWithPlainSearches();
    void refusals_data();
    void refusals();
};

void TestCriteria::randomMapsAgreeWithPlainSearches() {
    QRandomGenerator rng(20260412);
    int found = 0, changesBeatFastest = 0;
    for (int round = 0; round < 10000; ++round) {
        GraphMap map;
        randomMap(rng, map);
        const int n = map.stopCount();
        bool anyTime = false;
        for (const Stop& stop : map.stops())
            for (const Link& link : stop.Links)
                anyTime = anyTime || link.Time != 0;
        WaySearch search(map);
        for (int q = 0; q < 3; ++q) {
            const StopIndex start = rng.bounded(n);
            const StopIndex finish = rng.bounded(n);
            if (start == finish)
                continue;
            const QByteArray where = QStringLiteral("round %1: %2 to %3")
                                         .arg(round)
                                         .arg(map.stop(start).Id)
                                         .arg(map.stop(finish).Id)
                                         .toUtf8();

            const auto least = leastTime(map, start, finish);
            const CriterionResult fastest = search.search(Criterion::Fastest, start, finish);
            const CriterionResult changes = search.search(Criterion::FewestChanges, start, finish);
            QVERIFY2(changes.refusal == Refusal::None, where.constData());
            if (!anyTime) {
                QVERIFY2(fastest.refusal == Refusal::NoTimes, where.constData());
                continue;
            }
            QVERIFY2((fastest.found.outcome == SearchOutcome::Found) == bool(least),
                     where.constData());
            QVERIFY2((changes.found.outcome == SearchOutcome::Found) == bool(least),
                     where.constData());
            if (!least)
                continue;
            ++found;

            for (const CriterionResult* r : {&fastest, &changes}) {
                const Way& way = r->found.way;
                QVERIFY2(way.front() == finish && way.back() == start, where.constData());
                double length = 0;
                for (std::size_t k = 0; k + 1 < way.size(); ++k) {
                    const Link* link = map.FindLink(way[k + 1], way[k]);
                    QVERIFY2(link, where.constData());
                    QVERIFY2(std::count(way.begin(), way.end(), way[k]) == 1, where.constData());
                    length += link->Length;
                }
                QCOMPARE(r->found.length, length);
                QCOMPARE(r->found.time, timeOf(map, way));
            }
            QCOMPARE(std::pair(fastest.found.time, int(fastest.found.way.size()) - 1), *least);

            std::optional<std::pair<int, double>> fewest;
            Way travel{start};
            simpleWays(map, travel, finish, [&](const Way& way) {
                const std::pair<int, double> cost{transfersOf(map, way), timeOf(map, way)};
                if (!fewest || cost < *fewest)
                    fewest = cost;
            });
            QVERIFY2(fewest, where.constData());
            QCOMPARE(std::pair(transfersOf(map, changes.found.way), changes.found.time), *fewest);
            changesBeatFastest +=
                transfersOf(map, changes.found.way) < transfersOf(map, fastest.found.way);

            // The same answer on another run.
            QVERIFY2(findWayBy(Criterion::FewestChanges, map, start, finish).found.way ==
                         changes.found.way,
                     where.constData());
        }
    }
    // The maps must often give ways, and often ones where the criteria differ.
    QVERIFY(found > 10000);
    QVERIFY(changesBeatFastest > 700);
}

void TestCriteria::refusals_data() {
    QTest::addColumn<double>("time");
    QTest::addColumn<Criterion>("criterion");
    QTest::addColumn<Refusal>("refusal");
    QTest::addColumn<SearchOutcome>("outcome");

    QTest::newRow("negative time, fastest")
        << -5.0 << Criterion::Fastest << Refusal::NegativeTimes << SearchOutcome::Unreached;
    QTest::newRow("negative time, fewest changes")
        << -5.0 << Criterion::FewestChanges << Refusal::NegativeTimes << SearchOutcome::Unreached;
    QTest::newRow("undefined time, fastest")
        << std::numeric_limits<double>::quiet_NaN() << Criterion::Fastest << Refusal::NegativeTimes
        << SearchOutcome::Unreached;
    QTest::newRow("negative time, shortest")
        << -5.0 << Criterion::Shortest << Refusal::None << SearchOutcome::Found;
    QTest::newRow("no times, fastest")
        << 0.0 << Criterion::Fastest << Refusal::NoTimes << SearchOutcome::Unreached;
    QTest::newRow("no times, fewest changes")
        << 0.0 << Criterion::FewestChanges << Refusal::None << SearchOutcome::Found;
}

void TestCriteria::refusals() {
    QFETCH(double, time);
    QFETCH(Criterion, criterion);
    QFETCH(Refusal, refusal);
    QFETCH(SearchOutcome, outcome);

    // 0 -> 1 -> 2, and the one odd time on a link away from the way.
    GraphMap map;
    const StopIndex a = addStop(map, 0, QString(), QStringLiteral("A1"));
    const StopIndex b = addStop(map, 1, QString(), QStringLiteral("A1"));
    const StopIndex c = addStop(map, 2, QString(), QStringLiteral("A2"));
    const StopIndex d = addStop(map, 3, QString(), QStringLiteral("A2"));
    addRoad(map, a, b, 100, 0);
    addRoad(map, b, c, 100, 0);
    addArc(map, c, d, 100, time);

    const CriterionResult r = findWayBy(criterion, map, a, c);
    QCOMPARE(r.refusal, refusal);
    QCOMPARE(r.found.outcome, outcome);
    QCOMPARE(failureText(criterion, r).isEmpty(), outcome == SearchOutcome::Found);
}

QTEST_GUILESS_MAIN(TestCriteria)
#include "tst_criteria.moc"
