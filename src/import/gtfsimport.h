#pragma once

#include "model/graphmap.h"
#include "model/mapdescription.h"

#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Making a map from a transit feed in the GTFS form (a zip or a folder of CSV files): one stop
// per station, one link per pair of stations that some trip serves one after the other, walking
// roads for transfers, and the map's description with its route table and fares.
//
// The import reads the feed streaming and touches nothing but the map and the result it is given,
// so a caller may run it on a worker thread; the progress callback is called from that thread, at
// least every 100 ms of work. A feed that would take the process's peak memory past the budget is
// refused with one line naming the budget; a feed that no memory could hold is refused as well.

namespace lirsk {

// The most memory the process running an import may take at its peak: 2 GiB.
constexpr qint64 kDefaultImportMemory = qint64(2) << 30;

struct GtfsImportOptions {
    QSet<int> routeTypes;      // basic route types (0..12) to keep; empty keeps every type
    QStringList routes;        // route_id or route_short_name values to keep; empty keeps all
    QString agency;            // agency_id to keep; empty keeps all
    double metresPerPixel = 0; // 0: the map is about kDefaultMapPixels across
    QString title;             // empty: the first agency's name
    std::optional<double> baseFare, transferFare; // override the feed's fares
    qint64 maxMemory = kDefaultImportMemory;      // peak resident memory in bytes; 0: no bound
};

// The fares a map's description holds: from 0 up to (not including) this.
constexpr double kMaxImportedFare = 1e9;

// The larger side of a map at the default scale, in pixels.
constexpr int kDefaultMapPixels = 3000;
// The code letter of an imported map's routes.
inline const QString kImportedMapCode = QStringLiteral("G");

// Called now and then with what is being done and the part of it done (0..1); returning false
// cancels the import.
using GtfsProgress = std::function<bool(const QString& stage, double done)>;

struct GtfsImportResult {
    MapDescription description;
    QStringList notes;    // what the user should know: no fares, a network too wide to search
    int renamedNames = 0; // station names transliterated to fit Windows-1251
    double extentMetres = 0;
    QSet<int> routeTypes; // the basic route types of the routes on the map
};

// Fills the empty map from the feed. On failure the map is left empty and error holds one line
// naming the feed file and its line ("stop_times.txt: строка 12: ...").
bool importGtfs(const QString& feedPath, const GtfsImportOptions& options, GraphMap& map,
                GtfsImportResult* result, QString* error, const GtfsProgress& progress = {});

// What a feed offers before it is imported: its first agency's name and the number of routes of
// each basic route type.
struct GtfsFeedSummary {
    QString agencyName;
    QMap<int, int> routeTypes; // basic route type -> routes of that type
};

// Reads agency.txt and routes.txt only; false with one line naming the file in error. Progress
// and cancel as for an import.
bool summarizeGtfsFeed(const QString& feedPath, GtfsFeedSummary* summary, QString* error,
                       const GtfsProgress& progress = {});

// The basic route type (0..7, 11, 12) of a basic or extended (100..1799) one; -1 for others.
int basicRouteType(int type);

} // namespace lirsk
