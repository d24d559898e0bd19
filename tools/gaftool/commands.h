#pragma once

#include <QCoreApplication>
#include <QStringList>

#include <memory>

namespace lirsk {
struct GtfsImportOptions;
struct MapDescription;
} // namespace lirsk

// One function a command; each takes the arguments after the command's name.

namespace lirsk {
class GraphMap;
class Timetable;
} // namespace lirsk

namespace gaftool {

int cmdDump(const QStringList& args);
int cmdConvert(const QStringList& args);
int cmdValidate(const QStringList& args);
int cmdRender(const QStringList& args);

// The application object a command needs (render draws, the others only read and write).
std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv);
int cmdRoute(const QStringList& args);
int cmdCatalogue(const QStringList& args);
int cmdImportGtfs(const QStringList& args);
int cmdGtfsSummary(const QStringList& args);
// Sets the route filter option a (--route-types, --routes, --agency) from its value v, as
// import-gtfs and build-timetable take them; false when a is none of them. problem says what is
// wrong with the value.
bool applyRouteFilter(const QString& a, const QString& v, lirsk::GtfsImportOptions& options,
                      QString* problem);
int cmdBuildTimetable(const QStringList& args);
int cmdTimetable(const QStringList& args);
// The map and the timetable kept beside it (MAP.gaft); false with the reason.
bool loadTimetable(const QString& mapPath, lirsk::GraphMap& map, lirsk::Timetable& timetable,
                   QString* error);
// Whether the map holds the timetable's stations as import-gtfs makes them: their count, ids
// and names; the first that differs otherwise.
QString importedMismatch(const lirsk::Timetable& timetable, const lirsk::GraphMap& map,
                         const lirsk::MapDescription* description);
// Whether the map read from mapPath still has its stations where the timetable has them (in
// either layout its description keeps).
QString placesMismatch(const lirsk::Timetable& timetable, const lirsk::GraphMap& map,
                       const QString& mapPath);
// gaftool route by the timetable: --depart, --window, --batch --depart-lines.
bool wantsTimetableRoute(const QStringList& args);
int routeByTimetable(const QStringList& args);
// The moment (seconds since the epoch) of "YYYY-MM-DD HH:MM" or "HH:MM" (today) in the agency's
// local time; the reason when it is none or not one of the timetable's period.
QString timetableDeparture(const lirsk::Timetable& timetable, const QString& text, qint64* utc);

} // namespace gaftool
