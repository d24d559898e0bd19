#pragma once

#include <QPixmap>
#include <QWidget>

// The splash window: a borderless picture in the middle of the desktop, shown for a while before
// the frame appears.
class SplashScreen : public QWidget {
    Q_OBJECT
public:
    explicit SplashScreen(int durationMs, QWidget* parent = nullptr);

    // Shows the window and keeps the program responsive until the time is up.
    void ShowAndWait();
    static QPixmap SplashPicture(); // 297 x 153

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int durationMs_;
    QPixmap picture_;
};
