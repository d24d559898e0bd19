#include "app/journeypanel.h"
#include "app/mainwindow.h"
#include "app/mapwindow.h"
#include "app/session.h"
#include "model/catalogue.h"
#include "model/mapdescription.h"
#include "model/mapfile.h"
#include "platform/messages.h"
#include "testdesktop.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QMdiArea>
#include <QScopeGuard>
#include <QScrollArea>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace lirsk;

Q_DECLARE_METATYPE(lirsk::MapMenuEntry)

namespace {

const QString kFindWayText =
    QStringLiteral("Оптимальный путь (укажите левой кнопкой мыши остановку отправления, затем не "
                   "отпуская кнопку к какой остановке следует найти путь)");

// A small map: three stops, a road between the first two and an arc from the second to the third.
void buildMap(GraphMap& map) {
    const StopIndex a = map.AddStop(40, 40, true);
    const StopIndex b = map.AddStop(200, 60, true);
    const StopIndex c = map.AddStop(120, 220, true);
    map.stop(a).Label.Caption = QStringLiteral("Вокзал");
    map.stop(b).Label.Caption = QStringLiteral("Рынок");
    map.stop(c).Label.Caption = QStringLiteral("Улица Гагарина");
    map.stop(b).Routes = QStringLiteral("T1 T2");
    map.AddLink(a, b, {0, 350, 0});
    map.AddLink(b, a, {0, 350, 0});
    map.AddLink(b, c, {0, 12.5, 0});
    map.UpdateArcFlags();
}

QString writeMap(const QString& path, void (*fill)(GraphMap&)) {
    GraphMap map;
    fill(map);
    QString error;
    if (!saveMapFile(path, map, false, &error))
        return error;
    return QString();
}

QString describe(const GraphMap& map) {
    QStringList lines;
    lines << QStringLiteral("max %1").arg(map.MaxStopId);
    for (const Stop& s : map.stops()) {
        lines << QStringLiteral("%1 %2,%3 %4 [%5] at %6,%7")
                     .arg(s.Id)
                     .arg(s.Left)
                     .arg(s.Top)
                     .arg(s.Label.Caption, s.Routes)
                     .arg(s.Label.Left)
                     .arg(s.Label.Top);
        for (const Link& l : s.Links)
            lines << QStringLiteral("  -> %1 %2 %3")
                         .arg(map.stop(l.To).Id)
                         .arg(l.Length)
                         .arg(l.IsArc);
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

class TestMapWindow : public QObject {
    Q_OBJECT

    TestDesktop desktop;
    std::unique_ptr<MainWindow> frame;
    QStringList messages;
    QMessageBox::StandardButton answer = QMessageBox::No;
    QTemporaryDir dir;

    void flush() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    QString path(const QString& name) const { return dir.filePath(name); }

private slots:
    void init() {
        messages.clear();
        answer = QMessageBox::No;
        setMessageHandler([this](const MessageRequest& r) {
            messages << r.text;
            return answer;
        });
        frame = std::make_unique<MainWindow>();
        frame->setDesktopDialogs(&desktop);
        frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
    }

    void cleanup() {
        frame.reset();
        setMessageHandler({});
    }

    void openThroughTheDialog() {
        const QString file = path(QStringLiteral("город.gaf"));
        QCOMPARE(writeMap(file, buildMap), QString());
        desktop.openAnswer = [file] { return file; };
        QStringList texts;
        QObject listening;
        connect(frame->StatusBar, &QStatusBar::messageChanged, &listening,
                [&texts](const QString& text) { texts << text; });
        frame->acOpen->trigger();
        // The open's wait text, then the redraw's around the one full redraw, then the mode's.
        QCOMPARE(texts.mid(texts.lastIndexOf(QStringLiteral("Открытие файла, ждите..."))),
                 QStringList({"Открытие файла, ждите...", "", "Перерисовка карты, ждите...", "",
                              kFindWayText}));
        MapWindow* child = frame->ActiveMapWindow();
        QVERIFY(child);
        QVERIFY(messages.isEmpty());
        QCOMPARE(child->windowTitle(), file);
        QCOMPARE(child->Map().stopCount(), 3);
        QCOMPARE(child->Map().MapCode, QString());
        QVERIFY(child->view()->picture().isNull());
        // The network shows: the road between the first two stops is drawn.
        const QImage shown = child->view()->renderMap(QRect(0, 0, 300, 300));
        QVERIFY(shown.pixelColor(125, 55) != shown.pixelColor(125, 150));
        QCOMPARE(child->routeTable->rowCount(), 2);
        QCOMPARE(child->stopList->model()->rowCount(), 3);
        QCOMPARE(child->stopList->model()->index(2, 0).data().toString(),
                 QStringLiteral("Улица Гагарина"));
        QCOMPARE(child->editor().mode(), lirsk::MapMode::FindWay);
        QCOMPARE(frame->StatusText(), kFindWayText);
        QVERIFY(frame->acFindWay->isChecked());
        QVERIFY(frame->acSave->isEnabled());
        QVERIFY(!child->document().isModified());
        QVERIFY(child->view()->mapSize().width() >= 200);
    }

    void openTwiceGivesIndependentWindows() {
        const QString file = path(QStringLiteral("twice.gaf"));
        QCOMPARE(writeMap(file, buildMap), QString());
        MapWindow* first = frame->OpenMap(file, file);
        MapWindow* second = frame->OpenMap(file, file);
        QVERIFY(first && second && first != second);
        QCOMPARE(frame->MapWindowCount(), 2);
        first->Map().stop(0).Left = 400;
        QCOMPARE(second->Map().stop(0).Left, 40);
        QCOMPARE(frame->currentMapWindow(), second);
    }

    void emptyMapCannotSearch() {
        const QString file = path(QStringLiteral("empty.gaf"));
        QCOMPARE(writeMap(file, [](GraphMap&) {}), QString());
        MapWindow* child = frame->OpenMap(file, file);
        QVERIFY(child);
        QCOMPARE(messages, QStringList({"Поиск не возможен, т.к. нет исходных данных."}));
        QCOMPARE(child->editor().mode(), lirsk::MapMode::Pointer);
        QCOMPARE(frame->StatusText(), QString());
    }

    void failedLoads_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content"); // null: no file at all
        QTest::newRow("no such file") << "missing.gaf" << QByteArray();
        QTest::newRow("cut inside the header") << "short.gaf" << QByteArray(30, '\0');
        QByteArray partial(56, '\0');
        partial.append(QByteArray(7, '\1'));
        QTest::newRow("partial link record") << "partial.gaf" << partial;
        QTest::newRow("a folder") << "folder.gaf" << QByteArray("dir");
    }

    void failedLoads() {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        const QString file = path(name);
        if (content == "dir") {
            QVERIFY(QDir().mkpath(file));
        } else if (!content.isNull()) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        frame->acNewExecute();
        QVERIFY(!frame->OpenMap(file, file));
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].section(QLatin1Char('\n'), 0, 0),
                 QStringLiteral("Ошибка открытия файла!"));
        QVERIFY(messages[0].section(QLatin1Char('\n'), 1).size() > 0);
        QCOMPARE(frame->StatusText(), QString());
        flush();
        QCOMPARE(frame->MapWindowCount(), 1);
        QVERIFY(!frame->acSave->isEnabled());
    }

    void saveAsAndReopenKeepEverything() {
        frame->acNewExecute();
        MapWindow* child = frame->ActiveMapWindow();
        buildMap(child->Map());
        child->Map().Settings.ArrowType = 1;
        child->Map().stop(1).Label.Left = 260;
        const QString file = path(QStringLiteral("новая.gaf"));
        desktop.saveAnswer = [file] { return file; };
        // A map without a file asks for one on a plain save.
        frame->acSave->trigger();
        QVERIFY(messages.isEmpty());
        QVERIFY(QFile::exists(file));
        QCOMPARE(child->windowTitle(), file);
        QCOMPARE(child->Map().FileName, file);
        const QString before = describe(child->Map());

        MapWindow* copy = frame->OpenMap(file, file);
        QVERIFY(copy);
        QCOMPARE(describe(copy->Map()), before);
        QCOMPARE(copy->Map().Settings.ArrowType, 1);

        // A plain save writes to the file the map came from.
        copy->Map().stop(0).Left = 77;
        QVERIFY(copy->Save(QString()));
        GraphMap reread;
        QVERIFY(readMapFile(file, reread, nullptr));
        QCOMPARE(reread.stop(0).Left, 77);
    }

    void saveAsCancelledWritesNothing() {
        frame->acNewExecute();
        desktop.saveAnswer = [] { return QString(); };
        QVERIFY(!frame->acSaveAsExecute());
        QCOMPARE(frame->ActiveMapWindow()->Map().FileName, QString());
    }

    void failedSaves_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("name");
        QTest::newRow("no such folder") << "нет/такой/папки.gaf"
                                        << "Рынок";
        QTest::newRow("text Windows-1251 cannot hold") << "ok.gaf"
                                                       << "Рынок ★";
    }

    void failedSaves() {
        QFETCH(QString, target);
        QFETCH(QString, name);
        const QString file = path(QStringLiteral("kept.gaf"));
        QCOMPARE(writeMap(file, buildMap), QString());
        MapWindow* child = frame->OpenMap(file, file);
        QVERIFY(child);
        const QByteArray old = [&] {
            QFile f(file);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        child->Map().stop(1).Label.Caption = name;
        child->document().setModified(true);
        const bool ok =
            target == QLatin1String("ok.gaf") ? child->Save(QString()) : child->Save(path(target));
        QVERIFY(!ok);
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].startsWith(QStringLiteral("Не удалось сохранить карту")));
        QVERIFY(messages[0].contains(QLatin1Char('\n')));
        QVERIFY(child->document().isModified());
        QCOMPARE(child->windowTitle(), file);
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), old);
    }

    void closingAChangedMapAsks_data() {
        QTest::addColumn<bool>("hasFile");
        QTest::addColumn<int>("reply");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<bool>("saved");
        QTest::newRow("yes") << true << int(QMessageBox::Yes) << true << true;
        QTest::newRow("no") << true << int(QMessageBox::No) << true << false;
        QTest::newRow("cancel") << true << int(QMessageBox::Cancel) << false << false;
        // A new map asks for a name; none given, it stays open.
        QTest::newRow("yes, no name") << false << int(QMessageBox::Yes) << false << false;
    }

    void closingAChangedMapAsks() {
        QFETCH(bool, hasFile);
        QFETCH(int, reply);
        QFETCH(bool, closed);
        QFETCH(bool, saved);
        const QString file = path(QStringLiteral("changed.gaf"));
        QCOMPARE(writeMap(file, buildMap), QString());
        desktop.saveAnswer = [] { return QString(); };
        MapWindow* child = frame->OpenMap(file, QStringLiteral("Карта"));
        QVERIFY(child);
        if (hasFile) {
            child->Map().stop(0).Top = 99;
        } else {
            frame->acNewExecute();
            child = frame->ActiveMapWindow();
            child->setWindowTitle(QStringLiteral("Карта"));
        }
        child->document().setModified(true);
        answer = QMessageBox::StandardButton(reply);
        frame->acCloseExecute();
        flush();
        QCOMPARE(messages, QStringList({"Сохранить изменения в карте «Карта»?"}));
        QCOMPARE(frame->MapWindowCount(), (closed ? 0 : 1) + !hasFile);
        // The map commands stay with a map the user kept open.
        QCOMPARE(frame->acSave->isEnabled(), !closed);
        QCOMPARE(frame->acFindWay->isEnabled(), !closed);
        GraphMap reread;
        QVERIFY(readMapFile(file, reread, nullptr));
        QCOMPARE(reread.stop(0).Top == 99, saved);
    }

    void unchangedMapClosesSilently() {
        frame->acNewExecute();
        frame->acCloseExecute();
        flush();
        QVERIFY(messages.isEmpty());
        QCOMPARE(frame->MapWindowCount(), 0);
        QVERIFY(!frame->currentMapWindow());
    }

    void foundWayShowsOverThePictureUntilAnEdit() {
        frame->acNewExecute();
        MapWindow* child = frame->ActiveMapWindow();
        buildMap(child->Map());
        child->document().markReloaded();
        const QRect area(0, 0, 400, 300);
        const QImage plain = child->view()->renderMap(area);
        const StopIndex a = 0, c = 2;
        child->document().setFoundWay({{c, a}, 0, 0});
        const QImage withWay = child->view()->renderMap(area);
        QCOMPARE(withWay.pixelColor(85, 135), QColor(Qt::blue));
        // Marks and redraws keep the way; an edit forgets it.
        child->editor().ToggleSelected(a);
        child->editor().ToggleSelected(a);
        child->RedrawMap(false);
        QCOMPARE(child->view()->renderMap(area), withWay);
        child->document().announce(lirsk::EveryChange);
        QCOMPARE(child->view()->renderMap(area), plain);
    }

    void rubberBandIsDrawnNotXor() {
        frame->acNewExecute();
        MapWindow* child = frame->ActiveMapWindow();
        buildMap(child->Map());
        child->document().markReloaded();
        const QRect area(0, 0, 400, 300);
        const QImage plain = child->view()->renderMap(area);
        child->view()->setRubberBand(RubberBand{{45, 45}, {300, 100}, 0, true, Qt::black});
        const QImage banded = child->view()->renderMap(area);
        QVERIFY(banded != plain);
        child->view()->setRubberBand(std::nullopt);
        QCOMPARE(child->view()->renderMap(area), plain);
    }

    void nameDragFollowsThePressedName() {
        frame->acNewExecute();
        MapWindow* child = frame->ActiveMapWindow();
        child->SetEditorMode(true);
        buildMap(child->Map());
        child->RedrawMap(false);
        const StopIndex stop = 0;
        const NameLabel& label = child->Map().stop(stop).Label;
        const QPoint grab(label.Left + 3, label.Top + 4);
        QTest::mousePress(child->view()->viewport(), Qt::LeftButton, {}, grab);
        QCOMPARE(child->editor().LabelDragStop, stop);
        // The pointer runs far past other stops: the pressed name keeps the moves.
        QTest::mouseMove(child->view()->viewport(), grab + QPoint(150, 170));
        QCOMPARE(label.Left, 50 + 150);
        QCOMPARE(label.Top, 40 + 170);
        QVERIFY(child->document().isModified());
        // Esc puts the name back where the drag began.
        QTest::keyClick(child, Qt::Key_Escape);
        QCOMPARE(label.Left, 50);
        QCOMPARE(label.Top, 40);
        QTest::mouseRelease(child->view()->viewport(), Qt::LeftButton, {}, grab + QPoint(150, 170));
        QCOMPARE(child->editor().LabelDragStop, NoStop);
    }

    // A map opened from a file shows whole, centred, its names uncut: a wide map with a long
    // name at its right edge is fitted, a small one stays at 100 %.
    void mapFromAFileOpensWhole_data() {
        QTest::addColumn<int>("right");
        QTest::newRow("wide") << 3000;
        QTest::newRow("small") << 200;
    }

    void mapFromAFileOpensWhole() {
        QFETCH(int, right);
        static int far;
        far = right;
        const QString file = path(QStringLiteral("whole.gaf"));
        QCOMPARE(writeMap(file,
                          [](GraphMap& map) {
                              buildMap(map);
                              map.stop(1).Left = far;
                              map.stop(1).Label.Left = far + 12;
                              map.stop(1).Label.Caption = QStringLiteral("Юнгородок");
                          }),
                 QString());
        desktop.openAnswer = [file] { return file; };
        frame->acOpen->trigger();
        MapWindow* child = frame->ActiveMapWindow();
        QVERIFY(child);
        lirsk::MapView* view = child->view();
        QTRY_COMPARE(view->zoom(), std::min(1.0, view->fitZoom()));
        const QPointF topLeft = view->mapToViewport(QPointF(0, 0));
        const QPointF bottomRight =
            view->mapToViewport(QPointF(view->mapSize().width(), view->mapSize().height()));
        const QSize shown = view->viewport()->size();
        QVERIFY(topLeft.x() >= 0 && topLeft.y() >= 0);
        if (view->zoom() < 1.0) {
            QVERIFY(std::abs(topLeft.x() - (shown.width() - bottomRight.x())) <= 2);
            QVERIFY(std::abs(topLeft.y() - (shown.height() - bottomRight.y())) <= 2);
        }
        // No ink in the viewport's last column: the name at the right edge is whole.
        const QImage image = view->viewport()->grab().toImage();
        for (int y = 0; y < image.height(); ++y)
            QVERIFY2(qGray(image.pixel(image.width() - 1, y)) > 100,
                     qPrintable(QString::number(y)));
    }

    // The next start opens the maps left open, with their journeys; a map file gone since is
    // left out with a note, and a map already open (restored from its crash copy) is not opened
    // twice.
    void sessionRemembered() {
        const QString file = path(QStringLiteral("сессия.gaf"));
        const QString settings = path(QStringLiteral("lirskmap.conf"));
        QCOMPARE(writeMap(file, buildMap), QString());
        keepSession(frame.get(), settings);
        MapWindow* child = frame->OpenMap(file, file);
        QVERIFY(child);
        frame->journeyPanel->setEnds(2, 0);
        frame->acFewestChanges->trigger();
        frame->close();
        QVERIFY(frame->MdiArea->subWindowList().isEmpty());

        for (const bool fileGone : {false, true}) {
            if (fileGone)
                QVERIFY(QFile::remove(file));
            frame = std::make_unique<MainWindow>();
            keepSession(frame.get(), settings);
            QCOMPARE(frame->criterion(), lirsk::Criterion::FewestChanges);
            QCOMPARE(frame->MapWindowCount(), fileGone ? 0 : 1);
            if (fileGone) {
                QVERIFY2(frame->StatusText().contains(file), qPrintable(frame->StatusText()));
                continue;
            }
            QCOMPARE(frame->journeyPanel->fromEdit()->text(), QStringLiteral("Улица Гагарина"));
            QCOMPARE(frame->journeyPanel->toEdit()->text(), QStringLiteral("Вокзал"));
            // Already open: not opened again.
            keepSession(frame.get(), settings);
            QCOMPARE(frame->MapWindowCount(), 1);
            frame->close();
        }
    }

    void farAwayStopKeepsTheImageBounded() {
        const QString file = path(QStringLiteral("far.gaf"));
        QCOMPARE(writeMap(file,
                          [](GraphMap& map) {
                              buildMap(map);
                              map.stop(2).Left = 60000;
                              map.stop(2).Top = 90000;
                              map.stop(1).Label.Left = 2147483600;
                          }),
                 QString());
        MapWindow* child = frame->OpenMap(file, file);
        QVERIFY(child);
        // Nothing is sized by the map: the far stop is reached by scrolling.
        QVERIFY(child->view()->mapSize().height() > 90000);
        child->view()->centreOn({60005, 90005});
        QVERIFY(child->view()->visibleMapRect().contains(60005, 90005));
    }

    void builtinMaps_data() {
        QTest::addColumn<MapMenuEntry>("entry");
        for (const MapMenuEntry& e : mapMenuCatalogue())
            if (!e.path.isEmpty())
                QTest::newRow(qPrintable(e.path)) << e;
    }

    void builtinMaps() {
        QFETCH(MapMenuEntry, entry);
        const QString found = resolveDataPath(entry.path, DataRoots());
        if (!QFileInfo::exists(found))
            QSKIP("this built-in map is not built");
        MapWindow* child = frame->OpenBuiltinMap(entry);
        QVERIFY2(child, qPrintable(messages.join(QLatin1Char('\n'))));
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join(QLatin1Char('\n'))));
        QCOMPARE(child->windowTitle(), entry.title);
        const MapIdentity identity = recognizeMapPath(entry.path);
        QCOMPARE(child->Map().MapCode, identity.mapCode);
        QCOMPARE(child->view()->picture().isNull(),
                 identity.mapCity != QLatin1String("Lirsk") &&
                     identity.mapCity != QLatin1String("Chelny"));
        const std::optional<RouteTable> routes = routeTableFor(identity.mapCode);
        QCOMPARE(child->routeTable->rowCount(), routes ? routes->rowCount : 2);
        if (routes && !routes->rows.isEmpty())
            QCOMPARE(child->routeTable->item(1, 1)->text(), routes->rows[0].name);
        QCOMPARE(child->stopList->model()->rowCount(), child->Map().stopCount());
        QVERIFY(child->Map().stopCount() > 0);
        QCOMPARE(child->editor().mode(), lirsk::MapMode::FindWay);

        // A picture of the window's map area, for a look by eye.
        QVERIFY(QDir().mkpath(QStringLiteral(LIRSK_PICTURE_DIR)));
        const QString picture = QDir(QStringLiteral(LIRSK_PICTURE_DIR))
                                    .filePath(QFileInfo(entry.path).baseName() + ".png");
        QVERIFY(
            child->view()->renderMap(QRect(QPoint(0, 0), child->view()->mapSize())).save(picture));
    }

    void unreadablePictureKeepsTheRestOfTheSetUp() {
        // A built-in path found in the current folder, with a picture that is no JPEG.
        QTemporaryDir here;
        QVERIFY(QDir(here.path()).mkpath(QStringLiteral("toolbox/map")));
        QVERIFY(QDir(here.path()).mkpath(QStringLiteral("toolbox/FonBitmap")));
        QCOMPARE(writeMap(here.filePath(QStringLiteral("toolbox/map/MapTram.gaf")), buildMap),
                 QString());
        QFile picture(here.filePath(QStringLiteral("toolbox/FonBitmap/Lirsk.jpg")));
        QVERIFY(picture.open(QIODevice::WriteOnly));
        picture.write("not a picture");
        picture.close();
        const QString old = QDir::currentPath();
        QVERIFY(QDir::setCurrent(here.path()));
        MapWindow* child = frame->OpenMap(QStringLiteral("toolbox/map/MapTram.gaf"),
                                          QStringLiteral("Трамвайная карта"));
        QDir::setCurrent(old);
        QVERIFY(child);
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].startsWith(QStringLiteral("Не удалось загрузить фоновый рисунок")));
        QVERIFY(child->view()->picture().isNull());
        QCOMPARE(child->routeTable->rowCount(), 21);
        QCOMPARE(child->editor().mode(), lirsk::MapMode::FindWay);
        QVERIFY(frame->acSave->isEnabled());
    }

    void builtinMapIsNeverOverwritten_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("name"); // what the file dialog answers
        QTest::addColumn<bool>("copied");
        QTest::newRow("save asks for a name") << "acSave"
                                              << "copy.gaf" << true;
        QTest::newRow("save, no name given") << "acSave" << QString() << false;
        QTest::newRow("save as the built-in map") << "acSaveAs"
                                                  << "toolbox/map/MPiter.gaf" << false;
        QTest::newRow("save as it by another path") << "acSave"
                                                    << "toolbox/./map/../map/MPiter.gaf" << false;
    }

    void builtinMapIsNeverOverwritten() {
        QFETCH(QString, command);
        QFETCH(QString, name);
        QFETCH(bool, copied);
        // A built-in path found in the current folder.
        QTemporaryDir here;
        QVERIFY(QDir(here.path()).mkpath(QStringLiteral("toolbox/map")));
        const QString builtin = here.filePath(QStringLiteral("toolbox/map/MPiter.gaf"));
        QCOMPARE(writeMap(builtin, buildMap), QString());
        QFile shipped(builtin);
        QVERIFY(shipped.open(QIODevice::ReadOnly));
        const QByteArray old = shipped.readAll();
        shipped.close();
        const QString home = QDir::currentPath();
        QVERIFY(QDir::setCurrent(here.path()));
        const auto back = qScopeGuard([&] { QDir::setCurrent(home); });
        MapWindow* child =
            frame->OpenMap(QStringLiteral("toolbox/map/MPiter.gaf"), QStringLiteral("Питер"));
        QVERIFY(child);
        child->Map().stop(0).Label.Caption = QStringLiteral("Слип");
        child->document().setModified(true);
        desktop.saveAnswer = [name] { return name; };
        frame->findChild<QAction*>(command)->trigger();

        QVERIFY(shipped.open(QIODevice::ReadOnly));
        QCOMPARE(shipped.readAll(), old);
        QCOMPARE(QFileInfo::exists(QStringLiteral("copy.gaf")), copied);
        QCOMPARE(child->document().isModified(), !copied);
        const bool refused = name.contains(QStringLiteral("MPiter"));
        QCOMPARE(messages.size(), int(refused));
        if (refused)
            QVERIFY(messages[0].contains(QStringLiteral("встроенная карта")));
        if (copied) {
            // The copy keeps the built-in map's code letter and route table.
            MapDescription description;
            QString error;
            QCOMPARE(readMapDescription(QStringLiteral("copy.gaf"), &description, &error),
                     DescriptionRead::Read);
            QCOMPARE(description.mapCode, QStringLiteral("P"));
            QCOMPARE(description.routes.size(), 4);
            QCOMPARE(description.routes[1].name, QStringLiteral("пр.Просвещения- Купчино"));
        }
    }

    void builtinPathFoundBesideTheProgram() {
        // Started from another folder, a built-in path is found in the installed data folder.
        const QString relative = QStringLiteral("toolbox/map/MSamara.gaf");
        const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(relative);
        const QString installed = QDir(DataRoots().at(1)).filePath(relative);
        const bool made = !QFileInfo::exists(beside) && !QFileInfo::exists(installed);
        if (made) {
            QVERIFY(QDir().mkpath(QFileInfo(installed).path()));
            QCOMPARE(writeMap(installed, buildMap), QString());
        }
        const QString old = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        const MapMenuEntry entry = [&] {
            for (const MapMenuEntry& e : mapMenuCatalogue())
                if (e.path == relative)
                    return e;
            return MapMenuEntry{};
        }();
        MapWindow* child = frame->OpenBuiltinMap(entry);
        QDir::setCurrent(old);
        if (made)
            QFile::remove(installed);
        QVERIFY2(child, qPrintable(messages.join(QLatin1Char('\n'))));
        QCOMPARE(child->Map().MapCode, QStringLiteral("S"));
        QCOMPARE(child->Map().FileName, relative);
        QCOMPARE(child->routeTable->item(1, 1)->text(), QStringLiteral("Московская- Юнгородок"));
    }
};

QTEST_MAIN(TestMapWindow)
#include "tst_mapwindow.moc"
