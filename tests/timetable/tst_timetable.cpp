#include "memoryfeed.h"

#include "model/safefile.h"

#include <QTemporaryDir>
#include <QTest>

// Timetables built from feeds written inline: the days trips run, their times, the boarding
// rules, the walks and change times, the file and a map edited since.

using namespace lirsk;
using namespace lirsktest;

namespace {

QString clock(std::uint32_t s) {
    return QStringLiteral("%1:%2:%3")
        .arg(s / 3600)
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

// Every trip of the timetable: "id days: station@arrival-departure rules ..." with the days it
// runs counted from the first, the rules '+' (board and alight), '>' (board), '<' (alight).
QStringList describe(const Timetable& t) {
    QStringList lines{QStringLiteral("from %1").arg(t.firstDay().toString(Qt::ISODate))};
    for (const Timetable::Pattern& p : t.patterns())
        for (std::uint32_t k = 0; k < p.tripCount; ++k) {
            QStringList days, calls;
            for (int d = 0; d < t.dayCount(); ++d)
                if (t.runsOn(p.firstTrip + k, d))
                    days << QString::number(d);
            for (std::uint32_t i = 0; i < p.stopCount; ++i) {
                const Timetable::PatternStop c = t.stopsOf(p)[i];
                calls << QStringLiteral("%1@%2-%3%4")
                             .arg(t.stationName(int(c.station())),
                                  clock(t.stopTime(p, k, i).arrival),
                                  clock(t.stopTime(p, k, i).departure))
                             .arg(c.canBoard() && c.canAlight() ? '+'
                                  : c.canBoard()                ? '>'
                                  : c.canAlight()               ? '<'
                                                                : 'x');
            }
            const Timetable::Trip& trip = t.trips()[p.firstTrip + k];
            lines << QStringLiteral("%1 %2 %3: %4")
                         .arg(t.text(trip.tripId), t.text(trip.headsign), days.join(','),
                              calls.join(' '));
        }
    return lines;
}

// Stations A, B, C 1001 m apart along the equator; one route, weekday service in June 2026.
Feed base() {
    return {{"agency.txt", "agency_id,agency_name,agency_timezone\nX,X,UTC\n"},
            {"stops.txt", "stop_id,stop_name,stop_lat,stop_lon,parent_station\nA,A,0,0,\n"
                          "B,B,0,0.009,\nC,C,0,0.018,\n"},
            {"routes.txt", "route_id,route_short_name,route_type\nR,1,3\n"},
            {"trips.txt", "route_id,service_id,trip_id,trip_headsign\nR,W,t1,Цэ\n"},
            {"calendar.txt", "service_id,monday,tuesday,wednesday,thursday,friday,saturday,"
                             "sunday,start_date,end_date\nW,1,1,1,1,1,0,0,20260601,20260607\n"},
            {"stop_times.txt", "trip_id,arrival_time,departure_time,stop_id,stop_sequence\n"
                               "t1,08:00:00,08:00:00,A,1\nt1,08:10:00,08:11:00,B,2\n"
                               "t1,08:20:00,08:20:00,C,3\n"}};
}

const QStringList kStations{"A", "B", "C", "P", "Q"};

} // namespace

class TestTimetable : public QObject {
    Q_OBJECT

private slots:
    void trips_data();
    void trips();
    void broken_data();
    void broken();
    void walks_data();
    void walks();
    void nearest();
    void file();
};

void TestTimetable::trips_data() {
    QTest::addColumn<Feed>("feed");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("weekdays") << base()
                              << QStringList{"from 2026-06-01",
                                             "t1 Цэ 0,1,2,3,4: A@8:00:00-8:00:00+ "
                                             "B@8:10:00-8:11:00+ C@8:20:00-8:20:00+"};

    // calendar_dates.txt overrides the weekdays either way; a service of dates alone; the
    // period runs from the first day any trip runs to the last.
    Feed dates = base();
    dates["trips.txt"] += "R,D,t2,\n";
    dates["calendar_dates.txt"] = "service_id,date,exception_type\nW,20260602,2\nW,20260606,1\n"
                                  "D,20260610,1\n";
    dates["stop_times.txt"] += "t2,09:00:00,09:00:00,A,1\nt2,09:30:00,09:30:00,C,2\n";
    QTest::newRow("exceptions") << dates
                                << QStringList{
                                       "from 2026-06-01",
                                       "t1 Цэ 0,2,3,4,5: A@8:00:00-8:00:00+ B@8:10:00-8:11:00+ "
                                       "C@8:20:00-8:20:00+",
                                       "t2 C 9: A@9:00:00-9:00:00+ C@9:30:00-9:30:00+"};

    // Runs from 07:00 every 25 minutes while before 08:00, the template's times shifted; no
    // boarding at B (pickup_type 1), no alighting at A.
    Feed runs = base();
    runs["stop_times.txt"] = "trip_id,arrival_time,departure_time,stop_id,stop_sequence,"
                             "pickup_type,drop_off_type\n"
                             "t1,08:00:00,08:00:00,A,1,0,1\nt1,08:10:00,08:11:00,B,2,1,2\n"
                             "t1,08:20:00,08:20:00,C,3,3,0\n";
    runs["frequencies.txt"] = "trip_id,start_time,end_time,headway_secs,exact_times\n"
                              "t1,07:00:00,08:00:00,1500,1\n";
    QStringList expected{"from 2026-06-01"};
    for (const char* times : {"7:00:00-7:00:00> B@7:10:00-7:11:00< C@7:20:00-7:20:00+",
                              "7:25:00-7:25:00> B@7:35:00-7:36:00< C@7:45:00-7:45:00+",
                              "7:50:00-7:50:00> B@8:00:00-8:01:00< C@8:10:00-8:10:00+"})
        expected << QStringLiteral("t1 Цэ 0,1,2,3,4: A@%1").arg(QLatin1String(times));
    QTest::newRow("frequencies, boarding rules") << runs << expected;

    // Blank times: by shape_dist_traveled where the calls have it (3 of 10 parts of 20 min),
    // else by distance (1001 of 2002 m of 15 min), rounded down; platforms count as their
    // station; a trip leaving later that arrives earlier is a pattern of its own.
    Feed blanks = base();
    blanks["stops.txt"] += "B1,,,,B\n";
    blanks["trips.txt"] += "R,W,t2,\nR,W,t3,\n";
    blanks["stop_times.txt"] = "trip_id,arrival_time,departure_time,stop_id,stop_sequence,"
                               "shape_dist_traveled\n"
                               "t1,08:00:00,08:00:00,A,1,0\nt1,,,B1,2,3.0\n"
                               "t1,08:20:00,08:20:00,C,3,10\n"
                               "t2,08:01:00,08:01:00,A,1,\nt2,,,B1,2,\nt2,08:16:01,08:16:01,C,3,\n"
                               "t3,08:02:00,08:02:00,A,1,\nt3,08:04:00,08:04:00,B,2,\n"
                               "t3,08:06:00,08:06:00,C,3,\n";
    QTest::newRow("blank times, platforms, overtaking")
        << blanks
        << QStringList{"from 2026-06-01",
                       "t1 Цэ 0,1,2,3,4: A@8:00:00-8:00:00+ B@8:06:00-8:06:00+ "
                       "C@8:20:00-8:20:00+",
                       "t2 C 0,1,2,3,4: A@8:01:00-8:01:00+ B@8:08:30-8:08:30+ "
                       "C@8:16:01-8:16:01+",
                       "t3 C 0,1,2,3,4: A@8:02:00-8:02:00+ B@8:04:00-8:04:00+ "
                       "C@8:06:00-8:06:00+"};
}

void TestTimetable::trips() {
    QFETCH(Feed, feed);
    QFETCH(QStringList, expected);
    Timetable t;
    QCOMPARE(buildFrom(feed, kStations, &t), QString());
    QCOMPARE(describe(t), expected);
}

void TestTimetable::broken_data() {
    QTest::addColumn<Feed>("feed");
    QTest::addColumn<QString>("error");

    Feed late = base();
    late["stop_times.txt"].replace("08:20:00,08:20:00", "72:00:00,72:00:00");
    QTest::newRow("72 h") << late
                          << "stop_times.txt: строка 4: arrival_time — 72 часа или больше от "
                             "начала дня: «72:00:00»";
    Feed runs = base();
    runs["frequencies.txt"] = "trip_id,start_time,end_time,headway_secs\n"
                              "t1,71:50:00,71:59:00,60\n";
    QTest::newRow("a run past 72 h")
        << runs << "frequencies.txt: рейс «t1» доходит до 72 часов от начала дня";
    Feed zone = base();
    zone["agency.txt"] = "agency_id,agency_name,agency_timezone\nX,X,Mars/Olympus\n";
    QTest::newRow("unknown time zone")
        << zone << "agency.txt: строка 2: неизвестный часовой пояс «Mars/Olympus»";
    Feed never = base();
    never["calendar.txt"].replace("1,1,1,1,1,0,0", "0,0,0,0,0,0,0");
    QTest::newRow("no day") << never
                            << "calendar.txt: ни один выбранный рейс не ходит ни в один день";
    Feed unknown = base();
    unknown["stop_times.txt"] += "t1,08:30:00,08:30:00,Z,4\n";
    QTest::newRow("unknown stop") << unknown
                                  << "stop_times.txt: строка 5: нет остановки «Z» в stops.txt";
}

void TestTimetable::broken() {
    QFETCH(Feed, feed);
    QFETCH(QString, error);
    Timetable t;
    QCOMPARE(buildFrom(feed, kStations, &t), error);
}

void TestTimetable::walks_data() {
    QTest::addColumn<QString>("transfers");
    QTest::addColumn<QStringList>("walks"); // and change times

    // P and Q 100 m apart, a platform P1 of P; A, B, C far from them and from each other.
    QTest::newRow("distance") << QString() << QStringList{"P>Q 101", "Q>P 101"};
    QTest::newRow("listed, refused, narrowed to a trip, far")
        << "P,Q,2,30,\nQ,P,1,,\nQ,P,3,,\nA,B,0,,\nA,B,2,500,\nB,C,0,20,t1\n"
        << QStringList{"A>B 500", "P>Q 30"};
    QTest::newRow("change times: the longest of the station's rows, or none")
        << "P1,P,2,200,\nP,P,2,90,\nQ,Q,2,,\nB,B,3,,\n"
        << QStringList{"P>Q 101", "Q>P 101", "change B -1", "change P 200"};
}

void TestTimetable::walks() {
    QFETCH(QString, transfers);
    QFETCH(QStringList, walks);
    Feed feed = base();
    feed["stops.txt"] += "P,P,0.02,0,\nQ,Q,0.0209,0,\nP1,,,,P\n";
    feed["trips.txt"] += "R,W,t2,\n";
    feed["stop_times.txt"] += "t2,09:00:00,09:00:00,P1,1\nt2,09:30:00,09:30:00,Q,2\n";
    feed["transfers.txt"] =
        "from_stop_id,to_stop_id,transfer_type,min_transfer_time,from_trip_id\n" + transfers;
    Timetable t;
    QCOMPARE(buildFrom(feed, kStations, &t), QString());
    QStringList found;
    for (int s = 0; s < int(t.stations().size()); ++s) {
        for (const Timetable::Walk& w : t.walksFrom(s))
            found << QStringLiteral("%1>%2 %3")
                         .arg(t.stationName(s), t.stationName(int(w.to)))
                         .arg(w.seconds);
        if (t.changeTime(s, kDefaultChangeTime) != kDefaultChangeTime)
            found << QStringLiteral("change %1 %2")
                         .arg(t.stationName(s))
                         .arg(t.changeTime(s, kDefaultChangeTime));
    }
    found.sort();
    QCOMPARE(found, walks);
}

// Each station walks to its 8 nearest closer than 250 m, equally near ones by stop_id: C has
// nine at 100 m (R1 .. R9, all at one point) and leaves out R9, whose own 8 are the other R.
void TestTimetable::nearest() {
    Feed feed = base();
    feed["stops.txt"] = "stop_id,stop_name,stop_lat,stop_lon\nC,C,0,0\n";
    feed["stop_times.txt"] = "trip_id,arrival_time,departure_time,stop_id,stop_sequence\n"
                             "t1,08:00:00,08:00:00,C,1\n";
    QStringList ids{"C"};
    for (int k = 1; k <= 9; ++k) {
        ids << QStringLiteral("R%1").arg(k);
        feed["stops.txt"] += QStringLiteral("R%1,R%1,0,0.0009\n").arg(k);
        feed["stop_times.txt"] +=
            QStringLiteral("t1,08:%1:00,08:%1:00,R%2,%3\n").arg(10 + k).arg(k).arg(k + 1);
    }
    Timetable t;
    QCOMPARE(buildFrom(feed, ids, &t), QString());
    const auto walksFrom = [&](const QString& id) {
        QStringList to;
        for (const Timetable::Walk& w : t.walksFrom(int(ids.indexOf(id))))
            to << t.stationName(int(w.to)) + QLatin1Char(' ') + QString::number(w.seconds);
        return to;
    };
    QCOMPARE(walksFrom("C"), (QStringList{"R1 101", "R2 101", "R3 101", "R4 101", "R5 101",
                                          "R6 101", "R7 101", "R8 101"}));
    QCOMPARE(walksFrom("R9"),
             (QStringList{"R1 0", "R2 0", "R3 0", "R4 0", "R5 0", "R6 0", "R7 0", "R8 0"}));
}

// The file: read back as written; damaged, from a newer version or not a file refused; a map
// edited since told.
void TestTimetable::file() {
    Timetable t;
    QCOMPARE(buildFrom(base(), kStations, &t), QString());
    QTemporaryDir dir;
    const QString path = dir.filePath("city.gaft");
    QString error;
    QVERIFY(saveWholeFile(path, t.bytes(), &error));
    Timetable back;
    QVERIFY2(back.read(path, &error), qPrintable(error));
    QCOMPARE(describe(back), describe(t));
    QCOMPARE(QString::fromUtf8(back.timeZone().id()), QString("UTC"));

    QByteArray bytes = t.bytes();
    bytes[bytes.size() - 3] = char(bytes[bytes.size() - 3] ^ 1);
    QVERIFY(!back.load(bytes, &error));
    QCOMPARE(error, QString("файл расписания повреждён: контрольная сумма не сходится"));
    bytes = t.bytes();
    bytes[8] = 2;
    QVERIFY(!back.load(bytes, &error));
    QCOMPARE(error, QString("расписание записано более новой версией программы"));
    QVERIFY(!back.load(t.bytes().left(100), &error));
    QVERIFY(!back.read(dir.path(), &error));
    QVERIFY(!back.isEmpty()); // what failed to load left the last timetable as it was

    GraphMap map;
    for (int k = 0; k < 3; ++k)
        map.stop(map.AddStop(10 * k, 20 * k, false)).Id = k;
    QCOMPARE(mapMismatch(t, map), QString());
    map.stop(map.FindStopById(1)).Left += 1;
    QCOMPARE(mapMismatch(t, map), QString("остановка 1 (B) сдвинута"));
    map.stop(map.FindStopById(1)).Left -= 1;
    map.DeleteStop(map.FindStopById(2));
    QCOMPARE(mapMismatch(t, map), QString("на карте нет остановки 2 (C)"));
}

QTEST_GUILESS_MAIN(TestTimetable)
#include "tst_timetable.moc"
