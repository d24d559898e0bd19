#include "app/displaysettingsdialog.h"
#include "app/mainwindow.h"
#include "app/mapwindow.h"
#include "edit/modal.h"
#include "platform/colours.h"
#include "platform/messages.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <limits>

using namespace lirsk;

Q_DECLARE_METATYPE(lirsk::DisplaySettings)

// The display settings dialog driven as a user drives it: the command, the controls, OK or the
// close box, and the turning arrow.
class TestSettings : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindow> frame;
    MapWindow* child = nullptr;

    DisplaySettingsDialog& form() { return *frame->displaySettingsDialog(); }

    // Runs the settings command; `user` acts in the dialog while it is shown. A dialog the user
    // left open is closed by its close box.
    void runSettings(const std::function<void(DisplaySettingsDialog&)>& user) {
        bool ran = false;
        QTimer::singleShot(0, this, [this, &ran, user] {
            ran = true;
            user(form());
            if (form().isVisible())
                form().close();
        });
        frame->acSettings->trigger();
        QVERIFY(ran);
    }

    static void pressOK(DisplaySettingsDialog& f) { QTest::mouseClick(f.okButton, Qt::LeftButton); }

    static void typeInto(QSpinBox* spin, const QString& text) {
        spin->setFocus();
        spin->selectAll();
        QTest::keyClick(spin, Qt::Key_Backspace);
        QTest::keyClicks(spin, text);
    }

    static void choose(QButtonGroup* group, int item) {
        QAbstractButton* button = group->button(item);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
        QVERIFY(button->isChecked());
    }

    // Pixels of the preview in a colour, within a box around a point.
    static int pixelsNear(const QImage& image, QPoint centre, int half, QColor colour) {
        int count = 0;
        for (int y = centre.y() - half; y <= centre.y() + half; ++y)
            for (int x = centre.x() - half; x <= centre.x() + half; ++x)
                if (image.rect().contains(x, y) && image.pixelColor(x, y) == colour)
                    ++count;
        return count;
    }

private slots:
    void init() {
        setMessageHandler([](const MessageRequest&) { return QMessageBox::Ok; });
        frame = std::make_unique<MainWindow>();
        frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
        frame->acNewExecute();
        child = frame->ActiveMapWindow();
        QVERIFY(child);
    }

    void cleanup() {
        frame.reset();
        setMessageHandler({});
    }

    // What the controls show for the map's settings, and what OK gives back untouched.
    void controlsShowTheSettings_data() {
        QTest::addColumn<DisplaySettings>("stored");
        QTest::addColumn<int>("arcWeightItem");
        QTest::addColumn<int>("sizeBox");
        QTest::addColumn<int>("widthBox");
        QTest::addColumn<int>("angleBox");
        QTest::addColumn<int>("typeItem");
        QTest::addColumn<DisplaySettings>("returned");

        const DisplaySettings defaults;
        QTest::newRow("defaults") << defaults << 0 << 15 << 2 << 30 << 0 << defaults;

        DisplaySettings custom;
        custom.ArcColor = 0x00123456;
        custom.TreeColor = 0x000000FF;
        custom.UserWeights = false;
        custom.ShowWeights = false;
        custom.AutoArcColor = true;
        custom.ArrowSize = 40;
        custom.ArcWidth = 7;
        custom.ArrowAngle = 4.5;
        custom.ArrowType = 1;
        QTest::newRow("every setting changed") << custom << 1 << 40 << 7 << 45 << 1 << custom;

        // Angles are edited in tenths: a value between tenths comes back rounded.
        DisplaySettings pi = defaults;
        pi.ArrowAngle = 3.14;
        DisplaySettings piBack = defaults;
        piBack.ArrowAngle = 3.1;
        QTest::newRow("angle 3.14") << pi << 0 << 15 << 2 << 31 << 0 << piBack;
        DisplaySettings half = defaults;
        half.ArrowAngle = 0.45; // 4.5 tenths: the half goes to the even 4
        DisplaySettings halfBack = defaults;
        halfBack.ArrowAngle = 0.4;
        QTest::newRow("angle half tenth to even") << half << 0 << 15 << 2 << 4 << 0 << halfBack;
        DisplaySettings tiny = defaults;
        tiny.ArrowAngle = 0.04;
        DisplaySettings tinyBack = defaults;
        tinyBack.ArrowAngle = 0.1;
        QTest::newRow("angle below 0.05") << tiny << 0 << 15 << 2 << 1 << 0 << tinyBack;
        DisplaySettings notANumber = defaults;
        notANumber.ArrowAngle = std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("angle not a number") << notANumber << 0 << 15 << 2 << 1 << 0 << tinyBack;

        // Values only a damaged file holds are clamped into the boxes' range.
        DisplaySettings huge = defaults;
        huge.ArrowSize = 100000;
        huge.ArcWidth = -3;
        huge.ArrowAngle = 1e12;
        DisplaySettings hugeBack = defaults;
        hugeBack.ArrowSize = 32767;
        hugeBack.ArcWidth = 1;
        hugeBack.ArrowAngle = 3276.7;
        QTest::newRow("out of range") << huge << 0 << 32767 << 1 << 32767 << 0 << hugeBack;
        DisplaySettings zero = defaults;
        zero.ArrowSize = 0;
        zero.ArrowAngle = 0;
        DisplaySettings zeroBack = defaults;
        zeroBack.ArrowSize = 1;
        zeroBack.ArrowAngle = 0.1;
        QTest::newRow("zero size and angle") << zero << 0 << 1 << 2 << 1 << 0 << zeroBack;
        DisplaySettings farType = defaults;
        farType.ArrowType = 7;
        DisplaySettings farTypeBack = defaults;
        farTypeBack.ArrowType = 1;
        QTest::newRow("type past the last item")
            << farType << 0 << 15 << 2 << 30 << 1 << farTypeBack;
    }

    void controlsShowTheSettings() {
        QFETCH(DisplaySettings, stored);
        QFETCH(DisplaySettings, returned);
        child->Map().Settings = stored;
        runSettings([&](DisplaySettingsDialog& f) {
            QCOMPARE(f.arcColourButton->Colour(), stored.ArcColor);
            QCOMPARE(f.treeColourButton->Colour(), stored.TreeColor);
            const QImage shown = f.arcColourButton->grab().toImage();
            QCOMPARE(shown.pixelColor(shown.rect().center()), toQColor(stored.ArcColor));
            QTEST(f.weightsGroup->checkedId(), "arcWeightItem");
            QCOMPARE(f.showWeightsCheck->isChecked(), stored.ShowWeights);
            QCOMPARE(f.autoArcColourCheck->isChecked(), stored.AutoArcColor);
            QTEST(f.arrowSizeSpin->value(), "sizeBox");
            QTEST(f.lineWidthSpin->value(), "widthBox");
            QTEST(f.arrowAngleSpin->value(), "angleBox");
            QCOMPARE(f.arrowAngleSpin->text(), QString::number(f.arrowAngleSpin->value()));
            QTEST(f.arrowTypeGroup->checkedId(), "typeItem");
            pressOK(f);
        });
        QCOMPARE(child->Map().Settings, returned);
    }

    void everyControlReachesTheMap() {
        QList<QColor> offered;
        form().AskColour = [&](const QColor& initial) -> std::optional<QColor> {
            offered << initial;
            return offered.size() == 1 ? QColor(0x11, 0x22, 0x33) : QColor(0xAA, 0xBB, 0xCC);
        };
        runSettings([&](DisplaySettingsDialog& f) {
            QTest::mouseClick(f.arcColourButton, Qt::LeftButton);
            QTest::mouseClick(f.treeColourButton, Qt::LeftButton);
            choose(f.weightsGroup, 1);
            QTest::mouseClick(f.showWeightsCheck, Qt::LeftButton, {}, QPoint(6, 8));
            QTest::mouseClick(f.autoArcColourCheck, Qt::LeftButton, {}, QPoint(6, 8));
            typeInto(f.arrowSizeSpin, QStringLiteral("25"));
            typeInto(f.lineWidthSpin, QStringLiteral("4"));
            typeInto(f.arrowAngleSpin, QStringLiteral("17"));
            choose(f.arrowTypeGroup, 1);
            pressOK(f);
        });
        QCOMPARE(offered.size(), 2);
        QCOMPARE(offered[0], toQColor(HotLightColor));
        QCOMPARE(offered[1], QColor(Qt::blue));
        DisplaySettings expected;
        expected.ArcColor = 0x00332211;
        expected.TreeColor = 0x00CCBBAA;
        expected.UserWeights = false;
        expected.ShowWeights = false;
        expected.AutoArcColor = true;
        expected.ArrowSize = 25;
        expected.ArcWidth = 4;
        expected.ArrowAngle = 1.7;
        expected.ArrowType = 1;
        QCOMPARE(child->Map().Settings, expected);
        QVERIFY(child->document().isModified());
    }

    // What a spin box holds when the user leaves it so: keys that cannot lead to a number in its
    // range are refused, and a text that is no such number yet leaves the last number (15).
    void spinBoxText_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("value");
        QTest::newRow("a number") << QStringLiteral("120") << 120;
        QTest::newRow("emptied") << QString() << 15;
        QTest::newRow("a sign alone") << QStringLiteral("-") << 15;
        QTest::newRow("zero") << QStringLiteral("0") << 15;
        QTest::newRow("the minus is refused") << QStringLiteral("-40") << 40;
        QTest::newRow("the digit past the range is refused") << QStringLiteral("99999") << 9999;
        QTest::newRow("letters are refused") << QStringLiteral("1x2") << 12;
    }

    void spinBoxText() {
        QFETCH(QString, typed);
        QFETCH(int, value);
        runSettings([&](DisplaySettingsDialog& f) {
            typeInto(f.arrowSizeSpin, typed);
            // The preview reads the box as it is being edited.
            QCOMPARE(f.arrowSizeSpin->value(), value);
            QTest::keyClick(f.arrowSizeSpin, Qt::Key_Return);
        });
        QCOMPARE(child->Map().Settings.ArrowSize, value);
    }

    void closeBoxChangesNothing() {
        DisplaySettings stored;
        stored.ArrowAngle = 3.14;
        child->Map().Settings = stored;
        form().AskColour = [](const QColor&) { return QColor(Qt::red); };
        runSettings([&](DisplaySettingsDialog& f) {
            QTest::mouseClick(f.arcColourButton, Qt::LeftButton);
            QTest::mouseClick(f.treeColourButton, Qt::LeftButton);
            typeInto(f.lineWidthSpin, QStringLiteral("9"));
            choose(f.arrowTypeGroup, 1);
            f.close();
        });
        QCOMPARE(child->Map().Settings, stored);
        QVERIFY(!child->document().isModified());
    }

    void okWithoutAChangeKeepsTheMapAsSaved() {
        runSettings(pressOK);
        QCOMPARE(child->Map().Settings, DisplaySettings());
        QVERIFY(!child->document().isModified());
    }

    void cancelledColourDialogKeepsTheSystemColour() {
        form().AskColour = [](const QColor&) { return std::nullopt; };
        runSettings([&](DisplaySettingsDialog& f) {
            QTest::mouseClick(f.arcColourButton, Qt::LeftButton);
            pressOK(f);
        });
        QCOMPARE(child->Map().Settings.ArcColor, HotLightColor);
    }

    void automaticWeightsTakeTheDistance() {
        int asked = 0;
        frame->programDialogs().setRunner([&](QDialog&) {
            ++asked;
            return int(QDialog::Rejected);
        });
        runSettings([&](DisplaySettingsDialog& f) {
            choose(f.weightsGroup, 1);
            pressOK(f);
        });
        child->SetEditorMode(true);
        const StopIndex a = child->editor().AddStopAt(0, 0);
        const StopIndex b = child->editor().AddStopAt(30, 40);
        child->editor().AddArc(a, b);
        QCOMPARE(child->Map().FindLink(a, b)->Length, 50.0);
        QCOMPARE(asked, 0);
    }

    // The preview turns by a tenth of a radian a tick, from 0 at each showing, and stops when
    // the dialog goes.
    void previewTurnsWhileShown() {
        QList<double> angles;
        runSettings([&](DisplaySettingsDialog& f) {
            QVERIFY(f.turnTimer->isActive());
            QCOMPARE(f.turnTimer->interval(), 50);
            angles << f.PreviewAngle;
            QTRY_VERIFY(f.PreviewAngle > 0.25);
            angles << f.PreviewAngle;
            f.close();
        });
        QVERIFY(!form().turnTimer->isActive());
        const double left = form().PreviewAngle;
        QTest::qWait(120);
        QCOMPARE(form().PreviewAngle, left);
        runSettings([&](DisplaySettingsDialog& f) {
            angles << f.PreviewAngle;
            pressOK(f);
        });
        QCOMPARE(angles[0], 0.0);
        // Whole ticks of 0.1 each.
        QVERIFY(std::abs(angles[1] * 10 - std::round(angles[1] * 10)) < 1e-9);
        QCOMPARE(angles[2], 0.0);
    }

    // The preview draws the values in the dialog as they stand, not the map's.
    void previewFollowsTheEditedValues() {
        form().AskColour = [](const QColor&) { return QColor(Qt::red); };
        runSettings([&](DisplaySettingsDialog& f) {
            f.turnTimer->stop();
            QTest::mouseClick(f.arcColourButton, Qt::LeftButton);
            typeInto(f.lineWidthSpin, QStringLiteral("1"));
            f.PreviewAngle = 0;
            f.turnPreview();
            const QImage thin = f.arrowPreview->grab().toImage();
            QCOMPARE(thin.size(), QSize(188, 172));
            QCOMPARE(f.PreviewAngle, 0.1);
            // At 0.1 radian the arrow runs from (140, 95) to (40, 85): through the centre, its
            // head at the far end.
            QCOMPARE(thin.pixelColor(90, 90), QColor(Qt::red));
            QCOMPARE(thin.pixelColor(5, 5), QColor(Qt::white));
            const int atHead = pixelsNear(thin, {46, 86}, 8, Qt::red);
            const int atTail = pixelsNear(thin, {134, 94}, 8, Qt::red);
            QVERIFY2(atHead > atTail + 5,
                     qPrintable(QStringLiteral("%1 %2").arg(atHead).arg(atTail)));

            typeInto(f.lineWidthSpin, QStringLiteral("6"));
            f.PreviewAngle = 0;
            f.turnPreview();
            const QImage wide = f.arrowPreview->grab().toImage();
            QVERIFY(pixelsNear(wide, {90, 90}, 20, Qt::red) >
                    2 * pixelsNear(thin, {90, 90}, 20, Qt::red));

            typeInto(f.lineWidthSpin, QStringLiteral("1"));
            choose(f.arrowTypeGroup, 1);
            f.PreviewAngle = 0;
            f.turnPreview();
            QVERIFY(f.arrowPreview->grab().toImage() != thin);

            choose(f.arrowTypeGroup, 0);
            typeInto(f.arrowSizeSpin, QStringLiteral("40"));
            f.PreviewAngle = 0;
            f.turnPreview();
            QVERIFY(f.arrowPreview->grab().toImage() != thin);

            typeInto(f.arrowSizeSpin, QStringLiteral("15"));
            typeInto(f.arrowAngleSpin, QStringLiteral("10"));
            f.PreviewAngle = 0;
            f.turnPreview();
            QVERIFY(f.arrowPreview->grab().toImage() != thin);

            // The same values draw the same arrow again.
            typeInto(f.arrowAngleSpin, QStringLiteral("30"));
            f.PreviewAngle = 0;
            f.turnPreview();
            QCOMPARE(f.arrowPreview->grab().toImage(), thin);
            f.close();
        });
        QCOMPARE(child->Map().Settings, DisplaySettings());
    }
};

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
