#include <gtest/gtest.h>
#include <glib.h>
#include <glibmm/main.h>
#include <gtkmm/entry.h>
#include <gtkmm/filechooserdialog.h>
#include <gtkmm/messagedialog.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "platform/webkit/download_window.h"
#include "platform/webkit/webkit_download.h"
#include "platform/webkit/webkit_view.h"
#include "soup_server.h"
#include "test_support.h"

using namespace platform;
using testing_support::Pump;
using testing_support::TestServer;
namespace fs = std::filesystem;

namespace {

std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

template <typename T>
T* Showing() {
    for (Gtk::Window* window : Gtk::Window::list_toplevels())
        if (auto* found = dynamic_cast<T*>(window); found && found->get_visible()) return found;
    return nullptr;
}

// Download windows still alive, shown or not.
int DownloadWindows() {
    int count = 0;
    for (Gtk::Window* window : Gtk::Window::list_toplevels()) count += dynamic_cast<DownloadWindow*>(window) ? 1 : 0;
    return count;
}

// The entry of the chooser where a person types the name or the whole path.
Gtk::Entry* NameEntry(Gtk::Widget& widget) {
    if (auto* entry = dynamic_cast<Gtk::Entry*>(&widget); entry && entry->get_visible()) return entry;
    if (auto* container = dynamic_cast<Gtk::Container*>(&widget))
        for (Gtk::Widget* child : container->get_children())
            if (Gtk::Entry* entry = NameEntry(*child)) return entry;
    return nullptr;
}

// A link to a file that the server hands over as an attachment.
class DownloadE2eTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestServer::Page file;
        file.body = "the report's contents\n";
        file.contentType = "text/plain";
        file.headers = {{"Content-Disposition", "attachment; filename=\"report.txt\""}};
        server.Add("/report", file);
        fs::create_directories(folder);
    }

    // Follows the link, waits for the chooser, and notes what it proposes.
    Gtk::FileChooserDialog& StartDownload() {
        view.Navigate(server.Url("/report"));
        Gtk::FileChooserDialog* chooser = nullptr;
        EXPECT_TRUE(Pump([&] { return (chooser = Showing<Gtk::FileChooserDialog>()) != nullptr; }))
            << "nobody was asked where to save";
        proposedName = chooser->get_current_name();
        // The chooser reads its folder after it is shown.
        Pump([&] { return !(proposedFolder = chooser->get_current_folder()).empty(); });
        return *chooser;
    }

    // Types the path into the chooser's name field and presses Enter.
    static void TypeAndEnter(Gtk::FileChooserDialog& chooser, const fs::path& path) {
        Gtk::Entry* entry = NameEntry(chooser);
        ASSERT_NE(entry, nullptr);
        entry->set_text(path.string());
        entry->activate();
    }

    DownloadWindow* Window() { return Showing<DownloadWindow>(); }

    // The chooser asks about an existing file in a nested loop: the answer is
    // given from inside it, and the question counted.
    void AnswerReplaceQuestionWith(int response) {
        Glib::signal_timeout().connect([this, response] {
            auto* question = Showing<Gtk::MessageDialog>();
            if (!question) return true;
            ++replaceQuestions;
            question->response(response);
            return false;
        }, 50);
    }

    int replaceQuestions = 0;

    TestServer server;
    WebKitView view;
    const fs::path folder = testing_support::TempRoot() / "chosen";
    std::string proposedName;
    std::string proposedFolder;
};

TEST_F(DownloadE2eTest, TheChooserProposesTheNameAndTheFileArrivesWhereChosen) {
    Gtk::FileChooserDialog& chooser = StartDownload();
    EXPECT_EQ(proposedName, "report.txt");
    EXPECT_EQ(proposedFolder, webkit::DownloadFolder());

    TypeAndEnter(chooser, folder / "kept.txt");
    ASSERT_TRUE(Pump([&] { return Window() && Window()->Status() == "Done"; })) << "the download did not end";
    EXPECT_EQ(Contents(folder / "kept.txt"), "the report's contents\n");
    Window()->ActionButton().clicked();
    EXPECT_EQ(Window(), nullptr);
}

TEST_F(DownloadE2eTest, AnExistingFileIsReplacedOnlyWhenTheUserConfirms) {
    const fs::path existing = folder / "earlier.txt";
    std::ofstream(existing) << "an earlier copy\n";

    Gtk::FileChooserDialog& chooser = StartDownload();
    AnswerReplaceQuestionWith(Gtk::RESPONSE_CANCEL);
    TypeAndEnter(chooser, existing);
    testing_support::PumpFor(300);
    EXPECT_EQ(replaceQuestions, 1) << "the existing file was not asked about";
    EXPECT_EQ(Contents(existing), "an earlier copy\n");
    EXPECT_EQ(Window(), nullptr);

    // Asked again, the user replaces it.
    AnswerReplaceQuestionWith(Gtk::RESPONSE_ACCEPT);
    TypeAndEnter(chooser, existing);
    ASSERT_TRUE(Pump([&] { return Window() && Window()->Status() == "Done"; }));
    EXPECT_EQ(replaceQuestions, 2);
    EXPECT_EQ(Contents(existing), "the report's contents\n");
}

// A download under way stops when its window's button cancels it, or when the window
// is closed; the part already written goes.
TEST_F(DownloadE2eTest, ADownloadUnderWayStoppedFromItsWindowLeavesNothingBehind) {
    TestServer::Page slow;
    slow.body = std::string(1 << 20, 'x');
    slow.contentType = "application/octet-stream";
    slow.headers = {{"Content-Disposition", "attachment; filename=\"big.bin\""}};
    slow.stallAfterBytes = 64 << 10;
    server.Add("/report", slow);

    for (const bool byClosing : {false, true}) {
        SCOPED_TRACE(byClosing ? "window closed" : "button clicked");
        const fs::path part = folder / (byClosing ? "closed.bin" : "cancelled.bin");
        TypeAndEnter(StartDownload(), part);
        ASSERT_TRUE(Pump([&] { return Window() && Window()->Status().ends_with(" received"); }))
            << "the download never showed progress";
        EXPECT_TRUE(fs::exists(part));
        if (byClosing) {
            gtk_window_close(Window()->gobj());
            ASSERT_TRUE(Pump([&] { return !Window() && !fs::exists(part); })) << "the download went on";
        } else {
            Window()->ActionButton().clicked();
            ASSERT_TRUE(Pump([&] { return Window() && Window()->Status() == "Cancelled"; })) << "the download went on";
            Window()->ActionButton().clicked();
            EXPECT_EQ(Window(), nullptr);
        }
        EXPECT_TRUE(fs::is_empty(folder));
        EXPECT_TRUE(Pump([] { return DownloadWindows() == 0; })) << "the stopped download was never let go";
    }
}

TEST_F(DownloadE2eTest, CancelInTheChooserLeavesNothingBehind) {
    Gtk::FileChooserDialog& chooser = StartDownload();
    chooser.response(Gtk::RESPONSE_CANCEL);
    testing_support::PumpFor(500);
    EXPECT_EQ(Window(), nullptr);
    EXPECT_TRUE(fs::is_empty(folder));
    EXPECT_FALSE(fs::exists(fs::path(webkit::DownloadFolder()) / "report.txt"));
}

}  // namespace
