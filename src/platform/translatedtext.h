#pragma once

class QObject;

// Texts that follow the program's language while it runs: the Russian source stays on the
// widget or action beside the text shown, and retranslateTexts() shows it anew in the language
// installed since.

namespace lirsk {

// Sets `property` of `object` (a text property: "text", "title", "windowTitle", "toolTip",
// "statusTip", "placeholderText") to the translation of `source` in `context`, and keeps the
// source for retranslateTexts(). `source` must live for the program's run: a string literal
// marked by QT_TR_NOOP or QT_TRANSLATE_NOOP.
void setTranslatedText(QObject* object, const char* property, const char* context,
                       const char* source);

// The same with the context of a class that has tr(), giving the object back:
// keepText<JourneyPanel>(new QLabel(this), "text", QT_TR_NOOP("Откуда")).
template <class Context, class Object>
Object* keepText(Object* object, const char* property, const char* source) {
    setTranslatedText(object, property, Context::staticMetaObject.className(), source);
    return object;
}

// Shows every kept text of the program's windows, and of their actions, in the language now
// installed.
void retranslateTexts();

} // namespace lirsk
