#include "app/wayplanner.h"

#include "model/numberformat.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

using namespace lirsk;

constexpr Criterion kCriteria[] = {Criterion::Shortest, Criterion::Fastest,
                                   Criterion::FewestChanges};

} // namespace

// Lives on the planner's thread; keeps the indexes of the last map searched.
class WayPlanner::Worker : public QObject {
public:
    WayPlan run(int ticket, const std::atomic<int>& latest,
                const std::shared_ptr<const GraphMap>& map,
                const std::optional<MapDescription>& description, StopIndex start, StopIndex finish,
                QChar decimalSeparator) {
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
        for (const Criterion criterion : kCriteria) {
            if (latest.load() != ticket)
                return plan;
            const CriterionResult result = m_search->search(criterion, start, finish);
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
        // What the shortest search says is said even when the others found a way.
        plan.failure = shortestFailure.isEmpty() && plan.ways.empty()
                           ? QCoreApplication::translate("WayPlanner", "Пути нет")
                           : shortestFailure;
        return plan;
    }

private:
    std::shared_ptr<const GraphMap> m_map;
    std::unique_ptr<WaySearch> m_search;
};

WayPlanner::WayPlanner(QObject* parent)
    : QObject(parent), m_worker(new Worker), m_latest(std::make_shared<std::atomic<int>>(0)) {
    qRegisterMetaType<WayPlan>();
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
                     StopIndex start, StopIndex finish) {
    const int ticket = ++*m_latest;
    const QChar separator = localeDecimalSeparator();
    QMetaObject::invokeMethod(
        m_worker,
        [this, worker = m_worker, latest = m_latest, ticket, map = std::move(map),
         description = std::move(description), start, finish, separator] {
            if (latest->load() != ticket)
                return;
            WayPlan plan = worker->run(ticket, *latest, map, description, start, finish, separator);
            if (latest->load() != ticket)
                return;
            // Told on the planner's own thread; dropped if the planner is gone by then.
            QMetaObject::invokeMethod(
                this,
                [this, latest, plan = std::move(plan)] {
                    if (latest->load() == plan.ticket)
                        emit planned(plan);
                },
                Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
    return ticket;
}

void WayPlanner::cancel() {
    ++*m_latest;
}
