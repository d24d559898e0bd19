#include "edit/stoproutespopup.h"

#include "edit/modal.h"
#include "platform/fonts.h"

#include <QFrame>
#include <QLabel>

namespace {

lirsk::SingleWindow<StopRoutesPopup>& instance() {
    static lirsk::SingleWindow<StopRoutesPopup> window;
    return window;
}

QFont msSansSerif(int pixels, bool bold) {
    QFont font(lirsk::mapFontFace(QStringLiteral("MS Sans Serif")));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

} // namespace

StopRoutesPopup::StopRoutesPopup(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setObjectName(QStringLiteral("Marsh"));
    setWindowTitle(QStringLiteral("Маршруты"));
    setFixedSize(182, 206);
    setFont(msSansSerif(11, false));

    Label1 = new QLabel(QStringLiteral("Остановка:"), this);
    Label1->move(56, 8);
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(17, 24, 165, 18);
    Label2->setTextFormat(Qt::PlainText);
    Label2->setFont(msSansSerif(13, true));
    QPalette maroon = Label2->palette();
    maroon.setColor(QPalette::WindowText, QColor(0x80, 0, 0));
    Label2->setPalette(maroon);

    Panel1 = new QFrame(this);
    Panel1->setFrameShape(QFrame::StyledPanel);
    Panel1->setGeometry(0, 48, 185, 161);
    Label3 = new QLabel(Panel1);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setGeometry(8, 8, 169, 145);
    Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label3->setTextFormat(Qt::PlainText);
    Label3->setWordWrap(true);
}

void StopRoutesPopup::ShowStop(const QString& name, const QString& routes) {
    Label2->setText(name);
    QString text;
    for (const QString& piece : routes.split(QLatin1Char(' ')))
        text += piece + QLatin1Char(' ');
    Label3->setText(text);
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

StopRoutesPopup* stopRoutesPopup() {
    return instance().get();
}

StopRoutesPopup* createStopRoutesPopup(QWidget* owner) {
    return instance().create(owner);
}
