#pragma once

#include <QHash>
#include <QRect>

#include <vector>

namespace lirsk {

// Finds the items (numbered 0, 1, …) whose boxes meet a rectangle, through a grid of square
// cells: each item is listed in the cells its box covers; a box over very many cells is kept
// aside and always looked at.
class SpatialGrid {
public:
    explicit SpatialGrid(int cellSize = 128);

    void clear();
    void insert(int item, const QRect& box);
    void remove(int item);
    void move(int item, const QRect& box);
    QRect box(int item) const { return boxes_[std::size_t(item)]; }
    int size() const { return int(boxes_.size()); }

    // Every item whose box meets the rectangle, each once, in ascending number.
    std::vector<int> query(const QRect& rect) const;
    // Whether any item's box meets the rectangle (as !query(rect).empty(), through the cells the
    // rectangle covers, stopping at the first).
    bool meets(const QRect& rect) const;

private:
    struct CellRange {
        qint64 left, top, right, bottom;
        qint64 count() const { return (right - left + 1) * (bottom - top + 1); }
    };
    CellRange cellsOf(const QRect& box) const;
    static quint64 key(qint64 x, qint64 y) { return (quint64(quint32(x)) << 32) | quint32(y); }

    int cellSize_;
    QHash<quint64, std::vector<int>> cells_;
    std::vector<int> oversized_;
    std::vector<QRect> boxes_;
    std::vector<bool> present_;
    mutable std::vector<quint32> seen_;
    mutable quint32 stamp_ = 0;
};

} // namespace lirsk
