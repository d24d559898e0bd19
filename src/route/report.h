#pragma once

#include "model/graphmap.h"
#include "model/mapdescription.h"

#include <QChar>
#include <QString>
#include <QStringList>

#include <vector>

// What the traveller reads about a found way: the fare from the transfers between transit routes
// and the kind of map, the length, the time and the rides (boarding and end stop of each stretch
// ridden without changing, with the numbers of the routes that serve it).

namespace lirsk {

// The pieces of a routes text, split at single spaces, in text order.
using TArrVer = QStringList;

// One piece more than there are spaces; pieces may be empty ("A1  A5" has an empty middle piece,
// an empty text is one empty piece).
TArrVer SplitRoutes(const QString& text);

// One stretch of a way in travel order: a ride on the routes that serve it, or a walk (a change
// between two stops that no route of the ride before serves).
struct WayLeg {
    StopIndex from = NoStop;
    StopIndex to = NoStop;
    bool walk = false;
    QStringList codes;   // the codes of the routes the report lists for a ride ("M3")
    QStringList numbers; // their numbers as the report writes them ("3")
    double time = 0;     // seconds: the Time of its links
};

struct RouteReport {
    int transfers = 0;
    double fare = 0;    // roubles, or the unit of the map's description
    QString fareText;   // "14 руб."
    QString lengthText; // "2,35 км."
    QString timeText;   // "1 мин."
    // The rides in travel order, items separated by carriage returns (character 13): an empty
    // first line, then for each ride its stop line ("от ост. S до ост. Y") and a line with its
    // route numbers ("№ 5 ", each number followed by a space).
    QString ridesText;
    // The same rides as legs, in travel order: a ride goes on to the stop where the next one
    // begins when that stop is on its routes, else a walk joins them; a ride of one stop is
    // left out.
    std::vector<WayLeg> legs;
};

// The fare of a trip with the given number of transfers on a map of the given code and city.
double Fare(const QString& mapCode, const QString& mapCity, int transfers);

// The report of a way of a map given finish first (way[0] the finish, the last entry the start),
// its total length in metres and time in seconds, read from the stops' routes texts and names.
// The map's MapCode and MapCity choose the fare and which route codes are listed as numbers;
// numbers are written with the given decimal separator.
RouteReport BuildRouteReport(const GraphMap& map, const std::vector<StopIndex>& way, double length,
                             double time, const QString& mapCode, const QString& mapCity,
                             QChar decimalSeparator);
// The same from a map's own description: its code letter, the numbers of its route table and
// the fare BaseFare + TransferFare x transfers in its unit.
RouteReport BuildRouteReport(const GraphMap& map, const std::vector<StopIndex>& way, double length,
                             double time, const MapDescription& description,
                             QChar decimalSeparator);

} // namespace lirsk
