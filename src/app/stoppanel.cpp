// The map window's left panel: the stop search, the stop list and the route table.

#include "app/stoppanel.h"

#include "platform/colours.h"
#include "platform/messages.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QShortcut>
#include <QTableWidget>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

namespace lirsk {

QString searchFolded(QStringView text) {
    QString folded = text.toString().toLower();
    folded.replace(QChar(0x0451), QChar(0x0435)); // ё -> е
    return folded;
}

bool routesHold(QStringView routes, QStringView code) {
    if (code.isEmpty())
        return false;
    for (QStringView token : routes.tokenize(u' ', Qt::SkipEmptyParts))
        if (token == code)
            return true;
    return false;
}

// --- StopListModel ----------------------------------------------------------------------------

StopListModel::StopListModel(const MapDocument* document, QObject* parent)
    : QAbstractListModel(parent), document_(document) {
    reload();
}

int StopListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(shown_.size());
}

QVariant StopListModel::data(const QModelIndex& index, int role) const {
    const StopIndex stop = stopAt(index.row());
    if (stop == NoStop || index.column() != 0)
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return document_->map().stop(stop).Label.Caption;
    return {};
}

StopIndex StopListModel::stopAt(int row) const {
    return row >= 0 && row < int(shown_.size()) ? shown_[size_t(row)] : NoStop;
}

int StopListModel::rowOf(StopIndex stop) const {
    const auto it = std::lower_bound(shown_.begin(), shown_.end(), stop);
    return it == shown_.end() || *it != stop ? -1 : int(it - shown_.begin());
}

bool StopListModel::matches(StopIndex stop) {
    if (foldedFilter_.isEmpty())
        return true;
    // A name changed since it was last folded is folded again.
    Entry& entry = entries_[std::size_t(stop)];
    const QString& caption = document_->map().stop(stop).Label.Caption;
    if (entry.caption != caption) {
        entry.caption = caption;
        entry.folded = searchFolded(caption);
    }
    return entry.folded.contains(foldedFilter_);
}

std::vector<StopIndex> StopListModel::matching() {
    std::vector<StopIndex> rows;
    rows.reserve(entries_.size());
    for (StopIndex stop = 0; stop < StopIndex(entries_.size()); ++stop)
        if (matches(stop))
            rows.push_back(stop);
    return rows;
}

void StopListModel::setFilter(const QString& text) {
    if (text == filter_)
        return;
    filter_ = text;
    foldedFilter_ = searchFolded(text);
    std::vector<StopIndex> rows = matching();
    if (rows == shown_)
        return;
    beginResetModel();
    shown_ = std::move(rows);
    endResetModel();
}

void StopListModel::reload() {
    beginResetModel();
    entries_.clear();
    entries_.reserve(document_->map().stops().size());
    for (const Stop& stop : document_->map().stops())
        entries_.push_back({stop.Label.Caption, searchFolded(stop.Label.Caption)});
    loadedStops_ = document_->stopsRevision();
    shown_ = matching();
    endResetModel();
}

void StopListModel::refresh() {
    if (loadedStops_ != document_->stopsRevision() ||
        entries_.size() != document_->map().stops().size()) {
        reload();
        return;
    }
    std::vector<StopIndex> rows = matching();
    if (rows != shown_) {
        beginResetModel();
        shown_ = std::move(rows);
        endResetModel();
    } else if (!shown_.empty()) {
        emit dataChanged(index(0), index(int(shown_.size()) - 1), {Qt::DisplayRole});
    }
}

} // namespace lirsk

namespace {

const QString kSearchDone = QStringLiteral("Поиск завершен!\r\nСовпадение найдено");
const QString kSearchFailed = QStringLiteral("Поиск завершен!\r\nСовпадение не найдено");
// A described route row keeps the code its stops carry in its number cell.
constexpr int kRouteCodeRole = Qt::UserRole + 1;

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

// The lists' choice as the panel wants it. A row is chosen by the user only, with the mouse or
// the keyboard; a current row that moves because rows come and go chooses nothing. A press on
// the current row chooses it again, and Enter in a list runs the search, as if the search
// button were the window's default button.
class ListEvents : public QObject {
public:
    using Select = std::function<void(int row)>;

    ListEvents(QAbstractItemView* list, std::function<void()> enter, Select select)
        : QObject(list), list_(list), viewport_(list->viewport()), enter_(std::move(enter)),
          select_(std::move(select)) {
        list->installEventFilter(this);
        viewport_->installEventFilter(this);
        connect(list->selectionModel(), &QItemSelectionModel::currentChanged, this,
                [this](const QModelIndex& current) {
                    if (!userInput_ || !current.isValid())
                        return;
                    chosen_ = true;
                    select_(current.row());
                });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (userInput_)
            return false;
        const QEvent::Type type = event->type();
        if (watched == list_ && type == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                enter_();
                return true;
            }
        } else if (isOtherButtonPress(watched, event)) {
            return true;
        } else if (!isLeftPressOrDrag(watched, event)) {
            return false;
        }
        // Deliver the event here, so that the row it makes current is known to be the user's.
        QPointer<QAbstractItemView> list = list_;
        const QModelIndex current = list_->currentIndex();
        QModelIndex pressed;
        if (type == QEvent::MouseButtonPress)
            pressed = list_->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        userInput_ = true;
        chosen_ = false;
        QCoreApplication::sendEvent(watched, event);
        if (!list)
            return true;
        userInput_ = false;
        if (!chosen_ && pressed.isValid() && pressed == current)
            select_(current.row());
        return true;
    }

private:
    // The other buttons leave the current row where it is.
    bool isOtherButtonPress(QObject* watched, QEvent* event) const {
        return watched == viewport_ &&
               (event->type() == QEvent::MouseButtonPress ||
                event->type() == QEvent::MouseButtonDblClick) &&
               static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton;
    }

    // Rows are chosen with the left button, by a press or by dragging over them.
    bool isLeftPressOrDrag(QObject* watched, QEvent* event) const {
        if (watched != viewport_)
            return false;
        if (event->type() == QEvent::MouseButtonPress)
            return static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
        if (event->type() == QEvent::MouseMove)
            return static_cast<QMouseEvent*>(event)->buttons() & Qt::LeftButton;
        return false;
    }

    QAbstractItemView* list_;
    // Compared by address only: events still arrive while the list is being destroyed.
    QWidget* viewport_;
    std::function<void()> enter_;
    Select select_;
    bool userInput_ = false;
    bool chosen_ = false;
};

} // namespace

// --- StopPanel --------------------------------------------------------------------------------

StopPanel::StopPanel(lirsk::MapDocument* document, QWidget* owner, QWidget* parent)
    : QWidget(parent), document_(document), owner_(owner) {
    setMinimumWidth(1);
    resize(175, 400);
    auto* tablesLayout = new QVBoxLayout(this);
    tablesLayout->setContentsMargins(0, 0, 0, 0);
    tablesLayout->setSpacing(0);
    searchPanel_ = new QFrame(this);
    searchPanel_->setFrameShape(QFrame::StyledPanel);
    tablesLayout->addWidget(searchPanel_, 1);
    tablesLayout->addStretch(0);

    auto* searchLayout = new QVBoxLayout(searchPanel_);
    searchLayout->setContentsMargins(2, 2, 2, 2);
    searchLayout->setSpacing(0);
    auto* searchBar = new QWidget(searchPanel_);
    auto* barLayout = new QHBoxLayout(searchBar);
    barLayout->setContentsMargins(6, 6, 6, 6);
    barLayout->setSpacing(6);
    searchBox_ = new QLineEdit(searchBar);
    searchBox_->setPlaceholderText(QStringLiteral("Остановка"));
    searchBox_->setClearButtonEnabled(true);
    searchButton_ = new QToolButton(searchBar);
    searchButton_->setIcon(searchIcon());
    searchButton_->setToolTip(QStringLiteral("Найти остановку (Enter; следующая — F3)"));
    barLayout->addWidget(searchBox_, 1);
    barLayout->addWidget(searchButton_);
    searchLayout->addWidget(searchBar);

    auto* listsPanel = new QWidget(searchPanel_);
    auto* listsLayout = new QVBoxLayout(listsPanel);
    listsLayout->setContentsMargins(0, 0, 0, 0);
    listsLayout->setSpacing(0);
    model_ = new lirsk::StopListModel(document_, this);
    stopList_ = new QListView(listsPanel);
    stopList_->setModel(model_);
    stopList_->setUniformItemSizes(true);
    stopList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    stopList_->setSelectionMode(QAbstractItemView::SingleSelection);
    stopList_->setContextMenuPolicy(Qt::CustomContextMenu);
    listsLayout->addWidget(stopList_, 1);

    routesBox_ = new QGroupBox(QStringLiteral("Маршруты"), listsPanel);
    routesBox_->setFixedHeight(162);
    auto* routesLayout = new QVBoxLayout(routesBox_);
    routesLayout->setContentsMargins(2, 2, 2, 2);
    // The route table keeps its fixed header row as row 0.
    routeTable_ = new QTableWidget(2, 2, routesBox_);
    routeTable_->horizontalHeader()->hide();
    routeTable_->verticalHeader()->hide();
    routeTable_->verticalHeader()->setDefaultSectionSize(16);
    routeTable_->verticalHeader()->setMinimumSectionSize(16);
    routeTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    routeTable_->setWordWrap(false);
    routeTable_->setTabKeyNavigation(true);
    routeTable_->setSelectionMode(QAbstractItemView::SingleSelection);
    // The number takes what it needs, the name the rest of the panel's width.
    routeTable_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    routeTable_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    routeTable_->setTextElideMode(Qt::ElideRight);
    for (int c = 0; c < 2; ++c) {
        auto* cell = new QTableWidgetItem(c == 1 ? QStringLiteral("Маршрут") : QString());
        cell->setFlags(Qt::ItemIsEnabled);
        cell->setBackground(lirsk::systemColour(30));
        routeTable_->setItem(0, c, cell);
    }
    routesLayout->addWidget(routeTable_);
    listsLayout->addWidget(routesBox_);
    searchLayout->addWidget(listsPanel, 1);

    stopMenu_ = new QMenu(this);
    startAction_ = stopMenu_->addAction(QStringLiteral("Маршрут отсюда"));
    finishAction_ = stopMenu_->addAction(QStringLiteral("Маршрут сюда"));
    setWayChoiceEnabled(false);
    connect(startAction_, &QAction::triggered, this, [this] {
        if (menuStop_ != lirsk::NoStop)
            emit startChosen(menuStop_);
    });
    connect(finishAction_, &QAction::triggered, this, [this] {
        if (menuStop_ != lirsk::NoStop)
            emit finishChosen(menuStop_);
    });
    connect(stopList_, &QWidget::customContextMenuRequested, this, &StopPanel::showStopMenu);
    connect(stopList_, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (const lirsk::StopIndex stop = stopAt(index.row()); stop != lirsk::NoStop)
            emit stopDoubleClicked(stop);
    });

    connect(searchBox_, &QLineEdit::textChanged, this, &StopPanel::filterTyped);
    connect(searchBox_, &QLineEdit::returnPressed, this, &StopPanel::searchStop);
    connect(searchButton_, &QToolButton::clicked, this, &StopPanel::searchStop);
    auto* next = new QShortcut(QKeySequence(Qt::Key_F3), searchPanel_);
    next->setContext(Qt::WidgetWithChildrenShortcut);
    connect(next, &QShortcut::activated, this, &StopPanel::findNext);

    new ListEvents(
        stopList_, [this] { searchStop(); }, [this](int row) { stopRowChosen(row); });
    new ListEvents(
        routeTable_, [this] { searchStop(); }, [this](int row) { routeRowChosen(row); });

    // A stop renamed, added or taken out shows (or goes) at once, and is found by its name.
    connect(document_, &lirsk::MapDocument::changed, model_, [this](lirsk::MapChanges what) {
        if (what & (lirsk::MapChange::Name | lirsk::MapChange::Stops))
            model_->refresh();
    });
}

void StopPanel::showSearchPanel(bool show) {
    if (!show) {
        setVisible(!routesBox_->isHidden());
    } else if (!isHidden()) {
        // The search panel takes the top half of the left panel.
        searchPanel_->setFixedHeight(height() / 2);
    } else {
        searchPanel_->setMinimumHeight(0);
        searchPanel_->setMaximumHeight(QWIDGETSIZE_MAX);
        QWidget::show();
    }
    searchPanel_->setVisible(show);
}

void StopPanel::showRoutesPanel(bool show) {
    if (show) {
        if (!isHidden())
            searchPanel_->setFixedHeight(height() / 2);
        else
            QWidget::show();
    } else {
        setVisible(!searchPanel_->isHidden());
        searchPanel_->setMinimumHeight(0);
        searchPanel_->setMaximumHeight(QWIDGETSIZE_MAX);
    }
    routesBox_->setVisible(show);
}

void StopPanel::setWayChoiceEnabled(bool enabled) {
    wayChoiceEnabled_ = enabled;
    startAction_->setEnabled(enabled);
    finishAction_->setEnabled(enabled);
}

void StopPanel::reloadStops() {
    model_->reload();
}

void StopPanel::setRoutes(const std::optional<lirsk::RouteTable>& routes) {
    if (!routes)
        return;
    routeTable_->setRowCount(routes->rowCount);
    for (int i = 0; i < routes->rows.size(); ++i) {
        const lirsk::RouteRow& route = routes->rows[i];
        auto* number = new QTableWidgetItem(route.number);
        auto* name = new QTableWidgetItem(route.name);
        // A name too long for the panel is read whole in its tooltip.
        number->setToolTip(route.name);
        name->setToolTip(route.name);
        routeTable_->setItem(i + 1, 0, number);
        routeTable_->setItem(i + 1, 1, name);
    }
}

void StopPanel::setRoutes(const QList<lirsk::DescribedRoute>& routes) {
    routeTable_->setRowCount(int(routes.size()) + 1);
    for (int i = 0; i < routes.size(); ++i) {
        const lirsk::DescribedRoute& route = routes[i];
        auto* number = new QTableWidgetItem(route.number);
        auto* name = new QTableWidgetItem(route.name);
        number->setData(kRouteCodeRole, route.code);
        if (route.color)
            number->setData(Qt::DecorationRole, lirsk::toQColor(*route.color));
        number->setToolTip(route.name);
        name->setToolTip(route.name);
        routeTable_->setItem(i + 1, 0, number);
        routeTable_->setItem(i + 1, 1, name);
    }
}

lirsk::StopIndex StopPanel::stopAt(int row) const {
    return model_->stopAt(row);
}

void StopPanel::filterTyped(const QString& text) {
    model_->setFilter(text);
    const bool noMatch = !text.isEmpty() && model_->rowCount() == 0;
    if (noMatch) {
        emit statusText(QStringLiteral("Остановка «%1» не найдена").arg(text));
        // One beep when what is typed stops matching, not one for every key after that.
        if (!noMatch_)
            lirsk::beep(lirsk::Beep::Hand);
    } else if (noMatch_) {
        emit statusText(QString());
    }
    noMatch_ = noMatch;
}

void StopPanel::searchStop() {
    const QString title = owner_ ? owner_->windowTitle() : QString();
    if (searchBox_->text().isEmpty() || model_->rowCount() == 0) {
        lirsk::beep(lirsk::Beep::Hand);
        lirsk::showMessage(owner_,
                           {QMessageBox::Information, title, kSearchFailed, QMessageBox::Ok});
        return;
    }
    lirsk::beep(lirsk::Beep::Asterisk);
    lirsk::showMessage(owner_, {QMessageBox::Information, title, kSearchDone, QMessageBox::Ok});
    chooseRow(0);
}

void StopPanel::findNext() {
    const int rows = model_->rowCount();
    if (searchBox_->text().isEmpty() || rows == 0) {
        lirsk::beep(lirsk::Beep::Hand);
        return;
    }
    const QModelIndex current = stopList_->currentIndex();
    chooseRow(current.isValid() ? (current.row() + 1) % rows : 0);
}

void StopPanel::chooseRow(int row) {
    const QModelIndex index = model_->index(row, 0);
    if (index != stopList_->currentIndex())
        stopList_->setCurrentIndex(index);
    stopList_->scrollTo(index);
    stopRowChosen(row);
}

void StopPanel::stopRowChosen(int row) {
    const lirsk::StopIndex stop = stopAt(row);
    if (stop == lirsk::NoStop)
        return;
    QToolTip::hideText();
    // The list keeps the name as its hint; the status line shows it while the pointer is over
    // the list.
    stopList_->setStatusTip(QStringLiteral("Остановка ") +
                            document_->map().stop(stop).Label.Caption);
    emit stopChosen(stop);
}

std::vector<lirsk::StopIndex> StopPanel::routeStops(int row) const {
    std::vector<lirsk::StopIndex> stops;
    const QTableWidgetItem* cell = routeTable_->item(row, 0);
    if (row < 1 || !cell || cell->text().isEmpty())
        return stops;
    // The whole code: route 1 is not 10, 11 and so on, nor route 2 the 21.
    const QString described = cell->data(kRouteCodeRole).toString();
    const QString code = described.isEmpty() ? document_->map().MapCode + cell->text() : described;
    const lirsk::GraphMap& map = document_->map();
    for (lirsk::StopIndex stop = 0; stop < map.stopCount(); ++stop)
        if (lirsk::routesHold(map.stop(stop).Routes, code))
            stops.push_back(stop);
    return stops;
}

void StopPanel::routeRowChosen(int row) {
    // The header row is fixed: it cannot be chosen.
    if (row < 1)
        return;
    emit routeStopsChosen(routeStops(row));
}

void StopPanel::showStopMenu(const QPoint& pos) {
    menuStop_ = stopAt(stopList_->indexAt(pos).row());
    if (menuStop_ == lirsk::NoStop)
        return;
    stopMenu_->popup(stopList_->viewport()->mapToGlobal(pos));
}
