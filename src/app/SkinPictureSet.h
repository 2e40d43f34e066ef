#pragma once

#include <array>
#include <string_view>

#include "app/SkinTable.h"
#include "platform/picturebox.h"

// The hidden picture boxes that hold the current skin's 64 pieces. Each starts
// with the built-in picture; all but the six window-button pictures take the
// size of the bitmap loaded into them.
class SkinPictureSet {
public:
    SkinPictureSet();

    // The box of that name ("picLeft", "TabRightHi"); std::out_of_range for another name.
    platform::PictureBox& operator[](std::string_view boxName);
    platform::PictureBox& At(int tableIndex) { return boxes_[tableIndex]; }

private:
    std::array<platform::PictureBox, SkinTable::PieceCount> boxes_;
};
