#pragma once

#include <QByteArray>
#include <QString>

class QFile;

// Reading and writing whole files the way every part of the program does it: nothing is read
// without bound and no old file is lost when a write fails.

namespace lirsk {

// The largest map file the program reads: 1 GiB.
constexpr qint64 kMaxMapFileSize = qint64(1) << 30;

// Reads a whole regular file of at most maxSize bytes. A device, FIFO, socket or folder is
// refused before it is opened, and so is a larger file, before anything is read.
bool readWholeFile(const QString& path, qint64 maxSize, QByteArray* data, QString* error);
// Opens a regular file of at most maxSize bytes for reading, refused as readWholeFile refuses
// it; its size then.
bool openForReading(const QString& path, qint64 maxSize, QFile& file, qint64* size, QString* error);
// Whether the file opened has bytes past size: it grows while it is read (the error says so).
bool grewWhileRead(QFile& file, QString* error);

// Writes the bytes through a temporary file beside the target, which replaces it only once every
// byte was written; otherwise the old file stays as it was and the error gives the cause. Refuses
// a target that exists and is not a regular file (a device, FIFO, socket or folder).
bool saveWholeFile(const QString& path, const QByteArray& data, QString* error);

// Writes the bytes as a regular file at path without ever writing through a symbolic link: a link,
// or anything else that is not a regular file, at path is refused; the bytes go to a new file
// created beside it (never an existing one), which then takes the place of path. For folders of
// the program's own that another user or program may have planted links in.
bool saveOwnFile(const QString& path, const QByteArray& data, QString* error);

// Removes the regular file at path; a link, or anything else that is not a regular file, stays
// where it is.
void removeRegularFile(const QString& path);

// The reason of a failed system call (an errno value): the usual causes of a failed write in
// Russian, the toolkit's wording for the rest.
QString systemErrorText(int code);

} // namespace lirsk
