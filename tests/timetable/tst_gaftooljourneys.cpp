#include "gaftoolrun.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

// gaftool on a feed written by hand: build-timetable, timetable, and route by the timetable in
// text, JSON, a window and a batch, with what it refuses.
//
// Вокзал, Рынок and Парк lie 1001 m apart along the equator; a second Рынок stands 100 m east of
// the first. Line 1 runs Вокзал 08:00 - Рынок 08:10 - Парк 08:30, line 2 Рынок (2) 08:14 - Парк
// 08:20, every day of June 2026.

using lirsktest::runGaftool;

namespace {

using Feed = QMap<QString, QString>;

Feed city(const QString& zone) {
    return {{"agency.txt", "agency_id,agency_name,agency_timezone\nX,Трамвай," + zone + "\n"},
            {"stops.txt", "stop_id,stop_name,stop_lat,stop_lon\nA,Вокзал,0,0\nB,Рынок,0,0.009\n"
                          "B2,Рынок,0,0.0099\nC,Парк,0,0.018\n"},
            {"routes.txt", "route_id,route_short_name,route_type\nR1,1,0\nR2,2,0\n"},
            {"trips.txt", "route_id,service_id,trip_id\nR1,D,t1\nR2,D,t2\n"},
            {"calendar.txt", "service_id,monday,tuesday,wednesday,thursday,friday,saturday,"
                             "sunday,start_date,end_date\nD,1,1,1,1,1,1,1,20260601,20260630\n"},
            {"stop_times.txt", "trip_id,arrival_time,departure_time,stop_id,stop_sequence\n"
                               "t1,08:00:00,08:00:00,A,1\nt1,08:10:00,08:10:00,B,2\n"
                               "t1,08:30:00,08:30:00,C,3\n"
                               "t2,08:14:00,08:14:00,B2,1\nt2,08:20:00,08:20:00,C,2\n"}};
}

bool write(const QString& dir, const Feed& feed) {
    for (auto it = feed.cbegin(); it != feed.cend(); ++it) {
        QFile f(QDir(dir).filePath(it.key()));
        if (!f.open(QIODevice::WriteOnly) || f.write(it.value().toUtf8()) < 0)
            return false;
    }
    return true;
}

// Imports the feed into dir/city.gaf and writes its timetable beside it.
QString imported(const QTemporaryDir& dir, const Feed& feed) {
    const QString folder = dir.filePath("feed"), map = dir.filePath("city.gaf");
    if (!QDir().mkpath(folder) || !write(folder, feed) ||
        runGaftool({"import-gtfs", folder, map, "--quiet"}).exitCode != 0 ||
        runGaftool({"build-timetable", folder, map, "--quiet"}).exitCode != 0)
        return QString();
    return map;
}

const QString kTwoJourneys = "Отправление 08:00, прибытие 08:20, в пути 20 мин., поездок: 2\n"
                             "  08:00–08:10 маршрут 1 «Парк»: от Вокзал до Рынок, остановок: 1\n"
                             "  08:10–08:11:41 пешком от Рынок до Рынок, 2 мин.\n"
                             "  ожидание 2 мин.\n"
                             "  08:14–08:20 маршрут 2 «Парк»: от Рынок до Парк, остановок: 1\n"
                             "Отправление 08:00, прибытие 08:30, в пути 30 мин., поездок: 1\n"
                             "  08:00–08:30 маршрут 1 «Парк»: от Вокзал до Парк, остановок: 2\n";

} // namespace

class TestGaftoolJourneys : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void route_data();
    void route();
    void batch();
    void refused();
    void clockChange();

private:
    QTemporaryDir dir_;
    QString map_;
};

void TestGaftoolJourneys::initTestCase() {
    map_ = imported(dir_, city("Europe/Moscow"));
    QVERIFY(!map_.isEmpty());
    const lirsktest::GaftoolRun summary = runGaftool({"timetable", map_});
    QCOMPARE(summary.exitCode, 0);
    QCOMPARE(QString::fromUtf8(summary.out),
             QString("период: 2026-06-01 — 2026-06-30, 30 дн., часовой пояс Europe/Moscow\n"
                     "рейсов: 2, времён остановок: 5, станций: 4, переходов пешком: 2\n"
                     "маршрутов: 2, шаблонов маршрутов: 2, наборов дней движения: 1\n"
                     "карта соответствует расписанию\n"));
}

void TestGaftoolJourneys::route_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("out");

    QTest::newRow("by name") << QStringList{"Вокзал", "Парк", "--depart", "2026-06-01 07:45"}
                             << kTwoJourneys;
    QTest::newRow("by id, a window")
        << QStringList{"0", "3", "--depart", "2026-06-01 07:45", "--window", "30"} << kTwoJourneys;
    QTest::newRow("a name for two stations")
        << QStringList{"Рынок", "Парк", "--depart", "2026-06-01 08:11", "--json"}
        << "{\"journeys\":[{\"arrival\":\"2026-06-01T08:20:00\",\"departure\":"
           "\"2026-06-01T08:14:00\",\"legs\":[{\"arrival\":\"2026-06-01T08:20:00\","
           "\"departure\":\"2026-06-01T08:14:00\",\"from\":\"Рынок\",\"headsign\":\"Парк\","
           "\"kind\":\"ride\",\"route\":\"2\",\"to\":\"Парк\"}],\"rides\":1}]}\n";
    QTest::newRow("after the last trip")
        << QStringList{"Рынок", "Парк", "--depart", "2026-06-30 09:00", "--json"}
        << "{\"journeys\":[]}\n";
    QTest::newRow("walk only")
        << QStringList{"1", "2", "--depart", "2026-06-30 09:00", "--json"}
        << "{\"journeys\":[{\"arrival\":\"2026-06-30T09:01:41\",\"departure\":"
           "\"2026-06-30T09:00:00\",\"legs\":[{\"arrival\":\"2026-06-30T09:01:41\","
           "\"departure\":\"2026-06-30T09:00:00\",\"from\":\"Рынок\",\"kind\":\"walk\","
           "\"to\":\"Рынок\"}],\"rides\":0}]}\n";
}

void TestGaftoolJourneys::route() {
    QFETCH(QStringList, args);
    QFETCH(QString, out);
    const lirsktest::GaftoolRun r = runGaftool(QStringList{"route", map_} + args);
    QCOMPARE(QString::fromUtf8(r.err), QString());
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(QString::fromUtf8(r.out), out);
}

void TestGaftoolJourneys::batch() {
    QProcess p;
    p.start(QStringLiteral(GAFTOOL_PATH), {"route", map_, "--batch", "--depart-lines"});
    QVERIFY(p.waitForStarted());
    p.write("Рынок\tПарк\t2026-06-01 08:12\nВокзал Парк 08:00\n1\t2\t2027-01-01 08:00\n");
    p.closeWriteChannel();
    QVERIFY(p.waitForFinished());
    QCOMPARE(p.exitCode(), 0);
    const QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split('\n');
    QCOMPARE(lines.size(), 4);
    QVERIFY2(lines[0].startsWith("{\"depart\":\"2026-06-01 08:12\",\"from\":\"Рынок\","
                                 "\"journeys\":[{\"arrival\":\"2026-06-01T08:20:00\""),
             qPrintable(lines[0]));
    QCOMPARE(lines[1], QString("{\"error\":\"ожидается «FROM<TAB>TO<TAB>DEPART»\",\"line\":2}"));
    QCOMPARE(lines[2], QString("{\"error\":\"2027-01-01 вне периода расписания 2026-06-01 — "
                               "2026-06-30\",\"line\":3}"));
}

// Each refusal is one line on standard error and exit code 2.
void TestGaftoolJourneys::refused() {
    const QString other = dir_.filePath("other.gaf");
    QVERIFY(QFile::copy(map_, other));
    const auto refusal = [](const QStringList& args) {
        const lirsktest::GaftoolRun r = runGaftool(args);
        return r.exitCode == 2 && r.out.isEmpty() && r.err.count('\n') == 1
                   ? QString::fromUtf8(r.err).trimmed()
                   : QStringLiteral("exit %1: %2").arg(r.exitCode).arg(QString::fromUtf8(r.err));
    };
    QVERIFY(refusal({"route", other, "0", "3", "--depart", "08:00"})
                .startsWith("gaftool: " + other + ": расписание " + dir_.filePath("other.gaft")));
    QCOMPARE(refusal({"route", map_, "0", "3", "--depart", "2026-07-01 08:00"}),
             "gaftool: " + map_ + ": 2026-07-01 вне периода расписания 2026-06-01 — 2026-06-30");
    QCOMPARE(refusal({"route", map_, "Рынок", "1", "--depart", "08:00"}),
             "gaftool: " + map_ + ": начало и конец пути — одна и та же остановка");

    // A map whose stop has moved since.
    QVERIFY(QFile::copy(dir_.filePath("city.gaft"), dir_.filePath("other.gaft")));
    QVERIFY(runGaftool({"convert", other, dir_.filePath("other.json")}).exitCode == 0);
    QFile json(dir_.filePath("other.json"));
    QVERIFY(json.open(QIODevice::ReadWrite));
    QJsonObject edited = QJsonDocument::fromJson(json.readAll()).object();
    QJsonArray stops = edited["stops"].toArray();
    QJsonObject first = stops[0].toObject();
    first["left"] = first["left"].toInt() + 1;
    stops[0] = first;
    edited["stops"] = stops;
    json.resize(0);
    json.write(QJsonDocument(edited).toJson());
    json.close();
    QCOMPARE(runGaftool({"convert", dir_.filePath("other.json"), other}).exitCode, 0);
    QVERIFY(refusal({"route", other, "0", "3", "--depart", "08:00"})
                .startsWith("gaftool: " + other +
                            ": расписание не соответствует карте, поиск по нему выключен: "
                            "остановка 0 (Вокзал) сдвинута"));

    // A timetable for a map made from another feed.
    Feed wider = city("Europe/Moscow");
    wider["stops.txt"] += "D,Депо,0,0.03\n";
    wider["stop_times.txt"] += "t2,08:40:00,08:40:00,D,3\n";
    QTemporaryDir feed;
    QVERIFY(write(feed.path(), wider));
    QCOMPARE(refusal({"build-timetable", feed.path(), map_, "--quiet"}),
             "gaftool: " + feed.path() +
                 ": на карте нет остановки для станции «Депо» (stop_id D): карта сделана не из "
                 "этого источника или не с этим выбором маршрутов");
}

// On the night the clocks go back the hour repeats: a service day starts at noon - 12 h, so
// 01:14 of that day is the second 01:14, and the JSON gives the offset.
void TestGaftoolJourneys::clockChange() {
    Feed feed = city("America/New_York");
    feed["calendar.txt"].replace("20260601,20260630", "20261031,20261101");
    feed["stop_times.txt"].replace("08:", "01:");
    QTemporaryDir dir;
    const QString map = imported(dir, feed);
    QVERIFY(!map.isEmpty());
    const lirsktest::GaftoolRun r =
        runGaftool({"route", map, "Рынок", "Парк", "--depart", "2026-11-01 01:12", "--json"});
    QCOMPARE(r.exitCode, 0);
    QVERIFY2(r.out.startsWith("{\"journeys\":[{\"arrival\":\"2026-11-01T01:20:00-05:00\","
                              "\"departure\":\"2026-11-01T01:14:00-05:00\""),
             r.out.constData());
}

QTEST_GUILESS_MAIN(TestGaftoolJourneys)
#include "tst_gaftooljourneys.moc"
