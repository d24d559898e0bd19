#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QString>

namespace lirsktest {

// A transit feed as the texts of its files, by name.
using Feed = QMap<QString, QByteArray>;

// Writes the files of the feed into the folder.
inline bool writeFeed(const QString& dir, const Feed& feed) {
    for (auto it = feed.cbegin(); it != feed.cend(); ++it) {
        QFile f(QDir(dir).filePath(it.key()));
        if (!f.open(QIODevice::WriteOnly) || f.write(it.value()) != it.value().size())
            return false;
    }
    return true;
}

} // namespace lirsktest
