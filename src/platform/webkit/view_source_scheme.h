#pragma once

#include <string>

typedef struct _WebKitWebView WebKitWebView;

namespace platform::webkit {

// Teaches the shared web context the address "view-source:" followed by the
// address of the page a view shows: the view then shows that page's source text,
// taken from the engine's own copy of the page, so nothing is fetched again.
void RegisterViewSourceScheme();

bool IsViewSourceAddress(const std::string& address);

// Called before a view navigates to a view-source address: keeps the page it
// shows now, whose source is then served. No other page or file can be read
// this way.
void KeepShownPageForSource(WebKitWebView* view);

}  // namespace platform::webkit
