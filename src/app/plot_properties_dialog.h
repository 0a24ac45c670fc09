#pragma once
// "Plot Properties" of a filter plot: title, legend, origin and zoom switches
// and the time-response length, each control enabled by the plot's mask.

#include "plot/plot_properties.h"
#include "plotui/dialog_fields.h"

class QCheckBox;
class QLabel;
class QLineEdit;

namespace tarvo {

class CIirPlotProperties : public FieldDialog {
    Q_OBJECT

public:
    CIirPlotProperties(const PlotProperties& properties, fw::Ui& ui, QWidget* parent = nullptr);

    // The caller's record until OK takes the dialog's values (the mask stays).
    const PlotProperties& GetProperties() const { return m_properties; }

protected:
    bool ReadFields() override;

private:
    PlotProperties m_properties;
    QCheckBox* m_autoTitles;
    QCheckBox* m_enableLegend;
    QCheckBox* m_originAtZero;
    QCheckBox* m_fullDecadeZoom;
    QLabel* m_sampleLengthLabel;
    QLineEdit* m_sampleLength;
};

} // namespace tarvo
