#pragma once

#include "import/csvreader.h"
#include "import/feedsource.h"
#include "import/gtfsimport.h"

#include <QDate>

#include <optional>

// One file of a transit feed read row by row for the timetable: its columns by name, each row's
// fields trimmed, and the numbers, times and dates in them, every failure a line that names the
// file and the row.

namespace lirsk {

class FeedTable {
public:
    FeedTable(const FeedSource& source, const char* name, const GtfsProgress& progress,
              QString* error)
        : source_(source), name_(QLatin1String(name)), progress_(progress), error_(error) {}

    // Opens the file and reads its header; false with the error set when it cannot.
    bool open();
    int column(const char* name) const { return header_.column(name); }
    // The column of a name the file must have, or -1 with the error set.
    int required(const char* name);
    // The next row; false at the end, on an error or when cancelled (failed() then).
    bool next();
    bool failed() const { return failed_; }
    std::string_view operator[](int column) const;
    QString text(int column) const;

    // false with the error "file: line N: reason".
    bool fail(const QString& reason);
    // A whole number in the column within [low, high]; blank gives the fallback, or an error
    // when there is none.
    std::optional<qint64> integer(int column, const char* what, qint64 low, qint64 high,
                                  std::optional<qint64> blank = std::nullopt);
    std::optional<double> number(int column, const char* what);
    // A time H:MM:SS in seconds below 72 h; -1 when blank, -2 with the error set.
    int time(int column, const char* what);
    // A date YYYYMMDD; invalid with the error set.
    QDate date(int column, const char* what);

private:
    const FeedSource& source_;
    QString name_;
    const GtfsProgress& progress_;
    QString* error_;
    std::unique_ptr<FeedStream> stream_;
    std::unique_ptr<CsvReader> reader_;
    CsvHeader header_;
    std::vector<std::string_view> fields_;
    qint64 size_ = 0;
    qint64 rows_ = 0;
    bool failed_ = false;
};

} // namespace lirsk
