#pragma once

#include "model/graphmap.h"
#include "model/mapdescription.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

// The lines of a map whose description says which routes run over each link: every pair of
// neighbouring stops gets the routes of both its links, drawn side by side in an order that
// keeps a route on the same side from link to link and makes routes cross where they must part.

namespace lirsk {

// The routes over the link or road between two stops, from left to right as seen going from
// `a` to `b` (routes are rows of the description's route table).
struct LineBundle {
    StopIndex a = NoStop;
    StopIndex b = NoStop;
    std::vector<int> routes;
};

class LineBundles {
public:
    LineBundles() = default;
    // The bundles of the map's links that the description lists; links added since, and maps
    // whose description lists none, have none.
    LineBundles(const GraphMap& map, const MapDescription& description);

    bool empty() const { return m_bundles.empty(); }
    const std::vector<LineBundle>& bundles() const { return m_bundles; }
    // The bundle between two stops (either way round), or -1. An express's bundle drawn along
    // the stopping lines' links has no routes of its own.
    int find(StopIndex x, StopIndex y) const;
    // The stations between two stops that the link between them is drawn through, in order from
    // `from` (none for a link drawn straight).
    std::vector<StopIndex> drawnThrough(StopIndex from, StopIndex to) const;
    // The bundles that meet at a stop.
    const std::vector<int>& at(StopIndex stop) const;
    // The most routes side by side at a stop (0 for a stop no line serves).
    int widthAt(StopIndex stop) const;
    Colour colour(int route) const;

private:
    void drawExpressAlongLocal(const GraphMap& map);
    std::vector<int> localChain(const GraphMap& map, int k, double length,
                                const std::vector<bool>& alongOthers) const;
    void order(const GraphMap& map, LineBundle& bundle) const;
    int compare(const GraphMap& map, const LineBundle& bundle, int r1, int r2) const;
    int splitSide(const GraphMap& map, int bundle, StopIndex from, StopIndex to, int r1,
                  int r2) const;
    bool carries(int bundle, int route) const;

    std::vector<LineBundle> m_bundles;
    std::unordered_map<std::uint64_t, int> m_byPair;
    std::vector<std::vector<int>> m_atStop;
    std::vector<Colour> m_colours;
    // The express bundles drawn along others: the stations they pass, from a to b.
    std::unordered_map<int, std::vector<StopIndex>> m_through;
};

} // namespace lirsk
