#include "app/gtfsimportdialog.h"

#include "model/mapfile.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

#include <atomic>
#include <memory>

QString routeTypeTitle(int basicType) {
    switch (basicType) {
    case 0:
        return QStringLiteral("Трамвай");
    case 1:
        return QStringLiteral("Метро");
    case 2:
        return QStringLiteral("Железная дорога");
    case 3:
        return QStringLiteral("Автобус");
    case 4:
        return QStringLiteral("Паром");
    case 5:
        return QStringLiteral("Канатный трамвай");
    case 6:
        return QStringLiteral("Канатная дорога");
    case 7:
        return QStringLiteral("Фуникулёр");
    case 11:
        return QStringLiteral("Троллейбус");
    case 12:
        return QStringLiteral("Монорельс");
    default:
        return QStringLiteral("Тип %1").arg(basicType);
    }
}

RouteTypeDialog::RouteTypeDialog(const lirsk::GtfsFeedSummary& summary, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Импорт GTFS"));
    auto* layout = new QVBoxLayout(this);
    const QString agency = summary.agencyName.isEmpty() ? QString() : summary.agencyName + u'\n';
    layout->addWidget(new QLabel(agency + QStringLiteral("Какие маршруты взять в карту:"), this));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    for (auto it = summary.routeTypes.cbegin(); it != summary.routeTypes.cend(); ++it) {
        auto* box = new QCheckBox(
            QStringLiteral("%1 — маршрутов: %2").arg(routeTypeTitle(it.key())).arg(it.value()),
            this);
        box->setChecked(true);
        // Nothing chosen: nothing to import.
        connect(box, &QCheckBox::toggled, this,
                [this] { ok_->setEnabled(!chosenTypes().isEmpty()); });
        boxes_.insert(it.key(), box);
        layout->addWidget(box);
    }
    ok_->setEnabled(!boxes_.isEmpty());
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

QSet<int> RouteTypeDialog::chosenTypes() const {
    QSet<int> types;
    for (auto it = boxes_.cbegin(); it != boxes_.cend(); ++it)
        if (it.value()->isChecked())
            types.insert(it.key());
    return types;
}

GtfsImportRun runGtfsImport(QWidget* parent, const QString& feedPath,
                            const lirsk::GtfsImportOptions& options,
                            const std::function<void(QProgressDialog*)>& started) {
    QProgressDialog progress(QStringLiteral("Чтение набора GTFS..."), QStringLiteral("Отмена"), 0,
                             100, parent);
    progress.setWindowTitle(QStringLiteral("Импорт GTFS"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setMinimumDuration(300);
    progress.setValue(0);

    // The worker asks for the flag at every progress step; the dialog, which hides itself on
    // cancel, stays up until the worker has stopped.
    auto cancelled = std::make_shared<std::atomic<bool>>(false);
    QObject::connect(&progress, &QProgressDialog::canceled, &progress, [&progress, cancelled] {
        cancelled->store(true);
        progress.setLabelText(QStringLiteral("Импорт прерывается, ждите..."));
        progress.show();
    });
    if (started)
        started(&progress);

    GtfsImportRun run;
    // Called on the worker: the dialog, which outlives the worker, is updated on its own thread.
    QProgressDialog* shown = &progress;
    const lirsk::GtfsProgress report = [shown, cancelled](const QString& stage, double done) {
        QMetaObject::invokeMethod(
            shown,
            [shown, cancelled, stage, done] {
                if (cancelled->load())
                    return;
                shown->setLabelText(QStringLiteral("Импорт GTFS: %1").arg(stage));
                shown->setValue(qBound(0, int(done * 100), 99));
            },
            Qt::QueuedConnection);
        return !cancelled->load();
    };
    std::unique_ptr<QThread> worker(QThread::create([&run, &feedPath, &options, &report] {
        lirsk::GraphMap map;
        if (!lirsk::importGtfs(feedPath, options, map, &run.result, &run.error, report)) {
            if (run.error.isEmpty())
                run.error = QStringLiteral("импорт не удался");
            return;
        }
        const std::optional<QByteArray> bytes = lirsk::writeMap(map, false, &run.error);
        if (bytes)
            run.mapBytes = *bytes;
    }));
    QEventLoop loop;
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    loop.exec();
    worker->wait();
    run.cancelled = cancelled->load();
    return run;
}
