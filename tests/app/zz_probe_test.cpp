#include "program_fixture.h"
#include <gdk/gdk.h>
#include "platform/screen.h"
TEST_F(ProgramTest, ZzProbe) {
    platform::SetWorkAreaForTesting({0, 0, 1280, 800});
    std::filesystem::create_directories(folder / "skins");
    std::filesystem::copy("/work/main/build/skins/Amber", folder / "skins/Amber", std::filesystem::copy_options::recursive);
    if (getenv("AMBER")) WriteFile("browser.ini", "[Skin]\r\nskins\\Amber\r\n");
    Start("about:blank");
    frmMain->Move(1500, 1500);
    frmMain->SetWidth(12750); frmMain->SetHeight(8250);
    testing_support::PumpFor(400);
    GdkPixbuf* shot = gdk_pixbuf_get_from_window(gdk_get_default_root_window(), 0, 0, 1280, 800);
    gdk_pixbuf_save(shot, getenv("AMBER") ? "/tmp/shots/after_amber.png" : "/tmp/shots/after_builtin.png", "png", nullptr, nullptr);
}
