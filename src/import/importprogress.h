#pragma once

#include "import/gtfsimport.h"

#include <QString>

#include <chrono>
#include <exception>
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
    // Units of the stage's work are done (a unit: a record, a stop, a kilobyte of a name) and
    // the part of the stage done (0..1; the callback hears the most said since the stage began).
    // Every few units the clock is read: the callback is called and the memory checked at least
    // every 50 ms.
    void tick(double done, qint64 units = 1) {
        ticks_ += units;
        if (ticks_ >= 16) {
            ticks_ = 0;
            check(done);
        }
    }
    // Before taking bytes more at once: stops the import when that would pass the budget.
    void reserve(qint64 bytes);
    // Before a push_back: a full vector about to double asks for its new room first.
    template <class T> void grow(const std::vector<T>& v) {
        if (v.size() == v.capacity())
            reserve(qint64(std::max<std::size_t>(v.capacity(), 1) * sizeof(T)));
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
