#include "view/arrowgeometry.h"

#include <QTest>

using lirsk::MapPoint;
using lirsk::Stroke;

Q_DECLARE_METATYPE(MapPoint)
Q_DECLARE_METATYPE(Stroke)
Q_DECLARE_METATYPE(std::vector<Stroke>)

namespace {

QString show(const std::vector<Stroke>& strokes) {
    QStringList parts;
    for (const Stroke& s : strokes) {
        QStringList points;
        for (const MapPoint& p : s)
            points << QStringLiteral("(%1,%2)").arg(p.x).arg(p.y);
        parts << points.join(QStringLiteral("->"));
    }
    return parts.join(QStringLiteral(" | "));
}

} // namespace

class TestArrowGeometry : public QObject {
    Q_OBJECT
private slots:
    void straight_data() {
        QTest::addColumn<QList<int>>("args"); // x1 y1 x2 y2 setback type size
        QTest::addColumn<double>("angle");
        QTest::addColumn<bool>("drawn");
        QTest::addColumn<std::vector<Stroke>>("strokes");

        QTest::newRow("eared arrow to a stop of radius 6")
            << QList<int>{100, 100, 200, 100, 6, 0, 15} << 3.0 << true
            << std::vector<Stroke>{{{100, 100}, {200, 100}}, {{180, 105}, {194, 100}, {180, 95}}};
        QTest::newRow("unfilled triangle to a stop of radius 6")
            << QList<int>{100, 100, 200, 100, 6, 1, 15} << 3.0 << true
            << std::vector<Stroke>{{{100, 100}, {180, 100}},
                                   {{194, 100}, {180, 105}, {180, 95}, {194, 100}}};
        QTest::newRow("no setback puts the tip on the end")
            << QList<int>{0, 0, 0, 100, 0, 0, 10} << 2.0 << true
            << std::vector<Stroke>{{{0, 0}, {0, 100}}, {{-5, 90}, {0, 100}, {5, 90}}};
        QTest::newRow("arrow pointing left")
            << QList<int>{200, 50, 100, 50, 5, 0, 20} << 4.0 << true
            << std::vector<Stroke>{{{200, 50}, {100, 50}}, {{124, 45}, {105, 50}, {124, 55}}};
        QTest::newRow("coinciding ends draw nothing")
            << QList<int>{50, 50, 50, 50, 6, 0, 15} << 3.0 << false << std::vector<Stroke>{};
        QTest::newRow("zero angle folds the wings onto the base")
            << QList<int>{100, 100, 200, 100, 6, 0, 15} << 0.0 << true
            << std::vector<Stroke>{{{100, 100}, {200, 100}}, {{180, 100}, {194, 100}, {180, 100}}};
        QTest::newRow("zero size puts the base on the tip")
            << QList<int>{100, 100, 200, 100, 0, 1, 0} << 3.0 << true
            << std::vector<Stroke>{{{100, 100}, {200, 100}},
                                   {{200, 100}, {200, 100}, {200, 100}, {200, 100}}};
    }

    void straight() {
        QFETCH(QList<int>, args);
        QFETCH(double, angle);
        QFETCH(bool, drawn);
        QFETCH(std::vector<Stroke>, strokes);
        const lirsk::StraightArcShape shape = lirsk::straightArc(args[0], args[1], args[2], args[3],
                                                                 args[4], args[5], args[6], angle);
        QCOMPARE(shape.drawn, drawn);
        QCOMPARE(show(shape.strokes), show(strokes));
    }

    void curved_data() {
        QTest::addColumn<QList<int>>("args"); // x1 y1 x2 y2 setback type size
        QTest::addColumn<MapPoint>("tip");
        QTest::addColumn<MapPoint>("mid");
        QTest::addColumn<MapPoint>("centre");
        QTest::addColumn<int>("radius");
        QTest::addColumn<MapPoint>("label");
        QTest::addColumn<std::vector<Stroke>>("head");
        QTest::addColumn<double>("startAngle");
        QTest::addColumn<double>("spanAngle");

        const double a = 63.434948822922; // atan2(94, 47) in degrees
        QTest::newRow("arc of a pair, to the right")
            << QList<int>{100, 100, 200, 100, 6, 0, 22} << MapPoint{194, 100} << MapPoint{147, 100}
            << MapPoint{147, 194} << 105 << MapPoint{147, 88}
            << std::vector<Stroke>{{{181, 98}, {194, 100}, {185, 90}}} << a << 180 - 2 * a;
        QTest::newRow("its opposite, to the left")
            << QList<int>{200, 100, 100, 100, 6, 0, 22} << MapPoint{106, 100} << MapPoint{153, 100}
            << MapPoint{153, 6} << 105 << MapPoint{153, 112}
            << std::vector<Stroke>{{{119, 102}, {106, 100}, {115, 110}}} << a - 180 << 180 - 2 * a;
        QTest::newRow("unfilled triangle closes the head")
            << QList<int>{100, 100, 200, 100, 6, 1, 22} << MapPoint{194, 100} << MapPoint{147, 100}
            << MapPoint{147, 194} << 105 << MapPoint{147, 88}
            << std::vector<Stroke>{{{181, 98}, {194, 100}, {185, 90}, {181, 98}}} << a
            << 180 - 2 * a;
    }

    void curved() {
        QFETCH(QList<int>, args);
        QFETCH(MapPoint, tip);
        QFETCH(MapPoint, mid);
        QFETCH(MapPoint, centre);
        QFETCH(int, radius);
        QFETCH(MapPoint, label);
        QFETCH(std::vector<Stroke>, head);
        QFETCH(double, startAngle);
        QFETCH(double, spanAngle);
        const lirsk::CurvedArcShape shape =
            lirsk::curvedArc(args[0], args[1], args[2], args[3], args[4], args[5], args[6], 3.0);
        QVERIFY(shape.drawn);
        QCOMPARE(shape.tip, tip);
        QCOMPARE(shape.mid, mid);
        QCOMPARE(shape.centre, centre);
        QCOMPARE(shape.radius, radius);
        QCOMPARE(shape.labelAt, label);
        QCOMPARE(show(shape.head), show(head));
        QVERIFY2(qAbs(shape.startAngle - startAngle) < 1e-6,
                 qPrintable(QString::number(shape.startAngle)));
        QVERIFY2(qAbs(shape.spanAngle - spanAngle) < 1e-6,
                 qPrintable(QString::number(shape.spanAngle)));
    }

    void curvedDegenerate_data() {
        QTest::addColumn<QList<int>>("args");
        QTest::newRow("coinciding centres") << QList<int>{10, 10, 10, 10, 6};
        QTest::newRow("chord rounds to zero") << QList<int>{10, 10, 16, 10, 6};
        QTest::newRow("chord of one pixel has no middle") << QList<int>{10, 10, 17, 10, 6};
    }

    void curvedDegenerate() {
        QFETCH(QList<int>, args);
        QVERIFY(!lirsk::curvedArc(args[0], args[1], args[2], args[3], args[4], 0, 22, 3.0).drawn);
    }

    void labels_data() {
        QTest::addColumn<MapPoint>("from");
        QTest::addColumn<MapPoint>("to");
        QTest::addColumn<MapPoint>("label");
        QTest::newRow("straight arc")
            << MapPoint{100, 100} << MapPoint{200, 100} << MapPoint{150, 100};
        QTest::newRow("halves round to even") << MapPoint{1, 3} << MapPoint{4, 8} << MapPoint{2, 6};
        QTest::newRow("halves round to even, upwards")
            << MapPoint{2, 4} << MapPoint{5, 9} << MapPoint{4, 6};
        QTest::newRow("coinciding centres") << MapPoint{7, 7} << MapPoint{7, 7} << MapPoint{7, 7};
    }

    void labels() {
        QFETCH(MapPoint, from);
        QFETCH(MapPoint, to);
        QFETCH(MapPoint, label);
        QCOMPARE(lirsk::midpointLabel(from, to), label);
    }

    void selectedCorners_data() {
        QTest::addColumn<int>("side");
        QTest::addColumn<int>("corner");
        QTest::newRow("10") << 10 << 3;
        QTest::newRow("14") << 14 << 4;
        QTest::newRow("6") << 6 << 2;
    }

    void selectedCorners() {
        QFETCH(int, side);
        QFETCH(int, corner);
        QCOMPARE(lirsk::selectedCornerSize(side), corner);
    }
};

QTEST_APPLESS_MAIN(TestArrowGeometry)
#include "tst_arrowgeometry.moc"
