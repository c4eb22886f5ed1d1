#include "tools/common/tool_output.h"

#include <string>

#include "runtime/lifecycle.h"

namespace qh {
namespace {

[[noreturn]] void Finish(const ToolOutput& result) {
    SystemServices& system = System();
    if (!result.out.empty()) system.WriteToolOutput(result.out, false);
    if (!result.bytes.empty()) system.WriteToolBytes(result.bytes);
    if (!result.error.empty()) system.WriteToolOutput(result.error, true);
    RuntimeExit(result.status);
}

}  // namespace

void RunTool(int argc, char** argv, TextTool tool) {
    RuntimeStart();
    std::vector<Text> texts;
    for (const ToolArgument& argument : System().ToolArguments(argc, argv)) texts.push_back(argument.text);
    Finish(tool(texts));
}

void RunTool(int argc, char** argv, PathTool tool) {
    RuntimeStart();
    Finish(tool(System().ToolArguments(argc, argv)));
}

std::filesystem::path PathOfText(const Text& text) {
    std::string utf8 = System().GbkToUtf8(text);
    if (std::filesystem::path::preferred_separator == '/') {
        for (char& c : utf8) {
            if (c == '\\') c = '/';
        }
    }
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

Text TextOfPath(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    return System().Utf8ToGbk(std::string(utf8.begin(), utf8.end()));
}

Text Shown(const Text& text) {
    Text out;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            out.push_back(c);
            continue;
        }
        constexpr char kDigits[] = "0123456789ABCDEF";
        out += "\\x";
        out.push_back(kDigits[byte >> 4]);
        out.push_back(kDigits[byte & 0xF]);
    }
    return out;
}

ToolArgument ArgumentOfText(const Text& text) { return {text, true, PathOfText(text)}; }

}  // namespace qh
