#include "networks.h"

#include "mapbuild.h"

#include <QRandomGenerator>

#include <cmath>
#include <numbers>

using namespace lirsk;
using namespace lirsk::mapbuild;

namespace bench {

namespace {

void link(GraphMap& map, StopIndex a, StopIndex b, double length, bool oneWay) {
    const double time = std::round(length / 5);
    if (oneWay)
        addArc(map, a, b, length, time);
    else
        addRoad(map, a, b, length, time);
}

} // namespace

std::unique_ptr<GraphMap> gridNetwork(int stops) {
    auto map = std::make_unique<GraphMap>();
    QRandomGenerator rng{quint32(stops)};
    const int side = int(std::ceil(std::sqrt(double(stops))));
    for (int k = 0; k < stops; ++k)
        addStop(*map, k, QString(), QStringLiteral("A1"), (k % side) * 30, (k / side) * 30);
    const auto at = [](int k) { return StopIndex(k); };
    const auto street = [&](int a, int b) {
        const double length = 80 + rng.bounded(121);
        if (rng.bounded(10) == 0) {
            const bool forward = rng.bounded(2);
            link(*map, at(forward ? a : b), at(forward ? b : a), length, true);
        } else
            link(*map, at(a), at(b), length, false);
    };
    for (int k = 0; k < stops; ++k) {
        if (k % side + 1 < side && k + 1 < stops)
            street(k, k + 1);
        if (k + side < stops)
            street(k, k + side);
    }
    map->UpdateArcFlags();
    return map;
}

std::unique_ptr<GraphMap> radialNetwork(int stops) {
    auto map = std::make_unique<GraphMap>();
    QRandomGenerator rng{quint32(stops) * 7 + 1};
    const int lines = 64;
    const int perLine = (stops - 1) / lines;
    const StopIndex centre = addStop(*map, 0, QString(), QStringLiteral("K1"));
    // Stop j of line i has id 1 + i * perLine + j; its distance from the centre grows along the
    // line.
    std::vector<double> radius(static_cast<std::size_t>(perLine));
    double r = 0;
    for (int j = 0; j < perLine; ++j)
        radius[std::size_t(j)] = r += 30 + rng.bounded(31);
    for (int i = 0; i < lines; ++i)
        for (int j = 0; j < perLine; ++j)
            addStop(*map, 1 + i * perLine + j, QString(), QStringLiteral("K%1").arg(i + 1));
    const auto at = [&](int line, int j) { return StopIndex(1 + line * perLine + j); };
    for (int i = 0; i < lines; ++i) {
        link(*map, centre, at(i, 0), radius[0], false);
        for (int j = 0; j + 1 < perLine; ++j)
            link(*map, at(i, j), at(i, j + 1), radius[std::size_t(j) + 1] - radius[std::size_t(j)],
                 false);
        for (int j = 7; j < perLine; j += 8) {
            const double arc = 2 * std::numbers::pi * radius[std::size_t(j)] / lines;
            link(*map, at(i, j), at((i + 1) % lines, j), std::round(arc * 1.1), false);
        }
    }
    map->UpdateArcFlags();
    return map;
}

std::unique_ptr<GraphMap> routedCity(int stops) {
    auto map = std::make_unique<GraphMap>();
    QRandomGenerator rng{quint32(stops) * 13 + 5};
    const int side = int(std::ceil(std::sqrt(double(stops))));
    for (int k = 0; k < stops; ++k) {
        const int row = k / side, column = k % side;
        QString routes = QStringLiteral("A%1 T%2").arg(row).arg(column);
        if (row % 4 == 0)
            routes += QStringLiteral(" E%1").arg(row);
        if (column % 5 == 0)
            routes += QStringLiteral(" K%1").arg(column);
        addStop(*map, k, QString(), routes, column * 30, row * 30);
    }
    const auto at = [](int k) { return StopIndex(k); };
    const auto street = [&](int a, int b) {
        const double length = 80 + rng.bounded(121);
        addRoad(*map, at(a), at(b), length, std::round(length / (3 + rng.bounded(13))));
    };
    for (int k = 0; k < stops; ++k) {
        if (k % side + 1 < side && k + 1 < stops)
            street(k, k + 1);
        if (k + side < stops)
            street(k, k + side);
    }
    map->UpdateArcFlags();
    return map;
}

} // namespace bench
