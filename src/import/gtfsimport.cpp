#include "import/gtfsimport.h"

#include "import/fares.h"
#include "import/feedfile.h"
#include "import/gtfsreaders.h"
#include "import/importtext.h"
#include "import/mapbuilder.h"

#include <algorithm>

namespace lirsk {

using namespace gtfs;

namespace {

// Reads the feed's files in the order each needs the ones before, then builds the map.
class Importer {
public:
    Importer(const FeedSource& source, const GtfsImportOptions& options, ImportProgress& progress)
        : source_(source), options_(options), progress_(progress) {}

    bool run(GraphMap& map, GtfsImportResult& result);
    const QString& error() const { return error_; }

private:
    bool fail(const QString& reason) {
        error_ = reason;
        return false;
    }
    // Reads the named file with the reader; a file the feed may leave out is read if present.
    template <class Read> bool read(const char* name, bool needed, Read readFile) {
        if (!needed && !source_.has(QLatin1String(name)))
            return true;
        FeedFile f(name, progress_);
        if (!f.open(source_) || !readFile(f))
            return fail(f.error());
        return true;
    }
    bool readAll();

    const FeedSource& source_;
    const GtfsImportOptions& options_;
    ImportProgress& progress_;
    QString error_;
    FeedTables feed_;
    StopTimeRows stopTimes_;
};

bool Importer::readAll() {
    FeedTables& t = feed_;
    return read("agency.txt", false, [&](FeedFile& f) { return readAgencies(f, &t.agency); }) &&
           read(
               "routes.txt", true,
               [&](FeedFile& f) { return readRoutes(f, options_, t.agency.firstId, &t.routes); }) &&
           read("trips.txt", true,
                [&](FeedFile& f) { return readTrips(f, t.routes.ids, &t.trips); }) &&
           read("stops.txt", true, [&](FeedFile& f) { return readStops(f, &t.stops); }) &&
           read("translations.txt", false,
                [&](FeedFile& f) { return readTranslations(f, &t.readings); }) &&
           read("stop_times.txt", true,
                [&](FeedFile& f) { return readStopTimes(f, t.trips.ids, t.stops, &stopTimes_); }) &&
           (t.trips.shapeIds.empty() ||
            read("shapes.txt", false,
                 [&](FeedFile& f) { return readShapes(f, t.trips.shapeIds, &t.shapes); })) &&
           read("transfers.txt", false,
                [&](FeedFile& f) { return readTransfers(f, t.stops, &t.transfers); }) &&
           read("fare_attributes.txt", false,
                [&](FeedFile& f) { return readFareAttributes(f, &t.fares); });
}

bool Importer::run(GraphMap& map, GtfsImportResult& result) {
    for (const char* name : {"stops.txt", "routes.txt", "trips.txt", "stop_times.txt"})
        if (!source_.has(QLatin1String(name)))
            return fail(
                ImportText::tr("%1: нет такого файла в источнике").arg(QLatin1String(name)));
    if (!readAll())
        return false;
    feed_.shapes.resize(feed_.trips.shapeIds.size());
    describeFares(feed_.fares, feed_.agency, options_, result);
    progress_.begin(ImportText::tr("рейсы"));
    buildTrips(stopTimes_, feed_.trips, feed_.shapes, feed_.stops, feed_.routes, &feed_.rides,
               progress_);
    if (std::none_of(feed_.stops.stations.begin(), feed_.stops.stations.end(),
                     [](const Station& s) { return s.served; }))
        return fail(
            ImportText::tr("stop_times.txt: выбранные рейсы не заходят ни на одну остановку"));
    progress_.begin(ImportText::tr("маршруты"));
    nameRoutes(feed_.routes, progress_);
    buildMap(feed_, options_, map, result, progress_);
    return true;
}

} // namespace

int basicRouteType(int type) {
    if ((type >= 0 && type <= 7) || type == 11 || type == 12)
        return type;
    if (type >= 100 && type < 200)
        return 2;
    if (type >= 200 && type < 300)
        return 3;
    if (type >= 300 && type < 400)
        return 2;
    if (type == 405)
        return 12;
    if (type >= 400 && type < 500)
        return 1;
    if (type >= 500 && type < 700)
        return 1;
    if (type >= 700 && type < 800)
        return 3;
    if (type >= 800 && type < 900)
        return 11;
    if (type >= 900 && type < 1000)
        return 0;
    if (type >= 1100 && type < 1200)
        return 3; // air services: nothing closer among the basic types
    if (type >= 1000 && type < 1300)
        return 4;
    if (type >= 1300 && type < 1400)
        return 6;
    if (type >= 1400 && type < 1500)
        return 7;
    if (type >= 1500 && type < 1800)
        return 3;
    return -1;
}

namespace {

bool summarize(const FeedSource& source, GtfsFeedSummary* summary, ImportProgress& progress,
               QString* error) {
    if (source.has(QStringLiteral("agency.txt"))) {
        FeedFile f("agency.txt", progress);
        AgencyInfo agency;
        if (!f.open(source) || !readAgencies(f, &agency)) {
            *error = f.error();
            return false;
        }
        summary->agencyName = agency.firstName;
    }
    FeedFile f("routes.txt", progress);
    if (!f.open(source) || !countRouteTypes(f, &summary->routeTypes)) {
        *error = f.error();
        return false;
    }
    return true;
}

// Runs the work on the opened feed: false with the error when it fails, stops or runs out of
// memory.
template <class Work>
bool runOnFeed(const QString& feedPath, ImportProgress& progress, QString* error, Work work) {
    try {
        const std::unique_ptr<FeedSource> source = openFeed(feedPath, error);
        return source && work(*source);
    } catch (const ImportStopped& stopped) {
        *error = stopped.reason();
    } catch (const std::bad_alloc&) {
        *error = progress.outOfMemoryText();
    }
    return false;
}

} // namespace

bool summarizeGtfsFeed(const QString& feedPath, GtfsFeedSummary* summary, QString* error,
                       const GtfsProgress& progress) {
    ImportProgress tracker(progress, kDefaultImportMemory);
    GtfsFeedSummary local;
    if (!runOnFeed(feedPath, tracker, error, [&](const FeedSource& source) {
            return summarize(source, &local, tracker, error);
        }))
        return false;
    *summary = std::move(local);
    return true;
}

bool importGtfs(const QString& feedPath, const GtfsImportOptions& options, GraphMap& map,
                GtfsImportResult* result, QString* error, const GtfsProgress& progress) {
    ImportProgress tracker(progress, options.maxMemory);
    GtfsImportResult local;
    const bool ok = runOnFeed(feedPath, tracker, error, [&](const FeedSource& source) {
        Importer importer(source, options, tracker);
        if (importer.run(map, local))
            return true;
        *error = importer.error();
        return false;
    });
    if (!ok) {
        map.clearStops();
        return false;
    }
    *result = std::move(local);
    return true;
}

} // namespace lirsk
