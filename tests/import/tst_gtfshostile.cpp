#include "gaftoolrun.h"
#include "gtfsfeed.h"

#include "model/mapdescription.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <functional>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

// Feeds made to break the import, each imported by a gaftool of its own: it must end as expected
// within its bounds of time and of peak memory (read by wait4 here, the parent, which stays small:
// a child's peak starts at its parent's); a map it writes must be one the readers take. The
// sanitizers' build gets wider bounds.

using lirsktest::Feed;

namespace {

#ifdef LIRSK_SANITIZED
constexpr double kSlower = 8, kLarger = 4;
#else
constexpr double kSlower = 1, kLarger = 1;
#endif

// Builds a feed in the folder: its files, or a zip of them (feed.zip).
using Recipe = std::function<bool(const QString& folder)>;

Feed small() {
    return {{"routes.txt", "route_id,route_short_name,route_type\nR,1,3\n"},
            {"trips.txt", "route_id,service_id,trip_id\nR,s,t\n"},
            {"stops.txt", "stop_id,stop_name,stop_lat,stop_lon\nA,a,0,0\nB,b,0,0.01\n"},
            {"stop_times.txt", "trip_id,arrival_time,departure_time,stop_id,stop_sequence\n"
                               "t,1:00:00,1:00:00,A,1\nt,1:01:00,1:01:00,B,2\n"}};
}

// The small feed with a file changed.
Recipe with(const QString& name, const QByteArray& text) {
    return [=](const QString& folder) {
        Feed f = small();
        f[name] = text;
        return lirsktest::writeFeed(folder, f);
    };
}

// The small feed with stops.txt made by make(path).
Recipe withStops(std::function<bool(const QByteArray& path)> make) {
    return [=](const QString& folder) {
        Feed f = small();
        f.remove("stops.txt");
        return lirsktest::writeFeed(folder, f) &&
               make(QFile::encodeName(QDir(folder).filePath("stops.txt")));
    };
}

template <class F> QByteArray lines(int count, F line) {
    QByteArray text;
    for (int k = 0; k < count; ++k)
        text += line(k);
    return text;
}

QByteArray n(qint64 k) {
    return QByteArray::number(k);
}

// Writes a file of the header and count lines as it goes, so that this process stays small: a
// child spawned from it starts its peak memory at this one's.
template <class F>
bool writeLines(const QString& folder, const char* name, const char* header, int count, F line) {
    QFile f(QDir(folder).filePath(QLatin1String(name)));
    if (!f.open(QIODevice::WriteOnly) || f.write(header) < 0)
        return false;
    for (int k = 0; k < count; ++k)
        if (f.write(line(k)) < 0)
            return false;
    return true;
}

// Stops at one point, a route for each pair of them.
Recipe crowd(int stops) {
    return [=](const QString& folder) {
        return writeLines(folder, "stops.txt", "stop_id,stop_name,stop_lat,stop_lon\n", stops,
                          [](int k) { return "s" + n(k) + ",S,55.75,37.6\n"; }) &&
               writeLines(folder, "routes.txt", "route_id,route_type\n", stops / 2,
                          [](int k) { return "r" + n(k) + ",3\n"; }) &&
               writeLines(folder, "trips.txt", "route_id,service_id,trip_id\n", stops / 2,
                          [](int k) { return "r" + n(k) + ",s,t" + n(k) + "\n"; }) &&
               writeLines(folder, "stop_times.txt",
                          "trip_id,arrival_time,departure_time,stop_id,stop_sequence\n", stops,
                          [](int k) {
                              return "t" + n(k / 2) + ",1:0" + n(k % 2) + ":00,1:0" + n(k % 2) +
                                     ":00,s" + n(k) + "," + n(k % 2 + 1) + "\n";
                          });
    };
}

// 200 trips, each on its own 40 of 60 stops, along one shape of 300 000 points far from them.
bool farShape(const QString& folder) {
    Feed f = small();
    f.remove("stop_times.txt");
    f["stops.txt"] = "stop_id,stop_name,stop_lat,stop_lon\n" + lines(60, [](int k) {
                         return "s" + n(k) + ",S,0," + QByteArray::number(k * 0.003) + "\n";
                     });
    f["trips.txt"] = "route_id,service_id,trip_id,shape_id\n" +
                     lines(200, [](int k) { return "R,s,t" + n(k) + ",sh\n"; });
    return lirsktest::writeFeed(folder, f) &&
           writeLines(folder, "shapes.txt",
                      "shape_id,shape_pt_lat,shape_pt_lon,shape_pt_sequence\n", 300000,
                      [](int k) {
                          return "sh," + QByteArray::number(10 + k * 1e-5, 'f', 6) + ",10," + n(k) +
                                 "\n";
                      }) &&
           writeLines(folder, "stop_times.txt",
                      "trip_id,arrival_time,departure_time,stop_id,stop_sequence\n", 200 * 40,
                      [](int k) {
                          const int trip = k / 40, call = k % 40;
                          return "t" + n(trip) + ",1:" + n(10 + call) + ":00,1:" + n(10 + call) +
                                 ":00,s" + n((trip + call) % 60) + "," + n(call) + "\n";
                      });
}

// Routes enough, with long names, for a description past its reader's 16 MiB.
bool manyRoutes(const QString& folder) {
    const int count = 250000;
    Feed f = small();
    f.remove("stop_times.txt");
    return lirsktest::writeFeed(folder, f) &&
           writeLines(folder, "routes.txt",
                      "route_id,route_short_name,route_long_name,route_type\n", count,
                      [](int k) {
                          return "r" + n(k) + "," + n(k) +
                                 ",The long name of a route of the city number " + n(k) + ",3\n";
                      }) &&
           writeLines(folder, "trips.txt", "route_id,service_id,trip_id\n", count,
                      [](int k) { return "r" + n(k) + ",s,t" + n(k) + "\n"; }) &&
           writeLines(folder, "stop_times.txt",
                      "trip_id,arrival_time,departure_time,stop_id,stop_sequence\n", 2 * count,
                      [](int k) {
                          return "t" + n(k / 2) +
                                 (k % 2 ? ",1:01:00,1:01:00,B,2\n" : ",1:00:00,1:00:00,A,1\n");
                      });
}

void putLe(QByteArray& out, quint64 value, int bytes) {
    for (int k = 0; k < bytes; ++k)
        out += char((value >> (8 * k)) & 0xFF);
}

// feed.zip of the files deflated; a file named in declared says it holds that many bytes (past
// 4 GiB through the zip64 field), and crcFlip spoils every checksum.
bool writeZip(const QString& folder, const Feed& files, const QMap<QString, quint64>& declared,
              quint32 crcFlip = 0) {
    QByteArray zip, central;
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        const QByteArray& data = it.value();
        // qCompress gives a length, zlib's header, the deflated bytes and zlib's checksum.
        const QByteArray packed = qCompress(data, 9).mid(6).chopped(4);
        const quint64 size = declared.value(it.key(), quint64(data.size()));
        const bool big = size >= 0xFFFFFFFF;
        QByteArray extra;
        if (big) {
            putLe(extra, 1, 2);
            putLe(extra, 16, 2);
            putLe(extra, size, 8);
            putLe(extra, quint64(packed.size()), 8);
        }
        QByteArray common; // from the version needed to the extra field's length
        putLe(common, 45, 2);
        putLe(common, 0, 2);
        putLe(common, 8, 2);          // deflated
        putLe(common, 0x00210000, 4); // 1980-01-01 00:00
        putLe(common,
              crc32(0, reinterpret_cast<const Bytef*>(data.constData()), uInt(data.size())) ^
                  crcFlip,
              4);
        putLe(common, big ? 0xFFFFFFFF : quint64(packed.size()), 4);
        putLe(common, big ? 0xFFFFFFFF : size, 4);
        putLe(common, quint64(it.key().size()), 2);
        putLe(common, quint64(extra.size()), 2);
        putLe(central, 0x02014b50, 4);
        putLe(central, 45, 2);
        central += common;
        putLe(central, 0, 6); // comment, disk, attributes
        putLe(central, 0, 4);
        putLe(central, quint64(zip.size()), 4);
        central += it.key().toUtf8() + extra;
        putLe(zip, 0x04034b50, 4);
        zip += common + it.key().toUtf8() + extra + packed;
    }
    QByteArray end;
    putLe(end, 0x06054b50, 4);
    putLe(end, 0, 4);
    putLe(end, quint64(files.size()), 2);
    putLe(end, quint64(files.size()), 2);
    putLe(end, quint64(central.size()), 4);
    putLe(end, quint64(zip.size()), 4);
    putLe(end, 0, 2);
    return lirsktest::writeFeed(folder, {{"feed.zip", zip + central + end}});
}

struct Measured {
    int exitCode = -1; // -1: killed by a signal, or past its time
    QByteArray out;
    double seconds = 0;
    double peakMegabytes = 0;
};

// Runs gaftool with the arguments, its standard output to a file, and measures it; killed at
// the time limit.
Measured runGaftool(const QStringList& args, const QString& outFile, double limitSeconds) {
    std::vector<QByteArray> words{QByteArrayLiteral(GAFTOOL_PATH)};
    for (const QString& a : args)
        words.push_back(QFile::encodeName(a));
    std::vector<char*> argv;
    for (QByteArray& w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const QByteArray outPath = QFile::encodeName(outFile);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.constData(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    Measured m;
    QElapsedTimer clock;
    clock.start();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return m;
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, WNOHANG, &usage) == 0) {
        if (clock.elapsed() > limitSeconds * 1000)
            kill(pid, SIGKILL);
        usleep(10000);
    }
    m.seconds = double(clock.elapsed()) / 1000;
    m.peakMegabytes = double(usage.ru_maxrss) / 1024;
    m.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    QFile out(outFile);
    if (out.open(QIODevice::ReadOnly))
        m.out = out.readAll();
    return m;
}

} // namespace

class TestGtfsHostile : public QObject {
    Q_OBJECT

private slots:
    void hostile_data();
    void hostile();
};

void TestGtfsHostile::hostile_data() {
    QTest::addColumn<Recipe>("recipe");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("says"); // a record the run writes, in part; FEED is the feed
    QTest::addColumn<double>("seconds");
    QTest::addColumn<double>("megabytes");
    const QStringList none;
    QTest::newRow("20 000 stops at one point, a route for each pair")
        << crowd(20000) << none << 0 << "renamed\t0" << 30.0 << 1024.0;
    QTest::newRow("a 300 000-point shape far from its stops, 200 trips")
        << Recipe(farShape) << none << 0 << "renamed\t0" << 30.0 << 1024.0;
    QTest::newRow("200 000 prices")
        << with("fare_attributes.txt",
                "fare_id,price\n" +
                    lines(200000, [&](int k) { return "f" + n(k) + "," + n(k) + ".5\n"; }))
        << none << 0 << "renamed\t0" << 30.0 << 1024.0;
    QTest::newRow("prices no map holds")
        << with("fare_attributes.txt", "fare_id,price\na,-3\nb,1e308\n") << none << 0
        << "note\tцен в fare_attributes.txt вне 0…10⁹, оставленных без внимания: 2" << 5.0 << 256.0;
    QTest::newRow("a description past 16 MiB")
        << Recipe(manyRoutes) << none << 0
        << "note\tмаршрутов так много, что описание карты превысило бы 16 МБ" << 30.0 << 1024.0;
    QTest::newRow("names of 600 000 letters, every other foreign")
        << with("stops.txt", "stop_id,stop_name,stop_lat,stop_lon\nA," +
                                 QByteArray("üa").repeated(300000) + ",0,0\nB," +
                                 QByteArray("çb").repeated(300000) + ",0,0.01\n")
        << none << 0 << "renamed\t2" << 30.0 << 1024.0;
    QTest::newRow("a record of 2 MiB")
        << with("stops.txt",
                "stop_id,stop_name,stop_lat,stop_lon\nA," + QByteArray(2 << 20, 'x') + ",0,0\n")
        << none << 2 << "error\tFEED: stops.txt: строка 2: запись длиннее 1048576 байт" << 5.0
        << 256.0;
    QTest::newRow("a line of commas")
        << with("stops.txt", "stop_id,stop_name,stop_lat,stop_lon\n" + QByteArray(4 << 20, ','))
        << none << 2 << "error\tFEED: stops.txt: строка 2: в записи больше 4096 полей" << 5.0
        << 256.0;
    QTest::newRow("more stops than the memory budget holds")
        << with("stops.txt", "stop_id,stop_lat,stop_lon\n" +
                                 lines(300000, [&](int k) { return n(k) + ",0,0\n"; }))
        << QStringList{"--max-memory", "64M"} << 2
        << "error\tFEED: импорту нужно больше памяти, чем ему отведено: 64 МБ" << 30.0 << 256.0;
    QTest::newRow("a zipped file that declares 17 GiB") << Recipe([](const QString& folder) {
        return writeZip(folder, small(), {{"stops.txt", quint64(17) << 30}});
    }) << none << 2 << "error\tFEED: stops.txt: в архиве объявлен размером больше 16 ГиБ"
                                                        << 1.0 << 256.0;
    QTest::newRow("a zipped file inflating past what it declares")
        << Recipe([](const QString& folder) {
               Feed f = small();
               f["stops.txt"] += QByteArray("X,x,0,0\n").repeated(1 << 17);
               return writeZip(folder, f, {{"stops.txt", 100}});
           })
        << none << 2 << "error\tFEED: stops.txt: ошибка чтения: распаковывается больше объявленных "
        << 1.0 << 256.0;
    QTest::newRow("a zip with broken checksums: libzip's reason in Russian")
        << Recipe([](const QString& folder) { return writeZip(folder, small(), {}, 1); }) << none
        << 2 << "контрольная сумма не сходится" << 1.0 << 256.0;
    QTest::newRow("stops.txt a FIFO")
        << withStops([](const QByteArray& path) { return mkfifo(path.constData(), 0600) == 0; })
        << none << 2 << "error\tFEED: stops.txt: это канал (FIFO), а не файл" << 5.0 << 256.0;
    QTest::newRow("stops.txt a device") << withStops([](const QByteArray& path) {
        return symlink("/dev/zero", path.constData()) == 0;
    }) << none << 2 << "error\tFEED: stops.txt: это устройство, а не файл"
                                        << 5.0 << 256.0;
    QTest::newRow("stops.txt a folder")
        << withStops([](const QByteArray& path) { return mkdir(path.constData(), 0700) == 0; })
        << none << 2 << "error\tFEED: stops.txt: это папка, а не файл" << 5.0 << 256.0;
}

void TestGtfsHostile::hostile() {
    QFETCH(Recipe, recipe);
    QFETCH(QStringList, options);
    QTemporaryDir dir;
    const QString folder = dir.filePath("feed");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(recipe(folder));
    const QString feed = QFile::exists(QDir(folder).filePath("feed.zip"))
                             ? QDir(folder).filePath("feed.zip")
                             : folder;
    const QString map = dir.filePath("city.gaf");
    QFETCH(double, seconds);
    QFETCH(double, megabytes);
    const Measured m = runGaftool(QStringList{"import-gtfs", feed, map, "--machine"} + options,
                                  dir.filePath("records.txt"), 3 * kSlower * seconds);
    QFETCH(int, exitCode);
    QFETCH(QString, says);
    QCOMPARE(m.exitCode, exitCode);
    QVERIFY2(QString::fromUtf8(m.out).contains(QString(says).replace("FEED", feed)),
             m.out.right(400).constData());
    QVERIFY2(m.seconds < kSlower * seconds, qPrintable(QString::number(m.seconds)));
    QVERIFY2(m.peakMegabytes < kLarger * megabytes, qPrintable(QString::number(m.peakMegabytes)));
    if (exitCode != 0)
        return;
    // The readers take the map and its description: convert reads both (in a process of its
    // own, so that this one stays small).
    const QString copy = dir.filePath("copy.gaf");
    const lirsktest::GaftoolRun converted =
        lirsktest::runGaftool({"convert", map, copy}, QString(), int(3 * kSlower * seconds * 1000));
    QVERIFY2(converted.exitCode == 0, converted.err.constData());
    QVERIFY(QFile::exists(lirsk::descriptionPathFor(copy)));
}

QTEST_GUILESS_MAIN(TestGtfsHostile)
#include "tst_gtfshostile.moc"
