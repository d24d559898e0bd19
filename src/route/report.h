#pragma once

#include "model/graphmap.h"
#include "model/mapdescription.h"
#include "timetable/journeysearch.h"

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
    int rides = 0; // a way of walks alone has none, and costs nothing
    int transfers = 0;
    double fare = 0;       // roubles, or the unit of the map's description
    bool fareKnown = true; // false: the map's description gives no fare, and fareText says so
    QString fareText;      // "14 руб."
    QString lengthText;    // "2,35 км."
    QString timeText;      // "1 мин."
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

// The way of a journey by the timetable on its map, finish first as a found way is: the stops of
// every call a ride passes and the ends of every walk; its length along the map's links (the
// distance between the stations where the map has no link), its time from departure to arrival.
struct JourneyWay {
    std::vector<StopIndex> stops;
    double length = 0; // metres
    double time = 0;   // seconds, waits included
};
JourneyWay journeyWay(const GraphMap& map, const Timetable& timetable, const Journey& journey);

// The journey a traveller is shown of those found: the earliest to arrive, each change counting
// as five minutes more (a ride fewer is worth a short wait), then the fewest rides. Null when
// there is none.
const Journey* preferredJourney(const std::vector<Journey>& journeys);

// The report of a journey by the timetable: the fare BaseFare + TransferFare x (rides - 1) of the
// description, the way's length, the time from departure to arrival, and in travel order each
// ride (stop line, then its route number, headsign and times) and each walk.
RouteReport BuildJourneyReport(const GraphMap& map, const Timetable& timetable,
                               const Journey& journey, const MapDescription& description,
                               QChar decimalSeparator);

} // namespace lirsk
