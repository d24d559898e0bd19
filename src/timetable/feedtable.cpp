#include "timetable/feedtable.h"

#include "import/feedfile.h"
#include "timetable/timetable.h"

#include <QCoreApplication>

#include <charconv>
#include <cmath>

namespace lirsk {

namespace {

std::string_view trimmed(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

QString quoted(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

} // namespace

bool FeedTable::open() {
    QString reason;
    stream_ = source_.open(name_, &reason);
    if (!stream_) {
        failed_ = true;
        *error_ = QStringLiteral("%1: %2").arg(name_, reason);
        return false;
    }
    size_ = source_.size(name_);
    reader_ = std::make_unique<CsvReader>(*stream_);
    if (!reader_->next(fields_)) {
        failed_ = true;
        *error_ = QStringLiteral("%1: %2").arg(
            name_, reader_->error().isEmpty() ? Timetable::tr("файл пуст, нет даже заголовка")
                                              : reader_->error());
        return false;
    }
    header_.set(fields_);
    return true;
}

int FeedTable::required(const char* name) {
    const int at = column(name);
    if (at < 0) {
        failed_ = true;
        *error_ = QStringLiteral("%1: %2").arg(
            name_, Timetable::tr("нет столбца %1").arg(QLatin1String(name)));
    }
    return at;
}

bool FeedTable::next() {
    if (failed_)
        return false;
    if (!reader_->next(fields_)) {
        if (!reader_->error().isEmpty())
            fail(reader_->error());
        return false;
    }
    if (progress_ && (++rows_ & 0xFFFF) == 0 &&
        !progress_(name_, size_ > 0 ? double(reader_->position()) / double(size_) : 0)) {
        failed_ = true;
        *error_ = Timetable::tr("построение расписания прервано");
        return false;
    }
    return true;
}

std::string_view FeedTable::operator[](int column) const {
    return trimmed(field(fields_, column));
}

QString FeedTable::text(int column) const {
    return quoted((*this)[column]);
}

bool FeedTable::fail(const QString& reason) {
    failed_ = true;
    *error_ = Timetable::tr("%1: строка %2: %3").arg(name_).arg(reader_->line()).arg(reason);
    return false;
}

std::optional<qint64> FeedTable::integer(int column, const char* what, qint64 low, qint64 high,
                                         std::optional<qint64> blank) {
    const std::string_view s = (*this)[column];
    if (s.empty()) {
        if (!blank)
            fail(Timetable::tr("%1 пусто").arg(QLatin1String(what)));
        return blank;
    }
    qint64 value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size() || value < low || value > high) {
        fail(Timetable::tr("%1 — не целое число от %2 до %3: «%4»")
                 .arg(QLatin1String(what))
                 .arg(low)
                 .arg(high)
                 .arg(quoted(s)));
        return std::nullopt;
    }
    return value;
}

std::optional<double> FeedTable::number(int column, const char* what) {
    const std::string_view s = (*this)[column];
    double value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size() || !std::isfinite(value)) {
        fail(Timetable::tr("%1 — не число: «%2»").arg(QLatin1String(what), quoted(s)));
        return std::nullopt;
    }
    return value;
}

int FeedTable::time(int column, const char* what) {
    const std::string_view s = (*this)[column];
    if (s.empty())
        return -1;
    const std::optional<qint64> seconds = gtfs::parseClockTime(s);
    if (!seconds) {
        fail(Timetable::tr("%1 — не время Ч:ММ:СС: «%2»").arg(QLatin1String(what), quoted(s)));
        return -2;
    }
    if (*seconds >= qint64(kMaxStopTime)) {
        fail(Timetable::tr("%1 — 72 часа или больше от начала дня: «%2»")
                 .arg(QLatin1String(what), quoted(s)));
        return -2;
    }
    return int(*seconds);
}

QDate FeedTable::date(int column, const char* what) {
    const std::string_view s = (*this)[column];
    const QDate d = QDate::fromString(quoted(s), QStringLiteral("yyyyMMdd"));
    if (s.size() != 8 || !d.isValid())
        fail(Timetable::tr("%1 — не дата ГГГГММДД: «%2»").arg(QLatin1String(what), quoted(s)));
    return s.size() == 8 ? d : QDate();
}

} // namespace lirsk
