#include "app/preferences_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace tarvo {

CIirPreferences::CIirPreferences(bool enableMainPlotTitles, double defaultMinDb, fw::Ui& ui,
                                 QWidget* parent)
    : FieldDialog(ui, parent), m_bEnableMainPlotTitles(enableMainPlotTitles),
      m_dMinDb(defaultMinDb), m_enableTitles(new QCheckBox("Enable main plot titles")),
      m_defaultMinDb(new QLineEdit) {
    setWindowTitle("Preferences");
    m_enableTitles->setObjectName("enableTitles");
    m_enableTitles->setChecked(m_bEnableMainPlotTitles);
    m_defaultMinDb->setObjectName("defaultMinDb");
    ShowDouble(*m_defaultMinDb, m_dMinDb);

    auto* form = new QFormLayout;
    form->addRow(m_enableTitles);
    form->addRow("Default minimum dB", m_defaultMinDb);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(MakeButtons());
}

bool CIirPreferences::ReadFields() {
    const std::optional<double> minDb =
        ReadDouble(*m_defaultMinDb, kLowestDefaultMinDb, kHighestDefaultMinDb, GetUi());
    if (!minDb) return false;
    m_bEnableMainPlotTitles = m_enableTitles->isChecked();
    m_dMinDb = *minDb;
    return true;
}

} // namespace tarvo
