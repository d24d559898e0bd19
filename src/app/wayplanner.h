#pragma once

#include "document/mapdocument.h"
#include "route/criteria.h"
#include "route/report.h"

#include <QList>
#include <QObject>
#include <QThread>

#include <atomic>
#include <memory>
#include <optional>
#include <vector>

// One way between two stops and the criteria that found it (several when their ways are the
// same), with its report.
struct PlannedWay {
    QList<lirsk::Criterion> criteria; // shortest, fastest, fewest changes: in this order
    lirsk::FoundWay way;
    lirsk::RouteReport report;
};

// One journey by the timetable, with its way on the map and its report (fare, length).
struct PlannedJourney {
    lirsk::Journey journey;
    lirsk::FoundWay way;
    lirsk::RouteReport report;
};

// What to look for in a map's timetable: the journeys between two stations leaving in the
// departures after a moment (or, for the page before, in those before it).
struct JourneyRequest {
    // A copy of the document's (made once for all the searches of one timetable).
    std::shared_ptr<const lirsk::Timetable> timetable;
    int from = -1, to = -1; // stations
    qint64 departure = 0;   // seconds since the epoch
    bool earlier = false;
};

// The journeys of three departures that no other in them beats (leaves no earlier, arrives no
// later, with no more rides), earliest departure first.
struct JourneyPage {
    static constexpr int kDepartures = 3;

    int ticket = 0;
    qint64 asked = 0; // the request's departure
    bool earlier = false;
    std::shared_ptr<const lirsk::Timetable> timetable; // the journeys'
    std::vector<PlannedJourney> journeys;
    // Why there are none.
    QString failure;
};
Q_DECLARE_METATYPE(JourneyPage)

// A search by one criterion already made on the same map between the same stops.
struct KnownSearch {
    lirsk::Criterion criterion;
    lirsk::CriterionResult result;
};

// The ways between two stops by every criterion, each way once; told after each criterion, the
// last time complete.
struct WayPlan {
    int ticket = 0;
    bool complete = true;
    lirsk::StopIndex start = lirsk::NoStop;
    lirsk::StopIndex finish = lirsk::NoStop;
    std::vector<PlannedWay> ways;
    // Why the shortest search found no way ("Пути нет" when no search found one).
    QString failure;
};
Q_DECLARE_METATYPE(WayPlan)

// Finds the ways of every criterion, and pages of journeys by the timetable, on a thread of its
// own, on a copy of the map that stays as it was when the search was asked for. A new search makes
// the answer of the one of its kind before never come: the thread leaves it between two criteria,
// or between two widenings of the departures looked at.
class WayPlanner : public QObject {
    Q_OBJECT
public:
    explicit WayPlanner(QObject* parent = nullptr);
    ~WayPlanner() override;

    // Starts a search (taking the known one's result for its criterion); its ticket comes back
    // with the answer.
    int plan(std::shared_ptr<const lirsk::GraphMap> map,
             std::optional<lirsk::MapDescription> description, lirsk::StopIndex start,
             lirsk::StopIndex finish, std::optional<KnownSearch> known = std::nullopt);
    // Starts a search for a page of journeys; its ticket comes back with the answer.
    int page(std::shared_ptr<const lirsk::GraphMap> map,
             std::optional<lirsk::MapDescription> description, JourneyRequest request);
    // No answer comes for the searches of either kind asked for so far.
    void cancel();
    // What a plan says when no search found a way.
    static QString noWayText();

signals:
    void planned(const WayPlan& plan);
    void paged(const JourneyPage& page);

private:
    class Worker;
    QThread m_thread;
    Worker* m_worker;
    std::shared_ptr<std::atomic<int>> m_latest;
    std::shared_ptr<std::atomic<int>> m_latestPage;
};
