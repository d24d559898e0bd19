#include "app/mdichild.h"

#include "app/mainform.h"
#include "app/maparea.h"
#include "edit/commands.h"
#include "edit/setarcweight.h"
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

QPointer<TMDIChild>& currentWindow() {
    static QPointer<TMDIChild> current;
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

TMDIChild* CurrentMapWindow() {
    return currentWindow().data();
}

void SetCurrentMapWindow(TMDIChild* window) {
    currentWindow() = window;
}

QStringList DataRoots() {
    const QString exeDir = QCoreApplication::applicationDirPath();
    return {exeDir, QDir::cleanPath(exeDir + QStringLiteral("/../share/lirskmap"))};
}

// --- TVertex -------------------------------------------------------------------------------

void TVertex::NameLabelMouseDown(Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) {
    stop_->LabelDragging = true;
    stop_->LabelHomeLeft = stop_->Label.Left;
    stop_->LabelHomeTop = stop_->Label.Top;
    stop_->DownX = x;
    stop_->DownY = y;
    if (TMDIChild* current = CurrentMapWindow())
        current->LabelDragStop = current->Map().FindStopById(stop_->Id);
}

void TVertex::NameLabelMouseMove(Qt::KeyboardModifiers, int x, int y) {
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
        map_->Area->update(before.united(lirsk::nameLabelRect(*stop_)).adjusted(-2, -2, 2, 2));
    }
}

void TVertex::NameLabelMouseUp(Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
    stop_->LabelDragging = false;
    if (TMDIChild* current = CurrentMapWindow()) {
        current->LabelDragStop = nullptr;
        current->RedrawMap(false);
    }
}

// --- TMDIChild ------------------------------------------------------------------------------

TMDIChild::TMDIChild(TMainForm* frame, QWidget* parent)
    : QWidget(parent), frame_(frame), map_(std::make_unique<lirsk::GraphMap>()) {
    map_->setHooks(this);
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    SplMain = new QSplitter(Qt::Horizontal, this);
    SplMain->setHandleWidth(2);
    SplMain->setChildrenCollapsible(false);
    layout->addWidget(SplMain);

    PTables = new QWidget(SplMain);
    PTables->setMinimumWidth(1);
    PTables->resize(175, 400);
    auto* tablesLayout = new QVBoxLayout(PTables);
    tablesLayout->setContentsMargins(0, 0, 0, 0);
    tablesLayout->setSpacing(0);
    PSmeg = new QFrame(PTables);
    PSmeg->setFrameShape(QFrame::StyledPanel);
    tablesLayout->addWidget(PSmeg, 1);
    tablesLayout->addStretch(0);

    auto* smegLayout = new QVBoxLayout(PSmeg);
    smegLayout->setContentsMargins(2, 2, 2, 2);
    smegLayout->setSpacing(0);
    Panel1 = new QWidget(PSmeg);
    Panel1->setFixedHeight(41);
    EditSearch = new QLineEdit(Panel1);
    EditSearch->setGeometry(8, 8, 121, 21);
    connect(EditSearch, &QLineEdit::textEdited, EditSearch, [this](const QString& text) {
        if (text != text.toLower()) {
            const int pos = EditSearch->cursorPosition();
            EditSearch->setText(text.toLower());
            EditSearch->setCursorPosition(pos);
        }
    });
    SpeedButton1 = new QToolButton(Panel1);
    SpeedButton1->setGeometry(136, 8, 27, 25);
    SpeedButton1->setText(QStringLiteral("»"));
    smegLayout->addWidget(Panel1);

    Panel2 = new QWidget(PSmeg);
    auto* panel2Layout = new QVBoxLayout(Panel2);
    panel2Layout->setContentsMargins(0, 0, 0, 0);
    panel2Layout->setSpacing(0);
    SG = makeGrid(1, Panel2);
    SG->setSelectionMode(QAbstractItemView::ExtendedSelection);
    SG->resize(171, 200);
    panel2Layout->addWidget(SG, 1);
    POrient = new QGroupBox(QStringLiteral("Маршруты"), Panel2);
    POrient->setFixedHeight(162);
    auto* orientLayout = new QVBoxLayout(POrient);
    orientLayout->setContentsMargins(2, 2, 2, 2);
    SGM = makeGrid(2, POrient);
    SGM->setSelectionMode(QAbstractItemView::SingleSelection);
    SGM->resize(167, 140);
    orientLayout->addWidget(SGM);
    panel2Layout->addWidget(POrient);
    smegLayout->addWidget(Panel2, 1);

    SBGraf = new QScrollArea(SplMain);
    SBGraf->setWidgetResizable(false);
    SBGraf->setFrameShape(QFrame::NoFrame);
    Area = new MapArea(this);
    SBGraf->setWidget(Area);
    SBGraf->viewport()->installEventFilter(this);
    SplMain->addWidget(PTables);
    SplMain->addWidget(SBGraf);
    SplMain->setStretchFactor(1, 1);
    SplMain->setSizes({175, 600});
    PTables->hide();

    // Creation, in order: ready, grid columns, editor button released, settings (the model's
    // defaults), then a redraw with the wait text.
    map_->Ready = true;
    SG->setColumnWidth(0, 144);
    SGM->setColumnWidth(0, 15);
    SGM->setColumnWidth(1, 15);
    setCell(SGM, 0, 0, QString());
    setCell(SGM, 0, 1, QStringLiteral("Маршрут"));
    SGM->setColumnWidth(1, SGM->width() - 38);
    if (frame_)
        frame_->Redactor->setChecked(false);
    imgGraf_.penWidth = 3;
    AttachGestures();
    AttachPanels();
    RedrawMap(true);
}

TMDIChild::~TMDIChild() {
    map_->setHooks(nullptr);
    map_->FreeStops();
}

QString TMDIChild::StatusText() const {
    return frame_ ? frame_->StatusText() : QString();
}

void TMDIChild::SetStatusText(const QString& text) {
    if (frame_)
        frame_->SetStatusText(text);
}

void TMDIChild::FitMapArea() {
    const QSize view = SBGraf->viewport()->size();
    const QRect extent = lirsk::mapExtent(*map_);
    const int width = std::max({view.width(), extent.width(), picture_.width()});
    const int height = std::max({view.height(), extent.height(), picture_.height()});
    if (Area->size() != QSize(width, height))
        Area->resize(width, height);
    // A stop far out (only a damaged file has one) must not ask for gigabytes: the graph image
    // then covers the top-left part of the map, and the stops beyond show as controls.
    constexpr int kMaxImageSide = 8192;
    imgGraf_.resize(std::min(width, kMaxImageSide), std::min(height, kMaxImageSide));
}

void TMDIChild::RedrawMap(bool withStatus) {
    if (!map_->Ready)
        return;
    FitMapArea();
    QString remembered;
    if (withStatus) {
        remembered = StatusText();
        SetStatusText(kRedrawWait);
    }
    lirsk::RedrawGraph(imgGraf_, *map_);
    overlayActive_ = false;
    BandDrawn = false;
    if (withStatus)
        SetStatusText(remembered);
    Area->update();
}

void TMDIChild::SBGrafResize() {
    FitMapArea();
    RedrawMap(false);
}

bool TMDIChild::eventFilter(QObject* watched, QEvent* event) {
    if (watched == SBGraf->viewport() && event->type() == QEvent::Resize && resizeAttached_)
        SBGrafResize();
    return QWidget::eventFilter(watched, event);
}

void TMDIChild::drawLink(const lirsk::Link& link) {
    PaintOnMap([this, &link](QPainter& painter) { lirsk::DrawLink(painter, *map_, link); });
}

std::optional<lirsk::RoadWeight> TMDIChild::askLinkWeights(const lirsk::RoadWeight& current) {
    return SetarcWeightForm()->Ask(current);
}

void TMDIChild::stopRowAdded(int row, const QString& name) {
    // While a file is read the grid is filled once at the end.
    if (!map_->Ready)
        return;
    SG->setRowCount(std::max(SG->rowCount(), row + 1));
    setCell(SG, row, 0, name);
}

void TMDIChild::stopRowRemoved(int row) {
    if (!map_->Ready)
        return;
    if (row > 0 && row < SG->rowCount())
        SG->removeRow(row);
    if (SG->rowCount() < 2)
        SG->setRowCount(2);
}

void TMDIChild::FillStopGrid() {
    const QStringList& rows = map_->StopRows;
    SG->setUpdatesEnabled(false);
    SG->clearContents();
    SG->setRowCount(std::max<int>(2, rows.size() + 1));
    auto* header = new QTableWidgetItem;
    header->setFlags(Qt::ItemIsEnabled);
    header->setBackground(lirsk::systemColour(30));
    SG->setItem(0, 0, header);
    for (int i = 0; i < rows.size(); ++i)
        SG->setItem(i + 1, 0, new QTableWidgetItem(rows[i]));
    SG->setUpdatesEnabled(true);
}

bool TMDIChild::Load(const QString& path) {
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
        FillStopGrid();
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
        frame_->acShowSmeg->setChecked(map_->StoredSearchPanel);
    if (map_->StoredSearchPanel)
        ShowSearchPanel(true);
    FillStopGrid();
    SBGrafResize();
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

void TMDIChild::BuiltinSetup() {
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
        SetImgGrafVisible(true);
    if (setup.routes) {
        SGM->setRowCount(setup.routes->rowCount);
        for (int i = 0; i < setup.routes->rows.size(); ++i) {
            setCell(SGM, i + 1, 0, setup.routes->rows[i].number);
            setCell(SGM, i + 1, 1, setup.routes->rows[i].name);
        }
    }
}

bool TMDIChild::Save(const QString& newPath) {
    if (map_->FileName.isEmpty() && newPath.isEmpty())
        return frame_ && frame_->acSaveAsExecute();
    const QString target = newPath.isEmpty() ? filePath_ : newPath;
    QString error;
    const bool searchPanel = frame_ && frame_->acShowSmeg->isChecked();
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

void TMDIChild::SetEditorMode(bool on) {
    if (frame_)
        for (QAction* action :
             {frame_->acPointer, frame_->acAddVertex, frame_->acAddRebro, frame_->acDestroyRebro,
              frame_->acChangeRebroWeight, frame_->acNew, frame_->acAddArc, frame_->acDestroyArc})
            action->setVisible(on);
    if (TMDIChild* current = CurrentMapWindow()) {
        current->SetImage1Visible(!on);
        current->SetImgGrafVisible(on);
    }
}

void TMDIChild::SetFindWayMode() {
    if (map_->stopCount() == 0) {
        lirsk::showMessage(this,
                           {QMessageBox::Information, windowTitle(), kNoData, QMessageBox::Ok});
        return;
    }
    PickedStop = nullptr;
    SetStatusText(kFindWayText);
    Mode = emFindWay;
}

void TMDIChild::FormActivate() {
    SetCurrentMapWindow(this);
    if (frame_)
        frame_->acShowSmeg->setChecked(!PSmeg->isHidden());
    // The tool bar shows this window's mode.
    if (QAction* mode = frame_ ? ModeAction(frame_, Mode) : nullptr)
        mode->setChecked(true);
    RedrawMap(false);
}

void TMDIChild::SetImage1Visible(bool visible) {
    image1Visible_ = visible;
    Area->update();
}

void TMDIChild::SetImgGrafVisible(bool visible) {
    imgGrafVisible_ = visible;
    Area->update();
}

void TMDIChild::SetMapPen(const QColor& colour, int width, lirsk::PenMode mode) {
    imgGraf_.penColor = colour;
    imgGraf_.penWidth = width;
    imgGraf_.penMode = mode;
}

void TMDIChild::BeginOverlay() {
    // The overlay starts as the picture as shown, so that not-xor figures erase themselves on it
    // exactly as on the graph image.
    overlay_.resize(imgGraf_.image.width(), imgGraf_.image.height());
    overlay_.image.fill(palette().color(QPalette::Window));
    if (!picture_.isNull()) {
        QPainter painter(&overlay_.image);
        painter.drawImage(0, 0, picture_);
    }
    overlayActive_ = true;
}

void TMDIChild::PaintOnMap(const std::function<void(QPainter&)>& figure) {
    QPainter painter;
    lirsk::beginPainting(painter, imgGraf_);
    figure(painter);
    painter.end();
    if (image1Visible_ && !imgGrafVisible_) {
        if (!overlayActive_)
            BeginOverlay();
        overlay_.penColor = imgGraf_.penColor;
        overlay_.penWidth = imgGraf_.penWidth;
        overlay_.penMode = imgGraf_.penMode;
        overlay_.font = imgGraf_.font;
        lirsk::beginPainting(painter, overlay_);
        figure(painter);
        painter.end();
    }
    Area->update();
}

void TMDIChild::DrawStraightArc(int x1, int y1, int x2, int y2, int setback, int arrowType,
                                int arrowSize, double arrowAngle) {
    PaintOnMap([=](QPainter& painter) {
        lirsk::DrawStraightArc(painter, x1, y1, x2, y2, setback, arrowType, arrowSize, arrowAngle);
    });
}

QImage TMDIChild::RenderMapArea() const {
    QImage image(Area->size(), QImage::Format_RGB32);
    QPainter painter(&image);
    Area->paintContent(painter, image.rect());
    return image;
}

void TMDIChild::closeEvent(QCloseEvent* event) {
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

void TMDIChild::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && LabelDragStop) {
        const QRect before = lirsk::nameLabelRect(*LabelDragStop);
        LabelDragStop->Label.Left = LabelDragStop->LabelHomeLeft;
        LabelDragStop->Label.Top = LabelDragStop->LabelHomeTop;
        Area->update(before.united(lirsk::nameLabelRect(*LabelDragStop)).adjusted(-2, -2, 2, 2));
        return;
    }
    QWidget::keyPressEvent(event);
}
