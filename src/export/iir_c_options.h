#pragma once
// CIirC_Options: what the C and C++ formats write besides the numbers — the type
// names of real and complex variables and a text at the top of the header and
// of the source file.

#include <string>

namespace fw {
class Archive;
}

namespace tarvo {

class CIirC_Options {
public:
    std::string m_strRealType = "double";
    std::string m_strComplexType = "std::complex<double>";
    std::string m_strHeaderText;
    std::string m_strSourceText;

    // The four strings in this order.
    void Serialize(fw::Archive& ar);

    friend bool operator==(const CIirC_Options&, const CIirC_Options&) = default;
};

} // namespace tarvo
