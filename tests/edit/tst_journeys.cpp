#include "editfixture.h"

#include "app/journeypanel.h"
#include "edit/routereportdialog.h"
#include "model/catalogue.h"
#include "model/mapfile.h"
#include "model/numberformat.h"
#include "platform/colours.h"
#include "route/findway.h"
#include "route/report.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDockWidget>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QRegularExpression>
#include <QScrollArea>
#include <QTableWidget>
#include <QTemporaryDir>

using namespace lirsk;

Q_DECLARE_METATYPE(lirsk::MapMenuEntry)

namespace {

// Whether some pixel next to a point has (nearly) the given colour: lines are smoothed.
bool inkNear(const QImage& image, QPoint p, const QColor& colour) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const QPoint q = p + QPoint(dx, dy);
            if (!image.rect().contains(q))
                continue;
            const QColor c = image.pixelColor(q);
            if (qAbs(c.red() - colour.red()) < 40 && qAbs(c.green() - colour.green()) < 40 &&
                qAbs(c.blue() - colour.blue()) < 40)
                return true;
        }
    return false;
}

struct WayEnds {
    StopIndex start = NoStop;
    StopIndex finish = NoStop;
    SearchResult result;
};

// The longest way (by stops) from the first stop that has a way at all.
WayEnds longestJourney(GraphMap& map) {
    WayEnds best;
    for (StopIndex start = 0; start < map.stopCount(); ++start) {
        if (map.stop(start).Links.empty())
            continue;
        for (StopIndex finish = 0; finish < map.stopCount(); ++finish) {
            if (finish == start)
                continue;
            SearchResult r = FindWay(map, start, finish);
            if (r.outcome == SearchOutcome::Found && r.way.size() > best.result.way.size())
                best = {start, finish, r};
        }
        if (best.start != NoStop)
            return best;
    }
    return best;
}

QString describe(const GraphMap& map) {
    QStringList lines;
    lines << QStringLiteral("max %1").arg(map.MaxStopId);
    for (const Stop& s : map.stops()) {
        lines << QStringLiteral("%1 %2,%3 %4 [%5] size %6 colour %7")
                     .arg(s.Id)
                     .arg(s.Left)
                     .arg(s.Top)
                     .arg(s.Label.Caption, s.Routes)
                     .arg(s.Width)
                     .arg(s.FillColor, 0, 16);
        for (const Link& l : s.Links)
            lines << QStringLiteral("  -> %1 %2 %3 %4 %5")
                         .arg(map.stop(l.To).Id)
                         .arg(l.Price)
                         .arg(l.Length)
                         .arg(l.Time)
                         .arg(l.IsArc ? QStringLiteral("arc") : QStringLiteral("road"));
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

class TestJourneys : public QObject {
    Q_OBJECT

    edittest::Fixture f;
    QTemporaryDir dir;

    // Opens the built-in map of a file name; null when it is not built.
    MapWindow* openBuiltin(const QString& file) {
        for (const MapMenuEntry& e : mapMenuCatalogue())
            if (e.path.endsWith(file))
                return f.child = f.frame->OpenBuiltinMap(e);
        return nullptr;
    }

private slots:
    void init() {
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        f.start();
    }
    void cleanup() {
        f.stop();
        QLocale::setDefault(QLocale::c());
    }

    void wayOnEveryBuiltinMap_data() {
        QTest::addColumn<MapMenuEntry>("entry");
        for (const MapMenuEntry& e : mapMenuCatalogue())
            if (!e.path.isEmpty() &&
                QFile::exists(resolveDataPath(e.path, {QCoreApplication::applicationDirPath()})))
                QTest::newRow(qPrintable(e.path)) << e;
    }

    void wayOnEveryBuiltinMap() {
        QFETCH(MapMenuEntry, entry);
        MapWindow* child = f.frame->OpenBuiltinMap(entry);
        QVERIFY(child);
        f.child = child;
        QCOMPARE(child->editor().mode(), lirsk::MapMode::FindWay);
        WayEnds journey = longestJourney(child->Map());
        QVERIFY(journey.start != NoStop);
        QVERIFY(journey.result.way.size() >= 3);
        const RouteReport expected = BuildRouteReport(
            child->Map(), journey.result.way, journey.result.length, journey.result.time,
            child->Map().MapCode, child->Map().MapCity, QLatin1Char(','));

        QString fare, length, time, rides;
        f.onDialog = [&](QDialog& dialog) {
            auto* rez = qobject_cast<RouteReportDialog*>(&dialog);
            QVERIFY(rez);
            fare = rez->fareLabel->text();
            length = rez->lengthLabel->text();
            time = rez->timeLabel->text();
            rides = rez->ridesLabel->text();
            QTest::mouseClick(rez->closeButton, Qt::LeftButton);
        };
        const QPoint from = f.centreOf(journey.start), to = f.centreOf(journey.finish);
        child->view()->centreOn(from);
        f.drag(from, to);

        QCOMPARE(f.dialogs, 1);
        QVERIFY(f.messages.isEmpty());
        QCOMPARE(fare, expected.fareText);
        QCOMPARE(length, expected.lengthText);
        QCOMPARE(time, expected.timeText);
        QCOMPARE(rides, QString(expected.ridesText).replace(QChar(13), QChar(10)));
        QVERIFY(fare.endsWith(QStringLiteral(" руб.")));

        // The way stays drawn in the tree colour, on the drawn map and over the picture.
        const QColor tree = toQColor(child->Map().Settings.TreeColor);
        const QImage shown =
            child->view()->renderMap(QRect(QPoint(0, 0), child->view()->mapSize()));
        const auto& way = journey.result.way;
        int drawn = 0, steps = 0;
        for (std::size_t k = 0; k + 1 < way.size(); ++k) {
            const Stop& later = child->Map().stop(way[k]);
            const Stop& earlier = child->Map().stop(way[k + 1]);
            const QPoint a(later.centreX(), later.centreY());
            const QPoint b(earlier.centreX(), earlier.centreY());
            if ((a - b).manhattanLength() < 30)
                continue;
            ++steps;
            drawn += inkNear(shown, (a + b) / 2, tree);
        }
        QVERIFY(steps > 0);
        QCOMPARE(drawn, steps);
        QCOMPARE(child->document().foundWay().stops.size(), way.size());
    }

    void wayChosenStopByStop_data() {
        QTest::addColumn<bool>("startFirst");
        QTest::newRow("start, then finish") << true;
        QTest::newRow("finish, then start") << false;
    }

    // The ends of a way chosen from the stops' menus on the city plan, with a click on the empty
    // map and Del between them: the journey panel finds the way a drag finds, and no window
    // opens.
    void wayChosenStopByStop() {
        QFETCH(bool, startFirst);
        MapWindow* child = openBuiltin(QStringLiteral("MapTram.gaf"));
        if (!child)
            QSKIP("the tram map is not built");
        WayEnds journey = longestJourney(child->Map());
        QVERIFY(journey.start != NoStop);
        const auto choose = [&](StopIndex stop, bool asStart) {
            child->view()->centreOn(f.centreOf(stop));
            f.press(f.centreOf(stop), Qt::RightButton);
            QVERIFY(child->editor().stopMenuStart->isVisible());
            (asStart ? child->editor().stopMenuStart : child->editor().stopMenuFinish)->trigger();
            child->editor().stopMenu->hide();
        };
        choose(startFirst ? journey.start : journey.finish, startFirst);
        QVERIFY(child->view()->chosenEnd());
        f.click(f.centreOf(startFirst ? journey.start : journey.finish) + QPoint(40, 40));
        QTest::keyClick(f.frame.get(), Qt::Key_Delete);
        QVERIFY(child->view()->chosenEnd());
        QCOMPARE(f.dialogs, 0);
        choose(startFirst ? journey.finish : journey.start, !startFirst);
        QVERIFY(!child->view()->chosenEnd());
        QTRY_COMPARE(child->document().foundWay().stops, journey.result.way);
        QCOMPARE(f.dialogs, 0);
        // The whole way is in view.
        for (const StopIndex stop : journey.result.way)
            QVERIFY(child->view()->visibleMapRect().contains(f.centreOf(stop)));
        // Esc forgets an end chosen alone.
        f.frame->journeyPanel->swapEnds();
        f.frame->journeyPanel->setEnd(NoStop, true);
        QVERIFY(child->view()->chosenEnd());
        QTest::keyClick(child, Qt::Key_Escape);
        QVERIFY(!child->view()->chosenEnd());
        QVERIFY(f.frame->journeyPanel->toEdit()->text().isEmpty());
    }

    // On the Moscow metro the shortest and the fastest ways from station 33 to 94 differ; the
    // criterion chosen in the frame's menu holds, and the report's caption says which it is.
    void criterionChosenInTheMenu_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("time");
        QTest::newRow("shortest") << "acShortest"
                                  << "Отчет"
                                  << "33 мин.";
        QTest::newRow("fastest") << "acFastest"
                                 << "Отчет — быстрейший путь"
                                 << "30 мин.";
    }

    void criterionChosenInTheMenu() {
        QFETCH(QString, action);
        QFETCH(QString, caption);
        QFETCH(QString, time);
        MapWindow* child = openBuiltin(QStringLiteral("MMoscow.gaf"));
        if (!child)
            QSKIP("the Moscow map is not built");
        f.frame->findChild<QAction*>(action)->trigger();
        QString shownCaption, shownTime;
        f.onDialog = [&](QDialog& dialog) {
            shownCaption = dialog.windowTitle();
            shownTime = qobject_cast<RouteReportDialog*>(&dialog)->timeLabel->text();
        };
        child->editor().FindWay(child->Map().FindStopById(33), child->Map().FindStopById(94));
        f.frame->acShortest->trigger();
        QCOMPARE(shownCaption, caption);
        QCOMPARE(shownTime, time);
    }

    // The journey panel as a user drives it on the Moscow metro: part of each name typed, a
    // suggestion picked, the ways of the three criteria listed once each, another one chosen:
    // it is drawn and its legs are listed, and no window opens.
    void journeyPanelDrivenAsAUser() {
        MapWindow* child = openBuiltin(QStringLiteral("MMoscow.gaf"));
        if (!child)
            QSKIP("the Moscow map is not built");
        JourneyPanel* panel = f.frame->journeyPanel;
        QVERIFY(f.frame->journeyDock->isVisible());
        const auto pick = [&](bool isStart, const QString& typed, const QString& name) {
            QLineEdit* edit = isStart ? panel->fromEdit() : panel->toEdit();
            edittest::typeText(edit, typed);
            QAbstractItemView* popup = panel->completer(isStart)->popup();
            QTRY_VERIFY(popup->isVisible());
            const QAbstractItemModel* model = popup->model();
            for (int row = 0; row < model->rowCount(); ++row) {
                const QModelIndex index = model->index(row, 0);
                if (index.data(Qt::EditRole).toString() != name)
                    continue;
                // The routes show beside the name.
                QVERIFY(index.data().toString().startsWith(name + QLatin1Char(' ')));
                popup->setCurrentIndex(index);
                QTest::keyClick(popup, Qt::Key_Return);
            }
            QCOMPARE(edit->text(), name);
            QCOMPARE(child->Map().stop(panel->end(isStart)).Label.Caption, name);
        };
        pick(true, QStringLiteral("алекс"), QStringLiteral("Александровский сад"));
        pick(false, QStringLiteral("новогир"), QStringLiteral("Новогиреево"));
        QTRY_VERIFY(panel->waysList()->count() > 0);
        const std::vector<PlannedWay>& ways = panel->ways();
        QCOMPARE(panel->waysList()->count(), int(ways.size()));
        QList<Criterion> named;
        for (const PlannedWay& way : ways) {
            QVERIFY(std::none_of(ways.begin(), ways.end(), [&](const PlannedWay& other) {
                return &other != &way && other.way.stops == way.way.stops;
            }));
            named += way.criteria;
        }
        std::sort(named.begin(), named.end());
        QCOMPARE(named, (QList<Criterion>{Criterion::Shortest, Criterion::Fastest,
                                          Criterion::FewestChanges}));
        // The row of the menu's criterion is chosen; choosing each row draws it and lists its
        // legs, from the start to the finish.
        for (int row : {panel->waysList()->currentRow(), int(ways.size()) - 1}) {
            panel->waysList()->setCurrentRow(row);
            const PlannedWay& way = ways[std::size_t(row)];
            QCOMPARE(child->document().foundWay().stops, way.way.stops);
            QCOMPARE(panel->legsList()->count(), int(way.report.legs.size()));
            QVERIFY(
                panel->legsList()->item(0)->text().contains(QStringLiteral("Александровский сад")));
            QVERIFY(panel->legsList()
                        ->item(panel->legsList()->count() - 1)
                        ->text()
                        .contains(QStringLiteral("Новогиреево")));
        }
        QCOMPARE(f.dialogs, 0);
        // The finish deleted in the editor empties its field.
        child->SetEditorMode(true);
        child->editor().DeleteStop(panel->end(false));
        QCOMPARE(panel->end(false), NoStop);
        QVERIFY(panel->toEdit()->text().isEmpty());
    }

    void noWayMessages_data() {
        QTest::addColumn<QString>("links"); // "from>to:length" separated by spaces
        QTest::addColumn<int>("finish");
        QTest::addColumn<QString>("message");
        QTest::newRow("start without links") << "1>0:10" << 1 << "Пути нет";
        QTest::newRow("only against an arc") << "0>2:10 1>0:10" << 1 << "";
        QTest::newRow("negative loop, finish beyond reach")
            << "0>1:10 1>2:-5 2>1:-5 3>0:1" << 3 << "отрицательной";
        QTest::newRow("negative loop on the way") << "0>1:10 1>2:-5 2>1:-5" << 2 << "отрицательной";
    }

    void noWayMessages() {
        QFETCH(QString, links);
        QFETCH(int, finish);
        QFETCH(QString, message);
        MapWindow* child = f.newMap();
        QList<StopIndex> stops;
        for (int i = 0; i < 4; ++i)
            stops << f.addStop(40 + 120 * i, 80);
        GraphMap& map = child->Map();
        for (const QString& l : links.split(QLatin1Char(' '))) {
            const QStringList parts = l.split(QRegularExpression(QStringLiteral("[>:]")));
            map.AddLink(stops[parts[0].toInt()], stops[parts[1].toInt()],
                        {0, parts[2].toDouble(), 0});
        }
        map.UpdateArcFlags();
        child->document().markReloaded();
        f.frame->acFindWay->trigger();
        f.drag(f.centreOf(stops[0]), f.centreOf(stops[finish]));
        // Told in the journey panel, never in a message box.
        QCOMPARE(f.dialogs, 0);
        QVERIFY(f.messages.isEmpty());
        const QLabel* state = f.frame->journeyPanel->stateLabel();
        QTRY_VERIFY2(
            state->text().contains(message.isEmpty() ? QStringLiteral("Пути нет") : message),
            qPrintable(state->text()));
    }

    void editingSession() {
        MapWindow* child = f.newMap();
        f.frame->EnableMapCommands();
        f.frame->acAddStop->trigger();
        // Each click is where a stop's centre goes: the corners are at (50, 50) and so on.
        for (const QPoint p : {QPoint(56, 56), QPoint(256, 56), QPoint(256, 206), QPoint(56, 206)})
            f.click(p);
        QCOMPARE(child->Map().stopCount(), 4);
        const StopIndex s0 = 0, s1 = 1, s2 = 2, s3 = 3;

        // A road with the dialog, an arc with it, the opposite arc with the dialog cancelled.
        f.frame->acAddRoad->trigger();
        f.answerWeights(QStringLiteral("12"), QStringLiteral("1500"), QStringLiteral("180"));
        f.drag(f.centreOf(s0), f.centreOf(s1));
        f.frame->acAddArc->trigger();
        f.answerWeights(QStringLiteral("0"), QStringLiteral("700,5"), QStringLiteral("60"));
        f.drag(f.centreOf(s1), f.centreOf(s2));
        f.onDialog = nullptr;
        f.drag(f.centreOf(s2), f.centreOf(s1));
        // Without the dialog the length is the distance on the screen.
        child->Map().Settings.UserWeights = false;
        f.frame->acAddRoad->trigger();
        f.drag(f.centreOf(s2), f.centreOf(s3));
        f.frame->acAddArc->trigger();
        f.drag(f.centreOf(s3), f.centreOf(s0));
        child->Map().Settings.UserWeights = true;
        QCOMPARE(f.dialogs, 3);

        // New weights on the first road, from its other end.
        f.frame->acChangeRoad->trigger();
        f.answerWeights(QStringLiteral("14"), QStringLiteral("1600"), QStringLiteral("200"));
        f.drag(f.centreOf(s1), f.centreOf(s0));

        // The stop at the bottom left goes, with its road and its arc.
        f.frame->acPointer->trigger();
        f.press(f.centreOf(s3), Qt::RightButton);
        f.child->editor().stopMenuDelete->trigger();
        f.child->editor().stopMenu->hide();
        f.frame->acSelectAll->trigger();
        QCOMPARE(child->editor().SelectedCount(), 3);
        QVERIFY(child->document().isModified());

        const QString file = dir.filePath(QStringLiteral("новая карта.gaf"));
        f.desktop.saveAnswer = [file] { return file; };
        QVERIFY(f.frame->acSaveAsExecute());
        QVERIFY(!child->document().isModified());
        QVERIFY(f.messages.isEmpty());

        MapWindow* reopened = f.frame->OpenMap(file, file);
        QVERIFY(reopened);
        const QString fill = QString::number(DefaultStopFill, 16);
        QCOMPARE(describe(reopened->Map()),
                 QStringList({"max 3", "0 50,50 0 [" + noRoutesText() + "] size 10 colour " + fill,
                              "  -> 1 14 1600 200 road",
                              "1 250,50 1 [" + noRoutesText() + "] size 10 colour " + fill,
                              "  -> 0 14 1600 200 road", "  -> 2 0 700.5 60 arc",
                              "2 250,200 2 [" + noRoutesText() + "] size 10 colour " + fill,
                              "  -> 1 0 0 0 arc"})
                     .join(QLatin1Char('\n')));
        QCOMPARE(reopened->stopList->model()->rowCount(), 3);
    }
};

QTEST_MAIN(TestJourneys)
#include "tst_journeys.moc"
