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
    m_dMinDb = OptionsOf(m_context).m_dMinDb;
    m_pending.Set(kDesignPlotTypes);
    UpdateViews(hint::kWindowsOpened);
    CheckPoint();
    return true;
}

bool CTarvoIirDoc::OnOpenDocument(const std::string& path) {
    if (!CFilterDoc::OnOpenDocument(path)) return false;
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
    CFilterDoc::OnFilterChanged(record, hintBits);
    RunAutoExport();
    UpdateViews(hintBits | hint::kDesignChanged);
}

void CTarvoIirDoc::RunAutoExport() {
    // The paths and texts of a received project's entries come from its file:
    // they are written only once the user has agreed to them.
    if (m_bConfirmAutoExport && m_exports.AutoExportOn() && !m_exports.m_list.Empty() &&
        IsDesigned()) {
        m_bConfirmAutoExport = false;
        const std::string question = AutoExportQuestion(ExportTargets(m_exports.m_list));
        if (GetUi().Ask(question) != fw::Answer::Yes) {
            m_exports.SetAutoExport(false);
            return;
        }
    }
    m_exports.AutoExport(GetUi());
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
