#pragma once

// «Файл» → «Экспорт…»: the map of a window as an SVG, PDF or PNG file.

#include "view/mapexport.h"

#include <QDialog>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace lirsk {
class MapView;
}

// Asks what to export (the whole map or the part in view, at which scale, in which format, a
// picture at which resolution, under which file name) and writes the file when accepted; a file
// that cannot be written is named with the reason and the dialog stays. The choices but the area
// are remembered for the next time.
class MapExportDialog : public QDialog {
    Q_OBJECT
public:
    MapExportDialog(lirsk::MapView* view, const QString& title, QWidget* parent = nullptr);

    QRadioButton* wholeButton() const { return m_whole; }
    QRadioButton* visibleButton() const { return m_visible; }
    QDoubleSpinBox* scaleBox() const { return m_scale; }
    QComboBox* formatBox() const { return m_format; }
    QSpinBox* dpiBox() const { return m_dpi; }
    QLineEdit* pathEdit() const { return m_path; }
    QLabel* sizeLabel() const { return m_size; }

    // What the choices export.
    lirsk::MapExport chosen() const;
    lirsk::ExportFormat format() const;

    void accept() override;

private:
    void formatChosen();
    void showSize();
    void browse();

    lirsk::MapView* m_view;
    QString m_title;
    QRadioButton* m_whole;
    QRadioButton* m_visible;
    QDoubleSpinBox* m_scale;
    QComboBox* m_format;
    QSpinBox* m_dpi;
    QLabel* m_size;
    QLineEdit* m_path;
};
