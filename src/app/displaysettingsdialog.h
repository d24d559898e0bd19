#pragma once

#include "model/graphmap.h"

#include <QColor>
#include <QDialog>
#include <QToolButton>

#include <functional>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QPushButton;
class QSpinBox;
class QTimer;

// A button that shows a map colour.
class ColourButton : public QToolButton {
    Q_OBJECT
public:
    explicit ColourButton(QWidget* parent = nullptr);
    lirsk::Colour Colour() const { return colour_; }
    void SetColour(lirsk::Colour colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    lirsk::Colour colour_ = 0;
};

// The arrow of the settings dialog: a link through the middle, turned by an angle, drawn in the
// colour and line width and with the arrow head of the given settings.
class ArrowPreview : public QWidget {
    Q_OBJECT
public:
    explicit ArrowPreview(QWidget* parent = nullptr);
    void ShowArrow(const lirsk::DisplaySettings& settings, double turn);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    lirsk::DisplaySettings settings_;
    double turn_ = 0;
};

// The display settings dialog: the colours of roads and of the found way, where new links get
// their weights from, the lengths on the map, the arrows and the line width, with an arrow that
// turns in the preview while the values are being edited.
class DisplaySettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit DisplaySettingsDialog(QWidget* parent = nullptr);

    // Shows the dialog with the given settings; true and the edited settings when OK was pressed,
    // false (and the settings untouched) when it was closed any other way.
    bool EditSettings(lirsk::DisplaySettings& settings);

    // The colour dialog; a test puts its own answers here. Nothing means cancelled.
    std::function<std::optional<QColor>(const QColor& initial)> AskColour;

    QButtonGroup* weightsGroup; // the user's weights (0) or automatic ones (1)
    QCheckBox* showWeightsCheck;
    QCheckBox* autoArcColourCheck;
    ColourButton* arcColourButton;
    ColourButton* treeColourButton;
    QPushButton* okButton;
    QSpinBox* lineWidthSpin;
    QSpinBox* arrowSizeSpin;
    QSpinBox* arrowAngleSpin; // in tenths
    QButtonGroup* arrowTypeGroup;
    ArrowPreview* arrowPreview;
    QTimer* turnTimer;

    // The preview arrow's angle in radians.
    double PreviewAngle = 0;

public slots:
    // Turns the preview arrow by a tenth of a radian and draws it with the values as they stand.
    void turnPreview();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    lirsk::DisplaySettings editedSettings() const;
    void pickColour(ColourButton* button);
};
