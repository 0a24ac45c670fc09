#include "export/iir_file_format.h"

#include "fw/archive.h"

#include <tuple>

namespace tarvo {

namespace {

// The record's fields in stored order, for comparing two records.
auto Fields(const CIirFileFormat& f) {
    return std::tie(f.m_strFileName, f.m_strPath, f.m_nFormat, f.m_nNumeric, f.m_nHexIntBits,
                    f.m_nHexFracBits, f.m_nIndentKind, f.m_nIndentSpaces, f.m_nBiquadOrder,
                    f.m_strFilterName, f.m_bHeadings, f.m_bSpecs, f.m_bZerosPoles, f.m_bBiquads,
                    f.m_bDirectForm, f.m_bImpulse, f.m_nImpulseLen, f.m_bStep, f.m_nStepLen,
                    f.m_nResponsesVia, f.m_bNegateA, f.m_cOptions);
}

} // namespace

CIirFileFormat::CIirFileFormat() = default;

CIirFileFormat::~CIirFileFormat() = default;

bool CIirFileFormat::WriteToPath(CIirFilter& filter, const std::string& path, bool headerPass,
                                 fw::Ui& ui) {
    m_strPath = path;
    return WriteFile(filter, headerPass, ui);
}

void CIirFileFormat::CopyFrom(const CIirFileFormat& other) {
    if (&other == this) return;
    m_strFileName = other.m_strFileName;
    m_strPath = other.m_strPath;
    m_nFormat = other.m_nFormat;
    m_nNumeric = other.m_nNumeric;
    m_nHexIntBits = other.m_nHexIntBits;
    m_nHexFracBits = other.m_nHexFracBits;
    m_nIndentKind = other.m_nIndentKind;
    m_nIndentSpaces = other.m_nIndentSpaces;
    m_nBiquadOrder = other.m_nBiquadOrder;
    m_strFilterName = other.m_strFilterName;
    m_bHeadings = other.m_bHeadings;
    m_bSpecs = other.m_bSpecs;
    m_bZerosPoles = other.m_bZerosPoles;
    m_bBiquads = other.m_bBiquads;
    m_bDirectForm = other.m_bDirectForm;
    m_bImpulse = other.m_bImpulse;
    m_nImpulseLen = other.m_nImpulseLen;
    m_bStep = other.m_bStep;
    m_nStepLen = other.m_nStepLen;
    m_nResponsesVia = other.m_nResponsesVia;
    m_bNegateA = other.m_bNegateA;
    m_cOptions = other.m_cOptions;
}

void CIirFileFormat::Serialize(fw::Archive& ar, std::int32_t fileVersion) {
    ar.Exchange(m_strFileName);
    ar.Exchange(m_strPath);
    ar.Exchange(m_nFormat);
    ar.Exchange(m_nNumeric);
    ar.Exchange(m_nHexIntBits);
    ar.Exchange(m_nHexFracBits);
    ar.Exchange(m_nIndentKind);
    ar.Exchange(m_nIndentSpaces);
    ar.Exchange(m_nBiquadOrder);
    ar.Exchange(m_strFilterName);
    ar.Exchange(m_bHeadings);
    ar.Exchange(m_bSpecs);
    ar.Exchange(m_bZerosPoles);
    ar.Exchange(m_bBiquads);
    ar.Exchange(m_bDirectForm);
    ar.Exchange(m_bImpulse);
    ar.Exchange(m_nImpulseLen);
    ar.Exchange(m_bStep);
    ar.Exchange(m_nStepLen);
    ar.Exchange(m_nResponsesVia);
    if (fileVersion >= kFirstVersionWithNegateA) ar.Exchange(m_bNegateA);
    m_cOptions.Serialize(ar);
}

bool CIirFileFormat::SameOptions(const CIirFileFormat& other) const {
    return Fields(*this) == Fields(other);
}

} // namespace tarvo
