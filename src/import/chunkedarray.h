#pragma once

#include "import/importprogress.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <new>
#include <vector>

namespace lirsk {

// Values in the order they come, in chunks of 65 536 that stay where they are as more come: a
// large array grows without being copied, and can be freed a chunk at a time.
template <class T> class ChunkedArray {
public:
    using value_type = T;

    // Adds a value; with progress, stops the import when a chunk would pass its memory budget.
    void push_back(const T& value, ImportProgress* progress = nullptr) {
        if (m_size % kChunk == 0) {
            // Places are kept in 32 bits: 4 billion values, far past any memory budget.
            if (m_size >= std::numeric_limits<std::uint32_t>::max() - kChunk)
                throw std::bad_alloc();
            if (progress) {
                progress->reserve(qint64(kChunk * sizeof(T)));
                progress->grow(m_chunks);
            }
            m_chunks.push_back(std::make_unique_for_overwrite<T[]>(kChunk));
        }
        m_chunks.back()[m_size++ % kChunk] = value;
    }
    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    const T& operator[](std::size_t k) const { return m_chunks[k / kChunk][k % kChunk]; }

    static constexpr std::size_t kChunk = std::size_t(1) << 16;
    std::size_t chunkCount() const { return m_chunks.size(); }
    // Frees a chunk whose values are no longer read.
    void release(std::size_t chunk) { m_chunks[chunk].reset(); }
    // Calls take(values, count) for each chunk in order, freeing each after; empty on return.
    template <class Take> void drain(Take take) {
        for (std::size_t c = 0; c < m_chunks.size(); ++c) {
            take(static_cast<const T*>(m_chunks[c].get()), std::min(kChunk, m_size - c * kChunk));
            m_chunks[c].reset();
        }
        *this = ChunkedArray();
    }

private:
    std::vector<std::unique_ptr<T[]>> m_chunks;
    std::size_t m_size = 0;
};

} // namespace lirsk
