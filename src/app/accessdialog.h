#pragma once

#include "platform/desktop.h"

#include <QDialog>

#include <functional>

class QLineEdit;
class QPushButton;
class MainWindow;

// The editor access dialog: the right password switches the current map window into editor
// mode. Wrong passwords are counted over the whole run; the third one closes the dialog.
class AccessDialog : public QDialog {
    Q_OBJECT
public:
    using AccountLookup = std::function<lirsk::AccountName()>;

    explicit AccessDialog(MainWindow* frame, const AccountLookup& lookup = lirsk::accountName);

    static const QString EditorPassword;
    static constexpr int MaxFailures = 3;

    QLineEdit* userNameEdit; // shown, never checked
    QLineEdit* passwordEdit;
    QPushButton* enterButton; // "Ввести >>"
    int Failures = 0;

    void done(int result) override;
    // Closes the dialog when it is open; shown or not, the editor button then shows whether
    // editor mode is on.
    void CloseDialog();

public slots:
    void checkPassword();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Whichever way the dialog closes: the editor button shows whether editor mode came on.
    void showEditorModeOnButton();

    MainWindow* frame_;
};
