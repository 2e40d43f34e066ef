#include "platform/webkit/web_process_pool.h"

#include <X11/Xlib.h>
#include <gdk/gdkx.h>
#include <webkit2/webkit2.h>

#include <algorithm>
#include <vector>

#include "platform/webkit/webkit_session.h"

namespace platform::webkit {

namespace {

// The live views that share one web process. A process is starting until one of
// its views hears from it: until then it has not yet connected to the X server.
struct Process {
    std::vector<WebKitWebView*> views;
    bool starting = true;
};

// Never destroyed: views may outlive any static of this file.
std::vector<Process>& Processes() {
    static auto* processes = new std::vector<Process>;
    return *processes;
}

std::vector<Process>::iterator ProcessOf(WebKitWebView* view) {
    return std::find_if(Processes().begin(), Processes().end(),
                        [view](const Process& process) { return std::ranges::count(process.views, view) > 0; });
}

// A destroyed view has closed its page: a view related to it would need a new
// process, so it is no longer offered.
void Forget(WebKitWebView* view) {
    for (Process& process : Processes()) std::erase(process.views, view);
    std::erase_if(Processes(), [](const Process& process) { return process.views.empty(); });
}

// The views of a process that ended are dead with it; none is offered again.
void ProcessEnded(WebKitWebView* view) {
    if (const auto process = ProcessOf(view); process != Processes().end()) Processes().erase(process);
}

void ProcessAnswered(WebKitWebView* view) {
    if (const auto process = ProcessOf(view); process != Processes().end()) process->starting = false;
}

// Whether the X server would take a new process now, beside the processes that
// are starting and will connect to it soon: connections opened and closed again
// are the only way to ask it.
bool DisplayTakesAnotherProcess() {
    GdkDisplay* display = gdk_display_get_default();
    if (!display || !GDK_IS_X11_DISPLAY(display)) return true;
    const auto starting = std::ranges::count_if(Processes(), &Process::starting);
    std::vector<Display*> probes;
    while (std::ssize(probes) <= starting)
        if (Display* probe = XOpenDisplay(gdk_display_get_name(display)))
            probes.push_back(probe);
        else
            break;
    const bool room = std::ssize(probes) > starting;
    for (Display* probe : probes) XCloseDisplay(probe);
    return room;
}

WebKitWebView* MakeView(WebKitWebView* related, WebKitSettings* settings, WebKitUserContentManager* content) {
    GObject* view = related
        ? G_OBJECT(g_object_new(WEBKIT_TYPE_WEB_VIEW, "related-view", related, "settings", settings,
                                "user-content-manager", content, nullptr))
        : G_OBJECT(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", Context(), "settings", settings,
                                "user-content-manager", content, nullptr));
    g_signal_connect(view, "destroy", G_CALLBACK(+[](GtkWidget* widget, gpointer) {
        Forget(WEBKIT_WEB_VIEW(widget));
    }), nullptr);
    g_signal_connect(view, "load-changed", G_CALLBACK(+[](WebKitWebView* answered, WebKitLoadEvent, gpointer) {
        ProcessAnswered(answered);
    }), nullptr);
    g_signal_connect(view, "web-process-terminated",
                     G_CALLBACK(+[](WebKitWebView* ended, WebKitWebProcessTerminationReason, gpointer) {
                         ProcessEnded(ended);
                     }), nullptr);
    return WEBKIT_WEB_VIEW(view);
}

// A view in a process of its own: the one the engine started ahead, if any.
WebKitWebView* ViewInNewProcess(WebKitSettings* settings, WebKitUserContentManager* content) {
    WebKitWebView* startedPage = TakeStartedPage();
    WebKitWebView* view = MakeView(startedPage, settings, content);
    if (startedPage) {
        gtk_widget_destroy(GTK_WIDGET(startedPage));
        g_object_unref(startedPage);
    }
    Processes().push_back({{view}});
    return view;
}

}  // namespace

WebKitWebView* NewPooledView(WebKitWebView* related, WebKitSettings* settings, WebKitUserContentManager* content) {
    if (related) {
        WebKitWebView* view = MakeView(related, settings, content);
        if (const auto process = ProcessOf(related); process != Processes().end()) process->views.push_back(view);
        return view;
    }
    if (std::ssize(Processes()) < MaxWebProcesses && DisplayTakesAnotherProcess())
        return ViewInNewProcess(settings, content);
    const auto fewest = std::ranges::min_element(
        Processes(), {}, [](const Process& process) { return process.views.size(); });
    if (fewest == Processes().end()) return nullptr;
    WebKitWebView* view = MakeView(fewest->views.front(), settings, content);
    fewest->views.push_back(view);
    return view;
}

}  // namespace platform::webkit
