#pragma once

#include "import/feedsource.h"
#include "model/graphmap.h"
#include "timetable/timetablebuilder.h"

#include <QMap>

#include <cstring>

// A feed held in memory (file name -> CSV text), and a timetable built from it for a map with a
// stop for every station named in `stations` (stop_id -> the map's stop id).

namespace lirsktest {

using Feed = QMap<QString, QString>;

class MemoryFeed : public lirsk::FeedSource {
public:
    explicit MemoryFeed(const Feed& files) {
        for (auto it = files.cbegin(); it != files.cend(); ++it)
            files_.insert(it.key(), it.value().toUtf8());
    }
    bool has(const QString& name) const override { return files_.contains(name); }
    qint64 size(const QString& name) const override { return files_.value(name).size(); }
    std::unique_ptr<lirsk::FeedStream> open(const QString& name, QString*) const override {
        return std::make_unique<Stream>(files_.value(name));
    }

private:
    class Stream : public lirsk::FeedStream {
    public:
        explicit Stream(QByteArray bytes) : bytes_(std::move(bytes)) {}
        qint64 read(char* buffer, qint64 size) override {
            const qint64 n = std::min(size, qint64(bytes_.size()) - at_);
            std::memcpy(buffer, bytes_.constData() + at_, std::size_t(n));
            at_ += n;
            return n;
        }
        QString error() const override { return QString(); }

    private:
        QByteArray bytes_;
        qint64 at_ = 0;
    };
    QMap<QString, QByteArray> files_;
};

// Builds the timetable; the error text when it cannot.
inline QString buildFrom(const Feed& feed, const QStringList& stations, lirsk::Timetable* timetable,
                         QStringList* notes = nullptr) {
    lirsk::GraphMap map;
    lirsk::TimetableBuild build;
    for (int k = 0; k < stations.size(); ++k) {
        lirsk::Stop& stop = map.stop(map.AddStop(10 * k, 20 * k, false));
        stop.Id = k;
        stop.Label.Caption = stations[k];
        build.mapStops.insert(stations[k], k);
    }
    lirsk::TimetableBuildResult result;
    QString error;
    if (!lirsk::buildTimetable(MemoryFeed(feed), build, map, &result, &error) ||
        !timetable->load(result.file, &error))
        return error;
    if (notes)
        *notes = result.notes;
    return QString();
}

} // namespace lirsktest
