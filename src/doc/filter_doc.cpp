#include "doc/filter_doc.h"

namespace tarvo {

void CFilterDoc::OnFilterChanged(bool record, std::int32_t /*hintBits*/) {
    if (record) {
        SetModifiedFlag(true);
        CheckPoint();
    }
}

} // namespace tarvo
