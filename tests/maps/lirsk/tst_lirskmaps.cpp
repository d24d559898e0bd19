#include "city.h"
#include "mapstops.h"

#include "model/catalogue.h"
#include "model/mapfile.h"
#include "route/findway.h"
#include "route/report.h"
#include "view/maprenderer.h"

#include <QImage>
#include <QImageReader>
#include <QSet>
#include <QTest>

#include <memory>

using namespace lirsk;
using namespace lirsk::city;

namespace {

const QString kToolbox = QStringLiteral(LIRSK_TOOLBOX);

std::unique_ptr<GraphMap> loadMap(const QString& file) {
    auto map = std::make_unique<GraphMap>();
    QString error;
    if (!readMapFile(kToolbox + QStringLiteral("/map/") + file, *map, &error)) {
        qWarning("%s", qPrintable(error));
        return nullptr;
    }
    const MapIdentity id = recognizeMapPath(QStringLiteral("toolbox/map/") + file);
    map->MapCode = id.mapCode;
    map->MapCity = id.mapCity;
    return map;
}

const City& theCity() {
    static const City city = [] {
        QString error;
        std::optional<City> c = readCity(QStringLiteral(LIRSK_CITY_JSON), &error);
        if (!c)
            qFatal("%s", qPrintable(error));
        return *c;
    }();
    return city;
}

// The stops reached from the first stop along the links, or against them.
QSet<StopIndex> reached(const GraphMap& map, bool forward) {
    QSet<StopIndex> seen{0};
    QList<StopIndex> todo{0};
    while (!todo.isEmpty()) {
        const StopIndex s = todo.takeLast();
        for (StopIndex stop = 0; stop < map.stopCount(); ++stop) {
            for (const Link& l : map.stop(stop).Links) {
                const StopIndex from = forward ? stop : l.To;
                const StopIndex to = forward ? l.To : stop;
                if (from == s && !seen.contains(to)) {
                    seen.insert(to);
                    todo << to;
                }
            }
        }
    }
    return seen;
}

Network networkOf(const QString& code) {
    if (code == QLatin1String("T"))
        return Network::Trolleybus;
    if (code == QLatin1String("A"))
        return Network::Tram;
    return Network::Metro;
}

void addMapRows() {
    QTest::addColumn<QString>("file");
    QTest::newRow("trolleybus") << "MapTrol.gaf";
    QTest::newRow("tram") << "MapTram.gaf";
    QTest::newRow("metro on the plan") << "LirskMetro.gaf";
    QTest::newRow("metro diagram") << "MLirsk.gaf";
}

} // namespace

class TestLirskMaps : public QObject {
    Q_OBJECT

private slots:
    void cityDescriptionIsSound() {
        const QStringList problems = checkCity(theCity());
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
    }

    void mapLoadsAndHoldsTogether_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("city");
        QTest::addColumn<double>("minLink");
        QTest::addColumn<double>("maxLink");
        QTest::addColumn<int>("minArcs");
        QTest::newRow("trolleybus") << "MapTrol.gaf"
                                    << "T"
                                    << "Lirsk" << 300.0 << 800.0 << 2;
        QTest::newRow("tram") << "MapTram.gaf"
                              << "A"
                              << "Lirsk" << 300.0 << 800.0 << 2;
        QTest::newRow("metro on the plan") << "LirskMetro.gaf"
                                           << "K"
                                           << "Lirsk" << 1000.0 << 2000.0 << 0;
        QTest::newRow("metro diagram") << "MLirsk.gaf"
                                       << "K"
                                       << "none" << 1000.0 << 2000.0 << 0;
    }

    void mapLoadsAndHoldsTogether() {
        QFETCH(QString, file);
        QFETCH(QString, code);
        QFETCH(QString, city);
        QFETCH(double, minLink);
        QFETCH(double, maxLink);
        QFETCH(int, minArcs);
        const auto map = loadMap(file);
        QVERIFY(map);
        QCOMPARE(map->MapCode, code);
        QCOMPARE(map->MapCity, city);
        QVERIFY(map->stopCount() > 1);

        QSet<int> ids;
        int arcs = 0;
        for (StopIndex index = 0; index < map->stopCount(); ++index) {
            const Stop* s = &map->stop(index);
            QVERIFY2(!ids.contains(s->Id), qPrintable(s->Label.Caption));
            ids.insert(s->Id);
            QVERIFY(s->Id >= 0 && s->Id <= map->MaxStopId);
            QSet<StopIndex> targets;
            for (const Link& l : s->Links) {
                QVERIFY2(l.To != index, qPrintable(s->Label.Caption));
                QVERIFY2(!targets.contains(l.To), qPrintable(s->Label.Caption));
                targets.insert(l.To);
                QVERIFY(l.Price >= 0 && l.Time > 0);
                const QString where =
                    s->Label.Caption + QStringLiteral(" -> ") + map->stop(l.To).Label.Caption;
                QVERIFY2(l.Length >= minLink && l.Length <= maxLink, qPrintable(where));
                arcs += l.IsArc ? 1 : 0;
            }
        }
        QVERIFY(arcs >= minArcs);
        QCOMPARE(reached(*map, true).size(), map->stopCount());
        QCOMPARE(reached(*map, false).size(), map->stopCount());
    }

    void everyRouteRunsBothWays_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("code");
        QTest::newRow("trolleybus") << "MapTrol.gaf"
                                    << "T";
        QTest::newRow("tram") << "MapTram.gaf"
                              << "A";
        QTest::newRow("metro") << "LirskMetro.gaf"
                               << "K";
    }

    void everyRouteRunsBothWays() {
        QFETCH(QString, file);
        QFETCH(QString, code);
        const auto map = loadMap(file);
        QVERIFY(map);
        for (const Route& r : theCity().routes(networkOf(code))) {
            for (const QStringList& way : {r.forward, r.wayBack()}) {
                for (qsizetype i = 1; i < way.size(); ++i) {
                    const StopIndex from = testing::stopNamed(*map, way[i - 1]);
                    const StopIndex to = testing::stopNamed(*map, way[i]);
                    QVERIFY(from != NoStop && to != NoStop);
                    QVERIFY2(map->FindLink(from, to),
                             qPrintable(r.code + QLatin1Char(' ') + way[i - 1] +
                                        QStringLiteral(" -> ") + way[i]));
                }
            }
        }
    }

    void routeTableMatchesTheNetwork_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("rowCount");
        QTest::newRow("trolleybus") << "T" << 17;
        QTest::newRow("tram") << "A" << 21;
        QTest::newRow("metro") << "K" << 2;
    }

    void routeTableMatchesTheNetwork() {
        QFETCH(QString, code);
        QFETCH(int, rowCount);
        const std::optional<RouteTable> table = routeTableFor(code);
        QVERIFY(table);
        QCOMPARE(table->rowCount, rowCount);
        const QList<Route>& routes = theCity().routes(networkOf(code));
        QCOMPARE(routes.size(), table->rows.size());
        for (qsizetype i = 0; i < routes.size(); ++i) {
            const Route& r = routes[i];
            const RouteRow& row = table->rows[i];
            QCOMPARE(r.code, code + row.number);
            const QStringList points = row.name.split(QStringLiteral("- "));
            const bool threePoints =
                code == QLatin1String("A") &&
                (row.number == QLatin1String("20") || row.number == QLatin1String("21"));
            QCOMPARE(points.size(), threePoints ? 3 : 2);
            QCOMPARE(points.first(), r.forward.first());
            QCOMPARE(points.last(), r.forward.last());
            if (threePoints)
                QVERIFY2(r.forward.mid(1, r.forward.size() - 2).contains(points[1]),
                         qPrintable(row.name));
        }
    }

    // Choosing a row of the route table marks the stops whose routes text holds the row's key:
    // the code, followed by a space on the first row (and on the tram's second).
    void routeRowMarksItsStops_data() { addMapRows(); }

    void routeRowMarksItsStops() {
        QFETCH(QString, file);
        const auto map = loadMap(file);
        QVERIFY(map);
        const std::optional<RouteTable> table = routeTableFor(map->MapCode);
        QVERIFY(table);
        const QList<Route>& routes = theCity().routes(networkOf(map->MapCode));
        for (qsizetype row = 1; row <= table->rows.size(); ++row) {
            QString key = map->MapCode + table->rows[row - 1].number;
            if (row == 1 || (row == 2 && map->MapCode == QLatin1String("A")))
                key += QLatin1Char(' ');
            QStringList marked;
            for (const Stop& s : map->stops()) {
                if (s.Routes.contains(key))
                    marked << s.Label.Caption;
            }
            const Route& route = routes[row - 1];
            QStringList expected = route.forward;
            for (const QString& n : route.backward) {
                if (!expected.contains(n))
                    expected << n;
            }
            marked.sort();
            expected.sort();
            QCOMPARE(marked, expected);
        }
    }

    // The pieces of a routes text are exactly the codes of the routes calling there: no empty
    // piece, which every such stop would share and so hide the changes between them.
    void routesTextsSplitIntoCodes_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("trolleybus") << "MapTrol.gaf";
        QTest::newRow("tram") << "MapTram.gaf";
    }

    void routesTextsSplitIntoCodes() {
        QFETCH(QString, file);
        const auto map = loadMap(file);
        QVERIFY(map);
        QSet<QString> codes;
        for (const Route& r : theCity().routes(networkOf(map->MapCode)))
            codes.insert(r.code);
        for (const Stop& s : map->stops()) {
            const TArrVer pieces = SplitRoutes(s.Routes);
            QVERIFY(!pieces.isEmpty());
            for (const QString& p : pieces)
                QVERIFY2(codes.contains(p), qPrintable(s.Label.Caption + QLatin1Char('|') +
                                                       s.Routes + QLatin1Char('|')));
        }
    }

    void stopsSitOnStreetsOfThePlan_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("trolleybus") << "MapTrol.gaf";
        QTest::newRow("tram") << "MapTram.gaf";
        QTest::newRow("metro on the plan") << "LirskMetro.gaf";
    }

    void stopsSitOnStreetsOfThePlan() {
        QFETCH(QString, file);
        const auto map = loadMap(file);
        QVERIFY(map);
        const QRect plan(QPoint(0, 0), theCity().size);
        for (const Stop& s : map->stops()) {
            const QPointF centre(s.centreX(), s.centreY());
            QVERIFY2(distanceToStreet(theCity(), centre) <= 6, qPrintable(s.Label.Caption));
            QVERIFY(plan.contains(QRect(s.Left, s.Top, s.Width, s.Height)));
        }
    }

    void planIsAJpegOfTheCitysSize() {
        QImageReader reader(kToolbox + QStringLiteral("/FonBitmap/Lirsk.jpg"));
        QCOMPARE(reader.format(), QByteArray("jpeg"));
        const QImage plan = reader.read();
        QVERIFY2(!plan.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(plan.size(), theCity().size);
    }

    // Every name stays readable: no name covers another name or another stop of the same map.
    void stopNamesDoNotCollide_data() { addMapRows(); }

    void stopNamesDoNotCollide() {
        QFETCH(QString, file);
        const auto map = loadMap(file);
        QVERIFY(map);
        QList<QRect> names;
        for (const Stop& s : map->stops()) {
            QVERIFY(s.Label.Visible);
            names << nameLabelRect(s);
            QVERIFY(!names.last().isEmpty());
        }
        for (qsizetype i = 0; i < names.size(); ++i) {
            const QString name = map->stop(StopIndex(i)).Label.Caption;
            for (qsizetype j = 0; j < names.size(); ++j) {
                const Stop* other = &map->stop(StopIndex(j));
                const QRect stop(other->Left, other->Top, other->Width, other->Height);
                QVERIFY2(!names[i].intersects(stop),
                         qPrintable(name + QStringLiteral(" / ") + other->Label.Caption));
                if (j != i)
                    QVERIFY2(!names[i].intersects(names[j]),
                             qPrintable(name + QStringLiteral(" / ") + other->Label.Caption));
            }
        }
    }

    // Journeys whose shortest way is the only one of its length, with the changes a traveller
    // makes on it and the fare of the Lirsk maps: 7 roubles and 7 more per change.
    void journeys_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<double>("metres");
        QTest::addColumn<int>("changes");
        QTest::addColumn<QString>("fare");
        QTest::addColumn<QString>("rides");
        const QString cr(QChar(13));
        QTest::newRow("trolleybus 6 along Советская")
            << "MapTrol.gaf"
            << "Советская"
            << "Чкаловская" << 3400.0 << 0 << "7 руб."
            << cr + "от ост. Советская до ост. Чкаловская" + cr + "№ 6 ";
        QTest::newRow("trolleybus, one change")
            << "MapTrol.gaf"
            << "Стадион"
            << "Лодочная станция" << 3247.0 << 1 << "14 руб." << QString();
        QTest::newRow("trolleybus, two changes") << "MapTrol.gaf"
                                                 << "Улица Ломоносова"
                                                 << "Пляж" << 2652.0 << 2 << "21 руб." << QString();
        QTest::newRow("tram 20 from a stop of 1")
            << "MapTram.gaf"
            << "Улица Толстого"
            << "Центральный рынок" << 1122.0 << 0 << "7 руб."
            << cr + "от ост. Улица Толстого до ост. Центральный рынок" + cr + "№ 20 ";
        QTest::newRow("tram 2 and 7 over the old bridge")
            << "MapTram.gaf"
            << "Заречье"
            << "Речной порт" << 4031.0 << 0 << "7 руб."
            << cr + "от ост. Заречье до ост. Речной порт" + cr + "№ 7 № 2 ";
        QTest::newRow("tram, one change") << "MapTram.gaf"
                                          << "Советская"
                                          << "Старый мост" << 1802.0 << 1 << "14 руб." << QString();
        QTest::newRow("tram, two changes") << "MapTram.gaf"
                                           << "Дом быта"
                                           << "Пристань" << 3877.0 << 2 << "21 руб." << QString();
        QTest::newRow("metro end to end")
            << "LirskMetro.gaf"
            << "Тракторная"
            << "Сосновый бор" << 9130.0 << 0 << "7 руб."
            << cr + "от ост. Тракторная до ост. Сосновый бор" + cr + "№ 1 ";
        QTest::newRow("metro diagram")
            << "MLirsk.gaf"
            << "Кировская"
            << "Детский парк" << 3860.0 << 0 << "7 руб."
            << cr + "от ост. Кировская до ост. Детский парк" + cr + "№ 1 ";
    }

    void journeys() {
        QFETCH(QString, file);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(double, metres);
        QFETCH(int, changes);
        QFETCH(QString, fare);
        QFETCH(QString, rides);
        const auto map = loadMap(file);
        QVERIFY(map);
        const StopIndex start = testing::stopNamed(*map, from);
        const StopIndex finish = testing::stopNamed(*map, to);
        QVERIFY(start != NoStop && finish != NoStop);
        const SearchResult result = FindWay(*map, start, finish);
        QCOMPARE(result.outcome, SearchOutcome::Found);
        QCOMPARE(result.length, metres);
        const RouteReport report = BuildRouteReport(*map, result.way, result.length, result.time,
                                                    map->MapCode, map->MapCity, QLatin1Char(','));
        QCOMPARE(report.transfers, changes);
        QCOMPARE(report.fareText, fare);
        QCOMPARE(int(report.ridesText.count(QStringLiteral("от ост. "))), changes + 1);
        if (!rides.isEmpty())
            QCOMPARE(report.ridesText, rides);
    }

    // The rules the generator keeps when it writes the routes texts.
    void routesTextRules_data() {
        QTest::addColumn<QStringList>("codes");
        QTest::addColumn<QString>("network");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("trolleybus 1 with others") << QStringList{"T1", "T5"} << "T"
                                                  << "T1 T5" << true;
        QTest::newRow("trolleybus 1 alone") << QStringList{"T1"} << "T"
                                            << "T1 " << false;
        QTest::newRow("tram 1 and 2 alone") << QStringList{"A1", "A2"} << "A"
                                            << "A1 A2 " << false;
        QTest::newRow("tram 2 with 7") << QStringList{"A2", "A7"} << "A"
                                       << "A2 A7" << true;
        QTest::newRow("trolleybus 2 alone") << QStringList{"T2"} << "T"
                                            << "T2" << true;
        QTest::newRow("one-line metro") << QStringList{"K1"} << "K"
                                        << "K1 " << true;
    }

    void routesTextRules() {
        QFETCH(QStringList, codes);
        QFETCH(QString, network);
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        // A street with the stop X, a stop Y and one end stop per route: the routes in `codes`
        // run from X to their end, the others from Y to theirs.
        const Network n = networkOf(network);
        const QStringList all = n == Network::Metro ? QStringList{"K1"}
                                                    : QStringList{network + "1", network + "2",
                                                                  network + "5", network + "7"};
        City c;
        c.size = QSize(400, 100);
        c.streets << Street{"ул. Тестовая", false, false, {QPointF(0, 50), QPointF(400, 50)}};
        QList<NamedPoint> stops{{"X", QPointF(20, 50)}, {"Y", QPointF(60, 50)}};
        QList<Route> routes;
        for (const QString& code : all) {
            const QString end = QStringLiteral("E") + code;
            stops << NamedPoint{end, QPointF(100 + 60 * stops.size(), 50)};
            routes << Route{code, {codes.contains(code) ? "X" : "Y", end}, {}};
        }
        if (n == Network::Metro) {
            c.metroStations = stops;
            for (const NamedPoint& s : stops)
                c.metroDiagram << s.at;
            c.metro = routes;
        } else {
            c.stops = stops;
            (n == Network::Tram ? c.tram : c.trolleybus) = routes;
        }
        QCOMPARE(routesText(c, n, QStringLiteral("X")), text);
        const bool complains = checkCity(c)
                                   .join(QLatin1Char('\n'))
                                   .contains(QStringLiteral("stop X needs another route"));
        QCOMPARE(!complains, accepted);
    }

    void labelsTakeTheFirstFreePlace_data() {
        QTest::addColumn<QList<QRect>>("stops");
        QTest::addColumn<QList<QPoint>>("labels");
        // Names 40 x 10 beside stops 10 x 10: right of the stop and level with its centre when
        // that is free; left when the right is taken; above when both are.
        QTest::newRow("alone") << QList<QRect>{QRect(100, 100, 10, 10)}
                               << QList<QPoint>{QPoint(112, 99)};
        QTest::newRow("neighbour on the right")
            << QList<QRect>{QRect(100, 100, 10, 10), QRect(130, 100, 10, 10)}
            << QList<QPoint>{QPoint(58, 99), QPoint(142, 99)};
        QTest::newRow("neighbours on both sides")
            << QList<QRect>{QRect(100, 100, 10, 10), QRect(130, 100, 10, 10),
                            QRect(70, 100, 10, 10)}
            << QList<QPoint>{QPoint(84, 88), QPoint(142, 99), QPoint(28, 99)};
        QTest::newRow("left edge of the plan")
            << QList<QRect>{QRect(0, 100, 10, 10), QRect(30, 100, 10, 10)}
            << QList<QPoint>{QPoint(-16, 88), QPoint(42, 99)};
    }

    void labelsTakeTheFirstFreePlace() {
        QFETCH(QList<QRect>, stops);
        QFETCH(QList<QPoint>, labels);
        QList<LabelBox> boxes;
        for (const QRect& s : stops)
            boxes << LabelBox{s, QSize(40, 10)};
        QCOMPARE(placeLabels(boxes, QRect(-20, 0, 400, 400)), labels);
    }
};

QTEST_MAIN(TestLirskMaps)
#include "tst_lirskmaps.moc"
