#include "app/mapwindow.h"

#include "app/displaysettingsdialog.h"
#include "app/mainwindow.h"
#include "app/modecommands.h"
#include "edit/roadparametersdialog.h"
#include "model/catalogue.h"
#include "model/mapdescription.h"
#include "model/mapfile.h"
#include "platform/colours.h"
#include "platform/messages.h"
#include "route/report.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QImageReader>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QScopeGuard>
#include <QSplitter>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QPointer<MapWindow>& currentWindow() {
    static QPointer<MapWindow> current;
    return current;
}

const QString kOpenWait = QStringLiteral("Открытие файла, ждите...");
const QString kOpenError = QStringLiteral("Ошибка открытия файла!");

// The string grids keep their fixed header row as row 0, as the rest of the window counts rows.
QTableWidget* makeGrid(int columns, QWidget* parent) {
    auto* grid = new QTableWidget(2, columns, parent);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(16);
    grid->verticalHeader()->setMinimumSectionSize(16);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setWordWrap(false);
    grid->setTabKeyNavigation(true);
    for (int c = 0; c < columns; ++c) {
        auto* cell = new QTableWidgetItem;
        cell->setFlags(Qt::ItemIsEnabled);
        cell->setBackground(lirsk::systemColour(30));
        grid->setItem(0, c, cell);
    }
    return grid;
}

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
            description.routes.append({map.MapCode + row.number, row.number, row.name, {}});
    description.baseFare = lirsk::Fare(map.MapCode, map.MapCity, 0);
    description.transferFare = lirsk::Fare(map.MapCode, map.MapCity, 1) - description.baseFare;
    if (!setup.picture.isEmpty())
        description.picture =
            QFileInfo(lirsk::resolveDataPath(setup.picture, DataRoots())).absoluteFilePath();
    return description;
}

void setCell(QTableWidget* grid, int row, int column, const QString& text) {
    if (QTableWidgetItem* cell = grid->item(row, column))
        cell->setText(text);
    else
        grid->setItem(row, column, new QTableWidgetItem(text));
}

} // namespace

MapWindow* CurrentMapWindow() {
    return currentWindow().data();
}

void SetCurrentMapWindow(MapWindow* window) {
    currentWindow() = window;
}

QStringList DataRoots() {
    const QString exeDir = QCoreApplication::applicationDirPath();
    return {exeDir, QDir::cleanPath(exeDir + QStringLiteral("/../share/lirskmap"))};
}

// --- MapWindow ------------------------------------------------------------------------------

MapWindow::MapWindow(MainWindow* frame, QWidget* parent)
    : QWidget(parent), frame_(frame), document_(new lirsk::MapDocument) {
    document_->setParent(this);
    Map().setHooks(this);
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setHandleWidth(2);
    splitter->setChildrenCollapsible(false);
    layout->addWidget(splitter);

    sidePanel = new QWidget(splitter);
    sidePanel->setMinimumWidth(1);
    sidePanel->resize(175, 400);
    auto* tablesLayout = new QVBoxLayout(sidePanel);
    tablesLayout->setContentsMargins(0, 0, 0, 0);
    tablesLayout->setSpacing(0);
    searchPanel = new QFrame(sidePanel);
    searchPanel->setFrameShape(QFrame::StyledPanel);
    tablesLayout->addWidget(searchPanel, 1);
    tablesLayout->addStretch(0);

    auto* smegLayout = new QVBoxLayout(searchPanel);
    smegLayout->setContentsMargins(2, 2, 2, 2);
    smegLayout->setSpacing(0);
    searchBar = new QWidget(searchPanel);
    searchBar->setFixedHeight(41);
    searchBox = new QLineEdit(searchBar);
    searchBox->setGeometry(8, 8, 121, 21);
    connect(searchBox, &QLineEdit::textEdited, searchBox, [this](const QString& text) {
        if (text != text.toLower()) {
            const int pos = searchBox->cursorPosition();
            searchBox->setText(text.toLower());
            searchBox->setCursorPosition(pos);
        }
    });
    searchButton = new QToolButton(searchBar);
    searchButton->setGeometry(136, 8, 27, 25);
    searchButton->setText(QStringLiteral("»"));
    smegLayout->addWidget(searchBar);

    listsPanel = new QWidget(searchPanel);
    auto* panel2Layout = new QVBoxLayout(listsPanel);
    panel2Layout->setContentsMargins(0, 0, 0, 0);
    panel2Layout->setSpacing(0);
    stopList = makeGrid(1, listsPanel);
    stopList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    stopList->resize(171, 200);
    panel2Layout->addWidget(stopList, 1);
    routesBox = new QGroupBox(QStringLiteral("Маршруты"), listsPanel);
    routesBox->setFixedHeight(162);
    auto* orientLayout = new QVBoxLayout(routesBox);
    orientLayout->setContentsMargins(2, 2, 2, 2);
    routeTable = makeGrid(2, routesBox);
    routeTable->setSelectionMode(QAbstractItemView::SingleSelection);
    routeTable->resize(167, 140);
    orientLayout->addWidget(routeTable);
    panel2Layout->addWidget(routesBox);
    smegLayout->addWidget(listsPanel, 1);

    view_ = new lirsk::MapView(document_, splitter);
    editor_ = new lirsk::MapEditor(document_, view_, this);
    editor_->statusText = [this] { return StatusText(); };
    editor_->setStatusText = [this](const QString& text) { SetStatusText(text); };
    splitter->addWidget(sidePanel);
    splitter->addWidget(view_);
    connect(view_, &lirsk::MapView::zoomChanged, this, [this](double zoom) {
        if (frame_ && CurrentMapWindow() == this)
            frame_->ShowZoom(zoom);
    });
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({175, 600});
    sidePanel->hide();

    // Creation, in order: ready, grid columns, editor button released, settings (the model's
    // defaults), then a redraw with the wait text.
    Map().Ready = true;
    stopList->setColumnWidth(0, 144);
    routeTable->setColumnWidth(0, 15);
    routeTable->setColumnWidth(1, 15);
    setCell(routeTable, 0, 0, QString());
    setCell(routeTable, 0, 1, QStringLiteral("Маршрут"));
    routeTable->setColumnWidth(1, routeTable->width() - 38);
    if (frame_)
        frame_->acEditorMode->setChecked(false);
    AttachPanels();
    RedrawMap(true);
}

MapWindow::~MapWindow() {
    delete editor_;
    editor_ = nullptr;
    Map().setHooks(nullptr);
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

void MapWindow::drawLink(const lirsk::Link& link) {
    view_->repaintMap(QRect(QPoint(link.From->centreX(), link.From->centreY()),
                            QPoint(link.To->centreX(), link.To->centreY()))
                          .normalized()
                          .adjusted(-64, -64, 64, 64));
}

std::optional<lirsk::RoadWeight> MapWindow::askLinkWeights(const lirsk::RoadWeight& current) {
    return roadParametersDialog()->Ask(current);
}

void MapWindow::stopRowAdded(int row, const QString& name) {
    // While a file is read the grid is filled once at the end.
    if (!Map().Ready)
        return;
    stopList->setRowCount(std::max(stopList->rowCount(), row + 1));
    setCell(stopList, row, 0, name);
}

void MapWindow::stopRowRemoved(int row) {
    if (!Map().Ready)
        return;
    if (row > 0 && row < stopList->rowCount())
        stopList->removeRow(row);
    if (stopList->rowCount() < 2)
        stopList->setRowCount(2);
}

void MapWindow::FillStopList() {
    const QStringList& rows = Map().StopRows;
    stopList->setUpdatesEnabled(false);
    stopList->clearContents();
    stopList->setRowCount(std::max<int>(2, rows.size() + 1));
    auto* header = new QTableWidgetItem;
    header->setFlags(Qt::ItemIsEnabled);
    header->setBackground(lirsk::systemColour(30));
    stopList->setItem(0, 0, header);
    for (int i = 0; i < rows.size(); ++i)
        stopList->setItem(i + 1, 0, new QTableWidgetItem(rows[i]));
    stopList->setUpdatesEnabled(true);
}

bool MapWindow::Load(const QString& path) {
    // The map is painted once, when it is all there (the status texts on the way repaint the
    // frame at once).
    view_->viewport()->setUpdatesEnabled(false);
    const auto paintAtTheEnd = qScopeGuard([this] { view_->viewport()->setUpdatesEnabled(true); });
    SetStatusText(kOpenWait);
    const QString found = lirsk::resolveDataPath(path, DataRoots());
    QString error;
    bool ok = QFileInfo(found).isFile();
    if (!ok)
        error = QFileInfo::exists(found) ? QStringLiteral("Это не файл: %1").arg(found)
                                         : QStringLiteral("Файл не найден: %1").arg(found);

    if (ok) {
        Map().Ready = false;
        Map().FileName = path;
        document_->setFilePath(found);
        const lirsk::MapIdentity identity = lirsk::recognizeMapPath(path);
        Map().MapCode = identity.mapCode;
        Map().MapCity = identity.mapCity;
        ok = lirsk::readMapFile(found, Map(), &error);
        Map().Ready = false;
    }
    if (!ok) {
        Map().Ready = true;
        SetStatusText(QString());
        FillStopList();
        lirsk::showMessage(this, {QMessageBox::Critical, windowTitle(),
                                  kOpenError + QLatin1Char('\n') + error, QMessageBox::Ok});
        document_->setModified(false);
        if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
            sub->close();
        else
            close();
        return false;
    }

    if (frame_)
        frame_->acSearchPanel->setChecked(Map().StoredSearchPanel);
    if (Map().StoredSearchPanel)
        ShowSearchPanel(true);
    FillStopList();
    SetStatusText(QString());
    Map().Ready = true;
    document_->markReloaded();
    RedrawMap(true);

    BuiltinSetup();
    if (frame_)
        frame_->acFindWay->setChecked(true);
    editor_->SetFindWayMode();
    return true;
}

void MapWindow::BuiltinSetup() {
    const lirsk::BuiltinSetup setup = lirsk::builtinSetup({Map().MapCode, Map().MapCity});
    if (!setup.picture.isEmpty()) {
        const QString file = lirsk::resolveDataPath(setup.picture, DataRoots());
        QImageReader reader(file);
        const QImage picture = reader.read();
        if (picture.isNull())
            lirsk::showMessage(this,
                               {QMessageBox::Warning, windowTitle(),
                                QStringLiteral("Не удалось загрузить фоновый рисунок %1:\n%2")
                                    .arg(QDir::toNativeSeparators(file), reader.errorString()),
                                QMessageBox::Ok});
        else
            view_->setPicture(picture.convertToFormat(QImage::Format_RGB32));
    }
    if (setup.showGraph)
        view_->setDrawnMapVisible(true);
    if (setup.routes) {
        routeTable->setRowCount(setup.routes->rowCount);
        for (int i = 0; i < setup.routes->rows.size(); ++i) {
            setCell(routeTable, i + 1, 0, setup.routes->rows[i].number);
            setCell(routeTable, i + 1, 1, setup.routes->rows[i].name);
        }
    }
}

bool MapWindow::Save(const QString& newPath) {
    // A built-in map is a template: it is saved under a name of its own.
    if (newPath.isEmpty() && (Map().FileName.isEmpty() || isShippedMap(document_->filePath())))
        return frame_ && frame_->acSaveAsExecute();
    const QString target = newPath.isEmpty() ? document_->filePath() : newPath;
    if (isShippedMap(target)) {
        lirsk::showMessage(this, {QMessageBox::Warning, windowTitle(),
                                  QStringLiteral("Файл %1 — встроенная карта программы, его нельзя "
                                                 "перезаписать. Сохраните карту под другим "
                                                 "именем.")
                                      .arg(QDir::toNativeSeparators(target)),
                                  QMessageBox::Ok});
        return false;
    }
    QString error;
    const bool searchPanelShown = frame_ && frame_->acSearchPanel->isChecked();
    // A copy of a built-in map keeps its route table, fares and picture in a description.
    const std::optional<QByteArray> bytes = lirsk::writeMap(Map(), searchPanelShown, &error);
    const lirsk::MapDescription description = builtinDescription(Map());
    if (!bytes || !lirsk::saveMapAndDescription(
                      target, *bytes, Map().MapCode.isEmpty() ? nullptr : &description, &error)) {
        lirsk::showMessage(this, {QMessageBox::Critical, windowTitle(),
                                  QStringLiteral("Не удалось сохранить карту в файл %1:\n%2")
                                      .arg(QDir::toNativeSeparators(target), error),
                                  QMessageBox::Ok});
        return false;
    }
    if (!newPath.isEmpty()) {
        Map().FileName = newPath;
        document_->setFilePath(newPath);
        setWindowTitle(newPath);
    }
    document_->setModified(false);
    return true;
}

void MapWindow::SetEditorMode(bool on) {
    if (frame_)
        for (QAction* action :
             {frame_->acPointer, frame_->acAddStop, frame_->acAddRoad, frame_->acDeleteRoad,
              frame_->acChangeRoad, frame_->acNew, frame_->acAddArc, frame_->acDeleteArc})
            action->setVisible(on);
    if (MapWindow* current = CurrentMapWindow()) {
        current->view_->setPictureVisible(!on);
        current->view_->setDrawnMapVisible(on);
    }
}

void MapWindow::Activate() {
    SetCurrentMapWindow(this);
    if (frame_)
        frame_->ShowZoom(view_->zoom());
    if (frame_)
        frame_->acSearchPanel->setChecked(!searchPanel->isHidden());
    // The tool bar shows this window's mode.
    if (QAction* mode = frame_ ? ModeAction(frame_, editor_->mode()) : nullptr)
        mode->setChecked(true);
    RedrawMap(false);
}

void MapWindow::ChangeSettings() {
    DisplaySettingsDialog* dialog = frame_ ? frame_->displaySettingsDialog : nullptr;
    if (!dialog)
        return;
    lirsk::DisplaySettings settings = Map().Settings;
    if (!dialog->EditSettings(settings))
        return;
    if (!(settings == Map().Settings)) {
        Map().Settings = settings;
        document_->markChanged();
    }
    RedrawMap(false);
}

void MapWindow::closeEvent(QCloseEvent* event) {
    if (document_->isModified()) {
        const auto answer = lirsk::showMessage(
            this, {QMessageBox::Question, windowTitle(),
                   QStringLiteral("Сохранить изменения в карте «%1»?").arg(windowTitle()),
                   QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel});
        if (answer == QMessageBox::Cancel || (answer == QMessageBox::Yes && !Save(QString()))) {
            event->ignore();
            return;
        }
    }
    Map().MapCode.clear();
    if (frame_ && frame_->MapWindowCount() == 1) {
        frame_->DisableMapCommands();
        SetEditorMode(false);
    }
    event->accept();
}

void MapWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && editor_->CancelNameDrag())
        return;
    QWidget::keyPressEvent(event);
}
