#include "platform/picturebox.h"

#include "platform/twips.h"

namespace platform {

PictureBox::PictureBox() : Control(std::make_unique<Canvas>()) {
    canvas_ = static_cast<Canvas*>(&Widget());
    ListenToPointer();
}

void PictureBox::SetPicture(const Picture& picture) {
    canvas_->SetPicture(picture);
    if (AutoSize && !picture.Empty()) {
        SetWidth(PixelsToTwipsX(picture.PixelWidth()));
        SetHeight(PixelsToTwipsY(picture.PixelHeight()));
    }
}

void PictureBox::GeometryChanged() { canvas_->SetPixelSize(PixelWidth(), PixelHeight()); }

void PictureBox::CopySettingsFrom(const Control& other) {
    Control::CopySettingsFrom(other);
    if (auto box = dynamic_cast<const PictureBox*>(&other)) {
        AutoSize = box->AutoSize;
        canvas_->FontName = box->canvas_->FontName;
        canvas_->FontSize = box->canvas_->FontSize;
        canvas_->FontBold = box->canvas_->FontBold;
        canvas_->SetForeColor(box->ForeColor());
        canvas_->SetBackColor(box->BackColor());
        // The copy keeps element 0's size even with AutoSize on.
        canvas_->SetPicture(box->GetPicture());
    }
}

}  // namespace platform
