#include "export/export_files.h"

#include "design/iir_filter.h"
#include "export/iir_export_file_format.h"
#include "fw/archive.h"
#include "fw/ui.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace tarvo {

namespace {

// A regular file this process can open for reading (a folder, a device or a
// missing file cannot be viewed).
bool CanOpenForReading(const std::string& path) {
    if (path.empty()) return false;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec) || ec) return false;
    const std::ifstream in(path, std::ios::binary);
    return in.is_open();
}

bool EndsWithNoCase(const std::string& text, std::string_view suffix) {
    if (text.size() < suffix.size()) return false;
    return std::equal(
        suffix.begin(), suffix.end(), text.end() - static_cast<std::ptrdiff_t>(suffix.size()),
        [](char s, char t) { return std::tolower(static_cast<unsigned char>(t)) == s; });
}

// What View hands to the desktop: a regular file that is no program. The path
// may come from a received project, and the desktop would run a program or a
// launcher (.desktop) instead of showing it; a link is judged by its target.
bool IsViewableFile(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec || !fs::is_regular_file(status)) return false;
    constexpr fs::perms kExecutable =
        fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
    if ((status.permissions() & kExecutable) != fs::perms::none) return false;
    const fs::path target = fs::canonical(path, ec);
    if (ec) return false;
    return !EndsWithNoCase(path, ".desktop") && !EndsWithNoCase(target.string(), ".desktop");
}

} // namespace

std::string NotViewableMessage(const std::string& path) {
    return "The file \"" + path +
           "\" is not opened: only regular files that are not programs or desktop launchers "
           "can be viewed.";
}

CExportFiles::CExportFiles(std::string documentsFolder)
    : m_strDocumentsFolder(std::move(documentsFolder)) {
    UpdateButtons();
}

CExportFiles::~CExportFiles() = default;

bool CExportFiles::FilterDesigned() const {
    return m_pFilter != nullptr && !m_pFilter->IsEmpty();
}

CIirExportFileFormat* CExportFiles::SelectedEntry() {
    if (m_nSelected < 0 || static_cast<std::size_t>(m_nSelected) >= m_list.Size()) return nullptr;
    return &m_list.At(static_cast<std::size_t>(m_nSelected));
}

std::int32_t CExportFiles::Selected() const {
    if (m_nSelected < 0 || static_cast<std::size_t>(m_nSelected) >= m_list.Size()) return -1;
    return m_nSelected;
}

bool CExportFiles::WriteEntries(fw::Ui& ui) {
    if (m_pFilter == nullptr) return false;
    bool all = true;
    for (std::size_t i = 0; i < m_list.Size(); ++i) {
        // Each entry reports its own failure; the next one is still written.
        if (!m_list.At(i).WriteFile(*m_pFilter, false, ui)) all = false;
    }
    return all;
}

bool CExportFiles::AutoExport(fw::Ui& ui) {
    if (m_bAutoExport == 0 || m_list.Empty()) return true;
    // An undesigned filter writes nothing; that is not a failure.
    if (!FilterDesigned()) return true;
    return WriteEntries(ui);
}

void CExportFiles::Serialize(fw::Archive& ar, std::int32_t fileVersion) {
    m_list.Serialize(ar, fileVersion, m_strDocumentsFolder);
    if (ar.IsLoading()) m_nSelected = -1;
}

void CExportFiles::OpenDialog() {
    m_nSelected = -1;
    UpdateButtons();
}

std::vector<std::string> CExportFiles::Lines() const {
    std::vector<std::string> lines;
    lines.reserve(m_list.Size());
    for (std::size_t i = 0; i < m_list.Size(); ++i)
        lines.push_back(m_list.At(i).m_strPath);
    return lines;
}

void CExportFiles::Select(std::int32_t index) {
    const bool valid = index >= 0 && static_cast<std::size_t>(index) < m_list.Size();
    m_nSelected = valid ? index : -1;
    UpdateButtons();
}

void CExportFiles::SetAutoExport(bool on) {
    m_bAutoExport = on ? 1 : 0;
}

void CExportFiles::UpdateButtons() {
    if (m_list.Size() == 1) m_nSelected = 0;
    const CIirExportFileFormat* selected = SelectedEntry();
    const bool designed = FilterDesigned();
    m_buttons.remove = selected != nullptr;
    m_buttons.modify = selected != nullptr;
    m_buttons.view = selected != nullptr && CanOpenForReading(selected->m_strPath);
    m_buttons.exportSelected = selected != nullptr && designed;
    m_buttons.exportAll = !m_list.Empty() && designed;
}

bool CExportFiles::Add(CExportFormatEditor& editor) {
    auto entry = std::make_unique<CIirExportFileFormat>(m_strDocumentsFolder);
    if (const CIirExportFileFormat* selected = SelectedEntry()) entry->CopyFrom(*selected);
    if (!editor.Edit(*entry)) return false;
    m_list.Append(std::move(entry));
    if (m_list.Size() == 1) m_nSelected = 0;
    UpdateButtons();
    return true;
}

bool CExportFiles::Remove() {
    if (SelectedEntry() == nullptr) return false;
    m_list.RemoveAt(static_cast<std::size_t>(m_nSelected));
    // The list box loses its selection with the line; a single remaining line
    // is selected by the update.
    m_nSelected = -1;
    UpdateButtons();
    return true;
}

bool CExportFiles::Modify(CExportFormatEditor& editor) {
    CIirExportFileFormat* selected = SelectedEntry();
    if (selected == nullptr) return false;
    // The dialog works on a copy, so Cancel leaves the entry as it was.
    CIirExportFileFormat edited(m_strDocumentsFolder);
    edited.CopyFrom(*selected);
    if (!editor.Edit(edited)) return false;
    selected->CopyFrom(edited);
    UpdateButtons();
    return true;
}

bool CExportFiles::View(fw::Ui& ui) {
    const CIirExportFileFormat* selected = SelectedEntry();
    if (selected == nullptr || selected->m_strPath.empty()) return false;
    if (!IsViewableFile(selected->m_strPath)) {
        ui.Message(NotViewableMessage(selected->m_strPath), fw::Icon::Error);
        return false;
    }
    if (ui.OpenWithAssociatedProgram(selected->m_strPath)) return true;
    ui.Message("Cannot open file \"" + selected->m_strPath + "\".", fw::Icon::Error);
    return false;
}

bool CExportFiles::Export(fw::Ui& ui) {
    CIirExportFileFormat* selected = SelectedEntry();
    if (selected == nullptr || !FilterDesigned()) return false;
    const bool written = selected->WriteFile(*m_pFilter, false, ui);
    UpdateButtons();
    return written;
}

bool CExportFiles::ExportAll(fw::Ui& ui) {
    if (m_list.Empty() || !FilterDesigned()) return false;
    const bool written = WriteEntries(ui);
    UpdateButtons();
    return written;
}

} // namespace tarvo
