// The floor the engine sets: a window that shows nothing but WebKit views on one
// page, in a web context made the way the browser makes its own (website data
// persisted in a folder of the user's data directory, cookies in SQLite).
//
//     minimal_webkit ADDRESS [VIEWS [notebook|stacked|in-turn]]
//
// opens VIEWS views (1 unless given), each on ADDRESS, and runs until it is
// killed. The views are the pages of a notebook, so that only one is shown, as a
// tabbed browser needs; or, stacked, all lie shown on top of one another; or, in
// turn, pages of a notebook opened one after another, each brought to the front
// and loaded once the one before it has finished, as a user opens tabs.
#include <glib.h>
#include <gtkmm/main.h>
#include <gtkmm/notebook.h>
#include <gtkmm/overlay.h>
#include <gtkmm/window.h>
#include <webkit2/webkit2.h>

#include <cstdlib>
#include <functional>
#include <iostream>
#include <string>

namespace {

WebKitWebContext* NewPersistentContext() {
    gchar* folder = g_build_filename(g_get_user_data_dir(), "minimal-webkit", nullptr);
    const std::string data = folder;
    g_free(folder);
    const std::string cache = data + "/cache";
    WebKitWebsiteDataManager* manager = webkit_website_data_manager_new(
        "base-data-directory", data.c_str(), "base-cache-directory", cache.c_str(), nullptr);
    WebKitWebContext* context = webkit_web_context_new_with_website_data_manager(manager);
    g_object_unref(manager);
    const std::string cookies = data + "/cookies.sqlite";
    webkit_cookie_manager_set_persistent_storage(webkit_web_context_get_cookie_manager(context), cookies.c_str(),
                                                 WEBKIT_COOKIE_PERSISTENT_STORAGE_SQLITE);
    return context;
}

}  // namespace

int main(int argc, char** argv) {
    Gtk::Main toolkit(argc, argv);
    if (argc < 2) {
        std::cerr << "usage: minimal_webkit ADDRESS [VIEWS]\n";
        return 2;
    }
    const std::string address = argv[1];
    const int views = argc > 2 ? std::atoi(argv[2]) : 1;
    if (views < 1 || views > 100) {
        std::cerr << "VIEWS must lie between 1 and 100\n";
        return 2;
    }
    const std::string layout = argc > 3 ? argv[3] : "notebook";
    if (layout != "notebook" && layout != "stacked" && layout != "in-turn") {
        std::cerr << "the layout is notebook, stacked or in-turn\n";
        return 2;
    }

    WebKitWebContext* context = NewPersistentContext();
    Gtk::Window window;
    window.set_title("minimal_webkit");
    window.set_default_size(707, 454);
    Gtk::Notebook notebook;
    Gtk::Overlay stack;
    if (layout == "stacked")
        window.add(stack);
    else
        window.add(notebook);
    const auto addView = [&](int i) {
        auto* view = WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", context, nullptr));
        if (layout == "stacked") {
            if (i == 0)
                gtk_container_add(GTK_CONTAINER(stack.gobj()), GTK_WIDGET(view));
            else
                gtk_overlay_add_overlay(stack.gobj(), GTK_WIDGET(view));
        } else {
            const std::string label = "View " + std::to_string(i + 1);
            gtk_notebook_append_page(notebook.gobj(), GTK_WIDGET(view), gtk_label_new(label.c_str()));
        }
        gtk_widget_show(GTK_WIDGET(view));
        webkit_web_view_load_uri(view, address.c_str());
        return view;
    };
    if (layout == "in-turn") {
        // Like tabs opened one after another: each view is added, brought to the
        // front and loaded once the one before it has finished its page.
        struct InTurn {
            std::function<WebKitWebView*(int)> add;
            Gtk::Notebook* notebook;
            int wanted;
            int added = 0;
            void Next() {
                WebKitWebView* view = add(added);
                notebook->set_current_page(added++);
                if (added < wanted)
                    g_signal_connect(view, "load-changed", G_CALLBACK(+[](WebKitWebView* v, WebKitLoadEvent e, gpointer self) {
                        if (e != WEBKIT_LOAD_FINISHED) return;
                        g_signal_handlers_disconnect_by_data(v, self);
                        static_cast<InTurn*>(self)->Next();
                    }), this);
            }
        };
        static InTurn inTurn{addView, &notebook, views};
        inTurn.Next();
    } else {
        for (int i = 0; i < views; ++i) addView(i);
    }
    window.show_all();
    toolkit.run(window);
    g_object_unref(context);
    return 0;
}
