#pragma once

#include "import/csvreader.h"
#include "import/feedsource.h"
#include "import/importprogress.h"

#include <QString>

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

// One file of a feed read record by record: its columns found by name, its fields trimmed,
// numbers and times checked, and every error one line naming the file and the line.

namespace lirsk::gtfs {

// Times of a trip end before this: 72:00:00, three days after the noon of its service day less
// 12 hours.
constexpr int kMaxStopTime = 72 * 3600;

// The seconds of a time "H:MM:SS" (hours may pass 24 and have up to six digits), or nothing when
// the text is not such a time.
std::optional<qint64> parseClockTime(std::string_view text);

class FeedFile {
public:
    FeedFile(const char* name, ImportProgress& progress);

    // Opens the file in the source (or the stream given, of size bytes, 0 when unknown) and
    // reads its header; false with error() set when it cannot.
    bool open(const FeedSource& source);
    bool open(std::unique_ptr<FeedStream> stream, qint64 size);

    // The column of a name the file must have, or -1 with the error set.
    int required(const char* column);
    // The column of a name, or -1: its fields then read as blank.
    int optional(const char* column) const { return header_.column(column); }

    // The next record; false at the end or on an error (failed() then).
    bool next();
    bool failed() const { return failed_; }
    const QString& error() const { return error_; }
    const QString& name() const { return name_; }
    ImportProgress& progress() { return progress_; }

    // The field at the column, trimmed of spaces and tabs; blank for a short record or -1.
    std::string_view operator[](int column) const;

    // Always false, with the error "name: reason", or "name: строка N: reason".
    bool fail(const QString& reason);
    bool failAtLine(const QString& reason);

    // A finite number in the column, or nothing with the error set; blank gives fallback.
    std::optional<double> number(int column, const char* what, std::optional<double> fallback);
    // A whole number from least to most, or nothing with the error set; blank gives fallback.
    std::optional<qint64> whole(int column, const char* what, qint64 least, qint64 most,
                                std::optional<qint64> fallback);
    // Latitude and longitude in degrees, on the globe, or nothing with the error set.
    std::optional<std::pair<double, double>> position(int latColumn, int lonColumn,
                                                      const char* latName, const char* lonName);
    // A time "H:MM:SS" in seconds (hours may pass 24, up to kMaxStopTime); -1 for blank, -2
    // with the error set.
    int time(int column, const char* what);

private:
    QString name_;
    ImportProgress& progress_;
    std::unique_ptr<FeedStream> stream_;
    std::unique_ptr<CsvReader> reader_;
    CsvHeader header_;
    std::vector<std::string_view> fields_;
    qint64 size_ = 0;
    bool failed_ = false;
    QString error_;
};

// The UTF-8 bytes of a field as text.
inline QString text(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

} // namespace lirsk::gtfs
