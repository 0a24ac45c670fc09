#include "app/min_db_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace tarvo {

CMinDb::CMinDb(double minDb, fw::Ui& ui, QWidget* parent)
    : FieldDialog(ui, parent), m_dMinDb(minDb), m_minimumDb(new QLineEdit) {
    setWindowTitle("Set Minimum Decibels");
    m_minimumDb->setObjectName("minimumDb");
    ShowDouble(*m_minimumDb, m_dMinDb);

    auto* form = new QFormLayout;
    form->addRow("Minimum dB", m_minimumDb);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(MakeButtons());
    m_minimumDb->setFocus();
    m_minimumDb->selectAll();
}

bool CMinDb::ReadFields() {
    const std::optional<double> value = ReadDouble(*m_minimumDb, GetUi());
    if (!value) return false;
    m_dMinDb = *value;
    return true;
}

} // namespace tarvo
