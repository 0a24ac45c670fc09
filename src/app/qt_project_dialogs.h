#pragma once
// The project commands' dialogs on Qt: each runs modally over the given parent
// and shows its field messages through the given Ui.

#include "doc/project_dialogs.h"
#include "fw/ui.h"

#include <functional>
#include <QPointer>
#include <QWidget>

namespace tarvo {

class QtProjectDialogs : public ProjectDialogs {
public:
    using ExportFilesDialog = std::function<void(CExportFiles&)>;

    QtProjectDialogs(QWidget* parent, fw::Ui& ui);

    // The window the dialogs are centred on; null for none.
    void SetParent(QWidget* parent) { m_parent = parent; }
    // Runs the "Export Files" dialog, which lives with the export windows;
    // until one is set, ExportFiles does nothing.
    void SetExportFilesDialog(ExportFilesDialog dialog) { m_exportFiles = std::move(dialog); }

    std::optional<double> MinimumDb(double current) override;
    std::optional<CFs> SamplingFrequency(const CFs& fs) override;
    void ExportFiles(CExportFiles& exports) override;
    std::optional<DesignLayoutChoice> DesignLayout(const DesignLayoutChoice& initial) override;
    std::optional<OrderChoice> EstimateOrder(const OrderRequest& initial, std::int32_t family,
                                             const CFs& fs) override;

private:
    QPointer<QWidget> m_parent;
    fw::Ui& m_ui;
    ExportFilesDialog m_exportFiles;
};

} // namespace tarvo
