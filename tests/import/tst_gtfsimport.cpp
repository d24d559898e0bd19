#include "gaftoolrun.h"
#include "gtfsfeed.h"

#include "import/gtfsimport.h"
#include "route/report.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

// Small feeds written by hand. Stops lie on the equator or on meridian 0, so that 0.009 degrees
// is 1000.75 m (1001 m once rounded) and every length can be worked out by hand.

using namespace lirsk;

namespace {

using lirsktest::Feed;
using lirsktest::writeFeed;

const QByteArray kRoutes = "route_id,route_short_name,route_type,route_color\n"
                           "T,1,0,FF0000\nB,1,3,0000FF\n";

// A tram W-C-E along the equator and a bus N-C2 from the north, every day of 2026; C and C2 are
// 40 m apart, and transfers.txt makes the walk from C to C2 take two minutes.
Feed crossing() {
    return {{"agency.txt", "agency_name,agency_url,agency_timezone\n,http://x,Europe/Moscow\n"},
            {"stops.txt", "stop_id,stop_name,stop_lat,stop_lon\n"
                          "W,West,0,0\nC,Centre,0,0.009\nE,East,0,0.018\n"
                          "N,North,0.009,0.00936\nC2,Centre Bus,0,0.00936\n"},
            {"routes.txt", kRoutes},
            {"trips.txt", "route_id,service_id,trip_id\nT,s,t1\nT,s,t2\nT,s,t3\nB,s,b1\n"},
            {"stop_times.txt", "trip_id,arrival_time,departure_time,stop_id,stop_sequence\n"
                               "t1,08:00:00,08:00:00,W,1\nt1,08:01:00,08:01:00,C,2\n"
                               "t2,08:10:00,08:10:00,W,1\nt2,08:12:00,08:12:00,C,2\n"
                               "t3,08:20:00,08:20:00,W,1\nt3,08:30:00,08:30:00,C,2\n"
                               "t3,08:32:00,08:32:00,E,3\n"
                               "b1,09:00:00,09:00:00,N,1\nb1,09:04:00,09:04:00,C2,2\n"},
            {"transfers.txt", "from_stop_id,to_stop_id,transfer_type,min_transfer_time\n"
                              "C,C2,2,120\nC,C,1,\n"},
            {"calendar.txt", "service_id,monday,tuesday,wednesday,thursday,friday,saturday,sunday,"
                             "start_date,end_date\ns,1,1,1,1,1,1,1,20260101,20261231\n"},
            {"fare_attributes.txt", "fare_id,price,currency_type,payment_method,transfers\n"
                                    "f1,40,RUB,0,0\nf2,60,RUB,0,\nf3,40,RUB,0,0\n"}};
}

// "From>To 40m 120s road", and " walk" where the description lists the link as a walk.
QString linkText(const GraphMap& map, const Stop& from, const Link& l,
                 const MapDescription& description) {
    const std::pair<int, int> ids(from.Id, map.stop(l.To).Id);
    const bool walk = std::find(description.walks.begin(), description.walks.end(), ids) !=
                      description.walks.end();
    return QStringLiteral("%1>%2 %3m %4s %5%6")
        .arg(from.Label.Caption, map.stop(l.To).Label.Caption)
        .arg(l.Length)
        .arg(l.Time)
        .arg(l.IsArc ? QStringLiteral("arc") : QStringLiteral("road"),
             walk ? QStringLiteral(" walk") : QString());
}

} // namespace

class TestGtfsImport : public QObject {
    Q_OBJECT

private slots:
    void maps_data();
    void maps();
    void broken_data();
    void broken();
    void journey();
    void names();
    void readings_data();
    void readings();
    void fares_data();
    void fares();
    void lines();
    void machine_data();
    void machine();
};

void TestGtfsImport::maps_data() {
    QTest::addColumn<Feed>("feed");
    QTest::addColumn<QStringList>("stops"); // name: routes text
    QTest::addColumn<QStringList>("links");

    // Median of 60, 120 and 600 s; the walk is a road both ways, back from C2 a second a metre.
    QTest::newRow("two lines crossing, a transfer")
        << crossing()
        << QStringList{"West: G1-tram", "Centre: G1-tram", "East: G1-tram", "North: G1-bus",
                       "Centre Bus: G1-bus"}
        << QStringList{"West>Centre 1001m 120s arc", "Centre>East 1001m 120s arc",
                       "Centre>Centre Bus 40m 120s road walk", "North>Centre Bus 1001m 240s arc",
                       "Centre Bus>Centre 40m 41s road walk"};

    // A loop A-B-C-A along a shape through the corner (0, 0.009): the last call projects onto
    // the end of the shape, not back onto its start. C's blank time is spread by straight-line
    // distance: 240 s x 1001 / (1001 + 1415).
    const Feed loop{
        {"stops.txt",
         "stop_id,stop_name,stop_lat,stop_lon\nA,A,0,0\nB,B,0.009,0\nC,C,0.009,0.009\n"},
        {"routes.txt", "route_id,route_short_name,route_type\nL,7,3\n"},
        {"trips.txt", "route_id,service_id,trip_id,shape_id\nL,s,l1,sh\n"},
        {"shapes.txt", "shape_id,shape_pt_lat,shape_pt_lon,shape_pt_sequence\n"
                       "sh,0,0,1\nsh,0.009,0,2\nsh,0.009,0.009,3\nsh,0,0.009,4\nsh,0,0,5\n"},
        {"stop_times.txt", "trip_id,arrival_time,departure_time,stop_id,stop_sequence\n"
                           "l1,23:58:00,23:58:00,A,1\nl1,23:59:00,23:59:00,B,2\n"
                           "l1,,,C,3\nl1,24:03:00,24:03:00,A,4\n"}};
    QTest::newRow("loop line along its shape, times past midnight interpolated")
        << loop << QStringList{"A: G7", "B: G7", "C: G7"}
        << QStringList{"A>B 1001m 60s arc", "B>C 1001m 99s arc", "C>A 2002m 141s arc"};

    // Out along the shape's detour (2002 m), back straight (1415 m): both links get the mean.
    Feed pair{{"stops.txt", "stop_id,stop_name,stop_lat,stop_lon\nA,A,0,0\nC,C,0.009,0.009\n"},
              {"routes.txt", "route_id,route_type\nR9,3\n"},
              {"trips.txt", "route_id,service_id,trip_id,shape_id\nR9,s,out,sh\nR9,s,back,\n"},
              {"shapes.txt", "shape_id,shape_pt_lat,shape_pt_lon,shape_pt_sequence\n"
                             "sh,0,0,1\nsh,0.009,0,2\nsh,0.009,0.009,3\n"},
              {"stop_times.txt", "trip_id,arrival_time,departure_time,stop_id,stop_sequence\n"
                                 "back,07:00:00,07:00:00,C,1\nout,06:00:00,06:00:00,A,1\n"
                                 "back,07:02:00,07:02:00,A,2\nout,06:03:00,06:03:00,C,2\n"}};
    QTest::newRow("both directions, one with a shape: a road of the mean length")
        << pair << QStringList{"A: GR9", "C: GR9"}
        << QStringList{"A>C 1708m 180s road", "C>A 1708m 120s road"};

    Feed oneWay = pair;
    oneWay["stop_times.txt"] = "trip_id,arrival_time,departure_time,stop_id,stop_sequence\n"
                               "back,07:00:00,07:00:00,C,1\nback,07:02:00,07:02:00,A,2\n";
    QTest::newRow("one-way pair") << oneWay << QStringList{"A: GR9", "C: GR9"}
                                  << QStringList{"C>A 1415m 120s arc"};

    // Platforms P1 and P2 of station S, in both directions; the bus elsewhere is 100.07 m away:
    // a walk of 101 s.
    const Feed platforms{
        {"stops.txt",
         "\xEF\xBB\xBFstop_id,stop_name,stop_lat,stop_lon,location_type,parent_station\r\n"
         "P1,\"Main \"\"Central\"\", platform 1\",0.0001,0,0,S\r\n"
         "S,\"Main \"\"Central\"\",\nstation\",0,0,1,\r\n"
         "P2,Platform 2,-0.0001,0,0,S\r\n"
         "X,\"Far, away\",0.009,0,,\r\n"
         "Y,Bus,0,0.0009,,\r\n"},
        {"routes.txt", "route_id,route_short_name,route_type\r\nM,M 1,401\r\nQ,,3\r\n"},
        {"trips.txt", "route_id,service_id,trip_id\r\nM,s,a\r\nM,s,b\r\nQ,s,q\r\n"},
        {"stop_times.txt", "trip_id,arrival_time,departure_time,stop_id,stop_sequence\r\n"
                           "a,10:00:00,10:00:00,P1,1\r\na,10:02:00,10:02:00,X,2\r\n"
                           "b,10:00:00,10:00:00,X,1\r\nb,10:02:00,10:02:00,P2,2\r\n"
                           "q,10:00:00,10:00:00,Y,1\r\nq,10:09:00,10:09:00,X,2\r\n"}};
    QTest::newRow("parent station with platforms, quoted fields, BOM, CRLF")
        << platforms
        << QStringList{"Main \"Central\",\nstation: GM1", "Far, away: GM1 GQ", "Bus: GQ"}
        << QStringList{"Main \"Central\",\nstation>Far, away 1001m 120s road",
                       "Main \"Central\",\nstation>Bus 100m 101s road walk",
                       "Far, away>Main \"Central\",\nstation 1001m 120s road",
                       "Bus>Far, away 1006m 540s arc",
                       "Bus>Main \"Central\",\nstation 100m 101s road walk"};
}

void TestGtfsImport::maps() {
    QFETCH(Feed, feed);
    QFETCH(QStringList, stops);
    QFETCH(QStringList, links);
    QTemporaryDir dir;
    QVERIFY(writeFeed(dir.path(), feed));
    GraphMap map;
    GtfsImportResult result;
    QString error;
    QVERIFY2(importGtfs(dir.path(), {}, map, &result, &error), qPrintable(error));
    QStringList gotStops, gotLinks;
    for (const Stop& stop : map.stops()) {
        gotStops << stop.Label.Caption + QStringLiteral(": ") + stop.Routes;
        for (const Link& link : stop.Links)
            gotLinks << linkText(map, stop, link, result.description);
    }
    QCOMPARE(gotStops, stops);
    QCOMPARE(gotLinks, links);
    QVERIFY(map.Settings.AutoArcColor);
}

void TestGtfsImport::broken_data() {
    QTest::addColumn<Feed>("feed");
    QTest::addColumn<QString>("message");
    Feed f = crossing();
    f.remove("stops.txt");
    QTest::newRow("no stops.txt") << f << "stops.txt: нет такого файла в источнике";
    f = crossing();
    f["stops.txt"] = "stop_id,stop_name,stop_lon\nW,West,0\n";
    QTest::newRow("no column") << f << "stops.txt: нет столбца stop_lat";
    f = crossing();
    f["stops.txt"] = "stop_id,stop_name,stop_lat,stop_lon\nW,\"West,0,0\n";
    QTest::newRow("open quote") << f << "stops.txt: строка 2: кавычка не закрыта до конца файла";
    f = crossing();
    f["stops.txt"] = "stop_id,stop_name,stop_lat,stop_lon\nW,\"West\"x,0,0\n";
    QTest::newRow("text after quote")
        << f << "stops.txt: строка 2: после закрывающей кавычки не запятая";
    f = crossing();
    f["stop_times.txt"] += "t1,08:02:00,08:02:00,Z,3\n";
    QTest::newRow("unknown stop") << f
                                  << "stop_times.txt: строка 11: нет остановки «Z» в stops.txt";
    f = crossing();
    f["stop_times.txt"] += "t1,8h,08:02:00,E,3\n";
    QTest::newRow("bad time") << f
                              << "stop_times.txt: строка 11: arrival_time — не время Ч:ММ:СС: «8h»";
    f = crossing();
    f["stop_times.txt"] += "t1,999999:00:00,999999:00:00,E,3\n";
    QTest::newRow("time past three days")
        << f << "stop_times.txt: строка 11: arrival_time — 72 часа и больше: «999999:00:00»";
    f = crossing();
    f["transfers.txt"] += "C,E,2,1e300\n";
    QTest::newRow("transfer time past a day")
        << f
        << "transfers.txt: строка 4: min_transfer_time — не целое число от 0 до 86400: «1e300»";
}

void TestGtfsImport::broken() {
    QFETCH(Feed, feed);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QVERIFY(writeFeed(dir.path(), feed));
    const lirsktest::GaftoolRun r =
        lirsktest::runGaftool({"import-gtfs", dir.path(), dir.filePath("out.gaf"), "--quiet"});
    QCOMPARE(r.exitCode, 2);
    QCOMPARE(QString::fromUtf8(r.err),
             QStringLiteral("gaftool: %1: %2\n").arg(dir.path(), message));
    QVERIFY(!QFile::exists(dir.filePath("out.gaf")));
}

void TestGtfsImport::journey() {
    QTemporaryDir dir;
    const QString feed = dir.filePath("feed");
    QVERIFY(QDir().mkpath(feed));
    QVERIFY(writeFeed(feed, crossing()));
    // A zip is not a folder: a file that is not one is refused.
    const QString notZip = dir.filePath("feed.zip");
    QVERIFY(writeFeed(dir.path(), {{"feed.zip", "PK not really"}}));
    const lirsktest::GaftoolRun refused =
        lirsktest::runGaftool({"import-gtfs", notZip, dir.filePath("x.gaf"), "--quiet"});
    QCOMPARE(refused.exitCode, 2);
    QVERIFY(refused.err.startsWith("gaftool: " + notZip.toUtf8() + ": не архив zip"));

    const QString map = dir.filePath("city.gaf");
    const lirsktest::GaftoolRun made = lirsktest::runGaftool({"import-gtfs", feed, map, "--quiet"});
    QCOMPARE(made.exitCode, 0);
    QVERIFY(QFile::exists(dir.filePath("city.gafd")));
    QVERIFY(QFile::exists(dir.filePath("city.gaft")));
    QCOMPARE(lirsktest::runGaftool({"validate", map}).exitCode, 0);
    // North (3) to East (2): bus to Centre Bus, walk, tram; the walk is neither a ride nor a
    // change. Fare 40 (the commonest price, with no transfers allowed) and 40 for the one
    // change; the codes G1-bus and G1-tram read "1".
    const QStringList expected{"Стоимость пути: 80 руб.",
                               "Длина пути: 2,042 км.",
                               "Время в пути: 6 мин.",
                               "Проезд маршрутами :",
                               "от ост. North до ост. Centre Bus",
                               "№ 1 ",
                               "пешком от ост. Centre Bus до ост. Centre, 1 мин.",
                               "",
                               "от ост. Centre до ост. East",
                               "№ 1 ",
                               ""};
    const lirsktest::GaftoolRun route =
        lirsktest::runGaftool({"route", map, "3", "2", "--decimal-separator", ","});
    QCOMPARE(route.exitCode, 0);
    QCOMPARE(QString::fromUtf8(route.out).split('\n'), expected);
    // A walk alone is no ride and costs nothing.
    const lirsktest::GaftoolRun walk = lirsktest::runGaftool({"route", map, "1", "4"});
    QCOMPARE(QString::fromUtf8(walk.out).section('\n', 0, 0),
             QStringLiteral("Стоимость пути: 0 руб."));

    // convert carries the description and the timetable; --fare overrides the feed's.
    const QString copy = dir.filePath("copy.gaf");
    QCOMPARE(lirsktest::runGaftool({"convert", map, copy}).exitCode, 0);
    QVERIFY(QFile::exists(dir.filePath("copy.gafd")));
    QCOMPARE(lirsktest::runGaftool({"timetable", copy}).out.split('\n').value(3),
             QByteArray("карта соответствует расписанию"));
    QCOMPARE(lirsktest::runGaftool(
                 {"import-gtfs", feed, map, "--quiet", "--fare", "5", "--transfer-fare", "2.5"})
                 .exitCode,
             0);
    const lirsktest::GaftoolRun cheap =
        lirsktest::runGaftool({"route", map, "3", "2", "--decimal-separator", ","});
    QCOMPARE(QString::fromUtf8(cheap.out).section('\n', 0, 0),
             QStringLiteral("Стоимость пути: 7,5 руб."));
}

void TestGtfsImport::names() {
    QTemporaryDir dir;
    Feed f = crossing();
    f["stops.txt"] = "stop_id,stop_name,stop_lat,stop_lon\n"
                     "W,Müllerstraße,0,0\nC,北京,0,0.009\nE,Площадь № 1,0,0.018\n"
                     "N,North,0.009,0.00936\nC2,Centre Bus,0,0.00936\n";
    QVERIFY(writeFeed(dir.path(), f));
    GraphMap map;
    GtfsImportResult result;
    QString error;
    QVERIFY2(importGtfs(dir.path(), {}, map, &result, &error), qPrintable(error));
    QCOMPARE(map.stop(0).Label.Caption, QStringLiteral("Mullerstrasse"));
    QCOMPARE(map.stop(1).Label.Caption, QStringLiteral("bei jing"));
    QCOMPARE(map.stop(2).Label.Caption, QStringLiteral("Площадь № 1"));
    QCOMPARE(result.renamedNames, 2);
    // A name of emoji alone: the stop_id.
    f["stops.txt"].replace("N,North", "N,🚌");
    QVERIFY(writeFeed(dir.path(), f));
    GraphMap emoji;
    QVERIFY2(importGtfs(dir.path(), {}, emoji, &result, &error), qPrintable(error));
    QCOMPARE(emoji.stops()[3].Label.Caption, QStringLiteral("N"));
}

// The name the map file holds for a name Windows-1251 lacks: the feed's own reading where
// translations.txt gives one, else the script's romanisation; the description keeps the name.
void TestGtfsImport::readings_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("language"); // agency_lang
    QTest::addColumn<QByteArray>("translations");
    QTest::addColumn<QString>("fileName");
    const QByteArray head = "table_name,field_name,language,translation,record_id,field_value\n";
    QTest::newRow("kana reading of the stop")
        << "宇都宮駅東口"
        << "ja"
        << head + "stops,stop_name,ja-Hrkt,うつのみやえきひがしぐち,C,\n"
                  "stops,stop_name,ko,우쓰노미야,C,\n"
        << "Utsunomiyaekihigashiguchi";
    QTest::newRow("English before kana, by the name's value")
        << "宇都宮駅東口"
        << "ja"
        << head + "stops,stop_name,en,Utsunomiya Sta. East,,宇都宮駅東口\n"
                  "stops,stop_name,ja-Hrkt,うつのみや,X,\n"
        << "Utsunomiya Sta. East";
    QTest::newRow("kanji read as Japanese") << "宇都宮駅東口"
                                            << "ja" << QByteArray() << "Utsunomiyaeki Higashiguchi";
    QTest::newRow("kana make a name Japanese") << "センター前"
                                               << "" << QByteArray() << "Senta Mae";
    QTest::newRow("Chinese as pinyin") << "北京"
                                       << "zh" << QByteArray() << "bei jing";
    QTest::newRow("Greek") << "Αθήνα"
                           << "el" << QByteArray() << "Athena";
    QTest::newRow("Cyrillic kept, nothing stored")
        << "Площадь"
        << "ja" << head + "stops,stop_name,en,Square,C,\n"
        << "Площадь";
}

void TestGtfsImport::readings() {
    QFETCH(QString, name);
    QFETCH(QString, language);
    QFETCH(QByteArray, translations);
    QFETCH(QString, fileName);
    Feed f = crossing();
    f["agency.txt"] = "agency_name,agency_url,agency_timezone,agency_lang\nA,http://x,Asia/Tokyo," +
                      language.toUtf8() + "\n";
    f["stops.txt"].replace("C,Centre,", "C," + name.toUtf8() + ",");
    if (!translations.isEmpty())
        f["translations.txt"] = translations;
    QTemporaryDir dir;
    QVERIFY(writeFeed(dir.path(), f));
    GraphMap map;
    GtfsImportResult result;
    QString error;
    QVERIFY2(importGtfs(dir.path(), {}, map, &result, &error), qPrintable(error));
    QCOMPARE(map.stop(1).Label.Caption, fileName);
    const QList<OwnName> kept =
        fileName == name ? QList<OwnName>() : QList<OwnName>{OwnName{1, name, fileName}};
    QCOMPARE(result.description.ownNames, kept);
}

// A map's fares in the feed's currency (its fares', else its agency's country's), with cents
// where the currency has them; a feed without fares gives a map without, said so in the report
// and left unsaid by the import under --quiet.
void TestGtfsImport::fares_data() {
    QTest::addColumn<QByteArray>("fares"); // fare_attributes.txt; empty: none
    QTest::addColumn<QByteArray>("timeZone");
    QTest::addColumn<QString>("fare"); // West to Centre, one ride
    const QByteArray head = "fare_id,price,currency_type,payment_method,transfers\n";
    QTest::newRow("dollars and cents") << head + "f,2.9,USD,0,\n"
                                       << QByteArray("Europe/Moscow") << "2,90 $";
    QTest::newRow("yen") << head + "f,150,JPY,0,0\n" << QByteArray("Asia/Tokyo") << "150 ¥";
    QTest::newRow("no currency: the agency's country's")
        << head + "f,4.4,,0,\n"
        << QByteArray("Europe/Warsaw") << "4,40 zł";
    QTest::newRow("roubles as ever") << head + "f,40,RUB,0,\n"
                                     << QByteArray("Europe/Moscow") << "40 руб.";
    QTest::newRow("no fares") << QByteArray() << QByteArray("America/New_York")
                              << "стоимость не указана";
}

void TestGtfsImport::fares() {
    QFETCH(QByteArray, fares);
    QFETCH(QByteArray, timeZone);
    QFETCH(QString, fare);
    Feed f = crossing();
    f["agency.txt"] = "agency_name,agency_url,agency_timezone\nA,http://x," + timeZone + "\n";
    f.remove("fare_attributes.txt");
    if (!fares.isEmpty())
        f["fare_attributes.txt"] = fares;
    QTemporaryDir dir;
    QVERIFY(writeFeed(dir.path(), f));
    const QString map = dir.filePath("city.gaf");
    const lirsktest::GaftoolRun made =
        lirsktest::runGaftool({"import-gtfs", dir.path(), map, "--quiet", "--no-timetable"});
    QCOMPARE(made.exitCode, 0);
    QCOMPARE(made.err, QByteArray());
    const lirsktest::GaftoolRun route =
        lirsktest::runGaftool({"route", map, "0", "1", "--decimal-separator", ","});
    QCOMPARE(QString::fromUtf8(route.out).section('\n', 0, 0),
             QStringLiteral("Стоимость пути: ") + fare);
}

// The routes of each link, colours for the routes without them that tell apart those sharing a
// link, the feed's text colours; one name for two stops of one name 11 m apart; no lengths.
void TestGtfsImport::lines() {
    QTemporaryDir dir;
    Feed f = crossing();
    f["stops.txt"] += "C3,Centre,0,0.0091\n";
    f["routes.txt"] = "route_id,route_short_name,route_type,route_color,route_text_color\n"
                      "T,1,0,FF0000,FFFFFF\nB,1,3,,\nX,2,0,,\n";
    f["trips.txt"] += "B,s,b2\nX,s,x1\n";
    f["stop_times.txt"] += "b2,10:00:00,10:00:00,W,1\nb2,10:02:00,10:02:00,C,2\n"
                           "x1,10:00:00,10:00:00,W,1\nx1,10:02:00,10:02:00,C,2\n"
                           "x1,10:03:00,10:03:00,C3,3\n";
    QVERIFY(writeFeed(dir.path(), f));
    GraphMap map;
    GtfsImportResult result;
    QString error;
    QVERIFY2(importGtfs(dir.path(), {}, map, &result, &error), qPrintable(error));
    const MapDescription& d = result.description;
    QStringList links;
    for (const DescribedLink& l : d.links) {
        QStringList routes;
        for (const int r : l.routes)
            routes << d.routes[r].code;
        links << QStringLiteral("%1>%2 %3").arg(l.from).arg(l.to).arg(routes.join(' '));
    }
    QCOMPARE(links, (QStringList{"0>1 G1-tram G1-bus G2", "1>2 G1-tram", "1>5 G2", "3>4 G1-bus"}));
    QCOMPARE(d.routes[0].textColor, std::optional<Colour>(0xFFFFFF));
    QVERIFY(d.routes[1].color && d.routes[2].color && d.routes[1].color != d.routes[2].color);
    QVERIFY(map.stop(1).Label.Visible && !map.stop(5).Label.Visible);
    QVERIFY(!map.Settings.ShowWeights);
}

void TestGtfsImport::machine_data() {
    QTest::addColumn<Feed>("feed");
    QTest::addColumn<QStringList>("args"); // FEED and OUT stand for the feed and a map beside it
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("records"); // the lines other than progress
    Feed noFares = crossing();
    noFares.remove("fare_attributes.txt");
    const QStringList import{"import-gtfs", "FEED", "OUT", "--machine"};
    QTest::newRow("import") << crossing() << import << 0 << QStringList{"renamed\t0"};
    QTest::newRow("import, a note")
        << noFares << import << 0
        << QStringList{"note\tв источнике нет тарифов (fare_attributes.txt): стоимость "
                       "проезда не указана, задайте её ключом --fare",
                       "renamed\t0"};
    QTest::newRow("import, not a feed")
        << crossing() << QStringList{"import-gtfs", "FEED/stops.txt", "OUT", "--machine"} << 2
        << QStringList{"error\tFEED/stops.txt: не архив zip"};
    QTest::newRow("import, over the budget")
        << crossing() << import + QStringList{"--max-memory", "1M"} << 2
        << QStringList{"error\tFEED: импорту нужно больше памяти, чем ему отведено: 1 МБ"};
    QTest::newRow("summary")
        << crossing() << QStringList{"gtfs-summary", "FEED", "--machine"} << 0
        << QStringList{"summary\t{\"agency_name\":\"\",\"route_types\":{\"0\":1,\"3\":1}}"};
    QTest::newRow("summary, no feed")
        << crossing() << QStringList{"gtfs-summary", "FEED/none", "--machine"} << 2
        << QStringList{"error\tFEED/none: нет такого файла или папки"};
}

void TestGtfsImport::machine() {
    QFETCH(Feed, feed);
    QFETCH(QStringList, args);
    QTemporaryDir dir;
    const QString folder = dir.filePath("feed");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(writeFeed(folder, feed));
    args.replaceInStrings(QStringLiteral("FEED"), folder);
    args.replaceInStrings(QStringLiteral("OUT"), dir.filePath("city.gaf"));
    const lirsktest::GaftoolRun r = lirsktest::runGaftool(args);
    QStringList got;
    const QRegularExpression progress(QStringLiteral("^progress\\t[^\\t]+\\t[01]\\.\\d{3}$"));
    for (const QString& line : QString::fromUtf8(r.out).split('\n', Qt::SkipEmptyParts))
        if (!progress.match(line).hasMatch())
            got << QString(line).replace(folder, QStringLiteral("FEED"));
    QFETCH(int, exitCode);
    QFETCH(QStringList, records);
    QCOMPARE(r.exitCode, exitCode);
    QCOMPARE(got, records);
    QCOMPARE(QFile::exists(dir.filePath("city.gafd")), exitCode == 0 && args[0] == "import-gtfs");
}

QTEST_GUILESS_MAIN(TestGtfsImport)
#include "tst_gtfsimport.moc"
