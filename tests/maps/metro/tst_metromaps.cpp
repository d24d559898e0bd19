#include "model/catalogue.h"
#include "model/mapfile.h"
#include "route/findway.h"
#include "route/report.h"

#include <QFile>
#include <QFontInfo>
#include <QFontMetrics>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QRect>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

using namespace lirsk;

// Every shipped metro map, checked against the facts it was made from (data/metro/facts) and
// the names and canvas its layout file gives.

namespace {

struct FactStation {
    QString key;  // "name@line"
    QString name; // as travellers know it, the name the map must show
    int line = 0;
    double lat = 0;
    double lon = 0;
};

struct FactLink {
    int a = -1; // indices into Network::stations
    int b = -1;
    std::optional<double> time;
};

struct Network {
    QString file;
    QString code;
    int width = 0; // the canvas the diagram must stay inside
    int height = 0;
    QMap<int, QString> colours; // "#RRGGBB" by line number
    QList<FactStation> stations;
    QList<FactLink> segments;
    QList<FactLink> transfers;

    int find(const QString& key) const {
        for (int i = 0; i < stations.size(); ++i)
            if (stations[i].key == key)
                return i;
        return -1;
    }
};

QJsonObject readJson(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return QJsonDocument::fromJson(file.readAll()).object();
}

Network network(const QString& city, const QString& file) {
    const QString dir = QStringLiteral(METRO_DATA_DIR);
    const QJsonObject facts = readJson(dir + "/facts/" + city + ".json");
    const QJsonObject layout = readJson(dir + "/" + city + ".layout.json");
    const QJsonObject names = layout["names"].toObject();
    Network net;
    net.file = file;
    net.code = layout["code"].toString();
    net.width = layout["canvas"].toObject()["width"].toInt();
    net.height = layout["canvas"].toObject()["height"].toInt();
    for (const QJsonValue& lv : facts["lines"].toArray()) {
        const QJsonObject line = lv.toObject();
        const int number = line["number"].toInt();
        net.colours[number] = line["colour"].toString();
        for (const QJsonValue& sv : line["stations"].toArray()) {
            const QJsonObject s = sv.toObject();
            FactStation st;
            st.line = number;
            st.key = s["name"].toString() + "@" + QString::number(number);
            st.name = names[st.key].toString(s["name"].toString());
            st.lat = s["lat"].toDouble();
            st.lon = s["lon"].toDouble();
            net.stations << st;
        }
        for (const QJsonValue& gv : line["segments"].toArray()) {
            const QJsonObject g = gv.toObject();
            const QString suffix = "@" + QString::number(number);
            FactLink link{net.find(g["from"].toString() + suffix),
                          net.find(g["to"].toString() + suffix), std::nullopt};
            if (g["time_s"].isDouble())
                link.time = g["time_s"].toDouble();
            net.segments << link;
        }
    }
    for (const QJsonValue& tv : facts["transfers"].toArray()) {
        const QJsonObject t = tv.toObject();
        net.transfers << FactLink{net.find(t["a"].toString()), net.find(t["b"].toString()),
                                  t["time_s"].toDouble()};
    }
    return net;
}

const QList<std::pair<QString, QString>>& shippedMaps() {
    static const QList<std::pair<QString, QString>> maps{{"spb", "MPiter.gaf"},
                                                         {"ekb", "MEkater.gaf"},
                                                         {"samara", "MSamara.gaf"},
                                                         {"moscow", "MMoscow.gaf"}};
    return maps;
}

QString mapPath(const QString& file) {
    return QStringLiteral(METRO_TOOLBOX_DIR) + "/map/" + file;
}

Colour mapColour(const QString& hex) {
    const unsigned rgb = hex.mid(1).toUInt(nullptr, 16);
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

double haversine(const FactStation& a, const FactStation& b) {
    const double rad = std::numbers::pi / 180;
    const double h = std::pow(std::sin((b.lat - a.lat) * rad / 2), 2) +
                     std::cos(a.lat * rad) * std::cos(b.lat * rad) *
                         std::pow(std::sin((b.lon - a.lon) * rad / 2), 2);
    return 2 * 6371008.8 * std::asin(std::sqrt(h));
}

// The stop of each facts station: the stops of a line are those with its routes text, in list
// order. Empty when the map does not have one stop for each station.
QList<StopIndex> stopsOfStations(const GraphMap& map, const Network& net) {
    QList<StopIndex> result(net.stations.size(), NoStop);
    QMap<int, int> taken; // stops of each line matched so far
    for (int i = 0; i < net.stations.size(); ++i) {
        const QString routes = net.code + QString::number(net.stations[i].line);
        int seen = 0;
        for (StopIndex stop = 0; stop < map.stopCount(); ++stop)
            if (map.stop(stop).Routes == routes && seen++ == taken[net.stations[i].line]) {
                result[i] = stop;
                break;
            }
        if (result[i] == NoStop)
            return {};
        ++taken[net.stations[i].line];
    }
    return result;
}

std::unique_ptr<GraphMap> loadMap(const QString& file) {
    auto map = std::make_unique<GraphMap>();
    QString error;
    if (readMapFile(mapPath(file), *map, &error))
        return map;
    qWarning("%s: %s", qPrintable(file), qPrintable(error));
    return nullptr;
}

} // namespace

class TestMetroMaps : public QObject {
    Q_OBJECT

private slots:
    void maps_data();
    void loadsAndValidates_data() { maps_data(); }
    void loadsAndValidates();
    void stationsFollowFacts_data() { maps_data(); }
    void stationsFollowFacts();
    void linksFollowFacts_data() { maps_data(); }
    void linksFollowFacts();
    void connected_data() { maps_data(); }
    void connected();
    void cleanDiagram_data() { maps_data(); }
    void cleanDiagram();
    void journeys_data();
    void journeys();
};

void TestMetroMaps::maps_data() {
    QTest::addColumn<QString>("city");
    QTest::addColumn<QString>("file");
    for (const auto& [city, file] : shippedMaps())
        QTest::newRow(qPrintable(file)) << city << file;
}

void TestMetroMaps::loadsAndValidates() {
    QFETCH(QString, file);
    QVERIFY(loadMap(file));
    QProcess gaftool;
    gaftool.start(QStringLiteral(METRO_GAFTOOL), {"validate", mapPath(file)});
    QVERIFY(gaftool.waitForFinished(60000));
    const QString output = QString::fromUtf8(gaftool.readAllStandardOutput());
    QVERIFY2(gaftool.exitStatus() == QProcess::NormalExit && gaftool.exitCode() == 0,
             qPrintable(output));
    QVERIFY2(output.startsWith("ok:"), qPrintable(output));
}

void TestMetroMaps::stationsFollowFacts() {
    QFETCH(QString, city);
    QFETCH(QString, file);
    const Network net = network(city, file);
    const auto map = loadMap(file);
    QVERIFY(map);
    QCOMPARE(map->stopCount(), net.stations.size());
    const QList<StopIndex> stops = stopsOfStations(*map, net);
    QVERIFY2(!stops.isEmpty(), "some line has fewer stops than stations");
    const std::optional<RouteTable> table = routeTableFor(net.code);
    QVERIFY(table);
    for (int i = 0; i < net.stations.size(); ++i) {
        const FactStation& st = net.stations[i];
        const Stop& stop = map->stop(stops[i]);
        QCOMPARE(stop.Label.Caption, st.name);
        QCOMPARE(stop.FillColor, mapColour(net.colours[st.line]));
        // The route number is the one the network's route table lists for the line.
        const QString number = QString::number(st.line);
        QVERIFY2(std::any_of(table->rows.begin(), table->rows.end(),
                             [&](const RouteRow& r) { return r.number == number; }),
                 qPrintable(st.key));
    }
    QCOMPARE(map->Settings.AutoArcColor, true);
}

void TestMetroMaps::linksFollowFacts() {
    QFETCH(QString, city);
    QFETCH(QString, file);
    const Network net = network(city, file);
    const auto map = loadMap(file);
    QVERIFY(map);
    const QList<StopIndex> stops = stopsOfStations(*map, net);
    QVERIFY(!stops.isEmpty());
    auto checkRoad = [&](const FactLink& f, double length, double time) {
        const Link* ab = map->FindLink(stops[f.a], stops[f.b]);
        const Link* ba = map->FindLink(stops[f.b], stops[f.a]);
        const QString what = net.stations[f.a].key + " - " + net.stations[f.b].key;
        QVERIFY2(ab && ba, qPrintable(what + ": no road"));
        QVERIFY2(!ab->IsArc && !ba->IsArc, qPrintable(what));
        for (const Link* l : {ab, ba}) {
            QCOMPARE(l->Length, length);
            QCOMPARE(l->Time, time);
            QCOMPARE(l->Price, 0.0);
        }
    };
    for (const FactLink& seg : net.segments) {
        const double length = std::round(haversine(net.stations[seg.a], net.stations[seg.b]));
        const double time = seg.time ? *seg.time : std::round(length / (40 / 3.6) + 20);
        checkRoad(seg, length, time);
        if (QTest::currentTestFailed())
            return;
    }
    for (const FactLink& t : net.transfers) {
        checkRoad(t, *t.time * 1.0, *t.time);
        if (QTest::currentTestFailed())
            return;
    }
    QCOMPARE(map->linkCount(), 2 * int(net.segments.size() + net.transfers.size()));
}

void TestMetroMaps::connected() {
    QFETCH(QString, file);
    const auto map = loadMap(file);
    QVERIFY(map);
    QList<StopIndex> reached{0};
    for (int i = 0; i < reached.size(); ++i)
        for (const Link& link : map->stop(reached[i]).Links)
            if (!reached.contains(link.To))
                reached << link.To;
    QCOMPARE(reached.size(), map->stopCount());
}

void TestMetroMaps::cleanDiagram() {
    QFETCH(QString, city);
    QFETCH(QString, file);
    const Network net = network(city, file);
    const auto map = loadMap(file);
    QVERIFY(map);
    const QList<StopIndex> indices = stopsOfStations(*map, net);
    QVERIFY(!indices.isEmpty());
    QList<const Stop*> stops;
    for (const StopIndex i : indices)
        stops << &map->stop(i);

    const FontSpec& spec = map->stop(0).Label.Font;
    QFont font(spec.Name);
    font.setPointSize(spec.Size);
    const QString family = QFontInfo(font).family();
    if (family != "Arial" && family != "Liberation Sans")
        QSKIP(
            qPrintable("no face with the widths of Arial here (fonts-liberation), got " + family));
    const QFontMetrics metrics(font);

    struct Circle {
        QString who;
        QPointF centre;
        double radius;
    };
    QList<Circle> circles;
    for (int i = 0; i < stops.size(); ++i)
        circles << Circle{net.stations[i].key, QPointF(stops[i]->centreX(), stops[i]->centreY()),
                          stops[i]->Width / 2.0};
    QList<std::pair<QString, QRect>> names;
    for (int i = 0; i < stops.size(); ++i)
        if (stops[i]->Label.Visible)
            names << std::pair{net.stations[i].key,
                               QRect(stops[i]->Label.Left, stops[i]->Label.Top,
                                     metrics.horizontalAdvance(stops[i]->Label.Caption),
                                     metrics.height())};
    const QRect canvas(0, 0, net.width, net.height);
    for (int i = 0; i < circles.size(); ++i) {
        const QRectF box(circles[i].centre - QPointF(circles[i].radius, circles[i].radius),
                         QSizeF(2 * circles[i].radius, 2 * circles[i].radius));
        QVERIFY2(canvas.contains(box.toAlignedRect()), qPrintable(circles[i].who));
        for (int j = i + 1; j < circles.size(); ++j) {
            const QPointF d = circles[i].centre - circles[j].centre;
            QVERIFY2(std::hypot(d.x(), d.y()) > circles[i].radius + circles[j].radius,
                     qPrintable(circles[i].who + " overlaps " + circles[j].who));
        }
    }
    for (int k = 0; k < names.size(); ++k) {
        const QRect& r = names[k].second;
        QVERIFY2(canvas.contains(r), qPrintable(names[k].first + ": name outside the canvas"));
        for (const Circle& c : circles) {
            const double nx = std::clamp(c.centre.x(), double(r.left()), r.right() + 1.0);
            const double ny = std::clamp(c.centre.y(), double(r.top()), r.bottom() + 1.0);
            QVERIFY2(std::hypot(c.centre.x() - nx, c.centre.y() - ny) >= c.radius,
                     qPrintable(names[k].first + ": name covers the stop " + c.who));
        }
        for (int m = k + 1; m < names.size(); ++m)
            QVERIFY2(!r.intersects(names[m].second),
                     qPrintable(names[k].first + ": name overlaps " + names[m].first));
    }
    // A stop without a name on the map belongs to an interchange of stops of its name, joined by
    // passages, one of which shows the name.
    for (int i = 0; i < stops.size(); ++i) {
        if (stops[i]->Label.Visible)
            continue;
        QList<int> interchange{i};
        for (int k = 0; k < interchange.size(); ++k)
            for (const FactLink& t : net.transfers) {
                const int at = interchange[k];
                const int other = t.a == at ? t.b : (t.b == at ? t.a : -1);
                if (other >= 0 && net.stations[other].name == net.stations[i].name &&
                    !interchange.contains(other))
                    interchange << other;
            }
        QVERIFY2(std::any_of(interchange.begin(), interchange.end(),
                             [&](int k) { return stops[k]->Label.Visible; }),
                 qPrintable(net.stations[i].key + " shows no name"));
    }
}

void TestMetroMaps::journeys_data() {
    QTest::addColumn<QString>("city");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<int>("changes");
    QTest::addColumn<QString>("fare");
    QTest::addColumn<QString>("firstRide");

    QTest::newRow("Piter, Девяткино to Купчино")
        << "spb"
        << "MPiter.gaf"
        << "Девяткино@1"
        << "Купчино@2" << 1 << "12 руб."
        << "от ост. Девяткино до ост. Технологический институт";
    QTest::newRow("Piter, along line 1") << "spb"
                                         << "MPiter.gaf"
                                         << "Проспект Ветеранов@1"
                                         << "Девяткино@1" << 0 << "12 руб."
                                         << "от ост. Проспект Ветеранов до ост. Девяткино";
    QTest::newRow("Piter, Приморская to Улица Дыбенко")
        << "spb"
        << "MPiter.gaf"
        << "Приморская@3"
        << "Улица Дыбенко@4" << 1 << "12 руб."
        << "от ост. Приморская до ост. Площадь Александра Невского";
    QTest::newRow("Piter, Старая Деревня to Сенная площадь")
        << "spb"
        << "MPiter.gaf"
        << "Старая Деревня@4"
        << "Сенная площадь@2" << 1 << "12 руб."
        << "от ост. Старая Деревня до ост. Сенная площадь";
    QTest::newRow("Yekaterinburg, end to end")
        << "ekb"
        << "MEkater.gaf"
        << "Проспект Космонавтов@1"
        << "Геологическая@1" << 0 << "9 руб."
        << "от ост. Проспект Космонавтов до ост. Геологическая";
    QTest::newRow("Samara, end to end") << "samara"
                                        << "MSamara.gaf"
                                        << "Юнгородок@1"
                                        << "Московская@1" << 0 << "9 руб."
                                        << "от ост. Юнгородок до ост. Московская";
    // The shortest way by length changes twice, onto the ring and off it: 7 + 7 per change.
    QTest::newRow("Moscow, Речной вокзал to Юго-Западная")
        << "moscow"
        << "MMoscow.gaf"
        << "Речной вокзал@2"
        << "Юго-Западная@1" << 2 << "21 руб."
        << "от ост. Речной вокзал до ост. Белорусская";
    QTest::newRow("Moscow, along line 6") << "moscow"
                                          << "MMoscow.gaf"
                                          << "Медведково@6"
                                          << "Битцевский парк@6" << 0 << "7 руб."
                                          << "от ост. Медведково до ост. Битцевский парк";
    QTest::newRow("Moscow, Выхино to Марьино") << "moscow"
                                               << "MMoscow.gaf"
                                               << "Выхино@7"
                                               << "Марьино@10" << 1 << "14 руб."
                                               << "от ост. Выхино до ост. Крестьянская застава";
    QTest::newRow("Moscow, ring closed at Киевская") << "moscow"
                                                     << "MMoscow.gaf"
                                                     << "Парк культуры@5"
                                                     << "Киевская@5" << 0 << "7 руб."
                                                     << "от ост. Парк культуры до ост. Киевская";
    QTest::newRow("Moscow, line 4 branch") << "moscow"
                                           << "MMoscow.gaf"
                                           << "Международная@4"
                                           << "Александровский сад@4" << 0 << "7 руб."
                                           << "от ост. Международная до ост. Александровский сад";
    QTest::newRow("Moscow, Алтуфьево to Щёлковская") << "moscow"
                                                     << "MMoscow.gaf"
                                                     << "Алтуфьево@9"
                                                     << "Щёлковская@3" << 2 << "21 руб."
                                                     << "от ост. Алтуфьево до ост. Новослободская";
}

void TestMetroMaps::journeys() {
    QFETCH(QString, city);
    QFETCH(QString, file);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(int, changes);
    QFETCH(QString, fare);
    QFETCH(QString, firstRide);
    const Network net = network(city, file);
    const auto map = loadMap(file);
    QVERIFY(map);
    // As the menu opens it: the built-in path gives the code and the city.
    const MapIdentity identity = recognizeMapPath("toolbox/map/" + file);
    map->MapCode = identity.mapCode;
    map->MapCity = identity.mapCity;
    const QList<StopIndex> stops = stopsOfStations(*map, net);
    QVERIFY(!stops.isEmpty());
    QVERIFY(net.find(from) >= 0 && net.find(to) >= 0);

    const SearchResult found = FindWay(*map, stops[net.find(from)], stops[net.find(to)]);
    QCOMPARE(found.outcome, SearchOutcome::Found);
    const RouteReport report = BuildRouteReport(*map, found.way, found.length, found.time,
                                                map->MapCode, map->MapCity, QLatin1Char(','));
    QStringList way;
    for (auto it = found.way.rbegin(); it != found.way.rend(); ++it)
        way << map->stop(*it).Label.Caption;
    const QString wayText = way.join(", ");
    QVERIFY2(report.transfers == changes,
             qPrintable(QString("%1 changes on %2").arg(report.transfers).arg(wayText)));
    QCOMPARE(report.fareText, fare);
    // The rides text starts with an empty line, then the first ride's stop line.
    QCOMPARE(report.ridesText.split(QChar(13)).value(1), firstRide);
}

QTEST_MAIN(TestMetroMaps)
#include "tst_metromaps.moc"
