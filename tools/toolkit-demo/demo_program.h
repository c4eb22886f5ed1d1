// The toolkit demo as a program that runs on any platform it is given: its
// own main (a real window) and the UI driver (a headless one) both run it.
//   toolkit-demo            shows the demo window until it is closed
//   toolkit-demo --notify   asks every running demo window to quit (message
//                           1024) and prints how many it found
//   toolkit-demo --find     only counts them
//   toolkit-demo --gallery  shows one control of every kind instead
//   toolkit-demo --states   shows every kind in every visual state
#pragma once

#include <string>
#include <vector>

#include "toolkit/platform.h"

namespace qh {

// Runs the demo on platform; args are the command line after the program
// name. Returns the program's exit code.
int RunToolkitDemo(Platform& platform, const std::vector<std::string>& args);

}  // namespace qh
