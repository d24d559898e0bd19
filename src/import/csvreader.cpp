#include "import/csvreader.h"

namespace lirsk {

bool CsvReader::fill() {
    if (ended_ || !error_.isEmpty())
        return false;
    buffer_.resize(std::size_t(1) << 16);
    const qint64 n = stream_.read(buffer_.data(), qint64(buffer_.size()));
    if (n < 0) {
        error_ = QStringLiteral("ошибка чтения: %1").arg(stream_.error());
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

bool CsvReader::next(std::vector<std::string_view>& fields) {
    for (;;) {
        record_.clear();
        ends_.clear();
        recordLine_ = line_;
        int c = get();
        if (c < 0)
            return false;
        bool any = false;
        bool quoted = false;
        // One pass over the record: record_ holds the unquoted text of every field, ends_ where
        // each field ends in it.
        for (;;) {
            if (record_.size() > kMaxCsvRecord) {
                error_ = QStringLiteral("запись длиннее %1 байт").arg(kMaxCsvRecord);
                return false;
            }
            if (quoted) {
                if (c < 0) {
                    error_ = QStringLiteral("кавычка не закрыта до конца файла");
                    return false;
                }
                if (c == '"') {
                    c = get();
                    if (c == '"') {
                        record_.push_back('"');
                        c = get();
                        continue;
                    }
                    quoted = false;
                    if (c != ',' && c != '\n' && c != '\r' && c >= 0) {
                        error_ = QStringLiteral("после закрывающей кавычки не запятая");
                        return false;
                    }
                    continue;
                }
                if (c == '\n')
                    ++line_;
                record_.push_back(char(c));
                c = get();
                continue;
            }
            if (c < 0 || c == '\n' || c == '\r') {
                ends_.push_back(record_.size());
                if (c == '\r') {
                    c = get();
                    if (c >= 0 && c != '\n')
                        --at_;
                }
                ++line_;
                break;
            }
            if (c == ',') {
                ends_.push_back(record_.size());
                any = true;
            } else if (c == '"' &&
                       (ends_.empty() ? record_.empty() : record_.size() == ends_.back())) {
                quoted = true;
                any = true;
            } else {
                record_.push_back(char(c));
                any = true;
            }
            c = get();
        }
        if (!any)
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
