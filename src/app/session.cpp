#include "app/session.h"

#include "app/journeypanel.h"
#include "app/mainwindow.h"
#include "app/mapwindow.h"
#include "model/catalogue.h"

#include <QAction>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>

#include <memory>
#include <optional>

namespace {

const QString kBuiltinPrefix = QStringLiteral("builtin:");
const QString kLanguageKey = QStringLiteral("language");

std::optional<lirsk::MapMenuEntry> builtinEntry(const QString& path) {
    for (const lirsk::MapMenuEntry& entry : lirsk::mapMenuCatalogue())
        if (!entry.path.isEmpty() && entry.path == path)
            return entry;
    return std::nullopt;
}

// A map's key as a settings key: QSettings reads slashes as groups.
QString journeyKey(const QString& key) {
    return QStringLiteral("journeys/") +
           QString::fromLatin1(key.toUtf8().toBase64(QByteArray::Base64UrlEncoding |
                                                     QByteArray::OmitTrailingEquals));
}

// The user's own: ~/.config/lirskmap.conf.
std::unique_ptr<QSettings> openSettings(const QString& file) {
    return std::make_unique<QSettings>(
        file.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                             QStringLiteral("/lirskmap.conf")
                       : file,
        QSettings::IniFormat);
}

QList<MapWindow*> mapWindows(MainWindow* frame) {
    QList<MapWindow*> windows;
    for (QMdiSubWindow* sub : frame->MdiArea->subWindowList())
        if (auto* window = qobject_cast<MapWindow*>(sub->widget()))
            windows.append(window);
    return windows;
}

void remember(MainWindow* frame, QSettings& settings) {
    settings.setValue(QStringLiteral("frame/geometry"), frame->saveGeometry());
    settings.setValue(QStringLiteral("frame/state"), frame->saveState());
    settings.setValue(QStringLiteral("frame/criterion"), int(frame->criterion()));
    settings.beginWriteArray(QStringLiteral("maps"));
    int row = 0;
    for (MapWindow* window : mapWindows(frame)) {
        const QString key = sessionKey(window);
        if (key.isEmpty())
            continue;
        settings.setArrayIndex(row++);
        settings.setValue(QStringLiteral("key"), key);
        settings.setValue(QStringLiteral("zoom"), window->view()->zoom());
        settings.setValue(QStringLiteral("x"), window->view()->horizontalScrollBar()->value());
        settings.setValue(QStringLiteral("y"), window->view()->verticalScrollBar()->value());
        settings.setValue(QStringLiteral("searchPanel"), window->searchPanel->isVisibleTo(window));
        settings.setValue(QStringLiteral("routes"), window->routesBox->isVisibleTo(window));
    }
    settings.endArray();
}

// The remembered ends of a map's journey, where its stops are still there; what is gone is
// noted.
void restoreJourney(MainWindow* frame, MapWindow* window, QSettings& settings, QStringList& gone) {
    const QString key = sessionKey(window);
    const QStringList ids = settings.value(journeyKey(key)).toStringList();
    if (key.isEmpty() || ids.size() != 2)
        return;
    lirsk::StopIndex ends[2] = {lirsk::NoStop, lirsk::NoStop};
    for (int i = 0; i < 2; ++i) {
        bool ok = false;
        const int id = ids[i].toInt(&ok);
        if (ok && id >= 0) {
            ends[i] = window->Map().FindStopById(id);
            if (ends[i] == lirsk::NoStop)
                gone.append(MainWindow::tr("остановка %1 на карте «%2»")
                                .arg(id)
                                .arg(window->windowTitle()));
        }
    }
    frame->journeyPanel->setMapWindow(window);
    frame->journeyPanel->setEnds(ends[0], ends[1]);
}

void restore(MainWindow* frame, QSettings& settings) {
    frame->restoreGeometry(settings.value(QStringLiteral("frame/geometry")).toByteArray());
    frame->restoreState(settings.value(QStringLiteral("frame/state")).toByteArray());
    const int criterion = settings.value(QStringLiteral("frame/criterion"), 0).toInt();
    for (QAction* action : {frame->acShortest, frame->acFastest, frame->acFewestChanges})
        if (action == (criterion == 1   ? frame->acFastest
                       : criterion == 2 ? frame->acFewestChanges
                                        : frame->acShortest))
            action->trigger();

    QStringList open;
    for (MapWindow* window : mapWindows(frame))
        open.append(sessionKey(window));
    QStringList gone;
    const int count = settings.beginReadArray(QStringLiteral("maps"));
    struct Shown {
        MapWindow* window;
        double zoom;
        QPoint scroll;
    };
    QList<Shown> shown;
    for (int row = 0; row < count; ++row) {
        settings.setArrayIndex(row);
        const QString key = settings.value(QStringLiteral("key")).toString();
        if (key.isEmpty() || open.contains(key))
            continue;
        MapWindow* window = nullptr;
        if (key.startsWith(kBuiltinPrefix)) {
            if (const std::optional<lirsk::MapMenuEntry> entry =
                    builtinEntry(key.mid(kBuiltinPrefix.size())))
                window = frame->OpenBuiltinMap(*entry);
        } else if (QFileInfo(key).isFile()) {
            window = frame->OpenMap(key, key);
        }
        if (!window) {
            gone.append(key.startsWith(kBuiltinPrefix) ? key.mid(kBuiltinPrefix.size()) : key);
            continue;
        }
        open.append(key);
        window->ShowSearchPanel(settings.value(QStringLiteral("searchPanel")).toBool());
        window->ShowRoutesPanel(settings.value(QStringLiteral("routes")).toBool());
        shown.append({window, settings.value(QStringLiteral("zoom"), 1.0).toDouble(),
                      QPoint(settings.value(QStringLiteral("x")).toInt(),
                             settings.value(QStringLiteral("y")).toInt())});
    }
    settings.endArray();
    for (const Shown& s : shown)
        restoreJourney(frame, s.window, settings, gone);
    // Each window at its zoom and place once it has its size.
    QTimer::singleShot(0, frame, [shown] {
        for (const Shown& s : shown) {
            lirsk::MapView* view = s.window->view();
            view->setZoom(s.zoom);
            view->horizontalScrollBar()->setValue(s.scroll.x());
            view->verticalScrollBar()->setValue(s.scroll.y());
        }
    });
    if (!gone.isEmpty())
        frame->SetStatusText(
            MainWindow::tr("Не найдено с прошлого раза: %1").arg(gone.join(QStringLiteral("; "))));
}

} // namespace

QString sessionKey(MapWindow* window) {
    const QString fileName = window->Map().FileName;
    if (fileName.isEmpty())
        return QString();
    if (builtinEntry(fileName))
        return kBuiltinPrefix + fileName;
    const QString path = window->document().filePath();
    return path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
}

void keepSession(MainWindow* frame, const QString& settingsFile) {
    {
        std::unique_ptr<QSettings> settings = openSettings(settingsFile);
        restore(frame, *settings);
    }
    QObject::connect(frame->journeyPanel, &JourneyPanel::endsChanged, frame,
                     [settingsFile](MapWindow* window) {
                         const QString key = sessionKey(window);
                         if (key.isEmpty())
                             return;
                         std::unique_ptr<QSettings> settings = openSettings(settingsFile);
                         settings->setValue(journeyKey(key),
                                            QStringList{QString::number(window->journey.startId),
                                                        QString::number(window->journey.finishId)});
                     });
    QObject::connect(
        frame, &MainWindow::languageChosen, frame, [settingsFile](lirsk::Language language) {
            openSettings(settingsFile)->setValue(kLanguageKey, lirsk::languageCode(language));
        });
    QObject::connect(frame, &MainWindow::closing, frame, [frame, settingsFile] {
        std::unique_ptr<QSettings> settings = openSettings(settingsFile);
        remember(frame, *settings);
    });
}

lirsk::Language startLanguage(const QString& settingsFile) {
    const QString chosen = openSettings(settingsFile)->value(kLanguageKey).toString();
    return lirsk::languageFromCode(chosen).value_or(lirsk::languageFromEnvironment());
}
