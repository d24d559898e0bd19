#include "app/mainwindow.h"

#include "app/aboutdialog.h"
#include "app/accessdialog.h"
#include "app/appicon.h"
#include "app/creditsdialog.h"
#include "app/displaysettingsdialog.h"
#include "app/editingcommands.h"
#include "app/journeypanel.h"
#include "app/layoutcommands.h"
#include "app/mapwindow.h"
#include "app/menuimages.h"
#include "app/modecommands.h"
#include "app/recovery.h"
#include "edit/mapeditor.h"
#include "platform/desktop.h"
#include "platform/messages.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QProgressDialog>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTableWidget>
#include <QTimer>
#include <QToolBar>
#include <QUndoStack>

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

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent), menuImages(makeMenuImages()), programDialogs_(this) {
    setWindowTitle(QStringLiteral("Карта Лирска :: 2006 г"));
    setWindowIcon(appIcon());
    resize(700, 550);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());

    MdiArea = new QMdiArea(this);
    MdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    MdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(MdiArea);
    connect(MdiArea, &QMdiArea::subWindowActivated, this, &MainWindow::subWindowActivated);
    StatusBar = statusBar();

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
            setCriterion(criterion);
            if (MapWindow* window = currentMapWindow())
                window->editor().setByTimetable(false);
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

    // Initial states.
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
    ZoomLabel = new QLabel(this);
    ZoomLabel->setMinimumWidth(ZoomLabel->fontMetrics().horizontalAdvance(QStringLiteral("400 %")));
    ZoomLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    StatusBar->addPermanentWidget(ZoomLabel);

    journeyPanel = new JourneyPanel(this);
    journeyDock = new QDockWidget(tr("Поездка"), this);
    journeyDock->setObjectName(QStringLiteral("journeyDock"));
    journeyDock->setWidget(journeyPanel);
    addDockWidget(Qt::LeftDockWidgetArea, journeyDock);
    resizeDocks({journeyDock}, {340}, Qt::Horizontal);
    acJourneyPanel = journeyDock->toggleViewAction();
    acJourneyPanel->setObjectName(QStringLiteral("acJourneyPanel"));
    acJourneyPanel->setStatusTip(tr("Панель поездки: откуда, куда и найденные пути"));

    buildMenus();
    buildToolBar();
}

MainWindow::~MainWindow() {
    // The map windows go after this object's own part is gone: their last activation signals
    // must not reach it.
    disconnect(MdiArea, nullptr, this, nullptr);
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

QString MainWindow::StatusText() const {
    return StatusBar->currentMessage();
}

void MainWindow::ShowZoom(double zoom) {
    ZoomLabel->setText(zoom > 0 ? QStringLiteral("%1 %").arg(qRound(zoom * 100)) : QString());
}

void MainWindow::SetStatusText(const QString& text) {
    StatusBar->showMessage(text);
    // Long operations run on this thread: show the text before they go on.
    StatusBar->repaint();
}

int MainWindow::MapWindowCount() const {
    return int(MdiArea->subWindowList().size());
}

MapWindow* MainWindow::ActiveMapWindow() const {
    QMdiSubWindow* window = MdiArea->activeSubWindow();
    if (!window)
        window = MdiArea->currentSubWindow();
    return window ? qobject_cast<MapWindow*>(window->widget()) : nullptr;
}

void MainWindow::subWindowActivated(QMdiSubWindow* window) {
    if (!window)
        return;
    if (auto* child = qobject_cast<MapWindow*>(window->widget()))
        child->Activate();
}

MapWindow* MainWindow::CreateMapWindow(const QString& title) {
    auto* child = new MapWindow(this);
    child->setWindowTitle(title);
    QMdiSubWindow* window = MdiArea->addSubWindow(child);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowIcon(windowIcon());
    // Restored from maximised, the window takes the size it had before: two thirds of the frame.
    window->resize((MdiArea->viewport()->size() * 2 / 3).expandedTo(QSize(480, 360)));
    window->showMaximized();
    MdiArea->setActiveSubWindow(window);
    child->editor().setCriterion(criterion_);
    child->editor().setEditing(acAddStop->isVisible());
    // The choices of ends in the map and its lists fill the journey panel.
    lirsk::MapEditor* editor = &child->editor();
    connect(editor, &lirsk::MapEditor::wayEndChosen, journeyPanel,
            [this, child](lirsk::StopIndex stop, bool isStart) {
                journeyPanel->setMapWindow(child);
                journeyPanel->setEnd(stop, isStart);
            });
    connect(editor, &lirsk::MapEditor::nextWayEndChosen, journeyPanel,
            [this, child](lirsk::StopIndex stop) {
                journeyPanel->setMapWindow(child);
                journeyPanel->setNextEnd(stop);
            });
    connect(editor, &lirsk::MapEditor::wayDragged, journeyPanel,
            [this, child](lirsk::StopIndex start, lirsk::StopIndex finish) {
                journeyPanel->setMapWindow(child);
                journeyPanel->setEnds(start, finish);
            });
    if (current_ != child)
        child->Activate();
    return child;
}

MapWindow* MainWindow::OpenWith(const QString& title, const std::function<bool(MapWindow*)>& load) {
    MapWindow* child = CreateMapWindow(title);
    if (load(child)) {
        EnableMapCommands();
        return child;
    }
    DisableMapCommands();
    return nullptr;
}

MapWindow* MainWindow::OpenMap(const QString& path, const QString& title) {
    return OpenWith(title, [&path](MapWindow* child) { return child->Load(path); });
}

MapWindow* MainWindow::OpenRecoveredMap(const RecoveredMap& copy) {
    return OpenWith(copy.title, [&copy](MapWindow* child) { return child->LoadRecovered(copy); });
}

MapWindow* MainWindow::OpenBuiltinMap(const lirsk::MapMenuEntry& entry) {
    MapWindow* child = OpenMap(entry.path, entry.title);
    return child;
}

void MainWindow::ShowUndoState() {
    MapWindow* current = ActiveMapWindow();
    const QUndoStack* stack = current ? current->editor().undoStack() : nullptr;
    const QString undo = stack ? stack->undoText() : QString();
    const QString redo = stack ? stack->redoText() : QString();
    acUndo->setEnabled(stack && stack->canUndo());
    acUndo->setText(undo.isEmpty() ? QStringLiteral("Отменить")
                                   : QStringLiteral("Отменить: %1").arg(undo));
    acRedo->setEnabled(stack && stack->canRedo());
    acRedo->setText(redo.isEmpty() ? QStringLiteral("Повторить")
                                   : QStringLiteral("Повторить: %1").arg(redo));
}

MapWindow* MainWindow::currentMapWindow() const {
    return current_;
}

void MainWindow::setCurrentMapWindow(MapWindow* window) {
    current_ = window;
    journeyPanel->setMapWindow(window);
}

void MainWindow::ShowCriterion() {
    MapWindow* window = currentMapWindow();
    const bool timetable = window && window->document().hasMatchingTimetable();
    acByTimetable->setEnabled(timetable);
    if (timetable && window->editor().byTimetable()) {
        acByTimetable->setChecked(true);
        return;
    }
    for (auto [action, criterion] : {std::pair{acShortest, lirsk::Criterion::Shortest},
                                     std::pair{acFastest, lirsk::Criterion::Fastest},
                                     std::pair{acFewestChanges, lirsk::Criterion::FewestChanges}})
        if (criterion == criterion_)
            action->setChecked(true);
}

void MainWindow::setCriterion(lirsk::Criterion criterion) {
    criterion_ = criterion;
    for (QMdiSubWindow* sub : MdiArea->subWindowList())
        if (auto* window = qobject_cast<MapWindow*>(sub->widget()))
            window->editor().setCriterion(criterion);
    journeyPanel->criterionChanged();
}

AboutDialog* MainWindow::aboutDialog() {
    if (!aboutDialog_)
        aboutDialog_ = new AboutDialog(this);
    return aboutDialog_;
}

DisplaySettingsDialog* MainWindow::displaySettingsDialog() {
    if (!displaySettingsDialog_)
        displaySettingsDialog_ = new DisplaySettingsDialog(this);
    return displaySettingsDialog_;
}

AccessDialog* MainWindow::accessDialog() {
    if (!accessDialog_)
        accessDialog_ = new AccessDialog(this);
    return accessDialog_;
}

void MainWindow::setAccessDialog(AccessDialog* dialog) {
    delete accessDialog_.data();
    accessDialog_ = dialog;
}

CreditsDialog* MainWindow::creditsDialog() {
    if (!creditsDialog_)
        creditsDialog_ = new CreditsDialog(this);
    return creditsDialog_;
}

void MainWindow::EnableMapCommands() {
    if (!ActiveMapWindow())
        return;
    acPointer->setEnabled(true);
    acInfo->setVisible(true);
    for (QAction* a :
         {acSave, acSaveAs, acFindWay, acSettings, acSelectAll, acDelete, acSearchPanel,
          acRouteTable, acEditorMode, acZoomIn, acZoomOut, acActualSize, acFitToWindow})
        a->setEnabled(true);
}

void MainWindow::DisableMapCommands() {
    acPointer->setEnabled(false);
    acInfo->setVisible(false);
    for (QAction* a :
         {acSave, acSaveAs, acFindWay, acSettings, acSelectAll, acDelete, acSearchPanel,
          acRouteTable, acEditorMode, acZoomIn, acZoomOut, acActualSize, acFitToWindow})
        a->setEnabled(false);
    acUndo->setEnabled(false);
    acRedo->setEnabled(false);
    ShowZoom(0);
    if (MdiArea->subWindowList().size() <= 1)
        journeyPanel->setMapWindow(nullptr);
}

void MainWindow::acOpenExecute() {
    const QString path = desktop().openFileName(this);
    if (path.isEmpty())
        return;
    showWhole(OpenMap(path, path));
}

void MainWindow::showWhole(MapWindow* window) {
    // Once the window has its size.
    if (window)
        QTimer::singleShot(0, window, [window] {
            // A small map stays at 100 %, centred.
            lirsk::MapView* view = window->view();
            if (view->fitZoom() < 1.0)
                view->zoomToFit();
            else
                view->resetZoom();
        });
}

void MainWindow::acImportGtfsExecute() {
    if (importJob_)
        return;
    const QString feed = desktop().feedPath(this);
    if (feed.isEmpty())
        return;
    importFeed_ = feed;
    acImportGtfs->setEnabled(false);
    importJob_ = new GtfsImportJob(this);
    importProgress_ = new QProgressDialog(tr("Чтение набора GTFS..."), tr("Отмена"), 0, 100, this);
    importProgress_->setWindowTitle(tr("Импорт GTFS"));
    importProgress_->setWindowModality(Qt::WindowModal);
    importProgress_->setAutoClose(false);
    importProgress_->setAutoReset(false);
    importProgress_->setMinimumDuration(300);
    importProgress_->setValue(0);
    connect(importProgress_, &QProgressDialog::canceled, importJob_, &GtfsImportJob::cancel);
    connect(importJob_, &GtfsImportJob::progress, importProgress_,
            [this](const QString& stage, double done) {
                importProgress_->setLabelText(tr("Импорт GTFS: %1").arg(stage));
                importProgress_->setValue(qBound(0, int(done * 100), 99));
            });
    connect(importJob_, &GtfsImportJob::summarized, this, &MainWindow::importSummarized);
    connect(importJob_, &GtfsImportJob::imported, this, &MainWindow::importDone);
    connect(importJob_, &GtfsImportJob::failed, this, &MainWindow::importFailed);
    connect(importJob_, &GtfsImportJob::cancelled, this, [this] {
        SetStatusText(tr("Импорт прерван"));
        endImport(nullptr);
    });
    importJob_->summarize(feed);
}

void MainWindow::importSummarized(const lirsk::GtfsFeedSummary& summary) {
    importProgress_->reset();
    importProgress_->hide();
    importAgency_ = summary.agencyName;
    const std::optional<QSet<int>> types = desktop().routeTypes(this, summary);
    if (!types || types->isEmpty()) {
        endImport(nullptr);
        return;
    }
    lirsk::GtfsImportOptions options;
    options.routeTypes = *types;
    importProgress_->setLabelText(tr("Чтение набора GTFS..."));
    importProgress_->setValue(0);
    importJob_->import(importFeed_, options);
    if (importProgress_)
        emit importStarted(importProgress_);
}

void MainWindow::importDone(const GtfsImportJob::Imported& result) {
    // Reset stops the dialog's timer that would show it again, over the note, and block it.
    importProgress_->reset();
    importProgress_->hide();
    const QString name = !result.description.title.isEmpty() ? result.description.title
                         : !importAgency_.isEmpty()          ? importAgency_
                                                             : QFileInfo(importFeed_).fileName();
    MapWindow* child = CreateMapWindow(name);
    if (!child->LoadImported(result.mapBytes, result.description, result.timetable)) {
        DisableMapCommands();
        endImport(nullptr);
        return;
    }
    EnableMapCommands();
    showWhole(child);
    if (!result.notes.isEmpty())
        lirsk::showMessage(child, {QMessageBox::Information, child->windowTitle(),
                                   result.notes.join(QLatin1Char('\n')), QMessageBox::Ok});
    endImport(child);
}

void MainWindow::importFailed(const QString& error) {
    importProgress_->reset();
    importProgress_->hide();
    lirsk::showMessage(this, {QMessageBox::Critical, tr("Импорт GTFS"),
                              tr("Не удалось импортировать набор GTFS %1:\n%2")
                                  .arg(QDir::toNativeSeparators(importFeed_), error),
                              QMessageBox::Ok});
    endImport(nullptr);
}

void MainWindow::endImport(MapWindow* window) {
    // The job may be the sender: it goes once its signal has returned.
    importJob_->deleteLater();
    importJob_ = nullptr;
    importProgress_->deleteLater();
    importProgress_ = nullptr;
    acImportGtfs->setEnabled(true);
    emit importFinished(window);
}

void MainWindow::acSaveExecute() {
    if (MapWindow* current = currentMapWindow())
        current->Save(QString());
}

bool MainWindow::acSaveAsExecute() {
    MapWindow* current = currentMapWindow();
    if (!current)
        return false;
    const QString path = desktop().saveFileName(this, ShippedMapRefusal);
    if (path.isEmpty())
        return false;
    return current->Save(path);
}

void MainWindow::acCloseExecute() {
    // A window the user kept open (the save was cancelled) keeps the commands.
    if (QMdiSubWindow* window =
            MdiArea->activeSubWindow() ? MdiArea->activeSubWindow() : MdiArea->currentSubWindow())
        if (!window->close())
            return;
    DisableMapCommands();
}

void MainWindow::acNewExecute() {
    // A new window releases the editor button; a map made in editor mode is edited at once.
    const bool editing = acAddStop->isVisible();
    MapWindow* child = CreateMapWindow(QStringLiteral("Без имени"));
    EnableMapCommands();
    if (editing) {
        acEditorMode->setChecked(true);
        child->SetEditorMode(true);
    }
}

void MainWindow::acAboutExecute() {
    SetStatusText(QStringLiteral("Информация о программе"));
    programDialogs_.run(*aboutDialog());
    SetStatusText(QStringLiteral("Режим ожидания"));
}

void MainWindow::acHelpExecute() {
    const QFileInfo help(lirsk::resolveDataPath(HelpPage, DataRoots()));
    const auto tell = [frame = QPointer<MainWindow>(this)](const QString& problem) {
        if (frame)
            lirsk::showMessage(
                frame, {QMessageBox::Warning, QStringLiteral("Справка"), problem, QMessageBox::Ok});
    };
    if (!help.isFile()) {
        tell(QStringLiteral("Файл справки не найден: %1").arg(HelpPage));
        return;
    }
    // The opener may give up after it started: the user is told where the page is then too.
    const QString page = help.absoluteFilePath();
    desktop().openDocument(page, [tell, page] {
        tell(QStringLiteral("Не удалось открыть справку: не найдена программа для просмотра "
                            "HTML.\nСправку можно открыть в любом браузере: %1")
                 .arg(page));
    });
}

void MainWindow::RedactorExecute() {
    if (acEditorMode->isChecked()) {
        // The access dialog switches editor mode on; without it the button springs back.
        programDialogs_.run(*accessDialog());
    } else if (MapWindow* current = current_) {
        current->SetEditorMode(false);
        accessDialog()->CloseDialog();
    }
}

namespace {

// Lays the map windows that are not minimised side by side, in rows or in columns.
void tile(QMdiArea* area, Qt::Orientation orientation) {
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* w : area->subWindowList())
        if (!w->isMinimized())
            windows.append(w);
    if (windows.isEmpty())
        return;
    const QRect rect = area->viewport()->rect();
    const int n = int(windows.size());
    for (int i = 0; i < n; ++i) {
        windows[i]->showNormal();
        if (orientation == Qt::Horizontal)
            windows[i]->setGeometry(0, i * (rect.height() / n), rect.width(), rect.height() / n);
        else
            windows[i]->setGeometry(i * (rect.width() / n), 0, rect.width() / n, rect.height());
    }
}

} // namespace

void MainWindow::Cascade() {
    MdiArea->cascadeSubWindows();
    // The toolkit's cascade gives each window its smallest size: each gets at least what its map
    // needs at its zoom (with room for the scroll bars, which then go), or two thirds of the frame
    // when that is less.
    const QSize most = MdiArea->viewport()->size() * 2 / 3;
    for (QMdiSubWindow* window : MdiArea->subWindowList()) {
        const auto* child = qobject_cast<MapWindow*>(window->widget());
        if (!child || window->isMinimized())
            continue;
        const lirsk::MapView* view = child->view();
        const int edges = 2 * view->frameWidth() +
                          view->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view);
        const QSize needs =
            window->size() - view->size() + QSize(edges, edges) + view->mapSize() * view->zoom();
        window->resize(window->size().expandedTo(needs.boundedTo(most)));
    }
}

void MainWindow::TileHorizontally() {
    tile(MdiArea, Qt::Horizontal);
}

void MainWindow::TileVertically() {
    tile(MdiArea, Qt::Vertical);
}

void MainWindow::MinimizeAll() {
    // A maximised window passes its state on to the next one activated: restore them all first.
    const QList<QMdiSubWindow*> windows = MdiArea->subWindowList();
    for (QMdiSubWindow* w : windows)
        w->showNormal();
    for (QMdiSubWindow* w : windows)
        w->showMinimized();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The import's own dialog ends it first.
    if (importJob_) {
        event->ignore();
        return;
    }
    emit closing();
    MdiArea->closeAllSubWindows();
    if (!MdiArea->subWindowList().isEmpty()) {
        event->ignore();
        return;
    }
    event->accept();
}
