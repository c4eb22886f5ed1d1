// The runtime's own command-line splitting, shared by both programs and used
// by the POSIX process start so that a command line means the same thing on
// every platform.
#pragma once

#include <vector>

#include "runtime/text.h"

namespace qh {

struct CommandLineParts {
    Text program;                 // without its quotes
    std::vector<Text> arguments;  // without their quotes
    // Everything after the program name, quotes kept, without the
    // separators before it: what a start that takes the program and its
    // parameters apart (the Windows shell) passes on unchanged.
    Text parameters;
};

// The program name runs to its closing double quote when it starts with one,
// else to the first space. Arguments are separated by runs of bytes below
// '!' (space and control characters) outside double quotes, which are taken
// away. As on Windows, backslashes before a double quote escape: 2n of them
// stand for n, 2n + 1 for n and a quote character; backslashes elsewhere are
// taken as they are. A byte above 0x7F takes the following byte along.
CommandLineParts SplitCommandLine(const Text& commandLine);

// Quotes a text for a command line as one argument that SplitCommandLine
// (and Windows) reads back unchanged, whatever quotes, backslashes or
// spaces it holds. A program name cannot hold a quote.
Text QuotedPath(const Text& path);

// The command line of a program (quoted) and its parameters (as written):
// the one-text form of a start that takes them apart.
Text ProgramCommandLine(const Text& program, const Text& parameters);

}  // namespace qh
