#include "gtfsfeed.h"

#include "import/gtfsimport.h"
#include "model/mapdescription.h"
#include "model/mapfile.h"

#include <QTemporaryDir>
#include <QTest>

#include <random>

// A slice of a mutation run: a small feed that uses every file the import reads, changed by a
// few random edits of its text (the seed fixes them), imported in this process, under the
// sanitizers in their build. Each import must end in a map the writer takes, or in one line that
// says why not. LIRSK_MUTATED_FEEDS sets how many feeds (200 by default).

using lirsktest::Feed;

namespace {

Feed base() {
    return {{"agency.txt", "agency_id,agency_name\nA,\"Transit, City\"\n"},
            {"stops.txt",
             "\xEF\xBB\xBFstop_id,stop_name,stop_lat,stop_lon,location_type,parent_station\r\n"
             "S,Station,55.75,37.6,1,\r\nP1,Platform 1,55.7501,37.6,0,S\r\n"
             "P2,Platform 2,55.7499,37.6,0,S\r\nX,\"Far, away\",55.76,37.61,,\r\n"
             "Y,Müllerstraße,55.751,37.601,,\r\nZ,北京,55.77,37.62,,\r\n"},
            {"routes.txt",
             "route_id,agency_id,route_short_name,route_long_name,route_type,route_color\n"
             "M,A,1,Metro line,1,FF0000\nB,A,1,Bus,3,0000FF\nT,,,Tram,900,\n"},
            {"trips.txt", "route_id,service_id,trip_id,shape_id\nM,s,m1,sh\nM,s,m2,\nB,s,b1,\n"
                          "T,s,t1,sh2\n"},
            {"stop_times.txt", "trip_id,arrival_time,departure_time,stop_id,stop_sequence\n"
                               "m1,08:00:00,08:00:00,P1,1\nm1,,,X,2\nm1,08:10:00,08:11:00,Z,3\n"
                               "m2,23:59:00,23:59:00,Z,1\nm2,24:05:00,24:05:00,P2,2\n"
                               "b1,09:00:00,09:00:00,Y,1\nb1,09:04:00,09:04:00,X,2\n"
                               "t1,10:00:00,10:00:00,S,1\nt1,10:03:00,10:03:00,Y,2\n"},
            {"shapes.txt", "shape_id,shape_pt_lat,shape_pt_lon,shape_pt_sequence\n"
                           "sh,55.7501,37.6,1\nsh,55.76,37.61,2\nsh,55.77,37.62,3\n"
                           "sh2,55.75,37.6,1\nsh2,55.751,37.601,5\n"},
            {"transfers.txt", "from_stop_id,to_stop_id,transfer_type,min_transfer_time\n"
                              "P1,Y,2,120\nX,Z,3,\nS,X,0,\n"},
            {"fare_attributes.txt", "fare_id,price,currency_type,payment_method,transfers\n"
                                    "f1,40,RUB,0,0\nf2,60,RUB,0,\n"}};
}

// Values that have broken importers.
const QByteArray kOddValues[] = {"",
                                 "-1",
                                 "0",
                                 "1e308",
                                 "-1e308",
                                 "nan",
                                 "inf",
                                 "999999:00:00",
                                 "24:60:00",
                                 "2147483648",
                                 "-0",
                                 "0x10",
                                 "\xF0\x9F\x9A\x8C",
                                 "\"",
                                 "\"\"",
                                 ",",
                                 "\n",
                                 "\r",
                                 QByteArray(1, '\0'),
                                 QByteArray(70000, 'x'),
                                 "S",
                                 "P1",
                                 "sh",
                                 "m1",
                                 "1.5",
                                 " 3 ",
                                 "\xFF\xFE"};

void mutate(Feed& feed, std::mt19937& random) {
    const auto pick = [&](auto size) {
        return std::uniform_int_distribution<qsizetype>(0, size - 1)(random);
    };
    const QString name = feed.keys()[pick(feed.size())];
    QByteArray& text = feed[name];
    QList<QByteArray> lines = text.split('\n');
    switch (pick(10)) {
    case 0: // a byte changed
        if (!text.isEmpty())
            text[pick(text.size())] = "\",\n\r\0\xFFx-9:"[pick(11)];
        return;
    case 1:
    case 2:
    case 3: // a field replaced by an odd value
    {
        const qsizetype line = pick(lines.size());
        QList<QByteArray> fields = lines[line].split(',');
        fields[pick(fields.size())] = kOddValues[pick(std::size(kOddValues))];
        lines[line] = fields.join(',');
        break;
    }
    case 4: // a line left out
        lines.removeAt(pick(lines.size()));
        break;
    case 5: // a line twice
        lines.insert(pick(lines.size()), lines[pick(lines.size())]);
        break;
    case 6: // the file cut short
        text.truncate(pick(text.size() + 1));
        return;
    case 7: // the file gone
        feed.remove(name);
        return;
    case 8: // two columns of the header swapped
    {
        QList<QByteArray> header = lines[0].split(',');
        if (header.size() > 1)
            header.swapItemsAt(pick(header.size()), pick(header.size()));
        lines[0] = header.join(',');
        break;
    }
    default: // a line from another file
    {
        const QByteArray other = feed.values()[pick(feed.size())];
        const QList<QByteArray> from = other.split('\n');
        lines.insert(pick(lines.size()), from[pick(from.size())]);
        break;
    }
    }
    text = lines.join('\n');
}

} // namespace

class TestGtfsMutation : public QObject {
    Q_OBJECT

private slots:
    void mutated_data();
    void mutated();
};

void TestGtfsMutation::mutated_data() {
    QTest::addColumn<int>("seed");
    const int feeds = qEnvironmentVariableIsSet("LIRSK_MUTATED_FEEDS")
                          ? qEnvironmentVariableIntValue("LIRSK_MUTATED_FEEDS")
                          : 200;
    for (int seed = 1; seed <= feeds; ++seed)
        QTest::addRow("feed %d", seed) << seed;
}

void TestGtfsMutation::mutated() {
    QFETCH(int, seed);
    std::mt19937 random(seed);
    Feed feed = base();
    for (int edits = 1 + int(random() % 4); edits > 0 && !feed.isEmpty(); --edits)
        mutate(feed, random);
    QTemporaryDir dir;
    QVERIFY(lirsktest::writeFeed(dir.path(), feed));
    lirsk::GtfsImportOptions options;
    options.maxMemory = qint64(1) << 30;
    lirsk::GraphMap map;
    lirsk::GtfsImportResult result;
    QString error;
    if (!lirsk::importGtfs(dir.path(), options, map, &result, &error)) {
        QVERIFY(!error.isEmpty());
        QVERIFY2(!error.contains(QLatin1Char('\n')) && map.stopCount() == 0, qPrintable(error));
        return;
    }
    QVERIFY(map.stopCount() > 0);
    QVERIFY2(lirsk::writeMap(map, false, &error).has_value(), qPrintable(error));
    QVERIFY(lirsk::describeAsJson(result.description).size() < (16 << 20));
}

QTEST_GUILESS_MAIN(TestGtfsMutation)
#include "tst_gtfsmutation.moc"
