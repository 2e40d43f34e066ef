#include <fcntl.h>
#include <glib.h>
#include <unistd.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/Forms.h"
#include "app/FrmMain.h"
#include "app/State.h"
#include "common/General.h"
#include "common/HtmlText.h"
#include "common/RecordedAddresses.h"
#include "platform/error.h"
#include "platform/glib_ptr.h"

using namespace platform;

namespace {

using DateTime = std::unique_ptr<GDateTime, decltype(&g_date_time_unref)>;
using File = std::unique_ptr<std::FILE, decltype(&std::fclose)>;

std::optional<std::int64_t> nowForTesting;

DateTime Now() {
    if (nowForTesting) return DateTime(g_date_time_new_from_unix_local(*nowForTesting), &g_date_time_unref);
    return DateTime(g_date_time_new_now_local(), &g_date_time_unref);
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
        Try([&] { recorded = TodaysAddresses().Contains(dayPage, General::LowerCase(addressLine)); });
        if (recorded) return;
    }
    // A page that cannot be written loses the visit without a word.
    Append(dayPage, text + visitLine + "\r\n" + addressLine + "\r\n");
}

void FrmMain::SetHistoryNowForTesting(std::optional<std::int64_t> UnixSeconds) { nowForTesting = UnixSeconds; }

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
        const std::string monthName = General::LowerCase(General::GetMonthName(month));
        for (int i = 0; i < lstSorted.ListCount(); ++i) {
            if (General::LowerCase(lstSorted.List(i)).find(monthName) != std::string::npos)
                list += "\r\n" + IndexEntry(lstSorted.List(i));
        }
    }
    General::WriteWholeFile(DataFile("contents.htm"), ReplaceAll(contents, "#list#", list) + "\r\n");

    if (Settings.HistoryInNewTab == 1)
        AddTab(framePage);
    else
        WebBrowser1(CurrentTab).Navigate(framePage);
}
