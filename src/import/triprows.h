#pragma once

#include "import/chunkedarray.h"

#include <algorithm>
#include <cstdint>
#include <vector>

// The stop_times.txt rows of the trips kept, each in the few bytes its reader packs it into: the
// rows lie in file order in chunks that are never copied as they grow, and each run of rows of
// one trip is noted once, so that the trips can be gone through in trip order without sorting
// or moving the rows. A feed whose rows come grouped by trip (nearly all do) has one run a trip.

namespace lirsk {

// The rows of each trip; sequenceOf(row) gives a row's stop_sequence.
template <class Row> class TripRows {
public:
    void add(std::uint32_t trip, const Row& row, ImportProgress* progress = nullptr) {
        if (m_runs.empty() || m_runs.back().trip != trip) {
            if (progress)
                progress->grow(m_runs);
            m_runs.push_back({trip, std::uint32_t(m_rows.size()), std::uint32_t(m_rows.size())});
        }
        m_rows.push_back(row, progress);
        m_runs.back().end = std::uint32_t(m_rows.size());
    }
    std::size_t size() const { return m_rows.size(); }
    const Row& operator[](std::size_t k) const { return m_rows[k]; }
    // Calls visit(trip) once for each run of rows, so at least once for each trip with rows.
    template <class Visit> void forEachRun(Visit visit) const {
        for (const Run& run : m_runs)
            visit(run.trip);
    }
    // Calls visit(trip, rows) for each trip in ascending order with the numbers of its rows in
    // stop_sequence order (rows of an equal sequence in file order); a false from visit stops.
    // Each chunk of rows is freed once its rows have been visited: the rows are read once.
    template <class Visit> bool forEachTrip(Visit visit, ImportProgress* progress = nullptr) {
        std::sort(m_runs.begin(), m_runs.end(), [&](const Run& a, const Run& b) {
            if (progress)
                progress->tick(0);
            return a.trip != b.trip ? a.trip < b.trip : a.begin < b.begin;
        });
        std::vector<std::uint32_t> left(m_rows.chunkCount()); // rows of each not yet visited
        for (std::size_t k = 0; k < m_rows.size(); k += ChunkedArray<Row>::kChunk)
            left[k / ChunkedArray<Row>::kChunk] =
                std::uint32_t(std::min(m_rows.size() - k, ChunkedArray<Row>::kChunk));
        std::vector<std::uint32_t> rows;
        const auto bySequence = [&](std::uint32_t a, std::uint32_t b) {
            return sequenceOf(m_rows[a]) < sequenceOf(m_rows[b]);
        };
        for (std::size_t begin = 0, done = 0; begin < m_runs.size();) {
            rows.clear();
            std::size_t end = begin;
            for (; end < m_runs.size() && m_runs[end].trip == m_runs[begin].trip; ++end)
                for (std::uint32_t k = m_runs[end].begin; k < m_runs[end].end; ++k)
                    rows.push_back(k);
            if (!std::is_sorted(rows.begin(), rows.end(), bySequence))
                std::stable_sort(rows.begin(), rows.end(), bySequence);
            if (progress)
                progress->tick(double(done) / double(size()), qint64(rows.size()));
            done += rows.size();
            if (!visit(m_runs[begin].trip, rows))
                return false;
            for (const std::uint32_t k : rows)
                if (--left[k / ChunkedArray<Row>::kChunk] == 0)
                    m_rows.release(k / ChunkedArray<Row>::kChunk);
            begin = end;
        }
        return true;
    }

private:
    // Rows [begin, end) of the file's rows kept, all of one trip.
    struct Run {
        std::uint32_t trip;
        std::uint32_t begin, end;
    };
    ChunkedArray<Row> m_rows;
    std::vector<Run> m_runs;
};

} // namespace lirsk
