#include "model/catalogue.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace lirsk;

class TestCatalogue : public QObject {
    Q_OBJECT
private slots:
    void recognition_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("city");
        QTest::newRow("trolleybus") << "toolbox/map/MapTrol.gaf"
                                    << "T"
                                    << "Lirsk";
        QTest::newRow("bus") << "toolbox/map/MapBus.gaf"
                             << "B"
                             << "Lirsk";
        QTest::newRow("tram") << "toolbox/map/MapTram.gaf"
                              << "A"
                              << "Lirsk";
        QTest::newRow("Lirsk metro") << "toolbox/map/LirskMetro.gaf"
                                     << "K"
                                     << "Lirsk";
        QTest::newRow("Lirsk routes") << "toolbox/map/LirskMar.gaf"
                                      << "C"
                                      << "Lirsk";
        QTest::newRow("Chelny tram") << "toolbox/map/ChelTram.gaf"
                                     << "T"
                                     << "Chelny";
        QTest::newRow("Lirsk metro diagram") << "toolbox/map/MLirsk.gaf"
                                             << "K"
                                             << "none";
        QTest::newRow("Piter") << "toolbox/map/MPiter.gaf"
                               << "P"
                               << "none";
        QTest::newRow("Samara") << "toolbox/map/MSamara.gaf"
                                << "S"
                                << "none";
        QTest::newRow("Yekaterinburg") << "toolbox/map/MEkater.gaf"
                                       << "E"
                                       << "none";
        QTest::newRow("Moscow") << "toolbox/map/MMoscow.gaf"
                                << "M"
                                << "none";
        QTest::newRow("other letter case") << "toolbox/map/mpiter.gaf"
                                           << ""
                                           << "";
        QTest::newRow("back-slashes") << "toolbox\\map\\MPiter.gaf"
                                      << ""
                                      << "";
        QTest::newRow("full path") << "/usr/share/lirskmap/toolbox/map/MPiter.gaf"
                                   << ""
                                   << "";
        QTest::newRow("leading ./") << "./toolbox/map/MPiter.gaf"
                                    << ""
                                    << "";
        QTest::newRow("trailing blank") << "toolbox/map/MPiter.gaf "
                                        << ""
                                        << "";
        QTest::newRow("empty") << ""
                               << ""
                               << "";
    }
    void recognition() {
        QFETCH(QString, path);
        QFETCH(QString, code);
        QFETCH(QString, city);
        const MapIdentity id = recognizeMapPath(path);
        QCOMPARE(id.mapCode, code);
        QCOMPARE(id.mapCity, city);
    }

    void routeTables_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("rowCount");
        QTest::addColumn<QString>("firstNumber");
        QTest::addColumn<QString>("lastNumber");
        QTest::newRow("T") << "T" << 17 << "1"
                           << "18";
        QTest::newRow("A") << "A" << 21 << "1"
                           << "23";
        QTest::newRow("K") << "K" << 2 << "1"
                           << "1";
        QTest::newRow("E") << "E" << 2 << "1"
                           << "1";
        QTest::newRow("S") << "S" << 2 << "1"
                           << "1";
        QTest::newRow("P") << "P" << 5 << "1"
                           << "4";
        QTest::newRow("M") << "M" << 12 << "1"
                           << "11";
    }
    void routeTables() {
        QFETCH(QString, code);
        QFETCH(int, rowCount);
        QFETCH(QString, firstNumber);
        QFETCH(QString, lastNumber);
        const std::optional<RouteTable> t = routeTableFor(code);
        QVERIFY(t);
        QCOMPARE(t->rowCount, rowCount);
        QCOMPARE(t->rows.size(), rowCount - 1);
        QCOMPARE(t->rows.first().number, firstNumber);
        QCOMPARE(t->rows.last().number, lastNumber);
        for (const RouteRow& row : t->rows) {
            QVERIFY(!row.name.isEmpty());
            QVERIFY2(!row.name.contains(QStringLiteral(" -")), qPrintable(row.name));
        }
    }

    void routeNumbersFollowTheNetworks() {
        const RouteTable trolTable = *routeTableFor("T");
        const RouteTable tramTable = *routeTableFor("A");
        QStringList trol, tram;
        for (const RouteRow& r : trolTable.rows)
            trol << r.number;
        for (const RouteRow& r : tramTable.rows)
            tram << r.number;
        QCOMPARE(trol.join(' '), QStringLiteral("1 2 3 4 5 6 7 8 9 10 11 12 13 15 17 18"));
        QCOMPARE(tram.join(' '),
                 QStringLiteral("1 2 3 4 5 6 7 8 9 10 11 12 13 14 16 19 20 21 22 23"));
        for (const RouteRow& r : tramTable.rows) {
            const int hyphens = int(r.name.count(QStringLiteral("- ")));
            QCOMPARE(hyphens, (r.number == "20" || r.number == "21") ? 2 : 1);
        }
        QCOMPARE(routeTableFor("P")->rows[1].name, QStringLiteral("пр.Просвещения- Купчино"));
        QCOMPARE(routeTableFor("M")->rows[4].name, QStringLiteral("Кольцевая"));
    }

    void busTableIsEmptyRowsAndOthersAreUntouched() {
        const std::optional<RouteTable> bus = routeTableFor("B");
        QVERIFY(bus);
        QCOMPARE(bus->rowCount, 16);
        QVERIFY(bus->rows.isEmpty());
        QVERIFY(!routeTableFor("C"));
        QVERIFY(!routeTableFor(""));
        QVERIFY(!routeTableFor("p"));
    }

    void setupByCity() {
        QCOMPARE(builtinSetup({"T", "Lirsk"}).picture,
                 QStringLiteral("toolbox/FonBitmap/Lirsk.jpg"));
        QVERIFY(!builtinSetup({"T", "Lirsk"}).showGraph);
        QCOMPARE(builtinSetup({"T", "Chelny"}).picture,
                 QStringLiteral("toolbox/FonBitmap/Chelny.jpg"));
        const BuiltinSetup metro = builtinSetup({"P", "none"});
        QVERIFY(metro.showGraph);
        QVERIFY(metro.picture.isEmpty());
        QCOMPARE(metro.routes->rowCount, 5);
        const BuiltinSetup plain = builtinSetup({});
        QVERIFY(!plain.showGraph);
        QVERIFY(plain.picture.isEmpty());
        QVERIFY(!plain.routes);
    }

    void menuCatalogue() {
        const QList<MapMenuEntry>& all = mapMenuCatalogue();
        int enabled = 0;
        for (const MapMenuEntry& e : all) {
            if (e.enabled) {
                ++enabled;
                QCOMPARE(recognizeMapPath(e.path).mapCode.isEmpty(), false);
            }
            if (e.entry == QStringLiteral("Москва"))
                QVERIFY(e.enabled && e.visible);
            if (e.entry == QStringLiteral("Автобусная"))
                QVERIFY(!e.enabled && !e.visible);
        }
        QCOMPARE(enabled, 8);
        QVERIFY(!mapMenuVisible(QStringLiteral("Карта Н.Челнов")));
    }

    void dataPathsAreFoundBesideTheProgram() {
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkpath("toolbox/map"));
        QFile f(root.filePath("toolbox/map/MPiter.gaf"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        const QString rel = QStringLiteral("toolbox/map/MPiter.gaf");
        QCOMPARE(resolveDataPath(rel, {"/nonexistent", root.path()}), root.filePath(rel));
        QCOMPARE(resolveDataPath(rel, {"/nonexistent"}), rel);
    }
};

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
