#include <glib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "app/FrmMain.h"
#include "app/State.h"
#include "dialogs/Dialogs.h"
#include "dialogs/FrmAbout.h"
#include "dialogs_fixture.h"
#include "platform/key_store.h"

namespace {

namespace fs = std::filesystem;

class AboutTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        bin = testing_support::TempRoot() / "bin";
        fs::create_directories(bin);
        fs::create_directories(fs::path(platform::KeyStorePath()).parent_path());
        savedPath = g_getenv("PATH");
        g_setenv("PATH", bin.c_str(), TRUE);
    }
    void TearDown() override {
        g_setenv("PATH", savedPath.c_str(), TRUE);
        DialogTest::TearDown();
    }

    // A program that leaves a mark when it runs.
    fs::path FakeProgram(const fs::path& path) {
        fs::create_directories(path.parent_path());
        std::ofstream(path) << "#!/bin/sh\necho ran > '" << (bin / "ran").string() << "'\n";
        fs::permissions(path, fs::perms::owner_all);
        return path;
    }
    bool Ran() {
        return testing_support::Pump([&] { return fs::exists(bin / "ran"); }, 5000);
    }

    fs::path bin;
    std::string savedPath;
};

TEST_F(AboutTest, SystemInfoStartsTheProgramTheKeyStoreOrThePathNames) {
    const std::string unavailable = "Quellin: System Information Is Unavailable At This Time";
    const fs::path location = testing_support::TempRoot() / "msinfo folder";
    const struct {
        const char* name;
        std::string store;
        std::optional<fs::path> program;
        bool runs;
    } cases[] = {
        {"the first key names the program", "HKEY_LOCAL_MACHINE\tSOFTWARE\\Microsoft\\Shared Tools\\MSINFO\tPATH\t" +
                                                 (testing_support::TempRoot() / "tools" / "sys info").string() + "\n",
         testing_support::TempRoot() / "tools" / "sys info", true},
        {"the first key names a program that is missing",
         "HKEY_LOCAL_MACHINE\tSOFTWARE\\Microsoft\\Shared Tools\\MSINFO\tPATH\t/nowhere/sysinfo\n", std::nullopt, false},
        {"the second key names the folder, letter case aside",
         "# the folder of the program\nhkey_local_machine\tsoftware\\microsoft\\shared tools location\tmsinfo\t" +
             location.string() + "\r\n",
         location / "MSINFO32.EXE", true},
        {"the second key names a folder without the program",
         "HKEY_LOCAL_MACHINE\tSOFTWARE\\Microsoft\\Shared Tools Location\tMSINFO\t/nowhere\n", std::nullopt, false},
        {"no key, a system-information program on the path", "", bin / "gnome-system-monitor", true},
        {"no key and none on the path", "", std::nullopt, false},
    };
    Start();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        messages.clear();
        fs::remove_all(bin);
        fs::create_directories(bin);
        std::ofstream(platform::KeyStorePath()) << c.store;
        if (c.program) FakeProgram(*c.program);
        Press(frmAbout->cmdSysInfo);
        if (c.runs) {
            EXPECT_TRUE(Ran());
            EXPECT_TRUE(messages.empty());
        } else {
            EXPECT_EQ(messages, std::vector<std::string>{unavailable});
        }
        EXPECT_TRUE(frmAbout.Loaded()) << "the about box stays open";
        if (c.program) fs::remove(*c.program);
    }
    fs::remove(platform::KeyStorePath());
}

TEST_F(AboutTest, GetKeyValueReadsStringsAndAnswersFalseForWhatIsMissing) {
    std::ofstream(platform::KeyStorePath()) << "HKEY_LOCAL_MACHINE\tSOFTWARE\\A\tv\tfirst\n"
                                               "HKEY_LOCAL_MACHINE\tSOFTWARE\\A\tv\tlast\n"
                                               "HKEY_CURRENT_USER\tSOFTWARE\\B\tv\tuser\n"
                                               "HKEY_LOCAL_MACHINE\tbroken line\n";
    Start();
    std::string value = "old";
    EXPECT_TRUE(frmAbout->GetKeyValue(platform::HKEY_LOCAL_MACHINE, "software\\a", "V", value));
    EXPECT_EQ(value, "last");
    EXPECT_FALSE(frmAbout->GetKeyValue(platform::HKEY_LOCAL_MACHINE, "SOFTWARE\\B", "v", value));
    EXPECT_EQ(value, "");
    EXPECT_FALSE(frmAbout->GetKeyValue(platform::HKEY_LOCAL_MACHINE, "broken line", "", value));
    fs::remove(platform::KeyStorePath());
}

TEST_F(AboutTest, TheAddressLabelsOpenANewTabOrMailFromTheCurrentOne) {
    Start();
    EXPECT_EQ(frmAbout->Caption(), "About Quellin");
    frmAbout->Label4.Click();
    EXPECT_FALSE(frmAbout.Loaded());
    EXPECT_EQ(frmMain->WebBrowser1.UBound(), 1);
    EXPECT_EQ(CurrentTab, 1);
    EXPECT_EQ(Browser(1).Recorded().navigations, std::vector<std::string>{"http://quellin.example.org/"});

    frmAbout->Label5.Click();
    EXPECT_FALSE(frmAbout.Loaded());
    EXPECT_EQ(Browser(1).Recorded().navigations.back(), "mailto:quellin@example.org");
}

}  // namespace
