#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The built-in maps: the map menus, the table that recognises a built-in map by its path, the
// background picture of each city and the route tables of each network.

namespace lirsk {

// The texts of an entry (menu, caption, title) are the Russian source texts, the same in every
// language: they name the entry. catalogueText gives what the user reads.
struct MapMenuEntry {
    QString menu; // "Карта Лирска", "Карты метро России", "Карта Н.Челнов"
    QString entry; // the menu entry's caption
    QString path;  // relative path of the map file; empty for entries that open nothing
    QString title; // the new map window's title
    bool visible = true;
    bool enabled = true;
    bool metro = false; // widens the stop list's column after loading
};

// Every entry of the map menus, in menu order.
const QList<MapMenuEntry>& mapMenuCatalogue();
// A menu's, entry's or title's text of the catalogue in the language the texts are shown in.
QString catalogueText(const QString& text);
// Whether a whole menu is shown and can be chosen.
bool mapMenuVisible(const QString& menu);

struct MapIdentity {
    QString mapCode; // one-letter network code, empty when not a built-in map
    QString mapCity; // "Lirsk", "Chelny", "none" or empty
};

// The whole path compared exactly and case-sensitively with the built-in paths, in table order.
MapIdentity recognizeMapPath(const QString& path);

struct RouteRow {
    QString number;
    QString name;
};

struct RouteTable {
    int rowCount = 2; // header included
    QList<RouteRow> rows;
};

// The route table of a network; nothing when the table stays as a new window has it.
std::optional<RouteTable> routeTableFor(const QString& mapCode);

// Lirsk's own route names ("T", "A", "K"), from the city's data.
QList<RouteRow> lirskTrolleybusRoutes();
QList<RouteRow> lirskTramRoutes();
QList<RouteRow> lirskMetroRoutes();

// What the built-in set-up does after a load, from the map's code and city.
struct BuiltinSetup {
    QString picture;        // relative path of the background picture, or empty
    bool showGraph = false; // the drawn graph becomes visible
    std::optional<RouteTable> routes;
};
BuiltinSetup builtinSetup(const MapIdentity& identity);

// Finds a relative data path ("toolbox/map/MPiter.gaf"): first as given (against the current
// directory), then under each root in order. Returns the path as given when none has it.
QString resolveDataPath(const QString& relative, const QStringList& roots);

} // namespace lirsk
