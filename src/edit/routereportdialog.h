#pragma once

#include "route/report.h"

#include <QDialog>
#include <QPixmap>

class QGroupBox;
class QLabel;
class QPushButton;

// The report window of a found way: fare, length, time and the rides, each beside its picture.
class RouteReportDialog : public QDialog {
    Q_OBJECT
public:
    explicit RouteReportDialog(QWidget* parent = nullptr);

    // Writes a report into the window (the captions stay until the next report).
    void ShowReport(const lirsk::RouteReport& report);
    void BitBtn1Click();

    // The pictures beside the three values and on the close button, drawn by the program.
    static QPixmap MoneyPicture();
    static QPixmap RoadPicture();
    static QPixmap ClockPicture();
    static QPixmap CloseGlyph();

    QLabel* Label1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;
    QLabel* Image3 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
};

// The program's report window, made at start-up (or on first use).
RouteReportDialog* routeReportDialog();
RouteReportDialog* createRouteReportDialog(QWidget* owner);
