#pragma once

#include <gtkmm/widget.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace platform {

class Container;

// Mouse buttons and shift keys as the handlers receive them.
inline constexpr int vbLeftButton = 1;
inline constexpr int vbRightButton = 2;
inline constexpr int vbMiddleButton = 4;
inline constexpr int vbShiftMask = 1;
inline constexpr int vbCtrlMask = 2;
inline constexpr int vbAltMask = 4;

// A control placed in a form or a container control. Its geometry, visibility and
// the rest are values held here, in twips, and mirrored onto the GTK widget.
class Control {
public:
    using MouseHandler = std::function<void(int button, int shift, double x, double y)>;

    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    Gtk::Widget& Widget() { return *widget_; }
    const Gtk::Widget& Widget() const { return *widget_; }

    double Left() const { return left_; }
    double Top() const { return top_; }
    double Width() const { return width_; }
    double Height() const { return height_; }
    void SetLeft(double left);
    void SetTop(double top);
    virtual void SetWidth(double width);
    virtual void SetHeight(double height);
    void Move(double left, double top, double width, double height);

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    const std::string& ToolTipText() const { return toolTipText_; }
    void SetToolTipText(const std::string& text);

    // Position 0 brings the control to the front of its siblings, 1 sends it back.
    void ZOrder(int position = 0);
    // The pointer's shape over the control, a CSS cursor name ("e-resize"); "" for the default.
    void SetCursorName(const std::string& name);
    virtual void SetFocus();

    Container* Parent() const { return parent_; }
    void PlaceIn(Container& container);

    // Accept text dropped from other programs (manual drop mode).
    void AcceptTextDrops();

    // A loaded element of a control array starts as a copy of element 0, hidden.
    virtual void CopySettingsFrom(const Control& other);
    // An unloaded control hears no more events, not even those held back before.
    void StopEvents() { *alive_ = false; }

    std::function<void()> Click;
    std::function<void()> DblClick;
    MouseHandler MouseDown;
    MouseHandler MouseMove;
    MouseHandler MouseUp;
    std::function<void(const std::string& text)> OLEDragDrop;

protected:
    explicit Control(std::unique_ptr<Gtk::Widget> widget);
    // Routes pointer events of the widget to the handlers above.
    void ListenToPointer();
    // The pointer's position inside the control in twips, from the event's
    // window-relative (x, y) and screen (xRoot, yRoot) pixels.
    std::pair<double, double> PointerPosition(double x, double y, double xRoot, double yRoot) const;
    virtual void GeometryChanged() {}
    // Called after ZOrder has restacked the control.
    virtual void StackingChanged(int /*position*/) {}
    int PixelWidth() const;
    int PixelHeight() const;
    // Keeps a handler connected to a signal of the widget or of a widget inside it
    // for the control's lifetime: every one is disconnected before the widget is
    // taken down, since the members it uses are gone by then.
    void Track(sigc::connection connection) { connections_.push_back(std::move(connection)); }
    // Runs an event's handler as the toolkit runs handlers, unless the control has
    // been unloaded by then: an event is held back while other handlers run or wait.
    void DispatchWhileAlive(std::function<void()> handler);

private:
    void CallMouseHandler(const MouseHandler& handler, int button, int shift, double x, double y);
    void ApplyGeometry();
    void ApplyStacking();

    std::unique_ptr<Gtk::Widget> widget_;
    Container* parent_ = nullptr;
    double left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    std::string toolTipText_;
    bool pressed_ = false;
    std::string cursorName_;
    bool raiseWhenRealized_ = false;
    std::vector<sigc::connection> connections_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// Puts the control into the container at its design place and size, in twips.
void Place(Control& control, Container& in, double left, double top, double width, double height);

}  // namespace platform
