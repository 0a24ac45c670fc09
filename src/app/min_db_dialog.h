#pragma once
// "Set Minimum Decibels": the floor of a project's magnitude plots.

#include "plotui/dialog_fields.h"

class QLineEdit;

namespace tarvo {

class CMinDb : public FieldDialog {
    Q_OBJECT

public:
    CMinDb(double minDb, fw::Ui& ui, QWidget* parent = nullptr);

    // The caller's value until OK takes the typed one.
    double GetMinDb() const { return m_dMinDb; }

protected:
    bool ReadFields() override;

private:
    double m_dMinDb;
    QLineEdit* m_minimumDb;
};

} // namespace tarvo
