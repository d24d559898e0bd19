#include "app/aboutdialog.h"

#include <QLabel>
#include <QVBoxLayout>

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("О программе"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(313, 216);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(QStringLiteral("Карта Лирска"), this);
    QFont big = title->font();
    big.setPixelSize(20);
    big.setBold(true);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);
    auto* text =
        new QLabel(QStringLiteral("Поиск оптимального пути\nпо картам городского транспорта\n\n"
                                  "Автор: команда lirskmap\n"
                                  "Почта: lirskmap@example.org\n"
                                  "Сайт: lirskmap.example.org"),
                   this);
    text->setAlignment(Qt::AlignCenter);
    text->setWordWrap(true);
    layout->addWidget(text);
}
