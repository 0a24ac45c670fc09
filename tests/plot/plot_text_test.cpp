#include "plot/plot_text.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <limits>
#include <set>
#include <sstream>
#include <vector>

namespace tarvo {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// A plot's data: the x column and its curves.
struct Data {
    CDataColumn x;
    CDataSet curves;

    Data(const std::vector<double>& xs, const std::vector<std::vector<double>>& ys) {
        for (const double v : xs)
            x.Add(v);
        for (const auto& curve : ys) {
            CDataColumn& column = curves.AddColumn();
            for (const double v : curve)
                column.Add(v);
        }
    }
    PlotTextSource Source(bool xLog = false, bool yLog = false, bool polar = false) const {
        return {&x, &curves, xLog, yLog, polar};
    }
};

TEST(PlotText, CopyAndWrite) {
    struct Row {
        const char* name;
        Data data;
        PlotTextSource (*source)(const Data&);
        const char* copy;
        const char* write;
    };
    const auto plain = [](const Data& d) { return d.Source(); };
    const auto logX = [](const Data& d) { return d.Source(true, false); };
    const auto logY = [](const Data& d) { return d.Source(false, true); };
    const auto polar = [](const Data& d) { return d.Source(false, false, true); };
    const Row rows[] = {
        {"one curve", Data({0, 0.5}, {{1, -2}}), plain,
         " 0.000000000\t 1.000000000\r\n 0.500000000\t-2.000000000\r\n", "0   1\r\n0.5   -2\r\n"},
        {"curves 0 and 1 only", Data({1}, {{2}, {-3}, {4}}), plain,
         " 1.000000000\t 2.000000000\t-3.000000000\r\n", "1   2   -3\r\n"},
        {"log x drops x <= 0", Data({0, -1, 10}, {{1, 2, 3}}), logX,
         "10.000000000\t 3.000000000\r\n", "10   3\r\n"},
        {"log y drops either curve <= 0", Data({1, 2, 3}, {{1, 0, 5}, {-1, 1, 6}}), logY,
         " 3.000000000\t 5.000000000\t 6.000000000\r\n", "3   5   6\r\n"},
        {"rows of the shortest column", Data({1, 2, 3}, {{4, 5}, {6, 7, 8}}), plain,
         " 1.000000000\t 4.000000000\t 6.000000000\r\n"
         " 2.000000000\t 5.000000000\t 7.000000000\r\n",
         "1   4   6\r\n2   5   7\r\n"},
        // The pole-zero plot keeps one x value; its points are curve 1 against curve 0.
        {"polar pairs", Data({0}, {{1, -0.5, 0.25}, {0, 0.5}}), polar,
         " 1.000000000\t 0.000000000\r\n-0.500000000\t 0.500000000\r\n", "1   0\r\n-0.5   0.5\r\n"},
        {"polar without a second curve", Data({0}, {{1}}), polar, "", ""},
        {"no curves", Data({1, 2}, {}), plain, "", ""},
        {"no values", Data({}, {{}, {}}), plain, "", ""},
        // Bad values are the user's evidence of an unstable filter: keep them.
        {"non-finite kept", Data({1, 2, 3}, {{kNaN, kInf, -kInf}}), plain,
         " 1.000000000\t         nan\r\n 2.000000000\t         inf\r\n"
         " 3.000000000\t        -inf\r\n",
         "1   nan\r\n2   inf\r\n3   -inf\r\n"},
        {"log y keeps NaN, not -inf", Data({1, 2, 3}, {{kNaN, kInf, -kInf}}), logY,
         " 1.000000000\t         nan\r\n 2.000000000\t         inf\r\n", "1   nan\r\n2   inf\r\n"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(CopyDataText(row.source(row.data)), row.copy) << row.name;
        EXPECT_EQ(WriteDataText(row.source(row.data), nullptr), row.write) << row.name;
    }
    EXPECT_EQ(CopyDataText(PlotTextSource{}), "");
    EXPECT_EQ(WriteDataText(PlotTextSource{}, nullptr), "");
}

TEST(PlotText, TitlesComeFirstAsMainYX) {
    const Data data({0.5}, {{2}});
    const PlotTitles titles{"Magnitude", "Frequency (Hz)", "dB"};
    EXPECT_TRUE(titles.AllSet());
    EXPECT_FALSE((PlotTitles{"Magnitude", "", "dB"}.AllSet()));
    EXPECT_EQ(WriteDataText(data.Source(), &titles),
              "Magnitude\r\ndB\r\nFrequency (Hz)\r\n0.5   2\r\n");
    EXPECT_EQ(WriteDataText(Data({}, {{}}).Source(), &titles),
              "Magnitude\r\ndB\r\nFrequency (Hz)\r\n");
}

// Zoomed in to x 1000..1001, six digits would merge neighbouring points.
TEST(PlotText, DataFileKeepsEveryXApart) {
    Data data({}, {{}});
    for (int i = 0; i < 1600; ++i) {
        data.x.Add(1000.0 + i / 1599.0);
        data.curves.GetAt(0).Add(0.1 * i);
    }
    std::istringstream lines(WriteDataText(data.Source(), nullptr));
    std::set<std::string> texts;
    std::string line;
    std::size_t row = 0;
    while (std::getline(lines, line)) {
        ASSERT_EQ(line.back(), '\r');
        const std::size_t gap = line.find("   ");
        ASSERT_NE(gap, std::string::npos);
        const std::string x = line.substr(0, gap);
        const std::string y = line.substr(gap + 3, line.size() - 1 - gap - 3);
        texts.insert(x);
        EXPECT_EQ(std::strtod(x.c_str(), nullptr), data.x[row]);
        EXPECT_EQ(std::strtod(y.c_str(), nullptr), data.curves.GetAt(0)[row]);
        ++row;
    }
    EXPECT_EQ(row, 1600u);
    EXPECT_EQ(texts.size(), 1600u);
}

TEST(PlotText, HugeValuesAreNotCut) {
    const Data data({1}, {{1e200}});
    const std::string copy = CopyDataText(data.Source());
    const std::string prefix = " 1.000000000\t";
    ASSERT_EQ(copy.substr(0, prefix.size()), prefix);
    ASSERT_EQ(copy.size(), prefix.size() + 210 + 2); // 200 digits, point, 9 decimals
    EXPECT_EQ(copy.substr(copy.size() - 12), ".000000000\r\n");
    EXPECT_EQ(std::strtod(copy.c_str() + prefix.size(), nullptr), 1e200);
    EXPECT_EQ(WriteDataText(data.Source(), nullptr), "1   1e+200\r\n");
}

// The GUI runs with the user's locale; a decimal comma must not reach the texts.
TEST(PlotText, IgnoresTheProcessLocale) {
    const Data data({0.5, 1000.25}, {{-1.5, 2e-7}, {3.75, 1e21}});
    const PlotTitles titles{"Main", "X", "Y"};
    const std::string copy = CopyDataText(data.Source());
    const std::string write = WriteDataText(data.Source(), &titles);

    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr &&
        std::setlocale(LC_ALL, "de_DE.utf8") == nullptr) {
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    }
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 0.5);
    const std::string germanCopy = CopyDataText(data.Source());
    const std::string germanWrite = WriteDataText(data.Source(), &titles);
    std::setlocale(LC_ALL, saved.c_str());

    ASSERT_STREQ(probe, "0,5"); // the locale really switched
    EXPECT_EQ(germanCopy, copy);
    EXPECT_EQ(germanWrite, write);
    EXPECT_EQ(copy.find(','), std::string::npos);
    EXPECT_NE(write.find("1000.25   2e-07   1e+21"), std::string::npos) << write;
}

} // namespace
} // namespace tarvo
