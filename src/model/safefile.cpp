#include "model/safefile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace lirsk {

namespace {

// The messages about reading and writing files, translated in the context "SafeFile".
struct SafeFileText {
    Q_DECLARE_TR_FUNCTIONS(SafeFile)
};

QString notAFile() {
    return SafeFileText::tr("это не обычный файл, а устройство, канал, сокет или папка");
}

} // namespace

QString systemErrorText(int code) {
    switch (code) {
    case ENOSPC:
        return SafeFileText::tr("на диске нет места");
    case EDQUOT:
        return SafeFileText::tr("превышена квота на диске");
    case EFBIG:
        return SafeFileText::tr("файл больше, чем разрешено записать");
    case EIO:
        return SafeFileText::tr("ошибка ввода-вывода");
    case EROFS:
        return SafeFileText::tr("диск только для чтения");
    default:
        return qt_error_string(code);
    }
}

namespace {

QString writeFailure(int code, const QFileDevice& file) {
    return code != 0 ? systemErrorText(code) : file.errorString();
}

// A short write is tried again for the rest, which then fails with the real cause.
bool writeAll(QFileDevice& file, const QByteArray& data, QString* err) {
    qint64 done = 0;
    while (done < data.size()) {
        errno = 0;
        const qint64 n = file.write(data.constData() + done, data.size() - done);
        if (n <= 0) {
            *err = writeFailure(errno, file);
            return false;
        }
        done += n;
    }
    return true;
}

} // namespace

bool openForReading(const QString& path, qint64 maxSize, QFile& file, qint64* size,
                    QString* error) {
    QString local;
    QString* err = error ? error : &local;
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        *err = notAFile();
        return false;
    }
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        *err = file.errorString();
        return false;
    }
    *size = file.size();
    if (*size > maxSize) {
        *err = SafeFileText::tr("файл размером %1 байт больше предела в %2 байт")
                   .arg(*size)
                   .arg(maxSize);
        return false;
    }
    return true;
}

bool grewWhileRead(QFile& file, QString* error) {
    // Reading one byte past the size tells a file that grows while it is read.
    char more;
    if (file.read(&more, 1) <= 0)
        return false;
    if (error)
        *error = SafeFileText::tr("файл растёт во время чтения");
    return true;
}

bool readWholeFile(const QString& path, qint64 maxSize, QByteArray* data, QString* error) {
    QString local;
    QString* err = error ? error : &local;
    QFile file;
    qint64 size = 0;
    if (!openForReading(path, maxSize, file, &size, err))
        return false;
    data->resize(size);
    qint64 done = 0;
    while (done < size) {
        const qint64 n = file.read(data->data() + done, size - done);
        if (n < 0) {
            *err = file.errorString();
            return false;
        }
        if (n == 0)
            break;
        done += n;
    }
    data->truncate(done);
    return done < size || !grewWhileRead(file, err);
}

bool saveWholeFile(const QString& path, const QByteArray& data, QString* error) {
    QString local;
    QString* err = error ? error : &local;
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        *err = SafeFileText::tr("%1: записать туда нельзя").arg(notAFile());
        return false;
    }
    // Unbuffered: every byte reaches the temporary file here, where a failure is seen, and not
    // in a flush at commit that would not be reported.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        *err = file.errorString();
        return false;
    }
    if (!writeAll(file, data, err)) {
        file.cancelWriting();
        return false;
    }
    errno = 0;
    if (!file.commit()) {
        *err = writeFailure(errno, file);
        return false;
    }
    return true;
}

bool saveOwnFile(const QString& path, const QByteArray& data, QString* error) {
    QString local;
    QString* err = error ? error : &local;
    const QFileInfo info(path);
    if (info.isSymLink()) {
        *err = SafeFileText::tr("это символическая ссылка: через неё не пишется");
        return false;
    }
    if (info.exists() && !info.isFile()) {
        *err = SafeFileText::tr("%1: записать туда нельзя").arg(notAFile());
        return false;
    }
    QTemporaryFile file(path + QStringLiteral(".XXXXXX"));
    errno = 0;
    if (!file.open()) {
        *err = writeFailure(errno, file);
        return false;
    }
    if (!writeAll(file, data, err))
        return false;
    errno = 0;
    if (!file.flush() || ::fsync(file.handle()) != 0) {
        *err = writeFailure(errno, file);
        return false;
    }
    // rename() replaces a link planted at path since the check, and never follows it.
    if (std::rename(QFile::encodeName(file.fileName()).constData(),
                    QFile::encodeName(path).constData()) != 0) {
        *err = systemErrorText(errno);
        return false;
    }
    file.setAutoRemove(false);
    return true;
}

void removeRegularFile(const QString& path) {
    const QFileInfo file(path);
    if (!file.isSymLink() && file.isFile())
        QFile::remove(path);
}

} // namespace lirsk
