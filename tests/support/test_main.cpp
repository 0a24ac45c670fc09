#include "korin/base/kassert.h"
#include "support/assert_capture.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    korin::SetAssertReporter(&tarvo::test::RecordAssert);
    return RUN_ALL_TESTS();
}
