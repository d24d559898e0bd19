#pragma once

#include <QRect>
#include <unordered_map>

#include <array>
#include <memory>
#include <vector>

namespace lirsk {

// The pixels covered by boxes placed one after another, asked whether a box meets any of them.
// The boxes are kept in square cells of 64 pixels; a cell that many boxes cover (names piled up
// along a found way far out) keeps the pixels they cover instead, so a box is tested against a
// few words, not against every box piled there.
class OccupiedArea {
public:
    void insert(const QRect& box);
    bool meets(const QRect& box) const;

private:
    static constexpr int kCellSize = 64;
    // A cell of more boxes than this keeps their pixels.
    static constexpr std::size_t kMostBoxes = 32;
    using Pixels = std::array<quint64, kCellSize>; // a row of the cell in each word
    struct Cell {
        std::vector<QRect> boxes;
        std::unique_ptr<Pixels> pixels;
    };
    template <typename Visit> bool anyCell(const QRect& box, Visit visit) const;
    static void cover(Pixels& pixels, const QRect& cell, const QRect& box);
    static bool covered(const Pixels& pixels, const QRect& cell, const QRect& box);

    std::unordered_map<quint64, Cell> m_cells;
};

} // namespace lirsk
