#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>

class QDialog;

// The modal dialogs of editing and of the route report run through here, so a test can answer
// them in place of a user.

namespace lirsk {

// Shows the dialog modally and returns its result (QDialog::Accepted or Rejected).
int runDialog(QDialog& dialog);

// Replaces the modal showing by a function (for tests); an empty function brings it back.
using DialogRunner = std::function<int(QDialog&)>;
void setDialogRunner(DialogRunner runner);

// The owner of a window that is made on first use rather than at start-up: the frame of the
// current map window, so the window goes when the frame goes.
QWidget* lazyOwner();
// Where lazyOwner() finds that window: the program's frame sets it.
void setLazyOwner(std::function<QWidget*()> lookup);

// One program-wide window, made with an owner at start-up or on first use.
template <class Window> class SingleWindow {
public:
    Window* get() {
        if (!window_)
            window_ = new Window(lazyOwner());
        return window_;
    }
    Window* create(QWidget* owner) {
        delete window_.data();
        window_ = new Window(owner);
        return window_;
    }

private:
    QPointer<Window> window_;
};

} // namespace lirsk
