#include "menus/FrmFavMenu.h"

#include <algorithm>

#include "app/Forms.h"
#include "app/FrmMain.h"
#include "app/State.h"
#include "common/General.h"
#include "common/ScreenSize.h"
#include "common/TileBitmapModule.h"
#include "platform/error.h"

using namespace platform;
using TileBitmapModule::TileBitmap;

platform::FormSlot<FrmFavMenu> frmFavMenu;

OleColor FavMenuHighlightBack = 0;
OleColor FavMenuTextColour = 0;
OleColor FavMenuHighlightText = 0;

namespace {
void PlaceShown(Control& control, Container& in, double left, double top, double width, double height, bool visible) {
    Place(control, in, left, top, width, height);
    control.SetVisible(visible);
}

void PlaceRow(Label& row, Container& in, double top, double width, const std::string& caption) {
    PlaceShown(row, in, 360, top, width, 225, false);
    row.SetTransparent(true);
    row.SetCaption(caption);
}
}  // namespace

FrmFavMenu::FrmFavMenu() : Form(FormStyle{.borderless = true, .showInTaskbar = false, .resizable = false}) {
    Surface().SetBackColor(0x00C0C0C0);
    SetWidth(3135);
    SetHeight(2895);
    PlaceShown(picMenuBack, *this, 0, 0, 3135, 2895, true);
    CreateRows();
    CreateScrollArrows();
    CreateFrame();
    for (Control* hidden : {static_cast<Control*>(&Dir1), static_cast<Control*>(&File1),
                            static_cast<Control*>(&labOpen), static_cast<Control*>(&labSource),
                            static_cast<Control*>(&CurMenu)})
        hidden->SetVisible(false);
    Timer1.SetInterval(1);
    Timer1.Tick = [this] { Timer1_Timer(); };
    Timer2.SetEnabled(false);
    Timer2.SetInterval(500);
    Timer2.Tick = [this] { Timer2_Timer(); };
    WireEvents();
}

void FrmFavMenu::CreateRows() {
    // Labels lie beneath the pictures of their container, so a loaded row goes to the back.
    labFolder.Create([this](Label& row, int index) {
        PlaceRow(row, picMenuBack, 120, 720, "Folder List");
        row.MouseMove = [this, index](int, int, double, double) { labFolder_MouseMove(index); };
        if (index > 0) row.ZOrder(1);
    });
    labMenuItem.Create([this](Label& row, int index) {
        PlaceRow(row, picMenuBack, 120, 825, "Menu Items");
        row.MouseMove = [this, index](int, int, double, double) { labMenuItem_MouseMove(index); };
        row.Click = [this, index] { labMenuItem_Click(index); };
        if (index > 0) row.ZOrder(1);
    });
    PlaceRow(labAdd, picMenuBack, 840, 1380, "Add to Favourites...");
    PlaceRow(labOrganise, picMenuBack, 480, 1935, "Organise Favourites...");
    picFolder.Create([this](PictureBox& icon, int) { PlaceShown(icon, picMenuBack, 0, 360, 210, 210, false); });
    picArrow.Create([this](PictureBox& arrow, int index) {
        PlaceShown(arrow, picMenuBack, 360, 720, 210, 210, false);
        arrow.MouseMove = [this, index](int, int, double, double) { labFolder_MouseMove(index); };
    });
    picLink.Create([this](PictureBox& icon, int index) {
        PlaceShown(icon, picMenuBack, 360, 360, 210, 210, false);
        icon.MouseMove = [this, index](int, int, double, double) { labMenuItem_MouseMove(index); };
        icon.Click = [this, index] { labMenuItem_Click(index); };
    });
    PlaceShown(picSpacer, picMenuBack, 0, 720, 2775, 255, false);
}

void FrmFavMenu::CreateScrollArrows() {
    PlaceShown(labScroll, picMenuBack, 1080, 2280, 615, 135, true);
    labScroll.SetTransparent(true);
    labScroll.SetCaption("");
    PlaceShown(labScrollUp, picMenuBack, 0, 2280, 855, 255, false);
    labScrollUp.SetTransparent(true);
    labScrollUp.SetCaption("");
    PlaceShown(picScroll, picMenuBack, 2520, 2520, 210, 210, true);
    PlaceShown(picScrollUp, picMenuBack, 480, 1680, 210, 210, false);
}

void FrmFavMenu::CreateFrame() {
    for (PictureBox* corner : {&picTopLeft, &picTopRight, &picBotLeft, &picBotRight})
        PlaceShown(*corner, picMenuBack, 0, 0, 30, 30, true);
    PlaceShown(picTop, picMenuBack, 0, 0, 3135, 30, true);
    PlaceShown(picBottom, picMenuBack, 0, 0, 3135, 30, true);
    PlaceShown(picLeft, picMenuBack, 0, 0, 30, 2895, true);
    PlaceShown(picRight, picMenuBack, 0, 0, 30, 2895, true);
}

void FrmFavMenu::WireEvents() {
    for (PictureBox* background : {&picMenuBack, &picSpacer})
        background->MouseMove = [this](int, int, double, double) { picMenuBack_MouseMove(); };
    labAdd.MouseMove = [this](int, int, double, double) { labAdd_MouseMove(); };
    labAdd.Click = [this] { labAdd_Click(); };
    labOrganise.MouseMove = [this](int, int, double, double) { labOrganise_MouseMove(); };
    labOrganise.Click = [this] { labOrganise_Click(); };
    for (Control* down : {static_cast<Control*>(&labScroll), static_cast<Control*>(&picScroll)}) {
        down->Click = [this] { ScrollMenu(); };
        down->MouseMove = [this](int, int, double, double) { labScroll_MouseMove(); };
    }
    for (Control* up : {static_cast<Control*>(&labScrollUp), static_cast<Control*>(&picScrollUp)}) {
        up->Click = [this] { ScrollMenuUp(); };
        up->MouseMove = [this](int, int, double, double) { labScrollUp_MouseMove(); };
    }
}

void FrmFavMenu::Form_Load() {
    auto& main = frmMain.Get();
    picFolder(0).SetPicture(main.Skin["picFolder"].GetPicture());
    picArrow(0).SetPicture(main.Skin["picArrow"].GetPicture());
    picLink(0).SetPicture(main.Skin["picLink"].GetPicture());
    picScroll.SetPicture(main.Skin["picScroll"].GetPicture());
    picScrollUp.SetPicture(main.Skin["picScrollUp"].GetPicture());

    FavMenuHighlightBack = MenuHighlightColour;
    FavMenuTextColour = MenuTextColour;
    FavMenuHighlightText = MenuHighlightTextColour;
}

bool FrmFavMenu::IsTopLevel() const { return labOpen.Caption() == "first"; }

void FrmFavMenu::GetMenuItems(const std::string& Path) {
    auto& main = frmMain.Get();
    if (IsTopLevel()) {
        labAdd.SetTop(labFolder(0).Top());
        labOrganise.SetTop(labAdd.Top() + labAdd.Height());
        labFolder(0).SetTop(labOrganise.Top() + labOrganise.Height() + 165);
        labMenuItem(0).SetTop(labOrganise.Top() + labOrganise.Height() + 165);
        labAdd.SetVisible(true);
        labOrganise.SetVisible(true);
        picSpacer.SetTop(labOrganise.Top() + labOrganise.Height());
        picSpacer.SetHeight(120);
        picSpacer.SetVisible(true);
    }

    // A folder that cannot be listed (removed meanwhile, unreadable) shows as empty.
    Try([&] { Dir1.SetPath(Path); });
    Try([&] { File1.SetPath(Path); });

    const int folderCount = Dir1.ListCount();
    if (folderCount > 0) {
        labFolder(0).SetCaption(General::GetFileName(Dir1.List(0)));
        labFolder(0).SetVisible(true);
        picFolder(0).SetLeft(90);
        picFolder(0).SetTop(labFolder(0).Top());
        picFolder(0).SetVisible(true);
        for (int i = 1; i < folderCount; ++i) {
            picFolder.Load(i);
            labFolder.Load(i);
            labFolder(i).SetCaption(General::GetFileName(Dir1.List(i)));
            labFolder(i).SetTop(labFolder(i - 1).Top() + labFolder(i - 1).Height());
            labFolder(i).SetVisible(true);
            picFolder(i).SetLeft(90);
            picFolder(i).SetPicture(main.Skin["picFolder"].GetPicture());
            picFolder(i).SetTop(labFolder(i).Top());
            picFolder(i).SetVisible(true);
        }
    }

    const int linkCount = File1.ListCount();
    if (linkCount > 0) {
        const auto caption = [&](int i) {
            const std::string& name = File1.List(i);
            return name.substr(0, name.size() - std::min<std::size_t>(4, name.size()));
        };
        labMenuItem(0).SetCaption(caption(0));
        if (folderCount > 0) {
            auto& last = labFolder(labFolder.UBound());
            labMenuItem(0).SetTop(last.Top() + last.Height());
        }
        labMenuItem(0).SetVisible(true);
        picLink(0).SetLeft(90);
        picLink(0).SetTop(labMenuItem(0).Top());
        picLink(0).SetVisible(true);
        for (int i = 1; i < linkCount; ++i) {
            labMenuItem.Load(i);
            labMenuItem(i).SetCaption(caption(i));
            labMenuItem(i).SetTop(labMenuItem(i - 1).Top() + labMenuItem(i - 1).Height());
            labMenuItem(i).SetVisible(true);
            picLink.Load(i);
            picLink(i).SetPicture(main.Skin["picLink"].GetPicture());
            picLink(i).SetLeft(90);
            picLink(i).SetTop(labMenuItem(i).Top());
            picLink(i).SetVisible(true);
        }
    }

    if (folderCount == 0 && linkCount == 0) {
        labMenuItem(0).SetCaption("[empty]");
        labMenuItem(0).SetVisible(true);
        labMenuItem(0).SetEnabled(false);
    }

    double textWidth = 300;
    labFolder.ForEach([&](Label& row, int) { textWidth = std::max(textWidth, TextWidth(row.Caption())); });
    labMenuItem.ForEach([&](Label& row, int) { textWidth = std::max(textWidth, TextWidth(row.Caption())); });
    // The command rows count too: a top level narrower than their captions would cut them short.
    if (IsTopLevel())
        for (Label* command : {&labAdd, &labOrganise}) textWidth = std::max(textWidth, TextWidth(command->Caption()));
    const double levelWidth = 2 * labFolder(0).Left() + textWidth;
    SetWidth(levelWidth);

    for (Label* command : {&labAdd, &labOrganise}) {
        command->SetWidth(textWidth);
        command->SetForeColor(FavMenuTextColour);
    }
    picSpacer.SetWidth(textWidth);
    picSpacer.SetLeft(labFolder(0).Left());

    labFolder.ForEach([&](Label& row, int) {
        row.SetWidth(levelWidth);
        row.SetForeColor(FavMenuTextColour);
    });
    labMenuItem.ForEach([&](Label& row, int) {
        SkipFailures([&] { row.SetWidth(levelWidth); }, [&] { row.SetForeColor(FavMenuTextColour); });
    });

    for (int i = 0; i < folderCount; ++i) {
        if (i > 0) picArrow.Load(i);
        picArrow(i).SetPicture(main.Skin["picArrow"].GetPicture());
        picArrow(i).SetTop(labFolder(i).Top());
        picArrow(i).SetLeft(levelWidth - 90 - picArrow(i).Width());
        picArrow(i).SetVisible(true);
    }

    const double margin = IsTopLevel() ? labAdd.Top() : labFolder(0).Top();
    const auto bottom = [&](Label& row) { return row.Top() + row.Height() + margin; };
    const double L = bottom(labMenuItem(labMenuItem.UBound()));
    const double F = bottom(labFolder(labFolder.UBound()));
    SetHeight(L > F ? L : F);

    ScreenSize::GetMaxSize();
    if (Top() + Height() > ScreenSize::MaxHeight) {
        SetHeight(ScreenSize::MaxHeight - Top() - 60);
        picScroll.SetVisible(true);
        labScroll.SetVisible(true);
        CheckVisibleItems();
        const auto lastVisibleBottom = [&](auto& rows) {
            double lowest = 0;
            rows.ForEach([&](Label& row, int) {
                if (row.Visible()) lowest = row.Top() + row.Height() + margin + labScroll.Height();
            });
            return std::max(lowest, IsTopLevel() ? 1215.0 : 600.0);
        };
        const double FB = lastVisibleBottom(labFolder);
        const double LB = lastVisibleBottom(labMenuItem);
        SetHeight(LB > FB ? LB : FB);
    } else {
        picScroll.SetVisible(false);
        labScroll.SetVisible(false);
    }

    const double levelHeight = Height();
    picMenuBack.Move(picMenuBack.Left(), picMenuBack.Top(), levelWidth, levelHeight);

    picScroll.SetTop(levelHeight - picScroll.Height() - picBottom.Height());
    picScroll.SetLeft(levelWidth / 2 - picScroll.Width() / 2);
    labScroll.SetWidth(levelWidth);
    labScroll.SetHeight(picScroll.Height());
    labScrollUp.SetHeight(picScrollUp.Height());
    labScrollUp.SetWidth(levelWidth);
    labScrollUp.SetTop(picTop.Height());
    picScrollUp.SetTop(picTop.Height());
    picScrollUp.SetLeft(levelWidth / 2 - picScrollUp.Width() / 2);

    FramePieces().Place(levelWidth, levelHeight);

    TileFrame();

    labScroll.SetTop(picScroll.Top());
    labScroll.SetLeft(0);
}

void FrmFavMenu::TileFrame() {
    auto& skin = frmMain->Skin;
    FramePieces().Tile(skin);
    TileBitmap(picMenuBack, skin["picMnuBack"]);
    TileBitmap(picSpacer, skin["picMnuSpacer"]);
}
