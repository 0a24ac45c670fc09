#include "app/plot_properties_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace tarvo {
namespace {

QCheckBox* MakeCheckBox(const char* text, const char* name, bool checked) {
    auto* box = new QCheckBox(text);
    box->setObjectName(name);
    box->setChecked(checked);
    return box;
}

} // namespace

CIirPlotProperties::CIirPlotProperties(const PlotProperties& properties, fw::Ui& ui,
                                       QWidget* parent)
    : FieldDialog(ui, parent), m_properties(properties),
      m_autoTitles(MakeCheckBox("Auto Titles", "autoTitles", properties.autoTitles)),
      m_enableLegend(MakeCheckBox("Enable Legend", "enableLegend", properties.legend)),
      m_originAtZero(MakeCheckBox("Origin at Zero", "originAtZero", properties.originAtZero)),
      m_fullDecadeZoom(MakeCheckBox("Zoom Full Decade in Log Plot", "fullDecadeZoom",
                                    properties.fullDecadeZoom)),
      m_sampleLengthLabel(new QLabel("Sample length")), m_sampleLength(new QLineEdit) {
    setWindowTitle("Plot Properties");
    m_sampleLengthLabel->setObjectName("sampleLengthLabel");
    m_sampleLengthLabel->setBuddy(m_sampleLength);
    m_sampleLength->setObjectName("sampleLength");
    ShowInteger(*m_sampleLength, properties.sampleLength);

    m_autoTitles->setEnabled(properties.IsEnabled(kPropAutoTitles));
    m_fullDecadeZoom->setEnabled(properties.IsEnabled(kPropFullDecadeZoom));
    m_originAtZero->setEnabled(properties.IsEnabled(kPropOriginAtZero));
    m_enableLegend->setEnabled(properties.IsEnabled(kPropLegend));
    m_sampleLengthLabel->setEnabled(properties.IsEnabled(kPropSampleLength));
    m_sampleLength->setEnabled(properties.IsEnabled(kPropSampleLength));

    auto* form = new QFormLayout;
    form->addRow(m_autoTitles);
    form->addRow(m_enableLegend);
    form->addRow(m_originAtZero);
    form->addRow(m_fullDecadeZoom);
    form->addRow(m_sampleLengthLabel, m_sampleLength);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(MakeButtons());
}

bool CIirPlotProperties::ReadFields() {
    // A disabled length is the plot's own and is handed back as it came.
    std::uint32_t length = m_properties.sampleLength;
    if (m_sampleLength->isEnabled()) {
        const std::optional<std::int64_t> typed =
            ReadInteger(*m_sampleLength, 0, kMaxSampleLength, GetUi());
        if (!typed) return false;
        length = static_cast<std::uint32_t>(*typed);
    }
    m_properties.autoTitles = m_autoTitles->isChecked();
    m_properties.legend = m_enableLegend->isChecked();
    m_properties.originAtZero = m_originAtZero->isChecked();
    m_properties.fullDecadeZoom = m_fullDecadeZoom->isChecked();
    m_properties.sampleLength = length;
    return true;
}

} // namespace tarvo
