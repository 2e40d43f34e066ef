#include "platform/form.h"

#include <gdkmm/window.h>
#include <glib.h>

#include <algorithm>

#include "platform/app.h"
#include "platform/error.h"
#include "platform/retire.h"
#include "platform/twips.h"

namespace platform {

namespace {
// X can express only 16-bit coordinates and sizes.
int ClampToX(int pixels) { return std::clamp(pixels, -32768, 32767); }
int ClampSizeToX(int pixels) { return std::clamp(pixels, 1, 32767); }
}  // namespace

Form::Form(FormStyle style) {
    window_.set_decorated(!style.borderless);
    window_.set_skip_taskbar_hint(!style.showInTaskbar);
    window_.set_skip_pager_hint(!style.showInTaskbar);
    window_.set_resizable(style.resizable);
    canvas_.show();
    window_.add(canvas_);
    window_.set_gravity(Gdk::GRAVITY_NORTH_WEST);
    WatchWindow();
}

Form::~Form() {
    *alive_ = false;
    window_.hide();
}

void Form::DispatchWhileAlive(std::function<void()> handler) {
    // A handler held back while others run may come due after the form is gone.
    Dispatch([alive = alive_, handler = std::move(handler)] {
        if (*alive) handler();
    });
}

void Form::WatchWindow() {
    window_.signal_delete_event().connect([this](GdkEventAny*) {
        DispatchWhileAlive([this] { Unload(); });
        return true;
    });
    window_.signal_window_state_event().connect([this](GdkEventWindowState* event) {
        // A change made by the window manager (the taskbar, a maximised start).
        if (!(event->changed_mask & (GDK_WINDOW_STATE_ICONIFIED | GDK_WINDOW_STATE_MAXIMIZED))) return false;
        const int state = (event->new_window_state & GDK_WINDOW_STATE_ICONIFIED)   ? vbMinimized
                          : (event->new_window_state & GDK_WINDOW_STATE_MAXIMIZED) ? vbMaximized
                                                                                    : vbNormal;
        if (state != windowState_) DispatchWhileAlive([this, state] { SetWindowState(state); });
        return false;
    });
    window_.property_is_active().signal_changed().connect([this] {
        const bool active = window_.property_is_active();
        if (active == active_) return;
        active_ = active;
        DispatchWhileAlive([this, active] { active ? Form_Activate() : Form_Deactivate(); });
    });
    window_.signal_focus_in_event().connect([this](GdkEventFocus*) {
        DispatchWhileAlive([this] { Form_GotFocus(); });
        return false;
    });
}

void Form::ApplySize() {
    const int width = ClampSizeToX(TwipsToPixelsX(width_)), height = ClampSizeToX(TwipsToPixelsY(height_));
    canvas_.SetPixelSize(width, height);
    window_.resize(width, height);
}

void Form::ApplyPosition() { window_.move(ClampToX(TwipsToPixelsX(left_)), ClampToX(TwipsToPixelsY(top_))); }

void Form::RunResize() {
    // The design-time geometry set while the form is built raises no event, nor
    // does a form that has been unloaded.
    if (loaded_) Form_Resize();
}

void Form::SetLeft(double left) {
    left_ = left;
    ApplyPosition();
}

void Form::SetTop(double top) {
    top_ = top;
    ApplyPosition();
}

void Form::Move(double left, double top) {
    left_ = left;
    top_ = top;
    ApplyPosition();
}

void Form::SetWidth(double width) {
    if (width == width_) return;
    width_ = width;
    ApplySize();
    RunResize();
}

void Form::SetHeight(double height) {
    if (height == height_) return;
    height_ = height;
    ApplySize();
    RunResize();
}

void Form::SetWindowState(int state) {
    if (state == windowState_) return;
    windowState_ = state;
    if (state == vbMinimized)
        window_.iconify();
    else if (state == vbMaximized)
        window_.maximize();
    else {
        window_.deiconify();
        window_.unmaximize();
    }
    RunResize();
}

void Form::SetVisible(bool visible) {
    if (visible) {
        Show();
        return;
    }
    visible_ = false;
    window_.hide();
}

void Form::Show(int modal) {
    // A form unloaded by its own load handler is gone: there is nothing to show.
    if (!*alive_) return;
    const bool first = !everShown_;
    everShown_ = true;
    visible_ = true;
    ApplySize();
    ApplyPosition();
    window_.set_modal(modal == vbModal);
    window_.show();
    ApplyPosition();
    if (first) RunResize();
    if (modal != vbModal) return;
    ++modalDepth_;
    auto alive = alive_;
    while (*alive && visible_ && !Ended()) g_main_context_iteration(nullptr, TRUE);
    if (*alive) {
        --modalDepth_;
        window_.set_modal(false);
    }
}

void Form::SetCaption(const std::string& caption) {
    caption_ = caption;
    window_.set_title(caption);
}

void Form::Refresh() {
    canvas_.RefreshNow();
    if (auto window = window_.get_window()) window->process_updates(true);
    gdk_display_flush(gdk_display_get_default());
}

void Form::SetFocus() {
    if (!visible_ || windowState_ == vbMinimized)
        throw ToolkitError(errors::InvalidProcedureCall, "Invalid procedure call or argument");
    window_.present();
}

void Form::Unload() {
    if (slot_) slot_->Unload();
}

Form& FormSlotBase::GetBase() {
    if (instance_) return *instance_;
    instance_ = Make();
    // The load handler may unload its own form: the object lives until idle time.
    Form* form = instance_.get();
    form->slot_ = this;
    form->loaded_ = true;
    HandlerScope running;
    form->Form_Load();
    return *form;
}

void FormSlotBase::Unload() {
    if (!instance_ || unloading_) return;
    unloading_ = true;
    int cancel = 0;
    {
        HandlerScope running;
        instance_->Form_Unload(cancel);
    }
    unloading_ = false;
    if (cancel || !instance_) return;
    auto dying = std::move(instance_);
    dying->slot_ = nullptr;
    dying->loaded_ = false;
    dying->visible_ = false;
    *dying->alive_ = false;
    dying->window_.hide();
    DeleteWhenIdle([raw = dying.release()] { delete raw; });
}

}  // namespace platform
