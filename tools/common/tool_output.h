// What a command-line tool of the project prints and the status it ends
// with, and the one way every tool hands it to the platform.
#pragma once

#include <vector>

#include "runtime/text.h"

namespace qh {

struct ToolOutput {
    Text out;    // GBK; written as UTF-8, or as Unicode to a Windows console
    Text error;
    int status = 0;
};

// Starts the runtime, runs the tool on its arguments (GBK, program name
// left out), writes what it printed and ends through the runtime's exit path
// with its status.
[[noreturn]] void RunTool(int argc, char** argv, ToolOutput (*tool)(const std::vector<Text>& arguments));

}  // namespace qh
