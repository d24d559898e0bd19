#include "edit/roadparametersdialog.h"

#include "model/numberformat.h"
#include "platform/fonts.h"
#include "platform/messages.h"
#include "platform/translatedtext.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

RoadParametersDialog::RoadParametersDialog(QWidget* parent) : lirsk::ModalDialog(parent) {
    setObjectName(QStringLiteral("roadParametersDialog"));
    lirsk::keepText<RoadParametersDialog>(this, "windowTitle", QT_TR_NOOP("Параметры дороги"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(243, 111);
    QFont font(lirsk::mapFontFace(QStringLiteral("MS Sans Serif")));
    font.setPointSize(8);
    setFont(font);

    auto row = [this](int top, const char* caption, const char* unit, const char* name) {
        auto* label = lirsk::keepText<RoadParametersDialog>(new QLabel(this), "text", caption);
        label->setGeometry(8, top + 3, 110, 16);
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(name));
        edit->setGeometry(120, top, 81, 21);
        auto* units = lirsk::keepText<RoadParametersDialog>(new QLabel(this), "text", unit);
        units->setGeometry(206, top + 3, 32, 16);
        return edit;
    };
    fareEdit = row(8, QT_TR_NOOP("Стоимость проезда:"), QT_TR_NOOP("руб."), "fareEdit");
    lirsk::keepText<RoadParametersDialog>(fareEdit, "toolTip", QT_TR_NOOP("Стоимость пути"));
    lengthEdit = row(32, QT_TR_NOOP("Длина пути:"), QT_TR_NOOP("м."), "lengthEdit");
    lirsk::keepText<RoadParametersDialog>(lengthEdit, "toolTip", QT_TR_NOOP("Длина пути"));
    timeEdit = row(56, QT_TR_NOOP("Время в пути:"), QT_TR_NOOP("сек."), "timeEdit");

    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setGeometry(84, 82, 75, 25);
    okButton->setDefault(true);
    okButton->setAutoDefault(true);
    // Enter in any field presses the default button.
    connect(okButton, &QPushButton::clicked, this, &RoadParametersDialog::checkAndClose);

    setTabOrder(okButton, lengthEdit);
    setTabOrder(lengthEdit, fareEdit);
    setTabOrder(fareEdit, timeEdit);
}

void RoadParametersDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    NumbersAccepted = false;
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    fareEdit->setFocus();
    fareEdit->selectAll();
}

bool RoadParametersDialog::holdsNumber(QLineEdit* edit) {
    if (lirsk::parseNumber(edit->text()))
        return true;
    lirsk::showMessage(
        this, {QMessageBox::Critical, windowTitle(), tr("Вес введён неверно!"), QMessageBox::Ok});
    return false;
}

void RoadParametersDialog::checkAndClose() {
    // Every field is checked, so each wrong one gets its own message.
    const bool length = holdsNumber(lengthEdit);
    const bool time = holdsNumber(timeEdit);
    const bool fare = holdsNumber(fareEdit);
    NumbersAccepted = length && time && fare;
    accept();
}

std::optional<lirsk::RoadWeight> RoadParametersDialog::Ask(const lirsk::RoadWeight& current) {
    fareEdit->setText(lirsk::formatNumber(current.Price));
    lengthEdit->setText(lirsk::formatNumber(current.Length));
    timeEdit->setText(lirsk::formatNumber(current.Time));
    NumbersAccepted = false;
    runModal();
    if (!NumbersAccepted)
        return std::nullopt;
    lirsk::RoadWeight typed;
    typed.Length = *lirsk::parseNumber(lengthEdit->text());
    typed.Time = *lirsk::parseNumber(timeEdit->text());
    typed.Price = *lirsk::parseNumber(fareEdit->text());
    return typed;
}
