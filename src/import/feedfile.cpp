#include "import/feedfile.h"

#include "import/importtext.h"

#include <charconv>
#include <cmath>

namespace lirsk::gtfs {

namespace {

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

} // namespace

FeedFile::FeedFile(const char* name, ImportProgress& progress)
    : name_(QLatin1String(name)), progress_(progress) {}

bool FeedFile::open(const FeedSource& source) {
    QString reason;
    std::unique_ptr<FeedStream> stream = source.open(name_, &reason);
    if (!stream)
        return fail(reason);
    return open(std::move(stream), source.size(name_));
}

bool FeedFile::open(std::unique_ptr<FeedStream> stream, qint64 size) {
    stream_ = std::move(stream);
    size_ = size;
    progress_.begin(name_);
    reader_ = std::make_unique<CsvReader>(*stream_);
    if (!reader_->next(fields_)) {
        if (!reader_->error().isEmpty())
            return fail(reader_->error());
        return fail(ImportText::tr("файл пуст, нет даже заголовка"));
    }
    header_.set(fields_);
    return true;
}

int FeedFile::required(const char* column) {
    const int at = header_.column(column);
    if (at < 0)
        fail(ImportText::tr("нет столбца %1").arg(QLatin1String(column)));
    return at;
}

bool FeedFile::next() {
    if (failed_)
        return false;
    if (!reader_->next(fields_)) {
        if (!reader_->error().isEmpty())
            failAtLine(reader_->error());
        return false;
    }
    progress_.tick(size_ > 0 ? double(reader_->position()) / double(size_) : 0);
    return true;
}

std::string_view FeedFile::operator[](int column) const {
    return trimmed(field(fields_, column));
}

bool FeedFile::fail(const QString& reason) {
    failed_ = true;
    error_ = QStringLiteral("%1: %2").arg(name_, reason);
    return false;
}

bool FeedFile::failAtLine(const QString& reason) {
    failed_ = true;
    error_ = ImportText::tr("%1: строка %2: %3").arg(name_).arg(reader_->line()).arg(reason);
    return false;
}

std::optional<double> FeedFile::number(int column, const char* what,
                                       std::optional<double> fallback) {
    const std::string_view s = (*this)[column];
    if (s.empty()) {
        if (!fallback)
            failAtLine(ImportText::tr("%1 пусто").arg(QLatin1String(what)));
        return fallback;
    }
    double value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(value)) {
        failAtLine(ImportText::tr("%1 — не число: «%2»").arg(QLatin1String(what), text(s)));
        return std::nullopt;
    }
    return value;
}

std::optional<qint64> FeedFile::whole(int column, const char* what, qint64 least, qint64 most,
                                      std::optional<qint64> fallback) {
    if ((*this)[column].empty()) {
        if (!fallback)
            failAtLine(ImportText::tr("%1 пусто").arg(QLatin1String(what)));
        return fallback;
    }
    const std::optional<double> v = number(column, what, std::nullopt);
    if (!v)
        return std::nullopt;
    if (*v < double(least) || *v > double(most) || *v != std::floor(*v)) {
        failAtLine(ImportText::tr("%1 — не целое число от %2 до %3: «%4»")
                       .arg(QLatin1String(what))
                       .arg(least)
                       .arg(most)
                       .arg(text((*this)[column])));
        return std::nullopt;
    }
    return qint64(*v);
}

std::optional<std::pair<double, double>>
FeedFile::position(int latColumn, int lonColumn, const char* latName, const char* lonName) {
    const std::optional<double> lat = number(latColumn, latName, std::nullopt);
    const std::optional<double> lon = lat ? number(lonColumn, lonName, std::nullopt) : std::nullopt;
    if (!lon)
        return std::nullopt;
    if (std::abs(*lat) > 90 || std::abs(*lon) > 180) {
        failAtLine(ImportText::tr("координаты вне земного шара"));
        return std::nullopt;
    }
    return std::pair(*lat, *lon);
}

std::optional<qint64> parseClockTime(std::string_view text) {
    qint64 parts[3] = {0, 0, 0};
    int part = 0;
    int digits = 0;
    for (const char c : text) {
        if (c == ':' && part < 2 && digits > 0) {
            ++part;
            digits = 0;
        } else if (c >= '0' && c <= '9' && digits < 6) {
            parts[part] = parts[part] * 10 + (c - '0');
            ++digits;
        } else {
            return std::nullopt;
        }
    }
    if (part != 2 || digits == 0 || parts[1] > 59 || parts[2] > 59)
        return std::nullopt;
    return parts[0] * 3600 + parts[1] * 60 + parts[2];
}

int FeedFile::time(int column, const char* what) {
    const std::string_view s = (*this)[column];
    if (s.empty())
        return -1;
    const std::optional<qint64> seconds = parseClockTime(s);
    if (!seconds) {
        failAtLine(ImportText::tr("%1 — не время Ч:ММ:СС: «%2»").arg(QLatin1String(what), text(s)));
        return -2;
    }
    if (*seconds >= kMaxStopTime) {
        failAtLine(ImportText::tr("%1 — 72 часа и больше: «%2»").arg(QLatin1String(what), text(s)));
        return -2;
    }
    return int(*seconds);
}

} // namespace lirsk::gtfs
