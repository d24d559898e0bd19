#pragma once

#include "model/mapdescription.h"

#include <QHash>

// The names of an imported map in their own script. The map file holds every name in
// Windows-1251 (transliterated where the feed's script has no letters there); the description
// keeps the feed's own name beside each name it had to change. While a stop bears the name the
// description gives for its file, the program shows its own name instead, and a map is written
// with the file names back in place.

namespace lirsk {

// Each stop that bears the file name its description gives shows its own name instead. A stop
// renamed since (by a program that knows no own names) keeps the name it was given.
void showOwnNames(GraphMap& map, const MapDescription& description);

// The stops as the map file keeps them: each stop that shows its own name bears its file name
// again. Gives the own names that are still shown, the ones the description keeps: a stop renamed
// since has left both its names.
QList<OwnName> putFileNames(StopList& stops, const QList<OwnName>& names);

// The file name each stop that shows its own name is also found by.
class FileNames {
public:
    FileNames() = default;
    explicit FileNames(const MapDescription* description);
    // The stop's file name while it shows its own name, else nothing.
    QString of(const Stop& stop) const;
    // The stop's name as a search looks at it: the name shown, and the file name after a line
    // break when it has one.
    QString searchedName(const Stop& stop) const;

private:
    QHash<int, OwnName> m_byId;
};

} // namespace lirsk
