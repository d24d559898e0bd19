#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Turns a network's geographic station points into a schematic diagram in pixels: lines run in
// the eight compass directions with even spacing where the geography allows, the drawing fills
// the canvas, circles keep apart, and every name goes where it covers no circle and no other name.

namespace mapgen {

struct LayoutNode {
    double gx = 0;     // geographic position on a plane, metres east
    double gy = 0;     // metres south
    double nudgeX = 0; // pixels, added after the drawing is fitted to the canvas
    double nudgeY = 0;
    QString name;   // for the warnings
    int group = -1; // stops of one group (an interchange) share one name label
    bool showLabel = true;
    int labelWidth = 0; // pixels
    int labelHeight = 0;
    QString labelSide; // "e", "w", "n", "s", "ne", "nw", "se", "sw"; empty: the best one
    int labelDx = 0;   // pixels, added to the chosen label position
    int labelDy = 0;
};

struct LayoutEdge {
    int a = -1;
    int b = -1;
    bool transfer = false; // a walking passage: its two stops sit side by side
    double scale = 1;      // schematic length of a line edge, in median edges
    int textWidth = 0;     // a text drawn with its top-left corner at the edge's midpoint
    int textHeight = 0;
};

struct LayoutOptions {
    int width = 1000; // canvas, pixels
    int height = 800;
    int marginX = 20; // room left free at the sides for the names of the outermost stops
    int marginY = 20;
    int stopSize = 12;
    double stretch = 1;  // one axis may be scaled this many times more to fill the canvas
    double fisheye = 1;  // the centre is spread by r -> r^fisheye (1: geography as it is)
    double anchor = 0.1; // how strongly a stop keeps its geographic place against straight lines
    int rounds = 3;      // times the compass directions are chosen again from the last solution
    int transferGap = 3; // pixels between the circles of two stops joined by a passage
    int stopGap = 8;     // least pixels between the circles of other stops
    int labelGap = 3;    // pixels between a circle and its name
};

struct Placement {
    int centreX = 0;
    int centreY = 0;
    int labelLeft = 0;
    int labelTop = 0;
};

// One placement per node, in node order. Overlaps that could not be avoided are listed in
// warnings, one line each, naming the stops.
QList<Placement> layOutDiagram(const QList<LayoutNode>& nodes, const QList<LayoutEdge>& edges,
                               const LayoutOptions& options, QStringList* warnings);

} // namespace mapgen
