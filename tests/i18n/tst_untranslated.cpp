#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

// Every Russian text a user reads goes through Qt's translation (tr, translate and their NOOP
// markers) and has its English translation; the texts that are stored in files or compared by
// the program stay as they are.

namespace {

const QString kSource = QStringLiteral(LIRSK_SOURCE_DIR);

// Texts kept in files or compared as they are, never translated.
const QStringList kStoredTexts = {
    QStringLiteral("Маршруты не введены"), // a stop's routes text until some are entered
    QStringLiteral("руб."),                // the fare unit a map's description keeps
};
// Files of place names: the built-in networks' route tables, named as the maps' stops are.
const QStringList kPlaceNameFiles = {QStringLiteral("src/model/routenames.cpp")};

bool isCyrillic(const QString& text) {
    static const QRegularExpression cyrillic(QStringLiteral("[\\x{0400}-\\x{04FF}]"));
    return text.contains(cyrillic);
}

// The text with its comments blanked out and every string literal kept.
QString withoutComments(const QString& code) {
    QString out = code;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const QChar c = out[i];
        if (c == QLatin1Char('R') && out.mid(i + 1, 1) == QLatin1String("\"") &&
            (i == 0 || !(out[i - 1].isLetterOrNumber() || out[i - 1] == QLatin1Char('_')))) {
            // A raw literal becomes a plain one of its text, less its quotes and backslashes.
            const qsizetype open = out.indexOf(QLatin1Char('('), i);
            const QString closing =
                QLatin1Char(')') + out.mid(i + 2, open - i - 2) + QLatin1Char('"');
            const qsizetype close = out.indexOf(closing, open);
            if (open < 0 || close < 0)
                break;
            for (qsizetype k = i; k < close + closing.size(); ++k)
                if (k <= open || k >= close || out[k] == QLatin1Char('"') ||
                    out[k] == QLatin1Char('\\'))
                    out[k] = QLatin1Char(' ');
            out[open] = QLatin1Char('"');
            out[close + closing.size() - 1] = QLatin1Char('"');
            i = close + closing.size() - 1;
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            for (++i; i < out.size() && out[i] != c; ++i)
                if (out[i] == QLatin1Char('\\'))
                    ++i;
        } else if (out.mid(i, 2) == QLatin1String("//")) {
            for (; i < out.size() && out[i] != QLatin1Char('\n'); ++i)
                out[i] = QLatin1Char(' ');
        } else if (out.mid(i, 2) == QLatin1String("/*")) {
            const qsizetype end = out.indexOf(QLatin1String("*/"), i + 2);
            const qsizetype stop = end < 0 ? out.size() : end + 2;
            for (; i < stop; ++i)
                if (out[i] != QLatin1Char('\n'))
                    out[i] = QLatin1Char(' ');
            --i;
        }
    }
    return out;
}

// The Cyrillic string literals of a file that no translation call or marker takes, as
// "file:line: literal". A literal is taken when it, with the literals it is joined to, is the
// source text of tr, translate (after its context) or a NOOP marker.
QStringList untranslatedLiterals(const QString& path, const QString& name) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {name + QStringLiteral(": cannot be read")};
    const QString code = withoutComments(QString::fromUtf8(file.readAll()));
    // A string literal: quotes around anything but quotes, backslashes and line ends, or escapes.
    const QString quoted = QStringLiteral("\"(?:[^\"\\\\\\n]|\\\\.)*\"");
    static const QRegularExpression literal(quoted);
    static const QRegularExpression taken(
        QStringLiteral("(?:\\btr|\\btranslate|\\bQT_TR_NOOP|\\bQT_TR_N_NOOP|\\bQT_TRANSLATE_NOOP|"
                       "\\bQT_TRANSLATE_N_NOOP)\\s*\\(\\s*(?:%1\\s*,\\s*)?$")
            .arg(quoted));
    QStringList found;
    qsizetype joinedStart = 0, previousEnd = -1;
    for (auto it = literal.globalMatch(code); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        // Literals with nothing but blanks between them are one text.
        if (previousEnd < 0 ||
            !code.mid(previousEnd, m.capturedStart() - previousEnd).trimmed().isEmpty())
            joinedStart = m.capturedStart();
        previousEnd = m.capturedEnd();
        const QString text = m.captured().mid(1, m.capturedLength() - 2);
        if (!isCyrillic(text) || kStoredTexts.contains(text))
            continue;
        if (code.left(joinedStart).right(300).contains(taken))
            continue;
        const qsizetype line = code.left(m.capturedStart()).count(QLatin1Char('\n')) + 1;
        found << QStringLiteral("%1:%2: %3").arg(name).arg(line).arg(m.captured());
    }
    return found;
}

} // namespace

class TestUntranslated : public QObject {
    Q_OBJECT
private slots:
    void literals_data() {
        QTest::addColumn<QString>("folder");
        for (const char* folder :
             {"src/model", "src/route", "src/import", "src/timetable", "src/layout", "src/i18n",
              "tools/gaftool", "src/document", "src/platform", "src/view", "src/edit", "src/app"})
            QTest::newRow(folder) << QString::fromLatin1(folder);
    }
    void literals() {
        QFETCH(QString, folder);
        QStringList found;
        QDirIterator files(kSource + QLatin1Char('/') + folder, {"*.cpp", "*.h"}, QDir::Files);
        while (files.hasNext()) {
            const QString path = files.next();
            const QString name = path.mid(kSource.size() + 1);
            if (!kPlaceNameFiles.contains(name))
                found += untranslatedLiterals(path, name);
        }
        QVERIFY2(found.isEmpty(), qPrintable(QStringLiteral("\n") + found.join('\n')));
    }

    // lupdate run on a copy of each catalogue: a text new in the sources, or one not translated,
    // is left unfinished there.
    void catalogues_data() {
        QTest::addColumn<QString>("catalogue");
        QTest::addColumn<QStringList>("folders");
        QTest::newRow("core") << "lirskmap_core_en.ts"
                              << QStringList{"src/model",     "src/route",  "src/import",
                                             "src/timetable", "src/layout", "tools/gaftool"};
        QTest::newRow("gui") << "lirskmap_gui_en.ts"
                             << QStringList{"src/document", "src/platform", "src/view", "src/edit",
                                            "src/app"};
    }
    void catalogues() {
        QFETCH(QString, catalogue);
        QFETCH(QStringList, folders);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString copy = dir.filePath(catalogue);
        QVERIFY(QFile::copy(kSource + QStringLiteral("/src/i18n/") + catalogue, copy));
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
        QStringList args{"-silent",    "-source-language",
                         "ru_RU",      "-no-obsolete",
                         "-locations", "none",
                         "-I",         kSource + QStringLiteral("/src")};
        for (const QString& folder : folders)
            args << kSource + QLatin1Char('/') + folder;
        args << QStringLiteral("-ts") << copy;
        QProcess lupdate;
        lupdate.start(QStringLiteral(LUPDATE_PATH), args);
        QVERIFY(lupdate.waitForFinished(120000));
        QCOMPARE(lupdate.exitCode(), 0);

        QFile file(copy);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader ts(&file);
        QStringList unfinished;
        QString context, source;
        while (!ts.atEnd()) {
            if (ts.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (ts.name() == QLatin1String("name"))
                context = ts.readElementText();
            else if (ts.name() == QLatin1String("source"))
                source = ts.readElementText(QXmlStreamReader::IncludeChildElements);
            else if (ts.name() == QLatin1String("translation") &&
                     (ts.attributes().value(QLatin1String("type")) == QLatin1String("unfinished") ||
                      ts.readElementText(QXmlStreamReader::IncludeChildElements).isEmpty()))
                unfinished << context + QStringLiteral(": ") + source;
        }
        QVERIFY2(!ts.hasError(), qPrintable(ts.errorString()));
        QVERIFY2(unfinished.isEmpty(), qPrintable(QStringLiteral("\n") + unfinished.join('\n')));
    }
};

QTEST_GUILESS_MAIN(TestUntranslated)
#include "tst_untranslated.moc"
