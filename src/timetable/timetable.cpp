#include "timetable/timetable.h"

#include "model/safefile.h"
#include "timetable/timetablefile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <bit>
#include <cstring>
#include <numeric>
#include <xxhash.h>

static_assert(std::endian::native == std::endian::little,
              "the timetable file is read in place: little-endian machines only");

namespace lirsk {

namespace {

constexpr char kMagic[8] = {'L', 'R', 'S', 'K', 'G', 'A', 'F', 'T'};
constexpr std::size_t kHeadSize = 32;

enum Section {
    MetaSection,
    StringOffsetsSection,
    StringBytesSection,
    StationsSection,
    WalkFirstSection,
    WalksSection,
    RoutesSection,
    PatternsSection,
    PatternStopsSection,
    TripsSection,
    StopTimesSection,
    DeparturesSection,
    ServiceDaysSection,
    HopFirstSection,
    HopsSection,
    SectionCount
};

struct Meta {
    std::int64_t firstDay = 0; // Julian day
    std::uint32_t dayCount = 0;
    std::uint32_t timeZone = 0; // string index
    std::uint32_t serviceCount = 0;
    std::uint32_t wordsPerService = 0;
    std::uint32_t reserved[2] = {0, 0};
};

constexpr std::size_t kTableSize = std::size_t(SectionCount) * 16;

std::uint64_t checksum(const char* data, std::size_t size) {
    return XXH3_64bits(data, size);
}

// Appends sections, each at a multiple of 8 bytes, and fills the head and the table at the end.
class SectionWriter {
public:
    // capacity: the file's size at most, so that it is never copied as it grows.
    explicit SectionWriter(std::size_t capacity)
        : bytes_(QByteArray(qsizetype(kHeadSize + kTableSize), '\0')) {
        bytes_.reserve(qsizetype(capacity));
    }
    template <class T> void add(Section section, const T* data, std::size_t count) {
        add(section, reinterpret_cast<const char*>(data), count * sizeof(T));
    }
    void add(Section section, const char* data, std::size_t size) {
        begin(section, size);
        bytes_.append(data, qsizetype(size));
    }
    // A part written whole, then freed.
    template <class Part> void add(Section section, Part& part) {
        add(section, part.data(), std::size_t(part.size()));
        part = Part();
    }
    // A chunked part, each chunk freed once written.
    template <class T> void add(Section section, ChunkedArray<T>& part) {
        begin(section, part.size() * sizeof(T));
        part.drain([&](const T* values, std::size_t count) {
            bytes_.append(reinterpret_cast<const char*>(values), qsizetype(count * sizeof(T)));
        });
    }
    QByteArray finish() {
        char* head = bytes_.data();
        std::memcpy(head, kMagic, 8);
        qToLittleEndian<std::uint32_t>(kTimetableVersion, head + 8);
        qToLittleEndian<std::uint32_t>(SectionCount, head + 12);
        qToLittleEndian<std::uint64_t>(std::uint64_t(bytes_.size()), head + 16);
        qToLittleEndian<std::uint64_t>(
            checksum(head + kHeadSize, std::size_t(bytes_.size()) - kHeadSize), head + 24);
        return std::move(bytes_);
    }

private:
    void begin(Section section, std::size_t size) {
        bytes_.append(QByteArray((8 - bytes_.size() % 8) % 8, '\0'));
        const std::uint64_t at = std::uint64_t(bytes_.size());
        qToLittleEndian<std::uint64_t>(at, bytes_.data() + kHeadSize + section * 16);
        qToLittleEndian<std::uint64_t>(size, bytes_.data() + kHeadSize + section * 16 + 8);
    }

    QByteArray bytes_;
};

template <class T>
bool allBelow(std::span<const T> values, std::uint32_t T::*field, std::size_t n) {
    return std::all_of(values.begin(), values.end(), [&](const T& v) { return v.*field < n; });
}

bool ascending(std::span<const std::uint32_t> first, std::size_t end) {
    return !first.empty() && first.front() == 0 && first.back() == end &&
           std::is_sorted(first.begin(), first.end());
}

} // namespace

std::uint32_t StringTable::add(const QByteArray& utf8) {
    const auto it = indices_.constFind(utf8);
    if (it != indices_.cend())
        return *it;
    const std::uint32_t index = std::uint32_t(strings_.size());
    strings_.push_back(utf8);
    indices_.insert(utf8, index);
    return index;
}

QByteArray writeTimetable(TimetableParts&& parts) {
    StringTable strings = parts.strings;
    Meta meta;
    meta.firstDay = parts.firstDay.toJulianDay();
    meta.dayCount = std::uint32_t(parts.dayCount);
    meta.timeZone = strings.add(parts.timeZone);
    meta.serviceCount = std::uint32_t(parts.serviceCount);
    meta.wordsPerService = std::uint32_t(parts.wordsPerService);
    std::vector<std::uint32_t> offsets{0};
    QByteArray text;
    for (const QByteArray& s : strings.strings()) {
        text += s;
        offsets.push_back(std::uint32_t(text.size()));
    }
    std::vector<Meta> metaPart{meta};
    // The sections in file order, each given to put with the container that holds it.
    const auto sections = [&](auto&& put) {
        put(MetaSection, metaPart);
        put(StringOffsetsSection, offsets);
        put(StringBytesSection, text);
        put(StationsSection, parts.stations);
        put(WalkFirstSection, parts.walkFirst);
        put(WalksSection, parts.walks);
        put(RoutesSection, parts.routes);
        put(PatternsSection, parts.patterns);
        put(PatternStopsSection, parts.patternStops);
        put(TripsSection, parts.trips);
        put(StopTimesSection, parts.stopTimes);
        put(DeparturesSection, parts.departures);
        put(ServiceDaysSection, parts.serviceDays);
        put(HopFirstSection, parts.hopFirst);
        put(HopsSection, parts.hops);
    };
    std::size_t capacity = kHeadSize + kTableSize;
    sections([&](Section, const auto& part) {
        using Value = typename std::remove_cvref_t<decltype(part)>::value_type;
        capacity += 8 + std::size_t(part.size()) * sizeof(Value);
    });
    // Each part is freed once it is in the file: the two are never held whole together.
    SectionWriter w(capacity);
    sections([&](Section section, auto& part) { w.add(section, part); });
    return w.finish();
}

Timetable::Timetable() = default;
Timetable::~Timetable() = default;
Timetable::Timetable(const Timetable&) = default;
Timetable& Timetable::operator=(const Timetable&) = default;
Timetable::Timetable(Timetable&&) noexcept = default;
Timetable& Timetable::operator=(Timetable&&) noexcept = default;

// The bytes a timetable is read from: held, or a file mapped into memory (files are replaced,
// never written over, so a mapped one stays as it was).
struct Timetable::Bytes {
    QByteArray held;
    QFile file;
    const char* data = nullptr;
    std::size_t size = 0;
};

QByteArray Timetable::bytes() const {
    return bytes_ ? QByteArray::fromRawData(bytes_->data, qsizetype(bytes_->size)) : QByteArray();
}

bool Timetable::read(const QString& path, QString* error) {
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        *error = Timetable::tr("это не обычный файл, а устройство, канал, сокет или папка");
        return false;
    }
    auto bytes = std::make_shared<Bytes>();
    bytes->file.setFileName(path);
    if (!bytes->file.open(QIODevice::ReadOnly)) {
        *error = bytes->file.errorString();
        return false;
    }
    const qint64 size = bytes->file.size();
    if (size > kMaxTimetableFileSize) {
        *error = Timetable::tr("файл размером %1 байт больше предела в %2 байт")
                     .arg(size)
                     .arg(kMaxTimetableFileSize);
        return false;
    }
    const uchar* mapped = size > 0 ? bytes->file.map(0, size) : nullptr;
    if (!mapped) {
        QByteArray data;
        return readWholeFile(path, kMaxTimetableFileSize, &data, error) &&
               load(std::move(data), error);
    }
    bytes->data = reinterpret_cast<const char*>(mapped);
    bytes->size = std::size_t(size);
    return adopt(std::move(bytes), error);
}

bool Timetable::load(QByteArray data, QString* error) {
    // Every record is read in place: its bytes must start at a multiple of 8.
    if (reinterpret_cast<std::uintptr_t>(data.constData()) % 8 != 0)
        data = QByteArray(data.constData(), data.size());
    auto bytes = std::make_shared<Bytes>();
    bytes->held = std::move(data);
    bytes->data = bytes->held.constData();
    bytes->size = std::size_t(bytes->held.size());
    return adopt(std::move(bytes), error);
}

bool Timetable::adopt(std::shared_ptr<const Bytes> bytes, QString* error) {
    Timetable loaded;
    loaded.bytes_ = std::move(bytes);
    if (!loaded.parse(error))
        return false;
    loaded.derive();
    *this = std::move(loaded);
    return true;
}

bool Timetable::parse(QString* error) {
    const char* base = bytes_->data;
    const std::size_t size = bytes_->size;
    const auto fail = [&](const char* reason) {
        *error = Timetable::tr(reason);
        return false;
    };
    if (size < kHeadSize + kTableSize || std::memcmp(base, kMagic, 8) != 0)
        return fail(QT_TRANSLATE_NOOP("Timetable", "это не файл расписания"));
    const std::uint32_t version = qFromLittleEndian<std::uint32_t>(base + 8);
    if (version > kTimetableVersion)
        return fail(
            QT_TRANSLATE_NOOP("Timetable", "расписание записано более новой версией программы"));
    if (version != kTimetableVersion ||
        qFromLittleEndian<std::uint32_t>(base + 12) != std::uint32_t(SectionCount) ||
        qFromLittleEndian<std::uint64_t>(base + 16) != size)
        return fail(
            QT_TRANSLATE_NOOP("Timetable", "файл расписания повреждён: неверный заголовок"));
    if (qFromLittleEndian<std::uint64_t>(base + 24) != checksum(base + kHeadSize, size - kHeadSize))
        return fail(QT_TRANSLATE_NOOP("Timetable",
                                      "файл расписания повреждён: контрольная сумма не сходится"));

    bool sound = true;
    const auto section = [&]<class T>(Section s, std::span<const T>& into) {
        const std::uint64_t at = qFromLittleEndian<std::uint64_t>(base + kHeadSize + s * 16);
        const std::uint64_t bytes = qFromLittleEndian<std::uint64_t>(base + kHeadSize + s * 16 + 8);
        if (at % 8 != 0 || at < kHeadSize + kTableSize || at > size || bytes > size - at ||
            bytes % sizeof(T) != 0) {
            sound = false;
            return;
        }
        into = std::span<const T>(reinterpret_cast<const T*>(base + at), bytes / sizeof(T));
    };
    std::span<const Meta> meta;
    section(MetaSection, meta);
    section(StringOffsetsSection, stringOffsets_);
    section(StringBytesSection, stringBytes_);
    section(StationsSection, stations_);
    section(WalkFirstSection, walkFirst_);
    section(WalksSection, walks_);
    section(RoutesSection, routes_);
    section(PatternsSection, patterns_);
    section(PatternStopsSection, patternStops_);
    section(TripsSection, trips_);
    section(StopTimesSection, stopTimes_);
    section(DeparturesSection, departures_);
    section(ServiceDaysSection, serviceDays_);
    section(HopFirstSection, hopFirst_);
    section(HopsSection, hops_);
    if (!sound || meta.size() != 1)
        return fail(
            QT_TRANSLATE_NOOP("Timetable", "файл расписания повреждён: неверная таблица разделов"));

    const Meta& m = meta.front();
    firstDay_ = QDate::fromJulianDay(m.firstDay);
    serviceCount_ = int(m.serviceCount);
    dayCountInFile_ = int(m.dayCount);
    wordsPerService_ = int(m.wordsPerService);
    if (!firstDay_.isValid() || m.dayCount == 0 || m.dayCount > kMaxServiceDays ||
        m.wordsPerService != (m.dayCount + 63) / 64 ||
        serviceDays_.size() != std::size_t(m.serviceCount) * m.wordsPerService)
        return fail(QT_TRANSLATE_NOOP("Timetable", "файл расписания повреждён: неверный период"));
    if (!ascending(stringOffsets_, stringBytes_.size()) ||
        m.timeZone + std::size_t(1) >= stringOffsets_.size())
        return fail(QT_TRANSLATE_NOOP("Timetable", "файл расписания повреждён: неверные строки"));
    timeZone_ = QTimeZone(text(m.timeZone).toUtf8());
    if (!timeZone_.isValid())
        return fail(QT_TRANSLATE_NOOP("Timetable", "неизвестный часовой пояс расписания"));
    if (const char* problem = inconsistency())
        return fail(problem);
    return true;
}

// What in the sections points outside them, or the first such thing; null when nothing does.
const char* Timetable::inconsistency() const {
    const std::size_t strings = stringOffsets_.size() - 1;
    if (stations_.empty() || !allBelow(stations_, &Station::name, strings) ||
        !allBelow(stations_, &Station::stopId, strings) ||
        std::any_of(stations_.begin(), stations_.end(),
                    [](const Station& s) { return s.changeTime < Station::kChangeForbidden; }))
        return QT_TRANSLATE_NOOP("Timetable", "файл расписания повреждён: неверные станции");
    if (walkFirst_.size() != stations_.size() + 1 || !ascending(walkFirst_, walks_.size()) ||
        !allBelow(walks_, &Walk::to, stations_.size()) ||
        !allBelow(walks_, &Walk::seconds, kMaxStopTime))
        return QT_TRANSLATE_NOOP("Timetable", "файл расписания повреждён: неверные переходы");
    if (hopFirst_.size() != stations_.size() + 1 || !ascending(hopFirst_, hops_.size()) ||
        !allBelow(hops_, &Walk::to, stations_.size()) ||
        !allBelow(hops_, &Walk::seconds, kMaxStopTime))
        return QT_TRANSLATE_NOOP("Timetable", "файл расписания повреждён: неверные перегоны");
    if (!allBelow(routes_, &Route::shortName, strings) ||
        !allBelow(routes_, &Route::longName, strings))
        return QT_TRANSLATE_NOOP("Timetable", "файл расписания повреждён: неверные маршруты");
    if (!allBelow(trips_, &Trip::service, std::size_t(serviceCount_)) ||
        !allBelow(trips_, &Trip::headsign, strings) || !allBelow(trips_, &Trip::tripId, strings))
        return QT_TRANSLATE_NOOP("Timetable", "файл расписания повреждён: неверные рейсы");
    const auto stationKnown = [&](const PatternStop& c) { return c.station() < stations_.size(); };
    if (!std::all_of(patternStops_.begin(), patternStops_.end(), stationKnown))
        return QT_TRANSLATE_NOOP("Timetable",
                                 "файл расписания повреждён: неверные остановки маршрутов");
    for (const Pattern& p : patterns_) {
        const std::uint64_t times = std::uint64_t(p.stopCount) * p.tripCount;
        if (p.route >= routes_.size() || p.stopCount < 2 || p.tripCount == 0 ||
            std::uint64_t(p.firstStop) + p.stopCount > patternStops_.size() ||
            std::uint64_t(p.firstTrip) + p.tripCount > trips_.size() ||
            p.firstTime > stopTimes_.size() || times > stopTimes_.size() - p.firstTime)
            return QT_TRANSLATE_NOOP("Timetable",
                                     "файл расписания повреждён: неверные шаблоны маршрутов");
    }
    // The latest time of all, in passes the compiler can widen.
    std::uint32_t latest = 0;
    for (const StopTime& t : stopTimes_) {
        latest = t.arrival > latest ? t.arrival : latest;
        latest = t.departure > latest ? t.departure : latest;
    }
    for (const std::uint32_t t : departures_)
        latest = t > latest ? t : latest;
    if (latest >= kMaxStopTime || departures_.size() != stopTimes_.size())
        return QT_TRANSLATE_NOOP("Timetable", "файл расписания повреждён: неверные времена");
    return nullptr;
}

// What the search needs beyond the file: the day starts in UTC, the calls at each station,
// the walks into each station.
void Timetable::derive() {
    const QDateTime firstNoon(firstDay_, QTime(12, 0), timeZone_);
    epoch_ = firstNoon.toSecsSinceEpoch() - 12 * 3600;
    dayBases_.clear();
    for (int d = 0; d < dayCountInFile_; ++d) {
        const QDateTime noon(firstDay_.addDays(d), QTime(12, 0), timeZone_);
        dayBases_.push_back(TimetableTime(noon.toSecsSinceEpoch() - 12 * 3600 - epoch_));
    }

    const std::size_t stationCount = stations_.size();
    patternFlags_.assign(patterns_.size(), 0);
    spans_.clear();
    std::vector<std::uint32_t> boardCount(stationCount + 1), alightCount(stationCount + 1);
    std::vector<std::uint32_t> seen(stationCount, std::uint32_t(-1));
    for (std::size_t p = 0; p < patterns_.size(); ++p) {
        const Pattern& pattern = patterns_[p];
        std::uint8_t& flags = patternFlags_[p];
        for (const PatternStop& c : stopsOf(pattern)) {
            if (seen[c.station()] == p)
                flags |= kRevisits;
            seen[c.station()] = std::uint32_t(p);
            boardCount[c.station() + 1] += c.canBoard();
            alightCount[c.station() + 1] += c.canAlight();
        }
        spans_.emplace_back(
            TimetableTime(stopTime(pattern, 0, 0).departure),
            TimetableTime(stopTime(pattern, pattern.tripCount - 1, pattern.stopCount - 1).arrival));
        const auto trips = trips_.subspan(pattern.firstTrip, pattern.tripCount);
        if (std::all_of(trips.begin(), trips.end(),
                        [&](const Trip& t) { return t.service == trips.front().service; }))
            flags |= kSharesDays;
    }
    std::partial_sum(boardCount.begin(), boardCount.end(), boardCount.begin());
    std::partial_sum(alightCount.begin(), alightCount.end(), alightCount.begin());
    boardFirst_ = boardCount;
    alightFirst_ = alightCount;
    boardings_.resize(boardCount.back());
    alightings_.resize(alightCount.back());
    for (std::size_t p = 0; p < patterns_.size(); ++p) {
        const auto calls = stopsOf(patterns_[p]);
        for (std::uint32_t i = 0; i < calls.size(); ++i) {
            const Call call{std::uint32_t(p), i};
            if (calls[i].canBoard())
                boardings_[boardCount[calls[i].station()]++] = call;
            if (calls[i].canAlight())
                alightings_[alightCount[calls[i].station()]++] = call;
        }
    }

    longestHop_ = 0;
    for (const auto& edges : {hops_, walks_})
        for (const Walk& e : edges)
            longestHop_ = std::max(longestHop_, e.seconds);

    std::vector<std::uint32_t> toCount(stationCount + 1);
    for (const Walk& w : walks_)
        ++toCount[w.to + 1];
    std::partial_sum(toCount.begin(), toCount.end(), toCount.begin());
    walkToFirst_ = toCount;
    walksTo_.resize(walks_.size());
    for (std::uint32_t s = 0; s < stationCount; ++s)
        for (const Walk& w : walksFrom(int(s)))
            walksTo_[toCount[w.to]++] = Walk{s, w.seconds};
}

QString Timetable::text(std::uint32_t index) const {
    const std::uint32_t from = stringOffsets_[index], to = stringOffsets_[index + 1];
    return QString::fromUtf8(stringBytes_.data() + from, qsizetype(to - from));
}

int Timetable::changeTime(int station, int byDefault) const {
    const std::int32_t t = stations_[std::size_t(station)].changeTime;
    return t == Station::kChangeForbidden ? -1 : t == Station::kChangeByDefault ? byDefault : t;
}

QString timetablePathFor(const QString& mapPath) {
    if (mapPath.endsWith(QLatin1String(".gaf"), Qt::CaseInsensitive))
        return mapPath + QLatin1Char('t');
    return mapPath + QStringLiteral(".gaft");
}

qint64 departureInPeriod(const Timetable& timetable, qint64 utc) {
    const QDateTime local = QDateTime::fromSecsSinceEpoch(utc, timetable.timeZone());
    const QDate first = timetable.firstDay(), last = timetable.lastDay();
    QDate day = local.date();
    if (day >= first && day <= last)
        return utc;
    if (timetable.dayCount() < 7)
        day = first;
    else if (day < first)
        day = day.addDays((day.daysTo(first) + 6) / 7 * 7);
    else
        day = day.addDays(-(last.daysTo(day) + 6) / 7 * 7);
    return QDateTime(day, local.time(), timetable.timeZone()).toSecsSinceEpoch();
}

QString mapMismatch(const Timetable& timetable, const GraphMap& map,
                    const MapDescription* description) {
    const QHash<int, StopIndex> byId = map.stopsById();
    // Each stop's places in the layouts, when there are two.
    QHash<int, QList<std::pair<int, int>>> layoutPlaces;
    if (description && description->layouts)
        for (const QList<LaidOutStop>* layout :
             {&description->layouts->geographic, &description->layouts->schematic})
            for (const LaidOutStop& s : *layout)
                layoutPlaces[s.stopId].append({s.left, s.top});
    for (const Timetable::Station& s : timetable.stations()) {
        const StopIndex index = byId.value(s.mapStop, NoStop);
        if (index == NoStop)
            return Timetable::tr("на карте нет остановки %1 (%2)")
                .arg(s.mapStop)
                .arg(timetable.text(s.name));
        const Stop& stop = map.stop(index);
        const QList<std::pair<int, int>> places = layoutPlaces.value(s.mapStop);
        const bool inLayouts = places.contains(std::pair(stop.Left, stop.Top)) &&
                               places.contains(std::pair(s.mapLeft, s.mapTop));
        if ((stop.Left != s.mapLeft || stop.Top != s.mapTop) && !inLayouts)
            return Timetable::tr("остановка %1 (%2) сдвинута")
                .arg(s.mapStop)
                .arg(timetable.text(s.name));
    }
    return QString();
}

} // namespace lirsk
