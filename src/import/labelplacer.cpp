#include "import/labelplacer.h"

#include <QtGlobal>

#include <algorithm>

namespace lirsk::gtfs {

namespace {

constexpr int kLabelHeight = 13;

} // namespace

// Calls f(key, part) for each tile r covers, with the part of r in it in the tile's own pixels;
// stops at the first call that returns false.
template <class F> bool OccupiedArea::forTiles(const PixelRect& r, F f) {
    for (qint64 tx = r.left >> 6; tx <= (r.right - 1) >> 6; ++tx)
        for (qint64 ty = r.top >> 6; ty <= (r.bottom - 1) >> 6; ++ty) {
            const qint64 x = tx * 64, y = ty * 64;
            const PixelRect part{
                int(std::max<qint64>(r.left - x, 0)), int(std::max<qint64>(r.top - y, 0)),
                int(std::min<qint64>(r.right - x, 64)), int(std::min<qint64>(r.bottom - y, 64))};
            if (!f((std::uint64_t(std::uint32_t(tx)) << 32) | std::uint32_t(ty), part))
                return false;
        }
    return true;
}

namespace {

constexpr std::size_t kRectsPerTile = 16;

std::uint64_t rowMask(const PixelRect& part) {
    const int width = part.right - part.left;
    return (width >= 64 ? ~std::uint64_t(0) : (std::uint64_t(1) << width) - 1) << part.left;
}

void fill(std::array<std::uint64_t, 64>& rows, const PixelRect& part) {
    for (int y = part.top; y < part.bottom; ++y)
        rows[std::size_t(y)] |= rowMask(part);
}

} // namespace

void OccupiedArea::add(const PixelRect& r) {
    forTiles(r, [&](std::uint64_t key, const PixelRect& part) {
        Tile& tile = tiles_[key];
        if (!tile.rows && tile.rects.size() < kRectsPerTile) {
            tile.rects.push_back(part);
            return true;
        }
        if (!tile.rows) {
            tile.rows = std::make_unique<std::array<std::uint64_t, 64>>();
            for (const PixelRect& old : tile.rects)
                fill(*tile.rows, old);
            std::vector<PixelRect>().swap(tile.rects);
        }
        fill(*tile.rows, part);
        return true;
    });
}

bool OccupiedArea::isFree(const PixelRect& r) const {
    return forTiles(r, [&](std::uint64_t key, const PixelRect& part) {
        const auto it = tiles_.find(key);
        if (it == tiles_.end())
            return true;
        const Tile& tile = it->second;
        if (!tile.rows)
            return std::none_of(tile.rects.begin(), tile.rects.end(),
                                [&](const PixelRect& o) { return o.overlaps(part); });
        const std::uint64_t mask = rowMask(part);
        for (int y = part.top; y < part.bottom; ++y)
            if ((*tile.rows)[std::size_t(y)] & mask)
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

} // namespace lirsk::gtfs
