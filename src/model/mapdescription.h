#pragma once

#include "model/graphmap.h"

#include <QJsonObject>
#include <QList>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

// A map's own description: a JSON file (UTF-8) beside the map with the same name and the
// extension .gafd. It gives a map that is not built in what the built-in table gives the others:
// the code letter, the route table, the fare rule and its unit, the picture and the title.
//
// The file carries a "version" (the newest this program writes is kDescriptionVersion). Fields
// that this program does not know, written by a newer one, are kept as they were read and
// written back, so that a save never drops what no edit removed.

namespace lirsk {

// The editor's grid: its step in pixels, as a description keeps it.
constexpr int kDefaultGridStep = 20;
constexpr int kMinGridStep = 2;
constexpr int kMaxGridStep = 500;

struct DescribedRoute {
    QString code;   // the route's token in the stops' routes texts ("G1-tram")
    QString number; // what the traveller reads ("1")
    QString name;
    std::optional<Colour> color;     // 0x00BBGGRR
    std::optional<Colour> textColor; // the colour of text written on the route's colour
    QJsonObject otherFields;         // the row's fields this program does not know
    bool operator==(const DescribedRoute&) const = default;
};

// The routes that run from one stop to another, one after the other (stop ids; routes as rows of
// the route table).
struct DescribedLink {
    int from = 0;
    int to = 0;
    QList<int> routes;
    bool operator==(const DescribedLink&) const = default;
};

// Where a name was put when the map was made, from its stop's top-left corner: while the name is
// still there the program may place it anew wherever it reads best.
struct PlacedName {
    int stopId = 0;
    int dx = 0;
    int dy = 0;
    bool operator==(const PlacedName&) const = default;
};

// A stop's top-left corner in one of the map's layouts.
struct LaidOutStop {
    int stopId = 0;
    int left = 0;
    int top = 0;
    bool operator==(const LaidOutStop&) const = default;
};

// An imported map drawn two ways: as on the ground and as a schematic diagram; the map file holds
// the one shown when it was saved.
struct MapLayouts {
    QList<LaidOutStop> geographic;
    QList<LaidOutStop> schematic;
    bool schematicShown = false;
    bool operator==(const MapLayouts&) const = default;
};

// A stop's name as its feed writes it, in its own script, beside the name the map file holds
// (Windows-1251, transliterated where it had to be). The program shows the first while the stop
// still bears the second, and finds the stop by either.
struct OwnName {
    int stopId = 0;
    QString name;     // as the feed writes it ("宇都宮駅東口")
    QString fileName; // as the map file holds it ("Utsunomiyaeki Higashiguchi")
    bool operator==(const OwnName&) const = default;
};

struct MapDescription {
    QString mapCode;
    QList<DescribedRoute> routes;
    bool fareGiven = true; // false: no fare is known ("base_fare": null), the report says so
    double baseFare = 0;
    double transferFare = 0;
    QString fareUnit = QStringLiteral("руб.");
    // The digits after the point of a currency with cents ("2,90 $"); 0 writes fares as any number.
    int fareDecimals = 0;
    QString picture; // relative to the description's folder, or absolute
    QString title;
    QList<DescribedLink> links;    // the routes of each link that routes run over
    QList<PlacedName> placedNames; // the names the program places itself
    std::optional<MapLayouts> layouts;
    QList<OwnName> ownNames;
    // The links that are walks, not rides: (from, to) by the stops' ids. The file keeps them as
    // one text, "0-1 1-0 5-9".
    std::vector<std::pair<int, int>> walks;
    int gridStep = kDefaultGridStep; // pixels between the lines of the editor's grid
    QJsonObject otherFields;         // the fields this program does not know
    bool operator==(const MapDescription&) const = default;
};

// 2: the stops' own names ("names"), a fare not given ("base_fare": null), "fare_decimals".
constexpr int kDescriptionVersion = 2;
// A fare is a number 0 <= x < kMaxFare.
constexpr double kMaxFare = 1e9;
// The most digits a fare is written with after the point.
constexpr int kMaxFareDecimals = 4;
// The largest description read.
constexpr qint64 kMaxDescriptionSize = qint64(16) << 20;

// A route's colour as the description writes it ("#RRGGBB"), and read back (nothing when the
// text is not of that form).
QString colourText(Colour colour);
std::optional<Colour> colourFrom(const QString& text);

// "city.gaf" -> "city.gafd"; a path without the .gaf extension gets ".gafd" added.
QString descriptionPathFor(const QString& mapPath);

enum class DescriptionRead { Absent, Read, Broken };
// Reads the description beside mapPath, if there is one; Broken with the reason in error, also
// when a known field has the wrong type ("map_code": 5): such a file is never read half.
DescriptionRead readMapDescription(const QString& mapPath, MapDescription* description,
                                   QString* error);
QByteArray describeAsJson(const MapDescription& description);
// Writes the description beside mapPath through saveWholeFile.
bool saveMapDescription(const QString& mapPath, const MapDescription& description, QString* error);

// Writes the map's bytes to mapPath and, when given, its description beside it, as one save: the
// description first, and if the map then cannot be written the description file is put back as
// it was (or removed when there was none), so that neither is left without the other.
bool saveMapAndDescription(const QString& mapPath, const QByteArray& mapBytes,
                           const MapDescription* description, QString* error);

} // namespace lirsk
