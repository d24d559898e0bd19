#pragma once

#include "document/mapdocument.h"
#include "view/maprenderer.h"
#include "view/nameplacer.h"
#include "view/spatialgrid.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <QPointer>

#include <optional>
#include <unordered_map>

class QTimer;

namespace lirsk {

// What a mouse event on the map is about: a stop, a stop's name, or the empty map.
struct MapHit {
    enum Kind { Empty, Stop, Name };
    Kind kind = Empty;
    StopIndex stop = NoStop;
};

// A mouse event in map coordinates (pixels of the map at 100 %).
struct MapMouseEvent {
    QPoint pos;
    Qt::MouseButton button = Qt::NoButton;
    Qt::MouseButtons buttons;
    Qt::KeyboardModifiers modifiers;
    QPoint globalPos;
};

// Takes the mouse on a map view: the tools of the map window.
class MapInputHandler {
public:
    virtual ~MapInputHandler() = default;
    // A press on what is under the pointer. The view keeps sending the moves and the release of
    // a held button to the same target, wherever the pointer goes.
    virtual void pressed(const MapHit& target, const MapMouseEvent& event) = 0;
    // A move: to the target of the held button, or with no button to what is under the pointer
    // (stops and the empty map only).
    virtual void moved(const MapHit& target, const MapMouseEvent& event) = 0;
    virtual void released(const MapHit& target, const MapMouseEvent& event) = 0;
    // Whether a left drag that starts on the empty map pans the view; a left click there without
    // a move is still pressed and released as usual.
    virtual bool leftDragPans() const = 0;
    // Whether a held drag that reaches past the map's right or bottom end makes the map larger
    // (a stop being moved there); otherwise the view scrolls no further than the map.
    virtual bool dragGrowsMap() const = 0;
};

// A line from a stop's centre to the pointer (or to the centre of the stop it snaps onto),
// drawn not-xor over the map while a two-stop gesture is held.
struct RubberBand {
    QPoint from;
    QPoint to;
    int setback = 0;
    bool arrow = false;
    QColor colour;
};

// Shows a map document at a zoom: the city plan (or the window's colour), the drawn map over it,
// the found way, the rubber band, the selection rectangle and a chosen end of a way, and above
// them every stop and its name. Only the
// part in the viewport is painted, each time it is exposed; nothing is kept at the size of the
// whole map. Mouse events go to the input handler in map coordinates.
class MapView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit MapView(MapDocument* document, QWidget* parent = nullptr);
    ~MapView() override;

    MapDocument* document() const { return document_; }
    void setInputHandler(MapInputHandler* handler) { handler_ = handler; }

    // The city plan under the drawn map; a map without one is drawn on the window's colour.
    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }

    // The end of a way chosen by name or from a stop's menu, shown with its own marker until the
    // other end is chosen.
    struct ChosenEnd {
        StopIndex stop = NoStop;
        bool isStart = true;
    };
    const std::optional<ChosenEnd>& chosenEnd() const { return chosenEnd_; }
    void setChosenEnd(const std::optional<ChosenEnd>& end);

    const std::optional<RubberBand>& rubberBand() const { return band_; }
    void setRubberBand(const std::optional<RubberBand>& band);
    const std::optional<QRect>& selectionRect() const { return selectionRect_; }
    void setSelectionRect(const std::optional<QRect>& rect);
    // The editor's grid over the map, lines this many map pixels apart (0: none).
    int gridStep() const { return gridStep_; }
    void setGridStep(int step);

    // The zoom factor: 1 shows the map at 100 %.
    double zoom() const { return zoom_; }
    // Zooms keeping the map point under a viewport point where it is.
    void setZoom(double zoom, const QPoint& anchor);
    void setZoom(double zoom) { setZoom(zoom, viewport()->rect().center()); }
    void zoomIn();
    void zoomOut();
    void zoomToFit();
    void resetZoom() { setZoom(1.0); }
    double fitZoom() const;
    double minimumZoom() const;
    static constexpr double MaximumZoom = 4.0;
    // Each zoom step multiplies or divides the zoom by this.
    static constexpr double ZoomStep = 1.25;

    QPointF viewportToMap(const QPointF& point) const;
    QPoint viewportToMap(const QPoint& point) const;
    QPointF mapToViewport(const QPointF& point) const;
    // The part of the map the viewport shows, in map coordinates.
    QRect visibleMapRect() const;
    void centreOn(const QPoint& mapPoint);
    // Scrolls (zooming out when it must) until the map rectangle is in view.
    void showMapRect(const QRect& mapRect);

    // The size of the map: every stop and name, and the picture.
    QSize mapSize() const { return mapSize_; }

    // The stop a map point falls on as the gestures see it: the first in list order, its box
    // counted inclusively and never smaller than a few screen pixels.
    StopIndex stopAt(const QPoint& mapPoint) const;
    // What a press at a map point hits: the topmost stop (later stops lie above earlier ones),
    // else the topmost name (every stop is in front of every name), else the empty map.
    MapHit hitAt(const QPoint& mapPoint, bool withNames) const;

    // Where a stop's name is shown at this zoom (its stored place unless the program places it).
    QPoint shownNameTopLeft(StopIndex stop) const;

    // Repaints a part of the map (map coordinates), or all of it.
    void repaintMap(const QRect& mapRect);
    void repaintMap();
    // The map area as the user sees it, for a map rectangle at 100 %.
    void paintMap(QPainter& painter, const QRect& mapRect) const;
    QImage renderMap(const QRect& mapRect);
    // The map area as it shows at a zoom, whatever the view's own, for a file or paper: the
    // painter's unit is a pixel of the screen, the area's top-left corner lands at its origin;
    // each stop and name is drawn once, and the editor's grid, rubber band and selection
    // rectangle are left out.
    void paintMapAt(QPainter& painter, const QRect& mapRect, double zoom);

    // Far out the drawn map is simplified: links as plain lines, stops as dots.
    static constexpr double SimplifiedBelow = 0.5;

signals:
    void zoomChanged(double zoom);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    MapMouseEvent mapEvent(const QMouseEvent* event) const;
    MapMouseEvent mapEventAt(const QPoint& viewportPos, Qt::MouseButton button) const;
    // Whether the target of the held button still names the stop it named when it was pressed.
    bool capturedAlive() const;
    void updateMapSize();
    void updateScrollBars();
    void autoScroll();
    QRect nameRect(const Stop& stop) const;
    int minimumTarget() const;
    // A stop's box as a target for the mouse: never smaller than a few screen pixels.
    struct TargetBox {
        qint64 left, top, width, height;
    };
    TargetBox targetBox(const Stop& stop) const;

    QPointer<MapDocument> document_;
    MapInputHandler* handler_ = nullptr;
    QImage picture_;
    std::optional<ChosenEnd> chosenEnd_;
    std::optional<RubberBand> band_;
    std::optional<QRect> selectionRect_;
    int gridStep_ = 0;
    double zoom_ = 1.0;
    QSize mapSize_;

    // The mouse: the target of the held button, a pan in progress, a left press on the empty
    // map that waits to become a click or a pan.
    std::optional<MapHit> captured_;
    quint64 capturedStops_ = 0; // the document's stops revision at the press
    bool panning_ = false;
    QPoint panFrom_;
    std::optional<MapMouseEvent> pendingPress_;
    QPoint pendingAt_;
    QTimer* autoScroll_ = nullptr;
    QPoint lastPointer_;
    Qt::MouseButtons heldButtons_;
    Qt::KeyboardModifiers heldModifiers_;

    // What is painted of the map: the plan and the drawn map; the band, the selection rectangle
    // and a chosen end; the stops and their names; the found way above them all.
    enum Layer { Base = 1, Overlays = 2, Stops = 4, Way = 8, Printed = 16 };
    using Layers = int;
    void paintLayers(QPainter& painter, const QRect& area, Layers layers) const;
    // How much of the graph is drawn at this zoom, and where the names are.
    GraphDetail graphDetail(Layers layers) const;
    // The plan (or the window's colour) and the drawn map's links and the given stops.
    void paintBase(QPainter& painter, const QRect& area, const std::vector<StopIndex>& stops,
                   const GraphDetail& detail) const;
    // The editor's grid, the rubber band and the selection rectangle.
    void paintEditorOverlays(QPainter& painter, const QRect& area) const;
    void paintChosenEnd(QPainter& painter) const;
    // The stops and their names of the layers asked for; far out the dots of the drawn map.
    void paintStops(QPainter& painter, const std::vector<StopIndex>& stops, Layers layers,
                    const GraphDetail& detail) const;
    QRect exposedMapArea(const QRect& exposed) const;
    void paintExposed(QPainter& painter, const QRect& exposed, Layers layers) const;
    // The found way with a halo that reads on any colour, the markers of its start and finish,
    // and the names of its stops above it.
    void paintFoundWay(QPainter& painter) const;
    // Where the map's top-left corner is in the viewport when the map at its zoom is narrower
    // or lower than the viewport: it is centred.
    QPointF centring() const;
    bool layerCacheValid() const;
    void renderLayerCache();
    QImage baseLayer_;
    QImage stopsLayer_;
    quint64 contentGeneration_ = 0;
    quint64 namesGeneration_ = 0;
    quint64 cacheGeneration_ = ~quint64(0);
    quint64 cacheNamesGeneration_ = ~quint64(0);
    double cacheZoom_ = 0;
    QPoint cacheScroll_;

    // Where each stop (with its name) and each link is drawn, kept in step with the document:
    // rebuilt after an edit, moved along with dragged stops.
    void ensureIndex() const;
    void rebuildIndex() const;
    void stopsMoved(const std::vector<StopIndex>& stops);
    // The stops drawn in an area, ascending.
    std::vector<StopIndex> stopsIn(const QRect& area) const;
    mutable SpatialGrid stopGrid_{128};
    mutable SpatialGrid linkGrid_{256};
    mutable int indexedStops_ = 0;
    mutable std::vector<LinkPlace> indexedLinks_;
    mutable std::vector<std::vector<int>> linksOfStop_;
    mutable std::vector<QSize> nameSizes_;
    mutable quint64 indexRevision_ = ~quint64(0);
    // The fit zoom as last worked out for a few viewport sizes: it walks every name, so once per
    // map revision and size.
    struct FitZoom {
        quint64 revision;
        int stops;
        QSize view, map;
        double zoom;
    };
    mutable std::vector<FitZoom> m_fitZooms;
    // The routes side by side over each link, when the description lists them.
    mutable LineBundles lines_;
    // The names the program places itself (imported maps' names no one has moved), and where
    // they are at the zoom last placed.
    mutable std::vector<bool> placedByProgram_;
    mutable bool programNames_ = false;
    mutable NamePlaces namePlaces_;
    // The placements at the zooms shown before this one, while nothing has changed.
    mutable NamesAtZooms m_namesAtZooms;
    // The links moved at the last step of a drag, with what their drawing touched then.
    mutable std::unordered_map<int, QRect> m_movedLinks;

    // The names shown below 100 %, worked out once per zoom and per change of what ranks them.
    void placeNames() const;
    // Whether a stop's name shows at this zoom: below 100 % a name is left out where it would
    // overprint a name of higher priority (a marked stop's, a stop's of the found way, then a
    // stop's served by more routes).
    bool nameShown(int number) const;
    QRect nameRect(int number) const;
    // Below 100 % a name is drawn larger than the zoom gives, so that it can be read.
    double nameGrowth(int number) const;
    QRectF shownNameRect(int number) const;
    void paintName(QPainter& painter, int number) const;
    mutable std::vector<bool> namesShown_;
    mutable bool namesStale_ = true;
    mutable double namesZoom_ = 0;
    bool zooming_ = false;
};

} // namespace lirsk
