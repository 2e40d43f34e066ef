#include "menus/MenuFrame.h"

#include "app/SkinPictureSet.h"
#include "common/TileBitmapModule.h"

using TileBitmapModule::TileBitmap;

void MenuFrame::Place(double width, double height) const {
    topLeft.Move(0, 0, topLeft.Width(), topLeft.Height());
    topRight.Move(width - topRight.Width(), 0, topRight.Width(), topRight.Height());
    botRight.Move(topRight.Left(), height - botRight.Height(), botRight.Width(), botRight.Height());
    botLeft.Move(0, botRight.Top(), botLeft.Width(), botLeft.Height());
    top.Move(0, 0, width, top.Height());
    left.Move(0, 0, left.Width(), height);
    right.Move(topRight.Left(), 0, right.Width(), height);
    bottom.Move(0, botRight.Top(), width, bottom.Height());
}

void MenuFrame::Tile(SkinPictureSet& skin) const {
    TileBitmap(topLeft, skin["picMnuTopLeft"]);
    TileBitmap(top, skin["picMnuTop"]);
    TileBitmap(topRight, skin["picMnuTopRight"]);
    TileBitmap(right, skin["picMnuRight"]);
    TileBitmap(botRight, skin["picMnuBotRight"]);
    TileBitmap(bottom, skin["picMnuBottom"]);
    TileBitmap(botLeft, skin["picMnuBotLeft"]);
    TileBitmap(left, skin["picMnuLeft"]);
}
