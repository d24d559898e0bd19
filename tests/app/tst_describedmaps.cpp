#include "app/mainwindow.h"
#include "app/mapwindow.h"
#include "app/stoppanel.h"
#include "app/stopsuggestions.h"
#include "document/edits.h"
#include "edit/modal.h"
#include "edit/routereportdialog.h"
#include "mapstops.h"
#include "model/mapdescription.h"
#include "model/mapfile.h"
#include "platform/messages.h"
#include "testdesktop.h"
#include "timetable/timetable.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QProgressDialog>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>
#include <QUndoStack>

#include <sys/stat.h>

// Maps that carry their own description: imported from a feed through «Импорт GTFS…», or opened
// from a file with a .gafd beside it.

using namespace lirsk;

namespace {

using Feed = QMap<QString, QString>;

// A tram 1 West-Centre-East and a bus 7 North-Centre Bus, joined by a walk, every day of 2026;
// one fare of 2 euros with no transfers allowed.
const Feed kFeed{
    {"agency.txt", "agency_id,agency_name,agency_url,agency_timezone\n"
                   "a,Горэлектротранс,http://example.org,Europe/Moscow\n"},
    {"stops.txt", "stop_id,stop_name,stop_lat,stop_lon\n"
                  "W,West,0,0\nC,Centre,0,0.009\nE,East,0,0.018\n"
                  "N,North,0.009,0.00936\nC2,Centre Bus,0,0.00936\n"},
    {"routes.txt", "route_id,route_short_name,route_type\nT,1,0\nB,7,3\n"},
    {"trips.txt", "route_id,service_id,trip_id\nT,s,t1\nT,s,t2\nB,s,b1\n"},
    {"stop_times.txt", "trip_id,arrival_time,departure_time,stop_id,stop_sequence\n"
                       "t1,08:00:00,08:00:00,W,1\nt1,08:02:00,08:02:00,C,2\n"
                       "t1,08:04:00,08:04:00,E,3\n"
                       "t2,09:10:00,09:10:00,W,1\nt2,09:12:00,09:12:00,C,2\n"
                       "t2,09:14:00,09:14:00,E,3\n"
                       "b1,09:00:00,09:00:00,N,1\nb1,09:04:00,09:04:00,C2,2\n"},
    {"calendar.txt", "service_id,monday,tuesday,wednesday,thursday,friday,saturday,sunday,"
                     "start_date,end_date\ns,1,1,1,1,1,1,1,20260101,20261231\n"},
    {"transfers.txt", "from_stop_id,to_stop_id,transfer_type,min_transfer_time\nC,C2,2,120\n"},
    {"fare_attributes.txt", "fare_id,price,currency_type,payment_method,transfers\n"
                            "f,2,EUR,0,0\n"}};

bool writeFiles(const QString& dir, const Feed& files) {
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        QFile f(QDir(dir).filePath(it.key()));
        if (!f.open(QIODevice::WriteOnly) || f.write(it.value().toUtf8()) < 0)
            return false;
    }
    return true;
}

QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList routeRows(const MapWindow* window) {
    QStringList rows;
    for (int row = 1; row < window->routeTable->rowCount(); ++row) {
        const QTableWidgetItem* number = window->routeTable->item(row, 0);
        const QTableWidgetItem* name = window->routeTable->item(row, 1);
        rows << (number ? number->text() : QString()) + QLatin1Char('|') +
                    (name ? name->text() : QString());
    }
    return rows;
}

// The report of the way between two stops, found as a drag in the window finds it: the fare and
// the route numbers of the rides.
QStringList reportOf(MapWindow* window, const QString& from, const QString& to) {
    const StopIndex start = testing::stopNamed(window->Map(), from);
    const StopIndex finish = testing::stopNamed(window->Map(), to);
    if (start == NoStop || finish == NoStop)
        return {QStringLiteral("no such stop")};
    // The way on the map, not the journey by the timetable.
    window->editor().setByTimetable(false);
    window->editor().FindWay(start, finish);
    const RouteReportDialog* report = window->Frame()->programDialogs().routeReport();
    QStringList lines{report->fareLabel->text()};
    for (const QString& line : report->ridesLabel->text().split(QLatin1Char('\n')))
        if (line.startsWith(QStringLiteral("№")))
            lines << line;
    return lines;
}

} // namespace

class TestDescribedMaps : public QObject {
    Q_OBJECT

    TestDesktop desktop;
    std::unique_ptr<MainWindow> frame;
    QStringList messages;
    QTemporaryDir dir;

private slots:
    void init() {
        qRegisterMetaType<MapWindow*>();
        messages.clear();
        setMessageHandler([this](const MessageRequest& r) {
            messages << r.text;
            return QMessageBox::Ok;
        });
        frame = std::make_unique<MainWindow>();
        frame->setDesktopDialogs(&desktop);
        frame->programDialogs().setRunner([](QDialog&) { return int(QDialog::Accepted); });
        frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
    }

    void cleanup() {
        frame.reset();
        setMessageHandler({});
    }

    void importedMap_data() {
        QTest::addColumn<QList<int>>("types"); // the route types answered; empty: refused
        QTest::addColumn<bool>("cancel");      // cancelled in the progress dialog
        QTest::addColumn<QStringList>("routes");
        QTest::addColumn<QStringList>("report"); // North (or West) to East
        QTest::newRow("every type") << QList<int>{0, 3} << false << QStringList{"1|", "7|"}
                                    << QStringList{"4 €", "№ 7 ", "№ 1 "};
        QTest::newRow("tram only")
            << QList<int>{0} << false << QStringList{"1|"} << QStringList{"2 €", "№ 1 "};
        QTest::newRow("types refused") << QList<int>{} << false << QStringList() << QStringList();
        QTest::newRow("cancelled") << QList<int>{0, 3} << true << QStringList() << QStringList();
    }

    void importedMap() {
        QFETCH(QList<int>, types);
        QFETCH(bool, cancel);
        QFETCH(QStringList, routes);
        QFETCH(QStringList, report);
        const QString feed = dir.filePath(QTest::currentDataTag());
        QVERIFY(QDir().mkpath(feed));
        QVERIFY(writeFiles(feed, kFeed));
        desktop.feedAnswer = [feed] { return feed; };
        QMap<int, int> offered;
        desktop.routeTypesAnswer = [&](const GtfsFeedSummary& summary) -> std::optional<QSet<int>> {
            offered = summary.routeTypes;
            if (types.isEmpty())
                return std::nullopt;
            return QSet<int>(types.begin(), types.end());
        };
        QObject listening;
        connect(frame.get(), &MainWindow::importStarted, &listening, [cancel](QProgressDialog* p) {
            if (cancel)
                emit p->canceled();
        });
        QSignalSpy finished(frame.get(), &MainWindow::importFinished);
        frame->acImportGtfsExecute();
        QVERIFY(finished.wait(60000));
        MapWindow* child = finished.at(0).at(0).value<MapWindow*>();
        QCOMPARE(offered, (QMap<int, int>{{0, 1}, {3, 1}}));
        QCOMPARE(messages, QStringList());
        if (routes.isEmpty()) {
            QVERIFY(!child);
            QCOMPARE(frame->MapWindowCount(), 0);
            QCOMPARE(frame->StatusText(), cancel ? QStringLiteral("Импорт прерван") : QString());
            QVERIFY(frame->acImportGtfs->isEnabled());
            return;
        }
        QVERIFY(child);
        QCOMPARE(child->windowTitle(), QStringLiteral("Горэлектротранс"));
        QCOMPARE(routeRows(child), routes);
        QCOMPARE(reportOf(child,
                          types.size() > 1 ? QStringLiteral("North") : QStringLiteral("West"),
                          QStringLiteral("East")),
                 report);
        QVERIFY(child->document().isModified());

        // Saving asks for a name and writes the description beside the map.
        const QString saved = dir.filePath(QTest::currentDataTag() + QStringLiteral(".gaf"));
        int asked = 0;
        desktop.saveAnswer = [&] {
            ++asked;
            return saved;
        };
        frame->acSave->trigger();
        QCOMPARE(asked, 1);
        QVERIFY(!child->document().isModified());
        QCOMPARE(child->windowTitle(), QStringLiteral("Горэлектротранс"));
        MapDescription description;
        QString error;
        QCOMPARE(readMapDescription(saved, &description, &error), DescriptionRead::Read);
        QCOMPARE(description.fareUnit, QStringLiteral("€"));
        QCOMPARE(description.routes.size(), routes.size());
    }

    // An imported map keeps its timetable: the way is a journey by it, a save puts it beside the
    // map, and a station moved turns it off.
    void journeyByTimetable() {
        const QString feed = dir.filePath(QStringLiteral("timetable"));
        QVERIFY(QDir().mkpath(feed));
        QVERIFY(writeFiles(feed, kFeed));
        desktop.feedAnswer = [feed] { return feed; };
        desktop.routeTypesAnswer = [](const GtfsFeedSummary&) -> std::optional<QSet<int>> {
            return QSet<int>{0, 3};
        };
        QSignalSpy finished(frame.get(), &MainWindow::importFinished);
        frame->acImportGtfsExecute();
        QVERIFY(finished.wait(60000));
        MapWindow* child = finished.at(0).at(0).value<MapWindow*>();
        QVERIFY(child);
        QVERIFY(frame->acByTimetable->isChecked());
        MapDocument& document = child->document();
        document.setDeparture(QDateTime(QDate(2026, 6, 1), QTime(8, 30), QTimeZone("Europe/Moscow"))
                                  .toSecsSinceEpoch());
        const StopIndex north = testing::stopNamed(child->Map(), QStringLiteral("North"));
        child->editor().FindWay(north, testing::stopNamed(child->Map(), QStringLiteral("East")));
        const RouteReportDialog* report = frame->programDialogs().routeReport();
        QCOMPARE(report->ridesLabel->text(),
                 QStringLiteral("\nот ост. North до ост. Centre Bus\n№ 7 «Centre Bus», 09:00–09:04"
                                "\nпешком от ост. Centre Bus до ост. Centre, 1 мин.\n09:04–09:04"
                                "\nот ост. Centre до ост. East\n№ 1 «East», 09:12–09:14"));
        QCOMPARE(report->fareLabel->text(), QStringLiteral("4 €"));
        QCOMPARE(report->timeLabel->text(), QStringLiteral("14 мин."));

        const QString saved = dir.filePath(QStringLiteral("timetable.gaf"));
        desktop.saveAnswer = [saved] { return saved; };
        frame->acSave->trigger();
        Timetable beside;
        QString error;
        QVERIFY2(beside.read(timetablePathFor(saved), &error), qPrintable(error));
        QCOMPARE(document.timetableFile(), timetablePathFor(saved));

        const Stop& stop = child->Map().stop(north);
        StopPlace moved = placeOf(stop);
        moved.left += 10;
        edit::moveStops(document, QStringLiteral("перемещение"), {north}, {placeOf(stop)}, {moved});
        QVERIFY(frame->StatusText().contains(QStringLiteral("поиск по расписанию выключен")));
        QVERIFY(!frame->acByTimetable->isEnabled());
        QVERIFY(frame->acShortest->isChecked());
        document.undoStack()->undo();
        QVERIFY(document.hasMatchingTimetable());
        QVERIFY(frame->acByTimetable->isChecked());
    }

    // The worker's reason reaches the user; the program goes on.
    void brokenFeedIsReported() {
        const QString feed = dir.filePath(QStringLiteral("broken"));
        QVERIFY(QDir().mkpath(feed));
        QVERIFY(writeFiles(feed, {{"agency.txt", kFeed.value("agency.txt")}}));
        desktop.feedAnswer = [feed] { return feed; };
        QSignalSpy finished(frame.get(), &MainWindow::importFinished);
        frame->acImportGtfsExecute();
        QVERIFY(finished.wait(60000));
        QVERIFY(!finished.at(0).at(0).value<MapWindow*>());
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].contains(QStringLiteral("routes.txt")), qPrintable(messages[0]));
        QVERIFY(frame->acImportGtfs->isEnabled());
    }

    void mapOpenedWithItsDescription_data() {
        QTest::addColumn<QByteArray>("description"); // null: none
        QTest::addColumn<QString>("title");          // empty: the path
        QTest::addColumn<QStringList>("routes");
        QTest::addColumn<QStringList>("report");
        QTest::addColumn<int>("warnings");
        QTest::addColumn<bool>("unreadable"); // the description is refused
        QTest::newRow("described")
            << QByteArray("{\"map_code\": \"Z\", \"title\": \"Город Зет\", \"base_fare\": 10, "
                          "\"transfer_fare\": 5, \"fare_unit\": \"у.е.\", \"routes\": ["
                          "{\"code\": \"Z5\", \"number\": \"5\", \"name\": \"Пятый\", "
                          "\"color\": \"#FF0000\"}, "
                          "{\"code\": \"Z9-night\", \"number\": \"9\", \"name\": \"Ночной\"}]}")
            << QStringLiteral("Город Зет") << QStringList{"5|Пятый", "9|Ночной"}
            << QStringList{"15 у.е.", "№ 5 ", "№ 9 "} << 0 << false;
        QTest::newRow("none") << QByteArray() << QString() << QStringList{"|"}
                              << QStringList{"14 руб."} << 0 << false;
        QTest::newRow("broken") << QByteArray("{\"base_fare\": -1}") << QString()
                                << QStringList{"|"} << QStringList{"14 руб."} << 1 << true;
        QTest::newRow("wrong type")
            << QByteArray("{\"map_code\": 5, \"base_fare\": 10, \"routes\": []}") << QString()
            << QStringList{"|"} << QStringList{"14 руб."} << 1 << true;
        QTest::newRow("a link's stop not a number")
            << QByteArray("{\"links\": [{\"from\": 0, \"to\": \"a\", \"routes\": [0]}]}")
            << QString() << QStringList{"|"} << QStringList{"14 руб."} << 1 << true;
        // A picture that is a FIFO is refused, not waited on.
        QTest::newRow("picture a FIFO")
            << QByteArray("{\"map_code\": \"Z\", \"picture\": \"pipe\"}") << QString()
            << QStringList() << QStringList{"0 руб."} << 1 << false;
        // A picture beside the map stays named relative to it through a save.
        QTest::newRow("picture beside")
            << QByteArray("{\"map_code\": \"Z\", \"picture\": \"plan.png\"}") << QString()
            << QStringList() << QStringList{"0 руб."} << 0 << false;
        // Fields of a newer version are kept through a save.
        QTest::newRow("newer")
            << QByteArray(
                   "{\"version\": 3, \"map_code\": \"Z\", \"base_fare\": 10, "
                   "\"transfer_fare\": 5, \"fare_unit\": \"у.е.\", \"night\": {\"fare\": 20}, "
                   "\"routes\": [{\"code\": \"Z5\", \"number\": \"5\", \"color\": \"#FF0000\", "
                   "\"shape\": [1, 2]}, "
                   "{\"code\": \"Z9-night\", \"number\": \"9\"}]}")
            << QString() << QStringList{"5|", "9|"} << QStringList{"15 у.е.", "№ 5 ", "№ 9 "} << 0
            << false;
    }

    void mapOpenedWithItsDescription() {
        QFETCH(QByteArray, description);
        QFETCH(QString, title);
        QFETCH(QStringList, routes);
        QFETCH(QStringList, report);
        QFETCH(int, warnings);
        QFETCH(bool, unreadable);
        const QString file = dir.filePath(QTest::currentDataTag() + QStringLiteral(".gaf"));
        {
            GraphMap map;
            const StopIndex a = map.AddStop(40, 40, true);
            const StopIndex b = map.AddStop(200, 60, true);
            const StopIndex c = map.AddStop(120, 220, true);
            map.stop(a).Label.Caption = QStringLiteral("Вокзал");
            map.stop(b).Label.Caption = QStringLiteral("Рынок");
            map.stop(c).Label.Caption = QStringLiteral("Порт");
            map.stop(a).Routes = QStringLiteral("Z5");
            map.stop(b).Routes = QStringLiteral("Z5 Z9-night");
            map.stop(c).Routes = QStringLiteral("Z9-night");
            for (auto [from, to] : {std::pair{a, b}, std::pair{b, a}, std::pair{b, c}})
                map.AddLink(from, to, {0, 300, 0});
            map.UpdateArcFlags();
            QString error;
            QVERIFY2(saveMapFile(file, map, false, &error), qPrintable(error));
        }
        QImage plan(8, 8, QImage::Format_RGB32);
        plan.fill(Qt::white);
        QVERIFY(plan.save(dir.filePath(QStringLiteral("plan.png"))));
        QFile::remove(dir.filePath(QStringLiteral("pipe")));
        QCOMPARE(
            ::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("pipe"))).constData(), 0600), 0);
        if (!description.isNull())
            QVERIFY(writeFiles(dir.path(), {{QFileInfo(descriptionPathFor(file)).fileName(),
                                             QString::fromUtf8(description)}}));
        desktop.openAnswer = [file] { return file; };
        frame->acOpen->trigger();
        MapWindow* child = frame->ActiveMapWindow();
        QVERIFY(child);
        QCOMPARE(messages.size(), warnings);
        QCOMPARE(child->windowTitle(), title.isEmpty() ? file : title);
        QCOMPARE(routeRows(child), routes);
        if (routes.size() == 2 && warnings == 0) {
            // A route row marks the stops that carry its code, the night route's whole code too.
            QCOMPARE(child->stopPanel()->routeStops(2).size(), std::size_t(2));
            QCOMPARE(child->routeTable->item(1, 0)->data(Qt::DecorationRole).value<QColor>(),
                     QColor(255, 0, 0));
        }
        const QStringList found = reportOf(child, QStringLiteral("Вокзал"), QStringLiteral("Порт"));
        QCOMPARE(report.size() > 1 ? found : found.mid(0, 1), report);
        // A description that could not be read is left as it is by a save.
        if (unreadable) {
            QVERIFY(child->Save(QString()));
            QCOMPARE(readBytes(descriptionPathFor(file)), description);
        }

        // «Сохранить как» carries the description along; a map without one gets none.
        const QString copy = dir.filePath(QTest::currentDataTag() + QStringLiteral("-copy.gaf"));
        desktop.saveAnswer = [copy] { return copy; };
        QVERIFY(frame->acSaveAsExecute());
        QCOMPARE(child->windowTitle(), title.isEmpty() ? copy : title);
        QCOMPARE(QFile::exists(descriptionPathFor(copy)), !unreadable && !description.isNull());
        if (warnings == 0 && QFile::exists(descriptionPathFor(copy))) {
            MapDescription original, copied;
            QString error;
            QCOMPARE(readMapDescription(file, &original, &error), DescriptionRead::Read);
            QCOMPARE(readMapDescription(copy, &copied, &error), DescriptionRead::Read);
            QCOMPARE(describeAsJson(copied), describeAsJson(original));
            const QJsonObject before = QJsonDocument::fromJson(description).object();
            const QJsonObject after =
                QJsonDocument::fromJson(readBytes(descriptionPathFor(copy))).object();
            for (const QString& key : before.keys())
                QVERIFY2(after.contains(key), qPrintable(key));
            const QJsonArray rowsBefore = before.value(QStringLiteral("routes")).toArray();
            const QJsonArray rowsAfter = after.value(QStringLiteral("routes")).toArray();
            QCOMPARE(rowsAfter.size(), rowsBefore.size());
            for (qsizetype i = 0; i < rowsBefore.size(); ++i)
                for (const QString& key : rowsBefore[i].toObject().keys())
                    QVERIFY2(rowsAfter[i].toObject().contains(key), qPrintable(key));
        }
    }

    // A stop that shows its own name is found by it and by the name its map file holds; a save
    // writes the file name back to the map file, and a stop renamed since leaves both names.
    void ownNamesFoundEitherWay_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("found");
        QTest::newRow("part of the own name") << QStringLiteral("宇都宮") << true;
        QTest::newRow("the file name in lower case") << QStringLiteral("utsunomiya") << true;
        QTest::newRow("a later word of the file name") << QStringLiteral("higashi") << true;
        QTest::newRow("neither") << QStringLiteral("tokyo") << false;
    }

    void ownNamesFoundEitherWay() {
        QFETCH(QString, typed);
        QFETCH(bool, found);
        const QString own = QStringLiteral("宇都宮駅東口"),
                      latin = QStringLiteral("Utsunomiyaeki Higashiguchi");
        const QString file = dir.filePath(QStringLiteral("own.gaf"));
        {
            GraphMap map;
            map.stop(map.AddStop(40, 40, true)).Label.Caption = latin;
            map.stop(map.AddStop(200, 60, true)).Label.Caption = QStringLiteral("Порт");
            QString error;
            QVERIFY2(saveMapFile(file, map, false, &error), qPrintable(error));
        }
        QVERIFY(writeFiles(dir.path(), {{QStringLiteral("own.gafd"),
                                         QStringLiteral("{\"map_code\": \"Z\", \"names\": "
                                                        "[[0, \"%1\", \"%2\"]]}")
                                             .arg(own, latin)}}));
        desktop.openAnswer = [file] { return file; };
        frame->acOpen->trigger();
        MapWindow* child = frame->ActiveMapWindow();
        QVERIFY(child);
        QCOMPARE(child->Map().stop(0).Label.Caption, own);
        StopSuggestions suggestions;
        suggestions.setDocument(&child->document());
        suggestions.setTyped(typed);
        StopListModel list(&child->document());
        list.setFilter(typed);
        QCOMPARE(suggestions.rowCount(), found ? 1 : 0);
        QCOMPARE(list.rowCount(), found ? 1 : 0);
        if (found)
            QCOMPARE(suggestions.index(0).data(Qt::EditRole).toString(), own);

        const QString copy = dir.filePath(QStringLiteral("own-copy.gaf"));
        QVERIFY(child->Save(copy));
        GraphMap saved;
        QString error;
        MapDescription description;
        QVERIFY(readMapFile(copy, saved, &error));
        QCOMPARE(saved.stop(0).Label.Caption, latin);
        QCOMPARE(readMapDescription(copy, &description, &error), DescriptionRead::Read);
        QCOMPARE(description.ownNames, (QList<OwnName>{{0, own, latin}}));
        child->Map().stop(0).Label.Caption = QStringLiteral("Восточный выход");
        QVERIFY(child->Save(copy));
        QCOMPARE(readMapDescription(copy, &description, &error), DescriptionRead::Read);
        QCOMPARE(description.ownNames, QList<OwnName>());
    }
};

QTEST_MAIN(TestDescribedMaps)
#include "tst_describedmaps.moc"
