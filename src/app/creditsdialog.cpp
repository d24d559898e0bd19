#include "app/creditsdialog.h"

#include "platform/desktop.h"
#include "platform/messages.h"
#include "platform/translatedtext.h"

#include <QLabel>
#include <QPointer>

const QString CreditsDialog::WebAddress = QStringLiteral("https://lirskmap.example.org/");

CreditsDialog::CreditsDialog(QWidget* parent) : QDialog(parent), OpenUrl(lirsk::openDetached) {
    lirsk::keepText<CreditsDialog>(this, "windowTitle", QT_TR_NOOP("Соавторы"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(441, 286);

    headingLabel = lirsk::keepText<CreditsDialog>(
        new QLabel(this), "text",
        QT_TR_NOOP("Выражаю особую благодарность людям помогавшим и поддерживающим меня : "));
    QFont heading(QStringLiteral("Sans Serif"));
    heading.setStyleHint(QFont::SansSerif);
    heading.setPixelSize(13);
    heading.setBold(true);
    headingLabel->setFont(heading);
    headingLabel->setAlignment(Qt::AlignCenter);
    headingLabel->setWordWrap(true);
    headingLabel->setGeometry(16, 16, 409, 48);

    familyThanksLabel = lirsk::keepText<CreditsDialog>(
        new QLabel(this), "text",
        QT_TR_NOOP("Семье и друзьям — за терпение, пока карта рисовалась вечерами."));
    familyThanksLabel->setWordWrap(true);
    familyThanksLabel->setGeometry(24, 88, 393, 40);
    testersThanksLabel = lirsk::keepText<CreditsDialog>(
        new QLabel(this), "text",
        QT_TR_NOOP("Первым пассажирам-испытателям — за найденные ошибки и советы о маршрутах."));
    testersThanksLabel->setWordWrap(true);
    testersThanksLabel->setGeometry(24, 136, 393, 40);

    webLink =
        new QLabel(QStringLiteral("<a href=\"%1\">lirskmap.example.org</a>").arg(WebAddress), this);
    webLink->setTextFormat(Qt::RichText);
    QFont bold = webLink->font();
    bold.setBold(true);
    webLink->setFont(bold);
    QPalette blue = webLink->palette();
    blue.setColor(QPalette::Link, Qt::blue);
    webLink->setPalette(blue);
    webLink->setToolTip(WebAddress);
    webLink->adjustSize();
    webLink->move((width() - webLink->width()) / 2, 208);
    connect(webLink, &QLabel::linkActivated, this, &CreditsDialog::openWebPage);
}

void CreditsDialog::openWebPage() {
    OpenUrl(WebAddress, [dialog = QPointer<CreditsDialog>(this)] {
        if (dialog)
            lirsk::showMessage(dialog, {QMessageBox::Warning, dialog->windowTitle(),
                                        tr("Не удалось открыть адрес %1: на компьютере не найден "
                                           "обозреватель.")
                                            .arg(WebAddress),
                                        QMessageBox::Ok});
    });
}
