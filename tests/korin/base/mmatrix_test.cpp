#include "korin/base/mmatrix.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace korin {
namespace {

TEST(Mmatrix, RowsAreOwnedAndDeepCopied) {
    msos m;
    EXPECT_EQ(m.gain, 1.0);
    mvect& r0 = m.AddRow();
    EXPECT_TRUE(r0.column);
    r0 = mvect{mcplx(1), mcplx(2)};
    m.AddRow().push_back(mcplx(0, 1));
    m.gain = 3.0;
    msos copy = m;
    EXPECT_EQ(copy.Rows(), 2u);
    EXPECT_EQ(copy.gain, 3.0);
    copy[0][0] = mcplx(9);
    EXPECT_EQ(m[0][0], mcplx(1));
    EXPECT_FALSE(m.IsReal());
    m[1][0] = mcplx(4);
    EXPECT_TRUE(m.IsReal());
    EXPECT_THROW(m[2], std::out_of_range);
    m.Clear();
    EXPECT_EQ(m.Rows(), 0u);
    EXPECT_EQ(m.gain, 3.0);
}

TEST(Mmatrix, QuantizeRoundsEveryRowButNotTheGain) {
    msos m;
    m.gain = 0.1;
    m.AddRow() = mvect{mcplx(1), mcplx(0.3), mcplx(-0.25), mcplx(1), mcplx(3.7), mcplx(0.1, 0.6)};
    m.Quantize(1);
    EXPECT_EQ(m[0],
              (mvect{mcplx(1), mcplx(0.5), mcplx(-0.5), mcplx(1), mcplx(3.5), mcplx(0, 0.5)}));
    EXPECT_EQ(m.gain, 0.1);
    const msos once = m;
    m.Quantize(1);
    EXPECT_EQ(m[0], once[0]);

    mmatrix f;
    f.AddRow() = mvect{mcplx(0.1)};
    f.RoundToFloat();
    EXPECT_EQ(f[0][0].real(), 0.100000001490116119384765625);
}

} // namespace
} // namespace korin
