// The frame's commands: its actions, their menus and the tool bar.

#include "app/creditsdialog.h"
#include "app/editingcommands.h"
#include "app/journeypanel.h"
#include "app/languagemenu.h"
#include "app/layoutcommands.h"
#include "app/mainwindow.h"
#include "app/mapprinting.h"
#include "app/mapwindow.h"
#include "app/modecommands.h"
#include "edit/mapeditor.h"
#include "platform/translatedtext.h"

#include <QActionGroup>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>

namespace {

// The map menus' captions and hints as the catalogue names them, translated for the menu only:
// the catalogue's own names stay the keys.
struct MapMenuText {
    const char* name;
    const char* hint;
};
constexpr MapMenuText kMapMenuTexts[] = {
    {QT_TRANSLATE_NOOP("MapMenus", "Карта Лирска"), QT_TRANSLATE_NOOP("MapMenus", "Выбор карты")},
    {QT_TRANSLATE_NOOP("MapMenus", "Карты метро России"), nullptr},
    {QT_TRANSLATE_NOOP("MapMenus", "Карта Н.Челнов"), nullptr},
    {QT_TRANSLATE_NOOP("MapMenus", "Метро"), nullptr},
    {QT_TRANSLATE_NOOP("MapMenus", "Автобусная"),
     QT_TRANSLATE_NOOP("MapMenus", "Автобусная карта Лирска")},
    {QT_TRANSLATE_NOOP("MapMenus", "Троллейбусная"),
     QT_TRANSLATE_NOOP("MapMenus", "Троллейбусная карта Лирска")},
    {QT_TRANSLATE_NOOP("MapMenus", "Трамвайная"),
     QT_TRANSLATE_NOOP("MapMenus", "Трамвайная карта Лирска")},
    {QT_TRANSLATE_NOOP("MapMenus", "Санкт-Петербург"), nullptr},
    {QT_TRANSLATE_NOOP("MapMenus", "Лирск"), nullptr},
    {QT_TRANSLATE_NOOP("MapMenus", "Москва"), nullptr},
    {QT_TRANSLATE_NOOP("MapMenus", "Н.Новгород"), nullptr},
    {QT_TRANSLATE_NOOP("MapMenus", "Новосибирск"), nullptr},
    {QT_TRANSLATE_NOOP("MapMenus", "Екатеринбург"), nullptr},
    {QT_TRANSLATE_NOOP("MapMenus", "Самара"), nullptr},
};

// The built-in maps' window titles as the catalogue gives them.
constexpr const char* kBuiltinMapTitles[] = {
    QT_TRANSLATE_NOOP("MapMenus", "Карта лирского метро"),
    QT_TRANSLATE_NOOP("MapMenus", "Автобусная карта"),
    QT_TRANSLATE_NOOP("MapMenus", "Троллейбусная карта"),
    QT_TRANSLATE_NOOP("MapMenus", "Трамвайная карта"),
    QT_TRANSLATE_NOOP("MapMenus", "Карта метро Санкт-Петербурга"),
    QT_TRANSLATE_NOOP("MapMenus", "Карта метро Лирск"),
    QT_TRANSLATE_NOOP("MapMenus", "Карта метро Москвы"),
    QT_TRANSLATE_NOOP("MapMenus", "Карта метро Екатеринбурга"),
    QT_TRANSLATE_NOOP("MapMenus", "Карта метро Самара"),
    QT_TRANSLATE_NOOP("MapMenus", "Трамвайная карта Набережных Челнов"),
};

// Shows a catalogue name on a map menu or entry, in the program's language; a hint only on the
// entries of the Lirsk menu and on that menu itself.
void showMapMenuText(QAction* action, const QString& name, bool withHint) {
    action->setText(name);
    for (const MapMenuText& text : kMapMenuTexts) {
        if (name != QString::fromUtf8(text.name))
            continue;
        lirsk::setTranslatedText(action, "text", "MapMenus", text.name);
        if (withHint && text.hint)
            lirsk::setTranslatedText(action, "statusTip", "MapMenus", text.hint);
    }
}

} // namespace

void MainWindow::createActions() {
    acOpen = makeAction("acOpen", QT_TR_NOOP("Открыть"), QT_TR_NOOP("Открыть карту"), 1);
    acOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    acImportGtfs = makeAction("acImportGtfs", QT_TR_NOOP("Импорт GTFS…"),
                              QT_TR_NOOP("Создать карту из расписания в формате GTFS"), -1);
    acSave = makeAction("acSave", QT_TR_NOOP("Сохранить"), QT_TR_NOOP("Сохранить карту"), 2);
    acSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    acSaveAs = makeAction("acSaveAs", QT_TR_NOOP("Сохранить как"),
                          QT_TR_NOOP("Сохранить карту под новым именем"), -1);
    acSaveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S));
    acClose = makeAction("acClose", QT_TR_NOOP("Закрыть"), QT_TR_NOOP("Закрыть активное окно"), -1);
    acExit = makeAction("acExit", QT_TR_NOOP("Выход"), QT_TR_NOOP("Выход из программы"), -1);
    acArrange = makeAction("acArrange", "&Arrange", QT_TR_NOOP("Активные окна"), -1);
    acCascade =
        makeAction("acCascade", QT_TR_NOOP("Каскадом"), QT_TR_NOOP("Выравнивание каскадом"), 10);
    acMinimizeAll = makeAction("acMinimizeAll", QT_TR_NOOP("Свернуть все"),
                               QT_TR_NOOP("Свернуть все окна"), -1);
    acTileHorizontally = makeAction("acTileHorizontally", QT_TR_NOOP("По горизонтали"),
                                    QT_TR_NOOP("Выравнивание по горизонтали"), 11);
    acTileVertically = makeAction("acTileVertically", QT_TR_NOOP("По вертикали"),
                                  QT_TR_NOOP("Выравнивание по вертикали"), 12);
    acAbout =
        makeAction("acAbout", QT_TR_NOOP("О программе"), QT_TR_NOOP("Сведения о программе"), 3);
    acPointer = makeAction("acPointer", QT_TR_NOOP("Указатель"), QT_TR_NOOP("Режим просмотра"), 8);
    acAddStop = makeAction("acAddStop", QT_TR_NOOP("Добавить вершину"),
                           QT_TR_NOOP("Создание остановки"), 4);
    acAddRoad =
        makeAction("acAddRoad", QT_TR_NOOP("Добавить ребро"), QT_TR_NOOP("Создание дороги"), 5);
    acDeleteRoad =
        makeAction("acDeleteRoad", QT_TR_NOOP("Удалить ребро"), QT_TR_NOOP("Удаление дороги"), 6);
    acChangeRoad = makeAction("acChangeRoad", QT_TR_NOOP("Изменить параметры дороги"),
                              QT_TR_NOOP("Изменить параметры дороги"), 7);
    acFindWay = makeAction("acFindWay", QT_TR_NOOP("Поиск пути"), QT_TR_NOOP("Поиск пути"), 9);
    acSettings = makeAction("acSettings", QT_TR_NOOP("Настройки"), QT_TR_NOOP("Настройки"), -1);
    acSelectAll = makeAction("acSelectAll", QT_TR_NOOP("Выбрать всё"),
                             QT_TR_NOOP("Выбрать все остановки"), -1);
    acSelectAll->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    acDelete = makeAction("acDelete", QT_TR_NOOP("Удалить"),
                          QT_TR_NOOP("Удалить выделенные остановки"), -1);
    acDelete->setShortcut(QKeySequence(Qt::Key_Delete));
    acSearchPanel =
        makeAction("acSearchPanel", QT_TR_NOOP("Панель поиска"), QT_TR_NOOP("Панель поиска"), -1);
    acHelp = makeAction("acHelp", QT_TR_NOOP("Справка"), QT_TR_NOOP("Справка"), 13);
    acAssistant = makeAction("acAssistant", QT_TR_NOOP("Помощник"), nullptr, 14);
    acRouteTable = makeAction("acRouteTable", QT_TR_NOOP("Маршруты"), QT_TR_NOOP("Маршруты"), -1);
    acEditorMode = makeAction("acEditorMode", "acEditorMode", QT_TR_NOOP("Режим редактора"), 15);
    acNew = makeAction("acNew", "acNew", nullptr, 0);
    acNew->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    acAddArc = makeAction("acAddArc", "acAddArc", nullptr, 16);
    acDeleteArc = makeAction("acDeleteArc", "acDeleteArc", nullptr, 17);
    acInfo = makeAction("acInfo", "acInfo", QT_TR_NOOP("Информация об остановке"), 18);
    acCredits = makeAction("acCredits", QT_TR_NOOP("Соавторы"), nullptr, -1);
}

// The search criteria, the zoom and undo: commands on the active map window.
void MainWindow::createMapActions() {
    acShortest = makeAction("acShortest", QT_TR_NOOP("Кратчайший путь"),
                            QT_TR_NOOP("Искать кратчайший путь"), -1);
    acFastest = makeAction("acFastest", QT_TR_NOOP("Быстрейший путь"),
                           QT_TR_NOOP("Искать быстрейший путь"), -1);
    acFewestChanges = makeAction("acFewestChanges", QT_TR_NOOP("Меньше пересадок"),
                                 QT_TR_NOOP("Искать путь с меньшим числом пересадок"), -1);
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
    acByTimetable =
        makeAction("acByTimetable", QT_TR_NOOP("По расписанию"),
                   QT_TR_NOOP("Искать поездку по расписанию от выбранного времени"), -1);
    acByTimetable->setCheckable(true);
    acByTimetable->setEnabled(false);
    criteria->addAction(acByTimetable);
    connect(acByTimetable, &QAction::triggered, this, [this] {
        if (MapWindow* window = currentMapWindow())
            window->editor().setByTimetable(true);
        journeyPanel->criterionChanged();
    });
    acZoomIn =
        makeAction("acZoomIn", QT_TR_NOOP("Увеличить"), QT_TR_NOOP("Увеличить масштаб карты"), -1);
    acZoomIn->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    acZoomOut =
        makeAction("acZoomOut", QT_TR_NOOP("Уменьшить"), QT_TR_NOOP("Уменьшить масштаб карты"), -1);
    acZoomOut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    acActualSize = makeAction("acActualSize", QT_TR_NOOP("Масштаб 100 %"),
                              QT_TR_NOOP("Карта в натуральную величину"), 20);
    acActualSize->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    acFitToWindow = makeAction("acFitToWindow", QT_TR_NOOP("По размеру окна"),
                               QT_TR_NOOP("Вся карта в окне"), 19);
    acUndo = makeAction("acUndo", QT_TR_NOOP("Отменить"), nullptr, -1);
    acUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    acUndo->setIcon(
        QIcon::fromTheme(QStringLiteral("edit-undo"), style()->standardIcon(QStyle::SP_ArrowBack)));
    acRedo = makeAction("acRedo", QT_TR_NOOP("Повторить"), nullptr, -1);
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

QAction* MainWindow::makeAction(const char* name, const char* caption, const char* hint,
                                int image) {
    auto* action = new QAction(this);
    action->setObjectName(QLatin1String(name));
    lirsk::keepText<MainWindow>(action, "text", caption);
    if (hint) {
        lirsk::keepText<MainWindow>(action, "statusTip", hint);
        lirsk::keepText<MainWindow>(action, "toolTip", hint);
    }
    if (image >= 0 && image < menuImages.size())
        action->setIcon(menuImages[image]);
    return action;
}

void MainWindow::buildMenus() {
    QMenu* file = addFrameMenu(menuBar(), QT_TR_NOOP("Файл"));
    file->addActions({acOpen, acImportGtfs, acSave, acSaveAs, acClose});
    file->addSeparator();
    addMapOutputActions(this, file);
    file->addSeparator();
    file->addAction(acExit);

    QMenu* edit = addFrameMenu(menuBar(), QT_TR_NOOP("Правка"));
    edit->addActions({acUndo, acRedo});
    edit->addSeparator();
    edit->addActions({acDelete, acSelectAll});

    QMenu* control = addFrameMenu(menuBar(), QT_TR_NOOP("Управление"));
    const QString lirskMenu = QString::fromUtf8(kMapMenuTexts[0].name);
    for (const lirsk::MapMenuEntry& entry : lirsk::mapMenuCatalogue()) {
        QMenu* menu = MapMenu(entry.menu);
        if (!menu) {
            menu = control->addMenu(entry.menu);
            showMapMenuText(menu->menuAction(), entry.menu, entry.menu == lirskMenu);
            const bool shown = lirsk::mapMenuVisible(entry.menu);
            menu->menuAction()->setVisible(shown);
            menu->menuAction()->setEnabled(shown);
            mapMenus_.append({entry.menu, menu});
        }
        QAction* action = menu->addAction(entry.entry);
        showMapMenuText(action, entry.entry, entry.menu == lirskMenu);
        action->setVisible(entry.visible);
        action->setEnabled(entry.enabled);
        if (!entry.path.isEmpty())
            connect(action, &QAction::triggered, this, [this, entry] { OpenBuiltinMap(entry); });
        mapEntries_.append({entry.menu + QLatin1Char('|') + entry.entry, action});
    }

    QMenu* service = addFrameMenu(menuBar(), QT_TR_NOOP("Сервис"));
    service->addAction(acSettings);
    // The left panel's two parts are shown and hidden from here.
    QMenu* criterion = addFrameMenu(service, QT_TR_NOOP("Критерий поиска"));
    criterion->addActions({acShortest, acFastest, acFewestChanges, acByTimetable});
    service->addSeparator();
    service->addActions({acSearchPanel, acRouteTable});
    service->addSeparator();
    addLanguageMenu(this, service);

    QMenu* view = addFrameMenu(menuBar(), QT_TR_NOOP("Вид"));
    view->addActions({acZoomIn, acZoomOut, acActualSize, acFitToWindow});
    view->addSeparator();
    view->addAction(acJourneyPanel);
    BuildEditingCommands(this, edit, service, view);
    AddLayoutCommands(this, view);

    WindowMenu = addFrameMenu(menuBar(), QT_TR_NOOP("Окно"));
    connect(WindowMenu, &QMenu::aboutToShow, this, &MainWindow::buildWindowList);
    buildWindowList();

    QMenu* help = addFrameMenu(menuBar(), QT_TR_NOOP("Помощь"));
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
    toolBar = addToolBar(QString());
    lirsk::keepText<MainWindow>(toolBar, "windowTitle", QT_TR_NOOP("Панель инструментов"));
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

void MainWindow::keepText(QObject* object, const char* property, const char* source) {
    lirsk::keepText<MainWindow>(object, property, source);
}

QAction* MainWindow::addFrameAction(QMenu* menu, const char* caption) {
    QAction* action = menu->addAction(QString());
    keepText(action, "text", caption);
    return action;
}

QMenu* MainWindow::addFrameMenu(QWidget* parent, const char* title) {
    auto* menu = new QMenu(parent);
    keepText(menu, "title", title);
    if (auto* bar = qobject_cast<QMenuBar*>(parent))
        bar->addMenu(menu);
    else
        qobject_cast<QMenu*>(parent)->addMenu(menu);
    return menu;
}

QString MainWindow::builtinMapTitle(const QString& title) {
    for (const char* known : kBuiltinMapTitles)
        if (title == QString::fromUtf8(known))
            return QCoreApplication::translate("MapMenus", known);
    return title;
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
