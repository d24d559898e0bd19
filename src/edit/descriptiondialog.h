#pragma once

#include "model/mapdescription.h"

#include <QDialog>

class QDoubleSpinBox;
class QLineEdit;
class QSpinBox;
class QTableWidget;

namespace lirsk {

// «Описание карты»: what a map's description holds, edited in the program: the title, the code
// letter, the fares and their unit, the grid step, the picture and the route table.
class MapDescriptionDialog : public QDialog {
    Q_OBJECT
public:
    explicit MapDescriptionDialog(QWidget* parent = nullptr);

    void setDescription(const MapDescription& description);
    // What the fields say; the fields this program does not know stay as they were given.
    MapDescription description() const;

    QLineEdit* titleEdit;
    QLineEdit* codeEdit;
    QDoubleSpinBox* baseFareSpin;
    QDoubleSpinBox* transferFareSpin;
    QLineEdit* fareUnitEdit;
    QSpinBox* gridStepSpin;
    QLineEdit* pictureEdit;
    QTableWidget* routeTable;

    // The route table's rows: a new empty one, the current one taken out or moved up or down.
    void addRoute();
    void removeRoute();
    void moveRoute(int by);

public slots:
    // Refuses a colour that is not #RRGGBB, naming its row.
    void accept() override;

private:
    void setRow(int row, const DescribedRoute& route);
    MapDescription m_given;
};

} // namespace lirsk
