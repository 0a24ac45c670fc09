#include "doc/app_options.h"
#include "fw/memory_profile_store.h"

#include <clocale>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tarvo {
namespace {

std::string MinDbText(const fw::MemoryProfileStore& store) {
    return store.Find("Options", "m_dMinDb").value_or("<missing>");
}

double LoadMinDbFrom(const std::string& text) {
    fw::MemoryProfileStore store;
    store.WriteProfileString("Options", "m_dMinDb", text);
    AppOptions o;
    o.m_dMinDb = 55.0;
    o.LoadOptions(store);
    return o.m_dMinDb;
}

TEST(AppOptions, FirstStartGivesTheDefaults) {
    const fw::MemoryProfileStore empty;
    AppOptions o;
    o.LoadOptions(empty);
    EXPECT_EQ(o.m_vsLeft1, 6);
    EXPECT_EQ(o.m_vsLeft2, 0);
    EXPECT_EQ(o.m_vsRight1, 1);
    EXPECT_EQ(o.m_vsRight2, 2);
    EXPECT_EQ(o.m_vsRight3, 9);
    EXPECT_EQ(o.m_bMinimizeBottomRow, 0);
    EXPECT_EQ(o.m_bEnableMainPlotTitles, 1);
    EXPECT_EQ(o.m_dMinDb, -130.0);
}

TEST(AppOptions, SaveWritesTheEightKeysInOrderWithTheirTypes) {
    fw::MemoryProfileStore store;
    AppOptions().SaveOptions(store);
    struct Expected {
        const char* key;
        const char* value;
        bool isInt;
    };
    const Expected expected[] = {
        {"m_vsLeft1", "6", true},
        {"m_vsLeft2", "0", true},
        {"m_vsRight1", "1", true},
        {"m_vsRight2", "2", true},
        {"m_vsRight3", "9", true},
        {"m_bMinimizeBottomRow", "0", true},
        {"m_bEnableMainPlotTitles", "1", true},
        {"m_dMinDb", "-130.000", false},
    };
    const auto& log = store.WriteLog();
    ASSERT_EQ(log.size(), std::size(expected));
    for (std::size_t i = 0; i < log.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(log[i].section, "Options");
        EXPECT_EQ(log[i].key, expected[i].key);
        EXPECT_EQ(log[i].value, expected[i].value);
        EXPECT_EQ(log[i].isInt, expected[i].isInt);
    }
}

TEST(AppOptions, ChangedValuesSurviveARestart) {
    fw::MemoryProfileStore store;
    AppOptions changed;
    changed.m_vsLeft1 = 3;
    changed.m_vsLeft2 = 4;
    changed.m_vsRight1 = 5;
    changed.m_vsRight2 = 7;
    changed.m_vsRight3 = 8;
    changed.m_bMinimizeBottomRow = 1;
    changed.m_bEnableMainPlotTitles = 0;
    changed.m_dMinDb = -100.0;
    changed.SaveOptions(store);
    EXPECT_EQ(MinDbText(store), "-100.000");

    AppOptions next;
    next.LoadOptions(store);
    EXPECT_EQ(next.m_vsLeft1, 3);
    EXPECT_EQ(next.m_vsLeft2, 4);
    EXPECT_EQ(next.m_vsRight1, 5);
    EXPECT_EQ(next.m_vsRight2, 7);
    EXPECT_EQ(next.m_vsRight3, 8);
    EXPECT_EQ(next.m_bMinimizeBottomRow, 1);
    EXPECT_EQ(next.m_bEnableMainPlotTitles, 0);
    EXPECT_EQ(next.m_dMinDb, -100.0);
}

TEST(AppOptions, MinimumDbTextHasThreeDecimals) {
    const std::vector<std::pair<double, std::string>> cases = {
        {-130.0, "-130.000"},  {-100.0, "-100.000"},
        {0.0, "0.000"},        {-0.0, "-0.000"},
        {-12.3456, "-12.346"}, {-99.9996, "-100.000"},
        {250.5, "250.500"},    {1e20, "100000000000000000000.000"},
    };
    for (const auto& [value, text] : cases) {
        fw::MemoryProfileStore store;
        AppOptions o;
        o.m_dMinDb = value;
        o.SaveOptions(store);
        EXPECT_EQ(MinDbText(store), text) << value;
    }
    // The largest double in full, with no fixed buffer in the way.
    fw::MemoryProfileStore store;
    AppOptions o;
    o.m_dMinDb = -1.7976931348623157e308;
    o.SaveOptions(store);
    EXPECT_EQ(MinDbText(store).size(), 1U + 309U + 4U);
    EXPECT_EQ(MinDbText(store).substr(0, 6), "-17976");
}

TEST(AppOptions, MinimumDbIsReadAsScanfWouldReadIt) {
    EXPECT_EQ(LoadMinDbFrom("-130.000"), -130.0);
    EXPECT_EQ(LoadMinDbFrom("-100"), -100.0);
    EXPECT_EQ(LoadMinDbFrom("  -80.25"), -80.25);
    EXPECT_EQ(LoadMinDbFrom("+12"), 12.0);
    EXPECT_EQ(LoadMinDbFrom("-1e2"), -100.0);
    EXPECT_EQ(LoadMinDbFrom("-0x10"), -16.0);
    // The number at the start counts; what follows is ignored.
    EXPECT_EQ(LoadMinDbFrom("-90 dB"), -90.0);
    EXPECT_EQ(LoadMinDbFrom("-90,5"), -90.0);
    // Not a number at all: 0.
    EXPECT_EQ(LoadMinDbFrom("abc"), 0.0);
    EXPECT_EQ(LoadMinDbFrom(""), 0.0);
    EXPECT_EQ(LoadMinDbFrom("-"), 0.0);
    EXPECT_EQ(LoadMinDbFrom("dB -90"), 0.0);
}

TEST(AppOptions, MissingKeysKeepTheirDefaults) {
    // Integers missing from the store keep the value in memory; a missing
    // minimum dB reads as -130 whatever was in memory.
    fw::MemoryProfileStore store;
    store.WriteProfileInt("Options", "m_vsRight2", 5);
    store.WriteProfileString("Options", "m_vsLeft1", "not a number");
    AppOptions o;
    o.m_vsLeft2 = 8;
    o.m_dMinDb = -60.0;
    o.LoadOptions(store);
    EXPECT_EQ(o.m_vsRight2, 5);
    EXPECT_EQ(o.m_vsLeft1, 6);
    EXPECT_EQ(o.m_vsLeft2, 8);
    EXPECT_EQ(o.m_vsRight3, 9);
    EXPECT_EQ(o.m_dMinDb, -130.0);
    // Values under another section are not ours.
    fw::MemoryProfileStore elsewhere;
    elsewhere.WriteProfileString("Settings", "m_dMinDb", "-10.000");
    AppOptions p;
    p.LoadOptions(elsewhere);
    EXPECT_EQ(p.m_dMinDb, -130.0);
}

TEST(AppOptions, TheTextIsTheSameInEveryLocale) {
    const char* locales[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"};
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    const char* found = nullptr;
    for (const char* name : locales) {
        if (std::setlocale(LC_ALL, name) != nullptr) {
            found = name;
            break;
        }
    }
    if (found == nullptr) {
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    }
    fw::MemoryProfileStore store;
    AppOptions o;
    o.m_dMinDb = -130.5;
    o.SaveOptions(store);
    const std::string text = MinDbText(store);
    const double back = LoadMinDbFrom("-130.5");
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_EQ(text, "-130.500");
    EXPECT_EQ(back, -130.5);
}

} // namespace
} // namespace tarvo
