#pragma once
// The axis dialog: range, spacings, label power and digits, grid and log mode
// of one axis, on a copy of its record. OK takes the values only when the scale
// engine accepts them, and tells the user what it corrected.

#include "plot/axis_scale.h"
#include "plotui/dialog_fields.h"

#include <string>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;

namespace tarvo {

class AxisDialog : public FieldDialog {
    Q_OBJECT

public:
    // logAllowed is false for polar plots, whose axes are always linear.
    AxisDialog(fw::Ui& ui, const std::string& title, const AxisSettings& record, QWidget* parent,
               bool logAllowed = true);

    const AxisSettings& Record() const { return record_; }

protected:
    bool ReadFields() override;

private:
    void ShowRecord();
    void UpdateEnabled();
    // Fills range and spacings from the data range kept with the record.
    void AutoscaleOnce();

    std::string title_;
    AxisSettings record_;
    QLineEdit* max_;
    QLineEdit* min_;
    QLineEdit* labelStep_;
    QLineEdit* ticStep_;
    QCheckBox* autoscale_;
    QPushButton* autoscaleOnce_;
    QLineEdit* power_;
    QLineEdit* digits_;
    QCheckBox* autoPower_;
    QButtonGroup* grid_;
    QCheckBox* log_;
};

} // namespace tarvo
