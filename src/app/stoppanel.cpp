// The map window's left panel: the stop search, the stop list and the route table.

#include "app/stoppanel.h"

#include "platform/colours.h"
#include "platform/messages.h"
#include "platform/translatedtext.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QEvent>
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
    : QAbstractListModel(parent), m_document(document) {
    reload();
}

int StopListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_shown.size());
}

QVariant StopListModel::data(const QModelIndex& index, int role) const {
    const StopIndex stop = stopAt(index.row());
    if (stop == NoStop || index.column() != 0)
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return m_document->map().stop(stop).Label.Caption;
    return {};
}

StopIndex StopListModel::stopAt(int row) const {
    return row >= 0 && row < int(m_shown.size()) ? m_shown[size_t(row)] : NoStop;
}

int StopListModel::rowOf(StopIndex stop) const {
    const auto it = std::lower_bound(m_shown.begin(), m_shown.end(), stop);
    return it == m_shown.end() || *it != stop ? -1 : int(it - m_shown.begin());
}

bool StopListModel::matches(StopIndex stop) {
    if (m_foldedFilter.isEmpty())
        return true;
    // A name changed since it was last folded is folded again.
    Entry& entry = m_entries[std::size_t(stop)];
    const Stop& shown = m_document->map().stop(stop);
    if (entry.caption != shown.Label.Caption) {
        entry.caption = shown.Label.Caption;
        entry.folded = searchFolded(m_fileNames.searchedName(shown));
    }
    return entry.folded.contains(m_foldedFilter);
}

std::vector<StopIndex> StopListModel::matching() {
    std::vector<StopIndex> rows;
    rows.reserve(m_entries.size());
    for (StopIndex stop = 0; stop < StopIndex(m_entries.size()); ++stop)
        if (matches(stop))
            rows.push_back(stop);
    return rows;
}

void StopListModel::setFilter(const QString& text) {
    if (text == m_filter)
        return;
    m_filter = text;
    m_foldedFilter = searchFolded(text);
    std::vector<StopIndex> rows = matching();
    if (rows == m_shown)
        return;
    beginResetModel();
    m_shown = std::move(rows);
    endResetModel();
}

void StopListModel::reload() {
    beginResetModel();
    m_entries.clear();
    m_entries.reserve(m_document->map().stops().size());
    const std::optional<MapDescription>& description = m_document->description();
    m_fileNames = FileNames(description ? &*description : nullptr);
    for (const Stop& stop : m_document->map().stops())
        m_entries.push_back({stop.Label.Caption, searchFolded(m_fileNames.searchedName(stop))});
    m_loadedStops = m_document->stopsRevision();
    m_shown = matching();
    endResetModel();
}

void StopListModel::refresh() {
    if (m_loadedStops != m_document->stopsRevision() ||
        m_entries.size() != m_document->map().stops().size()) {
        reload();
        return;
    }
    std::vector<StopIndex> rows = matching();
    if (rows != m_shown) {
        beginResetModel();
        m_shown = std::move(rows);
        endResetModel();
    } else if (!m_shown.empty()) {
        emit dataChanged(index(0), index(int(m_shown.size()) - 1), {Qt::DisplayRole});
    }
}

} // namespace lirsk

namespace {

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
        : QObject(list), m_list(list), m_viewport(list->viewport()), m_enter(std::move(enter)),
          m_select(std::move(select)) {
        list->installEventFilter(this);
        m_viewport->installEventFilter(this);
        connect(list->selectionModel(), &QItemSelectionModel::currentChanged, this,
                [this](const QModelIndex& current) {
                    if (!m_userInput || !current.isValid())
                        return;
                    m_chosen = true;
                    m_select(current.row());
                });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (m_userInput)
            return false;
        const QEvent::Type type = event->type();
        if (watched == m_list && type == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                m_enter();
                return true;
            }
        } else if (isOtherButtonPress(watched, event)) {
            return true;
        } else if (!isLeftPressOrDrag(watched, event)) {
            return false;
        }
        // Deliver the event here, so that the row it makes current is known to be the user's.
        QPointer<QAbstractItemView> list = m_list;
        const QModelIndex current = m_list->currentIndex();
        QModelIndex pressed;
        if (type == QEvent::MouseButtonPress)
            pressed = m_list->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        m_userInput = true;
        m_chosen = false;
        QCoreApplication::sendEvent(watched, event);
        if (!list)
            return true;
        m_userInput = false;
        if (!m_chosen && pressed.isValid() && pressed == current)
            m_select(current.row());
        return true;
    }

private:
    // The other buttons leave the current row where it is.
    bool isOtherButtonPress(QObject* watched, QEvent* event) const {
        return watched == m_viewport &&
               (event->type() == QEvent::MouseButtonPress ||
                event->type() == QEvent::MouseButtonDblClick) &&
               static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton;
    }

    // Rows are chosen with the left button, by a press or by dragging over them.
    bool isLeftPressOrDrag(QObject* watched, QEvent* event) const {
        if (watched != m_viewport)
            return false;
        if (event->type() == QEvent::MouseButtonPress)
            return static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
        if (event->type() == QEvent::MouseMove)
            return static_cast<QMouseEvent*>(event)->buttons() & Qt::LeftButton;
        return false;
    }

    QAbstractItemView* m_list;
    // Compared by address only: events still arrive while the list is being destroyed.
    QWidget* m_viewport;
    std::function<void()> m_enter;
    Select m_select;
    bool m_userInput = false;
    bool m_chosen = false;
};

} // namespace

// --- StopPanel --------------------------------------------------------------------------------

StopPanel::StopPanel(lirsk::MapDocument* document, QWidget* owner, QWidget* parent)
    : QWidget(parent), m_document(document), m_owner(owner) {
    setMinimumWidth(1);
    resize(175, 400);
    auto* tablesLayout = new QVBoxLayout(this);
    tablesLayout->setContentsMargins(0, 0, 0, 0);
    tablesLayout->setSpacing(0);
    m_searchPanel = new QFrame(this);
    m_searchPanel->setFrameShape(QFrame::StyledPanel);
    tablesLayout->addWidget(m_searchPanel, 1);
    tablesLayout->addStretch(0);

    auto* searchLayout = new QVBoxLayout(m_searchPanel);
    searchLayout->setContentsMargins(2, 2, 2, 2);
    searchLayout->setSpacing(0);
    auto* searchBar = new QWidget(m_searchPanel);
    auto* barLayout = new QHBoxLayout(searchBar);
    barLayout->setContentsMargins(6, 6, 6, 6);
    barLayout->setSpacing(6);
    m_searchBox = new QLineEdit(searchBar);
    lirsk::keepText<StopPanel>(m_searchBox, "placeholderText", QT_TR_NOOP("Остановка"));
    m_searchBox->setClearButtonEnabled(true);
    m_searchButton = new QToolButton(searchBar);
    m_searchButton->setIcon(searchIcon());
    lirsk::keepText<StopPanel>(m_searchButton, "toolTip",
                               QT_TR_NOOP("Найти остановку (Enter; следующая — F3)"));
    barLayout->addWidget(m_searchBox, 1);
    barLayout->addWidget(m_searchButton);
    searchLayout->addWidget(searchBar);

    auto* listsPanel = new QWidget(m_searchPanel);
    auto* listsLayout = new QVBoxLayout(listsPanel);
    listsLayout->setContentsMargins(0, 0, 0, 0);
    listsLayout->setSpacing(0);
    m_model = new lirsk::StopListModel(m_document, this);
    m_stopList = new QListView(listsPanel);
    m_stopList->setModel(m_model);
    m_stopList->setUniformItemSizes(true);
    m_stopList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_stopList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_stopList->setContextMenuPolicy(Qt::CustomContextMenu);
    listsLayout->addWidget(m_stopList, 1);

    buildRouteTable(listsPanel);
    listsLayout->addWidget(m_routesBox);
    searchLayout->addWidget(listsPanel, 1);

    buildStopMenu();

    connect(m_searchBox, &QLineEdit::textChanged, this, &StopPanel::filterTyped);
    connect(m_searchBox, &QLineEdit::returnPressed, this, &StopPanel::searchStop);
    connect(m_searchButton, &QToolButton::clicked, this, &StopPanel::searchStop);
    auto* next = new QShortcut(QKeySequence(Qt::Key_F3), m_searchPanel);
    next->setContext(Qt::WidgetWithChildrenShortcut);
    connect(next, &QShortcut::activated, this, &StopPanel::findNext);

    new ListEvents(
        m_stopList, [this] { searchStop(); }, [this](int row) { stopRowChosen(row); });
    new ListEvents(
        m_routeTable, [this] { searchStop(); }, [this](int row) { routeRowChosen(row); });

    // A stop renamed, added or taken out shows (or goes) at once, and is found by its name.
    connect(m_document, &lirsk::MapDocument::changed, m_model, [this](lirsk::MapChanges what) {
        if (what & (lirsk::MapChange::Name | lirsk::MapChange::Stops)) {
            m_model->refresh();
            // The list's hint named a stop that may be renamed or gone: neither it nor the
            // status line keeps that name.
            if (!m_stopList->statusTip().isEmpty()) {
                m_stopList->setStatusTip(QString());
                emit statusText(QString());
            }
        }
    });
}

// The route table under the stop list: a header row, then a number and a name a route.
void StopPanel::buildRouteTable(QWidget* parent) {
    m_routesBox =
        lirsk::keepText<StopPanel>(new QGroupBox(parent), "title", QT_TR_NOOP("Маршруты"));
    m_routesBox->setFixedHeight(162);
    auto* routesLayout = new QVBoxLayout(m_routesBox);
    routesLayout->setContentsMargins(2, 2, 2, 2);
    // The route table keeps its fixed header row as row 0.
    m_routeTable = new QTableWidget(2, 2, m_routesBox);
    m_routeTable->horizontalHeader()->hide();
    m_routeTable->verticalHeader()->hide();
    m_routeTable->verticalHeader()->setDefaultSectionSize(16);
    m_routeTable->verticalHeader()->setMinimumSectionSize(16);
    m_routeTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_routeTable->setWordWrap(false);
    m_routeTable->setTabKeyNavigation(true);
    m_routeTable->setSelectionMode(QAbstractItemView::SingleSelection);
    // The number takes what it needs, the name the rest of the panel's width.
    m_routeTable->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_routeTable->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    m_routeTable->setTextElideMode(Qt::ElideRight);
    for (int c = 0; c < 2; ++c) {
        auto* cell = new QTableWidgetItem(c == 1 ? routeColumnCaption() : QString());
        cell->setFlags(Qt::ItemIsEnabled);
        cell->setBackground(lirsk::systemColour(30));
        m_routeTable->setItem(0, c, cell);
    }
    routesLayout->addWidget(m_routeTable);
}

QString StopPanel::routeColumnCaption() {
    return tr("Маршрут");
}

void StopPanel::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        if (QTableWidgetItem* caption = m_routeTable->item(0, 1))
            caption->setText(routeColumnCaption());
}

// The stop list's menu, «Маршрут отсюда» and «Маршрут сюда», and a double click on a stop.
void StopPanel::buildStopMenu() {
    m_stopMenu = new QMenu(this);
    m_startAction = lirsk::keepText<StopPanel>(m_stopMenu->addAction(QString()), "text",
                                               QT_TR_NOOP("Маршрут отсюда"));
    m_finishAction = lirsk::keepText<StopPanel>(m_stopMenu->addAction(QString()), "text",
                                                QT_TR_NOOP("Маршрут сюда"));
    setWayChoiceEnabled(false);
    connect(m_startAction, &QAction::triggered, this, [this] {
        if (m_menuStop != lirsk::NoStop)
            emit startChosen(m_menuStop);
    });
    connect(m_finishAction, &QAction::triggered, this, [this] {
        if (m_menuStop != lirsk::NoStop)
            emit finishChosen(m_menuStop);
    });
    connect(m_stopList, &QWidget::customContextMenuRequested, this, &StopPanel::showStopMenu);
    connect(m_stopList, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (const lirsk::StopIndex stop = stopAt(index.row()); stop != lirsk::NoStop)
            emit stopDoubleClicked(stop);
    });
}

void StopPanel::showSearchPanel(bool show) {
    if (!show) {
        setVisible(!m_routesBox->isHidden());
    } else if (!isHidden()) {
        // The search panel takes the top half of the left panel.
        m_searchPanel->setFixedHeight(height() / 2);
    } else {
        m_searchPanel->setMinimumHeight(0);
        m_searchPanel->setMaximumHeight(QWIDGETSIZE_MAX);
        QWidget::show();
    }
    m_searchPanel->setVisible(show);
}

bool StopPanel::searchPanelShown() const {
    return !isHidden() && !m_searchPanel->isHidden();
}

void StopPanel::showRoutesPanel(bool show) {
    if (show) {
        if (!isHidden())
            m_searchPanel->setFixedHeight(height() / 2);
        else
            QWidget::show();
    } else {
        setVisible(!m_searchPanel->isHidden());
        m_searchPanel->setMinimumHeight(0);
        m_searchPanel->setMaximumHeight(QWIDGETSIZE_MAX);
    }
    m_routesBox->setVisible(show);
}

void StopPanel::setWayChoiceEnabled(bool enabled) {
    m_wayChoiceEnabled = enabled;
    m_startAction->setEnabled(enabled);
    m_finishAction->setEnabled(enabled);
}

void StopPanel::reloadStops() {
    m_model->reload();
}

void StopPanel::setRoutes(const std::optional<lirsk::RouteTable>& routes) {
    if (!routes)
        return;
    m_routeTable->setRowCount(routes->rowCount);
    for (int i = 0; i < routes->rows.size(); ++i) {
        const lirsk::RouteRow& route = routes->rows[i];
        auto* number = new QTableWidgetItem(route.number);
        auto* name = new QTableWidgetItem(route.name);
        // A name too long for the panel is read whole in its tooltip.
        number->setToolTip(route.name);
        name->setToolTip(route.name);
        m_routeTable->setItem(i + 1, 0, number);
        m_routeTable->setItem(i + 1, 1, name);
    }
}

void StopPanel::setRoutes(const QList<lirsk::DescribedRoute>& routes) {
    m_routeTable->setRowCount(int(routes.size()) + 1);
    for (int i = 0; i < routes.size(); ++i) {
        const lirsk::DescribedRoute& route = routes[i];
        auto* number = new QTableWidgetItem(route.number);
        auto* name = new QTableWidgetItem(route.name);
        number->setData(kRouteCodeRole, route.code);
        if (route.color)
            number->setData(Qt::DecorationRole, lirsk::toQColor(*route.color));
        number->setToolTip(route.name);
        name->setToolTip(route.name);
        m_routeTable->setItem(i + 1, 0, number);
        m_routeTable->setItem(i + 1, 1, name);
    }
}

lirsk::StopIndex StopPanel::stopAt(int row) const {
    return m_model->stopAt(row);
}

void StopPanel::filterTyped(const QString& text) {
    m_model->setFilter(text);
    const bool noMatch = !text.isEmpty() && m_model->rowCount() == 0;
    if (noMatch) {
        emit statusText(tr("Остановка «%1» не найдена").arg(text));
        // One beep when what is typed stops matching, not one for every key after that.
        if (!m_noMatch)
            lirsk::beep(lirsk::Beep::Hand);
    } else if (m_noMatch) {
        emit statusText(QString());
    }
    m_noMatch = noMatch;
}

void StopPanel::searchStop() {
    const QString title = m_owner ? m_owner->windowTitle() : QString();
    if (m_searchBox->text().isEmpty() || m_model->rowCount() == 0) {
        lirsk::beep(lirsk::Beep::Hand);
        lirsk::showMessage(m_owner,
                           {QMessageBox::Information, title,
                            tr("Поиск завершен!\r\nСовпадение не найдено"), QMessageBox::Ok});
        return;
    }
    lirsk::beep(lirsk::Beep::Asterisk);
    lirsk::showMessage(m_owner, {QMessageBox::Information, title,
                                 tr("Поиск завершен!\r\nСовпадение найдено"), QMessageBox::Ok});
    chooseRow(0);
}

void StopPanel::findNext() {
    const int rows = m_model->rowCount();
    if (m_searchBox->text().isEmpty() || rows == 0) {
        lirsk::beep(lirsk::Beep::Hand);
        return;
    }
    const QModelIndex current = m_stopList->currentIndex();
    chooseRow(current.isValid() ? (current.row() + 1) % rows : 0);
}

void StopPanel::chooseRow(int row) {
    const QModelIndex index = m_model->index(row, 0);
    if (index != m_stopList->currentIndex())
        m_stopList->setCurrentIndex(index);
    m_stopList->scrollTo(index);
    stopRowChosen(row);
}

void StopPanel::stopRowChosen(int row) {
    const lirsk::StopIndex stop = stopAt(row);
    if (stop == lirsk::NoStop)
        return;
    QToolTip::hideText();
    // The list keeps the name as its hint; the status line shows it while the pointer is over
    // the list.
    m_stopList->setStatusTip(tr("Остановка %1").arg(m_document->map().stop(stop).Label.Caption));
    emit stopChosen(stop);
}

std::vector<lirsk::StopIndex> StopPanel::routeStops(int row) const {
    std::vector<lirsk::StopIndex> stops;
    const QTableWidgetItem* cell = m_routeTable->item(row, 0);
    if (row < 1 || !cell || cell->text().isEmpty())
        return stops;
    // The whole code: route 1 is not 10, 11 and so on, nor route 2 the 21.
    const QString described = cell->data(kRouteCodeRole).toString();
    const QString code = described.isEmpty() ? m_document->map().MapCode + cell->text() : described;
    const lirsk::GraphMap& map = m_document->map();
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
    m_menuStop = stopAt(m_stopList->indexAt(pos).row());
    if (m_menuStop == lirsk::NoStop)
        return;
    m_stopMenu->popup(m_stopList->viewport()->mapToGlobal(pos));
}
