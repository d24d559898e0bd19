#pragma once

#include "import/feedsource.h"
#include "import/gtfsimport.h"
#include "model/graphmap.h"
#include "timetable/timetable.h"

#include <QHash>
#include <QStringList>

// Building the timetable of a map from the transit feed the map was imported from.
//
// Stations are what the import makes stops of: a stop's parent station (the topmost, through
// platforms and boarding areas), or a stop without one; the timetable keeps those that some trip
// of the routes taken calls at. Trips run on the days calendar.txt and calendar_dates.txt give
// (the dates override the weekdays); frequencies.txt trips become one run every headway; blank
// times between timepoints are spread by shape_dist_traveled, else by great-circle distance.

namespace lirsk {

struct TimetableBuild {
    // The map's stop id of each station, by the station's stops.txt stop_id. Empty: the stations
    // are numbered as the import numbers its stops (0, 1, ... in the order stops.txt first names
    // them).
    QHash<QString, int> mapStops;
    // Which routes are taken: routeTypes, routes and agency as the import reads them.
    GtfsImportOptions routes;
};

struct TimetableBuildResult {
    QByteArray file;   // the timetable file's bytes
    QStringList notes; // what the user should know: trips left out and why
};

// Builds the timetable of the map from the feed. False with one line naming the feed file and
// its line in error; the map gives each station's position (so that a map edited since is told).
bool buildTimetable(const FeedSource& feed, const TimetableBuild& build, const GraphMap& map,
                    TimetableBuildResult* result, QString* error,
                    const GtfsProgress& progress = {});
bool buildTimetable(const QString& feedPath, const TimetableBuild& build, const GraphMap& map,
                    TimetableBuildResult* result, QString* error,
                    const GtfsProgress& progress = {});

} // namespace lirsk
