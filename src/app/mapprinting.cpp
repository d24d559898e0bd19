#include "app/mapprinting.h"

#include "app/exportdialog.h"
#include "app/mainwindow.h"
#include "app/mapwindow.h"
#include "platform/translatedtext.h"
#include "view/mapview.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QStandardPaths>
#include <QVBoxLayout>

#include <cmath>

using namespace lirsk;

namespace {

constexpr double kScreenDpi = 96;
constexpr double kMmPerInch = 25.4;

// The title line over each page, in screen pixels.
constexpr double kHeaderHeight = 22;

// The map window's title without the mark of unsaved changes.
QString mapTitle(MapWindow* window) {
    QString title = window->windowTitle();
    title.remove(QStringLiteral("[*]"));
    // A map opened from a file is titled by its path: its name reads better on paper.
    if (title.contains(QLatin1Char('/')))
        title = QFileInfo(title).completeBaseName();
    return title.trimmed();
}

} // namespace

std::unique_ptr<QSettings> programSettings() {
    return std::make_unique<QSettings>(
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
            QStringLiteral("/lirskmap.conf"),
        QSettings::IniFormat);
}

void addMapOutputActions(MainWindow* frame, QMenu* menu) {
    QAction* exportAction = menu->addAction(QString());
    exportAction->setObjectName(QStringLiteral("acExport"));
    lirsk::setTranslatedText(exportAction, "text", "MapPrint",
                             QT_TRANSLATE_NOOP("MapPrint", "Экспорт…"));
    lirsk::setTranslatedText(
        exportAction, "statusTip", "MapPrint",
        QT_TRANSLATE_NOOP("MapPrint", "Сохранить карту как SVG, PDF или рисунок PNG"));
    QAction* printAction = menu->addAction(QString());
    printAction->setObjectName(QStringLiteral("acPrint"));
    printAction->setShortcut(QKeySequence::Print);
    lirsk::setTranslatedText(printAction, "text", "MapPrint",
                             QT_TRANSLATE_NOOP("MapPrint", "Печать…"));
    lirsk::setTranslatedText(printAction, "statusTip", "MapPrint",
                             QT_TRANSLATE_NOOP("MapPrint", "Напечатать карту"));
    // Only with a map open.
    QObject::connect(menu, &QMenu::aboutToShow, frame, [frame, exportAction, printAction] {
        const bool open = frame->currentMapWindow() != nullptr;
        exportAction->setEnabled(open);
        printAction->setEnabled(open);
    });
    QObject::connect(exportAction, &QAction::triggered, frame, [frame] {
        if (MapWindow* window = frame->currentMapWindow()) {
            MapExportDialog dialog(window->view(), mapTitle(window), frame);
            frame->programDialogs().run(dialog);
        }
    });
    QObject::connect(printAction, &QAction::triggered, frame, [frame] {
        if (MapWindow* window = frame->currentMapWindow()) {
            MapPrintDialog dialog(window->view(), mapTitle(window), frame);
            frame->programDialogs().run(dialog);
        }
    });
}

std::vector<MapSheet> mapSheets(const MapPrint& print, const QSizeF& room) {
    if (print.fit || print.area.isEmpty() || room.isEmpty() || print.scale <= 0)
        return {MapSheet{QRectF(print.area), 0, 0}};
    // A page shows this much of the map; the next one starts an overlap before its end.
    const QSizeF shown = room / print.scale;
    const double overlap = std::min(print.overlapMm / kMmPerInch * kScreenDpi / print.scale,
                                    std::min(shown.width(), shown.height()) / 2);
    const double stepX = shown.width() - overlap, stepY = shown.height() - overlap;
    const auto count = [overlap](double whole, double step) {
        return std::max(1, int(std::ceil((whole - overlap) / step - 1e-9)));
    };
    // At most a thousand pages, however small the scale asked.
    const int columns = std::min(count(print.area.width(), stepX), 1000);
    const int rows = std::min(count(print.area.height(), stepY), 1000 / columns);
    std::vector<MapSheet> sheets;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            sheets.push_back({QRectF(print.area.left() + column * stepX,
                                     print.area.top() + row * stepY, shown.width(), shown.height()),
                              row, column});
    return sheets;
}

QString sheetLabel(const MapSheet& sheet) {
    //: The letters that name the rows of printed sheets, in their order.
    const QString letters = QCoreApplication::translate("MapPrint", "АБВГДЕЖИКЛМНОПРСТУФХЦЧШЭЮЯ");
    QString row;
    for (int n = sheet.row + 1; n > 0; n = (n - 1) / int(letters.size()))
        row.prepend(letters[(n - 1) % letters.size()]);
    return row + QString::number(sheet.column + 1);
}

void printMap(QPagedPaintDevice& device, MapView& view, const MapPrint& print) {
    QPainter painter(&device);
    if (!painter.isActive())
        return;
    // The painter's unit a pixel of the screen, as the map view draws.
    const double dots = device.logicalDpiX() / kScreenDpi;
    painter.scale(dots, dots);
    const QSizeF page = QSizeF(device.width(), device.height()) / dots;
    const QSizeF room(page.width(), page.height() - kHeaderHeight);
    const std::vector<MapSheet> sheets = mapSheets(print, room);
    QFont header = painter.font();
    header.setPixelSize(12);
    for (std::size_t n = 0; n < sheets.size(); ++n) {
        const MapSheet& sheet = sheets[n];
        if (n > 0)
            device.newPage();
        painter.setFont(header);
        painter.setPen(Qt::black);
        const QString label =
            sheets.size() == 1 ? print.title
                               : QCoreApplication::translate("MapPrint", "%1 — лист %2 (%3 из %4)")
                                     .arg(print.title, sheetLabel(sheet))
                                     .arg(n + 1)
                                     .arg(sheets.size());
        painter.drawText(QRectF(0, 0, page.width(), kHeaderHeight - 4),
                         Qt::AlignLeft | Qt::AlignVCenter, label);
        const double zoom = print.fit ? std::min(room.width() / sheet.mapRect.width(),
                                                 room.height() / sheet.mapRect.height())
                                      : print.scale;
        const QRect area = sheet.mapRect.toAlignedRect();
        painter.save();
        // A fitted map stands in the middle of the page's width.
        painter.translate(print.fit ? (room.width() - area.width() * zoom) / 2 : 0, kHeaderHeight);
        view.paintMapAt(painter, area, zoom);
        painter.restore();
    }
}

MapPrintDialog::MapPrintDialog(MapView* view, const QString& title, QWidget* parent)
    : QDialog(parent), m_view(view), m_title(title),
      m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    setWindowTitle(QCoreApplication::translate("MapPrint", "Печать карты"));
    const std::unique_ptr<QSettings> settings = programSettings();
    settings->beginGroup(QStringLiteral("print"));
    const QPageSize size(QPageSize::PageSizeId(
        settings->value(QStringLiteral("pageSize"), int(QPageSize::A4)).toInt()));
    const auto orientation = QPageLayout::Orientation(
        settings->value(QStringLiteral("orientation"), int(QPageLayout::Landscape)).toInt());
    // The margins in millimetres: left, top, right, bottom.
    const QVariantList kept = settings->value(QStringLiteral("margins")).toList();
    const QMarginsF margins = kept.size() == 4 ? QMarginsF(kept[0].toDouble(), kept[1].toDouble(),
                                                           kept[2].toDouble(), kept[3].toDouble())
                                               : QMarginsF(10, 10, 10, 10);
    m_printer->setPageLayout(QPageLayout(size, orientation, margins, QPageLayout::Millimeter));

    m_layout = new QComboBox(this);
    m_layout->addItem(QCoreApplication::translate("MapPrint", "По размеру страницы"));
    m_layout->addItem(QCoreApplication::translate("MapPrint", "На нескольких листах"));
    m_layout->setCurrentIndex(settings->value(QStringLiteral("pages"), 0).toInt() == 1 ? 1 : 0);
    m_scale = new QSpinBox(this);
    m_scale->setRange(5, 800);
    m_scale->setSuffix(QStringLiteral(" %"));
    m_scale->setValue(settings->value(QStringLiteral("scale"), 100).toInt());
    m_visibleOnly =
        new QCheckBox(QCoreApplication::translate("MapPrint", "Только видимая часть"), this);
    auto* setup =
        new QPushButton(QCoreApplication::translate("MapPrint", "Параметры страницы…"), this);
    auto* printButton = new QPushButton(QCoreApplication::translate("MapPrint", "Печать…"), this);
    auto* close = new QPushButton(QCoreApplication::translate("MapPrint", "Закрыть"), this);
    m_preview = new QPrintPreviewWidget(m_printer.get(), this);
    m_preview->setZoomMode(QPrintPreviewWidget::FitInView);

    auto* bar = new QHBoxLayout;
    bar->addWidget(m_layout);
    bar->addWidget(new QLabel(QCoreApplication::translate("MapPrint", "Масштаб:"), this));
    bar->addWidget(m_scale);
    bar->addWidget(m_visibleOnly);
    bar->addStretch();
    bar->addWidget(setup);
    bar->addWidget(printButton);
    bar->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_preview, 1);
    resize(900, 700);

    m_scale->setEnabled(m_layout->currentIndex() == 1);
    connect(m_preview, &QPrintPreviewWidget::paintRequested, this,
            [this](QPrinter* printer) { printMap(*printer, *m_view, chosen()); });
    connect(m_layout, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_scale->setEnabled(index == 1);
        m_preview->updatePreview();
    });
    connect(m_scale, &QSpinBox::valueChanged, m_preview, &QPrintPreviewWidget::updatePreview);
    connect(m_visibleOnly, &QCheckBox::toggled, m_preview, &QPrintPreviewWidget::updatePreview);
    connect(setup, &QPushButton::clicked, this, &MapPrintDialog::pageSetup);
    connect(printButton, &QPushButton::clicked, this, &MapPrintDialog::print);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

MapPrintDialog::~MapPrintDialog() {
    rememberPage();
    // The preview goes before the printer it shows.
    delete m_preview;
}

MapPrint MapPrintDialog::chosen() const {
    MapPrint print;
    const QRect whole(QPoint(0, 0), m_view->mapSize() + QSize(10, 10));
    print.area = m_visibleOnly->isChecked() ? m_view->visibleMapRect().intersected(whole) : whole;
    print.fit = m_layout->currentIndex() == 0;
    print.scale = m_scale->value() / 100.0;
    print.title = m_title;
    return print;
}

void MapPrintDialog::pageSetup() {
    QPageSetupDialog dialog(m_printer.get(), this);
    if (dialog.exec() == QDialog::Accepted)
        m_preview->updatePreview();
}

void MapPrintDialog::print() {
    QPrintDialog dialog(m_printer.get(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    printMap(*m_printer, *m_view, chosen());
    accept();
}

void MapPrintDialog::rememberPage() const {
    const std::unique_ptr<QSettings> settings = programSettings();
    settings->beginGroup(QStringLiteral("print"));
    const QPageLayout page = m_printer->pageLayout();
    settings->setValue(QStringLiteral("pageSize"), int(page.pageSize().id()));
    settings->setValue(QStringLiteral("orientation"), int(page.orientation()));
    const QMarginsF margins = page.margins(QPageLayout::Millimeter);
    settings->setValue(QStringLiteral("margins"), QVariantList{margins.left(), margins.top(),
                                                               margins.right(), margins.bottom()});
    settings->setValue(QStringLiteral("pages"), m_layout->currentIndex());
    settings->setValue(QStringLiteral("scale"), m_scale->value());
}
