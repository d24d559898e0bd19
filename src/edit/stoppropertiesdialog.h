#pragma once

#include "model/graphmap.h"

#include "edit/modal.h"
#include <QColor>
#include <QFont>

#include <functional>
#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QSpinBox;

// What the stop properties dialog shows and gives back: a stop's name, size, id, name
// visibility, fill colour and routes text, its name font and the name's colour.
struct StopProperties {
    QString Name;
    QString Size; // the size box's text: a whole number 1..78 once confirmed
    QString Id;
    bool ShowName = true;
    lirsk::Colour Color = 0;
    QString Routes;
    int X = 0, Y = 0; // where the stop's centre is on the map
    bool FontChanged = false;
    lirsk::FontSpec Font; // its Color is the name's colour, which has a control of its own
};

// The stop properties dialog.
class StopPropertiesDialog : public lirsk::ModalDialog {
    Q_OBJECT
public:
    explicit StopPropertiesDialog(QWidget* parent = nullptr);

    // Fills the controls, shows the dialog modally and gives the values back when the user
    // pressed "OK", or nothing.
    std::optional<StopProperties> SetProperties(const StopProperties& values);

    // Ask for a new fill colour, a new name colour and a new name font, and show them.
    void pickColour();
    void pickNameColour();
    void pickFont();

    // The colour and font dialogs; a test puts its own answers here. Nothing means cancelled.
    std::function<std::optional<QColor>(const QColor& last)> AskColour;
    std::function<std::optional<QFont>(const QFont& start)> AskFont;

    bool FontChanged = false;
    QLineEdit* nameEdit = nullptr;
    QSpinBox* sizeSpin = nullptr;
    QLineEdit* idEdit = nullptr;
    QCheckBox* showNameCheck = nullptr;
    QLabel* colourPanel = nullptr;     // the fill colour; a click asks for another
    QLabel* fontSample = nullptr;      // the name in its font; a click asks for another font
    QLabel* nameColourPanel = nullptr; // the name's colour; a click asks for another
    QLineEdit* routesEdit = nullptr;
    QSpinBox* xSpin = nullptr; // the centre's place on the map
    QSpinBox* ySpin = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildFields();
    void setPanelColour(lirsk::Colour colour);
    void setSampleFont(const lirsk::FontSpec& font);
    void acceptWholeSize();

    lirsk::Colour panelColour_ = 0;
    lirsk::FontSpec dialogFont_; // the font dialog's font
    lirsk::FontSpec sampleFont_; // the sample's font
    QColor lastColour_ = Qt::white;
};
