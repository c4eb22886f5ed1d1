// What a command-line tool of the project prints and the status it ends
// with, and the one way every tool hands it to the platform.
#pragma once

#include <vector>

#include "runtime/system.h"
#include "runtime/text.h"

namespace qh {

struct ToolOutput {
    Text out;    // GBK; written as UTF-8, or as Unicode to a Windows console
    Text error;
    int status = 0;
    std::string bytes = {};  // written after out as they are (a file's contents)
};

using TextTool = ToolOutput (*)(const std::vector<Text>& arguments);
using PathTool = ToolOutput (*)(const std::vector<ToolArgument>& arguments);

// Starts the runtime, runs the tool on its arguments (program name left
// out), writes what it printed and ends through the runtime's exit path with
// its status. A text tool sees its arguments as GBK texts; a path tool also
// sees whether each text is exact, and each argument as the system's path.
[[noreturn]] void RunTool(int argc, char** argv, TextTool tool);
[[noreturn]] void RunTool(int argc, char** argv, PathTool tool);

// A GBK path text as a file-system path ("\" between levels is a separator
// on every platform, as in every other path of the programs), and back; a
// character that GBK cannot hold becomes '?' on the way back.
std::filesystem::path PathOfText(const Text& text);
Text TextOfPath(const std::filesystem::path& path);

// A name or path from outside as it may be shown on the operator's
// terminal: every control character (line breaks, escape, carriage return,
// delete) is written as \xHH, so it cannot move the cursor, rewrite a line
// or play with the terminal. A GBK character never holds such a byte.
Text Shown(const Text& text);

// An argument given as a GBK text, as a test or another tool passes it:
// the path is the text's file-system form.
ToolArgument ArgumentOfText(const Text& text);

}  // namespace qh
