// Runs the whole program, ViewerMain itself, on the headless backend with a script of what the
// user and the desktop do at given frames.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <GL/gl.h>

#include <map>
#include <string>

#include "app/viewer.h"
#include "app/viewer_globals.h"
#include "platform/subset/headless/headless.h"
#include "scene/scene_state.h"
#include "tests/support/test_pictures.h"

class ViewerRun : public ::testing::Test {
  protected:
    // The program reads its pictures from picture/ under the current directory.
    testpics::PictureFolder pictures;

    // A run that goes on past this many frames or idle looks is stopped by a close request and
    // fails the test: the script did not end the program.
    static constexpr int kWatchdog = 3000;

    void SetUp() override {
        headless::Reset();
        headless::SetScreen(800, 600, 32);
        ResetViewerGlobals();
    }

    void TearDown() override { headless::Reset(); }

    // Actions by frame number and by idle-look number.
    std::map<int, std::function<void()>> atFrame;
    std::map<int, std::function<void()>> atIdle;
    bool watchdogFired = false;

    int Run() {
        headless::OnFrame([this](int frame) {
            if (auto it = atFrame.find(frame); it != atFrame.end()) it->second();
            Watch(frame);
        });
        headless::OnIdle([this](int idle) {
            if (auto it = atIdle.find(idle); it != atIdle.end()) it->second();
            Watch(idle);
        });
        int status = ViewerMain(GetModuleHandleA(nullptr), nullptr, const_cast<char*>(""), SW_SHOW);
        EXPECT_FALSE(watchdogFired) << "the script never ended the program";
        return status;
    }

    static int Count(platform::Call call) { return headless::CallCount(call); }

    // Index of the first call log entry with that name; -1 when none.
    static int IndexOf(const std::string& name) {
        const std::vector<std::string> names = headless::CallNames();
        const auto at = std::find(names.begin(), names.end(), name);
        return at == names.end() ? -1 : static_cast<int>(at - names.begin());
    }

  private:
    void Watch(int n) {
        if (n == kWatchdog && !watchdogFired) {
            watchdogFired = true;
            headless::CloseRequest();
            headless::Post(WM_CLOSE, 0, 0);  // what kiosk mode still honours
        }
    }
};
