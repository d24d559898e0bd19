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

const char* const kBuildUsage = QT_TRANSLATE_NOOP(
    "gaftool",
    "вызов: gaftool build-timetable ИСТОЧНИК КАРТА.gaf [--route-types СПИСОК] [--routes СПИСОК]\n"
    "                               [--agency ID] [--quiet]\n"
    "Строит расписание карты, сделанной gaftool import-gtfs из ИСТОЧНИКА, и записывает его рядом "
    "с\n"
    "картой как КАРТА.gaft: рейсы взятых маршрутов с временами и днями движения, переходы между\n"
    "станциями и место остановки каждой станции на карте. Дайте те же ключи, что и импорту, чтобы\n"
    "взялись те же маршруты и станции.\n"
    "Код выхода 0, когда записано; 2 при неверных аргументах, нечитаемом источнике или карте,\n"
    "карте, сделанной не из этого источника, или расписании, которое нельзя записать.");

const char* const kSummaryUsage = QT_TRANSLATE_NOOP(
    "gaftool",
    "вызов: gaftool timetable КАРТА.gaf\n"
    "Сводка расписания КАРТА.gaft рядом с картой: его период и часовой пояс, рейсы, времена\n"
    "остановок, станции и переходы, и соответствует ли ему ещё карта.\n"
    "Код выхода 0; 2, когда карту или её расписание нельзя прочитать.");

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
            return Messages::tr("%1: нужно значение").arg(a);
        } else {
            QString problem;
            if (!applyRouteFilter(a, args[++k], options, &problem))
                return Messages::tr("неизвестный ключ %1").arg(a);
            if (!problem.isEmpty())
                return problem;
        }
    }
    return positional.size() == 2 ? QString() : Messages::tr("ожидаются ИСТОЧНИК КАРТА.gaf");
}

} // namespace

QString placesMismatch(const Timetable& timetable, const GraphMap& map, const QString& mapPath) {
    MapDescription description;
    QString ignored;
    const bool described =
        readMapDescription(mapPath, &description, &ignored) == DescriptionRead::Read;
    return mapMismatch(timetable, map, described ? &description : nullptr);
}

QString importedMismatch(const Timetable& timetable, const GraphMap& map,
                         const MapDescription* description) {
    if (map.stopCount() != int(timetable.stations().size()))
        return Messages::tr("на карте %1 остановок, а в источнике %2 станций")
            .arg(map.stopCount())
            .arg(timetable.stations().size());
    const QHash<int, StopIndex> byId = map.stopsById();
    const Cp1251Fitter fitter;
    // A name the map file holds as the feed's reading of it is the feed's name too.
    QHash<int, OwnName> own;
    if (description)
        for (const OwnName& n : description->ownNames)
            own.insert(n.stopId, n);
    for (const Timetable::Station& s : timetable.stations()) {
        const QString feedName = timetable.text(s.name);
        const QString name = fitter.fit(feedName);
        const QString& caption = map.stop(byId.value(s.mapStop)).Label.Caption;
        const auto read = own.constFind(s.mapStop);
        if (read != own.constEnd() && read->fileName == caption && read->name == feedName)
            continue;
        if (caption != name)
            return Messages::tr("остановка %1 карты называется «%2», а станция источника — «%3»")
                .arg(s.mapStop)
                .arg(caption, name);
    }
    return QString();
}

int cmdBuildTimetable(const QStringList& args) {
    if (wantsHelp(args)) {
        out(Messages::tr(kBuildUsage));
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
            err(Messages::tr("%1…").arg(stage));
        lastStage = stage;
        return true;
    };
    if (!buildTimetable(feed, build, map, &result, &error, progress))
        return failInput(feed, error);
    Timetable timetable;
    if (!timetable.load(result.file, &error))
        return failInput(feed, error);
    MapDescription description;
    QString unread;
    const bool described =
        readMapDescription(mapPath, &description, &unread) == DescriptionRead::Read;
    const QString mismatch = importedMismatch(timetable, map, described ? &description : nullptr);
    if (!mismatch.isEmpty())
        return failInput(mapPath,
                         Messages::tr("карта сделана не из этого источника или не с этим выбором "
                                      "маршрутов: %1")
                             .arg(mismatch));
    for (const QString& note : result.notes)
        err(QStringLiteral("gaftool: %1: %2").arg(feed, note));
    const QString target = timetablePathFor(mapPath);
    if (!saveWholeFile(target, result.file, &error))
        return failInput(target, error);
    if (!quiet)
        err(Messages::tr("%1: %2 рейсов, %3 времён остановок, %4 станций")
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
        *error = Messages::tr("расписание %1: %2").arg(path, reason);
        return false;
    }
    return true;
}

int cmdTimetable(const QStringList& args) {
    if (wantsHelp(args)) {
        out(Messages::tr(kSummaryUsage));
        return 0;
    }
    if (args.size() != 1 || args[0].startsWith(QLatin1String("--")))
        return usage(
            Messages::tr("gaftool timetable: ожидается КАРТА.gaf (gaftool timetable --help)"));
    GraphMap map;
    Timetable t;
    QString error;
    if (!loadTimetable(args[0], map, t, &error))
        return failInput(args[0], error);
    out(Messages::tr("период: %1 — %2, %3 дн., часовой пояс %4")
            .arg(t.firstDay().toString(Qt::ISODate), t.lastDay().toString(Qt::ISODate))
            .arg(t.dayCount())
            .arg(QString::fromUtf8(t.timeZone().id())));
    out(Messages::tr("рейсов: %1, времён остановок: %2, станций: %3, переходов пешком: %4")
            .arg(t.trips().size())
            .arg(t.stopTimeCount())
            .arg(t.stations().size())
            .arg(t.walkCount()));
    out(Messages::tr("маршрутов: %1, шаблонов маршрутов: %2, наборов дней движения: %3")
            .arg(t.routes().size())
            .arg(t.patterns().size())
            .arg(t.serviceCount()));
    const QString mismatch = placesMismatch(t, map, args[0]);
    out(mismatch.isEmpty() ? Messages::tr("карта соответствует расписанию")
                           : Messages::tr("карта не соответствует расписанию: %1").arg(mismatch));
    return 0;
}

} // namespace gaftool
