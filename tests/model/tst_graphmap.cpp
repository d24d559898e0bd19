#include "model/graphmap.h"

#include <QTest>

using namespace lirsk;

namespace {

// Stands in for a map window: records what the model asks of the screen.
class RecordingHooks : public MapHooks {
public:
    void redrawMap(bool) override { ++redraws; }
    void drawLink(const Link& link) override { drawn.push_back(&link); }
    std::optional<RoadWeight> askLinkWeights(const RoadWeight& current) override {
        ++asked;
        shown = current;
        return answer;
    }
    void stopRowAdded(int row, const QString& name) override { rows.insert(row - 1, name); }
    void stopRowRemoved(int row) override { rows.removeAt(row - 1); }

    int redraws = 0;
    int asked = 0;
    RoadWeight shown;
    std::optional<RoadWeight> answer;
    std::vector<const Link*> drawn;
    QStringList rows;
};

QList<int> ids(const GraphMap& map) {
    QList<int> out;
    for (const auto& s : map.stops())
        out << s->Id;
    return out;
}

} // namespace

class TestGraphMap : public QObject {
    Q_OBJECT
private slots:
    void firstStopsGetIdsFromZero() {
        GraphMap map;
        map.MaxStopId = 7; // a new window starts at 0; the first added stop resets it anyway
        StopRef a = map.AddStopAt(5, 6);
        QCOMPARE(a->Id, 0);
        QCOMPARE(map.MaxStopId, 0);
        QCOMPARE(map.AddStopAt(50, 60)->Id, 1);
        QCOMPARE(map.MaxStopId, 1);
        QCOMPARE(a->Label.Caption, QStringLiteral("0"));
        QCOMPARE(a->Routes, QStringLiteral("Маршруты не введены"));
        QCOMPARE(map.StopIds, (QStringList{"0", "1"}));
        QCOMPARE(map.StopRows, (QStringList{"0", "1"}));
    }

    void newStopLooksAsDefined() {
        GraphMap map;
        StopRef s = map.AddStopAt(30, 40);
        QCOMPARE(s->Width, 10);
        QCOMPARE(s->Height, 10);
        QCOMPARE(s->Radius, 6);
        QCOMPARE(s->FillColor, Colour(0xF0CAA6));
        QCOMPARE(s->Label.Left, 40);
        QCOMPARE(s->Label.Top, 40);
        QVERIFY(s->Label.Visible);
        QVERIFY(!s->Selected);
        QVERIFY(s->Links.empty());
    }

    void freedIdsAreReusedLowestFirst() {
        GraphMap map;
        for (int i = 0; i < 6; ++i)
            map.AddStopAt(i * 20, 0);
        map.DeleteStop(map.FindStopById(3));
        map.DeleteStop(map.FindStopById(1));
        QCOMPARE(map.AddStopAt(0, 50)->Id, 1);
        QCOMPARE(map.AddStopAt(0, 70)->Id, 3);
        QCOMPARE(map.MaxStopId, 5);
        QCOMPARE(map.AddStopAt(0, 90)->Id, 6);
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
            map.AddStop(0, 0, id, QStringLiteral("s"), false)->Id = id;
        map.MaxStopId = maxStopId;
        for (int want : expected) {
            const int got = map.AllocateStopId();
            QCOMPARE(got, want);
            QVERIFY(got <= map.MaxStopId);
            map.AddStop(0, 0, got, QStringLiteral("n"), false)->Id = got;
        }
    }

    void roadNeedsEqualLengthsOnly() {
        GraphMap map;
        map.Settings.UserWeights = false;
        StopRef a = map.AddStopAt(0, 0);
        StopRef b = map.AddStopAt(30, 40);
        Link* ab = map.AddLink(a, b);
        QVERIFY(ab->IsArc);
        Link* ba = map.AddLink(b, a);
        ab->Price = 5;
        ba->Time = 99;
        map.UpdateArcFlags();
        QVERIFY(!ab->IsArc && !ba->IsArc);
        QVERIFY(GraphMap::IsRoad(a, b) && GraphMap::IsRoad(b, a));
        ba->Length = 51;
        QVERIFY(!GraphMap::IsRoad(a, b));
        map.UpdateArcFlags();
        QVERIFY(ab->IsArc && ba->IsArc);
    }

    void editingOneHalfRecomputesBoth() {
        GraphMap map;
        RecordingHooks hooks;
        map.setHooks(&hooks);
        map.Settings.UserWeights = false;
        StopRef a = map.AddStopAt(0, 0);
        StopRef b = map.AddStopAt(100, 0);
        Link* ab = map.AddLink(a, b);
        Link* ba = map.AddLink(b, a);
        QVERIFY(!ab->IsArc && !ba->IsArc);
        hooks.answer = RoadWeight{3, 120, 60};
        const int before = hooks.redraws;
        map.EditLinkWeights(ab, true);
        QCOMPARE(hooks.shown.Length, 100.0);
        QCOMPARE(ab->Length, 120.0);
        QVERIFY(ab->IsArc && ba->IsArc);
        QCOMPARE(hooks.redraws, before + 1);
        hooks.answer = RoadWeight{0, 100, 0};
        map.EditLinkWeights(ab, false);
        QVERIFY(!ab->IsArc && !ba->IsArc);
        QCOMPARE(hooks.redraws, before + 1);
    }

    void cancelledDialogKeepsZeroWeights() {
        GraphMap map;
        RecordingHooks hooks;
        map.setHooks(&hooks);
        StopRef a = map.AddStopAt(0, 0);
        StopRef b = map.AddStopAt(300, 400);
        Link* ab = map.AddLink(a, b);
        QCOMPARE(hooks.asked, 1);
        QCOMPARE(hooks.shown.Price, 0.0);
        QCOMPARE(hooks.shown.Length, 0.0);
        QCOMPARE(hooks.shown.Time, 0.0);
        QCOMPARE(ab->Length, 0.0);
        QCOMPARE(hooks.drawn.size(), std::size_t(1)); // no partner: drawn at once
        Link* ba = map.AddLink(b, a);
        QCOMPARE(hooks.drawn.size(), std::size_t(1)); // a partner: left to the next redraw
        QVERIFY(!ab->IsArc && !ba->IsArc);
    }

    void windowlessMapAddsLinksAsACancelledDialogWould() {
        GraphMap map;
        StopRef a = map.AddStopAt(0, 0);
        StopRef b = map.AddStopAt(30, 40);
        Link* l = map.AddLink(a, b);
        QCOMPARE(l->Length, 0.0);
        QVERIFY(l->IsArc);
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
        map.Settings.UserWeights = false;
        StopRef a = map.AddStopAt(from.x(), from.y());
        StopRef b = map.AddStopAt(to.x(), to.y());
        QCOMPARE(map.AddLink(a, b)->Length, length);
    }

    void removeLink() {
        GraphMap map;
        map.Settings.UserWeights = false;
        StopRef a = map.AddStopAt(0, 0);
        StopRef b = map.AddStopAt(10, 0);
        StopRef c = map.AddStopAt(20, 0);
        QCOMPARE(map.RemoveLink(a, b), nullptr);
        map.AddLink(a, b);
        Link* ac = map.AddLink(a, c);
        QCOMPARE(map.RemoveLink(b, c), nullptr);
        QCOMPARE(a->Links.size(), std::size_t(2));
        QCOMPARE(map.RemoveLink(a, b), ac);
        QCOMPARE(map.RemoveLink(a, c), nullptr);
        QVERIFY(a->Links.empty());
    }

    void findStopAtIncludesEdgesAndPrefersTheFirst() {
        GraphMap map;
        StopRef a = map.AddStopAt(10, 10);
        StopRef b = map.AddStopAt(15, 15);
        QCOMPARE(map.FindStopAt(20, 20), a); // a's bottom-right corner, also inside b
        QCOMPARE(map.FindStopAt(21, 21), b);
        QCOMPARE(map.FindStopAt(25, 25), b);
        QCOMPARE(map.FindStopAt(26, 25), nullptr);
        QCOMPARE(map.FindStopAt(9, 10), nullptr);
    }

    void idLookUpsAgreeOnDuplicateIds() {
        GraphMap map;
        for (int id : {4, 7, 4})
            map.AddStop(0, 0, id, QStringLiteral("s"), false)->Id = id;
        const QHash<int, StopRef> byId = map.stopsById();
        QCOMPARE(byId.size(), 2);
        QCOMPARE(byId.value(4), map.FindStopById(4));
        QCOMPARE(byId.value(4), map.FirstStop());
        QCOMPARE(byId.value(7), map.FindStopById(7));
    }

    void findPrevStop() {
        GraphMap map;
        StopRef a = map.AddStopAt(0, 0);
        StopRef b = map.AddStopAt(0, 0);
        QCOMPARE(map.FindPrevStop(a->Id), nullptr);
        QCOMPARE(map.FindPrevStop(b->Id), a);
        QCOMPARE(map.FindPrevStop(42), nullptr);
    }

    void deleteStopTakesItsLinksAndRow() {
        GraphMap map;
        RecordingHooks hooks;
        map.setHooks(&hooks);
        map.Settings.UserWeights = false;
        QList<StopRef> s;
        for (int i = 0; i < 5; ++i)
            s << map.AddStopAt(i * 10, 0);
        for (int i : {0, 2, 3}) {
            map.AddLink(s[i], s[1]);
            map.AddLink(s[1], s[i]);
        }
        map.AddLink(s[3], s[4]);
        map.AddLink(s[4], s[3]);
        s[4]->Links.front()->Length = 999; // 4->3 now differs from 3->4: two arcs
        map.UpdateArcFlags();
        s[1]->Selected = true;
        map.SelectedCount = 1;

        map.DeleteStop(s[1]);
        QCOMPARE(ids(map), (QList<int>{0, 2, 3, 4}));
        QCOMPARE(map.linkCount(), 2);
        for (const auto& stop : map.stops())
            for (const auto& link : stop->Links)
                QVERIFY(link->To != s[1]);
        QCOMPARE(map.SelectedCount, 0);
        QCOMPARE(map.StopIds, (QStringList{"0", "2", "3", "4"}));
        QCOMPARE(hooks.rows, map.StopRows);

        map.DeleteStop(map.FindStopById(3));
        QCOMPARE(map.StopIds, (QStringList{"0", "2", "4"}));
        QCOMPARE(map.linkCount(), 0);
        QCOMPARE(hooks.rows, (QStringList{"0", "2", "4"}));
    }

    void gridKeepsTheNameGivenAtCreation() {
        GraphMap map;
        StopRef s = map.AddStop(0, 0, 17, QStringLiteral("Вокзал"), false);
        s->Id = 17;
        s->Label.Caption = QStringLiteral("Новый вокзал");
        QCOMPARE(map.StopRows, QStringList{QStringLiteral("Вокзал")});
        QCOMPARE(map.StopIds, QStringList{QStringLiteral("17")});
    }

    void noRedrawWhileNotReady() {
        GraphMap map;
        RecordingHooks hooks;
        map.setHooks(&hooks);
        map.Ready = false;
        map.AddStopAt(0, 0);
        QCOMPARE(hooks.redraws, 0);
        map.Ready = true;
        map.AddStopAt(0, 0);
        QCOMPARE(hooks.redraws, 1);
    }
};

QTEST_GUILESS_MAIN(TestGraphMap)
#include "tst_graphmap.moc"
