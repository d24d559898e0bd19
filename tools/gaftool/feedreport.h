#pragma once

#include <QElapsedTimer>
#include <QString>

// What the feed commands (import-gtfs, gtfs-summary) say as they work: for people, a progress
// bar on a terminal's standard error (a line per stage elsewhere) and "gaftool: FILE: reason"
// lines; for a program (--machine), records on standard output, UTF-8, one a line, fields
// separated by a tab:
//   progress<TAB>STAGE<TAB>FRACTION   at most about ten a second, FRACTION 0..1
//   note<TAB>TEXT                     what the user should know of the result
//   error<TAB>FILE: REASON            the failure, the last line; the exit code is then 2
// and whatever the command adds (renamed<TAB>N, summary<TAB>JSON).

namespace gaftool {

class FeedReport {
public:
    enum class Mode { Quiet, Human, Machine };
    explicit FeedReport(Mode mode);
    ~FeedReport();

    // The progress callback of the import: reports, never cancels.
    bool progress(const QString& stage, double done);
    // A finished progress bar leaves the line it drew.
    void endProgress();
    // A note about the feed or file named.
    void note(const QString& path, const QString& text);
    // A record for a program; nothing for people.
    void record(const QString& kind, const QString& value);
    // Reports the failure and returns the exit code 2.
    int fail(const QString& path, const QString& reason);
    // The usage error of a command: its text, and in machine form the error record too.
    int badUsage(const QString& text);

    bool machine() const { return mode_ == Mode::Machine; }
    bool human() const { return mode_ == Mode::Human; }

private:
    Mode mode_;
    bool terminal_;
    bool drawn_ = false;
    QString lastStage_;
    QElapsedTimer sinceLine_;
};

} // namespace gaftool
