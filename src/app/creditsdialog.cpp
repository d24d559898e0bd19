#include "app/creditsdialog.h"

#include "platform/desktop.h"
#include "platform/messages.h"

#include <QMouseEvent>

const QString CreditsDialog::WebAddress = QStringLiteral("https://lirskmap.example.org/");

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    QFont font = this->font();
    font.setBold(true);
    font.setUnderline(true);
    setFont(font);
    QPalette blue = palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    setPalette(blue);
    setCursor(Qt::PointingHandCursor);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

CreditsDialog::CreditsDialog(QWidget* parent) : QDialog(parent), OpenUrl(lirsk::openDetached) {
    setWindowTitle(QStringLiteral("Соавторы"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(441, 286);

    Label1 = new QLabel(
        QStringLiteral("Выражаю особую благодарность людям помогавшим и поддерживающим меня : "),
        this);
    QFont heading(QStringLiteral("Sans Serif"));
    heading.setStyleHint(QFont::SansSerif);
    heading.setPixelSize(13);
    heading.setBold(true);
    Label1->setFont(heading);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setWordWrap(true);
    Label1->setGeometry(16, 16, 409, 48);

    Label2 = new QLabel(
        QStringLiteral("Семье и друзьям — за терпение, пока карта рисовалась вечерами."), this);
    Label2->setWordWrap(true);
    Label2->setGeometry(24, 88, 393, 40);
    Label3 = new QLabel(QStringLiteral("Первым пассажирам-испытателям — за найденные ошибки и "
                                       "советы о маршрутах."),
                        this);
    Label3->setWordWrap(true);
    Label3->setGeometry(24, 136, 393, 40);

    Label4 = new LinkLabel(QStringLiteral("lirskmap.example.org"), this);
    Label4->setToolTip(WebAddress);
    Label4->adjustSize();
    Label4->move((width() - Label4->width()) / 2, 208);
    connect(Label4, &LinkLabel::clicked, this, &CreditsDialog::Label4Click);
}

void CreditsDialog::Label4Click() {
    if (!OpenUrl(WebAddress))
        lirsk::showMessage(this, {QMessageBox::Warning, windowTitle(),
                                  QStringLiteral("Не удалось открыть адрес %1: на компьютере "
                                                 "не найден обозреватель.")
                                      .arg(WebAddress),
                                  QMessageBox::Ok});
}
