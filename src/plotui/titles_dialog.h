#pragma once
// The "Titles" dialog: the main, x and y titles of a plot.

#include "plot/plot_text.h"

#include <QDialog>

class QLineEdit;

namespace tarvo {

class TitlesDialog : public QDialog {
    Q_OBJECT

public:
    TitlesDialog(const PlotTitles& titles, QWidget* parent);
    PlotTitles Titles() const;

private:
    QLineEdit* main_;
    QLineEdit* x_;
    QLineEdit* y_;
};

} // namespace tarvo
