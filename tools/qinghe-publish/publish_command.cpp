#include "tools/qinghe-publish/publish_command.h"

#include <map>

#include "tools/qinghe-publish/release_publisher.h"
#include "tools/qinghe-publish/server_checker.h"

namespace qh {
namespace {

constexpr char kUsage[] =
    "用法:\n"
    "  qinghe-publish --release 发布目录 --version 版本号 --notes 说明文件 --out 服务器目录\n"
    "  qinghe-publish --check 服务器目录\n";

constexpr const char* kOptions[] = {"--release", "--version", "--notes", "--out", "--check"};

ToolOutput UsageError(const Text& message) {
    return {Text(), message.empty() ? Text(kUsage) : message + "\n" + kUsage, kPublishUsageError};
}

bool IsOption(const Text& name) {
    for (const char* option : kOptions) {
        if (name == option) return true;
    }
    return false;
}

ToolOutput Publish(std::map<Text, Text>& options) {
    for (const char* needed : {"--release", "--version", "--notes", "--out"}) {
        if (!options.count(needed)) return UsageError(Text("缺少选项: ") + needed);
    }
    const ReleaseRequest request{options["--release"], options["--version"], options["--notes"],
                                 options["--out"]};
    ToolOutput output;
    Text error;
    if (!ReleasePublisher::Publish(request, output.out, error)) {
        output.error = error + "\n";
        output.status = kPublishFailed;
    }
    return output;
}

ToolOutput Check(const Text& serverDir) {
    ToolOutput output;
    Text summary;
    const std::vector<Text> problems = ServerChecker::Check(serverDir, summary);
    for (const Text& problem : problems) output.out += problem + "\n";
    if (problems.empty()) {
        output.out = "检查通过: " + summary;
    } else {
        output.out += "检查未通过: " + summary;
        output.status = kPublishFailed;
    }
    return output;
}

}  // namespace

ToolOutput RunPublishCommand(const std::vector<Text>& arguments) {
    std::map<Text, Text> options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const Text& name = arguments[i];
        if (!IsOption(name)) return UsageError("未知的选项: " + name);
        if (i + 1 == arguments.size()) return UsageError("选项缺少值: " + name);
        if (!options.emplace(name, arguments[++i]).second) return UsageError("选项重复: " + name);
    }
    if (options.count("--check")) {
        if (options.size() != 1) return UsageError("--check 不能与其他选项同用");
        return Check(options["--check"]);
    }
    if (options.empty()) return UsageError("");
    return Publish(options);
}

}  // namespace qh
