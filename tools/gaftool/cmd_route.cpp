#include "commands.h"
#include "common.h"

#include "model/catalogue.h"
#include "model/mapdescription.h"
#include "model/numberformat.h"
#include "route/findway.h"
#include "route/report.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <optional>

using namespace lirsk;

namespace gaftool {

namespace {

const char* const kRouteUsage =
    "usage: gaftool route FILE FROM_ID TO_ID [--map-code C] [--map-city X]\n"
    "                     [--decimal-separator S] [--json]\n"
    "Finds the shortest way from stop FROM_ID to stop TO_ID of FILE (.gaf or .json) and prints\n"
    "the report: fare, length, time and rides.\n"
    "  --map-code C, --map-city X  the map's network code and city (both by default from FILE's\n"
    "                              path as given, as for the built-in maps); without them a\n"
    "                              description FILE.gafd beside a map that is not built in gives\n"
    "                              the code, the route numbers and the fare rule\n"
    "  --decimal-separator S       one character (default: the locale's)\n"
    "  --json                      one JSON object: result (found, no_way_message, unreached,\n"
    "                              looping_way, negative_cycle), and when found way (ids, start "
    "first), length_m,\n"
    "                              time_s, fare, fare_text, length_text, time_text, rides_text\n"
    "Exit 0 whatever the search answers; 2 for bad arguments, an unreadable file or an unknown id.";

struct RouteArgs {
    QString file;
    int from = 0;
    int to = 0;
    std::optional<QString> mapCode, mapCity;
    QChar separator;
    bool json = false;
};

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
    if (positional.size() != 3)
        return QStringLiteral("expected FILE FROM_ID TO_ID");
    parsed.file = positional[0];
    // Digits with an optional minus, nothing else: no spaces, no plus sign.
    static const QRegularExpression wholeNumber(QStringLiteral("^-?[0-9]+$"));
    bool okFrom = wholeNumber.match(positional[1]).hasMatch();
    bool okTo = wholeNumber.match(positional[2]).hasMatch();
    parsed.from = okFrom ? positional[1].toInt(&okFrom) : 0;
    parsed.to = okTo ? positional[2].toInt(&okTo) : 0;
    if (!okFrom || !okTo)
        return QStringLiteral("FROM_ID and TO_ID must be whole numbers");
    return QString();
}

QString outcomeName(SearchOutcome outcome) {
    switch (outcome) {
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

QString outcomeText(SearchOutcome outcome) {
    switch (outcome) {
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

    GraphMap map;
    QString error;
    if (!loadMap(a.file, map, &error))
        return failInput(a.file, error);
    StopRef from = map.FindStopById(a.from);
    StopRef to = map.FindStopById(a.to);
    if (!from || !to)
        return failInput(a.file,
                         QStringLiteral("нет остановки с номером %1").arg(from ? a.to : a.from));
    if (from == to)
        return usage(QStringLiteral(
            "gaftool route: FROM_ID and TO_ID name the same stop; there is nothing to search"));

    const MapIdentity identity = recognizeMapPath(a.file);
    const QString mapCode = a.mapCode.value_or(identity.mapCode);
    const QString mapCity = a.mapCity.value_or(identity.mapCity);

    // A map's own description counts unless the map is built in or the options say otherwise.
    MapDescription description;
    DescriptionRead described = DescriptionRead::Absent;
    if (identity.mapCode.isEmpty() && !a.mapCode && !a.mapCity) {
        described = readMapDescription(a.file, &description, &error);
        if (described == DescriptionRead::Broken)
            return failInput(a.file, error);
    }

    const SearchResult result = FindWay(map, from, to);
    std::optional<RouteReport> report;
    if (result.outcome == SearchOutcome::Found)
        report =
            described == DescriptionRead::Read
                ? BuildRouteReport(result.way, result.length, result.time, description, a.separator)
                : BuildRouteReport(result.way, result.length, result.time, mapCode, mapCity,
                                   a.separator);

    if (a.json) {
        QJsonObject o{{"result", outcomeName(result.outcome)}};
        if (report) {
            QJsonArray way;
            for (auto it = result.way.crbegin(); it != result.way.crend(); ++it)
                way.append((*it)->Id);
            o.insert("way", way);
            o.insert("length_m", result.length);
            o.insert("time_s", result.time);
            o.insert("fare", report->fare);
            o.insert("fare_text", report->fareText);
            o.insert("length_text", report->lengthText);
            o.insert("time_text", report->timeText);
            o.insert("rides_text", report->ridesText);
        }
        if (result.passesCapped)
            o.insert("passes_capped", true);
        out(QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact)));
        return 0;
    }

    if (!report) {
        out(outcomeText(result.outcome));
        return 0;
    }
    if (result.passesCapped)
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
