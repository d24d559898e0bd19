#pragma once

#include "model/graphmap.h"

#include "edit/modal.h"

#include <optional>

class QLineEdit;
class QPushButton;

// The road parameters dialog: the fare, length and time of one link. It only checks that each
// text is a number; the map window reads the numbers back when the dialog was accepted.
class RoadParametersDialog : public lirsk::ModalDialog {
    Q_OBJECT
public:
    explicit RoadParametersDialog(QWidget* parent = nullptr);

    // Fills the three fields from a link's weights, shows the dialog modally and returns the
    // typed weights when the user pressed "OK" with three numbers, or nothing.
    std::optional<lirsk::RoadWeight> Ask(const lirsk::RoadWeight& current);

    // Checks the three fields, telling the user of each one that is no number, and closes the
    // dialog; the numbers count only when all three were right.
    void checkAndClose();
    // True when the edit holds a number; otherwise tells the user so.
    bool holdsNumber(QLineEdit* edit);

    bool NumbersAccepted = false;
    QLineEdit* fareEdit = nullptr;
    QLineEdit* lengthEdit = nullptr;
    QLineEdit* timeEdit = nullptr;
    QPushButton* okButton = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
};
