#pragma once

#include <string>

typedef struct _WebKitWebContext WebKitWebContext;
typedef struct _WebKitCookieManager WebKitCookieManager;

namespace platform::webkit {

// The folder where the engine keeps its data: $XDG_DATA_HOME/quellin.
std::string DataFolder();

// The one web context shared by every view, with its cookies persisted as SQLite
// in the data folder, so that the URL cache and the views see the same store.
WebKitWebContext* Context();
WebKitCookieManager* CookieManager();

// Starts the engine's network process without waiting for it, so that it comes up
// while the program builds its windows.
void StartEngine();

}  // namespace platform::webkit
