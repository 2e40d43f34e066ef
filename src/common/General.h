#pragma once

#include <cstdint>
#include <fstream>
#include <string>

// Shared helpers: the section-file readers, string and file procedures.
//
// A section file holds key lines (a key in square brackets, the whole line, letter
// case ignored, nothing trimmed), each followed by one value line or by a block of
// lines closed by a line "[end]". Text is UTF-8 kept as bytes; a line ends at LF,
// and a CR right before it is no part of the line.
namespace General {

// Reads a text file line by line, the way the program's file procedures read.
// Opening raises FileNotFound (53) for a missing file and "Path/File access
// error" (75) when it cannot be read.
class LineReader {
public:
    explicit LineReader(const std::string& fileName);

    // True when every line has been read.
    bool AtEnd();
    // The next line without its line ending; raises InputPastEndOfFile (62)
    // when there is none and error 75 when the file cannot be read.
    std::string ReadLine();
    // The next line as text for the controls: bytes that are no UTF-8 become U+FFFD.
    std::string ReadTextLine();

private:
    std::ifstream stream_;
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
std::string LowerCase(const std::string& text);

// The characters of the text in reverse order (UTF-8 characters stay whole).
std::string ReverseString(const std::string& text);

// The part of a backslash path after its last "\" ("" when it ends in "\").
// Raises InvalidProcedureCall (5) when the path holds no "\".
std::string GetFileName(const std::string& path);

// True when the path names an existing file (a folder is no file), or an existing folder.
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

// "January" to "December" for 1 to 12; "January" for any other value.
std::string GetMonthName(std::int16_t month);

}  // namespace General
