#include "edit/modal.h"

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

namespace {

std::function<QWidget*()>& ownerLookup() {
    static std::function<QWidget*()> lookup;
    return lookup;
}

} // namespace

void setLazyOwner(std::function<QWidget*()> lookup) {
    ownerLookup() = std::move(lookup);
}

QWidget* lazyOwner() {
    return ownerLookup() ? ownerLookup()() : nullptr;
}

} // namespace lirsk
