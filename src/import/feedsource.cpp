#include "import/feedsource.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <zip.h>

namespace lirsk {

namespace {

class FileStream : public FeedStream {
public:
    explicit FileStream(const QString& path) : file_(path) {}
    bool open() { return file_.open(QIODevice::ReadOnly); }
    qint64 read(char* buffer, qint64 size) override { return file_.read(buffer, size); }
    QString error() const override { return file_.errorString(); }

private:
    QFile file_;
};

class FolderSource : public FeedSource {
public:
    explicit FolderSource(const QString& path) : dir_(path) {}
    bool has(const QString& name) const override { return QFileInfo(dir_.filePath(name)).isFile(); }
    qint64 size(const QString& name) const override {
        return QFileInfo(dir_.filePath(name)).size();
    }
    std::unique_ptr<FeedStream> open(const QString& name, QString* error) const override {
        const QString path = dir_.filePath(name);
        if (!QFileInfo(path).isFile()) {
            *error = QStringLiteral("это не обычный файл");
            return nullptr;
        }
        auto stream = std::make_unique<FileStream>(path);
        if (!stream->open()) {
            *error = stream->error();
            return nullptr;
        }
        return stream;
    }

private:
    QDir dir_;
};

QString zipErrorText(zip_error_t* e) {
    return QString::fromLocal8Bit(zip_error_strerror(e));
}

class ZipStream : public FeedStream {
public:
    explicit ZipStream(zip_file_t* file) : file_(file) {}
    ~ZipStream() override { zip_fclose(file_); }
    qint64 read(char* buffer, qint64 size) override {
        const zip_int64_t n = zip_fread(file_, buffer, zip_uint64_t(size));
        if (n < 0)
            error_ = zipErrorText(zip_file_get_error(file_));
        return n;
    }
    QString error() const override { return error_; }

private:
    zip_file_t* file_;
    QString error_;
};

class ZipSource : public FeedSource {
public:
    ZipSource(zip_t* archive, QHash<QString, zip_uint64_t> entries)
        : archive_(archive), entries_(std::move(entries)) {}
    ~ZipSource() override { zip_discard(archive_); }
    bool has(const QString& name) const override { return entries_.contains(name); }
    qint64 size(const QString& name) const override {
        zip_stat_t st;
        zip_stat_init(&st);
        const auto it = entries_.constFind(name);
        if (it == entries_.constEnd() || zip_stat_index(archive_, *it, 0, &st) != 0 ||
            !(st.valid & ZIP_STAT_SIZE))
            return 0;
        return qint64(st.size);
    }
    std::unique_ptr<FeedStream> open(const QString& name, QString* error) const override {
        const auto it = entries_.constFind(name);
        if (it == entries_.constEnd()) {
            *error = QStringLiteral("нет в архиве");
            return nullptr;
        }
        zip_file_t* file = zip_fopen_index(archive_, *it, 0);
        if (!file) {
            *error = zipErrorText(zip_get_error(archive_));
            return nullptr;
        }
        return std::make_unique<ZipStream>(file);
    }

private:
    zip_t* archive_;
    QHash<QString, zip_uint64_t> entries_;
};

} // namespace

std::unique_ptr<FeedSource> openFeed(const QString& path, QString* error) {
    const QFileInfo info(path);
    if (!info.exists()) {
        *error = QStringLiteral("нет такого файла или папки");
        return nullptr;
    }
    if (info.isDir())
        return std::make_unique<FolderSource>(path);
    if (!info.isFile()) {
        *error = QStringLiteral("это не обычный файл, а устройство, канал или сокет");
        return nullptr;
    }
    int code = 0;
    zip_t* archive =
        zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
    if (!archive) {
        zip_error_t e;
        zip_error_init_with_code(&e, code);
        *error = QStringLiteral("не архив zip: %1").arg(zipErrorText(&e));
        zip_error_fini(&e);
        return nullptr;
    }
    // Feeds are zipped either flat or inside one folder: index the files by their last name,
    // the first of each name winning.
    QHash<QString, zip_uint64_t> entries;
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t k = 0; k < count; ++k) {
        const char* raw = zip_get_name(archive, zip_uint64_t(k), ZIP_FL_ENC_GUESS);
        if (!raw)
            continue;
        const QString name = QString::fromUtf8(raw);
        if (name.endsWith(QLatin1Char('/')))
            continue;
        const QString base = name.section(QLatin1Char('/'), -1);
        if (!entries.contains(base))
            entries.insert(base, zip_uint64_t(k));
    }
    return std::make_unique<ZipSource>(archive, std::move(entries));
}

} // namespace lirsk
