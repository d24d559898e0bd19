#include "app/aboutdialog.h"
#include "app/accessdialog.h"
#include "app/creditsdialog.h"
#include "app/mainwindow.h"
#include "app/mapwindow.h"
#include "platform/messages.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

using namespace lirsk;

Q_DECLARE_METATYPE(lirsk::AccountName)

namespace {

const QString kWrong = QStringLiteral("Неверный пароль");
const QString kPassword = QStringLiteral("TheSilentHarbour");

} // namespace

// The editor access dialog, the credits and the About window, driven through the frame's
// commands as a user drives them.
class TestAccess : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindow> frame;
    AccessDialog* form = nullptr;
    MapWindow* child = nullptr;
    QStringList messages;

    // Runs `user` in a modal window once it is shown by `command`; a window the user left open
    // is closed by its close box.
    void whileShown(QWidget* window, const std::function<void()>& command,
                    const std::function<void()>& user) {
        bool ran = false;
        QTimer::singleShot(0, this, [&] {
            ran = true;
            user();
            if (window->isVisible())
                window->close();
        });
        command();
        QVERIFY(ran);
        QVERIFY(!window->isVisible());
    }

    // Presses the editor button: the access dialog comes when the button goes down.
    void pressRedactor(const std::function<void()>& user) {
        QVERIFY(!frame->acEditorMode->isChecked());
        whileShown(
            form, [this] { frame->acEditorMode->trigger(); }, user);
    }

    void enter(const QString& password) {
        QTest::keyClicks(form->passwordEdit, password);
        QTest::mouseClick(form->enterButton, Qt::LeftButton);
    }

    bool editorMode() const { return frame->acAddStop->isVisible(); }

private slots:
    void init() {
        messages.clear();
        setMessageHandler([this](const MessageRequest& r) {
            messages << r.text;
            return QMessageBox::Ok;
        });
        frame = std::make_unique<MainWindow>();
        form = new AccessDialog(frame.get(), [] {
            return AccountName{QStringLiteral("tester"), 0};
        });
        frame->setAccessDialog(form);
        frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
        frame->acNewExecute();
        child = frame->ActiveMapWindow();
        QVERIFY(child);
        QVERIFY(frame->acEditorMode->isEnabled());
    }

    void cleanup() {
        frame.reset();
        setMessageHandler({});
    }

    void userField_data() {
        QTest::addColumn<AccountName>("account");
        QTest::addColumn<QString>("shown");
        QTest::newRow("name") << AccountName{QStringLiteral("ivanov"), 0}
                              << QStringLiteral("ivanov");
        QTest::newRow("no entry") << AccountName{QString(), 2} << QStringLiteral("Ошибка 2");
        QTest::newRow("error wins")
            << AccountName{QStringLiteral("x"), 13} << QStringLiteral("Ошибка 13");
    }

    void userField() {
        QFETCH(AccountName, account);
        AccessDialog dialog(frame.get(), [&] { return account; });
        QTEST(dialog.userNameEdit->text(), "shown");
        QVERIFY(!dialog.userNameEdit->isReadOnly());
        QVERIFY(dialog.passwordEdit->text().isEmpty());
        QCOMPARE(dialog.Failures, 0);
    }

    void passwordIsMasked() {
        form->passwordEdit->setText(QStringLiteral("abcd"));
        QCOMPARE(form->passwordEdit->displayText(), QStringLiteral("****"));
        form->passwordEdit->clear();
    }

    void passwords_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("right") << kPassword << true;
        QTest::newRow("lower case") << kPassword.toLower() << false;
        QTest::newRow("upper case") << kPassword.toUpper() << false;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("trailing space") << kPassword + QLatin1Char(' ') << false;
        QTest::newRow("one letter short") << kPassword.chopped(1) << false;
    }

    void passwords() {
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        bool focused = false;
        bool openAfter = false;
        pressRedactor([&] {
            focused = form->focusWidget() == form->passwordEdit;
            enter(typed);
            openAfter = form->isVisible();
            QVERIFY(form->passwordEdit->text().isEmpty());
        });
        QVERIFY(focused);
        QCOMPARE(openAfter, !accepted);
        QCOMPARE(editorMode(), accepted);
        QCOMPARE(frame->acEditorMode->isChecked(), accepted);
        QCOMPARE(messages, accepted ? QStringList() : QStringList{kWrong});
        QCOMPARE(form->Failures, accepted ? 0 : 1);
        if (!accepted)
            QVERIFY(frame->acFindWay->isChecked());
    }

    void enterKeyPresses() {
        pressRedactor([&] {
            QTest::keyClicks(form->passwordEdit, kPassword);
            QTest::keyClick(form->passwordEdit, Qt::Key_Return);
        });
        QVERIFY(editorMode());
    }

    // The third wrong password of the run closes the dialog, the fourth does not.
    void thirdFailureOfTheRunCloses() {
        QList<bool> open;
        pressRedactor([&] {
            for (int i = 0; i < 3; ++i) {
                enter(QStringLiteral("wrong"));
                open << form->isVisible();
            }
        });
        QCOMPARE(open, (QList<bool>{true, true, false}));
        QCOMPARE(messages.size(), 3);
        QVERIFY(!frame->acEditorMode->isChecked());
        QVERIFY(frame->acFindWay->isChecked());
        QVERIFY(!editorMode());

        open.clear();
        pressRedactor([&] {
            enter(QStringLiteral("wrong again"));
            open << form->isVisible();
            enter(kPassword);
            open << form->isVisible();
        });
        QCOMPARE(open, (QList<bool>{true, false}));
        QCOMPARE(form->Failures, 4);
        QVERIFY(editorMode());
        QVERIFY(frame->acEditorMode->isChecked());
    }

    void failuresCountAcrossShowings() {
        pressRedactor([&] {
            enter(QStringLiteral("one"));
            enter(QStringLiteral("two"));
        });
        QCOMPARE(form->Failures, 2);
        bool open = true;
        pressRedactor([&] {
            enter(QStringLiteral("three"));
            open = form->isVisible();
        });
        QVERIFY(!open);
    }

    void rightAfterTwoWrongKeepsTheCount() {
        pressRedactor([&] {
            enter(QStringLiteral("one"));
            enter(QStringLiteral("two"));
            enter(kPassword);
        });
        QVERIFY(editorMode());
        QCOMPARE(form->Failures, 2);
        // Leaving editor mode and asking again: one more failure is the third.
        frame->acEditorMode->trigger();
        QVERIFY(!editorMode());
        bool open = true;
        pressRedactor([&] {
            enter(QStringLiteral("three"));
            open = form->isVisible();
        });
        QVERIFY(!open);
    }

    void releasingTheButtonLeavesEditorMode() {
        child->Map().AddStop(40, 40, true);
        child->document().markReloaded();
        pressRedactor([&] { enter(kPassword); });
        QVERIFY(editorMode());
        frame->acAddStop->trigger();
        QVERIFY(frame->acAddStop->isChecked());
        frame->acEditorMode->trigger();
        QVERIFY(!frame->acEditorMode->isChecked());
        QVERIFY(!editorMode());
        // The window searches again: a drag between stops finds a way, not a road dialog.
        QCOMPARE(child->editor().mode(), lirsk::MapMode::FindWay);
        QVERIFY(frame->acFindWay->isChecked());
    }

    void creditsOpenTheLink_data() {
        QTest::addColumn<bool>("browserFound");
        QTest::newRow("browser") << true;
        QTest::newRow("no browser") << false;
    }

    void creditsOpenTheLink() {
        QFETCH(bool, browserFound);
        auto* credits = frame->creditsDialog();
        QStringList opened;
        credits->OpenUrl = [&](const QString& url, const std::function<void()>& failed) {
            opened << url;
            if (!browserFound)
                failed();
        };
        QAction* entry = nullptr;
        for (QAction* menu : frame->menuBar()->actions())
            if (menu->text() == QStringLiteral("Помощь"))
                for (QAction* a : menu->menu()->actions())
                    if (a->text() == QStringLiteral("Соавторы"))
                        entry = a;
        QVERIFY(entry);
        bool modal = false;
        whileShown(
            credits, [&] { entry->trigger(); },
            [&] {
                modal = credits->isModal();
                QTest::mouseClick(credits->webLink, Qt::LeftButton);
            });
        QVERIFY(modal);
        QCOMPARE(opened, QStringList{CreditsDialog::WebAddress});
        // Nothing took the address: the user is told rather than left waiting.
        QCOMPARE(messages.size(), browserFound ? 0 : 1);
        if (!browserFound)
            QVERIFY(messages[0].contains(CreditsDialog::WebAddress));
    }

    void aboutLeavesTheWaitingText() {
        QString during;
        whileShown(
            frame->aboutDialog(), [&] { frame->acAbout->trigger(); },
            [&] { during = frame->StatusText(); });
        QCOMPARE(during, QStringLiteral("Информация о программе"));
        QCOMPARE(frame->StatusText(), QStringLiteral("Режим ожидания"));
    }
};

QTEST_MAIN(TestAccess)
#include "tst_access.moc"
