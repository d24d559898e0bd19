#pragma once

#include "model/graphmap.h"

#include <QList>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>
#include <optional>

// The text description of Lirsk (data/lirsk/city.json) and the maps built from it. The picture
// of the city plan and the three networks share one coordinate system: pixels of the picture.

namespace lirsk::city {

using Polyline = QList<QPointF>;

struct Street {
    QString name;
    bool major = false; // a wide avenue drawn in yellow, or a minor white street
    bool oneWay = false;
    Polyline points;
};

struct Area {
    QString name;
    QString kind; // "park", "forest", "water", "industry", "district"
    Polyline points;
};

struct Bridge {
    QString name;
    QPointF from;
    QPointF to;
};

struct NamedPoint {
    QString name;
    QPointF at;
};

// One route: its code and the stops it calls at in order. A route that runs one way on a pair of
// one-way streets lists its way back too; otherwise it comes back the way it went.
struct Route {
    QString code;
    QStringList forward;
    QStringList backward;

    QStringList wayBack() const;
};

enum class Network { Trolleybus, Tram, Metro };

struct City {
    QSize size;
    double metresPerPixel = 1;
    QString riverName;
    double riverWidth = 0;
    Polyline river;
    QList<Bridge> bridges;
    QList<Area> areas;
    QList<NamedPoint> districts;
    Polyline railway;
    NamedPoint station;
    QList<Street> streets;
    QList<NamedPoint> stops;         // trolleybus and tram stops
    QList<NamedPoint> metroStations; // stations on the plan
    QList<QPointF> metroDiagram;     // the same stations on the schematic diagram, in line order
    QList<Route> trolleybus;
    QList<Route> tram;
    QList<Route> metro;

    const QList<Route>& routes(Network network) const;
    const QList<NamedPoint>& stopsOf(Network network) const;
    std::optional<QPointF> stopAt(Network network, const QString& name) const;
};

// Reads the description; the error names what is wrong.
std::optional<City> readCity(const QString& path, QString* error);

// Everything the maps rely on: unique stop names, routes naming existing stops, every stop of a
// route within reach of a street, every stop used by some route. Returns the problems found.
QStringList checkCity(const City& city);

// Distance from a point to the nearest street (in pixels) and that street's name.
double distanceToStreet(const City& city, QPointF p, QString* street = nullptr);

// The codes whose route-table rows look for the code followed by a space: the first route's,
// and on the tram map the second's too.
QStringList spacedKeyCodes(const City& city, Network network);

// The routes text of a stop: the codes of the routes calling there, in the order of the route
// list (so route 1, and 2, come first), separated by single spaces. Nothing follows the last
// code, except on a one-line network, whose only code ends with a space so that its row finds it.
QString routesText(const City& city, Network network, const QString& stop);

// Where each stop's name goes: the label's top-left corner, given the size of the name's text
// and every stop's rectangle. Tries the places around the stop in a fixed order and takes the
// first that overlaps no other label and no stop and stays inside the bounds.
struct LabelBox {
    QRect stop;
    QSize text;
};
QList<QPoint> placeLabels(const QList<LabelBox>& boxes, const QRect& bounds);

// How a map's stops look.
struct StopLook {
    int size = 10;
    Colour fill = DefaultStopFill;
    FontSpec labelFont;
};
StopLook lookOf(Network network);

// Builds a map of one network through the model's own operations: stops in the order of first
// call, links along every route both ways (or along its way back), lengths in real metres, times
// at the network's speed. With `diagram` the metro stations take their schematic positions.
// `measure` gives the size of a stop name's text in the label font.
using TextMeasure = std::function<QSize(const QString& text, const FontSpec& font)>;
void buildMap(const City& city, Network network, bool diagram, const TextMeasure& measure,
              GraphMap& map);

// Travel time of a link in seconds: length at the network's speed plus the dwell at the stop.
double linkTime(Network network, double metres);

} // namespace lirsk::city
