#include "model/graphmap.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace lirsk {

QString noRoutesText() {
    return QStringLiteral("Маршруты не введены");
}

GraphMap::~GraphMap() {
    // Clear the links first so that no Link outlives the stop it points to during destruction.
    for (auto& stop : stops_)
        stop->Links.clear();
}

int GraphMap::indexOf(StopRef stop) const {
    for (std::size_t i = 0; i < stops_.size(); ++i)
        if (stops_[i].get() == stop)
            return int(i);
    return -1;
}

StopRef GraphMap::next(StopRef stop) const {
    const int i = indexOf(stop);
    if (i < 0 || i + 1 >= stopCount())
        return nullptr;
    return stops_[std::size_t(i) + 1].get();
}

void GraphMap::redraw(bool withStatus) {
    if (Ready && hooks_)
        hooks_->redrawMap(withStatus);
}

StopRef GraphMap::AddStop(int x, int y, int listId, const QString& name, bool allocateId) {
    auto owned = std::make_unique<Stop>();
    StopRef stop = owned.get();
    stop->Left = x;
    stop->Top = y;
    stop->Label.Left = int(std::clamp<qint64>(qint64(x) + stop->Width, INT_MIN, INT_MAX));
    stop->Label.Top = y;

    if (stops_.empty()) {
        stops_.push_back(std::move(owned));
        stop->Id = 0;
        if (allocateId)
            MaxStopId = 0;
    } else {
        // The new stop still has Id -1 here, so it takes no part in the allocation.
        stops_.push_back(std::move(owned));
        if (allocateId)
            stop->Id = AllocateStopId();
    }
    stop->Label.Caption = QString::number(stop->Id);
    stop->Routes = noRoutesText();

    redraw(false);

    const QString rowName = name.isEmpty() ? stop->Label.Caption : name;
    if (listId == -1)
        listId = stop->Id;
    StopRows.append(rowName);
    StopIds.append(QString::number(listId));
    if (hooks_)
        hooks_->stopRowAdded(int(StopRows.size()), rowName);
    return stop;
}

int GraphMap::AllocateStopId() {
    // The lowest id in 0..MaxStopId that no stop uses. Ids come from files too, so nothing here
    // is sized by MaxStopId, and an id above MaxStopId is never handed out again.
    std::vector<int> used;
    used.reserve(stops_.size());
    for (const auto& stop : stops_)
        if (stop->Id >= 0 && stop->Id <= MaxStopId)
            used.push_back(stop->Id);
    std::sort(used.begin(), used.end());
    used.erase(std::unique(used.begin(), used.end()), used.end());
    int candidate = 0;
    for (int id : used) {
        if (id != candidate)
            break;
        ++candidate;
    }
    if (candidate <= MaxStopId)
        return candidate;

    // Every id up to MaxStopId is taken: raise it past any stop that already holds the next id.
    candidate = std::max(MaxStopId, -1) + 1;
    std::vector<int> above;
    for (const auto& stop : stops_)
        if (stop->Id >= candidate)
            above.push_back(stop->Id);
    std::sort(above.begin(), above.end());
    for (int id : above) {
        if (id == candidate)
            ++candidate;
        else if (id > candidate)
            break;
    }
    MaxStopId = candidate;
    return candidate;
}

StopRef GraphMap::FindStopById(int id) const {
    for (const auto& stop : stops_)
        if (stop->Id == id)
            return stop.get();
    return nullptr;
}

QHash<int, StopRef> GraphMap::stopsById() const {
    QHash<int, StopRef> byId;
    byId.reserve(stopCount());
    for (auto it = stops_.rbegin(); it != stops_.rend(); ++it)
        byId[(*it)->Id] = it->get();
    return byId;
}

StopRef GraphMap::FindStopAt(int x, int y) const {
    for (const auto& stop : stops_) {
        const qint64 left = stop->Left, top = stop->Top;
        if (left <= x && x <= left + stop->Width && top <= y && y <= top + stop->Height)
            return stop.get();
    }
    return nullptr;
}

StopRef GraphMap::FindPrevStop(int id) const {
    for (std::size_t i = 1; i < stops_.size(); ++i)
        if (stops_[i]->Id == id)
            return stops_[i - 1].get();
    return nullptr;
}

Link* GraphMap::FindLink(StopRef from, StopRef to) {
    if (!from)
        return nullptr;
    for (const auto& link : from->Links)
        if (link->To == to)
            return link.get();
    return nullptr;
}

bool GraphMap::IsRoad(StopRef a, StopRef b) {
    const Link* ab = FindLink(a, b);
    const Link* ba = FindLink(b, a);
    return ab && ba && ab->Length == ba->Length;
}

Link* GraphMap::AddLink(StopRef from, StopRef to) {
    auto owned = std::make_unique<Link>();
    Link* link = owned.get();
    link->From = from;
    link->To = to;
    from->Links.push_back(std::move(owned));

    if (Settings.UserWeights) {
        EditLinkWeights(link, true);
    } else {
        const double dx = double(to->Left) - double(from->Left);
        const double dy = double(to->Top) - double(from->Top);
        link->Length = std::nearbyint(std::sqrt(dx * dx + dy * dy));
    }
    // A loader fills a map that is not ready and sets every arc flag at the end.
    if (!Ready)
        return link;

    Link* opposite = FindLink(to, from);
    if (!opposite) {
        if (Ready && hooks_)
            hooks_->drawLink(*link);
    } else if (opposite->Length == link->Length) {
        link->IsArc = false;
        opposite->IsArc = false;
    }
    return link;
}

void GraphMap::EditLinkWeights(Link* link, bool redrawAfter) {
    if (!hooks_)
        return;
    const std::optional<RoadWeight> answer = hooks_->askLinkWeights(link->weight());
    if (!answer)
        return;
    link->setWeight(*answer);
    if (Link* opposite = FindLink(link->To, link->From)) {
        const bool differ = link->Length != opposite->Length;
        link->IsArc = differ;
        opposite->IsArc = differ;
    }
    if (redrawAfter)
        redraw(false);
}

Link* GraphMap::RemoveLink(StopRef from, StopRef to) {
    auto& links = from->Links;
    for (auto it = links.begin(); it != links.end(); ++it) {
        if ((*it)->To == to) {
            it = links.erase(it);
            return it == links.end() ? nullptr : it->get();
        }
    }
    return nullptr;
}

LinkIndex GraphMap::firstLinks() const {
    LinkIndex first;
    first.reserve(linkCount());
    for (const auto& stop : stops_)
        for (const auto& link : stop->Links)
            if (Link*& slot = first[{stop.get(), link->To}]; !slot)
                slot = link.get();
    return first;
}

void GraphMap::UpdateArcFlags() {
    const LinkIndex first = firstLinks();
    for (const auto& stop : stops_) {
        for (const auto& link : stop->Links) {
            bool flag = true;
            if (Link* opposite = first.value({link->To, link->From}, nullptr)) {
                flag = link->Length != opposite->Length;
                opposite->IsArc = flag;
            }
            link->IsArc = flag;
        }
    }
}

void GraphMap::FreeStops() {
    for (auto& stop : stops_)
        stop->Links.clear();
    stops_.clear();
    SelectedCount = 0;
    while (!StopRows.isEmpty()) {
        const int row = int(StopRows.size());
        StopRows.removeLast();
        StopIds.removeLast();
        if (hooks_)
            hooks_->stopRowRemoved(row);
    }
}

void GraphMap::DeleteStop(StopRef stop) {
    const int pos = int(StopIds.indexOf(QString::number(stop->Id)));

    stop->Links.clear();
    for (const auto& other : stops_) {
        auto& links = other->Links;
        links.erase(
            std::remove_if(links.begin(), links.end(),
                           [stop](const std::unique_ptr<Link>& l) { return l->To == stop; }),
            links.end());
    }
    if (stop->Selected)
        --SelectedCount;
    const int index = indexOf(stop);
    if (index >= 0)
        stops_.erase(stops_.begin() + index);

    UpdateArcFlags();
    redraw(false);

    if (pos >= 0) {
        StopRows.removeAt(pos);
        StopIds.removeAt(pos);
        if (hooks_)
            hooks_->stopRowRemoved(pos + 1);
    }
}

TakenStop GraphMap::takeStop(StopRef stop) {
    TakenStop taken;
    taken.row = int(StopIds.indexOf(QString::number(stop->Id)));
    if (taken.row >= 0) {
        taken.rowName = StopRows[taken.row];
        taken.rowId = StopIds[taken.row];
    }
    for (const auto& other : stops_) {
        auto& links = other->Links;
        int kept = 0;
        for (int i = 0; i < int(links.size()); ++i) {
            if (links[std::size_t(i)]->To == stop)
                taken.incoming.push_back({other.get(), i, std::move(links[std::size_t(i)])});
            else
                links[std::size_t(kept++)] = std::move(links[std::size_t(i)]);
        }
        links.resize(std::size_t(kept));
    }
    if (stop->Selected) {
        stop->FillColor = stop->Color;
        stop->Selected = false;
        --SelectedCount;
    }
    taken.index = indexOf(stop);
    taken.stop = std::move(stops_[std::size_t(taken.index)]);
    stops_.erase(stops_.begin() + taken.index);

    if (taken.row >= 0) {
        StopRows.removeAt(taken.row);
        StopIds.removeAt(taken.row);
        if (hooks_)
            hooks_->stopRowRemoved(taken.row + 1);
    }
    return taken;
}

void GraphMap::restoreStop(TakenStop taken) {
    if (taken.row >= 0) {
        StopRows.insert(taken.row, taken.rowName);
        StopIds.insert(taken.row, taken.rowId);
    }
    stops_.insert(stops_.begin() + taken.index, std::move(taken.stop));
    // Each source list gets its links back lowest index first, so every index is as it was.
    for (TakenStop::IncomingLink& in : taken.incoming)
        in.from->Links.insert(in.from->Links.begin() + in.index, std::move(in.link));
}

int GraphMap::linkCount() const {
    int n = 0;
    for (const auto& stop : stops_)
        n += int(stop->Links.size());
    return n;
}

} // namespace lirsk
