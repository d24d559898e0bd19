#include "platform/colours.h"
#include "platform/fonts.h"
#include "view/maprenderer.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QTest>

#include <climits>

using namespace lirsk;

namespace {

// Two stops centred at (100, 100) and (200, 100), and the links asked for: "ab" a one-way arc,
// "road" both ways with equal lengths, "pair" both ways with different lengths.
void buildMap(GraphMap& map, const QString& links, bool showWeights) {
    map.Settings.ShowWeights = showWeights;
    map.Settings.ArcColor = 0x000000FF; // red
    const StopIndex a = map.AddStop(94, 94, true);
    const StopIndex b = map.AddStop(194, 94, true);
    map.stop(a).Label.Visible = map.stop(b).Label.Visible = false;
    if (links == QLatin1String("ab") || links == QLatin1String("road") ||
        links == QLatin1String("pair"))
        map.AddLink(a, b, {0, 350, 0});
    if (links == QLatin1String("road"))
        map.AddLink(b, a, {0, 350, 0});
    if (links == QLatin1String("pair"))
        map.AddLink(b, a, {0, 12.5, 0});
    map.UpdateArcFlags();
}

// Pixels of a colour close to pure red in a rectangle.
int redPixels(const QImage& image, const QRect& rect) {
    int n = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 150 && c.green() < 120 && c.blue() < 120)
                ++n;
        }
    return n;
}

// Dark pixels: the lengths are written in the window-text colour.
int textPixels(const QImage& image, const QRect& rect) {
    int n = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() < 100 && c.green() < 100 && c.blue() < 100)
                ++n;
        }
    return n;
}

} // namespace

class TestMapRenderer : public QObject {
    Q_OBJECT
private slots:
    void links_data() {
        QTest::addColumn<QString>("links");
        QTest::addColumn<bool>("head");    // a head near the second stop
        QTest::addColumn<bool>("onChord"); // ink on the straight line between the stops
        QTest::addColumn<bool>("above");   // a curve above the chord
        QTest::addColumn<bool>("below");   // a curve below the chord
        QTest::newRow("one-way arc") << "ab" << true << true << false << false;
        QTest::newRow("road") << "road" << false << true << false << false;
        QTest::newRow("pair of arcs") << "pair" << true << false << true << true;
        QTest::newRow("no links") << "" << false << false << false << false;
    }

    void links() {
        QFETCH(QString, links);
        QFETCH(bool, head);
        QFETCH(bool, onChord);
        QFETCH(bool, above);
        QFETCH(bool, below);
        GraphMap map;
        buildMap(map, links, false);
        GraphCanvas canvas;
        canvas.resize(300, 220);
        RedrawGraph(canvas, map);
        QCOMPARE(redPixels(canvas.image, QRect(178, 93, 8, 4)) > 0, head);
        QCOMPARE(redPixels(canvas.image, QRect(130, 99, 40, 2)) > 20, onChord);
        QCOMPARE(redPixels(canvas.image, QRect(130, 85, 40, 8)) > 0, above);
        QCOMPARE(redPixels(canvas.image, QRect(130, 108, 40, 8)) > 0, below);
    }

    void weights_data() {
        QTest::addColumn<QString>("links");
        QTest::addColumn<bool>("show");
        QTest::addColumn<QRect>("where");
        QTest::addColumn<bool>("ink");
        QTest::newRow("arc length at the midpoint")
            << "ab" << true << QRect(150, 100, 20, 12) << true;
        QTest::newRow("hidden lengths") << "ab" << false << QRect(150, 100, 20, 12) << false;
        QTest::newRow("curved pair: no midpoint label")
            << "pair" << true << QRect(150, 100, 5, 12) << false;
        QTest::newRow("curved pair: label on the upper curve's side")
            << "pair" << true << QRect(147, 88, 20, 11) << true;
        QTest::newRow("curved pair: label on the lower curve's side")
            << "pair" << true << QRect(153, 112, 20, 11) << true;
        QTest::newRow("curved pair, lengths hidden")
            << "pair" << false << QRect(147, 88, 20, 11) << false;
    }

    void weights() {
        QFETCH(QString, links);
        QFETCH(bool, show);
        QFETCH(QRect, where);
        QFETCH(bool, ink);
        GraphMap map;
        buildMap(map, links, show);
        GraphCanvas canvas;
        canvas.resize(300, 220);
        RedrawGraph(canvas, map);
        QCOMPARE(textPixels(canvas.image, where) > 0, ink);
    }

    void notXorErasesItself_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("curved");
        QTest::newRow("eared") << 0 << false;
        QTest::newRow("triangle") << 1 << false;
        QTest::newRow("curved") << 0 << true;
    }

    void notXorErasesItself() {
        QFETCH(int, type);
        QFETCH(bool, curved);
        GraphMap map;
        buildMap(map, QStringLiteral("road"), true);
        GraphCanvas canvas;
        canvas.resize(300, 220);
        RedrawGraph(canvas, map);
        const QImage before = canvas.image.copy();
        canvas.penMode = PenMode::NotXor;
        canvas.penColor = Qt::black;
        canvas.penWidth = 2;
        for (int pass = 0; pass < 2; ++pass) {
            QPainter painter;
            beginPainting(painter, canvas);
            if (curved)
                DrawCurvedArc(painter, 20, 150, 250, 40, 6, type, 22, 3.0, 0, false);
            else
                DrawStraightArc(painter, 20, 150, 250, 40, 6, type, 15, 3.0);
            painter.end();
            if (pass == 0)
                QVERIFY(canvas.image != before);
        }
        QCOMPARE(canvas.image, before);
    }

    // A line width no screen can show is drawn 100 pixels wide at most; a stop at the ends of
    // the int range, with the most negative sizes, draws too.
    void extremeValuesDrawClamped() {
        GraphMap map;
        buildMap(map, QStringLiteral("ab"), false);
        map.Settings.ArcWidth = 1000000;
        const StopIndex far = map.AddStop(INT_MAX, INT_MAX, true);
        map.stop(far).Radius = INT_MAX;
        map.stop(far).Width = map.stop(far).Height = INT_MIN;
        map.stop(far).Label.Font.Size = INT_MIN;
        map.AddLink(0, far, {});
        GraphCanvas canvas;
        canvas.resize(400, 400);
        RedrawGraph(canvas, map);
        QCOMPARE(canvas.image.pixelColor(150, 300), windowColour());
    }

    void selectedStopIsSquare() {
        GraphMap map;
        const StopIndex s = map.AddStop(40, 40, true);
        map.stop(s).Width = map.stop(s).Height = 20;
        map.stop(s).Label.Visible = false;
        GraphCanvas canvas;
        canvas.resize(100, 100);
        RedrawGraph(canvas, map);
        const QRgb cornerRound = canvas.image.pixel(42, 42);
        StopSelection selection;
        selection.insert(s);
        RedrawGraph(canvas, map, &selection);
        QVERIFY(cornerRound == windowColour().rgb());
        QVERIFY(canvas.image.pixel(42, 42) != windowColour().rgb());
    }

    void colours_data() {
        QTest::addColumn<quint32>("stored");
        QTest::addColumn<QColor>("shown");
        QTest::newRow("red in the lowest byte") << quint32(0x000000FF) << QColor(255, 0, 0);
        QTest::newRow("blue in the third byte") << quint32(0x00FF0000) << QColor(0, 0, 255);
        QTest::newRow("stop fill") << quint32(0x00F0CAA6) << QColor(166, 202, 240);
        QTest::newRow("window background")
            << quint32(0xFF000005) << QGuiApplication::palette().color(QPalette::Base);
        QTest::newRow("hot-tracked items")
            << quint32(0xFF00001A) << QGuiApplication::palette().color(QPalette::Link);
    }

    void colours() {
        QFETCH(quint32, stored);
        QFETCH(QColor, shown);
        QCOMPARE(toQColor(stored), shown);
    }

    void fontFaces_data() {
        QTest::addColumn<QString>("stored");
        QTest::newRow("MS Sans Serif") << "MS Sans Serif";
        QTest::newRow("Arial") << "Arial";
        QTest::newRow("Times New Roman") << "Times New Roman";
        QTest::newRow("Courier New") << "Courier New";
        QTest::newRow("unknown") << "Nonexistent Face 12";
    }

    void fontFaces() {
        QFETCH(QString, stored);
        const QString face = mapFontFace(stored);
        QVERIFY2(QFontDatabase::families(QFontDatabase::Cyrillic).contains(face), qPrintable(face));
        FontSpec spec;
        spec.Name = stored;
        spec.Size = 9;
        spec.Bold = true;
        const QFont font = toQFont(spec);
        QCOMPARE(font.pixelSize(), 12);
        QVERIFY(font.bold());
    }
};

QTEST_MAIN(TestMapRenderer)
#include "tst_maprenderer.moc"
