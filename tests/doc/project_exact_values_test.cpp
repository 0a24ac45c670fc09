#include "design/iir_filter.h"
#include "doc/tarvo_iir_doc.h"
#include "fw/archive.h"
#include "fw/command_ids.h"
#include "fw/recording_ui.h"
#include "project_helpers.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace tarvo {
namespace {

constexpr std::array<std::uint8_t, 4> kTag{'T', 'V', 'P', 'X'};

std::size_t BlockStart(const std::vector<std::uint8_t>& stream) {
    const auto it = std::find_end(stream.begin(), stream.end(), kTag.begin(), kTag.end());
    return it == stream.end() ? stream.size() : static_cast<std::size_t>(it - stream.begin());
}

void Load(const std::vector<std::uint8_t>& stream, CTarvoIirDoc& doc) {
    fw::Archive ar = fw::Archive::ForLoading(stream);
    doc.Serialize(ar);
}

// A narrow direct-form lowpass: its numerator coefficients are around 1e-19,
// far below the 0.0625 the stream adds to every real part.
class NarrowDirectForm : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(doc.OnNewDocument());
        IirDesignSpec form;
        form.order = 10;
        form.edge1 = 0.004;
        form.useBiquads = 0;
        ASSERT_TRUE(test::DesignAsTheForm(doc, form));
        ASSERT_LT(std::abs(doc.GetFilter().b[0].real()), 1e-15);
    }

    fw::RecordingUi ui;
    CTarvoIirDoc doc{ui};
};

TEST_F(NarrowDirectForm, SmallCoefficientsComeBackExactly) {
    const std::vector<std::uint8_t> stream = test::StreamOf(doc);
    CTarvoIirDoc loaded(ui);
    Load(stream, loaded);
    const CIirFilter& a = doc.GetFilter();
    const CIirFilter& b = loaded.GetFilter();
    EXPECT_EQ(b.b, a.b);
    EXPECT_EQ(b.a, a.a);
    EXPECT_EQ(b.z, a.z);
    EXPECT_EQ(b.p, a.p);
    ASSERT_EQ(b.sos.Rows(), a.sos.Rows());
    for (std::size_t i = 0; i < a.sos.Rows(); ++i)
        EXPECT_EQ(b.sos[i], a.sos[i]);
    EXPECT_FALSE(b.useSos);
    EXPECT_EQ(b.MagnitudeAt(0.001), a.MagnitudeAt(0.001));
    // Saved again, the same bytes.
    EXPECT_EQ(test::StreamOf(loaded), stream);
}

TEST_F(NarrowDirectForm, ReadersWithoutTheBlockSeeTheUsualProject) {
    const std::vector<std::uint8_t> stream = test::StreamOf(doc);
    const std::size_t start = BlockStart(stream);
    ASSERT_LT(start, stream.size());
    // The project before the block is complete on its own, with the offset values.
    const std::vector<std::uint8_t> project(stream.begin(),
                                            stream.begin() + static_cast<std::ptrdiff_t>(start));
    CTarvoIirDoc old(ui);
    fw::Archive ar = fw::Archive::ForLoading(project);
    old.Serialize(ar);
    EXPECT_EQ(ar.Remaining(), 0u);
    const korin::mcplx b0 = doc.GetFilter().b[0];
    EXPECT_EQ(old.GetFilter().b[0].real(), (b0.real() + 0.0625) - 0.0625);
    EXPECT_NE(old.GetFilter().b[0].real(), b0.real());
    EXPECT_EQ(old.GetFilter().spec, doc.GetFilter().spec);
}

TEST_F(NarrowDirectForm, AStaleOrDamagedBlockIsIgnored) {
    std::vector<std::uint8_t> stream = test::StreamOf(doc);
    const std::size_t start = BlockStart(stream);
    ASSERT_LT(start, stream.size());

    // Another program rewrote b[0] (header 2 bytes, count 4 bytes, then b[0]):
    // the block no longer describes the file, and b[0] is what the file says.
    std::vector<std::uint8_t> edited = stream;
    const double other = 0.25 + 0.0625;
    std::memcpy(edited.data() + 6, &other, sizeof other);
    CTarvoIirDoc stale(ui);
    Load(edited, stale);
    EXPECT_EQ(stale.GetFilter().b[0].real(), 0.25);
    EXPECT_NE(stale.GetFilter().b[1], doc.GetFilter().b[1]); // all offset values

    // Cut short inside the block: the project loads with the offset values.
    const std::vector<std::uint8_t> cut(stream.begin(), stream.end() - 5);
    CTarvoIirDoc truncated(ui);
    EXPECT_NO_THROW(Load(cut, truncated));
    EXPECT_EQ(truncated.GetFilter().b[0].real(), (doc.GetFilter().b[0].real() + 0.0625) - 0.0625);

    // A block of an unknown version is left alone.
    std::vector<std::uint8_t> future = stream;
    future[start + 4] = 2;
    CTarvoIirDoc later(ui);
    Load(future, later);
    EXPECT_NE(later.GetFilter().b[0], doc.GetFilter().b[0]);
}

TEST(ProjectExactValues, ValuesTheOffsetKeepsNeedNoBlock) {
    fw::RecordingUi ui;
    CTarvoIirDoc doc(ui);
    ASSERT_TRUE(doc.OnNewDocument());
    CIirFilter& f = doc.GetFilter();
    f.z = korin::mvect{korin::mcplx(-1.0), korin::mcplx(0.5, 0.25)};
    f.p = korin::mvect{korin::mcplx(0.125), korin::mcplx(0.5, -0.25)};
    const std::vector<std::uint8_t> stream = test::StreamOf(doc);
    EXPECT_EQ(BlockStart(stream), stream.size());
}

TEST(ProjectExactValues, UndoSnapshotsNeedNoBlock) {
    // Snapshots keep complex values exact themselves; undo restores them exactly.
    fw::RecordingUi ui;
    CTarvoIirDoc doc(ui);
    ASSERT_TRUE(doc.OnNewDocument());
    IirDesignSpec form;
    form.order = 10;
    form.edge1 = 0.004;
    form.useBiquads = 0;
    ASSERT_TRUE(test::DesignAsTheForm(doc, form));
    const korin::mvect b = doc.GetFilter().b;
    form.order = 3;
    ASSERT_TRUE(test::DesignAsTheForm(doc, form));
    doc.OnCommand(fw::kIdEditUndo);
    EXPECT_EQ(doc.GetFilter().b, b);
}

} // namespace
} // namespace tarvo
