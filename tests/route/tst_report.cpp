#include "mapbuild.h"

#include "route/report.h"

#include <QTest>

using namespace lirsk;
using namespace lirsk::mapbuild;

class TestReport : public QObject {
    Q_OBJECT

private slots:
    void splitRoutes_data();
    void splitRoutes();
    void rides_data();
    void rides();
    void fare_data();
    void fare();
    void texts_data();
    void texts();
    void preferredJourney_data();
    void preferredJourney();
};

void TestReport::splitRoutes_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("pieces");
    QTest::newRow("one code") << "A12" << QStringList{"A12"};
    QTest::newRow("three codes") << "A1 A5 T3" << QStringList{"A1", "A5", "T3"};
    QTest::newRow("two spaces") << "A1  A5" << QStringList{"A1", "", "A5"};
    QTest::newRow("trailing space") << "A1 " << QStringList{"A1", ""};
    QTest::newRow("leading space") << " A1" << QStringList{"", "A1"};
    QTest::newRow("empty") << "" << QStringList{""};
    QTest::newRow("never entered")
        << "Маршруты не введены" << QStringList{"Маршруты", "не", "введены"};
}

void TestReport::splitRoutes() {
    QFETCH(QString, text);
    QFETCH(QStringList, pieces);
    QCOMPARE(SplitRoutes(text), pieces);
}

void TestReport::rides_data() {
    // The way in travel order, each stop "name|routes text".
    QTest::addColumn<QStringList>("travel");
    QTest::addColumn<QString>("mapCode");
    QTest::addColumn<int>("transfers");
    QTest::addColumn<QString>("ridesText");

    QTest::newRow("one transfer at X")
        << QStringList{"S|A5 A2", "X|A5", "Y|A7 A9", "F|A7"} << "A" << 1
        << "\rот ост. S до ост. Y\r№ 5 \rот ост. Y до ост. F\r№ 7 ";
    QTest::newRow("every stop shares with the finish")
        << QStringList{"S|A1 A2", "M|A2", "F|A2 A3"} << "A" << 0 << "\rот ост. S до ост. F\r№ 2 ";
    // The ride keeps the finish's set {A1}: X shares A2 with Y but nothing with {A1}.
    QTest::newRow("set not widened along the ride")
        << QStringList{"S|A2", "X|A2", "Y|A1 A2", "F|A1"} << "A" << 1
        << "\rот ост. S до ост. Y\r№ 2 \rот ост. Y до ост. F\r№ 1 ";
    QTest::newRow("two stops, disjoint routes")
        << QStringList{"S|A5", "F|A7"} << "A" << 1
        << "\rот ост. S до ост. F\r№ 5 \rот ост. F до ост. F\r№ 7 ";
    QTest::newRow("two transfers")
        << QStringList{"S|T1", "P|T1", "Q|T2", "R|T3", "F|T3"} << "T" << 2
        << "\rот ост. S до ост. Q\r№ 1 \rот ост. Q до ост. R\r№ 2 \rот ост. R до ост. F\r№ 3 ";
    QTest::newRow("empty texts share the empty piece")
        << QStringList{"S|", "M|", "F|"} << "A" << 0 << "\rот ост. S до ост. F\r";
    QTest::newRow("routes never entered against a route code")
        << QStringList{"S|Маршруты не введены", "M|Маршруты не введены", "F|A1"} << "A" << 1
        << "\rот ост. S до ост. F\r\rот ост. F до ост. F\r№ 1 ";
    QTest::newRow("shared piece without the code letter")
        << QStringList{"S|B3", "F|B3 A1"} << "A" << 0 << "\rот ост. S до ост. F\r";
    QTest::newRow("no map code lists no number")
        << QStringList{"S|A5", "F|A5 A7"} << "" << 0 << "\rот ост. S до ост. F\r";
    QTest::newRow("numbers in the reverse of the finish side's order")
        << QStringList{"S|A3 A1 A2", "F|A1 A2 A3"} << "A" << 0
        << "\rот ост. S до ост. F\r№ 3 № 2 № 1 ";
    QTest::newRow("everything up to the first code letter goes")
        << QStringList{"S|XA12 AA5", "F|XA12 AA5"} << "A" << 0
        << "\rот ост. S до ост. F\r№ A5 № 12 ";
    QTest::newRow("codes compared case-sensitively")
        << QStringList{"S|a5", "F|A5"} << "A" << 1
        << "\rот ост. S до ост. F\r\rот ост. F до ост. F\r№ 5 ";
    // Only the pieces the ride's end stops share are listed; a middle stop adds nothing.
    QTest::newRow("numbers from the ride's two end stops")
        << QStringList{"S|A1", "M|A1 A2", "F|A2 A1"} << "A" << 0 << "\rот ост. S до ост. F\r№ 1 ";
    // Rides of one stop each: N is F, F, M, S.
    QTest::newRow("a transfer at every stop")
        << QStringList{"S|A1", "M|A2", "F|A3"} << "A" << 2
        << "\rот ост. S до ост. M\r№ 1 \rот ост. M до ост. F\r№ 2 \rот ост. F до ост. F\r№ 3 ";
}

void TestReport::rides() {
    QFETCH(QStringList, travel);
    QFETCH(QString, mapCode);
    QFETCH(int, transfers);
    QFETCH(QString, ridesText);

    GraphMap map;
    std::vector<StopIndex> way;
    int id = 0;
    for (auto it = travel.crbegin(); it != travel.crend(); ++it) {
        const QStringList parts = it->split(QLatin1Char('|'));
        way.push_back(addStop(map, id++, parts[0], parts[1]));
    }
    const RouteReport r =
        BuildRouteReport(map, way, 1000, 60, mapCode, QStringLiteral("Lirsk"), QLatin1Char(','));
    QCOMPARE(r.transfers, transfers);
    QCOMPARE(r.ridesText, ridesText);
    QCOMPARE(r.fare, 7.0 + 7.0 * transfers);
}

void TestReport::fare_data() {
    QTest::addColumn<QString>("mapCode");
    QTest::addColumn<QString>("mapCity");
    QTest::addColumn<int>("transfers");
    QTest::addColumn<double>("fare");
    QTest::newRow("P none flat") << "P"
                                 << "none" << 3 << 12.0;
    QTest::newRow("E none flat") << "E"
                                 << "none" << 2 << 9.0;
    QTest::newRow("S none flat") << "S"
                                 << "none" << 0 << 9.0;
    QTest::newRow("M none per transfer") << "M"
                                         << "none" << 2 << 21.0;
    QTest::newRow("P in Lirsk per transfer") << "P"
                                             << "Lirsk" << 1 << 14.0;
    QTest::newRow("city compared exactly") << "P"
                                           << "None" << 0 << 7.0;
    QTest::newRow("code compared exactly") << "p"
                                           << "none" << 1 << 14.0;
    QTest::newRow("opened file") << ""
                                 << "" << 4 << 35.0;
}

void TestReport::fare() {
    QFETCH(QString, mapCode);
    QFETCH(QString, mapCity);
    QFETCH(int, transfers);
    QFETCH(double, fare);
    QCOMPARE(Fare(mapCode, mapCity, transfers), fare);
}

void TestReport::texts_data() {
    QTest::addColumn<double>("length");
    QTest::addColumn<double>("time");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("fareText");
    QTest::addColumn<QString>("lengthText");
    QTest::addColumn<QString>("timeText");
    QTest::newRow("comma") << 2350.0 << 119.0 << ","
                           << "14 руб."
                           << "2,35 км."
                           << "1 мин.";
    QTest::newRow("point") << 2350.0 << 120.0 << "."
                           << "14 руб."
                           << "2.35 км."
                           << "2 мин.";
    QTest::newRow("whole kilometre, under a minute") << 1000.0 << 59.0 << ","
                                                     << "14 руб."
                                                     << "1 км."
                                                     << "0 мин.";
    QTest::newRow("short way") << 1.0 << 0.0 << ","
                               << "14 руб."
                               << "0,001 км."
                               << "0 мин.";
    QTest::newRow("fractional seconds") << 333.3 << 3599.9 << ","
                                        << "14 руб."
                                        << "0,3333 км."
                                        << "59 мин.";
    QTest::newRow("negative time rounds down") << -500.0 << -1.0 << ","
                                               << "14 руб."
                                               << "-0,5 км."
                                               << "-1 мин.";
}

void TestReport::texts() {
    QFETCH(double, length);
    QFETCH(double, time);
    QFETCH(QString, separator);
    QFETCH(QString, fareText);
    QFETCH(QString, lengthText);
    QFETCH(QString, timeText);

    GraphMap map;
    const std::vector<StopIndex> way{addStop(map, 0, "F", "A7"), addStop(map, 1, "S", "A5")};
    const RouteReport r = BuildRouteReport(map, way, length, time, QStringLiteral("A"),
                                           QStringLiteral("Lirsk"), separator[0]);
    QCOMPARE(r.fareText, fareText);
    QCOMPARE(r.lengthText, lengthText);
    QCOMPARE(r.timeText, timeText);
}

void TestReport::preferredJourney_data() {
    QTest::addColumn<QList<int>>("arrivals"); // minutes, of journeys of 1, 2, 3 ... rides
    QTest::addColumn<int>("shown");           // rides of the journey shown, 0 for none
    QTest::newRow("none") << QList<int>{} << 0;
    QTest::newRow("a change saves more than five minutes") << QList<int>{30, 24} << 2;
    QTest::newRow("two changes save less than ten minutes") << QList<int>{60, 57, 52} << 1;
    QTest::newRow("a change saves five minutes: fewer rides") << QList<int>{30, 25} << 1;
}

void TestReport::preferredJourney() {
    QFETCH(QList<int>, arrivals);
    QFETCH(int, shown);
    std::vector<Journey> journeys;
    for (const int minutes : arrivals)
        journeys.push_back({0, minutes * 60, int(journeys.size()) + 1, 0, 0, {}});
    const Journey* chosen = lirsk::preferredJourney(journeys);
    QCOMPARE(chosen ? chosen->rides : 0, shown);
}

QTEST_GUILESS_MAIN(TestReport)
#include "tst_report.moc"
