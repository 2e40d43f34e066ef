#include <cstdint>
#include <string>
#include <vector>

#include "menus/MenuModule.h"
#include "menus_fixture.h"
#include "platform/screen.h"

using namespace platform;

namespace {

using MenuWindowTest = MenusFixture;

struct Row {
    std::string caption;
    double top, height;
    bool visible;
};
struct Spacer {
    double top, height;
};

TEST_F(MenuWindowTest, ShowMenuSplitsTheItemsAndLaysOutRowsFrameAndSeparators) {
    struct Case {
        std::string items;
        std::vector<Row> rows;
        double height;
        std::vector<Spacer> spacers;
    } cases[] = {
        {"Only", {{"Only", 120, 225, true}}, 465, {}},
        {"A,,B,",
         {{"A", 120, 225, true}, {"", 345, 225, true}, {"B", 570, 225, true}, {"", 795, 225, true}},
         1140,
         {}},
        {"A,-,B", {{"A", 120, 225, true}, {"-", 345, 120, false}, {"B", 465, 225, true}}, 810, {{345, 120}}},
        {"-,A,-", {{"-", 120, 225, true}, {"A", 345, 225, true}, {"-", 570, 120, false}}, 810, {{120, 225}, {570, 120}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.items);
        MenuModule::ShowMenu(3000, 4500, c.items);
        ASSERT_TRUE(frmMenu.Loaded());
        auto& menu = *frmMenu.IfLoaded();
        EXPECT_EQ(DropMenuOpen, 1);
        ASSERT_EQ(MenuItems.size(), c.rows.size());
        EXPECT_EQ(menu.mnuText.UBound(), static_cast<int>(c.rows.size()) - 1);
        EXPECT_EQ(menu.Left(), 3000);
        EXPECT_EQ(menu.Top(), 4500);
        EXPECT_EQ(menu.Width(), 1500 + 480);
        EXPECT_EQ(menu.Height(), c.height);
        for (std::size_t k = 0; k < c.rows.size(); ++k) {
            auto& row = menu.mnuText(static_cast<int>(k));
            EXPECT_EQ(MenuItems[k], c.rows[k].caption);
            EXPECT_EQ(row.Caption(), c.rows[k].caption) << k;
            EXPECT_EQ(row.Top(), c.rows[k].top) << k;
            EXPECT_EQ(row.Height(), c.rows[k].height) << k;
            EXPECT_EQ(row.Visible(), c.rows[k].visible) << k;
            EXPECT_EQ(row.Left(), 240);
            EXPECT_EQ(row.Width(), 1500);
        }
        ASSERT_EQ(menu.picSpacer.UBound(), static_cast<int>(c.spacers.size()));
        for (std::size_t n = 0; n < c.spacers.size(); ++n) {
            auto& spacer = menu.picSpacer(static_cast<int>(n));
            EXPECT_TRUE(spacer.Visible());
            EXPECT_EQ(spacer.Top(), c.spacers[n].top);
            EXPECT_EQ(spacer.Height(), c.spacers[n].height);
            EXPECT_EQ(spacer.Left(), 60);
            EXPECT_EQ(spacer.Width(), menu.Width() - 120);
        }
        if (!c.spacers.empty()) {
            EXPECT_FALSE(menu.picSpacer(menu.picSpacer.UBound()).Visible()) << "spare";
        }
        // The frame lies along the edges.
        EXPECT_EQ(menu.picBotRight.Left(), menu.Width() - 30);
        EXPECT_EQ(menu.picBotRight.Top(), menu.Height() - 30);
        EXPECT_EQ(menu.picRight.Height(), menu.Height());
        EXPECT_EQ(menu.picBottom.Width(), menu.Width());
        frmMenu.Unload();
        EXPECT_EQ(DropMenuOpen, 0);
    }
}

TEST_F(MenuWindowTest, TheLongestCaptionWidensTheMenuAndASecondOpeningIsIgnored) {
    const std::string wide = "A caption long enough to need more than fifteen hundred twips of width";
    MenuModule::ShowMenu(0, 0, "Short," + wide);
    auto& menu = *frmMenu.IfLoaded();
    EXPECT_GT(menu.TextWidth(wide), 1500);
    EXPECT_EQ(menu.Width(), menu.TextWidth(wide) + 480);
    MenuModule::ShowMenu(900, 900, "Other");
    EXPECT_EQ(frmMenu.IfLoaded(), &menu);
    EXPECT_EQ(menu.mnuText(0).Caption(), "Short");
    EXPECT_EQ(menu.Left(), 0);
}

TEST_F(MenuWindowTest, RowsHighlightUnderThePointerAndASeparatorClickClearsThemAndKeepsTheMenu) {
    MenuHighlightColour = 0x00FF0000;
    MenuHighlightTextColour = 0x00FFFFFF;
    MenuTextColour = 0x00000080;
    MenuModule::ShowMenu(0, 0, "One,-,Two");
    auto& menu = *frmMenu.IfLoaded();
    menu.mnuText_MouseMove(2);
    for (int k : {0, 2}) {
        const bool lit = k == 2;
        EXPECT_EQ(menu.mnuText(k).Transparent(), !lit) << k;
        EXPECT_EQ(menu.mnuText(k).ForeColor(), lit ? 0x00FFFFFFu : 0x00000080u) << k;
    }
    EXPECT_EQ(menu.mnuText(2).BackColor(), 0x00FF0000u);
    menu.picSpacer_Click(0);
    EXPECT_TRUE(frmMenu.Loaded());
    for (int k = 0; k <= 2; ++k) EXPECT_TRUE(menu.mnuText(k).Transparent()) << k;
}

TEST_F(MenuWindowTest, ALongListShowsAsManyRowsAsTheScreenHoldsBelowTheTitle) {
    platform::SetWorkAreaForTesting({0, 0, 1280, 800});
    const double screenBottom = 800 * 15;
    std::string items = "Customise,-";
    for (int k = 0; k < 50000; ++k) items += ",Entry " + std::to_string(k);
    for (const std::int32_t top : {450, 9000}) {
        SCOPED_TRACE(top);
        MenuModule::ShowMenu(3000, top, items);
        auto& menu = *frmMenu.IfLoaded();
        const int last = menu.mnuText.UBound();
        ASSERT_GT(last, 2);
        ASSERT_EQ(MenuItems.size(), static_cast<std::size_t>(last) + 1) << "one item a row";
        EXPECT_EQ(menu.mnuText(last).Caption(), "Entry " + std::to_string(last - 2));
        EXPECT_LE(menu.Top() + menu.Height(), screenBottom);
        EXPECT_GT(menu.Top() + menu.Height() + menu.mnuText(last).Height(), screenBottom) << "another row fits";
        frmMenu.Unload();
    }
    // A menu that drops down at the screen's foot still shows its first row.
    MenuModule::ShowMenu(3000, 11900, items);
    EXPECT_EQ(frmMenu->mnuText.UBound(), 0);
    EXPECT_EQ(frmMenu->mnuText(0).Caption(), "Customise");
    frmMenu.Unload();
}

TEST_F(MenuWindowTest, TheLaunchMenuOfFiftyThousandEntriesOpensWithTheRowsThatFit) {
    platform::SetWorkAreaForTesting({0, 0, 1280, 800});
    std::string launch;
    for (int k = 0; k < 50000; ++k) launch += "Entry " + std::to_string(k) + "\r\nnever-run\r\n";
    WriteFile("launch.dat", launch);
    Open(&FrmMain::Label3_Click, &FrmMain::Label3_MouseMove);
    ASSERT_TRUE(frmMenu.Loaded());
    auto& menu = *frmMenu.IfLoaded();
    EXPECT_EQ(menu.mnuText(0).Caption(), "Customise");
    EXPECT_EQ(menu.mnuText(2).Caption(), "Entry 0");
    EXPECT_LE(menu.Top() + menu.Height(), 800 * 15);
    EXPECT_LT(menu.mnuText.UBound(), 800 * 15 / 225);
    frmMenu.Unload();
}

}  // namespace
