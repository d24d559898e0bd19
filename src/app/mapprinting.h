#pragma once

// «Файл» → «Экспорт…» and «Печать…» of the frame: the map of the active window as a file, or on
// paper through a preview, fitted to the page or spread over pages at a scale.

#include <QDialog>
#include <QRect>
#include <QString>

#include <memory>
#include <vector>

class MainWindow;
class QCheckBox;
class QComboBox;
class QMenu;
class QPagedPaintDevice;
class QPrintPreviewWidget;
class QPrinter;
class QSettings;
class QSpinBox;

namespace lirsk {
class MapView;
}

// The program's settings file (~/.config/lirskmap.conf).
std::unique_ptr<QSettings> programSettings();

// Adds «Экспорт…» and «Печать…» (Ctrl+P) to a menu of the frame, for its active map window.
void addMapOutputActions(MainWindow* frame, QMenu* menu);

// How a map goes on paper.
struct MapPrint {
    QRect area;         // map coordinates
    bool fit = true;    // the whole area on one page, else pages at the scale
    double scale = 1.0; // screen pixels a map pixel, over pages
    double overlapMm = 10;
    QString title;
};

// One sheet of a map spread over pages: the part of the map it shows, its row and column.
struct MapSheet {
    QRectF mapRect;
    int row = 0;
    int column = 0;
};
// The sheets of a map on pages of a size (screen pixels, the room left for the map): one for a
// fitted map, else rows and columns that overlap by overlapMm.
std::vector<MapSheet> mapSheets(const MapPrint& print, const QSizeF& room);
// A sheet's label: its row as a letter, its column as a number ("Б3").
QString sheetLabel(const MapSheet& sheet);

// Prints the map onto a printer (or any paged device), a page a sheet, each with its title and
// label at the top.
void printMap(QPagedPaintDevice& device, lirsk::MapView& view, const MapPrint& print);

// The preview of a map's print with its choices: fitted or spread at a scale, the whole map or
// the part in view, the page set-up (remembered for the next time), and printing.
class MapPrintDialog : public QDialog {
    Q_OBJECT
public:
    MapPrintDialog(lirsk::MapView* view, const QString& title, QWidget* parent = nullptr);
    ~MapPrintDialog() override;

    QPrinter* printer() const { return m_printer.get(); }
    QPrintPreviewWidget* preview() const { return m_preview; }
    QComboBox* layoutBox() const { return m_layout; }
    QSpinBox* scaleBox() const { return m_scale; }
    QCheckBox* visibleBox() const { return m_visibleOnly; }
    MapPrint chosen() const;

private:
    void pageSetup();
    void print();
    void rememberPage() const;

    lirsk::MapView* m_view;
    QString m_title;
    std::unique_ptr<QPrinter> m_printer;
    QPrintPreviewWidget* m_preview;
    QComboBox* m_layout;
    QSpinBox* m_scale;
    QCheckBox* m_visibleOnly;
};
