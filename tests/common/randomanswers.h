#pragma once

// The editing dialogs answered at random, as the random editing tests drive them: numbers typed
// into the road parameters, a name and a size into the stop properties, then OK (or now and
// then cancel).

#include "editfixture.h"

#include "edit/stoppropertiesdialog.h"

#include <QCheckBox>
#include <QRandomGenerator>
#include <QSpinBox>

#include <functional>

namespace edittest {

struct RandomAnswers {
    std::function<QString()> number; // typed into each field of the road parameters
    std::function<QString()> name;   // typed as a stop's name
    int smallestSize = 4;
    int largestSize = 30;
    bool sometimesCancel = false; // one answer in four cancels
    bool sometimesMore = false;   // the name shown or hidden, a colour picked or not

    void answer(QDialog& dialog, QRandomGenerator& random) const {
        if (auto* weights = qobject_cast<RoadParametersDialog*>(&dialog)) {
            for (QLineEdit* edit : {weights->fareEdit, weights->lengthEdit, weights->timeEdit}) {
                edit->selectAll();
                typeText(edit, number());
            }
            if (!sometimesCancel || random.bounded(4) > 0)
                QTest::mouseClick(weights->okButton, Qt::LeftButton);
        } else if (auto* props = qobject_cast<StopPropertiesDialog*>(&dialog)) {
            props->AskColour = [&random](const QColor&) -> std::optional<QColor> {
                if (random.bounded(2))
                    return QColor::fromRgb(random.generate() & 0xFFFFFF);
                return std::nullopt;
            };
            props->AskFont = [](const QFont&) -> std::optional<QFont> { return std::nullopt; };
            props->nameEdit->selectAll();
            typeText(props->nameEdit, name());
            props->sizeSpin->setValue(random.bounded(smallestSize, largestSize));
            if (sometimesMore && random.bounded(3) == 0)
                props->showNameCheck->toggle();
            if (sometimesMore && random.bounded(3) == 0)
                props->pickColour();
            const bool cancel = sometimesCancel && random.bounded(4) == 0;
            QTest::mouseClick(cancel ? props->cancelButton : props->okButton, Qt::LeftButton);
        }
    }
};

} // namespace edittest
