#include "app/exportdialog.h"

#include "app/mapprinting.h"
#include "platform/messages.h"
#include "view/mapview.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSpinBox>

#include <cmath>

using namespace lirsk;

namespace {

const char* const kExtensions[] = {"pdf", "svg", "png"};
constexpr ExportFormat kFormats[] = {ExportFormat::Pdf, ExportFormat::Svg, ExportFormat::Png};

} // namespace

MapExportDialog::MapExportDialog(MapView* view, const QString& title, QWidget* parent)
    : QDialog(parent), m_view(view), m_title(title) {
    setWindowTitle(tr("Экспорт карты"));
    setMinimumWidth(520);
    auto* form = new QFormLayout(this);

    m_whole = new QRadioButton(tr("Вся карта"), this);
    m_visible = new QRadioButton(tr("Видимая часть"), this);
    m_whole->setChecked(true);
    auto* area = new QHBoxLayout;
    area->addWidget(m_whole);
    area->addWidget(m_visible);
    form->addRow(tr("Область:"), area);

    m_scale = new QDoubleSpinBox(this);
    m_scale->setRange(5, 800);
    m_scale->setDecimals(0);
    m_scale->setSuffix(QStringLiteral(" %"));
    form->addRow(tr("Масштаб:"), m_scale);

    m_format = new QComboBox(this);
    m_format->addItem(tr("PDF — векторы и текст"));
    m_format->addItem(tr("SVG — векторы и текст"));
    m_format->addItem(tr("PNG — рисунок"));
    form->addRow(tr("Формат:"), m_format);

    m_dpi = new QSpinBox(this);
    m_dpi->setRange(48, 1200);
    m_dpi->setSuffix(tr(" точек на дюйм"));
    form->addRow(tr("Разрешение:"), m_dpi);

    m_size = new QLabel(this);
    form->addRow(tr("Размер:"), m_size);

    m_path = new QLineEdit(this);
    auto* browseButton = new QPushButton(tr("Обзор…"), this);
    auto* file = new QHBoxLayout;
    file->addWidget(m_path);
    file->addWidget(browseButton);
    form->addRow(tr("Файл:"), file);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("Экспортировать"));
    form->addRow(buttons);

    const std::unique_ptr<QSettings> settings = programSettings();
    settings->beginGroup(QStringLiteral("export"));
    m_scale->setValue(settings->value(QStringLiteral("scale"), 100).toDouble());
    m_format->setCurrentIndex(std::clamp(settings->value(QStringLiteral("format")).toInt(), 0, 2));
    m_dpi->setValue(settings->value(QStringLiteral("dpi"), 150).toInt());
    const QString folder = settings->value(QStringLiteral("folder"), QDir::homePath()).toString();
    QString name = title.isEmpty() ? tr("карта") : title;
    name.replace(QRegularExpression(QStringLiteral(R"([\\/:*?"<>|])")), QStringLiteral("_"));
    m_path->setText(QDir(folder).filePath(name + QLatin1Char('.') +
                                          QLatin1String(kExtensions[m_format->currentIndex()])));

    connect(m_whole, &QRadioButton::toggled, this, &MapExportDialog::showSize);
    // The part in view comes at first as large as it shows.
    connect(m_visible, &QRadioButton::toggled, this, [this](bool visible) {
        if (visible)
            m_scale->setValue(std::round(m_view->zoom() * 100));
    });
    connect(m_scale, &QDoubleSpinBox::valueChanged, this, &MapExportDialog::showSize);
    connect(m_dpi, &QSpinBox::valueChanged, this, &MapExportDialog::showSize);
    connect(m_format, &QComboBox::currentIndexChanged, this, &MapExportDialog::formatChosen);
    connect(browseButton, &QPushButton::clicked, this, &MapExportDialog::browse);
    connect(buttons, &QDialogButtonBox::accepted, this, &MapExportDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &MapExportDialog::reject);
    formatChosen();
}

ExportFormat MapExportDialog::format() const {
    return kFormats[std::clamp(m_format->currentIndex(), 0, 2)];
}

MapExport MapExportDialog::chosen() const {
    MapExport what;
    what.area = m_visible->isChecked()
                    ? m_view->visibleMapRect().intersected(QRect(QPoint(0, 0), m_view->mapSize()))
                    : QRect(QPoint(0, 0), m_view->mapSize() + QSize(10, 10));
    what.scale = m_scale->value() / 100;
    what.dpi = format() == ExportFormat::Png ? m_dpi->value() : 96;
    what.title = m_title;
    return what;
}

void MapExportDialog::formatChosen() {
    m_dpi->setEnabled(format() == ExportFormat::Png);
    // The file name follows the format.
    const QFileInfo file(m_path->text());
    const QString extension = QLatin1String(kExtensions[m_format->currentIndex()]);
    if (!m_path->text().isEmpty() && file.suffix().toLower() != extension)
        m_path->setText(
            QDir(file.path()).filePath(file.completeBaseName() + QLatin1Char('.') + extension));
    showSize();
}

void MapExportDialog::showSize() {
    const MapExport what = chosen();
    const QSize size = exportSize(what);
    if (format() == ExportFormat::Png) {
        const double dots = what.dpi / 96.0;
        m_size->setText(tr("%1 × %2 точек")
                            .arg(std::lround(size.width() * dots))
                            .arg(std::lround(size.height() * dots)));
        return;
    }
    m_size->setText(tr("%1 × %2 мм")
                        .arg(std::lround(size.width() * 25.4 / 96))
                        .arg(std::lround(size.height() * 25.4 / 96)));
}

void MapExportDialog::browse() {
    const QString extension = QLatin1String(kExtensions[m_format->currentIndex()]);
    const QString path =
        QFileDialog::getSaveFileName(this, windowTitle(), m_path->text(),
                                     tr("Файлы %1 (*.%2)").arg(extension.toUpper(), extension));
    if (!path.isEmpty())
        m_path->setText(path);
}

void MapExportDialog::accept() {
    QString path = m_path->text().trimmed();
    const QString extension = QLatin1String(kExtensions[m_format->currentIndex()]);
    if (QFileInfo(path).suffix().toLower() != extension)
        path += QLatin1Char('.') + extension;
    QString error;
    if (path.isEmpty() || !exportMap(*m_view, path, chosen(), &error)) {
        showMessage(this,
                    {QMessageBox::Warning, windowTitle(),
                     tr("Не удалось записать %1:\n%2").arg(QDir::toNativeSeparators(path), error),
                     QMessageBox::Ok});
        return;
    }
    const std::unique_ptr<QSettings> settings = programSettings();
    settings->beginGroup(QStringLiteral("export"));
    settings->setValue(QStringLiteral("scale"), m_scale->value());
    settings->setValue(QStringLiteral("format"), m_format->currentIndex());
    settings->setValue(QStringLiteral("dpi"), m_dpi->value());
    settings->setValue(QStringLiteral("folder"), QFileInfo(path).absolutePath());
    QDialog::accept();
}
