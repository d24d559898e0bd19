#include "platform/messages.h"

#include <QAbstractButton>

#include <QApplication>

namespace lirsk {

namespace {

MessageHandler& handler() {
    static MessageHandler h;
    return h;
}

} // namespace

void beep(Beep) {
    QApplication::beep();
}

QMessageBox::StandardButton showMessage(QWidget* parent, const MessageRequest& request) {
    if (handler())
        return handler()(request);
    QMessageBox box(request.icon, request.title, request.text, request.buttons, parent);
    for (const auto& [button, text] : request.buttonTexts)
        if (QAbstractButton* shown = box.button(button))
            shown->setText(text);
    return QMessageBox::StandardButton(box.exec());
}

void setMessageHandler(MessageHandler h) {
    handler() = std::move(h);
}

} // namespace lirsk
