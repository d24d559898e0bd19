#include "citymap.h"

#include "mapbuild.h"
#include "model/mapfile.h"

#include <QRandomGenerator>

#include <cmath>

using namespace lirsk;
using namespace lirsk::mapbuild;

namespace bench {

std::unique_ptr<GraphMap> cityMap(int stops) {
    auto map = std::make_unique<GraphMap>();
    map->Settings.UserWeights = false;
    QRandomGenerator rng{quint32(stops) * 13 + 5};
    const int side = int(std::ceil(std::sqrt(double(stops))));
    for (int k = 0; k < stops; ++k) {
        const int row = k / side;
        const int column = k % side;
        addStop(*map, k, QStringLiteral("Улица %1, дом %2").arg(row + 1).arg(2 * column + 1),
                QStringLiteral("A%1 T%2").arg(row + 1).arg(column + 1), 20 + 40 * column,
                20 + 40 * row);
    }
    const auto at = [&](int k) { return map->stops()[std::size_t(k)].get(); };
    const auto weigh = [&](Link* link, double length) {
        link->Length = length;
        link->Time = std::round(length / 5);
    };
    for (int k = 0; k < stops; ++k) {
        const int column = k % side;
        if (column + 1 < side && k + 1 < stops) {
            const double length = 80 + rng.bounded(121);
            weigh(map->AddLink(at(k), at(k + 1)), length);
            weigh(map->AddLink(at(k + 1), at(k)), length);
        }
        if (k + side < stops) {
            const bool down = column % 2 == 0;
            weigh(map->AddLink(at(down ? k : k + side), at(down ? k + side : k)),
                  80 + rng.bounded(121));
        }
    }
    map->UpdateArcFlags();
    return map;
}

bool writeCityMap(int stops, const QString& path, QString* error, const QString& mapCity) {
    const auto map = cityMap(stops);
    map->MapCity = mapCity;
    return saveMapFile(path, *map, false, error);
}

} // namespace bench
