#include "app/mapwindow.h"

#include "app/displaysettingsdialog.h"
#include "app/mainwindow.h"
#include "app/modecommands.h"
#include "app/recovery.h"
#include "app/stoppanel.h"
#include "model/catalogue.h"
#include "model/mapdescription.h"
#include "model/mapfile.h"
#include "model/ownnames.h"
#include "model/safefile.h"
#include "platform/colours.h"
#include "platform/messages.h"
#include "route/report.h"
#include "timetable/timetable.h"

#include <QBuffer>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScopeGuard>
#include <QSplitter>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace {

// Whether a path leads to one of the shipped maps, however it is written.
bool isShippedMap(const QString& path) {
    const QString canonical = QFileInfo(path).canonicalFilePath();
    if (canonical.isEmpty())
        return false;
    for (const lirsk::MapMenuEntry& entry : lirsk::mapMenuCatalogue())
        if (!entry.path.isEmpty() &&
            QFileInfo(lirsk::resolveDataPath(entry.path, DataRoots())).canonicalFilePath() ==
                canonical)
            return true;
    return false;
}

// What a copy of a built-in map keeps of it in its description: the code letter, the route
// table, the fares and the picture.
lirsk::MapDescription builtinDescription(const lirsk::GraphMap& map) {
    lirsk::MapDescription description;
    description.mapCode = map.MapCode;
    const lirsk::BuiltinSetup setup = lirsk::builtinSetup({map.MapCode, map.MapCity});
    if (setup.routes)
        for (const lirsk::RouteRow& row : setup.routes->rows)
            description.routes.append({map.MapCode + row.number, row.number, row.name, {}, {}, {}});
    description.baseFare = lirsk::Fare(map.MapCode, map.MapCity, 0);
    description.transferFare = lirsk::Fare(map.MapCode, map.MapCity, 1) - description.baseFare;
    if (!setup.picture.isEmpty())
        description.picture =
            QFileInfo(lirsk::resolveDataPath(setup.picture, DataRoots())).absoluteFilePath();
    return description;
}

// The picture's path as a description saved with the map at mapPath keeps it: relative to the
// map's folder when the picture lies in it or below it (so that the folder can be moved whole),
// absolute otherwise.
QString picturePathBeside(const QString& mapPath, const QString& picture) {
    if (picture.isEmpty())
        return picture;
    const QString relative = QFileInfo(mapPath).absoluteDir().relativeFilePath(picture);
    return relative.startsWith(QLatin1String("../")) || QDir::isAbsolutePath(relative) ? picture
                                                                                       : relative;
}

} // namespace

QString ShippedMapRefusal(const QString& path) {
    if (!isShippedMap(path))
        return {};
    return MapWindow::tr("Файл %1 — встроенная карта программы, его нельзя перезаписать. "
                         "Сохраните карту под другим именем.")
        .arg(QDir::toNativeSeparators(path));
}

QStringList DataRoots() {
    const QString exeDir = QCoreApplication::applicationDirPath();
    return {exeDir, QDir::cleanPath(exeDir + QStringLiteral("/../share/lirskmap"))};
}

// --- MapWindow ------------------------------------------------------------------------------

MapWindow::MapWindow(MainWindow* frame, QWidget* parent)
    : QWidget(parent), frame_(frame), document_(new lirsk::MapDocument) {
    document_->setParent(this);
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setHandleWidth(2);
    splitter->setChildrenCollapsible(false);
    layout->addWidget(splitter);

    stopPanel_ = new StopPanel(document_, this, splitter);
    sidePanel = stopPanel_;
    searchPanel = stopPanel_->searchPanel();
    searchBox = stopPanel_->searchBox();
    searchButton = stopPanel_->searchButton();
    stopList = stopPanel_->stopList();
    routesBox = stopPanel_->routesBox();
    routeTable = stopPanel_->routeTable();

    view_ = new lirsk::MapView(document_, splitter);
    editor_ = new lirsk::MapEditor(document_, view_, this, frame_->editDialogs());
    editor_->statusText = [this] { return StatusText(); };
    editor_->setStatusText = [this](const QString& text) { SetStatusText(text); };
    splitter->addWidget(sidePanel);
    splitter->addWidget(view_);
    connect(view_, &lirsk::MapView::zoomChanged, this, [this](double zoom) {
        if (frame_ && frame_->currentMapWindow() == this)
            frame_->ShowZoom(zoom);
    });
    recovery_ = new RecoveryKeeper(this);
    connect(document_, &lirsk::MapDocument::changed, recovery_, &RecoveryKeeper::noteChange);
    // The stop list chooses the ends of a way too, in find-way mode.
    connect(editor_, &lirsk::MapEditor::modeChanged, stopPanel_, [this](lirsk::MapMode mode) {
        stopPanel_->setWayChoiceEnabled(mode == lirsk::MapMode::FindWay);
    });
    connect(stopPanel_, &StopPanel::stopDoubleClicked, editor_, [this](lirsk::StopIndex stop) {
        if (editor_->mode() == lirsk::MapMode::FindWay)
            editor_->ChooseNextWayEnd(stop);
    });
    connect(editor_->undoStack(), &QUndoStack::indexChanged, this, [this] {
        if (frame_ && frame_->currentMapWindow() == this)
            frame_->ShowUndoState();
    });
    connect(document_, &lirsk::MapDocument::modifiedChanged, this, &MapWindow::ShowModifiedMark);
    connect(document_, &lirsk::MapDocument::descriptionChanged, this, [this] {
        view_->setPicture(QImage());
        BuiltinSetup();
    });
    connect(editor_, &lirsk::MapEditor::pointerMoved, this, [this](QPoint at) {
        if (frame_ && frame_->currentMapWindow() == this && frame_->PointerLabel)
            frame_->PointerLabel->setText(tr("X: %1  Y: %2").arg(at.x()).arg(at.y()));
    });
    connect(stopPanel_, &StopPanel::startChosen, editor_, &lirsk::MapEditor::ChooseStart);
    connect(stopPanel_, &StopPanel::finishChosen, editor_, &lirsk::MapEditor::ChooseFinish);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({175, 600});
    sidePanel->hide();

    // Creation, in order: editor button released, settings (the model's defaults), then a redraw
    // with the wait text.
    if (frame_)
        frame_->acEditorMode->setChecked(false);
    AttachPanels();
    RedrawMap(true);
}

MapWindow::~MapWindow() {
    // The frame may be going already (its map windows go with it): nothing told from here on,
    // such as the undo stack emptying itself, may reach it.
    frame_ = nullptr;
    // The document's undo stack empties itself after this window is no longer one.
    disconnect(editor_->undoStack(), nullptr, this, nullptr);
    delete editor_;
    editor_ = nullptr;
}

QString MapWindow::StatusText() const {
    return frame_ ? frame_->StatusText() : QString();
}

void MapWindow::SetStatusText(const QString& text) {
    if (frame_)
        frame_->SetStatusText(text);
}

void MapWindow::RedrawMap(bool withStatus) {
    if (editor_)
        editor_->RedrawMap(withStatus);
}

void MapWindow::FillStopList() {
    stopPanel_->reloadStops();
}

bool MapWindow::Load(const QString& path) {
    // The map is painted once, when it is all there (the status texts on the way repaint the
    // frame at once).
    view_->viewport()->setUpdatesEnabled(false);
    const auto paintAtTheEnd = qScopeGuard([this] { view_->viewport()->setUpdatesEnabled(true); });
    SetStatusText(tr("Открытие файла, ждите..."));
    const QString found = lirsk::resolveDataPath(path, DataRoots());
    QString error;
    bool ok = QFileInfo(found).isFile();
    if (!ok)
        error = QFileInfo::exists(found) ? tr("Это не файл: %1").arg(found)
                                         : tr("Файл не найден: %1").arg(found);

    if (ok) {
        Map().FileName = path;
        document_->setFilePath(found);
        const lirsk::MapIdentity identity = lirsk::recognizeMapPath(path);
        Map().MapCode = identity.mapCode;
        Map().MapCity = identity.mapCity;
        ok = lirsk::readMapFile(found, Map(), &error);
    }
    if (!ok)
        return LoadFailed(error);
    // A built-in map goes by the built-in table; any other may have a description of its own.
    if (Map().MapCode.isEmpty()) {
        document_->setDescription(ReadDescription(found));
        ReadTimetable(lirsk::timetablePathFor(found));
    }
    Loaded();
    return true;
}

bool MapWindow::LoadRecovered(const RecoveredMap& copy) {
    view_->viewport()->setUpdatesEnabled(false);
    const auto paintAtTheEnd = qScopeGuard([this] { view_->viewport()->setUpdatesEnabled(true); });
    SetStatusText(tr("Открытие файла, ждите..."));
    Map().FileName = copy.fileName;
    // The map is built in by its path, as when it is opened; any other goes by its description.
    const lirsk::MapIdentity identity = lirsk::recognizeMapPath(copy.fileName);
    Map().MapCode = identity.mapCode;
    Map().MapCity = identity.mapCity;
    document_->setFilePath(copy.filePath);
    const QString mapFile = copy.base + QStringLiteral(".gaf");
    QString error;
    const bool ok = lirsk::readMapFile(mapFile, Map(), &error);
    if (!ok)
        return LoadFailed(error);
    if (Map().MapCode.isEmpty()) {
        std::optional<lirsk::MapDescription> description = ReadDescription(mapFile);
        // A copy of an older version kept no description: the one beside the map's own file
        // is taken, and the user told so.
        if (!description && !copy.describedKnown && !copy.filePath.isEmpty()) {
            description = ReadDescription(copy.filePath);
            if (description)
                lirsk::showMessage(
                    this,
                    {QMessageBox::Information, windowTitle(),
                     tr("Копия карты сделана без её описания; взято описание из файла "
                        "%1.")
                         .arg(QDir::toNativeSeparators(lirsk::descriptionPathFor(copy.filePath))),
                     QMessageBox::Ok});
        }
        document_->setDescription(description);
        // Nor did it keep the timetable: the one beside the map's file goes with it, if it still
        // matches.
        ReadTimetable(lirsk::timetablePathFor(
            copy.describedKnown || copy.filePath.isEmpty() ? mapFile : copy.filePath));
    }
    Loaded();
    document_->setModified(true);
    recovery_->adopt(copy.base);
    return true;
}

bool MapWindow::LoadImported(const QByteArray& mapBytes, const lirsk::MapDescription& description,
                             const lirsk::Timetable& timetable) {
    view_->viewport()->setUpdatesEnabled(false);
    const auto paintAtTheEnd = qScopeGuard([this] { view_->viewport()->setUpdatesEnabled(true); });
    SetStatusText(tr("Открытие файла, ждите..."));
    QString error;
    const bool ok = lirsk::readMap(mapBytes, Map(), &error);
    if (!ok)
        return LoadFailed(error);
    document_->setDescription(description);
    document_->setTimetable(timetable, QString());
    Loaded();
    // The map has no file yet: closing it asks to save it, and saving asks for a name.
    document_->setModified(true);
    return true;
}

bool MapWindow::LoadFailed(const QString& error) {
    SetStatusText(QString());
    FillStopList();
    lirsk::showMessage(this,
                       {QMessageBox::Critical, windowTitle(),
                        tr("Ошибка открытия файла!") + QLatin1Char('\n') + error, QMessageBox::Ok});
    document_->setModified(false);
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
    return false;
}

std::optional<lirsk::MapDescription> MapWindow::ReadDescription(const QString& mapPath) {
    lirsk::MapDescription description;
    QString error;
    switch (lirsk::readMapDescription(mapPath, &description, &error)) {
    case lirsk::DescriptionRead::Absent:
        return std::nullopt;
    case lirsk::DescriptionRead::Broken:
        lirsk::showMessage(this, {QMessageBox::Warning, windowTitle(),
                                  tr("Не удалось прочитать описание карты; карта открыта без "
                                     "него.\n%1")
                                      .arg(error),
                                  QMessageBox::Ok});
        return std::nullopt;
    case lirsk::DescriptionRead::Read:
        break;
    }
    // The picture goes with the description wherever the map is saved later.
    if (!description.picture.isEmpty())
        description.picture = QFileInfo(mapPath).dir().absoluteFilePath(
            QDir::fromNativeSeparators(description.picture));
    return description;
}

void MapWindow::ReadTimetable(const QString& timetableFile) {
    if (!QFileInfo::exists(timetableFile))
        return;
    lirsk::Timetable timetable;
    QString error;
    if (!timetable.read(timetableFile, &error)) {
        lirsk::showMessage(this, {QMessageBox::Warning, windowTitle(),
                                  tr("Не удалось прочитать расписание карты %1; карта открыта "
                                     "без него.\n%2")
                                      .arg(QDir::toNativeSeparators(timetableFile), error),
                                  QMessageBox::Ok});
        return;
    }
    document_->setTimetable(std::move(timetable), timetableFile);
}

void MapWindow::TellTimetableState() {
    if (frame_ && frame_->currentMapWindow() == this)
        frame_->ShowCriterion();
    const QString& mismatch = document_->timetableMismatch();
    if (mismatch.isEmpty()) {
        mismatchTold_ = false;
        return;
    }
    if (std::exchange(mismatchTold_, true))
        return;
    SetStatusText(tr("Карта изменена после составления расписания (%1): поиск по расписанию "
                     "выключен")
                      .arg(mismatch));
}

void MapWindow::Loaded() {
    if (const std::optional<lirsk::MapDescription>& description = document_->description())
        lirsk::showOwnNames(Map(), *description);
    searchPanelChecked_ = Map().StoredSearchPanel;
    ShowPanelChecks();
    if (Map().StoredSearchPanel)
        ShowSearchPanel(true);
    FillStopList();
    SetStatusText(QString());
    document_->markReloaded();
    RedrawMap(true);

    BuiltinSetup();
    if (frame_)
        frame_->acFindWay->setChecked(true);
    editor_->SetFindWayMode();
    // A map with a timetable that matches it is searched by it, until another criterion is
    // chosen.
    editor_->setByTimetable(document_->hasMatchingTimetable());
    TellTimetableState();
    connect(document_, &lirsk::MapDocument::timetableChanged, this, &MapWindow::TellTimetableState,
            Qt::UniqueConnection);
}

void MapWindow::BuiltinSetup() {
    if (const std::optional<lirsk::MapDescription>& description = document_->description()) {
        Map().MapCode = description->mapCode;
        if (!description->title.isEmpty())
            setWindowTitle(description->title);
        if (!description->picture.isEmpty())
            ShowPicture(description->picture);
        stopPanel_->setRoutes(description->routes);
        return;
    }
    const lirsk::BuiltinSetup setup = lirsk::builtinSetup({Map().MapCode, Map().MapCity});
    if (!setup.picture.isEmpty())
        ShowPicture(lirsk::resolveDataPath(setup.picture, DataRoots()));
    stopPanel_->setRoutes(setup.routes);
}

void MapWindow::ShowPicture(const QString& file) {
    // Read like every other file: a FIFO or a device named as the picture is refused, not
    // waited on.
    constexpr qint64 kMaxPictureFile = qint64(256) << 20;
    QByteArray bytes;
    QString error;
    QImage picture;
    if (lirsk::readWholeFile(file, kMaxPictureFile, &bytes, &error)) {
        QBuffer buffer(&bytes);
        QImageReader reader(&buffer);
        picture = reader.read();
        error = reader.errorString();
    }
    if (picture.isNull())
        lirsk::showMessage(this, {QMessageBox::Warning, windowTitle(),
                                  tr("Не удалось загрузить фоновый рисунок %1:\n%2")
                                      .arg(QDir::toNativeSeparators(file), error),
                                  QMessageBox::Ok});
    else
        view_->setPicture(picture.convertToFormat(QImage::Format_RGB32));
}

lirsk::MapDescription MapWindow::CurrentDescription() const {
    const std::optional<lirsk::MapDescription>& own = document_->description();
    return own ? *own : builtinDescription(Map());
}

bool MapWindow::Save(const QString& newPath) {
    // A built-in map is a template: it is saved under a name of its own.
    if (newPath.isEmpty() && (Map().FileName.isEmpty() || isShippedMap(document_->filePath())))
        return frame_ && frame_->acSaveAsExecute();
    const QString target = newPath.isEmpty() ? document_->filePath() : newPath;
    if (const QString refused = ShippedMapRefusal(target); !refused.isEmpty()) {
        lirsk::showMessage(this, {QMessageBox::Warning, windowTitle(), refused, QMessageBox::Ok});
        return false;
    }
    QString error;
    const bool searchPanelShown = stopPanel_->searchPanelShown();
    // A map with a description of its own keeps it; a copy of a built-in map keeps its route
    // table, fares and picture in one.
    const std::optional<lirsk::MapDescription>& own = document_->description();
    lirsk::MapDescription description = CurrentDescription();
    lirsk::MapSnapshot forFile(Map());
    description.ownNames = lirsk::putFileNames(forFile.stops, description.ownNames);
    const std::optional<QByteArray> bytes = lirsk::writeMap(forFile, searchPanelShown, &error);
    description.picture = picturePathBeside(target, description.picture);
    const bool described = own || !Map().MapCode.isEmpty();
    // The timetable goes with the map to a file of its own beside it, unless it is there already.
    const lirsk::Timetable& timetable = document_->timetable();
    const QString timetableTarget = lirsk::timetablePathFor(target);
    const bool timetableMoves =
        !timetable.isEmpty() && document_->timetableFile() != timetableTarget;
    if (!bytes ||
        (timetableMoves && !lirsk::saveWholeFile(timetableTarget, timetable.bytes(), &error)) ||
        !lirsk::saveMapAndDescription(target, *bytes, described ? &description : nullptr, &error)) {
        lirsk::showMessage(this, {QMessageBox::Critical, windowTitle(),
                                  tr("Не удалось сохранить карту в файл %1:\n%2")
                                      .arg(QDir::toNativeSeparators(target), error),
                                  QMessageBox::Ok});
        return false;
    }
    if (timetableMoves)
        document_->setTimetable(timetable, timetableTarget);
    if (!newPath.isEmpty()) {
        Map().FileName = newPath;
        document_->setFilePath(newPath);
        setWindowTitle(own && !own->title.isEmpty() ? own->title : newPath);
    }
    document_->setModified(false);
    recovery_->discard();
    return true;
}

void MapWindow::SetEditorMode(bool on) {
    if (!frame_)
        return;
    // Deleting and undoing belong to the editor: the viewer never changes the map.
    for (QAction* action :
         {frame_->acPointer, frame_->acAddStop, frame_->acAddRoad, frame_->acDeleteRoad,
          frame_->acChangeRoad, frame_->acNew, frame_->acAddArc, frame_->acDeleteArc,
          frame_->acDelete, frame_->acUndo, frame_->acRedo})
        action->setVisible(on);
    for (QMdiSubWindow* sub : frame_->MdiArea->subWindowList())
        if (auto* window = qobject_cast<MapWindow*>(sub->widget()))
            window->editor().setEditing(on);
    if (on)
        return;
    // Out of the editor every map is searched again, as after opening it.
    for (QMdiSubWindow* sub : frame_->MdiArea->subWindowList()) {
        auto* window = qobject_cast<MapWindow*>(sub->widget());
        if (!window || window->Map().stopCount() == 0)
            continue;
        const lirsk::MapMode mode = window->editor().mode();
        if (mode != lirsk::MapMode::FindWay && mode != lirsk::MapMode::Info)
            window->editor().SetFindWayMode();
    }
    if (MapWindow* current = frame_->currentMapWindow())
        if (QAction* shown = ModeAction(frame_, current->editor().mode()))
            shown->setChecked(true);
}

void MapWindow::Activate() {
    if (frame_)
        frame_->setCurrentMapWindow(this);
    if (frame_)
        frame_->ShowZoom(view_->zoom());
    if (frame_)
        frame_->ShowUndoState();
    ShowPanelChecks();
    if (frame_)
        frame_->ShowCriterion();
    // The tool bar shows this window's mode.
    if (QAction* mode = frame_ ? ModeAction(frame_, editor_->mode()) : nullptr)
        mode->setChecked(true);
    RedrawMap(false);
}

void MapWindow::ChangeSettings() {
    DisplaySettingsDialog* dialog = frame_ ? frame_->displaySettingsDialog() : nullptr;
    if (!dialog)
        return;
    lirsk::DisplaySettings settings = Map().Settings;
    if (!dialog->EditSettings(settings))
        return;
    editor_->ChangeSettings(settings);
    RedrawMap(false);
}

void MapWindow::ShowModifiedMark() {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->setWindowTitle(document_->isModified() ? windowTitle() + QLatin1Char('*')
                                                    : windowTitle());
}

void MapWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowTitleChange)
        ShowModifiedMark();
}

void MapWindow::closeEvent(QCloseEvent* event) {
    if (document_->isModified()) {
        const auto answer =
            lirsk::showMessage(this, {QMessageBox::Question, windowTitle(),
                                      tr("Сохранить изменения в карте «%1»?").arg(windowTitle()),
                                      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel});
        if (answer == QMessageBox::Cancel || (answer == QMessageBox::Yes && !Save(QString()))) {
            event->ignore();
            return;
        }
    }
    recovery_->discard();
    Map().MapCode.clear();
    if (frame_ && frame_->MapWindowCount() == 1) {
        frame_->DisableMapCommands();
        SetEditorMode(false);
    }
    event->accept();
}

void MapWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && (editor_->CancelNameDrag() || editor_->ForgetWayEnd()))
        return;
    QWidget::keyPressEvent(event);
}
