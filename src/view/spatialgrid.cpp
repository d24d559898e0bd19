#include "view/spatialgrid.h"

#include <algorithm>

namespace lirsk {

namespace {

// A box covering more cells than this is looked at on every query instead.
constexpr qint64 kMostCells = 1024;

qint64 floorDiv(qint64 value, qint64 divisor) {
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

} // namespace

SpatialGrid::SpatialGrid(int cellSize) : cellSize_(cellSize) {}

void SpatialGrid::clear() {
    cells_.clear();
    oversized_.clear();
    boxes_.clear();
    present_.clear();
    seen_.clear();
}

SpatialGrid::CellRange SpatialGrid::cellsOf(const QRect& box) const {
    return {floorDiv(box.left(), cellSize_), floorDiv(box.top(), cellSize_),
            floorDiv(box.right(), cellSize_), floorDiv(box.bottom(), cellSize_)};
}

void SpatialGrid::insert(int item, const QRect& box) {
    const std::size_t at = std::size_t(item);
    if (boxes_.size() <= at) {
        boxes_.resize(at + 1);
        present_.resize(at + 1, false);
        seen_.resize(at + 1, 0);
    }
    boxes_[at] = box;
    present_[at] = true;
    if (box.isEmpty())
        return;
    const CellRange cells = cellsOf(box);
    if (cells.count() > kMostCells) {
        oversized_.push_back(item);
        return;
    }
    for (qint64 y = cells.top; y <= cells.bottom; ++y)
        for (qint64 x = cells.left; x <= cells.right; ++x)
            cells_[key(x, y)].push_back(item);
}

void SpatialGrid::remove(int item) {
    const std::size_t at = std::size_t(item);
    if (at >= present_.size() || !present_[at])
        return;
    present_[at] = false;
    const QRect box = boxes_[at];
    if (box.isEmpty())
        return;
    const CellRange cells = cellsOf(box);
    if (cells.count() > kMostCells) {
        oversized_.erase(std::remove(oversized_.begin(), oversized_.end(), item), oversized_.end());
        return;
    }
    for (qint64 y = cells.top; y <= cells.bottom; ++y)
        for (qint64 x = cells.left; x <= cells.right; ++x) {
            auto it = cells_.find(key(x, y));
            if (it == cells_.end())
                continue;
            auto& list = *it;
            list.erase(std::remove(list.begin(), list.end(), item), list.end());
            if (list.empty())
                cells_.erase(it);
        }
}

void SpatialGrid::move(int item, const QRect& box) {
    remove(item);
    insert(item, box);
}

bool SpatialGrid::meets(const QRect& rect) const {
    if (rect.isEmpty())
        return false;
    const auto meetsAny = [&](const std::vector<int>& items) {
        return std::any_of(items.begin(), items.end(), [&](int item) {
            return present_[std::size_t(item)] && boxes_[std::size_t(item)].intersects(rect);
        });
    };
    if (meetsAny(oversized_))
        return true;
    const CellRange cells = cellsOf(rect);
    if (cells.count() > kMostCells)
        return !query(rect).empty();
    for (qint64 y = cells.top; y <= cells.bottom; ++y)
        for (qint64 x = cells.left; x <= cells.right; ++x) {
            const auto it = cells_.constFind(key(x, y));
            if (it != cells_.cend() && meetsAny(*it))
                return true;
        }
    return false;
}

std::vector<int> SpatialGrid::query(const QRect& rect) const {
    std::vector<int> found;
    if (rect.isEmpty())
        return found;
    const CellRange cells = cellsOf(rect);
    if (cells.count() * 4 > qint64(cells_.size())) {
        // A rectangle over much of the grid (a whole map in view): every box looked at once, in
        // order, costs less than the lists of the cells, their repeats and a sort.
        for (std::size_t at = 0; at < boxes_.size(); ++at)
            if (present_[at] && boxes_[at].intersects(rect))
                found.push_back(int(at));
        return found;
    }
    if (++stamp_ == 0) {
        std::fill(seen_.begin(), seen_.end(), 0);
        stamp_ = 1;
    }
    const auto take = [&](int item) {
        const std::size_t at = std::size_t(item);
        if (seen_[at] == stamp_ || !present_[at])
            return;
        seen_[at] = stamp_;
        if (boxes_[at].intersects(rect))
            found.push_back(item);
    };
    for (int item : oversized_)
        take(item);
    for (qint64 y = cells.top; y <= cells.bottom; ++y)
        for (qint64 x = cells.left; x <= cells.right; ++x) {
            const auto it = cells_.constFind(key(x, y));
            if (it != cells_.cend())
                for (int item : *it)
                    take(item);
        }
    if (found.size() < seen_.size() / 16) {
        std::sort(found.begin(), found.end());
        return found;
    }
    // Many items: in order by a walk over them, not a sort.
    std::vector<char> isFound(seen_.size(), 0);
    for (const int item : found)
        isFound[std::size_t(item)] = 1;
    found.clear();
    for (std::size_t at = 0; at < isFound.size(); ++at)
        if (isFound[at])
            found.push_back(int(at));
    return found;
}

} // namespace lirsk
