#include "app/importjob.h"

#include "i18n/language.h"
#include "import/importtext.h"
#include "model/mapdescription.h"
#include "model/safefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

namespace {

// A line of the worker's longer than this is no line of its protocol.
constexpr qsizetype kMaxLine = 1 << 20;
// What is kept of the worker's standard error, for a failure it gave no reason for.
constexpr qsizetype kMaxErrorText = 4096;

QString joined(const QSet<int>& types) {
    QList<int> sorted(types.begin(), types.end());
    std::sort(sorted.begin(), sorted.end());
    QStringList texts;
    for (int type : sorted)
        texts << QString::number(type);
    return texts.join(QLatin1Char(','));
}

} // namespace

GtfsImportJob::GtfsImportJob(QObject* parent) : QObject(parent), process_(new QProcess(this)) {
    connect(process_, &QProcess::readyReadStandardOutput, this, &GtfsImportJob::readOutput);
    connect(process_, &QProcess::finished, this, &GtfsImportJob::ended);
    connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        output_.reset();
        emit failed(tr("не удалось запустить программу импорта %1: %2")
                        .arg(QDir::toNativeSeparators(workerPath()), process_->errorString()));
    });
}

GtfsImportJob::~GtfsImportJob() {
    disconnect(process_, nullptr, this, nullptr);
    if (process_->state() != QProcess::NotRunning) {
        process_->kill();
        process_->waitForFinished(5000);
    }
}

QString GtfsImportJob::workerPath() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("gaftool"));
}

bool GtfsImportJob::isRunning() const {
    return process_->state() != QProcess::NotRunning;
}

void GtfsImportJob::summarize(const QString& feedPath) {
    start(Task::Summary, {QStringLiteral("gtfs-summary"), feedPath, QStringLiteral("--machine")});
}

void GtfsImportJob::import(const QString& feedPath, const lirsk::GtfsImportOptions& options) {
    output_ = std::make_unique<QTemporaryDir>();
    if (!output_->isValid()) {
        const QString why = output_->errorString();
        output_.reset();
        emit failed(tr("не удалось создать временную папку: %1").arg(why));
        return;
    }
    QStringList arguments{QStringLiteral("import-gtfs"), feedPath,
                          output_->filePath(QStringLiteral("map.gaf")),
                          QStringLiteral("--machine")};
    if (!options.routeTypes.isEmpty())
        arguments << QStringLiteral("--route-types") << joined(options.routeTypes);
    if (!options.routes.isEmpty())
        arguments << QStringLiteral("--routes") << options.routes.join(QLatin1Char(','));
    if (!options.agency.isEmpty())
        arguments << QStringLiteral("--agency") << options.agency;
    if (options.metresPerPixel > 0)
        arguments << QStringLiteral("--scale") << QString::number(options.metresPerPixel, 'g', 17);
    if (!options.title.isEmpty())
        arguments << QStringLiteral("--title") << options.title;
    if (options.baseFare)
        arguments << QStringLiteral("--fare") << QString::number(*options.baseFare, 'g', 17);
    if (options.transferFare)
        arguments << QStringLiteral("--transfer-fare")
                  << QString::number(*options.transferFare, 'g', 17);
    start(Task::Import, arguments);
}

void GtfsImportJob::start(Task task, const QStringList& arguments) {
    task_ = task;
    pending_.clear();
    error_.clear();
    summaryJson_.clear();
    notes_.clear();
    cancelling_ = false;
    process_->setProcessChannelMode(QProcess::SeparateChannels);
    // The worker's notes and errors are shown as they come: in the language the program speaks.
    const QStringList language{QStringLiteral("--lang"),
                               lirsk::languageCode(lirsk::currentLanguage())};
    process_->start(workerPath(), language + arguments, QIODevice::ReadOnly);
}

void GtfsImportJob::cancel() {
    if (!isRunning())
        return;
    cancelling_ = true;
    process_->kill();
}

void GtfsImportJob::readOutput() {
    pending_ += process_->readAllStandardOutput();
    qsizetype end;
    while ((end = pending_.indexOf('\n')) >= 0) {
        takeLine(QString::fromUtf8(pending_.constData(), end));
        pending_.remove(0, end + 1);
    }
    if (pending_.size() > kMaxLine)
        pending_.clear();
}

namespace {

// A note as the program's user reads it: the fare is set in the program, not on a command line.
QString programNote(const QString& note) {
    using lirsk::ImportText;
    return note == ImportText::noFares(ImportText::FareSetting::CommandLine)
               ? ImportText::noFares(ImportText::FareSetting::Program)
               : note;
}

} // namespace

void GtfsImportJob::takeLine(const QString& line) {
    const QStringList fields = line.split(QLatin1Char('\t'));
    const QString kind = fields.value(0);
    if (kind == QLatin1String("progress") && fields.size() >= 3)
        emit progress(fields[1], fields[2].toDouble());
    else if (kind == QLatin1String("note"))
        notes_ << programNote(fields.mid(1).join(QLatin1Char('\t')));
    else if (kind == QLatin1String("error"))
        error_ = fields.mid(1).join(QLatin1Char('\t'));
    else if (kind == QLatin1String("summary"))
        summaryJson_ = fields.mid(1).join(QLatin1Char('\t'));
}

void GtfsImportJob::ended(int exitCode, QProcess::ExitStatus status) {
    readOutput();
    if (cancelling_) {
        output_.reset();
        emit cancelled();
        return;
    }
    if (status != QProcess::NormalExit || exitCode != 0) {
        output_.reset();
        QString why = error_;
        if (why.isEmpty())
            why = QString::fromLocal8Bit(process_->readAllStandardError().right(kMaxErrorText))
                      .trimmed()
                      .section(QLatin1Char('\n'), -1);
        if (status != QProcess::NormalExit)
            why = tr("программа импорта завершилась аварийно%1")
                      .arg(why.isEmpty() ? QString() : QStringLiteral(": ") + why);
        else if (why.isEmpty())
            why = tr("программа импорта завершилась с кодом %1").arg(exitCode);
        emit failed(why);
        return;
    }
    if (task_ == Task::Import)
        finishImport();
    else
        finishSummary();
}

void GtfsImportJob::finishImport() {
    const QString mapFile = output_->filePath(QStringLiteral("map.gaf"));
    Imported result;
    result.notes = notes_;
    QString error;
    const bool read =
        lirsk::readWholeFile(mapFile, lirsk::kMaxMapFileSize, &result.mapBytes, &error) &&
        lirsk::readMapDescription(mapFile, &result.description, &error) ==
            lirsk::DescriptionRead::Read;
    // The timetable is held in memory: its folder goes with the job.
    const QString timetableFile = lirsk::timetablePathFor(mapFile);
    QByteArray timetableBytes;
    QString timetableError;
    if (read && QFileInfo::exists(timetableFile) &&
        !(lirsk::readWholeFile(timetableFile, lirsk::kMaxTimetableFileSize, &timetableBytes,
                               &timetableError) &&
          result.timetable.load(std::move(timetableBytes), &timetableError)))
        result.notes << tr("Расписание не прочитано: %1").arg(timetableError);
    output_.reset();
    if (!read) {
        emit failed(error.isEmpty() ? tr("программа импорта не записала описание карты") : error);
        return;
    }
    emit imported(result);
}

void GtfsImportJob::finishSummary() {
    const QJsonObject o = QJsonDocument::fromJson(summaryJson_.toUtf8()).object();
    if (o.isEmpty()) {
        emit failed(tr("программа импорта не сообщила, что есть в наборе"));
        return;
    }
    lirsk::GtfsFeedSummary summary;
    summary.agencyName = o.value(QLatin1String("agency_name")).toString();
    const QJsonObject types = o.value(QLatin1String("route_types")).toObject();
    for (auto it = types.begin(); it != types.end(); ++it) {
        bool ok = false;
        const int type = it.key().toInt(&ok);
        if (ok)
            summary.routeTypes.insert(type, it.value().toInt());
    }
    emit summarized(summary);
}
