#include "edit/stoproutespopup.h"

#include "platform/fonts.h"
#include "platform/translatedtext.h"

#include <QFrame>
#include <QLabel>

namespace {

QFont msSansSerif(int pixels, bool bold) {
    QFont font(lirsk::mapFontFace(QStringLiteral("MS Sans Serif")));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

} // namespace

StopRoutesPopup::StopRoutesPopup(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setObjectName(QStringLiteral("stopRoutesPopup"));
    lirsk::keepText<StopRoutesPopup>(this, "windowTitle", QT_TR_NOOP("Маршруты"));
    setFixedSize(182, 206);
    setFont(msSansSerif(11, false));

    stopCaption =
        lirsk::keepText<StopRoutesPopup>(new QLabel(this), "text", QT_TR_NOOP("Остановка:"));
    stopCaption->move(56, 8);
    stopNameLabel = new QLabel(this);
    stopNameLabel->setObjectName(QStringLiteral("stopNameLabel"));
    stopNameLabel->setGeometry(17, 24, 165, 18);
    stopNameLabel->setTextFormat(Qt::PlainText);
    stopNameLabel->setFont(msSansSerif(13, true));
    QPalette maroon = stopNameLabel->palette();
    maroon.setColor(QPalette::WindowText, QColor(0x80, 0, 0));
    stopNameLabel->setPalette(maroon);

    routesPanel = new QFrame(this);
    routesPanel->setFrameShape(QFrame::StyledPanel);
    routesPanel->setGeometry(0, 48, 185, 161);
    routesLabel = new QLabel(routesPanel);
    routesLabel->setObjectName(QStringLiteral("routesLabel"));
    routesLabel->setGeometry(8, 8, 169, 145);
    routesLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    routesLabel->setTextFormat(Qt::PlainText);
    routesLabel->setWordWrap(true);
}

void StopRoutesPopup::ShowStop(const QString& name, const QString& routes) {
    stopNameLabel->setText(name);
    QString text;
    for (const QString& piece : routes.split(QLatin1Char(' ')))
        text += piece + QLatin1Char(' ');
    routesLabel->setText(text);
}

void StopRoutesPopup::PlaceBy(const QPoint& cursor, const QSize& screen) {
    const QSize size = frameGeometry().size();
    const int left = screen.width() - cursor.x() - 10 < size.width()
                         ? cursor.x() - size.width() - 10
                         : cursor.x() + 10;
    const int top = screen.height() - cursor.y() - 10 < size.height()
                        ? cursor.y() - size.height() - 10
                        : cursor.y() + 10;
    move(left, top);
}
