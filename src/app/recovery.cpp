#include "app/recovery.h"

#include "app/mainwindow.h"
#include "app/mapwindow.h"
#include "model/mapdescription.h"
#include "model/mapfile.h"
#include "model/ownnames.h"
#include "model/safefile.h"
#include "platform/messages.h"
#include "timetable/timetable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QStandardPaths>
#include <QTimer>
#include <QUuid>

namespace {

constexpr int kChangesBetweenCopies = 20;

int copyInterval() {
    bool ok = false;
    const int interval = qEnvironmentVariableIntValue("LIRSK_RECOVERY_INTERVAL_MS", &ok);
    return ok && interval > 0 ? interval : 60 * 1000;
}

QString lockPath(const QString& base) {
    return base + QStringLiteral(".lock");
}

// What a copy is made of.
constexpr const char* kCopyEndings[] = {".json", ".gaf", ".gafd", ".gaft"};
// Copies this version writes say so; older ones held no description.
constexpr int kCopyVersion = 2;

void removeCopy(const QString& base) {
    for (const char* ending : kCopyEndings)
        lirsk::removeRegularFile(base + QLatin1String(ending));
}

// A link, or anything but a regular file, where a copy keeps one of its files.
QString plantedFile(const QString& base) {
    for (const char* ending : kCopyEndings) {
        const QFileInfo file(base + QLatin1String(ending));
        if (file.isSymLink() || (file.exists() && !file.isFile()))
            return file.filePath();
    }
    return QString();
}

} // namespace

RecoveryKeeper::RecoveryKeeper(MapWindow* window) : QObject(window), window_(window) {
    timer_ = new QTimer(this);
    timer_->setInterval(copyInterval());
    connect(timer_, &QTimer::timeout, this, [this] {
        if (window_->document().isModified() && writtenRevision_ != window_->document().revision())
            write();
    });
    timer_->start();
    connect(&window_->document(), &lirsk::MapDocument::modifiedChanged, this,
            [this](bool modified) {
                if (!modified)
                    forgetCopy();
            });
}

RecoveryKeeper::~RecoveryKeeper() {
    finishWriting();
}

QString RecoveryKeeper::folder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("recovery"));
}

void RecoveryKeeper::noteChange() {
    if (++changes_ >= kChangesBetweenCopies && window_->document().isModified())
        write();
}

void RecoveryKeeper::adopt(const QString& base) {
    discard();
    base_ = base;
    // A timetable read from the copy is there already.
    if (window_->document().timetableFile() ==
        lirsk::timetablePathFor(base + QStringLiteral(".gaf")))
        copiedTimetable_ = window_->document().timetable();
    write();
}

bool RecoveryKeeper::lock(QString* error) {
    if (lock_)
        return true;
    if (base_.isEmpty())
        base_ = QDir(folder()).filePath(QStringLiteral("map-") +
                                        QUuid::createUuid().toString(QUuid::WithoutBraces));
    if (!QDir().mkpath(folder())) {
        *error = tr("папку %1 не удалось создать").arg(QDir::toNativeSeparators(folder()));
        return false;
    }
    lock_ = std::make_unique<QLockFile>(lockPath(base_));
    if (lock_->tryLock(0))
        return true;
    const QLockFile::LockError why = lock_->error();
    lock_.reset();
    if (why == QLockFile::LockFailedError) {
        *error = tr("копию %1 держит другая копия программы").arg(QDir::toNativeSeparators(base_));
        return false;
    }
    // The lock file says only that it failed: a file written in its place tells why (a full
    // disk, no right to write there).
    const QString probe = lockPath(base_) + QStringLiteral(".probe");
    QString reason;
    if (lirsk::saveOwnFile(probe, QByteArrayLiteral("probe"), &reason)) {
        QFile::remove(probe);
        reason = tr("файл блокировки не создаётся");
    }
    *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(folder()), reason);
    return false;
}

namespace {

// What a copy holds, taken on the program's thread and written on another.
struct CopyJob {
    QString base;
    lirsk::MapSnapshot map;
    std::optional<lirsk::MapDescription> description;
    // The map's timetable when the copy does not hold it yet; copyTimetable says whether the copy
    // keeps one at all.
    lirsk::Timetable timetable;
    bool copyTimetable = false;
    QJsonObject about;
};

// Writes a copy, each of its files as a regular file of its own; the error, or nothing. The copy
// keeps the names as the map file does, the own names in its description.
QString writeCopy(CopyJob& job) {
    if (job.description)
        job.description->ownNames = lirsk::putFileNames(job.map.stops, job.description->ownNames);
    QString error;
    const QString mapFile = job.base + QStringLiteral(".gaf");
    const std::optional<QByteArray> bytes =
        lirsk::writeMap(job.map, job.map.storedSearchPanel, &error);
    bool ok = bytes && lirsk::saveOwnFile(mapFile, *bytes, &error);
    if (ok && job.description)
        ok = lirsk::saveOwnFile(lirsk::descriptionPathFor(mapFile),
                                lirsk::describeAsJson(*job.description), &error);
    else if (ok)
        lirsk::removeRegularFile(lirsk::descriptionPathFor(mapFile));
    const QString timetableFile = lirsk::timetablePathFor(mapFile);
    if (ok && !job.timetable.isEmpty())
        ok = lirsk::saveOwnFile(timetableFile, job.timetable.bytes(), &error);
    else if (ok && !job.copyTimetable)
        lirsk::removeRegularFile(timetableFile);
    ok = ok && lirsk::saveOwnFile(job.base + QStringLiteral(".json"),
                                  QJsonDocument(job.about).toJson(), &error);
    return ok ? QString() : error;
}

} // namespace

bool RecoveryKeeper::write() {
    changes_ = 0;
    // One copy is written at a time; a change meanwhile is copied when it is done.
    if (writing_.valid() &&
        writing_.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
        writeAgain_ = true;
        return true;
    }
    QString error;
    if (!lock(&error)) {
        written(error, 0, generation_);
        return false;
    }
    // The map is taken here and written on a thread of its own: the program goes on at once.
    const lirsk::GraphMap& map = window_->Map();
    const lirsk::MapDocument& document = window_->document();
    // The copy takes the timetable the first time, and again only when the map has another.
    const bool copyTimetable = !document.timetable().isEmpty();
    const bool timetableNew =
        copyTimetable && !copiedTimetable_.sharesBytesWith(document.timetable());
    copiedTimetable_ = document.timetable();
    auto job = std::make_shared<CopyJob>(
        CopyJob{base_, lirsk::MapSnapshot(map), document.description(),
                timetableNew ? document.timetable() : lirsk::Timetable(), copyTimetable,
                QJsonObject{{QStringLiteral("copy_version"), kCopyVersion},
                            {QStringLiteral("title"), window_->windowTitle()},
                            {QStringLiteral("file_name"), map.FileName},
                            {QStringLiteral("file_path"), window_->document().filePath()},
                            {QStringLiteral("map_code"), map.MapCode},
                            {QStringLiteral("map_city"), map.MapCity},
                            {QStringLiteral("written"),
                             QDateTime::currentDateTime().toString(Qt::ISODate)}}});
    const quint64 revision = window_->document().revision();
    const quint64 generation = generation_;
    writing_ = std::async(std::launch::async, [this, job, revision, generation]() mutable {
        const QString error = writeCopy(*job);
        // The copy is let go here, not on the program's thread.
        job.reset();
        QMetaObject::invokeMethod(
            this, [this, error, revision, generation] { written(error, revision, generation); },
            Qt::QueuedConnection);
    });
    return true;
}

void RecoveryKeeper::written(const QString& error, quint64 revision, quint64 generation) {
    // A copy discarded while it was written is not the map's copy any more.
    if (generation != generation_)
        return;
    if (!error.isEmpty()) {
        // The timetable is written again with the next copy.
        copiedTimetable_ = lirsk::Timetable();
        if (!failureShown_)
            lirsk::showMessage(window_, {QMessageBox::Warning, window_->windowTitle(),
                                         QCoreApplication::translate(
                                             "RecoveryKeeper",
                                             "Не удалось записать копию карты на случай сбоя:\n%1")
                                             .arg(error),
                                         QMessageBox::Ok});
        failureShown_ = true;
    } else {
        writtenRevision_ = revision;
    }
    if (std::exchange(writeAgain_, false) && window_->document().isModified())
        write();
}

void RecoveryKeeper::finishWriting() {
    if (writing_.valid())
        writing_.wait();
}

void RecoveryKeeper::forgetCopy() {
    finishWriting();
    ++generation_;
    writeAgain_ = false;
    if (!base_.isEmpty() && lock_)
        removeCopy(base_);
    changes_ = 0;
    writtenRevision_ = ~quint64(0);
    copiedTimetable_ = lirsk::Timetable();
}

void RecoveryKeeper::discard() {
    finishWriting();
    ++generation_;
    writeAgain_ = false;
    if (!base_.isEmpty() && lock_)
        removeCopy(base_);
    lock_.reset();
    base_.clear();
    changes_ = 0;
    writtenRevision_ = ~quint64(0);
    copiedTimetable_ = lirsk::Timetable();
}

std::vector<RecoveredMap> orphanedRecoveries() {
    std::vector<RecoveredMap> found;
    const QDir dir(RecoveryKeeper::folder());
    for (const QFileInfo& info :
         dir.entryInfoList({QStringLiteral("*.json")}, QDir::Files, QDir::Name)) {
        RecoveredMap map;
        map.base = dir.filePath(info.completeBaseName());
        // A copy whose lock a running program holds is that program's.
        QLockFile probe(lockPath(map.base));
        if (!probe.tryLock(0))
            continue;
        probe.unlock();
        QByteArray bytes;
        QString error;
        constexpr qint64 kMostAbout = 1 << 20;
        const QJsonObject about =
            !info.isSymLink() && lirsk::readWholeFile(info.filePath(), kMostAbout, &bytes, &error)
                ? QJsonDocument::fromJson(bytes).object()
                : QJsonObject();
        map.title = about.value(QStringLiteral("title")).toString();
        map.fileName = about.value(QStringLiteral("file_name")).toString();
        map.filePath = about.value(QStringLiteral("file_path")).toString();
        map.mapCode = about.value(QStringLiteral("map_code")).toString();
        map.mapCity = about.value(QStringLiteral("map_city")).toString();
        map.written =
            QDateTime::fromString(about.value(QStringLiteral("written")).toString(), Qt::ISODate);
        map.describedKnown = about.value(QStringLiteral("copy_version")).toInt() >= kCopyVersion;
        const QString planted = plantedFile(map.base);
        if (!planted.isEmpty())
            map.problem = QCoreApplication::translate(
                              "RecoveryKeeper", "%1 — ссылка или не обычный файл, она оставлена "
                                                "на месте")
                              .arg(QDir::toNativeSeparators(planted));
        else if (about.isEmpty() || !QFileInfo(map.base + QStringLiteral(".gaf")).isFile())
            map.problem = QCoreApplication::translate("RecoveryKeeper", "не читается");
        map.readable = map.problem.isEmpty();
        found.push_back(map);
    }
    return found;
}

void offerRecovery(MainWindow* frame) {
    const std::vector<RecoveredMap> maps = orphanedRecoveries();
    const QString title = QCoreApplication::translate("RecoveryKeeper", "Восстановление карт");
    // Each copy gets its own answer; those to delete go together after one more question.
    QStringList toDelete;
    QStringList toDeleteLines;
    for (const RecoveredMap& map : maps) {
        const QString line =
            map.readable
                ? QCoreApplication::translate("RecoveryKeeper", "«%1», записана %2")
                      .arg(map.title, map.written.toString(QStringLiteral("dd.MM.yyyy hh:mm")))
                : QStringLiteral("%1 (%2)").arg(QDir::toNativeSeparators(map.base), map.problem);
        lirsk::MessageRequest request{
            QMessageBox::Question, title,
            QCoreApplication::translate("RecoveryKeeper",
                                        "Программа была закрыта, не сохранив изменения в карте:\n"
                                        "%1\n\nВосстановить её?")
                .arg(line),
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel};
        request.buttonTexts = {
            {QMessageBox::Yes, QCoreApplication::translate("RecoveryKeeper", "Восстановить")},
            {QMessageBox::No, QCoreApplication::translate("RecoveryKeeper", "Удалить")},
            {QMessageBox::Cancel, QCoreApplication::translate("RecoveryKeeper", "Позже")}};
        const QMessageBox::StandardButton answer = lirsk::showMessage(frame, request);
        // A copy that cannot be read is never removed: it stays for a look by hand.
        if (!map.readable) {
            if (answer != QMessageBox::Cancel)
                lirsk::showMessage(
                    frame, {QMessageBox::Warning, title,
                            QCoreApplication::translate("RecoveryKeeper",
                                                        "Копию карты %1 восстановить нельзя (%2); "
                                                        "она оставлена на месте.")
                                .arg(QDir::toNativeSeparators(map.base), map.problem),
                            QMessageBox::Ok});
            continue;
        }
        if (answer == QMessageBox::No) {
            toDelete << map.base;
            toDeleteLines << line;
        } else if (answer == QMessageBox::Yes) {
            frame->OpenRecoveredMap(map);
        }
    }
    if (toDelete.isEmpty())
        return;
    const QMessageBox::StandardButton sure = lirsk::showMessage(
        frame, {QMessageBox::Warning, title,
                QCoreApplication::translate("RecoveryKeeper",
                                            "Удалить копии карт? Несохранённые изменения в них "
                                            "будут потеряны:\n%1")
                    .arg(toDeleteLines.join(QLatin1Char('\n'))),
                QMessageBox::Yes | QMessageBox::No});
    if (sure == QMessageBox::Yes)
        for (const QString& base : toDelete)
            removeCopy(base);
}
