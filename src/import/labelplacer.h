#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

// Names placed beside their stops where they overprint nothing already on the map.

namespace lirsk::gtfs {

// A rectangle in map pixels, right and bottom excluded.
struct PixelRect {
    int left, top, right, bottom;
    bool overlaps(const PixelRect& o) const {
        return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
};

// What is already on the map, in tiles of 64 by 64 pixels: a tile keeps the few rectangles that
// cover part of it, and a tile that many cover becomes a bitmap of its pixels, so that a crowd
// of stops at one point costs no more to test than a stop alone.
class OccupiedArea {
public:
    void add(const PixelRect& r);
    // True when r overlaps nothing added.
    bool isFree(const PixelRect& r) const;

private:
    struct Tile {
        std::vector<PixelRect> rects; // in the tile's own pixels, until there are too many
        std::unique_ptr<std::array<std::uint64_t, 64>> rows;
    };
    template <class F> static bool forTiles(const PixelRect& r, F f);
    std::unordered_map<std::uint64_t, Tile> tiles_;
};

// The place of a name of width pixels beside a stop of the given centre and radius: right, left,
// above, below, then the corners, the first that is free; where every one is taken, the right.
// The place chosen is then taken.
PixelRect placeName(OccupiedArea& occupied, int centreX, int centreY, int radius, int width);

} // namespace lirsk::gtfs
