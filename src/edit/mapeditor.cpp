#include "edit/mapeditor.h"

#include "edit/maptools.h"
#include "model/numberformat.h"
#include "platform/messages.h"
#include "platform/translatedtext.h"
#include "route/report.h"
#include "view/maprenderer.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QTimer>
#include <QUndoStack>

namespace lirsk {

MapEditor::MapEditor(MapDocument* document, MapView* view, QWidget* window, EditDialogs& dialogs)
    : QObject(window), m_document(document), m_view(view), m_window(window), m_dialogs(dialogs),
      m_tool(makeTool(MapMode::Pointer, *this)) {
    m_view->setInputHandler(this);
    m_view->installEventFilter(this);

    stopMenu = new QMenu(window);
    stopMenu->setObjectName(QStringLiteral("stopMenu"));
    stopMenuStart = stopMenu->addAction(QString());
    keepText<MapEditor>(stopMenuStart, "text", QT_TR_NOOP("Маршрут отсюда"));
    stopMenuStart->setObjectName(QStringLiteral("stopMenuStart"));
    stopMenuFinish = stopMenu->addAction(QString());
    keepText<MapEditor>(stopMenuFinish, "text", QT_TR_NOOP("Маршрут сюда"));
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
    stopMenuDelete = stopMenu->addAction(QString());
    keepText<MapEditor>(stopMenuDelete, "text", QT_TR_NOOP("Удалить"));
    stopMenuDelete->setObjectName(QStringLiteral("stopMenuDelete"));
    stopMenuProperties = stopMenu->addAction(QString());
    keepText<MapEditor>(stopMenuProperties, "text", QT_TR_NOOP("Свойства"));
    stopMenuProperties->setObjectName(QStringLiteral("stopMenuProperties"));
    connect(stopMenuDelete, &QAction::triggered, this, &MapEditor::DeleteStopsFromMenu);
    connect(stopMenuProperties, &QAction::triggered, this, &MapEditor::EditStopProperties);

    // One tick after the pointer leaves the stops for the picture, the routes pop-up closes.
    m_routesPopupTimer = new QTimer(this);
    m_routesPopupTimer->setSingleShot(true);
    m_routesPopupTimer->setInterval(1);
    connect(m_routesPopupTimer, &QTimer::timeout, this, [this] { m_dialogs.hideStopRoutes(); });
}

MapEditor::~MapEditor() {
    m_view->setInputHandler(nullptr);
}

QString MapEditor::windowTitle() const {
    return m_window ? m_window->windowTitle() : QString();
}

// --- Modes ------------------------------------------------------------------------------------

void MapEditor::setMode(MapMode mode) {
    m_mode = mode;
    m_tool = makeTool(mode, *this);
    m_view->setRubberBand(std::nullopt);
    m_view->setSelectionRect(std::nullopt);
    emit modeChanged(mode);
}

// The hint the status line shows in each mode that has one.
QString MapEditor::modeText(MapMode mode) {
    switch (mode) {
    case MapMode::Pointer:
        return tr("Режим просмотра");
    case MapMode::AddStop:
        return tr("Добавление остановки (щёлкните левой кнопкой мыши "
                  "на рабочее поле, чтобы добавить остановку)");
    case MapMode::AddArc:
        return tr("Добавление дуги (укажите левой кнопкой мыши вершину "
                  "из которой исходит дуга, затем в какую вершину "
                  "входит)");
    case MapMode::DeleteArc:
        return tr("Удаление дуги (укажите левой кнопкой мыши вершину "
                  "из которой исходит дуга, затем в какую вершину "
                  "входит)");
    case MapMode::AddRoad:
        return tr("Добавление дороги (укажите левой кнопкой мыши "
                  "остановку из которой исходит дорога, затем в какую "
                  "входит)");
    case MapMode::DeleteRoad:
        return tr("Удаление дороги (укажите левой кнопкой мыши "
                  "остановку из которой исходит дорога, затем в "
                  "какую входит)");
    case MapMode::ChangeRoad:
        return tr("Изменение параметров дороги (укажите левой "
                  "кнопкой мыши остановку из которой исходит "
                  "дорога, затем в какую входит)");
    case MapMode::FindWay:
        return tr("Оптимальный путь (укажите левой кнопкой мыши остановку отправления, затем не "
                  "отпуская кнопку к какой остановке следует найти путь)");
    case MapMode::Info:
        return tr("Просмотр информации об остановки");
    default:
        return QString();
    }
}

void MapEditor::setModeText(MapMode mode) {
    if (mode != MapMode::AddStop)
        PickedStop = NoStop;
    if (setStatusText)
        setStatusText(modeText(mode));
    setMode(mode);
}

void MapEditor::ShowModeText() {
    const QString text = modeText(m_mode);
    if (!text.isEmpty() && setStatusText)
        setStatusText(text);
}

void MapEditor::SetPointerMode() {
    setModeText(MapMode::Pointer);
}
void MapEditor::SetAddStopMode() {
    setModeText(MapMode::AddStop);
}
void MapEditor::SetAddArcMode() {
    setModeText(MapMode::AddArc);
}
void MapEditor::SetDeleteArcMode() {
    setModeText(MapMode::DeleteArc);
}
void MapEditor::SetAddRoadMode() {
    setModeText(MapMode::AddRoad);
}
void MapEditor::SetDeleteRoadMode() {
    setModeText(MapMode::DeleteRoad);
}
void MapEditor::SetChangeRoadMode() {
    setModeText(MapMode::ChangeRoad);
}

void MapEditor::SetFindWayMode() {
    if (map().stopCount() == 0) {
        showMessage(m_window,
                    {QMessageBox::Information, windowTitle(),
                     tr("Поиск не возможен, т.к. нет исходных данных."), QMessageBox::Ok});
        return;
    }
    setModeText(MapMode::FindWay);
}

void MapEditor::SetInfoMode() {
    setModeText(MapMode::Info);
}

void MapEditor::setEditing(bool on) {
    if (!on) {
        finishMove();
        finishNameDrag();
    }
    m_editing = on;
}

bool MapEditor::IsTwoStopMode() const {
    switch (m_mode) {
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
        setStatusText(tr("Перерисовка карты, ждите..."));
    }
    m_view->repaintMap();
    if (withStatus && setStatusText)
        setStatusText(remembered);
}

// --- Selection --------------------------------------------------------------------------------

void MapEditor::ToggleSelected(StopIndex stop) {
    m_document->toggleSelected(stop);
}

void MapEditor::ClearSelection(int keepId, bool redraw) {
    m_document->clearSelection(keepId);
    if (redraw)
        RedrawMap(false);
}

void MapEditor::SelectAll() {
    m_document->selectAll();
}

// --- The mouse --------------------------------------------------------------------------------

MapHit MapEditor::gestureTarget(const MapHit& target) const {
    // In find-way mode a stop's name stands for its stop.
    if (target.kind == MapHit::Name && m_mode == MapMode::FindWay)
        return {MapHit::Stop, target.stop};
    return target;
}

void MapEditor::pressed(const MapHit& hit, const MapMouseEvent& event) {
    finishMove();
    endNudgeRun();
    const MapHit target = gestureTarget(hit);
    switch (target.kind) {
    case MapHit::Name:
        namePressed(target.stop, event);
        return;
    case MapHit::Stop: {
        const StopIndex stop = target.stop;
        if (event.button == Qt::RightButton) {
            MenuStop = stop;
            if (!m_document->isSelected(stop))
                ClearSelection(-1, true);
            for (QAction* item : {stopMenuStart, stopMenuFinish})
                item->setVisible(m_mode == MapMode::FindWay);
            stopMenuWaySeparator->setVisible(m_mode == MapMode::FindWay && m_editing);
            for (QAction* item : {stopMenuDelete, stopMenuProperties})
                item->setVisible(m_editing);
            if (!m_editing && m_mode != MapMode::FindWay)
                return;
            stopMenu->popup(QCursor::pos());
            return;
        }
        const Stop& pressed = map().stop(stop);
        press = {stop, event.pos - QPoint(pressed.Left, pressed.Top), 0};
        m_tool->stopPressed(stop, event);
        return;
    }
    case MapHit::Empty:
        if (event.button != Qt::LeftButton)
            return;
        m_mapClickPending = true;
        m_tool->mapPressed(event);
        return;
    }
}

void MapEditor::moved(const MapHit& hit, const MapMouseEvent& event) {
    emit pointerMoved(event.pos);
    const MapHit target = gestureTarget(hit);
    switch (target.kind) {
    case MapHit::Name:
        nameMoved(target.stop, event);
        return;
    case MapHit::Stop:
        m_tool->stopMoved(target.stop, event);
        return;
    case MapHit::Empty:
        if (event.buttons == Qt::NoButton)
            closeRoutesPopupSoon();
        m_tool->mapMoved(event);
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
            m_tool->stopClicked(stop);
        }
        m_tool->stopReleased(stop, event);
        if (press.stop == stop)
            press = {};
        return;
    }
    case MapHit::Empty:
        // The click comes before the release, so a rectangle made by this release survives it.
        if (event.button == Qt::LeftButton && m_mapClickPending) {
            m_mapClickPending = false;
            if (m_view->visibleMapRect().contains(event.pos) &&
                !(event.modifiers & Qt::ControlModifier))
                ClearSelection(-1, true);
        }
        m_tool->mapReleased(event);
        return;
    }
}

bool MapEditor::leftDragPans() const {
    return m_tool->leftDragPans();
}

bool MapEditor::dragGrowsMap() const {
    return m_tool->dragGrowsMap();
}

void MapEditor::closeRoutesPopupSoon() {
    if (m_dialogs.stopRoutesShown())
        m_routesPopupTimer->start();
}

// --- Dragging a name --------------------------------------------------------------------------

void MapEditor::namePressed(StopIndex stop, const MapMouseEvent& event) {
    if (!m_editing)
        return;
    const NameLabel& label = map().stop(stop).Label;
    m_nameHome = QPoint(label.Left, label.Top);
    // The grip is kept on the name where it is shown, which may be away from its stored place.
    m_nameDown = event.pos - view().shownNameTopLeft(stop);
    LabelDragStop = stop;
}

void MapEditor::nameMoved(StopIndex stop, const MapMouseEvent& event) {
    if (LabelDragStop != stop)
        return;
    NameLabel& label = map().stop(stop).Label;
    const int x = event.pos.x() - label.Left, y = event.pos.y() - label.Top;
    bool moved = false;
    if (x != m_nameDown.x() && label.Left - m_nameDown.x() + x >= 0) {
        label.Left = label.Left - m_nameDown.x() + x;
        moved = true;
    }
    if (y != m_nameDown.y() && label.Top - m_nameDown.y() + y >= 0) {
        label.Top = label.Top - m_nameDown.y() + y;
        moved = true;
    }
    if (moved) {
        m_document->setGestureChange(true);
        m_document->announce(MapChange::Place, {stop});
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
    home.labelLeft = m_nameHome.x();
    home.labelTop = m_nameHome.y();
    edit::moveStops(*m_document, tr("перемещение названия"), {stop}, {home},
                    {placeOf(map().stop(stop))});
    m_document->setGestureChange(false);
}

bool MapEditor::CancelNameDrag() {
    if (LabelDragStop == NoStop)
        return false;
    NameLabel& label = map().stop(LabelDragStop).Label;
    label.Left = m_nameHome.x();
    label.Top = m_nameHome.y();
    m_document->announce(MapChange::Place, {LabelDragStop});
    return true;
}

// --- Operations -------------------------------------------------------------------------------

// --- Undo and redo ----------------------------------------------------------------------------

void MapEditor::Undo() {
    if (!m_editing)
        return;
    endNudgeRun();
    finishMove();
    finishNameDrag();
    // An undo may take any stop away, or move stops to other indices.
    forgetGestures();
    undoStack()->undo();
}

void MapEditor::Redo() {
    if (!m_editing)
        return;
    endNudgeRun();
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
    m_moving.clear();
    m_movingFrom.clear();
    m_view->setChosenEnd(std::nullopt);
    m_view->setRubberBand(std::nullopt);
}

void MapEditor::noteMove(const std::vector<StopIndex>& stops) {
    if (!m_editing || !m_moving.empty())
        return;
    m_moving = stops;
    for (const StopIndex stop : stops)
        m_movingFrom.push_back(placeOf(map().stop(stop)));
    m_document->setGestureChange(true);
}

void MapEditor::finishMove() {
    if (m_moving.empty())
        return;
    std::vector<StopIndex> stops = std::move(m_moving);
    std::vector<StopPlace> from = std::move(m_movingFrom);
    m_moving.clear();
    m_movingFrom.clear();
    std::vector<StopPlace> to;
    for (const StopIndex stop : stops)
        to.push_back(placeOf(map().stop(stop)));
    edit::moveStops(*m_document, tr("перемещение остановок"), std::move(stops), std::move(from),
                    std::move(to));
    m_document->setGestureChange(false);
}

void MapEditor::ChangeSettings(const DisplaySettings& settings) {
    finishMove();
    edit::changeSettings(*m_document, settings);
}

// --- Operations -------------------------------------------------------------------------------

RoadWeight MapEditor::newLinkWeight(StopIndex from, StopIndex to) {
    if (!map().Settings.UserWeights)
        return {0, map().cornerDistance(from, to), 0};
    return m_dialogs.askRoadWeight({}).value_or(RoadWeight{});
}

bool MapEditor::readyToEdit() {
    if (!m_editing)
        return false;
    finishMove();
    return true;
}

void MapEditor::AddArc(StopIndex a, StopIndex b) {
    if (!readyToEdit())
        return;
    edit::addArc(*m_document, a, b, newLinkWeight(a, b));
}

void MapEditor::DeleteArc(StopIndex a, StopIndex b) {
    if (!readyToEdit())
        return;
    edit::deleteArc(*m_document, a, b);
}

void MapEditor::AddRoad(StopIndex a, StopIndex b) {
    if (!readyToEdit())
        return;
    edit::addRoad(*m_document, a, b, newLinkWeight(a, b));
}

void MapEditor::DeleteRoad(StopIndex a, StopIndex b) {
    if (!readyToEdit())
        return;
    edit::deleteRoad(*m_document, a, b);
}

void MapEditor::ChangeRoadWeight(StopIndex a, StopIndex b) {
    if (!readyToEdit())
        return;
    if (const std::optional<RoadWeight> answer =
            m_dialogs.askRoadWeight(map().FindLink(a, b)->weight()))
        edit::changeRoad(*m_document, a, b, *answer);
}

StopIndex MapEditor::AddStopAt(int x, int y) {
    if (!readyToEdit())
        return NoStop;
    return edit::addStop(*m_document, x, y);
}

void MapEditor::DeleteStop(StopIndex stop) {
    deleteStops({stop});
}

void MapEditor::deleteStops(std::vector<StopIndex> stops) {
    if (!m_editing || stops.empty())
        return;
    finishMove();
    // Nothing may go on naming a stop once the stops have moved.
    forgetGestures();
    edit::deleteStops(*m_document, std::move(stops));
}

void MapEditor::DeleteStopsFromMenu() {
    if (m_document->selectedCount() != 0)
        deleteStops(m_document->selection().stops());
    else if (MenuStop != NoStop)
        deleteStops({MenuStop});
}

void MapEditor::EditStopProperties() {
    const StopIndex menuStop = MenuStop;
    if (!m_editing || menuStop == NoStop)
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
    values.X = shown.centreX();
    values.Y = shown.centreY();
    const std::optional<StopProperties> answer = m_dialogs.askStopProperties(values);

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
        for (const StopIndex stop : m_document->selection().stops())
            if (stop != menuStop)
                targets.push_back(stop);
        targets.push_back(menuStop);
        for (const StopIndex target : targets)
            looks.push_back(changedLook(map().stop(target)));
    }

    MenuStop = NoStop;
    finishMove();
    // A centre typed anew moves the menu's stop (and its name) there, in the same edit.
    const bool moves =
        answer && !targets.empty() && (answer->X != values.X || answer->Y != values.Y);
    if (moves)
        undoStack()->beginMacro(tr("свойства остановок"));
    edit::setStopLooks(*m_document, std::move(targets), std::move(looks));
    if (moves) {
        const Stop& stop = map().stop(menuStop);
        const StopPlace from = placeOf(stop);
        const int dx = answer->X - stop.centreX(), dy = answer->Y - stop.centreY();
        edit::moveStops(*m_document, tr("перемещение остановок"), {menuStop}, {from},
                        {{from.left + dx, from.top + dy, from.labelLeft + dx, from.labelTop + dy}});
        undoStack()->endMacro();
    }
    RedrawMap(true);
}

void MapEditor::FindWay(StopIndex start, StopIndex finish) {
    if (m_byTimetable && m_document->hasMatchingTimetable()) {
        FindJourney(start, finish);
        return;
    }
    if (!m_waySearch || m_waySearchRevision != m_document->revision()) {
        m_waySearch = std::make_unique<WaySearch>(map());
        m_waySearchRevision = m_document->revision();
    }
    const Criterion criterion = m_criterion;
    m_lastSearch =
        LastSearch{criterion, start, finish, m_waySearch->search(criterion, start, finish)};
    const CriterionResult& result = m_lastSearch->result;
    const SearchResult& found = result.found;
    m_document->clearFoundWay();
    // The journey's planner shows why there is no way.
    if (found.outcome != SearchOutcome::Found || result.refusal != Refusal::None) {
        emit wayDragged(start, finish);
        return;
    }
    m_document->setFoundWay({found.way, found.length, found.time});
    showFoundWay();
    const FoundWay way = m_document->foundWay();
    emit wayDragged(start, finish);
    ReportWay(way);
}

std::optional<CriterionResult> MapEditor::lastSearch(Criterion criterion, StopIndex start,
                                                     StopIndex finish) const {
    if (!m_lastSearch || !m_waySearch || m_waySearchRevision != m_document->revision() ||
        m_lastSearch->criterion != criterion || m_lastSearch->start != start ||
        m_lastSearch->finish != finish)
        return std::nullopt;
    return m_lastSearch->result;
}

void MapEditor::FindJourney(StopIndex start, StopIndex finish) {
    const std::vector<Journey> journeys = m_document->findJourneys(start, finish);
    m_document->clearFoundWay();
    const Journey* shown = preferredJourney(journeys);
    // The journey's planner shows why there is none.
    if (!shown) {
        emit wayDragged(start, finish);
        return;
    }
    const Timetable& timetable = m_document->timetable();
    const JourneyWay way = journeyWay(map(), timetable, *shown);
    m_document->setFoundWay({way.stops, way.length, way.time});
    showFoundWay();
    emit wayDragged(start, finish);
    const MapDescription description = m_document->description().value_or(MapDescription());
    m_dialogs.showReport(
        BuildJourneyReport(map(), timetable, *shown, description, localeDecimalSeparator()),
        tr("Отчет — по расписанию"), wayOnScreen(way.stops), m_document);
}

void MapEditor::ChooseStart(StopIndex stop) {
    emit wayEndChosen(stop, true);
}

void MapEditor::ChooseFinish(StopIndex stop) {
    emit wayEndChosen(stop, false);
}

void MapEditor::ChooseNextWayEnd(StopIndex stop) {
    emit nextWayEndChosen(stop);
}

bool MapEditor::ForgetWayEnd() {
    const std::optional<MapView::ChosenEnd> chosen = m_view->chosenEnd();
    if (!chosen)
        return false;
    m_view->setChosenEnd(std::nullopt);
    emit wayEndChosen(NoStop, chosen->isStart);
    return true;
}

void MapEditor::showFoundWay() {
    const std::vector<StopIndex>& way = m_document->foundWay().stops;
    if (way.empty())
        return;
    QRect box = stopBox(map().stop(way.front()));
    for (const StopIndex stop : way)
        box = box.united(stopBox(m_document->map().stop(stop)));
    m_view->showMapRect(box);
}

void MapEditor::ReportWay(const FoundWay& way) {
    // A map with its own description counts its fare and names its routes by it.
    const std::optional<MapDescription>& description = m_document->description();
    const RouteReport report =
        description ? BuildRouteReport(map(), way.stops, way.length, way.time, *description,
                                       localeDecimalSeparator())
                    : BuildRouteReport(map(), way.stops, way.length, way.time, map().MapCode,
                                       map().MapCity, localeDecimalSeparator());
    QString caption;
    switch (m_criterion) {
    case Criterion::Shortest:
        caption = tr("Отчет");
        break;
    case Criterion::Fastest:
        caption = tr("Отчет — быстрейший путь");
        break;
    case Criterion::FewestChanges:
        caption = tr("Отчет — меньше пересадок");
        break;
    }
    m_dialogs.showReport(report, caption, wayOnScreen(way.stops), m_document);
}

QRect MapEditor::wayOnScreen(const std::vector<StopIndex>& stops) const {
    QRect box;
    for (const StopIndex stop : stops)
        box = box.united(stopBox(m_document->map().stop(stop)));
    const QWidget* viewport = m_view->viewport();
    const QRect onScreen(viewport->mapToGlobal(m_view->mapToViewport(box.topLeft()).toPoint()),
                         viewport->mapToGlobal(m_view->mapToViewport(box.bottomRight()).toPoint()));
    return onScreen.normalized().intersected(
        QRect(viewport->mapToGlobal(QPoint(0, 0)), viewport->size()));
}

} // namespace lirsk
