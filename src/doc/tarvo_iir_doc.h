#pragma once
// CTarvoIirDoc: one IIR project. It owns the filter, the coefficient-view format,
// the export list, the minimum dB, the time-response length, the layout of its
// design window and its undo store; it turns every design change into a
// modified mark, an undo step, an automatic export and an update of its views.

#include "design/estimate_form.h"
#include "design/iir_filter.h"
#include "doc/filter_doc.h"
#include "doc/layout_record.h"
#include "doc/pending_plot_types.h"
#include "doc/project_context.h"
#include "export/export_files.h"
#include "export/iir_file_format.h"
#include "fw/ui.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tarvo {

class DesignFrame;

// Shown after opening a file of an older version.
inline constexpr const char* kOlderVersionMessage =
    "This Project file was created by a previous version of\n"
    "this program. It will be saved in the current file format.";

// The hint object of hint::kOrderEstimate: the request and the family chosen
// in the Estimate Order dialog, for the design form to type in.
struct OrderEstimateHint : fw::Object {
    OrderRequest request;
    FamilyOrder chosen;
};

class CTarvoIirDoc : public CFilterDoc {
public:
    // The document type in the file header of a project.
    static constexpr std::uint8_t kDocType = 64;
    static constexpr std::int32_t kMaxLayoutRecords = 8;
    static constexpr double kInitialMinDb = -130.0;
    static constexpr std::int32_t kInitialTimeResponseLength = 128;
    // Largest time-response length a file may hold (the Plot Properties limit).
    static constexpr std::int32_t kMaxTimeResponseLength = 1000000;

    explicit CTarvoIirDoc(fw::Ui& ui, ProjectContext context = {});
    CTarvoIirDoc(const CTarvoIirDoc&) = delete;
    CTarvoIirDoc& operator=(const CTarvoIirDoc&) = delete;
    ~CTarvoIirDoc() override;

    // A new project: the minimum dB from the settings, the design list pending,
    // hint 777, and the first undo entry.
    bool OnNewDocument() override;
    // Reads the file; a file of an older version gets its notice. The loaded
    // state becomes the first undo entry.
    bool OnOpenDocument(const std::string& path) override;
    // Empties the filter's results; everything else stays.
    void DeleteContents() override;
    // The whole project stream. Storing tells the views first (hint 774);
    // loading ends with the design window re-laid out and hint 773.
    void Serialize(fw::Archive& ar) override;

    bool IsDesigned() const override;
    // The design changed; the views then hear hintBits with the design-changed
    // event. With record set: the modified mark and an undo step (always: the
    // caller says the design changed), the question a received project's export
    // list is due, the automatic export with its failures shown, then the
    // failures of the live steps before it that this export did not show again.
    // Without record it is one step of a live edit (a drag move, an arrow key):
    // no mark and no undo step, the change stays pending, and the export runs
    // silently: nothing is asked (a received project writes nothing until then)
    // and failures are kept for the recorded end, each text once.
    // A caller that cannot tell whether anything changed, such as a click that
    // only picks or unpicks a root, calls RecordPendingChange instead.
    void OnFilterChanged(bool record, std::int32_t hintBits) override;
    // Live edit steps changed the design since it was last recorded.
    bool HasUnrecordedChange() const { return m_bUnrecordedChange; }
    // Ends a live edit: OnFilterChanged(true, hintBits) when a change is
    // pending; otherwise nothing happens (no undo step, no mark, no update).
    void RecordPendingChange(std::int32_t hintBits);

    bool OnCommand(fw::CommandId id) override;
    bool OnUpdateCommand(fw::CommandId id, fw::CmdUI& ui) override;

    // The Sampling Frequency command; the design form's FS button runs it too.
    void OnSamplingFrequency();

    // Plot types for plot views that bind without one.
    std::int32_t NextPendingPlotType() { return m_pending.Next(); }
    std::int32_t PendingPlotTypeCount() const { return m_pending.Count(); }

    // A pane of the design window changes to a view of another kind: stored in
    // layout record 0, the window re-laid out, hint 777. Nothing happens for a
    // view that is not a pane of this project's design window.
    void SetPaneKind(const fw::View& view, std::int32_t kind);
    // The first frame among the views' frames that is a design window; null when
    // the project has none open.
    DesignFrame* FindDesignFrame() const;

    CIirFilter& GetFilter() { return m_filter; }
    const CIirFilter& GetFilter() const { return m_filter; }
    CIirFileFormat& GetFormat() { return m_format; }
    // The coefficient-view format chosen in its dialog: a format that differs
    // from the current one is taken and marks the project modified (it is saved
    // with it). The stored path stays. False when nothing changed.
    bool SetViewFormat(const CIirFileFormat& format);
    CExportFiles& GetExportFiles() { return m_exports; }
    double GetMinDb() const { return m_dMinDb; }
    std::int32_t GetTimeResponseLength() const { return m_nTimeResponseLength; }
    // A time plot's new sample length; a different value marks the project
    // modified (no undo step).
    void SetTimeResponseLength(std::int32_t length);
    // The design form typed in an order estimate: the report measures the
    // attenuation beyond its stopband edges while the design keeps that shape.
    void SetEstimatedDesign(const EstimatedDesign& estimated) { m_estimated = estimated; }
    ReportBands GetReportBands() const { return ReportBandsFor(m_filter.spec, m_estimated); }
    std::int32_t GetLayoutCount() const { return m_nLayoutCount; }
    const LayoutRecord& GetLayout(std::int32_t index = 0) const;

private:
    // The export of a recorded change, an undo or a redo (see OnFilterChanged).
    void RunAutoExport();
    // The export of a live edit step (see OnFilterChanged).
    void RunSilentExport();
    // Asks a received project's question when an export would now write its
    // files; false when the answer turned the automatic export off.
    bool ConfirmAutoExport();
    // Undo or Redo with their hints: 5 always, 7 when the frequency changed. A
    // pending live edit is recorded first, so Undo takes back all of it.
    void StepHistory(bool (CUndo::*step)());
    // Opens a window from a template and sends hint when one was made.
    void OpenWindow(fw::DocTemplate* docTemplate, std::int32_t hintValue);
    bool OnWindowCommand(fw::CommandId id);
    void OnDesignWindow();
    void OnMinimumDb();
    void OnEstimateOrder();
    void OnExport();
    void OnDesignLayout();
    void SerializeLayouts(fw::Archive& ar);
    void AfterLoad();
    void UpdateViews(std::int32_t hintValue);

    CIirFilter m_filter;
    CIirFileFormat m_format;
    CExportFiles m_exports;
    double m_dMinDb = kInitialMinDb;
    std::int32_t m_nTimeResponseLength = kInitialTimeResponseLength;
    PendingPlotTypes m_pending;
    std::array<LayoutRecord, kMaxLayoutRecords> m_layouts{};
    std::int32_t m_nLayoutCount = 1;
    ProjectContext m_context;
    // Opened from a file whose export entries the user has not seen yet: the
    // first automatic export asks before it writes them.
    bool m_bConfirmAutoExport = false;
    bool m_bUnrecordedChange = false;
    // The last request of the Estimate Order dialog (not saved with the project).
    std::optional<OrderRequest> m_lastOrderRequest;
    std::optional<EstimatedDesign> m_estimated;
    // Export failures of the live steps since the last recorded change.
    std::vector<std::pair<std::string, fw::Icon>> m_heldMessages;
};

} // namespace tarvo
