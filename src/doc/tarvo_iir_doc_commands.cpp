// The commands of a project's "IIR" and "View" menus.

#include "doc/app_options.h"
#include "doc/design_frame.h"
#include "doc/doc_command_ids.h"
#include "doc/project_dialogs.h"
#include "doc/tarvo_iir_doc.h"
#include "doc/update_hint.h"
#include "fw/archive.h"
#include "fw/command_ids.h"

#include <algorithm>
#include <array>

namespace tarvo {

namespace {

// A command that opens one more window on the project.
struct WindowCommand {
    fw::CommandId id;
    fw::DocTemplate* ProjectTemplates::*docTemplate;
    const std::int32_t* pendingList; // set before the window opens (null: left as it is)
    std::int32_t hint;
};

constexpr std::array<WindowCommand, 12> kWindowCommands{{
    {kIdIirMagnitude, &ProjectTemplates::frequencyPlot, kMagnitudePlotTypes, hint::kWindowsOpened},
    {kIdIirPhase, &ProjectTemplates::frequencyPlot, nullptr, hint::kPhaseWindowOpened},
    {kIdIirUnwrappedPhase, &ProjectTemplates::frequencyPlot, nullptr,
     hint::kUnwrappedPhaseWindowOpened},
    {kIdIirGroupDelay, &ProjectTemplates::frequencyPlot, nullptr, hint::kGroupDelayWindowOpened},
    {kIdIirPhaseDelay, &ProjectTemplates::frequencyPlot, nullptr, hint::kPhaseDelayWindowOpened},
    {kIdIirMagnitudeAndUnwrapped, &ProjectTemplates::multiPlot, kMagnitudeAndUnwrappedPlotTypes,
     hint::kWindowsOpened},
    {kIdIirImpulse, &ProjectTemplates::timePlot, nullptr, hint::kImpulseWindowOpened},
    {kIdIirStep, &ProjectTemplates::timePlot, nullptr, hint::kStepWindowOpened},
    {kIdIirImpulseAndStep, &ProjectTemplates::timePlot, nullptr, hint::kImpulseAndStepWindowOpened},
    {kIdIirPolesAndZeros, &ProjectTemplates::poleZero, nullptr, hint::kPoleZeroWindowOpened},
    {kIdIirCoefficients, &ProjectTemplates::coefficients, nullptr, hint::kCoefficientsWindowOpened},
    {kIdIirDesignReport, &ProjectTemplates::report, nullptr, hint::kCoefficientsWindowOpened},
}};

const WindowCommand* FindWindowCommand(fw::CommandId id) {
    const auto* it = std::find_if(kWindowCommands.begin(), kWindowCommands.end(),
                                  [id](const WindowCommand& c) { return c.id == id; });
    return it != kWindowCommands.end() ? &*it : nullptr;
}

// Commands enabled whatever the state of the project.
constexpr std::array<fw::CommandId, 6> kAlwaysEnabled{
    kIdIirDesign,  kIdIirMinimumDb,     kIdIirSamplingFrequency,
    kIdFileExport, kIdViewDesignLayout, kIdIirEstimateOrder};

} // namespace

bool CTarvoIirDoc::OnCommand(fw::CommandId id) {
    switch (id) {
    case kIdIirDesign:
        OnDesignWindow();
        return true;
    case kIdIirMinimumDb:
        OnMinimumDb();
        return true;
    case kIdIirEstimateOrder:
        OnEstimateOrder();
        return true;
    case kIdIirSamplingFrequency:
        OnSamplingFrequency();
        return true;
    case kIdFileExport:
        OnExport();
        return true;
    case kIdViewDesignLayout:
        OnDesignLayout();
        return true;
    case fw::kIdEditUndo:
        StepHistory(&CUndo::Undo);
        return true;
    case fw::kIdEditRedo:
        StepHistory(&CUndo::Redo);
        return true;
    default:
        break;
    }
    return OnWindowCommand(id) || CFilterDoc::OnCommand(id);
}

bool CTarvoIirDoc::OnUpdateCommand(fw::CommandId id, fw::CmdUI& ui) {
    if (std::find(kAlwaysEnabled.begin(), kAlwaysEnabled.end(), id) != kAlwaysEnabled.end()) {
        ui.Enable(true);
        return true;
    }
    if (FindWindowCommand(id) != nullptr) {
        ui.Enable(IsDesigned());
        return true;
    }
    if (id == fw::kIdEditUndo) {
        ui.Enable(CanUndo() || HasUnrecordedChange());
        return true;
    }
    if (id == fw::kIdEditRedo) {
        ui.Enable(CanRedo() && !HasUnrecordedChange());
        return true;
    }
    return CFilterDoc::OnUpdateCommand(id, ui);
}

void CTarvoIirDoc::OpenWindow(fw::DocTemplate* docTemplate, std::int32_t hintValue) {
    // The hint follows the new frame, so that its view binds on it.
    if (docTemplate != nullptr && docTemplate->OpenFrame(*this) != nullptr) {
        UpdateViews(hintValue);
    }
}

bool CTarvoIirDoc::OnWindowCommand(fw::CommandId id) {
    const WindowCommand* command = FindWindowCommand(id);
    if (command == nullptr) return false;
    if (command->pendingList != nullptr) m_pending.Set(command->pendingList);
    OpenWindow(m_context.templates.*(command->docTemplate), command->hint);
    return true;
}

void CTarvoIirDoc::OnDesignWindow() {
    if (DesignFrame* frame = FindDesignFrame(); frame != nullptr) {
        frame->ActivateFrame();
        return;
    }
    fw::DocTemplate* docTemplate = m_context.templates.design;
    if (docTemplate == nullptr || docTemplate->OpenFrame(*this) == nullptr) return;
    m_pending.Set(kDesignPlotTypes);
    UpdateViews(hint::kWindowsOpened);
}

void CTarvoIirDoc::OnMinimumDb() {
    if (m_context.dialogs == nullptr) return;
    if (const std::optional<double> value = m_context.dialogs->MinimumDb(m_dMinDb)) {
        m_dMinDb = *value;
        OnFilterChanged(true, 0);
    }
}

void CTarvoIirDoc::OnEstimateOrder() {
    if (m_context.dialogs == nullptr) return;
    const OrderRequest initial = m_lastOrderRequest
                                     ? *m_lastOrderRequest
                                     : DefaultOrderRequest(m_filter.spec, m_filter.fs.GetValue());
    const std::optional<OrderChoice> choice =
        m_context.dialogs->EstimateOrder(initial, m_filter.spec.family, m_filter.fs);
    if (!choice) return;
    m_lastOrderRequest = choice->request;
    const OrderEstimate estimate = EstimateOrder(choice->request);
    const auto family = static_cast<std::size_t>(choice->family);
    if (!estimate.Ok() || family >= estimate.families.size() ||
        !estimate.families[family].Usable()) {
        return;
    }
    // The form lives in the design window: open it to take the values.
    OnDesignWindow();
    OrderEstimateHint typed;
    typed.request = choice->request;
    typed.chosen = estimate.families[family];
    UpdateAllViews(nullptr, hint::kOrderEstimate, &typed);
}

void CTarvoIirDoc::OnSamplingFrequency() {
    if (m_context.dialogs == nullptr) return;
    if (const std::optional<CFs> fs = m_context.dialogs->SamplingFrequency(m_filter.fs)) {
        m_filter.fs = *fs;
        SetModifiedFlag(true);
        UpdateViews(hint::kFsChangedHint);
    }
}

namespace {

// The export list as the project file holds it.
std::vector<std::uint8_t> StoredExports(CExportFiles& exports) {
    fw::Archive ar = fw::Archive::ForStoring();
    exports.Serialize(ar, kCurrentFileVersion);
    return ar.TakeBuffer();
}

} // namespace

void CTarvoIirDoc::OnExport() {
    if (m_context.dialogs == nullptr) return;
    const std::vector<std::uint8_t> before = StoredExports(m_exports);
    m_context.dialogs->ExportFiles(m_exports);
    // The list is saved with the project: a change must not be lost on close.
    if (StoredExports(m_exports) != before) SetModifiedFlag(true);
    // The dialog has shown the list and its "Auto export all" box.
    m_bConfirmAutoExport = false;
}

void CTarvoIirDoc::OnDesignLayout() {
    if (m_context.dialogs == nullptr) return;
    LayoutRecord& record = m_layouts[0];
    DesignLayoutChoice initial;
    for (std::size_t i = 0; i < initial.kinds.size(); ++i) {
        initial.kinds[i] = record.PaneKind(static_cast<std::int32_t>(i));
    }
    initial.minimizeBottomRow = record.MinimizeBottomRow();
    const std::optional<DesignLayoutChoice> choice = m_context.dialogs->DesignLayout(initial);
    if (!choice) return;

    if (choice->saveAsDefault && m_context.options != nullptr) {
        AppOptions& o = *m_context.options;
        o.m_vsLeft1 = choice->kinds[0];
        o.m_vsLeft2 = choice->kinds[1];
        o.m_vsRight1 = choice->kinds[2];
        o.m_vsRight2 = choice->kinds[3];
        o.m_vsRight3 = choice->kinds[4];
        o.m_bMinimizeBottomRow = choice->minimizeBottomRow ? 1 : 0;
        if (m_context.settingsStore != nullptr) o.SaveOptions(*m_context.settingsStore);
    }
    record.Clear();
    for (const std::int32_t kind : choice->kinds) {
        record.AppendPane(kind);
    }
    record.SetMinimizeBottomRow(choice->minimizeBottomRow);
    if (DesignFrame* frame = FindDesignFrame(); frame != nullptr) {
        frame->LayoutPanes();
        UpdateViews(hint::kWindowsOpened);
    }
}

} // namespace tarvo
