#include "document/mapdocument.h"
#include "filebuilder.h"
#include "model/mapfile.h"
#include "model/mapjson.h"
#include "model/textcodec.h"

#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cmath>
#include <cstring>
#include <limits>

using namespace lirsk;

namespace {

using lirsktest::FileBuilder;

QByteArray sampleFile() {
    return FileBuilder()
        .header(3, 9)
        .stop(0, 100, 50, QStringLiteral("Девяткино"), QStringLiteral("P1"))
        .stop(9, 200, 50, QStringLiteral("Купчино"), QStringLiteral("P1 P2"), 14, 3)
        .stop(4, 300, 80, QString(), QString())
        .link(0, 9, 0, 1500, 120)
        .link(0, 4, 2, 2.35, 1)
        .link(9, 0, 0, 1500, 130)
        .link(9, 4, 1, 700.5, 60)
        .link(4, 9, 1, 800, 60)
        .bytes;
}

QByteArray roundTrip(const QByteArray& in) {
    GraphMap map;
    QString error;
    if (!readMap(in, map, &error))
        return "read failed: " + error.toUtf8();
    return writeMap(map, map.StoredSearchPanel, &error).value_or("write failed");
}

} // namespace

class TestMapFile : public QObject {
    Q_OBJECT
private slots:
    void readsEveryStoredField() {
        GraphMap map;
        QString error;
        QVERIFY2(readMap(sampleFile(), map, &error), qPrintable(error));
        const DisplaySettings& s = map.Settings;
        QCOMPARE(s.UserWeights, true);
        QCOMPARE(s.AutoArcColor, false);
        QCOMPARE(s.ArcColor, Colour(0x00123456));
        QCOMPARE(s.ShowWeights, true);
        QCOMPARE(s.TreeColor, Colour(0x00FF0000));
        QCOMPARE(s.ArrowSize, 17);
        QCOMPARE(s.ArrowAngle, 2.5);
        QCOMPARE(s.ArrowType, 1);
        QCOMPARE(s.ArcWidth, 3);
        QCOMPARE(map.MaxStopId, 9);
        QVERIFY(map.StoredSearchPanel);
        QCOMPARE(map.stopCount(), 3);

        QVERIFY(map.FindStopById(9) != NoStop);
        const Stop* k = &map.stop(map.FindStopById(9));
        QCOMPARE(k->Left, 200);
        QCOMPARE(k->Top, 50);
        QCOMPARE(k->Width, 14);
        QCOMPARE(k->Height, 14);
        QCOMPARE(k->Radius, 3); // as stored, not recomputed from the size
        QCOMPARE(k->FillColor, Colour(0xFF));
        QCOMPARE(k->Font, (FontSpec{"Arial", 9, 0x8000, false, true, false, false}));
        QCOMPARE(k->Label.Caption, QStringLiteral("Купчино"));
        QCOMPARE(k->Routes, QStringLiteral("P1 P2"));
        QCOMPARE(k->Label.Left, 212);
        QCOMPARE(k->Label.Top, 47);
        QVERIFY(k->Label.Visible);
        QCOMPARE(k->Label.Font,
                 (FontSpec{"Times New Roman", 11, 0x800000, true, false, false, true}));

        const Stop& blank = map.stop(map.FindStopById(4));
        QCOMPARE(blank.Label.Caption, QString());
        QCOMPARE(blank.Routes, QString());
    }

    void derivesRoadsAndArcs() {
        GraphMap map;
        QVERIFY(readMap(sampleFile(), map, nullptr));
        const StopIndex a = map.FindStopById(0), b = map.FindStopById(9), c = map.FindStopById(4);
        // equal lengths with different times: a road
        QVERIFY(!map.FindLink(a, b)->IsArc);
        QVERIFY(!map.FindLink(b, a)->IsArc);
        QCOMPARE(map.FindLink(b, a)->Time, 130.0);
        // different lengths both ways: two arcs
        QVERIFY(map.FindLink(b, c)->IsArc);
        QVERIFY(map.FindLink(c, b)->IsArc);
        // one way only
        QVERIFY(map.FindLink(a, c)->IsArc);
        QCOMPARE(map.FindLink(a, c)->Length, 2.35);
    }

    void headerOnlyFileIsAnEmptyMap() {
        GraphMap map;
        const QByteArray bytes = FileBuilder().header(0, 0).bytes;
        QCOMPARE(bytes.size(), 56);
        QVERIFY(readMap(bytes, map, nullptr));
        QCOMPARE(map.stopCount(), 0);
        QCOMPARE(map.Settings.ArrowSize, 17);
    }

    void negativeStopCountReadsNoStops() {
        GraphMap map;
        QVERIFY(readMap(FileBuilder().header(-5).bytes, map, nullptr));
        QCOMPARE(map.stopCount(), 0);
    }

    void everyPrefixIsReadOrRefusedCleanly() {
        const QByteArray full = sampleFile();
        const int stopsEnd = int(full.size()) - 5 * kLinkRecordSize;
        for (int n = 0; n <= full.size(); ++n) {
            GraphMap map;
            QString error;
            const bool ok = readMap(full.left(n), map, &error);
            const bool whole = n >= stopsEnd && (n - stopsEnd) % kLinkRecordSize == 0;
            QVERIFY2(ok == whole, qPrintable(QStringLiteral("prefix %1").arg(n)));
            QVERIFY(ok || !error.isEmpty());
        }
    }

    void brokenInputIsRefused_data() {
        QTest::addColumn<QByteArray>("bytes");
        QByteArray negativeString = FileBuilder().header(1).bytes;
        negativeString += QByteArray(kStopRecordSize, '\0');
        negativeString += QByteArray::fromHex("ffffffff");
        QTest::newRow("negative string length") << negativeString;

        QByteArray hugeString = FileBuilder().header(1).bytes;
        hugeString += QByteArray(kStopRecordSize, '\0');
        hugeString += QByteArray::fromHex("ffffff7f") + "abc";
        QTest::newRow("string longer than the file") << hugeString;

        QByteArray hugeCount = FileBuilder().header(std::numeric_limits<int>::max()).bytes;
        hugeCount += QByteArray(200, '\0');
        QTest::newRow("stop count larger than the file") << hugeCount;

        QTest::newRow("link to a missing id")
            << FileBuilder().header(1).stop(0, 0, 0, "a", "").link(0, 5, 0, 1, 1).bytes;
        QTest::newRow("link from a missing id")
            << FileBuilder().header(1).stop(0, 0, 0, "a", "").link(5, 0, 0, 1, 1).bytes;
        QTest::newRow("surplus bytes after the links")
            << FileBuilder().header(1).stop(0, 0, 0, "a", "").bytes + QByteArray(31, '\0');
        QTest::newRow("short header") << QByteArray(55, '\0');
    }
    void brokenInputIsRefused() {
        QFETCH(QByteArray, bytes);
        GraphMap map;
        QString error;
        QVERIFY(!readMap(bytes, map, &error));
        QVERIFY(!error.isEmpty());
    }

    void anyNonZeroByteIsTrue() {
        QByteArray bytes = FileBuilder().header(0).bytes;
        bytes[1] = char(0x7F);
        bytes[48] = char(0x80);
        GraphMap map;
        QVERIFY(readMap(bytes, map, nullptr));
        QVERIFY(map.Settings.AutoArcColor);
        QVERIFY(map.StoredSearchPanel);
    }

    void fileToModelToFileIsByteIdentical() { QCOMPARE(roundTrip(sampleFile()), sampleFile()); }

    void modelToFileToModelKeepsOrderIdsAndGaps() {
        GraphMap map;
        for (int i = 0; i < 6; ++i)
            map.AddStop(i * 30, i * 7, true);
        map.DeleteStop(map.FindStopById(2));
        map.AddStop(500, 500, true); // reuses 2, placed last
        map.AddLink(3, 0, {0, map.cornerDistance(3, 0), 0});
        map.AddLink(3, 1, {0, map.cornerDistance(3, 1), 0});
        map.AddLink(1, 3, {0, map.cornerDistance(1, 3), 0});
        map.stop(0).Label.Caption = QStringLiteral("Ёлки");
        map.MaxStopId = 12;

        const QByteArray bytes = *writeMap(map, false, nullptr);
        GraphMap back;
        QVERIFY(readMap(bytes, back, nullptr));
        QCOMPARE(back.MaxStopId, 12);
        QCOMPARE(back.stopCount(), map.stopCount());
        for (int i = 0; i < map.stopCount(); ++i) {
            const Stop& x = map.stop(i);
            const Stop& y = back.stop(i);
            QCOMPARE(y.Id, x.Id);
            QCOMPARE(y.Left, x.Left);
            QCOMPARE(y.Label.Caption, x.Label.Caption);
            QCOMPARE(y.Links.size(), x.Links.size());
            for (std::size_t j = 0; j < x.Links.size(); ++j) {
                QCOMPARE(back.stop(y.Links[j].To).Id, map.stop(x.Links[j].To).Id);
                QCOMPARE(y.Links[j].Length, x.Links[j].Length);
                QCOMPARE(y.Links[j].IsArc, x.Links[j].IsArc);
            }
        }
        QCOMPARE(*writeMap(back, false, nullptr), bytes);
    }

    void markedStopSavesItsOwnColour() {
        // A marked stop is drawn in the selection colour; the file gets its own.
        MapDocument document;
        QVERIFY(readMap(sampleFile(), document.map(), nullptr));
        document.toggleSelected(document.map().FindStopById(9));
        QCOMPARE(*writeMap(document.map(), true, nullptr), sampleFile());
    }

    void readOnlyFileOpens() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ro.gaf"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(sampleFile());
        f.close();
        QVERIFY(f.setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadGroup));
        GraphMap map;
        QString error;
        QVERIFY2(readMapFile(path, map, &error), qPrintable(error));
        QCOMPARE(map.stopCount(), 3);
    }

    // A file is read a window at a time: a map larger than the window reads as its bytes do,
    // and one cut short fails, wherever it ends.
    void largeFileReadsAsItsBytes_data() {
        QTest::addColumn<int>("cut"); // bytes cut off the end; -1: all the links and more
        QTest::addColumn<bool>("whole");
        QTest::newRow("whole") << 0 << true;
        QTest::newRow("inside a link") << 5 << false;
        QTest::newRow("inside a stop past the first window") << -1 << false;
    }
    void largeFileReadsAsItsBytes() {
        QFETCH(int, cut);
        QFETCH(bool, whole);
        constexpr int kStops = 2000;
        FileBuilder builder;
        builder.header(kStops, kStops - 1);
        for (int k = 0; k < kStops; ++k)
            builder.stop(k, k, k, QStringLiteral("Остановка %1 ").arg(k).repeated(12),
                         QStringLiteral("A%1").arg(k).repeated(20));
        for (int k = 0; k + 1 < kStops; ++k)
            builder.link(k, k + 1, 1, 100 + k, 60);
        const QByteArray bytes = builder.bytes;
        QVERIFY(bytes.size() > 2 * (256 << 10));
        const qsizetype kept =
            cut < 0 ? bytes.size() - kStops * kLinkRecordSize - 1000 : bytes.size() - cut;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("large.gaf"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes.left(kept)) == kept);
        f.close();
        GraphMap map;
        QString error;
        QCOMPARE(readMapFile(path, map, &error), whole);
        if (whole)
            QCOMPARE(writeMap(map, map.StoredSearchPanel, nullptr).value_or(""), bytes);
        else
            QVERIFY(!error.isEmpty());
    }

    void missingFileReportsWhy() {
        GraphMap map;
        QString error;
        QVERIFY(!readMapFile(QStringLiteral("/nonexistent/dir/x.gaf"), map, &error));
        QVERIFY(!error.isEmpty());
    }

    void unencodableTextRefusesTheSaveAndKeepsTheOldFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("m.gaf"));
        GraphMap map;
        QVERIFY(readMap(sampleFile(), map, nullptr));
        QString error;
        QVERIFY(saveMapFile(path, map, true, &error));
        map.stop(map.FindStopById(9)).Routes = QStringLiteral("P1 ✓");
        QVERIFY(!saveMapFile(path, map, true, &error));
        QVERIFY(error.contains(QStringLiteral("Купчино")));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), sampleFile());
    }

    void saveIntoMissingFolderFails() {
        GraphMap map;
        QString error;
        QVERIFY(!saveMapFile(QStringLiteral("/nonexistent/dir/x.gaf"), map, false, &error));
        QVERIFY(!error.isEmpty());
    }

    void jsonRoundTripIsLossless() {
        GraphMap map;
        QVERIFY(readMap(sampleFile(), map, nullptr));
        map.FindLink(map.FindStopById(0), map.FindStopById(4))->Time = -0.0;
        map.FindLink(map.FindStopById(0), map.FindStopById(4))->Price =
            std::numeric_limits<double>::quiet_NaN();
        map.Settings.ArrowAngle = 0.1 + 0.2;
        const QByteArray json = mapToJsonText(map);
        // A negative zero is a number, NaN a string.
        QVERIFY(json.contains("\"time\": -0.0,"));
        QVERIFY(json.contains("\"price\": \"NaN\","));

        GraphMap back;
        QString error;
        QVERIFY2(mapFromJsonText(json, back, &error), qPrintable(error));
        QCOMPARE(mapToJsonText(back), json);
        QCOMPARE(*writeMap(back, true, nullptr), *writeMap(map, true, nullptr));
        const Link* l = back.FindLink(back.FindStopById(0), back.FindStopById(4));
        QVERIFY(std::signbit(l->Time));
        QVERIFY(std::isnan(l->Price));
    }

    void jsonErrorsNameThePlace_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("where");
        QTest::newRow("wrong type")
            << QByteArray(R"({"header": {"arrow_size": "big"}})") << "map.header.arrow_size";
        QTest::newRow("fractional id")
            << QByteArray(R"({"stops": [{"id": 1.5}]})") << "map.stops[0].id";
        QTest::newRow("missing target")
            << QByteArray(R"({"stops": [{"id": 0, "links": [{"to": 3}]}]})")
            << "map.stops[0].links[0]";
        QTest::newRow("colour out of range")
            << QByteArray(R"({"stops": [{"id": 0, "fill_color": -1}]})")
            << "map.stops[0].fill_color";
        QTest::newRow("stop without id")
            << QByteArray(R"({"stops": [{"name": "A"}]})") << "map.stops[0].id";
        QTest::newRow("link without target")
            << QByteArray(R"({"stops": [{"id": 0, "links": [{"length": 5}]}]})")
            << "map.stops[0].links[0].to";
    }
    void jsonErrorsNameThePlace() {
        QFETCH(QByteArray, json);
        QFETCH(QString, where);
        GraphMap map;
        QString error;
        QVERIFY(!mapFromJson(QJsonDocument::fromJson(json).object(), map, &error));
        QVERIFY2(error.startsWith(where), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(TestMapFile)
#include "tst_mapfile.moc"
