// The calculator's windows in the headless host: a platform whose message
// loop returns at once and which records the exit codes it was asked for.
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
    // The calculator opens no modal box; a test that would reach one fails.
    void RunModalLoop(HostHandle) override { ADD_FAILURE() << "no modal loop in the calculator's tests"; }

    headless::HeadlessHost host;
    std::vector<int> quitCodes;

private:
    GraphicsDriver& graphics_;
};

}  // namespace qh
