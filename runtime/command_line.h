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
// '!' (space and control characters); an argument that begins with a double
// quote runs to the next double quote and is taken without the quotes; a byte
// above 0x7F takes the following byte along.
CommandLineParts SplitCommandLine(const Text& commandLine);

// Quotes a path for a command line, so that a path with spaces stays one
// argument and is never read as a shorter program name.
Text QuotedPath(const Text& path);

// The command line of a program (quoted) and its parameters (as written):
// the one-text form of a start that takes them apart.
Text ProgramCommandLine(const Text& program, const Text& parameters);

}  // namespace qh
