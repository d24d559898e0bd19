#include "app/accessdialog.h"

#include "app/mainwindow.h"
#include "app/mapwindow.h"
#include "platform/messages.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

const QString AccessDialog::EditorPassword = QStringLiteral("TheSilentHarbour");

AccessDialog::AccessDialog(MainWindow* frame, const AccountLookup& lookup)
    : QDialog(frame), frame_(frame) {
    setWindowTitle(QStringLiteral("Контроль доступа"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(256, 154);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());

    (new QLabel(QStringLiteral("Пользователь:"), this))->setGeometry(16, 8, 224, 16);
    userNameEdit = new QLineEdit(this);
    userNameEdit->setGeometry(16, 26, 224, 22);
    userNameEdit->setToolTip(QStringLiteral("Поле ввода пользователя"));
    (new QLabel(QStringLiteral("Пароль:"), this))->setGeometry(16, 56, 224, 16);
    passwordEdit = new QLineEdit(this);
    passwordEdit->setGeometry(16, 74, 224, 22);
    passwordEdit->setToolTip(QStringLiteral("Поле ввода пароля"));
    passwordEdit->setEchoMode(QLineEdit::Password);
    passwordEdit->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    enterButton = new QPushButton(QStringLiteral("Ввести >>"), this);
    enterButton->setGeometry(80, 114, 96, 28);
    enterButton->setDefault(true);
    connect(enterButton, &QPushButton::clicked, this, &AccessDialog::checkPassword);

    const lirsk::AccountName account = lookup();
    userNameEdit->setText(account.error == 0
                              ? account.name
                              : QStringLiteral("Ошибка ") + QString::number(account.error));
    passwordEdit->clear();
    Failures = 0;
}

void AccessDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    passwordEdit->setFocus();
    passwordEdit->selectAll();
}

void AccessDialog::checkPassword() {
    if (passwordEdit->text() == EditorPassword) {
        if (MapWindow* current = frame_ ? frame_->currentMapWindow() : nullptr)
            current->SetEditorMode(true);
        accept();
        passwordEdit->clear();
        return;
    }
    lirsk::beep(lirsk::Beep::Hand);
    lirsk::showMessage(this, {QMessageBox::Critical, QStringLiteral("Ошибка"),
                              QStringLiteral("Неверный пароль"), QMessageBox::Ok});
    ++Failures;
    passwordEdit->clear();
    if (Failures == MaxFailures) {
        reject();
        passwordEdit->clear();
    }
}

void AccessDialog::done(int result) {
    QDialog::done(result);
    showEditorModeOnButton();
}

void AccessDialog::CloseDialog() {
    if (isVisible())
        reject();
    else
        showEditorModeOnButton();
}

void AccessDialog::showEditorModeOnButton() {
    if (!frame_)
        return;
    if (!frame_->acAddStop->isVisible()) {
        frame_->acEditorMode->setChecked(false);
        frame_->acFindWay->setChecked(true);
    } else {
        frame_->acEditorMode->setChecked(true);
    }
}
