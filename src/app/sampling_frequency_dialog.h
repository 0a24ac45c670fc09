#pragma once
// "Set Sampling Frequency": the value in its unit and the unit pair. Choosing
// another unit keeps the typed number, which is then read in the new unit.

#include "plot/fs.h"
#include "plotui/dialog_fields.h"

#include <string_view>

class QComboBox;
class QLineEdit;

namespace tarvo {

inline constexpr const char* kSamplingFrequencyMessage =
    "The sampling frequency must be greater than zero.";

// The frequency field's rule: a finite number above zero.
fw::FieldValue<double> ReadSamplingFrequencyField(std::string_view text);

class CSampRate : public FieldDialog {
    Q_OBJECT

public:
    CSampRate(const CFs& fs, fw::Ui& ui, QWidget* parent = nullptr);

    // The caller's value until OK takes the typed value and the chosen unit.
    const CFs& GetFs() const { return m_fs; }

protected:
    bool ReadFields() override;

private:
    CFs m_fs;
    QLineEdit* m_frequency;
    QComboBox* m_unit;
};

} // namespace tarvo
