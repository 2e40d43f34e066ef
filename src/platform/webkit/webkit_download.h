#pragma once

typedef struct _WebKitWebContext WebKitWebContext;

namespace platform::webkit {

// Every download of the context's views asks with the file chooser where to save,
// proposing the suggested name in the desktop's download folder; replaces an
// existing file only when the user confirmed it; is followed in a window of its
// own; and, when cancelled or failed, leaves no partial file behind.
void HandleDownloads(WebKitWebContext* context);

// The folder the chooser opens in: the desktop's download folder, else the home folder.
const char* DownloadFolder();

}  // namespace platform::webkit
