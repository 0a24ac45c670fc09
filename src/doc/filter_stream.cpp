#include "doc/filter_stream.h"

#include "design/iir_filter.h"
#include "fw/archive.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

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

constexpr std::array<std::uint8_t, 4> kExactTag{'T', 'V', 'P', 'X'};
constexpr std::uint16_t kExactVersion = 1;
constexpr double kComplexOffset = 0.0625;

// What a value becomes after the stream's offset encoding and decoding.
korin::mcplx ThroughOffset(const korin::mcplx& v) {
    return {(v.real() + kComplexOffset) - kComplexOffset, v.imag()};
}

bool SurvivesOffset(const korin::mvect& v) {
    return std::all_of(v.begin(), v.end(), [](const korin::mcplx& x) {
        const korin::mcplx back = ThroughOffset(x);
        // Compared bit for bit: a NaN survives when it stays NaN.
        return back == x || (std::isnan(back.real()) && std::isnan(x.real()));
    });
}

// exact is what was stored before the offset rounded it into loaded.
bool ExactFormOf(const korin::mvect& exact, const korin::mvect& loaded) {
    if (exact.size() != loaded.size()) return false;
    for (std::size_t i = 0; i < exact.size(); ++i) {
        const korin::mcplx back = ThroughOffset(exact[i]);
        const bool same = (back.real() == loaded[i].real() ||
                           (std::isnan(back.real()) && std::isnan(loaded[i].real()))) &&
                          (back.imag() == loaded[i].imag() ||
                           (std::isnan(back.imag()) && std::isnan(loaded[i].imag())));
        if (!same) return false;
    }
    return true;
}

// The filter's complex vectors in stream order: b, a, z, p, then the rows.
std::vector<const korin::mvect*> ComplexVectors(const CIirFilter& filter) {
    std::vector<const korin::mvect*> all{&filter.b, &filter.a, &filter.z, &filter.p};
    for (std::size_t i = 0; i < filter.sos.Rows(); ++i)
        all.push_back(&filter.sos[i]);
    return all;
}

} // namespace

void StoreExactFilterValues(fw::Archive& ar, const CIirFilter& filter) {
    if (ar.IsExactComplex()) return; // nothing to restore
    const std::vector<const korin::mvect*> all = ComplexVectors(filter);
    if (std::all_of(all.begin(), all.end(),
                    [](const korin::mvect* v) { return SurvivesOffset(*v); })) {
        return;
    }
    ar.WriteBytes(kExactTag);
    ar.WriteU16(kExactVersion);
    ar.SetExactComplex(true);
    ar.WriteCount(filter.sos.Rows());
    for (const korin::mvect* v : all)
        ar.WriteVector(*v);
    ar.SetExactComplex(false);
}

void LoadExactFilterValues(fw::Archive& ar, CIirFilter& filter) {
    if (ar.IsExactComplex() || ar.Remaining() < kExactTag.size() + 2) return;
    try {
        const std::vector<std::uint8_t> tag = ar.ReadBytes(kExactTag.size());
        if (!std::equal(tag.begin(), tag.end(), kExactTag.begin()) ||
            ar.ReadU16() != kExactVersion) {
            return;
        }
        ar.SetExactComplex(true);
        const std::int32_t rows = ar.ReadCount(kSectionRowBytes);
        std::vector<korin::mvect> exact(4 + static_cast<std::size_t>(rows));
        for (korin::mvect& v : exact)
            ar.ReadVector(v);
        ar.SetExactComplex(false);
        const std::vector<const korin::mvect*> loaded = ComplexVectors(filter);
        if (loaded.size() != exact.size()) return;
        for (std::size_t i = 0; i < exact.size(); ++i) {
            if (!ExactFormOf(exact[i], *loaded[i])) return;
        }
        filter.b = exact[0];
        filter.a = exact[1];
        filter.z = exact[2];
        filter.p = exact[3];
        for (std::size_t i = 0; i < filter.sos.Rows(); ++i) {
            static_cast<std::vector<korin::mcplx>&>(filter.sos[i]) = exact[4 + i];
        }
    } catch (const fw::ArchiveError&) {
        // The project itself was complete; a damaged extension only loses precision.
        ar.SetExactComplex(false);
    }
}

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
