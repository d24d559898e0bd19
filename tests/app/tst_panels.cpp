#include "app/mainwindow.h"
#include "app/mapwindow.h"
#include "app/stoppanel.h"
#include "edit/stoproutespopup.h"
#include "model/catalogue.h"
#include "platform/messages.h"

#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QLayout>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace lirsk;

namespace {

const QString kFound = QStringLiteral("Поиск завершен!\r\nСовпадение найдено");
const QString kNotFound = QStringLiteral("Поиск завершен!\r\nСовпадение не найдено");

struct StopEntry {
    const char* name;
    const char* routes; // null: the text of a stop without routes
};

// Five stops of a small map, rows 1 to 5 of the stop list.
const StopEntry kStops[] = {
    {"Невский проспект", "A1 A12 T3"}, {"Площадь Восстания", "A12 A3 T2"},
    {"Маяковская", "A123 A31 T21"},    {"Владимирская", "T2 T21 A2"},
    {"Достоевская", nullptr},
};

} // namespace

// The left panel of a map window driven as a user drives it: the search box and its button,
// the stop list, the route table, the two panel commands; and the name drag, the background
// picture and the information window.
class TestPanels : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindow> frame;
    MapWindow* child = nullptr;
    QStringList messages;

    void flush() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    QList<StopIndex> fillMap(MapWindow* window) {
        QList<StopIndex> stops;
        int x = 40;
        for (const StopEntry& entry : kStops) {
            Stop& stop = window->Map().stop(window->Map().AddStop(x, 60, true));
            stop.Label.Caption = QString::fromUtf8(entry.name);
            if (entry.routes)
                stop.Routes = QString::fromUtf8(entry.routes);
            stops << window->Map().stopCount() - 1;
            x += 90;
        }
        window->document().markReloaded();
        window->RedrawMap(false);
        return stops;
    }

    // A stop of the window's map.
    Stop& stopOf(StopIndex index) const { return child->Map().stop(index); }
    // Adds a stop named so, as a map file would hold it.
    StopIndex addStop(int x, int y, const QString& name) {
        const StopIndex stop = child->Map().AddStop(x, y, true);
        stopOf(stop).Label.Caption = name;
        child->document().markReloaded();
        return stop;
    }

    QStringList marked() const {
        QStringList names;
        for (const StopIndex stop : child->document().selection().stops())
            names << stopOf(stop).Label.Caption;
        return names;
    }

    static void clickCell(QAbstractItemView* grid, int row, int column) {
        const QRect cell = grid->visualRect(grid->model()->index(row, column));
        QVERIFY(!cell.isEmpty());
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    }

    // The names the stop list shows, top to bottom.
    QStringList listed() const {
        QStringList names;
        const QAbstractItemModel* model = child->stopList->model();
        for (int r = 0; r < model->rowCount(); ++r)
            names << model->index(r, 0).data().toString();
        return names;
    }

    QString currentName() const { return child->stopList->currentIndex().data().toString(); }

    // Types text as the keyboard does, letter by letter (any alphabet).
    static void typeText(QWidget* widget, const QString& text) {
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key(c.toUpper().unicode()), QString(c),
                                c.isUpper() ? Qt::ShiftModifier : Qt::NoModifier);
    }

    void search(const QString& typed) {
        child->searchBox->setFocus();
        child->searchBox->selectAll();
        QTest::keyClick(child->searchBox, Qt::Key_Backspace);
        typeText(child->searchBox, typed);
        QTest::mouseClick(child->searchButton, Qt::LeftButton);
    }

    void layOut() {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents();
            if (child->sidePanel->layout())
                child->sidePanel->layout()->activate();
        }
    }

private slots:
    void init() {
        messages.clear();
        setMessageHandler([this](const MessageRequest& r) {
            messages << r.text;
            return QMessageBox::Ok;
        });
        frame = std::make_unique<MainWindow>();
        frame->resize(900, 700);
        frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
        frame->acNewExecute();
        child = frame->ActiveMapWindow();
        QVERIFY(child);
        // The panels are tried on a map being made: in editor mode.
        child->SetEditorMode(true);
    }

    void cleanup() {
        frame.reset();
        flush();
        setMessageHandler({});
    }

    // --- The search -------------------------------------------------------------------------

    void search_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("row"); // 0: nothing found
        QTest::newRow("first word of a capitalised name") << QStringLiteral("невский") << 1;
        QTest::newRow("typed in capitals") << QStringLiteral("НЕВСКИЙ") << 1;
        QTest::newRow("a later word") << QStringLiteral("проспект") << 1;
        QTest::newRow("middle of a word") << QStringLiteral("осста") << 2;
        QTest::newRow("first of several rows") << QStringLiteral("ская") << 3;
        QTest::newRow("a whole name") << QStringLiteral("достоевская") << 5;
        QTest::newRow("nowhere") << QStringLiteral("метро") << 0;
        QTest::newRow("empty box") << QString() << 0;
    }

    void search() {
        QFETCH(QString, typed);
        QFETCH(int, row);
        const QList<StopIndex> stops = fillMap(child);
        child->ShowSearchPanel(true);
        // A stop marked before a search that finds nothing stays marked.
        child->editor().ToggleSelected(stops[1]);
        search(typed);
        // The box keeps what was typed.
        QCOMPARE(child->searchBox->text(), typed);
        if (row == 0) {
            QCOMPARE(messages, QStringList{kNotFound});
            QCOMPARE(marked(), QStringList{stopOf(stops[1]).Label.Caption});
            return;
        }
        const QString name = stopOf(stops[row - 1]).Label.Caption;
        QCOMPARE(messages, QStringList{kFound});
        QCOMPARE(currentName(), name);
        QCOMPARE(marked(), QStringList{name});
        QCOMPARE(child->editor().SelectedCount(), 1);
        QCOMPARE(child->stopList->statusTip(), QStringLiteral("Остановка ") + name);
        // Searching again finds the same stop.
        QTest::mouseClick(child->searchButton, Qt::LeftButton);
        QCOMPARE(messages, (QStringList{kFound, kFound}));
        QCOMPARE(currentName(), name);
        QCOMPARE(marked(), QStringList{name});
        QCOMPARE(child->searchBox->text(), typed);
    }

    void enterSearchesFromTheBoxAndTheLists() {
        fillMap(child);
        child->ShowSearchPanel(true);
        typeText(child->searchBox, QStringLiteral("маяк"));
        QTest::keyClick(child->searchBox, Qt::Key_Return);
        QCOMPARE(messages, QStringList{kFound});
        QCOMPARE(currentName(), QStringLiteral("Маяковская"));
        // Enter in the stop list searches again.
        child->stopList->setFocus();
        QTest::keyClick(child->stopList, Qt::Key_Return);
        QCOMPARE(messages, (QStringList{kFound, kFound}));
        QCOMPARE(currentName(), QStringLiteral("Маяковская"));
        QCOMPARE(child->searchBox->text(), QStringLiteral("маяк"));
    }

    // Fault 1: the list shows the matching stops as one types, silently; ё is read as е.
    void listIsFilteredAsOneTypes() {
        const QList<StopIndex> stops = fillMap(child);
        addStop(600, 60, QStringLiteral("Чёрная речка"));
        child->ShowSearchPanel(true);
        layOut();
        QCOMPARE(listed().size(), 6);
        child->searchBox->setFocus();
        typeText(child->searchBox, QStringLiteral("с"));
        QCOMPARE(listed(), (QStringList{"Невский проспект", "Площадь Восстания", "Маяковская",
                                        "Владимирская", "Достоевская"}));
        typeText(child->searchBox, QStringLiteral("к"));
        QCOMPARE(listed(),
                 (QStringList{"Невский проспект", "Маяковская", "Владимирская", "Достоевская"}));
        typeText(child->searchBox, QStringLiteral("АЯ"));
        QCOMPARE(listed(), (QStringList{"Маяковская", "Владимирская", "Достоевская"}));
        QCOMPARE(child->searchBox->text(), QStringLiteral("скАЯ"));
        // Nothing said, nothing marked while typing.
        QVERIFY(messages.isEmpty());
        QCOMPARE(child->editor().SelectedCount(), 0);
        // ё and е are one letter, either way round.
        child->searchBox->clear();
        QCOMPARE(listed().size(), 6);
        typeText(child->searchBox, QStringLiteral("черная"));
        QCOMPARE(listed(), QStringList{"Чёрная речка"});
        child->searchBox->clear();
        typeText(child->searchBox, QStringLiteral("ЧЁРН"));
        QCOMPARE(listed(), QStringList{"Чёрная речка"});
        child->searchBox->clear();
        addStop(700, 60, QStringLiteral("Озерки"));
        typeText(child->searchBox, QStringLiteral("озёр"));
        QCOMPARE(listed(), QStringList{"Озерки"});
        // No match: the status line says so; the box keeps the text.
        typeText(child->searchBox, QStringLiteral("ы"));
        QVERIFY(listed().isEmpty());
        QCOMPARE(frame->StatusText(), QStringLiteral("Остановка «озёры» не найдена"));
        QVERIFY(messages.isEmpty());
        QTest::keyClick(child->searchBox, Qt::Key_Backspace);
        QCOMPARE(listed(), QStringList{"Озерки"});
        QVERIFY(frame->StatusText().isEmpty());
        Q_UNUSED(stops);
    }

    void f3GoesToTheNextMatchSilently() {
        fillMap(child);
        child->ShowSearchPanel(true);
        layOut();
        child->searchBox->setFocus();
        typeText(child->searchBox, QStringLiteral("ская"));
        QTest::keyClick(child->searchBox, Qt::Key_Return);
        QCOMPARE(messages, QStringList{kFound});
        QCOMPARE(marked(), QStringList{"Маяковская"});
        QTest::keyClick(child->searchBox, Qt::Key_F3);
        QCOMPARE(marked(), QStringList{"Владимирская"});
        QCOMPARE(currentName(), QStringLiteral("Владимирская"));
        QTest::keyClick(child->searchBox, Qt::Key_F3);
        QCOMPARE(marked(), QStringList{"Достоевская"});
        // After the last match, the first again.
        QTest::keyClick(child->searchBox, Qt::Key_F3);
        QCOMPARE(marked(), QStringList{"Маяковская"});
        QCOMPARE(messages, QStringList{kFound});
        QCOMPARE(child->searchBox->text(), QStringLiteral("ская"));
    }

    // The stop found is in the middle of the view, whatever the zoom.
    void foundStopIsCentred_data() {
        QTest::addColumn<double>("zoom");
        QTest::newRow("100 %") << 1.0;
        QTest::newRow("far out") << 0.5;
        QTest::newRow("close up") << 3.0;
    }

    void foundStopIsCentred() {
        QFETCH(double, zoom);
        fillMap(child);
        const StopIndex far = addStop(2600, 1900, QStringLiteral("Дальняя"));
        // A stop further still, so that the scroll bars let the far one come to the middle.
        addStop(5200, 3800, QStringLiteral("Угол"));
        child->document().announce(lirsk::EveryChange);
        child->ShowSearchPanel(true);
        layOut();
        child->view()->setZoom(zoom);
        QCOMPARE(child->view()->zoom(), zoom);
        search(QStringLiteral("дальн"));
        QCOMPARE(marked(), QStringList{"Дальняя"});
        QCOMPARE(child->view()->zoom(), zoom);
        const QPoint centre =
            child->view()->viewportToMap(child->view()->viewport()->rect().center());
        QVERIFY2(
            (centre - QPoint(stopOf(far).centreX(), stopOf(far).centreY())).manhattanLength() <=
                2 / zoom + 2,
            qPrintable(QStringLiteral("%1,%2").arg(centre.x()).arg(centre.y())));
        // A row chosen in the list comes to the middle too.
        child->searchBox->clear();
        layOut();
        clickCell(child->stopList, 6, 0);
        QCOMPARE(marked(), QStringList{"Угол"});
        QVERIFY(child->view()->visibleMapRect().contains(QPoint(5205, 3805)));
    }

    // Fault 2: the list shows a stop's current name, and the search finds it by that name.
    void renamedStopIsFoundByItsNewName() {
        const QList<StopIndex> stops = fillMap(child);
        child->ShowSearchPanel(true);
        layOut();
        // As the stop's properties dialog renames a stop.
        stopOf(stops[2]).Label.Caption = QStringLiteral("Гостиный двор");
        child->document().announce(lirsk::EveryChange);
        QCOMPARE(listed().at(2), QStringLiteral("Гостиный двор"));
        search(QStringLiteral("гостин"));
        QCOMPARE(messages, QStringList{kFound});
        QCOMPARE(marked(), QStringList{"Гостиный двор"});
        QCOMPARE(listed(), QStringList{"Гостиный двор"});
        // The old name is found no more; a renamed stop leaves a filtered list it no longer fits.
        search(QStringLiteral("маяк"));
        QCOMPARE(messages, (QStringList{kFound, kNotFound}));
        child->searchBox->clear();
        typeText(child->searchBox, QStringLiteral("ая"));
        QCOMPARE(listed(), (QStringList{"Владимирская", "Достоевская"}));
        stopOf(stops[3]).Label.Caption = QStringLiteral("Технологический институт");
        child->document().announce(lirsk::EveryChange);
        QCOMPARE(listed(), QStringList{"Достоевская"});
    }

    // Fault 3: a double click and the list's own pop-up menu are announced with their stop.
    void doubleClickAndMenuAnnounceTheStop() {
        const QList<StopIndex> stops = fillMap(child);
        child->ShowSearchPanel(true);
        layOut();
        StopPanel* panel = child->stopPanel();
        QSignalSpy doubled(panel, &StopPanel::stopDoubleClicked);
        QSignalSpy starts(panel, &StopPanel::startChosen);
        QSignalSpy finishes(panel, &StopPanel::finishChosen);
        const QPoint row3 =
            child->stopList->visualRect(child->stopList->model()->index(3, 0)).center();
        // A double click as the window system sends it: a press and a release, then the second
        // press as a double click.
        QTest::mouseClick(child->stopList->viewport(), Qt::LeftButton, {}, row3);
        QTest::mouseDClick(child->stopList->viewport(), Qt::LeftButton, {}, row3);
        QCOMPARE(doubled.size(), 1);
        QCOMPARE(doubled[0][0].value<StopIndex>(), stops[3]);

        // Outside find-way mode the items are there but cannot be chosen.
        emit child->stopList->customContextMenuRequested(row3);
        QTRY_VERIFY(panel->stopMenu()->isVisible());
        QVERIFY(!panel->startAction()->isEnabled());
        QVERIFY(!panel->finishAction()->isEnabled());
        panel->stopMenu()->close();
        panel->setWayChoiceEnabled(true);
        const QPoint row1 =
            child->stopList->visualRect(child->stopList->model()->index(1, 0)).center();
        emit child->stopList->customContextMenuRequested(row1);
        QTRY_VERIFY(panel->stopMenu()->isVisible());
        QVERIFY(panel->startAction()->isEnabled());
        panel->startAction()->trigger();
        panel->stopMenu()->close();
        emit child->stopList->customContextMenuRequested(row3);
        panel->finishAction()->trigger();
        panel->stopMenu()->close();
        QCOMPARE(starts.size(), 1);
        QCOMPARE(starts[0][0].value<StopIndex>(), stops[1]);
        QCOMPARE(finishes.size(), 1);
        QCOMPARE(finishes[0][0].value<StopIndex>(), stops[3]);
    }

    // --- The stop list ------------------------------------------------------------------------

    void rowMarksTheStopItShows() {
        QList<StopIndex> stops = fillMap(child);
        child->ShowSearchPanel(true);
        layOut();
        // The second stop goes and a new one takes its id: rows and ids no longer agree.
        child->editor().DeleteStop(stops[1]);
        const StopIndex added = addStop(500, 300, QStringLiteral("Пушкинская"));
        QCOMPARE(stopOf(added).Id, 1);
        QCOMPARE(listed(), (QStringList{"Невский проспект", "Маяковская", "Владимирская",
                                        "Достоевская", "Пушкинская"}));

        clickCell(child->stopList, 4, 0);
        QCOMPARE(marked(), QStringList{QStringLiteral("Пушкинская")});
        clickCell(child->stopList, 1, 0);
        QCOMPARE(marked(), QStringList{QStringLiteral("Маяковская")});
        // The right button chooses no row.
        QTest::mouseClick(
            child->stopList->viewport(), Qt::RightButton, {},
            child->stopList->visualRect(child->stopList->model()->index(3, 0)).center());
        QCOMPARE(marked(), QStringList{QStringLiteral("Маяковская")});
        // Down moves to the next row and marks its stop only.
        QTest::keyClick(child->stopList, Qt::Key_Down);
        QCOMPARE(marked(), QStringList{QStringLiteral("Владимирская")});
        // A click on the picture clears the marks; a click on the current row marks it again.
        QTest::mouseClick(child->view()->viewport(), Qt::LeftButton, {}, QPoint(300, 400));
        QVERIFY(marked().isEmpty());
        clickCell(child->stopList, 2, 0);
        QCOMPARE(marked(), QStringList{QStringLiteral("Владимирская")});
        QCOMPARE(child->editor().SelectedCount(), 1);
    }

    void rowsThatComeAndGoChooseNothing() {
        QList<StopIndex> stops = fillMap(child);
        child->ShowSearchPanel(true);
        layOut();
        clickCell(child->stopList, 2, 0);
        QCOMPARE(marked(), QStringList{QStringLiteral("Маяковская")});
        child->editor().ClearSelection(-1, true);
        // The current row goes with its stop; the row that becomes current is not chosen.
        child->editor().DeleteStop(stops[2]);
        QVERIFY(marked().isEmpty());
        addStop(600, 300, QStringLiteral("Садовая"));
        QVERIFY(marked().isEmpty());
        QCOMPARE(child->editor().SelectedCount(), 0);
    }

    void upAtTheTopChoosesNothingNew() {
        fillMap(child);
        child->ShowSearchPanel(true);
        layOut();
        clickCell(child->stopList, 0, 0);
        QCOMPARE(marked(), QStringList{QStringLiteral("Невский проспект")});
        QTest::keyClick(child->stopList, Qt::Key_Up);
        QCOMPARE(marked(), QStringList{QStringLiteral("Невский проспект")});
        QCOMPARE(child->editor().SelectedCount(), 1);
    }

    void emptyMapRowMarksNothing() {
        child->ShowSearchPanel(true);
        layOut();
        QCOMPARE(child->stopList->model()->rowCount(), 0);
        QTest::mouseClick(child->stopList->viewport(), Qt::LeftButton, {}, QPoint(20, 8));
        QTest::keyClick(child->stopList, Qt::Key_Down);
        QCOMPARE(child->editor().SelectedCount(), 0);
    }

    // --- The route table ----------------------------------------------------------------------

    void routeTable_data() {
        QTest::addColumn<QString>("mapCode");
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("expected");
        const QString nevsky = QStringLiteral("Невский проспект");
        const QString square = QStringLiteral("Площадь Восстания");
        const QString mayak = QStringLiteral("Маяковская");
        const QString vlad = QStringLiteral("Владимирская");
        // Rows: 1 "12", 2 "3", 3 "2", 4 empty. A key is a whole code of a stop's routes.
        QTest::newRow("first row") << QStringLiteral("A") << 1 << QStringList{nevsky, square};
        QTest::newRow("second row on A") << QStringLiteral("A") << 2 << QStringList{square};
        QTest::newRow("third row on A") << QStringLiteral("A") << 3 << QStringList{vlad};
        QTest::newRow("first row elsewhere") << QStringLiteral("T") << 1 << QStringList{};
        QTest::newRow("a code at the end of the text")
            << QStringLiteral("T") << 2 << QStringList{nevsky};
        // Fault 4: route 2 is not 21.
        QTest::newRow("route 2 does not take 21")
            << QStringLiteral("T") << 3 << QStringList{square, vlad};
        QTest::newRow("an empty key marks nothing") << QStringLiteral("") << 4 << QStringList{};
        QTest::newRow("an empty number marks nothing") << QStringLiteral("A") << 4 << QStringList{};
        QTest::newRow("codes are case-sensitive") << QStringLiteral("a") << 1 << QStringList{};
    }

    void routeTable() {
        QFETCH(QString, mapCode);
        QFETCH(int, row);
        fillMap(child);
        child->Map().MapCode = mapCode;
        child->routeTable->setRowCount(5);
        const QStringList numbers = {QStringLiteral("12"), QStringLiteral("3"), QStringLiteral("2"),
                                     QString()};
        for (int i = 0; i < numbers.size(); ++i) {
            child->routeTable->setItem(i + 1, 0, new QTableWidgetItem(numbers[i]));
            child->routeTable->setItem(i + 1, 1, new QTableWidgetItem(QStringLiteral("маршрут")));
        }
        child->ShowRoutesPanel(true);
        layOut();
        // Whatever was marked before goes.
        child->editor().ToggleSelected(child->Map().stopCount() - 1);
        clickCell(child->routeTable, row, 1);
        QTEST(marked(), "expected");
    }

    void newMapRouteRowMarksNothing() {
        QList<StopIndex> stops = fillMap(child);
        stopOf(stops[0]).Routes = QStringLiteral("T5");
        child->ShowRoutesPanel(true);
        layOut();
        QCOMPARE(child->routeTable->rowCount(), 2);
        child->editor().ToggleSelected(stops[1]);
        clickCell(child->routeTable, 1, 0);
        // The row is empty: its key is no route's code.
        QVERIFY(marked().isEmpty());
    }

    // Fault 4: row 1 marks the stations of line 1 on the Saint Petersburg map, whose routes
    // texts end with the line's code; route 2 does not take 21 on a built-in map.
    void builtinRouteRowsMarkTheirLines_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("Saint Petersburg metro") << QStringLiteral("toolbox/map/MPiter.gaf");
        QTest::newRow("Samara metro") << QStringLiteral("toolbox/map/MSamara.gaf");
        QTest::newRow("Yekaterinburg metro") << QStringLiteral("toolbox/map/MEkater.gaf");
        QTest::newRow("Lirsk trolleybus") << QStringLiteral("toolbox/map/MapTrol.gaf");
        QTest::newRow("Lirsk tram") << QStringLiteral("toolbox/map/MapTram.gaf");
    }

    void builtinRouteRowsMarkTheirLines() {
        QFETCH(QString, path);
        MapMenuEntry entry;
        for (const MapMenuEntry& e : mapMenuCatalogue())
            if (e.path == path)
                entry = e;
        if (entry.path.isEmpty())
            QSKIP("no such built-in map in the menus");
        if (!QFileInfo::exists(resolveDataPath(entry.path, DataRoots())))
            QSKIP("this built-in map is not built");
        MapWindow* window = frame->OpenBuiltinMap(entry);
        QVERIFY(window);
        child = window;
        child->ShowRoutesPanel(true);
        layOut();
        const QString code = child->Map().MapCode;
        QVERIFY(child->routeTable->rowCount() > 1);
        for (int row = 1; row < child->routeTable->rowCount(); ++row) {
            const QTableWidgetItem* number = child->routeTable->item(row, 0);
            if (!number || number->text().isEmpty())
                continue;
            const QString key = code + number->text();
            QStringList expected;
            for (const Stop& stop : child->Map().stops())
                if (stop.Routes.split(QLatin1Char(' ')).contains(key))
                    expected << stop.Label.Caption;
            child->routeTable->scrollToItem(child->routeTable->item(row, 1));
            clickCell(child->routeTable, row, 1);
            QCOMPARE(marked(), expected);
            if (row == 1)
                QVERIFY2(expected.size() > 3, qPrintable(key));
            // Another route's code that merely starts with this one marks nothing.
            for (const StopIndex stop : child->document().selection().stops())
                QVERIFY(stopOf(stop).Routes.split(QLatin1Char(' ')).contains(key));
            // The name is read whole in its tooltip.
            QCOMPARE(child->routeTable->item(row, 1)->toolTip(),
                     child->routeTable->item(row, 1)->text());
        }
        // The name column takes the rest of the panel's width.
        QVERIFY(child->routeTable->columnWidth(1) > child->routeTable->viewport()->width() / 2);
        QCOMPARE(child->routeTable->columnWidth(0) + child->routeTable->columnWidth(1),
                 child->routeTable->viewport()->width());
    }

    // --- The panel commands -----------------------------------------------------------------

    void searchPanelCommandOnANewMap() {
        QVERIFY(frame->acSearchPanel->isChecked());
        QVERIFY(!child->sidePanel->isVisible());
        frame->acSearchPanel->trigger();
        layOut();
        QVERIFY(!frame->acSearchPanel->isChecked());
        QVERIFY(child->sidePanel->isVisible());
        QVERIFY(!child->searchPanel->isVisible());
        frame->acSearchPanel->trigger();
        layOut();
        QVERIFY(child->searchPanel->isVisible());
        QVERIFY(child->sidePanel->height() > 100);
        QCOMPARE(child->searchPanel->height(), child->sidePanel->height() / 2);
        QCOMPARE(child->searchPanel->y(), 0);
    }

    void routeBoxSharesTheLeftPanel() {
        child->ShowSearchPanel(true);
        layOut();
        QCOMPARE(child->searchPanel->height(), child->sidePanel->height());
        frame->acRouteTable->trigger();
        layOut();
        QVERIFY(frame->acRouteTable->isChecked());
        QVERIFY(child->routesBox->isVisible());
        QCOMPARE(child->searchPanel->height(), child->sidePanel->height() / 2);
        frame->acRouteTable->trigger();
        layOut();
        QVERIFY(!child->routesBox->isVisible());
        QVERIFY(child->sidePanel->isVisible());
        QCOMPARE(child->searchPanel->height(), child->sidePanel->height());
    }

    void hidingBothHidesTheLeftPanel() {
        frame->acRouteTable->trigger(); // the left panel comes, the search panel filling it
        layOut();
        QVERIFY(child->sidePanel->isVisible());
        QVERIFY(child->routesBox->isVisible());
        QCOMPARE(child->searchPanel->height(), child->sidePanel->height());
        frame->acRouteTable->trigger();
        layOut();
        QVERIFY(child->sidePanel->isVisible());
        frame->acSearchPanel->trigger();
        layOut();
        QVERIFY(!child->sidePanel->isVisible());
        QVERIFY(child->view()->x() < 5);
    }

    // --- The name drag ------------------------------------------------------------------------

    void nameDrag_data() {
        QTest::addColumn<QPoint>("move");
        QTest::addColumn<QPoint>("labelAt");
        // The label starts at (50, 60); it is grabbed 3 right and 4 down of its corner.
        QTest::newRow("both axes") << QPoint(100, 50) << QPoint(150, 110);
        QTest::newRow("left past the edge keeps x") << QPoint(-60, 30) << QPoint(50, 90);
        QTest::newRow("up past the edge keeps y") << QPoint(20, -70) << QPoint(70, 60);
        QTest::newRow("to the very corner") << QPoint(-50, -60) << QPoint(0, 0);
    }

    void nameDrag() {
        QFETCH(QPoint, move);
        QList<StopIndex> stops = fillMap(child);
        StopIndex stop = stops[0];
        QCOMPARE(QPoint(stopOf(stop).Label.Left, stopOf(stop).Label.Top), QPoint(50, 60));
        const QPoint grab(53, 64);
        QTest::mousePress(child->view()->viewport(), Qt::LeftButton, {}, grab);
        QTest::mouseMove(child->view()->viewport(), grab + move);
        QTest::mouseRelease(child->view()->viewport(), Qt::LeftButton, {}, grab + move);
        QTEST(QPoint(stopOf(stop).Label.Left, stopOf(stop).Label.Top), "labelAt");
        QCOMPARE(child->editor().LabelDragStop, NoStop);
    }

    // Esc comes through the frame's window, to whatever has the keyboard.
    void escapePutsTheNameBack_data() {
        QTest::addColumn<bool>("searchBoxHadTheKeyboard");
        QTest::newRow("left panel hidden") << false;
        QTest::newRow("search box had the keyboard") << true;
    }

    void escapePutsTheNameBack() {
        QFETCH(bool, searchBoxHadTheKeyboard);
        QList<StopIndex> stops = fillMap(child);
        StopIndex stop = stops[1];
        const QPoint home(stopOf(stop).Label.Left, stopOf(stop).Label.Top);
        const QPoint grab = home + QPoint(5, 5);
        frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame.get()));
        if (searchBoxHadTheKeyboard) {
            child->ShowSearchPanel(true);
            child->searchBox->setFocus();
        }
        QTest::mousePress(child->view()->viewport(), Qt::LeftButton, {}, grab);
        QTest::mouseMove(child->view()->viewport(), grab + QPoint(40, 30));
        QCOMPARE(QPoint(stopOf(stop).Label.Left, stopOf(stop).Label.Top), home + QPoint(40, 30));
        QTest::keyClick(frame->windowHandle(), Qt::Key_Escape);
        QCOMPARE(QPoint(stopOf(stop).Label.Left, stopOf(stop).Label.Top), home);
        // The drag goes on: the next move puts the grabbed point under the pointer again.
        QTest::mouseMove(child->view()->viewport(), grab + QPoint(10, 20));
        QCOMPARE(QPoint(stopOf(stop).Label.Left, stopOf(stop).Label.Top), home + QPoint(10, 20));
        QTest::keyClick(frame->windowHandle(), Qt::Key_Escape);
        QTest::mouseRelease(child->view()->viewport(), Qt::LeftButton, {}, grab + QPoint(10, 20));
        QCOMPARE(QPoint(stopOf(stop).Label.Left, stopOf(stop).Label.Top), home);
        // Without a drag Esc moves nothing.
        stopOf(stop).Label.Left += 7;
        QTest::keyClick(frame->windowHandle(), Qt::Key_Escape);
        QCOMPARE(stopOf(stop).Label.Left, home.x() + 7);
    }

    // --- The picture and the information window -----------------------------------------------

    void pictureClickClearsTheMarks() {
        QList<StopIndex> stops = fillMap(child);
        child->editor().ToggleSelected(stops[0]);
        child->editor().ToggleSelected(stops[3]);
        // A press elsewhere released on the picture is no click on it.
        QTest::mousePress(child->view()->viewport(), Qt::LeftButton, {},
                          QPoint(stopOf(stops[2]).Label.Left + 2, stopOf(stops[2]).Label.Top + 2));
        QTest::mouseRelease(child->view()->viewport(), Qt::LeftButton, {}, QPoint(300, 400));
        QCOMPARE(child->editor().SelectedCount(), 2);
        QTest::mouseClick(child->view()->viewport(), Qt::RightButton, {}, QPoint(300, 400));
        QCOMPARE(child->editor().SelectedCount(), 2);
        QTest::mouseClick(child->view()->viewport(), Qt::LeftButton, {}, QPoint(300, 400));
        QCOMPARE(child->editor().SelectedCount(), 0);
        QVERIFY(marked().isEmpty());
    }

    void pointerOnThePictureClosesTheInformationWindow() {
        fillMap(child);
        StopRoutesPopup* marsh = frame->programDialogs().stopRoutes();
        marsh->show();
        QVERIFY(QTest::qWaitForWindowExposed(marsh));
        QTest::mouseMove(child->view()->viewport(), QPoint(300, 400));
        QVERIFY(marsh->isVisible()); // not within the event itself
        QTRY_VERIFY(!marsh->isVisible());
    }
};

QTEST_MAIN(TestPanels)
#include "tst_panels.moc"
