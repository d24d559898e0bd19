#pragma once

#include "model/chunkedlist.h"

#include <QHash>
#include <QString>

#include <climits>
#include <cstdint>
#include <span>
#include <vector>

// The graph of one open map as plain data: the stops in list (file) order, each with its outgoing
// links in list order, the map's identity and its display settings. Stops are named by their
// index in the stop list; taking a stop out moves the later ones down by one.

namespace lirsk {

// Colours are 0x00BBGGRR for a plain colour, or 0xFF0000nn for the platform's system colour nn.
using Colour = std::uint32_t;

constexpr Colour HotLightColor = 0xFF00001A;   // system colour 26, hot-tracked items
constexpr Colour WindowTextColor = 0xFF000008; // system colour 8, window text
constexpr Colour SelectionColor = 0x0000FF00;  // a marked stop's fill as drawn
constexpr Colour DefaultStopFill = 0x00F0CAA6; // red 166, green 202, blue 240

// A stop that has never been given its routes shows this text.
QString noRoutesText();

struct FontSpec {
    QString Name = QStringLiteral("MS Sans Serif");
    int Size = 8; // points
    Colour Color = WindowTextColor;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;

    bool operator==(const FontSpec&) const = default;
};

// a + b, held within the range of int: a damaged file may hold positions near its ends.
constexpr int saturatedSum(int a, int b) {
    const long long sum = (long long)a + b;
    return sum > INT_MAX ? INT_MAX : sum < INT_MIN ? INT_MIN : int(sum);
}

// A stop's place in the stop list.
using StopIndex = int;
constexpr StopIndex NoStop = -1;

// The three weights of a link: fare (roubles), length (metres) and time (seconds).
struct RoadWeight {
    double Price = 0;
    double Length = 0;
    double Time = 0;

    bool operator==(const RoadWeight&) const = default;
};

// One directed connection, kept in its source stop's list.
struct Link {
    double Price = 0;
    double Length = 0;
    double Time = 0;
    StopIndex To = NoStop;
    bool IsArc = true;

    RoadWeight weight() const { return {Price, Length, Time}; }
    void setWeight(const RoadWeight& w) {
        Price = w.Price;
        Length = w.Length;
        Time = w.Time;
    }
    bool operator==(const Link&) const = default;
};

// The label that shows a stop's name on the map; its position is in map coordinates.
struct NameLabel {
    int Left = 0;
    int Top = 0;
    bool Visible = true;
    QString Caption;
    FontSpec Font;
};

// What a stop is beside its links: its place and look and its texts.
struct StopFields {
    int Left = 0;
    int Top = 0;
    int Width = 10;
    int Height = 10;
    int Radius = 6; // offset from Left/Top to the centre, in both axes
    Colour FillColor = DefaultStopFill;
    FontSpec Font;
    int Id = -1;
    NameLabel Label;
    QString Routes; // route tokens separated by single spaces

    int centreX() const { return saturatedSum(Left, Radius); }
    int centreY() const { return saturatedSum(Top, Radius); }
};

// One stop: its fields and its outgoing links.
struct Stop : StopFields {
    std::vector<Link> Links;
};

// The stops of a map; copies of a map share them until one of them changes.
using StopList = ChunkedList<Stop>;

// The nine display settings every map carries in its file header.
struct DisplaySettings {
    Colour ArcColor = HotLightColor;
    Colour TreeColor = 0x00FF0000; // blue
    bool UserWeights = true;
    bool ShowWeights = true;
    bool AutoArcColor = false;
    int ArrowSize = 15;
    int ArcWidth = 2;
    double ArrowAngle = 3.0;
    int ArrowType = 0; // 0 eared, 1 unfilled triangle

    bool operator==(const DisplaySettings&) const = default;
};

// Stops taken out of a map by GraphMap::takeStops, with all they need to go back: each stop at
// its index, and the links of other stops that ended at them, each at its place in its source's
// list (indices as they were before the stops were taken).
struct TakenStops {
    struct IncomingLink {
        StopIndex from = NoStop;
        int at = 0;
        Link link;
    };
    std::vector<std::pair<StopIndex, Stop>> stops; // ascending index
    std::vector<IncomingLink> incoming;            // by source, then place
};

class GraphMap;

// Finds the first link from one stop to another, for callers that look up many: a short list is
// searched, a long one (a damaged map may give one stop many thousands of links) indexed once.
class LinkLookup {
public:
    explicit LinkLookup(const GraphMap& map) : m_map(map) {}
    // The place of the link in from's list, or -1.
    int find(StopIndex from, StopIndex to);

private:
    const GraphMap& m_map;
    QHash<StopIndex, QHash<StopIndex, int>> m_indexed;
};

// The stop FindStopById gives for each id (the first in list order), for callers that look up
// many ids at once: a table when the ids are dense, else a sorted list.
class StopIdLookup {
public:
    explicit StopIdLookup(const GraphMap& map);
    // From the stops' ids in list order.
    explicit StopIdLookup(std::span<const int> ids);
    StopIndex find(int id) const;

private:
    std::vector<StopIndex> m_dense;                  // by id
    std::vector<std::pair<int, StopIndex>> m_sorted; // by id, then list position
};

class GraphMap {
public:
    // The stop list, in creation (file) order.
    const StopList& stops() const { return m_stops; }
    // A stop to change: the map stops sharing it with its copies first.
    Stop& stop(StopIndex index) { return m_stops.mutableAt(std::size_t(index)); }
    const Stop& stop(StopIndex index) const { return m_stops[std::size_t(index)]; }
    int stopCount() const { return int(m_stops.size()); }
    bool isStop(StopIndex index) const { return index >= 0 && index < stopCount(); }
    void reserveStops(int count) { m_stops.reserve(std::size_t(count)); }
    void clearStops() { m_stops.clear(); }

    // Appends a stop as a file holds it, every field set by the caller.
    StopIndex appendStop(Stop stop) {
        m_stops.push_back(std::move(stop));
        return stopCount() - 1;
    }
    // Appends a stop with its top-left corner at (x, y), its name label beside it and its id as
    // its name. The first stop of a map gets id 0; later ones the lowest free id when allocateId
    // is set, else -1 for the caller to set.
    StopIndex AddStop(int x, int y, bool allocateId);
    // The lowest id in 0..MaxStopId that no stop uses, else MaxStopId raised past the used ones.
    int AllocateStopId();
    StopIndex FindStopById(int id) const;
    // Every id with the stop FindStopById gives for it (the first in list order).
    QHash<int, StopIndex> stopsById() const;
    // The first stop in list order whose box (edges included) holds the point.
    StopIndex FindStopAt(int x, int y) const;
    // The first link from -> to, or null.
    Link* FindLink(StopIndex from, StopIndex to);
    const Link* FindLink(StopIndex from, StopIndex to) const;
    // Links both ways with exactly equal lengths.
    bool IsRoad(StopIndex a, StopIndex b) const;
    // Appends a link at the end of from's list and marks it and its opposite as arcs or a road.
    Link& AddLink(StopIndex from, StopIndex to, const RoadWeight& weight);
    // Appends a link as it is; a reader fills a map so and calls UpdateArcFlags once at the end.
    void appendLink(StopIndex from, const Link& link) { stop(from).Links.push_back(link); }
    // Removes the first link from -> to; false when there is none. The opposite's flag stays.
    bool RemoveLink(StopIndex from, StopIndex to);
    // Recomputes the arc flag of every link.
    void UpdateArcFlags();
    // Recomputes the flags of the links between two stops only, as UpdateArcFlags would.
    void updateArcFlags(StopIndex a, StopIndex b);
    // The rounded distance between two stops' top-left corners: a new link's automatic length.
    double cornerDistance(StopIndex from, StopIndex to) const;
    int linkCount() const;

    // Takes stops (ascending indices, each once) out of the map with their own links and every
    // link that ends at them; the later stops move down. Arc flags stay as they are.
    TakenStops takeStops(const std::vector<StopIndex>& indices);
    // Puts taken stops back: the reverse of the takeStops that gave them, as long as every change
    // made since then has been reversed too.
    void restoreStops(TakenStops taken);
    // Takes one stop out for good and recomputes the arc flags.
    void DeleteStop(StopIndex index);

    // Fields of the map window that belong to the map.
    DisplaySettings Settings;
    QString FileName;
    QString MapCode;
    QString MapCity;
    int MaxStopId = 0;
    // The search-panel flag as read from the map file; the writer takes its own.
    bool StoredSearchPanel = false;

private:
    StopList m_stops;
};

} // namespace lirsk
