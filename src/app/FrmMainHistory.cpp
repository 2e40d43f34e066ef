#include <fcntl.h>
#include <glib.h>
#include <unistd.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/Forms.h"
#include "app/State.h"
#include "common/General.h"
#include "common/HtmlText.h"
#include "platform/error.h"

using namespace platform;

namespace {

// Every address line of a day page starts so.
constexpr std::string_view AddressLineStart = "<font face=\"Arial\"><font size=\"1\">";

using DateTime = std::unique_ptr<GDateTime, decltype(&g_date_time_unref)>;
using File = std::unique_ptr<std::FILE, decltype(&std::fclose)>;

DateTime Now() { return DateTime(g_date_time_new_now_local(), &g_date_time_unref); }

std::string TakeGString(gchar* text) {
    const std::unique_ptr<gchar, decltype(&g_free)> owner(text, &g_free);
    return owner ? std::string(owner.get()) : std::string();
}

std::string Format(GDateTime* moment, const char* format) { return TakeGString(g_date_time_format(moment, format)); }

// "07 March 2001.htm": the day page of that date.
std::string DayPageName(GDateTime* day) {
    const auto month = static_cast<std::int16_t>(g_date_time_get_month(day));
    return Format(day, "%d ") + General::GetMonthName(month) + Format(day, " %Y.htm");
}

// The short date form of the user's locale.
std::string ShortDate(GDateTime* day) { return Format(day, "%x"); }

// Hours 0 to 23, minutes and seconds, two digits each.
std::string ClockTime(GDateTime* moment) { return Format(moment, "%H:%M:%S"); }

std::string ReplaceAll(std::string text, std::string_view what, std::string_view with) {
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
    return text;
}

// Lowers the text into lowered, reusing its storage: letters of every script in UTF-8
// text, the ASCII letters of other text.
void LowerCaseInto(std::string_view text, std::string& lowered) {
    const bool ascii = std::all_of(text.begin(), text.end(), [](char ch) { return (ch & 0x80) == 0; });
    if (!ascii && g_utf8_validate_len(text.data(), text.size(), nullptr)) {
        lowered = TakeGString(g_utf8_strdown(text.data(), static_cast<gssize>(text.size())));
        return;
    }
    lowered.assign(text);
    for (char& ch : lowered)
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
}

std::string LowerCase(std::string_view text) {
    std::string lowered;
    LowerCaseInto(text, lowered);
    return lowered;
}

ToolkitError AccessError() { return ToolkitError(errors::PathFileAccessError, "Path/File access error"); }

// The file as a stream when it is a regular file; null otherwise.
File OpenStream(const std::string& path, int flags, const char* mode) {
    const int fd = General::OpenRegularFile(path, flags);
    File file(fd < 0 ? nullptr : fdopen(fd, mode), &std::fclose);
    if (fd >= 0 && !file) close(fd);
    return file;
}

// Appends the text to the file, creating it when missing; false when it cannot be written.
bool Append(const std::string& path, const std::string& text) {
    File file = OpenStream(path, O_WRONLY | O_APPEND | O_CREAT, "ab");
    if (!file) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
    return std::fclose(file.release()) == 0 && written;
}

// Where the address lines of one day page are, for the once-a-day test. The program
// only ever appends to a day page, so once the page has been read, only what was added
// since is read; a page that was replaced or cut short is read again from its start.
class RecordedAddresses {
public:
    // True when the page holds a line equal to the lower-cased address line, letter
    // case ignored. Raises ToolkitError when the page cannot be read.
    bool Contains(const std::string& path, const std::string& lowerAddressLine) {
        File file = OpenStream(path, O_RDONLY, "rb");
        struct stat info {};
        if (!file || fstat(fileno(file.get()), &info) != 0) throw AccessError();
        if (!Continues(path, info, file.get())) StartAgain(path, info);
        if (ReadAddedLines(file.get(), lowerAddressLine)) return true;
        const std::size_t wanted = Hash(lowerAddressLine);
        return std::any_of(lines_.begin(), lines_.end(), [&](const Line& line) {
            return line.hash == wanted && LineAtEquals(file.get(), line.offset, lowerAddressLine);
        });
    }

private:
    // An address line of the page: the hash of its lower-cased text and where it starts.
    struct Line {
        std::size_t hash;
        std::uintmax_t offset;
    };

    // Enough of the page's text before the read position to tell it is the same page.
    static constexpr std::size_t AnchorSize = 64;

    static std::size_t Hash(std::string_view lowered) { return std::hash<std::string_view>{}(lowered); }

    static bool IsAddressLine(std::string_view line) {
        return line.size() >= AddressLineStart.size() &&
               g_ascii_strncasecmp(line.data(), AddressLineStart.data(), AddressLineStart.size()) == 0;
    }

    static std::string_view WithoutCarriageReturn(std::string_view line) {
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        return line;
    }

    static std::string ReadAt(std::FILE* file, std::uintmax_t offset, std::size_t size) {
        std::string text(size, '\0');
        if (fseeko(file, static_cast<off_t>(offset), SEEK_SET) != 0) throw AccessError();
        text.resize(std::fread(text.data(), 1, size, file));
        return text;
    }

    bool Continues(const std::string& path, const struct stat& info, std::FILE* file) const {
        if (path != path_ || info.st_dev != device_ || info.st_ino != inode_) return false;
        if (info.st_size < 0 || static_cast<std::uintmax_t>(info.st_size) < offset_) return false;
        return ReadAt(file, offset_ - anchor_.size(), anchor_.size()) == anchor_;
    }

    void StartAgain(const std::string& path, const struct stat& info) {
        path_ = path;
        device_ = info.st_dev;
        inode_ = info.st_ino;
        offset_ = 0;
        anchor_.clear();
        lines_.clear();
    }

    // Reads the page from the read position to its end and notes its complete address
    // lines. A last line without a line break is compared but not noted, as it may
    // still grow; the next reading starts with it.
    bool ReadAddedLines(std::FILE* file, const std::string& lowerAddressLine) {
        if (fseeko(file, static_cast<off_t>(offset_), SEEK_SET) != 0) throw AccessError();
        std::string line;
        char buffer[65536];
        for (std::size_t count; (count = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
            const char* const end = buffer + count;
            for (const char* from = buffer; from < end;) {
                const auto* lineFeed = static_cast<const char*>(std::memchr(from, '\n', end - from));
                line.append(from, lineFeed ? lineFeed : end);
                if (!lineFeed) break;
                Note(WithoutCarriageReturn(line), offset_);
                offset_ += line.size() + 1;
                line.clear();
                from = lineFeed + 1;
            }
        }
        if (std::ferror(file)) throw AccessError();
        const auto anchorSize = static_cast<std::size_t>(std::min<std::uintmax_t>(offset_, AnchorSize));
        anchor_ = ReadAt(file, offset_ - anchorSize, anchorSize);

        const std::string_view unfinished = WithoutCarriageReturn(line);
        return IsAddressLine(unfinished) && LowerCase(unfinished) == lowerAddressLine;
    }

    void Note(std::string_view line, std::uintmax_t offset) {
        if (!IsAddressLine(line)) return;
        LowerCaseInto(line, lowered_);
        lines_.push_back({Hash(lowered_), offset});
    }

    bool LineAtEquals(std::FILE* file, std::uintmax_t offset, const std::string& lowerAddressLine) {
        if (fseeko(file, static_cast<off_t>(offset), SEEK_SET) != 0) throw AccessError();
        std::string line;
        for (int ch; (ch = std::getc(file)) != EOF && ch != '\n';) line += static_cast<char>(ch);
        if (std::ferror(file)) throw AccessError();
        return LowerCase(WithoutCarriageReturn(line)) == lowerAddressLine;
    }

    std::string path_;
    dev_t device_ = 0;
    ino_t inode_ = 0;
    std::uintmax_t offset_ = 0;  // just after the last complete line read
    std::string anchor_;         // the last bytes before offset_
    std::vector<Line> lines_;
    std::string lowered_;  // kept to spare an allocation for each line
};

RecordedAddresses& TodaysAddresses() {
    static RecordedAddresses addresses;
    return addresses;
}

// A link of the index to one day page, opened in the frame page's frame "date".
std::string IndexEntry(const std::string& dayPage) {
    const std::string linkText = dayPage.substr(0, dayPage.size() - std::min<std::size_t>(4, dayPage.size()));
    return "<a href=\"" + HtmlText::Escape("history/" + dayPage) + "\" target=\"date\">" + HtmlText::Escape(linkText) +
           "</a><br>";
}

}  // namespace

// Titles and addresses are written escaped: a page is free to choose its title, and
// the history pages are local pages that the browser opens. Never raises: a visit that
// cannot be recorded is lost, and the tab and its page-load poll go on undisturbed.
void FrmMain::UpDateHistory(int Index) {
    const DateTime now = Now();
    std::string visitLine;
    std::string addressLine;
    const bool read = Try([&] {
        const std::string address = HtmlText::Escape(WebBrowser1(Index).LocationURL());
        const std::string title = HtmlText::Escape(WebBrowser1(Index).LocationName());
        visitLine = "<font face=\"Arial\"><a href=\"" + address + "\" target=\"_top\">" + title + "</a> at " +
                    ClockTime(now.get()) + "</font><br>";
        addressLine = ReplaceAll(std::string(AddressLineStart) + address + "</font><br>", "%20", " ");
    });
    if (!read) return;

    const std::string folder = DataFile("history");
    const std::string dayPage = folder + "/" + DayPageName(now.get());
    std::string text;
    if (!General::FolderExists(folder)) {
        std::error_code ignored;
        std::filesystem::create_directory(folder, ignored);
    }
    if (!General::FileExists(dayPage)) {
        // Without its head the page is not made, so that it still gets one once the
        // template can be read again; this visit is lost.
        const bool headRead = Try([&] {
            text = ReplaceAll(General::ReadIniBlock(DataFile("History.dat"), "date"), "#date#", ShortDate(now.get()));
        });
        if (!headRead || text.empty()) return;
        text += "\r\n";
    } else {
        bool recorded = false;
        Try([&] { recorded = TodaysAddresses().Contains(dayPage, LowerCase(addressLine)); });
        if (recorded) return;
    }
    // A page that cannot be written loses the visit without a word.
    Append(dayPage, text + visitLine + "\r\n" + addressLine + "\r\n");
}

void FrmMain::OpenHistory() {
    const DateTime now = Now();
    const std::string templates = DataFile("History.dat");
    const std::string framePage = DataFile("history.htm");

    const std::string main = HtmlText::Escape("history/" + DayPageName(now.get()));
    General::WriteWholeFile(framePage, ReplaceAll(General::ReadIniBlock(templates, "history"), "#main#", main) + "\r\n");

    File1.SetPath(DataFile("history"));
    const std::string contents = General::ReadIniBlock(templates, "contents");

    lstSorted.Clear();
    for (int i = 0; i < File1.ListCount(); ++i) lstSorted.AddItem(File1.List(i));

    // Month by month in calendar order; the pages of one month stay in the sorted order.
    std::string list;
    for (std::int16_t month = 1; month <= 12; ++month) {
        const std::string monthName = LowerCase(General::GetMonthName(month));
        for (int i = 0; i < lstSorted.ListCount(); ++i) {
            if (LowerCase(lstSorted.List(i)).find(monthName) != std::string::npos)
                list += "\r\n" + IndexEntry(lstSorted.List(i));
        }
    }
    General::WriteWholeFile(DataFile("contents.htm"), ReplaceAll(contents, "#list#", list) + "\r\n");

    if (HistoryInNewTab == 1)
        AddTab(framePage);
    else
        WebBrowser1(CurrentTab).Navigate(framePage);
}
