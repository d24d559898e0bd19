#include "app/desktopdialogs.h"

#include "app/gtfsimportdialog.h"
#include "platform/desktop.h"
#include "platform/messages.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString mapFilter() {
    return SystemDesktopDialogs::tr("Файл программы (*.gaf);;Все файлы (*)");
}

} // namespace

QString SystemDesktopDialogs::folder() const {
    if (!m_folder.isEmpty())
        return m_folder;
    // A documents folder that is not there would be offered as a file name.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

void SystemDesktopDialogs::rememberFolder(const QString& file) {
    if (!file.isEmpty())
        m_folder = QFileInfo(file).absolutePath();
}

QString SystemDesktopDialogs::openFileName(QWidget* parent) {
    const QString path = QFileDialog::getOpenFileName(parent, tr("Открыть"), folder(), mapFilter());
    rememberFolder(path);
    return path;
}

QString SystemDesktopDialogs::saveFileName(QWidget* parent, const Refusal& refusal) {
    QFileDialog dialog(parent, tr("Сохранить как"), folder(), mapFilter());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("gaf"));
    // The question comes after the refusal, from here.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    while (dialog.exec() == QDialog::Accepted) {
        const QString path = dialog.selectedFiles().value(0);
        if (path.isEmpty())
            continue;
        if (const QString refused = refusal ? refusal(path) : QString(); !refused.isEmpty()) {
            lirsk::showMessage(
                parent, {QMessageBox::Warning, dialog.windowTitle(), refused, QMessageBox::Ok});
            continue;
        }
        if (QFileInfo::exists(path) &&
            lirsk::showMessage(
                parent,
                {QMessageBox::Question, dialog.windowTitle(),
                 tr("Файл %1 уже существует.\nЗаменить?").arg(QDir::toNativeSeparators(path)),
                 QMessageBox::Yes | QMessageBox::No}) != QMessageBox::Yes)
            continue;
        rememberFolder(path);
        return path;
    }
    return {};
}

QString SystemDesktopDialogs::feedPath(QWidget* parent) {
    // A folder feed is chosen by any of its files.
    const QString chosen = QFileDialog::getOpenFileName(
        parent, tr("Импорт GTFS"), folder(),
        tr("Набор GTFS: архив zip или файл .txt из его папки (*.zip *.txt);;Все файлы (*)"));
    rememberFolder(chosen);
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
