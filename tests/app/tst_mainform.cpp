#include "app/mainwindow.h"
#include "app/mapwindow.h"
#include "app/session.h"
#include "document/edits.h"
#include "edit/routereportdialog.h"
#include "model/mapfile.h"
#include "platform/messages.h"

#include <QDockWidget>
#include <QLabel>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

// The frame's commands: their table, their states as maps open and close, the map menus.
class TestMainForm : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindow> frame;
    QStringList messages;

    QAction* action(const QString& name) const {
        for (QAction* a : frame->findChildren<QAction*>())
            if (a->objectName() == name)
                return a;
        return nullptr;
    }

    void flush() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

private slots:
    void init() {
        messages.clear();
        lirsk::setMessageHandler([this](const lirsk::MessageRequest& r) {
            messages << r.text;
            return QMessageBox::No;
        });
        frame = std::make_unique<MainWindow>();
        // The frame's own dialogs are shown and closed at once.
        frame->programDialogs().setRunner([](QDialog& dialog) {
            dialog.reject();
            return int(QDialog::Rejected);
        });
        frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
    }

    void cleanup() {
        frame.reset();
        lirsk::setMessageHandler({});
    }

    void actionTable_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QString>("shortcut");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<bool>("hasIcon");
        auto row = [](const char* name, const char* caption, const char* hint, const char* keys,
                      bool visible, bool enabled, bool checked, bool icon) {
            QTest::newRow(name) << QString::fromLatin1(name) << QString::fromUtf8(caption)
                                << QString::fromUtf8(hint) << QString::fromLatin1(keys) << visible
                                << enabled << checked << icon;
        };
        row("acOpen", "Открыть", "Открыть карту", "Ctrl+O", true, true, false, true);
        row("acSave", "Сохранить", "Сохранить карту", "Ctrl+S", true, false, false, true);
        row("acSaveAs", "Сохранить как", "Сохранить карту под новым именем", "Ctrl+Alt+S", true,
            false, false, false);
        row("acClose", "Закрыть", "Закрыть активное окно", "", true, true, false, false);
        row("acExit", "Выход", "Выход из программы", "", true, true, false, false);
        row("acCascade", "Каскадом", "Выравнивание каскадом", "", true, true, false, true);
        row("acMinimizeAll", "Свернуть все", "Свернуть все окна", "", true, true, false, false);
        row("acTileHorizontally", "По горизонтали", "Выравнивание по горизонтали", "", true, true,
            false, true);
        row("acTileVertically", "По вертикали", "Выравнивание по вертикали", "", true, true, false,
            true);
        row("acAbout", "О программе", "Сведения о программе", "", true, true, false, true);
        row("acPointer", "Указатель", "Режим просмотра", "", false, true, false, true);
        row("acAddStop", "Добавить вершину", "Создание остановки", "", false, true, false, true);
        row("acAddRoad", "Добавить ребро", "Создание дороги", "", false, true, false, true);
        row("acDeleteRoad", "Удалить ребро", "Удаление дороги", "", false, true, false, true);
        row("acChangeRoad", "Изменить параметры дороги", "Изменить параметры дороги", "", false,
            true, false, true);
        row("acFindWay", "Поиск пути", "Поиск пути", "", true, false, true, true);
        row("acSettings", "Настройки", "Настройки", "", true, false, false, false);
        row("acSelectAll", "Выбрать всё", "Выбрать все остановки", "Ctrl+A", true, false, false,
            false);
        row("acDelete", "Удалить", "Удалить выделенные остановки", "Del", false, false, false,
            false);
        row("acSearchPanel", "Панель поиска", "Панель поиска", "", true, false, true, false);
        row("acHelp", "Справка", "Справка", "", true, true, false, true);
        row("acAssistant", "Помощник", "", "", true, true, true, true);
        row("acRouteTable", "Маршруты", "Маршруты", "", true, false, false, false);
        row("acEditorMode", "acEditorMode", "Режим редактора", "", true, false, false, true);
        row("acNew", "acNew", "", "Ctrl+N", false, true, false, true);
        row("acAddArc", "acAddArc", "", "", false, true, false, true);
        row("acDeleteArc", "acDeleteArc", "", "", false, true, false, true);
        row("acInfo", "acInfo", "Информация об остановке", "", false, true, false, true);
    }

    void actionTable() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, hint);
        QFETCH(QString, shortcut);
        QFETCH(bool, visible);
        QFETCH(bool, enabled);
        QFETCH(bool, checked);
        QFETCH(bool, hasIcon);
        QAction* a = action(name);
        QVERIFY2(a, qPrintable(name));
        QCOMPARE(a->text(), caption);
        QCOMPARE(a->statusTip(), hint);
        QCOMPARE(a->shortcut().toString(), shortcut);
        QCOMPARE(a->isVisible(), visible);
        // A hidden action cannot be chosen; its own enabled state shows once it is shown.
        if (visible)
            QCOMPARE(a->isEnabled(), enabled);
        QCOMPARE(a->isChecked(), checked);
        QCOMPARE(!a->icon().isNull(), hasIcon);
    }

    void menuImages() {
        QCOMPARE(frame->menuImages.size(), 21);
        for (const QIcon& icon : frame->menuImages)
            QCOMPARE(icon.availableSizes().value(0), QSize(16, 16));
    }

    void menusInOrder() {
        QStringList titles;
        for (QAction* a : frame->menuBar()->actions())
            titles << a->text();
        QCOMPARE(titles,
                 QStringList({"Файл", "Правка", "Управление", "Сервис", "Вид", "Окно", "Помощь"}));
        QStringList tools;
        for (QAction* a : frame->toolBar->actions())
            tools << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
        QCOMPARE(
            tools,
            QStringList({"acNew",    "acOpen",      "acSave",    "acEditorMode",  "-",
                         "acUndo",   "acRedo",      "-",         "acPointer",     "acAddStop",
                         "acAddArc", "acDeleteArc", "acAddRoad", "acDeleteRoad",  "acChangeRoad",
                         "acInfo",   "acFindWay",   "-",         "acFitToWindow", "acActualSize",
                         "-",        "acHelp",      "acAbout"}));
    }

    void mapMenuEntries_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("metro") << "Карта Лирска"
                               << "Метро" << true << true;
        QTest::newRow("bus") << "Карта Лирска"
                             << "Автобусная" << false << false;
        QTest::newRow("trolleybus") << "Карта Лирска"
                                    << "Троллейбусная" << true << true;
        QTest::newRow("Moscow") << "Карты метро России"
                                << "Москва" << true << true;
        QTest::newRow("Nizhny") << "Карты метро России"
                                << "Н.Новгород" << true << false;
        QTest::newRow("Novosibirsk") << "Карты метро России"
                                     << "Новосибирск" << true << false;
        QTest::newRow("Samara") << "Карты метро России"
                                << "Самара" << true << true;
    }

    void mapMenuEntries() {
        QFETCH(QString, menu);
        QFETCH(QString, entry);
        QFETCH(bool, visible);
        QFETCH(bool, enabled);
        QAction* a = frame->MapMenuAction(menu, entry);
        QVERIFY(a);
        QCOMPARE(a->isVisible(), visible);
        QCOMPARE(a->isEnabled(), enabled);
    }

    void chelnyMenuHidden() {
        QMenu* menu = frame->MapMenu(QStringLiteral("Карта Н.Челнов"));
        QVERIFY(menu);
        QVERIFY(!menu->menuAction()->isVisible());
        QVERIFY(!menu->menuAction()->isEnabled());
    }

    void newMapEnablesCommands() {
        frame->acNew->setVisible(true);
        frame->acNew->trigger();
        QCOMPARE(frame->MapWindowCount(), 1);
        MapWindow* child = frame->ActiveMapWindow();
        QVERIFY(child);
        QCOMPARE(child->windowTitle(), QStringLiteral("Без имени"));
        QCOMPARE(child->editor().mode(), lirsk::MapMode::Pointer);
        QCOMPARE(frame->currentMapWindow(), child);
        for (QAction* a :
             {frame->acSave, frame->acSaveAs, frame->acFindWay, frame->acSettings,
              frame->acSelectAll, frame->acSearchPanel, frame->acRouteTable, frame->acEditorMode})
            QVERIFY2(a->isEnabled(), qPrintable(a->objectName()));
        // Deleting belongs to editor mode.
        QVERIFY(!frame->acDelete->isVisible());
        QVERIFY(frame->acInfo->isVisible());
        QVERIFY(frame->acSearchPanel->isChecked());
    }

    void closeWithTwoOpenDisablesCommands() {
        frame->acNewExecute();
        frame->acNewExecute();
        QCOMPARE(frame->MapWindowCount(), 2);
        frame->acClose->trigger();
        flush();
        QCOMPARE(frame->MapWindowCount(), 1);
        QVERIFY(!frame->acSave->isEnabled());
        QVERIFY(!frame->acFindWay->isEnabled());
        QVERIFY(!frame->acInfo->isVisible());
        frame->acNewExecute();
        QVERIFY(frame->acSave->isEnabled());
    }

    void closingTheLastWindowLeavesEditorMode() {
        frame->acNewExecute();
        MapWindow* child = frame->ActiveMapWindow();
        child->SetEditorMode(true);
        QVERIFY(frame->acAddStop->isVisible());
        frame->acCloseExecute();
        flush();
        QCOMPARE(frame->MapWindowCount(), 0);
        for (QAction* a :
             {frame->acPointer, frame->acAddStop, frame->acAddRoad, frame->acDeleteRoad,
              frame->acChangeRoad, frame->acNew, frame->acAddArc, frame->acDeleteArc})
            QVERIFY2(!a->isVisible(), qPrintable(a->objectName()));
        QVERIFY(!frame->currentMapWindow());
    }

    void newMapInEditorModeIsEdited() {
        frame->acNewExecute();
        frame->acEditorMode->setChecked(true);
        frame->ActiveMapWindow()->SetEditorMode(true);
        frame->acNewExecute();
        MapWindow* child = frame->ActiveMapWindow();
        QVERIFY(frame->acEditorMode->isChecked());
        QVERIFY(frame->acAddStop->isVisible());
        // A click in the add-stop mode adds a stop at once.
        frame->acAddStop->trigger();
        QTest::mouseClick(child->view()->viewport(), Qt::LeftButton, {}, QPoint(50, 50));
        QCOMPARE(child->Map().stopCount(), 1);
    }

    void editorModeShowsPointerAsTheMapCommandsLeftIt() {
        frame->acNewExecute();
        MapWindow* child = frame->ActiveMapWindow();
        child->SetEditorMode(true);
        QVERIFY(frame->acPointer->isEnabled());
        frame->DisableMapCommands();
        QVERIFY(!frame->acPointer->isEnabled());
        child->SetEditorMode(false);
        child->SetEditorMode(true);
        QVERIFY(!frame->acPointer->isEnabled());
        QVERIFY(frame->acAddStop->isEnabled());
    }

    void enablingWithoutWindowDoesNothing() {
        frame->EnableMapCommands();
        QVERIFY(!frame->acSave->isEnabled());
        QVERIFY(!frame->acInfo->isVisible());
    }

    void windowCommands_data() {
        QTest::addColumn<QString>("command");
        QTest::newRow("cascade") << "acCascade";
        QTest::newRow("horizontal") << "acTileHorizontally";
        QTest::newRow("vertical") << "acTileVertically";
        QTest::newRow("minimise") << "acMinimizeAll";
    }

    void windowCommands() {
        QFETCH(QString, command);
        frame->acNewExecute();
        frame->acNewExecute();
        frame->acNewExecute();
        action(command)->trigger();
        const QList<QMdiSubWindow*> windows = frame->MdiArea->subWindowList();
        QCOMPARE(windows.size(), 3);
        QSet<QPair<int, int>> places;
        for (QMdiSubWindow* w : windows) {
            QVERIFY(!w->isMaximized());
            QCOMPARE(w->isMinimized(), command == QLatin1String("acMinimizeAll"));
            places.insert({w->x(), w->y()});
        }
        if (command != QLatin1String("acMinimizeAll"))
            QCOMPARE(places.size(), 3);
        if (command == QLatin1String("acTileHorizontally"))
            for (QMdiSubWindow* w : windows)
                QCOMPARE(w->width(), frame->MdiArea->viewport()->width());
        if (command == QLatin1String("acTileVertically"))
            for (QMdiSubWindow* w : windows)
                QCOMPARE(w->height(), frame->MdiArea->viewport()->height());
    }

    void cascadeKeepsWhatTheMapNeeds() {
        // The map windows have the whole frame.
        frame->journeyDock->hide();
        frame->layout()->activate();
        for (int i = 0; i < 2; ++i) {
            frame->acNewExecute();
            MapWindow* child = frame->ActiveMapWindow();
            child->Map().stop(child->Map().AddStop(300, 250, true)).Label.Caption =
                QStringLiteral("Вокзал");
            child->document().announce(lirsk::EveryChange);
        }
        frame->acCascade->trigger();
        for (QMdiSubWindow* w : frame->MdiArea->subWindowList()) {
            const lirsk::MapView* view = qobject_cast<MapWindow*>(w->widget())->view();
            QVERIFY(view->mapSize().width() > 300);
            QVERIFY(view->viewport()->width() >= view->mapSize().width());
            QVERIFY(view->viewport()->height() >= view->mapSize().height());
        }
    }

    void windowMenuListsMaps() {
        frame->acNewExecute();
        frame->CreateMapWindow(QStringLiteral("Вторая"));
        emit frame->WindowMenu->aboutToShow();
        QStringList entries;
        for (QAction* a : frame->WindowMenu->actions())
            if (!a->isSeparator())
                entries << a->text();
        QCOMPARE(entries, QStringList({"Каскадом", "По горизонтали", "По вертикали", "Свернуть все",
                                       "&1 Без имени", "&2 Вторая"}));
    }

    void titleMarksTheUnsavedMap() {
        frame->acNewExecute();
        MapWindow* child = frame->ActiveMapWindow();
        const auto titles = [this] {
            emit frame->WindowMenu->aboutToShow();
            return QStringList{frame->MdiArea->activeSubWindow()->windowTitle(),
                               frame->WindowMenu->actions().last()->text()};
        };
        child->SetEditorMode(true);
        lirsk::edit::addStop(child->document(), 10, 10);
        QCOMPARE(titles(), QStringList({"Без имени*", "&1 Без имени*"}));
        child->editor().Undo();
        QCOMPARE(titles(), QStringList({"Без имени", "&1 Без имени"}));
    }

    void restoredWindowKeepsItsSize() {
        frame->acNewExecute();
        QMdiSubWindow* window = frame->MdiArea->activeSubWindow();
        window->showNormal();
        QVERIFY(window->width() >= frame->MdiArea->viewport()->width() / 2);
        QVERIFY(window->height() >= frame->MdiArea->viewport()->height() / 2);
    }

    void panelChecksFollowTheActiveWindow() {
        frame->acNewExecute();
        MapWindow* first = frame->ActiveMapWindow();
        // A new map's search check is on with its panel hidden: off, then on shows the panel.
        for (QAction* command : {frame->acSearchPanel, frame->acSearchPanel, frame->acRouteTable})
            command->trigger();
        frame->acNewExecute();
        MapWindow* second = frame->ActiveMapWindow();
        QVERIFY(!frame->acRouteTable->isChecked());
        frame->acSearchPanel->trigger();
        QVERIFY(!frame->acSearchPanel->isChecked());
        frame->MdiArea->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(first->parentWidget()));
        QVERIFY(frame->acSearchPanel->isChecked());
        QVERIFY(frame->acRouteTable->isChecked());
        // Each window saves its own panel.
        QTemporaryDir dir;
        for (auto [window, shown] : {std::pair{first, true}, std::pair{second, false}}) {
            const QString path = dir.filePath(QStringLiteral("map.gaf"));
            QVERIFY(window->Save(path));
            lirsk::GraphMap read;
            QVERIFY(lirsk::readMapFile(path, read, nullptr));
            QCOMPARE(read.StoredSearchPanel, shown);
        }
    }

    void aboutSetsStatus() {
        QString shown;
        frame->programDialogs().setRunner([&](QDialog&) {
            shown = frame->StatusText();
            return int(QDialog::Rejected);
        });
        frame->acAboutExecute();
        QCOMPARE(shown, QStringLiteral("Информация о программе"));
    }

    void redactorWithoutAccessDialogSpringsBack() {
        frame->acNewExecute();
        frame->acEditorMode->trigger();
        QVERIFY(!frame->acEditorMode->isChecked());
        QVERIFY(!frame->acAddStop->isVisible());
    }

    void exitClosesEveryWindow() {
        frame->acNewExecute();
        frame->acNewExecute();
        QVERIFY(frame->close());
        flush();
        QCOMPARE(frame->MapWindowCount(), 0);
    }

    void exitIsRefusedWhenTheUserCancels() {
        frame->acNewExecute();
        frame->ActiveMapWindow()->document().setModified(true);
        lirsk::setMessageHandler([this](const lirsk::MessageRequest& r) {
            messages << r.text;
            return QMessageBox::Cancel;
        });
        QVERIFY(!frame->close());
        QCOMPARE(messages, QStringList({"Сохранить изменения в карте «Без имени»?"}));
        QCOMPARE(frame->MapWindowCount(), 1);
    }

    // «Язык» shows the menus, the report's captions and the mode's hint in the language chosen at
    // once, keeps the choice for the next start, and comes back. (Last: it leaves the toolkit's own
    // texts Russian.)
    void languageSwitchesAtOnceAndIsRemembered() {
        QTemporaryDir folder;
        const QString settings = folder.filePath(QStringLiteral("lirskmap.conf"));
        keepSession(frame.get(), settings);
        const QMenu* file = frame->menuBar()->actions().first()->menu();
        const RouteReportDialog* report = frame->programDialogs().routeReport();
        frame->acNewExecute();
        frame->ActiveMapWindow()->editor().SetPointerMode();
        for (const auto& [code, fileTitle, fareCaption, modeHint] :
             {std::tuple{"en", "&File", "Fare: ", "Viewing mode"},
              std::tuple{"ru", "Файл", "Стоимость пути: ", "Режим просмотра"}}) {
            action(QStringLiteral("acLanguage_") + QLatin1String(code))->trigger();
            QCOMPARE(file->title(), QString::fromUtf8(fileTitle));
            QCOMPARE(report->fareCaption->text(), QString::fromUtf8(fareCaption));
            QTRY_COMPARE(frame->StatusText(), QString::fromUtf8(modeHint));
            QCOMPARE(lirsk::languageCode(startLanguage(settings)), QLatin1String(code));
        }
    }
};

QTEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
