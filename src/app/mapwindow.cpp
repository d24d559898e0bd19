#include "app/mapwindow.h"

#include "app/mainwindow.h"
#include "app/maparea.h"
#include "edit/commands.h"
#include "edit/roadparametersdialog.h"
#include "model/catalogue.h"
#include "model/mapfile.h"
#include "platform/colours.h"
#include "platform/messages.h"

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
#include <QScrollArea>
#include <QScrollBar>
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
const QString kRedrawWait = QStringLiteral("Перерисовка карты, ждите...");
const QString kOpenError = QStringLiteral("Ошибка открытия файла!");
const QString kNoData = QStringLiteral("Поиск не возможен, т.к. нет исходных данных.");
const QString kFindWayText =
    QStringLiteral("Оптимальный путь (укажите левой кнопкой мыши остановку отправления, затем не "
                   "отпуская кнопку к какой остановке следует найти путь)");

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

// --- StopHandle -------------------------------------------------------------------------------

void StopHandle::NameLabelMouseDown(Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) {
    stop_->LabelDragging = true;
    stop_->LabelHomeLeft = stop_->Label.Left;
    stop_->LabelHomeTop = stop_->Label.Top;
    stop_->DownX = x;
    stop_->DownY = y;
    if (MapWindow* current = CurrentMapWindow())
        current->LabelDragStop = current->Map().FindStopById(stop_->Id);
}

void StopHandle::NameLabelMouseMove(Qt::KeyboardModifiers, int x, int y) {
    if (!stop_->LabelDragging)
        return;
    lirsk::NameLabel& label = stop_->Label;
    const QRect before = lirsk::nameLabelRect(*stop_);
    bool moved = false;
    if (x != stop_->DownX && label.Left - stop_->DownX + x >= 0) {
        label.Left = label.Left - stop_->DownX + x;
        moved = true;
    }
    if (y != stop_->DownY && label.Top - stop_->DownY + y >= 0) {
        label.Top = label.Top - stop_->DownY + y;
        moved = true;
    }
    if (moved) {
        map_->Modified = true;
        map_->mapArea->update(before.united(lirsk::nameLabelRect(*stop_)).adjusted(-2, -2, 2, 2));
    }
}

void StopHandle::NameLabelMouseUp(Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
    stop_->LabelDragging = false;
    if (MapWindow* current = CurrentMapWindow()) {
        current->LabelDragStop = nullptr;
        current->RedrawMap(false);
    }
}

// --- MapWindow ------------------------------------------------------------------------------

MapWindow::MapWindow(MainWindow* frame, QWidget* parent)
    : QWidget(parent), frame_(frame), map_(std::make_unique<lirsk::GraphMap>()) {
    map_->setHooks(this);
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

    scrollArea = new QScrollArea(splitter);
    scrollArea->setWidgetResizable(false);
    scrollArea->setFrameShape(QFrame::NoFrame);
    mapArea = new MapArea(this);
    scrollArea->setWidget(mapArea);
    scrollArea->viewport()->installEventFilter(this);
    splitter->addWidget(sidePanel);
    splitter->addWidget(scrollArea);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({175, 600});
    sidePanel->hide();

    // Creation, in order: ready, grid columns, editor button released, settings (the model's
    // defaults), then a redraw with the wait text.
    map_->Ready = true;
    stopList->setColumnWidth(0, 144);
    routeTable->setColumnWidth(0, 15);
    routeTable->setColumnWidth(1, 15);
    setCell(routeTable, 0, 0, QString());
    setCell(routeTable, 0, 1, QStringLiteral("Маршрут"));
    routeTable->setColumnWidth(1, routeTable->width() - 38);
    if (frame_)
        frame_->acEditorMode->setChecked(false);
    drawnMap_.penWidth = 3;
    AttachGestures();
    AttachPanels();
    RedrawMap(true);
}

MapWindow::~MapWindow() {
    map_->setHooks(nullptr);
    map_->FreeStops();
}

QString MapWindow::StatusText() const {
    return frame_ ? frame_->StatusText() : QString();
}

void MapWindow::SetStatusText(const QString& text) {
    if (frame_)
        frame_->SetStatusText(text);
}

void MapWindow::FitMapArea() {
    const QSize view = scrollArea->viewport()->size();
    const QRect extent = lirsk::mapExtent(*map_);
    const int width = std::max({view.width(), extent.width(), picture_.width()});
    const int height = std::max({view.height(), extent.height(), picture_.height()});
    if (mapArea->size() != QSize(width, height))
        mapArea->resize(width, height);
    // A stop far out (only a damaged file has one) must not ask for gigabytes: the graph image
    // then covers the top-left part of the map, and the stops beyond show as controls.
    constexpr int kMaxImageSide = 8192;
    drawnMap_.resize(std::min(width, kMaxImageSide), std::min(height, kMaxImageSide));
}

void MapWindow::RedrawMap(bool withStatus) {
    if (!map_->Ready)
        return;
    FitMapArea();
    QString remembered;
    if (withStatus) {
        remembered = StatusText();
        SetStatusText(kRedrawWait);
    }
    lirsk::RedrawGraph(drawnMap_, *map_);
    overlayActive_ = false;
    BandDrawn = false;
    if (withStatus)
        SetStatusText(remembered);
    mapArea->update();
}

void MapWindow::ViewportResized() {
    FitMapArea();
    RedrawMap(false);
}

bool MapWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == scrollArea->viewport() && event->type() == QEvent::Resize && resizeAttached_)
        ViewportResized();
    return QWidget::eventFilter(watched, event);
}

void MapWindow::drawLink(const lirsk::Link& link) {
    PaintOnMap([this, &link](QPainter& painter) { lirsk::DrawLink(painter, *map_, link); });
}

std::optional<lirsk::RoadWeight> MapWindow::askLinkWeights(const lirsk::RoadWeight& current) {
    return roadParametersDialog()->Ask(current);
}

void MapWindow::stopRowAdded(int row, const QString& name) {
    // While a file is read the grid is filled once at the end.
    if (!map_->Ready)
        return;
    stopList->setRowCount(std::max(stopList->rowCount(), row + 1));
    setCell(stopList, row, 0, name);
}

void MapWindow::stopRowRemoved(int row) {
    if (!map_->Ready)
        return;
    if (row > 0 && row < stopList->rowCount())
        stopList->removeRow(row);
    if (stopList->rowCount() < 2)
        stopList->setRowCount(2);
}

void MapWindow::FillStopList() {
    const QStringList& rows = map_->StopRows;
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
    SetStatusText(kOpenWait);
    const QString found = lirsk::resolveDataPath(path, DataRoots());
    QString error;
    bool ok = QFileInfo(found).isFile();
    if (!ok)
        error = QFileInfo::exists(found) ? QStringLiteral("Это не файл: %1").arg(found)
                                         : QStringLiteral("Файл не найден: %1").arg(found);

    if (ok) {
        map_->Ready = false;
        map_->FileName = path;
        filePath_ = found;
        resizeAttached_ = false;
        const lirsk::MapIdentity identity = lirsk::recognizeMapPath(path);
        map_->MapCode = identity.mapCode;
        map_->MapCity = identity.mapCity;
        ok = lirsk::readMapFile(found, *map_, &error);
        map_->Ready = false;
        resizeAttached_ = true;
    }
    if (!ok) {
        map_->Ready = true;
        SetStatusText(QString());
        FillStopList();
        lirsk::showMessage(this, {QMessageBox::Critical, windowTitle(),
                                  kOpenError + QLatin1Char('\n') + error, QMessageBox::Ok});
        Modified = false;
        if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
            sub->close();
        else
            close();
        return false;
    }

    if (frame_)
        frame_->acSearchPanel->setChecked(map_->StoredSearchPanel);
    if (map_->StoredSearchPanel)
        ShowSearchPanel(true);
    FillStopList();
    ViewportResized();
    SetStatusText(QString());
    map_->Ready = true;
    RedrawMap(true);
    Modified = false;

    BuiltinSetup();
    if (frame_)
        frame_->acFindWay->setChecked(true);
    SetFindWayMode();
    return true;
}

void MapWindow::BuiltinSetup() {
    const lirsk::BuiltinSetup setup = lirsk::builtinSetup({map_->MapCode, map_->MapCity});
    if (!setup.picture.isEmpty()) {
        const QString file = lirsk::resolveDataPath(setup.picture, DataRoots());
        QImageReader reader(file);
        QImage picture = reader.read();
        if (picture.isNull()) {
            lirsk::showMessage(this,
                               {QMessageBox::Warning, windowTitle(),
                                QStringLiteral("Не удалось загрузить фоновый рисунок %1:\n%2")
                                    .arg(QDir::toNativeSeparators(file), reader.errorString()),
                                QMessageBox::Ok});
        } else {
            picture_ = picture.convertToFormat(QImage::Format_RGB32);
            FitMapArea();
            RedrawMap(false);
        }
    }
    if (setup.showGraph)
        SetDrawnMapVisible(true);
    if (setup.routes) {
        routeTable->setRowCount(setup.routes->rowCount);
        for (int i = 0; i < setup.routes->rows.size(); ++i) {
            setCell(routeTable, i + 1, 0, setup.routes->rows[i].number);
            setCell(routeTable, i + 1, 1, setup.routes->rows[i].name);
        }
    }
}

bool MapWindow::Save(const QString& newPath) {
    if (map_->FileName.isEmpty() && newPath.isEmpty())
        return frame_ && frame_->acSaveAsExecute();
    const QString target = newPath.isEmpty() ? filePath_ : newPath;
    QString error;
    const bool searchPanel = frame_ && frame_->acSearchPanel->isChecked();
    if (!lirsk::saveMapFile(target, *map_, searchPanel, &error)) {
        lirsk::showMessage(this, {QMessageBox::Critical, windowTitle(),
                                  QStringLiteral("Не удалось сохранить карту в файл %1:\n%2")
                                      .arg(QDir::toNativeSeparators(target), error),
                                  QMessageBox::Ok});
        return false;
    }
    if (!newPath.isEmpty()) {
        map_->FileName = newPath;
        filePath_ = newPath;
        setWindowTitle(newPath);
    }
    Modified = false;
    return true;
}

void MapWindow::SetEditorMode(bool on) {
    if (frame_)
        for (QAction* action :
             {frame_->acPointer, frame_->acAddStop, frame_->acAddRoad, frame_->acDeleteRoad,
              frame_->acChangeRoad, frame_->acNew, frame_->acAddArc, frame_->acDeleteArc})
            action->setVisible(on);
    if (MapWindow* current = CurrentMapWindow()) {
        current->SetPictureVisible(!on);
        current->SetDrawnMapVisible(on);
    }
}

void MapWindow::SetFindWayMode() {
    if (map_->stopCount() == 0) {
        lirsk::showMessage(this,
                           {QMessageBox::Information, windowTitle(), kNoData, QMessageBox::Ok});
        return;
    }
    PickedStop = nullptr;
    SetStatusText(kFindWayText);
    Mode = FindWayMode;
}

void MapWindow::Activate() {
    SetCurrentMapWindow(this);
    if (frame_)
        frame_->acSearchPanel->setChecked(!searchPanel->isHidden());
    // The tool bar shows this window's mode.
    if (QAction* mode = frame_ ? ModeAction(frame_, Mode) : nullptr)
        mode->setChecked(true);
    RedrawMap(false);
}

void MapWindow::SetPictureVisible(bool visible) {
    pictureVisible_ = visible;
    mapArea->update();
}

void MapWindow::SetDrawnMapVisible(bool visible) {
    drawnMapVisible_ = visible;
    mapArea->update();
}

void MapWindow::SetMapPen(const QColor& colour, int width, lirsk::PenMode mode) {
    drawnMap_.penColor = colour;
    drawnMap_.penWidth = width;
    drawnMap_.penMode = mode;
}

void MapWindow::BeginOverlay() {
    // The overlay starts as the picture as shown, so that not-xor figures erase themselves on it
    // exactly as on the graph image.
    overlay_.resize(drawnMap_.image.width(), drawnMap_.image.height());
    overlay_.image.fill(palette().color(QPalette::Window));
    if (!picture_.isNull()) {
        QPainter painter(&overlay_.image);
        painter.drawImage(0, 0, picture_);
    }
    overlayActive_ = true;
}

void MapWindow::PaintOnMap(const std::function<void(QPainter&)>& figure) {
    QPainter painter;
    lirsk::beginPainting(painter, drawnMap_);
    figure(painter);
    painter.end();
    if (pictureVisible_ && !drawnMapVisible_) {
        if (!overlayActive_)
            BeginOverlay();
        overlay_.penColor = drawnMap_.penColor;
        overlay_.penWidth = drawnMap_.penWidth;
        overlay_.penMode = drawnMap_.penMode;
        overlay_.font = drawnMap_.font;
        lirsk::beginPainting(painter, overlay_);
        figure(painter);
        painter.end();
    }
    mapArea->update();
}

void MapWindow::DrawStraightArc(int x1, int y1, int x2, int y2, int setback, int arrowType,
                                int arrowSize, double arrowAngle) {
    PaintOnMap([=](QPainter& painter) {
        lirsk::DrawStraightArc(painter, x1, y1, x2, y2, setback, arrowType, arrowSize, arrowAngle);
    });
}

QImage MapWindow::RenderMapArea() const {
    QImage image(mapArea->size(), QImage::Format_RGB32);
    QPainter painter(&image);
    mapArea->paintContent(painter, image.rect());
    return image;
}

void MapWindow::closeEvent(QCloseEvent* event) {
    if (Modified) {
        const auto answer = lirsk::showMessage(
            this, {QMessageBox::Question, windowTitle(),
                   QStringLiteral("Сохранить изменения в карте «%1»?").arg(windowTitle()),
                   QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel});
        if (answer == QMessageBox::Cancel || (answer == QMessageBox::Yes && !Save(QString()))) {
            event->ignore();
            return;
        }
    }
    map_->MapCode.clear();
    if (frame_ && frame_->MapWindowCount() == 1) {
        frame_->DisableMapCommands();
        SetEditorMode(false);
    }
    event->accept();
}

void MapWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && LabelDragStop) {
        const QRect before = lirsk::nameLabelRect(*LabelDragStop);
        LabelDragStop->Label.Left = LabelDragStop->LabelHomeLeft;
        LabelDragStop->Label.Top = LabelDragStop->LabelHomeTop;
        mapArea->update(before.united(lirsk::nameLabelRect(*LabelDragStop)).adjusted(-2, -2, 2, 2));
        return;
    }
    QWidget::keyPressEvent(event);
}
