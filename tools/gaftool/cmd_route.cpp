#include "commands.h"
#include "common.h"

#include "model/catalogue.h"
#include "model/mapdescription.h"
#include "model/numberformat.h"
#include "route/criteria.h"
#include "route/report.h"
#include "timetable/journeysearch.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringView>

#include <algorithm>
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
    "an unknown id.\n"
    "\n"
    "By the timetable kept beside the map (FILE.gaft, see gaftool build-timetable):\n"
    "       gaftool route FILE FROM TO --depart \"[YYYY-MM-DD ]HH:MM\" [--window MIN]\n"
    "                     [--change-time S] [--json]\n"
    "       gaftool route FILE --batch --depart-lines [--window MIN] [--change-time S]\n"
    "  FROM, TO                    a stop id, or a stop's exact name (every station of that name)\n"
    "  --depart T                  the journeys leaving at or after T, the agency's local time\n"
    "                              (without a date: today); each is the best of its arrival and\n"
    "                              number of rides\n"
    "  --window MIN                every journey leaving within MIN minutes from T that no other\n"
    "                              leaving then beats, earliest departure first\n"
    "  --change-time S             the change inside a station where the feed gives none (120)\n"
    "  --json                      {\"journeys\": [{departure, arrival, rides, legs: [{kind (ride\n"
    "                              or walk), route, headsign, from, to, departure, arrival}]}]}\n"
    "  --batch --depart-lines      \"FROM<TAB>TO<TAB>DEPART\" a line from standard input, a JSON\n"
    "                              line each with from, to and depart";

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
    const QStringView digits = QStringView(text).mid(text.startsWith(u'-') ? 1 : 0);
    bool ok = !digits.isEmpty() && std::all_of(digits.begin(), digits.end(),
                                               [](QChar c) { return c >= u'0' && c <= u'9'; });
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
    if (wantsTimetableRoute(args))
        return routeByTimetable(args);
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

// Journeys by the timetable.

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("gaftool", text);
}

} // namespace

// The time asked, in the agency's local time; the reason when it is not one of the period.
QString timetableDeparture(const Timetable& timetable, const QString& text, qint64* utc) {
    const QString t = text.trimmed();
    const QStringList formats{
        QStringLiteral("yyyy-MM-dd HH:mm"), QStringLiteral("yyyy-MM-dd HH:mm:ss"),
        QStringLiteral("yyyy-MM-ddTHH:mm"), QStringLiteral("yyyy-MM-ddTHH:mm:ss")};
    QDateTime local;
    for (const QString& f : formats)
        if (!local.isValid())
            local = QDateTime::fromString(t, f);
    if (!local.isValid()) {
        const QTime time = QTime::fromString(t, t.size() > 5 ? QStringLiteral("HH:mm:ss")
                                                             : QStringLiteral("HH:mm"));
        if (!time.isValid())
            return tr("время «%1» не в виде «ГГГГ-ММ-ДД ЧЧ:ММ» или «ЧЧ:ММ»").arg(text);
        local = QDateTime(QDateTime::currentDateTimeUtc().toTimeZone(timetable.timeZone()).date(),
                          time);
    }
    const QDate day = local.date();
    if (day < timetable.firstDay() || day > timetable.lastDay())
        return tr("%1 вне периода расписания %2 — %3")
            .arg(day.toString(Qt::ISODate), timetable.firstDay().toString(Qt::ISODate),
                 timetable.lastDay().toString(Qt::ISODate));
    *utc = QDateTime(day, local.time(), timetable.timeZone()).toSecsSinceEpoch();
    return QString();
}

namespace {

struct JourneyArgs {
    QString file, from, to, depart;
    int window = 0;
    int changeTime = kDefaultChangeTime;
    bool json = false;
    bool batch = false;
};

QString parseJourneyArgs(const QStringList& args, JourneyArgs& parsed) {
    QStringList positional;
    bool lines = false;
    for (int k = 0; k < args.size(); ++k) {
        const QString& a = args[k];
        const auto number = [&](int low, int high, int* into) {
            bool ok = k + 1 < args.size();
            *into = ok ? args[++k].toInt(&ok) : 0;
            return ok && *into >= low && *into <= high;
        };
        if (a == QLatin1String("--json")) {
            parsed.json = true;
        } else if (a == QLatin1String("--batch")) {
            parsed.batch = true;
        } else if (a == QLatin1String("--depart-lines")) {
            lines = true;
        } else if (a == QLatin1String("--depart")) {
            if (k + 1 >= args.size())
                return QStringLiteral("--depart needs \"YYYY-MM-DD HH:MM\" or \"HH:MM\"");
            parsed.depart = args[++k];
        } else if (a == QLatin1String("--window")) {
            if (!number(1, 24 * 60, &parsed.window))
                return QStringLiteral("--window needs minutes from 1 to 1440");
        } else if (a == QLatin1String("--change-time")) {
            if (!number(0, 3600, &parsed.changeTime))
                return QStringLiteral("--change-time needs seconds from 0 to 3600");
        } else if (a.startsWith(QLatin1String("--"))) {
            return QStringLiteral("%1 is not for journeys by the timetable").arg(a);
        } else {
            positional << a;
        }
    }
    if (parsed.batch != lines)
        return QStringLiteral("--batch and --depart-lines go together");
    if (parsed.batch) {
        if (positional.size() != 1 || !parsed.depart.isEmpty() || parsed.json)
            return QStringLiteral("expected FILE alone with --batch --depart-lines");
        parsed.file = positional[0];
        return QString();
    }
    if (positional.size() != 3)
        return QStringLiteral("expected FILE FROM TO");
    if (parsed.depart.isEmpty())
        return QStringLiteral("--window and --change-time go with --depart");
    parsed.file = positional[0];
    parsed.from = positional[1];
    parsed.to = positional[2];
    return QString();
}

// A map and its timetable, and the stations by stop id and by name.
struct Network {
    GraphMap map;
    Timetable timetable;
    QHash<int, int> stationOfStop;
    QMultiHash<QString, int> stationsNamed;

    bool load(const QString& path, QString* error) {
        if (!loadTimetable(path, map, timetable, error))
            return false;
        const QString mismatch = placesMismatch(timetable, map, path);
        if (!mismatch.isEmpty()) {
            *error =
                tr("расписание не соответствует карте, поиск по нему выключен: %1").arg(mismatch);
            return false;
        }
        const QHash<int, StopIndex> byId = map.stopsById();
        for (int s = 0; s < int(timetable.stations().size()); ++s) {
            const int id = timetable.stations()[std::size_t(s)].mapStop;
            stationOfStop.insert(id, s);
            stationsNamed.insert(timetable.stationName(s), s);
            const QString& caption = map.stop(byId.value(id)).Label.Caption;
            if (caption != timetable.stationName(s))
                stationsNamed.insert(caption, s);
        }
        return true;
    }
    // A stop id, else every station of the name; the reason when there is none.
    QString stations(const QString& text, std::vector<int>* found) const {
        int id = 0;
        if (readId(text, &id) && stationOfStop.contains(id)) {
            *found = {stationOfStop.value(id)};
            return QString();
        }
        const QList<int> named = stationsNamed.values(text);
        *found = std::vector<int>(named.begin(), named.end());
        std::sort(found->begin(), found->end());
        return found->empty() ? tr("нет остановки «%1» в расписании").arg(text) : QString();
    }
};

// The agency's local time of a moment, with the UTC offset on a day the clocks change.
QString isoTime(const Timetable& t, qint64 utc) {
    const QDateTime at = QDateTime::fromSecsSinceEpoch(utc, t.timeZone());
    QString text = at.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    const QDateTime dayStart(at.date(), QTime(0, 0), t.timeZone());
    const QDateTime nextDay(at.date().addDays(1), QTime(0, 0), t.timeZone());
    if (dayStart.offsetFromUtc() != nextDay.offsetFromUtc()) {
        const int offset = at.offsetFromUtc();
        text += QStringLiteral("%1%2:%3")
                    .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                    .arg(std::abs(offset) / 3600, 2, 10, QLatin1Char('0'))
                    .arg(std::abs(offset) / 60 % 60, 2, 10, QLatin1Char('0'));
    }
    return text;
}

QString routeName(const Timetable& t, const JourneyLeg& leg) {
    const Timetable::Pattern& p = t.patterns()[std::size_t(leg.pattern)];
    return t.text(t.routes()[p.route].shortName);
}

QString headsign(const Timetable& t, const JourneyLeg& leg) {
    return t.text(t.trips()[std::size_t(leg.trip)].headsign);
}

QJsonObject journeysJson(const Timetable& t, const std::vector<Journey>& journeys) {
    QJsonArray list;
    for (const Journey& j : journeys) {
        QJsonArray legs;
        for (const JourneyLeg& leg : j.legs) {
            const bool ride = leg.kind == JourneyLeg::Kind::Ride;
            QJsonObject o{{"kind", ride ? QStringLiteral("ride") : QStringLiteral("walk")},
                          {"from", t.stationName(leg.from)},
                          {"to", t.stationName(leg.to)},
                          {"departure", isoTime(t, leg.departure)},
                          {"arrival", isoTime(t, leg.arrival)}};
            if (ride) {
                o.insert("route", routeName(t, leg));
                o.insert("headsign", headsign(t, leg));
            }
            legs.append(o);
        }
        list.append(QJsonObject{{"departure", isoTime(t, j.departure)},
                                {"arrival", isoTime(t, j.arrival)},
                                {"rides", j.rides},
                                {"legs", legs}});
    }
    return QJsonObject{{"journeys", list}};
}

QString duration(qint64 seconds) {
    return seconds < 60 ? tr("%1 с").arg(seconds) : tr("%1 мин.").arg((seconds + 30) / 60);
}

// The clock time of a moment; the date too when it is not the day asked.
QString clock(const Timetable& t, qint64 utc, const QDate& asked) {
    const QDateTime at = QDateTime::fromSecsSinceEpoch(utc, t.timeZone());
    QString text =
        at.toString(at.time().second() ? QStringLiteral("HH:mm:ss") : QStringLiteral("HH:mm"));
    return at.date() == asked ? text : at.date().toString(Qt::ISODate) + QLatin1Char(' ') + text;
}

void printJourneys(const Timetable& t, const std::vector<Journey>& journeys, qint64 asked) {
    if (journeys.empty()) {
        out(tr("Пути нет"));
        return;
    }
    const QDate day = QDateTime::fromSecsSinceEpoch(asked, t.timeZone()).date();
    for (const Journey& j : journeys) {
        out(tr("Отправление %1, прибытие %2, в пути %3, поездок: %4")
                .arg(clock(t, j.departure, day), clock(t, j.arrival, day),
                     duration(j.arrival - j.departure))
                .arg(j.rides));
        qint64 at = j.departure;
        for (const JourneyLeg& leg : j.legs) {
            if (leg.departure > at && at != j.departure)
                out(tr("  ожидание %1").arg(duration(leg.departure - at)));
            at = leg.arrival;
            const QString times =
                clock(t, leg.departure, day) + QStringLiteral("–") + clock(t, leg.arrival, day);
            if (leg.kind == JourneyLeg::Kind::Walk) {
                out(tr("  %1 пешком от %2 до %3, %4")
                        .arg(times, t.stationName(leg.from), t.stationName(leg.to),
                             duration(leg.arrival - leg.departure)));
                continue;
            }
            out(tr("  %1 маршрут %2 «%3»: от %4 до %5, остановок: %6")
                    .arg(times, routeName(t, leg), headsign(t, leg), t.stationName(leg.from),
                         t.stationName(leg.to))
                    .arg(leg.alightCall - leg.boardCall));
        }
    }
}

// One query; the reason when it cannot be asked.
QString ask(const Network& n, JourneySearch& search, const JourneyArgs& a, const QString& from,
            const QString& to, const QString& depart, std::vector<Journey>* journeys,
            qint64* asked) {
    JourneyQuery q;
    QString problem = n.stations(from, &q.from);
    if (problem.isEmpty())
        problem = n.stations(to, &q.to);
    const auto meets = [&](int s) { return std::find(q.to.begin(), q.to.end(), s) != q.to.end(); };
    if (problem.isEmpty() && std::any_of(q.from.begin(), q.from.end(), meets))
        problem = tr("начало и конец пути — одна и та же остановка");
    if (problem.isEmpty())
        problem = timetableDeparture(n.timetable, depart, &q.departure);
    if (!problem.isEmpty())
        return problem;
    q.windowMinutes = a.window;
    q.changeTime = a.changeTime;
    *journeys = search.search(q);
    *asked = q.departure;
    return QString();
}

} // namespace

bool wantsTimetableRoute(const QStringList& args) {
    return args.contains(QLatin1String("--depart")) ||
           args.contains(QLatin1String("--depart-lines")) ||
           args.contains(QLatin1String("--window")) ||
           args.contains(QLatin1String("--change-time"));
}

int routeByTimetable(const QStringList& args) {
    JourneyArgs a;
    const QString problem = parseJourneyArgs(args, a);
    if (!problem.isEmpty())
        return usage(QStringLiteral("gaftool route: %1 (gaftool route --help)").arg(problem));
    Network n;
    QString error;
    if (!n.load(a.file, &error))
        return failInput(a.file, error);
    JourneySearch search(n.timetable);
    std::vector<Journey> journeys;
    qint64 asked = 0;
    if (!a.batch) {
        error = ask(n, search, a, a.from, a.to, a.depart, &journeys, &asked);
        if (!error.isEmpty())
            return failInput(a.file, error);
        if (a.json)
            out(QString::fromUtf8(
                QJsonDocument(journeysJson(n.timetable, journeys)).toJson(QJsonDocument::Compact)));
        else
            printJourneys(n.timetable, journeys, asked);
        return 0;
    }
    std::string bytes;
    for (int number = 1; std::getline(std::cin, bytes); ++number) {
        const QStringList fields = QString::fromUtf8(bytes).split(QLatin1Char('\t'));
        QJsonObject answer;
        error = fields.size() == 3 ? ask(n, search, a, fields[0].trimmed(), fields[1].trimmed(),
                                         fields[2], &journeys, &asked)
                                   : tr("ожидается «FROM<TAB>TO<TAB>DEPART»");
        if (error.isEmpty()) {
            answer = journeysJson(n.timetable, journeys);
            answer.insert("from", fields[0].trimmed());
            answer.insert("to", fields[1].trimmed());
            answer.insert("depart", fields[2].trimmed());
        } else {
            answer = QJsonObject{{"error", error}, {"line", number}};
        }
        out(QString::fromUtf8(QJsonDocument(answer).toJson(QJsonDocument::Compact)));
        std::fflush(stdout);
    }
    if (std::cin.bad())
        return failInput(QStringLiteral("стандартный ввод"), QStringLiteral("не читается"));
    return 0;
}

} // namespace gaftool
