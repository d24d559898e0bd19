#include "model/graphmap.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace lirsk {

namespace {

// Lists up to this long are searched rather than indexed.
constexpr std::size_t kSearchedListLength = 64;

std::vector<int> idsOf(const GraphMap& map) {
    std::vector<int> ids;
    ids.reserve(std::size_t(map.stopCount()));
    for (const Stop& stop : map.stops())
        ids.push_back(stop.Id);
    return ids;
}

} // namespace

int LinkLookup::find(StopIndex from, StopIndex to) {
    const std::vector<Link>& links = m_map.stop(from).Links;
    if (links.size() <= kSearchedListLength) {
        for (std::size_t k = 0; k < links.size(); ++k)
            if (links[k].To == to)
                return int(k);
        return -1;
    }
    auto it = m_indexed.find(from);
    if (it == m_indexed.end()) {
        it = m_indexed.insert(from, {});
        it->reserve(qsizetype(links.size()));
        for (std::size_t k = links.size(); k-- > 0;)
            it->insert(links[k].To, int(k));
    }
    return it->value(to, -1);
}

StopIdLookup::StopIdLookup(const GraphMap& map) : StopIdLookup(idsOf(map)) {}

StopIdLookup::StopIdLookup(std::span<const int> ids) {
    int lowest = 0, highest = -1;
    for (const int id : ids) {
        lowest = std::min(lowest, id);
        highest = std::max(highest, id);
    }
    const qint64 n = qint64(ids.size());
    if (lowest >= 0 && qint64(highest) < 4 * n + 64) {
        m_dense.assign(std::size_t(highest) + 1, NoStop);
        for (std::size_t i = ids.size(); i-- > 0;)
            m_dense[std::size_t(ids[i])] = StopIndex(i);
        return;
    }
    m_sorted.reserve(ids.size());
    for (std::size_t i = 0; i < ids.size(); ++i)
        m_sorted.emplace_back(ids[i], StopIndex(i));
    std::sort(m_sorted.begin(), m_sorted.end());
}

StopIndex StopIdLookup::find(int id) const {
    if (!m_sorted.empty() || m_dense.empty()) {
        const auto it = std::lower_bound(m_sorted.begin(), m_sorted.end(),
                                         std::pair<int, StopIndex>(id, INT_MIN));
        return it != m_sorted.end() && it->first == id ? it->second : NoStop;
    }
    return id >= 0 && std::size_t(id) < m_dense.size() ? m_dense[std::size_t(id)] : NoStop;
}

QString noRoutesText() {
    return QStringLiteral("Маршруты не введены");
}

StopIndex GraphMap::AddStop(int x, int y, bool allocateId) {
    Stop stop;
    stop.Left = x;
    stop.Top = y;
    stop.Label.Left = saturatedSum(x, stop.Width);
    stop.Label.Top = y;
    if (m_stops.empty()) {
        stop.Id = 0;
        if (allocateId)
            MaxStopId = 0;
    } else if (allocateId) {
        stop.Id = AllocateStopId();
    }
    stop.Label.Caption = QString::number(stop.Id);
    stop.Routes = noRoutesText();
    m_stops.push_back(std::move(stop));
    return stopCount() - 1;
}

int GraphMap::AllocateStopId() {
    // The lowest id in 0..MaxStopId that no stop uses. Ids come from files too, so nothing here
    // is sized by MaxStopId, and an id above MaxStopId is never handed out again.
    std::vector<int> used;
    used.reserve(m_stops.size());
    for (const Stop& stop : m_stops)
        if (stop.Id >= 0 && stop.Id <= MaxStopId)
            used.push_back(stop.Id);
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
    for (const Stop& stop : m_stops)
        if (stop.Id >= candidate)
            above.push_back(stop.Id);
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

StopIndex GraphMap::FindStopById(int id) const {
    for (std::size_t i = 0; i < m_stops.size(); ++i)
        if (m_stops[i].Id == id)
            return StopIndex(i);
    return NoStop;
}

QHash<int, StopIndex> GraphMap::stopsById() const {
    QHash<int, StopIndex> byId;
    byId.reserve(stopCount());
    for (StopIndex i = stopCount() - 1; i >= 0; --i)
        byId[stop(i).Id] = i;
    return byId;
}

StopIndex GraphMap::FindStopAt(int x, int y) const {
    for (std::size_t i = 0; i < m_stops.size(); ++i) {
        const Stop& stop = m_stops[i];
        const qint64 left = stop.Left, top = stop.Top;
        if (left <= x && x <= left + stop.Width && top <= y && y <= top + stop.Height)
            return StopIndex(i);
    }
    return NoStop;
}

Link* GraphMap::FindLink(StopIndex from, StopIndex to) {
    const Link* found = std::as_const(*this).FindLink(from, to);
    if (!found)
        return nullptr;
    const std::ptrdiff_t at = found - stops()[std::size_t(from)].Links.data();
    return &stop(from).Links[std::size_t(at)];
}

const Link* GraphMap::FindLink(StopIndex from, StopIndex to) const {
    if (!isStop(from))
        return nullptr;
    for (const Link& link : stop(from).Links)
        if (link.To == to)
            return &link;
    return nullptr;
}

bool GraphMap::IsRoad(StopIndex a, StopIndex b) const {
    const Link* ab = FindLink(a, b);
    const Link* ba = FindLink(b, a);
    return ab && ba && ab->Length == ba->Length;
}

Link& GraphMap::AddLink(StopIndex from, StopIndex to, const RoadWeight& weight) {
    Link link;
    link.To = to;
    link.setWeight(weight);
    stop(from).Links.push_back(link);
    Link& added = stop(from).Links.back();
    if (Link* opposite = FindLink(to, from); opposite && opposite->Length == added.Length) {
        added.IsArc = false;
        opposite->IsArc = false;
    }
    return added;
}

bool GraphMap::RemoveLink(StopIndex from, StopIndex to) {
    std::vector<Link>& links = stop(from).Links;
    const auto it =
        std::find_if(links.begin(), links.end(), [to](const Link& l) { return l.To == to; });
    if (it == links.end())
        return false;
    links.erase(it);
    return true;
}

void GraphMap::UpdateArcFlags() {
    LinkLookup first(*this);
    for (StopIndex i = 0; i < stopCount(); ++i) {
        for (Link& link : stop(i).Links) {
            bool flag = true;
            if (const int at = first.find(link.To, i); at >= 0) {
                Link& opposite = stop(link.To).Links[std::size_t(at)];
                flag = link.Length != opposite.Length;
                opposite.IsArc = flag;
            }
            link.IsArc = flag;
        }
    }
}

void GraphMap::updateArcFlags(StopIndex a, StopIndex b) {
    // In list order of the two stops, as the whole walk meets their links.
    for (const StopIndex from : {std::min(a, b), std::max(a, b)}) {
        const StopIndex to = from == a ? b : a;
        for (Link& link : stop(from).Links) {
            if (link.To != to)
                continue;
            bool flag = true;
            if (Link* opposite = FindLink(to, from)) {
                flag = link.Length != opposite->Length;
                opposite->IsArc = flag;
            }
            link.IsArc = flag;
        }
        if (a == b)
            break;
    }
}

double GraphMap::cornerDistance(StopIndex from, StopIndex to) const {
    const double dx = double(stop(to).Left) - double(stop(from).Left);
    const double dy = double(stop(to).Top) - double(stop(from).Top);
    return std::nearbyint(std::sqrt(dx * dx + dy * dy));
}

int GraphMap::linkCount() const {
    std::size_t n = 0;
    for (const Stop& stop : m_stops)
        n += stop.Links.size();
    return int(n);
}

TakenStops GraphMap::takeStops(const std::vector<StopIndex>& indices) {
    TakenStops taken;
    if (indices.empty())
        return taken;
    std::vector<char> leaving(m_stops.size(), 0);
    for (const StopIndex i : indices)
        leaving[std::size_t(i)] = 1;

    // Every link that ends at a leaving stop, kept with its place in its list.
    const auto endsAtLeaving = [&](const Link& link) {
        return isStop(link.To) && leaving[std::size_t(link.To)];
    };
    for (StopIndex from = 0; from < stopCount(); ++from) {
        const std::vector<Link>& seen = m_stops[std::size_t(from)].Links;
        if (std::none_of(seen.begin(), seen.end(), endsAtLeaving))
            continue;
        std::vector<Link>& links = stop(from).Links;
        std::size_t kept = 0;
        for (std::size_t k = 0; k < links.size(); ++k) {
            if (endsAtLeaving(links[k]))
                taken.incoming.push_back({from, int(k), links[k]});
            else
                links[kept++] = links[k];
        }
        links.resize(kept);
    }

    // The stops that stay move down; every link follows its target.
    std::vector<StopIndex> newIndex(m_stops.size(), NoStop);
    std::size_t next = 0;
    for (std::size_t i = 0; i < m_stops.size(); ++i) {
        if (leaving[i]) {
            taken.stops.emplace_back(StopIndex(i), std::move(m_stops.mutableAt(i)));
            continue;
        }
        newIndex[i] = StopIndex(next);
        if (next != i)
            m_stops.mutableAt(next) = std::move(m_stops.mutableAt(i));
        ++next;
    }
    m_stops.shrink(next);
    const StopIndex firstMoved = indices.front();
    const auto renumber = [&](Stop& stop) {
        for (Link& link : stop.Links)
            if (link.To > firstMoved && link.To < StopIndex(newIndex.size()))
                link.To = newIndex[std::size_t(link.To)];
    };
    if (firstMoved + 1 < StopIndex(newIndex.size())) {
        for (std::size_t i = 0; i < m_stops.size(); ++i)
            renumber(m_stops.mutableAt(i));
        for (auto& [index, stop] : taken.stops)
            renumber(stop);
    }
    return taken;
}

void GraphMap::restoreStops(TakenStops taken) {
    if (taken.stops.empty())
        return;
    const std::size_t stayed = m_stops.size();
    const std::size_t total = stayed + taken.stops.size();
    // Where each stop that stayed was before the others were taken.
    std::vector<StopIndex> oldIndex;
    oldIndex.reserve(stayed);
    for (std::size_t i = 0, nextTaken = 0; i < total; ++i) {
        if (nextTaken < taken.stops.size() && taken.stops[nextTaken].first == StopIndex(i))
            ++nextTaken;
        else
            oldIndex.push_back(StopIndex(i));
    }
    // The list grows at its end and the stops that stayed move up, from the last, until the
    // first taken one is back.
    for (std::size_t k = stayed; k < total; ++k)
        m_stops.push_back(Stop());
    std::size_t nextTaken = taken.stops.size(), nextStayed = stayed;
    for (std::size_t i = total; nextTaken > 0;) {
        --i;
        if (taken.stops[nextTaken - 1].first == StopIndex(i))
            m_stops.mutableAt(i) = std::move(taken.stops[--nextTaken].second);
        else
            m_stops.mutableAt(i) = std::move(m_stops.mutableAt(--nextStayed));
    }
    const StopIndex firstMoved = taken.stops.front().first;
    if (firstMoved + 1 < StopIndex(total))
        for (std::size_t i = 0; i < total; ++i)
            for (Link& link : m_stops.mutableAt(i).Links)
                if (link.To >= firstMoved && link.To < StopIndex(oldIndex.size()))
                    link.To = oldIndex[std::size_t(link.To)];
    // Each source list gets its links back lowest place first, so every place is as it was.
    for (TakenStops::IncomingLink& in : taken.incoming) {
        std::vector<Link>& links = stop(in.from).Links;
        links.insert(links.begin() + in.at, in.link);
    }
}

void GraphMap::DeleteStop(StopIndex index) {
    takeStops({index});
    UpdateArcFlags();
}

} // namespace lirsk
