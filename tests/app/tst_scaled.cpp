// The program's own pictures on a desktop scaled to twice the size (run with QT_SCALE_FACTOR=2):
// each is drawn with twice the pixels, not enlarged from the small one.

#include "app/appicon.h"
#include "app/mainwindow.h"
#include "app/splashscreen.h"
#include "edit/routereportdialog.h"

#include <QTest>

class TestScaled : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QCOMPARE(qApp->devicePixelRatio(), 2.0); }

    void picturesHaveTwiceThePixels_data() {
        QTest::addColumn<QPixmap>("picture");
        QTest::addColumn<QSize>("size");
        QTest::newRow("splash") << SplashScreen::SplashPicture() << QSize(297, 153);
        QTest::newRow("fare") << RouteReportDialog::MoneyPicture() << QSize(32, 32);
        QTest::newRow("length") << RouteReportDialog::RoadPicture() << QSize(32, 32);
        QTest::newRow("time") << RouteReportDialog::ClockPicture() << QSize(32, 32);
        QTest::newRow("close") << RouteReportDialog::CloseGlyph() << QSize(16, 16);
        MainWindow frame;
        QTest::newRow("find way") << frame.menuImages[9].pixmap(QSize(16, 16)) << QSize(16, 16);
        QTest::newRow("help") << frame.menuImages[13].pixmap(QSize(16, 16)) << QSize(16, 16);
        QTest::newRow("window icon") << frame.windowIcon().pixmap(QSize(32, 32)) << QSize(32, 32);
    }

    void picturesHaveTwiceThePixels() {
        QFETCH(QPixmap, picture);
        QFETCH(QSize, size);
        QCOMPARE(picture.deviceIndependentSize().toSize(), size);
        QCOMPARE(picture.size(), size * 2);
        // Drawn at this size: a picture enlarged from half the pixels has every pixel doubled.
        const QImage image = picture.toImage();
        const QImage halved = image.scaled(size).scaled(size * 2);
        QVERIFY(image.convertToFormat(QImage::Format_ARGB32) !=
                halved.convertToFormat(QImage::Format_ARGB32));
    }
};

QTEST_MAIN(TestScaled)
#include "tst_scaled.moc"
