#pragma once

#include "platform/picturebox.h"

class SkinPictureSet;

// The skinned frame round a menu: four corner pictures and four edges. Each piece
// keeps its own thickness; the edges run the length of the menu's side.
struct MenuFrame {
    platform::PictureBox& topLeft;
    platform::PictureBox& topRight;
    platform::PictureBox& botLeft;
    platform::PictureBox& botRight;
    platform::PictureBox& top;
    platform::PictureBox& bottom;
    platform::PictureBox& left;
    platform::PictureBox& right;

    // Puts the pieces round a menu of that size, in twips.
    void Place(double width, double height) const;
    // Fills each piece with its picture of the skin.
    void Tile(SkinPictureSet& skin) const;
};
