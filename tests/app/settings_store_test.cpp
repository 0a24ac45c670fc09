// The desktop settings store keeps each section as a group of its file and
// reads integers back only from integer text.

#include "app/settings_store.h"
#include "doc/app_options.h"
#include "fw/test_files.h"

#include <gtest/gtest.h>

namespace tarvo {
namespace {

TEST(SettingsStore, KeepsTheOptionsSectionInItsFileAcrossInstances) {
    fw::test::ScratchDir dir;
    const QString file = QString::fromStdString(dir.File("TarvoIIR.conf"));
    {
        SettingsStore store(file);
        AppOptions options;
        options.m_vsRight3 = 4;
        options.m_dMinDb = -100.0;
        options.SaveOptions(store);
        store.WriteProfileString("Recent File List", "File1", "/a b/c.tvp");
        store.Sync();
    }
    const std::string text = fw::test::ReadText(file.toStdString());
    EXPECT_NE(text.find("[Options]"), std::string::npos);
    EXPECT_NE(text.find("m_dMinDb=-100.000"), std::string::npos);

    SettingsStore again(file);
    AppOptions loaded;
    loaded.LoadOptions(again);
    EXPECT_EQ(loaded.m_vsRight3, 4);
    EXPECT_EQ(loaded.m_dMinDb, -100.0);
    EXPECT_EQ(again.GetProfileString("Recent File List", "File1", ""), "/a b/c.tvp");
    // A hand-edited value that is no integer reads as the default.
    again.WriteProfileString("Options", "m_vsLeft1", "six");
    EXPECT_EQ(again.GetProfileInt("Options", "m_vsLeft1", 6), 6);
    EXPECT_EQ(again.GetProfileInt("Options", "missing", 7), 7);
}

} // namespace
} // namespace tarvo
