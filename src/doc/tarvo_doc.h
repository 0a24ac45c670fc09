#pragma once
// CTarvoDoc: a document with undo and redo of whole snapshots of its stream.

#include "doc/ser_doc.h"
#include "doc/undo.h"

namespace tarvo {

class CTarvoDoc : public CSerDoc, public CUndo {
public:
    using CSerDoc::CSerDoc;

    // One stream and one clearing routine serve the file and the snapshots.
    void Serialize(fw::Archive& ar) override { CSerDoc::Serialize(ar); }
    void DeleteContents() override { CSerDoc::DeleteContents(); }
};

} // namespace tarvo
