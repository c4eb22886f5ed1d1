#include "tools/qingheloan/options.h"

#include <optional>

namespace qh {
namespace {

bool Contains(std::span<const char* const> names, const Text& name) {
    for (const char* n : names) {
        if (name == n) return true;
    }
    return false;
}

}  // namespace

Options::Options(const std::vector<Text>& args, const OptionSpec& accepted) {
    for (size_t i = 1; i < args.size(); ++i) {
        Text name = args[i];
        std::optional<Text> inlineValue;
        if (const size_t eq = name.find('='); name.rfind("--", 0) == 0 && eq != Text::npos) {
            inlineValue = name.substr(eq + 1);
            name = name.substr(0, eq);
        }
        const bool repeated = Contains(accepted.repeated, name);
        // An option given twice is a mistake in the command line, not a
        // choice of the last one.
        if (flags_.count(name) || values_.count(name)) throw UsageError{"选项重复: " + name};
        if (Contains(accepted.flags, name)) {
            if (inlineValue) throw UsageError{"选项 " + name + " 不带值"};
            flags_[name] = true;
            continue;
        }
        if (!repeated && !Contains(accepted.valued, name)) throw UsageError{"未知选项: " + name};
        if (!inlineValue && i + 1 >= args.size()) throw UsageError{"选项 " + name + " 缺少值"};
        const Text value = inlineValue ? *inlineValue : args[++i];
        if (repeated) {
            lists_[name].push_back(value);
        } else {
            values_[name] = value;
        }
    }
}

Text Options::text(const char* name) const {
    const auto it = values_.find(name);
    return it == values_.end() ? Text() : it->second;
}

std::vector<Text> Options::all(const char* name) const {
    const auto it = lists_.find(name);
    return it == lists_.end() ? std::vector<Text>() : it->second;
}

int Options::item(const char* name, std::span<const char* const> texts, int fallback) const {
    if (!has(name)) return fallback;
    const Text value = text(name);
    for (size_t k = 0; k < texts.size(); ++k) {
        if (value == texts[k]) return static_cast<int>(k) + 1;
    }
    Text choices;
    for (const char* t : texts) choices += Text(choices.empty() ? "" : ", ") + t;
    throw UsageError{"选项 " + Text(name) + " 的值 \"" + value + "\" 不在列表中 (" + choices + ")"};
}

}  // namespace qh
