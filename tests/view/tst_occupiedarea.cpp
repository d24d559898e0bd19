#include "view/occupiedarea.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>

class TestOccupiedArea : public QObject {
    Q_OBJECT
private slots:
    // Boxes placed one by one: each is asked about before it is placed, against every box placed
    // before it, whether the cells keep their boxes or (piled up) their pixels.
    void meetsAsTheBoxesDo_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<QRect>("within");
        QTest::addColumn<int>("largest");
        QTest::newRow("scattered") << 300 << QRect(0, 0, 2000, 2000) << 60;
        QTest::newRow("piled over a few cells") << 400 << QRect(-40, -30, 150, 90) << 50;
        QTest::newRow("negative places across cell edges")
            << 400 << QRect(-300, -300, 400, 400) << 130;
        QTest::newRow("one-pixel boxes") << 2000 << QRect(60, 60, 10, 10) << 1;
    }
    void meetsAsTheBoxesDo() {
        QFETCH(int, count);
        QFETCH(QRect, within);
        QFETCH(int, largest);
        QRandomGenerator random(7);
        lirsk::OccupiedArea area;
        std::vector<QRect> placed;
        for (int n = 0; n < count; ++n) {
            const QRect box(within.left() + random.bounded(within.width()),
                            within.top() + random.bounded(within.height()),
                            1 + random.bounded(largest), 1 + random.bounded(largest));
            const bool met = std::any_of(placed.begin(), placed.end(),
                                         [&](const QRect& kept) { return kept.intersects(box); });
            QCOMPARE(area.meets(box), met);
            area.insert(box);
            placed.push_back(box);
        }
        QVERIFY(!area.meets(QRect()));
    }
};

QTEST_APPLESS_MAIN(TestOccupiedArea)
#include "tst_occupiedarea.moc"
