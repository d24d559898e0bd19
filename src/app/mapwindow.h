#pragma once

#include "model/graphmap.h"
#include "view/maprenderer.h"

#include <QColor>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QAction;
class QFrame;
class QMenu;
class QGroupBox;
class QLineEdit;
class QScrollArea;
class QSplitter;
class QTableWidget;
class QTimer;
class QToolButton;
class MapArea;
class MainWindow;

// The tool modes of a map window.
enum MapMode {
    PointerMode = -1,
    AddStopMode = 0,
    AddArcMode = 1,
    DeleteArcMode = 3,
    AddRoadMode = 4,
    DeleteRoadMode = 5,
    ChangeRoadMode = 6,
    FindWayMode = 8,
    InfoMode = 9,
};

class MapWindow;

// The on-screen control of one stop and of its name label. It is a handle, not a widget: the map
// area hands it the mouse events of the stop (or of the name) with positions relative to the
// control, and everything it keeps lives in the stop itself.
class StopHandle {
public:
    StopHandle(MapWindow* map, lirsk::StopRef stop) : map_(map), stop_(stop) {}
    lirsk::StopRef stop() const { return stop_; }

    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void MouseMove(Qt::KeyboardModifiers shift, int x, int y);
    void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);

    // The name label's own handlers: dragging the name to another place.
    void NameLabelMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void NameLabelMouseMove(Qt::KeyboardModifiers shift, int x, int y);
    void NameLabelMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);

private:
    MapWindow* map_;
    lirsk::StopRef stop_;
};

// One open map: the map area with the background picture, the graph image and the stops, and the
// left panel with the stop list and the route table. The window is the map's document.
class MapWindow : public QWidget, public lirsk::MapHooks {
    Q_OBJECT
public:
    explicit MapWindow(MainWindow* frame, QWidget* parent = nullptr);
    ~MapWindow() override;

    MainWindow* Frame() const { return frame_; }
    lirsk::GraphMap& Map() { return *map_; }
    const lirsk::GraphMap& Map() const { return *map_; }

    // Reads a map file into this (new, empty) window; false when nothing could be read, in which
    // case the window has told the user and closes itself.
    bool Load(const QString& path);
    // Writes the map to its own file, or to newPath when one is given; a map without a file asks
    // for a name. False when nothing was written (the user has been told why, or cancelled).
    bool Save(const QString& newPath);

    void RedrawMap(bool withStatus);
    void ViewportResized();
    void SetEditorMode(bool on);
    void SetFindWayMode();
    void ShowSearchPanel(bool show);
    void ShowRoutesPanel(bool show);
    // The window became the active one.
    void Activate();

    // Drawing over the map between redraws (the found way, rubber bands): into the graph image
    // and, while the background picture is shown, into an overlay over the picture, so the figure
    // is seen either way. The next redraw removes it. The pen is the graph image's pen.
    void PaintOnMap(const std::function<void(QPainter&)>& figure);
    void SetMapPen(const QColor& colour, int width, lirsk::PenMode mode);
    void DrawStraightArc(int x1, int y1, int x2, int y2, int setback, int arrowType, int arrowSize,
                         double arrowAngle);

    bool PictureVisible() const { return pictureVisible_; }
    bool DrawnMapVisible() const { return drawnMapVisible_; }
    void SetPictureVisible(bool visible);
    void SetDrawnMapVisible(bool visible);
    const QImage& Picture() const { return picture_; }
    const lirsk::GraphCanvas& GraphImage() const { return drawnMap_; }
    bool OverlayShown() const { return overlayActive_; }
    // The map area as the user sees it (picture or graph, stops and names), for checking.
    QImage RenderMapArea() const;

    QString StatusText() const;
    void SetStatusText(const QString& text);

    // lirsk::MapHooks
    void redrawMap(bool withStatus) override { RedrawMap(withStatus); }
    void drawLink(const lirsk::Link& link) override;
    std::optional<lirsk::RoadWeight> askLinkWeights(const lirsk::RoadWeight& current) override;
    void stopRowAdded(int row, const QString& name) override;
    void stopRowRemoved(int row) override;

    // Modes, selection, gestures and editing operations.
    void SetPointerMode();
    void SetAddStopMode();
    void SetAddArcMode();
    void SetDeleteArcMode();
    void SetAddRoadMode();
    void SetDeleteRoadMode();
    void SetChangeRoadMode();
    void SetInfoMode();
    bool IsTwoStopMode() const;
    int SelectedCount() const { return map_->SelectedCount; }
    void ToggleSelected(lirsk::StopRef stop);
    // Unmarks every stop but the one with keepId (-1 keeps none), then redraws when asked.
    void ClearSelection(int keepId, bool redraw);
    void SelectAll();
    void DrawnMapClicked();
    void DrawnMapPressed(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void DrawnMapMoved(Qt::KeyboardModifiers shift, int x, int y);
    void DrawnMapReleased(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void AddArc(lirsk::StopRef a, lirsk::StopRef b);
    void DeleteArc(lirsk::StopRef a, lirsk::StopRef b);
    void AddRoad(lirsk::StopRef a, lirsk::StopRef b);
    void DeleteRoad(lirsk::StopRef a, lirsk::StopRef b);
    void ChangeRoadWeight(lirsk::StopRef a, lirsk::StopRef b);
    lirsk::StopRef AddStopAt(int x, int y);
    void DeleteStop(lirsk::StopRef stop);
    void DeleteStopsFromMenu();
    void EditStopProperties();
    // The route search from start to finish: redraws, then draws the way and reports it, or
    // tells the user why there is none.
    void FindWay(lirsk::StopRef start, lirsk::StopRef finish);
    void ReportWay(const std::vector<lirsk::StopRef>& way, double length, double time);
    // The rubber band of a two-stop gesture from the picked stop, as last drawn.
    void DrawBand(lirsk::StopRef first);
    void DrawSelectionRect();

    QMenu* stopMenu = nullptr;
    QAction* stopMenuDelete = nullptr;
    QAction* stopMenuProperties = nullptr;
    // The rubber band is on the image (drawn with BandColour) and must be erased before the next.
    bool BandDrawn = false;
    QColor BandColour;
    // A left press on the image waits for its release, which makes it a click.
    bool mapClickPending = false;

    // Side panels: search, stop list and route table; the display settings; the background.
    void ChangeSettings();
    void SearchButtonClicked();
    void SearchStop();
    void ShowStopRow(int row);
    void StopListCellChosen(int column, int row);
    void RouteTableCellChosen(int column, int row);
    void ShowRouteStops(const QString& key);
    // The stop shown in a row of the stop list, or null.
    lirsk::StopRef StopOfRow(int row) const;
    void PictureClicked();
    void PointerOverPicture(Qt::KeyboardModifiers shift, int x, int y);
    void CloseRoutesPopup();
    QTimer* routesPopupTimer =
        nullptr; // one tick after the pointer leaves a stop: closes StopRoutesPopup

    // Fields of the map window.
    int Mode = PointerMode;
    lirsk::StopRef PickedStop = nullptr;
    lirsk::StopRef MenuStop = nullptr;
    lirsk::StopRef LabelDragStop = nullptr;
    int SelStartX = 0, SelStartY = 0, SelEndX = 0, SelEndY = 0;
    bool Selecting = false;
    // The map was changed since it was opened or last saved.
    bool Modified = false;

    QWidget* sidePanel = nullptr;
    QSplitter* splitter = nullptr;
    QScrollArea* scrollArea = nullptr;
    QFrame* searchPanel = nullptr;
    QWidget* searchBar = nullptr;
    QLineEdit* searchBox = nullptr;
    QToolButton* searchButton = nullptr;
    QWidget* listsPanel = nullptr;
    QTableWidget* stopList = nullptr;
    QGroupBox* routesBox = nullptr;
    QTableWidget* routeTable = nullptr;
    MapArea* mapArea = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuiltinSetup();
    void FillStopList();
    void FitMapArea();
    void BeginOverlay();
    void AttachGestures();
    void AttachPanels();
    bool pictureClickPending_ = false; // a left press on the picture waits for its release

    MainWindow* frame_;
    std::unique_ptr<lirsk::GraphMap> map_;
    QString filePath_; // where the map's file was found (FileName may be a built-in path)
    lirsk::GraphCanvas drawnMap_;
    lirsk::GraphCanvas overlay_;
    QImage picture_;
    bool pictureVisible_ = true;
    bool drawnMapVisible_ = false;
    bool overlayActive_ = false;
    bool resizeAttached_ = true;

    friend class MapArea;
};

// The program-wide current map window: the one activated last, or null once it is gone.
MapWindow* CurrentMapWindow();
void SetCurrentMapWindow(MapWindow* window);

// Where the program's own data (toolbox/...) is looked for when it is not found relative to the
// current directory: beside the executable, then in the installed data folder.
QStringList DataRoots();
