#pragma once

// What a map window must hold after any step: marks drawn and counted, links that start at their
// stop and end on the map, fresh arc flags, and a stop list with a row for every stop.

#include "app/mapwindow.h"
#include "app/stoppanel.h"
#include "model/graphmap.h"

#include <QAbstractItemModel>
#include <QListView>

#include <set>

namespace edittest {

using namespace lirsk;

// What is wrong with the map and its window, or nothing.
inline QString fault(MapWindow* child, bool idsListed) {
    const GraphMap& map = child->Map();
    int marked = 0;
    for (const auto& s : map.stops()) {
        marked += s->Selected;
        if (s->Selected != (s->FillColor == SelectionColor))
            return QStringLiteral("stop %1 is drawn marked but is not, or the reverse").arg(s->Id);
        std::set<StopRef> targets;
        for (const auto& l : s->Links) {
            if (l->From != s.get())
                return QStringLiteral("a link of stop %1 starts elsewhere").arg(s->Id);
            if (l->To == s.get())
                return QStringLiteral("stop %1 links to itself").arg(s->Id);
            if (map.indexOf(l->To) < 0)
                return QStringLiteral("stop %1 links to a stop not on the map").arg(s->Id);
            if (!targets.insert(l->To).second)
                return QStringLiteral("stop %1 has two links to stop %2").arg(s->Id).arg(l->To->Id);
            const Link* back = GraphMap::FindLink(l->To, s.get());
            if (l->IsArc != (!back || back->Length != l->Length))
                return QStringLiteral("the arc flag of %1>%2 is stale").arg(s->Id).arg(l->To->Id);
        }
    }
    if (map.SelectedCount != marked || child->editor().SelectedCount() != marked)
        return QStringLiteral("%1 stops counted as marked, %2 are")
            .arg(map.SelectedCount)
            .arg(marked);
    if (map.StopRows.size() != map.stopCount() || map.StopIds.size() != map.stopCount())
        return QStringLiteral("the stop list has %1 rows and %2 ids for %3 stops")
            .arg(map.StopRows.size())
            .arg(map.StopIds.size())
            .arg(map.stopCount());
    const QAbstractItemModel* list = child->stopList->model();
    if (list->rowCount() != map.stopCount())
        return QStringLiteral("the stop list has %1 rows for %2 stops")
            .arg(list->rowCount())
            .arg(map.stopCount());
    for (int k = 0; k < map.stopCount(); ++k) {
        if (child->stopPanel()->stopAt(k) != map.stops()[k].get() ||
            list->index(k, 0).data().toString() != map.stops()[k]->Label.Caption)
            return QStringLiteral("row %1 of the stop list is not the stop's row").arg(k + 1);
        if (idsListed && map.StopIds[k] != QString::number(map.stops()[k]->Id))
            return QStringLiteral("row %1 of the stop list holds another stop's id").arg(k + 1);
    }
    return {};
}

} // namespace edittest
