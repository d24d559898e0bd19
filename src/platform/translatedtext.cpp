#include "platform/translatedtext.h"

#include <QApplication>
#include <QVariant>
#include <QWidget>

namespace lirsk {

namespace {

// The dynamic property that keeps an object's sources: a map from the text property's name
// to its context and source.
constexpr char kSources[] = "lirskTranslatedSources";

void retranslate(QObject* object) {
    const QVariantMap sources = object->property(kSources).toMap();
    for (auto it = sources.cbegin(); it != sources.cend(); ++it) {
        const QStringList contextAndSource = it.value().toStringList();
        object->setProperty(it.key().toLatin1().constData(),
                            QCoreApplication::translate(contextAndSource[0].toUtf8().constData(),
                                                        contextAndSource[1].toUtf8().constData()));
    }
}

} // namespace

void setTranslatedText(QObject* object, const char* property, const char* context,
                       const char* source) {
    QVariantMap sources = object->property(kSources).toMap();
    sources.insert(QLatin1String(property),
                   QStringList{QString::fromUtf8(context), QString::fromUtf8(source)});
    object->setProperty(kSources, sources);
    object->setProperty(property, QCoreApplication::translate(context, source));
}

void retranslateTexts() {
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        retranslate(window);
        const QList<QObject*> children = window->findChildren<QObject*>();
        for (QObject* child : children)
            retranslate(child);
    }
}

} // namespace lirsk
