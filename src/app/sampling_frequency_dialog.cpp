#include "app/sampling_frequency_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace tarvo {

fw::FieldValue<double> ReadSamplingFrequencyField(std::string_view text) {
    fw::FieldValue<double> field = fw::ReadDoubleField(text);
    if (field.Ok() && !(*field.value > 0.0)) return {std::nullopt, kSamplingFrequencyMessage};
    return field;
}

CSampRate::CSampRate(const CFs& fs, fw::Ui& ui, QWidget* parent)
    : FieldDialog(ui, parent), m_fs(fs), m_frequency(new QLineEdit), m_unit(new QComboBox) {
    setWindowTitle("Set Sampling Frequency");

    m_frequency->setObjectName("frequency");
    ShowDouble(*m_frequency, m_fs.GetValue());
    auto* frequencyGroup = new QGroupBox("Frequency");
    (new QVBoxLayout(frequencyGroup))->addWidget(m_frequency);

    m_unit->setObjectName("unit");
    CFs unit;
    for (int u = 0; u < CFs::kUnitCount; ++u) {
        unit.SetUnit(u);
        m_unit->addItem(QString::fromStdString(unit.GetUnitPairText()));
    }
    m_unit->setCurrentIndex(m_fs.GetUnit());
    auto* unitGroup = new QGroupBox("Units of Frequency,Time");
    (new QVBoxLayout(unitGroup))->addWidget(m_unit);

    auto* groups = new QHBoxLayout;
    groups->addWidget(frequencyGroup, 1);
    groups->addWidget(unitGroup);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addWidget(MakeButtons());
    m_frequency->setFocus();
    m_frequency->selectAll();
}

bool CSampRate::ReadFields() {
    const std::optional<double> value =
        TakeField(*m_frequency, ReadSamplingFrequencyField(FieldText(*m_frequency)), GetUi());
    if (!value) return false;
    m_fs.SetValue(*value);
    m_fs.SetUnit(m_unit->currentIndex());
    return true;
}

} // namespace tarvo
