#include "import/stoptimerows.h"

#include <algorithm>
#include <limits>

namespace lirsk::gtfs {

void StopTimeRows::add(int trip, const StopTime& row, ImportProgress& progress) {
    if (m_size % kChunkRows == 0) {
        // Row numbers are kept in 32 bits: 64 GiB of rows, far past any memory budget.
        if (m_size >= std::numeric_limits<std::uint32_t>::max() - kChunkRows)
            throw ImportStopped(progress.outOfMemoryText());
        progress.reserve(qint64(kChunkRows * sizeof(StopTime)));
        progress.grow(m_chunks);
        m_chunks.push_back(std::make_unique_for_overwrite<StopTime[]>(kChunkRows));
    }
    if (m_runs.empty() || m_runs.back().trip != std::uint32_t(trip)) {
        progress.grow(m_runs);
        m_runs.push_back({std::uint32_t(trip), std::uint32_t(m_size), std::uint32_t(m_size)});
    }
    m_chunks.back()[m_size % kChunkRows] = row;
    m_runs.back().end = std::uint32_t(++m_size);
}

void StopTimeRows::sortRuns(ImportProgress& progress) {
    std::sort(m_runs.begin(), m_runs.end(), [&](const Run& a, const Run& b) {
        progress.tick(0);
        return a.trip != b.trip ? a.trip < b.trip : a.begin < b.begin;
    });
}

void StopTimeRows::gather(const Run* first, const Run* last, std::vector<StopTime>& calls) const {
    calls.clear();
    for (const Run* run = first; run != last; ++run)
        for (std::uint32_t k = run->begin; k < run->end; ++k)
            calls.push_back(row(k));
    const auto bySequence = [](const StopTime& a, const StopTime& b) {
        return a.sequence < b.sequence;
    };
    if (!std::is_sorted(calls.begin(), calls.end(), bySequence))
        std::stable_sort(calls.begin(), calls.end(), bySequence);
}

} // namespace lirsk::gtfs
