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

// The ways between two stops by every criterion, each way once.
struct WayPlan {
    int ticket = 0;
    lirsk::StopIndex start = lirsk::NoStop;
    lirsk::StopIndex finish = lirsk::NoStop;
    std::vector<PlannedWay> ways;
    // Why the shortest search found no way ("Пути нет" when no search found one).
    QString failure;
};
Q_DECLARE_METATYPE(WayPlan)

// Finds the ways of every criterion on a thread of its own, on a copy of the map that stays as it
// was when the search was asked for. A new search makes the answer of the one before never come:
// the thread leaves it between two criteria.
class WayPlanner : public QObject {
    Q_OBJECT
public:
    explicit WayPlanner(QObject* parent = nullptr);
    ~WayPlanner() override;

    // Starts a search; its ticket comes back with the answer.
    int plan(std::shared_ptr<const lirsk::GraphMap> map,
             std::optional<lirsk::MapDescription> description, lirsk::StopIndex start,
             lirsk::StopIndex finish);
    // No answer comes for the searches asked for so far.
    void cancel();

signals:
    void planned(const WayPlan& plan);

private:
    class Worker;
    QThread m_thread;
    Worker* m_worker;
    std::shared_ptr<std::atomic<int>> m_latest;
};
