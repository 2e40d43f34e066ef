#pragma once

#include <cstdint>
#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/whole_file.h"

// Shared helpers: the section-file readers, string and file procedures.
//
// A section file holds key lines (a key in square brackets, the whole line, letter
// case ignored, nothing trimmed), each followed by one value line or by a block of
// lines closed by a line "[end]". Text is UTF-8 kept as bytes, so that text in
// another encoding goes through a read and a write unchanged.
namespace General {

// Opens the path for the open(2) flags only when it names a regular file: a
// folder, a FIFO or a device never blocks the program and reads as missing.
// Returns the descriptor, or -1 with errno set (ENOENT for what is no regular file).
int OpenRegularFile(const std::string& path, int flags);

// Reads a text file line by line, the way the program's file procedures read. A line
// ends at CR LF, LF or a lone CR; a leading UTF-8 byte-order mark is no part of the text.
// Opening raises FileNotFound (53) for a missing file or one that is no regular file,
// and "Path/File access error" (75) when it cannot be read.
class LineReader {
public:
    explicit LineReader(const std::string& fileName);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // True when every line has been read.
    bool AtEnd();
    // The next line without its line ending, bytes as they stand in the file; raises
    // InputPastEndOfFile (62) when there is none and error 75 when the file cannot be read.
    std::string ReadLine();

private:
    // Reads more of the file into the buffer; false at the end of the file.
    bool Fill();

    int fd_;
    std::string buffer_;
    std::size_t position_ = 0;
    bool endOfFile_ = false;
};

// The value line after the last key line for the key, or "". Never raises: a missing or
// unreadable file, and a key line that is the file's last line, give "".
std::string ReadIni(const std::string& fileName, const std::string& key);

// The last block under the key, its lines joined with CR LF, or "" when the key is absent.
// The first line after the key line always belongs to the block; the block ends at a
// line "[end]". Raises like LineReader: FileNotFound (53) for a missing file,
// InputPastEndOfFile (62) for a block that runs to the end of the file.
std::string ReadIniBlock(const std::string& fileName, const std::string& key);

// The text with its letters lowered: letters of every script in UTF-8 text, only
// the ASCII letters in text that is no valid UTF-8 (or is plain ASCII).
std::string LowerCase(std::string_view text);
// The same into lowered, reusing its storage: for a caller lowering line after line.
void LowerCaseInto(std::string_view text, std::string& lowered);

// The characters of the text in reverse order (UTF-8 characters stay whole).
std::string ReverseString(const std::string& text);

// The text on one line, for a file that keeps one value a line: every line break
// (CR LF, LF or a lone CR) becomes the replacement.
std::string OnOneLine(const std::string& text, const std::string& lineBreakBecomes);

// Reads a list file, one entry a line, into the lines. No file is an empty list, which
// the program may write. False when something is there under that name that could not
// be read (no permission, a folder, a FIFO): the lines read before the failure are kept,
// and the file is not the program's to write over.
bool ReadListFile(const std::string& path, std::vector<std::string>& lines);

// The part of a path after its last "\" or "/" ("" when it ends in one).
// Raises InvalidProcedureCall (5) when the path holds neither.
std::string GetFileName(const std::string& path);

// The one way every file of the program is written whole (see platform/whole_file.h):
// atomically, through symbolic links, keeping its permissions, never over a read-only file.
using platform::WriteWholeFile;

// A folder whose entries are found by name as on the desktop that skins were made
// for: letter case ignored, an exact match first.
class FolderIgnoringCase {
public:
    explicit FolderIgnoringCase(std::string folder);
    // The path of the entry with that name; with none, of the entry whose name differs
    // in letter case alone (the first in byte order); with none either, the path that
    // the name makes.
    std::string PathOf(const std::string& name) const;

private:
    std::string folder_;
    std::set<std::string> names_;
    std::map<std::string, std::string> byFoldedName_;
};

// True when the path names an existing file (a folder is no file), or an existing folder.
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

// "January" to "December" for 1 to 12; "January" for any other value.
std::string GetMonthName(std::int16_t month);

}  // namespace General
