#include "platform/control.h"

#include <gdkmm/window.h>
#include <gtkmm/fixed.h>

#include <algorithm>
#include <cmath>

#include "platform/app.h"
#include "platform/container.h"
#include "platform/form.h"
#include "platform/text.h"
#include "platform/twips.h"

namespace platform {

namespace {
int ButtonBit(guint button) {
    switch (button) {
        case 1: return vbLeftButton;
        case 2: return vbMiddleButton;
        case 3: return vbRightButton;
        default: return 0;
    }
}

int HeldButtons(guint state) {
    return ((state & GDK_BUTTON1_MASK) ? vbLeftButton : 0) | ((state & GDK_BUTTON3_MASK) ? vbRightButton : 0) |
           ((state & GDK_BUTTON2_MASK) ? vbMiddleButton : 0);
}

int ShiftState(guint state) {
    return ((state & GDK_SHIFT_MASK) ? vbShiftMask : 0) | ((state & GDK_CONTROL_MASK) ? vbCtrlMask : 0) |
           ((state & GDK_MOD1_MASK) ? vbAltMask : 0);
}
}  // namespace

Control::Control(std::unique_ptr<Gtk::Widget> widget) : widget_(std::move(widget)) {
    Track(widget_->signal_realize().connect([this] {
        if (raiseWhenRealized_) ApplyStacking();
        raiseWhenRealized_ = false;
    }));
    widget_->set_no_show_all(true);
    widget_->show();
}

Control::~Control() {
    StopEvents();
    for (auto& connection : connections_) connection.disconnect();
    if (parent_ && widget_->get_parent()) parent_->ChildArea().remove(*widget_);
}

void Control::DispatchWhileAlive(std::function<void()> handler) {
    Dispatch([alive = alive_, handler = std::move(handler)] {
        if (*alive) handler();
    });
}

void Control::CallMouseHandler(const MouseHandler& handler, int button, int shift, double x, double y) {
    if (handler) DispatchWhileAlive([=] { handler(button, shift, x, y); });
}

void Control::PlaceIn(Container& container) {
    if (parent_ && widget_->get_parent()) parent_->ChildArea().remove(*widget_);
    parent_ = &container;
    container.ChildArea().put(*widget_, 0, 0);
    ApplyGeometry();
}

int Control::PixelWidth() const { return std::max(0, TwipsToPixelsX(width_)); }
int Control::PixelHeight() const { return std::max(0, TwipsToPixelsY(height_)); }

void Control::ApplyGeometry() {
    widget_->set_size_request(PixelWidth(), PixelHeight());
    if (parent_ && widget_->get_parent())
        parent_->ChildArea().move(*widget_, TwipsToPixelsX(left_), TwipsToPixelsY(top_));
}

void Control::SetLeft(double left) {
    left_ = left;
    ApplyGeometry();
}

void Control::SetTop(double top) {
    top_ = top;
    ApplyGeometry();
}

void Control::SetWidth(double width) {
    width_ = width;
    ApplyGeometry();
    GeometryChanged();
}

void Control::SetHeight(double height) {
    height_ = height;
    ApplyGeometry();
    GeometryChanged();
}

void Control::Move(double left, double top, double width, double height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    ApplyGeometry();
    GeometryChanged();
}

void Control::SetVisible(bool visible) {
    visible_ = visible;
    widget_->set_visible(visible);
    if (visible) ApplyStacking();
}

void Control::SetEnabled(bool enabled) {
    enabled_ = enabled;
    widget_->set_sensitive(enabled);
}

void Control::SetToolTipText(const std::string& text) {
    // GTK asks the X server where the pointer is whenever a tooltip is set.
    if (text == toolTipText_) return;
    toolTipText_ = text;
    widget_->set_tooltip_text(ScreenLine(text));
}

void Control::ApplyStacking() {
    if (auto window = widget_->get_window(); window && widget_->get_has_window()) window->raise();
}

void Control::ZOrder(int position) {
    auto window = widget_->get_window();
    if (!window || !widget_->get_has_window()) {
        // Not yet realized: raise it once it is.
        raiseWhenRealized_ = position == 0;
    } else {
        if (position == 0)
            window->raise();
        else
            window->lower();
        if (auto parent = widget_->get_parent()) parent->queue_draw();
    }
    StackingChanged(position);
}

void Control::SetFocus() { widget_->grab_focus(); }

void Control::SetCursorName(const std::string& name) {
    cursorName_ = name;
    auto apply = [this] {
        if (auto window = widget_->get_window())
            window->set_cursor(cursorName_.empty() ? Glib::RefPtr<Gdk::Cursor>()
                                                   : Gdk::Cursor::create(window->get_display(), cursorName_));
    };
    if (widget_->get_realized()) apply();
    else Track(widget_->signal_realize().connect(apply));
}

void Control::AcceptTextDrops() {
    widget_->drag_dest_set({}, Gtk::DEST_DEFAULT_ALL, Gdk::ACTION_COPY | Gdk::ACTION_LINK);
    widget_->drag_dest_add_text_targets();
    widget_->drag_dest_add_uri_targets();
    Track(widget_->signal_drag_data_received().connect(
        [this](const Glib::RefPtr<Gdk::DragContext>&, int, int, const Gtk::SelectionData& data, guint, guint) {
            std::string text = data.get_text();
            if (text.empty()) {
                auto uris = data.get_uris();
                if (!uris.empty()) text = uris.front();
            }
            if (!text.empty() && OLEDragDrop) DispatchWhileAlive([this, text] { OLEDragDrop(text); });
        }));
}

void Control::CopySettingsFrom(const Control& other) {
    Move(other.left_, other.top_, other.width_, other.height_);
    SetEnabled(other.enabled_);
    SetToolTipText(other.toolTipText_);
    SetVisible(false);
}

void Control::ListenToPointer() {
    widget_->add_events(Gdk::BUTTON_PRESS_MASK | Gdk::BUTTON_RELEASE_MASK | Gdk::POINTER_MOTION_MASK);
    Track(widget_->signal_button_press_event().connect(
        [this](GdkEventButton* event) {
            const auto [x, y] = PointerPosition(event->x, event->y, event->x_root, event->y_root);
            if (event->type == GDK_2BUTTON_PRESS) {
                if (DblClick) DispatchWhileAlive([this] { DblClick(); });
                return true;
            }
            if (event->type != GDK_BUTTON_PRESS) return true;
            pressed_ = event->button == 1;
            CallMouseHandler(MouseDown, ButtonBit(event->button), ShiftState(event->state), x, y);
            return true;
        },
        false));
    Track(widget_->signal_button_release_event().connect(
        [this](GdkEventButton* event) {
            const auto [x, y] = PointerPosition(event->x, event->y, event->x_root, event->y_root);
            CallMouseHandler(MouseUp, ButtonBit(event->button), ShiftState(event->state), x, y);
            const bool inside = event->x >= 0 && event->y >= 0 && event->x < widget_->get_allocated_width() &&
                                event->y < widget_->get_allocated_height();
            if (event->button == 1 && pressed_ && inside && Click) DispatchWhileAlive([this] { Click(); });
            pressed_ = false;
            return true;
        },
        false));
    Track(widget_->signal_motion_notify_event().connect(
        [this](GdkEventMotion* event) {
            const auto [x, y] = PointerPosition(event->x, event->y, event->x_root, event->y_root);
            CallMouseHandler(MouseMove, HeldButtons(event->state), ShiftState(event->state), x, y);
            return true;
        },
        false));
}

std::pair<double, double> Control::PointerPosition(double x, double y, double xRoot, double yRoot) const {
    // A borderless window is placed by the program alone, so where the program
    // has put it is where the pointer counts from. The X server reports the
    // pointer against where the window was, which lags behind a move the
    // program has just made: a title-bar drag would run ahead of the mouse.
    int left = TwipsToPixelsX(left_), top = TwipsToPixelsY(top_);
    for (const Control* control = this; control->parent_;) {
        if (auto* form = dynamic_cast<Form*>(control->parent_)) {
            if (form->Window().get_decorated()) break;
            left += TwipsToPixelsX(form->Left());
            top += TwipsToPixelsY(form->Top());
            return {PixelsToTwipsX(xRoot - left), PixelsToTwipsY(yRoot - top)};
        }
        control = dynamic_cast<const Control*>(control->parent_);
        if (!control) break;
        left += TwipsToPixelsX(control->left_);
        top += TwipsToPixelsY(control->top_);
    }
    return {PixelsToTwipsX(x), PixelsToTwipsY(y)};
}

void Place(Control& control, Container& in, double left, double top, double width, double height) {
    control.PlaceIn(in);
    control.Move(left, top, width, height);
}

}  // namespace platform
