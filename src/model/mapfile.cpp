#include "model/mapfile.h"

#include "model/safefile.h"
#include "model/textcodec.h"

#include <QCoreApplication>
#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <span>

namespace lirsk {

namespace {

// The messages about map files, translated in the context "MapFile".
struct MapFileText {
    Q_DECLARE_TR_FUNCTIONS(MapFile)
};

// The bytes of a map, whole in memory or read from a file a window at a time: a map's stops
// are read through a window that is used again and again, its links (the rest of the file) are
// held whole, so that the file's stops are never all in memory beside the map's.
class ByteReader {
public:
    explicit ByteReader(const QByteArray& data) : window_(data), size_(data.size()) {}
    ByteReader(QFile& file, qint64 size) : file_(&file), size_(size) {}

    qsizetype pos() const { return pos_; }
    qsizetype remaining() const { return size_ - pos_; }
    bool atEnd() const { return pos_ >= size_; }
    // The reason the file could not be read to its end, when it could not.
    const QString& fileError() const { return fileError_; }

    // A fixed-size record, valid until the next take; nothing when the data ends inside it.
    const char* take(qsizetype n) {
        if (remaining() < n || !have(n))
            return nullptr;
        const char* p = window_.constData() + (pos_ - windowAt_);
        pos_ += n;
        return p;
    }
    // All that is left, in memory; nothing when the file cannot be read to its end.
    const char* rest() {
        return have(remaining()) ? window_.constData() + (pos_ - windowAt_) : nullptr;
    }

    // The last text of a kind read: font names repeat from stop to stop, and a repeated one
    // shares the text decoded before instead of taking another copy.
    struct Repeated {
        QByteArray bytes;
        QString text;
    };

    bool readString(QString* out, QString* error, const char* what, Repeated* repeat = nullptr) {
        const qsizetype at = pos_;
        const char* p = take(4);
        if (!p) {
            *error = MapFileText::tr("файл кончается внутри длины строки «%1» (байт %2)")
                         .arg(MapFileText::tr(what))
                         .arg(at);
            return false;
        }
        const qint32 n = qFromLittleEndian<qint32>(p);
        if (n < 0) {
            *error = MapFileText::tr("строка «%1» в байте %2 имеет отрицательную длину (%3)")
                         .arg(MapFileText::tr(what))
                         .arg(at)
                         .arg(n);
            return false;
        }
        const char* text = take(n);
        if (!text) {
            *error =
                MapFileText::tr("строка «%1» в байте %2 длиной %3 байт, а за ней только %4 байт")
                    .arg(MapFileText::tr(what))
                    .arg(at)
                    .arg(n)
                    .arg(remaining());
            return false;
        }
        const QByteArrayView bytes(text, n);
        if (repeat && !repeat->text.isNull() && QByteArrayView(repeat->bytes) == bytes) {
            *out = repeat->text;
            return true;
        }
        *out = decodeCp1251(bytes);
        if (repeat)
            *repeat = {bytes.toByteArray(), *out};
        return true;
    }

private:
    static constexpr qsizetype kWindow = 256 << 10;

    // Whether the next n bytes are in the window, reading them into it when they are not.
    bool have(qsizetype n) {
        const qsizetype end = windowAt_ + window_.size();
        if (pos_ + n <= end)
            return true;
        if (!file_)
            return false;
        // What is left of the window moves to its front, and the file fills the rest.
        const qsizetype kept = end - pos_;
        const qsizetype want = std::min<qint64>(std::max(n, kWindow), remaining());
        const char* left = window_.constData() + (pos_ - windowAt_);
        if (window_.capacity() < want) {
            QByteArray larger(want, Qt::Uninitialized);
            std::memcpy(larger.data(), left, std::size_t(kept));
            window_ = std::move(larger);
        } else {
            std::memmove(window_.data(), left, std::size_t(kept));
            window_.resize(want);
        }
        windowAt_ = pos_;
        for (qsizetype got = kept; got < want;) {
            const qint64 read = file_->read(window_.data() + got, want - got);
            if (read <= 0) {
                fileError_ = read < 0 ? file_->errorString()
                                      : MapFileText::tr("файл укорачивается во время чтения");
                return false;
            }
            got += read;
        }
        return true;
    }

    QFile* file_ = nullptr;
    QByteArray window_; // the bytes from windowAt_ on
    qsizetype windowAt_ = 0;
    qsizetype pos_ = 0;
    qint64 size_;
    QString fileError_;
};

qint32 i32(const char* p, int offset) {
    return qFromLittleEndian<qint32>(p + offset);
}
quint32 u32(const char* p, int offset) {
    return qFromLittleEndian<quint32>(p + offset);
}
double f64(const char* p, int offset) {
    const quint64 bits = qFromLittleEndian<quint64>(p + offset);
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}
bool b8(const char* p, int offset) {
    return p[offset] != 0;
}

// The smallest a stop can take in a file: its record and four empty strings.
constexpr qsizetype kMinStopBytes = kStopRecordSize + 4 * 4;

// The header's settings into the map (the links' own weights off until the links are in), the
// number of stops it declares and whether the links keep their own weights.
bool readHeader(ByteReader& in, GraphMap& map, qint32* stopCount, bool* userWeights,
                QString* error) {
    const char* h = in.take(kHeaderSize);
    if (!h) {
        *error = MapFileText::tr("в файле %1 байт, меньше заголовка в %2 байт")
                     .arg(in.remaining())
                     .arg(kHeaderSize);
        return false;
    }
    DisplaySettings& s = map.Settings;
    *userWeights = b8(h, 0);
    s.UserWeights = false;
    s.AutoArcColor = b8(h, 1);
    s.ArcColor = u32(h, 4);
    s.ShowWeights = b8(h, 8);
    s.TreeColor = u32(h, 12);
    s.ArrowSize = i32(h, 16);
    s.ArrowAngle = f64(h, 24);
    s.ArrowType = i32(h, 32);
    s.ArcWidth = i32(h, 36);
    map.MaxStopId = i32(h, 40);
    *stopCount = i32(h, 44);
    map.StoredSearchPanel = b8(h, 48);

    if (*stopCount > 0 && *stopCount > in.remaining() / kMinStopBytes) {
        *error = MapFileText::tr("заголовок объявляет %1 остановок, больше, чем вмещают "
                                 "%2 байт после него")
                     .arg(*stopCount)
                     .arg(in.remaining());
        return false;
    }
    return true;
}

bool readStops(ByteReader& in, GraphMap& map, qint32 stopCount, std::vector<int>& ids,
               QString* error) {
    map.reserveStops(std::max(stopCount, 0));
    ids.reserve(std::size_t(std::max(stopCount, 0)));
    ByteReader::Repeated stopFont, labelFont;
    for (qint32 k = 0; k < stopCount; ++k) {
        const qsizetype at = in.pos();
        const char* taken = in.take(kStopRecordSize);
        if (!taken) {
            *error = MapFileText::tr("файл кончается внутри записи остановки %1 (байт %2)")
                         .arg(k + 1)
                         .arg(at);
            return false;
        }
        // The strings after the record may move the reader's window on.
        char r[kStopRecordSize];
        std::memcpy(r, taken, kStopRecordSize);
        QString fontName, name, routes, labelFontName;
        if (!in.readString(&fontName, error, QT_TRANSLATE_NOOP("MapFile", "шрифт остановки"),
                           &stopFont) ||
            !in.readString(&name, error, QT_TRANSLATE_NOOP("MapFile", "название")) ||
            !in.readString(&routes, error, QT_TRANSLATE_NOOP("MapFile", "маршруты")))
            return false;

        Stop stop;
        stop.Left = i32(r, 0);
        stop.Top = i32(r, 4);
        stop.Id = i32(r, 8);
        ids.push_back(stop.Id);
        stop.Radius = i32(r, 16);
        stop.Width = stop.Height = i32(r, 12);
        stop.FillColor = u32(r, 20);
        stop.Font.Color = u32(r, 24);
        stop.Font.Size = i32(r, 28);
        stop.Font.Name = std::move(fontName);
        stop.Font.Bold = b8(r, 32);
        stop.Font.Italic = b8(r, 33);
        stop.Font.Underline = b8(r, 34);
        stop.Font.StrikeOut = b8(r, 35);
        stop.Label.Left = i32(r, 36);
        stop.Label.Top = i32(r, 40);
        stop.Label.Visible = b8(r, 44);
        stop.Label.Caption = std::move(name);
        stop.Routes = std::move(routes);
        const StopIndex index = map.appendStop(std::move(stop));

        if (!in.readString(&labelFontName, error, QT_TRANSLATE_NOOP("MapFile", "шрифт названия"),
                           &labelFont))
            return false;
        FontSpec& lf = map.stop(index).Label.Font;
        lf.Name = std::move(labelFontName);
        lf.Size = i32(r, 48);
        lf.Color = u32(r, 52);
        lf.Bold = lf.Bold || b8(r, 56);
        lf.Italic = lf.Italic || b8(r, 57);
        lf.Underline = lf.Underline || b8(r, 58);
        lf.StrikeOut = lf.StrikeOut || b8(r, 59);
    }
    return true;
}

// The links, each in its from stop's list in file order.
bool readLinks(ByteReader& in, GraphMap& map, std::span<const int> ids, QString* error) {
    // Links name their stops by id; the first stop in list order with an id answers for it.
    // Each stop's list is sized once: the links are placed in a second walk.
    const StopIdLookup byId(ids);
    const char* links = in.rest();
    if (!links) {
        *error = in.fileError();
        return false;
    }
    std::vector<std::pair<StopIndex, StopIndex>> ends;
    ends.reserve(std::size_t(in.remaining() / kLinkRecordSize));
    std::vector<int> counts(std::size_t(map.stopCount()), 0);
    bool ok = true;
    while (ok && !in.atEnd()) {
        const qsizetype at = in.pos();
        const char* r = in.take(kLinkRecordSize);
        if (!r) {
            *error = MapFileText::tr("файл кончается %1 байтами, частью записи связи")
                         .arg(in.remaining());
            ok = false;
            break;
        }
        const qint32 fromId = i32(r, 0), toId = i32(r, 4);
        const StopIndex from = byId.find(fromId);
        const StopIndex to = byId.find(toId);
        if (from == NoStop || to == NoStop) {
            *error =
                MapFileText::tr(
                    "запись связи в байте %1 ссылается на Id %2, которого нет ни у одной остановки")
                    .arg(at)
                    .arg(from == NoStop ? fromId : toId);
            ok = false;
            break;
        }
        ends.emplace_back(from, to);
        ++counts[std::size_t(from)];
    }
    for (StopIndex i = 0; i < map.stopCount(); ++i)
        map.stop(i).Links.reserve(std::size_t(counts[std::size_t(i)]));
    const char* r = links;
    for (const auto& [from, to] : ends) {
        Link link;
        link.To = to;
        link.Price = f64(r, 8);
        link.Length = f64(r, 16);
        link.Time = f64(r, 24);
        map.appendLink(from, link);
        r += kLinkRecordSize;
    }
    // A map that breaks off keeps the links read before the break.
    return ok;
}

bool readBody(ByteReader& in, GraphMap& map, QString* error) {
    qint32 stopCount = 0;
    bool userWeights = false;
    std::vector<int> ids; // of the stops in list order
    if (!readHeader(in, map, &stopCount, &userWeights, error) ||
        !readStops(in, map, stopCount, ids, error) || !readLinks(in, map, ids, error)) {
        // A file that cannot be read to its end says why, not where its bytes seem to stop.
        if (!in.fileError().isEmpty())
            *error = in.fileError();
        return false;
    }
    map.Settings.UserWeights = userWeights;
    map.UpdateArcFlags();
    return true;
}

void putI32(char* p, int offset, qint32 v) {
    qToLittleEndian<qint32>(v, p + offset);
}
void putU32(char* p, int offset, quint32 v) {
    qToLittleEndian<quint32>(v, p + offset);
}
void putF64(char* p, int offset, double d) {
    quint64 bits;
    std::memcpy(&bits, &d, sizeof bits);
    qToLittleEndian<quint64>(bits, p + offset);
}
void putB8(char* p, int offset, bool v) {
    p[offset] = v ? 1 : 0;
}

bool putString(QByteArray& out, const QString& text, const StopFields& stop, const char* what,
               QString* error) {
    const std::optional<QByteArray> bytes = encodeCp1251(text);
    if (!bytes) {
        *error = MapFileText::tr("Остановка %1 («%2»): %3 содержит символы, которых нет в "
                                 "кодировке Windows-1251")
                     .arg(stop.Id)
                     .arg(stop.Label.Caption, MapFileText::tr(what));
        return false;
    }
    char len[4];
    putI32(len, 0, qint32(bytes->size()));
    out.append(len, 4);
    out.append(*bytes);
    return true;
}

} // namespace

bool readMap(const QByteArray& data, GraphMap& map, QString* error) {
    QString local;
    QString* err = error ? error : &local;
    ByteReader in(data);
    map.clearStops();
    return readBody(in, map, err);
}

bool readMapFile(const QString& path, GraphMap& map, QString* error) {
    QString local;
    QString* err = error ? error : &local;
    QFile file;
    qint64 size = 0;
    if (!openForReading(path, kMaxMapFileSize, file, &size, err))
        return false;
    ByteReader in(file, size);
    map.clearStops();
    return readBody(in, map, err) && !grewWhileRead(file, err);
}

namespace {

// The bytes of a map file from the header's values, the stops in list order and each stop's
// links: stopAt(i) gives the fields of stop i, linksOf(i) its links.
template <class StopAt, class LinksOf>
std::optional<QByteArray>
writeRecords(const DisplaySettings& s, int maxStopId, int stopCount, std::size_t linkCount,
             bool searchPanelShown, const StopAt& stopAt, const LinksOf& linksOf, QString* error) {
    QString local;
    QString* err = error ? error : &local;
    QByteArray out;
    out.reserve(qsizetype(kHeaderSize + qsizetype(stopCount) * (kStopRecordSize + 64) +
                          qsizetype(linkCount) * kLinkRecordSize));

    char h[kHeaderSize] = {};
    putB8(h, 0, s.UserWeights);
    putB8(h, 1, s.AutoArcColor);
    putU32(h, 4, s.ArcColor);
    putB8(h, 8, s.ShowWeights);
    putU32(h, 12, s.TreeColor);
    putI32(h, 16, s.ArrowSize);
    putF64(h, 24, s.ArrowAngle);
    putI32(h, 32, s.ArrowType);
    putI32(h, 36, s.ArcWidth);
    putI32(h, 40, maxStopId);
    putI32(h, 44, stopCount);
    putB8(h, 48, searchPanelShown);
    out.append(h, kHeaderSize);

    for (StopIndex i = 0; i < stopCount; ++i) {
        const StopFields& stop = stopAt(i);
        char r[kStopRecordSize] = {};
        putI32(r, 0, stop.Left);
        putI32(r, 4, stop.Top);
        putI32(r, 8, stop.Id);
        putI32(r, 12, stop.Width);
        putI32(r, 16, stop.Radius);
        putU32(r, 20, stop.FillColor);
        putU32(r, 24, stop.Font.Color);
        putI32(r, 28, stop.Font.Size);
        putB8(r, 32, stop.Font.Bold);
        putB8(r, 33, stop.Font.Italic);
        putB8(r, 34, stop.Font.Underline);
        putB8(r, 35, stop.Font.StrikeOut);
        putI32(r, 36, stop.Label.Left);
        putI32(r, 40, stop.Label.Top);
        putB8(r, 44, stop.Label.Visible);
        putI32(r, 48, stop.Label.Font.Size);
        putU32(r, 52, stop.Label.Font.Color);
        putB8(r, 56, stop.Label.Font.Bold);
        putB8(r, 57, stop.Label.Font.Italic);
        putB8(r, 58, stop.Label.Font.Underline);
        putB8(r, 59, stop.Label.Font.StrikeOut);
        out.append(r, kStopRecordSize);
        if (!putString(out, stop.Font.Name, stop,
                       QT_TRANSLATE_NOOP("MapFile", "имя шрифта остановки"), err) ||
            !putString(out, stop.Label.Caption, stop, QT_TRANSLATE_NOOP("MapFile", "название"),
                       err) ||
            !putString(out, stop.Routes, stop, QT_TRANSLATE_NOOP("MapFile", "список маршрутов"),
                       err) ||
            !putString(out, stop.Label.Font.Name, stop,
                       QT_TRANSLATE_NOOP("MapFile", "имя шрифта названия"), err))
            return std::nullopt;
    }

    for (StopIndex i = 0; i < stopCount; ++i) {
        const int from = stopAt(i).Id;
        for (const Link& link : linksOf(i)) {
            char r[kLinkRecordSize] = {};
            putI32(r, 0, from);
            putI32(r, 4, stopAt(link.To).Id);
            putF64(r, 8, link.Price);
            putF64(r, 16, link.Length);
            putF64(r, 24, link.Time);
            out.append(r, kLinkRecordSize);
        }
    }
    return out;
}

} // namespace

std::optional<QByteArray> writeMap(const GraphMap& map, bool searchPanelShown, QString* error) {
    return writeRecords(
        map.Settings, map.MaxStopId, map.stopCount(), std::size_t(map.linkCount()),
        searchPanelShown, [&map](StopIndex i) -> const StopFields& { return map.stop(i); },
        [&map](StopIndex i) { return std::span<const Link>(map.stop(i).Links); }, error);
}

MapSnapshot::MapSnapshot(const GraphMap& map)
    : settings(map.Settings), maxStopId(map.MaxStopId), storedSearchPanel(map.StoredSearchPanel),
      stops(map.stops()) {}

std::optional<QByteArray> writeMap(const MapSnapshot& map, bool searchPanelShown, QString* error) {
    std::size_t links = 0;
    for (const Stop& stop : map.stops)
        links += stop.Links.size();
    return writeRecords(
        map.settings, map.maxStopId, int(map.stops.size()), links, searchPanelShown,
        [&map](StopIndex i) -> const StopFields& { return map.stops[std::size_t(i)]; },
        [&map](StopIndex i) { return std::span<const Link>(map.stops[std::size_t(i)].Links); },
        error);
}

bool saveMapFile(const QString& path, const GraphMap& map, bool searchPanelShown, QString* error) {
    const std::optional<QByteArray> bytes = writeMap(map, searchPanelShown, error);
    if (!bytes)
        return false;
    return saveWholeFile(path, *bytes, error);
}

} // namespace lirsk
