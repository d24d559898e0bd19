// What the map area shows at 100 %, kept as hashes of its pixels: every built-in map as it opens
// (its network drawn over the city plan, where it has one), a found way, a rubber band, and marked
// stops in the editor. Rearranging the window's code must leave every one of these pictures as it
// is.

#include "editfixture.h"
#include "imagehash.h"
#include "mapstops.h"

#include "model/catalogue.h"
#include "view/maprenderer.h"

#include <QFileInfo>

using namespace lirsk;

Q_DECLARE_METATYPE(lirsk::MapMenuEntry)

namespace {

// The whole map at 100 %: every stop and name, and the background picture.
QImage wholeMap(MapWindow* child) {
    const QRect extent =
        mapExtent(child->Map()).united(QRect(QPoint(0, 0), child->view()->picture().size()));
    return child->view()->renderMap(extent);
}

} // namespace

class TestReferencePictures : public QObject {
    Q_OBJECT
    edittest::Fixture f;

    MapWindow* openBuiltin(const QString& path) {
        for (const MapMenuEntry& e : mapMenuCatalogue())
            if (e.path == path)
                return f.child = f.frame->OpenBuiltinMap(e);
        return nullptr;
    }

private slots:
    void init() { f.start(); }
    void cleanup() { f.stop(); }

    void builtinMaps_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("hash");
        QTest::newRow("MapTrol") << "toolbox/map/MapTrol.gaf"
                                 << "f2523ca1596f79060795f846286972ec";
        QTest::newRow("MapTram") << "toolbox/map/MapTram.gaf"
                                 << "ed1422516ce6ae3763c192df2acabecc";
        QTest::newRow("LirskMetro") << "toolbox/map/LirskMetro.gaf"
                                    << "1f3311fd1d336456bf11c9daef8b309a";
        QTest::newRow("MLirsk") << "toolbox/map/MLirsk.gaf"
                                << "20e7c379ab7a678c70ac84773c197aec";
        QTest::newRow("MPiter") << "toolbox/map/MPiter.gaf"
                                << "d2e6703c9861c26e56f8f7978f70a23a";
        QTest::newRow("MEkater") << "toolbox/map/MEkater.gaf"
                                 << "950e5ba61ff11c050ae744431b12c6c5";
        QTest::newRow("MSamara") << "toolbox/map/MSamara.gaf"
                                 << "680f682445945499a2ad9e40c4d67624";
        QTest::newRow("MMoscow") << "toolbox/map/MMoscow.gaf"
                                 << "5f5d92ed1bdc3c4ae4c681fcb8f84735";
    }

    void builtinMaps() {
        QFETCH(QString, path);
        QFETCH(QString, hash);
        if (!QFileInfo::exists(resolveDataPath(path, DataRoots())))
            QSKIP("this built-in map is not built");
        QVERIFY(openBuiltin(path));
        QCOMPARE(lirsktest::hashOf(wholeMap(f.child)), hash);
    }

    void gestures_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("gesture");
        QTest::addColumn<QString>("hash");
        QTest::newRow("found way, metro") << "toolbox/map/MPiter.gaf"
                                          << "way"
                                          << "4a39e659f77a05d0fc990aa9e9f25f94";
        QTest::newRow("found way, city plan") << "toolbox/map/MapTram.gaf"
                                              << "way"
                                              << "ed0e7f915a4f77249a36c51707dc6714";
        QTest::newRow("rubber band") << "toolbox/map/MPiter.gaf"
                                     << "band"
                                     << "127e9ca9ec16e2f36a8472df2fbf08ca";
        QTest::newRow("marked stops in the editor") << "toolbox/map/MPiter.gaf"
                                                    << "marked"
                                                    << "13c0f545b666e9d9fe1330658095f24c";
        QTest::newRow("selection rectangle in the editor") << "toolbox/map/MSamara.gaf"
                                                           << "rectangle"
                                                           << "5d927f4fc3f4454081e1e1b9fbeb7777";
    }

    void gestures() {
        QFETCH(QString, path);
        QFETCH(QString, gesture);
        QFETCH(QString, hash);
        if (!QFileInfo::exists(resolveDataPath(path, DataRoots())))
            QSKIP("this built-in map is not built");
        QVERIFY(openBuiltin(path));
        const GraphMap& map = f.child->Map();
        StopIndex first = 3;
        StopIndex second = map.stopCount() - 4;
        if (gesture == QLatin1String("way")) {
            if (path.endsWith(QLatin1String("MPiter.gaf"))) {
                first = testing::stopNamed(map, QStringLiteral("Девяткино"));
                second = testing::stopNamed(map, QStringLiteral("Купчино"));
            }
            QVERIFY(first != NoStop && second != NoStop);
            f.drag(f.centreOf(first), f.centreOf(second));
            QCOMPARE(f.dialogs, 1);
        } else if (gesture == QLatin1String("band")) {
            f.press(f.centreOf(first));
            f.moveTo(f.centreOf(first) + QPoint(140, 90));
        } else if (gesture == QLatin1String("marked")) {
            f.child->SetEditorMode(true);
            f.child->editor().SetPointerMode();
            f.click(f.centreOf(first));
            f.click(f.centreOf(second), Qt::ShiftModifier);
        } else {
            f.child->SetEditorMode(true);
            f.child->editor().SetPointerMode();
            f.press({5, 5});
            f.moveTo({200, 120});
            f.moveTo({260, 180});
        }
        QCOMPARE(lirsktest::hashOf(wholeMap(f.child)), hash);
    }
};

QTEST_MAIN(TestReferencePictures)
#include "tst_referencepictures.moc"
