#pragma once

#include "document/mapdocument.h"

#include <QString>

#include <vector>

// Every edit of a map as a function: each pushes one named command on the document's undo
// stack, and the command does its work in its redo() (so at once) and takes it back in undo().
// An edit that would change nothing leaves no command. The tools and dialogs ask the user first
// and call these with the answer; the preconditions are theirs to check (two different stops of
// the map, no link yet where one is added, a road where one is changed).
//
// A new edit is one command class (edits.cpp) and one function here.

namespace lirsk {

// Where a stop and its name are.
struct StopPlace {
    int left = 0, top = 0, labelLeft = 0, labelTop = 0;
    bool operator==(const StopPlace&) const = default;
};
StopPlace placeOf(const Stop& stop);

// What the stop properties dialog sets on a stop.
struct StopLook {
    QString caption;
    int width = 0, height = 0, radius = 0;
    bool nameVisible = true;
    Colour colour = 0;
    QString routes;
    FontSpec font;
    bool operator==(const StopLook&) const = default;
};
StopLook lookOf(const Stop& stop);

namespace edit {

// A stop with its top-left corner at a point and the lowest free id; its index.
StopIndex addStop(MapDocument& document, int x, int y);
// Stops brought from elsewhere (a copy, another map), appended in their order with the links
// among them (a link's To is the index of its stop among these) and each with the lowest free
// id; their indices in the map.
std::vector<StopIndex> addStops(MapDocument& document, const QString& text,
                                std::vector<Stop> stops);
// Stops (each once, in any order) with every link to and from them.
void deleteStops(MapDocument& document, std::vector<StopIndex> stops);
void deleteStops(MapDocument& document, const QString& text, std::vector<StopIndex> stops);
// The link a -> b.
void addArc(MapDocument& document, StopIndex a, StopIndex b, const RoadWeight& weight);
// The first link a -> b; the opposite link, if any, becomes an arc.
void deleteArc(MapDocument& document, StopIndex a, StopIndex b);
// The links a -> b and b -> a, both with the weight.
void addRoad(MapDocument& document, StopIndex a, StopIndex b, const RoadWeight& weight);
void deleteRoad(MapDocument& document, StopIndex a, StopIndex b);
// New weights for both halves of the road between a and b.
void changeRoad(MapDocument& document, StopIndex a, StopIndex b, const RoadWeight& weight);
// Stops or names put at new places (a drag that has moved them already: the places are set
// again, and undo puts them back where they were).
void moveStops(MapDocument& document, const QString& text, std::vector<StopIndex> stops,
               std::vector<StopPlace> from, std::vector<StopPlace> to);
// Stops put at new places by one press of a run of them (an arrow key held or pressed again):
// the presses of one run are one command.
void nudgeStops(MapDocument& document, const QString& text, int run, std::vector<StopIndex> stops,
                std::vector<StopPlace> to);
// New looks for stops, each with its own.
void setStopLooks(MapDocument& document, std::vector<StopIndex> stops, std::vector<StopLook> looks);
void changeSettings(MapDocument& document, const DisplaySettings& settings);
// The map's own description (nothing: none, the built-in table then), with the code letter it
// gives the map.
void setDescription(MapDocument& document, std::optional<MapDescription> description);
// The map drawn in the other of the two layouts its description keeps (schematic or
// geographic): every stop, with its name, at its place there.
void showLayout(MapDocument& document, bool schematic);

} // namespace edit

} // namespace lirsk
