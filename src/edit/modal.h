#pragma once

#include <QDialog>

#include <functional>

namespace lirsk {

// Shows a dialog modally and returns its result (QDialog::Accepted or Rejected).
using DialogRunner = std::function<int(QDialog&)>;

// A dialog its owner shows modally; a test can run the modal showing itself (show the dialog,
// answer it with events, hide it) through a runner of its own.
class ModalDialog : public QDialog {
public:
    using QDialog::QDialog;
    // An empty runner brings back the dialog's own modal loop.
    void setRunner(DialogRunner runner) { m_runner = std::move(runner); }

protected:
    int runModal() { return m_runner ? m_runner(*this) : exec(); }

private:
    DialogRunner m_runner;
};

} // namespace lirsk
