#include "edit/mapeditor.h"

#include "edit/maptools.h"
#include "edit/routereportdialog.h"
#include "edit/stoppropertiesdialog.h"
#include "edit/stoproutespopup.h"
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

// The fill colour that is a stop's own: a marked stop keeps it aside while it shows the
// selection colour.
Colour ownColour(const Stop& stop) {
    return stop.Selected ? stop.Color : stop.FillColor;
}

void setOwnColour(Stop& stop, Colour colour) {
    if (stop.Selected)
        stop.Color = colour;
    else
        stop.FillColor = colour;
}

} // namespace

MapEditor::MapEditor(MapDocument* document, MapView* view, QWidget* window)
    : QObject(window), document_(document), undoStack_(new QUndoStack(this)), view_(view),
      window_(window), tool_(makeTool(PointerMode, *this)) {
    view_->setInputHandler(this);
    connect(undoStack_, &QUndoStack::indexChanged, this,
            [this] { document_->setModified(!undoStack_->isClean()); });

    stopMenu = new QMenu(window);
    stopMenu->setObjectName(QStringLiteral("stopMenu"));
    stopMenuStart = stopMenu->addAction(QStringLiteral("Маршрут отсюда"));
    stopMenuStart->setObjectName(QStringLiteral("stopMenuStart"));
    stopMenuFinish = stopMenu->addAction(QStringLiteral("Маршрут сюда"));
    stopMenuFinish->setObjectName(QStringLiteral("stopMenuFinish"));
    stopMenuWaySeparator = stopMenu->addSeparator();
    connect(stopMenuStart, &QAction::triggered, this, [this] {
        if (MenuStop)
            ChooseStart(MenuStop);
    });
    connect(stopMenuFinish, &QAction::triggered, this, [this] {
        if (MenuStop)
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
    connect(routesPopupTimer_, &QTimer::timeout, this, [] { stopRoutesPopup()->close(); });
}

MapEditor::~MapEditor() {
    view_->setInputHandler(nullptr);
}

QString MapEditor::windowTitle() const {
    return window_ ? window_->windowTitle() : QString();
}

// --- Modes ------------------------------------------------------------------------------------

void MapEditor::setMode(int mode) {
    mode_ = mode;
    tool_ = makeTool(mode, *this);
    view_->setRubberBand(std::nullopt);
    view_->setSelectionRect(std::nullopt);
    emit modeChanged(mode);
}

void MapEditor::setModeText(int mode, const QString& text) {
    if (mode != AddStopMode)
        PickedStop = nullptr;
    if (setStatusText)
        setStatusText(text);
    setMode(mode);
}

void MapEditor::SetPointerMode() {
    setModeText(PointerMode, QStringLiteral("Режим просмотра"));
}

void MapEditor::SetAddStopMode() {
    setModeText(AddStopMode, QStringLiteral("Добавление остановки (щёлкните левой кнопкой мыши "
                                            "на рабочее поле, чтобы добавить остановку)"));
}

void MapEditor::SetAddArcMode() {
    setModeText(AddArcMode, QStringLiteral("Добавление дуги (укажите левой кнопкой мыши вершину "
                                           "из которой исходит дуга, затем в какую вершину "
                                           "входит)"));
}

void MapEditor::SetDeleteArcMode() {
    setModeText(DeleteArcMode, QStringLiteral("Удаление дуги (укажите левой кнопкой мыши вершину "
                                              "из которой исходит дуга, затем в какую вершину "
                                              "входит)"));
}

void MapEditor::SetAddRoadMode() {
    setModeText(AddRoadMode, QStringLiteral("Добавление дороги (укажите левой кнопкой мыши "
                                            "остановку из которой исходит дорога, затем в какую "
                                            "входит)"));
}

void MapEditor::SetDeleteRoadMode() {
    setModeText(DeleteRoadMode, QStringLiteral("Удаление дороги (укажите левой кнопкой мыши "
                                               "остановку из которой исходит дорога, затем в "
                                               "какую входит)"));
}

void MapEditor::SetChangeRoadMode() {
    setModeText(ChangeRoadMode, QStringLiteral("Изменение параметров дороги (укажите левой "
                                               "кнопкой мыши остановку из которой исходит "
                                               "дорога, затем в какую входит)"));
}

void MapEditor::SetFindWayMode() {
    if (map().stopCount() == 0) {
        showMessage(window_, {QMessageBox::Information, windowTitle(), kNoData, QMessageBox::Ok});
        return;
    }
    setModeText(FindWayMode, kFindWayText);
}

void MapEditor::SetInfoMode() {
    setModeText(InfoMode, QStringLiteral("Просмотр информации об остановки"));
}

bool MapEditor::IsTwoStopMode() const {
    switch (mode_) {
    case AddArcMode:
    case DeleteArcMode:
    case AddRoadMode:
    case DeleteRoadMode:
    case ChangeRoadMode:
    case FindWayMode:
        return true;
    default:
        return false;
    }
}

void MapEditor::RedrawMap(bool withStatus) {
    if (!map().Ready)
        return;
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

void MapEditor::ToggleSelected(StopRef stop) {
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
    if (target.kind == MapHit::Name && mode_ == FindWayMode)
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
        StopRef stop = target.stop;
        if (event.button == Qt::RightButton) {
            MenuStop = stop;
            if (!stop->Selected)
                ClearSelection(-1, true);
            for (QAction* item : {stopMenuStart, stopMenuFinish, stopMenuWaySeparator})
                item->setVisible(mode_ == FindWayMode);
            stopMenu->popup(QCursor::pos());
            return;
        }
        stop->Dragging = true;
        stop->DownX = event.pos.x() - stop->Left;
        stop->DownY = event.pos.y() - stop->Top;
        stop->BandSetback = 0;
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
        StopRef stop = target.stop;
        const int x = event.pos.x() - stop->Left, y = event.pos.y() - stop->Top;
        if (stop->Dragging && x == stop->DownX && y == stop->DownY) {
            if (!(event.modifiers & Qt::ShiftModifier))
                ClearSelection(stop->Id, true);
            tool_->stopClicked(stop);
        }
        tool_->stopReleased(stop, event);
        // The tool may have deleted nothing but the gesture's own state lives in the stop.
        if (map().indexOf(stop) >= 0)
            stop->Dragging = false;
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
    if (stopRoutesPopup()->isVisible())
        routesPopupTimer_->start();
}

// --- Dragging a name --------------------------------------------------------------------------

void MapEditor::namePressed(StopRef stop, const MapMouseEvent& event) {
    stop->LabelDragging = true;
    stop->LabelHomeLeft = stop->Label.Left;
    stop->LabelHomeTop = stop->Label.Top;
    stop->DownX = event.pos.x() - stop->Label.Left;
    stop->DownY = event.pos.y() - stop->Label.Top;
    LabelDragStop = stop;
}

void MapEditor::nameMoved(StopRef stop, const MapMouseEvent& event) {
    if (!stop->LabelDragging)
        return;
    NameLabel& label = stop->Label;
    const int x = event.pos.x() - label.Left, y = event.pos.y() - label.Top;
    bool moved = false;
    if (x != stop->DownX && label.Left - stop->DownX + x >= 0) {
        label.Left = label.Left - stop->DownX + x;
        moved = true;
    }
    if (y != stop->DownY && label.Top - stop->DownY + y >= 0) {
        label.Top = label.Top - stop->DownY + y;
        moved = true;
    }
    if (moved)
        document_->markStopsMoved({stop});
}

void MapEditor::nameReleased() {
    if (StopRef stop = LabelDragStop) {
        stop->LabelDragging = false;
        LabelDragStop = nullptr;
        StopPlace home = placeOf(*stop);
        home.labelLeft = stop->LabelHomeLeft;
        home.labelTop = stop->LabelHomeTop;
        if (!(home == placeOf(*stop)))
            pushEdit(
                new MoveCommand(*this, QStringLiteral("перемещение названия"), {stop}, {home}));
    }
    RedrawMap(false);
}

bool MapEditor::CancelNameDrag() {
    if (!LabelDragStop)
        return false;
    LabelDragStop->Label.Left = LabelDragStop->LabelHomeLeft;
    LabelDragStop->Label.Top = LabelDragStop->LabelHomeTop;
    document_->markStopsMoved({LabelDragStop});
    return true;
}

// --- Operations -------------------------------------------------------------------------------

// --- Undo and redo ----------------------------------------------------------------------------

void MapEditor::Undo() {
    finishMove();
    undoStack_->undo();
}

void MapEditor::Redo() {
    finishMove();
    undoStack_->redo();
}

void MapEditor::forgetGestures() {
    MenuStop = nullptr;
    PickedStop = nullptr;
    if (LabelDragStop)
        LabelDragStop->LabelDragging = false;
    LabelDragStop = nullptr;
    moving_.clear();
    movingFrom_.clear();
    for (const auto& stop : map().stops())
        stop->Dragging = false;
    view_->setChosenEnd(std::nullopt);
    view_->setRubberBand(std::nullopt);
}

void MapEditor::pushEdit(QUndoCommand* command) {
    finishMove();
    undoStack_->push(command);
}

void MapEditor::noteMove(const std::vector<StopRef>& stops) {
    if (!moving_.empty())
        return;
    moving_ = stops;
    for (StopRef stop : stops)
        movingFrom_.push_back(placeOf(*stop));
}

void MapEditor::finishMove() {
    if (moving_.empty())
        return;
    std::vector<StopRef> stops = std::move(moving_);
    std::vector<StopPlace> from = std::move(movingFrom_);
    moving_.clear();
    movingFrom_.clear();
    for (std::size_t i = 0; i < stops.size(); ++i) {
        if (!(placeOf(*stops[i]) == from[i])) {
            undoStack_->push(new MoveCommand(*this, QStringLiteral("перемещение остановок"),
                                             std::move(stops), std::move(from)));
            return;
        }
    }
}

void MapEditor::ChangeSettings(const DisplaySettings& settings) {
    if (settings == map().Settings)
        return;
    const DisplaySettings before = map().Settings;
    map().Settings = settings;
    document_->markChanged();
    pushEdit(new SettingsCommand(*this, before, settings));
}

// --- Operations -------------------------------------------------------------------------------

void MapEditor::changeLinks(StopRef a, StopRef b, const QString& text,
                            const std::function<void()>& edit) {
    finishMove();
    const LinksCommand::Before before = LinksCommand::linksOf(a, b);
    edit();
    auto command = std::make_unique<LinksCommand>(*this, text, before);
    if (command->changesNothing())
        return;
    document_->markChanged();
    pushEdit(command.release());
}

void MapEditor::AddArc(StopRef a, StopRef b) {
    changeLinks(a, b, QStringLiteral("добавление дуги"), [&] { map().AddLink(a, b); });
}

void MapEditor::DeleteArc(StopRef a, StopRef b) {
    changeLinks(a, b, QStringLiteral("удаление дуги"), [&] {
        map().RemoveLink(a, b);
        map().UpdateArcFlags();
    });
}

void MapEditor::AddRoad(StopRef a, StopRef b) {
    changeLinks(a, b, QStringLiteral("добавление дороги"), [&] {
        GraphMap& m = map();
        Link* first = m.AddLink(a, b);
        const bool userWeights = m.Settings.UserWeights;
        m.Settings.UserWeights = false;
        const RoadWeight weight = first->weight();
        first->IsArc = false;
        Link* second = m.AddLink(b, a);
        second->IsArc = false;
        second->setWeight(weight);
        m.Settings.UserWeights = userWeights;
    });
}

void MapEditor::DeleteRoad(StopRef a, StopRef b) {
    changeLinks(a, b, QStringLiteral("удаление дороги"), [&] {
        map().RemoveLink(a, b);
        map().RemoveLink(b, a);
    });
}

void MapEditor::ChangeRoadWeight(StopRef a, StopRef b) {
    changeLinks(a, b, QStringLiteral("изменение параметров дороги"), [&] {
        GraphMap& m = map();
        Link* link = m.FindLink(a, b);
        m.EditLinkWeights(link, false);
        if (Link* back = m.FindLink(b, a))
            back->setWeight(link->weight());
        m.UpdateArcFlags();
    });
}

StopRef MapEditor::AddStopAt(int x, int y) {
    finishMove();
    const int maxIdBefore = map().MaxStopId;
    StopRef stop = map().AddStopAt(x, y);
    document_->markChanged();
    pushEdit(new AddStopCommand(*this, stop, maxIdBefore, map().MaxStopId));
    return stop;
}

void MapEditor::DeleteStop(StopRef stop) {
    deleteStops({stop});
}

void MapEditor::deleteStops(const std::vector<StopRef>& stops) {
    if (stops.empty())
        return;
    finishMove();
    std::vector<TakenStop> taken;
    for (StopRef stop : stops) {
        // Nothing may go on naming the stop once it is gone.
        if (MenuStop == stop)
            MenuStop = nullptr;
        if (PickedStop == stop)
            PickedStop = nullptr;
        if (LabelDragStop == stop)
            LabelDragStop = nullptr;
        if (view_->chosenEnd() && view_->chosenEnd()->stop == stop)
            view_->setChosenEnd(std::nullopt);
        taken.push_back(map().takeStop(stop));
    }
    document_->markChanged();
    pushEdit(new DeleteStopsCommand(*this, std::move(taken)));
}

void MapEditor::DeleteStopsFromMenu() {
    GraphMap& m = map();
    std::vector<StopRef> stops;
    if (m.SelectedCount != 0) {
        for (const auto& stop : m.stops())
            if (stop->Selected)
                stops.push_back(stop.get());
    } else if (MenuStop) {
        stops.push_back(MenuStop);
    }
    deleteStops(stops);
}

void MapEditor::EditStopProperties() {
    StopRef menuStop = MenuStop;
    if (!menuStop)
        return;
    StopProperties values;
    values.Name = menuStop->Label.Caption;
    values.Size = QString::number(menuStop->Width);
    values.Id = QString::number(menuStop->Id);
    values.ShowName = menuStop->Label.Visible;
    values.Color = ownColour(*menuStop);
    values.Routes = menuStop->Routes;
    values.Font = menuStop->Label.Font;
    const std::optional<StopProperties> answer = stopPropertiesDialog()->SetProperties(values);

    bool changed = false;
    std::vector<StopRef> targets;
    std::vector<StopLook> looks;
    if (answer && MenuStop == menuStop) {
        const StopProperties& typed = *answer;
        const int size = typed.Size.toInt();
        // Each value is compared with the menu's stop as it was, so that stop goes last.
        auto apply = [&](Stop& target) {
            if (typed.Name != menuStop->Label.Caption) {
                target.Label.Caption = typed.Name;
                changed = true;
            }
            if (size != menuStop->Width) {
                target.Width = size;
                target.Height = size;
                target.Radius = target.Width / 2;
                changed = true;
            }
            if (typed.ShowName != menuStop->Label.Visible) {
                target.Label.Visible = typed.ShowName;
                changed = true;
            }
            if (typed.Color != ownColour(*menuStop)) {
                setOwnColour(target, typed.Color);
                changed = true;
            }
            if (typed.Routes != menuStop->Routes) {
                target.Routes = typed.Routes;
                changed = true;
            }
            // The font and the name's colour are chosen apart: a new font keeps each stop's
            // colour.
            if (typed.FontChanged) {
                const Colour colour = target.Label.Font.Color;
                target.Label.Font = typed.Font;
                target.Label.Font.Color = colour;
                changed = true;
            }
            if (typed.Font.Color != menuStop->Label.Font.Color) {
                target.Label.Font.Color = typed.Font.Color;
                changed = true;
            }
        };
        if (map().SelectedCount > 0)
            for (const auto& stop : map().stops())
                if (stop->Selected && stop.get() != menuStop)
                    targets.push_back(stop.get());
        targets.push_back(menuStop);
        for (StopRef target : targets) {
            looks.push_back(lookOf(*target));
            apply(*target);
        }
    }

    MenuStop = nullptr;
    map().UpdateArcFlags();
    if (changed) {
        document_->markChanged();
        pushEdit(new StopPropertiesCommand(*this, std::move(targets), std::move(looks)));
    }
    RedrawMap(true);
}

namespace {

Criterion& chosenCriterion() {
    static Criterion criterion = Criterion::Shortest;
    return criterion;
}

} // namespace

Criterion searchCriterion() {
    return chosenCriterion();
}

void setSearchCriterion(Criterion criterion) {
    chosenCriterion() = criterion;
}

void MapEditor::FindWay(StopRef start, StopRef finish) {
    GraphMap& m = map();
    const int links = m.linkCount();
    if (!waySearch_ || waySearchRevision_ != document_->revision() ||
        waySearchStops_ != m.stopCount() || waySearchLinks_ != links) {
        waySearch_ = std::make_unique<WaySearch>(m);
        waySearchRevision_ = document_->revision();
        waySearchStops_ = m.stopCount();
        waySearchLinks_ = links;
    }
    const Criterion criterion = searchCriterion();
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

void MapEditor::ChooseStart(StopRef stop) {
    chooseWayEnd(stop, true);
}

void MapEditor::ChooseFinish(StopRef stop) {
    chooseWayEnd(stop, false);
}

void MapEditor::ChooseNextWayEnd(StopRef stop) {
    const auto& chosen = view_->chosenEnd();
    chooseWayEnd(stop, !chosen || !chosen->isStart);
}

bool MapEditor::ForgetWayEnd() {
    if (!view_->chosenEnd())
        return false;
    view_->setChosenEnd(std::nullopt);
    return true;
}

void MapEditor::chooseWayEnd(StopRef stop, bool isStart) {
    const std::optional<MapView::ChosenEnd> other = view_->chosenEnd();
    if (!other || other->isStart == isStart || other->stop == stop) {
        view_->setChosenEnd(MapView::ChosenEnd{stop, isStart});
        return;
    }
    view_->setChosenEnd(std::nullopt);
    FindWay(isStart ? stop : other->stop, isStart ? other->stop : stop);
}

void MapEditor::showFoundWay() {
    const std::vector<StopRef>& way = document_->foundWay().stops;
    if (way.empty())
        return;
    QRect box = stopBox(*way.front());
    for (StopRef stop : way)
        box = box.united(stopBox(*stop));
    view_->showMapRect(box);
}

void MapEditor::ReportWay(const FoundWay& way) {
    // A map with its own description counts its fare and names its routes by it.
    const std::optional<MapDescription>& description = document_->description();
    const RouteReport report =
        description ? BuildRouteReport(way.stops, way.length, way.time, *description,
                                       localeDecimalSeparator())
                    : BuildRouteReport(way.stops, way.length, way.time, map().MapCode,
                                       map().MapCity, localeDecimalSeparator());
    RouteReportDialog* dialog = routeReportDialog();
    switch (searchCriterion()) {
    case Criterion::Shortest:
        dialog->setWindowTitle(QStringLiteral("Отчет"));
        break;
    case Criterion::Fastest:
        dialog->setWindowTitle(QStringLiteral("Отчет — быстрейший путь"));
        break;
    case Criterion::FewestChanges:
        dialog->setWindowTitle(QStringLiteral("Отчет — меньше пересадок"));
        break;
    }
    dialog->ShowReport(report);
}

} // namespace lirsk
