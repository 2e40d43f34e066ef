#pragma once

namespace platform::webkit {

// Teaches the shared web context the address "view-source:" followed by the
// address of the page a view shows: the view then shows that page's source text.
// Only the page the view is showing is served, from the engine's own copy, so
// nothing is fetched again and no other page or file can be read this way.
void RegisterViewSourceScheme();

}  // namespace platform::webkit
