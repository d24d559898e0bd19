#include "app/desktopdialogs.h"

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

void SystemDesktopDialogs::openDocument(const QString& path, const std::function<void()>& failed) {
    lirsk::openDetached(path, failed);
}
