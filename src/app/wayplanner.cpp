#include "app/wayplanner.h"

#include "model/numberformat.h"

#include <QCoreApplication>
#include <QDateTime>

#include <algorithm>
#include <functional>

namespace {

using namespace lirsk;

constexpr Criterion kCriteria[] = {Criterion::Shortest, Criterion::Fastest,
                                   Criterion::FewestChanges};

// The departures a page looks at, in minutes: widened until it holds enough of them.
constexpr int kPageWindows[] = {60, 240, 24 * 60};

// The journeys of the first (or, earlier, the last) few departures among journeys ordered by
// departure.
std::vector<Journey> firstDepartures(std::vector<Journey> journeys, bool last, int departures) {
    if (last)
        std::reverse(journeys.begin(), journeys.end());
    std::size_t kept = 0;
    for (int seen = 0; kept < journeys.size(); ++kept)
        if ((kept == 0 || journeys[kept].departure != journeys[kept - 1].departure) &&
            ++seen > departures)
            break;
    journeys.resize(kept);
    if (last)
        std::reverse(journeys.begin(), journeys.end());
    return journeys;
}

int departureCount(const std::vector<Journey>& journeys) {
    int count = 0;
    for (std::size_t i = 0; i < journeys.size(); ++i)
        count += i == 0 || journeys[i].departure != journeys[i - 1].departure;
    return count;
}

// Tells an answer on the planner's thread unless a newer ticket of its kind came meanwhile (and
// not at all once the planner is gone).
template <typename Answer, typename Tell>
void tellLatest(QObject* planner, const std::shared_ptr<std::atomic<int>>& latest, int ticket,
                Answer answer, const Tell& tell) {
    if (latest->load() != ticket)
        return;
    QMetaObject::invokeMethod(
        planner,
        [latest, ticket, tell, answer = std::move(answer)] {
            if (latest->load() == ticket)
                tell(answer);
        },
        Qt::QueuedConnection);
}

// Runs the work on the worker's thread unless a newer ticket of its kind came first; the work is
// given a callback for the answers it has so far, and its result is the last answer.
template <typename Work, typename Tell>
void runLatest(QObject* worker, QObject* planner, std::shared_ptr<std::atomic<int>> latest,
               int ticket, Work work, Tell tell) {
    QMetaObject::invokeMethod(
        worker,
        [planner, latest, ticket, work = std::move(work), tell = std::move(tell)] {
            if (latest->load() != ticket)
                return;
            tellLatest(planner, latest, ticket, work([&](const auto& soFar) {
                           tellLatest(planner, latest, ticket, soFar, tell);
                       }),
                       tell);
        },
        Qt::QueuedConnection);
}

} // namespace

// Lives on the planner's thread; keeps the indexes of the last map and timetable searched.
class WayPlanner::Worker : public QObject {
public:
    // Tells the ways found so far after each criterion but the last.
    WayPlan run(int ticket, const std::atomic<int>& latest,
                const std::shared_ptr<const GraphMap>& map,
                const std::optional<MapDescription>& description, StopIndex start, StopIndex finish,
                const std::optional<KnownSearch>& known, QChar decimalSeparator,
                const std::function<void(const WayPlan&)>& tellSoFar) {
        WayPlan plan;
        plan.ticket = ticket;
        plan.start = start;
        plan.finish = finish;
        if (map != m_map) {
            m_search.reset();
            m_map = map;
            m_search = std::make_unique<WaySearch>(*m_map);
        }
        QString shortestFailure;
        plan.complete = false;
        for (const Criterion criterion : kCriteria) {
            if (latest.load() != ticket)
                return plan;
            if (criterion != kCriteria[0] && !plan.ways.empty())
                tellSoFar(plan);
            const CriterionResult result = known && known->criterion == criterion
                                               ? known->result
                                               : m_search->search(criterion, start, finish);
            if (result.found.outcome != SearchOutcome::Found || result.refusal != Refusal::None) {
                if (criterion == Criterion::Shortest)
                    shortestFailure = failureText(criterion, result);
                continue;
            }
            const auto same = std::find_if(plan.ways.begin(), plan.ways.end(), [&](const auto& w) {
                return w.way.stops == result.found.way;
            });
            if (same != plan.ways.end()) {
                same->criteria.append(criterion);
                continue;
            }
            PlannedWay way;
            way.criteria = {criterion};
            way.way = {result.found.way, result.found.length, result.found.time};
            way.report = description
                             ? BuildRouteReport(*m_map, way.way.stops, way.way.length, way.way.time,
                                                *description, decimalSeparator)
                             : BuildRouteReport(*m_map, way.way.stops, way.way.length, way.way.time,
                                                m_map->MapCode, m_map->MapCity, decimalSeparator);
            plan.ways.push_back(std::move(way));
        }
        plan.complete = true;
        // What the shortest search says is said even when the others found a way.
        plan.failure =
            shortestFailure.isEmpty() && plan.ways.empty() ? noWayText() : shortestFailure;
        return plan;
    }

    JourneyPage runPage(int ticket, const std::atomic<int>& latest, const GraphMap& map,
                        const MapDescription& description, const JourneyRequest& request,
                        QChar decimalSeparator) {
        JourneyPage page;
        page.ticket = ticket;
        page.asked = request.departure;
        page.earlier = request.earlier;
        page.timetable = request.timetable;
        if (m_timetable != request.timetable) {
            m_journeySearch.reset();
            m_timetable = request.timetable;
            m_journeySearch = std::make_unique<JourneySearch>(*m_timetable);
        }
        const Timetable& timetable = *m_timetable;
        JourneyQuery query;
        query.from = {request.from};
        query.to = {request.to};
        std::vector<Journey> found;
        int window = 0;
        for (const int minutes : kPageWindows) {
            if (latest.load() != ticket)
                return page;
            window = minutes;
            query.windowMinutes = minutes;
            query.departure =
                request.earlier ? request.departure - qint64(minutes) * 60 : request.departure;
            found = m_journeySearch->search(query);
            if (departureCount(found) >= JourneyPage::kDepartures)
                break;
        }
        found = firstDepartures(std::move(found), request.earlier, JourneyPage::kDepartures);
        for (const Journey& journey : found) {
            const JourneyWay way = journeyWay(map, timetable, journey);
            page.journeys.push_back(
                {journey,
                 {way.stops, way.length, way.time},
                 BuildJourneyReport(map, timetable, journey, description, decimalSeparator)});
        }
        if (page.journeys.empty()) {
            const QString from =
                QDateTime::fromSecsSinceEpoch(request.departure, timetable.timeZone())
                    .toString(QStringLiteral("dd.MM.yyyy HH:mm"));
            page.failure =
                request.earlier
                    ? QCoreApplication::translate("WayPlanner", "Раньше %1 за %2 ч поездок нет.")
                          .arg(from)
                          .arg(window / 60)
                    : QCoreApplication::translate(
                          "WayPlanner", "Пути нет: по расписанию не доехать за сутки от %1.")
                          .arg(from);
        }
        return page;
    }

private:
    std::shared_ptr<const GraphMap> m_map;
    std::unique_ptr<WaySearch> m_search;
    std::shared_ptr<const Timetable> m_timetable;
    std::unique_ptr<JourneySearch> m_journeySearch;
};

WayPlanner::WayPlanner(QObject* parent)
    : QObject(parent), m_worker(new Worker), m_latest(std::make_shared<std::atomic<int>>(0)),
      m_latestPage(std::make_shared<std::atomic<int>>(0)) {
    qRegisterMetaType<WayPlan>();
    qRegisterMetaType<JourneyPage>();
    m_worker->moveToThread(&m_thread);
    m_thread.start();
}

WayPlanner::~WayPlanner() {
    cancel();
    m_thread.quit();
    m_thread.wait();
    delete m_worker;
}

int WayPlanner::plan(std::shared_ptr<const GraphMap> map, std::optional<MapDescription> description,
                     StopIndex start, StopIndex finish, std::optional<KnownSearch> known) {
    const int ticket = ++*m_latest;
    const QChar separator = localeDecimalSeparator();
    runLatest(
        m_worker, this, m_latest, ticket,
        [worker = m_worker, latest = m_latest, ticket, map = std::move(map),
         description = std::move(description), start, finish, known = std::move(known),
         separator](const std::function<void(const WayPlan&)>& tellSoFar) {
            return worker->run(ticket, *latest, map, description, start, finish, known, separator,
                               tellSoFar);
        },
        [this](const WayPlan& plan) { emit planned(plan); });
    return ticket;
}

int WayPlanner::page(std::shared_ptr<const GraphMap> map, std::optional<MapDescription> description,
                     JourneyRequest request) {
    const int ticket = ++*m_latestPage;
    const QChar separator = localeDecimalSeparator();
    runLatest(
        m_worker, this, m_latestPage, ticket,
        [worker = m_worker, latest = m_latestPage, ticket, map = std::move(map),
         description = description.value_or(MapDescription()), request = std::move(request),
         separator](const auto&) {
            return worker->runPage(ticket, *latest, *map, description, request, separator);
        },
        [this](const JourneyPage& page) { emit paged(page); });
    return ticket;
}

QString WayPlanner::noWayText() {
    return QCoreApplication::translate("WayPlanner", "Пути нет");
}

void WayPlanner::cancel() {
    ++*m_latest;
    ++*m_latestPage;
}
