#include "edit/roadparametersdialog.h"

#include "edit/modal.h"
#include "model/numberformat.h"
#include "platform/fonts.h"
#include "platform/messages.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

namespace {

lirsk::SingleWindow<RoadParametersDialog>& instance() {
    static lirsk::SingleWindow<RoadParametersDialog> window;
    return window;
}

} // namespace

RoadParametersDialog::RoadParametersDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("roadParametersDialog"));
    setWindowTitle(QStringLiteral("Параметры дороги"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(243, 111);
    QFont font(lirsk::mapFontFace(QStringLiteral("MS Sans Serif")));
    font.setPointSize(8);
    setFont(font);

    auto row = [this](int top, const QString& caption, const QString& unit, const char* name) {
        auto* label = new QLabel(caption, this);
        label->setGeometry(8, top + 3, 110, 16);
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(name));
        edit->setGeometry(120, top, 81, 21);
        auto* units = new QLabel(unit, this);
        units->setGeometry(206, top + 3, 32, 16);
        return edit;
    };
    PriceEdit = row(8, QStringLiteral("Стоимость проезда:"), QStringLiteral("руб."), "PriceEdit");
    PriceEdit->setToolTip(QStringLiteral("Стоимость пути"));
    LengthEdit = row(32, QStringLiteral("Длина пути:"), QStringLiteral("м."), "LengthEdit");
    LengthEdit->setToolTip(QStringLiteral("Длина пути"));
    TimeEdit = row(56, QStringLiteral("Время в пути:"), QStringLiteral("сек."), "TimeEdit");

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(84, 82, 75, 25);
    Button1->setDefault(true);
    Button1->setAutoDefault(true);
    // Enter in any field presses the default button.
    connect(Button1, &QPushButton::clicked, this, &RoadParametersDialog::Button1Click);

    setTabOrder(Button1, LengthEdit);
    setTabOrder(LengthEdit, PriceEdit);
    setTabOrder(PriceEdit, TimeEdit);
}

void RoadParametersDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void RoadParametersDialog::FormShow() {
    Accepted = false;
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    PriceEdit->setFocus();
    PriceEdit->selectAll();
}

bool RoadParametersDialog::FindError(QLineEdit* edit) {
    if (lirsk::parseNumber(edit->text()))
        return true;
    lirsk::showMessage(this, {QMessageBox::Critical, windowTitle(),
                              QStringLiteral("Вес введён неверно!"), QMessageBox::Ok});
    return false;
}

void RoadParametersDialog::Button1Click() {
    // Every field is checked, so each wrong one gets its own message.
    const bool length = FindError(LengthEdit);
    const bool time = FindError(TimeEdit);
    const bool price = FindError(PriceEdit);
    Accepted = length && time && price;
    accept();
}

std::optional<lirsk::RoadWeight> RoadParametersDialog::Ask(const lirsk::RoadWeight& current) {
    PriceEdit->setText(lirsk::formatNumber(current.Price));
    LengthEdit->setText(lirsk::formatNumber(current.Length));
    TimeEdit->setText(lirsk::formatNumber(current.Time));
    Accepted = false;
    lirsk::runDialog(*this);
    if (!Accepted)
        return std::nullopt;
    lirsk::RoadWeight typed;
    typed.Length = *lirsk::parseNumber(LengthEdit->text());
    typed.Time = *lirsk::parseNumber(TimeEdit->text());
    typed.Price = *lirsk::parseNumber(PriceEdit->text());
    return typed;
}

RoadParametersDialog* roadParametersDialog() {
    return instance().get();
}

RoadParametersDialog* createRoadParametersDialog(QWidget* owner) {
    return instance().create(owner);
}
