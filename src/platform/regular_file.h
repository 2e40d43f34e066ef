#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Opens the path for the open(2) flags only when it names a regular file: a
// folder, a FIFO or a device never blocks the program and reads as missing.
// Returns the descriptor, or -1 with errno set (ENOENT for what is no regular file).
int OpenRegularFile(const std::string& path, int flags);

// The whole of a small file of a known shape: nothing when the path names no
// regular file, when it cannot be read, or when it holds more than maxBytes (no
// more than maxBytes + 1 bytes are ever read).
std::optional<std::string> ReadSmallFile(const std::string& path, std::size_t maxBytes);

// The lines of a text file's content: a line ends at CR LF, LF or a lone CR, and a
// leading UTF-8 byte-order mark is no part of the text. Bytes are kept as they are.
std::vector<std::string> TextLines(std::string_view text);

}  // namespace platform
