#include "citymap.h"

#include "mapbuild.h"
#include "model/mapfile.h"
#include "networks.h"

#include <QRandomGenerator>

#include <cmath>
#include <numbers>

using namespace lirsk;
using namespace lirsk::mapbuild;

namespace bench {

std::unique_ptr<GraphMap> cityMap(int stops) {
    auto map = std::make_unique<GraphMap>();
    QRandomGenerator rng{quint32(stops) * 13 + 5};
    const int side = int(std::ceil(std::sqrt(double(stops))));
    for (int k = 0; k < stops; ++k) {
        const int row = k / side;
        const int column = k % side;
        addStop(*map, k, QStringLiteral("Улица %1, дом %2").arg(row + 1).arg(2 * column + 1),
                QStringLiteral("A%1 T%2").arg(row + 1).arg(column + 1), 20 + 40 * column,
                20 + 40 * row);
    }
    const auto link = [&](int from, int to, double length) {
        map->AddLink(from, to, {0, length, std::round(length / 5)});
    };
    for (int k = 0; k < stops; ++k) {
        const int column = k % side;
        if (column + 1 < side && k + 1 < stops) {
            const double length = 80 + rng.bounded(121);
            link(k, k + 1, length);
            link(k + 1, k, length);
        }
        if (k + side < stops) {
            const bool down = column % 2 == 0;
            link(down ? k : k + side, down ? k + side : k, 80 + rng.bounded(121));
        }
    }
    map->UpdateArcFlags();
    return map;
}

std::unique_ptr<GraphMap> radialCityMap(int stops) {
    auto map = radialNetwork(stops);
    constexpr int lines = 64;
    constexpr int spacing = 16;
    const int perLine = (stops - 1) / lines;
    const int middle = spacing * (perLine + 2);
    const auto place = [&](Stop& stop, double x, double y, const QString& name) {
        stop.Left = int(std::lround(x)) - stop.Width / 2;
        stop.Top = int(std::lround(y)) - stop.Height / 2;
        stop.Label.Left = stop.Left + stop.Width;
        stop.Label.Top = stop.Top;
        stop.Label.Caption = name;
    };
    place(map->stop(0), middle, middle, QStringLiteral("Центр"));
    for (int i = 0; i < lines; ++i) {
        const double angle = 2 * std::numbers::pi * i / lines;
        for (int j = 0; j < perLine; ++j) {
            const double r = spacing * (j + 2);
            place(map->stop(1 + i * perLine + j), middle + r * std::cos(angle),
                  middle + r * std::sin(angle),
                  QStringLiteral("Линия %1, станция %2").arg(i + 1).arg(j + 1));
        }
    }
    return map;
}

std::pair<StopIndex, StopIndex> farApart(const GraphMap& map, bool radial) {
    if (!radial)
        return {0, map.stopCount() - 1};
    // Stop j of line i has id 1 + i * perLine + j; line 32 runs opposite line 0.
    const int perLine = (map.stopCount() - 1) / 64;
    return {perLine, 33 * perLine};
}

bool writeCityMap(int stops, const QString& path, QString* error, const QString& mapCity) {
    const auto map = cityMap(stops);
    map->MapCity = mapCity;
    return saveMapFile(path, *map, false, error);
}

bool writeRadialMap(int stops, const QString& path, QString* error) {
    return saveMapFile(path, *radialCityMap(stops), false, error);
}

} // namespace bench
