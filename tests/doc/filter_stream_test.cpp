#include "byte_builder.h"
#include "design/design_action.h"
#include "design/iir_filter.h"
#include "doc/filter_stream.h"
#include "fw/archive.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

namespace tarvo {
namespace {

using test::ByteBuilder;

std::vector<std::uint8_t> Stored(CIirFilter& f) {
    fw::Archive ar = fw::Archive::ForStoring();
    SerializeFilter(ar, f, 20);
    return ar.TakeBuffer();
}

void Load(const std::vector<std::uint8_t>& bytes, CIirFilter& f, std::uint16_t version = 20) {
    fw::Archive ar = fw::Archive::ForLoading(bytes);
    SerializeFilter(ar, f, version);
    EXPECT_EQ(ar.Remaining(), 0u);
}

// The specification section of a new project, written by hand.
ByteBuilder& DefaultSpec(ByteBuilder& b) {
    b.I32(4).I32(0).I32(0).I32(0).I32(2).I32(30);
    b.F64(0.2).F64(0.3).F64(1.0).F64(80.0).F64(0.0);
    return b.I32(0).I32(0).I32(1);
}

TEST(FilterStream, AnEmptyFilterIs127BytesInItsFixedOrder) {
    CIirFilter f;
    ByteBuilder expected;
    expected.I32(0).I32(0).I32(0).I32(0); // b, a, z, p
    expected.F64(f.k);                    // gain
    expected.I32(0).F64(1.0);             // no sections, their gain
    expected.F64(1.0).Str("Hz,sec");      // 1 Hz
    DefaultSpec(expected);
    ASSERT_EQ(expected.Size(), 127u);
    EXPECT_EQ(Stored(f), expected.Bytes());
}

TEST(FilterStream, ComplexValuesCarryTheirOffsetAndZeroComesBack) {
    CIirFilter f;
    f.z = korin::mvect{korin::mcplx(0.0, 0.0), korin::mcplx(-0.5, 0.25)};
    const std::vector<std::uint8_t> bytes = Stored(f);
    ByteBuilder zeros;
    zeros.I32(2).F64(0.0625).F64(0.0).F64(-0.4375).F64(0.25);
    const auto at = bytes.begin() + 8; // after the empty b and a
    EXPECT_EQ(std::vector<std::uint8_t>(at, at + 36), zeros.Bytes());

    CIirFilter back;
    Load(bytes, back);
    ASSERT_EQ(back.z.size(), 2u);
    EXPECT_EQ(back.z[0], korin::mcplx(0.0, 0.0));
    EXPECT_EQ(back.z[1], korin::mcplx(-0.5, 0.25));
}

TEST(FilterStream, ADesignRoundTripsBitForBit) {
    CIirFilter f;
    f.fs = CFs(48.0);
    f.fs.SetUnit(1);
    IirDesignSpec form;
    form.family = kElliptic;
    form.response = kBandstop;
    form.order = 5;
    form.edge1 = 3.0;
    form.edge2 = 9.5;
    form.gainDb = -3.0;
    form.dataType = kFixedPoint;
    form.fracBits = 14;
    ASSERT_TRUE(RunDesign(f, form, -130.0).Designed());

    const std::vector<std::uint8_t> first = Stored(f);
    CIirFilter back;
    Load(first, back);
    EXPECT_EQ(back.b, f.b);
    EXPECT_EQ(back.a, f.a);
    EXPECT_EQ(back.z, f.z);
    EXPECT_EQ(back.p, f.p);
    EXPECT_EQ(back.k, f.k);
    ASSERT_EQ(back.sos.Rows(), f.sos.Rows());
    for (std::size_t i = 0; i < f.sos.Rows(); ++i) {
        EXPECT_EQ(back.sos[i], f.sos[i]);
    }
    EXPECT_EQ(back.sos.gain, f.sos.gain);
    EXPECT_EQ(back.fs.GetValue(), 48.0);
    EXPECT_EQ(back.fs.GetUnit(), 1);
    EXPECT_EQ(back.spec, f.spec);
    EXPECT_EQ(Stored(back), first);
}

TEST(FilterStream, LoadingReplacesTheResultsAndForgetsThePick) {
    CIirFilter f;
    ASSERT_TRUE(RunDesign(f, IirDesignSpec{}, -130.0).Designed());
    ASSERT_TRUE(f.FindNearest(f.p[0], 1e-9));
    CIirFilter empty;
    Load(Stored(empty), f);
    EXPECT_TRUE(f.IsEmpty());
    EXPECT_EQ(f.Pick(), nullptr);
    EXPECT_EQ(f.Partner(), nullptr);
}

TEST(FilterStream, VersionsBefore20HoldAFloatSamplingFrequency) {
    ByteBuilder b;
    b.I32(0).I32(0).I32(0).I32(0).F64(2.0).I32(0).F64(1.0);
    b.F32(44.1F).Str("kHz,ms");
    DefaultSpec(b);
    CIirFilter f;
    Load(b.Bytes(), f, 19);
    EXPECT_EQ(f.fs.GetValue(), static_cast<double>(44.1F));
    EXPECT_EQ(f.fs.GetUnit(), 1);
    EXPECT_EQ(f.k, 2.0);
    EXPECT_EQ(f.spec, IirDesignSpec{});
}

TEST(FilterStream, RefusesSectionRowsWithoutSixCoefficients) {
    for (const std::int32_t n : {0, 5, 7}) {
        ByteBuilder b;
        b.I32(0).I32(0).I32(0).I32(0).F64(1.0);
        b.I32(1).I32(n);
        for (std::int32_t i = 0; i < n; ++i)
            b.Cplx(1.0, 0.0);
        b.F64(1.0).F64(1.0).Str("Hz,sec");
        DefaultSpec(b);
        for (int pad = 0; pad < 200; ++pad)
            b.U8(0); // enough bytes that only the row length is wrong
        CIirFilter f;
        fw::Archive ar = fw::Archive::ForLoading(b.Bytes());
        EXPECT_THROW(SerializeFilter(ar, f, 20), fw::ArchiveError) << n;
    }
}

TEST(FilterStream, RefusesCountsTheDataCannotHold) {
    struct Case {
        const char* what;
        ByteBuilder bytes;
    };
    std::vector<Case> cases;
    cases.push_back({"negative vector", ByteBuilder().I32(-1)});
    cases.push_back({"huge vector", ByteBuilder().I32(0x7FFFFFFF)});
    cases.push_back({"vector longer than the file", ByteBuilder().I32(3).Cplx(1, 0).Cplx(1, 0)});
    cases.push_back(
        {"negative sections", ByteBuilder().I32(0).I32(0).I32(0).I32(0).F64(1).I32(-5)});
    cases.push_back(
        {"too many sections", ByteBuilder().I32(0).I32(0).I32(0).I32(0).F64(1).I32(1000000)});
    cases.push_back({"truncated", ByteBuilder().I32(0).I32(0).I32(0)});
    for (auto& c : cases) {
        CIirFilter f;
        fw::Archive ar = fw::Archive::ForLoading(c.bytes.Bytes());
        EXPECT_THROW(SerializeFilter(ar, f, 20), fw::ArchiveError) << c.what;
    }
}

} // namespace
} // namespace tarvo
