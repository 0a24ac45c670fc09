#pragma once
// CFilterDoc: a document that owns a filter design. Every change of the design
// comes in through OnFilterChanged.

#include "doc/tarvo_doc.h"

#include <cstdint>

namespace tarvo {

class CFilterDoc : public CTarvoDoc {
public:
    using CTarvoDoc::CTarvoDoc;

    // True when the filter holds a design (is not empty).
    virtual bool IsDesigned() const = 0;
    // The design changed. With record set the document is marked modified and
    // the new state becomes an undo step; hintBits go to the views with the
    // design-changed event (bit 13 asks plots not to rescale).
    virtual void OnFilterChanged(bool record, std::int32_t hintBits);
};

} // namespace tarvo
