#include "app/SkinPictureSet.h"

#include <stdexcept>
#include <string>

#include "app/BuiltinSkin.h"
#include "app/SkinTable.h"

namespace {
bool IsWindowButton(std::string_view boxName) {
    return boxName.starts_with("picMaxButton") || boxName.starts_with("picMinButton") ||
           boxName.starts_with("picCloseButton");
}
}  // namespace

SkinPictureSet::SkinPictureSet() {
    for (int i = 0; i < SkinTable::PieceCount; ++i) {
        const auto& piece = SkinTable::Pieces[i];
        auto& box = boxes_[i];
        box.SetVisible(false);
        box.AutoSize = true;
        box.SetPicture(platform::Picture(BuiltinSkin::Piece(std::string(piece.boxName))));
        box.AutoSize = !IsWindowButton(piece.boxName);
    }
}

platform::PictureBox& SkinPictureSet::operator[](std::string_view boxName) {
    for (int i = 0; i < SkinTable::PieceCount; ++i)
        if (SkinTable::Pieces[i].boxName == boxName) return boxes_[i];
    throw std::out_of_range("no skin piece " + std::string(boxName));
}
