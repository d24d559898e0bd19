#include "app/mainwindow.h"
#include "app/mapwindow.h"
#include "edit/stoproutespopup.h"
#include "platform/messages.h"

#include <QFrame>
#include <QGroupBox>
#include <QLayout>
#include <QLineEdit>
#include <QScrollArea>
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

    QList<StopRef> fillMap(MapWindow* window) {
        QList<StopRef> stops;
        int x = 40;
        for (const StopEntry& entry : kStops) {
            StopRef stop = window->Map().AddStop(x, 60, -1, QString::fromUtf8(entry.name), true);
            stop->Label.Caption = QString::fromUtf8(entry.name);
            if (entry.routes)
                stop->Routes = QString::fromUtf8(entry.routes);
            stops << stop;
            x += 90;
        }
        window->RedrawMap(false);
        return stops;
    }

    QStringList marked() const {
        QStringList names;
        for (const auto& stop : child->Map().stops())
            if (stop->Selected)
                names << stop->Label.Caption;
        return names;
    }

    static void clickCell(QTableWidget* grid, int row, int column) {
        const QRect cell = grid->visualRect(grid->model()->index(row, column));
        QVERIFY(!cell.isEmpty());
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    }

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
        const QList<StopRef> stops = fillMap(child);
        child->ShowSearchPanel(true);
        // A stop marked before a search that finds nothing stays marked.
        child->editor().ToggleSelected(stops[1]);
        search(typed);
        if (row == 0) {
            QCOMPARE(messages, QStringList{kNotFound});
            QCOMPARE(marked(), QStringList{stops[1]->Label.Caption});
            QCOMPARE(child->searchBox->text(), typed.toLower());
            return;
        }
        const QString name = stops[row - 1]->Label.Caption;
        QCOMPARE(messages, QStringList{kFound});
        QCOMPARE(child->stopList->currentRow(), row);
        QCOMPARE(child->stopList->currentColumn(), 0);
        QCOMPARE(marked(), QStringList{name});
        QCOMPARE(child->Map().SelectedCount, 1);
        QCOMPARE(child->stopList->statusTip(), QStringLiteral("Остановка ") + name);
        // The box now holds the whole name, in lower case; searching again finds the same row.
        QCOMPARE(child->searchBox->text(), name.toLower());
        QTest::mouseClick(child->searchButton, Qt::LeftButton);
        QCOMPARE(messages, (QStringList{kFound, kFound}));
        QCOMPARE(child->stopList->currentRow(), row);
        QCOMPARE(marked(), QStringList{name});
    }

    void enterSearchesFromTheBoxAndTheLists() {
        fillMap(child);
        child->ShowSearchPanel(true);
        typeText(child->searchBox, QStringLiteral("маяк"));
        QTest::keyClick(child->searchBox, Qt::Key_Return);
        QCOMPARE(messages, QStringList{kFound});
        QCOMPARE(child->stopList->currentRow(), 3);
        // The box holds "маяковская"; Enter in the stop list searches for it again.
        child->stopList->setFocus();
        QTest::keyClick(child->stopList, Qt::Key_Return);
        QCOMPARE(messages, (QStringList{kFound, kFound}));
        QCOMPARE(child->stopList->currentRow(), 3);
    }

    // --- The stop list ------------------------------------------------------------------------

    void rowMarksTheStopItShows() {
        QList<StopRef> stops = fillMap(child);
        child->ShowSearchPanel(true);
        layOut();
        // The second stop goes and a new one takes its id: rows and ids no longer agree.
        child->Map().DeleteStop(stops[1]);
        StopRef added = child->Map().AddStop(500, 300, -1, QStringLiteral("Пушкинская"), true);
        added->Label.Caption = QStringLiteral("Пушкинская");
        QCOMPARE(added->Id, 1);
        QCOMPARE(child->stopList->rowCount(), 6);
        QCOMPARE(child->stopList->item(5, 0)->text(), QStringLiteral("Пушкинская"));

        clickCell(child->stopList, 5, 0);
        QCOMPARE(marked(), QStringList{QStringLiteral("Пушкинская")});
        clickCell(child->stopList, 2, 0);
        QCOMPARE(marked(), QStringList{QStringLiteral("Маяковская")});
        // The right button chooses no row.
        QTest::mouseClick(
            child->stopList->viewport(), Qt::RightButton, {},
            child->stopList->visualRect(child->stopList->model()->index(4, 0)).center());
        QCOMPARE(marked(), QStringList{QStringLiteral("Маяковская")});
        // Down moves to the next row and marks its stop only.
        QTest::keyClick(child->stopList, Qt::Key_Down);
        QCOMPARE(marked(), QStringList{QStringLiteral("Владимирская")});
        // A click on the picture clears the marks; a click on the current row marks it again.
        QTest::mouseClick(child->view()->viewport(), Qt::LeftButton, {}, QPoint(300, 400));
        QVERIFY(marked().isEmpty());
        clickCell(child->stopList, 3, 0);
        QCOMPARE(marked(), QStringList{QStringLiteral("Владимирская")});
        QCOMPARE(child->Map().SelectedCount, 1);
    }

    void rowsThatComeAndGoChooseNothing() {
        QList<StopRef> stops = fillMap(child);
        child->ShowSearchPanel(true);
        layOut();
        clickCell(child->stopList, 3, 0);
        QCOMPARE(marked(), QStringList{QStringLiteral("Маяковская")});
        child->editor().ClearSelection(-1, true);
        // The current row goes with its stop; the row that becomes current is not chosen.
        child->Map().DeleteStop(stops[2]);
        QVERIFY(marked().isEmpty());
        child->Map().AddStop(600, 300, -1, QStringLiteral("Садовая"), true);
        QVERIFY(marked().isEmpty());
        QCOMPARE(child->Map().SelectedCount, 0);
    }

    void headerRowIsNotChosen() {
        fillMap(child);
        child->ShowSearchPanel(true);
        layOut();
        clickCell(child->stopList, 1, 0);
        QCOMPARE(marked(), QStringList{QStringLiteral("Невский проспект")});
        QTest::keyClick(child->stopList, Qt::Key_Up);
        QCOMPARE(marked(), QStringList{QStringLiteral("Невский проспект")});
        QCOMPARE(child->Map().SelectedCount, 1);
    }

    void emptyMapRowMarksNothing() {
        child->ShowSearchPanel(true);
        layOut();
        QCOMPARE(child->stopList->rowCount(), 2);
        clickCell(child->stopList, 1, 0);
        QCOMPARE(child->Map().SelectedCount, 0);
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
        // Rows: 1 "12", 2 "3", 3 "2", 4 empty.
        QTest::newRow("first row gets a space")
            << QStringLiteral("A") << 1 << QStringList{nevsky, square};
        QTest::newRow("second row on A gets a space")
            << QStringLiteral("A") << 2 << QStringList{square};
        QTest::newRow("third row on A has none") << QStringLiteral("A") << 3 << QStringList{vlad};
        QTest::newRow("first row elsewhere gets a space")
            << QStringLiteral("T") << 1 << QStringList{};
        QTest::newRow("second row elsewhere has none")
            << QStringLiteral("T") << 2 << QStringList{nevsky};
        QTest::newRow("route 2 also takes 21")
            << QStringLiteral("T") << 3 << QStringList{square, mayak, vlad};
        QTest::newRow("an empty key marks nothing") << QStringLiteral("") << 4 << QStringList{};
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
        child->editor().ToggleSelected(child->Map().stops().back().get());
        clickCell(child->routeTable, row, 1);
        QTEST(marked(), "expected");
    }

    void newMapRouteRowMarksStopsWithoutRoutes() {
        QList<StopRef> stops = fillMap(child);
        stops[0]->Routes = QStringLiteral("T5");
        child->ShowRoutesPanel(true);
        layOut();
        QCOMPARE(child->routeTable->rowCount(), 2);
        clickCell(child->routeTable, 1, 0);
        // The key is one space: every routes text with a space, among them the default one.
        QCOMPARE(marked(),
                 (QStringList{QStringLiteral("Площадь Восстания"), QStringLiteral("Маяковская"),
                              QStringLiteral("Владимирская"), QStringLiteral("Достоевская")}));
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
        QList<StopRef> stops = fillMap(child);
        StopRef stop = stops[0];
        QCOMPARE(QPoint(stop->Label.Left, stop->Label.Top), QPoint(50, 60));
        const QPoint grab(53, 64);
        QTest::mousePress(child->view()->viewport(), Qt::LeftButton, {}, grab);
        QTest::mouseMove(child->view()->viewport(), grab + move);
        QTest::mouseRelease(child->view()->viewport(), Qt::LeftButton, {}, grab + move);
        QTEST(QPoint(stop->Label.Left, stop->Label.Top), "labelAt");
        QVERIFY(!stop->LabelDragging);
        QVERIFY(!child->editor().LabelDragStop);
    }

    // Esc comes through the frame's window, to whatever has the keyboard.
    void escapePutsTheNameBack_data() {
        QTest::addColumn<bool>("searchBoxHadTheKeyboard");
        QTest::newRow("left panel hidden") << false;
        QTest::newRow("search box had the keyboard") << true;
    }

    void escapePutsTheNameBack() {
        QFETCH(bool, searchBoxHadTheKeyboard);
        QList<StopRef> stops = fillMap(child);
        StopRef stop = stops[1];
        const QPoint home(stop->Label.Left, stop->Label.Top);
        const QPoint grab = home + QPoint(5, 5);
        frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame.get()));
        if (searchBoxHadTheKeyboard) {
            child->ShowSearchPanel(true);
            child->searchBox->setFocus();
        }
        QTest::mousePress(child->view()->viewport(), Qt::LeftButton, {}, grab);
        QTest::mouseMove(child->view()->viewport(), grab + QPoint(40, 30));
        QCOMPARE(QPoint(stop->Label.Left, stop->Label.Top), home + QPoint(40, 30));
        QTest::keyClick(frame->windowHandle(), Qt::Key_Escape);
        QCOMPARE(QPoint(stop->Label.Left, stop->Label.Top), home);
        // The drag goes on: the next move puts the grabbed point under the pointer again.
        QTest::mouseMove(child->view()->viewport(), grab + QPoint(10, 20));
        QCOMPARE(QPoint(stop->Label.Left, stop->Label.Top), home + QPoint(10, 20));
        QTest::keyClick(frame->windowHandle(), Qt::Key_Escape);
        QTest::mouseRelease(child->view()->viewport(), Qt::LeftButton, {}, grab + QPoint(10, 20));
        QCOMPARE(QPoint(stop->Label.Left, stop->Label.Top), home);
        // Without a drag Esc moves nothing.
        stop->Label.Left += 7;
        QTest::keyClick(frame->windowHandle(), Qt::Key_Escape);
        QCOMPARE(stop->Label.Left, home.x() + 7);
    }

    // --- The picture and the information window -----------------------------------------------

    void pictureClickClearsTheMarks() {
        QList<StopRef> stops = fillMap(child);
        child->editor().ToggleSelected(stops[0]);
        child->editor().ToggleSelected(stops[3]);
        // A press elsewhere released on the picture is no click on it.
        QTest::mousePress(child->view()->viewport(), Qt::LeftButton, {},
                          QPoint(stops[2]->Label.Left + 2, stops[2]->Label.Top + 2));
        QTest::mouseRelease(child->view()->viewport(), Qt::LeftButton, {}, QPoint(300, 400));
        QCOMPARE(child->Map().SelectedCount, 2);
        QTest::mouseClick(child->view()->viewport(), Qt::RightButton, {}, QPoint(300, 400));
        QCOMPARE(child->Map().SelectedCount, 2);
        QTest::mouseClick(child->view()->viewport(), Qt::LeftButton, {}, QPoint(300, 400));
        QCOMPARE(child->Map().SelectedCount, 0);
        QVERIFY(!stops[0]->Selected && !stops[3]->Selected);
    }

    void pointerOnThePictureClosesTheInformationWindow() {
        fillMap(child);
        StopRoutesPopup* marsh = stopRoutesPopup();
        marsh->show();
        QVERIFY(QTest::qWaitForWindowExposed(marsh));
        QTest::mouseMove(child->view()->viewport(), QPoint(300, 400));
        QVERIFY(marsh->isVisible()); // not within the event itself
        QTRY_VERIFY(!marsh->isVisible());
    }
};

QTEST_MAIN(TestPanels)
#include "tst_panels.moc"
