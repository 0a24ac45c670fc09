#pragma once
// "Preferences": whether plots draw their main titles, and the minimum dB every
// new project starts with.

#include "plotui/dialog_fields.h"

class QCheckBox;
class QLineEdit;

namespace tarvo {

// The range of "Default minimum dB".
inline constexpr double kLowestDefaultMinDb = -300.0;
inline constexpr double kHighestDefaultMinDb = 0.0;

class CIirPreferences : public FieldDialog {
    Q_OBJECT

public:
    CIirPreferences(bool enableMainPlotTitles, double defaultMinDb, fw::Ui& ui,
                    QWidget* parent = nullptr);

    // The caller's values until OK takes the dialog's.
    bool GetEnableMainPlotTitles() const { return m_bEnableMainPlotTitles; }
    double GetDefaultMinDb() const { return m_dMinDb; }

protected:
    bool ReadFields() override;

private:
    bool m_bEnableMainPlotTitles;
    double m_dMinDb;
    QCheckBox* m_enableTitles;
    QLineEdit* m_defaultMinDb;
};

} // namespace tarvo
