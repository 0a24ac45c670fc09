#include "export/iir_c_options.h"

#include "fw/archive.h"

namespace tarvo {

void CIirC_Options::Serialize(fw::Archive& ar) {
    ar.Exchange(m_strRealType);
    ar.Exchange(m_strComplexType);
    ar.Exchange(m_strHeaderText);
    ar.Exchange(m_strSourceText);
}

} // namespace tarvo
