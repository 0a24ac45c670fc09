#include "byte_builder.h"
#include "doc/app_options.h"
#include "doc/layout_record.h"
#include "doc/pane_kind.h"
#include "doc/pending_plot_types.h"
#include "doc/update_hint.h"
#include "fw/archive.h"

#include <gtest/gtest.h>
#include <vector>

namespace tarvo {
namespace {

using test::ByteBuilder;

std::vector<std::int32_t> Drain(PendingPlotTypes& pending, int calls) {
    std::vector<std::int32_t> got;
    got.reserve(static_cast<std::size_t>(calls));
    for (int i = 0; i < calls; ++i)
        got.push_back(pending.Next());
    return got;
}

TEST(PendingPlotTypes, HandsOutEachEntryThenZeroForEver) {
    PendingPlotTypes pending;
    EXPECT_EQ(pending.Count(), 0);
    EXPECT_EQ(pending.Next(), 0);

    pending.Set(kDesignPlotTypes);
    EXPECT_EQ(pending.Count(), 3);
    EXPECT_EQ(Drain(pending, 6), (std::vector<std::int32_t>{4, 6, 3, 0, 0, 0}));
    EXPECT_EQ(pending.Count(), 0);

    pending.Set(kMagnitudePlotTypes);
    EXPECT_EQ(pending.Next(), 4);
    EXPECT_EQ(pending.Count(), 2);
    EXPECT_EQ(Drain(pending, 3), (std::vector<std::int32_t>{5, 6, 0}));

    pending.Set(kMagnitudeAndUnwrappedPlotTypes);
    EXPECT_EQ(pending.Count(), 2);
    EXPECT_EQ(Drain(pending, 3), (std::vector<std::int32_t>{4, 6, 0}));
}

TEST(PaneKinds, MapToTheirViewsPlotTypesAndNames) {
    const std::vector<std::int32_t> plotTypes{0, 4, 6, 5, 8, 7, 3, 13, 14, 15};
    for (std::int32_t kind = 0; kind < kPaneKindCount; ++kind) {
        EXPECT_EQ(PanePlotType(kind), plotTypes[static_cast<std::size_t>(kind)]) << kind;
    }
    EXPECT_EQ(PaneViewFor(kPaneCoefficients), PaneView::kCoefficients);
    EXPECT_EQ(PaneViewFor(kPanePhaseDelay), PaneView::kFrequencyPlot);
    EXPECT_EQ(PaneViewFor(kPanePoleZero), PaneView::kPoleZeroPlot);
    EXPECT_EQ(PaneViewFor(kPaneImpulseAndStep), PaneView::kTimePlot);
    EXPECT_EQ(PaneKindName(kPaneUnwrappedPhase), "Unwrapped Phase");
    EXPECT_EQ(PaneKindName(kPaneImpulseAndStep), "Impulse and Step");
    // Unknown kinds are magnitude plots.
    for (const std::int32_t odd : {-1, 10, 1000}) {
        EXPECT_EQ(PaneViewFor(odd), PaneView::kFrequencyPlot);
        EXPECT_EQ(PanePlotType(odd), 4);
        EXPECT_EQ(PaneKindName(odd), "");
    }
}

TEST(UpdateHint, FieldsOfTheValuesSent) {
    EXPECT_EQ(hint::Event(hint::kLoaded), hint::kDesignChanged);
    EXPECT_EQ(hint::Event(hint::kAboutToStore), hint::kStoring);
    EXPECT_EQ(hint::Event(hint::kWindowsOpened), hint::kWindowsChanged);
    EXPECT_EQ(hint::PlotType(hint::kGroupDelayWindowOpened), 8);
    EXPECT_EQ(hint::PlotType(hint::kImpulseAndStepWindowOpened), 15);
    EXPECT_EQ(hint::SubCode(hint::kStepWindowOpened), 3);
    EXPECT_EQ(hint::Event(hint::kNoRescale | hint::kDesignChanged), 5);
}

TEST(LayoutRecord, BuiltFromTheSettingsAndBoundedToEightPanes) {
    AppOptions options;
    options.m_bMinimizeBottomRow = 1;
    LayoutRecord r = LayoutRecord::FromOptions(options);
    ASSERT_EQ(r.PaneCount(), 5);
    EXPECT_EQ(r.PaneKind(0), 6);
    EXPECT_EQ(r.PaneKind(1), 0);
    EXPECT_EQ(r.PaneKind(2), 1);
    EXPECT_EQ(r.PaneKind(3), 2);
    EXPECT_EQ(r.PaneKind(4), 9);
    EXPECT_TRUE(r.MinimizeBottomRow());

    for (int i = 0; i < 5; ++i)
        r.AppendPane(100 + i);
    EXPECT_EQ(r.PaneCount(), 8);
    EXPECT_EQ(r.PaneKind(7), 102);

    r.Clear();
    r.AppendPane(3);
    EXPECT_EQ(r.PaneCount(), 1);
    r.SetPaneKind(4, 7);
    EXPECT_EQ(r.PaneCount(), 5);
    EXPECT_EQ(r.PaneKind(4), 7);
}

TEST(LayoutRecord, StoresItsCountAndKindsOnly) {
    LayoutRecord r = LayoutRecord::FromOptions(AppOptions{});
    r.SetMinimizeBottomRow(true);
    fw::Archive ar = fw::Archive::ForStoring();
    r.Serialize(ar);
    EXPECT_EQ(ar.Buffer(), ByteBuilder().I32(5).I32(6).I32(0).I32(1).I32(2).I32(9).Bytes());

    LayoutRecord back;
    back.SetMinimizeBottomRow(false);
    ByteBuilder stored;
    stored.I32(2).I32(8).I32(-4);
    fw::Archive in = fw::Archive::ForLoading(stored.Bytes());
    back.Serialize(in);
    EXPECT_EQ(back.PaneCount(), 2);
    EXPECT_EQ(back.PaneKind(0), 8);
    EXPECT_EQ(back.PaneKind(1), -4);
    EXPECT_FALSE(back.MinimizeBottomRow());
}

TEST(LayoutRecord, RefusesMoreThanEightPanesOrANegativeCount) {
    for (const std::int32_t n : {-1, 9, 1 << 30}) {
        ByteBuilder b;
        b.I32(n);
        for (int i = 0; i < 12; ++i)
            b.I32(1);
        LayoutRecord r;
        fw::Archive ar = fw::Archive::ForLoading(b.Bytes());
        EXPECT_THROW(r.Serialize(ar), fw::ArchiveError) << n;
    }
    // Eight is still fine.
    ByteBuilder b;
    b.I32(8);
    for (int i = 0; i < 8; ++i)
        b.I32(i);
    LayoutRecord r;
    fw::Archive ar = fw::Archive::ForLoading(b.Bytes());
    r.Serialize(ar);
    EXPECT_EQ(r.PaneCount(), 8);
    EXPECT_EQ(r.PaneKind(7), 7);
}

} // namespace
} // namespace tarvo
