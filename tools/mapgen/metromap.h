#pragma once

#include "metrofacts.h"

#include "model/graphmap.h"

#include <QString>
#include <QStringList>

#include <memory>

// Builds a built-in metro map from a network's facts and its layout file.
//
// Weights of a link between two stations of a line: Length is the stated length, else the
// great-circle distance between the two station points, rounded to whole metres; Time is the
// stated running time, else Length at kRunningSpeedKmh plus kDwellS at the station. A walking
// passage is a road whose Time is the stated walking time and whose Length is the stated length,
// else the distance walked in that time at kWalkingSpeed. Price is 0 throughout: the metro fare
// does not depend on the way.

namespace mapgen {

constexpr double kEarthRadiusM = 6371008.8;
constexpr double kRunningSpeedKmh = 40;
constexpr double kDwellS = 20;
constexpr double kWalkingSpeed = 1.0; // metres per second, stairs and crowds included
constexpr double kUnknownWalkS = 180; // a passage whose time nobody gave

double greatCircleMetres(double lat1, double lon1, double lat2, double lon2);
lirsk::RoadWeight segmentWeight(const Station& a, const Station& b, const Segment& segment);
lirsk::RoadWeight transferWeight(const Transfer& transfer);

// The map of the network, laid out by the layout file; nothing on failure (error says why).
// Layout problems that remain (overlapping stops or names) are added to warnings.
std::unique_ptr<lirsk::GraphMap> buildMetroMap(const MetroFacts& facts, const QString& layoutPath,
                                               QString* error, QStringList* warnings);

} // namespace mapgen
