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
    Edit1 = new QLineEdit(this);
    Edit1->setGeometry(16, 26, 224, 22);
    Edit1->setToolTip(QStringLiteral("Поле ввода пользователя"));
    (new QLabel(QStringLiteral("Пароль:"), this))->setGeometry(16, 56, 224, 16);
    MaskEdit1 = new QLineEdit(this);
    MaskEdit1->setGeometry(16, 74, 224, 22);
    MaskEdit1->setToolTip(QStringLiteral("Поле ввода пароля"));
    MaskEdit1->setEchoMode(QLineEdit::Password);
    MaskEdit1->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    BitBtn1 = new QPushButton(QStringLiteral("Ввести >>"), this);
    BitBtn1->setGeometry(80, 114, 96, 28);
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &AccessDialog::BitBtn1Click);

    const lirsk::AccountName account = lookup();
    Edit1->setText(account.error == 0 ? account.name
                                      : QStringLiteral("Ошибка ") + QString::number(account.error));
    MaskEdit1->clear();
    Failures = 0;
}

void AccessDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    MaskEdit1->setFocus();
    MaskEdit1->selectAll();
}

void AccessDialog::BitBtn1Click() {
    if (MaskEdit1->text() == EditorPassword) {
        if (MapWindow* current = CurrentMapWindow())
            current->SetEditorMode(true);
        accept();
        MaskEdit1->clear();
        return;
    }
    lirsk::beep(lirsk::Beep::Hand);
    lirsk::showMessage(this, {QMessageBox::Critical, QStringLiteral("Ошибка"),
                              QStringLiteral("Неверный пароль"), QMessageBox::Ok});
    ++Failures;
    MaskEdit1->clear();
    if (Failures == MaxFailures) {
        reject();
        MaskEdit1->clear();
    }
}

void AccessDialog::done(int result) {
    QDialog::done(result);
    FormClose();
}

void AccessDialog::CloseDialog() {
    if (isVisible())
        reject();
    else
        FormClose();
}

void AccessDialog::FormClose() {
    if (!frame_)
        return;
    if (!frame_->acAddStop->isVisible()) {
        frame_->acEditorMode->setChecked(false);
        frame_->acFindWay->setChecked(true);
    } else {
        frame_->acEditorMode->setChecked(true);
    }
}
