#include "doc/help_topics.h"
#include "doc/pane_kind.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace tarvo {
namespace {

namespace fs = std::filesystem;

// data/help of the source tree (the fixtures live in <root>/tests/fixtures).
fs::path HelpDir() {
    return fs::path(TARVO_FIXTURE_DIR).parent_path().parent_path() / "data" / "help";
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << "cannot read " << path;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Every first capture group of `pattern` in `text`.
std::vector<std::string> Captures(const std::string& text, const std::string& pattern) {
    const std::regex re(pattern);
    std::vector<std::string> out;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator();
         ++it)
        out.push_back((*it)[1].str());
    return out;
}

struct HelpProject {
    std::string text;
    std::set<std::string> files; // the <file> entries
    std::vector<std::string> tocRefs;
    std::vector<std::string> keywordRefs;
};

HelpProject ReadProject() {
    HelpProject p;
    p.text = ReadText(HelpDir() / "tarvoiir.qhp");
    for (const std::string& f : Captures(p.text, R"re(<file>\s*([^<\s]+)\s*</file>)re"))
        p.files.insert(f);
    p.tocRefs = Captures(p.text, R"re(<section\s[^>]*ref="([^"]+)")re");
    p.keywordRefs = Captures(p.text, R"re(<keyword\s[^>]*ref="([^"]+)")re");
    return p;
}

std::string FileOf(const std::string& ref) {
    return ref.substr(0, ref.find('#'));
}

TEST(HelpTopics, ViewKindsHaveTheirAgreedPageNames) {
    // The names other code and the help window rely on.
    const std::pair<HelpTopic, std::string_view> rows[] = {
        {HelpTopic::kGettingStarted, "index.html"},
        {HelpTopic::kDesignForm, "design-form.html"},
        {HelpTopic::kCoefficients, "coefficients.html"},
        {HelpTopic::kFrequencyPlot, "frequency-plot.html"},
        {HelpTopic::kTimePlot, "time-plot.html"},
        {HelpTopic::kPoleZero, "pole-zero.html"},
    };
    for (const auto& [topic, page] : rows)
        EXPECT_EQ(HelpPageFor(topic), page) << static_cast<int>(topic);
}

TEST(HelpTopics, EveryTopicHasItsOwnPageInTheContents) {
    const HelpProject project = ReadProject();
    std::set<std::string> tocFiles;
    for (const std::string& ref : project.tocRefs)
        tocFiles.insert(FileOf(ref));

    std::map<std::string, int> seen;
    for (int i = 0; i < kHelpTopicCount; ++i) {
        const std::string page(HelpPageFor(static_cast<HelpTopic>(i)));
        SCOPED_TRACE(page);
        EXPECT_TRUE(seen.emplace(page, i).second)
            << "topic " << i << " repeats topic " << seen[page];
        EXPECT_TRUE(fs::is_regular_file(HelpDir() / page));
        EXPECT_EQ(project.files.count(page), 1u) << "not among the project's files";
        EXPECT_EQ(tocFiles.count(page), 1u) << "not in the table of contents";
    }
}

TEST(HelpTopics, PaneKindsOpenThePageOfTheirView) {
    const std::pair<std::int32_t, HelpTopic> rows[] = {
        {kPaneCoefficients, HelpTopic::kCoefficients},
        {kPaneMagnitude, HelpTopic::kFrequencyPlot},
        {kPaneUnwrappedPhase, HelpTopic::kFrequencyPlot},
        {kPanePhase, HelpTopic::kFrequencyPlot},
        {kPaneGroupDelay, HelpTopic::kFrequencyPlot},
        {kPanePhaseDelay, HelpTopic::kFrequencyPlot},
        {kPanePoleZero, HelpTopic::kPoleZero},
        {kPaneImpulse, HelpTopic::kTimePlot},
        {kPaneStep, HelpTopic::kTimePlot},
        {kPaneImpulseAndStep, HelpTopic::kTimePlot},
        // Out-of-range kinds are shown as magnitude plots.
        {-1, HelpTopic::kFrequencyPlot},
        {kPaneKindCount, HelpTopic::kFrequencyPlot},
    };
    for (const auto& [kind, topic] : rows)
        EXPECT_EQ(HelpTopicForPaneKind(kind), topic) << "kind " << kind;
}

TEST(HelpCollection, ProjectListsExactlyTheFilesOfTheHelpFolder) {
    const HelpProject project = ReadProject();
    std::set<std::string> onDisk;
    for (const auto& entry : fs::directory_iterator(HelpDir())) {
        const std::string ext = entry.path().extension().string();
        if (entry.is_regular_file() && ext != ".qhp" && ext != ".qhcp")
            onDisk.insert(entry.path().filename().string());
    }
    EXPECT_EQ(project.files, onDisk);
}

// Every reference of the contents and the index, and every local link and
// stylesheet of the pages, names a packed file and, after '#', an id in it.
TEST(HelpCollection, EveryReferenceAndLinkResolves) {
    const HelpProject project = ReadProject();
    std::map<std::string, std::set<std::string>> ids;
    std::map<std::string, std::string> pages;
    for (const std::string& file : project.files) {
        if (fs::path(file).extension() != ".html") continue;
        pages[file] = ReadText(HelpDir() / file);
        for (const std::string& id : Captures(pages[file], R"re(\sid="([^"]+)")re"))
            ids[file].insert(id);
    }

    std::vector<std::pair<std::string, std::string>> refs; // (where, ref)
    for (const std::string& r : project.tocRefs)
        refs.emplace_back("contents", r);
    for (const std::string& r : project.keywordRefs)
        refs.emplace_back("index", r);
    for (const auto& [file, text] : pages) {
        for (const std::string& r : Captures(text, R"re(\shref="([^"]+)")re")) {
            if (r.find("://") != std::string::npos || r.rfind("mailto:", 0) == 0) continue;
            refs.emplace_back(file, r.front() == '#' ? file + r : r);
        }
    }
    ASSERT_GT(refs.size(), 100u);

    for (const auto& [where, ref] : refs) {
        const std::string file = FileOf(ref);
        EXPECT_EQ(project.files.count(file), 1u) << where << ": " << ref;
        const std::size_t hash = ref.find('#');
        if (hash != std::string::npos) {
            EXPECT_EQ(ids[file].count(ref.substr(hash + 1)), 1u) << where << ": " << ref;
        }
    }
}

TEST(HelpCollection, EveryPageHasATitleAndTheSharedStyle) {
    const HelpProject project = ReadProject();
    for (const std::string& file : project.files) {
        if (fs::path(file).extension() != ".html") continue;
        const std::string text = ReadText(HelpDir() / file);
        EXPECT_EQ(Captures(text, R"re(<title>([^<]+)</title>)re").size(), 1u) << file;
        EXPECT_NE(text.find(R"re(<link rel="stylesheet" type="text/css" href="style.css">)re"),
                  std::string::npos)
            << file;
    }
}

} // namespace
} // namespace tarvo
