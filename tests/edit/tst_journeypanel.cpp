#include "editfixture.h"
#include "gaftoolrun.h"
#include "gtfsfeed.h"
#include "mapbuild.h"
#include "mapstops.h"

#include "app/journeypanel.h"
#include "model/mapfile.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCompleter>
#include <QDateTimeEdit>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTimeZone>

using namespace lirsk;

namespace {

// Tram 1 from West through Centre to East every 20 minutes from 08:00 to 10:00, on 1 June 2026
// only, in Moscow time.
lirsktest::Feed tramFeed() {
    QByteArray trips = "route_id,service_id,trip_id\n";
    QByteArray times = "trip_id,arrival_time,departure_time,stop_id,stop_sequence\n";
    for (int k = 0; k <= 6; ++k) {
        const QByteArray trip = "t" + QByteArray::number(k);
        trips += "T,s," + trip + "\n";
        const int minutes = 8 * 60 + 20 * k;
        int call = 0;
        for (const char* stop : {"W", "C", "E"}) {
            const QByteArray at = QTime(0, 0)
                                      .addSecs((minutes + 5 * call) * 60)
                                      .toString(QStringLiteral("HH:mm:ss"))
                                      .toLatin1();
            times +=
                trip + "," + at + "," + at + "," + stop + "," + QByteArray::number(++call) + "\n";
        }
    }
    return {{"agency.txt", "agency_id,agency_name,agency_url,agency_timezone\n"
                           "a,Трамвай,http://example.org,Europe/Moscow\n"},
            {"stops.txt", "stop_id,stop_name,stop_lat,stop_lon\n"
                          "W,West,0,0\nC,Centre,0,0.009\nE,East,0,0.018\n"},
            {"routes.txt", "route_id,route_short_name,route_type\nT,1,0\n"},
            {"trips.txt", trips},
            {"stop_times.txt", times},
            {"calendar.txt", "service_id,monday,tuesday,wednesday,thursday,friday,saturday,sunday,"
                             "start_date,end_date\ns,1,1,1,1,1,1,1,20260601,20260601\n"},
            {"fare_attributes.txt", "fare_id,price,currency_type,payment_method,transfers\n"
                                    "f,2,EUR,0,0\n"}};
}

// A city of 20 000 stops on a grid of streets: "Улица R, дом H" at row R, each row a route "A R"
// and each column a route "B C", two-way roads between neighbours, the rows' roads quicker.
bool writeCity(const QString& path, QString* error) {
    constexpr int kSide = 142, kStops = 20000;
    GraphMap map;
    for (int k = 0; k < kStops; ++k)
        mapbuild::addStop(map, k,
                          QStringLiteral("Улица %1, дом %2").arg(k / kSide + 1).arg(k % kSide + 1),
                          QStringLiteral("A%1 B%2").arg(k / kSide + 1).arg(k % kSide + 1),
                          20 + 30 * (k % kSide), 20 + 30 * (k / kSide));
    for (int k = 0; k < kStops; ++k) {
        if (k % kSide + 1 < kSide && k + 1 < kStops)
            mapbuild::addRoad(map, k, k + 1, 200, 30);
        if (k + kSide < kStops)
            mapbuild::addRoad(map, k, k + kSide, 150, 40);
    }
    map.UpdateArcFlags();
    return saveMapFile(path, map, false, error);
}

} // namespace

class TestJourneyPanel : public QObject {
    Q_OBJECT

    edittest::Fixture f;
    QTemporaryDir dir;
    QString mapPath;

private slots:
    void initTestCase() {
        const QString feed = dir.filePath(QStringLiteral("feed"));
        QVERIFY(QDir().mkpath(feed));
        QVERIFY(lirsktest::writeFeed(feed, tramFeed()));
        mapPath = dir.filePath(QStringLiteral("tram.gaf"));
        const lirsktest::GaftoolRun run = lirsktest::runGaftool(
            {QStringLiteral("import-gtfs"), feed, mapPath, QStringLiteral("--quiet")});
        QVERIFY2(run.exitCode == 0, run.err.constData());
    }
    void init() { f.start(); }
    void cleanup() { f.stop(); }

    // On a generated city of 20 000 stops: part of each name typed, a suggestion picked, the ways
    // of the three criteria listed, each way once, the chosen one drawn with its legs.
    void panelOnAGeneratedCity() {
        const QString file = dir.filePath(QStringLiteral("city.gaf"));
        QString error;
        QVERIFY2(writeCity(file, &error), qPrintable(error));
        MapWindow* child = f.child = f.frame->OpenMap(file, file);
        QVERIFY(child);
        JourneyPanel* panel = f.frame->journeyPanel;
        QVERIFY(!panel->departureEdit()->isVisible());
        const auto pick = [&](bool isStart, const QString& typed, const QString& name) {
            QLineEdit* edit = isStart ? panel->fromEdit() : panel->toEdit();
            edittest::typeText(edit, typed);
            QAbstractItemView* popup = panel->completer(isStart)->popup();
            QTRY_VERIFY(popup->isVisible());
            const QModelIndexList found = popup->model()->match(
                popup->model()->index(0, 0), Qt::EditRole, name, 1, Qt::MatchExactly);
            QCOMPARE(found.size(), 1);
            popup->setCurrentIndex(found[0]);
            QTest::keyClick(popup, Qt::Key_Return);
            QCOMPARE(child->Map().stop(panel->end(isStart)).Label.Caption, name);
        };
        pick(true, QStringLiteral("улица 3, дом 5"), QStringLiteral("Улица 3, дом 5"));
        pick(false, QStringLiteral("улица 120, дом 13"), QStringLiteral("Улица 120, дом 130"));
        QTRY_VERIFY(!panel->stateLabel()->text().startsWith(QStringLiteral("Поиск")));
        QList<Criterion> named;
        for (const PlannedWay& way : panel->ways())
            named += way.criteria;
        std::sort(named.begin(), named.end());
        QCOMPARE(named, (QList<Criterion>{Criterion::Shortest, Criterion::Fastest,
                                          Criterion::FewestChanges}));
        QCOMPARE(panel->waysList()->count(), int(panel->ways().size()));
        const PlannedWay& chosen = panel->ways()[std::size_t(panel->waysList()->currentRow())];
        QVERIFY(chosen.criteria.contains(f.frame->criterion()));
        QCOMPARE(child->document().foundWay().stops, chosen.way.stops);
        QVERIFY(panel->legsList()->count() > 0);
        QVERIFY(panel->legsList()->item(0)->text().contains(QStringLiteral("Улица 3, дом 5")));
        QCOMPARE(f.dialogs, 0);
    }

    void departuresPaged_data() {
        QTest::addColumn<QTime>("departure");
        QTest::addColumn<QString>("turns"); // '+' «Позже», '-' «Раньше», in order
        // The departures listed, or what the panel says when there are none.
        QTest::addColumn<QString>("shown");
        QTest::newRow("at a departure") << QTime(8, 20) << ""
                                        << "08:20 08:40 09:00";
        QTest::newRow("between departures") << QTime(8, 21) << ""
                                            << "08:40 09:00 09:20";
        QTest::newRow("long before the first") << QTime(5, 0) << ""
                                               << "08:00 08:20 08:40";
        QTest::newRow("later") << QTime(8, 0) << "+"
                               << "09:00 09:20 09:40";
        QTest::newRow("later to the last") << QTime(8, 0) << "++"
                                           << "10:00";
        QTest::newRow("nothing later: the last page stays") << QTime(8, 0) << "+++"
                                                            << "10:00";
        QTest::newRow("earlier") << QTime(9, 10) << "-"
                                 << "08:20 08:40 09:00";
        QTest::newRow("earlier to the first") << QTime(8, 20) << "-"
                                              << "08:00";
        QTest::newRow("later, then earlier") << QTime(8, 20) << "+-"
                                             << "08:20 08:40 09:00";
        QTest::newRow("after the last")
            << QTime(10, 30) << ""
            << "Пути нет: по расписанию не доехать за сутки от 01.06.2026 10:30.";
    }

    // The ends chosen from the stops' menus, «Когда» set and the pages turned as a user does:
    // the journeys of the departures asked for are listed, the best of them drawn with its legs,
    // and nothing opens a window.
    void departuresPaged() {
        QFETCH(QTime, departure);
        QFETCH(QString, turns);
        QFETCH(QString, shown);
        MapWindow* child = f.child = f.frame->OpenMap(mapPath, mapPath);
        QVERIFY(child);
        JourneyPanel* panel = f.frame->journeyPanel;
        QDateTimeEdit* when = panel->departureEdit();
        QVERIFY(when->isVisible());
        when->setDateTime(QDateTime(QDate(2026, 6, 1), departure, Qt::UTC));
        QTest::keyClick(when, Qt::Key_Return);
        child->editor().ChooseStart(testing::stopNamed(child->Map(), QStringLiteral("West")));
        child->editor().ChooseFinish(testing::stopNamed(child->Map(), QStringLiteral("East")));
        for (const QChar turn : turns) {
            QAbstractButton* button = turn == u'+' ? panel->laterButton() : panel->earlierButton();
            QTRY_VERIFY(button->isEnabled());
            QTest::mouseClick(button, Qt::LeftButton);
        }
        const QTimeZone moscow("Europe/Moscow");
        const auto listed = [&] {
            if (panel->journeys().empty() || !panel->laterButton()->isEnabled())
                return panel->stateLabel()->text();
            QStringList departures;
            for (const PlannedJourney& planned : panel->journeys())
                departures << QDateTime::fromSecsSinceEpoch(planned.journey.departure, moscow)
                                  .toString(QStringLiteral("HH:mm"));
            return departures.join(QLatin1Char(' '));
        };
        QTRY_COMPARE(listed(), shown);
        QCOMPARE(f.dialogs, 0);
        QVERIFY(f.messages.isEmpty());
        if (panel->journeys().empty())
            return;
        const int row = panel->waysList()->currentRow();
        QVERIFY(row >= 0 && row < int(panel->journeys().size()));
        const PlannedJourney& chosen = panel->journeys()[std::size_t(row)];
        QCOMPARE(child->document().foundWay().stops, chosen.way.stops);
        const QString times = QDateTime::fromSecsSinceEpoch(chosen.journey.departure, moscow)
                                  .toString(QStringLiteral("HH:mm")) +
                              QStringLiteral("–") +
                              QDateTime::fromSecsSinceEpoch(chosen.journey.arrival, moscow)
                                  .toString(QStringLiteral("HH:mm"));
        QCOMPARE(panel->legsList()->item(0)->text(),
                 times + QStringLiteral("  № 1 «East»\nWest → East"));
    }
};

QTEST_MAIN(TestJourneyPanel)
#include "tst_journeypanel.moc"
