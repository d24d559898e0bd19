#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

// Names placed beside their stops where they overprint nothing already on the map.

namespace lirsk {

// A rectangle in map pixels, right and bottom excluded.
struct PixelRect {
    int left, top, right, bottom;
    bool overlaps(const PixelRect& o) const {
        return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
};

// What is already on the map: rectangles bucketed by 64-pixel cells.
class OccupiedArea {
public:
    void add(const PixelRect& r);
    // True when r overlaps nothing added.
    bool isFree(const PixelRect& r) const;

private:
    template <class F> static bool forCells(const PixelRect& r, F f);
    std::vector<PixelRect> rects_;
    std::unordered_map<std::uint64_t, std::vector<int>> cells_;
};

// The place of a name of width pixels beside a stop of the given centre and radius: right, left,
// above, below, then the corners, the first that is free; where every one is taken, the right.
// The place chosen is then taken.
PixelRect placeName(OccupiedArea& occupied, int centreX, int centreY, int radius, int width);

} // namespace lirsk
