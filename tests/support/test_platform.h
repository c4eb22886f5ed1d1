// The programs' windows in the headless host: a platform whose message loop
// returns at once and which records the exit codes it was asked for.
#pragma once

#include <gtest/gtest.h>

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
    // A test that would wait in a modal box fails: no one could answer it.
    void RunModalLoop(HostHandle) override { ADD_FAILURE() << "a modal box opened in a test"; }

    headless::HeadlessHost host;
    std::vector<int> quitCodes;

private:
    GraphicsDriver& graphics_;
};

}  // namespace qh
