#pragma once

#include "model/graphmap.h"
#include "model/mapdescription.h"

#include <QString>

// The two layouts of an imported map: its stops as on the ground, and a schematic diagram of its
// lines (see octilinearlayout.h) with the same stops, links and names.

namespace lirsk {

// Pixels between neighbouring stations of a line in the schematic.
constexpr int kSchematicStep = 40;
// The most stations a schematic is made for: a city's metro, trams or railway have far fewer,
// a bus network more.
constexpr int kMaxSchematicStations = 1200;

struct SchematicFigures {
    int links = 0; // distinct pairs of stations that rides join, but for expresses drawn through
                   // the stations they pass by
    int octilinearLinks = 0; // of them, drawn horizontally, vertically or at 45 degrees
    int newCrossings = 0;    // pairs of them that cross in the schematic but not on the ground
};

// Every stop's place in the map as it is.
QList<LaidOutStop> placesOf(const GraphMap& map);
// Puts the stops a layout lists at their places there, each name moved with its stop.
void moveToLayout(GraphMap& map, const QList<LaidOutStop>& places);

// The schematic of the map's rides (its links that the description does not list as walks), laid
// out from the stops' places in the map as it is; false with the reason when the map is too
// large for one. The stations of an interchange (joined by short walks) share one place of the
// diagram, side by side a few pixels apart, and stations are then moved a little where that
// draws more links in the eight directions or crosses fewer (see schematicrepair.h); the figures
// count every station at its own place.
bool schematicPlaces(const GraphMap& map, const MapDescription* description,
                     QList<LaidOutStop>* places, SchematicFigures* figures, QString* error);

} // namespace lirsk
