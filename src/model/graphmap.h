#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <climits>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

// The graph of one open map: stops, the directed links between them, the map's identity and
// display settings. A map window shows it; the window plugs its screen work in through MapHooks.

namespace lirsk {

// Colours are 0x00BBGGRR for a plain colour, or 0xFF0000nn for the platform's system colour nn.
using Colour = std::uint32_t;

constexpr Colour HotLightColor = 0xFF00001A;   // system colour 26, hot-tracked items
constexpr Colour WindowTextColor = 0xFF000008; // system colour 8, window text
constexpr Colour SelectionColor = 0x0000FF00;  // a marked stop's fill
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

struct Stop;
using StopRef = Stop*; // stops are compared by identity

// The three weights of a link: fare (roubles), length (metres) and time (seconds).
struct RoadWeight {
    double Price = 0;
    double Length = 0;
    double Time = 0;
};

// One directed connection, kept in its source stop's list in creation order.
struct Link {
    double Price = 0;
    double Length = 0;
    double Time = 0;
    StopRef From = nullptr;
    StopRef To = nullptr;
    bool IsArc = true;

    RoadWeight weight() const { return {Price, Length, Time}; }
    void setWeight(const RoadWeight& w) {
        Price = w.Price;
        Length = w.Length;
        Time = w.Time;
    }
};

// The label that shows a stop's name on the map; its position is in map coordinates.
struct NameLabel {
    int Left = 0;
    int Top = 0;
    bool Visible = true;
    QString Caption;
    FontSpec Font;
};

// One stop: its place and look, its texts, its outgoing links and the scratch fields of the
// gestures and of the route search. The map window shows each through a stop handle.
struct Stop {
    int Left = 0;
    int Top = 0;
    int Width = 10;
    int Height = 10;
    int Radius = 6; // offset from Left/Top to the centre, in both axes
    Colour FillColor = DefaultStopFill;
    Colour Color = 0; // keeps the fill colour while the stop is shown selected
    FontSpec Font;

    bool Dragging = false;
    bool LabelDragging = false;
    int Id = -1;
    std::vector<std::unique_ptr<Link>> Links;
    NameLabel Label;
    QString Routes; // route tokens separated by single spaces

    double PathLength = 0;
    double PathTime = 0;
    int PathPrev = -1;
    bool Selected = false;
    int DownX = 0;
    int DownY = 0;
    int BandSetback = 0;
    int LabelHomeLeft = 0;
    int LabelHomeTop = 0;

    int centreX() const { return saturatedSum(Left, Radius); }
    int centreY() const { return saturatedSum(Top, Radius); }
};

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

// What the model needs from the window that shows it. Without hooks the model behaves as with a
// window whose dialogs are always cancelled and whose drawing goes nowhere.
class MapHooks {
public:
    virtual ~MapHooks() = default;
    virtual void redrawMap(bool withStatus) = 0;
    virtual void drawLink(const Link& link) = 0;
    // The road parameters dialog: the confirmed weights, or nothing when not confirmed.
    virtual std::optional<RoadWeight> askLinkWeights(const RoadWeight& current) = 0;
    virtual void stopRowAdded(int row, const QString& name) = 0; // row 1 is the first stop
    virtual void stopRowRemoved(int row) = 0;
};

// A stop taken out of a map by GraphMap::takeStop, with all it needs to go back to its place:
// its index in the stop list, its row of the stop grid and the links that ended at it, each at
// its index in its source stop's list (in the order they were found).
struct TakenStop {
    struct IncomingLink {
        StopRef from = nullptr;
        int index = 0;
        std::unique_ptr<Link> link;
    };
    std::unique_ptr<Stop> stop;
    int index = -1;
    int row = -1; // -1: the stop had no row of its own
    QString rowName;
    QString rowId;
    std::vector<IncomingLink> incoming;
};

// The first link of each ordered pair of stops, as FindLink gives it.
using LinkIndex = QHash<std::pair<StopRef, StopRef>, Link*>;

class GraphMap {
public:
    GraphMap() = default;
    GraphMap(const GraphMap&) = delete;
    GraphMap& operator=(const GraphMap&) = delete;
    ~GraphMap();

    void setHooks(MapHooks* hooks) { hooks_ = hooks; }
    MapHooks* hooks() const { return hooks_; }

    // The stop list, in creation (file) order.
    const std::vector<std::unique_ptr<Stop>>& stops() const { return stops_; }
    int stopCount() const { return int(stops_.size()); }
    StopRef FirstStop() const { return stops_.empty() ? nullptr : stops_.front().get(); }
    int indexOf(StopRef stop) const; // -1 when the stop is not in this map
    StopRef next(StopRef stop) const;

    StopRef AddStop(int x, int y, int listId, const QString& name, bool allocateId);
    int AllocateStopId();
    StopRef FindStopById(int id) const;
    // Every id with the stop FindStopById gives for it (the first in list order), for callers
    // that look up many ids at once.
    QHash<int, StopRef> stopsById() const;
    StopRef FindStopAt(int x, int y) const;
    StopRef FindPrevStop(int id) const;
    static Link* FindLink(StopRef from, StopRef to);
    // FindLink for every pair at once, built in one walk over the links, for callers that look
    // up many (a stop may have many thousands of links).
    LinkIndex firstLinks() const;
    static bool IsRoad(StopRef a, StopRef b);
    // Adds a link at the end of from's list and marks it and its opposite as arcs or a road.
    // While the map is not Ready (a loader fills it) the flags are left to UpdateArcFlags, which
    // the loader calls once at the end.
    Link* AddLink(StopRef from, StopRef to);
    void EditLinkWeights(Link* link, bool redraw);
    // Removes the first link from -> to; returns the link that followed it, or null.
    Link* RemoveLink(StopRef from, StopRef to);
    void UpdateArcFlags();
    void FreeStops(); // the whole chain, from FirstStop
    // Adds a stop with its top-left corner at a pressed map point, with the lowest free id.
    StopRef AddStopAt(int x, int y) { return AddStop(x, y, -1, QString(), true); }
    // Takes one stop out of the map with its own links and every link that ends at it, then
    // recomputes the arc flags, redraws and drops the stop's row of the stop grid.
    void DeleteStop(StopRef stop);

    // Takes a stop out as DeleteStop does, but keeps it and its links: the stop comes out
    // unmarked, with its own colour, and keeps its outgoing links. Arc flags stay as they are
    // (no link between two other stops changes) and nothing is redrawn.
    TakenStop takeStop(StopRef stop);
    // Puts a taken stop back where it was; the reverse of the takeStop that gave it, as long as
    // every change made since then has been reversed too. The stop grid's hooks are not called:
    // the caller announces the change.
    void restoreStop(TakenStop taken);

    int linkCount() const;

    // Fields of the map window that belong to the map.
    DisplaySettings Settings;
    QString FileName;
    QString MapCode;
    QString MapCity;
    bool Ready = true;
    int MaxStopId = 0;
    int SelectedCount = 0;
    // The search-panel flag as read from the map file; the writer takes its own.
    bool StoredSearchPanel = false;

    // The stop grid: row k + 1 shows StopRows[k], the name the k-th stop had when it was added,
    // and StopIds[k] holds the Id recorded for it.
    QStringList StopRows;
    QStringList StopIds;

private:
    void redraw(bool withStatus);

    std::vector<std::unique_ptr<Stop>> stops_;
    MapHooks* hooks_ = nullptr;
};

} // namespace lirsk
