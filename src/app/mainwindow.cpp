#include "app/mainwindow.h"

#include "app/aboutdialog.h"
#include "app/accessdialog.h"
#include "app/appicon.h"
#include "app/creditsdialog.h"
#include "app/displaysettingsdialog.h"
#include "app/editingcommands.h"
#include "app/journeypanel.h"
#include "app/mapwindow.h"
#include "app/menuimages.h"
#include "app/modecommands.h"
#include "app/recovery.h"
#include "edit/mapeditor.h"
#include "i18n/language.h"
#include "platform/desktop.h"
#include "platform/messages.h"
#include "platform/translatedtext.h"

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

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent), menuImages(makeMenuImages()), programDialogs_(this) {
    lirsk::keepText<MainWindow>(this, "windowTitle", QT_TR_NOOP("Карта Лирска :: 2006 г"));
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

    createActions();
    createMapActions();
    setInitialActionStates();
    connectActions();
    ZoomLabel = new QLabel(this);
    ZoomLabel->setMinimumWidth(ZoomLabel->fontMetrics().horizontalAdvance(QStringLiteral("400 %")));
    ZoomLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    StatusBar->addPermanentWidget(ZoomLabel);

    journeyPanel = new JourneyPanel(this);
    journeyDock = new QDockWidget(this);
    lirsk::keepText<MainWindow>(journeyDock, "windowTitle", QT_TR_NOOP("Поездка"));
    journeyDock->setObjectName(QStringLiteral("journeyDock"));
    journeyDock->setWidget(journeyPanel);
    addDockWidget(Qt::LeftDockWidgetArea, journeyDock);
    resizeDocks({journeyDock}, {340}, Qt::Horizontal);
    acJourneyPanel = journeyDock->toggleViewAction();
    acJourneyPanel->setObjectName(QStringLiteral("acJourneyPanel"));
    lirsk::keepText<MainWindow>(acJourneyPanel, "statusTip",
                                QT_TR_NOOP("Панель поездки: откуда, куда и найденные пути"));

    buildMenus();
    buildToolBar();
}

MainWindow::~MainWindow() {
    // The map windows go after this object's own part is gone: their last activation signals
    // must not reach it.
    disconnect(MdiArea, nullptr, this, nullptr);
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
    MapWindow* child = OpenMap(entry.path, builtinMapTitle(entry.title));
    return child;
}

void MainWindow::ShowUndoState() {
    MapWindow* current = ActiveMapWindow();
    const QUndoStack* stack = current ? current->editor().undoStack() : nullptr;
    const QString undo = stack ? stack->undoText() : QString();
    const QString redo = stack ? stack->redoText() : QString();
    acUndo->setEnabled(stack && stack->canUndo());
    acUndo->setText(undo.isEmpty() ? tr("Отменить") : tr("Отменить: %1").arg(undo));
    acRedo->setEnabled(stack && stack->canRedo());
    acRedo->setText(redo.isEmpty() ? tr("Повторить") : tr("Повторить: %1").arg(redo));
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
    MapWindow* child = CreateMapWindow(tr("Без имени"));
    EnableMapCommands();
    if (editing) {
        acEditorMode->setChecked(true);
        child->SetEditorMode(true);
    }
}

void MainWindow::acAboutExecute() {
    SetStatusText(tr("Информация о программе"));
    programDialogs_.run(*aboutDialog());
    SetStatusText(tr("Режим ожидания"));
}

void MainWindow::acHelpExecute() {
    QFileInfo help(lirsk::resolveDataPath(HelpPage, DataRoots()));
    // The English pages lie in the help's "en" folder; a page without one shows in Russian.
    if (lirsk::currentLanguage() == lirsk::Language::English) {
        const QFileInfo english(help.dir().filePath(QStringLiteral("en/") + help.fileName()));
        if (english.isFile())
            help = english;
    }
    const auto tell = [frame = QPointer<MainWindow>(this)](const QString& problem) {
        if (frame)
            lirsk::showMessage(frame,
                               {QMessageBox::Warning, tr("Справка"), problem, QMessageBox::Ok});
    };
    if (!help.isFile()) {
        tell(tr("Файл справки не найден: %1").arg(HelpPage));
        return;
    }
    // The opener may give up after it started: the user is told where the page is then too.
    const QString page = help.absoluteFilePath();
    desktop().openDocument(page, [tell, page] {
        tell(tr("Не удалось открыть справку: не найдена программа для просмотра "
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

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::LanguageChange)
        return;
    ShowUndoState();
    if (MapWindow* window = ActiveMapWindow())
        window->editor().ShowModeText();
    const QString code = lirsk::languageCode(lirsk::currentLanguage());
    if (auto* chosen = findChild<QAction*>(QStringLiteral("acLanguage_") + code))
        chosen->setChecked(true);
}
