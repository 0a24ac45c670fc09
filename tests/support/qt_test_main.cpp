// Test main of the GUI tests: one QApplication on the offscreen platform, with
// Qt's standard paths in test mode and a scratch home, so that no test touches
// the user's settings or another test's files.

#include "korin/base/kassert.h"
#include "support/assert_capture.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <QApplication>
#include <QStandardPaths>
#include <system_error>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // A home of its own for each test process: CTest runs several at once, and
    // settings, the help collection's copy and its search index live there.
    char home[] = "/tmp/tarvo-gui-test-XXXXXX";
    if (mkdtemp(home) != nullptr) setenv("HOME", home, 1);
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Morvane");
    QApplication::setApplicationName("TarvoIIR-test");
    korin::SetAssertReporter(&tarvo::test::RecordAssert);
    const int result = RUN_ALL_TESTS();
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
    return result;
}
