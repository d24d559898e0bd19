#include "app/mainform.h"

#include "app/access.h"
#include "app/appicon.h"
#include "app/forms.h"
#include "app/mdichild.h"
#include "app/menuimages.h"
#include "edit/commands.h"
#include "platform/desktop.h"
#include "platform/messages.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolBar>

namespace {

const QString kFilter = QStringLiteral("Файл программы (*.gaf);;Все файлы (*)");

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

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent), ILmnu(makeMenuImages()) {
    setWindowTitle(QStringLiteral("Карта Лирска :: 2006 г"));
    setWindowIcon(appIcon());
    OpenDocument = lirsk::openDetached;
    resize(700, 550);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());

    MdiArea = new QMdiArea(this);
    MdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    MdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(MdiArea);
    connect(MdiArea, &QMdiArea::subWindowActivated, this, &TMainForm::subWindowActivated);
    StatusBar = statusBar();

    acOpen = makeAction("acOpen", "Открыть", "Открыть карту", 1);
    acOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    acSave = makeAction("acSave", "Сохранить", "Сохранить карту", 2);
    acSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    acSaveAs = makeAction("acSaveAs", "Сохранить как", "Сохранить карту под новым именем", -1);
    acSaveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S));
    acClose = makeAction("acClose", "Закрыть", "Закрыть активное окно", -1);
    acExit = makeAction("acExit", "Выход", "Выход из программы", -1);
    WindowArrange1 = makeAction("WindowArrange1", "&Arrange", "Активные окна", -1);
    acWCascade = makeAction("acWCascade", "Каскадом", "Выравнивание каскадом", 10);
    acWMinimize = makeAction("acWMinimize", "Свернуть все", "Свернуть все окна", -1);
    acWHor = makeAction("acWHor", "По горизонтали", "Выравнивание по горизонтали", 11);
    acWVert = makeAction("acWVert", "По вертикали", "Выравнивание по вертикали", 12);
    acAbout = makeAction("acAbout", "О программе", "Сведения о программе", 3);
    acPointer = makeAction("acPointer", "Указатель", "Режим просмотра", 8);
    acAddVertex = makeAction("acAddVertex", "Добавить вершину", "Создание остановки", 4);
    acAddRebro = makeAction("acAddRebro", "Добавить ребро", "Создание дороги", 5);
    acDestroyRebro = makeAction("acDestroyRebro", "Удалить ребро", "Удаление дороги", 6);
    acChangeRebroWeight = makeAction("acChangeRebroWeight", "Изменить параметры дороги",
                                     "Изменить параметры дороги", 7);
    acFindWay = makeAction("acFindWay", "Поиск пути", "Поиск пути", 9);
    acSettings = makeAction("acSettings", "Настройки", "Настройки", -1);
    acSelectAll = makeAction("acSelectAll", "Выбрать всё", "Выбрать все остановки", -1);
    acSelectAll->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    acDelete = makeAction("acDelete", "Удалить", "Удалить выделенные остановки", -1);
    acDelete->setShortcut(QKeySequence(Qt::Key_Delete));
    acShowSmeg = makeAction("acShowSmeg", "Панель поиска", "Панель поиска", -1);
    acHelp = makeAction("acHelp", "Справка", "Справка", 13);
    Helper = makeAction("Helper", "Помощник", QString(), 14);
    acShowInced = makeAction("acShowInced", "Маршруты", "Маршруты", -1);
    Redactor = makeAction("Redactor", "Redactor", "Режим редактора", 15);
    acNew = makeAction("acNew", "acNew", QString(), 0);
    acNew->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    acAddArc = makeAction("acAddArc", "acAddArc", QString(), 16);
    acDestroyArc = makeAction("acDestroyArc", "acDestroyArc", QString(), 17);
    acInfo = makeAction("acInfo", "acInfo", "Информация об остановке", 18);
    MICredits = makeAction("MICredits", "Соавторы", QString(), -1);

    // Initial states.
    for (QAction* a : {acSave, acSaveAs, acSettings, acSelectAll, acDelete, acShowSmeg, acShowInced,
                       Redactor, acFindWay})
        a->setEnabled(false);
    for (QAction* a : {acPointer, acAddVertex, acAddRebro, acDestroyRebro, acChangeRebroWeight,
                       acNew, acAddArc, acDestroyArc, acInfo})
        a->setVisible(false);
    ModeGroup = new QActionGroup(this);
    ModeGroup->setExclusive(true);
    for (QAction* a : {acPointer, acAddVertex, acAddArc, acDestroyArc, acAddRebro, acDestroyRebro,
                       acChangeRebroWeight, acInfo, acFindWay}) {
        a->setCheckable(true);
        ModeGroup->addAction(a);
    }
    acFindWay->setChecked(true);
    acShowSmeg->setCheckable(true);
    acShowSmeg->setChecked(true);
    acShowInced->setCheckable(true);
    Helper->setCheckable(true);
    Helper->setChecked(true);
    Redactor->setCheckable(true);

    connect(acOpen, &QAction::triggered, this, &TMainForm::acOpenExecute);
    connect(acSave, &QAction::triggered, this, &TMainForm::acSaveExecute);
    connect(acSaveAs, &QAction::triggered, this, &TMainForm::acSaveAsExecute);
    connect(acClose, &QAction::triggered, this, &TMainForm::acCloseExecute);
    connect(acExit, &QAction::triggered, this, &QWidget::close);
    connect(WindowArrange1, &QAction::triggered, MdiArea, &QMdiArea::tileSubWindows);
    connect(acWCascade, &QAction::triggered, MdiArea, &QMdiArea::cascadeSubWindows);
    connect(acWHor, &QAction::triggered, this, &TMainForm::TileHorizontally);
    connect(acWVert, &QAction::triggered, this, &TMainForm::TileVertically);
    connect(acWMinimize, &QAction::triggered, this, &TMainForm::MinimizeAll);
    connect(acAbout, &QAction::triggered, this, &TMainForm::acAboutExecute);
    connect(acHelp, &QAction::triggered, this, &TMainForm::acHelpExecute);
    connect(acNew, &QAction::triggered, this, &TMainForm::acNewExecute);
    connect(Redactor, &QAction::triggered, this, &TMainForm::RedactorExecute);
    WireEditCommands(this);
    connect(acSettings, &QAction::triggered, this, [] {
        if (TMDIChild* current = CurrentMapWindow())
            current->ChangeSettings();
    });
    connect(acShowSmeg, &QAction::triggered, this, [](bool checked) {
        if (TMDIChild* current = CurrentMapWindow())
            current->ShowSearchPanel(checked);
    });
    connect(acShowInced, &QAction::triggered, this, [](bool checked) {
        if (TMDIChild* current = CurrentMapWindow())
            current->ShowRoutesPanel(checked);
    });
    connect(MICredits, &QAction::triggered, this, [this] {
        if (Form2)
            Form2->exec();
    });

    AskOpenFileName = [this] {
        return QFileDialog::getOpenFileName(this, QStringLiteral("Открыть"), QString(), kFilter);
    };
    AskSaveFileName = [this] {
        QFileDialog dialog(this, QStringLiteral("Сохранить как"), QString(), kFilter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("gaf"));
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };

    buildMenus();
    buildToolBar();
}

TMainForm::~TMainForm() {
    // The map windows go after this object's own part is gone: their last activation signals
    // must not reach it.
    disconnect(MdiArea, nullptr, this, nullptr);
}

QAction* TMainForm::makeAction(const char* name, const QString& caption, const QString& hint,
                               int image) {
    auto* action = new QAction(caption, this);
    action->setObjectName(QLatin1String(name));
    if (!hint.isEmpty()) {
        action->setStatusTip(hint);
        action->setToolTip(hint);
    }
    if (image >= 0 && image < ILmnu.size())
        action->setIcon(ILmnu[image]);
    return action;
}

void TMainForm::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("Файл"));
    file->addActions({acOpen, acSave, acSaveAs, acClose});
    file->addSeparator();
    file->addAction(acExit);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("Правка"));
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
    service->addSeparator();
    service->addActions({acShowSmeg, acShowInced});

    WindowMenu = menuBar()->addMenu(QStringLiteral("Окно"));
    connect(WindowMenu, &QMenu::aboutToShow, this, &TMainForm::buildWindowList);
    buildWindowList();

    QMenu* help = menuBar()->addMenu(QStringLiteral("Помощь"));
    help->addActions({Helper, MICredits, acHelp, acAbout});
}

void TMainForm::buildWindowList() {
    WindowMenu->clear();
    WindowMenu->addActions({acWCascade, acWHor, acWVert, acWMinimize});
    const QList<QMdiSubWindow*> windows = MdiArea->subWindowList();
    if (windows.isEmpty())
        return;
    WindowMenu->addSeparator();
    for (int i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* window = windows[i];
        QAction* action = WindowMenu->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(window->widget()->windowTitle()));
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

void TMainForm::buildToolBar() {
    ToolBar1 = addToolBar(QStringLiteral("Панель инструментов"));
    ToolBar1->setMovable(false);
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ToolBar1->addActions({acNew, acOpen, acSave, Redactor});
    ToolBar1->addSeparator();
    ToolBar1->addActions({acPointer, acAddVertex, acAddArc, acDestroyArc, acAddRebro,
                          acDestroyRebro, acChangeRebroWeight, acInfo, acFindWay});
    ToolBar1->addSeparator();
    ToolBar1->addActions({acHelp, acAbout});
}

QAction* TMainForm::MapMenuAction(const QString& menu, const QString& entry) const {
    const QString key = menu + QLatin1Char('|') + entry;
    for (const auto& [name, action] : mapEntries_)
        if (name == key)
            return action;
    return nullptr;
}

QMenu* TMainForm::MapMenu(const QString& menu) const {
    for (const auto& [name, m] : mapMenus_)
        if (name == menu)
            return m;
    return nullptr;
}

QString TMainForm::StatusText() const {
    return StatusBar->currentMessage();
}

void TMainForm::SetStatusText(const QString& text) {
    StatusBar->showMessage(text);
    // Long operations run on this thread: show the text before they go on.
    StatusBar->repaint();
}

int TMainForm::MapWindowCount() const {
    return int(MdiArea->subWindowList().size());
}

TMDIChild* TMainForm::ActiveMapWindow() const {
    QMdiSubWindow* window = MdiArea->activeSubWindow();
    if (!window)
        window = MdiArea->currentSubWindow();
    return window ? qobject_cast<TMDIChild*>(window->widget()) : nullptr;
}

void TMainForm::subWindowActivated(QMdiSubWindow* window) {
    if (!window)
        return;
    if (auto* child = qobject_cast<TMDIChild*>(window->widget()))
        child->FormActivate();
}

TMDIChild* TMainForm::CreateMDIChild(const QString& title) {
    auto* child = new TMDIChild(this);
    child->setWindowTitle(title);
    QMdiSubWindow* window = MdiArea->addSubWindow(child);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowIcon(windowIcon());
    window->showMaximized();
    MdiArea->setActiveSubWindow(window);
    if (CurrentMapWindow() != child)
        child->FormActivate();
    return child;
}

TMDIChild* TMainForm::OpenMap(const QString& path, const QString& title) {
    TMDIChild* child = CreateMDIChild(title);
    if (child->Load(path)) {
        EnableMapCommands();
        return child;
    }
    DisableMapCommands();
    return nullptr;
}

TMDIChild* TMainForm::OpenBuiltinMap(const lirsk::MapMenuEntry& entry) {
    TMDIChild* child = OpenMap(entry.path, entry.title);
    if (child && entry.metro)
        child->SG->setColumnWidth(0, child->SG->width() - 4);
    return child;
}

void TMainForm::EnableMapCommands() {
    if (!ActiveMapWindow())
        return;
    acPointer->setEnabled(true);
    acInfo->setVisible(true);
    for (QAction* a : {acSave, acSaveAs, acFindWay, acSettings, acSelectAll, acDelete, acShowSmeg,
                       acShowInced, Redactor})
        a->setEnabled(true);
}

void TMainForm::DisableMapCommands() {
    acPointer->setEnabled(false);
    acInfo->setVisible(false);
    for (QAction* a : {acSave, acSaveAs, acFindWay, acSettings, acSelectAll, acDelete, acShowSmeg,
                       acShowInced, Redactor})
        a->setEnabled(false);
}

void TMainForm::acOpenExecute() {
    const QString path = AskOpenFileName();
    if (path.isEmpty())
        return;
    OpenMap(path, path);
}

void TMainForm::acSaveExecute() {
    if (TMDIChild* current = CurrentMapWindow())
        current->Save(QString());
}

bool TMainForm::acSaveAsExecute() {
    TMDIChild* current = CurrentMapWindow();
    if (!current)
        return false;
    const QString path = AskSaveFileName();
    if (path.isEmpty())
        return false;
    return current->Save(path);
}

void TMainForm::acCloseExecute() {
    if (QMdiSubWindow* window =
            MdiArea->activeSubWindow() ? MdiArea->activeSubWindow() : MdiArea->currentSubWindow())
        window->close();
    DisableMapCommands();
}

void TMainForm::acNewExecute() {
    CreateMDIChild(QStringLiteral("Без имени"));
    EnableMapCommands();
}

void TMainForm::acAboutExecute() {
    SetStatusText(QStringLiteral("Информация о программе"));
    if (Form3) {
        Form3->exec();
        SetStatusText(QStringLiteral("Режим ожидания"));
    }
}

void TMainForm::acHelpExecute() {
    const QFileInfo help(lirsk::resolveDataPath(HelpPage, DataRoots()));
    QString problem;
    if (!help.isFile())
        problem = QStringLiteral("Файл справки не найден: %1").arg(HelpPage);
    else if (!OpenDocument || !OpenDocument(help.absoluteFilePath()))
        problem = QStringLiteral("Не удалось открыть справку: не найдена программа для просмотра "
                                 "HTML.\nСправку можно открыть в любом браузере: %1")
                      .arg(help.absoluteFilePath());
    if (!problem.isEmpty())
        lirsk::showMessage(
            this, {QMessageBox::Warning, QStringLiteral("Справка"), problem, QMessageBox::Ok});
}

void TMainForm::RedactorExecute() {
    if (Redactor->isChecked()) {
        // The access dialog switches editor mode on; without it the button springs back.
        if (Form1)
            Form1->exec();
        else
            Redactor->setChecked(false);
    } else if (TMDIChild* current = CurrentMapWindow()) {
        current->SetEditorMode(false);
        if (Form1)
            Form1->CloseDialog();
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

void TMainForm::TileHorizontally() {
    tile(MdiArea, Qt::Horizontal);
}

void TMainForm::TileVertically() {
    tile(MdiArea, Qt::Vertical);
}

void TMainForm::MinimizeAll() {
    // A maximised window passes its state on to the next one activated: restore them all first.
    const QList<QMdiSubWindow*> windows = MdiArea->subWindowList();
    for (QMdiSubWindow* w : windows)
        w->showNormal();
    for (QMdiSubWindow* w : windows)
        w->showMinimized();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    MdiArea->closeAllSubWindows();
    if (!MdiArea->subWindowList().isEmpty()) {
        event->ignore();
        return;
    }
    event->accept();
}
