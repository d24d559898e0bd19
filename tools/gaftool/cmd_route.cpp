#include "commands.h"
#include "common.h"

#include "model/catalogue.h"
#include "model/mapdescription.h"
#include "model/numberformat.h"
#include "route/criteria.h"
#include "route/report.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <cstdio>
#include <iostream>
#include <optional>
#include <string>

using namespace lirsk;

namespace gaftool {

namespace {

const char* const kRouteUsage =
    "usage: gaftool route FILE FROM_ID TO_ID [--by C] [--map-code C] [--map-city X]\n"
    "                     [--decimal-separator S] [--json]\n"
    "       gaftool route FILE --batch [--by C] [--map-code C] [--map-city X]\n"
    "                     [--decimal-separator S]\n"
    "Finds the way from stop FROM_ID to stop TO_ID of FILE (.gaf or .json) and prints the\n"
    "report: fare, length, time and rides.\n"
    "  --by C                      shortest (the least length, by default), fastest (the least\n"
    "                              time) or changes (the fewest transfers, then the least time)\n"
    "  --map-code C, --map-city X  the map's network code and city (both by default from FILE's\n"
    "                              path as given, as for the built-in maps); without them a\n"
    "                              description FILE.gafd beside a map that is not built in gives\n"
    "                              the code, the route numbers and the fare rule\n"
    "  --decimal-separator S       one character (default: the locale's)\n"
    "  --json                      one JSON object: criterion, result (found, no_way_message,\n"
    "                              unreached, looping_way, negative_cycle, negative_times,\n"
    "                              no_times), and when found way (ids, start first), length_m,\n"
    "                              time_s, fare, fare_text, length_text, time_text, rides_text\n"
    "  --batch                     reads the map once, then queries \"FROM_ID TO_ID [C]\" one a\n"
    "                              line from standard input, and answers each with a line of\n"
    "                              JSON as --json, with from and to; a bad line is answered\n"
    "                              with error and line (counted from 1) and the batch goes on\n"
    "Exit 0 whatever the search answers; 2 for bad arguments, an unreadable file or input, or\n"
    "an unknown id.";

struct RouteArgs {
    QString file;
    int from = 0;
    int to = 0;
    std::optional<QString> mapCode, mapCity;
    QChar separator;
    Criterion criterion = Criterion::Shortest;
    bool json = false;
    bool batch = false;
};

// Digits with an optional minus, nothing else: no spaces, no plus sign.
bool readId(const QString& text, int* id) {
    static const QRegularExpression wholeNumber(QStringLiteral("^-?[0-9]+$"));
    bool ok = wholeNumber.match(text).hasMatch();
    *id = ok ? text.toInt(&ok) : 0;
    return ok;
}

// Reads the arguments; an error text when they are wrong.
QString parseArgs(const QStringList& args, RouteArgs& parsed) {
    QStringList positional;
    parsed.separator = localeDecimalSeparator();
    for (int k = 0; k < args.size(); ++k) {
        const QString& a = args[k];
        const auto value = [&](QString& into) {
            if (k + 1 >= args.size())
                return false;
            into = args[++k];
            return true;
        };
        QString v;
        if (a == QLatin1String("--json")) {
            parsed.json = true;
        } else if (a == QLatin1String("--batch")) {
            parsed.batch = true;
        } else if (a == QLatin1String("--by")) {
            if (!value(v) || !criterionFromName(v, &parsed.criterion))
                return QStringLiteral("--by needs shortest, fastest or changes");
        } else if (a == QLatin1String("--map-code")) {
            if (!value(v))
                return QStringLiteral("--map-code needs a value");
            parsed.mapCode = v;
        } else if (a == QLatin1String("--map-city")) {
            if (!value(v))
                return QStringLiteral("--map-city needs a value");
            parsed.mapCity = v;
        } else if (a == QLatin1String("--decimal-separator")) {
            if (!value(v) || v.size() != 1)
                return QStringLiteral("--decimal-separator needs one character");
            parsed.separator = v[0];
        } else if (a.startsWith(QLatin1String("--"))) {
            return QStringLiteral("unknown option %1").arg(a);
        } else {
            positional << a;
        }
    }
    if (parsed.batch) {
        if (positional.size() != 1)
            return QStringLiteral("expected FILE alone with --batch");
        if (parsed.json)
            return QStringLiteral("--batch always answers in JSON; --json is not for it");
        parsed.file = positional[0];
        return QString();
    }
    if (positional.size() != 3)
        return QStringLiteral("expected FILE FROM_ID TO_ID");
    parsed.file = positional[0];
    const bool okFrom = readId(positional[1], &parsed.from);
    const bool okTo = readId(positional[2], &parsed.to);
    if (!okFrom || !okTo)
        return QStringLiteral("FROM_ID and TO_ID must be whole numbers");
    return QString();
}

QString outcomeName(const CriterionResult& result) {
    switch (result.refusal) {
    case Refusal::None:
        break;
    case Refusal::NegativeTimes:
        return QStringLiteral("negative_times");
    case Refusal::NoTimes:
        return QStringLiteral("no_times");
    }
    switch (result.found.outcome) {
    case SearchOutcome::Found:
        return QStringLiteral("found");
    case SearchOutcome::NoWayMessage:
        return QStringLiteral("no_way_message");
    case SearchOutcome::Unreached:
        return QStringLiteral("unreached");
    case SearchOutcome::LoopingWay:
        return QStringLiteral("looping_way");
    case SearchOutcome::NegativeCycle:
        return QStringLiteral("negative_cycle");
    }
    return QString();
}

QString outcomeText(const CriterionResult& result, Criterion criterion) {
    if (result.refusal != Refusal::None)
        return failureText(criterion, result);
    switch (result.found.outcome) {
    case SearchOutcome::Found:
        break;
    case SearchOutcome::NoWayMessage:
        return QStringLiteral("Пути нет");
    case SearchOutcome::Unreached:
        return QStringLiteral("Путь не найден: до конечной остановки не доехать");
    case SearchOutcome::LoopingWay:
        return QStringLiteral("Путь не найден: отрицательные длины дорог замыкают путь в кольцо");
    case SearchOutcome::NegativeCycle:
        return negativeCycleText();
    }
    return QString();
}

// What the report is read with: the map's code and city, or its own description.
struct ReportContext {
    QString mapCode, mapCity;
    std::optional<MapDescription> description;
    QChar separator;
};

// The answer to one query as gaftool's JSON.
QJsonObject answerJson(const GraphMap& map, const CriterionResult& result,
                       const std::optional<RouteReport>& report, Criterion criterion) {
    QJsonObject o{{"criterion", criterionName(criterion)}, {"result", outcomeName(result)}};
    if (report) {
        QJsonArray way;
        for (auto it = result.found.way.crbegin(); it != result.found.way.crend(); ++it)
            way.append(map.stop(*it).Id);
        o.insert("way", way);
        o.insert("length_m", result.found.length);
        o.insert("time_s", result.found.time);
        o.insert("fare", report->fare);
        o.insert("fare_text", report->fareText);
        o.insert("length_text", report->lengthText);
        o.insert("time_text", report->timeText);
        o.insert("rides_text", report->ridesText);
    }
    if (result.found.passesCapped)
        o.insert("passes_capped", true);
    return o;
}

std::optional<RouteReport> reportOf(const GraphMap& map, const CriterionResult& result,
                                    const ReportContext& c) {
    if (result.found.outcome != SearchOutcome::Found || result.refusal != Refusal::None)
        return std::nullopt;
    const SearchResult& r = result.found;
    if (c.description)
        return BuildRouteReport(map, r.way, r.length, r.time, *c.description, c.separator);
    return BuildRouteReport(map, r.way, r.length, r.time, c.mapCode, c.mapCity, c.separator);
}

// Answers one query line of a batch; the error text when the line is not a query.
QString answerLine(const QString& line, Criterion byDefault, const GraphMap& map,
                   const QHash<int, StopIndex>& byId, WaySearch& search, const ReportContext& c,
                   QJsonObject* answer) {
    const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (fields.size() < 2 || fields.size() > 3)
        return QStringLiteral("ожидается «FROM_ID TO_ID [критерий]»");
    int fromId = 0, toId = 0;
    if (!readId(fields[0], &fromId) || !readId(fields[1], &toId))
        return QStringLiteral("номера остановок должны быть целыми числами");
    Criterion criterion = byDefault;
    if (fields.size() == 3 && !criterionFromName(fields[2], &criterion))
        return QStringLiteral("неизвестный критерий «%1»: shortest, fastest или changes")
            .arg(fields[2]);
    const StopIndex from = byId.value(fromId, NoStop), to = byId.value(toId, NoStop);
    if (from == NoStop || to == NoStop)
        return QStringLiteral("нет остановки с номером %1").arg(from != NoStop ? toId : fromId);
    if (from == to)
        return QStringLiteral("начало и конец пути — одна и та же остановка");
    const CriterionResult result = search.search(criterion, from, to);
    *answer = answerJson(map, result, reportOf(map, result, c), criterion);
    answer->insert("from", fromId);
    answer->insert("to", toId);
    return QString();
}

int runBatch(const RouteArgs& a, const GraphMap& map, const ReportContext& c) {
    const QHash<int, StopIndex> byId = map.stopsById();
    WaySearch search(map);
    std::string bytes;
    for (int number = 1; std::getline(std::cin, bytes); ++number) {
        const QString line = QString::fromUtf8(bytes).simplified();
        QJsonObject answer;
        const QString problem = answerLine(line, a.criterion, map, byId, search, c, &answer);
        if (!problem.isEmpty())
            answer = QJsonObject{{"error", problem}, {"line", number}};
        out(QString::fromUtf8(QJsonDocument(answer).toJson(QJsonDocument::Compact)));
        std::fflush(stdout);
    }
    if (std::cin.bad())
        return failInput(QStringLiteral("стандартный ввод"), QStringLiteral("не читается"));
    return 0;
}

} // namespace

int cmdRoute(const QStringList& args) {
    if (wantsHelp(args)) {
        out(QString::fromUtf8(kRouteUsage));
        return 0;
    }
    RouteArgs a;
    const QString problem = parseArgs(args, a);
    if (!problem.isEmpty())
        return usage(QStringLiteral("gaftool route: %1 (gaftool route --help)").arg(problem));

    // The map stays until the process ends: freeing its stops and links is work nobody waits for.
    static GraphMap* const loaded = new GraphMap;
    GraphMap& map = *loaded;
    QString error;
    if (!loadMap(a.file, map, &error))
        return failInput(a.file, error);
    StopIndex from = NoStop, to = NoStop;
    if (!a.batch) {
        from = map.FindStopById(a.from);
        to = map.FindStopById(a.to);
        if (from == NoStop || to == NoStop)
            return failInput(
                a.file,
                QStringLiteral("нет остановки с номером %1").arg(from != NoStop ? a.to : a.from));
        if (from == to)
            return usage(QStringLiteral(
                "gaftool route: FROM_ID and TO_ID name the same stop; there is nothing to search"));
    }

    const MapIdentity identity = recognizeMapPath(a.file);
    ReportContext context{a.mapCode.value_or(identity.mapCode),
                          a.mapCity.value_or(identity.mapCity), std::nullopt, a.separator};
    // A map's own description counts unless the map is built in or the options say otherwise.
    if (identity.mapCode.isEmpty() && !a.mapCode && !a.mapCity) {
        MapDescription description;
        const DescriptionRead described = readMapDescription(a.file, &description, &error);
        if (described == DescriptionRead::Broken)
            return failInput(a.file, error);
        if (described == DescriptionRead::Read)
            context.description = std::move(description);
    }

    if (a.batch)
        return runBatch(a, map, context);

    const CriterionResult result = findWayBy(a.criterion, map, from, to);
    const std::optional<RouteReport> report = reportOf(map, result, context);

    if (a.json) {
        out(QString::fromUtf8(QJsonDocument(answerJson(map, result, report, a.criterion))
                                  .toJson(QJsonDocument::Compact)));
        return 0;
    }

    if (!report) {
        out(outcomeText(result, a.criterion));
        return 0;
    }
    if (result.found.passesCapped)
        out(QStringLiteral("Внимание: отрицательные длины дорог: путь может быть не кратчайшим"));
    out(QStringLiteral("Стоимость пути: %1").arg(report->fareText));
    out(QStringLiteral("Длина пути: %1").arg(report->lengthText));
    out(QStringLiteral("Время в пути: %1").arg(report->timeText));
    out(QStringLiteral("Проезд маршрутами :"));
    QStringList lines = report->ridesText.split(QLatin1Char('\r'));
    if (!lines.isEmpty() && lines.front().isEmpty())
        lines.removeFirst();
    for (const QString& line : lines)
        out(line);
    return 0;
}

} // namespace gaftool
