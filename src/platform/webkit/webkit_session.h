#pragma once

#include <string>

typedef struct _WebKitWebContext WebKitWebContext;
typedef struct _WebKitCookieManager WebKitCookieManager;
typedef struct _WebKitWebView WebKitWebView;

namespace platform::webkit {

// The folder where the engine keeps its data: $XDG_DATA_HOME/quellin.
std::string DataFolder();

// The SQLite file in the data folder where the engine keeps its cookies.
std::string CookieStoreFile();

// The one web context shared by every view, with its cookies persisted as SQLite
// in the data folder, so that the URL cache and the views see the same store.
WebKitWebContext* Context();
WebKitCookieManager* CookieManager();

// Once the engine runs, makes it take its cookies from the cookie store file afresh
// and keep them there: for tests that go on in the same process with a data folder
// of their own.
void ReopenCookieStore();

// Starts the engine's network process and a web process without waiting for
// either, so that they come up while the program builds its windows. The web
// process is held by a blank page until the first view takes it over.
void StartEngine();

// The blank page started by StartEngine, handed over once (its reference goes to
// the caller), so that a view made related to it runs in the web process that is
// already coming up; nullptr after that, or without StartEngine.
WebKitWebView* TakeStartedPage();

}  // namespace platform::webkit
