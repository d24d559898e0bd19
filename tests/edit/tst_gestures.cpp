#include "editfixture.h"

#include "edit/stoppropertiesdialog.h"
#include "edit/stoproutespopup.h"
#include "model/graphmap.h"
#include "platform/colours.h"
#include "view/maprenderer.h"

#include <QAction>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QRandomGenerator>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableWidget>
#include <QUndoStack>

using namespace lirsk;
using edittest::centreOf;

namespace {

// Which stops (by Id) are marked, in list order.
QList<int> marked(MapWindow* child) {
    QList<int> ids;
    for (const StopIndex s : child->document().selection().stops())
        ids << child->Map().stop(s).Id;
    return ids;
}

// The names the stop list shows, top to bottom.
QStringList gridRows(const QAbstractItemView* list) {
    QStringList rows;
    const QAbstractItemModel* model = list->model();
    for (int r = 0; r < model->rowCount(); ++r)
        rows << model->index(r, 0).data().toString();
    return rows;
}

// The links of a map as "from>to length arc", in list order.
QStringList links(const GraphMap& map) {
    QStringList out;
    for (const Stop& s : map.stops())
        for (const Link& l : s.Links)
            out << QStringLiteral("%1>%2 %3%4")
                       .arg(s.Id)
                       .arg(map.stop(l.To).Id)
                       .arg(l.Length)
                       .arg(l.IsArc ? QStringLiteral(" arc") : QString());
    return out;
}

} // namespace

class TestGestures : public QObject {
    Q_OBJECT

    edittest::Fixture f;

    // Four stops in a row, 100 pixels apart, ids 0..3.
    QList<StopIndex> fourStops() {
        QList<StopIndex> stops;
        for (int i = 0; i < 4; ++i)
            stops << f.addStop(40 + 100 * i, 60);
        return stops;
    }

private slots:
    void init() {
        QLocale::setDefault(QLocale::c());
        f.start();
        f.newMap();
    }
    void cleanup() { f.stop(); }

    void modeSetters_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<MapMode>("mode");
        QTest::addColumn<bool>("clearsPicked");
        QTest::addColumn<QString>("status");
        QTest::newRow("pointer") << "acPointer" << lirsk::MapMode::Pointer << true
                                 << "Режим просмотра";
        QTest::newRow("add stop") << "acAddStop" << lirsk::MapMode::AddStop << false
                                  << "Добавление остановки (щёлкните левой кнопкой мыши на "
                                     "рабочее поле, чтобы добавить остановку)";
        QTest::newRow("add arc") << "acAddArc" << lirsk::MapMode::AddArc << true
                                 << "Добавление дуги (укажите левой кнопкой мыши вершину из "
                                    "которой исходит дуга, затем в какую вершину входит)";
        QTest::newRow("delete arc") << "acDeleteArc" << lirsk::MapMode::DeleteArc << true
                                    << "Удаление дуги (укажите левой кнопкой мыши вершину из "
                                       "которой исходит дуга, затем в какую вершину входит)";
        QTest::newRow("add road") << "acAddRoad" << lirsk::MapMode::AddRoad << true
                                  << "Добавление дороги (укажите левой кнопкой мыши остановку из "
                                     "которой исходит дорога, затем в какую входит)";
        QTest::newRow("delete road") << "acDeleteRoad" << lirsk::MapMode::DeleteRoad << true
                                     << "Удаление дороги (укажите левой кнопкой мыши остановку "
                                        "из которой исходит дорога, затем в какую входит)";
        QTest::newRow("road weights")
            << "acChangeRoad" << lirsk::MapMode::ChangeRoad << true
            << "Изменение параметров дороги (укажите левой кнопкой мыши остановку из которой "
               "исходит дорога, затем в какую входит)";
        QTest::newRow("find way") << "acFindWay" << lirsk::MapMode::FindWay << true
                                  << "Оптимальный путь (укажите левой кнопкой мыши остановку "
                                     "отправления, затем не отпуская кнопку к какой остановке "
                                     "следует найти путь)";
        QTest::newRow("info") << "acInfo" << lirsk::MapMode::Info << true
                              << "Просмотр информации об остановки";
    }

    void modeSetters() {
        QFETCH(QString, action);
        QFETCH(MapMode, mode);
        QFETCH(bool, clearsPicked);
        QFETCH(QString, status);
        StopIndex a = f.addStop(50, 50);
        f.child->editor().ToggleSelected(a);
        f.child->editor().PickedStop = a;
        auto* command = f.frame->findChild<QAction*>(action);
        QVERIFY(command);
        command->trigger();
        QCOMPARE(f.child->editor().mode(), mode);
        QCOMPARE(f.frame->StatusText(), status);
        QCOMPARE(f.child->editor().PickedStop == NoStop, clearsPicked);
        QVERIFY(command->isChecked());
        // The selection stays.
        QCOMPARE(f.child->editor().SelectedCount(), 1);
        QVERIFY(f.messages.isEmpty());
    }

    void toolBarShowsTheActiveWindowsMode() {
        MapWindow* first = f.child;
        f.frame->acAddArc->trigger();
        f.newMap();
        QVERIFY(f.child != first);
        f.frame->acInfo->trigger();
        f.frame->MdiArea->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(first->parentWidget()));
        QCOMPARE(f.frame->currentMapWindow(), first);
        QVERIFY(f.frame->acAddArc->isChecked());
        QCOMPARE(first->editor().mode(), lirsk::MapMode::AddArc);
    }

    void findWayRefusedOnEmptyMap() {
        f.frame->acAddArc->trigger();
        const QString status = f.frame->StatusText();
        f.frame->acFindWay->trigger();
        QCOMPARE(f.messages,
                 QStringList{QStringLiteral("Поиск не возможен, т.к. нет исходных данных.")});
        QCOMPARE(f.child->editor().mode(), lirsk::MapMode::AddArc);
        QCOMPARE(f.frame->StatusText(), status);
        QVERIFY(f.frame->acAddArc->isChecked());
    }

    void addStopsByClicking() {
        f.child->editor().SetAddStopMode();
        f.click({30, 40});
        f.click({130, 45});
        f.click({230, 50});
        const GraphMap& map = f.child->Map();
        QCOMPARE(map.stopCount(), 3);
        QCOMPARE(map.stop(StopIndex(1)).Id, 1);
        // The stop's centre is where the click was.
        QCOMPARE(map.stop(StopIndex(1)).centreX(), 130);
        QCOMPARE(map.stop(StopIndex(1)).centreY(), 45);
        QCOMPARE(map.stop(StopIndex(1)).Label.Left, 134);
        QCOMPARE(map.MaxStopId, 2);
        QCOMPARE(gridRows(f.child->stopList), (QStringList{"0", "1", "2"}));
        QVERIFY(f.child->document().isModified());
        // A click on a stop in this mode adds nothing.
        f.click(f.centreOf(0));
        QCOMPARE(map.stopCount(), 3);
    }

    void clickSelection_data() {
        QTest::addColumn<MapMode>("mode");
        QTest::addColumn<QList<int>>("before");
        QTest::addColumn<int>("clicked");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<QList<int>>("after");
        QTest::newRow("plain click on unmarked")
            << lirsk::MapMode::Pointer << QList<int>{0, 1, 3} << 2 << false << QList<int>{2};
        QTest::newRow("plain click on marked")
            << lirsk::MapMode::Pointer << QList<int>{0, 2} << 2 << false << QList<int>{};
        QTest::newRow("shift-click on marked")
            << lirsk::MapMode::Pointer << QList<int>{0, 2} << 2 << true << QList<int>{0};
        QTest::newRow("shift-click on unmarked")
            << lirsk::MapMode::Pointer << QList<int>{0} << 3 << true << QList<int>{0, 3};
        QTest::newRow("other mode keeps the clicked mark")
            << lirsk::MapMode::AddStop << QList<int>{0, 1} << 1 << false << QList<int>{1};
        QTest::newRow("other mode clicking unmarked")
            << lirsk::MapMode::Info << QList<int>{0, 1} << 2 << false << QList<int>{};
    }

    void clickSelection() {
        QFETCH(MapMode, mode);
        QFETCH(QList<int>, before);
        QFETCH(int, clicked);
        QFETCH(bool, shift);
        QFETCH(QList<int>, after);
        const QList<StopIndex> stops = fourStops();
        const Colour own = 0x00123456;
        for (StopIndex s : stops)
            f.mapStop(s).FillColor = own;
        for (int id : before)
            f.child->editor().ToggleSelected(stops[id]);
        f.child->editor().setMode(mode);
        f.click(f.centreOf(stops[clicked]), shift ? Qt::ShiftModifier : Qt::NoModifier);
        QCOMPARE(marked(f.child), after);
        QCOMPARE(f.child->editor().SelectedCount(), int(after.size()));
        // Marks are shown, not stored: every stop keeps its own colour.
        for (StopIndex s : stops)
            QCOMPARE(f.mapStop(s).FillColor, own);
    }

    void dragMovesMarkedStopsWithClamp() {
        f.child->editor().SetPointerMode();
        StopIndex a = f.addStop(200, 200);
        StopIndex b = f.addStop(30, 300);
        StopIndex c = f.addStop(400, 100);
        for (StopIndex s : {a, b})
            f.child->editor().ToggleSelected(s);
        // Pressed off its centre, the stop jumps to put its centre under the pointer.
        const QPoint grab(203, 204);
        f.press(grab);
        f.moveTo(grab + QPoint(-20, 10));
        QCOMPARE(QPoint(f.mapStop(a).Left, f.mapStop(a).Top), QPoint(178, 209));
        f.moveTo(grab + QPoint(-50, 20));
        f.release(grab + QPoint(-50, 20));
        QCOMPARE(QPoint(f.mapStop(a).Left, f.mapStop(a).Top), QPoint(148, 219));
        QCOMPARE(QPoint(f.mapStop(a).Label.Left, f.mapStop(a).Label.Top), QPoint(158, 219));
        // Pushed past the left edge, the other marked stop stops at 0, its name at 0 too.
        QCOMPARE(QPoint(f.mapStop(b).Left, f.mapStop(b).Top), QPoint(0, 319));
        QCOMPARE(f.mapStop(b).Label.Left, 0);
        QCOMPARE(QPoint(f.mapStop(c).Left, f.mapStop(c).Top), QPoint(400, 100));
        QCOMPARE(f.child->editor().SelectedCount(), 2);
        QVERIFY(f.child->document().isModified());
    }

    void dragKeepsPressedStopInsideTheMap() {
        f.child->editor().SetPointerMode();
        StopIndex a = f.addStop(20, 20);
        f.press(f.centreOf(a));
        f.moveTo(f.centreOf(a) + QPoint(-40, 30));
        f.release(f.centreOf(a) + QPoint(-40, 30));
        QCOMPARE(QPoint(f.mapStop(a).Left, f.mapStop(a).Top), QPoint(20, 50));
    }

    void dragUnmarkedStopClearsTheMarks() {
        f.child->editor().SetPointerMode();
        const QList<StopIndex> stops = fourStops();
        f.child->editor().ToggleSelected(stops[0]);
        f.child->editor().ToggleSelected(stops[1]);
        const QPoint grab = f.centreOf(stops[2]) + QPoint(0, 2);
        f.press(grab);
        f.moveTo(grab + QPoint(0, 40));
        f.release(grab + QPoint(0, 40));
        QCOMPARE(f.child->editor().SelectedCount(), 0);
        QCOMPARE(f.mapStop(stops[2]).Top, 102);
        QCOMPARE(f.mapStop(stops[0]).Top, 60);
        QCOMPARE(f.mapStop(stops[0]).FillColor, DefaultStopFill);
    }

    void twoStopGestures_data() {
        QTest::addColumn<MapMode>("mode");
        QTest::addColumn<QStringList>("roads"); // "a-b" road, "a>b" arc before the gesture
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<bool>("snaps");
        QTest::addColumn<QStringList>("after");
        QTest::newRow("add arc") << lirsk::MapMode::AddArc << QStringList{} << 0 << 1 << true
                                 << QStringList{"0>1 100 arc"};
        QTest::newRow("add arc beside the opposite one makes a road")
            << lirsk::MapMode::AddArc << QStringList{"1>0"} << 0 << 1 << true
            << QStringList{"0>1 100", "1>0 100"};
        QTest::newRow("add arc twice refused") << lirsk::MapMode::AddArc << QStringList{"0>1"} << 0
                                               << 1 << false << QStringList{"0>1 100 arc"};
        QTest::newRow("add arc onto itself")
            << lirsk::MapMode::AddArc << QStringList{} << 0 << 0 << false << QStringList{};
        QTest::newRow("delete arc, half of a road")
            << lirsk::MapMode::DeleteArc << QStringList{"0-1"} << 0 << 1 << true
            << QStringList{"1>0 100 arc"};
        QTest::newRow("delete arc that is not there")
            << lirsk::MapMode::DeleteArc << QStringList{"1>0"} << 0 << 1 << false
            << QStringList{"1>0 100 arc"};
        QTest::newRow("add road") << lirsk::MapMode::AddRoad << QStringList{} << 1 << 2 << true
                                  << QStringList{"1>2 100", "2>1 100"};
        QTest::newRow("add road over an incoming arc")
            << lirsk::MapMode::AddRoad << QStringList{"2>1"} << 1 << 2 << false
            << QStringList{"2>1 100 arc"};
        QTest::newRow("delete road") << lirsk::MapMode::DeleteRoad << QStringList{"0-1", "1-2"} << 1
                                     << 0 << true << QStringList{"1>2 100", "2>1 100"};
        QTest::newRow("delete road that is an arc")
            << lirsk::MapMode::DeleteRoad << QStringList{"0>1"} << 0 << 1 << false
            << QStringList{"0>1 100 arc"};
        QTest::newRow("delete road onto empty map")
            << lirsk::MapMode::DeleteRoad << QStringList{"0-1"} << 0 << -1 << false
            << QStringList{"0>1 100", "1>0 100"};
    }

    void twoStopGestures() {
        QFETCH(MapMode, mode);
        QFETCH(QStringList, roads);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(bool, snaps);
        QFETCH(QStringList, after);
        const QList<StopIndex> stops = fourStops();
        GraphMap& map = f.child->Map();
        map.Settings.UserWeights = false;
        for (const QString& r : roads) {
            StopIndex a = stops[r[0].digitValue()], b = stops[r[2].digitValue()];
            f.link(a, b);
            if (r[1] == QLatin1Char('-'))
                f.link(b, a);
        }
        f.child->editor().setMode(mode);
        const QPoint start = f.centreOf(stops[from]);
        const QPoint end = to >= 0 ? f.centreOf(stops[to]) + QPoint(2, 1) : QPoint(300, 300);
        f.press(start);
        QCOMPARE(f.child->editor().PickedStop, stops[from]);
        f.moveTo(end);
        // The band ends at the target's centre in red when it snaps, at the pointer in black
        // otherwise.
        StopIndex first = stops[from];
        const MapEditor::StopPress& press = f.child->editor().press;
        QCOMPARE(press.stop, first);
        const QPoint bandEnd = QPoint(f.mapStop(first).Left, f.mapStop(first).Top) + press.down;
        if (snaps) {
            QCOMPARE(bandEnd,
                     QPoint(f.mapStop(stops[to]).centreX(), f.mapStop(stops[to]).centreY()));
            QCOMPARE(press.bandSetback, f.mapStop(stops[to]).Radius);
        } else {
            QCOMPARE(bandEnd, end);
            QCOMPARE(press.bandSetback, 0);
        }
        QVERIFY(f.child->view()->rubberBand());
        QCOMPARE(f.child->view()->rubberBand()->colour == QColor(Qt::red), snaps);
        if (from != to && (to < 0 || !f.child->Map().FindLink(stops[to], first))) {
            // A pixel on the band, between the two stops' controls (away from other lines).
            const QImage image = f.child->view()->renderMap(QRect(0, 0, 800, 600));
            const QPoint mid(
                f.mapStop(first).centreX() + (bandEnd.x() - f.mapStop(first).centreX()) / 2,
                f.mapStop(first).centreY() + (bandEnd.y() - f.mapStop(first).centreY()) / 2);
            const QColor colour = image.pixelColor(mid);
            QCOMPARE(colour == QColor(Qt::red), snaps);
        }
        f.release(end);
        QCOMPARE(links(map), after);
        QCOMPARE(f.child->editor().PickedStop, NoStop);
        QCOMPARE(f.child->editor().press.stop, NoStop);
        QCOMPARE(f.dialogs, 0);
        // The band is gone with the release.
        QVERIFY(!f.child->view()->rubberBand());
    }

    void roadWithTheDialog_data() {
        QTest::addColumn<bool>("answered");
        QTest::addColumn<QStringList>("after");
        QTest::newRow("answered once for both halves") << true << QStringList{"0>1 250", "1>0 250"};
        QTest::newRow("cancelled adds zeros") << false << QStringList{"0>1 0", "1>0 0"};
    }

    void roadWithTheDialog() {
        QFETCH(bool, answered);
        QFETCH(QStringList, after);
        const QList<StopIndex> stops = fourStops();
        if (answered)
            f.answerWeights(QStringLiteral("3"), QStringLiteral("250"), QStringLiteral("40"));
        f.child->editor().SetAddRoadMode();
        f.drag(f.centreOf(stops[0]), f.centreOf(stops[1]));
        QCOMPARE(f.dialogs, 1);
        QCOMPARE(links(f.child->Map()), after);
        const Link* back = f.child->Map().FindLink(stops[1], stops[0]);
        QCOMPARE(back->Time, answered ? 40.0 : 0.0);
        QCOMPARE(back->Price, answered ? 3.0 : 0.0);
        QVERIFY(f.child->Map().Settings.UserWeights);
    }

    void changeRoadWeights() {
        const QList<StopIndex> stops = fourStops();
        GraphMap& map = f.child->Map();
        map.Settings.UserWeights = false;
        f.link(stops[0], stops[1]);
        f.link(stops[1], stops[0]);
        f.answerWeights(QStringLiteral("5"), QStringLiteral("725"), QStringLiteral("60"));
        f.child->editor().SetChangeRoadMode();
        f.drag(f.centreOf(stops[1]), f.centreOf(stops[0]));
        QCOMPARE(links(map), (QStringList{"0>1 725", "1>0 725"}));
        QCOMPARE(f.child->Map().FindLink(stops[0], stops[1])->Time, 60.0);
        // A wrong length leaves both halves as they were.
        f.messages.clear();
        f.answerWeights(QStringLiteral("5"), QStringLiteral("далеко"), QStringLiteral("60"));
        f.drag(f.centreOf(stops[0]), f.centreOf(stops[1]));
        QCOMPARE(f.messages, QStringList{QStringLiteral("Вес введён неверно!")});
        QCOMPARE(links(map), (QStringList{"0>1 725", "1>0 725"}));
    }

    void arcsAndRoadsWithoutTheDialog() {
        const QList<StopIndex> stops = fourStops();
        GraphMap& map = f.child->Map();
        map.Settings.UserWeights = false;
        f.child->editor().SetAddArcMode();
        f.drag(f.centreOf(stops[2]), f.centreOf(stops[0]));
        f.child->editor().SetAddRoadMode();
        f.drag(f.centreOf(stops[0]), f.centreOf(stops[1]));
        QCOMPARE(links(map), (QStringList{"0>1 100", "1>0 100", "2>0 200 arc"}));
        QVERIFY(!map.Settings.UserWeights);
        QCOMPARE(f.dialogs, 0);
    }

    void popupDeletesTheMarkedStops_data() {
        QTest::addColumn<QList<int>>("marks");
        QTest::addColumn<int>("pressed");
        QTest::addColumn<QStringList>("rowsLeft");
        QTest::newRow("menu on a marked stop deletes the marked ones")
            << QList<int>{0, 2, 3} << 2 << QStringList{"1"};
        QTest::newRow("menu on an unmarked stop deletes only it")
            << QList<int>{0, 2} << 1 << QStringList{"0", "2", "3"};
        QTest::newRow("nothing marked") << QList<int>{} << 3 << QStringList{"0", "1", "2"};
    }

    void popupDeletesTheMarkedStops() {
        QFETCH(QList<int>, marks);
        QFETCH(int, pressed);
        QFETCH(QStringList, rowsLeft);
        const QList<StopIndex> stops = fourStops();
        GraphMap& map = f.child->Map();
        map.Settings.UserWeights = false;
        for (int i = 0; i < 3; ++i) {
            f.link(stops[i], stops[i + 1]);
            f.link(stops[i + 1], stops[i]);
        }
        for (int id : marks)
            f.child->editor().ToggleSelected(stops[id]);
        f.child->editor().SetPointerMode();
        f.press(f.centreOf(stops[pressed]), Qt::RightButton);
        QCOMPARE(f.child->editor().MenuStop, stops[pressed]);
        QVERIFY(f.child->editor().stopMenu->isVisible());
        QList<QAction*> entries;
        for (QAction* entry : f.child->editor().stopMenu->actions())
            if (entry->isVisible())
                entries << entry;
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries[0]->text(), QStringLiteral("Удалить"));
        QCOMPARE(entries[1]->text(), QStringLiteral("Свойства"));
        QTest::mouseClick(f.child->editor().stopMenu, Qt::LeftButton, {},
                          f.child->editor().stopMenu->actionGeometry(entries[0]).center());
        QTRY_VERIFY(!f.child->editor().stopMenu->isVisible());
        QCOMPARE(gridRows(f.child->stopList), rowsLeft);
        QCOMPARE(f.child->editor().SelectedCount(), 0);
        QVERIFY(marked(f.child).isEmpty());
        QCOMPARE(f.child->editor().MenuStop, NoStop);
        // No link names a deleted stop, and the links left keep their flags.
        for (const Stop& s : map.stops())
            for (const Link& l : s.Links)
                QVERIFY(map.isStop(l.To));
        // The map still takes gestures on the stops that are left.
        f.click(f.centreOf(0));
        QCOMPARE(f.child->editor().SelectedCount(), 1);
    }

    void deleteCommandNeedsMarks() {
        const QList<StopIndex> stops = fourStops();
        f.frame->EnableMapCommands();
        f.child->editor().MenuStop = stops[0];
        f.frame->acDelete->trigger();
        QCOMPARE(f.child->Map().stopCount(), 4);
        f.frame->acSelectAll->trigger();
        QCOMPARE(f.child->editor().SelectedCount(), 4);
        f.child->editor().ToggleSelected(stops[1]);
        f.frame->acSelectAll->trigger();
        QCOMPARE(f.child->editor().SelectedCount(), 4);
        f.frame->acDelete->trigger();
        QCOMPARE(f.child->Map().stopCount(), 0);
        QCOMPARE(f.child->editor().SelectedCount(), 0);
        QCOMPARE(f.child->editor().MenuStop, NoStop);
        QCOMPARE(f.child->stopList->model()->rowCount(), 0);
    }

    // Outside editor mode the map is only viewed: every way of changing it does nothing, and
    // the entries that would are hidden.
    void viewerNeverEdits_data() {
        QTest::addColumn<QString>("gesture");
        for (const char* gesture :
             {"Del", "Правка → Удалить", "stop menu: Удалить", "stop menu: Свойства", "name drag",
              "stop drag", "undo", "redo"})
            QTest::newRow(gesture) << QString::fromUtf8(gesture);
    }

    void viewerNeverEdits() {
        QFETCH(QString, gesture);
        const QList<StopIndex> stops = fourStops();
        f.link(stops[0], stops[1]);
        f.mapStop(stops[1]).Label.Caption = QStringLiteral("Рынок");
        f.child->document().markReloaded();
        // One edit to undo and one to redo.
        f.child->editor().AddStopAt(300, 300);
        f.child->editor().AddStopAt(350, 300);
        f.child->editor().Undo();
        f.frame->EnableMapCommands();
        f.child->SetEditorMode(false);
        for (QAction* hidden : {f.frame->acDelete, f.frame->acUndo, f.frame->acRedo})
            QVERIFY2(!hidden->isVisible(), qPrintable(hidden->objectName()));
        QVERIFY(f.frame->acSettings->isVisible());
        const GraphMap before = f.child->Map();
        const int undoIndex = f.child->editor().undoStack()->index();
        f.frame->acSelectAll->trigger();

        const Stop& first = f.mapStop(stops[1]);
        const QPoint name(first.Label.Left + 3, first.Label.Top + 3);
        if (gesture == QLatin1String("Del")) {
            f.frame->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(f.frame.get()));
            QTest::keyClick(f.child->view()->viewport(), Qt::Key_Delete);
        } else if (gesture == QLatin1String("Правка → Удалить")) {
            f.frame->acDelete->trigger();
        } else if (gesture.startsWith(QLatin1String("stop menu"))) {
            f.press(f.centreOf(stops[1]), Qt::RightButton);
            QMenu* menu = f.child->editor().stopMenu;
            QVERIFY(!f.child->editor().stopMenuDelete->isVisible());
            QVERIFY(!f.child->editor().stopMenuProperties->isVisible());
            (gesture.endsWith(QLatin1String("Удалить")) ? f.child->editor().stopMenuDelete
                                                        : f.child->editor().stopMenuProperties)
                ->trigger();
            menu->hide();
        } else if (gesture == QLatin1String("name drag")) {
            f.child->editor().setMode(MapMode::Info);
            f.drag(name, name + QPoint(60, 40));
        } else if (gesture == QLatin1String("stop drag")) {
            f.child->editor().setMode(MapMode::Pointer);
            f.drag(f.centreOf(stops[2]), f.centreOf(stops[2]) + QPoint(30, 90));
        } else {
            QTest::keySequence(f.child->view()->viewport(), gesture == QLatin1String("undo")
                                                                ? QKeySequence::Undo
                                                                : QKeySequence::Redo);
            (gesture == QLatin1String("undo") ? f.frame->acUndo : f.frame->acRedo)->trigger();
        }
        QCOMPARE(f.child->Map().stopCount(), before.stopCount());
        for (StopIndex s = 0; s < before.stopCount(); ++s) {
            const Stop &now = f.mapStop(s), &was = before.stop(s);
            QCOMPARE(QPoint(now.Left, now.Top), QPoint(was.Left, was.Top));
            QCOMPARE(QPoint(now.Label.Left, now.Label.Top), QPoint(was.Label.Left, was.Label.Top));
            QCOMPARE(now.Links, was.Links);
        }
        QCOMPARE(f.child->editor().undoStack()->index(), undoIndex);
        QCOMPARE(f.dialogs, 0);
    }

    void deletedStopIsNamedNoMore() {
        const QList<StopIndex> stops = fourStops();
        f.child->editor().SetAddArcMode();
        f.press(f.centreOf(stops[1]));
        f.child->editor().LabelDragStop = stops[1];
        f.child->editor().MenuStop = stops[1];
        f.child->editor().DeleteStop(stops[1]);
        QCOMPARE(f.child->editor().PickedStop, NoStop);
        QCOMPARE(f.child->editor().MenuStop, NoStop);
        QCOMPARE(f.child->editor().LabelDragStop, NoStop);
        // The properties command then has no stop to work on, and the release goes nowhere.
        f.child->editor().EditStopProperties();
        QCOMPARE(f.dialogs, 0);
        f.release(f.centreOf(stops[2]));
        QCOMPARE(f.child->Map().linkCount(), 0);
    }

    void rectangleSelection() {
        f.child->editor().SetPointerMode();
        const QList<StopIndex> stops = fourStops();
        f.child->editor().ToggleSelected(stops[3]);
        // From the right of stop 0's left edge to just past stop 2's left edge.
        f.press({45, 20});
        f.moveTo({150, 80});
        QVERIFY(f.child->view()->selectionRect());
        QCOMPARE(f.child->view()->renderMap(QRect(0, 0, 800, 600)).pixelColor(100, 20),
                 QColor(Qt::black));
        f.moveTo({241, 90});
        QCOMPARE(f.child->view()->renderMap(QRect(0, 0, 800, 600)).pixelColor(100, 80),
                 QColor(Qt::white));
        f.release({241, 90});
        QVERIFY(!f.child->view()->selectionRect());
        QCOMPARE(marked(f.child), (QList<int>{0, 1, 2}));
        QCOMPARE(f.child->editor().SelectedCount(), 3);
        // A plain click on the empty map clears the marks.
        f.click({600, 400});
        QCOMPARE(f.child->editor().SelectedCount(), 0);
    }

    void rectangleWithCtrlAddsToTheMarks() {
        f.child->editor().SetPointerMode();
        const QList<StopIndex> stops = fourStops();
        f.child->editor().ToggleSelected(stops[3]);
        f.press({45, 20}, Qt::LeftButton, Qt::ControlModifier);
        f.moveTo({241, 90});
        f.release({241, 90}, Qt::LeftButton, Qt::ControlModifier);
        QCOMPARE(marked(f.child), (QList<int>{0, 1, 2, 3}));
    }

    void stopIsInFrontOfNames() {
        const QList<StopIndex> stops = fourStops();
        // Far out the second stop's name spreads over the first stop's dot and its own.
        Stop& named = f.mapStop(stops[1]);
        named.Label.Left = f.mapStop(stops[0]).Left - 4;
        named.Label.Caption = QStringLiteral("Спортивная Спортивная");
        f.child->document().announce(EveryChange);
        f.child->view()->setZoom(0.5);
        for (const StopIndex stop : {stops[0], stops[1]}) {
            const MapHit hit = f.child->view()->hitAt(f.centreOf(stop), true);
            QCOMPARE(hit.kind, MapHit::Stop);
            QCOMPARE(hit.stop, stop);
        }
        f.child->editor().SetPointerMode();
        f.drag(f.centreOf(stops[0]), f.centreOf(stops[0]) + QPoint(0, 80));
        QCOMPARE(f.child->editor().undoStack()->undoText(),
                 QStringLiteral("перемещение остановок"));
    }

    void propertiesOnTheMarkedStops_data() {
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("onMarked");
        QTest::addColumn<QList<int>>("sizes");
        QTest::addColumn<QList<int>>("radii");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("size of three")
            << "20"
            << "" << true << QList<int>{20, 20, 10, 20} << QList<int>{10, 10, 6, 10}
            << QStringList{"0", "1", "2", "3"};
        QTest::newRow("name of three")
            << ""
            << "вокзал" << true << QList<int>{10, 10, 10, 10} << QList<int>{6, 6, 6, 6}
            << QStringList{"вокзал", "вокзал", "2", "вокзал"};
        QTest::newRow("unmarked stop alone")
            << "15"
            << "" << false << QList<int>{10, 10, 15, 10} << QList<int>{6, 6, 7, 6}
            << QStringList{"0", "1", "2", "3"};
    }

    void propertiesOnTheMarkedStops() {
        QFETCH(QString, size);
        QFETCH(QString, name);
        QFETCH(bool, onMarked);
        QFETCH(QList<int>, sizes);
        QFETCH(QList<int>, radii);
        QFETCH(QStringList, names);
        const QList<StopIndex> stops = fourStops();
        f.mapStop(stops[1]).Routes = QStringLiteral("A1");
        for (int id : {0, 1, 3})
            f.child->editor().ToggleSelected(stops[id]);
        f.child->editor().SetPointerMode();
        f.onDialog = [&](QDialog& dialog) {
            auto* form = qobject_cast<StopPropertiesDialog*>(&dialog);
            QVERIFY(form);
            if (!size.isEmpty()) {
                QLineEdit* text = form->sizeSpin->findChild<QLineEdit*>();
                text->selectAll();
                QTest::keyClicks(text, size);
            }
            if (!name.isEmpty()) {
                form->nameEdit->selectAll();
                edittest::typeText(form->nameEdit, name);
            }
            QTest::mouseClick(form->okButton, Qt::LeftButton);
        };
        f.press(f.centreOf(stops[onMarked ? 3 : 2]), Qt::RightButton);
        f.child->editor().stopMenuProperties->trigger();
        f.child->editor().stopMenu->hide();
        QCOMPARE(f.dialogs, 1);
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(f.mapStop(stops[i]).Width, sizes[i]);
            QCOMPARE(f.mapStop(stops[i]).Height, sizes[i]);
            QCOMPARE(f.mapStop(stops[i]).Radius, radii[i]);
            QCOMPARE(f.mapStop(stops[i]).Label.Caption, names[i]);
        }
        QCOMPARE(f.mapStop(stops[1]).Routes, QStringLiteral("A1"));
        QCOMPARE(f.mapStop(stops[0]).Routes, noRoutesText());
        QCOMPARE(f.child->editor().MenuStop, NoStop);
        QCOMPARE(f.child->editor().SelectedCount(), onMarked ? 3 : 0);
        // The own colour comes back when the marks are cleared.
        f.child->editor().ClearSelection(-1, true);
        for (StopIndex s : stops)
            QCOMPARE(f.mapStop(s).FillColor, DefaultStopFill);
    }

    void sizeOfMarkedStopsKeepsTheirCapitalisedNames() {
        // The name box lower-cases typed letters only: confirming a size change must not give
        // the marked stops the pressed stop's name, nor lower-case it.
        const QList<StopIndex> stops = fourStops();
        const QStringList names{"Вокзал", "Депо", "Рынок", "Невский проспект"};
        for (int i = 0; i < 4; ++i)
            f.mapStop(stops[i]).Label.Caption = names[i];
        for (int id : {0, 1, 3})
            f.child->editor().ToggleSelected(stops[id]);
        f.child->editor().SetPointerMode();
        f.onDialog = [](QDialog& dialog) {
            auto* form = qobject_cast<StopPropertiesDialog*>(&dialog);
            QLineEdit* text = form->sizeSpin->findChild<QLineEdit*>();
            text->selectAll();
            QTest::keyClicks(text, QStringLiteral("16"));
            QTest::mouseClick(form->okButton, Qt::LeftButton);
        };
        f.press(f.centreOf(stops[3]), Qt::RightButton);
        f.child->editor().stopMenuProperties->trigger();
        f.child->editor().stopMenu->hide();
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(f.mapStop(stops[i]).Label.Caption, names[i]);
            QCOMPARE(f.mapStop(stops[i]).Width, i == 2 ? 10 : 16);
        }
    }

    void propertiesKeepTheOwnColourOfMarkedStops() {
        const QList<StopIndex> stops = fourStops();
        for (int id : {0, 1})
            f.child->editor().ToggleSelected(stops[id]);
        f.child->document().setModified(false);
        StopPropertiesDialog* form = f.frame->programDialogs().stopProperties();
        form->AskColour = [](const QColor&) -> std::optional<QColor> {
            return QColor(0x10, 0x20, 0x30);
        };
        QColor shown;
        f.onDialog = [&](QDialog&) {
            shown = form->colourPanel->palette().color(QPalette::Window);
            QTest::mouseClick(form->colourPanel, Qt::LeftButton);
            QTest::mouseClick(form->okButton, Qt::LeftButton);
        };
        f.press(f.centreOf(stops[1]), Qt::RightButton);
        f.child->editor().stopMenuProperties->trigger();
        f.child->editor().stopMenu->hide();
        // The dialog shows and sets the stops' own colour; the marks still show green.
        QCOMPARE(shown, toQColor(DefaultStopFill));
        const QImage drawn = f.child->view()->renderMap(QRect(0, 0, 500, 200));
        QCOMPARE(drawn.pixelColor(f.centreOf(stops[0])), toQColor(SelectionColor));
        QVERIFY(f.child->document().isModified());
        f.child->editor().ClearSelection(-1, true);
        QCOMPARE(f.mapStop(stops[0]).FillColor, Colour(0x00302010));
        QCOMPARE(f.mapStop(stops[1]).FillColor, Colour(0x00302010));
        QCOMPARE(f.mapStop(stops[2]).FillColor, DefaultStopFill);
    }

    void propertiesConfirmedUnchanged() {
        const QList<StopIndex> stops = fourStops();
        f.child->document().setModified(false);
        f.onDialog = [](QDialog& dialog) {
            QTest::mouseClick(qobject_cast<StopPropertiesDialog*>(&dialog)->okButton,
                              Qt::LeftButton);
        };
        QStringList texts;
        QObject listening;
        connect(f.frame->StatusBar, &QStatusBar::messageChanged, &listening,
                [&texts](const QString& text) { texts << text; });
        f.press(f.centreOf(stops[2]), Qt::RightButton);
        f.child->editor().stopMenuProperties->trigger();
        f.child->editor().stopMenu->hide();
        QCOMPARE(f.dialogs, 1);
        QVERIFY(!f.child->document().isModified());
        QVERIFY(texts.contains(QStringLiteral("Перерисовка карты, ждите...")));
        QCOMPARE(f.mapStop(stops[2]).Label.Caption, QStringLiteral("2"));
    }

    // Many gestures in every mode, in a fixed pseudo-random order: nothing may crash, the marked
    // stops and their count must agree, and every link must join two stops of the map.
    void randomGesturesKeepTheMapSound() {
        QRandomGenerator random(20061);
        GraphMap& map = f.child->Map();
        map.Settings.UserWeights = false;
        for (int i = 0; i < 6; ++i)
            f.addStop(40 + 90 * i, 60 + 50 * (i % 3));
        const QList<QAction*> modes = {
            f.frame->acPointer,    f.frame->acAddStop, f.frame->acAddArc,
            f.frame->acDeleteArc,  f.frame->acAddRoad, f.frame->acDeleteRoad,
            f.frame->acChangeRoad, f.frame->acFindWay, f.frame->acInfo};
        f.frame->EnableMapCommands();
        auto somewhere = [&]() -> QPoint {
            if (map.stopCount() > 0 && random.bounded(3) > 0) {
                StopIndex s = StopIndex(random.bounded(map.stopCount()));
                return f.centreOf(s) + QPoint(random.bounded(5) - 2, random.bounded(5) - 2);
            }
            return {random.bounded(600), random.bounded(300)};
        };
        for (int step = 0; step < 600; ++step) {
            switch (random.bounded(8)) {
            case 0:
                modes[random.bounded(modes.size())]->trigger();
                break;
            case 1:
            case 2:
                f.drag(somewhere(), somewhere());
                break;
            case 3:
                f.click(somewhere(), random.bounded(2) ? Qt::ShiftModifier : Qt::NoModifier);
                break;
            case 4: {
                const QPoint p = somewhere();
                f.press(p, Qt::RightButton);
                if (f.child->editor().stopMenu->isVisible()) {
                    if (random.bounded(4) == 0)
                        f.child->editor().stopMenuDelete->trigger();
                    else if (random.bounded(3) == 0)
                        f.child->editor().stopMenuProperties->trigger();
                    f.child->editor().stopMenu->hide();
                }
                f.release(p, Qt::RightButton);
                break;
            }
            case 5:
                f.frame->acSelectAll->trigger();
                break;
            case 6:
                if (random.bounded(3) == 0)
                    f.frame->acDelete->trigger();
                break;
            default:
                f.hover(somewhere());
                break;
            }
            const StopSelection& marks = f.child->document().selection();
            for (const StopIndex s : marks.stops())
                QVERIFY(map.isStop(s));
            for (StopIndex s = 0; s < map.stopCount(); ++s) {
                for (const Link& l : map.stop(s).Links) {
                    QVERIFY(map.isStop(l.To));
                    QVERIFY(l.To != s);
                }
            }
            QCOMPARE(f.child->editor().SelectedCount(), marks.count());
            QCOMPARE(f.child->stopList->model()->rowCount(), map.stopCount());
            if (map.stopCount() < 3)
                for (int i = 0; i < 3; ++i)
                    f.addStop(random.bounded(500), random.bounded(300));
        }
    }

    void infoWindowFollowsThePointer() {
        StopIndex a = f.addStop(100, 100);
        f.mapStop(a).Label.Caption = QStringLiteral("Рынок");
        f.mapStop(a).Routes = QStringLiteral("A1  A5");
        f.frame->acInfo->trigger();
        f.hover(f.centreOf(a));
        StopRoutesPopup* marsh = f.frame->programDialogs().stopRoutes();
        QVERIFY(marsh->isVisible());
        QCOMPARE(marsh->stopNameLabel->text(), QStringLiteral("Рынок"));
        QCOMPARE(marsh->routesLabel->text(), QStringLiteral("A1  A5 "));
        QCOMPARE(marsh->windowTitle(), QStringLiteral("Маршруты"));
        marsh->hide();
        // Pressed, the stop shows nothing.
        f.press(f.centreOf(a));
        f.moveTo(f.centreOf(a) + QPoint(1, 0));
        QVERIFY(!marsh->isVisible());
        f.release(f.centreOf(a) + QPoint(1, 0));
    }

    void infoWindowPlacement_data() {
        QTest::addColumn<QPoint>("cursor");
        QTest::addColumn<QPoint>("expected");
        StopRoutesPopup popup;
        const QSize size = popup.frameGeometry().size();
        QTest::newRow("room on both sides") << QPoint(100, 100) << QPoint(110, 110);
        QTest::newRow("near the right edge")
            << QPoint(1000, 100) << QPoint(1000 - size.width() - 10, 110);
        QTest::newRow("near the bottom edge")
            << QPoint(100, 700) << QPoint(110, 700 - size.height() - 10);
        QTest::newRow("just fits")
            << QPoint(1024 - 10 - size.width(), 100) << QPoint(1024 - size.width(), 110);
    }

    void infoWindowPlacement() {
        QFETCH(QPoint, cursor);
        QFETCH(QPoint, expected);
        StopRoutesPopup* marsh = f.frame->programDialogs().stopRoutes();
        marsh->PlaceBy(cursor, QSize(1024, 768));
        QCOMPARE(marsh->pos(), expected);
    }

    void selectionCountStaysRightUnderMixedGestures() {
        f.child->editor().SetPointerMode();
        QList<StopIndex> stops = fourStops();
        f.click(f.centreOf(stops[0]));
        f.click(f.centreOf(stops[1]), Qt::ShiftModifier);
        f.click(f.centreOf(stops[2]), Qt::ShiftModifier);
        f.press(f.centreOf(stops[1]), Qt::RightButton);
        f.child->editor().stopMenuDelete->trigger();
        f.child->editor().stopMenu->hide();
        f.frame->EnableMapCommands();
        f.addStop(500, 300);
        f.frame->acSelectAll->trigger();
        f.click(f.centreOf(0), Qt::ShiftModifier);
        f.press({700, 500});
        f.moveTo({200, 50});
        f.release({200, 50});
        QCOMPARE(f.child->editor().SelectedCount(), 2);
        QCOMPARE(marked(f.child).size(), 2);
    }
};

QTEST_MAIN(TestGestures)
#include "tst_gestures.moc"
