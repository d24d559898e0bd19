#pragma once

#include "import/gtfsimport.h"
#include "timetable/timetable.h"

#include <QObject>
#include <QProcess>
#include <QStringList>

#include <memory>

class QTemporaryDir;

// A GTFS feed read in a worker process, the program's own gaftool beside its executable, so that
// nothing a feed does (a zip bomb, a line of two gigabytes, a crash) takes the program down or
// holds up its window. The worker reports its progress line by line over its standard output;
// the map comes back as the files it writes into a folder of the job's own, which goes with the
// job, on cancel and on failure too. One job does one thing at a time; the signals say how it
// ended.
class GtfsImportJob : public QObject {
    Q_OBJECT
public:
    struct Imported {
        QByteArray mapBytes; // the map as its file has it
        lirsk::MapDescription description;
        lirsk::Timetable timetable; // empty when the feed gave none
        QStringList notes;          // what the user should know of the import
    };

    explicit GtfsImportJob(QObject* parent = nullptr);
    ~GtfsImportJob() override;

    // The worker: gaftool beside the program.
    static QString workerPath();

    // What the feed offers (agency, route types): summarized() or failed().
    void summarize(const QString& feedPath);
    // The map from the feed: imported() or failed().
    void import(const QString& feedPath, const lirsk::GtfsImportOptions& options);
    // Stops the worker at once; cancelled() follows.
    void cancel();
    bool isRunning() const;

signals:
    void progress(const QString& stage, double done);
    void summarized(const lirsk::GtfsFeedSummary& summary);
    void imported(const GtfsImportJob::Imported& result);
    void failed(const QString& error);
    void cancelled();

private:
    enum class Task { Summary, Import };
    void start(Task task, const QStringList& arguments);
    void readOutput();
    void takeLine(const QString& line);
    void ended(int exitCode, QProcess::ExitStatus status);
    void finishImport();
    void finishSummary();

    QProcess* process_;
    std::unique_ptr<QTemporaryDir> output_;
    Task task_ = Task::Summary;
    QByteArray pending_; // output not yet a whole line
    QString error_;
    QString summaryJson_;
    QStringList notes_;
    bool cancelling_ = false;
};
