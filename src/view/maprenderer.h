#pragma once

#include "model/graphmap.h"
#include "model/stopselection.h"
#include "view/arrowgeometry.h"
#include "view/linebundles.h"
#include "view/spatialgrid.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRect>

#include <algorithm>
#include <vector>

// Paints a map's graph: roads as lines, arcs as straight or curved arrows, link lengths, stops
// and their names, all in map coordinates, onto a QImage (the map window's graph image, the
// overlay over the picture, or a picture file of gaftool).

namespace lirsk {

enum class PenMode { Copy, NotXor };

// A damaged map may hold sizes no screen can show. They stay in the map as they are, and are
// drawn (at 100 %) at most this large: a stop's size and radius and the arrow size in pixels,
// and the line width.
constexpr int kMaxShownSize = 1000;
constexpr int kMaxShownPenWidth = 100;
inline int shownSize(int stored) {
    return std::clamp(stored, -kMaxShownSize, kMaxShownSize);
}
// The centre of a stop as it is drawn, with its radius as shown.
inline MapPoint shownCentre(const Stop& stop) {
    const int radius = shownSize(stop.Radius);
    return {saturatedSum(stop.Left, radius), saturatedSum(stop.Top, radius)};
}

// A bitmap with the drawing state that stays between operations: the pen (colour, width, copy
// or not-xor) and the font the lengths are written in.
struct GraphCanvas {
    QImage image;
    QColor penColor = Qt::black;
    int penWidth = 3;
    PenMode penMode = PenMode::Copy;
    QFont font;

    // Makes the bitmap width x height (nothing happens when it is that size already).
    void resize(int width, int height);
};

// A painter set up with the canvas's pen.
void beginPainting(QPainter& painter, GraphCanvas& canvas);

// The arrow primitives on any painter, with its current pen; the setback and the arrow size are
// drawn as shown (the curved arrow's head up to half as large again). The curved one writes its
// length beside the curve when showWeights is set.
void DrawStraightArc(QPainter& painter, int x1, int y1, int x2, int y2, int setback, int arrowType,
                     int arrowSize, double arrowAngle);
void DrawCurvedArc(QPainter& painter, int x1, int y1, int x2, int y2, int setback, int arrowType,
                   int arrowSize, double arrowAngle, double length, bool showWeights);

// Text in the window-text colour with its top-left corner at a point, on a clear background.
void drawTextAt(QPainter& painter, int x, int y, const QString& text);

// A link of the map: its source stop and its place in that stop's list.
struct LinkPlace {
    StopIndex from = NoStop;
    int at = 0;
};

// One link of the map with the painter's pen (and its length when the map shows weights).
void DrawLink(QPainter& painter, const GraphMap& map, StopIndex from, const Link& link);
// One stop and its name, as the graph image shows them; a marked stop in the selection colour.
void DrawStop(QPainter& painter, const Stop& stop, bool selected, bool withName = true);
// The stop control above the images: always a circle in the stop's fill colour, or in the
// selection colour when the stop is marked.
void paintStopControl(QPainter& painter, const Stop& stop, bool selected);
// The colour a stop is filled with as drawn.
Colour shownFill(const Stop& stop, bool selected);
// The name label above the images.
void paintNameLabel(QPainter& painter, const Stop& stop);
// A stop's name drawn into a box of the map, scaled to its height.
void paintNameIn(QPainter& painter, const Stop& stop, const QRectF& box);

// A rectangle of the map, its sides held within a range that sums of int cannot overflow (a
// damaged file may hold positions near the ends of the int range).
QRect boundedRect(qint64 left, qint64 top, qint64 width, qint64 height);
// Where a stop's name label lies on the map (empty when it has no caption).
QRect nameLabelRect(const Stop& stop);
// The width and height from the origin that hold every stop and visible name, as large as they
// are.
struct MapSize {
    qint64 width = 0;
    qint64 height = 0;
};
MapSize mapSize(const GraphMap& map);
// The same as a rectangle, each side at most the largest widget size.
QRect mapExtent(const GraphMap& map);

// Sets a painter up to draw figures over the map with this pen: smoothed when copying, exact
// when not-xor (so that drawing a figure twice gives back what was there).
void setMapPen(QPainter& painter, const QColor& colour, int width, PenMode mode);

// Everything a link's drawing can touch: its line or curve, its arrow head and its length.
QRect linkBox(const GraphMap& map, StopIndex from, const Link& link);
// Everything a straight link's drawing can touch (within linkBox, for a link that is not one of a
// curved pair, less room around its line): its line, its arrow head and its length at the middle.
QRect straightLinkBox(const GraphMap& map, StopIndex from, const Link& link);
// Everything a stop's drawing can touch: its circle and its name.
QRect stopBox(const Stop& stop);

// How much of the graph is drawn: far out, links are plain lines and stops dots; the names are
// left out when another layer draws them. Marked stops show the selection colour.
struct GraphDetail {
    bool simplified = false;
    double zoom = 1.0;
    bool names = true;
    const StopSelection* selection = nullptr;
    // The map's lines, when its description lists the routes of its links.
    const LineBundles* lines = nullptr;
    // Where each stop's name is shown (map coordinates; empty: not shown), when it is not at its
    // stored place.
    const std::vector<QRectF>* namePlaces = nullptr;
    // The names shown, that lengths keep clear of.
    const SpatialGrid* shownNames = nullptr;
    // Far out on a screen, links and dots are plotted pixel by pixel (files and paper keep
    // figures).
    bool plotted = false;

    bool selected(StopIndex stop) const { return selection && selection->contains(stop); }
};

// A route's stroke on a map with lines: its width in map pixels at a zoom; below kOneLineBelow
// every bundle is one line.
double lineStrokeWidth(double zoom);
constexpr double kOneLineBelow = 0.15;
// The bundles of routes side by side, each route in its colour.
void paintBundles(QPainter& painter, const GraphMap& map, const LineBundles& lines,
                  const std::vector<int>& bundles, double zoom);
// A stop that lines serve: a bar across the routes where they pass straight through, a ring where
// they meet from several sides, a dot on a single route; white, or the selection colour.
void paintStationMark(QPainter& painter, const GraphMap& map, const LineBundles& lines,
                      StopIndex stop, bool selected, double zoom);

// The graph as the drawn map shows it: the given links, then the given stops with their names,
// each list in the map's order; the caller clears the area first.
void paintGraphItems(QPainter& painter, const GraphMap& map, const std::vector<LinkPlace>& links,
                     const std::vector<StopIndex>& stops, const GraphDetail& detail);
// Every link and stop that can show inside an area of the map (map coordinates).
void paintGraph(QPainter& painter, const GraphMap& map, const QRect& area,
                const GraphDetail& detail = {});

// The whole graph image: cleared with the window colour, every link, then every stop (the
// marked ones in the selection colour).
// A map described as imported from a feed draws its lines side by side and places the names no
// one has moved where they overprint nothing.
void RedrawGraph(GraphCanvas& canvas, const GraphMap& map, const StopSelection* selection = nullptr,
                 const MapDescription* description = nullptr);

} // namespace lirsk
