#include "project_helpers.h"

#include "design/design_action.h"
#include "doc/tarvo_iir_doc.h"
#include "fw/archive.h"

namespace tarvo::test {

bool DesignAsTheForm(CTarvoIirDoc& doc, const IirDesignSpec& form) {
    if (!RunDesign(doc.GetFilter(), form, doc.GetMinDb()).Designed()) return false;
    doc.OnFilterChanged(true, 0);
    return true;
}

std::vector<std::uint8_t> StreamOf(CTarvoIirDoc& doc) {
    fw::Archive ar = fw::Archive::ForStoring();
    doc.Serialize(ar);
    return ar.TakeBuffer();
}

void ViewDefaultsRecord(ByteBuilder& b) {
    b.Str("").Str("");                                   // file name, path
    b.I32(0).I32(1).I32(8).I32(24).I32(0).I32(2).I32(2); // Text, floating point, ...
    b.Str("iir");                                        // filter name
    b.I32(1).I32(0).I32(0).I32(1).I32(0);                // headings, biquads
    b.I32(0).I32(128).I32(0).I32(128).I32(0).I32(0);     // responses, negate
    b.Str("double").Str("std::complex<double>").Str("").Str("");
}

void SampleEntryRecord(ByteBuilder& b, bool withNegateA) {
    b.Str("out.m").Str("/tmp/tarvo-sample/out.m");
    b.I32(3).I32(0).I32(6).I32(10).I32(1).I32(4).I32(1);
    b.Str("lp");
    b.I32(1).I32(1).I32(1).I32(1).I32(1);
    b.I32(1).I32(64).I32(1).I32(32).I32(1);
    if (withNegateA) b.I32(1);
    b.Str("float").Str("std::complex<float>").Str("// header").Str("// source");
    b.I32(0); // set extension
}

} // namespace tarvo::test
