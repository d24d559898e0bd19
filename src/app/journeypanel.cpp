#include "app/journeypanel.h"

#include "app/journeyrows.h"
#include "app/mainwindow.h"
#include "app/mapwindow.h"
#include "edit/journeypage.h"
#include "platform/translatedtext.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDateTime>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QResizeEvent>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace lirsk;

namespace {

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

    buildEndFields(layout);
    buildSuggestions();
    buildLists(layout);

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

// «Откуда», «Куда», the swap button and «Когда» with «Сейчас».
void JourneyPanel::buildEndFields(QVBoxLayout* layout) {
    auto* ends = new QGridLayout;
    m_fromEdit = new QLineEdit(this);
    m_fromEdit->setObjectName(QStringLiteral("fromEdit"));
    lirsk::keepText<JourneyPanel>(m_fromEdit, "placeholderText",
                                  QT_TR_NOOP("остановка отправления"));
    m_toEdit = new QLineEdit(this);
    m_toEdit->setObjectName(QStringLiteral("toEdit"));
    lirsk::keepText<JourneyPanel>(m_toEdit, "placeholderText", QT_TR_NOOP("остановка прибытия"));
    m_swapButton = new QToolButton(this);
    m_swapButton->setObjectName(QStringLiteral("swapButton"));
    m_swapButton->setText(QStringLiteral("⇅"));
    lirsk::keepText<JourneyPanel>(m_swapButton, "toolTip", QT_TR_NOOP("Поменять местами"));
    ends->addWidget(lirsk::keepText<JourneyPanel>(new QLabel(this), "text", QT_TR_NOOP("Откуда")),
                    0, 0);
    ends->addWidget(m_fromEdit, 0, 1);
    ends->addWidget(lirsk::keepText<JourneyPanel>(new QLabel(this), "text", QT_TR_NOOP("Куда")), 1,
                    0);
    ends->addWidget(m_toEdit, 1, 1);
    ends->addWidget(m_swapButton, 0, 2, 2, 1);
    m_whenLabel = lirsk::keepText<JourneyPanel>(new QLabel(this), "text", QT_TR_NOOP("Когда"));
    m_whenRow = new QWidget(this);
    auto* when = new QHBoxLayout(m_whenRow);
    when->setContentsMargins(0, 0, 0, 0);
    m_departureEdit = new QDateTimeEdit(m_whenRow);
    m_departureEdit->setObjectName(QStringLiteral("departureEdit"));
    m_departureEdit->setTimeSpec(Qt::UTC);
    m_departureEdit->setDisplayFormat(QStringLiteral("dd.MM.yyyy HH:mm"));
    m_departureEdit->setCalendarPopup(true);
    lirsk::keepText<JourneyPanel>(m_departureEdit, "toolTip",
                                  QT_TR_NOOP("Время отправления по часам расписания"));
    m_nowButton =
        lirsk::keepText<JourneyPanel>(new QPushButton(m_whenRow), "text", QT_TR_NOOP("Сейчас"));
    m_nowButton->setObjectName(QStringLiteral("nowButton"));
    lirsk::keepText<JourneyPanel>(m_nowButton, "toolTip",
                                  QT_TR_NOOP("Отправление сейчас (в период действия расписания)"));
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
}

// Each end field's suggestions: a choice, or Enter on the first one, sets the end.
void JourneyPanel::buildSuggestions() {
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
}

// The state line, the ways found with «Раньше» and «Позже», the chosen way's legs and their
// print and export buttons.
void JourneyPanel::buildLists(QVBoxLayout* layout) {
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
    m_earlierButton =
        lirsk::keepText<JourneyPanel>(new QPushButton(m_pagingRow), "text", QT_TR_NOOP("‹ Раньше"));
    m_earlierButton->setObjectName(QStringLiteral("earlierButton"));
    lirsk::keepText<JourneyPanel>(m_earlierButton, "toolTip",
                                  QT_TR_NOOP("Поездки с более ранним отправлением"));
    m_laterButton =
        lirsk::keepText<JourneyPanel>(new QPushButton(m_pagingRow), "text", QT_TR_NOOP("Позже ›"));
    m_laterButton->setObjectName(QStringLiteral("laterButton"));
    lirsk::keepText<JourneyPanel>(m_laterButton, "toolTip",
                                  QT_TR_NOOP("Поездки с более поздним отправлением"));
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
    // The way the window has just found by its criterion is not searched again.
    const Criterion windowCriterion = m_window->editor().criterion();
    std::optional<KnownSearch> known;
    if (const std::optional<CriterionResult> found =
            m_window->editor().lastSearch(windowCriterion, start, finish))
        known = KnownSearch{windowCriterion, *found};
    m_ticket = m_planner->plan(m_snapshot, document.description(), start, finish, known);
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

void JourneyPanel::showWays() {
    m_waysList->blockSignals(true);
    m_waysList->clear();
    const auto add = [&](QWidget* row) {
        m_waysList->setItemWidget(new QListWidgetItem(m_waysList), row);
    };
    if (!m_journeys.empty()) {
        const QDate day = QDateTime::fromSecsSinceEpoch(m_window->document().departure(),
                                                        m_journeysTimetable->timeZone())
                              .date();
        for (const PlannedJourney& journey : m_journeys)
            add(journeyRow(journey, *m_journeysTimetable, day, m_window->document()));
    }
    for (const PlannedWay& way : m_ways)
        add(wayRow(way, m_window->document()));
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

void JourneyPanel::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        plan();
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
        listJourneyLegs(m_legsList, journey, *m_journeysTimetable, m_window->document());
        return;
    }
    const PlannedWay& way = m_ways[std::size_t(row - journeys)];
    m_chosen = ChosenRow{false, way.criteria.value(0), 0, 0, 0};
    if (document.foundWay().stops != way.way.stops) {
        document.setFoundWay(way.way);
        m_window->editor().showFoundWay();
    }
    listWayLegs(m_legsList, way, m_window->document());
}
