#include "import/feedsource.h"

#include "import/importtext.h"
#include "model/safefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <zip.h>

#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace lirsk {

namespace {

// What a path that is not a regular file is, as the reason it cannot be read; empty for a
// regular file (or one that is not there).
QString kindOfPath(const QString& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    switch (fs::status(QFile::encodeName(path).toStdString(), ec).type()) {
    case fs::file_type::directory:
        return ImportText::tr("это папка, а не файл");
    case fs::file_type::fifo:
        return ImportText::tr("это канал (FIFO), а не файл");
    case fs::file_type::character:
    case fs::file_type::block:
        return ImportText::tr("это устройство, а не файл");
    case fs::file_type::socket:
        return ImportText::tr("это сокет, а не файл");
    default:
        return {};
    }
}

class FileStream : public FeedStream {
public:
    // Opens a regular file only: a FIFO put in its place is not waited on.
    bool open(const QString& path, QString* error) {
        const int fd =
            ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            *error = systemErrorText(errno);
            return false;
        }
        struct stat st {};
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(fd);
            *error = kindOfPath(path);
            return false;
        }
        if (!file_.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
            ::close(fd);
            *error = file_.errorString();
            return false;
        }
        return true;
    }
    qint64 read(char* buffer, qint64 size) override { return file_.read(buffer, size); }
    QString error() const override { return file_.errorString(); }

private:
    QFile file_;
};

class FolderSource : public FeedSource {
public:
    explicit FolderSource(const QString& path) : dir_(path) {}
    bool has(const QString& name) const override {
        std::error_code ec;
        return std::filesystem::exists(QFile::encodeName(dir_.filePath(name)).toStdString(), ec);
    }
    qint64 size(const QString& name) const override {
        return QFileInfo(dir_.filePath(name)).size();
    }
    std::unique_ptr<FeedStream> open(const QString& name, QString* error) const override {
        auto stream = std::make_unique<FileStream>();
        if (!stream->open(dir_.filePath(name), error))
            return nullptr;
        return stream;
    }

private:
    QDir dir_;
};

// libzip's reasons in the program's language, with the system's where it gives one.
QString zipErrorText(zip_error_t* e) {
    static const char* const texts[] = {
        QT_TRANSLATE_NOOP("GtfsImport", "ошибок нет"),
        QT_TRANSLATE_NOOP("GtfsImport", "многотомные архивы не поддерживаются"),
        QT_TRANSLATE_NOOP("GtfsImport", "не удалось переименовать временный файл"),
        QT_TRANSLATE_NOOP("GtfsImport", "ошибка закрытия архива"),
        QT_TRANSLATE_NOOP("GtfsImport", "ошибка перемещения по файлу"),
        QT_TRANSLATE_NOOP("GtfsImport", "ошибка чтения"),
        QT_TRANSLATE_NOOP("GtfsImport", "ошибка записи"),
        QT_TRANSLATE_NOOP("GtfsImport", "контрольная сумма не сходится"),
        QT_TRANSLATE_NOOP("GtfsImport", "архив уже закрыт"),
        QT_TRANSLATE_NOOP("GtfsImport", "нет такого файла"),
        QT_TRANSLATE_NOOP("GtfsImport", "файл уже есть"),
        QT_TRANSLATE_NOOP("GtfsImport", "не удалось открыть файл"),
        QT_TRANSLATE_NOOP("GtfsImport", "не удалось создать временный файл"),
        QT_TRANSLATE_NOOP("GtfsImport", "ошибка распаковки"),
        QT_TRANSLATE_NOOP("GtfsImport", "не хватило памяти"),
        QT_TRANSLATE_NOOP("GtfsImport", "файл изменился"),
        QT_TRANSLATE_NOOP("GtfsImport", "способ сжатия не поддерживается"),
        QT_TRANSLATE_NOOP("GtfsImport", "файл оборвался раньше конца"),
        QT_TRANSLATE_NOOP("GtfsImport", "недопустимый аргумент"),
        QT_TRANSLATE_NOOP("GtfsImport", "не архив zip"),
        QT_TRANSLATE_NOOP("GtfsImport", "внутренняя ошибка"),
        QT_TRANSLATE_NOOP("GtfsImport", "архив противоречив"),
        QT_TRANSLATE_NOOP("GtfsImport", "не удалось удалить файл"),
        QT_TRANSLATE_NOOP("GtfsImport", "запись удалена"),
        QT_TRANSLATE_NOOP("GtfsImport", "способ шифрования не поддерживается"),
        QT_TRANSLATE_NOOP("GtfsImport", "архив только для чтения"),
        QT_TRANSLATE_NOOP("GtfsImport", "архив зашифрован, а пароля нет"),
        QT_TRANSLATE_NOOP("GtfsImport", "пароль неверен"),
        QT_TRANSLATE_NOOP("GtfsImport", "действие не поддерживается"),
        QT_TRANSLATE_NOOP("GtfsImport", "ресурс занят"),
        QT_TRANSLATE_NOOP("GtfsImport", "ошибка определения позиции в файле"),
        QT_TRANSLATE_NOOP("GtfsImport", "сжатые данные испорчены"),
    };
    const int code = zip_error_code_zip(e);
    QString text = code >= 0 && code < int(std::size(texts))
                       ? ImportText::tr(texts[code])
                       : ImportText::tr("ошибка архива %1").arg(code);
    if (zip_error_system_type(e) == ZIP_ET_SYS && zip_error_code_system(e) != 0)
        text += QStringLiteral(": ") + systemErrorText(zip_error_code_system(e));
    return text;
}

// An entry of the archive inflated no further than the size it declares: what a broken or
// crafted archive gives past it is refused as soon as it comes.
class ZipStream : public FeedStream {
public:
    ZipStream(zip_file_t* file, zip_uint64_t declared) : file_(file), declared_(declared) {}
    ~ZipStream() override { zip_fclose(file_); }
    qint64 read(char* buffer, qint64 size) override {
        const zip_uint64_t left = declared_ - std::min(declared_, taken_);
        const zip_int64_t n = zip_fread(file_, buffer, std::min(zip_uint64_t(size), left + 1));
        if (n < 0) {
            error_ = zipErrorText(zip_file_get_error(file_));
            return n;
        }
        taken_ += zip_uint64_t(n);
        if (taken_ > declared_) {
            error_ = ImportText::tr("распаковывается больше объявленных %1 байт").arg(declared_);
            return -1;
        }
        return n;
    }
    QString error() const override { return error_; }

private:
    zip_file_t* file_;
    zip_uint64_t declared_;
    zip_uint64_t taken_ = 0;
    QString error_;
};

class ZipSource : public FeedSource {
public:
    ZipSource(zip_t* archive, QHash<QString, zip_uint64_t> entries)
        : archive_(archive), entries_(std::move(entries)) {}
    ~ZipSource() override { zip_discard(archive_); }
    bool has(const QString& name) const override { return entries_.contains(name); }
    qint64 size(const QString& name) const override {
        const std::optional<zip_uint64_t> declared = declaredSize(name);
        return declared ? qint64(std::min<zip_uint64_t>(*declared, kMaxFeedEntry)) : 0;
    }
    std::unique_ptr<FeedStream> open(const QString& name, QString* error) const override {
        const auto it = entries_.constFind(name);
        if (it == entries_.constEnd()) {
            *error = ImportText::tr("нет в архиве");
            return nullptr;
        }
        const std::optional<zip_uint64_t> declared = declaredSize(name);
        if (!declared || *declared > zip_uint64_t(kMaxFeedEntry)) {
            *error =
                ImportText::tr("в архиве объявлен размером больше %1 ГиБ").arg(kMaxFeedEntry >> 30);
            return nullptr;
        }
        zip_file_t* file = zip_fopen_index(archive_, *it, 0);
        if (!file) {
            *error = zipErrorText(zip_get_error(archive_));
            return nullptr;
        }
        return std::make_unique<ZipStream>(file, *declared);
    }

private:
    std::optional<zip_uint64_t> declaredSize(const QString& name) const {
        zip_stat_t st;
        zip_stat_init(&st);
        const auto it = entries_.constFind(name);
        if (it == entries_.constEnd() || zip_stat_index(archive_, *it, 0, &st) != 0 ||
            !(st.valid & ZIP_STAT_SIZE))
            return std::nullopt;
        return st.size;
    }

    zip_t* archive_;
    QHash<QString, zip_uint64_t> entries_;
};

} // namespace

std::unique_ptr<FeedSource> openFeed(const QString& path, QString* error) {
    const QFileInfo info(path);
    if (!info.exists()) {
        *error = ImportText::tr("нет такого файла или папки");
        return nullptr;
    }
    if (info.isDir())
        return std::make_unique<FolderSource>(path);
    if (!info.isFile()) {
        *error = kindOfPath(path);
        return nullptr;
    }
    int code = 0;
    zip_t* archive =
        zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
    if (!archive) {
        zip_error_t e;
        zip_error_init_with_code(&e, code);
        *error = code == ZIP_ER_NOZIP ? ImportText::tr("не архив zip")
                                      : ImportText::tr("не архив zip: %1").arg(zipErrorText(&e));
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
