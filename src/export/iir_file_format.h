#pragma once
// CIirFileFormat: the options of one coefficient file (language, number notation,
// indentation, variable-name prefix, which data to write) and the writer that
// turns a filter into that file. The document keeps one for its coefficient view;
// every export-list entry is a CIirExportFileFormat.

#include "export/export_formats.h"
#include "export/iir_c_options.h"

#include <cstdint>
#include <string>

namespace fw {
class Archive;
class Ui;
} // namespace fw

namespace tarvo {

class CIirFilter;

// Longest impulse or step response a file may hold. A longer one is reported
// as a bad length: it would take gigabytes and stall every automatic export.
inline constexpr std::int32_t kMaxResponseLength = 1 << 20;

// File version from which the format record holds "Negate a1/a2".
inline constexpr std::int32_t kFirstVersionWithNegateA = 19;

class CIirFileFormat {
public:
    // The coefficient view's defaults.
    CIirFileFormat();
    CIirFileFormat(const CIirFileFormat&) = delete;
    CIirFileFormat& operator=(const CIirFileFormat&) = delete;
    virtual ~CIirFileFormat();

    // Writes the file m_strPath; for C and C++ a source path (".c", ".cpp")
    // gets its header written first, and headerPass writes that header (the
    // path with ".h"). The file is replaced only when complete. Messages go to
    // ui. False for an empty filter (no file touched), a file that could not be
    // written (the earlier file stays intact), refused hex parameters, or when
    // the header of a source pass failed (the source is still written).
    virtual bool WriteFile(CIirFilter& filter, bool headerPass, fw::Ui& ui);
    // m_strPath = path (kept), then WriteFile.
    virtual bool WriteToPath(CIirFilter& filter, const std::string& path, bool headerPass,
                             fw::Ui& ui);
    // Every option, the C/C++ options included (and, between export entries,
    // m_bSetExtension).
    virtual void CopyFrom(const CIirFileFormat& other);
    // The format record: fields in stored order; "Negate a1/a2" only from file
    // version 19 on. Loading a short stream throws fw::ArchiveError.
    virtual void Serialize(fw::Archive& ar, std::int32_t fileVersion);

    // True when every field of the record is equal.
    bool SameOptions(const CIirFileFormat& other) const;

    std::string m_strFileName;
    std::string m_strPath;
    std::int32_t m_nFormat = kFormatText;
    std::int32_t m_nNumeric = kNumericFloating;
    std::int32_t m_nHexIntBits = 8;
    std::int32_t m_nHexFracBits = 24;
    std::int32_t m_nIndentKind = kIndentSpaces;
    std::int32_t m_nIndentSpaces = 2;
    std::int32_t m_nBiquadOrder = 2;
    std::string m_strFilterName = "iir";
    std::int32_t m_bHeadings = 1;
    std::int32_t m_bSpecs = 0;
    std::int32_t m_bZerosPoles = 0;
    std::int32_t m_bBiquads = 1;
    std::int32_t m_bDirectForm = 0;
    std::int32_t m_bImpulse = 0;
    std::int32_t m_nImpulseLen = 128;
    std::int32_t m_bStep = 0;
    std::int32_t m_nStepLen = 128;
    std::int32_t m_nResponsesVia = kResponsesViaBiquads;
    std::int32_t m_bNegateA = 0;
    CIirC_Options m_cOptions;

private:
    // One pass: the target file of this pass, written atomically.
    bool WritePass(CIirFilter& filter, bool headerPass, fw::Ui& ui);
};

} // namespace tarvo
