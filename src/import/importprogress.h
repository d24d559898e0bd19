#pragma once

#include "import/gtfsimport.h"

#include <QString>

#include <algorithm>
#include <chrono>
#include <exception>
#include <iterator>
#include <vector>

// What a long import reports as it goes, and what stops it: the caller cancelling through the
// progress callback, or the process's memory passing the import's budget.

namespace lirsk {

// Thrown through the import when it stops before its end; reason() is one line for the user.
class ImportStopped : public std::exception {
public:
    explicit ImportStopped(QString reason) : reason_(std::move(reason)) {}
    const QString& reason() const { return reason_; }
    const char* what() const noexcept override { return "import stopped"; }

private:
    QString reason_;
};

class ImportProgress {
public:
    // memoryBudget: the most the process's peak resident memory may reach, in bytes; 0 for no
    // bound.
    explicit ImportProgress(GtfsProgress callback = {}, qint64 memoryBudget = 0);

    // A new stage begins; the callback hears of it at once.
    void begin(const QString& stage);
    // Units of the stage's work are done (a unit takes about a microsecond: a record read, a
    // comparison, a stop placed) and the part of the stage done (0..1; the callback hears the
    // most said since the stage began). Every few hundred units the clock is read: the callback
    // is called and the memory checked at least every 50 ms.
    void tick(double done, qint64 units = 1) {
        ticks_ += units;
        if (ticks_ >= 256) {
            ticks_ = 0;
            check(done);
        }
    }
    // Before taking bytes more at once: stops the import when that would pass the budget.
    void reserve(qint64 bytes);
    // Before a push_back: a full vector doubles its room, asking for it first and moving its
    // elements over in pieces between reports.
    template <class T> void grow(std::vector<T>& v) {
        if (v.size() < v.capacity())
            return;
        const std::size_t room = std::max<std::size_t>(2 * v.capacity(), 16);
        reserve(qint64(room * sizeof(T)));
        std::vector<T> larger;
        larger.reserve(room);
        constexpr std::size_t kPiece = 1 << 16;
        for (std::size_t k = 0; k < v.size(); k += kPiece) {
            const auto from = v.begin() + std::ptrdiff_t(k);
            larger.insert(
                larger.end(), std::make_move_iterator(from),
                std::make_move_iterator(from + std::ptrdiff_t(std::min(kPiece, v.size() - k))));
            tick(0, 256);
        }
        v.swap(larger);
    }
    qint64 memoryBudget() const { return budget_; }
    // The lines for an import over its budget, and for one the system had no memory for.
    QString overBudgetText() const;
    QString outOfMemoryText() const;

private:
    void check(double done);
    void report(double done);

    GtfsProgress callback_;
    qint64 budget_;
    QString stage_;
    double done_ = 0;
    qint64 ticks_ = 0;
    std::chrono::steady_clock::time_point last_;
};

} // namespace lirsk
