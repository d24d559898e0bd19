#include "commands.h"
#include "common.h"

#include "import/transliterate.h"
#include "model/mapdescription.h"
#include "model/safefile.h"
#include "timetable/timetablebuilder.h"

#include <QCoreApplication>

using namespace lirsk;

namespace gaftool {

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("gaftool", text);
}

const char* const kBuildUsage =
    "usage: gaftool build-timetable FEED MAP.gaf [--route-types LIST] [--routes LIST]\n"
    "                               [--agency ID] [--quiet]\n"
    "Builds the timetable of a map that gaftool import-gtfs made from FEED and writes it beside\n"
    "the map as MAP.gaft: the trips of the routes taken with their times and service days, the\n"
    "walks between stations, and where each station's stop is on the map. Give the options the\n"
    "import was given, so that the same routes and stations are taken.\n"
    "Exit 0 when written; 2 for bad arguments, a feed or map that cannot be read, a map that was\n"
    "not made from this feed, or a timetable that cannot be written.";

const char* const kSummaryUsage =
    "usage: gaftool timetable MAP.gaf\n"
    "Summarises the timetable MAP.gaft beside the map: its period and time zone, trips, stop\n"
    "times, stations and walks, and whether the map still matches it.\n"
    "Exit 0; 2 when the map or its timetable cannot be read.";

// The route filter of import-gtfs, from the same options.
QString parseRoutes(const QStringList& args, GtfsImportOptions& options, QStringList& positional,
                    bool& quiet) {
    for (int k = 0; k < args.size(); ++k) {
        const QString& a = args[k];
        if (a == QLatin1String("--quiet")) {
            quiet = true;
        } else if (!a.startsWith(QLatin1String("--"))) {
            positional << a;
        } else if (k + 1 >= args.size()) {
            return QStringLiteral("%1 needs a value").arg(a);
        } else {
            QString problem;
            if (!applyRouteFilter(a, args[++k], options, &problem))
                return QStringLiteral("unknown option %1").arg(a);
            if (!problem.isEmpty())
                return problem;
        }
    }
    return positional.size() == 2 ? QString() : QStringLiteral("expected FEED MAP.gaf");
}

} // namespace

QString placesMismatch(const Timetable& timetable, const GraphMap& map, const QString& mapPath) {
    MapDescription description;
    QString ignored;
    const bool described =
        readMapDescription(mapPath, &description, &ignored) == DescriptionRead::Read;
    return mapMismatch(timetable, map, described ? &description : nullptr);
}

QString importedMismatch(const Timetable& timetable, const GraphMap& map) {
    if (map.stopCount() != int(timetable.stations().size()))
        return tr("на карте %1 остановок, а в источнике %2 станций")
            .arg(map.stopCount())
            .arg(timetable.stations().size());
    const QHash<int, StopIndex> byId = map.stopsById();
    const Cp1251Fitter fitter;
    for (const Timetable::Station& s : timetable.stations()) {
        const QString name = fitter.fit(timetable.text(s.name));
        const QString& caption = map.stop(byId.value(s.mapStop)).Label.Caption;
        if (caption != name)
            return tr("остановка %1 карты называется «%2», а станция источника — «%3»")
                .arg(s.mapStop)
                .arg(caption, name);
    }
    return QString();
}

int cmdBuildTimetable(const QStringList& args) {
    if (wantsHelp(args)) {
        out(QString::fromUtf8(kBuildUsage));
        return 0;
    }
    TimetableBuild build;
    QStringList positional;
    bool quiet = false;
    const QString problem = parseRoutes(args, build.routes, positional, quiet);
    if (!problem.isEmpty())
        return usage(QStringLiteral("gaftool build-timetable: %1 (gaftool build-timetable --help)")
                         .arg(problem));
    const QString& feed = positional[0];
    const QString& mapPath = positional[1];
    returnLargeBlocksToSystem();
    GraphMap map;
    QString error;
    if (!loadMap(mapPath, map, &error))
        return failInput(mapPath, error);
    TimetableBuildResult result;
    QString lastStage;
    const auto progress = [&](const QString& stage, double) {
        if (!quiet && stage != lastStage)
            err(tr("%1…").arg(stage));
        lastStage = stage;
        return true;
    };
    if (!buildTimetable(feed, build, map, &result, &error, progress))
        return failInput(feed, error);
    Timetable timetable;
    if (!timetable.load(result.file, &error))
        return failInput(feed, error);
    const QString mismatch = importedMismatch(timetable, map);
    if (!mismatch.isEmpty())
        return failInput(mapPath, tr("карта сделана не из этого источника или не с этим выбором "
                                     "маршрутов: %1")
                                      .arg(mismatch));
    for (const QString& note : result.notes)
        err(QStringLiteral("gaftool: %1: %2").arg(feed, note));
    const QString target = timetablePathFor(mapPath);
    if (!saveWholeFile(target, result.file, &error))
        return failInput(target, error);
    if (!quiet)
        err(tr("%1: %2 рейсов, %3 времён остановок, %4 станций")
                .arg(target)
                .arg(timetable.trips().size())
                .arg(timetable.stopTimeCount())
                .arg(timetable.stations().size()));
    return 0;
}

bool loadTimetable(const QString& mapPath, GraphMap& map, Timetable& timetable, QString* error) {
    if (!loadMap(mapPath, map, error))
        return false;
    const QString path = timetablePathFor(mapPath);
    QString reason;
    if (!timetable.read(path, &reason)) {
        *error = tr("расписание %1: %2").arg(path, reason);
        return false;
    }
    return true;
}

int cmdTimetable(const QStringList& args) {
    if (wantsHelp(args)) {
        out(QString::fromUtf8(kSummaryUsage));
        return 0;
    }
    if (args.size() != 1 || args[0].startsWith(QLatin1String("--")))
        return usage(
            QStringLiteral("gaftool timetable: expected MAP.gaf (gaftool timetable --help)"));
    GraphMap map;
    Timetable t;
    QString error;
    if (!loadTimetable(args[0], map, t, &error))
        return failInput(args[0], error);
    out(tr("период: %1 — %2, %3 дн., часовой пояс %4")
            .arg(t.firstDay().toString(Qt::ISODate), t.lastDay().toString(Qt::ISODate))
            .arg(t.dayCount())
            .arg(QString::fromUtf8(t.timeZone().id())));
    out(tr("рейсов: %1, времён остановок: %2, станций: %3, переходов пешком: %4")
            .arg(t.trips().size())
            .arg(t.stopTimeCount())
            .arg(t.stations().size())
            .arg(t.walkCount()));
    out(tr("маршрутов: %1, шаблонов маршрутов: %2, наборов дней движения: %3")
            .arg(t.routes().size())
            .arg(t.patterns().size())
            .arg(t.serviceCount()));
    const QString mismatch = placesMismatch(t, map, args[0]);
    out(mismatch.isEmpty() ? tr("карта соответствует расписанию")
                           : tr("карта не соответствует расписанию: %1").arg(mismatch));
    return 0;
}

} // namespace gaftool
