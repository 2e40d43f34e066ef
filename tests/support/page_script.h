#pragma once

#include <string>

typedef struct _WebKitWebView WebKitWebView;

namespace testing_support {

// Runs a script in the view's page and gives back its value as text.
std::string EvaluateScript(WebKitWebView* view, const std::string& script);

}  // namespace testing_support
