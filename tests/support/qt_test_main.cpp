// Test main of the GUI tests: one QApplication on the offscreen platform, with
// Qt's standard paths in test mode so that no test touches the user's settings.

#include "korin/base/kassert.h"
#include "support/assert_capture.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <QApplication>
#include <QStandardPaths>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Morvane");
    QApplication::setApplicationName("TarvoIIR-test");
    korin::SetAssertReporter(&tarvo::test::RecordAssert);
    return RUN_ALL_TESTS();
}
