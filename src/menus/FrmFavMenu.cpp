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
    Dir1.SetVisible(false);
    File1.SetVisible(false);
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

void FrmFavMenu::GetMenuItems(const std::string& Path) {
    if (TopLevel) PlaceCommandRows();
    ListFolder(Path);
    // The screen's height is read first: rows are made only as far as the screen reaches.
    ScreenSize::GetMaxSize();

    LayOutRows(folderRows_, FolderCaptions());
    // Links follow the last folder row without a gap.
    if (File1.ListCount() > 0 && Dir1.ListCount() > 0) labMenuItem(0).SetTop(folderRows_.Bottom());
    LayOutRows(linkRows_, LinkCaptions());
    if (Dir1.ListCount() == 0 && File1.ListCount() == 0) ShowEmptyRow();

    const double textWidth = TextWidthOfRows();
    const double levelWidth = 2 * labFolder(0).Left() + textWidth;
    SetWidth(levelWidth);
    SizeCommandRows(textWidth);
    labFolder.ForEach([&](Label& row, int) { SizeRow(row); });
    labMenuItem.ForEach([&](Label& row, int) { SizeRow(row); });
    if (Dir1.ListCount() > 0) labFolder.ForEach([&](Label&, int i) { PlaceArrow(i); });

    const double margin = RowMargin();
    SetHeight(NaturalHeight(margin));
    if (Top() + Height() > ScreenSize::MaxHeight) {
        CutToScreen(margin);
    } else {
        picScroll.SetVisible(false);
        labScroll.SetVisible(false);
    }

    const double levelHeight = Height();
    picMenuBack.Move(picMenuBack.Left(), picMenuBack.Top(), levelWidth, levelHeight);
    PlaceScrollArrows(levelWidth, levelHeight);
    FramePieces().Place(levelWidth, levelHeight);
    TileFrame();
    labScroll.SetTop(picScroll.Top());
    labScroll.SetLeft(0);
}

// The top level's two command rows and the separator under them; the first row of
// folders or links starts below.
void FrmFavMenu::PlaceCommandRows() {
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

void FrmFavMenu::ListFolder(const std::string& Path) {
    // A folder that cannot be listed (removed meanwhile, unreadable) shows as empty.
    Try([&] { Dir1.SetPath(Path); });
    Try([&] { File1.SetPath(Path); });
}

std::vector<std::string> FrmFavMenu::FolderCaptions() const {
    std::vector<std::string> captions;
    captions.reserve(Dir1.Items().size());
    for (const std::string& folder : Dir1.Items()) captions.push_back(General::GetFileName(folder));
    return captions;
}

// A shortcut's file name without its last four characters, the ".url".
std::vector<std::string> FrmFavMenu::LinkCaptions() const {
    std::vector<std::string> captions;
    captions.reserve(File1.Items().size());
    for (const std::string& name : File1.Items())
        captions.push_back(name.substr(0, name.size() - std::min<std::size_t>(4, name.size())));
    return captions;
}

void FrmFavMenu::ShowEmptyRow() {
    labMenuItem(0).SetCaption("[empty]");
    labMenuItem(0).SetVisible(true);
    labMenuItem(0).SetEnabled(false);
}

double FrmFavMenu::TextWidthOfRows() {
    double textWidth = std::max({300.0, WidestCaption(folderRows_), WidestCaption(linkRows_)});
    // The command rows count too: a top level narrower than their captions would cut them short.
    if (TopLevel)
        for (Label* command : {&labAdd, &labOrganise}) textWidth = std::max(textWidth, TextWidth(command->Caption()));
    return textWidth;
}

// Every row counts, made or not; row 0 counts with whatever caption it holds, its
// design text on a level without rows of its kind.
double FrmFavMenu::WidestCaption(RowKind& kind) {
    double widest = TextWidth(kind.labels(0).Caption());
    for (const std::string& caption : kind.captions) widest = std::max(widest, TextWidth(caption));
    return widest;
}

void FrmFavMenu::SizeCommandRows(double textWidth) {
    for (Label* command : {&labAdd, &labOrganise}) {
        command->SetWidth(textWidth);
        command->SetForeColor(FavMenuTextColour);
    }
    picSpacer.SetWidth(textWidth);
    picSpacer.SetLeft(labFolder(0).Left());
}

// The space above the first row, kept below the last one.
double FrmFavMenu::RowMargin() { return TopLevel ? labAdd.Top() : labFolder(0).Top(); }

double FrmFavMenu::NaturalHeight(double margin) {
    const double L = linkRows_.Bottom() + margin;
    const double F = folderRows_.Bottom() + margin;
    return L > F ? L : F;
}

// The level is cut to the screen and ends below its last whole row, above the down arrow.
void FrmFavMenu::CutToScreen(double margin) {
    SetHeight(ScreenSize::MaxHeight - Top() - 60);
    picScroll.SetVisible(true);
    labScroll.SetVisible(true);
    CheckVisibleItems();
    const double least = TopLevel ? 1215.0 : 600.0;
    const auto lastVisibleBottom = [&](ControlArray<Label>& rows) {
        double lowest = 0;
        rows.ForEach([&](Label& row, int) {
            if (row.Visible()) lowest = row.Top() + row.Height() + margin + labScroll.Height();
        });
        return std::max(lowest, least);
    };
    const double FB = lastVisibleBottom(labFolder);
    const double LB = lastVisibleBottom(labMenuItem);
    SetHeight(LB > FB ? LB : FB);
}

void FrmFavMenu::PlaceScrollArrows(double levelWidth, double levelHeight) {
    picScroll.SetTop(levelHeight - picScroll.Height() - picBottom.Height());
    picScroll.SetLeft(levelWidth / 2 - picScroll.Width() / 2);
    labScroll.SetWidth(levelWidth);
    labScroll.SetHeight(picScroll.Height());
    labScrollUp.SetHeight(picScrollUp.Height());
    labScrollUp.SetWidth(levelWidth);
    labScrollUp.SetTop(picTop.Height());
    picScrollUp.SetTop(picTop.Height());
    picScrollUp.SetLeft(levelWidth / 2 - picScrollUp.Width() / 2);
}

void FrmFavMenu::TileFrame() {
    auto& skin = frmMain->Skin;
    FramePieces().Tile(skin);
    TileBitmap(picMenuBack, skin["picMnuBack"]);
    TileBitmap(picSpacer, skin["picMnuSpacer"]);
}
