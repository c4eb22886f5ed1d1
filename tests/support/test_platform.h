// The programs' windows in the headless host: a platform whose message loop
// returns at once and which records the exit codes it was asked for.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "toolkit/headless/headless_host.h"
#include "toolkit/platform.h"

namespace qh {

class TestPlatform final : public Platform {
public:
    explicit TestPlatform(GraphicsDriver& graphics) : graphics_(graphics) {}
    Host& WindowHost() override { return host; }
    GraphicsDriver& Graphics() override { return graphics_; }
    int RunMessageLoop() override { return 0; }
    void QuitMessageLoop(int exitCode) override { quitCodes.push_back(exitCode); }
    // A test that would wait in a modal box fails unless it answers the box
    // itself: no one else could.
    void RunModalLoop(HostHandle box) override {
        if (answerModal) answerModal(box);
        else ADD_FAILURE() << "a modal box opened in a test";
    }

    headless::HeadlessHost host;
    std::vector<int> quitCodes;
    // Called with the open box in place of waiting; it must close the box.
    std::function<void(HostHandle)> answerModal;

private:
    GraphicsDriver& graphics_;
};

}  // namespace qh
