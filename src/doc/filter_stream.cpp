#include "doc/filter_stream.h"

#include "design/iir_filter.h"
#include "fw/archive.h"

namespace tarvo {

namespace {

// b0, b1, b2, a0, a1, a2.
constexpr std::size_t kSectionCoefficients = 6;
// A row: its element count and six complex values.
constexpr std::size_t kSectionRowBytes = 4 + kSectionCoefficients * 16;

void SerializeSections(fw::Archive& ar, korin::msos& sos) {
    if (ar.IsStoring()) {
        ar.WriteCount(sos.Rows());
        for (std::size_t i = 0; i < sos.Rows(); ++i) {
            ar.WriteVector(sos[i]);
        }
        ar.WriteF64(sos.gain);
        return;
    }
    const std::int32_t rows = ar.ReadCount(kSectionRowBytes);
    sos.Clear();
    for (std::int32_t i = 0; i < rows; ++i) {
        korin::mvect& row = sos.AddRow();
        ar.ReadVector(row);
        // Every consumer of the sections indexes six coefficients per row.
        if (row.size() != kSectionCoefficients) {
            throw fw::ArchiveError(fw::ArchiveError::Kind::BadCount,
                                   "a filter section without six coefficients");
        }
    }
    sos.gain = ar.ReadF64();
}

} // namespace

void SerializeSpec(fw::Archive& ar, IirDesignSpec& spec) {
    ar.Exchange(spec.order);
    ar.Exchange(spec.family);
    ar.Exchange(spec.response);
    ar.Exchange(spec.dataType);
    ar.Exchange(spec.intBits);
    ar.Exchange(spec.fracBits);
    ar.Exchange(spec.edge1);
    ar.Exchange(spec.edge2);
    ar.Exchange(spec.rippleDb);
    ar.Exchange(spec.attenDb);
    ar.Exchange(spec.gainDb);
    ar.Exchange(spec.centerWidth);
    ar.Exchange(spec.adjustForRipple);
    ar.Exchange(spec.useBiquads);
}

void SerializeFilter(fw::Archive& ar, CIirFilter& filter, std::uint16_t fileVersion) {
    if (ar.IsLoading()) {
        // The pick refers to roots that are about to be replaced.
        filter.ClearPick();
    }
    ar.Exchange(filter.b);
    ar.Exchange(filter.a);
    ar.Exchange(filter.z);
    ar.Exchange(filter.p);
    ar.Exchange(filter.k);
    SerializeSections(ar, filter.sos);
    filter.fs.Serialize(ar, fileVersion);
    SerializeSpec(ar, filter.spec);
}

} // namespace tarvo
