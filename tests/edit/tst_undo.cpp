// Random edit sequences with undo and redo between them, on shipped maps and on a new map. After
// every step the map saved to memory must be what it was at that place of the undo stack, and
// the window must be sound; undoing everything gives the original file's bytes back and leaves
// the map unmodified, redoing everything the bytes after the last step.

#include "mapfault.h"
#include "randomanswers.h"

#include "edit/stoppropertiesdialog.h"
#include "model/catalogue.h"
#include "model/mapfile.h"
#include "model/safefile.h"

#include <QRandomGenerator>
#include <QSpinBox>
#include <QUndoStack>

using namespace lirsk;
using edittest::fault;

namespace {

// The search panel's flag is the frame's; it is held fixed so that only edits change the bytes.
QByteArray bytesOf(const GraphMap& map) {
    QString error;
    const std::optional<QByteArray> bytes = writeMap(map, map.StoredSearchPanel, &error);
    return bytes.value_or(error.toUtf8());
}

} // namespace

class TestUndo : public QObject {
    Q_OBJECT

    edittest::Fixture f;

private slots:
    void init() {
        QLocale::setDefault(QLocale::c());
        f.start();
    }
    void cleanup() { f.stop(); }

    void editsUndoAndRedoExactly_data() {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<QString>("entry"); // a map menu entry; empty: a new map
        QTest::newRow("new map") << 3u << QString();
        QTest::newRow("Lirsk trolleybus") << 11u << QStringLiteral("Троллейбусная");
        QTest::newRow("Samara metro") << 5u << QStringLiteral("Самара");
    }

    void editsUndoAndRedoExactly() {
        QFETCH(quint32, seed);
        QFETCH(QString, entry);
        QByteArray original;
        if (entry.isEmpty()) {
            f.newMap();
        } else {
            const auto& catalogue = mapMenuCatalogue();
            const auto it = std::find_if(catalogue.begin(), catalogue.end(),
                                         [&](const MapMenuEntry& e) { return e.entry == entry; });
            QVERIFY(it != catalogue.end());
            f.child = f.frame->OpenBuiltinMap(*it);
            if (!f.child)
                QSKIP("the shipped maps are not built");
            QString error;
            QVERIFY2(
                readWholeFile(f.child->document().filePath(), kMaxMapFileSize, &original, &error),
                qPrintable(error));
        }
        MapWindow* child = f.child;
        child->SetEditorMode(true);
        MapEditor& editor = child->editor();
        GraphMap& map = child->Map();
        QUndoStack& stack = *editor.undoStack();
        if (original.isEmpty())
            original = bytesOf(map);
        QCOMPARE(bytesOf(map), original);

        QRandomGenerator random(seed);
        const edittest::RandomAnswers answers{
            [&] { return QString::number(random.bounded(1, 900)); },
            [&] { return QStringLiteral("Рынок %1").arg(random.bounded(99)); }};
        f.onDialog = [&](QDialog& dialog) { answers.answer(dialog, random); };
        auto anyStop = [&] { return StopIndex(random.bounded(map.stopCount())); };
        auto drag = [&](MapHit::Kind kind, StopIndex stop, QPoint from) {
            const QPoint to = from + QPoint(random.bounded(-40, 41), random.bounded(-40, 41));
            editor.pressed({kind, stop}, {from, Qt::LeftButton, Qt::LeftButton, {}, {}});
            for (int k = 1; k <= 3; ++k)
                editor.moved({kind, stop},
                             {from + (to - from) * k / 3, Qt::NoButton, Qt::LeftButton, {}, {}});
            editor.released({kind, stop}, {to, Qt::LeftButton, Qt::NoButton, {}, {}});
        };

        std::vector<QByteArray> states{original}; // the bytes at each index of the stack
        const int steps = 300;
        for (int step = 0; step < steps; ++step) {
            editor.setMode(MapMode::Pointer);
            const int indexBefore = stack.index();
            QString did;
            const int pick = map.stopCount() < 4 ? 0 : int(random.bounded(14));
            const StopIndex a = map.stopCount() ? anyStop() : NoStop;
            const StopIndex b = map.stopCount() ? anyStop() : NoStop;
            switch (pick) {
            case 0:
                editor.AddStopAt(random.bounded(600), random.bounded(400));
                did = QStringLiteral("add stop");
                break;
            case 1:
                for (int k = random.bounded(3); k >= 0; --k)
                    if (!child->document().isSelected(anyStop()))
                        editor.ToggleSelected(anyStop());
                editor.MenuStop = a;
                editor.DeleteStopsFromMenu();
                did = QStringLiteral("delete stops");
                break;
            case 2:
                if (a != b && !map.FindLink(a, b))
                    editor.AddArc(a, b);
                did = QStringLiteral("add arc");
                break;
            case 3:
                if (const auto& links = map.stop(a).Links; !links.empty())
                    editor.DeleteArc(a, links[random.bounded(int(links.size()))].To);
                did = QStringLiteral("delete arc");
                break;
            case 4:
                if (a != b && !map.FindLink(a, b) && !map.FindLink(b, a))
                    editor.AddRoad(a, b);
                did = QStringLiteral("add road");
                break;
            case 5:
            case 6:
                for (const Link& link : map.stop(a).Links) {
                    if (map.IsRoad(a, link.To)) {
                        const StopIndex to = link.To;
                        if (pick == 5)
                            editor.DeleteRoad(a, to);
                        else
                            editor.ChangeRoadWeight(a, to);
                        break;
                    }
                }
                did = QStringLiteral("delete or change road");
                break;
            case 7:
                if (random.bounded(2))
                    editor.SelectAll();
                drag(MapHit::Stop, a, f.centreOf(a));
                did = QStringLiteral("move stops");
                break;
            case 8:
                drag(MapHit::Name, a, {map.stop(a).Label.Left + 2, map.stop(a).Label.Top + 2});
                did = QStringLiteral("move name");
                break;
            case 9:
                if (random.bounded(2))
                    editor.ToggleSelected(b);
                editor.MenuStop = a;
                editor.EditStopProperties();
                did = QStringLiteral("stop properties");
                break;
            case 10: {
                DisplaySettings settings = map.Settings;
                settings.ArcWidth = random.bounded(1, 6);
                settings.UserWeights = random.bounded(2);
                editor.ChangeSettings(settings);
                did = QStringLiteral("settings");
                break;
            }
            case 11:
                editor.Undo();
                did = QStringLiteral("undo");
                break;
            case 12:
                editor.Redo();
                did = QStringLiteral("redo");
                break;
            default:
                editor.ClearSelection(-1, false);
                editor.ToggleSelected(a);
                did = QStringLiteral("mark");
                break;
            }
            const QString at = QStringLiteral("step %1 (%2)").arg(step).arg(did);
            if (pick != 11 && pick != 12 && stack.index() != indexBefore) {
                states.resize(std::size_t(stack.index()));
                states.push_back(bytesOf(map));
            }
            QVERIFY2(bytesOf(map) == states[std::size_t(stack.index())], qPrintable(at));
            QVERIFY2(child->document().isModified() == (stack.index() != 0), qPrintable(at));
            const QString wrong = fault(child);
            QVERIFY2(wrong.isEmpty(), qPrintable(at + QStringLiteral(": ") + wrong));
        }
        QVERIFY(stack.count() > 10);

        while (stack.canUndo())
            f.frame->acUndo->trigger();
        QCOMPARE(bytesOf(map), original);
        QVERIFY(!child->document().isModified());
        QCOMPARE(fault(child), QString());
        while (stack.canRedo())
            f.frame->acRedo->trigger();
        QCOMPARE(bytesOf(map), states.back());
        QCOMPARE(fault(child), QString());
    }
};

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"
