#include "platform/form.h"

#include <cairomm/region.h>
#include <gdk/gdkx.h>
#include <gdkmm/window.h>
#include <gtkmm/label.h>
#include <glib.h>

#include <algorithm>
#include <utility>

#include "platform/app.h"
#include "platform/error.h"
#include "platform/focus_keeper.h"
#include "platform/retire.h"
#include "platform/text.h"
#include "platform/twips.h"

namespace platform {

namespace {
// X can express only 16-bit coordinates and sizes.
int ClampToX(int pixels) { return std::clamp(pixels, -32768, 32767); }
int ClampSizeToX(int pixels) { return std::clamp(pixels, 1, 32767); }

// Holds a flag raised for as long as it lives, however its scope is left.
class FlagWhile {
public:
    explicit FlagWhile(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagWhile() { flag_ = false; }
    FlagWhile(const FlagWhile&) = delete;
    FlagWhile& operator=(const FlagWhile&) = delete;

private:
    bool& flag_;
};

// Remembers a request made to the window system, unless it repeats the last one
// or asks for what the window already has.
void Request(std::deque<std::pair<int, int>>& requests, std::pair<int, int> value, std::pair<int, int> reported) {
    constexpr std::size_t kept = 32;
    if (requests.empty() ? value == reported : requests.back() == value) return;
    if (requests.size() == kept) requests.pop_front();
    requests.push_back(value);
}

// Takes a value the window reported. Reports arrive in the order of the requests
// they answer: a report of one request means the older ones are answered too, and
// a value nobody asked for is the window manager's own, which overrides them all.
// True when no request is left in flight, so that the report is where the window
// really is.
bool Settled(std::deque<std::pair<int, int>>& requests, std::pair<int, int> reported) {
    const auto echo = std::find(requests.begin(), requests.end(), reported);
    requests.erase(requests.begin(), echo == requests.end() ? echo : echo + 1);
    return requests.empty();
}

// The page views do not always repaint what a window going away uncovers (in the
// engine's composited rendering they wait for a frame of their own): once any
// window of the program goes, a form's or a dialog's, drop-downs and lists
// included, the windows still shown are drawn again.
gboolean RedrawWhatAWindowUncovers(GSignalInvocationHint*, guint count, const GValue* values, gpointer) {
    if (count < 1) return TRUE;
    auto* gone = g_value_get_object(&values[0]);
    if (!GTK_IS_WINDOW(gone)) return TRUE;
    for (Gtk::Window* other : Gtk::Window::list_toplevels())
        if (G_OBJECT(other->gobj()) != gone && other->get_mapped()) other->queue_draw();
    return TRUE;
}

// When the window of the program that had the focus last went away (hidden or
// unloaded), in monotonic microseconds.
gint64 focusedWindowWentAt = 0;
// The form that the window manager has just given the focus that way.
const Form* formHandedTheFocus = nullptr;
// The windows that carry the taskbar button pass the focus on, however it came to them.
std::vector<const Form*> taskbarCarriers;

// The window manager hands the focus on at once when the focused window goes,
// and the program passes it on from there: an activation this soon after is
// theirs, not the user's.
bool FocusHandedOver() {
    constexpr gint64 handOverMicroseconds = 500000;
    return focusedWindowWentAt != 0 && g_get_monotonic_time() - focusedWindowWentAt < handOverMicroseconds;
}

void WatchWindowsGoing() {
    [[maybe_unused]] static const gulong hook = g_signal_add_emission_hook(
        g_signal_lookup("unmap", GTK_TYPE_WIDGET), 0, &RedrawWhatAWindowUncovers, nullptr, nullptr);
}

std::vector<Form*>& LoadedList() {
    static std::vector<Form*> forms;
    return forms;
}
}  // namespace

const std::vector<Form*>& LoadedForms() { return LoadedList(); }

void DiscardLoadedForms() {
    while (!LoadedList().empty()) LoadedList().back()->slot_->Discard();
}

void ForgetFocusHandOver() {
    focusedWindowWentAt = 0;
    formHandedTheFocus = nullptr;
}

void DeleteSlotWhenIdle(FormSlotBase* slot) { DeleteWhenIdle(std::unique_ptr<FormSlotBase>(slot)); }

Form::Form(FormStyle style) : window_(style.dropDown ? Gtk::WINDOW_POPUP : Gtk::WINDOW_TOPLEVEL), takesFocus_(style.takesFocus) {
    window_.set_decorated(!style.borderless);
    window_.set_skip_taskbar_hint(!style.showInTaskbar);
    window_.set_skip_pager_hint(!style.showInTaskbar);
    window_.set_resizable(style.resizable);
    canvas_.FillWindow();
    canvas_.show();
    window_.add(canvas_);
    window_.set_gravity(Gdk::GRAVITY_NORTH_WEST);
    if (!style.controlBox) TakeOutControlBox(window_, style.resizable);
    if (style.toolWindow) MakeToolWindow();
    if (!takesFocus_) {
        window_.set_accept_focus(false);
        window_.set_focus_on_map(false);
    }
    if (style.taskbarCarrier) {
        MakeInvisible();
        taskbarCarriers.push_back(this);
    }
    WatchWindow();
    WatchWindowsGoing();
    if (style.dropDown) {
        window_.set_type_hint(Gdk::WINDOW_TYPE_HINT_DROPDOWN_MENU);
        dropDownWatch_ = std::make_unique<DropDownWatch>(window_, [this, alive = alive_] {
            if (*alive) Form_Deactivate();
        });
    }
}

void Form::MakeInvisible() {
    window_.set_decorated(false);
    window_.signal_realize().connect(
        [this] {
            const auto nothing = Cairo::Region::create();
            window_.shape_combine_region(nothing);
            window_.input_shape_combine_region(nothing);
        },
        true);
}

namespace {
// A dialog's title bar and border, with the window functions given and no
// buttons beyond them; GTK sets its own hints while realising.
void AskForDialogFrame(Gtk::Window& window, Gdk::WMFunction functions) {
    window.set_type_hint(Gdk::WINDOW_TYPE_HINT_DIALOG);
    window.signal_realize().connect(
        [&window, functions] {
            auto gdkWindow = window.get_window();
            gdkWindow->set_decorations(Gdk::DECOR_BORDER | Gdk::DECOR_TITLE);
            gdkWindow->set_functions(functions);
        },
        true);
}
}  // namespace

double TitleBarWidth(const std::string& caption) {
    // Without a window manager there is no title bar.
    auto* screen = gdk_screen_get_default();
    if (!GDK_IS_X11_SCREEN(screen) || !gdk_x11_screen_supports_net_wm_hint(
                                          screen, gdk_atom_intern_static_string("_NET_FRAME_EXTENTS")))
        return 0;
    // The icon and three buttons, with the frame's margins between them.
    constexpr int besideTheTitle = 110;
    Gtk::Label title;
    auto layout = title.create_pango_layout(ScreenLine(caption));
    auto font = title.get_style_context()->get_font();
    font.set_weight(Pango::WEIGHT_BOLD);
    layout->set_font_description(font);
    int width = 0, height = 0;
    layout->get_pixel_size(width, height);
    return PixelsToTwipsX(width + besideTheTitle);
}

void TakeOutControlBox(Gtk::Window& window, bool resizable) {
    window.set_deletable(false);
    // A sizable window keeps its border for the user to drag.
    AskForDialogFrame(window, resizable ? Gdk::FUNC_MOVE | Gdk::FUNC_RESIZE : Gdk::FUNC_MOVE);
}

void Form::MakeToolWindow() { AskForDialogFrame(window_, Gdk::FUNC_MOVE | Gdk::FUNC_CLOSE); }

Form::~Form() {
    std::erase(taskbarCarriers, this);
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
        DispatchWhileAlive([this] {
            int cancel = 0;
            Form_QueryUnload(cancel, vbFormControlMenu);
            if (!cancel) Unload();
        });
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
        // A drop-down's activation is its watch's: without a window manager the
        // focus follows the pointer in and out of it.
        if (active == active_ || dropDownWatch_) return;
        active_ = active;
        if (!active && !window_.get_visible() && takesFocus_) focusedWindowWentAt = g_get_monotonic_time();
        // The focus passed on from a window of the program that went away: the user
        // has activated nothing, and the form hears neither Form_Activate nor Form_GotFocus.
        const auto carrier = [](const Form* form) {
            return std::ranges::find(taskbarCarriers, form) != taskbarCarriers.end();
        };
        formHandedTheFocus = active && !carrier(this) && FocusHandedOver() ? this : nullptr;
        if (formHandedTheFocus) {
            // The focus goes where the program would have it: to its newest window still shown.
            const auto& forms = LoadedList();
            const auto newest = std::find_if(forms.rbegin(), forms.rend(), [&](const Form* form) {
                return form->visible_ && form->onScreen_ && !form->dropDownWatch_ && !carrier(form);
            });
            if (newest != forms.rend() && *newest != this) (*newest)->window_.present();
            return;
        }
        DispatchWhileAlive([this, active] { active ? Form_Activate() : Form_Deactivate(); });
    });
    window_.signal_unmap().connect([this] {
        if (active_ && takesFocus_) focusedWindowWentAt = g_get_monotonic_time();
    });
    window_.signal_configure_event().connect(
        [this](GdkEventConfigure* event) {
            WindowConfigured(event->width, event->height);
            return false;
        },
        false);
    canvas_.signal_motion_notify_event().connect([this](GdkEventMotion* event) {
        const int Button = (event->state & GDK_BUTTON1_MASK ? 1 : 0) | (event->state & GDK_BUTTON3_MASK ? 2 : 0) |
                           (event->state & GDK_BUTTON2_MASK ? 4 : 0);
        const double X = PixelsToTwipsX(event->x), Y = PixelsToTwipsY(event->y);
        DispatchWhileAlive([this, Button, X, Y] { Form_MouseMove(Button, X, Y); });
        return false;
    });
    window_.signal_map_event().connect([this](GdkEventAny*) {
        onScreen_ = true;
        return false;
    });
    window_.signal_unmap_event().connect([this](GdkEventAny*) {
        onScreen_ = false;
        return false;
    });
    window_.signal_focus_in_event().connect([this](GdkEventFocus*) {
        if (std::exchange(formHandedTheFocus, nullptr) == this) return false;
        DispatchWhileAlive([this] { Form_GotFocus(); });
        return false;
    });
}

// The window manager (a keyboard shortcut, tiling, another program) has moved or
// resized the window: the form takes where it really is.
void Form::WindowConfigured(int width, int height) {
    lastReportTime_ = g_get_monotonic_time();
    int x = 0, y = 0;
    window_.get_window()->get_root_origin(x, y);
    // A report of a value that has not changed since the last one answers none of
    // the requests in flight: only the other half of the geometry moved.
    if (std::pair(x, y) != std::exchange(reportedPosition_, {x, y}) && Settled(requestedPositions_, {x, y}))
        TakePosition(x, y);
    if (std::pair(width, height) != std::exchange(reportedSize_, {width, height}) &&
        Settled(requestedSizes_, {width, height}))
        TakeSize(width, height);
}

void Form::TakePosition(int x, int y) {
    if (std::pair(x, y) == std::pair(ClampToX(TwipsToPixelsX(left_)), ClampToX(TwipsToPixelsY(top_)))) return;
    left_ = PixelsToTwipsX(x);
    top_ = PixelsToTwipsY(y);
}

// A new size raises Form_Resize as a size set by the program does.
void Form::TakeSize(int width, int height) {
    if (std::pair(width, height) == std::pair(ClampSizeToX(TwipsToPixelsX(width_)), ClampSizeToX(TwipsToPixelsY(height_))))
        return;
    width_ = PixelsToTwipsX(width);
    height_ = PixelsToTwipsY(height);
    canvas_.SetPixelSize(width, height);
    Dispatch([this, alive = alive_] {
        if (*alive) RunResize();
    });
}

void Form::ApplySize() {
    const int width = ClampSizeToX(TwipsToPixelsX(width_)), height = ClampSizeToX(TwipsToPixelsY(height_));
    canvas_.SetPixelSize(width, height);
    Request(requestedSizes_, {width, height}, reportedSize_);
    window_.resize(width, height);
}

void Form::ApplyPosition() {
    const int x = ClampToX(TwipsToPixelsX(left_)), y = ClampToX(TwipsToPixelsY(top_));
    Request(requestedPositions_, {x, y}, reportedPosition_);
    window_.move(x, y);
}

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

// The window manager puts back the size and place that the window had before
// it maximised it, after reports of the maximise itself that may still be on
// their way: what the program asks for next comes once they have all arrived.
void Form::WaitForUnmaximise() {
    auto window = window_.get_window();
    const auto maximised = [&] { return (window->get_state() & Gdk::WINDOW_STATE_MAXIMIZED) != 0; };
    if (!window || !window_.get_mapped() || !maximised()) return;
    constexpr gint64 quietMicroseconds = 100000;
    constexpr int patienceMs = 1000;
    WaitWithoutHandlers(
        [&] { return !maximised() && g_get_monotonic_time() - lastReportTime_ > quietMicroseconds; }, patienceMs);
}

void Form::WaitForPlacement() {
    auto window = window_.get_window();
    if (!window || !window_.get_mapped()) return;
    const gint64 start = g_get_monotonic_time();
    constexpr gint64 quietMicroseconds = 100000;
    constexpr int patienceMs = 500;
    WaitWithoutHandlers(
        [&] {
            // A window manager that refuses a request answers with the geometry unchanged.
            return (requestedPositions_.empty() && requestedSizes_.empty()) ||
                   (lastReportTime_ > start && g_get_monotonic_time() - lastReportTime_ > quietMicroseconds);
        },
        patienceMs);
    if (requestedPositions_.empty() && requestedSizes_.empty()) return;
    requestedPositions_.clear();
    requestedSizes_.clear();
    int x = 0, y = 0;
    window->get_root_origin(x, y);
    TakePosition(x, y);
    TakeSize(window->get_width(), window->get_height());
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
        WaitForUnmaximise();
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

void Form::Show(int modal, Form* owner) {
    // A form unloaded by its own load handler is gone: there is nothing to show.
    if (!*alive_) return;
    if (owner) window_.set_transient_for(owner->window_);
    const bool first = !everShown_;
    everShown_ = true;
    visible_ = true;
    ApplySize();
    ApplyPosition();
    window_.set_modal(modal == vbModal);
    DropDownWatch::WindowShown(window_);
    if (first) NoteFirstShown(window_);
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
    const std::string shown = ScreenLine(caption);
    if (caption == caption_ && window_.get_title() == shown) return;
    caption_ = caption;
    window_.set_title(shown);
}

void Form::Refresh() {
    // A window just shown is on screen only once the X server has mapped it.
    if (visible_ && windowState_ != vbMinimized) WaitWithoutHandlers([this] { return onScreen_; }, 1000);
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
    LoadedList().push_back(form);
    HandlerScope running;
    form->Form_Load();
    return *form;
}

void FormSlotBase::Unload() {
    if (!instance_ || unloading_) return;
    int cancel = 0;
    {
        // A handler that raised leaves the form loaded, and unloadable again.
        FlagWhile unloading(unloading_);
        HandlerScope running;
        instance_->Form_Unload(cancel);
    }
    if (cancel || !instance_) return;
    Discard();
}

void FormSlotBase::Discard() {
    if (!instance_) return;
    auto dying = std::move(instance_);
    std::erase(LoadedList(), dying.get());
    dying->slot_ = nullptr;
    dying->loaded_ = false;
    dying->visible_ = false;
    *dying->alive_ = false;
    dying->window_.hide();
    DeleteWhenIdle(std::move(dying));
    Emptied();
}

}  // namespace platform
