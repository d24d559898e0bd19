// Unsaved changes survive a program that is killed: a child copy of this test opens a map, edits
// it, waits for its recovery copy and is killed; the parent then finds the copy, is offered it
// and opens it under the map's own name, marked changed, equal to the map before the kill.

#include "app/mainwindow.h"
#include "app/mapwindow.h"
#include "app/recovery.h"
#include "model/catalogue.h"
#include "model/mapfile.h"
#include "platform/messages.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QTest>
#include <QUndoStack>

#include <csignal>

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

// The child: opens Samara, adds stops, waits for the copy, writes what the map holds for the
// parent and is killed.
int runChild(const QString& expectedFile) {
    MainWindow frame;
    frame.show();
    MapWindow* child = frame.OpenBuiltinMap(*samara());
    if (!child)
        return 1;
    for (int i = 0; i < 3; ++i)
        child->editor().AddStopAt(300 + 40 * i, 500);
    const QString copy = RecoveryKeeper::folder();
    while (QDir(copy).entryList({QStringLiteral("*.json")}, QDir::Files).isEmpty())
        QTest::qWait(20);
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

private slots:
    void killedProgramsMapIsOfferedAndRestored() {
        if (!samara() || !QFileInfo::exists(resolveDataPath(samara()->path, DataRoots())))
            QSKIP("the Samara map is not built");
        QDir(RecoveryKeeper::folder()).removeRecursively();
        const QString expectedFile = QDir::temp().filePath(QStringLiteral("lirsk-recovery.txt"));
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LIRSK_RECOVERY_INTERVAL_MS"), QStringLiteral("50"));
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--child"), expectedFile});
        QVERIFY(child.waitForFinished(60000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        QFile expected(expectedFile);
        QVERIFY(expected.open(QIODevice::ReadOnly));
        const QString before = QString::fromUtf8(expected.readAll());

        const std::vector<RecoveredMap> left = orphanedRecoveries();
        QCOMPARE(left.size(), std::size_t(1));
        QStringList offers;
        setMessageHandler([&offers](const MessageRequest& r) {
            offers << r.text;
            return QMessageBox::Yes;
        });
        MainWindow frame;
        frame.show();
        offerRecovery(&frame);
        setMessageHandler({});
        QCOMPARE(offers.size(), 1);
        QVERIFY(offers[0].contains(samara()->title));
        MapWindow* restored = frame.ActiveMapWindow();
        QVERIFY(restored);
        QCOMPARE(restored->windowTitle(), samara()->title);
        QCOMPARE(restored->Map().FileName, samara()->path);
        QCOMPARE(restored->Map().MapCode, QStringLiteral("S"));
        QVERIFY(restored->document().isModified());
        QCOMPARE(describe(restored->Map()), before);
        // Closed without saving, the copy goes.
        restored->document().setModified(false);
        restored->parentWidget()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(QDir(RecoveryKeeper::folder()).entryList({QStringLiteral("*.json")}).isEmpty());
    }

    // Undone back to its saved state, a map needs its copy no more.
    void undoToTheSavedMapDropsTheCopy() {
        if (!samara() || !QFileInfo::exists(resolveDataPath(samara()->path, DataRoots())))
            QSKIP("the Samara map is not built");
        QDir(RecoveryKeeper::folder()).removeRecursively();
        MainWindow frame;
        MapWindow* child = frame.OpenBuiltinMap(*samara());
        QVERIFY(child);
        const auto copies = [] {
            return QDir(RecoveryKeeper::folder()).entryList({QStringLiteral("*.json")});
        };
        for (int i = 0; i < 20; ++i)
            child->editor().AddStopAt(300 + 10 * i, 500);
        QTRY_COMPARE(copies().size(), 1);
        while (child->editor().undoStack()->canUndo())
            child->editor().Undo();
        QVERIFY(!child->document().isModified());
        QVERIFY(copies().isEmpty());
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lirskmap"));
    if (argc == 3 && QByteArray(argv[1]) == "--child")
        return runChild(QString::fromLocal8Bit(argv[2]));
    TestRecovery test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recovery.moc"
