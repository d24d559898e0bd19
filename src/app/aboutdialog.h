#pragma once

#include <QDialog>

// The About window: the program's name, author and contacts on a white window.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};
