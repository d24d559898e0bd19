#include "view/occupiedarea.h"

#include <algorithm>

namespace lirsk {

namespace {

int floorDiv(int value, int divisor) {
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

quint64 cellKey(int x, int y) {
    return (quint64(quint32(x)) << 32) | quint32(y);
}

// The bits of a row of a cell from column `left` to column `right`.
quint64 columns(int left, int right) {
    const quint64 upTo = right >= 63 ? ~quint64(0) : (quint64(1) << (right + 1)) - 1;
    return upTo & ~((quint64(1) << left) - 1);
}

} // namespace

// Calls visit(cell rectangle, key) for each cell the box covers until one returns true.
template <typename Visit> bool OccupiedArea::anyCell(const QRect& box, Visit visit) const {
    if (box.isEmpty())
        return false;
    for (int y = floorDiv(box.top(), kCellSize); y <= floorDiv(box.bottom(), kCellSize); ++y)
        for (int x = floorDiv(box.left(), kCellSize); x <= floorDiv(box.right(), kCellSize); ++x)
            if (visit(QRect(x * kCellSize, y * kCellSize, kCellSize, kCellSize), cellKey(x, y)))
                return true;
    return false;
}

void OccupiedArea::cover(Pixels& pixels, const QRect& cell, const QRect& box) {
    const QRect part = box.intersected(cell).translated(-cell.topLeft());
    const quint64 row = columns(part.left(), part.right());
    for (int y = part.top(); y <= part.bottom(); ++y)
        pixels[std::size_t(y)] |= row;
}

bool OccupiedArea::covered(const Pixels& pixels, const QRect& cell, const QRect& box) {
    const QRect part = box.intersected(cell).translated(-cell.topLeft());
    const quint64 row = columns(part.left(), part.right());
    for (int y = part.top(); y <= part.bottom(); ++y)
        if (pixels[std::size_t(y)] & row)
            return true;
    return false;
}

void OccupiedArea::insert(const QRect& box) {
    anyCell(box, [&](const QRect& area, quint64 key) {
        Cell& cell = m_cells[key];
        if (cell.pixels) {
            cover(*cell.pixels, area, box);
            return false;
        }
        cell.boxes.push_back(box);
        if (cell.boxes.size() > kMostBoxes) {
            cell.pixels = std::make_unique<Pixels>();
            cell.pixels->fill(0);
            for (const QRect& kept : cell.boxes)
                cover(*cell.pixels, area, kept);
            cell.boxes = {};
        }
        return false;
    });
}

bool OccupiedArea::meets(const QRect& box) const {
    return anyCell(box, [&](const QRect& area, quint64 key) {
        const auto it = m_cells.find(key);
        if (it == m_cells.end())
            return false;
        const Cell& cell = it->second;
        if (cell.pixels)
            return covered(*cell.pixels, area, box);
        return std::any_of(cell.boxes.begin(), cell.boxes.end(),
                           [&](const QRect& kept) { return kept.intersects(box); });
    });
}

} // namespace lirsk
