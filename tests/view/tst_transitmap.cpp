// An imported city drawn as a transit map: routes side by side in an order that keeps each on its
// side, and names that overprint no other name and no stop, inside the map, at every zoom.

#include "gtfsfeed.h"
#include "imagehash.h"

#include "document/edits.h"
#include "import/gtfsimport.h"
#include "layout/schematicmap.h"
#include "layout/schematicrepair.h"
#include "view/maprenderer.h"
#include "view/nameplacer.h"

#include <QGuiApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

using namespace lirsk;

namespace {

// Stops at the points given, each with no name, joined in the order of each route (routes
// named by letters: "A" red, "B" blue, "C" green), both ways.
struct LineMap {
    GraphMap map;
    MapDescription description;
};

LineMap lineMap(const QList<QPoint>& points, const QStringList& routes) {
    LineMap m;
    for (const QPoint& p : points) {
        const StopIndex s = m.map.AddStop(p.x() - 5, p.y() - 5, true);
        m.map.stop(s).Label.Visible = false;
    }
    const Colour colours[] = {0x0000FF, 0xFF0000, 0x00A000};
    for (int r = 0; r < routes.size(); ++r) {
        m.description.routes.append({QString(QChar('A' + r)), {}, {}, colours[r], {}, {}});
        const QStringList stops = routes[r].split(QLatin1Char(' '));
        for (int k = 0; k + 1 < stops.size(); ++k) {
            const int a = stops[k].toInt(), b = stops[k + 1].toInt();
            for (const auto& [from, to] : {std::pair(a, b), std::pair(b, a)}) {
                if (!m.map.FindLink(from, to))
                    m.map.AddLink(from, to, {0, 100, 60});
                m.description.links.append({from, to, {r}});
            }
        }
    }
    return m;
}

QString routeLetters(const std::vector<int>& routes) {
    QString letters;
    for (const int r : routes)
        letters += QChar('A' + r);
    return letters;
}

// A city made up: a grid of stations 60 pixels apart with routes along its rows and columns and
// names of 3 to 10 letters, the names placed where the import puts them (right of the stop).
LineMap generatedCity(int side) {
    QList<QPoint> points;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            points.append(QPoint(40 + 60 * x, 40 + 60 * y));
    QStringList routes;
    for (int k = 0; k < side; k += 2) {
        QStringList row, column;
        for (int j = 0; j < side; ++j) {
            row << QString::number(k * side + j);
            column << QString::number(j * side + k);
        }
        routes << row.join(QLatin1Char(' ')) << column.join(QLatin1Char(' '));
    }
    LineMap m = lineMap(points, routes.mid(0, 3));
    QRandomGenerator random(7);
    for (StopIndex i = 0; i < m.map.stopCount(); ++i) {
        Stop& stop = m.map.stop(i);
        stop.Label.Visible = true;
        stop.Label.Caption = QString(3 + int(random.bounded(8)), QLatin1Char('n'));
        stop.Label.Left = stop.Left + 12;
        stop.Label.Top = stop.Top;
        m.description.placedNames.append({stop.Id, 12, 0});
    }
    return m;
}

// A metro made up: six lines out from the centre, each of eight stations bending a little at
// random, and a ring line through the fourth station of each.
LineMap generatedMetro() {
    QRandomGenerator random(11);
    QList<QPoint> points{{1000, 1000}};
    QStringList routes, ring;
    for (int line = 0; line < 6; ++line) {
        double angle = line * M_PI / 3 + random.bounded(0.4);
        QPointF at(1000, 1000);
        QStringList stops{QStringLiteral("0")};
        for (int k = 0; k < 8; ++k) {
            angle += random.bounded(0.5) - 0.25;
            at += QPointF(std::cos(angle), std::sin(angle)) * (80 + random.bounded(40));
            stops << QString::number(points.size());
            if (k == 3)
                ring << stops.back();
            points.append(at.toPoint());
        }
        routes << stops.join(QLatin1Char(' '));
    }
    ring << ring.front();
    routes << ring.join(QLatin1Char(' '));
    LineMap m = lineMap(points, routes.mid(0, 3));
    // The other lines and the ring join their stops without a colour of their own.
    for (const QString& route : routes.mid(3)) {
        const QStringList stops = route.split(QLatin1Char(' '));
        for (int k = 0; k + 1 < stops.size(); ++k)
            m.map.AddLink(stops[k].toInt(), stops[k + 1].toInt(), {0, 100, 60});
    }
    return m;
}

// The map drawn in its schematic layout.
void showSchematic(LineMap& m) {
    QList<LaidOutStop> places;
    SchematicFigures figures;
    QString error;
    QVERIFY2(schematicPlaces(m.map, &m.description, &places, &figures, &error), qPrintable(error));
    moveToLayout(m.map, places);
}

} // namespace

class TestTransitMap : public QObject {
    Q_OBJECT
private slots:
    // Two routes share the middle links and part at one end: on every shared link the one that
    // parts to the left runs on the left, so they never cross.
    void linesKeepTheirSide_data() {
        QTest::addColumn<QStringList>("routes");
        QTest::addColumn<QString>("order"); // left to right going from stop 0 to stop 1
        // 0 - 1 - 2 along a row; 3 above and 4 below beyond 2, 5 above and 6 below before 0.
        QTest::newRow("parting ahead, A to the left") << QStringList{"0 1 2 3", "0 1 2 4"} << "AB";
        QTest::newRow("parting ahead, A to the right") << QStringList{"0 1 2 4", "0 1 2 3"} << "BA";
        QTest::newRow("parting behind, A from the left")
            << QStringList{"5 0 1 2", "6 0 1 2"} << "AB";
        QTest::newRow("three, the middle one straight on")
            << QStringList{"0 1 2 4", "0 1 2 7", "0 1 2 3"} << "CBA";
    }

    void linesKeepTheirSide() {
        QFETCH(QStringList, routes);
        QFETCH(QString, order);
        const LineMap m = lineMap({{100, 100},
                                   {200, 100},
                                   {300, 100},
                                   {400, 0},
                                   {400, 200},
                                   {0, 0},
                                   {0, 200},
                                   {400, 100}},
                                  routes);
        const LineBundles lines(m.map, m.description);
        for (const auto& [a, b] : {std::pair(0, 1), std::pair(1, 2)}) {
            const int k = lines.find(a, b);
            QVERIFY(k >= 0);
            QCOMPARE(routeLetters(lines.bundles()[std::size_t(k)].routes), order);
        }
    }

    // An express joins stations that are not neighbours: it is drawn beside the stopping line
    // over the track between them, unless the stations between lie off its way on the ground.
    void expressAlongTheStoppingLine_data() {
        QTest::addColumn<QPoint>("middle");
        QTest::addColumn<QPoint>("ground");   // the middle's place on the ground beside a schematic
        QTest::addColumn<QString>("between"); // the routes drawn 0 - 1, 1 - 2 and 0 - 2
        QTest::addColumn<std::vector<StopIndex>>("through"); // what a way from 2 to 0 passes
        QTest::newRow("on the way")
            << QPoint(200, 110) << QPoint() << "AB AB -" << std::vector<StopIndex>{1};
        QTest::newRow("far off the way")
            << QPoint(200, 300) << QPoint() << "A A B" << std::vector<StopIndex>{};
        QTest::newRow("bent by the schematic only")
            << QPoint(200, 300) << QPoint(200, 110) << "AB AB -" << std::vector<StopIndex>{1};
    }

    void expressAlongTheStoppingLine() {
        QFETCH(QPoint, middle);
        QFETCH(QPoint, ground);
        QFETCH(QString, between);
        QFETCH(std::vector<StopIndex>, through);
        LineMap m = lineMap({{100, 100}, middle, {300, 100}}, {"0 1 2", "0 2"});
        if (!ground.isNull()) {
            QList<LaidOutStop> geographic = placesOf(m.map);
            geographic[1] = {m.map.stop(1).Id, ground.x() - 5, ground.y() - 5};
            m.description.layouts = MapLayouts{geographic, placesOf(m.map), true};
        }
        const LineBundles lines(m.map, m.description);
        QStringList drawn;
        for (const auto& [a, b] : {std::pair(0, 1), std::pair(1, 2), std::pair(0, 2)}) {
            const int k = lines.find(a, b);
            const QString routes =
                k < 0 ? QString() : routeLetters(lines.bundles()[std::size_t(k)].routes);
            drawn << (routes.isEmpty() ? QStringLiteral("-") : routes);
        }
        QCOMPARE(drawn.join(QLatin1Char(' ')), between);
        QVERIFY(lines.drawnThrough(2, 0) == through);
    }

    // The strokes of a shared link side by side with the station bars across them, drawn as
    // they were when this picture was looked at.
    void strokesPicture() {
        LineMap m = lineMap({{40, 60}, {140, 60}, {220, 140}}, {"0 1 2", "0 1"});
        m.map.Settings.ShowWeights = false;
        GraphCanvas canvas;
        canvas.resize(260, 180);
        RedrawGraph(canvas, m.map, nullptr, &m.description);
        QCOMPARE(lirsktest::hashOf(canvas.image),
                 QStringLiteral("445443a8dc0828c2103ddafd4f26e76f"));
    }

    // The schematic layout of a network: every link of its rides horizontal, vertical or at 45
    // degrees, no two crossing that do not cross on the ground, no two stations on one place.
    void schematicIsOctilinear_data() {
        QTest::addColumn<int>("network"); // 0 the generated metro, 1 the hand-made metro feed
        QTest::newRow("generated metro") << 0;
        QTest::newRow("hand-made metro feed") << 1;
    }

    void schematicIsOctilinear() {
        QFETCH(int, network);
        LineMap m = network == 0 ? generatedMetro() : metroFeed();
        QList<LaidOutStop> places;
        SchematicFigures figures;
        QString error;
        QVERIFY2(schematicPlaces(m.map, &m.description, &places, &figures, &error),
                 qPrintable(error));
        QVERIFY(figures.links > 0);
        QCOMPARE(figures.octilinearLinks, figures.links);
        QCOMPARE(figures.newCrossings, 0);
        QSet<std::pair<int, int>> taken;
        for (const LaidOutStop& place : places) {
            QVERIFY(!taken.contains({place.left, place.top}));
            taken.insert({place.left, place.top});
        }
        // Back to the ground: every stop where it was.
        const QList<LaidOutStop> ground = placesOf(m.map);
        moveToLayout(m.map, places);
        moveToLayout(m.map, ground);
        QCOMPARE(placesOf(m.map), ground);
    }

    // The repair after the grid: a station beside its line goes back onto it; a station of an
    // interchange that may not move (another stands where its line would need it) gets its line
    // shifted over to it, up to the line's next bend. Every link then runs in the eight
    // directions, none crossing anew, no station moved further than the reach.
    void repairStraightensLinks_data() {
        QTest::addColumn<QList<QPoint>>("placed"); // the ground is the same, straightened
        QTest::addColumn<QList<QPoint>>("ground");
        QTest::addColumn<QList<QPoint>>("links");
        QTest::newRow("station beside its line")
            << QList<QPoint>{{0, 0}, {40, 5}, {80, 0}} << QList<QPoint>{{0, 0}, {40, 0}, {80, 0}}
            << QList<QPoint>{{0, 1}, {1, 2}};
        QTest::newRow("line shifted to an interchange station")
            << QList<QPoint>{{0, 0}, {4, 0}, {0, 40}, {0, 80}, {40, 120}}
            << QList<QPoint>{{-30, 0}, {0, 0}, {0, 40}, {0, 80}, {40, 120}}
            << QList<QPoint>{{1, 2}, {2, 3}, {3, 4}};
    }

    void repairStraightensLinks() {
        QFETCH(QList<QPoint>, placed);
        QFETCH(QList<QPoint>, ground);
        QFETCH(QList<QPoint>, links);
        OctilinearInput input;
        for (const QPoint& point : ground)
            input.points.emplace_back(point);
        for (const QPoint& link : links)
            input.links.emplace_back(link.x(), link.y());
        std::vector<QPoint> places(placed.begin(), placed.end());
        repairSchematic(input, places, kSchematicStep, 8);
        for (const QPoint& link : links) {
            const QPoint d = places[std::size_t(link.y())] - places[std::size_t(link.x())];
            QVERIFY2(d.x() == 0 || d.y() == 0 || std::abs(d.x()) == std::abs(d.y()),
                     qPrintable(QStringLiteral("link %1-%2").arg(link.x()).arg(link.y())));
        }
        QCOMPARE(countNewCrossings(input, std::vector<QPointF>(places.begin(), places.end())), 0);
        for (std::size_t i = 0; i < places.size(); ++i)
            QVERIFY((places[i] - placed[qsizetype(i)]).manhattanLength() <= 2 * kSchematicStep);
    }

    // «Схема» and «География»: one edit each way, undone and redone whole; asking for the layout
    // shown leaves no edit.
    void layoutSwitchIsOneEdit() {
        LineMap m = metroFeed();
        MapDocument document;
        document.map() = m.map;
        const QList<LaidOutStop> ground = placesOf(m.map);
        LineMap schematic = m;
        showSchematic(schematic);
        m.description.layouts = MapLayouts{ground, placesOf(schematic.map), false};
        document.setDescription(m.description);
        edit::showLayout(document, false);
        QCOMPARE(document.undoStack()->count(), 0);
        edit::showLayout(document, true);
        QCOMPARE(document.undoStack()->count(), 1);
        QCOMPARE(placesOf(document.map()), placesOf(schematic.map));
        QCOMPARE(document.map().stop(2).Label.Left - document.map().stop(2).Left,
                 m.map.stop(2).Label.Left - m.map.stop(2).Left);
        document.undoStack()->undo();
        QCOMPARE(placesOf(document.map()), ground);
        QVERIFY(!document.description()->layouts->schematicShown);
        document.undoStack()->redo();
        QCOMPARE(placesOf(document.map()), placesOf(schematic.map));
        QVERIFY(document.description()->layouts->schematicShown);
        // The description keeps both layouts through its file.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("metro.gaf"));
        QString error;
        QVERIFY2(saveMapDescription(path, *document.description(), &error), qPrintable(error));
        MapDescription read;
        QCOMPARE(readMapDescription(path, &read, &error), DescriptionRead::Read);
        QCOMPARE(read.layouts, document.description()->layouts);
    }

    void namesNeverOverprint_data() {
        QTest::addColumn<double>("zoom");
        QTest::addColumn<bool>("feed");      // the hand-made feed, else the generated city
        QTest::addColumn<bool>("schematic"); // the metro feed in its schematic layout
        QTest::addColumn<double>("shown");   // the least share of names shown
        for (const double zoom : {0.2, 0.5, 1.0, 2.0, 4.0})
            QTest::addRow("generated city at %d %%", int(zoom * 100))
                << zoom << false << false << (zoom >= 1.0 ? 0.9 : 0.0);
        // Stations 15 pixels apart at 100 %: every name shows from 200 %.
        for (const double zoom : {0.5, 1.0, 2.0})
            QTest::addRow("hand-made feed at %d %%", int(zoom * 100)) << zoom << true << false
                                                                      << (zoom >= 2.0   ? 1.0
                                                                          : zoom >= 1.0 ? 0.5
                                                                                        : 0.0);
        for (const double zoom : {0.5, 1.0})
            QTest::addRow("schematic metro at %d %%", int(zoom * 100))
                << zoom << true << true << (zoom >= 1.0 ? 1.0 : 0.0);
    }

    void namesNeverOverprint() {
        QFETCH(double, zoom);
        QFETCH(bool, feed);
        QFETCH(bool, schematic);
        QFETCH(double, shown);
        LineMap m = schematic ? metroFeed() : feed ? importedFeed() : generatedCity(20);
        if (schematic)
            showSchematic(m);
        const QRectF bounds(QPointF(0, 0), QSizeF(mapExtent(m.map).size()));
        const NamePlaces places = placeDescribedNames(
            m.map, m.description, LineBundles(m.map, m.description), zoom, bounds);
        int count = 0, named = 0;
        for (StopIndex i = 0; i < m.map.stopCount(); ++i) {
            named += m.map.stop(i).Label.Visible;
            const QRectF box = places.boxes[std::size_t(i)];
            if (box.isEmpty())
                continue;
            ++count;
            QVERIFY2(bounds.contains(box), qPrintable(m.map.stop(i).Label.Caption));
            for (StopIndex j = 0; j < m.map.stopCount(); ++j) {
                const Stop& other = m.map.stop(j);
                const QRectF otherBox = places.boxes[std::size_t(j)];
                QVERIFY(j == i || !box.intersects(otherBox));
                QVERIFY(j == i ||
                        !box.intersects(QRectF(other.Left, other.Top, other.Width, other.Height)));
            }
        }
        QVERIFY2(count >= shown * named,
                 qPrintable(QStringLiteral("%1 of %2").arg(count).arg(named)));
    }

    // A name moved by hand keeps its stored place at every zoom; the others the program places.
    void movedNameKeepsItsPlace() {
        LineMap m = generatedCity(4);
        Stop& moved = m.map.stop(5);
        moved.Label.Left += 3;
        const QRectF bounds(QPointF(0, 0), QSizeF(mapExtent(m.map).size()));
        const LineBundles lines(m.map, m.description);
        for (const double zoom : {1.0, 2.0}) {
            const NamePlaces places =
                placeDescribedNames(m.map, m.description, lines, zoom, bounds);
            QCOMPARE(places.boxes[5].topLeft(), QPointF(moved.Label.Left, moved.Label.Top));
        }
        const std::vector<bool> placed = namesPlacedByProgram(m.map, m.description.placedNames);
        QVERIFY(!placed[5] && placed[4]);
    }

private:
    // A line of six stations 150 m apart with long names, and a second line crossing it.
    static LineMap importedFeed() {
        return imported(
            {{"stops.txt", "stop_id,stop_name,stop_lat,stop_lon\n"
                           "1,Central Station North Entrance,0,0\n"
                           "2,Museum of Natural History,0,0.00135\n"
                           "3,University Avenue and Park Street,0,0.0027\n"
                           "4,Harbour Front,0,0.00405\n5,Old Town Square,0,0.0054\n"
                           "6,Riverside Terminal,0,0.00675\n"
                           "7,Hospital,0.0027,0.0027\n8,Stadium Main Gate,-0.0027,0.0027\n"},
             {"routes.txt", "route_id,route_short_name,route_type\nA,1,1\nB,2,1\n"},
             {"trips.txt", "route_id,service_id,trip_id\nA,s,a\nB,s,b\n"},
             {"stop_times.txt", "trip_id,arrival_time,departure_time,stop_id,stop_sequence\n"
                                "a,08:00:00,08:00:00,1,1\na,08:01:00,08:01:00,2,2\n"
                                "a,08:02:00,08:02:00,3,3\na,08:03:00,08:03:00,4,4\n"
                                "a,08:04:00,08:04:00,5,5\na,08:05:00,08:05:00,6,6\n"
                                "b,08:00:00,08:00:00,7,1\nb,08:02:00,08:02:00,3,2\n"
                                "b,08:04:00,08:04:00,8,3\n"}},
            10);
    }

    // A small metro as a city has one: line 1 west to east bending north at its end, line 2
    // from the north across it at Centre, an express of line 1 that passes two stations by,
    // a branch of line 2 and line 3 from the north line's end round to the east end (a ring).
    static LineMap metroFeed() {
        const QByteArray times[] = {"a,W,1\na,M,2\na,C,3\na,P,4\na,H,5\na,E,6\na,F,7\n",
                                    "b,N,1\nb,K,2\nb,C,3\nb,S,4\nb,T,5\n", "x,W,1\nx,P,2\nx,F,3\n",
                                    "y,S,1\ny,U,2\ny,V,3\n", "z,N,1\nz,Q,2\nz,R,3\nz,F,4\n"};
        QByteArray stopTimes = "trip_id,stop_id,stop_sequence,arrival_time,departure_time\n";
        for (const QByteArray& trip : times)
            stopTimes += QByteArray(trip).replace("\n", ",08:00:00,08:00:00\n");
        return imported(
            {{"stops.txt", "stop_id,stop_name,stop_lat,stop_lon\n"
                           "W,Western Gate,0,0\nM,Market,0.0004,0.009\nC,Centre,0,0.018\n"
                           "P,Park Avenue,-0.0006,0.027\nH,Harbour,0.001,0.036\n"
                           "E,East Bridge,0.004,0.043\nF,Fort Hill,0.011,0.047\n"
                           "N,North Station,0.02,0.019\nK,Kings Road,0.01,0.0175\n"
                           "S,South Square,-0.009,0.0185\nT,Tannery,-0.018,0.016\n"
                           "U,University,-0.014,0.026\nV,Velodrome,-0.02,0.033\n"
                           "Q,Quarry Lane,0.021,0.03\nR,Riverside,0.018,0.04\n"},
             {"routes.txt",
              "route_id,route_short_name,route_type\n1,1,1\n1x,1X,1\n2,2,1\n2b,2B,1\n3,3,1\n"},
             {"trips.txt", "route_id,service_id,trip_id\n1,s,a\n2,s,b\n1x,s,x\n2b,s,y\n3,s,z\n"},
             {"stop_times.txt", stopTimes}},
            20);
    }

    static LineMap imported(const lirsktest::Feed& feed, double metresPerPixel) {
        QTemporaryDir dir;
        lirsktest::writeFeed(dir.path(), feed);
        LineMap m;
        GtfsImportOptions options;
        options.metresPerPixel = metresPerPixel;
        GtfsImportResult result;
        QString error;
        if (!importGtfs(dir.path(), options, m.map, &result, &error))
            qWarning() << error;
        m.description = result.description;
        return m;
    }
};

QTEST_MAIN(TestTransitMap)
#include "tst_transitmap.moc"
