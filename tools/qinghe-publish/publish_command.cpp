#include "tools/qinghe-publish/publish_command.h"

#include <map>

#include "runtime/product_version.h"
#include "tools/qinghe-publish/release_publisher.h"
#include "tools/qinghe-publish/server_checker.h"
#include "tools/qinghe-publish/signing_keys.h"

namespace qh {
namespace {

constexpr char kUsage[] =
    "用法:\n"
    "  qinghe-publish --release 发布目录 --version 版本号 --notes 说明文件 --out 服务器目录\n"
    "                 [--notes-encoding utf-8|gbk] [--key 私钥文件]\n"
    "  qinghe-publish --check 服务器目录 [--key-pub 公钥文件]\n"
    "  qinghe-publish --new-key 私钥文件     (公钥写入 私钥文件.pub)\n"
    "有 --key 时, renew.xml 与 renewlist.xml 各有签名文件 (.sig) 写在旁边。\n"
    "检查时有 --key-pub 才核对签名; 没有它时, 已有的签名只报告为未检查。\n"
    "版本号是四个以点分隔的数 (如 1.0.0.506), 且须高于服务器目录中已发布的版本。\n"
    "说明文件默认是 UTF-8 (可带 BOM), 带 BOM 的 UTF-16 也可; GBK 须写明 --notes-encoding gbk。\n";

// The example names the version of this build, the one its installers record.
Text Usage() {
    return Text(kUsage) + "例如, 发布本版本:\n  qinghe-publish --release dist --version " + kProductVersion +
           " --notes notes.txt --out server/qingheupdate\n";
}

constexpr const char* kOptions[] = {"--release", "--version", "--notes", "--out",
                                    "--check", "--notes-encoding", "--key", "--new-key", "--key-pub"};

using Options = std::map<Text, ToolArgument>;

ToolOutput UsageError(const Text& message) {
    return {Text(), message.empty() ? Usage() : message + "\n" + Usage(), kPublishUsageError};
}

bool IsOption(const Text& name) {
    for (const char* option : kOptions) {
        if (name == option) return true;
    }
    return false;
}

ToolOutput Publish(Options& options) {
    for (const char* needed : {"--release", "--version", "--notes", "--out"}) {
        if (!options.count(needed)) return UsageError(Text("缺少选项: ") + needed);
    }
    // Paths are used as the system gave them; the version goes into the
    // documents, so it must be exactly what was typed.
    const ToolArgument& version = options["--version"];
    if (!version.exact) return UsageError("版本号含有 GBK 无法表示的字符: " + Shown(version.text));
    NotesEncoding encoding = NotesEncoding::Utf8;
    if (options.count("--notes-encoding")) {
        const Text& name = options["--notes-encoding"].text;
        if (name == "gbk" || name == "GBK") {
            encoding = NotesEncoding::Gbk;
        } else if (name != "utf-8" && name != "UTF-8") {
            return UsageError("未知的说明文件编码: " + Shown(name));
        }
    }
    ReleaseRequest request{options["--release"].path, version.text, options["--notes"].path, encoding,
                           options["--out"].path, {}};
    ToolOutput output;
    Text error;
    if ((options.count("--key") && !ReadPrivateKeyFile(options["--key"].path, request.privateKey, error)) ||
        !ReleasePublisher::Publish(request, output.out, error)) {
        output.error = error + "\n";
        output.status = kPublishFailed;
    }
    return output;
}

ToolOutput NewKey(const ToolArgument& privateFile) {
    ToolOutput output;
    Text error;
    if (!MakeKeyFiles(privateFile.path, output.out, error)) {
        output.error = error + "\n";
        output.status = kPublishFailed;
    }
    return output;
}

ToolOutput Check(Options& options) {
    ToolOutput output;
    std::string publicKey;
    Text error;
    if (options.count("--key-pub") && !ReadPublicKeyFile(options["--key-pub"].path, publicKey, error)) {
        output.error = error + "\n";
        output.status = kPublishFailed;
        return output;
    }
    Text summary;
    const std::vector<Text> problems = ServerChecker::Check(options["--check"].path, publicKey, summary);
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

ToolOutput RunPublishCommand(const std::vector<ToolArgument>& arguments) {
    Options options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const Text& name = arguments[i].text;
        if (!IsOption(name)) return UsageError("未知的选项: " + Shown(name));
        if (i + 1 == arguments.size()) return UsageError("选项缺少值: " + name);
        if (!options.emplace(name, arguments[++i]).second) return UsageError("选项重复: " + name);
    }
    if (options.count("--new-key") && options.size() != 1) return UsageError("--new-key 不能与其他选项同用");
    if (options.count("--check") && options.size() != 1 + options.count("--key-pub")) {
        return UsageError("--check 只能与 --key-pub 同用");
    }
    if (options.count("--key-pub") && !options.count("--check")) return UsageError("--key-pub 只用于 --check");
    if (options.count("--check")) return Check(options);
    if (options.count("--new-key")) return NewKey(options["--new-key"]);
    if (options.empty()) return UsageError("");
    return Publish(options);
}

ToolOutput RunPublishCommand(const std::vector<Text>& arguments) {
    std::vector<ToolArgument> given;
    for (const Text& text : arguments) given.push_back(ArgumentOfText(text));
    return RunPublishCommand(given);
}

}  // namespace qh
