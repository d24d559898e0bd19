#include "commands.h"
#include "common.h"

#include "i18n/language.h"
#include "model/catalogue.h"
#include "model/mapdescription.h"
#include "model/numberformat.h"
#include "model/ownnames.h"
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

const char* const kRouteUsage = QT_TRANSLATE_NOOP(
    "gaftool",
    "вызов: gaftool route ФАЙЛ FROM_ID TO_ID [--by C] [--map-code C] [--map-city X]\n"
    "                     [--decimal-separator S] [--json]\n"
    "       gaftool route ФАЙЛ --batch [--by C] [--map-code C] [--map-city X]\n"
    "                     [--decimal-separator S]\n"
    "Находит путь от остановки FROM_ID до остановки TO_ID карты ФАЙЛ (.gaf или .json) и печатает\n"
    "отчёт: стоимость, длину, время и поездки.\n"
    "  --by C                      shortest (наименьшая длина, по умолчанию), fastest (наименьшее\n"
    "                              время) или changes (меньше пересадок, затем меньше время)\n"
    "  --map-code C, --map-city X  код сети и город карты (по умолчанию оба по пути ФАЙЛ, как он\n"
    "                              дан, как у встроенных карт); без них код, номера маршрутов и\n"
    "                              правило стоимости даёт описание ФАЙЛ.gafd рядом с невстроенной\n"
    "                              картой\n"
    "  --decimal-separator S       один символ (по умолчанию: по-английски точка, иначе — из\n"
    "                              региональных настроек)\n"
    "  --json                      один объект JSON: criterion, result (found, no_way_message,\n"
    "                              unreached, looping_way, negative_cycle, negative_times,\n"
    "                              no_times), а если путь найден, way (Id, от начала), length_m,\n"
    "                              time_s, fare, fare_text, length_text, time_text, rides_text\n"
    "  --batch                     читает карту один раз, затем запросы «FROM_ID TO_ID [C]» по\n"
    "                              одному в строке со стандартного ввода и отвечает на каждый\n"
    "                              строкой JSON, как --json, с from и to; на неверную строку\n"
    "                              отвечает error и line (счёт с 1), и работа продолжается\n"
    "Код выхода 0 при любом ответе поиска; 2 при неверных аргументах, нечитаемом файле или вводе,\n"
    "неизвестном Id.\n"
    "\n"
    "По расписанию, лежащему рядом с картой (ФАЙЛ.gaft, см. gaftool build-timetable):\n"
    "       gaftool route ФАЙЛ ОТКУДА КУДА --depart \"[ГГГГ-ММ-ДД ]ЧЧ:ММ\" [--window MIN]\n"
    "                     [--change-time S] [--json]\n"
    "       gaftool route ФАЙЛ --batch --depart-lines [--window MIN] [--change-time S]\n"
    "  ОТКУДА, КУДА                Id остановки или точное название (все станции с ним)\n"
    "  --depart T                  поездки с отправлением в T или позже, по местному времени\n"
    "                              перевозчика (без даты — сегодня); каждая — лучшая по прибытию\n"
    "                              и числу поездок\n"
    "  --window MIN                все поездки с отправлением в пределах MIN минут от T, которых\n"
    "                              не опережает никакая другая, по порядку отправления\n"
    "  --change-time S             пересадка внутри станции, где расписание её не даёт (120)\n"
    "  --json                      {\"journeys\": [{departure, arrival, rides, legs: [{kind (ride\n"
    "                              или walk), route, headsign, from, to, departure, arrival}]}]}\n"
    "  --batch --depart-lines      «ОТКУДА<TAB>КУДА<TAB>ОТПРАВЛЕНИЕ» по строке со стандартного\n"
    "                              ввода, на каждую строка JSON с from, to и depart");

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
                return Messages::tr("--by: нужно shortest, fastest или changes");
        } else if (a == QLatin1String("--map-code")) {
            if (!value(v))
                return Messages::tr("--map-code: нужно значение");
            parsed.mapCode = v;
        } else if (a == QLatin1String("--map-city")) {
            if (!value(v))
                return Messages::tr("--map-city: нужно значение");
            parsed.mapCity = v;
        } else if (a == QLatin1String("--decimal-separator")) {
            if (!value(v) || v.size() != 1)
                return Messages::tr("--decimal-separator: нужен один символ");
            parsed.separator = v[0];
        } else if (a.startsWith(QLatin1String("--"))) {
            return Messages::tr("неизвестный ключ %1").arg(a);
        } else {
            positional << a;
        }
    }
    if (parsed.batch) {
        if (positional.size() != 1)
            return Messages::tr("с --batch ожидается один ФАЙЛ");
        if (parsed.json)
            return Messages::tr("--batch всегда отвечает в JSON; --json с ним не даётся");
        parsed.file = positional[0];
        return QString();
    }
    if (positional.size() != 3)
        return Messages::tr("ожидаются ФАЙЛ FROM_ID TO_ID");
    parsed.file = positional[0];
    const bool okFrom = readId(positional[1], &parsed.from);
    const bool okTo = readId(positional[2], &parsed.to);
    if (!okFrom || !okTo)
        return Messages::tr("FROM_ID и TO_ID должны быть целыми числами");
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
        return Messages::tr("Пути нет");
    case SearchOutcome::Unreached:
        return Messages::tr("Путь не найден: до конечной остановки не доехать");
    case SearchOutcome::LoopingWay:
        return Messages::tr("Путь не найден: отрицательные длины дорог замыкают путь в кольцо");
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
        o.insert("fare", report->fareKnown ? QJsonValue(report->fare) : QJsonValue());
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
        return Messages::tr("ожидается «FROM_ID TO_ID [критерий]»");
    int fromId = 0, toId = 0;
    if (!readId(fields[0], &fromId) || !readId(fields[1], &toId))
        return Messages::tr("номера остановок должны быть целыми числами");
    Criterion criterion = byDefault;
    if (fields.size() == 3 && !criterionFromName(fields[2], &criterion))
        return Messages::tr("неизвестный критерий «%1»: shortest, fastest или changes")
            .arg(fields[2]);
    const StopIndex from = byId.value(fromId, NoStop), to = byId.value(toId, NoStop);
    if (from == NoStop || to == NoStop)
        return Messages::tr("нет остановки с номером %1").arg(from != NoStop ? toId : fromId);
    if (from == to)
        return Messages::tr("начало и конец пути — одна и та же остановка");
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
        return failInput(Messages::tr("стандартный ввод"), Messages::tr("не читается"));
    return 0;
}

} // namespace

int cmdRoute(const QStringList& args) {
    if (wantsHelp(args)) {
        out(Messages::tr(kRouteUsage));
        return 0;
    }
    // JSON is the same in every language: its texts are the report's Russian ones.
    if (args.contains(QLatin1String("--json")) || args.contains(QLatin1String("--batch")))
        setLanguage(Language::Russian);
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
                Messages::tr("нет остановки с номером %1").arg(from != NoStop ? a.to : a.from));
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
        if (described == DescriptionRead::Read) {
            showOwnNames(map, description);
            context.description = std::move(description);
        }
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
        out(Messages::tr("Внимание: отрицательные длины дорог: путь может быть не кратчайшим"));
    out(Messages::tr("Стоимость пути: %1").arg(report->fareText));
    out(Messages::tr("Длина пути: %1").arg(report->lengthText));
    out(Messages::tr("Время в пути: %1").arg(report->timeText));
    out(Messages::tr("Проезд маршрутами :"));
    QStringList lines = report->ridesText.split(QLatin1Char('\r'));
    if (!lines.isEmpty() && lines.front().isEmpty())
        lines.removeFirst();
    for (const QString& line : lines)
        out(line);
    return 0;
}

// Journeys by the timetable.

namespace {} // namespace

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
            return Messages::tr("время «%1» не в виде «ГГГГ-ММ-ДД ЧЧ:ММ» или «ЧЧ:ММ»").arg(text);
        local = QDateTime(QDateTime::currentDateTimeUtc().toTimeZone(timetable.timeZone()).date(),
                          time);
    }
    const QDate day = local.date();
    if (day < timetable.firstDay() || day > timetable.lastDay())
        return Messages::tr("%1 вне периода расписания %2 — %3")
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
                return Messages::tr("--depart: нужно «ГГГГ-ММ-ДД ЧЧ:ММ» или «ЧЧ:ММ»");
            parsed.depart = args[++k];
        } else if (a == QLatin1String("--window")) {
            if (!number(1, 24 * 60, &parsed.window))
                return Messages::tr("--window: нужно минут от 1 до 1440");
        } else if (a == QLatin1String("--change-time")) {
            if (!number(0, 3600, &parsed.changeTime))
                return Messages::tr("--change-time: нужно секунд от 0 до 3600");
        } else if (a.startsWith(QLatin1String("--"))) {
            return QStringLiteral("%1 is not for journeys by the timetable").arg(a);
        } else {
            positional << a;
        }
    }
    if (parsed.batch != lines)
        return Messages::tr("--batch и --depart-lines даются вместе");
    if (parsed.batch) {
        if (positional.size() != 1 || !parsed.depart.isEmpty() || parsed.json)
            return Messages::tr("с --batch --depart-lines ожидается один ФАЙЛ");
        parsed.file = positional[0];
        return QString();
    }
    if (positional.size() != 3)
        return Messages::tr("ожидаются ФАЙЛ ОТКУДА КУДА");
    if (parsed.depart.isEmpty())
        return Messages::tr("--window и --change-time даются вместе с --depart");
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
            *error = Messages::tr("расписание не соответствует карте, поиск по нему выключен: %1")
                         .arg(mismatch);
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
        return found->empty() ? Messages::tr("нет остановки «%1» в расписании").arg(text)
                              : QString();
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
    return seconds < 60 ? Messages::tr("%1 с").arg(seconds)
                        : Messages::tr("%1 мин.").arg((seconds + 30) / 60);
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
        out(Messages::tr("Пути нет"));
        return;
    }
    const QDate day = QDateTime::fromSecsSinceEpoch(asked, t.timeZone()).date();
    for (const Journey& j : journeys) {
        out(Messages::tr("Отправление %1, прибытие %2, в пути %3, поездок: %4")
                .arg(clock(t, j.departure, day), clock(t, j.arrival, day),
                     duration(j.arrival - j.departure))
                .arg(j.rides));
        qint64 at = j.departure;
        for (const JourneyLeg& leg : j.legs) {
            if (leg.departure > at && at != j.departure)
                out(Messages::tr("  ожидание %1").arg(duration(leg.departure - at)));
            at = leg.arrival;
            const QString times =
                clock(t, leg.departure, day) + QStringLiteral("–") + clock(t, leg.arrival, day);
            if (leg.kind == JourneyLeg::Kind::Walk) {
                out(Messages::tr("  %1 пешком от %2 до %3, %4")
                        .arg(times, t.stationName(leg.from), t.stationName(leg.to),
                             duration(leg.arrival - leg.departure)));
                continue;
            }
            out(Messages::tr("  %1 маршрут %2 «%3»: от %4 до %5, остановок: %6")
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
        problem = Messages::tr("начало и конец пути — одна и та же остановка");
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
                                   : Messages::tr("ожидается «FROM<TAB>TO<TAB>DEPART»");
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
        return failInput(Messages::tr("стандартный ввод"), Messages::tr("не читается"));
    return 0;
}

} // namespace gaftool
