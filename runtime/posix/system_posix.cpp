#include "runtime/posix/system_posix.h"

#include <fcntl.h>
#include <iconv.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "runtime/command_line.h"
#include "runtime/posix/registry_store.h"

extern char** environ;

namespace qh {
namespace {

// Converts between two encodings; a sequence that cannot be converted becomes
// one '?' and the conversion goes on after it.
std::string Convert(const char* to, const char* from, const std::string& in) {
    const bool utf8Input = std::string(from) == "UTF-8";
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return in;
    std::string out;
    char buffer[1024];
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    while (srcLeft > 0) {
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        const size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buffer, static_cast<size_t>(dst - buffer));
        if (r == static_cast<size_t>(-1) && errno != E2BIG) {
            // Skip one byte of an invalid or truncated sequence; for UTF-8
            // input skip the rest of its character too.
            out.push_back('?');
            ++src;
            --srcLeft;
            while (utf8Input && srcLeft > 0 && (static_cast<unsigned char>(*src) & 0xC0) == 0x80) {
                ++src;
                --srcLeft;
            }
        }
    }
    iconv_close(cd);
    return out;
}

}  // namespace

std::string PosixSystem::GbkToUtf8(const Text& t) { return Convert("UTF-8", "GBK", t); }
Text PosixSystem::Utf8ToGbk(const std::string& utf8) { return Convert("GBK", "UTF-8", utf8); }

std::string PosixSystem::NativePath(const Text& path) {
    std::string native = GbkToUtf8(path);
    for (auto& c : native) {
        if (c == '\\') c = '/';
    }
    return native;
}

Text PosixSystem::ModulePath() {
    std::string buffer(256, '\0');
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) return {};
        if (static_cast<size_t>(n) < buffer.size()) {
            buffer.resize(static_cast<size_t>(n));
            return Utf8ToGbk(buffer);
        }
        buffer.resize(buffer.size() * 2);
    }
}

bool PosixSystem::RunProgram(const Text& commandLine, bool wait, int /*showMode*/) {
    // A new X11 program chooses its own first state; the show mode has no
    // counterpart that can be forced from outside.
    const CommandLineParts parts = SplitCommandLine(commandLine);
    if (parts.program.empty()) return false;
    std::vector<std::string> args;
    args.push_back(NativePath(parts.program));
    for (const auto& a : parts.arguments) args.push_back(GbkToUtf8(a));
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    pid_t pid = 0;
    const bool hasSlash = args[0].find('/') != std::string::npos;
    const int rc = hasSlash ? ::posix_spawn(&pid, args[0].c_str(), nullptr, nullptr, argv.data(), environ)
                            : ::posix_spawnp(&pid, args[0].c_str(), nullptr, nullptr, argv.data(), environ);
    if (rc != 0) return false;
    if (wait) {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    } else {
        // Reap the child when it ends, so that it does not linger as a zombie.
        std::thread([pid] {
            int status = 0;
            while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    }
    return true;
}

bool PosixSystem::RunProgramElevated(const Text& commandLine) {
    return RunProgram(commandLine, false, kShowNormal);
}

bool PosixSystem::RunProgramAsUser(const Text& program, const Text& parameters) {
    return RunProgram(ProgramCommandLine(program, parameters), false, kShowNormal);
}

bool PosixSystem::FileExists(const Text& path) {
    return ::access(NativePath(path).c_str(), F_OK) == 0;
}

bool PosixSystem::RenameFile(const Text& from, const Text& to) {
    const std::string source = NativePath(from);
    const std::string target = NativePath(to);
    // Like MoveFile, never replace an existing target.
    if (::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) return false;
    struct stat st;
    if (::lstat(target.c_str(), &st) == 0) return false;
    return std::rename(source.c_str(), target.c_str()) == 0;
}

std::optional<Text> PosixSystem::ReadEnvironment(const Text& name) {
    const char* value = std::getenv(GbkToUtf8(name).c_str());
    if (!value) return std::nullopt;
    return Utf8ToGbk(value);
}

std::string PosixSystem::RegistryFile(RegistryRoot root) {
    if (root == RegistryRoot::CurrentUser) {
        std::string base;
        if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
            base = xdg;
        } else if (const char* home = std::getenv("HOME"); home && *home) {
            base = std::string(home) + "/.config";
        } else {
            base = "/tmp";
        }
        return base + "/QingheCalc/registry.txt";
    }
    // Machine-wide values beside the installation, where the updater that
    // writes them can write.
    return NativePath(ModuleDirectory()) + "/registry.txt";
}

std::optional<Text> PosixSystem::ReadRegistryString(RegistryRoot root, const Text& key,
                                                    const Text& valueName) {
    return RegistryStore(RegistryFile(root)).Read(key, valueName);
}

bool PosixSystem::WriteRegistryString(RegistryRoot root, const Text& key, const Text& valueName,
                                      const Text& value) {
    return RegistryStore(RegistryFile(root)).Write(key, valueName, value);
}

Text PosixSystem::MapToHalfWidth(const Text& t) {
    // GBK row 0xA3 holds the full-width forms of ASCII 0x21..0x7E, except the
    // yuan sign at 0xA3A4 and the overline at 0xA3FE, which have no ASCII
    // counterpart. 0xA1A1 is the ideographic space.
    Text out;
    out.reserve(t.size());
    for (size_t i = 0; i < t.size();) {
        const auto c = static_cast<unsigned char>(t[i]);
        if (!IsLeadByte(c) || i + 1 >= t.size()) {
            out.push_back(t[i++]);
            continue;
        }
        const auto trail = static_cast<unsigned char>(t[i + 1]);
        if (c == 0xA3 && trail >= 0xA1 && trail <= 0xFE && trail != 0xA4 && trail != 0xFE) {
            out.push_back(static_cast<char>(trail - 0x80));
        } else if (c == 0xA1 && trail == 0xA1) {
            out.push_back(' ');
        } else {
            out.append(t, i, 2);
        }
        i += 2;
    }
    return out;
}

std::vector<ToolArgument> PosixSystem::ToolArguments(int argc, char** argv) {
    std::vector<ToolArgument> out;
    for (int i = 1; i < argc; ++i) {
        const std::string given = argv[i];
        const Text text = Utf8ToGbk(given);
        out.push_back({text, GbkToUtf8(text) == given, std::filesystem::path(given)});
    }
    return out;
}

void PosixSystem::WriteToolOutput(const Text& t, bool toError) {
    const std::string utf8 = GbkToUtf8(t);
    std::fwrite(utf8.data(), 1, utf8.size(), toError ? stderr : stdout);
}

void PosixSystem::WriteToolBytes(const std::string& bytes) { std::fwrite(bytes.data(), 1, bytes.size(), stdout); }

// XDG_DOCUMENTS_DIR="$HOME/文档" in $XDG_CONFIG_HOME/user-dirs.dirs (or
// ~/.config/user-dirs.dirs), the file xdg-user-dir reads; the home folder
// when it names none.
Text PosixSystem::DocumentsFolder() {
    const char* homeVariable = std::getenv("HOME");
    const std::string home = homeVariable != nullptr ? homeVariable : "/";
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const std::string dirs = (config != nullptr && *config != '\0' ? std::string(config) : home + "/.config") +
                             "/user-dirs.dirs";
    std::string folder = home;
    if (FILE* file = std::fopen(dirs.c_str(), "r")) {
        const std::string key = "XDG_DOCUMENTS_DIR=\"";
        char buffer[4096];
        while (std::fgets(buffer, sizeof buffer, file) != nullptr) {
            std::string line = buffer;
            if (line.rfind(key, 0) != 0) continue;
            std::string value = line.substr(key.size());
            value = value.substr(0, value.find('"'));
            if (value.rfind("$HOME", 0) == 0) value = home + value.substr(5);
            if (!value.empty() && value[0] == '/') folder = value;
        }
        std::fclose(file);
    }
    return Utf8ToGbk(folder);
}

void PosixSystem::ReportProblem(const Text& line) {
    const std::string utf8 = GbkToUtf8(line) + "\n";
    std::fwrite(utf8.data(), 1, utf8.size(), stderr);
    std::fflush(stderr);
}

void PosixSystem::ShowFatalMessage(const Text& message, const Text& caption) {
    const std::string line = GbkToUtf8(caption) + ": " + GbkToUtf8(message) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

void PosixSystem::Sleep(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace qh
