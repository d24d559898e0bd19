#pragma once

#include "document/edits.h"
#include "document/mapdocument.h"
#include "edit/editdialogs.h"
#include "edit/placing.h"
#include "route/criteria.h"
#include "route/findway.h"
#include "view/mapview.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class QAction;
class QMenu;
class QTimer;
class QUndoStack;

namespace lirsk {

// The tool modes of a map window.
enum class MapMode {
    Pointer,    // click marks, drag moves stops; a drag on the empty map marks by rectangle
    AddStop,    // a press on the empty map adds a stop; drag moves stops
    AddArc,     // drag from A to B adds the arc A -> B
    DeleteArc,  // drag from A to B deletes the link A -> B
    AddRoad,    // drag from A to B adds a road
    DeleteRoad, // drag from A to B deletes the road
    ChangeRoad, // drag from A to B changes the road's price, length and time
    FindWay,    // drag from A to B finds the way from A to B
    Info,       // hovering over a stop shows its routes
};

class MapEditor;

// What one tool mode does with the mouse. The editor does what every mode shares (a right press
// opens the stop's menu, a name is dragged, a click on a stop or on the empty map), then asks
// the tool of the current mode. Positions are in map coordinates.
class MapTool {
public:
    explicit MapTool(MapEditor& editor) : m_editor(editor) {}
    virtual ~MapTool() = default;

    virtual void stopPressed(StopIndex, const MapMouseEvent&) {}
    virtual void stopMoved(StopIndex, const MapMouseEvent&) {}
    // A press and release in the same place of the stop, before the release is handled.
    virtual void stopClicked(StopIndex) {}
    virtual void stopReleased(StopIndex, const MapMouseEvent&) {}
    virtual void mapPressed(const MapMouseEvent&) {}
    virtual void mapMoved(const MapMouseEvent&) {}
    virtual void mapReleased(const MapMouseEvent&) {}
    virtual bool leftDragPans() const { return false; }
    virtual bool dragGrowsMap() const { return false; }

protected:
    MapEditor& m_editor;
};

// The editing side of a map window: the tool modes and their status texts, the marked stops,
// the gestures on stops, names and the empty map, the operations that change the graph, and
// the route search as the window shows it.
class MapEditor : public QObject, public MapInputHandler {
    Q_OBJECT
public:
    // The dialogs are the window's, given by its frame.
    MapEditor(MapDocument* document, MapView* view, QWidget* window, EditDialogs& dialogs);
    ~MapEditor() override;

    MapDocument& document() { return *m_document; }
    GraphMap& map() { return m_document->map(); }
    MapView& view() { return *m_view; }
    EditDialogs& dialogs() { return m_dialogs; }

    // The frame's status line.
    std::function<QString()> statusText;
    std::function<void(const QString&)> setStatusText;

    MapMode mode() const { return m_mode; }
    // Switches to a mode without its status text (a test's shortcut, and the mode commands' own
    // last step).
    void setMode(MapMode mode);
    void SetPointerMode();
    void SetAddStopMode();
    void SetAddArcMode();
    void SetDeleteArcMode();
    void SetAddRoadMode();
    void SetDeleteRoadMode();
    void SetChangeRoadMode();
    // Refuses an empty map with a message and keeps the mode.
    void SetFindWayMode();
    void SetInfoMode();
    // The status line's hint of the mode again (in the language now set).
    void ShowModeText();
    bool IsTwoStopMode() const;

    // Editor mode: only then do the gestures, the menus and undo change the map. Outside it the
    // map is only viewed (marks, ways and the display settings still change).
    bool editing() const { return m_editing; }
    void setEditing(bool on);

    // Repaints the map, with the wait text in the status line when asked.
    void RedrawMap(bool withStatus);

    int SelectedCount() const { return m_document->selectedCount(); }
    void ToggleSelected(StopIndex stop);
    // Unmarks every stop but the one with keepId (-1 keeps none).
    void ClearSelection(int keepId, bool redraw);
    void SelectAll();

    // Every edit of the map is a command on the document's stack; marks, the found way, the
    // chosen ends and the mode are not edits.
    QUndoStack* undoStack() const { return m_document->undoStack(); }
    void Undo();
    void Redo();
    // Drops every reference to a stop kept between gestures (the pop-up menu's stop, the first
    // stop of a two-stop gesture, a name or stops being dragged, a chosen end of a way): an undo
    // or a redo may take any stop away.
    void forgetGestures();
    // The stops a drag is about to move, before it moves them: the drag becomes one command when
    // the button is released.
    void noteMove(const std::vector<StopIndex>& stops);
    // The display settings, as one edit.
    void ChangeSettings(const DisplaySettings& settings);

    void AddArc(StopIndex a, StopIndex b);
    void DeleteArc(StopIndex a, StopIndex b);
    void AddRoad(StopIndex a, StopIndex b);
    void DeleteRoad(StopIndex a, StopIndex b);
    void ChangeRoadWeight(StopIndex a, StopIndex b);
    StopIndex AddStopAt(int x, int y);
    void DeleteStop(StopIndex stop);
    // The stop menu's "Удалить": the marked stops, or the menu's stop when none is marked.
    void DeleteStopsFromMenu();
    // The stop menu's "Свойства": the properties dialog, applied to the marked stops and then
    // to the menu's stop.
    void EditStopProperties();
    // The route search of a find-way drag from start to finish: shows the way and its report
    // (placed off the way); wayDragged tells the ends first, whether a way is found or not.
    void FindWay(StopIndex start, StopIndex finish);
    // The result of the last FindWay by a criterion between two stops, while the map is as it
    // was then: the journey panel takes it instead of searching again.
    std::optional<CriterionResult> lastSearch(Criterion criterion, StopIndex start,
                                              StopIndex finish) const;
    // Where the stops of a way show on the screen, within the viewport: the report window keeps
    // off it.
    QRect wayOnScreen(const std::vector<StopIndex>& stops) const;
    void ReportWay(const FoundWay& way);

    // The marked stops with their names, looks, routes texts and the links among them, to the
    // clipboard (Cut takes them out of the map as one edit).
    void CopySelection();
    void CutSelection();
    // The clipboard's stops added as one edit with new ids, and marked: under the pointer when
    // it is over the view, else 20 pixels from where they were copied.
    void Paste();
    void PasteAt(const std::optional<QPoint>& pointer);
    // The marked stops copied beside themselves, as one edit.
    void DuplicateSelection();

    // The grid: its step (the map's description keeps it), and whether it is shown; while it is,
    // stops moved and added go onto it unless Alt is held.
    int gridStep() const;
    bool gridShown() const { return m_gridShown; }
    void setGridShown(bool shown);
    // Where a stop's centre goes for the pointer at a point.
    bool snapsToGrid(Qt::KeyboardModifiers modifiers) const;
    QPoint placePoint(const QPoint& pos, Qt::KeyboardModifiers modifiers) const;
    // The marked stops moved by the arrow keys: by a pixel, with Shift by the grid step; the
    // presses of one run are one edit.
    void NudgeSelection(int dx, int dy);
    void endNudgeRun() { ++m_nudgeRun; }
    void AlignSelection(Alignment alignment);
    // The map's description, as one edit.
    void ChangeDescription(const MapDescription& description);
    void SpreadSelection(Qt::Orientation orientation);

    // Puts a name being dragged back where the drag began (Esc).
    bool CancelNameDrag();

    // The ends of a way chosen one at a time (from a stop's menu or the stop list), told by
    // wayEndChosen and nextWayEndChosen to whoever plans the journey.
    void ChooseStart(StopIndex stop);
    void ChooseFinish(StopIndex stop);
    void ChooseNextWayEnd(StopIndex stop);
    // Forgets an end shown alone by its marker (Esc); false when there was none.
    bool ForgetWayEnd();
    // Scrolls, zooming out when it must, until the whole found way is in view.
    void showFoundWay();

    // The stop the pop-up menu was opened on, the first stop of a two-stop gesture, the stop
    // whose name is being dragged.
    StopIndex MenuStop = NoStop;
    StopIndex PickedStop = NoStop;
    StopIndex LabelDragStop = NoStop;

    // A press on a stop, from the press to its release: the stop, the press point relative to the
    // stop's corner (during a two-stop gesture the end of the rubber band last drawn, relative to
    // the first stop), and how far the band's arrow head stops short of its end.
    struct StopPress {
        StopIndex stop = NoStop;
        QPoint down;
        int bandSetback = 0;
    };
    StopPress press;

    QMenu* stopMenu = nullptr;
    QAction* stopMenuDelete = nullptr;
    QAction* stopMenuProperties = nullptr;
    QAction* stopMenuStart = nullptr;
    QAction* stopMenuFinish = nullptr;
    QAction* stopMenuWaySeparator = nullptr;

    // What a find-way gesture looks for: the shortest way, the fastest, or the one with the
    // fewest changes (the frame's choice, for every map window).
    Criterion criterion() const { return m_criterion; }
    void setCriterion(Criterion criterion) { m_criterion = criterion; }
    // Whether a find-way gesture goes by the map's timetable (from the document's departure
    // time) while the map has one that matches it; the criterion is used otherwise.
    bool byTimetable() const { return m_byTimetable; }
    void setByTimetable(bool on) { m_byTimetable = on; }
    // The journey by the timetable from start to finish that a traveller is shown first
    // (preferredJourney): shows its way and its report; wayDragged tells the ends first, whether
    // a journey is found or not.
    void FindJourney(StopIndex start, StopIndex finish);

signals:
    void modeChanged(lirsk::MapMode mode);
    // The pointer is over the map at this point.
    void pointerMoved(QPoint mapPoint);
    // An end of a way chosen (NoStop: forgotten).
    void wayEndChosen(lirsk::StopIndex stop, bool isStart);
    // A stop chosen as the next end: the start, or the finish once a start is chosen.
    void nextWayEndChosen(lirsk::StopIndex stop);
    // A find-way drag from start to finish, before its report shows.
    void wayDragged(lirsk::StopIndex start, lirsk::StopIndex finish);

public:
    // MapInputHandler
    void pressed(const MapHit& target, const MapMouseEvent& event) override;
    void moved(const MapHit& target, const MapMouseEvent& event) override;
    void released(const MapHit& target, const MapMouseEvent& event) override;
    bool leftDragPans() const override;
    bool dragGrowsMap() const override;

private:
    static QString modeText(MapMode mode);
    void setModeText(MapMode mode);
    MapHit gestureTarget(const MapHit& hit) const;
    void namePressed(StopIndex stop, const MapMouseEvent& event);
    void nameMoved(StopIndex stop, const MapMouseEvent& event);
    void nameReleased();
    // A name dragged so far becomes one edit.
    void finishNameDrag();
    void closeRoutesPopupSoon();
    // A drag that moved stops becomes one edit.
    void finishMove();
    // Outside editor mode nothing changes the map: false. In it, a move under way is finished
    // first, so that the edit comes after it.
    bool readyToEdit();
    void deleteStops(std::vector<StopIndex> stops);
    // The weights of a new link: asked when the map asks for them (zero when not confirmed),
    // else the distance between the stops' corners.
    RoadWeight newLinkWeight(StopIndex from, StopIndex to);
    QString windowTitle() const;
    bool copyToClipboard();
    // Stops put into the map as one edit, then marked.
    void addMarkedStops(const QString& text, std::vector<Stop> stops);
    void moveSelection(const QString& text, std::vector<StopPlace> places);
    bool eventFilter(QObject* watched, QEvent* event) override;

    QPointer<MapDocument> m_document;
    // A name being dragged: the press point relative to the name, and where the name was.
    QPoint m_nameDown;
    QPoint m_nameHome;
    // The stops a drag is moving and where they were when it began.
    std::vector<StopIndex> m_moving;
    std::vector<StopPlace> m_movingFrom;
    MapView* m_view;
    QWidget* m_window;
    EditDialogs& m_dialogs;
    MapMode m_mode = MapMode::Pointer;
    bool m_editing = false;
    Criterion m_criterion = Criterion::Shortest;
    bool m_byTimetable = false;
    std::unique_ptr<MapTool> m_tool;
    // A left press on the empty map waits for its release, which makes it a click.
    bool m_mapClickPending = false;
    QTimer* m_routesPopupTimer = nullptr;
    // The route indexes of the map as it was at this revision, kept while the map is unchanged.
    std::unique_ptr<WaySearch> m_waySearch;
    quint64 m_waySearchRevision = 0;
    struct LastSearch {
        Criterion criterion;
        StopIndex start, finish;
        CriterionResult result;
    };
    std::optional<LastSearch> m_lastSearch;
    bool m_gridShown = false;
    int m_nudgeRun = 0;
};

} // namespace lirsk
