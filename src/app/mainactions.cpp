// The frame's commands: its actions, their menus and the tool bar.

#include "app/creditsdialog.h"
#include "app/editingcommands.h"
#include "app/journeypanel.h"
#include "app/layoutcommands.h"
#include "app/mapprinting.h"
#include "app/mainwindow.h"
#include "app/mapwindow.h"
#include "app/modecommands.h"
#include "edit/mapeditor.h"

#include <QActionGroup>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>

namespace {

// Hints of the map menus' own entries.
QString mapEntryHint(const QString& menu, const QString& entry) {
    if (menu != QLatin1String("Карта Лирска"))
        return {};
    if (entry == QLatin1String("Автобусная"))
        return QStringLiteral("Автобусная карта Лирска");
    if (entry == QLatin1String("Троллейбусная"))
        return QStringLiteral("Троллейбусная карта Лирска");
    if (entry == QLatin1String("Трамвайная"))
        return QStringLiteral("Трамвайная карта Лирска");
    return {};
}

} // namespace

void MainWindow::createActions() {
    acOpen = makeAction("acOpen", "Открыть", "Открыть карту", 1);
    acOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    acImportGtfs = makeAction("acImportGtfs", "Импорт GTFS…",
                              "Создать карту из расписания в формате GTFS", -1);
    acSave = makeAction("acSave", "Сохранить", "Сохранить карту", 2);
    acSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    acSaveAs = makeAction("acSaveAs", "Сохранить как", "Сохранить карту под новым именем", -1);
    acSaveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S));
    acClose = makeAction("acClose", "Закрыть", "Закрыть активное окно", -1);
    acExit = makeAction("acExit", "Выход", "Выход из программы", -1);
    acArrange = makeAction("acArrange", "&Arrange", "Активные окна", -1);
    acCascade = makeAction("acCascade", "Каскадом", "Выравнивание каскадом", 10);
    acMinimizeAll = makeAction("acMinimizeAll", "Свернуть все", "Свернуть все окна", -1);
    acTileHorizontally =
        makeAction("acTileHorizontally", "По горизонтали", "Выравнивание по горизонтали", 11);
    acTileVertically =
        makeAction("acTileVertically", "По вертикали", "Выравнивание по вертикали", 12);
    acAbout = makeAction("acAbout", "О программе", "Сведения о программе", 3);
    acPointer = makeAction("acPointer", "Указатель", "Режим просмотра", 8);
    acAddStop = makeAction("acAddStop", "Добавить вершину", "Создание остановки", 4);
    acAddRoad = makeAction("acAddRoad", "Добавить ребро", "Создание дороги", 5);
    acDeleteRoad = makeAction("acDeleteRoad", "Удалить ребро", "Удаление дороги", 6);
    acChangeRoad =
        makeAction("acChangeRoad", "Изменить параметры дороги", "Изменить параметры дороги", 7);
    acFindWay = makeAction("acFindWay", "Поиск пути", "Поиск пути", 9);
    acSettings = makeAction("acSettings", "Настройки", "Настройки", -1);
    acSelectAll = makeAction("acSelectAll", "Выбрать всё", "Выбрать все остановки", -1);
    acSelectAll->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    acDelete = makeAction("acDelete", "Удалить", "Удалить выделенные остановки", -1);
    acDelete->setShortcut(QKeySequence(Qt::Key_Delete));
    acSearchPanel = makeAction("acSearchPanel", "Панель поиска", "Панель поиска", -1);
    acHelp = makeAction("acHelp", "Справка", "Справка", 13);
    acAssistant = makeAction("acAssistant", "Помощник", QString(), 14);
    acRouteTable = makeAction("acRouteTable", "Маршруты", "Маршруты", -1);
    acEditorMode = makeAction("acEditorMode", "acEditorMode", "Режим редактора", 15);
    acNew = makeAction("acNew", "acNew", QString(), 0);
    acNew->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    acAddArc = makeAction("acAddArc", "acAddArc", QString(), 16);
    acDeleteArc = makeAction("acDeleteArc", "acDeleteArc", QString(), 17);
    acInfo = makeAction("acInfo", "acInfo", "Информация об остановке", 18);
    acCredits = makeAction("acCredits", "Соавторы", QString(), -1);
}

// The search criteria, the zoom and undo: commands on the active map window.
void MainWindow::createMapActions() {
    acShortest = makeAction("acShortest", "Кратчайший путь", "Искать кратчайший путь", -1);
    acFastest = makeAction("acFastest", "Быстрейший путь", "Искать быстрейший путь", -1);
    acFewestChanges = makeAction("acFewestChanges", "Меньше пересадок",
                                 "Искать путь с меньшим числом пересадок", -1);
    auto* criteria = new QActionGroup(this);
    for (auto [action, criterion] : {std::pair{acShortest, lirsk::Criterion::Shortest},
                                     std::pair{acFastest, lirsk::Criterion::Fastest},
                                     std::pair{acFewestChanges, lirsk::Criterion::FewestChanges}}) {
        action->setCheckable(true);
        action->setChecked(criterion_ == criterion);
        criteria->addAction(action);
        connect(action, &QAction::triggered, this, [this, criterion] {
            if (MapWindow* window = currentMapWindow())
                window->editor().setByTimetable(false);
            setCriterion(criterion);
        });
    }
    acByTimetable = makeAction("acByTimetable", tr("По расписанию"),
                               tr("Искать поездку по расписанию от выбранного времени"), -1);
    acByTimetable->setCheckable(true);
    acByTimetable->setEnabled(false);
    criteria->addAction(acByTimetable);
    connect(acByTimetable, &QAction::triggered, this, [this] {
        if (MapWindow* window = currentMapWindow())
            window->editor().setByTimetable(true);
        journeyPanel->criterionChanged();
    });
    acZoomIn = makeAction("acZoomIn", "Увеличить", "Увеличить масштаб карты", -1);
    acZoomIn->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    acZoomOut = makeAction("acZoomOut", "Уменьшить", "Уменьшить масштаб карты", -1);
    acZoomOut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    acActualSize = makeAction("acActualSize", "Масштаб 100 %", "Карта в натуральную величину", 20);
    acActualSize->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    acFitToWindow = makeAction("acFitToWindow", "По размеру окна", "Вся карта в окне", 19);
    acUndo = makeAction("acUndo", "Отменить", QString(), -1);
    acUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    acUndo->setIcon(
        QIcon::fromTheme(QStringLiteral("edit-undo"), style()->standardIcon(QStyle::SP_ArrowBack)));
    acRedo = makeAction("acRedo", "Повторить", QString(), -1);
    acRedo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    acRedo->setIcon(QIcon::fromTheme(QStringLiteral("edit-redo"),
                                     style()->standardIcon(QStyle::SP_ArrowForward)));
    connect(acUndo, &QAction::triggered, this, [this] {
        if (MapWindow* current = currentMapWindow())
            current->editor().Undo();
    });
    connect(acRedo, &QAction::triggered, this, [this] {
        if (MapWindow* current = currentMapWindow())
            current->editor().Redo();
    });
    acUndo->setEnabled(false);
    acRedo->setEnabled(false);
}

// What is enabled and shown before a map is open, and which entries check.
void MainWindow::setInitialActionStates() {
    for (QAction* a :
         {acSave, acSaveAs, acSettings, acSelectAll, acDelete, acSearchPanel, acRouteTable,
          acEditorMode, acFindWay, acZoomIn, acZoomOut, acActualSize, acFitToWindow})
        a->setEnabled(false);
    for (QAction* a : {acPointer, acAddStop, acAddRoad, acDeleteRoad, acChangeRoad, acNew, acAddArc,
                       acDeleteArc, acInfo, acDelete, acUndo, acRedo})
        a->setVisible(false);
    ModeGroup = new QActionGroup(this);
    ModeGroup->setExclusive(true);
    for (QAction* a : {acPointer, acAddStop, acAddArc, acDeleteArc, acAddRoad, acDeleteRoad,
                       acChangeRoad, acInfo, acFindWay}) {
        a->setCheckable(true);
        ModeGroup->addAction(a);
    }
    acFindWay->setChecked(true);
    acSearchPanel->setCheckable(true);
    acSearchPanel->setChecked(true);
    acRouteTable->setCheckable(true);
    acAssistant->setCheckable(true);
    acAssistant->setChecked(true);
    acEditorMode->setCheckable(true);
}

void MainWindow::connectActions() {
    connect(acOpen, &QAction::triggered, this, &MainWindow::acOpenExecute);
    connect(acImportGtfs, &QAction::triggered, this, &MainWindow::acImportGtfsExecute);
    connect(acSave, &QAction::triggered, this, &MainWindow::acSaveExecute);
    connect(acSaveAs, &QAction::triggered, this, &MainWindow::acSaveAsExecute);
    connect(acClose, &QAction::triggered, this, &MainWindow::acCloseExecute);
    connect(acExit, &QAction::triggered, this, &QWidget::close);
    connect(acArrange, &QAction::triggered, MdiArea, &QMdiArea::tileSubWindows);
    connect(acCascade, &QAction::triggered, this, &MainWindow::Cascade);
    connect(acTileHorizontally, &QAction::triggered, this, &MainWindow::TileHorizontally);
    connect(acTileVertically, &QAction::triggered, this, &MainWindow::TileVertically);
    connect(acMinimizeAll, &QAction::triggered, this, &MainWindow::MinimizeAll);
    connect(acAbout, &QAction::triggered, this, &MainWindow::acAboutExecute);
    connect(acHelp, &QAction::triggered, this, &MainWindow::acHelpExecute);
    connect(acNew, &QAction::triggered, this, &MainWindow::acNewExecute);
    connect(acEditorMode, &QAction::triggered, this, &MainWindow::RedactorExecute);
    WireEditCommands(this);
    connect(acSettings, &QAction::triggered, this, [this] {
        if (MapWindow* current = currentMapWindow())
            current->ChangeSettings();
    });
    connect(acSearchPanel, &QAction::triggered, this, [this](bool checked) {
        if (MapWindow* current = currentMapWindow())
            current->ShowSearchPanel(checked);
    });
    connect(acRouteTable, &QAction::triggered, this, [this](bool checked) {
        if (MapWindow* current = currentMapWindow())
            current->ShowRoutesPanel(checked);
    });
    connect(acCredits, &QAction::triggered, this,
            [this] { programDialogs_.run(*creditsDialog()); });
    const auto onView = [this](QAction* action, void (lirsk::MapView::*zoom)()) {
        connect(action, &QAction::triggered, this, [this, zoom] {
            if (MapWindow* current = currentMapWindow())
                (current->view()->*zoom)();
        });
    };
    onView(acZoomIn, &lirsk::MapView::zoomIn);
    onView(acZoomOut, &lirsk::MapView::zoomOut);
    onView(acActualSize, &lirsk::MapView::resetZoom);
    onView(acFitToWindow, &lirsk::MapView::zoomToFit);
}

QAction* MainWindow::makeAction(const char* name, const QString& caption, const QString& hint,
                                int image) {
    auto* action = new QAction(caption, this);
    action->setObjectName(QLatin1String(name));
    if (!hint.isEmpty()) {
        action->setStatusTip(hint);
        action->setToolTip(hint);
    }
    if (image >= 0 && image < menuImages.size())
        action->setIcon(menuImages[image]);
    return action;
}

void MainWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("Файл"));
    file->addActions({acOpen, acImportGtfs, acSave, acSaveAs, acClose});
    file->addSeparator();
    addMapOutputActions(this, file);
    file->addSeparator();
    file->addAction(acExit);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("Правка"));
    edit->addActions({acUndo, acRedo});
    edit->addSeparator();
    edit->addActions({acDelete, acSelectAll});

    QMenu* control = menuBar()->addMenu(QStringLiteral("Управление"));
    for (const lirsk::MapMenuEntry& entry : lirsk::mapMenuCatalogue()) {
        QMenu* menu = MapMenu(entry.menu);
        if (!menu) {
            menu = control->addMenu(entry.menu);
            if (entry.menu == QLatin1String("Карта Лирска"))
                menu->menuAction()->setStatusTip(QStringLiteral("Выбор карты"));
            const bool shown = lirsk::mapMenuVisible(entry.menu);
            menu->menuAction()->setVisible(shown);
            menu->menuAction()->setEnabled(shown);
            mapMenus_.append({entry.menu, menu});
        }
        QAction* action = menu->addAction(entry.entry);
        const QString hint = mapEntryHint(entry.menu, entry.entry);
        if (!hint.isEmpty())
            action->setStatusTip(hint);
        action->setVisible(entry.visible);
        action->setEnabled(entry.enabled);
        if (!entry.path.isEmpty())
            connect(action, &QAction::triggered, this, [this, entry] { OpenBuiltinMap(entry); });
        mapEntries_.append({entry.menu + QLatin1Char('|') + entry.entry, action});
    }

    QMenu* service = menuBar()->addMenu(QStringLiteral("Сервис"));
    service->addAction(acSettings);
    // The left panel's two parts are shown and hidden from here.
    QMenu* criterion = service->addMenu(QStringLiteral("Критерий поиска"));
    criterion->addActions({acShortest, acFastest, acFewestChanges, acByTimetable});
    service->addSeparator();
    service->addActions({acSearchPanel, acRouteTable});

    QMenu* view = menuBar()->addMenu(QStringLiteral("Вид"));
    view->addActions({acZoomIn, acZoomOut, acActualSize, acFitToWindow});
    view->addSeparator();
    view->addAction(acJourneyPanel);
    BuildEditingCommands(this, edit, service, view);
    AddLayoutCommands(this, view);

    WindowMenu = menuBar()->addMenu(QStringLiteral("Окно"));
    connect(WindowMenu, &QMenu::aboutToShow, this, &MainWindow::buildWindowList);
    buildWindowList();

    QMenu* help = menuBar()->addMenu(QStringLiteral("Помощь"));
    help->addActions({acAssistant, acCredits, acHelp, acAbout});
}

void MainWindow::buildWindowList() {
    WindowMenu->clear();
    WindowMenu->addActions({acCascade, acTileHorizontally, acTileVertically, acMinimizeAll});
    const QList<QMdiSubWindow*> windows = MdiArea->subWindowList();
    if (windows.isEmpty())
        return;
    WindowMenu->addSeparator();
    for (int i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* window = windows[i];
        QAction* action =
            WindowMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(window->windowTitle()));
        action->setCheckable(true);
        action->setChecked(window == MdiArea->currentSubWindow());
        connect(action, &QAction::triggered, this, [this, window] {
            if (MdiArea->subWindowList().contains(window)) {
                if (window->isMinimized())
                    window->showNormal();
                MdiArea->setActiveSubWindow(window);
            }
        });
    }
}

void MainWindow::buildToolBar() {
    toolBar = addToolBar(QStringLiteral("Панель инструментов"));
    toolBar->setObjectName(QStringLiteral("toolBar"));
    toolBar->setMovable(false);
    toolBar->setIconSize(QSize(16, 16));
    toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolBar->addActions({acNew, acOpen, acSave, acEditorMode});
    toolBar->addSeparator();
    toolBar->addActions({acUndo, acRedo});
    toolBar->addSeparator();
    toolBar->addActions({acPointer, acAddStop, acAddArc, acDeleteArc, acAddRoad, acDeleteRoad,
                         acChangeRoad, acInfo, acFindWay});
    toolBar->addSeparator();
    toolBar->addActions({acFitToWindow, acActualSize});
    toolBar->addSeparator();
    toolBar->addActions({acHelp, acAbout});
}

QAction* MainWindow::MapMenuAction(const QString& menu, const QString& entry) const {
    const QString key = menu + QLatin1Char('|') + entry;
    for (const auto& [name, action] : mapEntries_)
        if (name == key)
            return action;
    return nullptr;
}

QMenu* MainWindow::MapMenu(const QString& menu) const {
    for (const auto& [name, m] : mapMenus_)
        if (name == menu)
            return m;
    return nullptr;
}
