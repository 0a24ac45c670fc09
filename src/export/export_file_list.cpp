#include "export/export_file_list.h"

#include "fw/archive.h"

namespace tarvo {

namespace {

// Fewest bytes one stored entry takes: seven empty strings (one byte each),
// the i32 fields of the record and m_bSetExtension.
std::size_t MinEntryBytes(std::int32_t fileVersion) {
    const std::size_t intFields = fileVersion >= kFirstVersionWithNegateA ? 18 : 17;
    return 7 + 4 * (intFields + 1);
}

} // namespace

CExportFileList::~CExportFileList() {
    Clear();
}

CIirExportFileFormat* CExportFileList::Append(std::unique_ptr<CIirExportFileFormat> entry) {
    if (!entry) return nullptr;
    entries_.push_back(std::move(entry));
    return entries_.back().get();
}

bool CExportFileList::RemoveAt(std::size_t i) {
    if (i >= entries_.size()) return false;
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(i));
    return true;
}

void CExportFileList::Clear() {
    while (!entries_.empty())
        entries_.pop_back();
}

void CExportFileList::Serialize(fw::Archive& ar, std::int32_t fileVersion,
                                const std::string& documentsFolder) {
    if (ar.IsStoring()) {
        ar.WriteCount(entries_.size());
        for (const auto& entry : entries_)
            entry->Serialize(ar, fileVersion);
        return;
    }
    Clear();
    const std::int32_t count = ar.ReadCount(MinEntryBytes(fileVersion), kMaxExportEntries);
    for (std::int32_t i = 0; i < count; ++i) {
        auto entry = std::make_unique<CIirExportFileFormat>(documentsFolder);
        entry->Serialize(ar, fileVersion);
        entries_.push_back(std::move(entry));
    }
}

} // namespace tarvo
