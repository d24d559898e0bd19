#pragma once

#include "model/graphmap.h"

#include <QColor>
#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QImage>
#include <QSpinBox>

#include <functional>
#include <optional>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QPushButton;
class QTimer;

// The nine display settings of a map, as the map window and the settings dialog hand them over.
using SettingsArray = lirsk::DisplaySettings;

// A lowered panel that shows a map colour and reports clicks on it.
class ColourSwatch : public QFrame {
    Q_OBJECT
public:
    explicit ColourSwatch(QWidget* parent = nullptr);
    lirsk::Colour Colour() const { return colour_; }
    void SetColour(lirsk::Colour colour);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    lirsk::Colour colour_ = 0;
};

// A group of radio buttons read and set by the index of the chosen item.
class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    TRadioGroup(const QString& caption, const QStringList& items, QWidget* parent = nullptr);
    int ItemIndex() const;
    void SetItemIndex(int index);
    QList<QAbstractButton*> Items() const;

private:
    QButtonGroup* group_;
};

// A spin box for whole numbers from 1 to 32767 whose value is read from its text as it stands:
// a number out of range is clamped, and text that is not a number reads as 1.
class TSpinEdit : public QSpinBox {
    Q_OBJECT
public:
    static constexpr int kMin = 1;
    static constexpr int kMax = 32767;

    explicit TSpinEdit(QWidget* parent = nullptr);
    int Value() const;

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
};

// The paint box of the turning arrow: it shows the picture the dialog draws into it.
class TPaintBox : public QWidget {
    Q_OBJECT
public:
    explicit TPaintBox(QWidget* parent = nullptr);
    QImage& Canvas() { return canvas_; }
    const QImage& Canvas() const { return canvas_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage canvas_;
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
    bool EditSettings(SettingsArray& settings);

    // The colour dialog; a test puts its own answers here. Nothing means cancelled.
    std::function<std::optional<QColor>(const QColor& initial)> AskColour;

    TRadioGroup* RGArcWeight;
    QCheckBox* ChBShowWeight;
    QCheckBox* ChBAutoArcColor;
    ColourSwatch* PArcColor;
    ColourSwatch* PTreeColor;
    QPushButton* BtnOK;
    QGroupBox* GroupBox1;
    TSpinEdit* SEWidth;
    TSpinEdit* SESize;
    TSpinEdit* SEAngel;
    TRadioGroup* RGArcType;
    TPaintBox* PBArrow;
    QTimer* Timer1;

    // The preview arrow's angle in radians.
    double PreviewAngle = 0;

public slots:
    void Timer1Timer();
    void PArcColorClick();
    void PTreeColorClick();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void pickColour(ColourSwatch* panel);
};
