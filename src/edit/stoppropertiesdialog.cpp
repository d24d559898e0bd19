#include "edit/stoppropertiesdialog.h"

#include "platform/colours.h"
#include "platform/fonts.h"
#include "platform/messages.h"
#include "platform/translatedtext.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QValidator>

#include <algorithm>
#include <cstdlib>

namespace {

// Turns what is typed or pasted into the box into lower case; the rest of the text stays as it
// was. What changed is told from the box's text before the change.
class LowerCaseTyped : public QValidator {
public:
    explicit LowerCaseTyped(QLineEdit* box) : QValidator(box) {
        connect(box, &QLineEdit::textChanged, this,
                [this](const QString& text) { before_ = text; });
    }
    State validate(QString& input, int&) const override {
        const qsizetype shorter = std::min(input.size(), before_.size());
        qsizetype head = 0;
        while (head < shorter && input[head] == before_[head])
            ++head;
        qsizetype tail = 0;
        while (tail < shorter - head &&
               input[input.size() - 1 - tail] == before_[before_.size() - 1 - tail])
            ++tail;
        const qsizetype typed = input.size() - head - tail;
        input.replace(head, typed, input.mid(head, typed).toLower());
        return Acceptable;
    }

private:
    QString before_;
};

lirsk::Colour fromQColor(const QColor& colour) {
    return lirsk::Colour(colour.red()) | lirsk::Colour(colour.green()) << 8 |
           lirsk::Colour(colour.blue()) << 16;
}

// The font the font dialog opens with. The dialog finds its style by name, and the toolkit's own
// style names (in Russian with the program's translation) match none of a font's: the start font
// names the family's own style of the stop's weight and slant.
QFont fontDialogStart(const lirsk::FontSpec& spec) {
    QFont font = lirsk::toQFont(spec);
    font.setPointSize(spec.Size == 0 ? 8 : std::clamp(std::abs(spec.Size), 1, 300));
    const QString family = font.family();
    for (const QString& style : QFontDatabase::styles(family)) {
        const QFont candidate = QFontDatabase::font(family, style, font.pointSize());
        if (candidate.weight() == (spec.Bold ? QFont::Bold : QFont::Normal) &&
            candidate.italic() == spec.Italic &&
            (candidate.stretch() == QFont::AnyStretch ||
             candidate.stretch() == QFont::Unstretched)) {
            font.setStyleName(style);
            break;
        }
    }
    return font;
}

// The stored form of a font chosen on the screen; the colour is not the font dialog's business.
// The stored face stays when the face shown for it was kept.
lirsk::FontSpec fromQFont(const QFont& font, const lirsk::FontSpec& before) {
    lirsk::FontSpec spec;
    spec.Name = font.family() == lirsk::mapFontFace(before.Name) ? before.Name : font.family();
    spec.Size = font.pointSize() > 0 ? font.pointSize() : qMax(1, font.pixelSize() * 72 / 96);
    spec.Color = before.Color;
    spec.Bold = font.bold();
    spec.Italic = font.italic();
    spec.Underline = font.underline();
    spec.StrikeOut = font.strikeOut();
    return spec;
}

} // namespace

StopPropertiesDialog::StopPropertiesDialog(QWidget* parent) : lirsk::ModalDialog(parent) {
    setObjectName(QStringLiteral("stopPropertiesDialog"));
    lirsk::keepText<StopPropertiesDialog>(this, "windowTitle", QT_TR_NOOP("Параметры остановки"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::CustomizeWindowHint);
    setFixedSize(235, 249);
    QFont font(lirsk::mapFontFace(QStringLiteral("MS Sans Serif")));
    font.setPointSize(8);
    setFont(font);

    buildFields();

    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setGeometry(72, 220, 75, 25);
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &StopPropertiesDialog::acceptWholeSize);
    // Esc rejects the dialog, as "Отмена" does.
    cancelButton =
        lirsk::keepText<StopPropertiesDialog>(new QPushButton(this), "text", QT_TR_NOOP("Отмена"));
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    cancelButton->setGeometry(152, 220, 75, 25);
    cancelButton->setAutoDefault(false);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    AskColour = [this](const QColor& last) -> std::optional<QColor> {
        const QColor chosen = QColorDialog::getColor(last, this);
        return chosen.isValid() ? std::optional<QColor>(chosen) : std::nullopt;
    };
    AskFont = [this](const QFont& start) -> std::optional<QFont> {
        bool ok = false;
        const QFont chosen = QFontDialog::getFont(&ok, start, this);
        return ok ? std::optional<QFont>(chosen) : std::nullopt;
    };
}

// The fields, one row each, at the places the dialog has always had them.
void StopPropertiesDialog::buildFields() {
    auto caption = [this](int top, const char* text) {
        auto* label = lirsk::keepText<StopPropertiesDialog>(new QLabel(this), "text", text);
        label->setGeometry(8, top + 3, 104, 16);
    };
    // The colour and font fields: sunken panels that open their chooser on a click.
    auto clickablePanel = [this](const QString& name, int top) {
        auto* panel = new QLabel(this);
        panel->setObjectName(name);
        panel->setGeometry(112, top, 115, 19);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setAutoFillBackground(true);
        panel->setCursor(Qt::PointingHandCursor);
        panel->installEventFilter(this);
        return panel;
    };
    caption(8, QT_TR_NOOP("Название вершины:"));
    nameEdit = new QLineEdit(this);
    nameEdit->setObjectName(QStringLiteral("nameEdit"));
    nameEdit->setGeometry(112, 8, 115, 21);
    // Typed letters become lower case.
    nameEdit->setValidator(new LowerCaseTyped(nameEdit));

    caption(32, QT_TR_NOOP("Размер вершины:"));
    sizeSpin = new QSpinBox(this);
    sizeSpin->setObjectName(QStringLiteral("sizeSpin"));
    sizeSpin->setGeometry(112, 32, 49, 22);
    sizeSpin->setRange(1, 78);
    sizeSpin->setSingleStep(1);

    caption(58, QT_TR_NOOP("Id вершины:"));
    idEdit = new QLineEdit(this);
    idEdit->setObjectName(QStringLiteral("idEdit"));
    idEdit->setGeometry(112, 58, 49, 21);
    idEdit->setEnabled(false);

    showNameCheck = lirsk::keepText<StopPropertiesDialog>(
        new QCheckBox(this), "text", QT_TR_NOOP("Показывать название вершины"));
    showNameCheck->setObjectName(QStringLiteral("showNameCheck"));
    showNameCheck->setGeometry(8, 82, 220, 17);

    caption(102, QT_TR_NOOP("Цвет вершины:"));
    colourPanel = clickablePanel(QStringLiteral("colourPanel"), 102);

    caption(124, QT_TR_NOOP("Шрифт вершины:"));
    fontSample = clickablePanel(QStringLiteral("fontSample"), 124);
    fontSample->setText(tr("Название вершины"));
    fontSample->setAlignment(Qt::AlignCenter);
    fontSample->setAutoFillBackground(true);
    QPalette white = fontSample->palette();
    white.setColor(QPalette::Window, Qt::white);
    fontSample->setPalette(white);
    // The sample shows the name as it is typed.
    connect(nameEdit, &QLineEdit::textChanged, fontSample, &QLabel::setText);

    caption(146, QT_TR_NOOP("Цвет названия:"));
    nameColourPanel = clickablePanel(QStringLiteral("nameColourPanel"), 146);

    caption(168, QT_TR_NOOP("Маршруты:"));
    routesEdit = new QLineEdit(this);
    routesEdit->setObjectName(QStringLiteral("routesEdit"));
    routesEdit->setGeometry(112, 168, 115, 21);

    caption(192, QT_TR_NOOP("Центр (x, y):"));
    for (QSpinBox** spin : {&xSpin, &ySpin}) {
        *spin = new QSpinBox(this);
        (*spin)->setRange(0, 1 << 24);
        (*spin)->setGeometry(spin == &xSpin ? 112 : 170, 192, 57, 21);
    }
    xSpin->setObjectName(QStringLiteral("xSpin"));
    ySpin->setObjectName(QStringLiteral("ySpin"));
}

bool StopPropertiesDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == colourPanel) {
            pickColour();
            return true;
        }
        if (watched == fontSample) {
            pickFont();
            return true;
        }
        if (watched == nameColourPanel) {
            pickNameColour();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void StopPropertiesDialog::setPanelColour(lirsk::Colour colour) {
    panelColour_ = colour;
    QPalette palette = colourPanel->palette();
    palette.setColor(QPalette::Window, lirsk::toQColor(colour));
    colourPanel->setPalette(palette);
}

void StopPropertiesDialog::setSampleFont(const lirsk::FontSpec& font) {
    sampleFont_ = font;
    fontSample->setFont(lirsk::toQFont(font));
    QPalette palette = fontSample->palette();
    palette.setColor(QPalette::WindowText, lirsk::toQColor(font.Color));
    fontSample->setPalette(palette);
    palette = nameColourPanel->palette();
    palette.setColor(QPalette::Window, lirsk::toQColor(font.Color));
    nameColourPanel->setPalette(palette);
}

void StopPropertiesDialog::pickColour() {
    // The colour dialog opens with the colour chosen last, not with the panel's.
    if (const std::optional<QColor> chosen = AskColour(lastColour_)) {
        lastColour_ = *chosen;
        setPanelColour(fromQColor(*chosen));
    }
}

void StopPropertiesDialog::pickNameColour() {
    if (const std::optional<QColor> chosen = AskColour(lirsk::toQColor(sampleFont_.Color))) {
        lirsk::FontSpec font = sampleFont_;
        font.Color = fromQColor(*chosen);
        setSampleFont(font);
    }
}

void StopPropertiesDialog::pickFont() {
    if (const std::optional<QFont> chosen = AskFont(fontDialogStart(dialogFont_))) {
        dialogFont_ = fromQFont(*chosen, dialogFont_);
        dialogFont_.Color = sampleFont_.Color;
        setSampleFont(dialogFont_);
        FontChanged = true;
    }
}

void StopPropertiesDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    setSampleFont(dialogFont_);
    FontChanged = false;
    nameEdit->setFocus();
}

void StopPropertiesDialog::acceptWholeSize() {
    // The size box may be left empty or hold something else than a whole number 1..78: the
    // dialog stays open until it holds one.
    bool whole = false;
    const int size = sizeSpin->text().trimmed().toInt(&whole);
    if (!whole || size < sizeSpin->minimum() || size > sizeSpin->maximum()) {
        lirsk::showMessage(this, {QMessageBox::Warning, windowTitle(),
                                  tr("Размер вершины должен быть целым числом от %1 до %2.")
                                      .arg(sizeSpin->minimum())
                                      .arg(sizeSpin->maximum()),
                                  QMessageBox::Ok});
        sizeSpin->setFocus();
        return;
    }
    accept();
}

std::optional<StopProperties> StopPropertiesDialog::SetProperties(const StopProperties& values) {
    // The box lower-cases what the user types; the name it is filled with stays as it is, so
    // confirming without touching it renames nothing (and never gives the selected stops this
    // stop's name).
    const QValidator* lowerCase = nameEdit->validator();
    nameEdit->setValidator(nullptr);
    nameEdit->setText(values.Name);
    nameEdit->setValidator(lowerCase);
    sizeSpin->setValue(values.Size.toInt());
    idEdit->setText(values.Id);
    showNameCheck->setChecked(values.ShowName);
    setPanelColour(values.Color);
    routesEdit->setText(values.Routes);
    xSpin->setValue(values.X);
    ySpin->setValue(values.Y);
    dialogFont_ = values.Font;
    FontChanged = false;
    if (runModal() != QDialog::Accepted)
        return std::nullopt;
    StopProperties result;
    result.Name = nameEdit->text();
    result.Size = sizeSpin->text().trimmed();
    result.Id = idEdit->text();
    result.ShowName = showNameCheck->isChecked();
    result.Color = panelColour_;
    result.Routes = routesEdit->text();
    result.X = xSpin->value();
    result.Y = ySpin->value();
    result.FontChanged = FontChanged;
    result.Font = sampleFont_;
    return result;
}
