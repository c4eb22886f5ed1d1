#include "tools/qinghe-publish/signing_keys.h"

#include <system_error>

#include "runtime/native_file.h"
#include "runtime/signing.h"
#include "tools/common/tool_output.h"

namespace qh {
namespace {

namespace fs = std::filesystem;

// Key files are a few kilobytes; anything much larger is not one.
constexpr std::size_t kLargestKeyFile = 64 * 1024;

bool Exists(const fs::path& path) {
    std::error_code ignored;
    return fs::exists(fs::symlink_status(path, ignored));
}

// Writes a new file. A secret one is its owner's alone from the moment it
// exists: no other user can open it in the time before its permissions
// would otherwise be narrowed. A half-written file is removed.
bool WriteNewFile(const fs::path& path, const std::string& text, bool secret, Text& error) {
    NativeFile file;
    if (!(secret ? file.CreateNewPrivate(path) : file.CreateNew(path))) {
        error = "无法创建密钥文件: " + Shown(TextOfPath(path));
        return false;
    }
    std::error_code ec;
    const bool ok = file.Write(text) && file.Sync();
    if (!file.Close() || !ok) {
        fs::remove(path, ec);
        error = "无法写入密钥文件: " + Shown(TextOfPath(path));
        return false;
    }
    return true;
}

bool ReadKeyFile(const fs::path& file, const char* what, std::string& pem, Text& error) {
    Bytes bytes;
    if (!ReadRegularFile(file, kLargestKeyFile, bytes)) {
        error = Text("无法读取") + what + ": " + Shown(TextOfPath(file));
        return false;
    }
    pem.assign(bytes.begin(), bytes.end());
    return true;
}

}  // namespace

bool MakeKeyFiles(const fs::path& privateFile, Text& summary, Text& error) {
    fs::path publicFile = privateFile;
    publicFile += ".pub";
    for (const fs::path& file : {privateFile, publicFile}) {
        if (Exists(file)) {
            error = "密钥文件已存在, 不会覆盖: " + Shown(TextOfPath(file));
            return false;
        }
    }
    std::string privatePem;
    std::string publicPem;
    if (!MakeSigningKeys(privatePem, publicPem, error)) return false;
    if (!WriteNewFile(privateFile, privatePem, true, error)) return false;
    if (!WriteNewFile(publicFile, publicPem, false, error)) {
        std::error_code ignored;
        fs::remove(privateFile, ignored);
        return false;
    }
    summary = "私钥: " + Shown(TextOfPath(privateFile)) + " (请离线保存)\n公钥: " + Shown(TextOfPath(publicFile)) +
              " (构建升级程序时用 -DQH_UPDATE_PUBLIC_KEY=此文件)\n";
    return true;
}

bool ReadPrivateKeyFile(const fs::path& file, std::string& pem, Text& error) {
    return ReadKeyFile(file, "私钥文件", pem, error);
}

bool ReadPublicKeyFile(const fs::path& file, std::string& pem, Text& error) {
    return ReadKeyFile(file, "公钥文件", pem, error);
}

}  // namespace qh
