#include "commands.h"
#include "common.h"
#include "feedreport.h"

#include "import/gtfsimport.h"

#include <QJsonDocument>
#include <QJsonObject>

using namespace lirsk;

namespace gaftool {

namespace {

const char* const kSummaryUsage =
    "usage: gaftool gtfs-summary FEED [--machine]\n"
    "What a GTFS feed (a .zip or a folder) offers before it is imported: its first agency's\n"
    "name and the number of routes of each basic route type, from agency.txt and routes.txt.\n"
    "  --machine  for a program: progress<TAB>STAGE<TAB>FRACTION records on standard output\n"
    "             (at most ~10 a second), then summary<TAB>JSON, compact, as\n"
    "             {\"agency_name\":\"...\",\"route_types\":{\"3\":12,\"0\":2}}; or\n"
    "             error<TAB>FILE: REASON as the last line\n"
    "Exit 0 when the feed was read, 2 when it cannot be.";

QString typeName(int type) {
    switch (type) {
    case 0:
        return QStringLiteral("трамвай");
    case 1:
        return QStringLiteral("метро");
    case 2:
        return QStringLiteral("поезд");
    case 4:
        return QStringLiteral("паром");
    case 5:
        return QStringLiteral("канатный трамвай");
    case 6:
        return QStringLiteral("канатная дорога");
    case 7:
        return QStringLiteral("фуникулёр");
    case 11:
        return QStringLiteral("троллейбус");
    case 12:
        return QStringLiteral("монорельс");
    default:
        return QStringLiteral("автобус");
    }
}

} // namespace

int cmdGtfsSummary(const QStringList& args) {
    if (wantsHelp(args)) {
        out(QString::fromUtf8(kSummaryUsage));
        return 0;
    }
    QStringList rest = args;
    const bool machine = rest.removeAll(QStringLiteral("--machine")) > 0;
    FeedReport report(machine ? FeedReport::Mode::Machine : FeedReport::Mode::Human);
    if (rest.size() != 1 || rest[0].startsWith(QLatin1String("--")))
        return report.badUsage(
            QStringLiteral("gaftool gtfs-summary: expected FEED [--machine] (gaftool gtfs-summary "
                           "--help)"));
    GtfsFeedSummary summary;
    QString error;
    if (!summarizeGtfsFeed(rest[0], &summary, &error, [&](const QString& stage, double done) {
            return report.progress(stage, done);
        }))
        return report.fail(rest[0], error);
    report.endProgress();
    if (machine) {
        QJsonObject types;
        for (auto it = summary.routeTypes.cbegin(); it != summary.routeTypes.cend(); ++it)
            types.insert(QString::number(it.key()), it.value());
        const QJsonObject o{{QStringLiteral("agency_name"), summary.agencyName},
                            {QStringLiteral("route_types"), types}};
        report.record(QStringLiteral("summary"),
                      QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact)));
        return 0;
    }
    out(QStringLiteral("Перевозчик: %1").arg(summary.agencyName));
    out(QStringLiteral("Маршруты по видам:"));
    for (auto it = summary.routeTypes.cbegin(); it != summary.routeTypes.cend(); ++it)
        out(QStringLiteral("  %1 %2: %3").arg(it.key()).arg(typeName(it.key())).arg(it.value()));
    return 0;
}

} // namespace gaftool
