// Unsaved changes survive a program that is killed: a child copy of this test opens a map, edits
// it, waits for its recovery copy and is killed; the parent then finds the copy, is offered it
// and opens it under the map's own name, marked changed, equal to the map before the kill, with
// the description and the timetable the map had. Copies planted by others are never written
// through.

#include "app/mainwindow.h"
#include "app/mapwindow.h"
#include "app/recovery.h"
#include "edit/mapeditor.h"
#include "gtfsfeed.h"
#include "model/catalogue.h"
#include "model/mapdescription.h"
#include "model/mapfile.h"
#include "model/safefile.h"
#include "platform/messages.h"
#include "timetable/timetablebuilder.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

#include <csignal>
#include <sys/stat.h>

using namespace lirsk;

namespace {

QString describe(const GraphMap& map) {
    QStringList lines;
    for (const Stop& s : map.stops()) {
        lines
            << QStringLiteral("%1 %2,%3 %4").arg(s.Id).arg(s.Left).arg(s.Top).arg(s.Label.Caption);
        for (const Link& l : s.Links)
            lines << QStringLiteral("  -> %1 %2").arg(map.stop(l.To).Id).arg(l.Length);
    }
    return lines.join(QLatin1Char('\n'));
}

const MapMenuEntry* samara() {
    for (const MapMenuEntry& e : mapMenuCatalogue())
        if (e.path.endsWith(QLatin1String("MSamara.gaf")))
            return &e;
    return nullptr;
}

QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

const QByteArray kDescription =
    "{\"map_code\": \"Z\", \"title\": \"Тествиль\", \"base_fare\": 3, \"transfer_fare\": 0, "
    "\"fare_unit\": \"€\", \"night\": {\"fare\": 5}, "
    "\"routes\": [{\"code\": \"Z1\", \"number\": \"1\"}]}";

// A two-stop map with its description, in dir.
QString writeDescribedMap(const QString& dir) {
    const QString file = QDir(dir).filePath(QStringLiteral("testville.gaf"));
    GraphMap map;
    const StopIndex a = map.AddStop(40, 40, true);
    const StopIndex b = map.AddStop(200, 60, true);
    map.stop(a).Label.Caption = QStringLiteral("Alpha");
    map.stop(b).Label.Caption = QStringLiteral("Foxtrot");
    map.stop(a).Routes = map.stop(b).Routes = QStringLiteral("Z1");
    map.AddLink(a, b, {0, 300, 0});
    map.AddLink(b, a, {0, 300, 0});
    QString error;
    if (!saveMapFile(file, map, false, &error) ||
        !writeBytes(descriptionPathFor(file), kDescription))
        return QString();
    return file;
}

// The map's timetable beside it: a trip from Alpha to Foxtrot every day of 2026.
bool writeTimetableBeside(const QString& mapFile) {
    const QString feed = QFileInfo(mapFile).dir().filePath(QStringLiteral("feed"));
    GraphMap map;
    TimetableBuildResult result;
    QString error;
    return QDir().mkpath(feed) &&
           lirsktest::writeFeed(
               feed,
               {{"agency.txt", "agency_name,agency_url,agency_timezone\nZ,http://z,Europe/Paris\n"},
                {"stops.txt",
                 "stop_id,stop_name,stop_lat,stop_lon\nA,Alpha,0,0\nF,Foxtrot,0,0.01\n"},
                {"routes.txt", "route_id,route_short_name,route_type\n1,1,0\n"},
                {"trips.txt", "route_id,service_id,trip_id\n1,s,t\n"},
                {"stop_times.txt", "trip_id,arrival_time,departure_time,stop_id,stop_sequence\n"
                                   "t,08:00:00,08:00:00,A,1\nt,08:05:00,08:05:00,F,2\n"},
                {"calendar.txt",
                 "service_id,monday,tuesday,wednesday,thursday,friday,saturday,"
                 "sunday,start_date,end_date\ns,1,1,1,1,1,1,1,20260101,20261231\n"}}) &&
           readMapFile(mapFile, map, &error) && buildTimetable(feed, {}, map, &result, &error) &&
           saveWholeFile(timetablePathFor(mapFile), result.file, &error);
}

// The file's inode: a file written anew has another.
ino_t inodeOf(const QString& path) {
    struct stat s {};
    return ::stat(QFile::encodeName(path).constData(), &s) == 0 ? s.st_ino : 0;
}

bool waitFor(const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 10000)
        QTest::qWait(20);
    return done();
}

bool noCopyLeft() {
    return QDir(RecoveryKeeper::folder()).entryList({QStringLiteral("*.json")}).isEmpty();
}

// The child: opens the map (Samara when mapFile is empty), adds stops, waits for the copy, writes
// what the map holds for the parent and is killed. With "undo" it takes its one edit back first
// and waits for the copy to go.
int runChild(const QString& how, const QString& mapFile, const QString& expectedFile) {
    MainWindow frame;
    frame.show();
    MapWindow* child = mapFile.isEmpty() ? frame.OpenBuiltinMap(*samara())
                                         : frame.OpenMap(mapFile, QStringLiteral("Тествиль"));
    if (!child)
        return 1;
    child->SetEditorMode(true);
    const int edits = how == QLatin1String("undo") ? 1 : 3;
    for (int i = 0; i < edits; ++i)
        child->editor().AddStopAt(300 + 40 * i, 500);
    if (!waitFor([] { return !noCopyLeft(); }))
        return 1;
    if (how == QLatin1String("undo")) {
        child->editor().undoStack()->undo();
        waitFor(noCopyLeft);
    }
    QFile expected(expectedFile);
    if (!expected.open(QIODevice::WriteOnly))
        return 1;
    expected.write(describe(child->Map()).toUtf8());
    expected.close();
    std::raise(SIGKILL);
    return 1;
}

} // namespace

class TestRecovery : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QStringList messages;

private slots:
    void init() {
        QDir(RecoveryKeeper::folder()).removeRecursively();
        messages.clear();
        setMessageHandler([this](const MessageRequest& r) {
            messages << r.text;
            return QMessageBox::Yes;
        });
    }

    void cleanup() { setMessageHandler({}); }

    void killedProgramsMapIsOfferedAndRestored_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("described");
        QTest::newRow("built-in") << QStringLiteral("edit") << false;
        QTest::newRow("described") << QStringLiteral("edit") << true;
        // Undone back to the saved state, the map leaves no copy behind.
        QTest::newRow("undone") << QStringLiteral("undo") << false;
    }

    void killedProgramsMapIsOfferedAndRestored() {
        QFETCH(QString, how);
        QFETCH(bool, described);
        if (!samara() || !QFileInfo::exists(resolveDataPath(samara()->path, DataRoots())))
            QSKIP("the Samara map is not built");
        const QString mapFile = described ? writeDescribedMap(dir.path()) : QString();
        QVERIFY(!described || (!mapFile.isEmpty() && writeTimetableBeside(mapFile)));
        const QString expectedFile = dir.filePath(QStringLiteral("expected.txt"));
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LIRSK_RECOVERY_INTERVAL_MS"), QStringLiteral("50"));
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--child"), how, mapFile, expectedFile});
        QVERIFY(child.waitForFinished(60000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        const QString before = QString::fromUtf8(readBytes(expectedFile));
        QVERIFY(!before.isEmpty());

        const std::vector<RecoveredMap> left = orphanedRecoveries();
        if (how == QLatin1String("undo")) {
            QCOMPARE(left.size(), std::size_t(0));
            return;
        }
        QCOMPARE(left.size(), std::size_t(1));
        // The copy keeps the timetable: the map's own may be gone by now.
        if (described)
            QVERIFY(QFile::remove(timetablePathFor(mapFile)));
        MainWindow frame;
        frame.show();
        offerRecovery(&frame);
        QCOMPARE(messages.size(), 1);
        const QString title = described ? QStringLiteral("Тествиль") : samara()->title;
        QVERIFY(messages[0].contains(title));
        MapWindow* restored = frame.ActiveMapWindow();
        QVERIFY(restored);
        QCOMPARE(restored->windowTitle(), title);
        QVERIFY(restored->document().isModified());
        QCOMPARE(describe(restored->Map()), before);
        if (described) {
            // The description comes back whole, and a save keeps all of it.
            QVERIFY(restored->document().description());
            QCOMPARE(restored->document().description()->baseFare, 3.0);
            QCOMPARE(restored->document().description()->fareUnit, QStringLiteral("€"));
            QVERIFY(restored->document().hasMatchingTimetable());
            // Written once for the copy: later copies leave it as it is.
            auto* keeper = restored->findChild<RecoveryKeeper*>();
            keeper->finishWriting();
            const QString copied = timetablePathFor(left[0].base + QStringLiteral(".gaf"));
            const ino_t written = inodeOf(copied);
            QVERIFY(written != 0);
            restored->editor().AddStopAt(20, 300);
            QVERIFY(keeper->write());
            keeper->finishWriting();
            QCOMPARE(inodeOf(copied), written);
            QVERIFY(restored->Save(QString()));
            QVERIFY(QFileInfo::exists(timetablePathFor(mapFile)));
            const QJsonObject saved =
                QJsonDocument::fromJson(readBytes(descriptionPathFor(mapFile))).object();
            for (const QString& key : QJsonDocument::fromJson(kDescription).object().keys())
                QVERIFY2(saved.contains(key), qPrintable(key));
        } else {
            QCOMPARE(restored->Map().FileName, samara()->path);
            QCOMPARE(restored->Map().MapCode, QStringLiteral("S"));
            // Closed without saving, the copy goes.
            restored->document().setModified(false);
        }
        restored->parentWidget()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(noCopyLeft());
    }

    // A copy of an older version kept no description nor timetable: those beside the map's file
    // are used.
    void olderCopyTakesTheDescriptionBesideTheMap() {
        const QString mapFile = writeDescribedMap(dir.path());
        QVERIFY(!mapFile.isEmpty() && writeTimetableBeside(mapFile));
        QVERIFY(QDir().mkpath(RecoveryKeeper::folder()));
        const QString base = QDir(RecoveryKeeper::folder()).filePath(QStringLiteral("old"));
        QVERIFY(QFile::copy(mapFile, base + QStringLiteral(".gaf")));
        const QJsonObject about{{QStringLiteral("title"), QStringLiteral("Тествиль")},
                                {QStringLiteral("file_name"), mapFile},
                                {QStringLiteral("file_path"), mapFile},
                                {QStringLiteral("map_code"), QStringLiteral("Z")}};
        QVERIFY(writeBytes(base + QStringLiteral(".json"), QJsonDocument(about).toJson()));
        MainWindow frame;
        offerRecovery(&frame);
        MapWindow* restored = frame.ActiveMapWindow();
        QVERIFY(restored);
        QVERIFY(restored->document().description());
        QCOMPARE(restored->document().description()->baseFare, 3.0);
        QVERIFY(restored->document().hasMatchingTimetable());
        QCOMPARE(messages.size(), 2);
        QVERIFY(messages[1].contains(descriptionPathFor(mapFile)));
    }

    // Each copy has its own answer; those to delete are asked about once more, together.
    void eachCopyHasItsOwnAnswer() {
        const QString mapFile = writeDescribedMap(dir.path());
        QVERIFY(QDir().mkpath(RecoveryKeeper::folder()));
        for (const QString name : {"first", "second"}) {
            const QString base = QDir(RecoveryKeeper::folder()).filePath(name);
            QVERIFY(QFile::copy(mapFile, base + QStringLiteral(".gaf")));
            const QJsonObject about{{QStringLiteral("copy_version"), 2},
                                    {QStringLiteral("title"), name},
                                    {QStringLiteral("file_path"), mapFile}};
            QVERIFY(writeBytes(base + QStringLiteral(".json"), QJsonDocument(about).toJson()));
        }
        QList<QMessageBox::StandardButton> answers = {QMessageBox::No, QMessageBox::Cancel,
                                                      QMessageBox::Yes};
        setMessageHandler([&](const MessageRequest& r) {
            messages << r.text;
            return answers.takeFirst();
        });
        MainWindow frame;
        offerRecovery(&frame);
        QCOMPARE(messages.size(), 3);
        const QString deleted = messages[0].contains(QStringLiteral("«first»"))
                                    ? QStringLiteral("first")
                                    : QStringLiteral("second");
        QVERIFY(messages[2].contains(QStringLiteral("«%1»").arg(deleted)));
        const std::vector<RecoveredMap> left = orphanedRecoveries();
        QCOMPARE(left.size(), std::size_t(1));
        QVERIFY(left[0].title != deleted);
        QVERIFY(!frame.ActiveMapWindow());
    }

    // A link planted in the folder is reported, never opened or written through, and stays.
    void plantedLinkIsLeftAlone() {
        const QString victim = writeDescribedMap(dir.path());
        QVERIFY(!victim.isEmpty());
        const QByteArray victimBytes = readBytes(victim);
        QVERIFY(QDir().mkpath(RecoveryKeeper::folder()));
        const QString base = QDir(RecoveryKeeper::folder()).filePath(QStringLiteral("evil"));
        const QJsonObject about{{QStringLiteral("copy_version"), 2},
                                {QStringLiteral("title"), QStringLiteral("Evil")},
                                {QStringLiteral("file_path"), victim}};
        QVERIFY(writeBytes(base + QStringLiteral(".json"), QJsonDocument(about).toJson()));
        QVERIFY(QFile::link(victim, base + QStringLiteral(".gaf")));
        {
            MainWindow frame;
            offerRecovery(&frame);
            QVERIFY(!frame.ActiveMapWindow());
        }
        QCOMPARE(messages.size(), 2);
        QVERIFY(messages[1].contains(base + QStringLiteral(".gaf")));
        QCOMPARE(readBytes(victim), victimBytes);
        QVERIFY(QFileInfo(base + QStringLiteral(".gaf")).isSymLink());
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lirskmap"));
    if (argc == 5 && QByteArray(argv[1]) == "--child")
        return runChild(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                        QString::fromLocal8Bit(argv[4]));
    TestRecovery test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recovery.moc"
