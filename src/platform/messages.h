#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

class QWidget;

// Message boxes and beeps. Every box of the program goes through here, so a test can answer
// them instead of a user.

namespace lirsk {

enum class Beep { Asterisk, Hand };
void beep(Beep kind);

struct MessageRequest {
    QMessageBox::Icon icon = QMessageBox::Information;
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    // Texts of the box's own for some of its buttons.
    QList<std::pair<QMessageBox::StandardButton, QString>> buttonTexts = {};
};

// Shows a modal box and returns the button chosen.
QMessageBox::StandardButton showMessage(QWidget* parent, const MessageRequest& request);

// Replaces the boxes by a function (for tests); an empty function brings the boxes back.
using MessageHandler = std::function<QMessageBox::StandardButton(const MessageRequest&)>;
void setMessageHandler(MessageHandler handler);

} // namespace lirsk
