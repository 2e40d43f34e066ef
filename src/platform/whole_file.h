#pragma once

#include <string>

namespace platform {

// Replaces a file with the text in one step: the text goes to a temporary file beside
// it, which is then renamed over it, so a failed write leaves the old file whole.
// A symbolic link is written through: the file it leads to is replaced and the link
// stays. The replacement keeps the old file's permissions. A file that cannot be
// opened for writing, or that nobody may write (read-only), is not replaced, and
// neither is anything under that name that is no regular file.
// Raises PathNotFound (76) when the folder is missing, "Path/File access error" (75)
// with the reason for any other failure.
void WriteWholeFile(const std::string& path, const std::string& text);

}  // namespace platform
