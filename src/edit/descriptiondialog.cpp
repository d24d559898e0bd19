#include "edit/descriptiondialog.h"

#include "platform/messages.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace lirsk {

namespace {

enum Column { CodeColumn, NumberColumn, NameColumn, ColourColumn, ColumnCount };

QDoubleSpinBox* fareSpin(QWidget* parent) {
    auto* spin = new QDoubleSpinBox(parent);
    spin->setRange(0, kMaxFare - 1);
    spin->setDecimals(2);
    return spin;
}

} // namespace

MapDescriptionDialog::MapDescriptionDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Описание карты"));
    setObjectName(QStringLiteral("mapDescriptionDialog"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    titleEdit = new QLineEdit(this);
    form->addRow(tr("Название:"), titleEdit);
    codeEdit = new QLineEdit(this);
    codeEdit->setMaxLength(1);
    codeEdit->setToolTip(tr("Буква, с которой начинаются коды маршрутов в списках остановок"));
    form->addRow(tr("Буква карты:"), codeEdit);
    baseFareSpin = fareSpin(this);
    form->addRow(tr("Стоимость проезда:"), baseFareSpin);
    transferFareSpin = fareSpin(this);
    form->addRow(tr("Доплата за пересадку:"), transferFareSpin);
    fareUnitEdit = new QLineEdit(this);
    form->addRow(tr("Денежная единица:"), fareUnitEdit);
    gridStepSpin = new QSpinBox(this);
    gridStepSpin->setRange(kMinGridStep, kMaxGridStep);
    gridStepSpin->setSuffix(tr(" пикс."));
    form->addRow(tr("Шаг сетки:"), gridStepSpin);

    auto* pictureRow = new QHBoxLayout;
    pictureEdit = new QLineEdit(this);
    auto* browse = new QToolButton(this);
    browse->setText(QStringLiteral("…"));
    pictureRow->addWidget(pictureEdit);
    pictureRow->addWidget(browse);
    form->addRow(tr("Фоновый рисунок:"), pictureRow);
    connect(browse, &QToolButton::clicked, this, [this] {
        const QString file =
            QFileDialog::getOpenFileName(this, tr("Фоновый рисунок"), pictureEdit->text(),
                                         tr("Рисунки (*.jpg *.jpeg *.png *.bmp);;Все файлы (*)"));
        if (!file.isEmpty())
            pictureEdit->setText(file);
    });

    routeTable = new QTableWidget(0, ColumnCount, this);
    routeTable->setHorizontalHeaderLabels({tr("Код"), tr("Номер"), tr("Название"), tr("Цвет")});
    routeTable->horizontalHeader()->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
    routeTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    routeTable->setSelectionMode(QAbstractItemView::SingleSelection);
    layout->addWidget(routeTable, 1);
    auto* rowButtons = new QHBoxLayout;
    layout->addLayout(rowButtons);
    const auto button = [&](const QString& text, auto act) {
        auto* b = new QPushButton(text, this);
        b->setAutoDefault(false);
        rowButtons->addWidget(b);
        connect(b, &QPushButton::clicked, this, act);
    };
    button(tr("Добавить"), [this] { addRoute(); });
    button(tr("Удалить"), [this] { removeRoute(); });
    button(tr("Выше"), [this] { moveRoute(-1); });
    button(tr("Ниже"), [this] { moveRoute(1); });
    rowButtons->addStretch();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Отмена"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &MapDescriptionDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(560, 520);
}

void MapDescriptionDialog::setRow(int row, const DescribedRoute& route) {
    const QString colour = route.color ? colourText(*route.color) : QString();
    const QString texts[ColumnCount] = {route.code, route.number, route.name, colour};
    for (int column = 0; column < ColumnCount; ++column)
        routeTable->setItem(row, column, new QTableWidgetItem(texts[column]));
    if (route.color) {
        const uint c = *route.color;
        routeTable->item(row, ColourColumn)
            ->setBackground(QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
    }
}

void MapDescriptionDialog::setDescription(const MapDescription& description) {
    m_given = description;
    titleEdit->setText(description.title);
    codeEdit->setText(description.mapCode);
    baseFareSpin->setValue(description.baseFare);
    transferFareSpin->setValue(description.transferFare);
    fareUnitEdit->setText(description.fareUnit);
    gridStepSpin->setValue(description.gridStep);
    pictureEdit->setText(description.picture);
    routeTable->setRowCount(int(description.routes.size()));
    for (int row = 0; row < description.routes.size(); ++row) {
        setRow(row, description.routes[row]);
        // The row remembers its route, for the fields this program does not know.
        routeTable->item(row, CodeColumn)->setData(Qt::UserRole, row + 1);
    }
}

MapDescription MapDescriptionDialog::description() const {
    MapDescription d = m_given;
    d.title = titleEdit->text().trimmed();
    d.mapCode = codeEdit->text().trimmed();
    d.baseFare = baseFareSpin->value();
    d.transferFare = transferFareSpin->value();
    // A map that gives no fare keeps giving none until one is typed.
    d.fareGiven = m_given.fareGiven || d.baseFare != 0 || d.transferFare != 0;
    d.fareUnit = fareUnitEdit->text().trimmed();
    d.gridStep = gridStepSpin->value();
    d.picture = pictureEdit->text().trimmed();
    // Each row keeps what this program does not know of the route it was made from.
    QList<DescribedRoute> routes;
    for (int row = 0; row < routeTable->rowCount(); ++row) {
        const auto text = [&](int column) {
            const QTableWidgetItem* item = routeTable->item(row, column);
            return item ? item->text().trimmed() : QString();
        };
        DescribedRoute route;
        const int given = routeTable->item(row, CodeColumn)
                              ? routeTable->item(row, CodeColumn)->data(Qt::UserRole).toInt() - 1
                              : -1;
        if (given >= 0 && given < m_given.routes.size())
            route = m_given.routes[given];
        route.code = text(CodeColumn);
        route.number = text(NumberColumn);
        route.name = text(NameColumn);
        route.color = text(ColourColumn).isEmpty() ? std::nullopt : colourFrom(text(ColourColumn));
        routes.append(route);
    }
    d.routes = routes;
    return d;
}

void MapDescriptionDialog::addRoute() {
    const int row = routeTable->rowCount();
    routeTable->insertRow(row);
    setRow(row, {});
    routeTable->setCurrentCell(row, CodeColumn);
}

void MapDescriptionDialog::removeRoute() {
    if (const int row = routeTable->currentRow(); row >= 0)
        routeTable->removeRow(row);
}

void MapDescriptionDialog::moveRoute(int by) {
    const int row = routeTable->currentRow();
    const int to = row + by;
    if (row < 0 || to < 0 || to >= routeTable->rowCount())
        return;
    for (int column = 0; column < ColumnCount; ++column) {
        QTableWidgetItem* here = routeTable->takeItem(row, column);
        QTableWidgetItem* there = routeTable->takeItem(to, column);
        routeTable->setItem(row, column, there);
        routeTable->setItem(to, column, here);
    }
    routeTable->setCurrentCell(to, routeTable->currentColumn());
}

void MapDescriptionDialog::accept() {
    for (int row = 0; row < routeTable->rowCount(); ++row) {
        const QTableWidgetItem* item = routeTable->item(row, ColourColumn);
        const QString colour = item ? item->text().trimmed() : QString();
        if (!colour.isEmpty() && !colourFrom(colour)) {
            showMessage(
                this,
                {QMessageBox::Warning, windowTitle(),
                 tr("Маршрут в строке %1: цвет «%2» не вида #RRGGBB.").arg(row + 1).arg(colour),
                 QMessageBox::Ok});
            routeTable->setCurrentCell(row, ColourColumn);
            return;
        }
    }
    QDialog::accept();
}

} // namespace lirsk
