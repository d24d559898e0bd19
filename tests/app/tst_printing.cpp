#include "app/exportdialog.h"
#include "app/mapprinting.h"
#include "document/mapdocument.h"
#include "edit/journeypage.h"
#include "view/mapview.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QSpinBox>

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace lirsk;

// The map spread over sheets, and the journey's page.
class TestPrinting : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void sheets_data() {
        QTest::addColumn<bool>("fit");
        QTest::addColumn<double>("scale");
        QTest::addColumn<double>("overlapMm");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("lastLabel");
        QTest::addColumn<QRectF>("last");
        // A map of 1000 × 500 on pages with room for 500 × 300 (screen pixels).
        QTest::newRow("fitted") << true << 1.0 << 10.0 << 1 << "А1" << QRectF(0, 0, 1000, 500);
        QTest::newRow("side by side")
            << false << 1.0 << 0.0 << 4 << "Б2" << QRectF(500, 300, 500, 300);
        // 10 mm is 37.8 pixels: each sheet starts that much before the one before it ends.
        QTest::newRow("overlapping")
            << false << 1.0 << 10.0 << 6 << "Б3" << QRectF(924.4, 262.2, 500, 300);
        QTest::newRow("twice as large")
            << false << 2.0 << 0.0 << 16 << "Г4" << QRectF(750, 450, 250, 150);
    }
    void sheets() {
        QFETCH(bool, fit);
        QFETCH(double, scale);
        QFETCH(double, overlapMm);
        QFETCH(int, count);
        QFETCH(QString, lastLabel);
        QFETCH(QRectF, last);
        const MapPrint print{QRect(0, 0, 1000, 500), fit, scale, overlapMm, QString()};
        const std::vector<MapSheet> sheets = mapSheets(print, QSizeF(500, 300));
        QCOMPARE(int(sheets.size()), count);
        QCOMPARE(sheetLabel(sheets.back()), lastLabel);
        const QRectF r = sheets.back().mapRect;
        QVERIFY2(std::abs(r.left() - last.left()) < 0.1 && std::abs(r.top() - last.top()) < 0.1 &&
                     r.size() == last.size(),
                 qPrintable(QStringLiteral("%1,%2 %3×%4")
                                .arg(r.left())
                                .arg(r.top())
                                .arg(r.width())
                                .arg(r.height())));
    }

    // «Экспорт…» writes the format chosen under the name given, its extension added.
    void exportDialog_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("PDF") << 0 << "map.pdf" << QByteArray("%PDF");
        QTest::newRow("SVG") << 1 << "map.svg" << QByteArray("<?xml");
        QTest::newRow("PNG") << 2 << "map.png" << QByteArray("\x89PNG");
    }
    void exportDialog() {
        QFETCH(int, format);
        QFETCH(QString, file);
        QFETCH(QByteArray, start);
        MapDocument document;
        document.map().stop(document.map().AddStop(10, 10, true)).Label.Caption = "Вокзал";
        MapView view(&document);
        QTemporaryDir dir;
        MapExportDialog dialog(&view, QStringLiteral("Карта"));
        dialog.formatBox()->setCurrentIndex(format);
        dialog.pathEdit()->setText(dir.filePath("map"));
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QFile written(dir.filePath(file));
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(written.readAll().startsWith(start));
    }

    // The preview shows the fitted map on one page and the spread one on its sheets, as the
    // choices change; the page set-up is there again the next time.
    void printPreview() {
        MapDocument document;
        for (int i = 0; i < 3; ++i)
            document.map().stop(document.map().AddStop(400 * i, 300 * i, true)).Label.Caption =
                QStringLiteral("Остановка %1").arg(i);
        MapView view(&document);
        auto dialog = std::make_unique<MapPrintDialog>(&view, QStringLiteral("Карта"));
        dialog->layoutBox()->setCurrentIndex(0);
        dialog->preview()->updatePreview();
        QCOMPARE(dialog->preview()->pageCount(), 1);
        dialog->scaleBox()->setValue(400);
        dialog->layoutBox()->setCurrentIndex(1);
        QVERIFY(dialog->preview()->pageCount() > 1);
        const QPageLayout page(QPageSize(QPageSize::A3), QPageLayout::Portrait,
                               QMarginsF(5, 6, 7, 8), QPageLayout::Millimeter);
        dialog->printer()->setPageLayout(page);
        dialog.reset();
        dialog = std::make_unique<MapPrintDialog>(&view, QStringLiteral("Карта"));
        QVERIFY(dialog->printer()->pageLayout().isEquivalentTo(page));
        QCOMPARE(dialog->layoutBox()->currentIndex(), 1);
        QCOMPARE(dialog->scaleBox()->value(), 400);
    }

    // The page lists the legs in travel order (rides with their numbers and colours and the stops
    // between their ends, walks) with the fare, length and time, as text that can be searched.
    void journeyPage() {
        MapDocument document;
        GraphMap& map = document.map();
        const QStringList names{"Вокзал", "Рынок", "Парк", "Цирк", "Музей"};
        for (int i = 0; i < names.size(); ++i) {
            const StopIndex stop = map.AddStop(40 + 100 * i, 40, true);
            map.stop(stop).Label.Caption = names[i];
        }
        MapDescription description;
        description.routes.append({"T1", "1", "", Colour(0x0000FF), std::nullopt, {}});
        document.setDescription(description);
        // Finish first: Вокзал → Рынок → Парк by tram 1, a walk to Цирк, on to Музей by tram 5.
        document.setFoundWay({{4, 3, 2, 1, 0}, 4000, 900});
        RouteReport report;
        report.fareText = "28 руб.";
        report.lengthText = "4 км.";
        report.timeText = "15 мин.";
        report.transfers = 1;
        report.legs = {{0, 2, false, {"T1"}, {"1"}, 420},
                       {2, 3, true, {}, {}, 120},
                       {3, 4, false, {"T5"}, {"5"}, 300}};
        const JourneyToPrint journey{&document, report, "Отчет"};

        const std::vector<JourneyPageLine> lines = journeyPageLines(journey);
        QCOMPARE(int(lines.size()), 3);
        QCOMPARE(lines[0].colour, QColor(Qt::red));
        QCOMPARE(lines[0].stops, QStringLiteral("Рынок"));
        QVERIFY(lines[1].walk);
        // A journey by the timetable lists its report's lines, the route's colour by its number.
        RouteReport timed = report;
        timed.legs.clear();
        timed.ridesText = "\rот ост. Вокзал до ост. Парк\r№ 1 «Цирк», 08:10–08:17"
                          "\rпешком от ост. Парк до ост. Цирк, 2 мин.\r08:17–08:19";
        const std::vector<JourneyPageLine> timedLines =
            journeyPageLines({&document, timed, "Отчет"});
        QCOMPARE(int(timedLines.size()), 2);
        QCOMPARE(timedLines[0].colour, QColor(Qt::red));
        QCOMPARE(timedLines[0].stops, QStringLiteral("№ 1 «Цирк», 08:10–08:17"));
        QCOMPARE(timedLines[1].text,
                 QStringLiteral("от ост. Парк до ост. Цирк, 2 мин., 08:17–08:19"));
        // A journey that fills the page leaves its map to a second one.
        for (int n = 0; n < 16; ++n)
            timed.ridesText += timed.ridesText.left(timed.ridesText.indexOf("\rпешком"));
        QTemporaryDir longDir;
        QString failed;
        QVERIFY(
            writeJourneyPdf({&document, timed, "Отчет"}, longDir.filePath("long.pdf"), &failed));
        QProcess second;
        second.start("pdftotext", {"-f", "2", longDir.filePath("long.pdf"), "-"});
        QVERIFY(second.waitForFinished(30000));
        const QString secondPage = QString::fromUtf8(second.readAllStandardOutput());
        QVERIFY2(secondPage.contains("Музей") && !secondPage.contains("№"), qPrintable(secondPage));

        QTemporaryDir dir;
        const QString path = dir.filePath("journey.pdf");
        // A built-in map is named as its menu names it, not by its stored "none".
        map.FileName = "toolbox/map/MMoscow.gaf";
        map.MapCity = "none";
        QString error;
        QVERIFY2(writeJourneyPdf(journey, path, &error), qPrintable(error));
        QProcess text;
        text.start("pdftotext", {path, "-"});
        QVERIFY2(text.waitForFinished(30000), "pdftotext (poppler-utils) is needed");
        // Spaces as the text is laid out on the page.
        const QString page = QString::fromUtf8(text.readAllStandardOutput()).remove(' ');
        for (const QString expected :
             {"Поездка: Вокзал → Музей", "Карта метро Москвы", "Стоимость пути: 28 руб.",
              "Длина пути: 4 км.", "Время в пути: 15 мин.", "№ 1", "Вокзал → Парк, 7 мин.", "Рынок",
              "пешком", "Парк → Цирк, 2 мин.", "№ 5", "Цирк → Музей, 5 мин."})
            QVERIFY2(page.contains(QString(expected).remove(' ')),
                     qPrintable(expected + " in:\n" + page));
    }
};

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
