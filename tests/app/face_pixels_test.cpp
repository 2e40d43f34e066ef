#include <gdk-pixbuf/gdk-pixbuf.h>
#include <gdk/gdk.h>

#include <filesystem>

#include "program_fixture.h"
#include "app/State.h"
#include "platform/screen.h"

using namespace platform;

namespace {
void Save(platform::Form& form, const std::string& name) {
    form.Refresh();
    testing_support::PumpFor(300);
    GdkWindow* root = gdk_get_default_root_window();
    GdkPixbuf* shot = gdk_pixbuf_get_from_window(root, 0, 0, gdk_window_get_width(root), gdk_window_get_height(root));
    gdk_pixbuf_save(shot, ("/tmp/shots/" + name + ".png").c_str(), "png", nullptr, nullptr);
    g_object_unref(shot);
}
}  // namespace

TEST_F(ProgramTest, ScratchShots) {
    SetWorkAreaForTesting({0, 0, 1280, 800});
    std::filesystem::copy(std::filesystem::path(std::getenv("QUELLIN_BINARY")).parent_path() / "skins",
                          folder / "skins", std::filesystem::copy_options::recursive);
    if (std::getenv("SHOT_AMBER")) WriteFile("browser.ini", "[Skin]\r\nskins\\Amber\r\n");
    Start("about:blank");
    const std::string prefix = std::getenv("SHOT_AMBER") ? "amber" : "builtin";
    frmMain->Move(150, 150);
    frmMain->SetWidth(1);
    frmMain->SetHeight(1);
    Save(frmMain.Get(), prefix + "_min");
    frmMain->SetWidth(12750);
    frmMain->SetHeight(8250);
    Save(frmMain.Get(), prefix + "_mid");
    frmMain->MaxiWindow();
    Save(frmMain.Get(), prefix + "_max");
}
