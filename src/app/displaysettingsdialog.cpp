#include "app/displaysettingsdialog.h"

#include "model/numberformat.h"
#include "platform/colours.h"
#include "platform/fonts.h"
#include "platform/translatedtext.h"
#include "view/maprenderer.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kPreviewCentre = 90;
constexpr int kPreviewHalfLength = 50;

lirsk::Colour fromQColor(const QColor& colour) {
    return lirsk::Colour(colour.red()) | lirsk::Colour(colour.green()) << 8 |
           lirsk::Colour(colour.blue()) << 16;
}

// A captioned box of radio buttons in one group; each button's id is its place in the list.
QButtonGroup* addRadioGroup(QWidget* parent, const char* caption,
                            std::initializer_list<const char*> items, const QRect& geometry) {
    auto* box = lirsk::keepText<DisplaySettingsDialog>(new QGroupBox(parent), "title", caption);
    box->setGeometry(geometry);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(8, 2, 4, 2);
    layout->setSpacing(0);
    auto* group = new QButtonGroup(box);
    for (const char* item : items) {
        auto* button = lirsk::keepText<DisplaySettingsDialog>(new QRadioButton(box), "text", item);
        group->addButton(button, int(group->buttons().size()));
        layout->addWidget(button);
    }
    layout->addStretch(1);
    return group;
}

// Checks the button with an id; an id past the last button checks the last one, a negative id
// none.
void checkButton(QButtonGroup* group, int id) {
    id = std::min(id, int(group->buttons().size()) - 1);
    if (QAbstractButton* button = group->button(id)) {
        button->setChecked(true);
        return;
    }
    // An exclusive group does not let go of its checked button otherwise.
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons())
        button->setChecked(false);
    group->setExclusive(true);
}

} // namespace

// --- ColourButton ---------------------------------------------------------------------------

ColourButton::ColourButton(QWidget* parent) : QToolButton(parent) {}

void ColourButton::SetColour(lirsk::Colour colour) {
    colour_ = colour;
    update();
}

void ColourButton::paintEvent(QPaintEvent* event) {
    QToolButton::paintEvent(event);
    QPainter painter(this);
    const QRect swatch = rect().adjusted(4, 4, -5, -5);
    painter.setPen(palette().color(QPalette::Shadow));
    painter.setBrush(lirsk::toQColor(colour_));
    painter.drawRect(swatch);
}

// --- ArrowPreview ---------------------------------------------------------------------------

ArrowPreview::ArrowPreview(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ArrowPreview::ShowArrow(const lirsk::DisplaySettings& settings, double turn) {
    settings_ = settings;
    turn_ = turn;
    update();
}

void ArrowPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const QColor colour = lirsk::toQColor(settings_.ArcColor);
    painter.setPen(QPen(colour, settings_.ArcWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(colour);
    const int dx = lirsk::roundHalfEven(std::cos(turn_) * kPreviewHalfLength);
    const int dy = lirsk::roundHalfEven(std::sin(turn_) * kPreviewHalfLength);
    lirsk::DrawStraightArc(painter, dx + kPreviewCentre, dy + kPreviewCentre, kPreviewCentre - dx,
                           kPreviewCentre - dy, 0, settings_.ArrowType, settings_.ArrowSize,
                           settings_.ArrowAngle);
}

// --- DisplaySettingsDialog ------------------------------------------------------------------

DisplaySettingsDialog::DisplaySettingsDialog(QWidget* parent) : QDialog(parent) {
    lirsk::keepText<DisplaySettingsDialog>(this, "windowTitle", QT_TR_NOOP("Настройки параметров"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(513, 185);
    setFont(lirsk::toQFont(lirsk::FontSpec{}));

    weightsGroup = addRadioGroup(this, QT_TR_NOOP("Веса дуг"),
                                 {QT_TR_NOOP("Пользователя"), QT_TR_NOOP("Автоматически")},
                                 QRect(0, 0, 119, 54));
    showWeightsCheck = lirsk::keepText<DisplaySettingsDialog>(new QCheckBox(this), "text",
                                                              QT_TR_NOOP("Показывать веса"));
    showWeightsCheck->setGeometry(0, 56, 119, 17);
    autoArcColourCheck = lirsk::keepText<DisplaySettingsDialog>(new QCheckBox(this), "text",
                                                                QT_TR_NOOP("Авто цвет дуг"));
    autoArcColourCheck->setGeometry(0, 80, 119, 17);
    (lirsk::keepText<DisplaySettingsDialog>(new QLabel(this), "text", QT_TR_NOOP("Цвет дуг:")))
        ->move(0, 112);
    arcColourButton = new ColourButton(this);
    arcColourButton->setGeometry(76, 101, 41, 25);
    (lirsk::keepText<DisplaySettingsDialog>(new QLabel(this), "text", QT_TR_NOOP("Цвет дерева:")))
        ->move(0, 139);
    treeColourButton = new ColourButton(this);
    treeColourButton->setGeometry(76, 130, 41, 25);
    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setGeometry(0, 160, 113, 25);
    okButton->setDefault(true);

    auto* drawing = lirsk::keepText<DisplaySettingsDialog>(new QGroupBox(this), "title",
                                                           QT_TR_NOOP("Настройка изображений"));
    drawing->setGeometry(120, 0, 393, 185);
    auto addSpin = [drawing](const char* caption, int top) {
        lirsk::keepText<DisplaySettingsDialog>(new QLabel(drawing), "text", caption)
            ->move(8, top + 8);
        auto* spin = new QSpinBox(drawing);
        spin->setRange(1, 32767);
        spin->setGeometry(104, top, 85, 22);
        return spin;
    };
    lineWidthSpin = addSpin(QT_TR_NOOP("Толщина дуги:"), 16);
    arrowSizeSpin = addSpin(QT_TR_NOOP("Размер стрелки:"), 40);
    arrowAngleSpin = addSpin(QT_TR_NOOP("Угол стрелки:"), 64);
    arrowTypeGroup = addRadioGroup(
        drawing, QT_TR_NOOP("Вид стрелки"),
        {QT_TR_NOOP("Ушастая"), QT_TR_NOOP("Треугольная не закрашенная")}, QRect(3, 88, 196, 94));
    auto* previewPanel = new QFrame(drawing);
    previewPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    previewPanel->setGeometry(200, 8, 190, 174);
    arrowPreview = new ArrowPreview(previewPanel);
    arrowPreview->setGeometry(1, 1, 188, 172);

    turnTimer = new QTimer(this);
    turnTimer->setInterval(50);

    AskColour = [this](const QColor& initial) -> std::optional<QColor> {
        const QColor chosen = QColorDialog::getColor(initial, this);
        if (!chosen.isValid())
            return std::nullopt;
        return chosen;
    };

    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(turnTimer, &QTimer::timeout, this, &DisplaySettingsDialog::turnPreview);
    connect(arcColourButton, &QToolButton::clicked, this, [this] { pickColour(arcColourButton); });
    connect(treeColourButton, &QToolButton::clicked, this,
            [this] { pickColour(treeColourButton); });
}

bool DisplaySettingsDialog::EditSettings(lirsk::DisplaySettings& settings) {
    arcColourButton->SetColour(settings.ArcColor);
    treeColourButton->SetColour(settings.TreeColor);
    checkButton(weightsGroup, settings.UserWeights ? 0 : 1);
    showWeightsCheck->setChecked(settings.ShowWeights);
    autoArcColourCheck->setChecked(settings.AutoArcColor);
    arrowSizeSpin->setValue(settings.ArrowSize);
    lineWidthSpin->setValue(settings.ArcWidth);
    arrowAngleSpin->setValue(lirsk::roundHalfEven(settings.ArrowAngle * 10));
    checkButton(arrowTypeGroup, settings.ArrowType);

    if (exec() != QDialog::Accepted)
        return false;
    settings = editedSettings();
    return true;
}

lirsk::DisplaySettings DisplaySettingsDialog::editedSettings() const {
    lirsk::DisplaySettings settings;
    settings.ArcColor = arcColourButton->Colour();
    settings.TreeColor = treeColourButton->Colour();
    settings.UserWeights = weightsGroup->checkedId() == 0;
    settings.ShowWeights = showWeightsCheck->isChecked();
    settings.AutoArcColor = autoArcColourCheck->isChecked();
    settings.ArrowSize = arrowSizeSpin->value();
    settings.ArcWidth = lineWidthSpin->value();
    settings.ArrowAngle = arrowAngleSpin->value() / 10.0;
    settings.ArrowType = arrowTypeGroup->checkedId();
    return settings;
}

void DisplaySettingsDialog::showEvent(QShowEvent* event) {
    PreviewAngle = 0;
    turnTimer->start();
    QDialog::showEvent(event);
}

void DisplaySettingsDialog::hideEvent(QHideEvent* event) {
    turnTimer->stop();
    QDialog::hideEvent(event);
}

void DisplaySettingsDialog::turnPreview() {
    PreviewAngle += 0.1;
    arrowPreview->ShowArrow(editedSettings(), PreviewAngle);
}

void DisplaySettingsDialog::pickColour(ColourButton* button) {
    if (const std::optional<QColor> chosen = AskColour(lirsk::toQColor(button->Colour())))
        button->SetColour(fromQColor(*chosen));
}
