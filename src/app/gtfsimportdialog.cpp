#include "app/gtfsimportdialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

QString routeTypeTitle(int basicType) {
    switch (basicType) {
    case 0:
        return QStringLiteral("Трамвай");
    case 1:
        return QStringLiteral("Метро");
    case 2:
        return QStringLiteral("Железная дорога");
    case 3:
        return QStringLiteral("Автобус");
    case 4:
        return QStringLiteral("Паром");
    case 5:
        return QStringLiteral("Канатный трамвай");
    case 6:
        return QStringLiteral("Канатная дорога");
    case 7:
        return QStringLiteral("Фуникулёр");
    case 11:
        return QStringLiteral("Троллейбус");
    case 12:
        return QStringLiteral("Монорельс");
    default:
        return QStringLiteral("Тип %1").arg(basicType);
    }
}

RouteTypeDialog::RouteTypeDialog(const lirsk::GtfsFeedSummary& summary, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Импорт GTFS"));
    auto* layout = new QVBoxLayout(this);
    const QString agency = summary.agencyName.isEmpty() ? QString() : summary.agencyName + u'\n';
    layout->addWidget(new QLabel(agency + QStringLiteral("Какие маршруты взять в карту:"), this));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    for (auto it = summary.routeTypes.cbegin(); it != summary.routeTypes.cend(); ++it) {
        auto* box = new QCheckBox(
            QStringLiteral("%1 — маршрутов: %2").arg(routeTypeTitle(it.key())).arg(it.value()),
            this);
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
