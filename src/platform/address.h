#pragma once

#include <string>

namespace platform {

// The address the browser control loads for a text given to Navigate, fixed up
// as the control always did: text without a scheme ("example.com",
// "localhost:8080/page") becomes "http://" + text, an absolute local path a
// "file://" address; any other text is handed on unchanged.
std::string UriForAddress(const std::string& address);

}  // namespace platform
