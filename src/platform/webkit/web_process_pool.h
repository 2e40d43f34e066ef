#pragma once

typedef struct _WebKitWebView WebKitWebView;
typedef struct _WebKitSettings WebKitSettings;
typedef struct _WebKitUserContentManager WebKitUserContentManager;

namespace platform::webkit {

// The most web processes the program runs at once. Each process of the engine
// opens a connection of its own to the X server, which takes a few hundred
// clients in all, shared with every other program of the desktop; when the
// server refuses one, the engine cannot start the process and aborts the program.
// Views beyond this share a process with others.
inline constexpr int MaxWebProcesses = 8;

// A new view (a floating reference) in the shared web context. A view given as
// related (a pop-up's opener) is one whose web process the new view shares.
// Otherwise the new view gets a process of its own while fewer than
// MaxWebProcesses run and the display takes another client, and else shares the
// process that holds the fewest views. nullptr when no process can take it: none
// runs that it could share, and the display takes no further client.
WebKitWebView* NewPooledView(WebKitWebView* related, WebKitSettings* settings, WebKitUserContentManager* content);

}  // namespace platform::webkit
