#include "model/graphmap.h"

#include <QTest>

using namespace lirsk;

namespace {

QList<int> ids(const GraphMap& map) {
    QList<int> out;
    for (const Stop& s : map.stops())
        out << s.Id;
    return out;
}

} // namespace

class TestGraphMap : public QObject {
    Q_OBJECT
private slots:
    void firstStopsGetIdsFromZero() {
        GraphMap map;
        map.MaxStopId = 7; // a new window starts at 0; the first added stop resets it anyway
        const StopIndex a = map.AddStop(5, 6, true);
        QCOMPARE(map.stop(a).Id, 0);
        QCOMPARE(map.MaxStopId, 0);
        QCOMPARE(map.stop(map.AddStop(50, 60, true)).Id, 1);
        QCOMPARE(map.MaxStopId, 1);
        QCOMPARE(map.stop(a).Label.Caption, QStringLiteral("0"));
        QCOMPARE(map.stop(a).Routes, QStringLiteral("Маршруты не введены"));
    }

    void newStopLooksAsDefined() {
        GraphMap map;
        const Stop& s = map.stop(map.AddStop(30, 40, true));
        QCOMPARE(s.Width, 10);
        QCOMPARE(s.Height, 10);
        QCOMPARE(s.Radius, 6);
        QCOMPARE(s.FillColor, Colour(0xF0CAA6));
        QCOMPARE(s.Label.Left, 40);
        QCOMPARE(s.Label.Top, 40);
        QVERIFY(s.Label.Visible);
        QVERIFY(s.Links.empty());
    }

    void freedIdsAreReusedLowestFirst() {
        GraphMap map;
        for (int i = 0; i < 6; ++i)
            map.AddStop(i * 20, 0, true);
        map.DeleteStop(map.FindStopById(3));
        map.DeleteStop(map.FindStopById(1));
        QCOMPARE(map.stop(map.AddStop(0, 50, true)).Id, 1);
        QCOMPARE(map.stop(map.AddStop(0, 70, true)).Id, 3);
        QCOMPARE(map.MaxStopId, 5);
        QCOMPARE(map.stop(map.AddStop(0, 90, true)).Id, 6);
        QCOMPARE(map.MaxStopId, 6);
    }

    void allocationNeverRepeatsAnIdFromABrokenFile_data() {
        QTest::addColumn<QList<int>>("existing");
        QTest::addColumn<int>("maxStopId");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("id above max") << QList<int>{0, 1, 2, 4} << 2 << QList<int>{3, 5, 6};
        QTest::newRow("duplicate ids") << QList<int>{0, 0, 1} << 1 << QList<int>{2, 3};
        QTest::newRow("negative max") << QList<int>{5} << -3 << QList<int>{0, 1, 2};
        QTest::newRow("negative ids") << QList<int>{-4, -1} << 0 << QList<int>{0, 1};
        QTest::newRow("huge max") << QList<int>{0, 1} << 2147483647 << QList<int>{2, 3};
    }
    void allocationNeverRepeatsAnIdFromABrokenFile() {
        QFETCH(QList<int>, existing);
        QFETCH(int, maxStopId);
        QFETCH(QList<int>, expected);
        GraphMap map;
        for (int id : existing)
            map.stop(map.AddStop(0, 0, false)).Id = id;
        map.MaxStopId = maxStopId;
        for (int want : expected) {
            const int got = map.AllocateStopId();
            QCOMPARE(got, want);
            QVERIFY(got <= map.MaxStopId);
            map.stop(map.AddStop(0, 0, false)).Id = got;
        }
    }

    void roadNeedsEqualLengthsOnly() {
        GraphMap map;
        const StopIndex a = map.AddStop(0, 0, true);
        const StopIndex b = map.AddStop(30, 40, true);
        QVERIFY(map.AddLink(a, b, {5, 50, 0}).IsArc);
        QVERIFY(!map.AddLink(b, a, {0, 50, 99}).IsArc);
        QVERIFY(!map.FindLink(a, b)->IsArc);
        QVERIFY(map.IsRoad(a, b) && map.IsRoad(b, a));
        map.FindLink(b, a)->Length = 51;
        QVERIFY(!map.IsRoad(a, b));
        map.updateArcFlags(b, a);
        QVERIFY(map.FindLink(a, b)->IsArc && map.FindLink(b, a)->IsArc);
        map.FindLink(b, a)->Length = 50;
        map.UpdateArcFlags();
        QVERIFY(!map.FindLink(a, b)->IsArc && !map.FindLink(b, a)->IsArc);
    }

    void automaticLengthIsRoundedCornerDistance_data() {
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<double>("length");
        QTest::newRow("3-4-5") << QPoint(0, 0) << QPoint(3, 4) << 5.0;
        QTest::newRow("diagonal neighbour") << QPoint(0, 0) << QPoint(1, 1) << 1.0;
        QTest::newRow("same corner") << QPoint(7, 7) << QPoint(7, 7) << 0.0;
        QTest::newRow("rounds up") << QPoint(0, 0) << QPoint(2, 3) << 4.0; // 3.606
    }
    void automaticLengthIsRoundedCornerDistance() {
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        QFETCH(double, length);
        GraphMap map;
        const StopIndex a = map.AddStop(from.x(), from.y(), true);
        const StopIndex b = map.AddStop(to.x(), to.y(), true);
        QCOMPARE(map.cornerDistance(a, b), length);
    }

    void removeLink() {
        GraphMap map;
        const StopIndex a = map.AddStop(0, 0, true);
        const StopIndex b = map.AddStop(10, 0, true);
        const StopIndex c = map.AddStop(20, 0, true);
        QVERIFY(!map.RemoveLink(a, b));
        map.AddLink(a, b, {});
        map.AddLink(a, c, {});
        QVERIFY(!map.RemoveLink(b, c));
        QCOMPARE(map.stop(a).Links.size(), std::size_t(2));
        QVERIFY(map.RemoveLink(a, b));
        QCOMPARE(map.stop(a).Links.front().To, c);
        QVERIFY(map.RemoveLink(a, c));
        QVERIFY(map.stop(a).Links.empty());
    }

    void findStopAtIncludesEdgesAndPrefersTheFirst() {
        GraphMap map;
        const StopIndex a = map.AddStop(10, 10, true);
        const StopIndex b = map.AddStop(15, 15, true);
        QCOMPARE(map.FindStopAt(20, 20), a); // a's bottom-right corner, also inside b
        QCOMPARE(map.FindStopAt(21, 21), b);
        QCOMPARE(map.FindStopAt(25, 25), b);
        QCOMPARE(map.FindStopAt(26, 25), NoStop);
        QCOMPARE(map.FindStopAt(9, 10), NoStop);
    }

    void idLookUpsAgreeOnDuplicateIds() {
        GraphMap map;
        for (int id : {4, 7, 4})
            map.stop(map.AddStop(0, 0, false)).Id = id;
        const QHash<int, StopIndex> byId = map.stopsById();
        QCOMPARE(byId.size(), 2);
        QCOMPARE(byId.value(4), map.FindStopById(4));
        QCOMPARE(byId.value(4), 0);
        QCOMPARE(byId.value(7), map.FindStopById(7));
    }

    void deleteStopTakesItsLinks() {
        GraphMap map;
        for (int i = 0; i < 5; ++i)
            map.AddStop(i * 10, 0, true);
        for (const StopIndex i : {0, 2, 3}) {
            map.AddLink(i, 1, {});
            map.AddLink(1, i, {});
        }
        map.AddLink(3, 4, {});
        map.AddLink(4, 3, {0, 999, 0}); // 4->3 differs from 3->4: two arcs

        map.DeleteStop(1);
        QCOMPARE(ids(map), (QList<int>{0, 2, 3, 4}));
        QCOMPARE(map.linkCount(), 2);
        QCOMPARE(map.stop(2).Links.front().To, 3); // 3 -> 4 follows 4 down
        QVERIFY(map.stop(2).Links.front().IsArc);

        map.DeleteStop(map.FindStopById(3));
        QCOMPARE(ids(map), (QList<int>{0, 2, 4}));
        QCOMPARE(map.linkCount(), 0);
    }

    // Stops taken out and put back give the map back exactly: stops, links in their places,
    // targets; whatever stops are taken together.
    void takenStopsGoBackWhereTheyWere_data() {
        QTest::addColumn<QList<int>>("taken");
        QTest::newRow("the first") << QList<int>{0};
        QTest::newRow("the last") << QList<int>{5};
        QTest::newRow("two apart") << QList<int>{1, 4};
        QTest::newRow("neighbours linked to each other") << QList<int>{2, 3};
        QTest::newRow("all") << QList<int>{0, 1, 2, 3, 4, 5};
    }
    void takenStopsGoBackWhereTheyWere() {
        QFETCH(QList<int>, taken);
        GraphMap map;
        for (int i = 0; i < 6; ++i)
            map.AddStop(i * 10, 0, true);
        // Every stop links to the next two and back to the first, self-links and repeats too.
        for (StopIndex i = 0; i < 6; ++i) {
            map.AddLink(i, (i + 1) % 6, {1, double(i), 2});
            map.AddLink(i, (i + 2) % 6, {3, double(10 + i), 4});
            map.AddLink(i, 0, {5, 6, 7});
        }
        map.UpdateArcFlags();
        const auto describe = [&map] {
            QStringList lines;
            for (const Stop& s : map.stops()) {
                QStringList links;
                for (const Link& l : s.Links)
                    links << QStringLiteral("%1:%2:%3")
                                 .arg(map.stop(l.To).Id)
                                 .arg(l.Length)
                                 .arg(l.IsArc);
                lines << QStringLiteral("%1 > %2").arg(s.Id).arg(links.join(' '));
            }
            return lines;
        };
        const QStringList before = describe();
        TakenStops out = map.takeStops(std::vector<StopIndex>(taken.begin(), taken.end()));
        QCOMPARE(map.stopCount(), 6 - int(taken.size()));
        for (const Stop& s : map.stops()) {
            QVERIFY(!taken.contains(s.Id));
            for (const Link& l : s.Links)
                QVERIFY(map.isStop(l.To) && !taken.contains(map.stop(l.To).Id));
        }
        map.restoreStops(std::move(out));
        QCOMPARE(describe(), before);
    }

    // A copy of a map keeps its stops as they were when either of the two changes, in whichever
    // of the chunks they share the change falls.
    void copiesKeepTheirStops_data() {
        QTest::addColumn<int>("edit");
        QTest::addColumn<bool>("copyChanged");
        QTest::newRow("a stop moved") << 0 << false;
        QTest::newRow("a link added") << 1 << false;
        QTest::newRow("a link removed") << 2 << false;
        QTest::newRow("stops taken from three chunks") << 3 << false;
        QTest::newRow("taken stops put back") << 4 << false;
        QTest::newRow("a stop added") << 5 << false;
        QTest::newRow("the copy's stop moved") << 0 << true;
        QTest::newRow("stops taken from the copy") << 3 << true;
    }
    void copiesKeepTheirStops() {
        QFETCH(int, edit);
        QFETCH(bool, copyChanged);
        GraphMap map;
        for (int i = 0; i < 2500; ++i)
            map.AddStop(i, i % 7, true);
        for (StopIndex i = 0; i + 1 < 2500; i += 3)
            map.AddLink(i, i + 1, {0, double(i), 1});
        TakenStops taken = edit == 4 ? map.takeStops({7, 2100}) : TakenStops();
        GraphMap copy = map;
        GraphMap& changed = copyChanged ? copy : map;
        const GraphMap& kept = copyChanged ? map : copy;
        const auto describe = [](const GraphMap& m) {
            QStringList lines;
            for (const Stop& s : m.stops()) {
                QString line =
                    QStringLiteral("%1 %2 %3:").arg(s.Id).arg(s.Left).arg(s.Label.Caption);
                for (const Link& l : s.Links)
                    line += QStringLiteral(" %1/%2").arg(l.To).arg(l.Length);
                lines << line;
            }
            return lines;
        };
        const QStringList before = describe(kept);
        switch (edit) {
        case 0:
            changed.stop(1500).Left += 7;
            break;
        case 1:
            changed.AddLink(3, 2000, {0, 5, 5});
            break;
        case 2:
            QVERIFY(changed.RemoveLink(1200, 1201));
            break;
        case 3:
            changed.takeStops({5, 1100, 2400});
            break;
        case 4:
            changed.restoreStops(std::move(taken));
            break;
        default:
            changed.AddStop(1, 1, true);
        }
        QVERIFY(describe(changed) != before);
        QCOMPARE(describe(kept), before);
    }
};

QTEST_GUILESS_MAIN(TestGraphMap)
#include "tst_graphmap.moc"
