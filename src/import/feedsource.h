#pragma once

#include <QString>

#include <memory>

// The files of a transit feed, read in pieces: from a zip archive or from a folder.

namespace lirsk {

// The largest a file of a zipped feed may declare itself expanded: 16 GiB.
constexpr qint64 kMaxFeedEntry = qint64(16) << 30;

// One file of the feed, open for reading from its start.
class FeedStream {
public:
    virtual ~FeedStream() = default;
    // Up to size bytes into buffer: the count read, 0 at the end, -1 on a failure (error()).
    virtual qint64 read(char* buffer, qint64 size) = 0;
    virtual QString error() const = 0;
};

class FeedSource {
public:
    virtual ~FeedSource() = default;
    virtual bool has(const QString& name) const = 0;
    // The size of the named file's contents in bytes, for progress; 0 when unknown.
    virtual qint64 size(const QString& name) const = 0;
    // The named file; null with the reason in error when it cannot be opened.
    virtual std::unique_ptr<FeedStream> open(const QString& name, QString* error) const = 0;
};

// A folder of .txt files, or a zip archive holding them at its top or in one folder. Null with
// the reason when the path is neither. A file of a folder that is not a regular file (a folder,
// a FIFO, a device) is there, and says what it is when opened; a zipped file inflates to no
// more than it declares.
std::unique_ptr<FeedSource> openFeed(const QString& path, QString* error);

} // namespace lirsk
