#include "app/splashscreen.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QtMath>

SplashScreen::SplashScreen(int durationMs, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), durationMs_(durationMs),
      picture_(SplashPicture()) {
    setFixedSize(297, 141);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

QPixmap SplashScreen::SplashPicture() {
    // As many device pixels as the screen shows, so the picture is sharp on a scaled desktop.
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(qCeil(297 * ratio), qCeil(153 * ratio));
    pixmap.setDevicePixelRatio(ratio);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 153);
    sky.setColorAt(0, QColor(30, 70, 140));
    sky.setColorAt(1, QColor(110, 170, 230));
    p.fillRect(QRect(0, 0, 297, 153), sky);

    // A few lines of a transit map across the picture.
    const QList<QList<QPointF>> lines = {
        {{10, 120}, {80, 100}, {150, 110}, {220, 70}, {290, 60}},
        {{40, 20}, {90, 60}, {150, 110}, {200, 140}},
        {{120, 20}, {160, 50}, {220, 70}, {260, 130}},
    };
    const QList<QColor> colours = {QColor(230, 60, 60), QColor(250, 200, 40), QColor(60, 200, 90)};
    for (int i = 0; i < lines.size(); ++i) {
        p.setPen(QPen(colours[i], 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(lines[i].data(), int(lines[i].size()));
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(QColor(166, 202, 240));
        for (const QPointF& stop : lines[i])
            p.drawEllipse(stop, 5, 5);
    }
    QFont font = p.font();
    font.setPixelSize(30);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(0, 0, 0, 110));
    const QString title = SplashScreen::tr("Карта Лирска");
    p.drawText(QRect(2, 30, 297, 50), Qt::AlignCenter, title);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 28, 297, 50), Qt::AlignCenter, title);
    font.setPixelSize(13);
    font.setBold(false);
    p.setFont(font);
    p.drawText(QRect(0, 70, 297, 24), Qt::AlignCenter, SplashScreen::tr("2006 г"));
    return pixmap;
}

void SplashScreen::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawPixmap(0, -8, picture_);
}

void SplashScreen::ShowAndWait() {
    show();
    repaint();
    QEventLoop loop;
    QTimer::singleShot(durationMs_, &loop, &QEventLoop::quit);
    loop.exec();
}
