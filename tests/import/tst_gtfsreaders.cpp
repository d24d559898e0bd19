#include "import/gtfsreaders.h"
#include "import/tripbuilder.h"
#include "import/walkingneighbours.h"

#include <QTest>

#include <cstring>

// Each reader of a feed file on small inline files: what it keeps, or the one line it fails with;
// and the walking neighbours that the map and a timetable share.

using namespace lirsk;
using namespace lirsk::gtfs;

namespace {

class TextStream : public FeedStream {
public:
    explicit TextStream(QByteArray text) : text_(std::move(text)) {}
    qint64 read(char* buffer, qint64 size) override {
        const qint64 n = std::min(size, text_.size() - at_);
        std::memcpy(buffer, text_.constData() + at_, std::size_t(n));
        at_ += n;
        return n;
    }
    QString error() const override { return {}; }

private:
    QByteArray text_;
    qint64 at_ = 0;
};

// The reader's rows as render writes them, or the reader's error.
template <class Read, class Render>
QStringList outcome(const char* name, const QByteArray& csv, Read read, Render render) {
    ImportProgress progress;
    FeedFile f(name, progress);
    QStringList rows;
    if (!f.open(std::make_unique<TextStream>(csv), csv.size()) || !read(f))
        return {f.error()};
    render(rows);
    return rows;
}

// A feed's stops.txt for the readers that look stops up: P1 and P2 are platforms of S.
StopTable someStops() {
    ImportProgress progress;
    FeedFile f("stops.txt", progress);
    const QByteArray csv = "stop_id,stop_lat,stop_lon,parent_station\nS,1,2,\nP1,1,2,S\nP2,1,2,S\n"
                           "X,3,4,\nN,,,\n";
    StopTable t;
    if (!f.open(std::make_unique<TextStream>(csv), csv.size()) || !readStops(f, &t))
        qFatal("%s", qPrintable(f.error()));
    return t;
}

} // namespace

class TestGtfsReaders : public QObject {
    Q_OBJECT

private slots:
    void routes_data();
    void routes();
    void trips_data();
    void trips();
    void stops_data();
    void stops();
    void stopTimes_data();
    void stopTimes();
    void rideMedian_data();
    void rideMedian();
    void shapes_data();
    void shapes();
    void transfers_data();
    void transfers();
    void fares_data();
    void fares();
    void agencies();
    void walkingNeighbours_data();
    void walkingNeighbours();
};

void TestGtfsReaders::routes_data() {
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QString>("agency"); // the --agency option
    QTest::addColumn<QStringList>("rows");
    const QByteArray three = "route_id,agency_id,route_short_name,route_type,route_color\n"
                             "a,,1,401,FF0000\nb,B,2,9999,\nc,C,3,0,12345\n";
    QTest::newRow("basic types, BGR colours")
        << three << "" << QStringList{"a 1 1 #ff", "b 2 3 -", "c 3 0 -"};
    QTest::newRow("no agency_id: the first agency's") << three << "A" << QStringList{"a 1 1 #ff"};
    QTest::newRow("nothing kept") << three << "Z"
                                  << QStringList{"routes.txt: выбору не отвечает ни один маршрут"};
    QTest::newRow("same id") << QByteArray("route_id,route_type\nr,3\nr,3\n") << ""
                             << QStringList{"routes.txt: строка 3: route_id «r» уже был"};
    QTest::newRow("type not a number")
        << QByteArray("route_id,route_type\nr,bus\n") << ""
        << QStringList{"routes.txt: строка 2: route_type — не число: «bus»"};
}

void TestGtfsReaders::routes() {
    QFETCH(QByteArray, csv);
    QFETCH(QString, agency);
    GtfsImportOptions options;
    options.agency = agency;
    RouteTable t;
    const QStringList got = outcome(
        "routes.txt", csv, [&](FeedFile& f) { return readRoutes(f, options, "A", &t); },
        [&](QStringList& rows) {
            for (const RouteRow& r : t.rows)
                rows << QStringLiteral("%1 %2 %3 %4")
                            .arg(QString::fromStdString(r.id), r.shortName)
                            .arg(r.type)
                            .arg(r.color ? QStringLiteral("#%1").arg(*r.color, 0, 16)
                                         : QStringLiteral("-"));
        });
    QFETCH(QStringList, rows);
    QCOMPARE(got, rows);
}

void TestGtfsReaders::trips_data() {
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QStringList>("rows"); // route shape
    QTest::newRow("routes not kept left out, shapes numbered as met")
        << QByteArray("route_id,trip_id,shape_id\nR,t1,s2\nX,t2,s1\nR,t3,\nR,t4,s1\nR,t5,s2\n")
        << QStringList{"0 0", "0 -1", "0 1", "0 0"};
    QTest::newRow("same id") << QByteArray("route_id,trip_id\nR,t\nR,t\n")
                             << QStringList{"trips.txt: строка 3: trip_id «t» уже был"};
    QTest::newRow("no trip kept") << QByteArray("route_id,trip_id\nX,t\n")
                                  << QStringList{
                                         "trips.txt: у выбранных маршрутов нет ни одного рейса"};
}

void TestGtfsReaders::trips() {
    QFETCH(QByteArray, csv);
    const IdMap routes{{"R", 0}};
    TripTable t;
    const QStringList got = outcome(
        "trips.txt", csv, [&](FeedFile& f) { return readTrips(f, routes, &t); },
        [&](QStringList& rows) {
            for (const TripRow& r : t.rows)
                rows << QStringLiteral("%1 %2").arg(r.route).arg(r.shape);
        });
    QFETCH(QStringList, rows);
    QCOMPARE(got, rows);
}

void TestGtfsReaders::stops_data() {
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QStringList>("rows"); // stop station lat lon
    QTest::newRow("platforms, a boarding area, a station placed by its platform")
        << QByteArray("stop_id,stop_name,stop_lat,stop_lon,parent_station\n"
                      "B,Area,,,P\nS,Station,,,\nP,Platform,55.5, 37.25,S\nL,Loop,1,1,L\n")
        << QStringList{"B 0 55.5 37.25", "S 0 55.5 37.25", "P 0 55.5 37.25", "L 1 1 1"};
    QTest::newRow("off the globe")
        << QByteArray("stop_id,stop_lat,stop_lon\nA,91,0\n")
        << QStringList{"stops.txt: строка 2: координаты вне земного шара"};
    QTest::newRow("same id") << QByteArray("stop_id,stop_lat,stop_lon\nA,1,1\nA,1,1\n")
                             << QStringList{"stops.txt: строка 3: stop_id «A» уже был"};
    QTest::newRow("no column") << QByteArray("stop_id,stop_lat\nA,1\n")
                               << QStringList{"stops.txt: нет столбца stop_lon"};
}

void TestGtfsReaders::stops() {
    QFETCH(QByteArray, csv);
    StopTable t;
    const QStringList got = outcome(
        "stops.txt", csv, [&](FeedFile& f) { return readStops(f, &t); },
        [&](QStringList& rows) {
            for (std::size_t k = 0; k < t.rows.size(); ++k) {
                const Station& s = t.stationOf(int(k));
                rows << QStringLiteral("%1 %2 %3 %4")
                            .arg(QString::fromStdString(t.rows[k].id))
                            .arg(t.rows[k].station)
                            .arg(s.lat)
                            .arg(s.lon);
            }
        });
    QFETCH(QStringList, rows);
    QCOMPARE(got, rows);
}

void TestGtfsReaders::stopTimes_data() {
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QStringList>("rows"); // trip stop sequence arrival departure
    const QByteArray header = "trip_id,arrival_time,departure_time,stop_id,stop_sequence\n";
    QTest::newRow("trips not kept left out, blank times, past midnight")
        << header + "t,25:01:02,,P1,7\nx,1:00:00,1:00:00,Q,1\nt, , ,X,8\n"
        << QStringList{"0 1 7 90062 -1", "0 3 8 -1 -1"};
    QTest::newRow("the largest sequence and times kept exactly")
        << header + "t,71:59:59,71:59:58,X,1000000000\n"
        << QStringList{"0 3 1000000000 259199 259198"};
    QTest::newRow("trips interleaved, sequences out of order: by trip, then sequence")
        << header + "u,1:00:00,1:00:00,S,2\nt,2:00:00,2:00:00,X,9\nu,0:30:00,0:30:00,P2,1\n"
                    "t,1:00:00,1:00:00,S,3\n"
        << QStringList{"0 0 3 3600 3600", "0 3 9 7200 7200", "1 2 1 1800 1800", "1 0 2 3600 3600"};
    QTest::newRow("unknown stop") << header + "t,1:00:00,1:00:00,Q,1\n"
                                  << QStringList{
                                         "stop_times.txt: строка 2: нет остановки «Q» в stops.txt"};
    QTest::newRow("stop without a place")
        << header + "t,1:00:00,1:00:00,N,1\n"
        << QStringList{"stop_times.txt: строка 2: у остановки «N» нет координат"};
    QTest::newRow("minutes past 59")
        << header + "t,1:60:00,1:00:00,S,1\n"
        << QStringList{"stop_times.txt: строка 2: arrival_time — не время Ч:ММ:СС: «1:60:00»"};
    QTest::newRow("sequence out of range")
        << header + "t,1:00:00,1:00:00,S,-1\n"
        << QStringList{"stop_times.txt: строка 2: stop_sequence — не целое число от 0 до "
                       "1000000000: «-1»"};
}

void TestGtfsReaders::stopTimes() {
    QFETCH(QByteArray, csv);
    const StopTable stops = someStops();
    const IdMap trips{{"t", 0}, {"u", 1}};
    StopTimeRows times;
    const QStringList got = outcome(
        "stop_times.txt", csv, [&](FeedFile& f) { return readStopTimes(f, trips, stops, &times); },
        [&](QStringList& rows) {
            times.forEachTrip([&](std::uint32_t trip, const std::vector<std::uint32_t>& calls) {
                for (const std::uint32_t k : calls) {
                    const StopTime t = times[k].unpacked();
                    rows << QStringLiteral("%1 %2 %3 %4 %5")
                                .arg(trip)
                                .arg(t.stop)
                                .arg(t.sequence)
                                .arg(t.arrival)
                                .arg(t.departure);
                }
                return true;
            });
        });
    QFETCH(QStringList, rows);
    QCOMPARE(got, rows);
}

void TestGtfsReaders::rideMedian_data() {
    QTest::addColumn<QList<int>>("times");
    QTest::addColumn<int>("median");
    QTest::newRow("odd") << QList<int>{30, 10, 20} << 20;
    QTest::newRow("even: the middle two's mean") << QList<int>{40, 10, 40, 10} << 25;
    QTest::newRow("even: a half rounded up") << QList<int>{11, 10} << 11;
    QTest::newRow("repeated times") << QList<int>{5, 9, 5, 5} << 5;
}

void TestGtfsReaders::rideMedian() {
    QFETCH(QList<int>, times);
    RideTimes ride;
    for (const int t : times)
        ride.add(t);
    QTEST(ride.median(), "median");
}

void TestGtfsReaders::shapes_data() {
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QStringList>("rows"); // shape: lat,lon ...
    const QByteArray header = "shape_id,shape_pt_lat,shape_pt_lon,shape_pt_sequence\n";
    QTest::newRow("in sequence order, shapes not named left out")
        << header + "a,1,1,20\nz,5,5,1\na,2,2,3.5\nb,3,3,1\n"
        << QStringList{"0: 2,2 1,1", "1: 3,3"};
    QTest::newRow("sequence not a number")
        << header + "a,1,1,x\n"
        << QStringList{"shapes.txt: строка 2: shape_pt_sequence — не число: «x»"};
}

void TestGtfsReaders::shapes() {
    QFETCH(QByteArray, csv);
    const IdMap named{{"a", 0}, {"b", 1}};
    std::vector<Shape> shapes;
    const QStringList got = outcome(
        "shapes.txt", csv, [&](FeedFile& f) { return readShapes(f, named, &shapes); },
        [&](QStringList& rows) {
            for (std::size_t k = 0; k < shapes.size(); ++k) {
                QString row = QStringLiteral("%1:").arg(k);
                for (const ShapePoint& p : shapes[k])
                    row += QStringLiteral(" %1,%2").arg(p.lat).arg(p.lon);
                rows << row;
            }
        });
    QFETCH(QStringList, rows);
    QCOMPARE(got, rows);
}

void TestGtfsReaders::transfers_data() {
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QStringList>("rows"); // from-to stations, type, time (-1: none)
    QTest::newRow("between stations, one way each, refusals")
        << QByteArray("from_stop_id,to_stop_id,transfer_type,min_transfer_time\n"
                      "P1,X,2,60\nX,S,2,90\nP1,P2,2,30\nX,Q,0,\nS,X,,\nN,X,3,\n")
        << QStringList{"0-1 0 -1", "0-1 2 60", "1-0 2 90", "2-1 3 -1"};
    QTest::newRow("time not a number")
        << QByteArray("from_stop_id,to_stop_id,min_transfer_time\nS,X,soon\n")
        << QStringList{"transfers.txt: строка 2: min_transfer_time — не число: «soon»"};
}

void TestGtfsReaders::transfers() {
    QFETCH(QByteArray, csv);
    const StopTable stops = someStops();
    TransferTable t;
    const QStringList got = outcome(
        "transfers.txt", csv, [&](FeedFile& f) { return readTransfers(f, stops, &t); },
        [&](QStringList& rows) {
            for (const PlaceTransfer& r : t.rows)
                rows << QStringLiteral("%1-%2 %3 %4")
                            .arg(r.from)
                            .arg(r.to)
                            .arg(r.type)
                            .arg(r.minTime);
            rows.sort();
        });
    QFETCH(QStringList, rows);
    QCOMPARE(got, rows);
}

void TestGtfsReaders::fares_data() {
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QStringList>("rows"); // price currency no-transfers, prices refused
    const QByteArray header = "fare_id,price,currency_type,transfers\n";
    QTest::newRow("the commonest price, the first of equals")
        << header + "a,2.5,EUR,\nb,40,RUB,0\nc,2.5,EUR,1\nd,40,RUB,\n"
        << QStringList{"2.5 EUR 0", "0"};
    QTest::newRow("no fares") << header << QStringList{"none", "0"};
    QTest::newRow("prices a map cannot hold")
        << header + "a,-3,EUR,\nb,1e308,EUR,\nc,1e9,EUR,\nd,1e9,EUR,\ne,999999999.5,RUB,0\n"
        << QStringList{"999999999.5 RUB 1", "4"};
    QTest::newRow("price not a number")
        << header + "a,free,EUR,\n"
        << QStringList{"fare_attributes.txt: строка 2: price — не число: «free»"};
}

void TestGtfsReaders::fares() {
    QFETCH(QByteArray, csv);
    FareTable fares;
    const QStringList got = outcome(
        "fare_attributes.txt", csv, [&](FeedFile& f) { return readFareAttributes(f, &fares); },
        [&](QStringList& rows) {
            const std::optional<FareRule>& rule = fares.commonest;
            rows << (rule ? QStringLiteral("%1 %2 %3")
                                .arg(rule->price, 0, 'g', 12)
                                .arg(rule->currency)
                                .arg(int(rule->noTransfers))
                          : QStringLiteral("none"))
                 << QString::number(fares.refused);
        });
    QFETCH(QStringList, rows);
    QCOMPARE(got, rows);
}

void TestGtfsReaders::agencies() {
    AgencyInfo a;
    QCOMPARE(outcome(
                 "agency.txt", "agency_name,agency_id\n\"Metro, City\",M\nBus,B\n",
                 [&](FeedFile& f) { return readAgencies(f, &a); }, [](QStringList&) {}),
             QStringList());
    QCOMPARE(QString::fromStdString(a.firstId) + ' ' + a.firstName,
             QStringLiteral("M Metro, City"));
    QMap<int, int> types;
    QCOMPARE(outcome(
                 "routes.txt", "route_id,route_type\na,3\nb,700\nc,0\nd,-4\n",
                 [&](FeedFile& f) { return countRouteTypes(f, &types); }, [](QStringList&) {}),
             QStringList());
    QCOMPARE(types, (QMap<int, int>{{0, 1}, {3, 3}}));
}

void TestGtfsReaders::walkingNeighbours_data() {
    QTest::addColumn<QList<QPointF>>("places"); // lon, lat; the ids are p0, p1, ...
    QTest::addColumn<int>("place");
    QTest::addColumn<QStringList>("neighbours"); // id metres
    const QList<QPointF> crowd(10, QPointF(37.6, 55.75));
    QTest::newRow("ten at one point: the first ids")
        << crowd << 9
        << QStringList{"p0 0", "p1 0", "p2 0", "p3 0", "p4 0", "p5 0", "p6 0", "p7 0"};
    QTest::newRow("ten at one point, not itself")
        << crowd << 0
        << QStringList{"p1 0", "p2 0", "p3 0", "p4 0", "p5 0", "p6 0", "p7 0", "p8 0"};
    // Around p0 on the equator: east and west 100 m (a tie), north 200 m, 249.9 m south-east,
    // south 250.1 m (too far).
    const QList<QPointF> around{{0, 0},        {0.000899, 0},     {-0.000899, 0},
                                {0, 0.001797}, {0.002246, -1e-5}, {0, -0.00225}};
    QTest::newRow("nearest first, ties by id, strictly closer than 250 m")
        << around << 0 << QStringList{"p1 100", "p2 100", "p3 200", "p4 250"};
}

void TestGtfsReaders::walkingNeighbours() {
    QFETCH(QList<QPointF>, places);
    QFETCH(int, place);
    std::vector<std::string> ids;
    for (int k = 0; k < places.size(); ++k)
        ids.push_back("p" + std::to_string(k));
    std::vector<WalkingPlace> input;
    for (int k = places.size() - 1; k >= 0; --k) // given last first: the order must not matter
        input.push_back({places[k].y(), places[k].x(), ids[std::size_t(k)]});
    ImportProgress progress;
    const WalkingNeighbours found(input, progress);
    QStringList got;
    for (const WalkingNeighbour& n : found.of(int(places.size()) - 1 - place))
        got << QStringLiteral("%1 %2")
                   .arg(QString::fromStdString(std::string(input[std::size_t(n.place)].id)))
                   .arg(qRound(n.metres));
    QFETCH(QStringList, neighbours);
    QCOMPARE(got, neighbours);
}

QTEST_GUILESS_MAIN(TestGtfsReaders)
#include "tst_gtfsreaders.moc"
