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

// The longest record the reader takes, in bytes of the file, and the most fields: a longer or
// wider one is a broken file, not data.
constexpr qint64 kMaxCsvRecord = qint64(1) << 20;
constexpr std::size_t kMaxCsvFields = 4096;

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
    // The bytes of the file taken so far.
    qint64 offset() const { return consumed_ - qint64(buffer_.size()) + qint64(at_); }
    bool tooLarge(qint64 recordStart) {
        return (offset() - recordStart > kMaxCsvRecord || ends_.size() > kMaxCsvFields) &&
               refuseRecord(recordStart);
    }
    bool refuseRecord(qint64 recordStart);
    // The next byte, not taken; -1 at the end of the file or after a failed read.
    int peek() {
        if (at_ == buffer_.size() && !fill())
            return -1;
        return static_cast<unsigned char>(buffer_[at_]);
    }
    // The text of an unquoted field up to the comma or line end after it, not taken; false
    // with the error set when the record grows too large or the file cannot be read.
    bool takePlain(qint64 recordStart);
    // The text of a quoted field after its opening quote, up to its closing quote, taken.
    bool takeQuoted(qint64 recordStart);

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
