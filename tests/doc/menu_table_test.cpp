#include "doc/doc_command_ids.h"
#include "doc/menu_table.h"
#include "doc/view_command_ids.h"
#include "fw/command_ids.h"
#include "plot/plot_command_ids.h"

#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace tarvo {
namespace {

using Kind = MenuEntry::Kind;
using Ids = std::vector<fw::CommandId>;
using B = MenuBarKind;
using Lists = std::map<std::string, std::span<const MenuEntry>>;

constexpr B kBars[] = {B::kMain,      B::kDesign, B::kCoefficients,
                       B::kFrequency, B::kTime,   B::kPoleZero};

// Each entry list (popup, submenu, context menu) by a name such as "2 &File > ...".
void Add(const std::string& name, std::span<const MenuEntry> entries, Lists& out) {
    out[name] = entries;
    for (const MenuEntry& e : entries)
        if (e.kind == Kind::kSubmenu) Add(name + " > " + std::string(e.text), e.children, out);
}
Lists AllLists() {
    Lists out;
    for (B bar : kBars) {
        const std::string n = std::to_string(static_cast<int>(bar));
        for (const MenuPopup& popup : MenuBar(bar))
            Add(n + " " + std::string(popup.title), popup.entries, out);
        if (!ContextMenu(bar).empty()) Add(n + " context", ContextMenu(bar), out);
    }
    return out;
}

Ids Commands(std::span<const MenuEntry> entries, Ids ids = {}) {
    for (const MenuEntry& e : entries) {
        if (e.kind == Kind::kCommand) ids.push_back(e.id);
        ids = Commands(e.children, std::move(ids));
    }
    return ids;
}
Ids Commands(B bar) {
    Ids ids;
    for (const MenuPopup& popup : MenuBar(bar))
        ids = Commands(popup.entries, std::move(ids));
    return ids;
}
bool Has(const Ids& ids, fw::CommandId id) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

// Mnemonic letters, lower case; "&&" is a literal ampersand, key text after a tab does not count.
std::string Mnemonics(std::string_view text) {
    text = text.substr(0, text.find('\t'));
    std::string letters;
    for (std::size_t i = 0; i + 1 < text.size(); ++i)
        if (text[i] == '&' && text[i + 1] == '&')
            ++i;
        else if (text[i] == '&')
            letters += static_cast<char>(std::tolower(static_cast<unsigned char>(text[i + 1])));
    return letters;
}

const MenuEntry* Find(std::span<const MenuEntry> entries, std::vector<std::string_view> path) {
    for (const MenuEntry& e : entries)
        if (e.text == path.front())
            return path.size() == 1 ? &e : Find(e.children, {path.begin() + 1, path.end()});
    return nullptr;
}
std::span<const MenuEntry> Popup(B bar, std::string_view title) {
    for (const MenuPopup& popup : MenuBar(bar))
        if (popup.title == title) return popup.entries;
    return {};
}
// The keys of a command joined by spaces.
std::string KeysOf(fw::CommandId id) {
    std::string text;
    for (const CommandKeys& row : CommandKeyTable())
        for (std::string_view key : row.keys)
            if (row.id == id) text += (text.empty() ? "" : " ") + std::string(key);
    return text;
}

TEST(MenuTable, PopupTitlesOfEachBar) {
    const std::string_view expected[] = {
        "&File &View &Help",
        "&File I&IR &View &Window &Help",
        "&File &IIR &Coefficients &View &Window &Help",
        "&File &IIR F&requency &View &Window &Help",
        "&File &IIR &Time &View &Window &Help",
        "&File &IIR &Pole-Zero &View &Window &Help",
    };
    for (B bar : kBars) {
        std::string titles, mnemonics;
        for (const MenuPopup& popup : MenuBar(bar)) {
            titles += (titles.empty() ? "" : " ") + std::string(popup.title);
            mnemonics += Mnemonics(popup.title);
        }
        EXPECT_EQ(titles, expected[static_cast<int>(bar)]);
        EXPECT_EQ(std::set<char>(mnemonics.begin(), mnemonics.end()).size(), mnemonics.size());
    }
}

TEST(MenuTable, EntriesWellFormedAndEachCommandOncePerMenu) {
    for (const auto& [name, entries] : AllLists()) {
        ASSERT_FALSE(entries.empty()) << name;
        EXPECT_TRUE(entries.front().kind != Kind::kSeparator &&
                    entries.back().kind != Kind::kSeparator)
            << name;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const MenuEntry& e = entries[i];
            const bool named = e.kind == Kind::kCommand || e.kind == Kind::kSubmenu;
            EXPECT_EQ(e.text.empty(), !named) << name << " #" << i;
            EXPECT_EQ(e.id != 0, e.kind == Kind::kCommand) << name << " " << e.text;
            EXPECT_EQ(e.children.empty(), e.kind != Kind::kSubmenu) << name << " " << e.text;
            EXPECT_LE(Mnemonics(e.text).size(), 1U) << name << " " << e.text;
            EXPECT_FALSE(i > 0 && e.kind == Kind::kSeparator &&
                         entries[i - 1].kind == Kind::kSeparator)
                << name << " #" << i;
            // The recent files just above Exit in every File menu; the window list
            // at the end of every Window menu.
            const std::string popup = name.substr(2);
            EXPECT_EQ(e.kind == Kind::kRecentFiles, popup == "&File" && i + 3 == entries.size())
                << name;
            EXPECT_EQ(e.kind == Kind::kWindowList, popup == "&Window" && i + 1 == entries.size())
                << name;
        }
    }
    for (B bar : kBars)
        for (const Ids& ids : {Commands(bar), Commands(ContextMenu(bar))})
            EXPECT_EQ(std::set<fw::CommandId>(ids.begin(), ids.end()).size(), ids.size());
}

// The only shared letters come from the program's own texts: "Cu&t" and
// "Choose Fon&t...", "&Format..." and "&Find...", and in the context menu also
// "&Paste" and "&Print...", "&Repeat Last Find/Replace" and "P&rint Setup...".
TEST(MenuTable, MnemonicsUniqueWithinEachPopup) {
    const std::map<std::string, std::string> allowed = {{"2 &Coefficients", "ft"},
                                                        {"2 context", "fprt"}};
    for (const auto& [name, entries] : AllLists()) {
        std::multiset<char> letters;
        for (const MenuEntry& e : entries)
            for (char c : Mnemonics(e.text))
                letters.insert(c);
        std::string shared;
        for (char c : std::set<char>(letters.begin(), letters.end()))
            if (letters.count(c) > 1) shared += c;
        EXPECT_EQ(shared, allowed.count(name) ? allowed.at(name) : "") << name;
    }
}

TEST(MenuTable, AcceleratorsDistinctAndWellFormed) {
    const std::map<fw::CommandId, std::string> rows = {
        {fw::kIdFileNew, "Ctrl+N"},
        {fw::kIdFileOpen, "Ctrl+O"},
        {fw::kIdFileSave, "Ctrl+S"},
        {fw::kIdFilePrint, "Ctrl+P"},
        {fw::kIdEditUndo, "Ctrl+Z Alt+Backspace"},
        {fw::kIdEditRedo, "Ctrl+Y Ctrl+Shift+Z"},
        {fw::kIdEditCut, "Ctrl+X Shift+Del"},
        {fw::kIdEditCopy, "Ctrl+C Ctrl+Ins"},
        {fw::kIdEditPaste, "Ctrl+V Shift+Ins"},
        {fw::kIdNextPane, "F6"},
        {fw::kIdPrevPane, "Shift+F6"},
        {fw::kIdHelp, "F1"},
        {fw::kIdContextHelp, "Shift+F1"},
        {fw::kIdEditFind, "Ctrl+F"},
        {fw::kIdEditReplace, "Ctrl+H"},
        {fw::kIdEditRepeat, "F3"},
    };
    for (const auto& [id, keys] : rows)
        EXPECT_EQ(KeysOf(id), keys) << id;
    EXPECT_EQ(CommandKeyTable().size(), rows.size()); // each command in one row

    // Keys bound twice would be ambiguous; the text must be Qt's portable form.
    const std::regex portable("(Ctrl\\+)?(Alt\\+)?(Shift\\+)?([A-Z]|F[1-9]|Del|Ins|Backspace)");
    std::set<std::string_view> used;
    for (const CommandKeys& row : CommandKeyTable())
        for (std::string_view key : row.keys)
            EXPECT_TRUE(used.insert(key).second &&
                        std::regex_match(key.begin(), key.end(), portable))
                << key;
}

TEST(MenuTable, KeyedAndToolbarCommandsAreInMenusWithHelp) {
    Ids all;
    for (B bar : kBars)
        for (const Ids& ids : {Commands(bar), Commands(ContextMenu(bar))})
            all.insert(all.end(), ids.begin(), ids.end());
    for (const auto& [name, entries] : AllLists())
        for (const MenuEntry& e : entries)
            if (const auto tab = e.text.find('\t'); tab != std::string_view::npos) {
                EXPECT_EQ((KeysOf(e.id) + " ").find(std::string(e.text.substr(tab + 1)) + " "), 0U)
                    << e.text; // the shown key is the command's first
            }
    for (const CommandKeys& row : CommandKeyTable())
        EXPECT_TRUE(Has(all, row.id)) << row.id;

    const auto toolbar = ToolbarCommands();
    ASSERT_TRUE(!toolbar.empty() && toolbar.front() != 0 && toolbar.back() != 0);
    for (std::size_t i = 0; i < toolbar.size(); ++i) {
        EXPECT_FALSE(toolbar[i] == 0 && toolbar[i - 1] == 0) << i;
        if (toolbar[i] != 0) {
            EXPECT_TRUE(Has(all, toolbar[i])) << toolbar[i];
            EXPECT_NE(CommandHelp(toolbar[i]).find('\n'), std::string_view::npos) << toolbar[i];
        }
    }
    for (fw::CommandId id = fw::kIdFileMruFirst; id <= fw::kIdFileMruLast; ++id)
        all.push_back(id);
    for (fw::CommandId id : all) {
        const std::string_view help = CommandHelp(id);
        EXPECT_FALSE(help.empty() || help.front() == '\n') << "no status help: " << id;
        EXPECT_LE(std::count(help.begin(), help.end(), '\n'), 1) << id;
    }
}

TEST(MenuTable, ItemsCarryTheirCommands) {
    const std::tuple<std::span<const MenuEntry>, std::vector<std::string_view>, int> rows[] = {
        {Popup(B::kCoefficients, "&Coefficients"), {"&Format..."}, 32884},
        {ContextMenu(B::kCoefficients), {"&Undo Edit"}, 57643},
        {Popup(B::kDesign, "I&IR"), {"&Poles and Zeros"}, 32998},
        {Popup(B::kPoleZero, "&Pole-Zero"), {"Typ&e", "&Poles and Zeros"}, 35076},
        {Popup(B::kFrequency, "F&requency"),
         {"Typ&e", "&Frequency Response", "Phase &Delay"},
         32842},
        {Popup(B::kFrequency, "F&requency"), {"Copy Image"}, 32824},
        {ContextMenu(B::kTime), {"Copy Image"}, 57634},
        {Popup(B::kTime, "&Time"), {"Save I&mage As..."}, 35090},
        {ContextMenu(B::kPoleZero), {"Save I&mage As..."}, 35090},
        {Popup(B::kMain, "&Help"), {"&About TarvoIIR..."}, 57664}};
    for (const auto& [menu, path, id] : rows) {
        const MenuEntry* e = Find(menu, path);
        ASSERT_NE(e, nullptr) << path.back();
        EXPECT_EQ(e->id, id) << path.back();
    }

    Ids mainFile = Commands(Popup(B::kMain, "&File"));
    std::sort(mainFile.begin(), mainFile.end());
    EXPECT_EQ(mainFile,
              (Ids{fw::kIdFileNew, fw::kIdFileOpen, fw::kIdFilePrintSetup, fw::kIdAppExit}));
    // Every plot bar and context menu has the plot commands; the context menus copy
    // the picture on Ctrl+C's command and print.
    for (B bar : {B::kFrequency, B::kTime, B::kPoleZero}) {
        const Ids ids = Commands(bar), context = Commands(ContextMenu(bar));
        for (fw::CommandId id :
             {kIdPlotStyles[7], kIdPlotZooms[4], kIdPlotYAxis, kIdPlotProperties})
            EXPECT_TRUE(Has(ids, id) && Has(context, id)) << static_cast<int>(bar) << " " << id;
        EXPECT_EQ(Has(ids, kIdPoleZeroPolarMode) && Has(context, kIdPoleZeroConstrainZeros),
                  bar == B::kPoleZero);
        EXPECT_TRUE(Has(ids, kIdPlotCopyImage) && !Has(context, kIdPlotCopyImage));
        EXPECT_TRUE(Has(context, fw::kIdEditCopy) && Has(context, fw::kIdFilePrint));
        // Saving the picture comes right after copying it, in the bar and the context menu.
        const std::span<const MenuEntry> popup = MenuBar(bar)[2].entries;
        for (std::span<const MenuEntry> menu : {popup, ContextMenu(bar)}) {
            const auto save = std::find_if(menu.begin(), menu.end(), [](const MenuEntry& e) {
                return e.id == kIdPlotSaveImage;
            });
            ASSERT_TRUE(save != menu.end() && save != menu.begin()) << static_cast<int>(bar);
            EXPECT_EQ(std::prev(save)->text, "Copy Image") << static_cast<int>(bar);
        }
    }
}

} // namespace
} // namespace tarvo
