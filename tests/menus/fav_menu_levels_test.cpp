#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "common/ScreenSize.h"
#include "fav_menu_fixture.h"

namespace {

std::vector<double> VisibleRowTops(platform::ControlArray<platform::Label>& rows) {
    std::vector<double> tops;
    rows.ForEach([&](platform::Label& row, int) {
        if (row.Visible()) tops.push_back(row.Top());
    });
    return tops;
}

// Row i is on screen: its controls are made and shown.
bool Shown(platform::ControlArray<platform::Label>& rows, int i) { return rows.Exists(i) && rows(i).Visible(); }

std::vector<std::string> Captions(platform::ControlArray<platform::Label>& rows) {
    std::vector<std::string> captions;
    rows.ForEach([&](platform::Label& row, int) { captions.push_back(row.Caption()); });
    return captions;
}

}  // namespace

// Worked examples of level building: rows, widths, heights and the cut to the screen.
TEST_F(FavMenuTest, LevelGeometry) {
    // The work area is 768 pixels high: MaxHeight 11520 twips.
    struct Case {
        std::string name;
        std::function<void()> fill;
        std::string folder;  // "" for the top level
        double top;
        std::vector<double> folderTops, linkTops;
        double height;
        bool cut;
    };
    const double maxHeight = 768 * 15;
    const std::vector<Case> cases = {
        {"empty top level", [] {}, "", 1500, {}, {735}, 1080, false},
        {"three folders", [this] { MakeFolder("Three/c"); MakeFolder("Three/A"); MakeFolder("Three/b"); }, "Three", 1500,
         {120, 345, 570}, {}, 915, false},
        {"two links", [this] { MakeFolder("Two"); MakeShortcut("Two/b.url", "http://b/"); MakeShortcut("Two/.url", "http://a/"); },
         "Two", 1500, {}, {120, 345}, 690, false},
        {"exactly MaxHeight", [this] { MakeFolder("Fit/x"); MakeFolder("Fit/y"); MakeFolder("Fit/z"); }, "Fit",
         maxHeight - 915, {120, 345, 570}, {}, 915, false},
        // One twip more: cut to MaxHeight - Top - 60 = 854, which holds two rows; their
        // bottom 570 + the margin 120 + the arrow's hit area 135 gives 825.
        {"one twip more", [this] { MakeFolder("Cut/x"); MakeFolder("Cut/y"); MakeFolder("Cut/z"); }, "Cut",
         maxHeight - 914, {120, 345}, {}, 825, true},
        // Cut to nothing: no row fits, so the level is the smallest one, 600.
        {"no row fits", [this] { MakeFolder("Low/x"); }, "Low", maxHeight - 200, {}, {}, 600, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.fill();
        FrmFavMenu& level = c.folder.empty() ? OpenTop(c.top) : OpenSub(c.folder, c.top);
        EXPECT_EQ(VisibleRowTops(level.labFolder), c.folderTops);
        EXPECT_EQ(VisibleRowTops(level.labMenuItem), c.linkTops);
        EXPECT_EQ(level.Height(), c.height);
        EXPECT_EQ(level.picScroll.Visible(), c.cut);
        EXPECT_EQ(level.labScroll.Visible(), c.cut);
        EXPECT_FALSE(level.picScrollUp.Visible());
        EXPECT_EQ(level.picMenuBack.Height(), level.Height());
        // The frame's bottom corners sit at the level's bottom, the arrows of folder rows at its right.
        EXPECT_EQ(level.picBotRight.Top(), level.Height() - level.picBotRight.Height());
        level.picArrow.ForEach([&](platform::PictureBox& arrow, int i) {
            if (!level.labFolder(i).Visible()) return;
            EXPECT_EQ(arrow.Left(), level.Width() - 90 - arrow.Width());
            EXPECT_EQ(level.picFolder(i).Left(), 90);
        });
        level.Unload();
    }
}

TEST_F(FavMenuTest, TopLevelRowsAndWidth) {
    auto& top = OpenTop();
    EXPECT_EQ(top.labAdd.Top(), 120);
    EXPECT_EQ(top.labOrganise.Top(), 345);
    EXPECT_EQ(top.picSpacer.Top(), 570);
    EXPECT_EQ(top.picSpacer.Height(), 120);
    EXPECT_TRUE(top.labAdd.Visible() && top.labOrganise.Visible() && top.picSpacer.Visible());
    EXPECT_EQ(top.labMenuItem(0).Caption(), "[empty]");
    EXPECT_FALSE(top.labMenuItem(0).Enabled());
    EXPECT_FALSE(top.picLink(0).Visible());
    // The command rows' captions are as wide as the level's text, so they show whole.
    const double text = std::max({300.0, top.TextWidth("Folder List"), top.TextWidth("[empty]"),
                                  top.TextWidth("Add to Favourites..."), top.TextWidth("Organise Favourites...")});
    EXPECT_EQ(top.Width(), 720 + text);
    EXPECT_EQ(top.labOrganise.Width(), text);
    EXPECT_GT(text, top.TextWidth("Folder List"));
}

TEST_F(FavMenuTest, RowsFollowTheFolderSortedWithoutRegardToCase) {
    MakeFolder("Mixed/beta");
    MakeFolder("Mixed/Alpha");
    MakeFolder("Mixed/v1.2 notes");
    MakeShortcut("Mixed/zebra.url", "http://z/");
    MakeShortcut("Mixed/Apple.URL", "http://a/");
    std::ofstream(favorites + "/Mixed/readme.txt") << "not a shortcut";
    auto& level = OpenSub("Mixed");
    EXPECT_EQ(Captions(level.labFolder), (std::vector<std::string>{"Alpha", "beta", "v1.2 notes"}));
    EXPECT_EQ(Captions(level.labMenuItem), (std::vector<std::string>{"Apple", "zebra"}));
    // Links follow the last folder row without a gap.
    EXPECT_EQ(level.labMenuItem(0).Top(), 120 + 3 * 225);
}

TEST_F(FavMenuTest, AFolderThatCannotBeListedShowsEmpty) {
    MakeFolder("Gone");
    MakeShortcut("Gone/x.url", "http://x/");
    const std::string gone = favorites + "/Gone";
    std::filesystem::remove_all(gone);
    auto& level = OpenSub("Gone");
    EXPECT_EQ(level.labMenuItem(0).Caption(), "[empty]");
    EXPECT_TRUE(level.labMenuItem(0).Visible());
    EXPECT_FALSE(level.labMenuItem(0).Enabled());
}

// A level cut to the screen scrolls one row per step down to its last row and back.
TEST_F(FavMenuTest, ScrollingToTheBottomAndBack) {
    MakeFolder("Long");
    for (int i = 0; i < 60; ++i) {
        const std::string name = "Long/link" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".url";
        MakeShortcut(name, "http://127.0.0.1/" + std::to_string(i));
    }
    auto& level = OpenSub("Long", 1500);
    ASSERT_TRUE(level.picScroll.Visible());
    // Tooltips read before scrolling; a shortcut changed after its row was read.
    level.labMenuItem_MouseMove(0);
    level.labMenuItem_MouseMove(1);
    MakeShortcut("Long/link01.url", "http://127.0.0.1/changed");
    const double frameTop = level.picTopLeft.Top(), arrowTop = level.picScroll.Top();
    const auto visible = VisibleRowTops(level.labMenuItem);
    ASSERT_FALSE(visible.empty());
    EXPECT_EQ(visible.front(), 120);
    EXPECT_FALSE(Shown(level.labMenuItem, 59));

    level.ScrollMenu();
    EXPECT_EQ(level.picMenuBack.Top(), -225);
    EXPECT_TRUE(level.picScrollUp.Visible());
    // The first row moved up under the up arrow; the frame and the arrows stay put on screen.
    EXPECT_FALSE(level.labMenuItem(0).Visible());
    EXPECT_EQ(level.picTopLeft.Top() + level.picMenuBack.Top(), frameTop);
    EXPECT_EQ(level.picScroll.Top() + level.picMenuBack.Top(), arrowTop);

    int steps = 1;
    while (level.picScroll.Visible() && steps < 100) {
        level.labScroll_MouseMove();
        ++steps;
    }
    ASSERT_TRUE(Shown(level.labMenuItem, 59));
    EXPECT_FALSE(level.labScroll.Visible());
    level.labMenuItem_MouseMove(59);
    EXPECT_EQ(level.labMenuItem(59).ToolTipText(), "http://127.0.0.1/59");
    // The last row ends above where the down arrow stood.
    const double lastBottom = level.labMenuItem(59).Top() + 225 + level.picMenuBack.Top();
    EXPECT_LE(lastBottom, level.Height() - level.picScroll.Height());

    for (int i = 0; i < steps; ++i) level.ScrollMenuUp();
    EXPECT_EQ(level.picMenuBack.Top(), 0);
    EXPECT_FALSE(level.picScrollUp.Visible());
    EXPECT_TRUE(level.picScroll.Visible());
    EXPECT_EQ(VisibleRowTops(level.labMenuItem), visible);
    EXPECT_EQ(level.picMenuBack.Height(), level.Height());
    EXPECT_EQ(level.labMenuItem(1).ToolTipText(), "http://127.0.0.1/1") << "the tooltip read before scrolling is lost";
}

TEST_F(FavMenuTest, TheTopLevelsCommandRowsScrollAwayAndComeBack) {
    for (int i = 0; i < 60; ++i) MakeShortcut("link" + std::to_string(100 + i) + ".url", "http://127.0.0.1/");
    auto& top = OpenTop(1500);
    ASSERT_TRUE(top.picScroll.Visible());
    // One step: the two rows lie above the top limit (the step plus the up arrow's height).
    top.ScrollMenu();
    EXPECT_FALSE(top.labAdd.Visible() || top.labOrganise.Visible());
    EXPECT_TRUE(top.picSpacer.Visible());
    top.ScrollMenu();
    EXPECT_FALSE(top.picSpacer.Visible());
    top.ScrollMenuUp();
    top.ScrollMenuUp();
    EXPECT_TRUE(top.labAdd.Visible() && top.labOrganise.Visible() && top.picSpacer.Visible());
}

// A long level makes the controls of the rows it shows and no others, and scrolling
// still shows every row in turn, down to the last one, which opens.
TEST_F(FavMenuTest, ALongLevelMakesOnlyTheRowsItShows) {
    struct Case {
        std::string folder;  // "" for the top level
        int folders, links;
    };
    // The top level first: the other folders lie in it.
    const std::vector<Case> cases = {{"", 20, 280}, {"Links", 0, 300}, {"Folders", 300, 0}, {"Both", 40, 260}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder.empty() ? "top level" : c.folder);
        const std::string prefix = c.folder.empty() ? "" : c.folder + "/";
        MakeFolder(prefix);
        std::set<std::string> entries;
        for (int i = 0; i < c.folders; ++i) {
            const std::string name = "folder " + std::to_string(1000 + i);
            MakeFolder(prefix + name);
            entries.insert(name);
        }
        for (int i = 0; i < c.links; ++i) {
            const std::string name = "link " + std::to_string(1000 + i);
            MakeShortcut(prefix + name + ".url", "http://127.0.0.1/" + std::to_string(i));
            entries.insert(name);
        }
        FrmFavMenu& level = c.folder.empty() ? OpenTop(1500) : OpenSub(c.folder, 1500);
        ASSERT_TRUE(level.picScroll.Visible());

        std::set<std::string> seen;
        // Each kind's controls: one per row shown, and row 0, which comes with the level, hidden or not.
        const auto checkRows = [&] {
            int shownFolders = 0, shownLinks = 0;
            level.labFolder.ForEach([&](platform::Label& row, int) {
                if (!row.Visible()) return;
                ++shownFolders;
                seen.insert(row.Caption());
            });
            level.labMenuItem.ForEach([&](platform::Label& row, int) {
                if (!row.Visible()) return;
                ++shownLinks;
                seen.insert(row.Caption());
            });
            EXPECT_LE(level.labFolder.Count(), shownFolders + 1);
            EXPECT_EQ(level.picFolder.Count(), level.labFolder.Count());
            EXPECT_EQ(level.picArrow.Count(), level.labFolder.Count());
            EXPECT_LE(level.labMenuItem.Count(), shownLinks + 1);
            EXPECT_EQ(level.picLink.Count(), level.labMenuItem.Count());
            return shownFolders + shownLinks;
        };
        EXPECT_GT(checkRows(), 30);
        int steps = 0;
        while (level.picScroll.Visible() && steps < 400) {
            level.labScroll_MouseMove();
            ++steps;
            checkRows();
            if (HasFailure()) break;
        }
        EXPECT_EQ(seen, entries);

        MenuMode = 1;
        if (c.links > 0) {
            const int last = c.links - 1;
            ASSERT_TRUE(Shown(level.labMenuItem, last));
            level.labMenuItem_Click(last);
            EXPECT_EQ(Browser(0).Recorded().navigations.back(), "http://127.0.0.1/" + std::to_string(last));
        } else {
            EXPECT_TRUE(Shown(level.labFolder, c.folders - 1));
        }
        FavMenuHoverPath = "";
        ASSERT_TRUE(WaitForFolders({}));
    }
}
