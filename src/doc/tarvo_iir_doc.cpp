#include "doc/tarvo_iir_doc.h"

#include "doc/app_options.h"
#include "doc/design_frame.h"
#include "doc/filter_stream.h"
#include "doc/update_hint.h"
#include "export/export_formats.h"
#include "export/export_path.h"
#include "fw/archive.h"
#include "fw/ui.h"
#include "fw/view.h"
#include "korin/base/kassert.h"

#include <algorithm>
#include <optional>

namespace tarvo {

namespace {

constexpr std::size_t kLayoutRecordMinBytes = 4;

const AppOptions& OptionsOf(const ProjectContext& context) {
    static const AppOptions defaults;
    return context.options != nullptr ? *context.options : defaults;
}

// The files the export entries write, headers before their sources.
std::vector<std::string> ExportTargets(const CExportFileList& list) {
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < list.Size(); ++i) {
        const CIirExportFileFormat& entry = list.At(i);
        if (IsCFormat(entry.m_nFormat) && IsCSourcePath(entry.m_strPath)) {
            paths.push_back(ReplaceExtension(entry.m_strPath, ".h"));
        }
        paths.push_back(entry.m_strPath);
    }
    return paths;
}

std::string AutoExportQuestion(const std::vector<std::string>& paths) {
    std::string text = "This project writes its export files whenever the design changes:\n\n";
    for (const std::string& p : paths) {
        text += p + "\n";
    }
    text += "\nThe list comes from the project file. Write these files now?\n"
            "(No turns \"Auto export all\" off for this project.)";
    return text;
}

using HeldMessages = std::vector<std::pair<std::string, fw::Icon>>;

// The Ui of a live edit step's export: a modal box would take the mouse grab
// from the drag, so messages are kept (each text once) instead of shown.
class HoldingUi final : public fw::Ui {
public:
    HoldingUi(fw::Ui& ui, HeldMessages& held) : ui_(ui), held_(held) {}

    void Message(const std::string& text, fw::Icon icon) override {
        const bool known =
            std::any_of(held_.begin(), held_.end(), [&](const auto& m) { return m.first == text; });
        if (!known) held_.emplace_back(text, icon);
    }
    // No wait cursor either: it would flicker with every mouse move.
    void BeginBusy() override {}
    void EndBusy() override {}
    void SetStatusText(const std::string& text) override { ui_.SetStatusText(text); }
    void SetLastingStatus(const std::string& text) override { ui_.SetLastingStatus(text); }
    bool OpenWithAssociatedProgram(const std::string& /*path*/) override { return false; }
    std::optional<std::string> AskSavePath(const std::string& /*suggested*/,
                                           const std::string& /*filter*/) override {
        return std::nullopt;
    }

protected:
    fw::Answer DoAsk(const std::string& /*text*/, fw::Buttons /*buttons*/) override {
        return fw::Answer::No;
    }

private:
    fw::Ui& ui_;
    HeldMessages& held_;
};

// Passes everything on and remembers which messages were shown.
class NotingUi final : public fw::Ui {
public:
    explicit NotingUi(fw::Ui& ui) : ui_(ui) {}

    bool Showed(const std::string& text) const {
        return std::find(shown_.begin(), shown_.end(), text) != shown_.end();
    }

    void Message(const std::string& text, fw::Icon icon) override {
        shown_.push_back(text);
        ui_.Message(text, icon);
    }
    void BeginBusy() override { ui_.BeginBusy(); }
    void EndBusy() override { ui_.EndBusy(); }
    void SetStatusText(const std::string& text) override { ui_.SetStatusText(text); }
    void SetLastingStatus(const std::string& text) override { ui_.SetLastingStatus(text); }
    bool OpenWithAssociatedProgram(const std::string& path) override {
        return ui_.OpenWithAssociatedProgram(path);
    }
    std::optional<std::string> AskSavePath(const std::string& suggested,
                                           const std::string& filter) override {
        return ui_.AskSavePath(suggested, filter);
    }

protected:
    fw::Answer DoAsk(const std::string& text, fw::Buttons buttons) override {
        return ui_.Ask(text, buttons);
    }

private:
    fw::Ui& ui_;
    std::vector<std::string> shown_;
};

} // namespace

CTarvoIirDoc::CTarvoIirDoc(fw::Ui& ui, ProjectContext context)
    : CFilterDoc(ui, kDocType),
      m_exports(context.documentsFolder.empty() ? DefaultDocumentsFolder()
                                                : context.documentsFolder),
      m_context(std::move(context)) {
    m_exports.m_pDoc = this;
    m_exports.m_pFilter = &m_filter;
    m_layouts[0] = LayoutRecord::FromOptions(OptionsOf(m_context));
}

CTarvoIirDoc::~CTarvoIirDoc() = default;

bool CTarvoIirDoc::OnNewDocument() {
    if (!CFilterDoc::OnNewDocument()) return false;
    m_bUnrecordedChange = false;
    m_heldMessages.clear();
    m_dMinDb = OptionsOf(m_context).m_dMinDb;
    m_pending.Set(kDesignPlotTypes);
    UpdateViews(hint::kWindowsOpened);
    CheckPoint();
    return true;
}

bool CTarvoIirDoc::OnOpenDocument(const std::string& path) {
    if (!CFilterDoc::OnOpenDocument(path)) return false;
    m_bUnrecordedChange = false;
    m_heldMessages.clear();
    if (GetFileVersion() < kCurrentFileVersion) {
        GetUi().Message(kOlderVersionMessage, fw::Icon::Information);
    }
    CheckPoint();
    m_bConfirmAutoExport = !m_exports.m_list.Empty();
    return true;
}

void CTarvoIirDoc::DeleteContents() {
    m_filter.Clear();
}

bool CTarvoIirDoc::IsDesigned() const {
    return !m_filter.IsEmpty();
}

void CTarvoIirDoc::UpdateViews(std::int32_t hintValue) {
    UpdateAllViews(nullptr, hintValue, &m_filter);
}

void CTarvoIirDoc::OnFilterChanged(bool record, std::int32_t hintBits) {
    m_bUnrecordedChange = !record;
    CFilterDoc::OnFilterChanged(record, hintBits);
    if (record) {
        RunAutoExport();
    } else {
        RunSilentExport();
    }
    UpdateViews(hintBits | hint::kDesignChanged);
}

void CTarvoIirDoc::RecordPendingChange(std::int32_t hintBits) {
    if (m_bUnrecordedChange) OnFilterChanged(true, hintBits);
}

bool CTarvoIirDoc::ConfirmAutoExport() {
    // The paths and texts of a received project's entries come from its file:
    // they are written only once the user has agreed to them.
    if (!m_bConfirmAutoExport || !m_exports.AutoExportOn() || m_exports.m_list.Empty() ||
        !IsDesigned()) {
        return true;
    }
    m_bConfirmAutoExport = false;
    const std::string question = AutoExportQuestion(ExportTargets(m_exports.m_list));
    if (GetUi().Ask(question) == fw::Answer::Yes) return true;
    m_exports.SetAutoExport(false);
    return false;
}

void CTarvoIirDoc::RunAutoExport() {
    NotingUi ui(GetUi());
    if (ConfirmAutoExport()) m_exports.AutoExport(ui);
    // A live edit's failures are shown once, at its end; one this export just
    // showed again is not repeated.
    HeldMessages held;
    held.swap(m_heldMessages);
    for (const auto& [text, icon] : held) {
        if (!ui.Showed(text)) GetUi().Message(text, icon);
    }
}

void CTarvoIirDoc::RunSilentExport() {
    // A received project writes nothing before its question, which waits for
    // the end of the edit.
    if (m_bConfirmAutoExport) return;
    HoldingUi ui(GetUi(), m_heldMessages);
    m_exports.AutoExport(ui);
}

bool CTarvoIirDoc::SetViewFormat(const CIirFileFormat& format) {
    if (m_format.SameOptions(format)) return false;
    const std::string keptPath = m_format.m_strPath;
    m_format.CopyFrom(format);
    m_format.m_strPath = keptPath;
    SetModifiedFlag(true);
    return true;
}

void CTarvoIirDoc::SetTimeResponseLength(std::int32_t length) {
    if (length == m_nTimeResponseLength) return;
    m_nTimeResponseLength = length;
    SetModifiedFlag(true);
}

const LayoutRecord& CTarvoIirDoc::GetLayout(std::int32_t index) const {
    if (!KORIN_ASSERT(index >= 0 && index < kMaxLayoutRecords)) return m_layouts[0];
    return m_layouts[static_cast<std::size_t>(index)];
}

DesignFrame* CTarvoIirDoc::FindDesignFrame() const {
    for (fw::View* v : Views()) {
        if (auto* frame = dynamic_cast<DesignFrame*>(v->GetParentFrame()); frame != nullptr) {
            return frame;
        }
    }
    return nullptr;
}

void CTarvoIirDoc::SetPaneKind(const fw::View& view, std::int32_t kind) {
    DesignFrame* frame = FindDesignFrame();
    if (frame == nullptr) return;
    const std::optional<std::int32_t> index = frame->PaneIndexOf(view);
    if (!index || *index < 0 || *index >= LayoutRecord::kMaxPanes) return;
    m_layouts[0].SetPaneKind(*index, kind);
    frame->LayoutPanes();
    UpdateViews(hint::kWindowsOpened);
}

void CTarvoIirDoc::SerializeLayouts(fw::Archive& ar) {
    if (ar.IsStoring()) {
        ar.WriteI32(m_nLayoutCount);
        for (std::int32_t i = 0; i < m_nLayoutCount; ++i) {
            m_layouts[static_cast<std::size_t>(i)].Serialize(ar);
        }
        return;
    }
    const std::int32_t n = ar.ReadCount(kLayoutRecordMinBytes, kMaxLayoutRecords);
    for (std::int32_t i = 0; i < n; ++i) {
        m_layouts[static_cast<std::size_t>(i)].Serialize(ar);
    }
    m_nLayoutCount = n;
}

void CTarvoIirDoc::Serialize(fw::Archive& ar) {
    if (ar.IsStoring()) {
        // The design form copies its fields into the specification now.
        UpdateViews(hint::kAboutToStore);
    }
    SerializeHeader(ar);
    const std::uint16_t version = GetFileVersion();
    SerializeFilter(ar, m_filter, version);
    m_format.Serialize(ar, version);
    m_exports.Serialize(ar, version);
    ar.Exchange(m_dMinDb);
    if (ar.IsStoring()) {
        ar.WriteI32(m_nTimeResponseLength);
    } else {
        const std::int32_t length = ar.ReadI32();
        // A time plot would compute this many samples at once.
        if (length < 0 || length > kMaxTimeResponseLength) {
            throw fw::ArchiveError(fw::ArchiveError::Kind::BadCount,
                                   "time-response length out of range");
        }
        m_nTimeResponseLength = length;
    }
    SerializeLayouts(ar);
    if (ar.IsStoring()) {
        StoreExactFilterValues(ar, m_filter);
    } else {
        LoadExactFilterValues(ar, m_filter);
        AfterLoad();
    }
}

void CTarvoIirDoc::AfterLoad() {
    // Responses follow the design's own choice of sections or direct form, and
    // pole-zero edits keep the loaded gain at the reference frequency.
    m_filter.useSos = m_filter.spec.useBiquads == 1;
    if (IsDesigned()) m_filter.MeasureReference();
    if (DesignFrame* frame = FindDesignFrame(); frame != nullptr) frame->LayoutPanes();
    UpdateViews(hint::kLoaded);
}

void CTarvoIirDoc::StepHistory(bool (CUndo::*step)()) {
    const double hzBefore = m_filter.fs.GetHz();
    if (m_bUnrecordedChange) {
        // Undo in the middle of a drag or a key burst: the edit so far becomes
        // one step, which Undo then takes back whole (Redo finds nothing newer).
        // The export below follows the restored design.
        m_bUnrecordedChange = false;
        CFilterDoc::OnFilterChanged(true, 0);
    }
    try {
        (this->*step)();
    } catch (const fw::ArchiveError& e) {
        GetUi().Message(std::string("The project could not be restored (") + e.what() + ").",
                        fw::Icon::Error);
    }
    // The exported files follow the restored design like any other change.
    RunAutoExport();
    UpdateViews(hint::kDesignChangedHint);
    if (m_filter.fs.GetHz() != hzBefore) UpdateViews(hint::kFsChangedHint);
}

} // namespace tarvo
