#pragma once

#include "import/feedsource.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <string>
#include <string_view>
#include <vector>

// A streaming reader of comma-separated files as RFC 4180 has them: quoted fields with embedded
// commas, doubled quotes and line breaks, CRLF or LF line ends, and a UTF-8 byte-order mark.

namespace lirsk {

// The longest record the reader takes: a longer one is a broken file, not data.
constexpr std::size_t kMaxCsvRecord = std::size_t(1) << 20;

class CsvReader {
public:
    explicit CsvReader(FeedStream& stream) : stream_(stream) {}

    // The next record into fields (views valid until the next call); false at the end of the
    // file or on an error (error() is then not empty). Blank lines are skipped.
    bool next(std::vector<std::string_view>& fields);
    // The line the last record began on, from 1.
    qint64 line() const { return recordLine_; }
    const QString& error() const { return error_; }
    // The bytes read so far.
    qint64 position() const { return consumed_; }

private:
    bool fill();
    int get() {
        if (at_ == buffer_.size() && !fill())
            return -1;
        return static_cast<unsigned char>(buffer_[at_++]);
    }

    FeedStream& stream_;
    std::string buffer_;
    std::size_t at_ = 0;
    bool started_ = false;
    bool ended_ = false;
    qint64 consumed_ = 0;
    qint64 line_ = 1;
    qint64 recordLine_ = 0;
    std::string record_;
    std::vector<std::size_t> ends_;
    QString error_;
};

// The header of a feed file: the column of each name (names trimmed of spaces).
class CsvHeader {
public:
    void set(const std::vector<std::string_view>& fields);
    // The column of the name, or -1.
    int column(const char* name) const { return columns_.value(QByteArray(name), -1); }

private:
    QHash<QByteArray, int> columns_;
};

// The field at column, or an empty one when the record is short or the column is absent (-1).
inline std::string_view field(const std::vector<std::string_view>& fields, int column) {
    return column >= 0 && std::size_t(column) < fields.size() ? fields[std::size_t(column)]
                                                              : std::string_view();
}

} // namespace lirsk
