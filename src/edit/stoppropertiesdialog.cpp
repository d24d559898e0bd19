#include "edit/stoppropertiesdialog.h"

#include "edit/modal.h"
#include "platform/colours.h"
#include "platform/fonts.h"
#include "platform/messages.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QValidator>

namespace {

lirsk::SingleWindow<StopPropertiesDialog>& instance() {
    static lirsk::SingleWindow<StopPropertiesDialog> window;
    return window;
}

// Turns whatever is typed or pasted into lower case.
class LowerCase : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        input = input.toLower();
        return Acceptable;
    }
};

lirsk::Colour fromQColor(const QColor& colour) {
    return lirsk::Colour(colour.red()) | lirsk::Colour(colour.green()) << 8 |
           lirsk::Colour(colour.blue()) << 16;
}

// The stored form of a font chosen on the screen; the colour is not the font dialog's business.
lirsk::FontSpec fromQFont(const QFont& font, lirsk::Colour colour) {
    lirsk::FontSpec spec;
    spec.Name = font.family();
    spec.Size = font.pointSize() > 0 ? font.pointSize() : qMax(1, font.pixelSize() * 72 / 96);
    spec.Color = colour;
    spec.Bold = font.bold();
    spec.Italic = font.italic();
    spec.Underline = font.underline();
    spec.StrikeOut = font.strikeOut();
    return spec;
}

} // namespace

StopPropertiesDialog::StopPropertiesDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("stopPropertiesDialog"));
    setWindowTitle(QStringLiteral("Параметры остановки"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::CustomizeWindowHint);
    setFixedSize(235, 203);
    QFont font(lirsk::mapFontFace(QStringLiteral("MS Sans Serif")));
    font.setPointSize(8);
    setFont(font);

    auto caption = [this](int top, const QString& text) {
        auto* label = new QLabel(text, this);
        label->setGeometry(8, top + 3, 104, 16);
    };
    caption(8, QStringLiteral("Название вершины:"));
    NameVertexEdit = new QLineEdit(this);
    NameVertexEdit->setObjectName(QStringLiteral("NameVertexEdit"));
    NameVertexEdit->setGeometry(112, 8, 115, 21);
    // Typed letters become lower case.
    NameVertexEdit->setValidator(new LowerCase(NameVertexEdit));
    connect(NameVertexEdit, &QLineEdit::textChanged, this,
            &StopPropertiesDialog::NameVertexEditChange);

    caption(32, QStringLiteral("Размер вершины:"));
    SESize = new QSpinBox(this);
    SESize->setObjectName(QStringLiteral("SESize"));
    SESize->setGeometry(112, 32, 49, 22);
    SESize->setRange(1, 78);
    SESize->setSingleStep(1);

    caption(58, QStringLiteral("Id вершины:"));
    EdId = new QLineEdit(this);
    EdId->setObjectName(QStringLiteral("EdId"));
    EdId->setGeometry(112, 58, 49, 21);
    EdId->setEnabled(false);

    ChBShowLabel = new QCheckBox(QStringLiteral("Показывать название вершины"), this);
    ChBShowLabel->setObjectName(QStringLiteral("ChBShowLabel"));
    ChBShowLabel->setGeometry(8, 82, 220, 17);

    caption(102, QStringLiteral("Цвет вершины:"));
    PVertexColor = new QLabel(this);
    PVertexColor->setObjectName(QStringLiteral("PVertexColor"));
    PVertexColor->setGeometry(112, 102, 115, 19);
    PVertexColor->setFrameShape(QFrame::Panel);
    PVertexColor->setFrameShadow(QFrame::Sunken);
    PVertexColor->setAutoFillBackground(true);
    PVertexColor->setCursor(Qt::PointingHandCursor);
    PVertexColor->installEventFilter(this);

    caption(124, QStringLiteral("Шрифт вершины:"));
    PVertexFont = new QLabel(QStringLiteral("Название вершины"), this);
    PVertexFont->setObjectName(QStringLiteral("PVertexFont"));
    PVertexFont->setGeometry(112, 124, 115, 19);
    PVertexFont->setFrameShape(QFrame::Panel);
    PVertexFont->setFrameShadow(QFrame::Sunken);
    PVertexFont->setAlignment(Qt::AlignCenter);
    PVertexFont->setAutoFillBackground(true);
    QPalette white = PVertexFont->palette();
    white.setColor(QPalette::Window, Qt::white);
    PVertexFont->setPalette(white);
    PVertexFont->setCursor(Qt::PointingHandCursor);
    PVertexFont->installEventFilter(this);

    caption(146, QStringLiteral("Маршруты:"));
    TripVertexEdit = new QLineEdit(this);
    TripVertexEdit->setObjectName(QStringLiteral("TripVertexEdit"));
    TripVertexEdit->setGeometry(112, 146, 115, 21);

    BtnOk = new QPushButton(QStringLiteral("OK"), this);
    BtnOk->setObjectName(QStringLiteral("BtnOk"));
    BtnOk->setGeometry(72, 174, 75, 25);
    BtnOk->setDefault(true);
    connect(BtnOk, &QPushButton::clicked, this, &StopPropertiesDialog::BtnOkClick);
    // Esc rejects the dialog, as "Отмена" does.
    BtnCancel = new QPushButton(QStringLiteral("Отмена"), this);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    BtnCancel->setGeometry(152, 174, 75, 25);
    BtnCancel->setAutoDefault(false);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);

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

bool StopPropertiesDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == PVertexColor) {
            Panel1Click();
            return true;
        }
        if (watched == PVertexFont) {
            PVertexFontClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void StopPropertiesDialog::setPanelColour(lirsk::Colour colour) {
    panelColour_ = colour;
    QPalette palette = PVertexColor->palette();
    palette.setColor(QPalette::Window, lirsk::toQColor(colour));
    PVertexColor->setPalette(palette);
}

void StopPropertiesDialog::setPanelFont(const lirsk::FontSpec& font) {
    panelFont_ = font;
    PVertexFont->setFont(lirsk::toQFont(font));
    QPalette palette = PVertexFont->palette();
    palette.setColor(QPalette::WindowText, lirsk::toQColor(font.Color));
    PVertexFont->setPalette(palette);
}

void StopPropertiesDialog::NameVertexEditChange(const QString& text) {
    PVertexFont->setText(text);
}

void StopPropertiesDialog::Panel1Click() {
    // The colour dialog opens with the colour chosen last, not with the panel's.
    if (const std::optional<QColor> chosen = AskColour(lastColour_)) {
        lastColour_ = *chosen;
        setPanelColour(fromQColor(*chosen));
    }
}

void StopPropertiesDialog::PVertexFontClick() {
    if (const std::optional<QFont> chosen = AskFont(lirsk::toQFont(dialogFont_))) {
        dialogFont_ = fromQFont(*chosen, dialogFont_.Color);
        setPanelFont(dialogFont_);
        FontChanged = true;
    }
}

void StopPropertiesDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void StopPropertiesDialog::FormShow() {
    setPanelFont(dialogFont_);
    FontChanged = false;
    NameVertexEdit->setFocus();
}

void StopPropertiesDialog::BtnOkClick() {
    // The size box may be left empty or hold something else than a whole number 1..78: the
    // dialog stays open until it holds one.
    bool whole = false;
    const int size = SESize->text().trimmed().toInt(&whole);
    if (!whole || size < SESize->minimum() || size > SESize->maximum()) {
        lirsk::showMessage(this, {QMessageBox::Warning, windowTitle(),
                                  QStringLiteral("Размер вершины должен быть целым числом от %1 "
                                                 "до %2.")
                                      .arg(SESize->minimum())
                                      .arg(SESize->maximum()),
                                  QMessageBox::Ok});
        SESize->setFocus();
        return;
    }
    accept();
}

std::optional<VertexProperties>
StopPropertiesDialog::SetProperties(const VertexProperties& values) {
    // The box lower-cases what the user types; the name it is filled with stays as it is, so
    // confirming without touching it renames nothing (and never gives the selected stops this
    // stop's name).
    const QValidator* lowerCase = NameVertexEdit->validator();
    NameVertexEdit->setValidator(nullptr);
    NameVertexEdit->setText(values.Name);
    NameVertexEdit->setValidator(lowerCase);
    SESize->setValue(values.Size.toInt());
    EdId->setText(values.Id);
    ChBShowLabel->setChecked(values.ShowName);
    setPanelColour(values.Color);
    TripVertexEdit->setText(values.Routes);
    dialogFont_ = values.Font;
    FontChanged = false;
    if (lirsk::runDialog(*this) != QDialog::Accepted)
        return std::nullopt;
    VertexProperties result;
    result.Name = NameVertexEdit->text();
    result.Size = SESize->text().trimmed();
    result.Id = EdId->text();
    result.ShowName = ChBShowLabel->isChecked();
    result.Color = panelColour_;
    result.Routes = TripVertexEdit->text();
    result.FontChanged = FontChanged;
    result.Font = panelFont_;
    return result;
}

StopPropertiesDialog* stopPropertiesDialog() {
    return instance().get();
}

StopPropertiesDialog* createStopPropertiesDialog(QWidget* owner) {
    return instance().create(owner);
}
