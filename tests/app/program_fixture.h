#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/Forms.h"
#include "app/FrmMain.h"
#include "app/FrmSplash.h"
#include "browser_double.h"
#include "memory_url_cache.h"
#include "platform/app.h"
#include "platform/url_cache.h"
#include "test_support.h"

// Starts the program's windows inside the test process: a program folder of its
// own, browser doubles instead of the engine and an in-memory URL cache.
class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = testing_support::TempRoot() / "program";
        std::filesystem::create_directories(folder);
        platform::SetAppPathForTesting(folder.string());
        platform::SetBrowserViewFactory([this] {
            auto view = std::make_unique<platform::BrowserDouble>();
            browsers.push_back(view.get());
            return view;
        });
        auto cache = std::make_unique<platform::MemoryUrlCache>();
        urlCache = cache.get();
        platform::SetUrlCache(std::move(cache));
        platform::SetEndAction([this] { ++endCalls; });
    }

    void WriteFile(const std::string& name, const std::string& text) {
        std::ofstream(folder / name, std::ios::binary) << text;
    }

    std::string ReadFile(const std::string& name) {
        std::ifstream in(folder / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // Runs the start-up as the program does: the splash window is the start object.
    void Start(const std::string& command = "") {
        platform::SetCommandForTesting(command);
        frmSplash.Get();
    }

    platform::BrowserDouble& Browser(int index) {
        return static_cast<platform::BrowserDouble&>(frmMain->WebBrowser1(index).View());
    }

    std::filesystem::path folder;
    std::vector<platform::BrowserDouble*> browsers;
    platform::MemoryUrlCache* urlCache = nullptr;
    int endCalls = 0;
};
