#include "commands.h"
#include "common.h"
#include "feedreport.h"

#include "import/gtfsimport.h"

#include <QJsonDocument>
#include <QJsonObject>

using namespace lirsk;

namespace gaftool {

namespace {

const char* const kSummaryUsage = QT_TRANSLATE_NOOP(
    "gaftool",
    "вызов: gaftool gtfs-summary ИСТОЧНИК [--machine]\n"
    "Что предлагает расписание GTFS (.zip или папка) до импорта: название первого перевозчика и\n"
    "число маршрутов каждого основного вида, по agency.txt и routes.txt.\n"
    "  --machine  для программ: записи progress<TAB>STAGE<TAB>FRACTION на стандартном выводе\n"
    "             (не чаще ~10 в секунду), затем summary<TAB>JSON, сжато, как\n"
    "             {\"agency_name\":\"...\",\"route_types\":{\"3\":12,\"0\":2}}; или\n"
    "             error<TAB>FILE: REASON последней строкой\n"
    "Код выхода 0, когда источник прочитан, 2, когда его нельзя прочитать.");

QString typeName(int type) {
    switch (type) {
    case 0:
        return Messages::tr("трамвай");
    case 1:
        return Messages::tr("метро");
    case 2:
        return Messages::tr("поезд");
    case 4:
        return Messages::tr("паром");
    case 5:
        return Messages::tr("канатный трамвай");
    case 6:
        return Messages::tr("канатная дорога");
    case 7:
        return Messages::tr("фуникулёр");
    case 11:
        return Messages::tr("троллейбус");
    case 12:
        return Messages::tr("монорельс");
    default:
        return Messages::tr("автобус");
    }
}

} // namespace

int cmdGtfsSummary(const QStringList& args) {
    if (wantsHelp(args)) {
        out(Messages::tr(kSummaryUsage));
        return 0;
    }
    QStringList rest = args;
    const bool machine = rest.removeAll(QStringLiteral("--machine")) > 0;
    FeedReport report(machine ? FeedReport::Mode::Machine : FeedReport::Mode::Human);
    if (rest.size() != 1 || rest[0].startsWith(QLatin1String("--")))
        return report.badUsage(Messages::tr(
            "gaftool gtfs-summary: ожидается ИСТОЧНИК [--machine] (gaftool gtfs-summary --help)"));
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
    out(Messages::tr("Перевозчик: %1").arg(summary.agencyName));
    out(Messages::tr("Маршруты по видам:"));
    for (auto it = summary.routeTypes.cbegin(); it != summary.routeTypes.cend(); ++it)
        out(QStringLiteral("  %1 %2: %3").arg(it.key()).arg(typeName(it.key())).arg(it.value()));
    return 0;
}

} // namespace gaftool
