#include "editfixture.h"

#include "document/edits.h"
#include "edit/descriptiondialog.h"
#include "model/mapdescription.h"
#include "model/mapfile.h"

#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QUndoStack>

using namespace lirsk;

// A map maker's aids: copy and paste, the grid, the arrow keys, lining up, the description.
class TestEditingAids : public QObject {
    Q_OBJECT

    edittest::Fixture f;

    // Three stops joined by two roads, all marked.
    void markedTriangle() {
        GraphMap& map = f.child->Map();
        for (const QPoint at : {QPoint(40, 60), QPoint(150, 75), QPoint(90, 170)})
            f.addStop(at.x(), at.y());
        map.stop(1).Routes = QStringLiteral("M1 M2");
        edit::addRoad(f.child->document(), 0, 1, {1, 350, 60});
        edit::addRoad(f.child->document(), 1, 2, {0, 500, 90});
        for (StopIndex stop = 0; stop < 3; ++stop)
            f.child->editor().ToggleSelected(stop);
    }

    static QByteArray bytesOf(const GraphMap& map) { return writeMap(map, false, nullptr).value(); }

private slots:
    void init() {
        f.start();
        f.newMap();
        f.child->editor().SetPointerMode();
    }
    void cleanup() { f.stop(); }

    void pasteIntoAnotherWindow() {
        markedTriangle();
        GraphMap expected = f.child->Map();
        for (StopIndex i = 0; i < expected.stopCount(); ++i) {
            Stop& stop = expected.stop(i);
            stop.Left += 20;
            stop.Top += 20;
            stop.Label.Left += 20;
            stop.Label.Top += 20;
        }
        f.child->editor().CopySelection();
        MapWindow* source = f.child;
        f.newMap();
        f.child->editor().PasteAt(std::nullopt);
        QCOMPARE(bytesOf(f.child->Map()), bytesOf(expected));
        QCOMPARE(f.child->document().selection().stops(), (std::vector<StopIndex>{0, 1, 2}));
        QCOMPARE(f.child->editor().undoStack()->count(), 1);
        // Pasted again into the first window: new ids, under the pointer.
        f.child = source;
        f.child->editor().PasteAt(QPoint(400, 300));
        const GraphMap& map = f.child->Map();
        QCOMPARE(map.stopCount(), 6);
        QCOMPARE(map.stop(3).Id, 3);
        QCOMPARE(map.stop(4).Routes, QStringLiteral("M1 M2"));
        QVERIFY(map.IsRoad(4, 5));
        QVERIFY(!map.FindLink(4, 1));
        QCOMPARE(f.child->document().selection().stops(), (std::vector<StopIndex>{3, 4, 5}));
        f.child->editor().Undo();
        QCOMPARE(map.stopCount(), 3);
    }

    void gridPlacesStops_data() {
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<QPoint>("centre");
        QTest::newRow("on the grid") << Qt::KeyboardModifiers() << QPoint(40, 60);
        QTest::newRow("Alt: where pointed")
            << Qt::KeyboardModifiers(Qt::AltModifier) << QPoint(47, 52);
    }

    void gridPlacesStops() {
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(QPoint, centre);
        f.child->editor().setGridShown(true);
        f.child->editor().SetAddStopMode();
        f.click({47, 52}, modifiers);
        const Stop& added = f.child->Map().stop(0);
        QCOMPARE(QPoint(added.centreX(), added.centreY()), centre);
        f.press(centre);
        f.moveTo({203, 118});
        f.release({203, 118});
        QCOMPARE(added.centreX() % 20, 0);
        QCOMPARE(added.centreY() % 20, 0);
    }

    void alignAndSpread_data() {
        QTest::addColumn<int>("how"); // an Alignment, or -1 across, -2 down
        QTest::addColumn<QList<QPoint>>("corners");
        QTest::newRow("left") << int(Alignment::Left)
                              << QList<QPoint>{{40, 60}, {40, 75}, {40, 170}};
        QTest::newRow("right") << int(Alignment::Right)
                               << QList<QPoint>{{150, 60}, {150, 75}, {150, 170}};
        QTest::newRow("centre") << int(Alignment::Centre)
                                << QList<QPoint>{{94, 60}, {94, 75}, {94, 170}};
        QTest::newRow("top") << int(Alignment::Top) << QList<QPoint>{{40, 60}, {150, 60}, {90, 60}};
        QTest::newRow("bottom") << int(Alignment::Bottom)
                                << QList<QPoint>{{40, 170}, {150, 170}, {90, 170}};
        QTest::newRow("middle") << int(Alignment::Middle)
                                << QList<QPoint>{{40, 114}, {150, 114}, {90, 114}};
        QTest::newRow("across") << -1 << QList<QPoint>{{40, 60}, {150, 75}, {95, 170}};
        QTest::newRow("down") << -2 << QList<QPoint>{{40, 60}, {150, 115}, {90, 170}};
    }

    void alignAndSpread() {
        QFETCH(int, how);
        QFETCH(QList<QPoint>, corners);
        markedTriangle();
        const QByteArray before = bytesOf(f.child->Map());
        if (how >= 0)
            f.child->editor().AlignSelection(Alignment(how));
        else
            f.child->editor().SpreadSelection(how == -1 ? Qt::Horizontal : Qt::Vertical);
        QList<QPoint> now;
        for (const Stop& stop : f.child->Map().stops()) {
            now << QPoint(stop.Left, stop.Top);
            QCOMPARE(stop.Label.Left - stop.Left, 10);
        }
        QCOMPARE(now, corners);
        f.child->editor().Undo();
        QCOMPARE(bytesOf(f.child->Map()), before);
    }

    void arrowKeysNudgeAsOneEdit() {
        markedTriangle();
        const int commands = f.child->editor().undoStack()->count();
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(f.child->view(), Qt::Key_Right);
        QTest::keyClick(f.child->view(), Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(QPoint(f.child->Map().stop(0).Left, f.child->Map().stop(0).Top), QPoint(43, 80));
        QCOMPARE(f.child->editor().undoStack()->count(), commands + 1);
        f.child->editor().Undo();
        QCOMPARE(QPoint(f.child->Map().stop(0).Left, f.child->Map().stop(0).Top), QPoint(40, 60));
    }

    void propertiesTakeTheCentre() {
        markedTriangle();
        const int commands = f.child->editor().undoStack()->count();
        f.onDialog = [](QDialog& dialog) {
            auto* form = qobject_cast<StopPropertiesDialog*>(&dialog);
            QVERIFY(form);
            QCOMPARE(form->xSpin->value(), 46);
            form->xSpin->setValue(300);
            form->ySpin->setValue(200);
            form->sizeSpin->setValue(20);
            QTest::mouseClick(form->okButton, Qt::LeftButton);
        };
        f.child->editor().MenuStop = 0;
        f.child->editor().EditStopProperties();
        const Stop& moved = f.child->Map().stop(0);
        QCOMPARE(QPoint(moved.centreX(), moved.centreY()), QPoint(300, 200));
        QCOMPARE(f.child->Map().stop(1).Width, 20);
        QCOMPARE(f.child->Map().stop(1).Left, 150);
        QCOMPARE(f.child->editor().undoStack()->count(), commands + 1);
    }

    void descriptionDialogSavedWithTheMap() {
        f.onDialog = [](QDialog& dialog) {
            auto* form = qobject_cast<MapDescriptionDialog*>(&dialog);
            QVERIFY(form);
            form->titleEdit->setText(QStringLiteral("Город"));
            form->codeEdit->setText(QStringLiteral("G"));
            form->baseFareSpin->setValue(2.9);
            form->fareUnitEdit->setText(QStringLiteral("$"));
            form->addRoute();
            const QStringList row = {"G1", "1", "Кольцевая", "#FF0000"};
            for (int column = 0; column < row.size(); ++column)
                form->routeTable->item(0, column)->setText(row[column]);
            dialog.accept();
        };
        f.child->SetEditorMode(true);
        f.frame->acMapDescription->trigger();
        QCOMPARE(f.child->editor().undoStack()->undoText(), QStringLiteral("описание карты"));
        QCOMPARE(f.child->windowTitle(), QStringLiteral("Город"));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("city.gaf"));
        QVERIFY(f.child->Save(path));
        MapDescription read;
        QCOMPARE(readMapDescription(path, &read, nullptr), DescriptionRead::Read);
        QCOMPARE(read.title, QStringLiteral("Город"));
        QCOMPARE(read.mapCode, QStringLiteral("G"));
        QCOMPARE(read.baseFare, 2.9);
        QCOMPARE(read.fareUnit, QStringLiteral("$"));
        QCOMPARE(read.routes.size(), 1);
        QCOMPARE(read.routes[0].name, QStringLiteral("Кольцевая"));
        QCOMPARE(read.routes[0].color, std::optional<Colour>(0x0000FF));
        f.child->editor().Undo();
        QVERIFY(!f.child->document().description());
    }
};

QTEST_MAIN(TestEditingAids)
#include "tst_editingaids.moc"
