#include "export/iir_export_file_format.h"

#include "fw/archive.h"

namespace tarvo {

namespace {

constexpr const char* kDefaultExportFileName = "iir_filter.cpp";

} // namespace

CIirExportFileFormat::CIirExportFileFormat(std::string documentsFolder)
    : m_strDocumentsFolder(std::move(documentsFolder)) {
    // Not the virtual call: a derived class is not built yet.
    CIirExportFileFormat::ResetDefaults();
}

void CIirExportFileFormat::ResetDefaults() {
    // Start from the view defaults; the export defaults differ in three fields.
    CIirFileFormat::CopyFrom(CIirFileFormat());
    m_strFileName = kDefaultExportFileName;
    m_strPath = JoinPath(m_strDocumentsFolder, m_strFileName);
    m_nFormat = kFormatCpp;
    m_nNumeric = kNumericScientific;
    m_bSetExtension = 1;
}

void CIirExportFileFormat::CopyFrom(const CIirFileFormat& other) {
    CIirFileFormat::CopyFrom(other);
    if (const auto* entry = dynamic_cast<const CIirExportFileFormat*>(&other)) {
        m_bSetExtension = entry->m_bSetExtension;
    }
}

void CIirExportFileFormat::Serialize(fw::Archive& ar, std::int32_t fileVersion) {
    CIirFileFormat::Serialize(ar, fileVersion);
    ar.Exchange(m_bSetExtension);
}

} // namespace tarvo
