#pragma once

// What a map window must hold after any step: marks on stops of the map and counted, links that
// end on the map, fresh arc flags, and a stop list with a row for every stop.

#include "app/mapwindow.h"
#include "app/stoppanel.h"
#include "model/graphmap.h"

#include <QAbstractItemModel>
#include <QListView>

#include <set>

namespace edittest {

using namespace lirsk;

// What is wrong with the map and its window, or nothing.
inline QString fault(MapWindow* child) {
    const GraphMap& map = child->Map();
    const StopSelection& marks = child->document().selection();
    if (!marks.isEmpty() && (marks.stops().front() < 0 || marks.stops().back() >= map.stopCount()))
        return QStringLiteral("a mark on a stop that is not on the map");
    if (child->editor().SelectedCount() != marks.count())
        return QStringLiteral("%1 stops counted as marked, %2 are")
            .arg(child->editor().SelectedCount())
            .arg(marks.count());
    for (StopIndex i = 0; i < map.stopCount(); ++i) {
        const Stop& s = map.stop(i);
        std::set<StopIndex> targets;
        for (const Link& l : s.Links) {
            if (l.To == i)
                return QStringLiteral("stop %1 links to itself").arg(s.Id);
            if (!map.isStop(l.To))
                return QStringLiteral("stop %1 links to a stop not on the map").arg(s.Id);
            if (!targets.insert(l.To).second)
                return QStringLiteral("stop %1 has two links to stop %2")
                    .arg(s.Id)
                    .arg(map.stop(l.To).Id);
            const Link* back = map.FindLink(l.To, i);
            if (l.IsArc != (!back || back->Length != l.Length))
                return QStringLiteral("the arc flag of %1>%2 is stale")
                    .arg(s.Id)
                    .arg(map.stop(l.To).Id);
        }
    }
    const QAbstractItemModel* list = child->stopList->model();
    if (list->rowCount() != map.stopCount())
        return QStringLiteral("the stop list has %1 rows for %2 stops")
            .arg(list->rowCount())
            .arg(map.stopCount());
    for (int k = 0; k < map.stopCount(); ++k) {
        if (child->stopPanel()->stopAt(k) != k ||
            list->index(k, 0).data().toString() != map.stop(k).Label.Caption)
            return QStringLiteral("row %1 of the stop list is not the stop's row").arg(k + 1);
    }
    return {};
}

} // namespace edittest
