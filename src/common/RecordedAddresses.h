#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

// Every address line of a history day page starts so.
inline constexpr std::string_view AddressLineStart = "<font face=\"Arial\"><font size=\"1\">";

// Where the address lines of one day page are, for the once-a-day test. The program
// only ever appends to a day page, so once the page has been read, only what was added
// since is read; a page that was replaced or cut short is read again from its start.
class RecordedAddresses {
public:
    // True when the page holds a line equal to the lower-cased address line, letter
    // case ignored. Raises ToolkitError when the page cannot be read.
    bool Contains(const std::string& path, const std::string& lowerAddressLine);

private:
    // An address line of the page: the hash of its lower-cased text and where it starts.
    struct Line {
        std::size_t hash;
        std::uintmax_t offset;
    };

    bool Continues(const std::string& path, const struct stat& info, std::FILE* file) const;
    void StartAgain(const std::string& path, const struct stat& info);
    // Reads the page from the read position to its end and notes its complete address
    // lines. A last line without a line break is compared but not noted, as it may
    // still grow; the next reading starts with it.
    bool ReadAddedLines(std::FILE* file, const std::string& lowerAddressLine);
    void Note(std::string_view line, std::uintmax_t offset);
    bool LineAtEquals(std::FILE* file, std::uintmax_t offset, const std::string& lowerAddressLine);

    std::string path_;
    dev_t device_ = 0;
    ino_t inode_ = 0;
    std::uintmax_t offset_ = 0;  // just after the last complete line read
    std::string anchor_;         // the last bytes before offset_
    std::vector<Line> lines_;
    std::string lowered_;  // kept to spare an allocation for each line
};
