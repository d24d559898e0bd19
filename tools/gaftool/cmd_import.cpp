#include "commands.h"
#include "common.h"
#include "feedreport.h"

#include "import/gtfsimport.h"
#include "import/importprogress.h"
#include "import/importtext.h"
#include "layout/schematicmap.h"
#include "model/mapdescription.h"
#include "model/mapfile.h"
#include "model/safefile.h"
#include "timetable/timetablebuilder.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <optional>

using namespace lirsk;

namespace gaftool {

namespace {

const char* const kImportUsage = QT_TRANSLATE_NOOP(
    "gaftool",
    "вызов: gaftool import-gtfs ИСТОЧНИК ВЫХОД.gaf [--route-types СПИСОК] [--routes СПИСОК]\n"
    "                           [--agency ID] [--scale МЕТРОВ_НА_ТОЧКУ] [--title ТЕКСТ]\n"
    "                           [--fare X] [--transfer-fare X] [--max-memory БАЙТ]\n"
    "                           [--layout schematic|geographic] [--no-timetable]\n"
    "                           [--quiet | --machine]\n"
    "Делает карту из расписания GTFS (.zip или папка): по остановке на станцию, связь для каждой\n"
    "пары станций, которые рейс проходит одну за другой, пешие дороги для пересадок. Записывает\n"
    "ВЫХОД.gaf, её описание ВЫХОД.gafd (буква кода, таблица маршрутов, стоимость, заголовок) и её\n"
    "расписание ВЫХОД.gaft (рейсы, дни движения, переходы; см. gaftool timetable).\n"
    "  --route-types СПИСОК  виды маршрутов через запятую (0 трамвай, 1 метро, 2 поезд, 3 "
    "автобус,\n"
    "                      4 паром, 5 канатный трамвай, 6 канатная дорога, 7 фуникулёр,\n"
    "                      11 троллейбус, 12 монорельс); расширенные виды считаются основными\n"
    "  --routes СПИСОК     значения route_id или route_short_name через запятую\n"
    "  --agency ID         маршруты одного agency_id\n"
    "  --scale M           метров на точку (по умолчанию карта около 3000 точек в ширину)\n"
    "  --title ТЕКСТ       заголовок окна (по умолчанию название первого перевозчика)\n"
    "  --fare X, --transfer-fare X  правило стоимости вместо fare_attributes.txt источника\n"
    "  --max-memory БАЙТ   наибольшая память, которую импорт может занять (по умолчанию 2G);\n"
    "                      источник, которому нужно больше, отвергается; K, M и G — по 1024\n"
    "  --layout L          вид, в котором карта записывается: schematic (линии горизонтально,\n"
    "                      вертикально или под 45 градусов; по умолчанию для метро, трамвая и\n"
    "                      поездов) или geographic (по умолчанию для остальных и для схемы, "
    "которая\n"
    "                      пересекла бы линии, не пересекающиеся на местности, или вышла бы из\n"
    "                      восьми направлений); описание хранит оба\n"
    "  --no-timetable      без ВЫХОД.gaft (оставшийся от прежнего импорта удаляется)\n"
    "  --quiet             без хода работы на стандартном выводе ошибок\n"
    "  --machine           для программ: записи через табуляцию на стандартном выводе, по одной в\n"
    "                      строке: progress<TAB>STAGE<TAB>FRACTION (не чаще ~10 в секунду),\n"
    "                      note<TAB>TEXT, renamed<TAB>N (число названий латиницей), когда карта\n"
    "                      записана, или error<TAB>FILE: REASON последней строкой\n"
    "Код выхода 0, когда карта записана; 2 при неверных аргументах, нечитаемом источнике или "
    "карте,\n"
    "которую нельзя записать.");

// A finite number of at least 0, below limit.
bool number(const QString& text, double limit, double* into) {
    bool ok = false;
    *into = text.toDouble(&ok);
    return ok && *into >= 0 && *into < limit;
}

// A positive count of bytes, maybe with a K, M or G suffix; 0 when the text is none.
qint64 byteCount(QString text) {
    int shift = 0;
    const QString suffixes = QStringLiteral("KMG");
    if (!text.isEmpty() && suffixes.contains(text.back().toUpper())) {
        shift = 10 * int(suffixes.indexOf(text.back().toUpper()) + 1);
        text.chop(1);
    }
    bool ok = false;
    const qint64 n = text.toLongLong(&ok);
    return ok && n > 0 && n <= (std::numeric_limits<qint64>::max() >> shift) ? n << shift : 0;
}

// Sets the option named by a from its value v; the problem when either is wrong.
QString applyOption(const QString& a, const QString& v, GtfsImportOptions& options) {
    double x = 0;
    QString problem;
    if (applyRouteFilter(a, v, options, &problem))
        return problem;
    if (a == QLatin1String("--title")) {
        options.title = v;
    } else if (a == QLatin1String("--scale")) {
        if (!number(v, HUGE_VAL, &x) || x <= 0)
            return Messages::tr("--scale: нужно положительное число");
        options.metresPerPixel = x;
    } else if (a == QLatin1String("--max-memory")) {
        options.maxMemory = byteCount(v);
        if (options.maxMemory == 0)
            return Messages::tr("--max-memory: нужно число байт, как 512M или 2G");
    } else if (a == QLatin1String("--fare") || a == QLatin1String("--transfer-fare")) {
        if (!number(v, kMaxImportedFare, &x))
            return Messages::tr("%1: нужно число от 0 до 10^9").arg(a);
        (a == QLatin1String("--fare") ? options.baseFare : options.transferFare) = x;
    } else {
        return Messages::tr("неизвестный ключ %1").arg(a);
    }
    return {};
}

} // namespace

bool applyRouteFilter(const QString& a, const QString& v, GtfsImportOptions& options,
                      QString* problem) {
    if (a == QLatin1String("--route-types")) {
        for (const QString& t : v.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            bool ok = false;
            const int type = basicRouteType(t.trimmed().toInt(&ok));
            if (!ok || type < 0) {
                *problem = Messages::tr("неизвестный вид маршрутов %1").arg(t);
                return true;
            }
            options.routeTypes.insert(type);
        }
    } else if (a == QLatin1String("--routes")) {
        for (const QString& r : v.split(QLatin1Char(','), Qt::SkipEmptyParts))
            options.routes << r.trimmed();
    } else if (a == QLatin1String("--agency")) {
        options.agency = v;
    } else {
        return false;
    }
    return true;
}

namespace {

// The timetable of the map just imported, from the same feed and routes, its progress reported
// and its memory held to the import's budget. False with the reason when it was stopped (the
// budget, no memory); an empty file with the reason in note when the trips give no timetable.
bool importTimetable(const QString& feed, const GtfsImportOptions& options, const GraphMap& map,
                     const MapDescription& description, FeedReport& report, QByteArray* file,
                     QString* note, QString* error) {
    ImportProgress tracker(
        [&](const QString& stage, double done) { return report.progress(stage, done); },
        options.maxMemory);
    QString stage;
    const GtfsProgress progress = [&](const QString& step, double done) {
        if (step != stage) {
            stage = step;
            // The builder's own steps say "расписание" already; the files it reads again do not.
            const QString named = QCoreApplication::translate("GtfsImport", "расписание");
            tracker.begin(step.startsWith(named) ? step : named + QStringLiteral(": ") + step);
        }
        tracker.tick(done, 256);
        return true;
    };
    TimetableBuild build;
    build.routes = options;
    TimetableBuildResult result;
    try {
        if (!buildTimetable(feed, build, map, &result, note, progress))
            return true;
    } catch (const ImportStopped& stopped) {
        *error = stopped.reason();
        return false;
    } catch (const std::bad_alloc&) {
        *error = tracker.outOfMemoryText();
        return false;
    }
    Timetable timetable;
    if (!timetable.load(result.file, note))
        return true;
    *note = importedMismatch(timetable, map, &description);
    if (note->isEmpty())
        *file = std::move(result.file);
    for (const QString& line : result.notes)
        report.note(feed, line);
    return true;
}

// Writes the map and its description; false with the reason (naming what was refused).
bool writeImportedMap(const QString& target, const GraphMap& map, GtfsImportResult& result,
                      QString* error) {
    const std::optional<QByteArray> bytes = writeMap(map, false, error);
    if (!bytes)
        return false;
    if (bytes->size() > kMaxMapFileSize) {
        *error = QCoreApplication::translate(
                     "GtfsImport", "карта вышла в %1 МБ, а читаются карты до %2 МБ: сузьте выбор "
                                   "ключами --routes, --route-types или --agency")
                     .arg(bytes->size() >> 20)
                     .arg(kMaxMapFileSize >> 20);
        return false;
    }
    return saveMapAndDescription(target, *bytes, &result.description, error);
}

// Whether a map of these route types is shown as a schematic unless asked otherwise: metro,
// tram, rail and their kin, not buses, trolleybuses or ferries.
bool schematicByDefault(const QSet<int>& routeTypes) {
    static const QSet<int> kRail{0, 1, 2, 5, 7, 12};
    return !routeTypes.isEmpty() &&
           std::ranges::all_of(routeTypes, [](int type) { return kRail.contains(type); });
}

// Adds the schematic to the description beside the geographic layout, and shows it when wanted;
// a map too large for one stays geographic, with a note. A schematic that crosses lines where the
// ground does not misleads more than it helps: unless asked for by name it is kept for «Схема»
// and the map shows its geography, with a note saying why.
void layOut(GraphMap& map, GtfsImportResult& result, std::optional<bool> wanted, FeedReport& report,
            const QString& feed) {
    bool showSchematic = wanted.value_or(schematicByDefault(result.routeTypes));
    QList<LaidOutStop> schematic;
    SchematicFigures figures;
    QString error;
    if (!schematicPlaces(map, &result.description, &schematic, &figures, &error)) {
        if (showSchematic)
            report.note(feed, error);
        return;
    }
    const bool faithful = figures.octilinearLinks == figures.links && figures.newCrossings == 0;
    if (showSchematic && !faithful)
        report.note(feed, QCoreApplication::translate("GtfsImport",
                                                      "схема: %1 из %2 перегонов не по восьми "
                                                      "направлениям, новых пересечений %3")
                              .arg(figures.links - figures.octilinearLinks)
                              .arg(figures.links)
                              .arg(figures.newCrossings));
    if (showSchematic && !faithful && !wanted) {
        report.note(feed, QCoreApplication::translate(
                              "GtfsImport", "карта показана по географии: схема искажает "
                                            "её топологию, она доступна в меню «Вид» → «Схема»"));
        showSchematic = false;
    }
    result.description.layouts = MapLayouts{placesOf(map), schematic, showSchematic};
    if (showSchematic)
        moveToLayout(map, schematic);
}

// What an import-gtfs command line asks for.
struct ImportCommand {
    GtfsImportOptions options;
    QStringList positional; // the feed and the map to write
    bool withTimetable = true;
    std::optional<bool> schematic; // the layout shown, when the command names one
};

// Reads the command line into *command; the problem with it, or an empty string.
QString parseImportCommand(const QStringList& args, ImportCommand* command) {
    for (int k = 0; k < args.size(); ++k) {
        const QString& a = args[k];
        if (a == QLatin1String("--quiet") || a == QLatin1String("--machine"))
            continue;
        if (a == QLatin1String("--no-timetable")) {
            command->withTimetable = false;
            continue;
        }
        if (!a.startsWith(QLatin1String("--"))) {
            command->positional << a;
            continue;
        }
        if (k + 1 >= args.size())
            return Messages::tr("%1: нужно значение").arg(a);
        if (a == QLatin1String("--layout")) {
            const QString& v = args[++k];
            if (v != QLatin1String("schematic") && v != QLatin1String("geographic"))
                return Messages::tr("--layout: schematic или geographic");
            command->schematic = v == QLatin1String("schematic");
            continue;
        }
        const QString problem = applyOption(a, args[++k], command->options);
        if (!problem.isEmpty())
            return problem;
    }
    if (command->positional.size() != 2)
        return Messages::tr("ожидаются ИСТОЧНИК ВЫХОД.gaf");
    return QString();
}

} // namespace

int cmdImportGtfs(const QStringList& args) {
    if (wantsHelp(args)) {
        out(Messages::tr(kImportUsage));
        return 0;
    }
    FeedReport report(args.contains(QLatin1String("--machine")) ? FeedReport::Mode::Machine
                      : args.contains(QLatin1String("--quiet")) ? FeedReport::Mode::Quiet
                                                                : FeedReport::Mode::Human);
    const auto bad = [&](const QString& problem) {
        return report.badUsage(
            QStringLiteral("gaftool import-gtfs: %1 (gaftool import-gtfs --help)").arg(problem));
    };
    ImportCommand command;
    if (const QString problem = parseImportCommand(args, &command); !problem.isEmpty())
        return bad(problem);
    const GtfsImportOptions& options = command.options;
    const QString& feed = command.positional[0];
    const QString& target = command.positional[1];
    returnLargeBlocksToSystem();

    GraphMap map;
    GtfsImportResult result;
    QString error;
    if (!importGtfs(feed, options, map, &result, &error, [&](const QString& stage, double done) {
            return report.progress(stage, done);
        }))
        return report.fail(feed, error);
    report.endProgress();
    // --quiet leaves out the note of a feed without fares: the report says so on every way.
    const bool quiet = args.contains(QLatin1String("--quiet"));
    for (const QString& note : result.notes)
        if (!quiet || note != ImportText::noFares(ImportText::FareSetting::CommandLine))
            report.note(feed, note);
    QByteArray timetable;
    QString timetableNote;
    if (command.withTimetable && !importTimetable(feed, options, map, result.description, report,
                                                  &timetable, &timetableNote, &error))
        return report.fail(feed, error);
    report.endProgress();
    if (!timetableNote.isEmpty())
        report.note(feed, QCoreApplication::translate("GtfsImport", "расписание не записано: %1")
                              .arg(timetableNote));
    // The timetable keeps the stops' geographic places; the description tells it the others.
    layOut(map, result, command.schematic, report, feed);
    // A timetable left beside the target belongs to the map this one replaces.
    const QString timetablePath = timetablePathFor(target);
    try {
        if (timetable.isEmpty())
            removeRegularFile(timetablePath);
        else if (!saveWholeFile(timetablePath, timetable, &error))
            return report.fail(timetablePath, error);
        if (!writeImportedMap(target, map, result, &error))
            return report.fail(target, error);
    } catch (const std::bad_alloc&) {
        return report.fail(target, QCoreApplication::translate("GtfsImport", "не хватило памяти"));
    }
    report.record(QStringLiteral("renamed"), QString::number(result.renamedNames));
    if (report.human())
        err(Messages::tr("%1: %2 остановок, %3 связей, %4 маршрутов")
                .arg(target)
                .arg(map.stopCount())
                .arg(map.linkCount())
                .arg(result.description.routes.size()));
    return 0;
}

} // namespace gaftool
