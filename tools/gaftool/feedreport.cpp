#include "feedreport.h"

#include "common.h"

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace gaftool {

namespace {

// A field of a record: one line, no tabs.
QString field(QString text) {
    for (QChar& c : text)
        if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            c = QLatin1Char(' ');
    return text;
}

constexpr qint64 kMachineLineEvery = 100; // ms

} // namespace

FeedReport::FeedReport(Mode mode) : mode_(mode), terminal_(isatty(STDERR_FILENO)) {}

FeedReport::~FeedReport() {
    endProgress();
}

bool FeedReport::progress(const QString& stage, double done) {
    done = std::clamp(done, 0.0, 1.0);
    if (mode_ == Mode::Machine) {
        if (sinceLine_.isValid() && sinceLine_.elapsed() < kMachineLineEvery)
            return true;
        sinceLine_.start();
        record(QStringLiteral("progress"),
               field(stage) + QLatin1Char('\t') + QString::number(done, 'f', 3));
    } else if (mode_ == Mode::Human && terminal_) {
        const int filled = int(done * 30);
        const QString bar = QStringLiteral("\r%1 [%2%3] %4%")
                                .arg(stage, -16)
                                .arg(QString(filled, QLatin1Char('#')))
                                .arg(QString(30 - filled, QLatin1Char(' ')))
                                .arg(int(done * 100), 3);
        std::fputs(bar.toUtf8().constData(), stderr);
        std::fflush(stderr);
        drawn_ = true;
    } else if (mode_ == Mode::Human && stage != lastStage_) {
        err(QStringLiteral("%1…").arg(stage));
    }
    lastStage_ = stage;
    return true;
}

void FeedReport::endProgress() {
    if (drawn_)
        std::fputc('\n', stderr);
    drawn_ = false;
}

void FeedReport::note(const QString& path, const QString& text) {
    if (mode_ == Mode::Machine)
        record(QStringLiteral("note"), text);
    else
        err(QStringLiteral("gaftool: %1: %2").arg(path, text));
}

void FeedReport::record(const QString& kind, const QString& value) {
    if (mode_ != Mode::Machine)
        return;
    out(kind + QLatin1Char('\t') + (kind == QLatin1String("progress") ? value : field(value)));
    std::fflush(stdout);
}

int FeedReport::fail(const QString& path, const QString& reason) {
    endProgress();
    if (mode_ == Mode::Machine) {
        record(QStringLiteral("error"), QStringLiteral("%1: %2").arg(path, reason));
        return 2;
    }
    return failInput(path, reason);
}

int FeedReport::badUsage(const QString& text) {
    if (mode_ == Mode::Machine)
        record(QStringLiteral("error"), text);
    return usage(text);
}

} // namespace gaftool
