#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "app/Forms.h"
#include "app/FrmMain.h"
#include "app/SkinTable.h"
#include "app/State.h"
#include "common/Conversions.h"
#include "common/General.h"
#include "platform/error.h"

using namespace platform;

namespace {
// The tab-strip arrows take their normal pictures as soon as the last of the four
// arrow pieces (tabrighthi.bmp) has been loaded, before the pieces after it.
constexpr auto LastArrowPiece =
    std::ranges::find(SkinTable::Pieces, std::string_view("tabrighthi.bmp"), &SkinTable::Piece::fileName);
constexpr int FirstPieceAfterTheArrows = static_cast<int>(LastArrowPiece - SkinTable::Pieces.begin()) + 1;
static_assert(FirstPieceAfterTheArrows <= SkinTable::PieceCount, "the skin table holds tabrighthi.bmp");
}  // namespace

void FrmMain::LoadSkin(const std::string& SkinPath) {
    // The address list first; a failure ends this step alone.
    std::vector<std::string> addresses;
    addressListUnreadable_ = !General::ReadListFile(DataFile("autocomplete.dat"), addresses);
    Combo1.SetItems(std::move(addresses));

    // From here every failing statement is skipped: a missing or broken file
    // leaves the picture or value there was.
    const General::FolderIgnoringCase folder(SkinPath);
    const auto file = [&](const std::string& name) { return folder.PathOf(name); };
    for (int i = 0; i < SkinTable::PieceCount; ++i) {
        if (i == FirstPieceAfterTheArrows) {
            picTabLeft.SetPicture(Skin["TabLeft"].GetPicture());
            picTabRight.SetPicture(Skin["TabRight"].GetPicture());
        }
        const auto& piece = SkinTable::Pieces[i];
        Try([&] { Skin.At(i).SetPicture(LoadPicture(file(std::string(piece.fileName)))); });
    }

    if (General::FileExists(file("skin.ini"))) {
        Try([&] {
            const double interval = Conversions::Val(General::ReadIni(file("skin.ini"), "animation"));
            if (!(std::abs(interval) < 2147483648.0)) throw ToolkitError(errors::Overflow, "Overflow");
            Timer2.SetInterval(static_cast<int>(std::nearbyint(interval)));
        });
        Try([&] { PicStore(0).SetPicture(LoadPicture(file("1.bmp"))); });
        for (int i = 1; i < SkinTable::FrameCount; ++i)
            Try([&] { PicStore(i).SetPicture(LoadPicture(file(std::to_string(i + 1) + ".bmp"))); });
    }

    const auto colour = [&](const char* key) {
        return static_cast<OleColor>(Conversions::CLng(General::ReadIni(file("skin.ini"), key)));
    };
    Try([&] { MenuHighlightColour = colour("menuhighlight"); });
    Try([&] { MenuTextColour = colour("menutext"); });
    Try([&] { MenuHighlightTextColour = colour("menutexthighlight"); });
    Try([&] { TabTextColour = colour("tabtext"); });
    Try([&] { TabTextDisabledColour = colour("tabtextdisabled"); });
    Try([&] { StatusTextColour = colour("statustext"); });
    Try([&] { StatusBar1.SetForeColor(colour("statustext")); });
    Try([&] { ProgressBarColour = colour("progressbar"); });
    Try([&] { labCaption.SetForeColor(colour("title")); });

    picMax.SetPicture(Skin["picMaxButton"].GetPicture());
    picClose.SetPicture(Skin["picCloseButton"].GetPicture());
    picMin.SetPicture(Skin["picMinButton"].GetPicture());
    ResetButtons(-1);
}
