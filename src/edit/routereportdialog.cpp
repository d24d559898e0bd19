#include "edit/routereportdialog.h"

#include "edit/journeypage.h"
#include "platform/fonts.h"
#include "platform/translatedtext.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShowEvent>
#include <QVBoxLayout>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace {

QFont msSansSerif(int pixels) {
    QFont font(lirsk::mapFontFace(QStringLiteral("MS Sans Serif")));
    font.setPixelSize(pixels);
    return font;
}

// A clear square of side logical pixels, with as many device pixels as the screen shows, so the
// picture drawn on it stays sharp when the desktop is scaled.
QPixmap blank(int side) {
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(qCeil(side * ratio), qCeil(side * ratio));
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

} // namespace

QPixmap RouteReportDialog::MoneyPicture() {
    QPixmap pixmap = blank(32);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // A gold coin with a rouble sign.
    QRadialGradient gold(QPointF(12, 11), 18);
    gold.setColorAt(0, QColor(255, 236, 140));
    gold.setColorAt(1, QColor(214, 160, 20));
    p.setPen(QPen(QColor(150, 105, 10), 1.5));
    p.setBrush(gold);
    p.drawEllipse(QRectF(2, 2, 28, 28));
    p.setPen(QPen(QColor(120, 80, 0), 2.2, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath sign;
    sign.moveTo(13, 25);
    sign.lineTo(13, 8);
    sign.lineTo(18, 8);
    sign.arcTo(QRectF(13, 8, 10, 9), 90, -180);
    sign.lineTo(10, 17);
    p.drawPath(sign);
    p.drawLine(QPointF(10, 21), QPointF(19, 21));
    return pixmap;
}

QPixmap RouteReportDialog::RoadPicture() {
    QPixmap pixmap = blank(32);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // A road running off to the horizon, on grass.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(110, 180, 80));
    p.drawRoundedRect(QRectF(0, 10, 32, 22), 3, 3);
    p.setBrush(QColor(150, 200, 245));
    p.drawRoundedRect(QRectF(0, 0, 32, 12), 3, 3);
    QPolygonF road({QPointF(14, 10), QPointF(18, 10), QPointF(30, 32), QPointF(2, 32)});
    p.setBrush(QColor(90, 90, 90));
    p.drawPolygon(road);
    p.setPen(QPen(Qt::white, 1.6));
    for (double y : {13.0, 19.0, 26.0})
        p.drawLine(QPointF(16, y), QPointF(16, y + 2 + (y - 10) / 6));
    return pixmap;
}

QPixmap RouteReportDialog::ClockPicture() {
    QPixmap pixmap = blank(32);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(30, 60, 140), 2));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(2, 2, 28, 28));
    p.setPen(QPen(QColor(30, 60, 140), 1.2));
    for (int h = 0; h < 12; ++h) {
        const double a = h * M_PI / 6;
        const double inner = h % 3 == 0 ? 9.5 : 11;
        p.drawLine(QPointF(16 + inner * std::sin(a), 16 - inner * std::cos(a)),
                   QPointF(16 + 12.5 * std::sin(a), 16 - 12.5 * std::cos(a)));
    }
    p.setPen(QPen(Qt::black, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16, 16), QPointF(16, 8));
    p.setPen(QPen(Qt::black, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16, 16), QPointF(22, 19));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 30, 30));
    p.drawEllipse(QPointF(16, 16), 1.8, 1.8);
    return pixmap;
}

QPixmap RouteReportDialog::CloseGlyph() {
    QPixmap pixmap = blank(16);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // An open door with an arrow going out.
    p.setPen(QPen(QColor(90, 60, 20), 1));
    p.setBrush(QColor(190, 140, 70));
    p.drawRect(QRectF(2.5, 1.5, 7, 13));
    p.setPen(QPen(QColor(0, 120, 0), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(7, 8), QPointF(14, 8));
    p.drawLine(QPointF(11, 5), QPointF(14, 8));
    p.drawLine(QPointF(11, 11), QPointF(14, 8));
    return pixmap;
}

RouteReportDialog::RouteReportDialog(QWidget* parent) : lirsk::ModalDialog(parent) {
    setObjectName(QStringLiteral("routeReportDialog"));
    lirsk::keepText<RouteReportDialog>(this, "windowTitle", QT_TR_NOOP("Отчет"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    resize(311, 351);
    setFont(msSansSerif(11));
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    auto picture = [this](int top, const QPixmap& pixmap, const char* name) {
        auto* image = new QLabel(this);
        image->setObjectName(QLatin1String(name));
        image->setGeometry(48, top, 32, 32);
        image->setPixmap(pixmap);
        return image;
    };
    auto text = [this](int left, int top, const char* caption, const char* name) {
        auto* label = new QLabel(this);
        if (caption)
            lirsk::keepText<RouteReportDialog>(label, "text", caption);
        label->setObjectName(QLatin1String(name));
        label->setFont(msSansSerif(13));
        label->setTextFormat(Qt::PlainText);
        label->move(left, top);
        label->resize(left == 88 ? 120 : 100, 16);
        return label;
    };
    fareCaption = text(88, 16, QT_TR_NOOP("Стоимость пути: "), "fareCaption");
    timeCaption = text(88, 85, QT_TR_NOOP("Время в пути:       "), "timeCaption");
    lengthCaption = text(88, 48, QT_TR_NOOP("Длина пути:           "), "lengthCaption");
    fareLabel = text(208, 16, nullptr, "fareLabel");
    lengthLabel = text(208, 48, nullptr, "lengthLabel");
    timeLabel = text(208, 85, nullptr, "timeLabel");

    ridesGroup = lirsk::keepText<RouteReportDialog>(new QGroupBox(this), "title",
                                                    QT_TR_NOOP("Проезд маршрутами :"));
    ridesGroup->setObjectName(QStringLiteral("ridesGroup"));
    ridesGroup->setGeometry(8, 120, 289, 161);
    auto* boxLayout = new QVBoxLayout(ridesGroup);
    boxLayout->setContentsMargins(6, 4, 6, 4);
    // A long journey scrolls within the box.
    ridesScroll = new QScrollArea(ridesGroup);
    ridesScroll->setObjectName(QStringLiteral("ridesScroll"));
    ridesScroll->setFrameShape(QFrame::NoFrame);
    ridesScroll->setWidgetResizable(true);
    ridesLabel = new QLabel;
    ridesLabel->setObjectName(QStringLiteral("ridesLabel"));
    ridesLabel->setTextFormat(Qt::PlainText);
    ridesLabel->setWordWrap(true);
    ridesLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ridesScroll->setWidget(ridesLabel);
    boxLayout->addWidget(ridesScroll);

    closeButton = new QPushButton(QIcon(CloseGlyph()), QString(), this);
    lirsk::keepText<RouteReportDialog>(closeButton, "text", QT_TR_NOOP("Закрыть"));
    closeButton->setObjectName(QStringLiteral("closeButton"));
    closeButton->setGeometry(208, 288, 91, 25);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
    printButton =
        lirsk::keepText<RouteReportDialog>(new QPushButton(this), "text", QT_TR_NOOP("Печать"));
    printButton->setObjectName(QStringLiteral("printButton"));
    printButton->setGeometry(8, 288, 80, 25);
    pdfButton = lirsk::keepText<RouteReportDialog>(new QPushButton(this), "text",
                                                   QT_TR_NOOP("Экспорт в PDF"));
    pdfButton->setObjectName(QStringLiteral("pdfButton"));
    pdfButton->setGeometry(92, 288, 110, 25);
    const auto journey = [this] {
        return lirsk::JourneyToPrint{m_journeyMap, m_report, windowTitle()};
    };
    connect(printButton, &QPushButton::clicked, this,
            [this, journey] { lirsk::printJourney(this, journey()); });
    connect(pdfButton, &QPushButton::clicked, this,
            [this, journey] { lirsk::exportJourneyPdf(this, journey()); });
    setJourneyMap(nullptr);

    fareImage = picture(4, MoneyPicture(), "fareImage");
    lengthImage = picture(41, RoadPicture(), "lengthImage");
    timeImage = picture(78, ClockPicture(), "timeImage");
}

void RouteReportDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    const QScreen* screen = this->screen();
    if (event->spontaneous() || !screen)
        return;
    const QRect area = screen->availableGeometry();
    QRect placed(area.center() - rect().center(), frameGeometry().size());
    if (!m_keepOff.isEmpty()) {
        // Beside the way on the side with most room: right, left, below, above; on the screen.
        const QSize size = frameGeometry().size();
        const int gap = 12;
        const QPoint centre = m_keepOff.center() - QPoint(size.width() / 2, size.height() / 2);
        const QList<QRect> sides = {
            QRect(QPoint(m_keepOff.right() + gap, centre.y()), size),
            QRect(QPoint(m_keepOff.left() - gap - size.width(), centre.y()), size),
            QRect(QPoint(centre.x(), m_keepOff.bottom() + gap), size),
            QRect(QPoint(centre.x(), m_keepOff.top() - gap - size.height()), size)};
        qint64 leastCovered = -1;
        for (QRect side : sides) {
            side.moveLeft(qBound(area.left(), side.left(), area.right() - size.width()));
            side.moveTop(qBound(area.top(), side.top(), area.bottom() - size.height()));
            const QRect covered = side.intersected(m_keepOff);
            const qint64 coveredArea = qint64(covered.width()) * covered.height();
            if (leastCovered < 0 || coveredArea < leastCovered) {
                leastCovered = coveredArea;
                placed = side;
            }
        }
    }
    move(placed.topLeft());
}

void RouteReportDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    // The rides box and the button follow a frame the user enlarges.
    ridesGroup->setGeometry(8, 120, width() - 22, height() - 190);
    for (QLabel* value : {fareLabel, lengthLabel, timeLabel})
        value->resize(std::max(100, width() - value->x() - 8), value->height());
    closeButton->move(width() - 103, height() - 63);
    printButton->move(8, height() - 63);
    pdfButton->move(92, height() - 63);
}

void RouteReportDialog::setJourneyMap(lirsk::MapDocument* document) {
    m_journeyMap = document;
    printButton->setVisible(document);
    pdfButton->setVisible(document);
}

void RouteReportDialog::ShowReport(const lirsk::RouteReport& report) {
    m_report = report;
    ridesLabel->setText(QString());
    // The rides text separates its lines by carriage returns alone; the label breaks lines at
    // line feeds.
    QString rides = report.ridesText;
    rides.replace(QChar(13), QChar(10));
    ridesLabel->setText(rides);
    fareLabel->setText(report.fareText);
    lengthLabel->setText(report.lengthText);
    timeLabel->setText(report.timeText);
    // A fare longer than its place («стоимость не указана») widens the window.
    const int wanted =
        fareLabel->x() + fareLabel->fontMetrics().horizontalAdvance(report.fareText) + 16;
    if (width() < wanted)
        resize(wanted, height());
    runModal();
}
