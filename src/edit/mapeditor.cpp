#include "edit/mapeditor.h"

#include "edit/maptools.h"
#include "model/numberformat.h"
#include "platform/messages.h"
#include "route/report.h"
#include "view/maprenderer.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QTimer>
#include <QUndoStack>

namespace lirsk {

namespace {

const QString kRedrawWait = QStringLiteral("Перерисовка карты, ждите...");
const QString kNoData = QStringLiteral("Поиск не возможен, т.к. нет исходных данных.");
const QString kFindWayText =
    QStringLiteral("Оптимальный путь (укажите левой кнопкой мыши остановку отправления, затем не "
                   "отпуская кнопку к какой остановке следует найти путь)");

} // namespace

MapEditor::MapEditor(MapDocument* document, MapView* view, QWidget* window, EditDialogs& dialogs)
    : QObject(window), document_(document), view_(view), window_(window), dialogs_(dialogs),
      tool_(makeTool(MapMode::Pointer, *this)) {
    view_->setInputHandler(this);

    stopMenu = new QMenu(window);
    stopMenu->setObjectName(QStringLiteral("stopMenu"));
    stopMenuStart = stopMenu->addAction(QStringLiteral("Маршрут отсюда"));
    stopMenuStart->setObjectName(QStringLiteral("stopMenuStart"));
    stopMenuFinish = stopMenu->addAction(QStringLiteral("Маршрут сюда"));
    stopMenuFinish->setObjectName(QStringLiteral("stopMenuFinish"));
    stopMenuWaySeparator = stopMenu->addSeparator();
    connect(stopMenuStart, &QAction::triggered, this, [this] {
        if (MenuStop != NoStop)
            ChooseStart(MenuStop);
    });
    connect(stopMenuFinish, &QAction::triggered, this, [this] {
        if (MenuStop != NoStop)
            ChooseFinish(MenuStop);
    });
    stopMenuDelete = stopMenu->addAction(QStringLiteral("Удалить"));
    stopMenuDelete->setObjectName(QStringLiteral("stopMenuDelete"));
    stopMenuProperties = stopMenu->addAction(QStringLiteral("Свойства"));
    stopMenuProperties->setObjectName(QStringLiteral("stopMenuProperties"));
    connect(stopMenuDelete, &QAction::triggered, this, &MapEditor::DeleteStopsFromMenu);
    connect(stopMenuProperties, &QAction::triggered, this, &MapEditor::EditStopProperties);

    // One tick after the pointer leaves the stops for the picture, the routes pop-up closes.
    routesPopupTimer_ = new QTimer(this);
    routesPopupTimer_->setSingleShot(true);
    routesPopupTimer_->setInterval(1);
    connect(routesPopupTimer_, &QTimer::timeout, this, [this] { dialogs_.hideStopRoutes(); });
}

MapEditor::~MapEditor() {
    view_->setInputHandler(nullptr);
}

QString MapEditor::windowTitle() const {
    return window_ ? window_->windowTitle() : QString();
}

// --- Modes ------------------------------------------------------------------------------------

void MapEditor::setMode(MapMode mode) {
    mode_ = mode;
    tool_ = makeTool(mode, *this);
    view_->setRubberBand(std::nullopt);
    view_->setSelectionRect(std::nullopt);
    emit modeChanged(mode);
}

void MapEditor::setModeText(MapMode mode, const QString& text) {
    if (mode != MapMode::AddStop)
        PickedStop = NoStop;
    if (setStatusText)
        setStatusText(text);
    setMode(mode);
}

void MapEditor::SetPointerMode() {
    setModeText(MapMode::Pointer, QStringLiteral("Режим просмотра"));
}

void MapEditor::SetAddStopMode() {
    setModeText(MapMode::AddStop,
                QStringLiteral("Добавление остановки (щёлкните левой кнопкой мыши "
                               "на рабочее поле, чтобы добавить остановку)"));
}

void MapEditor::SetAddArcMode() {
    setModeText(MapMode::AddArc,
                QStringLiteral("Добавление дуги (укажите левой кнопкой мыши вершину "
                               "из которой исходит дуга, затем в какую вершину "
                               "входит)"));
}

void MapEditor::SetDeleteArcMode() {
    setModeText(MapMode::DeleteArc,
                QStringLiteral("Удаление дуги (укажите левой кнопкой мыши вершину "
                               "из которой исходит дуга, затем в какую вершину "
                               "входит)"));
}

void MapEditor::SetAddRoadMode() {
    setModeText(MapMode::AddRoad,
                QStringLiteral("Добавление дороги (укажите левой кнопкой мыши "
                               "остановку из которой исходит дорога, затем в какую "
                               "входит)"));
}

void MapEditor::SetDeleteRoadMode() {
    setModeText(MapMode::DeleteRoad, QStringLiteral("Удаление дороги (укажите левой кнопкой мыши "
                                                    "остановку из которой исходит дорога, затем в "
                                                    "какую входит)"));
}

void MapEditor::SetChangeRoadMode() {
    setModeText(MapMode::ChangeRoad, QStringLiteral("Изменение параметров дороги (укажите левой "
                                                    "кнопкой мыши остановку из которой исходит "
                                                    "дорога, затем в какую входит)"));
}

void MapEditor::SetFindWayMode() {
    if (map().stopCount() == 0) {
        showMessage(window_, {QMessageBox::Information, windowTitle(), kNoData, QMessageBox::Ok});
        return;
    }
    setModeText(MapMode::FindWay, kFindWayText);
}

void MapEditor::SetInfoMode() {
    setModeText(MapMode::Info, QStringLiteral("Просмотр информации об остановки"));
}

bool MapEditor::IsTwoStopMode() const {
    switch (mode_) {
    case MapMode::AddArc:
    case MapMode::DeleteArc:
    case MapMode::AddRoad:
    case MapMode::DeleteRoad:
    case MapMode::ChangeRoad:
    case MapMode::FindWay:
        return true;
    default:
        return false;
    }
}

void MapEditor::RedrawMap(bool withStatus) {
    QString remembered;
    if (withStatus && statusText && setStatusText) {
        remembered = statusText();
        setStatusText(kRedrawWait);
    }
    view_->repaintMap();
    if (withStatus && setStatusText)
        setStatusText(remembered);
}

// --- Selection --------------------------------------------------------------------------------

void MapEditor::ToggleSelected(StopIndex stop) {
    document_->toggleSelected(stop);
}

void MapEditor::ClearSelection(int keepId, bool redraw) {
    document_->clearSelection(keepId);
    if (redraw)
        RedrawMap(false);
}

void MapEditor::SelectAll() {
    document_->selectAll();
}

// --- The mouse --------------------------------------------------------------------------------

MapHit MapEditor::gestureTarget(const MapHit& target) const {
    // In find-way mode a stop's name stands for its stop.
    if (target.kind == MapHit::Name && mode_ == MapMode::FindWay)
        return {MapHit::Stop, target.stop};
    return target;
}

void MapEditor::pressed(const MapHit& hit, const MapMouseEvent& event) {
    finishMove();
    const MapHit target = gestureTarget(hit);
    switch (target.kind) {
    case MapHit::Name:
        namePressed(target.stop, event);
        return;
    case MapHit::Stop: {
        const StopIndex stop = target.stop;
        if (event.button == Qt::RightButton) {
            MenuStop = stop;
            if (!document_->isSelected(stop))
                ClearSelection(-1, true);
            for (QAction* item : {stopMenuStart, stopMenuFinish, stopMenuWaySeparator})
                item->setVisible(mode_ == MapMode::FindWay);
            stopMenu->popup(QCursor::pos());
            return;
        }
        const Stop& pressed = map().stop(stop);
        press = {stop, event.pos - QPoint(pressed.Left, pressed.Top), 0};
        tool_->stopPressed(stop, event);
        return;
    }
    case MapHit::Empty:
        if (event.button != Qt::LeftButton)
            return;
        mapClickPending_ = true;
        tool_->mapPressed(event);
        return;
    }
}

void MapEditor::moved(const MapHit& hit, const MapMouseEvent& event) {
    const MapHit target = gestureTarget(hit);
    switch (target.kind) {
    case MapHit::Name:
        nameMoved(target.stop, event);
        return;
    case MapHit::Stop:
        tool_->stopMoved(target.stop, event);
        return;
    case MapHit::Empty:
        if (event.buttons == Qt::NoButton)
            closeRoutesPopupSoon();
        tool_->mapMoved(event);
        return;
    }
}

void MapEditor::released(const MapHit& hit, const MapMouseEvent& event) {
    const MapHit target = gestureTarget(hit);
    if (target.kind != MapHit::Name)
        finishMove();
    switch (target.kind) {
    case MapHit::Name:
        nameReleased();
        return;
    case MapHit::Stop: {
        const StopIndex stop = target.stop;
        const Stop& released = map().stop(stop);
        if (press.stop == stop && event.pos - QPoint(released.Left, released.Top) == press.down) {
            if (!(event.modifiers & Qt::ShiftModifier))
                ClearSelection(released.Id, true);
            tool_->stopClicked(stop);
        }
        tool_->stopReleased(stop, event);
        if (press.stop == stop)
            press = {};
        return;
    }
    case MapHit::Empty:
        // The click comes before the release, so a rectangle made by this release survives it.
        if (event.button == Qt::LeftButton && mapClickPending_) {
            mapClickPending_ = false;
            if (view_->visibleMapRect().contains(event.pos))
                ClearSelection(-1, true);
        }
        tool_->mapReleased(event);
        return;
    }
}

bool MapEditor::leftDragPans() const {
    return tool_->leftDragPans();
}

bool MapEditor::dragGrowsMap() const {
    return tool_->dragGrowsMap();
}

void MapEditor::closeRoutesPopupSoon() {
    if (dialogs_.stopRoutesShown())
        routesPopupTimer_->start();
}

// --- Dragging a name --------------------------------------------------------------------------

void MapEditor::namePressed(StopIndex stop, const MapMouseEvent& event) {
    const NameLabel& label = map().stop(stop).Label;
    nameHome_ = QPoint(label.Left, label.Top);
    nameDown_ = event.pos - nameHome_;
    LabelDragStop = stop;
}

void MapEditor::nameMoved(StopIndex stop, const MapMouseEvent& event) {
    if (LabelDragStop != stop)
        return;
    NameLabel& label = map().stop(stop).Label;
    const int x = event.pos.x() - label.Left, y = event.pos.y() - label.Top;
    bool moved = false;
    if (x != nameDown_.x() && label.Left - nameDown_.x() + x >= 0) {
        label.Left = label.Left - nameDown_.x() + x;
        moved = true;
    }
    if (y != nameDown_.y() && label.Top - nameDown_.y() + y >= 0) {
        label.Top = label.Top - nameDown_.y() + y;
        moved = true;
    }
    if (moved) {
        document_->setGestureChange(true);
        document_->announce(MapChange::Place, {stop});
    }
}

void MapEditor::nameReleased() {
    finishNameDrag();
    RedrawMap(false);
}

void MapEditor::finishNameDrag() {
    const StopIndex stop = std::exchange(LabelDragStop, NoStop);
    if (stop == NoStop)
        return;
    StopPlace home = placeOf(map().stop(stop));
    home.labelLeft = nameHome_.x();
    home.labelTop = nameHome_.y();
    edit::moveStops(*document_, tr("перемещение названия"), {stop}, {home},
                    {placeOf(map().stop(stop))});
    document_->setGestureChange(false);
}

bool MapEditor::CancelNameDrag() {
    if (LabelDragStop == NoStop)
        return false;
    NameLabel& label = map().stop(LabelDragStop).Label;
    label.Left = nameHome_.x();
    label.Top = nameHome_.y();
    document_->announce(MapChange::Place, {LabelDragStop});
    return true;
}

// --- Operations -------------------------------------------------------------------------------

// --- Undo and redo ----------------------------------------------------------------------------

void MapEditor::Undo() {
    finishMove();
    finishNameDrag();
    // An undo may take any stop away, or move stops to other indices.
    forgetGestures();
    undoStack()->undo();
}

void MapEditor::Redo() {
    finishMove();
    finishNameDrag();
    forgetGestures();
    undoStack()->redo();
}

void MapEditor::forgetGestures() {
    MenuStop = NoStop;
    PickedStop = NoStop;
    LabelDragStop = NoStop;
    press = {};
    moving_.clear();
    movingFrom_.clear();
    view_->setChosenEnd(std::nullopt);
    view_->setRubberBand(std::nullopt);
}

void MapEditor::noteMove(const std::vector<StopIndex>& stops) {
    if (!moving_.empty())
        return;
    moving_ = stops;
    for (const StopIndex stop : stops)
        movingFrom_.push_back(placeOf(map().stop(stop)));
    document_->setGestureChange(true);
}

void MapEditor::finishMove() {
    if (moving_.empty())
        return;
    std::vector<StopIndex> stops = std::move(moving_);
    std::vector<StopPlace> from = std::move(movingFrom_);
    moving_.clear();
    movingFrom_.clear();
    std::vector<StopPlace> to;
    for (const StopIndex stop : stops)
        to.push_back(placeOf(map().stop(stop)));
    edit::moveStops(*document_, tr("перемещение остановок"), std::move(stops), std::move(from),
                    std::move(to));
    document_->setGestureChange(false);
}

void MapEditor::ChangeSettings(const DisplaySettings& settings) {
    finishMove();
    edit::changeSettings(*document_, settings);
}

// --- Operations -------------------------------------------------------------------------------

RoadWeight MapEditor::newLinkWeight(StopIndex from, StopIndex to) {
    if (!map().Settings.UserWeights)
        return {0, map().cornerDistance(from, to), 0};
    return dialogs_.askRoadWeight({}).value_or(RoadWeight{});
}

void MapEditor::AddArc(StopIndex a, StopIndex b) {
    finishMove();
    edit::addArc(*document_, a, b, newLinkWeight(a, b));
}

void MapEditor::DeleteArc(StopIndex a, StopIndex b) {
    finishMove();
    edit::deleteArc(*document_, a, b);
}

void MapEditor::AddRoad(StopIndex a, StopIndex b) {
    finishMove();
    edit::addRoad(*document_, a, b, newLinkWeight(a, b));
}

void MapEditor::DeleteRoad(StopIndex a, StopIndex b) {
    finishMove();
    edit::deleteRoad(*document_, a, b);
}

void MapEditor::ChangeRoadWeight(StopIndex a, StopIndex b) {
    finishMove();
    if (const std::optional<RoadWeight> answer =
            dialogs_.askRoadWeight(map().FindLink(a, b)->weight()))
        edit::changeRoad(*document_, a, b, *answer);
}

StopIndex MapEditor::AddStopAt(int x, int y) {
    finishMove();
    return edit::addStop(*document_, x, y);
}

void MapEditor::DeleteStop(StopIndex stop) {
    deleteStops({stop});
}

void MapEditor::deleteStops(std::vector<StopIndex> stops) {
    if (stops.empty())
        return;
    finishMove();
    // Nothing may go on naming a stop once the stops have moved.
    forgetGestures();
    edit::deleteStops(*document_, std::move(stops));
}

void MapEditor::DeleteStopsFromMenu() {
    if (document_->selectedCount() != 0)
        deleteStops(document_->selection().stops());
    else if (MenuStop != NoStop)
        deleteStops({MenuStop});
}

void MapEditor::EditStopProperties() {
    const StopIndex menuStop = MenuStop;
    if (menuStop == NoStop)
        return;
    const Stop& shown = map().stop(menuStop);
    StopProperties values;
    values.Name = shown.Label.Caption;
    values.Size = QString::number(shown.Width);
    values.Id = QString::number(shown.Id);
    values.ShowName = shown.Label.Visible;
    values.Color = shown.FillColor;
    values.Routes = shown.Routes;
    values.Font = shown.Label.Font;
    const std::optional<StopProperties> answer = dialogs_.askStopProperties(values);

    std::vector<StopIndex> targets;
    std::vector<StopLook> looks;
    if (answer && MenuStop == menuStop) {
        const StopProperties& typed = *answer;
        const int size = typed.Size.toInt();
        // Each value is compared with the menu's stop as it was: only what the user changed
        // changes on the marked stops.
        const auto changedLook = [&](const Stop& target) {
            StopLook look = lookOf(target);
            if (typed.Name != shown.Label.Caption)
                look.caption = typed.Name;
            if (size != shown.Width) {
                look.width = look.height = size;
                look.radius = size / 2;
            }
            if (typed.ShowName != shown.Label.Visible)
                look.nameVisible = typed.ShowName;
            if (typed.Color != shown.FillColor)
                look.colour = typed.Color;
            if (typed.Routes != shown.Routes)
                look.routes = typed.Routes;
            // The font and the name's colour are chosen apart: a new font keeps each stop's
            // colour.
            if (typed.FontChanged) {
                look.font = typed.Font;
                look.font.Color = target.Label.Font.Color;
            }
            if (typed.Font.Color != shown.Label.Font.Color)
                look.font.Color = typed.Font.Color;
            return look;
        };
        for (const StopIndex stop : document_->selection().stops())
            if (stop != menuStop)
                targets.push_back(stop);
        targets.push_back(menuStop);
        for (const StopIndex target : targets)
            looks.push_back(changedLook(map().stop(target)));
    }

    MenuStop = NoStop;
    finishMove();
    edit::setStopLooks(*document_, std::move(targets), std::move(looks));
    RedrawMap(true);
}

void MapEditor::FindWay(StopIndex start, StopIndex finish) {
    if (!waySearch_ || waySearchRevision_ != document_->revision()) {
        waySearch_ = std::make_unique<WaySearch>(map());
        waySearchRevision_ = document_->revision();
    }
    const Criterion criterion = criterion_;
    const CriterionResult result = waySearch_->search(criterion, start, finish);
    const SearchResult& found = result.found;
    document_->clearFoundWay();
    if (found.outcome != SearchOutcome::Found || result.refusal != Refusal::None) {
        const QString text = failureText(criterion, result);
        if (!text.isEmpty())
            showMessage(window_,
                        {found.outcome == SearchOutcome::NoWayMessage ? QMessageBox::Information
                                                                      : QMessageBox::Warning,
                         windowTitle(), text, QMessageBox::Ok});
        return;
    }
    document_->setFoundWay({found.way, found.length, found.time});
    showFoundWay();
    ReportWay(document_->foundWay());
}

void MapEditor::ChooseStart(StopIndex stop) {
    chooseWayEnd(stop, true);
}

void MapEditor::ChooseFinish(StopIndex stop) {
    chooseWayEnd(stop, false);
}

void MapEditor::ChooseNextWayEnd(StopIndex stop) {
    const auto& chosen = view_->chosenEnd();
    chooseWayEnd(stop, !chosen || !chosen->isStart);
}

bool MapEditor::ForgetWayEnd() {
    if (!view_->chosenEnd())
        return false;
    view_->setChosenEnd(std::nullopt);
    return true;
}

void MapEditor::chooseWayEnd(StopIndex stop, bool isStart) {
    const std::optional<MapView::ChosenEnd> other = view_->chosenEnd();
    if (!other || other->isStart == isStart || other->stop == stop) {
        view_->setChosenEnd(MapView::ChosenEnd{stop, isStart});
        return;
    }
    view_->setChosenEnd(std::nullopt);
    FindWay(isStart ? stop : other->stop, isStart ? other->stop : stop);
}

void MapEditor::showFoundWay() {
    const std::vector<StopIndex>& way = document_->foundWay().stops;
    if (way.empty())
        return;
    QRect box = stopBox(map().stop(way.front()));
    for (const StopIndex stop : way)
        box = box.united(stopBox(map().stop(stop)));
    view_->showMapRect(box);
}

void MapEditor::ReportWay(const FoundWay& way) {
    // A map with its own description counts its fare and names its routes by it.
    const std::optional<MapDescription>& description = document_->description();
    const RouteReport report =
        description ? BuildRouteReport(map(), way.stops, way.length, way.time, *description,
                                       localeDecimalSeparator())
                    : BuildRouteReport(map(), way.stops, way.length, way.time, map().MapCode,
                                       map().MapCity, localeDecimalSeparator());
    QString caption;
    switch (criterion_) {
    case Criterion::Shortest:
        caption = QStringLiteral("Отчет");
        break;
    case Criterion::Fastest:
        caption = QStringLiteral("Отчет — быстрейший путь");
        break;
    case Criterion::FewestChanges:
        caption = QStringLiteral("Отчет — меньше пересадок");
        break;
    }
    dialogs_.showReport(report, caption);
}

} // namespace lirsk
