#pragma once

#include "platform/canvas.h"
#include "platform/container.h"
#include "platform/control.h"

namespace platform {

// A picture box: a container control with a picture, a persistent image that
// drawing keeps, and text output.
class PictureBox : public Control, public Container {
public:
    PictureBox();

    Canvas& Surface() { return *canvas_; }
    const Canvas& Surface() const { return *canvas_; }
    Gtk::Fixed& ChildArea() override { return *canvas_; }

    const Picture& GetPicture() const { return canvas_->GetPicture(); }
    // With AutoSize on, the box takes the size of the picture put into it.
    void SetPicture(const Picture& picture);
    Picture Image() const { return canvas_->Image(); }
    bool AutoSize = false;

    OleColor BackColor() const { return canvas_->BackColor(); }
    void SetBackColor(OleColor color) { canvas_->SetBackColor(color); }
    OleColor ForeColor() const { return canvas_->ForeColor(); }
    void SetForeColor(OleColor color) { canvas_->SetForeColor(color); }

    void Cls() { canvas_->Cls(); }
    void Print(const std::string& text) { canvas_->Print(text); }
    double TextWidth(const std::string& text) { return canvas_->TextWidth(text); }
    double& CurrentX() { return canvas_->CurrentX; }
    double& CurrentY() { return canvas_->CurrentY; }
    void Refresh() { canvas_->RefreshNow(); }

    // Inner size in pixels.
    int ScaleWidthPixels() const { return canvas_->PixelWidth(); }
    int ScaleHeightPixels() const { return canvas_->PixelHeight(); }

    void CopySettingsFrom(const Control& other) override;

protected:
    void GeometryChanged() override;

private:
    Canvas* canvas_;
};

}  // namespace platform
