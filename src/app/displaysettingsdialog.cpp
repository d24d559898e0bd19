#include "app/displaysettingsdialog.h"

#include "model/numberformat.h"
#include "platform/colours.h"
#include "platform/fonts.h"
#include "view/maprenderer.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
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

} // namespace

// --- ColourSwatch ---------------------------------------------------------------------------

ColourSwatch::ColourSwatch(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setAutoFillBackground(true);
    setCursor(Qt::PointingHandCursor);
}

void ColourSwatch::SetColour(lirsk::Colour colour) {
    colour_ = colour;
    QPalette p = palette();
    p.setColor(QPalette::Window, lirsk::toQColor(colour));
    setPalette(p);
}

void ColourSwatch::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QFrame::mouseReleaseEvent(event);
}

// --- TRadioGroup ----------------------------------------------------------------------------

TRadioGroup::TRadioGroup(const QString& caption, const QStringList& items, QWidget* parent)
    : QGroupBox(caption, parent), group_(new QButtonGroup(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 2, 4, 2);
    layout->setSpacing(0);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        group_->addButton(button, i);
        layout->addWidget(button);
    }
    layout->addStretch(1);
}

int TRadioGroup::ItemIndex() const {
    return group_->checkedId();
}

void TRadioGroup::SetItemIndex(int index) {
    // An index past the last item chooses the last one; a negative index chooses none.
    index = std::min(index, int(group_->buttons().size()) - 1);
    if (QAbstractButton* button = group_->button(index)) {
        button->setChecked(true);
        return;
    }
    // An exclusive group does not let go of its checked button otherwise.
    group_->setExclusive(false);
    for (QAbstractButton* button : group_->buttons())
        button->setChecked(false);
    group_->setExclusive(true);
}

QList<QAbstractButton*> TRadioGroup::Items() const {
    return group_->buttons();
}

// --- TSpinEdit ------------------------------------------------------------------------------

TSpinEdit::TSpinEdit(QWidget* parent) : QSpinBox(parent) {
    setRange(kMin, kMax);
}

int TSpinEdit::Value() const {
    bool ok = false;
    const qlonglong number = cleanText().trimmed().toLongLong(&ok);
    if (!ok)
        return kMin;
    return int(std::clamp<qlonglong>(number, kMin, kMax));
}

QValidator::State TSpinEdit::validate(QString& input, int&) const {
    const QString text = input.trimmed();
    if (text.isEmpty() || text == QLatin1String("-") || text == QLatin1String("+"))
        return QValidator::Intermediate;
    bool ok = false;
    const int number = text.toInt(&ok);
    if (!ok)
        return QValidator::Invalid;
    return number >= kMin && number <= kMax ? QValidator::Acceptable : QValidator::Intermediate;
}

void TSpinEdit::fixup(QString& input) const {
    bool ok = false;
    const int number = input.trimmed().toInt(&ok);
    input = QString::number(ok ? std::clamp(number, kMin, kMax) : kMin);
}

// --- TPaintBox ------------------------------------------------------------------------------

TPaintBox::TPaintBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPaintBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.drawImage(0, 0, canvas_);
}

// --- DisplaySettingsDialog
// --------------------------------------------------------------------------

DisplaySettingsDialog::DisplaySettingsDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Настройки параметров"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(513, 185);
    setFont(lirsk::toQFont(lirsk::FontSpec{}));

    RGArcWeight =
        new TRadioGroup(QStringLiteral("Веса дуг"),
                        {QStringLiteral("Пользователя"), QStringLiteral("Автоматически")}, this);
    RGArcWeight->setGeometry(0, 0, 119, 54);
    ChBShowWeight = new QCheckBox(QStringLiteral("Показывать веса"), this);
    ChBShowWeight->setGeometry(0, 56, 119, 17);
    ChBAutoArcColor = new QCheckBox(QStringLiteral("Авто цвет дуг"), this);
    ChBAutoArcColor->setGeometry(0, 80, 119, 17);
    (new QLabel(QStringLiteral("Цвет дуг:"), this))->move(0, 112);
    PArcColor = new ColourSwatch(this);
    PArcColor->setGeometry(76, 101, 41, 25);
    (new QLabel(QStringLiteral("Цвет дерева:"), this))->move(0, 139);
    PTreeColor = new ColourSwatch(this);
    PTreeColor->setGeometry(76, 130, 41, 25);
    BtnOK = new QPushButton(QStringLiteral("OK"), this);
    BtnOK->setGeometry(0, 160, 113, 25);
    BtnOK->setDefault(true);

    GroupBox1 = new QGroupBox(QStringLiteral("Настройка изображений"), this);
    GroupBox1->setGeometry(120, 0, 393, 185);
    auto addSpin = [this](const QString& caption, int top) {
        (new QLabel(caption, GroupBox1))->move(8, top + 8);
        auto* spin = new TSpinEdit(GroupBox1);
        spin->setGeometry(104, top, 85, 22);
        return spin;
    };
    SEWidth = addSpin(QStringLiteral("Толщина дуги:"), 16);
    SESize = addSpin(QStringLiteral("Размер стрелки:"), 40);
    SEAngel = addSpin(QStringLiteral("Угол стрелки:"), 64);
    RGArcType = new TRadioGroup(
        QStringLiteral("Вид стрелки"),
        {QStringLiteral("Ушастая"), QStringLiteral("Треугольная не закрашенная")}, GroupBox1);
    RGArcType->setGeometry(3, 88, 196, 94);
    auto* previewPanel = new QFrame(GroupBox1);
    previewPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    previewPanel->setGeometry(200, 8, 190, 174);
    PBArrow = new TPaintBox(previewPanel);
    PBArrow->setGeometry(1, 1, 188, 172);
    PBArrow->Canvas() = QImage(188, 172, QImage::Format_RGB32);
    PBArrow->Canvas().fill(Qt::white);

    Timer1 = new QTimer(this);
    Timer1->setInterval(50);

    AskColour = [this](const QColor& initial) -> std::optional<QColor> {
        const QColor chosen = QColorDialog::getColor(initial, this);
        if (!chosen.isValid())
            return std::nullopt;
        return chosen;
    };

    connect(BtnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(Timer1, &QTimer::timeout, this, &DisplaySettingsDialog::Timer1Timer);
    connect(PArcColor, &ColourSwatch::clicked, this, &DisplaySettingsDialog::PArcColorClick);
    connect(PTreeColor, &ColourSwatch::clicked, this, &DisplaySettingsDialog::PTreeColorClick);
}

bool DisplaySettingsDialog::EditSettings(SettingsArray& settings) {
    PArcColor->SetColour(settings.ArcColor);
    PTreeColor->SetColour(settings.TreeColor);
    RGArcWeight->SetItemIndex(settings.UserWeights ? 0 : 1);
    ChBShowWeight->setChecked(settings.ShowWeights);
    ChBAutoArcColor->setChecked(settings.AutoArcColor);
    SESize->setValue(settings.ArrowSize);
    SEWidth->setValue(settings.ArcWidth);
    SEAngel->setValue(lirsk::roundHalfEven(settings.ArrowAngle * 10));
    RGArcType->SetItemIndex(settings.ArrowType);

    if (exec() != QDialog::Accepted)
        return false;
    settings.ArcColor = PArcColor->Colour();
    settings.TreeColor = PTreeColor->Colour();
    settings.UserWeights = RGArcWeight->ItemIndex() == 0;
    settings.ShowWeights = ChBShowWeight->isChecked();
    settings.AutoArcColor = ChBAutoArcColor->isChecked();
    settings.ArrowSize = SESize->Value();
    settings.ArcWidth = SEWidth->Value();
    settings.ArrowAngle = SEAngel->Value() / 10.0;
    settings.ArrowType = RGArcType->ItemIndex();
    return true;
}

void DisplaySettingsDialog::showEvent(QShowEvent* event) {
    PreviewAngle = 0;
    Timer1->start();
    QDialog::showEvent(event);
}

void DisplaySettingsDialog::hideEvent(QHideEvent* event) {
    Timer1->stop();
    QDialog::hideEvent(event);
}

void DisplaySettingsDialog::Timer1Timer() {
    QImage& canvas = PBArrow->Canvas();
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    const QColor colour = lirsk::toQColor(PArcColor->Colour());
    painter.setPen(QPen(colour, SEWidth->Value(), Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(colour);

    PreviewAngle += 0.1;
    const int dx = lirsk::roundHalfEven(std::cos(PreviewAngle) * kPreviewHalfLength);
    const int dy = lirsk::roundHalfEven(std::sin(PreviewAngle) * kPreviewHalfLength);
    lirsk::DrawStraightArc(painter, dx + kPreviewCentre, dy + kPreviewCentre, kPreviewCentre - dx,
                           kPreviewCentre - dy, 0, RGArcType->ItemIndex(), SESize->Value(),
                           SEAngel->Value() / 10.0);
    painter.end();
    PBArrow->update();
}

void DisplaySettingsDialog::pickColour(ColourSwatch* panel) {
    if (const std::optional<QColor> chosen = AskColour(lirsk::toQColor(panel->Colour())))
        panel->SetColour(fromQColor(*chosen));
}

void DisplaySettingsDialog::PArcColorClick() {
    pickColour(PArcColor);
}

void DisplaySettingsDialog::PTreeColorClick() {
    pickColour(PTreeColor);
}
