#pragma once

#include "import/gtfsfeed.h"
#include "import/importprogress.h"

#include <cstdint>
#include <memory>
#include <vector>

// The stop_times.txt rows of the trips kept, 16 bytes a row: the rows lie in file order in chunks
// that are never copied as they grow, and each run of rows of one trip is noted once, so that
// the trips can be gone through in trip order without sorting or moving the rows. A feed whose
// rows come grouped by trip (nearly all do) has one run a trip.

namespace lirsk::gtfs {

class StopTimeRows {
public:
    // Adds a row of the trip; stops the import when the memory budget would be passed.
    void add(int trip, const StopTime& row, ImportProgress& progress);
    std::size_t size() const { return m_size; }

    // Calls visit(trip, calls) for each trip in ascending order with its calls in stop_sequence
    // order (rows of an equal sequence in file order), then frees the rows.
    template <class Visit> void forEachTrip(Visit visit, ImportProgress& progress);

private:
    static constexpr std::size_t kChunkRows = std::size_t(1) << 16;
    // Rows [begin, end) of the file's rows kept, all of one trip.
    struct Run {
        std::uint32_t trip;
        std::uint32_t begin, end;
    };
    const StopTime& row(std::size_t k) const { return m_chunks[k / kChunkRows][k % kChunkRows]; }
    // Orders the runs by trip, each trip's in file order.
    void sortRuns(ImportProgress& progress);
    // The calls of the runs [first, last) of one trip, in stop_sequence order.
    void gather(const Run* first, const Run* last, std::vector<StopTime>& calls) const;

    std::vector<std::unique_ptr<StopTime[]>> m_chunks;
    std::vector<Run> m_runs;
    std::size_t m_size = 0;
};

template <class Visit> void StopTimeRows::forEachTrip(Visit visit, ImportProgress& progress) {
    sortRuns(progress);
    std::vector<StopTime> calls;
    std::size_t done = 0;
    for (std::size_t begin = 0; begin < m_runs.size();) {
        std::size_t end = begin + 1;
        while (end < m_runs.size() && m_runs[end].trip == m_runs[begin].trip)
            ++end;
        gather(m_runs.data() + begin, m_runs.data() + end, calls);
        progress.tick(double(done) / double(m_size), qint64(calls.size()));
        done += calls.size();
        visit(int(m_runs[begin].trip), calls);
        begin = end;
    }
    *this = StopTimeRows();
}

} // namespace lirsk::gtfs
