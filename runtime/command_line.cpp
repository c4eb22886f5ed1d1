#include "runtime/command_line.h"

namespace qh {

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

    const auto separator = [&](size_t k) { return static_cast<unsigned char>(line[k]) < '!'; };
    size_t first = i;
    while (first < line.size() && separator(first)) ++first;
    parts.parameters = line.substr(first);
    while (i < line.size()) {
        while (i < line.size() && separator(i)) ++i;
        if (i >= line.size()) break;
        Text argument;
        if (line[i] == '"') {
            ++i;
            while (i < line.size() && line[i] != '"') {
                if (IsLeadByte(static_cast<unsigned char>(line[i])) && i + 1 < line.size()) {
                    argument += line.substr(i, 2);
                    i += 2;
                } else {
                    argument.push_back(line[i++]);
                }
            }
            if (i < line.size()) ++i;  // the closing quote
        } else {
            while (i < line.size() && !separator(i)) {
                if (IsLeadByte(static_cast<unsigned char>(line[i])) && i + 1 < line.size()) {
                    argument += line.substr(i, 2);
                    i += 2;
                } else {
                    argument.push_back(line[i++]);
                }
            }
        }
        parts.arguments.push_back(argument);
    }
    return parts;
}

Text QuotedPath(const Text& path) { return "\"" + path + "\""; }

Text ProgramCommandLine(const Text& program, const Text& parameters) {
    return parameters.empty() ? QuotedPath(program) : QuotedPath(program) + " " + parameters;
}

}  // namespace qh
