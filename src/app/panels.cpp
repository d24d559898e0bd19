// The map window's left panel: the stop search, the stop list and the route table.

#include "app/mapwindow.h"

#include "platform/messages.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

#include <functional>

namespace {

const QString kSearchDone = QStringLiteral("Поиск завершен!\r\nСовпадение найдено");
const QString kSearchFailed = QStringLiteral("Поиск завершен!\r\nСовпадение не найдено");

QString cellText(const QTableWidget* grid, int row, int column) {
    const QTableWidgetItem* cell = grid->item(row, column);
    return cell ? cell->text() : QString();
}

// A piece of text found in another the way the search and the route table look: an empty piece
// is found nowhere.
bool occursIn(const QString& piece, const QString& text, Qt::CaseSensitivity cs) {
    return !piece.isEmpty() && text.contains(piece, cs);
}

// A magnifying glass for the search button.
QIcon searchIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 40, 40), 2));
    p.setBrush(QColor(200, 225, 250));
    p.drawEllipse(QRectF(2, 2, 8.5, 8.5));
    p.setPen(QPen(QColor(120, 70, 20), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10.5, 10.5), QPointF(14, 14));
    return QIcon(pixmap);
}

// The grids' cell selection as the panel wants it. A cell is chosen by the user only, with the
// mouse or the keyboard; a current cell that moves because rows come and go chooses nothing. A
// press on the current cell chooses it again, and Enter in a grid runs the search, as if the
// search button were the window's default button.
class GridEvents : public QObject {
public:
    using Select = std::function<void(int column, int row)>;

    GridEvents(MapWindow* owner, QTableWidget* grid, Select select)
        : QObject(grid), owner_(owner), grid_(grid), viewport_(grid->viewport()),
          select_(std::move(select)) {
        grid->installEventFilter(this);
        viewport_->installEventFilter(this);
        connect(grid, &QTableWidget::currentCellChanged, this, [this](int row, int column) {
            if (!userInput_)
                return;
            chosen_ = true;
            select_(column, row);
        });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (userInput_)
            return false;
        const QEvent::Type type = event->type();
        if (watched == grid_ && type == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                owner_->SearchButtonClicked();
                return true;
            }
        } else if (isOtherButtonPress(watched, event)) {
            return true;
        } else if (!isLeftPressOrDrag(watched, event)) {
            return false;
        }
        // Deliver the event here, so that the cell it makes current is known to be the user's.
        QPointer<QTableWidget> grid = grid_;
        const int row = grid_->currentRow(), column = grid_->currentColumn();
        QModelIndex pressed;
        if (type == QEvent::MouseButtonPress)
            pressed = grid_->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        userInput_ = true;
        chosen_ = false;
        QCoreApplication::sendEvent(watched, event);
        if (!grid)
            return true;
        userInput_ = false;
        if (!chosen_ && pressed.isValid() && pressed.row() == row && pressed.column() == column)
            select_(column, row);
        return true;
    }

private:
    // The other buttons leave the current cell where it is.
    bool isOtherButtonPress(QObject* watched, QEvent* event) const {
        return watched == viewport_ &&
               (event->type() == QEvent::MouseButtonPress ||
                event->type() == QEvent::MouseButtonDblClick) &&
               static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton;
    }

    // Cells are chosen with the left button, by a press or by dragging over them.
    bool isLeftPressOrDrag(QObject* watched, QEvent* event) const {
        if (watched != viewport_)
            return false;
        if (event->type() == QEvent::MouseButtonPress)
            return static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
        if (event->type() == QEvent::MouseMove)
            return static_cast<QMouseEvent*>(event)->buttons() & Qt::LeftButton;
        return false;
    }

    MapWindow* owner_;
    QTableWidget* grid_;
    // Compared by address only: events still arrive while the grid is being destroyed.
    QWidget* viewport_;
    Select select_;
    bool userInput_ = false;
    bool chosen_ = false;
};

} // namespace

void MapWindow::AttachPanels() {
    // The search panel and the route box are shown inside the left panel, which starts hidden.
    searchPanel->show();
    routesBox->show();

    searchButton->setIcon(searchIcon());
    searchButton->setText(QString());
    searchButton->setToolTip(QStringLiteral("Найти остановку"));
    connect(searchButton, &QToolButton::clicked, this, &MapWindow::SearchButtonClicked);
    connect(searchBox, &QLineEdit::returnPressed, this, &MapWindow::SearchButtonClicked);

    new GridEvents(this, stopList,
                   [this](int column, int row) { StopListCellChosen(column, row); });
    new GridEvents(this, routeTable,
                   [this](int column, int row) { RouteTableCellChosen(column, row); });
}

void MapWindow::ShowSearchPanel(bool show) {
    if (!show) {
        sidePanel->setVisible(!routesBox->isHidden());
    } else if (!sidePanel->isHidden()) {
        // The search panel takes the top half of the left panel.
        searchPanel->setFixedHeight(sidePanel->height() / 2);
    } else {
        searchPanel->setMinimumHeight(0);
        searchPanel->setMaximumHeight(QWIDGETSIZE_MAX);
        sidePanel->show();
    }
    searchPanel->setVisible(show);
}

void MapWindow::ShowRoutesPanel(bool show) {
    if (show) {
        if (!sidePanel->isHidden())
            searchPanel->setFixedHeight(sidePanel->height() / 2);
        else
            sidePanel->show();
    } else {
        sidePanel->setVisible(!searchPanel->isHidden());
        searchPanel->setMinimumHeight(0);
        searchPanel->setMaximumHeight(QWIDGETSIZE_MAX);
    }
    routesBox->setVisible(show);
}

void MapWindow::SearchButtonClicked() {
    SearchStop();
}

void MapWindow::SearchStop() {
    // The box holds lower case only, so names are compared without regard to letter case.
    const QString text = searchBox->text();
    int found = -1;
    for (int row = 1; row < stopList->rowCount() && found < 0; ++row)
        if (occursIn(text, cellText(stopList, row, 0), Qt::CaseInsensitive))
            found = row;

    if (found < 0) {
        lirsk::beep(lirsk::Beep::Hand);
        lirsk::showMessage(
            this, {QMessageBox::Information, windowTitle(), kSearchFailed, QMessageBox::Ok});
        return;
    }
    lirsk::beep(lirsk::Beep::Asterisk);
    lirsk::showMessage(this,
                       {QMessageBox::Information, windowTitle(), kSearchDone, QMessageBox::Ok});
    ShowStopRow(found);
    searchBox->setText(cellText(stopList, found, 0).toLower());
}

void MapWindow::ShowStopRow(int row) {
    if (row != stopList->currentRow() || stopList->currentColumn() != 0) {
        stopList->setCurrentCell(row, 0);
        QToolTip::hideText();
        // The list keeps the name as its hint; the status line shows it while the pointer is
        // over the list.
        stopList->setStatusTip(QStringLiteral("Остановка ") + cellText(stopList, row, 0));
    }
    editor_->ClearSelection(-1, true);
    if (lirsk::StopRef stop = StopOfRow(row))
        editor_->ToggleSelected(stop);
}

lirsk::StopRef MapWindow::StopOfRow(int row) const {
    const QStringList& ids = Map().StopIds;
    if (row < 1 || row > ids.size())
        return nullptr;
    bool ok = false;
    const int id = ids[row - 1].toInt(&ok);
    return ok ? Map().FindStopById(id) : nullptr;
}

void MapWindow::StopListCellChosen(int, int row) {
    // The header row is fixed: it cannot be chosen.
    if (row < 1)
        return;
    editor_->ClearSelection(-1, true);
    if (lirsk::StopRef stop = StopOfRow(row))
        editor_->ToggleSelected(stop);
}

void MapWindow::RouteTableCellChosen(int, int row) {
    if (row < 1)
        return;
    QString key = Map().MapCode + cellText(routeTable, row, 0);
    // A space after the number keeps route 1 from matching 10, 11 and so on.
    if (row == 1 || (row == 2 && Map().MapCode == QLatin1String("A")))
        key += QLatin1Char(' ');
    ShowRouteStops(key);
}

void MapWindow::ShowRouteStops(const QString& key) {
    editor_->ClearSelection(-1, true);
    for (const auto& stop : Map().stops())
        if (occursIn(key, stop->Routes, Qt::CaseSensitive))
            editor_->ToggleSelected(stop.get());
}
