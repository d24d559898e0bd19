#include "app/desktopdialogs.h"

#include "app/gtfsimportdialog.h"
#include "platform/desktop.h"

#include <QFileDialog>

namespace {

QString mapFilter() {
    return QStringLiteral("Файл программы (*.gaf);;Все файлы (*)");
}

} // namespace

QString SystemDesktopDialogs::openFileName(QWidget* parent) {
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Открыть"), QString(), mapFilter());
}

QString SystemDesktopDialogs::saveFileName(QWidget* parent) {
    QFileDialog dialog(parent, QStringLiteral("Сохранить как"), QString(), mapFilter());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("gaf"));
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

QString SystemDesktopDialogs::feedPath(QWidget* parent) {
    // A folder feed is chosen by any of its files.
    const QString chosen = QFileDialog::getOpenFileName(
        parent, QStringLiteral("Импорт GTFS"), QString(),
        QStringLiteral("Набор GTFS: архив zip или файл .txt из его папки (*.zip *.txt);;"
                       "Все файлы (*)"));
    return chosen.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive)
               ? QFileInfo(chosen).absolutePath()
               : chosen;
}

std::optional<QSet<int>> SystemDesktopDialogs::routeTypes(QWidget* parent,
                                                          const lirsk::GtfsFeedSummary& summary) {
    RouteTypeDialog dialog(summary, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosenTypes();
}

void SystemDesktopDialogs::openDocument(const QString& path, const std::function<void()>& failed) {
    lirsk::openDetached(path, failed);
}
