#pragma once

#include <gtkmm/window.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/canvas.h"
#include "platform/container.h"

namespace platform {

inline constexpr int vbNormal = 0;
inline constexpr int vbMinimized = 1;
inline constexpr int vbMaximized = 2;
inline constexpr int vbModeless = 0;
inline constexpr int vbModal = 1;

class FormSlotBase;

// How a form's window looks to the desktop.
struct FormStyle {
    bool borderless = false;
    bool showInTaskbar = true;
    bool resizable = true;
};

// A window of the program. Geometry and window state are held here in twips and
// mirrored onto the window; changing Width, Height or WindowState runs Form_Resize
// at once, re-entrantly (setting the value it already has changes nothing). Each form class has one default instance in a FormSlot.
class Form : public Container {
public:
    ~Form() override;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    Gtk::Window& Window() { return window_; }
    Canvas& Surface() { return canvas_; }
    Gtk::Fixed& ChildArea() override { return canvas_; }

    double Left() const { return left_; }
    double Top() const { return top_; }
    double Width() const { return width_; }
    double Height() const { return height_; }
    void SetLeft(double left);
    void SetTop(double top);
    void SetWidth(double width);
    void SetHeight(double height);
    void Move(double left, double top);

    int WindowState() const { return windowState_; }
    void SetWindowState(int state);

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    // Modal shows run a nested loop until the form is hidden or unloaded.
    void Show(int modal = vbModeless);
    void Hide() { SetVisible(false); }
    bool ShownModal() const { return modalDepth_ > 0; }

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    void SetIcon(const Glib::RefPtr<Gdk::Pixbuf>& icon) { window_.set_icon(icon); }

    // Measures text in the form's font, in twips.
    double TextWidth(const std::string& text) { return canvas_.TextWidth(text); }
    void Refresh();
    // Raises ToolkitError 5 when the form is hidden or minimised.
    void SetFocus();

    // Unloads the form through its slot (runs Form_Unload, which may cancel).
    void Unload();

protected:
    explicit Form(FormStyle style = {});

    virtual void Form_Load() {}
    virtual void Form_Resize() {}
    virtual void Form_Activate() {}
    virtual void Form_Deactivate() {}
    virtual void Form_GotFocus() {}
    virtual void Form_Unload(int& /*Cancel*/) {}

private:
    friend class FormSlotBase;
    void ApplySize();
    void ApplyPosition();
    void RunResize();
    // Runs the handler as the toolkit runs handlers, unless the form is gone by then.
    void DispatchWhileAlive(std::function<void()> handler);
    void WatchWindow();

    Gtk::Window window_;
    Canvas canvas_;
    FormSlotBase* slot_ = nullptr;
    double left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    int windowState_ = vbNormal;
    bool visible_ = false;
    bool loaded_ = false;
    bool everShown_ = false;
    bool active_ = false;
    int modalDepth_ = 0;
    std::string caption_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// The slot of a form's default instance. Any use loads the form (and runs its
// load handler); unloading empties the slot, so the next use loads it afresh.
class FormSlotBase {
public:
    virtual ~FormSlotBase() = default;
    bool Loaded() const { return instance_ != nullptr; }
    // Runs Form_Unload; unless it cancels, the form's window goes away and the slot empties.
    void Unload();

protected:
    Form& GetBase();
    virtual std::unique_ptr<Form> Make() = 0;
    std::unique_ptr<Form> instance_;

private:
    bool unloading_ = false;
};

template <typename T>
class FormSlot : public FormSlotBase {
public:
    T* operator->() { return &Get(); }
    T& Get() { return static_cast<T&>(GetBase()); }
    T* IfLoaded() { return static_cast<T*>(instance_.get()); }

protected:
    std::unique_ptr<Form> Make() override { return std::make_unique<T>(); }
};

}  // namespace platform
