#include "import/csvreader.h"

#include "import/importtext.h"

#include <algorithm>
#include <cstring>

namespace lirsk {

bool CsvReader::fill() {
    if (ended_ || !error_.isEmpty())
        return false;
    buffer_.resize(std::size_t(1) << 16);
    const qint64 n = stream_.read(buffer_.data(), qint64(buffer_.size()));
    if (n < 0) {
        error_ = ImportText::tr("ошибка чтения: %1").arg(stream_.error());
        ended_ = true;
        buffer_.clear();
        at_ = 0;
        return false;
    }
    buffer_.resize(std::size_t(n));
    at_ = 0;
    consumed_ += n;
    if (!started_) {
        started_ = true;
        if (buffer_.size() >= 3 && buffer_.compare(0, 3, "\xEF\xBB\xBF") == 0)
            at_ = 3;
    }
    if (n == 0)
        ended_ = true;
    return at_ < buffer_.size() || (n > 0 && fill());
}

bool CsvReader::refuseRecord(qint64 recordStart) {
    if (offset() - recordStart > kMaxCsvRecord)
        error_ = ImportText::tr("запись длиннее %1 байт").arg(kMaxCsvRecord);
    else
        error_ = ImportText::tr("в записи больше %1 полей").arg(kMaxCsvFields);
    return true;
}

bool CsvReader::takePlain(qint64 recordStart) {
    for (;;) {
        const char* from = buffer_.data() + at_;
        const char* end = buffer_.data() + buffer_.size();
        const char* to = from;
        while (to != end && *to != ',' && *to != '\n' && *to != '\r')
            ++to;
        record_.append(from, to);
        at_ = std::size_t(to - buffer_.data());
        if (tooLarge(recordStart))
            return false;
        if (to != end || !fill())
            return error_.isEmpty();
    }
}

bool CsvReader::takeQuoted(qint64 recordStart) {
    for (;;) {
        if (at_ == buffer_.size() && !fill()) {
            if (error_.isEmpty())
                error_ = ImportText::tr("кавычка не закрыта до конца файла");
            return false;
        }
        const char* from = buffer_.data() + at_;
        const char* end = buffer_.data() + buffer_.size();
        const char* quote =
            static_cast<const char*>(std::memchr(from, '"', std::size_t(end - from)));
        const char* to = quote ? quote : end;
        line_ += std::count(from, to, '\n');
        record_.append(from, to);
        at_ = std::size_t(to - buffer_.data());
        if (tooLarge(recordStart))
            return false;
        if (!quote)
            continue;
        ++at_;
        if (peek() != '"')
            return error_.isEmpty();
        record_.push_back('"');
        ++at_;
    }
}

bool CsvReader::next(std::vector<std::string_view>& fields) {
    for (;;) {
        record_.clear();
        ends_.clear();
        recordLine_ = line_;
        if (peek() < 0)
            return false;
        const qint64 start = offset();
        // One pass over the record: record_ holds the unquoted text of every field, ends_ where
        // each field ends in it.
        for (;;) {
            if (peek() == '"') {
                ++at_;
                if (!takeQuoted(start))
                    return false;
                const int c = peek();
                if (c >= 0 && c != ',' && c != '\n' && c != '\r') {
                    error_ = ImportText::tr("после закрывающей кавычки не запятая");
                    return false;
                }
            } else if (!takePlain(start)) {
                return false;
            }
            ends_.push_back(record_.size());
            if (tooLarge(start) || !error_.isEmpty())
                return false;
            if (peek() != ',')
                break;
            ++at_;
        }
        const bool blank = offset() == start;
        const int end = peek();
        if (end >= 0)
            ++at_;
        if (end == '\r' && peek() == '\n')
            ++at_;
        ++line_;
        if (blank)
            continue;
        fields.resize(ends_.size());
        std::size_t from = 0;
        for (std::size_t k = 0; k < ends_.size(); ++k) {
            fields[k] = std::string_view(record_).substr(from, ends_[k] - from);
            from = ends_[k];
        }
        return true;
    }
}

void CsvHeader::set(const std::vector<std::string_view>& fields) {
    columns_.clear();
    for (std::size_t k = 0; k < fields.size(); ++k) {
        const QByteArray name = QByteArray(fields[k].data(), qsizetype(fields[k].size())).trimmed();
        if (!columns_.contains(name))
            columns_.insert(name, int(k));
    }
}

} // namespace lirsk
