#pragma once
// CExportFileList: the owned, ordered entries of a project's export list.

#include "export/iir_export_file_format.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace fw {
class Archive;
}

namespace tarvo {

// Most entries a project file may hold; a larger count is refused as damage.
inline constexpr std::int32_t kMaxExportEntries = 10000;

class CExportFileList {
public:
    CExportFileList() = default;
    CExportFileList(const CExportFileList&) = delete;
    CExportFileList& operator=(const CExportFileList&) = delete;
    // Deletes the entries from the last to the first.
    ~CExportFileList();

    std::size_t Size() const { return entries_.size(); }
    bool Empty() const { return entries_.empty(); }
    // Checked access (std::out_of_range past the end).
    CIirExportFileFormat& At(std::size_t i) { return *entries_.at(i); }
    const CIirExportFileFormat& At(std::size_t i) const { return *entries_.at(i); }

    // Appends an entry and returns it; a null pointer is ignored (nullptr).
    CIirExportFileFormat* Append(std::unique_ptr<CIirExportFileFormat> entry);
    // Deletes entry i; false when there is none.
    bool RemoveAt(std::size_t i);
    // Deletes every entry, from the last to the first.
    void Clear();

    // i32 count, then each entry's record and its m_bSetExtension. Loading
    // deletes the current entries, then creates each new one with the export
    // defaults (files in documentsFolder) before reading it. A negative count, or
    // one above kMaxExportEntries or beyond what the stream can hold, throws
    // fw::ArchiveError.
    void Serialize(fw::Archive& ar, std::int32_t fileVersion,
                   const std::string& documentsFolder = DefaultDocumentsFolder());

private:
    std::vector<std::unique_ptr<CIirExportFileFormat>> entries_;
};

} // namespace tarvo
