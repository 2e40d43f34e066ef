#include "page_script.h"

#include <webkit2/webkit2.h>

#include <memory>

#include "test_support.h"

namespace testing_support {

std::string EvaluateScript(WebKitWebView* view, const std::string& script) {
    struct Outcome {
        bool done = false;
        std::string value;
    };
    auto outcome = std::make_shared<Outcome>();
    webkit_web_view_evaluate_javascript(
        view, script.c_str(), -1, nullptr, nullptr, nullptr,
        [](GObject* source, GAsyncResult* result, gpointer data) {
            std::unique_ptr<std::shared_ptr<Outcome>> held(static_cast<std::shared_ptr<Outcome>*>(data));
            if (JSCValue* value = webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source), result, nullptr)) {
                gchar* text = jsc_value_to_string(value);
                (*held)->value = text;
                g_free(text);
                g_object_unref(value);
            }
            (*held)->done = true;
        },
        new std::shared_ptr<Outcome>(outcome));
    Pump([&] { return outcome->done; });
    return outcome->value;
}

}  // namespace testing_support
