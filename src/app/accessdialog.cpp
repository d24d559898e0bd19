#include "app/accessdialog.h"

#include "app/mainwindow.h"
#include "app/mapwindow.h"
#include "platform/messages.h"
#include "platform/translatedtext.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

const QString AccessDialog::EditorPassword = QStringLiteral("TheSilentHarbour");

AccessDialog::AccessDialog(MainWindow* frame, const AccountLookup& lookup)
    : QDialog(frame), frame_(frame) {
    lirsk::keepText<AccessDialog>(this, "windowTitle", QT_TR_NOOP("Контроль доступа"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(256, 154);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());

    (lirsk::keepText<AccessDialog>(new QLabel(this), "text", QT_TR_NOOP("Пользователь:")))
        ->setGeometry(16, 8, 224, 16);
    userNameEdit = new QLineEdit(this);
    userNameEdit->setGeometry(16, 26, 224, 22);
    lirsk::keepText<AccessDialog>(userNameEdit, "toolTip", QT_TR_NOOP("Поле ввода пользователя"));
    (lirsk::keepText<AccessDialog>(new QLabel(this), "text", QT_TR_NOOP("Пароль:")))
        ->setGeometry(16, 56, 224, 16);
    passwordEdit = new QLineEdit(this);
    passwordEdit->setGeometry(16, 74, 224, 22);
    lirsk::keepText<AccessDialog>(passwordEdit, "toolTip", QT_TR_NOOP("Поле ввода пароля"));
    passwordEdit->setEchoMode(QLineEdit::Password);
    passwordEdit->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    enterButton =
        lirsk::keepText<AccessDialog>(new QPushButton(this), "text", QT_TR_NOOP("Ввести >>"));
    enterButton->setGeometry(80, 114, 96, 28);
    enterButton->setDefault(true);
    connect(enterButton, &QPushButton::clicked, this, &AccessDialog::checkPassword);

    const lirsk::AccountName account = lookup();
    userNameEdit->setText(account.error == 0 ? account.name : tr("Ошибка %1").arg(account.error));
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
    lirsk::showMessage(
        this, {QMessageBox::Critical, tr("Ошибка"), tr("Неверный пароль"), QMessageBox::Ok});
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
