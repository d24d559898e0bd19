#pragma once

#include <QDialog>

#include <functional>

class QLabel;

// The credits window: thanks to the people who helped, and a link to the program's web page.
class CreditsDialog : public QDialog {
    Q_OBJECT
public:
    explicit CreditsDialog(QWidget* parent = nullptr);

    static const QString WebAddress;

    // Opens a web address in the desktop's browser, calling its second argument, now or later,
    // when nothing shows it; a test puts its own function here.
    std::function<void(const QString&, const std::function<void()>&)> OpenUrl;

    QLabel* headingLabel;
    QLabel* familyThanksLabel;
    QLabel* testersThanksLabel;
    QLabel* webLink; // the web address, as a link

public slots:
    void openWebPage();
};
