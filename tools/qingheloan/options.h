// The options of one qingheloan command: "--name value", "--name=value",
// flags without a value, and options that may be given more than once.
#pragma once

#include <map>
#include <span>
#include <vector>

#include "runtime/text.h"

namespace qh {

// A usage problem: the message goes to standard error with status 2.
struct UsageError {
    Text message;
};

// The options a command accepts: flags take no value, the others one; a
// repeated option may be given any number of times.
struct OptionSpec {
    std::span<const char* const> valued;
    std::span<const char* const> flags;
    std::span<const char* const> repeated = {};
};

class Options {
public:
    // Parses the arguments after the command's name (args[0]). An unknown
    // option, a missing value, or a single option given twice is a
    // UsageError.
    Options(const std::vector<Text>& args, const OptionSpec& accepted);

    bool flag(const char* name) const { return flags_.count(name) != 0; }
    Text text(const char* name) const;
    bool has(const char* name) const { return values_.count(name) != 0; }
    // Every value of a repeated option, in command-line order.
    std::vector<Text> all(const char* name) const;

    // The 1-based item of a list text; fallback when the option is absent.
    int item(const char* name, std::span<const char* const> texts, int fallback) const;

private:
    std::map<Text, Text> values_;
    std::map<Text, bool> flags_;
    std::map<Text, std::vector<Text>> lists_;
};

}  // namespace qh
