#pragma once

#include <QDialog>
#include <QLabel>

#include <functional>

// A label that reads as a web link and reports clicks on it.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    LinkLabel(const QString& text, QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// The credits window: thanks to the people who helped, and a link to the program's web page.
class CreditsDialog : public QDialog {
    Q_OBJECT
public:
    explicit CreditsDialog(QWidget* parent = nullptr);

    static const QString WebAddress;

    // Opens a web address in the desktop's browser; a test puts its own function here.
    std::function<bool(const QString&)> OpenUrl;

    QLabel* Label1; // the heading
    QLabel* Label2; // thanks
    QLabel* Label3;
    LinkLabel* Label4; // the web address

public slots:
    void Label4Click();
};
