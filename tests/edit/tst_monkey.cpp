// A seeded monkey on a map window: thousands of random but plausible mouse gestures (each button,
// with and without Shift, on stops, on names and on the empty map, in every mode), mode switches,
// select all, delete and the pop-up commands, with every dialog answered at random. After each
// step the map must still be sound. A failing seed is kept as a row of its own.
//
// LIRSK_MONKEY_STEPS sets the steps per seed (a sanitizer build runs fewer by default), and
// LIRSK_OPEN_CLOSE_ROUNDS how often every shipped map is opened and closed; LIRSK_MONKEY_SEED adds
// a run on a new map with that seed.

#include "mapfault.h"
#include "randomanswers.h"

#include "edit/stoppropertiesdialog.h"
#include "model/graphmap.h"
#include "view/maprenderer.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QListView>
#include <QMenu>
#include <QRandomGenerator>
#include <QSpinBox>
#include <QTableWidget>

#include <algorithm>

using namespace lirsk;
using edittest::centreOf;
using edittest::fault;
using edittest::RandomAnswers;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr int DefaultSteps = 2000; // GCC's AddressSanitizer
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr int DefaultSteps = 2000; // clang's
#else
constexpr int DefaultSteps = 10000;
#endif
#else
constexpr int DefaultSteps = 10000;
#endif

int stepsPerSeed() {
    bool ok = false;
    const int steps = qEnvironmentVariableIntValue("LIRSK_MONKEY_STEPS", &ok);
    return ok && steps > 0 ? steps : DefaultSteps;
}

int openCloseRounds() {
    bool ok = false;
    const int rounds = qEnvironmentVariableIntValue("LIRSK_OPEN_CLOSE_ROUNDS", &ok);
    return ok && rounds > 0 ? rounds : 50;
}

} // namespace

class TestMonkey : public QObject {
    Q_OBJECT

    edittest::Fixture f;

private slots:
    void init() {
        QLocale::setDefault(QLocale::c());
        f.start();
    }
    void cleanup() { f.stop(); }

    void randomEventsKeepTheMapSound_data() {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<QString>("mapFile"); // empty: a new map
        QTest::newRow("new map, seed 1") << 1u << QString();
        QTest::newRow("new map, seed 77") << 77u << QString();
        QTest::newRow("Samara, seed 5") << 5u << QStringLiteral("MSamara.gaf");
        QTest::newRow("Lirsk trolleybus, seed 9") << 9u << QStringLiteral("MapTrol.gaf");
        bool ok = false;
        const quint32 extra = qEnvironmentVariable("LIRSK_MONKEY_SEED").toUInt(&ok);
        if (ok)
            QTest::newRow("seed from the environment") << extra << QString();
    }

    void randomEventsKeepTheMapSound() {
        QFETCH(quint32, seed);
        QFETCH(QString, mapFile);
        if (mapFile.isEmpty()) {
            f.newMap();
        } else {
            const QString path =
                QCoreApplication::applicationDirPath() + QStringLiteral("/toolbox/map/") + mapFile;
            if (!QFile::exists(path))
                QSKIP("the shipped maps are not built");
            f.child = f.frame->OpenMap(path, mapFile);
            QVERIFY(f.child);
        }
        MapWindow* child = f.child;
        GraphMap& map = child->Map();
        QVERIFY2(fault(child).isEmpty(), qPrintable(fault(child)));

        QRandomGenerator random(seed);
        const QList<QAction*> modes = {
            f.frame->acPointer,    f.frame->acAddStop, f.frame->acAddArc,
            f.frame->acDeleteArc,  f.frame->acAddRoad, f.frame->acDeleteRoad,
            f.frame->acChangeRoad, f.frame->acFindWay, f.frame->acInfo};
        const QList<Qt::MouseButton> buttons = {Qt::LeftButton, Qt::LeftButton, Qt::RightButton,
                                                Qt::MiddleButton};
        const QStringList numbers = {"0", "1", "12,5", "-3", "1e6", "abc", "", "262136", "0,001"};
        const QStringList names = {"Рынок", "", "Улица Гагарина", "A1 A5", "  ", "№ 5"};

        const RandomAnswers answers{[&] { return numbers[random.bounded(numbers.size())]; },
                                    [&] { return names[random.bounded(names.size())]; },
                                    -5,
                                    60,
                                    true,
                                    true};
        f.onDialog = [&](QDialog& dialog) { answers.answer(dialog, random); };

        // A point on a stop, on a name, or anywhere on (and a little beyond) the map.
        auto somewhere = [&]() -> QPoint {
            const int kind = random.bounded(5);
            if (map.stopCount() > 0 && kind < 3) {
                Stop& s = map.stop(random.bounded(map.stopCount()));
                if (kind == 2 && s.Label.Visible) {
                    const QRect r = nameLabelRect(s);
                    return r.topLeft() + QPoint(random.bounded(std::max(1, r.width())),
                                                random.bounded(std::max(1, r.height())));
                }
                return centreOf(s) + QPoint(random.bounded(7) - 3, random.bounded(7) - 3);
            }
            const QSize size = child->view()->viewport()->size().expandedTo(QSize(200, 200));
            return {random.bounded(-20, size.width() + 20),
                    random.bounded(-20, size.height() + 20)};
        };
        auto shift = [&] { return random.bounded(3) == 0 ? Qt::ShiftModifier : Qt::NoModifier; };

        // What the steps did to the map, so that a monkey whose events miss their targets fails.
        int stopsAdded = 0, stopsDeleted = 0, linksAdded = 0, linksRemoved = 0, moved = 0;
        const int steps = stepsPerSeed();
        for (int step = 0; step < steps; ++step) {
            const int stopsBefore = map.stopCount();
            const int linksBefore = map.linkCount();
            QPoint placeBefore;
            if (stopsBefore > 0)
                placeBefore = {map.stops().back().Left, map.stops().back().Top};
            QString did;
            switch (random.bounded(17)) {
            case 0:
            case 1:
                modes[random.bounded(modes.size())]->trigger();
                did = QStringLiteral("mode");
                break;
            case 2:
            case 3:
            case 4:
            case 5: {
                // From one stop to another with the left button, as the two-stop modes want.
                if (map.stopCount() < 2)
                    break;
                const QPoint from = centreOf(map.stop(random.bounded(map.stopCount())));
                const QPoint to = centreOf(map.stop(random.bounded(map.stopCount())));
                f.press(from, Qt::LeftButton, shift());
                f.moveTo((from + to) / 2);
                f.moveTo(to);
                f.release(to, Qt::LeftButton, shift());
                did = QStringLiteral("stop to stop");
                break;
            }
            case 6: {
                // A press, a few moves with the button down, a release.
                const Qt::MouseButton button = buttons[random.bounded(buttons.size())];
                const QPoint from = somewhere();
                f.press(from, button, shift());
                if (button == Qt::RightButton && child->editor().stopMenu->isVisible())
                    child->editor().stopMenu->hide();
                QPoint at = from;
                for (int k = random.bounded(4); k > 0; --k) {
                    at = random.bounded(2)
                             ? somewhere()
                             : at + QPoint(random.bounded(-30, 31), random.bounded(-30, 31));
                    f.moveTo(at);
                }
                f.release(at, button, shift());
                did = QStringLiteral("gesture");
                break;
            }
            case 7:
            case 8:
            case 9:
                f.click(somewhere(), shift());
                did = QStringLiteral("click");
                break;
            case 10: {
                const QPoint p = somewhere();
                f.press(p, Qt::RightButton);
                if (child->editor().stopMenu->isVisible()) {
                    const int pick = random.bounded(3);
                    if (pick == 0)
                        child->editor().stopMenuDelete->trigger();
                    else if (pick == 1)
                        child->editor().stopMenuProperties->trigger();
                    child->editor().stopMenu->hide();
                }
                f.release(p, Qt::RightButton);
                did = QStringLiteral("pop-up");
                break;
            }
            case 11:
                if (random.bounded(2) == 0)
                    f.frame->acSelectAll->trigger();
                did = QStringLiteral("select all");
                break;
            case 12:
                if (random.bounded(3) == 0)
                    f.frame->acDelete->trigger();
                did = QStringLiteral("delete");
                break;
            case 13:
                if (random.bounded(3) == 0)
                    child->SetEditorMode(random.bounded(2));
                QTest::keyClick(child, Qt::Key_Escape);
                did = QStringLiteral("editor or escape");
                break;
            default:
                f.hover(somewhere());
                did = QStringLiteral("hover");
                break;
            }
            // Now and then the window paints and its timers run, as between a user's events.
            if (random.bounded(4) == 0)
                QCoreApplication::processEvents();
            const QString wrong = fault(child);
            QVERIFY2(wrong.isEmpty(),
                     qPrintable(QStringLiteral("step %1 (%2): %3").arg(step).arg(did, wrong)));
            stopsAdded += map.stopCount() > stopsBefore;
            stopsDeleted += map.stopCount() < stopsBefore;
            linksAdded += map.linkCount() > linksBefore;
            linksRemoved += map.linkCount() < linksBefore;
            moved += map.stopCount() == stopsBefore && stopsBefore > 0 &&
                     placeBefore != QPoint(map.stops().back().Left, map.stops().back().Top);
            if (map.stopCount() < 3)
                for (int i = 0; i < 3; ++i)
                    child->editor().AddStopAt(random.bounded(500), random.bounded(300));
        }
        if (steps >= 1000) {
            QVERIFY(stopsAdded > 0 && stopsDeleted > 0 && moved > 0);
            QVERIFY(linksAdded > 0 && linksRemoved > 0);
            QVERIFY(f.dialogs > 0);
        }
        qInfo("%d steps: stops added %d, deleted %d, moved %d; links added %d, removed %d; "
              "%d dialogs",
              steps, stopsAdded, stopsDeleted, moved, linksAdded, linksRemoved, f.dialogs);
    }

    // Every shipped map opened and closed many times in one process leaves no window behind
    // (and, in the sanitizer build, no leaked memory for LeakSanitizer to report at exit).
    void openingAndClosingLeavesNothing() {
        const QDir shipped(QCoreApplication::applicationDirPath() + QStringLiteral("/toolbox/map"));
        const QStringList files = shipped.entryList({QStringLiteral("*.gaf")}, QDir::Files);
        if (files.isEmpty())
            QSKIP("the shipped maps are not built");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const qsizetype widgets = QApplication::allWidgets().size();
        for (int round = 0; round < openCloseRounds(); ++round) {
            for (const QString& name : files) {
                MapWindow* child = f.frame->OpenMap(shipped.filePath(name), name);
                QVERIFY2(child, qPrintable(name));
                QVERIFY(child->Map().stopCount() > 0);
                f.frame->acClose->trigger();
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                QVERIFY2(f.frame->MdiArea->subWindowList().isEmpty(), qPrintable(name));
            }
            QCOMPARE(QApplication::allWidgets().size(), widgets);
        }
        QVERIFY(f.messages.isEmpty());
    }
};

QTEST_MAIN(TestMonkey)
#include "tst_monkey.moc"
