// The map view at other zooms than 100 %: the same gestures give the same map, a held drag
// scrolls the view, what is repainted in parts equals a full redraw, fit shows everything, and
// far out the screen shows what a file shows.

#include "editfixture.h"

#include "platform/colours.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QScreen>
#include <QScrollBar>

using namespace lirsk;

namespace {

QString describe(const MapDocument& document) {
    const GraphMap& map = document.map();
    QStringList lines;
    for (StopIndex i = 0; i < map.stopCount(); ++i) {
        const Stop& s = map.stop(i);
        lines << QStringLiteral("%1 %2,%3 marked %4")
                     .arg(s.Id)
                     .arg(s.Left)
                     .arg(s.Top)
                     .arg(document.isSelected(i));
        for (const Link& l : s.Links)
            lines << QStringLiteral("  -> %1 %2").arg(map.stop(l.To).Id).arg(l.IsArc);
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

class TestMapView : public QObject {
    Q_OBJECT
    edittest::Fixture f;

    // Stops on a grid, every neighbour along a row joined by a road.
    QList<StopIndex> grid(int columns, int rows, int spacing) {
        GraphMap& map = f.child->Map();
        QList<StopIndex> stops;
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c) {
                const StopIndex stop = map.AddStop(40 + c * spacing, 40 + r * spacing, true);
                map.stop(stop).Label.Caption = QStringLiteral("Остановка %1").arg(stops.size());
                stops << stop;
                if (c > 0) {
                    map.AddLink(stops[stops.size() - 2], stop, {0, 100, 0});
                    map.AddLink(stop, stops[stops.size() - 2], {0, 100, 0});
                }
            }
        map.UpdateArcFlags();
        f.child->document().markReloaded();
        return stops;
    }

    QImage shown() {
        QCoreApplication::processEvents();
        QWidget* viewport = f.child->view()->viewport();
        const QPoint at = viewport->mapTo(viewport->window(), QPoint(0, 0));
        return viewport->screen()
            ->grabWindow(viewport->window()->winId())
            .toImage()
            .copy(QRect(at, viewport->size()));
    }

private slots:
    void init() {
        f.start();
        f.newMap();
    }
    void cleanup() { f.stop(); }

    void gesturesGiveTheSameMapAtEveryZoom() {
        QString atFullSize;
        for (double zoom : {1.0, 0.5, 2.0}) {
            cleanup();
            init();
            const QList<StopIndex> stops = grid(4, 3, 90);
            f.child->view()->setZoom(zoom, QPoint(0, 0));
            QCOMPARE(f.child->view()->zoom(), zoom);
            // A stop moved, a road added with a snapping band, a rectangle of marks.
            f.child->editor().SetPointerMode();
            f.drag(f.centreOf(stops[5]), f.centreOf(stops[5]) + QPoint(17, 23));
            f.child->editor().SetAddRoadMode();
            f.drag(f.centreOf(stops[0]), f.centreOf(stops[4]) + QPoint(2, 1));
            f.child->editor().SetPointerMode();
            f.drag(QPoint(30, 120), QPoint(230, 300));
            const QString result = describe(f.child->document());
            if (zoom == 1.0)
                atFullSize = result;
            else
                QCOMPARE(result, atFullSize);
        }
    }

    void heldDragScrollsTowardsTheEdge() {
        f.frame->resize(600, 400);
        const QList<StopIndex> stops = grid(16, 2, 120);
        f.child->editor().SetFindWayMode();
        QScrollBar* across = f.child->view()->horizontalScrollBar();
        QCOMPARE(across->value(), 0);
        const int end = across->maximum();
        f.press(f.centreOf(stops[0]));
        QWidget* viewport = f.child->view()->viewport();
        QTest::mouseMove(viewport, QPoint(viewport->width() - 3, 60));
        QTRY_VERIFY(across->value() > 300);
        // Held there, it stops at the map's end: a way is found, not a stop moved.
        QTRY_COMPARE(across->value(), end);
        QTest::qWait(300);
        QCOMPARE(across->maximum(), end);
        // A stop that was off screen is now in view, and the way to it is found.
        QTest::mouseMove(viewport, viewport->rect().center());
        StopIndex far = NoStop;
        for (const StopIndex stop : stops.mid(0, 16))
            if (f.child->view()->visibleMapRect().contains(f.centreOf(stop)))
                far = stop;
        QVERIFY(far != NoStop && f.mapStop(far).Left > 600);
        f.moveTo(f.centreOf(far));
        f.release(f.centreOf(far));
        QCOMPARE(f.dialogs, 1);
        QVERIFY(!f.child->document().foundWay().stops.empty());
    }

    void partialRepaintsEqualAFullRedraw() {
        // Stops further apart than what is drawn around a link, so that a link's old place is
        // not covered by its new one.
        f.frame->resize(1200, 900);
        const QList<StopIndex> stops = grid(6, 4, 180);
        // Down each column one-way links with their arrows and long lengths, and a curved pair.
        GraphMap& map = f.child->Map();
        for (int k = 0; k + 6 < stops.size(); ++k)
            map.AddLink(stops[k], stops[k + 6], {0, 12345.5, 0});
        map.AddLink(stops[8], stops[2], {0, 7, 0});
        map.UpdateArcFlags();
        f.child->document().markReloaded();
        f.child->editor().SetPointerMode();
        QRandomGenerator random(7);
        for (int step = 0; step < 12; ++step) {
            // A stop alone, then with two marked stops.
            if (step == 6) {
                f.child->editor().ToggleSelected(stops[9]);
                f.child->editor().ToggleSelected(stops[10]);
            }
            // Pressed off its centre, so that the release is no click (a click redraws all).
            const StopIndex stop = stops[random.bounded(stops.size())];
            QPoint at = f.centreOf(stop) + QPoint(2, 1);
            f.press(at);
            for (int move = 0; move < 3; ++move) {
                at += QPoint(random.bounded(-150, 151), random.bounded(-150, 151));
                f.moveTo(at);
                QCoreApplication::processEvents();
            }
            const QImage parts = shown();
            f.child->view()->viewport()->repaint();
            QCOMPARE(shown(), parts);
            f.release(at);
            QCoreApplication::processEvents();
        }
    }

    void fitShowsTheWholeMap() {
        const QList<StopIndex> stops = grid(40, 30, 90);
        MapView* view = f.child->view();
        view->zoomToFit();
        QVERIFY(view->zoom() < 1.0);
        QVERIFY(view->visibleMapRect().contains(QRect(QPoint(0, 0), view->mapSize())));
        // Far out a stop is still hit where it shows.
        QCOMPARE(view->stopAt(
                     QPoint(f.mapStop(stops.last()).centreX(), f.mapStop(stops.last()).centreY())),
                 stops.last());
    }

    void farOutTheScreenShowsWhatFiguresShow() {
        // Far out the screen sets the pixels of links and dots itself, a file draws them as
        // figures: the same ink within a pixel, with stops cut off and beyond every edge.
        f.frame->resize(900, 700);
        grid(60, 40, 90);
        MapView* view = f.child->view();
        view->setZoom(0.25, QPoint(0, 0));
        view->horizontalScrollBar()->setValue(201);
        view->verticalScrollBar()->setValue(151);
        const QImage screen = shown();
        QImage figures(screen.size(), QImage::Format_RGB32);
        QPainter painter(&figures);
        view->paintMapAt(painter, QRect(QPoint(804, 604), screen.size() * 4), 0.25);
        painter.end();
        const QRgb paper = windowColour().rgb();
        const auto inkNear = [paper](const QImage& image, int x, int y) {
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if (image.valid(x + dx, y + dy) && image.pixel(x + dx, y + dy) != paper)
                        return true;
            return false;
        };
        int missing = 0, extra = 0;
        for (int y = 0; y < screen.height(); ++y)
            for (int x = 0; x < screen.width(); ++x) {
                missing += figures.pixel(x, y) != paper && !inkNear(screen, x, y);
                extra += screen.pixel(x, y) != paper && !inkNear(figures, x, y);
            }
        QCOMPARE(missing, 0);
        QCOMPARE(extra, 0);
    }
};

QTEST_MAIN(TestMapView)
#include "tst_mapview.moc"
