#include "editfixture.h"

#include "edit/modal.h"
#include "edit/roadparametersdialog.h"
#include "edit/routereportdialog.h"
#include "edit/stoppropertiesdialog.h"
#include "platform/messages.h"

#include <QCheckBox>
#include <QFontDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QTranslator>

#include <functional>

using namespace lirsk;

// The dialogs are shown for real (offscreen) and answered with key and mouse events.
class TestEditDialogs : public QObject {
    Q_OBJECT

    QStringList messages;

    // Runs the next modal showing with the given answer; the answer sees the shown dialog.
    void answerWith(ModalDialog& form, std::function<void(QDialog&)> act) {
        form.setRunner([act](QDialog& dialog) {
            dialog.setResult(QDialog::Rejected);
            dialog.show();
            if (!QTest::qWaitForWindowExposed(&dialog))
                return int(QDialog::Rejected);
            act(dialog);
            dialog.hide();
            return dialog.result();
        });
    }

    static void typeInto(QLineEdit* edit, const QString& text) {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        edittest::typeText(edit, text);
    }

private slots:
    void init() {
        messages.clear();
        setMessageHandler([this](const MessageRequest& r) {
            messages << r.text;
            return QMessageBox::Ok;
        });
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    }

    void cleanup() {
        setMessageHandler({});
        QLocale::setDefault(QLocale::c());
    }

    void weightsFields_data() {
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("time");
        QTest::addColumn<int>("messageCount");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<double>("lengthRead");
        QTest::newRow("three numbers") << "12,5"
                                       << "1500"
                                       << "90" << 0 << true << 1500.0;
        QTest::newRow("decimal comma") << "0"
                                       << "2,75"
                                       << "1e2" << 0 << true << 2.75;
        QTest::newRow("negative and zero") << "0"
                                           << "-3"
                                           << "0" << 0 << true << -3.0;
        QTest::newRow("blanks around") << " 7 "
                                       << " 8 "
                                       << " 9 " << 0 << true << 8.0;
        QTest::newRow("letters as length") << "5"
                                           << "abc"
                                           << "60" << 1 << false << 0.0;
        QTest::newRow("empty time") << "5"
                                    << "10"
                                    << "" << 1 << false << 0.0;
        QTest::newRow("point is not the separator") << "5"
                                                    << "2.5"
                                                    << "1" << 1 << false << 0.0;
        QTest::newRow("all three wrong") << "x"
                                         << ""
                                         << "1,2,3" << 3 << false << 0.0;
    }

    void weightsFields() {
        QFETCH(QString, price);
        QFETCH(QString, length);
        QFETCH(QString, time);
        QFETCH(int, messageCount);
        QFETCH(bool, accepted);
        QFETCH(double, lengthRead);
        RoadParametersDialog form;
        answerWith(form, [&](QDialog&) {
            typeInto(form.fareEdit, price);
            typeInto(form.lengthEdit, length);
            typeInto(form.timeEdit, time);
            QTest::mouseClick(form.okButton, Qt::LeftButton);
        });
        const std::optional<RoadWeight> answer = form.Ask({1, 2, 3});
        QCOMPARE(messages.size(), messageCount);
        for (const QString& m : std::as_const(messages))
            QCOMPARE(m, QStringLiteral("Вес введён неверно!"));
        QCOMPARE(form.NumbersAccepted, accepted);
        QCOMPARE(answer.has_value(), accepted);
        QVERIFY(form.isHidden());
        if (accepted)
            QCOMPARE(answer->Length, lengthRead);
    }

    void weightsShownAndFocused() {
        RoadParametersDialog form;
        QString shownPrice, shownLength, shownTime, selected;
        bool priceFocused = false;
        answerWith(form, [&](QDialog& dialog) {
            shownPrice = form.fareEdit->text();
            shownLength = form.lengthEdit->text();
            shownTime = form.timeEdit->text();
            priceFocused = dialog.focusWidget() == form.fareEdit;
            selected = form.fareEdit->selectedText();
            // Typing replaces the whole fare; Enter in an edit presses "OK".
            QTest::keyClicks(form.fareEdit, QStringLiteral("40"));
            QTest::keyClick(form.timeEdit, Qt::Key_Return);
        });
        const std::optional<RoadWeight> answer = form.Ask({12.5, 1500, 0});
        QCOMPARE(shownPrice, QStringLiteral("12,5"));
        QCOMPARE(shownLength, QStringLiteral("1500"));
        QCOMPARE(shownTime, QStringLiteral("0"));
        QVERIFY(priceFocused);
        QCOMPARE(selected, QStringLiteral("12,5"));
        QVERIFY(answer);
        QCOMPARE(answer->Price, 40.0);
        QCOMPARE(answer->Length, 1500.0);
        QVERIFY(messages.isEmpty());
    }

    void weightsClosedWithoutOk() {
        RoadParametersDialog form;
        // An earlier accepted showing does not count for the next one.
        answerWith(form, [&](QDialog&) { QTest::mouseClick(form.okButton, Qt::LeftButton); });
        QVERIFY(form.Ask({1, 2, 3}));
        answerWith(form, [&](QDialog& dialog) {
            typeInto(form.lengthEdit, QStringLiteral("99"));
            dialog.reject();
        });
        QVERIFY(!form.Ask({1, 2, 3}));
        QVERIFY(!form.NumbersAccepted);
    }

    void weightsKeyboardOrder() {
        RoadParametersDialog form;
        QList<QWidget*> order;
        answerWith(form, [&](QDialog&) {
            form.okButton->setFocus();
            for (int i = 0; i < 4; ++i) {
                order << QApplication::focusWidget();
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            }
        });
        form.Ask({});
        QCOMPARE(order,
                 (QList<QWidget*>{form.okButton, form.lengthEdit, form.fareEdit, form.timeEdit}));
    }

    void propertiesRoundTrip_data() {
        QTest::addColumn<QString>("typedName");
        QTest::addColumn<QString>("typedSize");
        QTest::addColumn<bool>("pickFont");
        QTest::addColumn<QString>("expectName");
        QTest::addColumn<QString>("expectSize");
        // Typed letters go lower case; the name the box is filled with stays as it is.
        QTest::newRow("nothing changed") << ""
                                         << "" << false << "Вокзал"
                                         << "10";
        QTest::newRow("typed name goes lower case") << "Парк ПОБЕДЫ"
                                                    << "" << false << "парк победы"
                                                    << "10";
        QTest::newRow("size twenty") << ""
                                     << "20" << false << "Вокзал"
                                     << "20";
        QTest::newRow("size cut at two characters") << ""
                                                    << "789" << false << "Вокзал"
                                                    << "78";
        QTest::newRow("font chosen") << ""
                                     << "" << true << "Вокзал"
                                     << "10";
    }

    void propertiesRoundTrip() {
        QFETCH(QString, typedName);
        QFETCH(QString, typedSize);
        QFETCH(bool, pickFont);
        QFETCH(QString, expectName);
        QFETCH(QString, expectSize);
        StopPropertiesDialog form;
        FontSpec chosen;
        chosen.Name = QStringLiteral("Arial");
        chosen.Size = 12;
        chosen.Bold = true;
        form.AskFont = [](const QFont& start) -> std::optional<QFont> {
            QFont font = start;
            font.setPointSize(12);
            font.setBold(true);
            return font;
        };
        bool idEnabled = true;
        QString panelCaption;
        answerWith(form, [&](QDialog&) {
            idEnabled = form.idEdit->isEnabled();
            if (!typedName.isEmpty()) {
                form.nameEdit->selectAll();
                edittest::typeText(form.nameEdit, typedName);
            }
            if (!typedSize.isEmpty()) {
                QLineEdit* sizeText = form.sizeSpin->findChild<QLineEdit*>();
                sizeText->selectAll();
                QTest::keyClicks(sizeText, typedSize);
            }
            if (pickFont)
                QTest::mouseClick(form.fontSample, Qt::LeftButton);
            panelCaption = form.fontSample->text();
            QTest::mouseClick(form.okButton, Qt::LeftButton);
        });
        StopProperties in;
        in.Name = QStringLiteral("Вокзал");
        in.Size = QStringLiteral("10");
        in.Id = QStringLiteral("4");
        in.ShowName = true;
        in.Color = 0x00F0CAA6;
        in.Routes = QStringLiteral("A1  A5");
        in.Font.Size = 9;
        const std::optional<StopProperties> out = form.SetProperties(in);
        QVERIFY(out);
        QVERIFY(!idEnabled);
        QCOMPARE(panelCaption, expectName);
        QCOMPARE(out->Name, expectName);
        QCOMPARE(out->Size, expectSize);
        QCOMPARE(out->Id, QStringLiteral("4"));
        QCOMPARE(out->Color, Colour(0x00F0CAA6));
        QCOMPARE(out->Routes, QStringLiteral("A1  A5"));
        QCOMPARE(out->FontChanged, pickFont);
        QCOMPARE(out->Font.Size, pickFont ? 12 : 9);
        QCOMPARE(out->Font.Bold, pickFont);
        QVERIFY(messages.isEmpty());
    }

    void nameBoxLowerCasesTypedLettersOnly_data() {
        QTest::addColumn<int>("key"); // where the cursor goes first
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expectName");
        QTest::newRow("End + a key") << int(Qt::Key_End) << "Х"
                                     << "Купчинох";
        QTest::newRow("Home + two keys") << int(Qt::Key_Home) << "СТ"
                                         << "стКупчино";
    }

    void nameBoxLowerCasesTypedLettersOnly() {
        QFETCH(int, key);
        QFETCH(QString, typed);
        QFETCH(QString, expectName);
        StopPropertiesDialog form;
        answerWith(form, [&](QDialog&) {
            QTest::keyClick(form.nameEdit, Qt::Key(key));
            edittest::typeText(form.nameEdit, typed);
            QTest::mouseClick(form.okButton, Qt::LeftButton);
        });
        StopProperties in;
        in.Name = QStringLiteral("Купчино");
        in.Size = QStringLiteral("10");
        const std::optional<StopProperties> out = form.SetProperties(in);
        QVERIFY(out);
        QCOMPARE(out->Name, expectName);
    }

    void fontDialogOpensWithTheStopsFont_data() {
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("italic");
        QTest::addColumn<int>("size");
        QTest::newRow("regular") << false << false << 8;
        QTest::newRow("bold") << true << false << 10;
        QTest::newRow("italic") << false << true << 12;
        QTest::newRow("bold italic") << true << true << 9;
    }

    void fontDialogOpensWithTheStopsFont() {
        QFETCH(bool, bold);
        QFETCH(bool, italic);
        QFETCH(int, size);
        // The toolkit's own dialog, in Russian as the program shows it.
        QTranslator russian;
        if (!russian.load(QStringLiteral("qtbase_ru"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QSKIP("the toolkit's Russian translation is not installed");
        QCoreApplication::installTranslator(&russian);
        const auto untranslate = qScopeGuard([&] { QCoreApplication::removeTranslator(&russian); });
        StopPropertiesDialog form;
        QFont offered;
        answerWith(form, [&](QDialog&) {
            QTimer::singleShot(0, &form, [&] {
                auto* fonts = form.findChild<QFontDialog*>();
                offered = fonts->currentFont();
                fonts->accept();
            });
            QTest::mouseClick(form.fontSample, Qt::LeftButton);
            QTest::mouseClick(form.okButton, Qt::LeftButton);
        });
        StopProperties in;
        in.Size = QStringLiteral("10");
        in.Font.Size = size;
        in.Font.Bold = bold;
        in.Font.Italic = italic;
        const std::optional<StopProperties> out = form.SetProperties(in);
        QVERIFY(out);
        QCOMPARE(offered.bold(), bold);
        QCOMPARE(offered.italic(), italic);
        QCOMPARE(offered.pointSize(), size);
        // OK without a change gives the stop's font back.
        QVERIFY(out->FontChanged);
        QCOMPARE(out->Font.Name, in.Font.Name);
        QCOMPARE(out->Font.Size, size);
        QCOMPARE(out->Font.Bold, bold);
        QCOMPARE(out->Font.Italic, italic);
    }

    void propertiesEmptySizeRefused() {
        StopPropertiesDialog form;
        bool stayedOpen = false;
        answerWith(form, [&](QDialog& dialog) {
            QLineEdit* sizeText = form.sizeSpin->findChild<QLineEdit*>();
            sizeText->selectAll();
            QTest::keyClick(sizeText, Qt::Key_Backspace);
            QTest::mouseClick(form.okButton, Qt::LeftButton);
            stayedOpen = dialog.isVisible();
            QTest::keyClicks(sizeText, QStringLiteral("15"));
            QTest::mouseClick(form.okButton, Qt::LeftButton);
        });
        StopProperties in;
        in.Size = QStringLiteral("10");
        const std::optional<StopProperties> out = form.SetProperties(in);
        QVERIFY(stayedOpen);
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].contains(QStringLiteral("от 1 до 78")));
        QVERIFY(out);
        QCOMPARE(out->Size, QStringLiteral("15"));
    }

    void propertiesColourAndCancel() {
        StopPropertiesDialog form;
        QList<QColor> offered;
        form.AskColour = [&offered](const QColor& last) -> std::optional<QColor> {
            offered << last;
            return QColor(0x10, 0x20, 0x30);
        };
        answerWith(form, [&](QDialog&) {
            QTest::mouseClick(form.colourPanel, Qt::LeftButton);
            QTest::mouseClick(form.okButton, Qt::LeftButton);
        });
        StopProperties in;
        in.Size = QStringLiteral("10");
        in.Color = 0x000000FF;
        std::optional<StopProperties> out = form.SetProperties(in);
        QVERIFY(out);
        QCOMPARE(out->Color, Colour(0x00302010));
        // The colour dialog opens with the colour it had last; Esc cancels the dialog.
        answerWith(form, [&](QDialog& dialog) {
            QTest::mouseClick(form.colourPanel, Qt::LeftButton);
            QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        QVERIFY(!form.SetProperties(in));
        QCOMPARE(offered.size(), 2);
        QCOMPARE(offered[1], QColor(0x10, 0x20, 0x30));
    }

    void reportWindowLayout() {
        RouteReportDialog rez;
        RouteReport report;
        report.fareText = QStringLiteral("14 руб.");
        report.lengthText = QStringLiteral("2,35 км.");
        report.timeText = QStringLiteral("1 мин.");
        report.ridesText = QStringLiteral("\rот ост. S до ост. F\r№ 5 ");
        QString rides;
        answerWith(rez, [&](QDialog&) {
            rides = rez.ridesLabel->text();
            QTest::mouseClick(rez.closeButton, Qt::LeftButton);
        });
        rez.ShowReport(report);
        QVERIFY(rez.isHidden());
        QCOMPARE(rez.windowTitle(), QStringLiteral("Отчет"));
        QCOMPARE(rez.fareLabel->text(), report.fareText);
        QCOMPARE(rez.lengthLabel->text(), report.lengthText);
        QCOMPARE(rez.timeLabel->text(), report.timeText);
        QCOMPARE(rides, QStringLiteral("\nот ост. S до ост. F\n№ 5 "));
        QCOMPARE(rez.fareCaption->text(), QStringLiteral("Стоимость пути: "));
        QCOMPARE(rez.lengthCaption->text(), QStringLiteral("Длина пути:           "));
        QCOMPARE(rez.timeCaption->text(), QStringLiteral("Время в пути:       "));
        QCOMPARE(rez.lengthImage->geometry(), QRect(48, 41, 32, 32));
        QCOMPARE(rez.closeButton->geometry(), QRect(208, 288, 91, 25));
        // The pictures are drawn, not empty.
        for (const QPixmap& picture :
             {RouteReportDialog::MoneyPicture(), RouteReportDialog::RoadPicture(),
              RouteReportDialog::ClockPicture()}) {
            const QImage image = picture.toImage();
            int opaque = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    opaque += qAlpha(image.pixel(x, y)) > 0;
            QVERIFY(opaque > 200);
        }
    }
};

QTEST_MAIN(TestEditDialogs)
#include "tst_editdialogs.moc"
