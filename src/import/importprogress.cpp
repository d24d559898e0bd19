#include "import/importprogress.h"

#include "import/importtext.h"

#include <sys/resource.h>

namespace lirsk {

namespace {

constexpr auto kReportEvery = std::chrono::milliseconds(50);

// The process's peak resident memory in bytes.
qint64 peakMemory() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return qint64(usage.ru_maxrss) * 1024;
}

} // namespace

ImportProgress::ImportProgress(GtfsProgress callback, qint64 memoryBudget)
    : callback_(std::move(callback)), budget_(memoryBudget),
      last_(std::chrono::steady_clock::now()) {}

void ImportProgress::begin(const QString& stage) {
    stage_ = stage;
    done_ = 0;
    report(0);
}

void ImportProgress::check(double done) {
    if (std::chrono::steady_clock::now() - last_ >= kReportEvery)
        report(done);
}

void ImportProgress::report(double done) {
    last_ = std::chrono::steady_clock::now();
    done_ = std::max(done_, done);
    if (budget_ > 0 && peakMemory() > budget_)
        throw ImportStopped(overBudgetText());
    if (callback_ && !callback_(stage_, done_))
        throw ImportStopped(ImportText::tr("импорт прерван"));
}

void ImportProgress::reserve(qint64 bytes) {
    if (budget_ > 0 && peakMemory() + bytes > budget_)
        throw ImportStopped(overBudgetText());
}

QString ImportProgress::overBudgetText() const {
    return ImportText::tr("импорту нужно больше памяти, чем ему отведено: %1 МБ")
        .arg(budget_ >> 20);
}

QString ImportProgress::outOfMemoryText() const {
    return budget_ > 0
               ? ImportText::tr("не хватило памяти (импорту отведено %1 МБ)").arg(budget_ >> 20)
               : ImportText::tr("не хватило памяти");
}

} // namespace lirsk
