#include "runtime/command_line.h"

namespace qh {
namespace {

bool IsSeparator(char c) { return static_cast<unsigned char>(c) < '!'; }

// Reads one argument from line at i, leaving i after it. Double quotes
// switch between quoted and plain text and are dropped; a run of n
// backslashes before a double quote stands for n / 2 backslashes, and when n
// is odd the quote is a quote character of the argument. Other backslashes
// are taken as they are, so that Windows paths need no escaping.
Text ReadArgument(const Text& line, size_t& i) {
    Text argument;
    bool quoted = false;
    while (i < line.size() && (quoted || !IsSeparator(line[i]))) {
        if (IsLeadByte(static_cast<unsigned char>(line[i])) && i + 1 < line.size()) {
            argument += line.substr(i, 2);
            i += 2;
            continue;
        }
        size_t backslashes = 0;
        while (i < line.size() && line[i] == '\\') {
            ++backslashes;
            ++i;
        }
        if (i < line.size() && line[i] == '"') {
            argument.append(backslashes / 2, '\\');
            if (backslashes % 2 == 1) {
                argument.push_back('"');
            } else {
                quoted = !quoted;
            }
            ++i;
        } else if (backslashes > 0) {
            argument.append(backslashes, '\\');
        } else {
            argument.push_back(line[i++]);
        }
    }
    return argument;
}

}  // namespace

CommandLineParts SplitCommandLine(const Text& line) {
    CommandLineParts parts;
    size_t i = 0;
    if (!line.empty() && line[0] == '"') {
        const size_t close = line.find('"', 1);
        parts.program = line.substr(1, close == Text::npos ? Text::npos : close - 1);
        i = close == Text::npos ? line.size() : close + 1;
    } else {
        const size_t space = line.find(' ');
        parts.program = line.substr(0, space);
        i = space == Text::npos ? line.size() : space;
    }

    size_t first = i;
    while (first < line.size() && IsSeparator(line[first])) ++first;
    parts.parameters = line.substr(first);
    while (i < line.size()) {
        while (i < line.size() && IsSeparator(line[i])) ++i;
        if (i >= line.size()) break;
        parts.arguments.push_back(ReadArgument(line, i));
    }
    return parts;
}

// The reverse of ReadArgument: a quote in the text is escaped, and so is a
// run of backslashes that a quote follows, the closing one included.
Text QuotedPath(const Text& path) {
    Text quoted = "\"";
    size_t backslashes = 0;
    for (size_t i = 0; i < path.size(); ++i) {
        const char c = path[i];
        if (IsLeadByte(static_cast<unsigned char>(c)) && i + 1 < path.size()) {
            quoted += path.substr(i++, 2);
            backslashes = 0;
            continue;
        }
        if (c == '"') {
            quoted.append(backslashes + 1, '\\');
        }
        backslashes = c == '\\' ? backslashes + 1 : 0;
        quoted.push_back(c);
    }
    quoted.append(backslashes, '\\');
    return quoted + "\"";
}

Text ProgramCommandLine(const Text& program, const Text& parameters) {
    return parameters.empty() ? QuotedPath(program) : QuotedPath(program) + " " + parameters;
}

}  // namespace qh
