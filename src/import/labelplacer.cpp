#include "import/labelplacer.h"

namespace lirsk {

namespace {

constexpr int kLabelHeight = 13;

} // namespace

template <class F> bool OccupiedArea::forCells(const PixelRect& r, F f) {
    for (int cx = r.left >> 6; cx <= (r.right - 1) >> 6; ++cx)
        for (int cy = r.top >> 6; cy <= (r.bottom - 1) >> 6; ++cy)
            if (!f((std::uint64_t(std::uint32_t(cx)) << 32) | std::uint32_t(cy)))
                return false;
    return true;
}

void OccupiedArea::add(const PixelRect& r) {
    const int index = int(rects_.size());
    rects_.push_back(r);
    forCells(r, [&](std::uint64_t cell) {
        cells_[cell].push_back(index);
        return true;
    });
}

bool OccupiedArea::isFree(const PixelRect& r) const {
    return forCells(r, [&](std::uint64_t cell) {
        const auto it = cells_.find(cell);
        if (it == cells_.end())
            return true;
        for (const int k : it->second)
            if (rects_[std::size_t(k)].overlaps(r))
                return false;
        return true;
    });
}

PixelRect placeName(OccupiedArea& occupied, int cx, int cy, int r, int w) {
    constexpr int h = kLabelHeight;
    const PixelRect candidates[] = {
        {cx + r, cy - h / 2, cx + r + w, cy + h - h / 2},
        {cx - r - w, cy - h / 2, cx - r, cy + h - h / 2},
        {cx - w / 2, cy - r - h, cx + w - w / 2, cy - r},
        {cx - w / 2, cy + r, cx + w - w / 2, cy + r + h},
        {cx + r, cy - r - h, cx + r + w, cy - r},
        {cx + r, cy + r, cx + r + w, cy + r + h},
        {cx - r - w, cy - r - h, cx - r, cy - r},
        {cx - r - w, cy + r, cx - r, cy + r + h},
    };
    PixelRect chosen = candidates[0];
    for (const PixelRect& c : candidates)
        if (occupied.isFree(c)) {
            chosen = c;
            break;
        }
    occupied.add(chosen);
    return chosen;
}

} // namespace lirsk
