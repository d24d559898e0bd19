#include "app/gtfsimportdialog.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

QString routeTypeTitle(int basicType) {
    switch (basicType) {
    case 0:
        return QCoreApplication::translate("RouteTypeDialog", "Трамвай");
    case 1:
        return QCoreApplication::translate("RouteTypeDialog", "Метро");
    case 2:
        return QCoreApplication::translate("RouteTypeDialog", "Железная дорога");
    case 3:
        return QCoreApplication::translate("RouteTypeDialog", "Автобус");
    case 4:
        return QCoreApplication::translate("RouteTypeDialog", "Паром");
    case 5:
        return QCoreApplication::translate("RouteTypeDialog", "Канатный трамвай");
    case 6:
        return QCoreApplication::translate("RouteTypeDialog", "Канатная дорога");
    case 7:
        return QCoreApplication::translate("RouteTypeDialog", "Фуникулёр");
    case 11:
        return QCoreApplication::translate("RouteTypeDialog", "Троллейбус");
    case 12:
        return QCoreApplication::translate("RouteTypeDialog", "Монорельс");
    default:
        return QCoreApplication::translate("RouteTypeDialog", "Тип %1").arg(basicType);
    }
}

RouteTypeDialog::RouteTypeDialog(const lirsk::GtfsFeedSummary& summary, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(tr("Импорт GTFS"));
    auto* layout = new QVBoxLayout(this);
    const QString agency = summary.agencyName.isEmpty() ? QString() : summary.agencyName + u'\n';
    layout->addWidget(new QLabel(agency + tr("Какие маршруты взять в карту:"), this));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    for (auto it = summary.routeTypes.cbegin(); it != summary.routeTypes.cend(); ++it) {
        auto* box = new QCheckBox(
            tr("%1 — маршрутов: %2").arg(routeTypeTitle(it.key())).arg(it.value()), this);
        box->setChecked(true);
        // Nothing chosen: nothing to import.
        connect(box, &QCheckBox::toggled, this,
                [this] { ok_->setEnabled(!chosenTypes().isEmpty()); });
        boxes_.insert(it.key(), box);
        layout->addWidget(box);
    }
    ok_->setEnabled(!boxes_.isEmpty());
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

QSet<int> RouteTypeDialog::chosenTypes() const {
    QSet<int> types;
    for (auto it = boxes_.cbegin(); it != boxes_.cend(); ++it)
        if (it.value()->isChecked())
            types.insert(it.key());
    return types;
}
