#include "app/journeypanel.h"

#include "app/journeyrows.h"
#include "app/mainwindow.h"
#include "app/mapwindow.h"
#include "app/stoppanel.h"
#include "edit/journeypage.h"
#include "platform/colours.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDateTime>
#include <QDateTimeEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace lirsk {

namespace {

// Black or white, whichever reads better on a colour.
QColor textOn(const QColor& colour) {
    return qGray(colour.rgb()) > 140 ? Qt::black : Qt::white;
}

} // namespace

RouteNames::RouteNames(const MapDocument& document) : m_mapCode(document.map().MapCode) {
    if (const std::optional<MapDescription>& description = document.description()) {
        m_mapCode = description->mapCode;
        for (const DescribedRoute& route : description->routes)
            m_described.insert(route.code, {route.number, route.color ? std::optional<QColor>(
                                                                            toQColor(*route.color))
                                                                      : std::nullopt});
    }
}

QList<RouteName> RouteNames::of(const QString& routes) const {
    QList<RouteName> names;
    if (m_mapCode.isEmpty())
        return names;
    for (QStringView code : QStringView(routes).tokenize(u' ', Qt::SkipEmptyParts)) {
        if (const auto it = m_described.constFind(code.toString()); it != m_described.constEnd())
            names.append(*it);
        else if (const qsizetype at = code.indexOf(m_mapCode); at >= 0)
            names.append({code.mid(at + m_mapCode.size()).toString(), std::nullopt});
    }
    return names;
}

RouteName RouteNames::of(const QString& code, const Stop& stop) const {
    if (const auto it = m_described.constFind(code); it != m_described.constEnd())
        return *it;
    const qsizetype at = code.indexOf(m_mapCode);
    return {at >= 0 ? code.mid(at + m_mapCode.size()) : code, toQColor(stop.FillColor)};
}

QPixmap routeChips(const QList<RouteName>& routes, const QColor& fallback, int height) {
    QFont font;
    font.setBold(true);
    font.setPixelSize(std::max(8, height - 5));
    const QFontMetrics metrics(font);
    QList<int> widths;
    int total = 0;
    for (const RouteName& route : routes) {
        widths.append(std::max(height, metrics.horizontalAdvance(route.number) + 8));
        total += widths.back() + 2;
    }
    QPixmap strip(std::max(1, total), height);
    strip.fill(Qt::transparent);
    QPainter painter(&strip);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(font);
    int x = 0;
    for (int i = 0; i < routes.size(); ++i) {
        const QColor colour = routes[i].colour.value_or(fallback);
        const QRectF chip(x + 0.5, 0.5, widths[i] - 1, height - 1);
        painter.setPen(QPen(colour.darker(140), 1));
        painter.setBrush(colour);
        painter.drawRoundedRect(chip, 4, 4);
        painter.setPen(textOn(colour));
        painter.drawText(chip, Qt::AlignCenter, routes[i].number);
        x += widths[i] + 2;
    }
    return strip;
}

// --- StopSuggestions --------------------------------------------------------------------------

StopSuggestions::StopSuggestions(QObject* parent) : QAbstractListModel(parent) {}

void StopSuggestions::setDocument(const MapDocument* document) {
    beginResetModel();
    m_document = document;
    m_read = false;
    m_shown.clear();
    endResetModel();
}

void StopSuggestions::readNames() {
    if (m_read && m_readRevision == m_document->revision())
        return;
    const StopList& stops = m_document->map().stops();
    m_folded.resize(stops.size());
    for (std::size_t i = 0; i < stops.size(); ++i)
        m_folded[i] = searchFolded(stops[i].Label.Caption);
    m_routes = RouteNames(*m_document);
    m_readRevision = m_document->revision();
    m_read = true;
}

void StopSuggestions::setTyped(const QString& text) {
    std::vector<StopIndex> shown;
    const QString typed = searchFolded(text.trimmed());
    if (m_document && !typed.isEmpty()) {
        readNames();
        // Three kinds of match, each kept in map order up to the most shown.
        std::vector<StopIndex> kinds[3];
        for (StopIndex stop = 0; stop < StopIndex(m_folded.size()); ++stop) {
            const QString& name = m_folded[std::size_t(stop)];
            const qsizetype at = name.indexOf(typed);
            if (at < 0)
                continue;
            const int kind = at == 0 ? 0 : !name[at - 1].isLetterOrNumber() ? 1 : 2;
            if (kinds[kind].size() < std::size_t(kMost))
                kinds[kind].push_back(stop);
            if (kinds[0].size() == std::size_t(kMost))
                break;
        }
        for (const std::vector<StopIndex>& kind : kinds)
            for (const StopIndex stop : kind)
                if (shown.size() < std::size_t(kMost))
                    shown.push_back(stop);
    }
    beginResetModel();
    m_shown = std::move(shown);
    endResetModel();
}

StopIndex StopSuggestions::stopAt(int row) const {
    return row >= 0 && row < int(m_shown.size()) ? m_shown[std::size_t(row)] : NoStop;
}

int StopSuggestions::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_shown.size());
}

QVariant StopSuggestions::data(const QModelIndex& index, int role) const {
    const StopIndex stop = stopAt(index.row());
    if (stop == NoStop || !m_document || !m_document->map().isStop(stop))
        return {};
    const Stop& shown = m_document->map().stop(stop);
    switch (role) {
    case Qt::EditRole:
        return shown.Label.Caption;
    case Qt::DisplayRole: {
        QStringList numbers;
        for (const RouteName& route : m_routes.of(shown.Routes))
            numbers.append(route.number);
        return numbers.isEmpty()
                   ? shown.Label.Caption
                   : shown.Label.Caption + QStringLiteral("   ") + numbers.join(QLatin1Char(' '));
    }
    case Qt::DecorationRole: {
        QList<RouteName> routes = m_routes.of(shown.Routes);
        if (routes.isEmpty())
            routes.append({QString(), std::nullopt});
        // One chip per colour: equal colours say no more.
        QList<RouteName> chips;
        for (const RouteName& route : routes)
            if (std::none_of(chips.begin(), chips.end(),
                             [&](const RouteName& c) { return c.colour == route.colour; }))
                chips.append({QString(), route.colour});
        return routeChips(chips, toQColor(shown.FillColor), 12);
    }
    case StopRole:
        return stop;
    default:
        return {};
    }
}

} // namespace lirsk

using namespace lirsk;

namespace {

// A row of the ways list: its name, its figures and the strip of its routes.
QWidget* rowWidget(const QString& title, const QStringList& figures, const QPixmap& strip) {
    auto* row = new QWidget;
    auto* layout = new QVBoxLayout(row);
    layout->setContentsMargins(4, 3, 4, 3);
    layout->setSpacing(1);
    auto* name = new QLabel(title, row);
    name->setWordWrap(true);
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    layout->addWidget(name);
    auto* numbers = new QLabel(figures.join(QStringLiteral(" · ")), row);
    numbers->setWordWrap(true);
    layout->addWidget(numbers);
    auto* chips = new QLabel(row);
    chips->setPixmap(strip);
    layout->addWidget(chips);
    return row;
}

// The timetable's clock time of a moment, as the departure edit shows it: its fields are the
// agency's date and time (the edit keeps them as UTC, so that no zone of the desktop moves them).
QDateTime editTime(const Timetable& timetable, qint64 utc) {
    const QDateTime local = QDateTime::fromSecsSinceEpoch(utc, timetable.timeZone());
    return QDateTime(local.date(), local.time(), Qt::UTC);
}

} // namespace

JourneyPanel::JourneyPanel(MainWindow* frame, QWidget* parent)
    : QWidget(parent), m_frame(frame), m_planner(new WayPlanner(this)) {
    setObjectName(QStringLiteral("journeyPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);

    auto* ends = new QGridLayout;
    m_fromEdit = new QLineEdit(this);
    m_fromEdit->setObjectName(QStringLiteral("fromEdit"));
    m_fromEdit->setPlaceholderText(tr("остановка отправления"));
    m_toEdit = new QLineEdit(this);
    m_toEdit->setObjectName(QStringLiteral("toEdit"));
    m_toEdit->setPlaceholderText(tr("остановка прибытия"));
    m_swapButton = new QToolButton(this);
    m_swapButton->setObjectName(QStringLiteral("swapButton"));
    m_swapButton->setText(QStringLiteral("⇅"));
    m_swapButton->setToolTip(tr("Поменять местами"));
    ends->addWidget(new QLabel(tr("Откуда"), this), 0, 0);
    ends->addWidget(m_fromEdit, 0, 1);
    ends->addWidget(new QLabel(tr("Куда"), this), 1, 0);
    ends->addWidget(m_toEdit, 1, 1);
    ends->addWidget(m_swapButton, 0, 2, 2, 1);
    m_whenLabel = new QLabel(tr("Когда"), this);
    m_whenRow = new QWidget(this);
    auto* when = new QHBoxLayout(m_whenRow);
    when->setContentsMargins(0, 0, 0, 0);
    m_departureEdit = new QDateTimeEdit(m_whenRow);
    m_departureEdit->setObjectName(QStringLiteral("departureEdit"));
    m_departureEdit->setTimeSpec(Qt::UTC);
    m_departureEdit->setDisplayFormat(QStringLiteral("dd.MM.yyyy HH:mm"));
    m_departureEdit->setCalendarPopup(true);
    m_departureEdit->setToolTip(tr("Время отправления по часам расписания"));
    m_nowButton = new QPushButton(tr("Сейчас"), m_whenRow);
    m_nowButton->setObjectName(QStringLiteral("nowButton"));
    m_nowButton->setToolTip(tr("Отправление сейчас (в период действия расписания)"));
    when->addWidget(m_departureEdit, 1);
    when->addWidget(m_nowButton);
    ends->addWidget(m_whenLabel, 2, 0);
    ends->addWidget(m_whenRow, 2, 1, 1, 2);
    layout->addLayout(ends);
    m_departureTyped = new QTimer(this);
    m_departureTyped->setSingleShot(true);
    m_departureTyped->setInterval(600);
    connect(m_departureTyped, &QTimer::timeout, this, &JourneyPanel::applyDeparture);
    connect(m_departureEdit, &QDateTimeEdit::dateTimeChanged, m_departureTyped,
            qOverload<>(&QTimer::start));
    connect(m_departureEdit, &QDateTimeEdit::editingFinished, this, &JourneyPanel::applyDeparture);
    connect(m_nowButton, &QAbstractButton::clicked, this, [this] {
        if (!m_window)
            return;
        MapDocument& document = m_window->document();
        document.setDeparture(
            departureInPeriod(document.timetable(), QDateTime::currentSecsSinceEpoch()));
    });

    for (const bool isStart : {true, false}) {
        QLineEdit* edit = isStart ? m_fromEdit : m_toEdit;
        auto* suggestions = new StopSuggestions(this);
        auto* completer = new QCompleter(suggestions, this);
        completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
        completer->setMaxVisibleItems(12);
        completer->setWidget(edit);
        m_suggestions[isStart ? 0 : 1] = suggestions;
        m_completers[isStart ? 0 : 1] = completer;
        connect(edit, &QLineEdit::textEdited, this, [this, isStart] { endTyped(isStart); });
        connect(completer, qOverload<const QModelIndex&>(&QCompleter::activated), this,
                [this, isStart, suggestions](const QModelIndex& index) {
                    setEnd(index.data(StopSuggestions::StopRole).toInt(), isStart);
                    Q_UNUSED(suggestions);
                });
        // Enter without a choice takes the first suggestion.
        connect(edit, &QLineEdit::returnPressed, this, [this, isStart, suggestions] {
            if (end(isStart) == NoStop && suggestions->rowCount() > 0)
                setEnd(suggestions->stopAt(0), isStart);
        });
    }
    connect(m_swapButton, &QToolButton::clicked, this, &JourneyPanel::swapEnds);

    m_stateLabel = new QLabel(this);
    m_stateLabel->setObjectName(QStringLiteral("stateLabel"));
    m_stateLabel->setWordWrap(true);
    layout->addWidget(m_stateLabel);

    m_waysList = new QListWidget(this);
    m_waysList->setObjectName(QStringLiteral("waysList"));
    m_waysList->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_waysList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_waysList->setMaximumHeight(3 * 66 + 6);
    layout->addWidget(m_waysList, 1);
    m_waysList->viewport()->installEventFilter(this);
    connect(m_waysList, &QListWidget::currentRowChanged, this, &JourneyPanel::chooseWay);

    m_pagingRow = new QWidget(this);
    auto* paging = new QHBoxLayout(m_pagingRow);
    paging->setContentsMargins(0, 0, 0, 0);
    m_earlierButton = new QPushButton(tr("‹ Раньше"), m_pagingRow);
    m_earlierButton->setObjectName(QStringLiteral("earlierButton"));
    m_earlierButton->setToolTip(tr("Поездки с более ранним отправлением"));
    m_laterButton = new QPushButton(tr("Позже ›"), m_pagingRow);
    m_laterButton->setObjectName(QStringLiteral("laterButton"));
    m_laterButton->setToolTip(tr("Поездки с более поздним отправлением"));
    paging->addWidget(m_earlierButton);
    paging->addStretch(1);
    paging->addWidget(m_laterButton);
    layout->addWidget(m_pagingRow);
    connect(m_earlierButton, &QAbstractButton::clicked, this, [this] {
        if (!m_journeys.empty())
            requestPage(m_journeys.front().journey.departure, true, true);
    });
    connect(m_laterButton, &QAbstractButton::clicked, this, [this] {
        if (!m_journeys.empty())
            requestPage(m_journeys.back().journey.departure + 1, false, true);
    });

    m_legsList = new QListWidget(this);
    m_legsList->setObjectName(QStringLiteral("legsList"));
    m_legsList->setWordWrap(true);
    m_legsList->setIconSize(QSize(28, 14));
    m_legsList->setSelectionMode(QAbstractItemView::NoSelection);
    layout->addWidget(m_legsList, 1);
    layout->addWidget(journeyOutputButtons(this, m_legsList, [this] {
        const int row = m_waysList->currentRow();
        if (!m_window || row < 0 || row >= int(m_ways.size()))
            return std::optional<JourneyToPrint>();
        const PlannedWay& way = m_ways[std::size_t(row)];
        return std::optional(
            JourneyToPrint{&m_window->document(), way.report, wayName(way.criteria)});
    }));

    connect(m_planner, &WayPlanner::planned, this, &JourneyPanel::planned);
    connect(m_planner, &WayPlanner::paged, this, &JourneyPanel::paged);
    m_replan = new QTimer(this);
    m_replan->setSingleShot(true);
    m_replan->setInterval(150);
    connect(m_replan, &QTimer::timeout, this, [this] {
        showEnds();
        plan();
    });
    setMapWindow(nullptr);
}

MapWindow* JourneyPanel::mapWindow() const {
    return m_window;
}

QCompleter* JourneyPanel::completer(bool isStart) const {
    return m_completers[isStart ? 0 : 1];
}

void JourneyPanel::setMapWindow(MapWindow* window) {
    if (m_window == window && window)
        return;
    if (m_window)
        disconnect(&m_window->document(), nullptr, this, nullptr);
    m_window = window;
    m_replan->stop();
    m_planner->cancel();
    m_ticket = -1;
    m_pageTicket = -1;
    m_ways.clear();
    m_journeys.clear();
    m_snapshot.reset();
    m_snapshotDocument = nullptr;
    m_timetable.reset();
    m_journeysTimetable.reset();
    for (StopSuggestions* suggestions : m_suggestions)
        suggestions->setDocument(window ? &window->document() : nullptr);
    setEnabled(window);
    if (window) {
        const MapDocument* document = &window->document();
        connect(document, &MapDocument::changed, this,
                [this](MapChanges what) { mapChanged(what); });
        // A timetable that comes or goes adds or takes away the journeys; a new departure asks
        // for its first page.
        connect(document, &MapDocument::timetableChanged, this, &JourneyPanel::plan);
        connect(document, &MapDocument::departureChanged, this, [this](qint64 utc) {
            showWhen();
            requestPage(utc, false);
        });
    }
    showEnds();
    plan();
}

StopIndex JourneyPanel::end(bool isStart) const {
    if (!m_window)
        return NoStop;
    const int id = isStart ? m_window->journey.startId : m_window->journey.finishId;
    return id < 0 ? NoStop : m_window->Map().FindStopById(id);
}

void JourneyPanel::setEnd(StopIndex stop, bool isStart) {
    if (!m_window)
        return;
    const GraphMap& map = m_window->Map();
    int& id = isStart ? m_window->journey.startId : m_window->journey.finishId;
    id = map.isStop(stop) ? map.stop(stop).Id : -1;
    showEnds();
    plan();
    emit endsChanged(m_window);
}

void JourneyPanel::setEnds(StopIndex start, StopIndex finish) {
    if (!m_window)
        return;
    const GraphMap& map = m_window->Map();
    m_window->journey.startId = map.isStop(start) ? map.stop(start).Id : -1;
    m_window->journey.finishId = map.isStop(finish) ? map.stop(finish).Id : -1;
    showEnds();
    plan();
    emit endsChanged(m_window);
}

void JourneyPanel::setNextEnd(StopIndex stop) {
    setEnd(stop, end(true) == NoStop);
}

void JourneyPanel::swapEnds() {
    if (!m_window)
        return;
    std::swap(m_window->journey.startId, m_window->journey.finishId);
    showEnds();
    plan();
    emit endsChanged(m_window);
}

void JourneyPanel::showEnds() {
    m_showingEnds = true;
    for (const bool isStart : {true, false}) {
        QLineEdit* edit = isStart ? m_fromEdit : m_toEdit;
        const StopIndex stop = end(isStart);
        if (stop != NoStop) {
            const Stop& shown = m_window->Map().stop(stop);
            edit->setText(shown.Label.Caption);
            edit->setToolTip(shown.Routes);
            edit->setCursorPosition(0);
        } else if (!edit->hasFocus() || !m_window) {
            edit->clear();
            edit->setToolTip(QString());
        }
    }
    m_showingEnds = false;
}

void JourneyPanel::endTyped(bool isStart) {
    if (!m_window)
        return;
    QLineEdit* edit = isStart ? m_fromEdit : m_toEdit;
    // What is typed is no stop until one is chosen.
    int& id = isStart ? m_window->journey.startId : m_window->journey.finishId;
    if (id >= 0) {
        id = -1;
        plan();
        emit endsChanged(m_window);
    }
    m_suggestions[isStart ? 0 : 1]->setTyped(edit->text());
    // The suggestions may be wider than the field: names and routes show whole.
    if (m_suggestions[isStart ? 0 : 1]->rowCount() > 0)
        completer(isStart)->complete(QRect(0, 0, std::max(edit->width(), 360), edit->height()));
    else
        completer(isStart)->popup()->hide();
}

void JourneyPanel::mapChanged(MapChanges what) {
    if (what & MapChange::Stops) {
        // An end taken out of the map empties its field.
        for (const bool isStart : {true, false}) {
            int& id = isStart ? m_window->journey.startId : m_window->journey.finishId;
            if (id >= 0 && m_window->Map().FindStopById(id) == NoStop) {
                id = -1;
                (isStart ? m_fromEdit : m_toEdit)->clear();
                emit endsChanged(m_window);
            }
        }
    }
    // The found way is forgotten with every change: it is found again.
    m_planner->cancel();
    m_ticket = -1;
    m_replan->start();
}

void JourneyPanel::showState(const QString& text) {
    m_stateLabel->setText(text);
    m_stateLabel->setVisible(!text.isEmpty());
}

void JourneyPanel::plan() {
    m_replan->stop();
    m_planner->cancel();
    m_ticket = -1;
    m_pageTicket = -1;
    m_ways.clear();
    m_journeys.clear();
    m_chosen.reset();
    m_wayFailure.clear();
    m_pageFailure.clear();
    m_waysList->clear();
    m_legsList->clear();
    m_earlierButton->setEnabled(false);
    m_laterButton->setEnabled(false);
    showWhen();
    if (!m_window) {
        showState(QString());
        return;
    }
    const StopIndex start = end(true), finish = end(false);
    // One end alone shows with its marker.
    MapView* view = m_window->view();
    if ((start == NoStop) != (finish == NoStop))
        view->setChosenEnd(MapView::ChosenEnd{start != NoStop ? start : finish, start != NoStop});
    else
        view->setChosenEnd(std::nullopt);
    if (start == NoStop || finish == NoStop) {
        showState(start == NoStop && finish == NoStop
                      ? tr("Укажите, откуда и куда ехать: начните вводить название или "
                           "протяните мышью от остановки к остановке на карте.")
                      : tr("Укажите, %1 ехать.").arg(start == NoStop ? tr("откуда") : tr("куда")));
        return;
    }
    if (start == finish) {
        showState(tr("Откуда и куда — одна и та же остановка."));
        return;
    }
    const MapDocument& document = m_window->document();
    if (!m_snapshot || m_snapshotDocument != &document ||
        m_snapshotRevision != document.revision()) {
        m_snapshot = std::make_shared<const GraphMap>(document.map());
        m_snapshotDocument = &document;
        m_snapshotRevision = document.revision();
    }
    // The search the criterion asks for goes first on the planner's thread.
    const bool timetableFirst = byTimetable();
    if (timetableFirst)
        requestPage(document.departure(), false);
    m_ticket = m_planner->plan(m_snapshot, document.description(), start, finish);
    if (!timetableFirst)
        requestPage(document.departure(), false);
    showSearchState();
}

void JourneyPanel::requestPage(qint64 departure, bool earlier, bool turning) {
    m_turningPage = turning;
    m_pageTicket = -1;
    m_pageFailure.clear();
    if (!m_window || !m_snapshot || m_snapshotDocument != &m_window->document())
        return;
    const MapDocument& document = m_window->document();
    const int from = document.stationOf(end(true)), to = document.stationOf(end(false));
    if (!document.hasMatchingTimetable() || from < 0 || to < 0 || from == to) {
        showSearchState();
        return;
    }
    if (!m_timetable || !m_timetable->sharesBytesWith(document.timetable()))
        m_timetable = std::make_shared<const Timetable>(document.timetable());
    m_pageTicket = m_planner->page(m_snapshot, document.description(),
                                   {m_timetable, from, to, departure, earlier});
    showSearchState();
}

void JourneyPanel::planned(const WayPlan& plan) {
    if (plan.ticket != m_ticket || !m_window)
        return;
    if (plan.complete)
        m_ticket = -1;
    if (m_snapshotRevision != m_window->document().revision()) {
        this->plan();
        return;
    }
    m_ways = plan.ways;
    m_waysRevision = m_snapshotRevision;
    m_wayFailure = plan.failure;
    showSearchState();
    showWays();
}

void JourneyPanel::paged(const JourneyPage& page) {
    if (page.ticket != m_pageTicket || !m_window)
        return;
    m_pageTicket = -1;
    if (m_snapshotRevision != m_window->document().revision()) {
        plan();
        return;
    }
    m_pageFailure = page.failure;
    // A page further on that holds nothing leaves the journeys shown as they are.
    if (!page.journeys.empty() || !m_turningPage) {
        m_journeys = page.journeys;
        m_journeysTimetable = page.timetable;
        m_waysRevision = m_snapshotRevision;
    }
    showSearchState();
    showWays();
}

void JourneyPanel::showSearchState() {
    const bool searching = m_ticket >= 0 || m_pageTicket >= 0;
    m_earlierButton->setEnabled(!searching && !m_journeys.empty());
    m_laterButton->setEnabled(!searching && !m_journeys.empty());
    QStringList lines;
    if (searching)
        lines << tr("Поиск пути…");
    if (!m_pageFailure.isEmpty())
        lines << m_pageFailure;
    // Beside what the timetable says, that no way on the map was found says nothing more.
    if (!m_wayFailure.isEmpty() && ((m_journeys.empty() && m_pageFailure.isEmpty()) ||
                                    m_wayFailure != WayPlanner::noWayText()))
        lines << m_wayFailure;
    showState(lines.join(QLatin1Char('\n')));
}

void JourneyPanel::showWhen() {
    const bool shown = m_window && m_window->document().hasMatchingTimetable();
    m_whenLabel->setVisible(shown);
    m_whenRow->setVisible(shown);
    m_pagingRow->setVisible(shown);
    if (!shown)
        return;
    const MapDocument& document = m_window->document();
    const Timetable& timetable = document.timetable();
    const QSignalBlocker blocker(m_departureEdit);
    m_departureEdit->setDateRange(timetable.firstDay(), timetable.lastDay());
    m_departureEdit->setDateTime(editTime(timetable, document.departure()));
    m_departureEdit->setToolTip(
        tr("Время отправления по часам расписания (%1); расписание "
           "действует с %2 по %3")
            .arg(QString::fromUtf8(timetable.timeZone().id()),
                 timetable.firstDay().toString(QStringLiteral("dd.MM.yyyy")),
                 timetable.lastDay().toString(QStringLiteral("dd.MM.yyyy"))));
}

void JourneyPanel::applyDeparture() {
    m_departureTyped->stop();
    if (!m_window || !m_window->document().hasMatchingTimetable())
        return;
    MapDocument& document = m_window->document();
    const QDateTime shown = m_departureEdit->dateTime();
    const qint64 departure =
        QDateTime(shown.date(), shown.time(), document.timetable().timeZone()).toSecsSinceEpoch();
    if (departure != document.departure())
        document.setDeparture(departure);
}

QString JourneyPanel::wayName(const QList<Criterion>& criteria) {
    QStringList names;
    for (const Criterion criterion : criteria) {
        switch (criterion) {
        case Criterion::Shortest:
            names.append(tr("кратчайший"));
            break;
        case Criterion::Fastest:
            names.append(tr("быстрейший"));
            break;
        case Criterion::FewestChanges:
            names.append(tr("меньше пересадок"));
            break;
        }
    }
    QString name = names.size() < 2 ? names.value(0)
                                    : names.mid(0, names.size() - 1).join(QStringLiteral(", ")) +
                                          tr(" и ") + names.back();
    if (!name.isEmpty())
        name[0] = name[0].toUpper();
    return name;
}

QWidget* JourneyPanel::wayRow(const PlannedWay& way) const {
    const RouteReport& report = way.report;
    // The rides' routes in travel order.
    const RouteNames names(m_window->document());
    const GraphMap& map = m_window->Map();
    QList<RouteName> strip;
    QColor fallback = Qt::gray;
    for (const WayLeg& leg : report.legs) {
        if (leg.walk)
            continue;
        const Stop& boarding = map.stop(leg.from);
        if (leg.codes.isEmpty())
            strip.append({QStringLiteral("?"), toQColor(boarding.FillColor)});
        for (int i = 0; i < leg.codes.size(); ++i) {
            RouteName route = names.of(leg.codes[i], boarding);
            route.number = leg.numbers[i];
            strip.append(route);
        }
        fallback = toQColor(boarding.FillColor);
    }
    return rowWidget(wayName(way.criteria),
                     {minutesText(way.way.time), changesText(report.transfers), report.fareText,
                      report.lengthText},
                     routeChips(strip, fallback, 16));
}

QWidget* JourneyPanel::journeyRow(const PlannedJourney& planned) const {
    const Journey& journey = planned.journey;
    const Timetable& timetable = *m_journeysTimetable;
    const QDate day =
        QDateTime::fromSecsSinceEpoch(m_window->document().departure(), timetable.timeZone())
            .date();
    QList<RouteName> strip = journeyRoutes(journey, timetable);
    if (strip.isEmpty())
        strip.append({tr("пешком"), std::nullopt});
    return rowWidget(journeyTitle(journey, timetable, day),
                     {minutesText(double(journey.arrival - journey.departure)),
                      changesText(planned.report.transfers), planned.report.fareText,
                      planned.report.lengthText},
                     routeChips(strip, Qt::gray, 16));
}

void JourneyPanel::showWays() {
    m_waysList->blockSignals(true);
    m_waysList->clear();
    const auto add = [&](QWidget* row) {
        m_waysList->setItemWidget(new QListWidgetItem(m_waysList), row);
    };
    for (const PlannedJourney& journey : m_journeys)
        add(journeyRow(journey));
    for (const PlannedWay& way : m_ways)
        add(wayRow(way));
    fitRows();
    m_waysList->blockSignals(false);
    const int row = rowToChoose();
    // The rows show before the way chosen is drawn: on a large map its drawing and the view's
    // move to it take longer than the search.
    if (row >= 0 && isVisible())
        m_waysList->viewport()->repaint();
    if (row >= 0) {
        m_waysList->setCurrentRow(row);
        return;
    }
    m_legsList->clear();
    // Nothing to show once every search has answered: no way stays drawn from before.
    if (m_ticket < 0 && m_pageTicket < 0)
        m_window->document().clearFoundWay();
}

void JourneyPanel::fitRows() {
    // Long names and figures wrap within the list's width (a scroll bar's width left for one).
    const int width =
        std::max(120, m_waysList->viewport()->width() -
                          m_waysList->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    // The list is as high as its rows, up to six of them; three at least show whole.
    int height = 2 * m_waysList->frameWidth(), least = height;
    for (int i = 0; i < m_waysList->count(); ++i) {
        QListWidgetItem* item = m_waysList->item(i);
        const QWidget* row = m_waysList->itemWidget(item);
        // A row being added has no widget yet.
        if (!row)
            continue;
        // A little air between the rows.
        const int rowHeight =
            (row->hasHeightForWidth() ? row->heightForWidth(width) : row->sizeHint().height()) + 4;
        item->setSizeHint(QSize(width, rowHeight));
        if (i < 6)
            height += rowHeight;
        if (i < 3)
            least = height;
    }
    m_waysList->setMinimumHeight(least);
    m_waysList->setMaximumHeight(std::max(height, 3 * 66 + 6));
}

bool JourneyPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_waysList->viewport() && event->type() == QEvent::Resize &&
        static_cast<QResizeEvent*>(event)->oldSize().width() != m_waysList->viewport()->width())
        fitRows();
    return QWidget::eventFilter(watched, event);
}

bool JourneyPanel::byTimetable() const {
    return m_window && m_window->editor().byTimetable() &&
           m_window->document().hasMatchingTimetable();
}

int JourneyPanel::preferredJourneyRow() const {
    std::vector<Journey> journeys;
    for (const PlannedJourney& planned : m_journeys)
        journeys.push_back(planned.journey);
    const Journey* preferred = preferredJourney(journeys);
    return preferred ? int(preferred - journeys.data()) : -1;
}

int JourneyPanel::rowToChoose() const {
    const int first = int(m_journeys.size());
    const auto criterionRow = [&](Criterion criterion) {
        for (std::size_t i = 0; i < m_ways.size(); ++i)
            if (m_ways[i].criteria.contains(criterion))
                return first + int(i);
        return -1;
    };
    if (m_chosen && m_chosen->journey) {
        for (std::size_t i = 0; i < m_journeys.size(); ++i) {
            const Journey& j = m_journeys[i].journey;
            if (j.departure == m_chosen->departure && j.arrival == m_chosen->arrival &&
                j.rides == m_chosen->rides)
                return int(i);
        }
        // A journey of another page: the best of this one.
        if (!m_journeys.empty())
            return preferredJourneyRow();
    } else if (m_chosen) {
        if (const int row = criterionRow(m_chosen->criterion); row >= 0)
            return row;
    }
    // Nothing chosen yet: the criterion's row, once the search of its kind has found it.
    const bool timetableFirst = byTimetable();
    const int criterionWay = criterionRow(m_frame->criterion());
    if (!timetableFirst && criterionWay >= 0)
        return criterionWay;
    if (timetableFirst ? m_pageTicket >= 0 : m_ticket >= 0)
        return -1;
    if (timetableFirst && !m_journeys.empty())
        return preferredJourneyRow();
    if (criterionWay >= 0)
        return criterionWay;
    if (!m_journeys.empty())
        return preferredJourneyRow();
    return m_ways.empty() ? -1 : first;
}

void JourneyPanel::criterionChanged() {
    m_chosen.reset();
    if (const int row = rowToChoose(); row >= 0)
        m_waysList->setCurrentRow(row);
}

void JourneyPanel::chooseWay(int row) {
    m_legsList->clear();
    const int journeys = int(m_journeys.size());
    if (!m_window || row < 0 || row >= journeys + int(m_ways.size()))
        return;
    MapDocument& document = m_window->document();
    // The ways were found on the map as it is now.
    if (m_waysRevision != document.revision()) {
        plan();
        return;
    }
    if (row < journeys) {
        const PlannedJourney& planned = m_journeys[std::size_t(row)];
        const Journey& journey = planned.journey;
        m_chosen =
            ChosenRow{true, Criterion::Shortest, journey.departure, journey.arrival, journey.rides};
        const bool moved = document.foundWay().stops != planned.way.stops;
        document.setFoundWay(planned.way);
        if (moved)
            m_window->editor().showFoundWay();
        listJourneyLegs(m_legsList, journey, *m_journeysTimetable, m_window->Map());
        return;
    }
    const PlannedWay& way = m_ways[std::size_t(row - journeys)];
    m_chosen = ChosenRow{false, way.criteria.value(0), 0, 0, 0};
    if (document.foundWay().stops != way.way.stops) {
        document.setFoundWay(way.way);
        m_window->editor().showFoundWay();
    }
    showLegs(way);
}

void JourneyPanel::showLegs(const PlannedWay& way) {
    const GraphMap& map = m_window->Map();
    const RouteNames names(m_window->document());
    for (const WayLeg& leg : way.report.legs) {
        const QString from = map.stop(leg.from).Label.Caption;
        const QString to = map.stop(leg.to).Label.Caption;
        auto* item = new QListWidgetItem(m_legsList);
        if (leg.walk) {
            item->setText(
                from == to ? tr("Пересадка: %1, %2 мин").arg(from).arg(legMinutes(leg.time))
                           : tr("Пешком: %1 → %2, %3 мин").arg(from, to).arg(legMinutes(leg.time)));
            continue;
        }
        QList<RouteName> routes;
        for (int i = 0; i < leg.codes.size(); ++i) {
            RouteName route = names.of(leg.codes[i], map.stop(leg.from));
            route.number = leg.numbers[i];
            routes.append(route);
        }
        const QString numbers = leg.numbers.isEmpty()
                                    ? tr("Проезд")
                                    : QStringLiteral("№ ") + leg.numbers.join(QStringLiteral(", "));
        item->setText(tr("%1: %2 → %3, %4 мин").arg(numbers, from, to).arg(legMinutes(leg.time)));
        if (!routes.isEmpty())
            item->setIcon(
                QIcon(routeChips(routes.mid(0, 1), toQColor(map.stop(leg.from).FillColor), 14)));
    }
}
