#pragma once
// CIirExportFileFormat: one entry of a project's export list — a file format
// together with the file it writes and whether choosing another format changes
// the file name's extension.

#include "export/export_path.h"
#include "export/iir_file_format.h"

#include <cstdint>
#include <string>

namespace tarvo {

class CIirExportFileFormat : public CIirFileFormat {
public:
    // A new entry with the export defaults; its file goes to documentsFolder.
    explicit CIirExportFileFormat(std::string documentsFolder = DefaultDocumentsFolder());

    // The export defaults: C++, Scientific, iir_filter.cpp in the documents
    // folder, biquads with headings, the extension set by the format.
    virtual void ResetDefaults();
    // Also copies m_bSetExtension when other is an export entry.
    void CopyFrom(const CIirFileFormat& other) override;
    // The format record followed by i32 m_bSetExtension.
    void Serialize(fw::Archive& ar, std::int32_t fileVersion) override;

    const std::string& DocumentsFolder() const { return m_strDocumentsFolder; }

    std::int32_t m_bSetExtension = 1;

private:
    std::string m_strDocumentsFolder;
};

} // namespace tarvo
