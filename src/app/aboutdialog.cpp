#include "app/aboutdialog.h"

#include "platform/translatedtext.h"

#include <QLabel>
#include <QVBoxLayout>

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    lirsk::keepText<AboutDialog>(this, "windowTitle", QT_TR_NOOP("О программе"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(313, 216);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    auto* layout = new QVBoxLayout(this);
    auto* title =
        lirsk::keepText<AboutDialog>(new QLabel(this), "text", QT_TR_NOOP("Карта Лирска"));
    QFont big = title->font();
    big.setPixelSize(20);
    big.setBold(true);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);
    auto* text = lirsk::keepText<AboutDialog>(
        new QLabel(this), "text",
        QT_TR_NOOP("Поиск оптимального пути\nпо картам городского транспорта\n\n"
                   "Автор: команда lirskmap\n"
                   "Почта: lirskmap@example.org\n"
                   "Сайт: lirskmap.example.org"));
    text->setAlignment(Qt::AlignCenter);
    text->setWordWrap(true);
    layout->addWidget(text);
}
