#pragma once

#include <QDialog>
#include <QPixmap>
#include <QWidget>

// About (TForm3): the program's name, author and contacts on a white window.
class TForm3 : public QDialog {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);
};

// The splash window (TForm4): a borderless picture in the middle of the desktop, shown for a
// while before the frame appears.
class TForm4 : public QWidget {
    Q_OBJECT
public:
    explicit TForm4(int durationMs, QWidget* parent = nullptr);

    // Shows the window and keeps the program responsive until the time is up.
    void ShowAndWait();
    static QPixmap SplashPicture(); // 297 x 153

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int durationMs_;
    QPixmap picture_;
};
