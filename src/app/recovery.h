#pragma once

#include "timetable/timetable.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <future>
#include <memory>
#include <vector>

class MainWindow;
class MapWindow;
class QLockFile;
class QTimer;

// Copies of changed maps kept where a crash cannot take them: while a map has unsaved changes it
// is written every minute, and after every 20 changes, into the user's data folder, with what
// the map file alone does not hold beside it (the file it came from, its title, its code letter
// and city, its description, its timetable). The timetable, which may run to hundreds of
// megabytes and never changes with the map, is written once for each copy. Each copy is locked
// while its map is open; saving the map, or closing it without saving, removes it, and so does
// undoing back to the saved state. A copy left by a program that stopped is offered when the
// program starts again.
//
// The folder is the program's own, but others may write in it: copies are written only as regular
// files, never through a symbolic link, and a link found there is reported and left alone.
class RecoveryKeeper : public QObject {
    Q_OBJECT
public:
    explicit RecoveryKeeper(MapWindow* window);
    ~RecoveryKeeper() override;

    // Where the copies are kept.
    static QString folder();
    // The map changed.
    void noteChange();
    // The map was saved, or closed without saving: its copy goes.
    void discard();
    // The map is back at its saved state (undone to it): its copy goes, the next change writes
    // one anew.
    void forgetCopy();
    // Goes on with a copy left by an earlier run (the map was opened from it).
    void adopt(const QString& base);
    // Takes the map now and writes the copy on a thread of its own; false when it cannot be
    // written (said once).
    bool write();
    // Waits until the copy under way, if any, is written.
    void finishWriting();
    QString base() const { return base_; }

private:
    bool lock(QString* error);
    // A copy of the map at a revision was written (or not: the error).
    void written(const QString& error, quint64 revision, quint64 generation);

    MapWindow* window_;
    QString base_;
    std::unique_ptr<QLockFile> lock_;
    QTimer* timer_;
    int changes_ = 0;
    quint64 writtenRevision_ = ~quint64(0);
    bool failureShown_ = false;
    std::future<void> writing_;
    bool writeAgain_ = false;
    quint64 generation_ = 0; // counts the copies discarded
    // The timetable the copy holds (empty: none written yet).
    lirsk::Timetable copiedTimetable_;
};

// A copy that no running copy of the program holds.
struct RecoveredMap {
    QString base;  // the copy's path without its extension
    QString title; // the map window's title
    QString fileName;
    QString filePath;
    QString mapCode;
    QString mapCity;
    QDateTime written;
    bool readable = false;
    QString problem; // why it cannot be read, when it cannot
    // Whether the copy says if its map had a description (copies of older versions do not:
    // their map's description is looked for beside its original file).
    bool describedKnown = false;
};

std::vector<RecoveredMap> orphanedRecoveries();
// At start-up: asks of each map left unsaved whether to open it («Восстановить»), to delete it
// («Удалить», asked once more for all those chosen) or to ask again next time («Позже»).
void offerRecovery(MainWindow* frame);
