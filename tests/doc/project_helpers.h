#pragma once
// Small steps the project tests share: designing as the design form does,
// taking the project stream, and the stream's format records written by hand.

#include "byte_builder.h"
#include "design/iir_spec.h"

#include <cstdint>
#include <vector>

namespace tarvo {
class CTarvoIirDoc;
}

namespace tarvo::test {

// Designs the form's values into the project's filter and tells the document,
// as the Design button does; false when the checks refused them.
bool DesignAsTheForm(CTarvoIirDoc& doc, const IirDesignSpec& form);

// The whole project stream as a store would write it now.
std::vector<std::uint8_t> StreamOf(CTarvoIirDoc& doc);

// The coefficient-view format record of a new project.
void ViewDefaultsRecord(ByteBuilder& b);

// An export entry record with every field away from its default; files before
// version 19 lack "Negate a1/a2". Ends with the entry's "Set extension" flag.
void SampleEntryRecord(ByteBuilder& b, bool withNegateA);

} // namespace tarvo::test
