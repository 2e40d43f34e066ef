#pragma once

#include <gtkmm/window.h>

#include <climits>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/canvas.h"
#include "platform/container.h"
#include "platform/drop_down_watch.h"

namespace platform {

inline constexpr int vbNormal = 0;
inline constexpr int vbMinimized = 1;
inline constexpr int vbMaximized = 2;
inline constexpr int vbModeless = 0;
inline constexpr int vbModal = 1;

class FormSlotBase;

// How a form is being closed, as Form_QueryUnload hears it.
inline constexpr int vbFormControlMenu = 0;

// Asks the window manager to give the window no close, minimise or maximise button:
// it closes through its own buttons. A resizable window keeps its border to drag.
void TakeOutControlBox(Gtk::Window& window, bool resizable = false);

// The width in twips that a window manager's title bar needs to show the caption
// whole: the caption in the desktop's bold title font, beside the window's icon and
// the buttons that some window managers keep there whatever the window asks for;
// 0 where no window manager runs.
double TitleBarWidth(const std::string& caption);

// Deletes the slot of an extra instance once the running handlers have returned.
void DeleteSlotWhenIdle(FormSlotBase* slot);

// How a form's window looks to the desktop.
struct FormStyle {
    bool borderless = false;
    bool showInTaskbar = true;
    bool resizable = true;
    // False: the window manager gives it no close, minimise or maximise button;
    // it closes through its own buttons.
    bool controlBox = true;
    // A tool window: a title bar with a close button alone, no minimise or maximise.
    bool toolWindow = false;
    // A drop-down menu: placed above every other window and never focused; it loses
    // the activation when the user clicks outside it (DropDownWatch).
    bool dropDown = false;
    // A window that only carries the program's taskbar button. It is kept off
    // screen; where the window manager holds part of it on screen, nothing of it
    // shows there and clicks pass through it.
    bool taskbarCarrier = false;
    // False: a window that only shows something (a splash screen). It asks for no
    // keyboard focus, and where it gets it all the same (without a window manager
    // the focus follows the pointer), its going is no hand-over of the focus.
    bool takesFocus = true;
};

// A window of the program. Geometry and window state are held here in twips and
// mirrored onto the window; changing Width, Height or WindowState runs Form_Resize
// at once, re-entrantly (setting the value it already has changes nothing). Moves
// and resizes made by the window manager are read back from the window and raise
// Form_Resize as well. Each form class has one default instance in a FormSlot.
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
    // Waits a moment for the window system to answer the moves and resizes in
    // flight (a window manager may place the window elsewhere than asked), so
    // that Left, Top, Width and Height then tell where the window really is.
    void WaitForPlacement();

    int WindowState() const { return windowState_; }
    void SetWindowState(int state);

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    // Modal shows run a nested loop until the form is hidden or unloaded.
    // An owned form stays above its owner.
    void Show(int modal = vbModeless, Form* owner = nullptr);
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
    // The pointer moves over the form's own background, not over one of its controls.
    virtual void Form_MouseMove(int /*Button*/, double /*X*/, double /*Y*/) {}
    // The user closes the window with the window manager's close button
    // (UnloadMode vbFormControlMenu); setting Cancel keeps it open. Unloading
    // follows unless cancelled.
    virtual void Form_QueryUnload(int& /*Cancel*/, int /*UnloadMode*/) {}
    virtual void Form_Unload(int& /*Cancel*/) {}

private:
    friend class FormSlotBase;
    friend void DiscardLoadedForms();

    void ApplySize();
    void ApplyPosition();
    void RunResize();
    // Runs the handler as the toolkit runs handlers, unless the form is gone by then.
    void DispatchWhileAlive(std::function<void()> handler);
    void WatchWindow();
    void WaitForUnmaximise();
    void MakeToolWindow();
    void MakeInvisible();
    void WindowConfigured(int width, int height);
    void TakePosition(int x, int y);
    void TakeSize(int width, int height);

    Gtk::Window window_;
    Canvas canvas_;
    FormSlotBase* slot_ = nullptr;
    double left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    // What the layer has asked the window system for, in pixels, oldest first and
    // not yet reported back: reports of these are echoes of the program's own changes.
    std::deque<std::pair<int, int>> requestedPositions_, requestedSizes_;
    // What the window last reported, in pixels.
    std::pair<int, int> reportedPosition_{INT_MIN, INT_MIN}, reportedSize_{0, 0};
    std::int64_t lastReportTime_ = 0;
    int windowState_ = vbNormal;
    bool visible_ = false;
    bool loaded_ = false;
    bool everShown_ = false;
    bool active_ = false;
    const bool takesFocus_;
    bool onScreen_ = false;  // mapped by the X server
    int modalDepth_ = 0;
    std::string caption_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    std::unique_ptr<DropDownWatch> dropDownWatch_;
};

// The slot of a form's default instance. Any use loads the form (and runs its
// load handler); unloading empties the slot, so the next use loads it afresh.
class FormSlotBase {
public:
    virtual ~FormSlotBase() = default;
    bool Loaded() const { return instance_ != nullptr; }
    // Runs Form_Unload; unless it cancels, the form's window goes away and the slot empties.
    void Unload();
    // The form's window goes away and the slot empties, without Form_Unload.
    void Discard();

protected:
    Form& GetBase();
    virtual std::unique_ptr<Form> Make() = 0;
    // Called once the slot has emptied after an unload.
    virtual void Emptied() {}
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

// The slot of an extra instance: owned by nobody, it goes away with its form.
template <typename T>
class ExtraInstanceSlot : public FormSlot<T> {
protected:
    void Emptied() override { DeleteSlotWhenIdle(this); }
};

// Makes and loads an extra instance of a form besides its default one. Nobody
// owns it: it lives until it unloads itself.
template <typename T>
T& NewInstance() {
    return (new ExtraInstanceSlot<T>)->Get();
}

// Every form loaded now, default instances and extra ones, in the order they were loaded.
const std::vector<Form*>& LoadedForms();

// Discards every loaded form, the last loaded first, without running their unload
// handlers: what ending the process does, for tests that go on in the same process.
void DiscardLoadedForms();

// Forgets that a window of the program went away with the focus, so that the next
// activation is the user's: for tests that go on in the same process once the
// windows of the last one have gone.
void ForgetFocusHandOver();

}  // namespace platform
