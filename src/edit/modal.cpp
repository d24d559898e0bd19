#include "edit/modal.h"

#include "app/mapwindow.h"

#include <QDialog>

namespace lirsk {

namespace {

DialogRunner& runner() {
    static DialogRunner current;
    return current;
}

} // namespace

int runDialog(QDialog& dialog) {
    if (runner())
        return runner()(dialog);
    return dialog.exec();
}

void setDialogRunner(DialogRunner replacement) {
    runner() = std::move(replacement);
}

QWidget* lazyOwner() {
    MapWindow* current = CurrentMapWindow();
    return current ? current->window() : nullptr;
}

} // namespace lirsk
