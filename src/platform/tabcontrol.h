#pragma once

#include <gtkmm/box.h>
#include <gtkmm/fixed.h>
#include <gtkmm/label.h>
#include <gtkmm/notebook.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/container.h"
#include "platform/control.h"
#include "platform/widget_style.h"

namespace platform {

// A tabbed control: pages in one row of tabs, each page a container of its own
// controls, only the page of the current tab shown. Positions on a page count
// from the control's top-left corner, the row of tabs included. Click runs when
// the current tab changes, by the user or by the program.
class TabControl : public Control {
public:
    explicit TabControl(int tabs = 3);
    ~TabControl() override;

    int Tabs() const { return static_cast<int>(pages_.size()); }
    void SetTabs(int tabs);
    // The current tab; setting an index out of range raises ToolkitError 380.
    int Tab() const { return tab_; }
    void SetTab(int tab);
    const std::string& TabCaption(int tab) const;
    void SetTabCaption(int tab, const std::string& caption);
    Container& Page(int tab);
    void SetFont(const std::string& name, double size, bool bold) { style_.SetFont(name, size, bold); }

protected:
    void GeometryChanged() override;

private:
    struct TabPage : Container {
        Gtk::Fixed area;
        Gtk::Box placeholder;
        std::string caption;
        Gtk::Fixed& ChildArea() override { return area; }
    };

    void CheckTab(int tab) const;
    void ShowCurrentPage();

    Gtk::Fixed* fixed_;
    Gtk::Notebook notebook_;
    WidgetStyle style_;
    std::vector<std::unique_ptr<TabPage>> pages_;
    int tab_ = 0;
    sigc::connection switched_;
};

}  // namespace platform
