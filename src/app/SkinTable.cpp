#include "app/SkinTable.h"

#include <algorithm>

namespace SkinTable {

const Piece* FindByBox(std::string_view boxName) {
    auto found = std::ranges::find(Pieces, boxName, &Piece::boxName);
    return found == Pieces.end() ? nullptr : &*found;
}

const Piece* FindByFile(std::string_view fileName) {
    auto found = std::ranges::find(Pieces, fileName, &Piece::fileName);
    return found == Pieces.end() ? nullptr : &*found;
}

std::string FrameFileName(int frame) {
    return std::to_string(frame + 1) + ".bmp";
}

}  // namespace SkinTable
