#include "app/qt_project_dialogs.h"

#include "app/design_layout_dialog.h"
#include "app/min_db_dialog.h"
#include "app/order_estimate_dialog.h"
#include "app/sampling_frequency_dialog.h"

namespace tarvo {

QtProjectDialogs::QtProjectDialogs(QWidget* parent, fw::Ui& ui) : m_parent(parent), m_ui(ui) {}

std::optional<double> QtProjectDialogs::MinimumDb(double current) {
    CMinDb dialog(current, m_ui, m_parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.GetMinDb();
}

std::optional<CFs> QtProjectDialogs::SamplingFrequency(const CFs& fs) {
    CSampRate dialog(fs, m_ui, m_parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.GetFs();
}

void QtProjectDialogs::ExportFiles(CExportFiles& exports) {
    if (m_exportFiles) m_exportFiles(exports);
}

std::optional<DesignLayoutChoice>
QtProjectDialogs::DesignLayout(const DesignLayoutChoice& initial) {
    CDesignLayout dialog(initial, m_parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.GetChoice();
}

std::optional<OrderChoice> QtProjectDialogs::EstimateOrder(const OrderRequest& initial,
                                                           std::int32_t family, const CFs& fs) {
    OrderEstimateDialog dialog(initial, family, fs, m_parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Choice();
}

} // namespace tarvo
