#pragma once

#include "route/report.h"

#include "document/mapdocument.h"
#include "edit/modal.h"

#include <QPixmap>
#include <QPointer>

class QGroupBox;
class QLabel;
class QPushButton;
class QScrollArea;

// The report window of a found way: fare, length, time and the rides, each beside its picture.
class RouteReportDialog : public lirsk::ModalDialog {
    Q_OBJECT
public:
    explicit RouteReportDialog(QWidget* parent = nullptr);

    // Writes a report into the window (the captions stay until the next report).
    void ShowReport(const lirsk::RouteReport& report);
    // The map whose found way the report is of: «Печать» and «Экспорт в PDF» print it with the
    // report (none: they are hidden).
    void setJourneyMap(lirsk::MapDocument* document);
    // Where the window must not stand when it shows (screen coordinates; empty: anywhere, and
    // it is centred).
    void keepOff(const QRect& area) { m_keepOff = area; }

    // The pictures beside the three values and on the close button, drawn by the program.
    static QPixmap MoneyPicture();
    static QPixmap RoadPicture();
    static QPixmap ClockPicture();
    static QPixmap CloseGlyph();

    QLabel* fareCaption = nullptr;
    QLabel* lengthCaption = nullptr;
    QLabel* timeCaption = nullptr;
    QLabel* fareLabel = nullptr;
    QLabel* lengthLabel = nullptr;
    QLabel* timeLabel = nullptr;
    QGroupBox* ridesGroup = nullptr;
    QScrollArea* ridesScroll = nullptr;
    QLabel* ridesLabel = nullptr;
    QPushButton* closeButton = nullptr;
    QPushButton* printButton = nullptr;
    QPushButton* pdfButton = nullptr;
    QLabel* fareImage = nullptr;
    QLabel* lengthImage = nullptr;
    QLabel* timeImage = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QRect m_keepOff;
    QPointer<lirsk::MapDocument> m_journeyMap;
    lirsk::RouteReport m_report;
};
